#pragma once
// The component core's units for the program's start-up sequence.
#include "platform/win/Startup.h"

// Appends, in their start-up order: the utility class (clipboard formats),
// the persistence layer (type key "$type"), the run-time GDI+ binding
// ("gdiplus.dll" bound by name) and its wrapper set (GDI+ started), the
// imported GDI+ set (GDI+ started with its background thread suppressed).
void AddFoundationUnits(TUnitSequence& Units);
