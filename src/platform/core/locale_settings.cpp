#include "platform/core/locale_settings.h"

TFormatSettings& FormatSettings()
{
    static TFormatSettings s;
    return s;
}
