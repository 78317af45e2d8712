#include "platform/vcl/VclUnits.h"

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphic.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/HintWindow.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

void AddVclUnits(TUnitSequence& Units) {
  Units.Add(u"Graphics", RegisterGraphicsClasses);
  Units.Add(u"Controls", RegisterControlClasses);
  Units.Add(u"Forms", RegisterFormClasses);
  Units.Add(u"StdCtrls", RegisterStdCtrlsClasses);
  Units.Add(u"ExtCtrls", RegisterExtCtrlsClasses);
  Units.Add(u"ComCtrls", RegisterComCtrlsClasses);
  Units.Add(u"Menus", RegisterMenusClasses);
  // Needs the application object; without one it does nothing.
  Units.Add(u"HintWindow", InstallHintWindow);
}
