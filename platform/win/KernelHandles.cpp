#include "platform/win/KernelHandles.h"

#include <mutex>
#include <unordered_map>

#include "platform/win/WinError.h"

namespace {

struct HandleTable {
  std::mutex lock;
  std::unordered_map<std::uintptr_t, std::shared_ptr<TKernelObject>> objects;
  // Handles are never reused, so a stale one cannot name a newer object.
  std::uintptr_t next = 0x100;
};

HandleTable& Handles() {
  static HandleTable table;
  return table;
}

}  // namespace

HANDLE RegisterKernelObject(std::shared_ptr<TKernelObject> object) {
  HandleTable& t = Handles();
  std::lock_guard<std::mutex> guard(t.lock);
  const std::uintptr_t id = t.next;
  t.next += 4;
  t.objects.emplace(id, std::move(object));
  return reinterpret_cast<HANDLE>(id);
}

std::shared_ptr<TKernelObject> LookupKernelObject(HANDLE handle) {
  HandleTable& t = Handles();
  std::lock_guard<std::mutex> guard(t.lock);
  auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == t.objects.end() ? nullptr : it->second;
}

BOOL CloseHandle(HANDLE handle) {
  std::shared_ptr<TKernelObject> object;
  {
    HandleTable& t = Handles();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == t.objects.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return 0;
    }
    object = std::move(it->second);
    t.objects.erase(it);
  }
  // Released outside the lock: the object's destructor may close a descriptor.
  object.reset();
  return 1;
}
