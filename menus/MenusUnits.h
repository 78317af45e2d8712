#pragma once
// The menus' unit for the program's start-up sequence.
#include "platform/win/Startup.h"

// Appends the menus unit: at start MenuEdgeWidth follows the screen's DPI; the
// desktop-wide menu animation is left alone (there is none to switch here).
void AddMenusUnits(TUnitSequence& Units);
