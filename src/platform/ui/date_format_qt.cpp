#include "platform/ui/date_format_qt.h"

#include "platform/core/format_settings.h"

// Qt text outside letters is kept as it stands only when quoted.
static void AppendLiteral(QString& out, const QString& text)
{
    if (text.isEmpty()) return;
    bool plain = true;
    for (QChar c : text)
        if (c.isLetter() || c == QLatin1Char('\'')) plain = false;
    if (plain) {
        out += text;
        return;
    }
    QString q = text;
    q.replace(QLatin1Char('\''), QStringLiteral("''"));
    out += QLatin1Char('\'') + q + QLatin1Char('\'');
}

QString QtDateTimeFormat(const QString& Format)
{
    QString out;
    const int n = Format.size();
    bool afterHour = false;
    int i = 0;
    auto run = [&](QChar c) {
        int k = i;
        while (k < n && Format.at(k).toLower() == c) ++k;
        return k - i;
    };
    while (i < n) {
        const QChar ch = Format.at(i);
        const QChar lc = ch.toLower();
        if (ch == QLatin1Char('"') || ch == QLatin1Char('\'')) {
            const int end = Format.indexOf(ch, i + 1);
            const int stop = end < 0 ? n : end;
            AppendLiteral(out, Format.mid(i + 1, stop - i - 1));
            i = stop + 1;
            continue;
        }
        if (Format.mid(i, 4).compare(QLatin1String("ampm"), Qt::CaseInsensitive) == 0) {
            out += QStringLiteral("AP");
            i += 4;
            continue;
        }
        if (Format.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            out += QStringLiteral("ap");
            i += 5;
            continue;
        }
        if (ch == QLatin1Char('/')) {
            AppendLiteral(out, QString(LocaleDateSeparator()));
            ++i;
            continue;
        }
        if (ch == QLatin1Char(':')) {
            AppendLiteral(out, QString(LocaleTimeSeparator()));
            ++i;
            continue;
        }
        const int len = run(lc);
        if (lc == QLatin1Char('d')) {
            out += QString(std::min(len, 4), QLatin1Char('d'));
            afterHour = false;
        } else if (lc == QLatin1Char('m')) {
            if (afterHour) out += len >= 2 ? QStringLiteral("mm") : QStringLiteral("m");
            else out += QString(std::min(len, 4), QLatin1Char('M'));
            afterHour = false;
        } else if (lc == QLatin1Char('y')) {
            out += len <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
            afterHour = false;
        } else if (lc == QLatin1Char('h')) {
            out += len >= 2 ? QStringLiteral("hh") : QStringLiteral("h");
            afterHour = true;
        } else if (lc == QLatin1Char('n')) {
            out += len >= 2 ? QStringLiteral("mm") : QStringLiteral("m");
            afterHour = false;
        } else if (lc == QLatin1Char('s')) {
            out += len >= 2 ? QStringLiteral("ss") : QStringLiteral("s");
            afterHour = false;
        } else if (lc == QLatin1Char('z')) {
            out += len >= 3 ? QStringLiteral("zzz") : QStringLiteral("z");
            afterHour = false;
        } else {
            // any other run of characters stands as literal text
            int k = i;
            while (k < n && !QStringLiteral("dmyhnsz\"'/:").contains(Format.at(k).toLower()) &&
                   Format.mid(k, 4).compare(QLatin1String("ampm"), Qt::CaseInsensitive) != 0 &&
                   Format.mid(k, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) != 0)
                ++k;
            AppendLiteral(out, Format.mid(i, k - i));
            i = k;
            continue;
        }
        i += len;
    }
    return out;
}
