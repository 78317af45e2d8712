#include "programmer/ProgrammerUnits.h"

#include "platform/devices/DeviceNotify.h"
#include "programmer/QvBootload.h"

void AddProgrammerUnits(TUnitSequence& Units) {
  // Without the kernel's event source the program still runs; it only misses
  // arrival and removal events.
  Units.Add(u"Devices", [] { InitDevices(); }, DoneDevices);
  Units.Add(u"QvBootload", RegisterBootloadClasses);
}
