#include "platform/ui/date_time_values.h"

#include <cmath>

TDateTime DateTimeOf(const QDateTime& dt)
{
    const QDate d = dt.date();
    const QTime t = dt.time();
    TDateTime day = 0, time = 0;
    TryEncodeDate(d.year(), d.month(), d.day(), day);
    TryEncodeTime(t.hour(), t.minute(), t.second(), t.msec(), time);
    return day < 0 ? day - time : day + time;
}

QDateTime QDateTimeOf(TDateTime dt)
{
    int y, m, d, h, n, s, z;
    DecodeDate(dt, y, m, d);
    DecodeTime(dt, h, n, s, z);
    return QDateTime(QDate(y, m, d), QTime(h, n, s, z));
}

TDateTime Now() { return DateTimeOf(QDateTime::currentDateTime()); }

TDateTime IncMonth(TDateTime dt, int months)
{
    int y, m, d;
    DecodeDate(dt, y, m, d);
    int total = y * 12 + (m - 1) + months;
    y = total / 12;
    m = total % 12 + 1;
    d = std::min(d, DaysInMonth(y, m));
    const double frac = std::fabs(dt - std::trunc(dt));
    const TDateTime day = EncodeDate(y, m, d);
    return day < 0 ? day - frac : day + frac;
}
