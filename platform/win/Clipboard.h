#pragma once
// Clipboard format numbers: the predefined ones the program names and the
// registration of named formats.
#include "platform/rtl/Types.h"
#include "platform/win/Messages.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_UNICODETEXT = 13;

// The process-wide number for a format name, in 0xC000..0xFFFF: the same name
// (compared without regard to case) always gives the same number. An empty
// name, a name longer than 255 characters or an exhausted range answers 0.
UINT RegisterClipboardFormat(StringView lpszFormat);
