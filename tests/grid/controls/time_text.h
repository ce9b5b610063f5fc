#pragma once
// Times for the clock and time drop-down tests: built from parts and shown as hh:mm:ss.
#include "platform/core/dateutils.h"

#include <QString>
#include <string>

inline TDateTime T(int h, int m, int s = 0) { return EncodeTime(h, m, s, 0); }

inline std::string Hms(TDateTime t)
{
    int h, m, s, ms;
    DecodeTime(t, h, m, s, ms);
    return QStringLiteral("%1:%2:%3")
        .arg(h, 2, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'))
        .toStdString();
}
