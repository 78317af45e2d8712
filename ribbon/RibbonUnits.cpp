#include "ribbon/RibbonUnits.h"

#include "ribbon/AdvDWM.h"
#include "ribbon/ZadEdevAziPager.h"

void AddRibbonUnits(TUnitSequence& Units) {
  Units.Add(u"AdvDWM", {}, [] { advdwm::FinalizeAdvDWM(); });
  Units.Add(u"AdvToolBarPager", [] { ribbon::RegisterPagerClasses(); });
}
