#pragma once
// The platform's date and time format letters (d dd ddd dddd, m mm mmm mmmm, yy yyyy,
// h hh, n nn, s ss, z zzz, ampm, am/pm, "m" after an hour meaning minutes, "/" and ":" as
// the locale separators, quoted text) as a Qt display format.
#include <QString>

QString QtDateTimeFormat(const QString& Format);
