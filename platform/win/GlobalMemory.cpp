#include "platform/win/GlobalMemory.h"

#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "platform/win/WinError.h"

namespace {

struct TBlock {
  std::vector<std::uint8_t> Data;
  int Locks = 0;
};

struct TBlocks {
  std::mutex Lock;
  std::map<HGLOBAL, std::unique_ptr<TBlock>> Live;
};

TBlocks& Blocks() {
  static TBlocks* blocks = new TBlocks();  // outlives every static user
  return *blocks;
}

TBlock* Find(HGLOBAL hMem) {
  auto& b = Blocks();
  auto it = b.Live.find(hMem);
  if (it != b.Live.end()) return it->second.get();
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT, std::size_t dwBytes) {
  if (dwBytes > kMaxGlobalBlock) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::unique_ptr<TBlock> block;
  try {
    block = std::make_unique<TBlock>();
    block->Data.resize(dwBytes);
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  } catch (const std::length_error&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto& b = Blocks();
  std::lock_guard lock(b.Lock);
  HGLOBAL handle = block.get();
  b.Live.emplace(handle, std::move(block));
  return handle;
}

void* GlobalLock(HGLOBAL hMem) {
  std::lock_guard lock(Blocks().Lock);
  TBlock* block = Find(hMem);
  if (!block) return nullptr;
  ++block->Locks;
  // A zero-sized block still answers a usable, distinct address.
  return block->Data.empty() ? static_cast<void*>(block) : block->Data.data();
}

BOOL GlobalUnlock(HGLOBAL hMem) {
  std::lock_guard lock(Blocks().Lock);
  TBlock* block = Find(hMem);
  if (!block || block->Locks == 0) return FALSE;
  return --block->Locks > 0;
}

std::size_t GlobalSize(HGLOBAL hMem) {
  std::lock_guard lock(Blocks().Lock);
  TBlock* block = Find(hMem);
  return block ? block->Data.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL hMem) {
  auto& b = Blocks();
  std::lock_guard lock(b.Lock);
  if (!Find(hMem)) return hMem;
  b.Live.erase(hMem);
  return nullptr;
}
