#include "app/AppUnits.h"

#include "controls/ControlsUnits.h"
#include "foundation/FoundationUnits.h"
#include "menus/MenusUnits.h"
#include "platform/vcl/VclUnits.h"
#include "programmer/ProgrammerUnits.h"
#include "ribbon/RibbonUnits.h"
#include "toolbar/ToolBarUnits.h"
#include "transport/TransportUnits.h"
#include "webupdate/WebUpdateWizard.h"

void AddAppUnits(TUnitSequence& Units) {
  AddVclUnits(Units);
  AddTransportUnits(Units);
  AddFoundationUnits(Units);
  AddProgrammerUnits(Units);
  AddToolBarUnits(Units);
  AddRibbonUnits(Units);
  AddControlsUnits(Units);
  AddMenusUnits(Units);
  Units.Add(u"WebUpdateWizard", RegisterWebUpdateWizardClasses);
}
