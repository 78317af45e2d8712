#pragma once
// The toolbar core's units for the program's start-up sequence.
#include "platform/win/Startup.h"

// Appends, in their start-up order: the theme and composition libraries of
// the layer (registered in the module table), the toolbar unit's theme
// binding (lock, then the library bound), the second theme binding, and the
// toolbar unit's shared state (tone records emptied, messages registered).
void AddToolBarUnits(TUnitSequence& Units);
