#include "controls/ControlsUnits.h"

#include "controls/AdvGlowButton.h"

void AddControlsUnits(TUnitSequence& Units) { Units.Add(u"AdvGlowButton", [] { RegisterGlowButtonClasses(); }); }
