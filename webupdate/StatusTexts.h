#pragma once
// The texts of the web-update status numbers ("%s" takes the argument); ids
// without a text give "".
#include "platform/rtl/Types.h"

String WebUpdateStatusText(Integer Ident);
// The message of a status: the text with Text in place of its "%s".
String WebUpdateStatusMessage(Integer Ident, const String& Text);
