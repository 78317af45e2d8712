#include "platform/win/Clipboard.h"

#include "platform/win/MessageLoop.h"

// Format names and message names share one table of registered names, so a
// name has one number whichever way it was registered first.
UINT RegisterClipboardFormat(StringView lpszFormat) { return RegisterWindowMessage(lpszFormat); }
