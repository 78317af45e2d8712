#include "controls/ControlsUnits.h"

#include "controls/AdvGlowButton.h"
#include "controls/AdvOfficeStatusBar.h"
#include "platform/win/MessageLoop.h"

void AddControlsUnits(TUnitSequence& Units) {
  Units.Add(u"AdvGlowButton", [] { RegisterGlowButtonClasses(); });
  Units.Add(u"AdvOfficeStatusBar", [] {
    RegisterStatusBarClasses();
    // Registered for other programs' sake; nothing here sends or handles them.
    RegisterWindowMessage(u"ClearHintControl");
    RegisterWindowMessage(u"SBDRAWIMAGE");
  });
}
