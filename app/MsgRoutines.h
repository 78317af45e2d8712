#pragma once
// The main window's message boxes and its version caption.
#include "platform/rtl/Types.h"

// Application->MessageBox(Text, Caption, Flags): a modal box over the main
// window; Flags carry the icon (MB_ICONERROR, MB_ICONINFORMATION,
// MB_ICONWARNING) and, when none is given, one OK button. Answers the
// chosen button's ID; 0 when there is no application object.
Integer ShowErrorMsg(const String& Text, const String& Caption, Integer Flags);
Integer ShowInfoMsg(const String& Text, const String& Caption, Integer Flags);
Integer ShowWarningMsg(const String& Text, const String& Caption, Integer Flags);

// The running program's file version, "major.minor.release.build".
// Raises EOSError with the system's text when the program has no version record.
String GetAppVersion();
// The same for any program file (GetAppVersion asks it for the running
// program's path); a missing file or one without a version record raises EOSError.
String GetFileVersion(const String& FileName);
