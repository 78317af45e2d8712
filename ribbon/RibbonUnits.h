#pragma once
// The ribbon's units for the program's start-up sequence.
#include "platform/win/Startup.h"

// Appends the composition binding (nothing at start; its library freed at the end).
void AddRibbonUnits(TUnitSequence& Units);
