#pragma once
// The locale's number and date conventions, as one settings object that tests can set.
#include <QChar>
#include <QString>

struct TFormatSettings {
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
    QChar DateSeparator = QLatin1Char('/');
    QChar TimeSeparator = QLatin1Char(':');
    QString ShortDateFormat = QStringLiteral("M/d/yyyy");
};

// The settings in force; starts with the values above (an English locale).
TFormatSettings& FormatSettings();

inline QChar LocaleDecimalSeparator() { return FormatSettings().DecimalSeparator; }
inline QChar LocaleThousandSeparator() { return FormatSettings().ThousandSeparator; }
inline QChar LocaleDateSeparator() { return FormatSettings().DateSeparator; }
inline QChar LocaleTimeSeparator() { return FormatSettings().TimeSeparator; }
inline QString LocaleShortDateFormat() { return FormatSettings().ShortDateFormat; }

// Restores the previous settings when it goes out of scope.
class ScopedFormatSettings {
public:
    explicit ScopedFormatSettings(const TFormatSettings& s) : FOld(FormatSettings()) { FormatSettings() = s; }
    ~ScopedFormatSettings() { FormatSettings() = FOld; }

private:
    TFormatSettings FOld;
};
