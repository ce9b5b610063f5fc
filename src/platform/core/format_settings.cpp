#include "platform/core/format_settings.h"

#include <QLocale>

namespace {
// Qt writes minutes as "mm" and AM/PM as "AP"; our formats write "nn" and "ampm", the
// letters FormatDateTime reads (date_text.h).
QString ToFormatDateTimeLetters(QString f)
{
    f.replace(QStringLiteral("mm"), QStringLiteral("nn"));
    f.replace(QStringLiteral("m"), QStringLiteral("n"));
    f.replace(QStringLiteral("AP"), QStringLiteral("ampm"), Qt::CaseInsensitive);
    return f.trimmed();
}

QChar FirstNonLetter(const QString& format, QChar fallback)
{
    for (QChar c : format)
        if (!c.isLetter() && !c.isSpace()) return c;
    return fallback;
}
}

TFormatSettings TFormatSettings::FromSystemLocale()
{
    const QLocale loc = QLocale::system();
    TFormatSettings s;
    if (!loc.decimalPoint().isEmpty()) s.DecimalSeparator = loc.decimalPoint().at(0);
    if (!loc.groupSeparator().isEmpty()) s.ThousandSeparator = loc.groupSeparator().at(0);
    const QString date = loc.dateFormat(QLocale::ShortFormat);
    s.DateSeparator = FirstNonLetter(date, QLatin1Char('/'));
    QString shortDate = date;
    shortDate.replace(QStringLiteral("MM"), QStringLiteral("mm")).replace(QStringLiteral("M"), QStringLiteral("m"));
    s.ShortDateFormat = shortDate;
    const QString time = loc.timeFormat(QLocale::ShortFormat);
    s.TimeSeparator = FirstNonLetter(time, QLatin1Char(':'));
    s.ShortTimeFormat = ToFormatDateTimeLetters(time);
    s.LongTimeFormat = ToFormatDateTimeLetters(loc.timeFormat(QLocale::LongFormat).remove(QLatin1Char('t')));
    return s;
}

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings = TFormatSettings::FromSystemLocale();
    return settings;
}
