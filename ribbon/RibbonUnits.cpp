#include "ribbon/RibbonUnits.h"

#include "ribbon/AdvDWM.h"

void AddRibbonUnits(TUnitSequence& Units) { Units.Add(u"AdvDWM", {}, [] { advdwm::FinalizeAdvDWM(); }); }
