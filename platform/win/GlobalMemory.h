#pragma once
// Movable global memory blocks in the shape of the GlobalAlloc family, for
// handing bytes to the clipboard. Handles are checked: an unknown or freed
// handle answers nullptr / 0 with ERROR_INVALID_HANDLE instead of crashing.
#include <cstddef>

#include "platform/rtl/Types.h"
#include "platform/win/KernelHandles.h"
#include "platform/win/Resources.h"

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// Larger blocks are refused before anything is allocated.
constexpr std::size_t kMaxGlobalBlock = std::size_t(1) << 30;

// A new zero-filled block of dwBytes; nullptr (ERROR_NOT_ENOUGH_MEMORY) when
// the memory cannot be had or dwBytes exceeds kMaxGlobalBlock.
HGLOBAL GlobalAlloc(UINT uFlags, std::size_t dwBytes);
// The block's first byte, counting one more lock; nullptr for a bad handle.
void* GlobalLock(HGLOBAL hMem);
// Counts one lock off; false once no lock remains (or for a bad handle).
BOOL GlobalUnlock(HGLOBAL hMem);
// The block's size in bytes; 0 for a bad handle.
std::size_t GlobalSize(HGLOBAL hMem);
// Frees the block: nullptr on success, hMem for a bad handle.
HGLOBAL GlobalFree(HGLOBAL hMem);
