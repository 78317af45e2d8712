#include "menus/MenusUnits.h"

#include "menus/MenuQueries.h"

void AddMenusUnits(TUnitSequence& Units) { Units.Add(u"AdvMenus", InitMenuEdgeWidth); }
