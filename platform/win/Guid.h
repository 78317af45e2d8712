#pragma once
// Globally unique identifiers, laid out as Windows lays them out.
#include "platform/rtl/Types.h"

struct GUID {
  DWORD Data1 = 0;
  Word Data2 = 0;
  Word Data3 = 0;
  Byte Data4[8] = {};
  friend bool operator==(const GUID&, const GUID&) = default;
};
using CLSID = GUID;
