#include "platform/vcl/VclUnits.h"

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

void AddVclUnits(TUnitSequence& Units) {
  Units.Add(u"Controls", RegisterControlClasses);
  Units.Add(u"Forms", RegisterFormClasses);
}
