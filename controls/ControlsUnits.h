#pragma once
// The controls' units for the program's start-up sequence.
#include "platform/win/Startup.h"

// Appends the glow-button unit (its classes declared to the type information)
// and the status-bar unit (its two window messages registered).
void AddControlsUnits(TUnitSequence& Units);
