#pragma once
// The component core's units for the program's start-up sequence.
#include "platform/win/Startup.h"

// Appends, in their start-up order: the utility class (clipboard formats),
// the persistence layer (type key "$type"), the imported GDI+ set (module
// table entry, then GDI+ started).
void AddFoundationUnits(TUnitSequence& Units);
