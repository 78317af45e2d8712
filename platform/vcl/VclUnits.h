#pragma once
// The class library's own units for the program's start-up sequence.
#include "platform/win/Startup.h"

// Appends the registration of the graphics', controls' and forms' streamable classes.
void AddVclUnits(TUnitSequence& Units);
