#pragma once
// The component core's units for the program's start-up sequence.
#include "platform/win/Startup.h"

// Appends, in their start-up order: the utility class (clipboard formats),
// the persistence layer (type key "$type"), the run-time GDI+ binding
// ("gdiplus.dll" bound by name) and its wrapper set (GDI+ started), the
// named-colour table (filled and sorted), the "SVG" picture format, the
// imported GDI+ set (GDI+ started with its background thread suppressed) and
// the "GDI+ Fill" clipboard format.
void AddFoundationUnits(TUnitSequence& Units);
