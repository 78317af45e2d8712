#include "platform/rtl/FormatSettings.h"

TFormatSettings FormatSettings;

TFormatSettings DefaultFormatSettings() { return TFormatSettings{}; }
