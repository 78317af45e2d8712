#pragma once
// The program's start-up sequence: every subsystem's units in their order.
#include "platform/win/Startup.h"

// Appends the class library's, the transport's, the component core's, the
// programmer access's, the toolbar core's, the ribbon's, the controls', the
// menus' and the update wizard's units, in that order.
void AddAppUnits(TUnitSequence& Units);
