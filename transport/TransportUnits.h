#pragma once
// The transport's units for the program's start-up sequence.
#include "platform/win/Startup.h"

// Appends, in order: the socket library (loaded by name, started 2.2).
void AddTransportUnits(TUnitSequence& Units);
