#pragma once
// Dates and times as texts, in the format letters and separators of the locale settings in
// force (format_settings.h): d dd m mm yy yyyy for dates, h hh n nn s ss z zzz for times
// ("m" right after an hour means minutes), "ampm" and "am/pm" for a 12-hour clock, "/" and
// ":" for the date and time separators, quoted text as it stands.
#include "platform/core/dateutils.h"

#include <QString>

QString FormatDateTime(const QString& Format, TDateTime Value);
QString DateToStr(TDateTime Value);
QString TimeToStr(TDateTime Value);
// Texts in the order of the short date format; a year of one or two digits is placed within
// 50 years of this year, a missing year is this year.  Raise EConvertError with
// "'<text>' is not a valid date" / "... time".
TDateTime StrToDate(const QString& S);
TDateTime StrToTime(const QString& S);
