#pragma once
// Programmer access's units for the program's start-up sequence.
#include "platform/win/Startup.h"

// Appends, in order: device notifications and the serial map, then the
// bootloader client's streamable classes.
void AddProgrammerUnits(TUnitSequence& Units);
