#pragma once
// The running program as a module: its handle, its file and its arguments.
#include "platform/rtl/Types.h"

// A module handle. Only the running program is a module here; nullptr and
// HInstance() both name it.
using HMODULE = void*;
using HINSTANCE = HMODULE;
using HINST = HMODULE;

// The running program's module handle (never nullptr).
HINSTANCE HInstance();

// Full path of the program file of the module (the running program for
// nullptr or HInstance()), from /proc/self/exe; empty for any other handle.
String GetModuleFileName(HMODULE module = nullptr);

// Number of command-line arguments after the program name.
Integer ParamCount();
// Argument i: 0 is the program file's full path; past the end gives "".
String ParamStr(Integer index);
