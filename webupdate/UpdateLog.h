#pragma once
// The update log file, shared by the component and the restart helper.
#include "platform/rtl/Types.h"

// The file a log name stands for: a bare name goes to the Documents folder,
// "{APP}" (any case) becomes appFolder, backslashes become "/" and doubled
// delimiters single ones.
String ResolveLogFileName(const String& logFileName, const String& appFolder);
// Appends line and CR LF to the resolved file, creating its folder. One
// writer at a time: a lock inside the process and an advisory lock on the
// file between processes. Failures are silent (logging never fails a run).
void WriteLogLine(const String& logFileName, const String& appFolder, const String& line);
