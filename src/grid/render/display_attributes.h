#pragma once
// Colour mixing of the selection look and value formatting of shown cells.
#include "platform/ui/graphics.h"

#include <QString>

// Percent of Color1 over Color2 per channel (ties to even); 100 or more gives Color1, below 1
// (or Color1 unset) Color2, Color2 unset Color1.
TColor MixColors(TColor Color1, TColor Color2, int Percent);

// One value through a printf-style format with exactly one conversion; anything else raises
// the conversion error.
QString FormatFloatValue(const QString& format, double value);
QString FormatIntValue(const QString& format, int value);
