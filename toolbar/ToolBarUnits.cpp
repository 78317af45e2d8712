#include "toolbar/ToolBarUnits.h"

#include "platform/theme/UxTheme.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/ZadEdevAziContainer.h"
#include "toolbar/shared/AdvTBXPVS.h"
#include "toolbar/shared/ToolBarShared.h"

void AddToolBarUnits(TUnitSequence& Units) {
  Units.Add(u"ThemeModules", [] { RegisterThemeModules(); });
  Units.Add(u"AdvTBXPVS", [] { advtbxpvs::InitializeAdvTBXPVS(); }, [] { advtbxpvs::FinalizeAdvTBXPVS(); });
  Units.Add(u"AdvXPVS", [] { advxpvs::BindXPThemeLibrary(); }, [] { advxpvs::ReleaseXPThemeLibrary(); });
  Units.Add(u"AdvToolBar", [] {
    toolbar::InitializeToolBarShared();
    toolbar::RegisterToolBarClasses();
    toolbar::RegisterToolBarButtonClasses();
    toolbar::RegisterToolBarContainerClass();
  });
}
