#include "transport/TransportUnits.h"

#include "transport/SocketLibrary.h"

void AddTransportUnits(TUnitSequence& Units) { Units.Add(u"SocketLibrary", InitSocketUnit, DoneSocketUnit); }
