#include "platform/core/dateutils.h"

#include "platform/core/exception.h"

#include <QString>

#include <cmath>

namespace {
constexpr int64_t kDelta = 693594;  // days from 1 January 0001 to 30 December 1899

int64_t DaysFromCivil(int y, int m, int d)
{
    // days since 1 January 0001 (day 1 = 1 January 0001)
    int64_t days = 0;
    const int64_t py = y - 1;
    days = py * 365 + py / 4 - py / 100 + py / 400;
    for (int i = 1; i < m; ++i) days += DaysInMonth(y, i);
    return days + d;
}
}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
    date = static_cast<double>(DaysFromCivil(year, month, day) - kDelta);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime d;
    if (!TryEncodeDate(year, month, day, d)) throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return d;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999) return false;
    time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / 86400000.0;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime t;
    if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return t;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day)
{
    int64_t n = static_cast<int64_t>(std::floor(date)) + kDelta;  // 1 = 1 January 0001
    if (n <= 0) {
        year = month = day = 0;
        return;
    }
    int y = 1 + static_cast<int>((n - 1) / 365.2425);
    while (DaysFromCivil(y, 1, 1) > n) --y;
    while (DaysFromCivil(y + 1, 1, 1) <= n) ++y;
    int m = 1;
    while (m < 12 && DaysFromCivil(y, m + 1, 1) <= n) ++m;
    year = y;
    month = m;
    day = static_cast<int>(n - DaysFromCivil(y, m, 1) + 1);
}

void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec)
{
    double frac = std::fabs(time - std::trunc(time));
    int64_t ms = static_cast<int64_t>(std::llround(frac * 86400000.0));
    if (ms >= 86400000) ms = 86399999;
    hour = static_cast<int>(ms / 3600000);
    min = static_cast<int>(ms / 60000 % 60);
    sec = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}
