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

    // The settings of the system locale, in our format letters ("nn" for minutes, "ampm").
    static TFormatSettings FromSystemLocale();
};

TFormatSettings& FormatSettings();

inline QChar LocaleDecimalSeparator() { return FormatSettings().DecimalSeparator; }
inline QChar LocaleThousandSeparator() { return FormatSettings().ThousandSeparator; }
inline QChar LocaleDateSeparator() { return FormatSettings().DateSeparator; }
inline QChar LocaleTimeSeparator() { return FormatSettings().TimeSeparator; }
inline QString LocaleShortDateFormat() { return FormatSettings().ShortDateFormat; }

// Sets the locale settings for a scope and restores the previous ones at its end.
class ScopedFormatSettings {
public:
    explicit ScopedFormatSettings(const TFormatSettings& s) : FOld(FormatSettings()) { FormatSettings() = s; }
    ~ScopedFormatSettings() { FormatSettings() = FOld; }

private:
    TFormatSettings FOld;
};
