#pragma once
// The keyboard table: scan codes of virtual keys and the names of keys, as a
// standard PC keyboard with the US layout reports them (there is one layout here).
#include "platform/rtl/Types.h"
#include "platform/win/Messages.h"

constexpr UINT MAPVK_VK_TO_VSC = 0, MAPVK_VSC_TO_VK = 1;
// MAPVK_VK_TO_VSC: the scan code of the virtual key; MAPVK_VSC_TO_VK: the
// virtual key of the scan code. 0 for an unknown code or mapping type.
UINT MapVirtualKey(UINT Code, UINT MapType);
// The name of the key whose scan code is in bits 16..23 of LParam (bit 24:
// the extended key, which tells the cursor block from the number pad).
// Copies at most Size-1 characters and a NUL into Buffer and answers the
// count; 0 for an unknown key or an unusable buffer.
int GetKeyNameText(LPARAM LParam, Char* Buffer, int Size);
