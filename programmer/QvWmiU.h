#pragma once
// The one management-query operation the detector needs.
#include "platform/rtl/Strings.h"

// Runs a WQL query against this computer and appends every result object's
// text to List, one line per item, objects in result order. Reports nothing:
// a query that cannot run or matches nothing leaves List unchanged; a nil
// List is ignored.
void WmiQuery(const String& Query, TStrings* List);
