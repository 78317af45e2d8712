#include "controls/ControlsUnits.h"

#include "controls/AdvGlowButton.h"
#include "platform/win/MessageLoop.h"

void AddControlsUnits(TUnitSequence& Units) {
  Units.Add(u"AdvGlowButton", [] { RegisterGlowButtonClasses(); });
  // Registered for other programs' sake; nothing here sends or handles them.
  Units.Add(u"AdvOfficeStatusBar", [] {
    RegisterWindowMessage(u"ClearHintControl");
    RegisterWindowMessage(u"SBDRAWIMAGE");
  });
}
