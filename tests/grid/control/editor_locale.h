#pragma once
// The locale the editor tests read and write dates, times and numbers in: day first, "/"
// between date fields, ":" between time fields, "." as the decimal separator.
#include "platform/core/format_settings.h"

inline TFormatSettings EditorTestLocale()
{
    TFormatSettings s;
    s.DecimalSeparator = QLatin1Char('.');
    s.ThousandSeparator = QLatin1Char(',');
    s.DateSeparator = QLatin1Char('/');
    s.TimeSeparator = QLatin1Char(':');
    s.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    s.ShortTimeFormat = QStringLiteral("hh:nn");
    s.LongTimeFormat = QStringLiteral("hh:nn:ss");
    return s;
}
