#pragma once
// The process locale settings: separators and date/time formats, read from the system
// locale at start and settable (tests fix them).
#include <QChar>
#include <QString>

struct TFormatSettings {
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
    QChar DateSeparator = QLatin1Char('/');
    QChar TimeSeparator = QLatin1Char(':');
    QString ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    QString ShortTimeFormat = QStringLiteral("hh:nn");
    QString LongTimeFormat = QStringLiteral("hh:nn:ss");

    // The settings of the system locale, in the original's format letters.
    static TFormatSettings FromSystemLocale();
};

TFormatSettings& FormatSettings();
