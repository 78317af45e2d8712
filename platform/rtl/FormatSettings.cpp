#include "platform/rtl/FormatSettings.h"

TFormatSettings FormatSettings;

