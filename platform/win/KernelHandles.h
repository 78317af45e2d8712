#pragma once
// Handles of kernel objects (ports, and later events or semaphores): one
// process-wide table maps a HANDLE to the object behind it, so a stale or
// foreign handle is refused instead of being dereferenced.
#include <memory>

#include "platform/rtl/Types.h"

using HANDLE = void*;
using BOOL = int;
constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~std::uintptr_t{0});

// Base of every object a HANDLE can name; the table owns it until CloseHandle.
class TKernelObject {
 public:
  virtual ~TKernelObject() = default;
};

// Enters the object into the table and answers its new handle.
HANDLE RegisterKernelObject(std::shared_ptr<TKernelObject> object);
// The object behind a handle, or null for an unknown, closed or invalid handle.
std::shared_ptr<TKernelObject> LookupKernelObject(HANDLE handle);
// The object behind a handle when it is of type T, else null.
template <class T>
std::shared_ptr<T> LookupKernelObjectAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(LookupKernelObject(handle));
}
// Closes a handle: the object is released once no call is still using it.
// An unknown handle answers FALSE with ERROR_INVALID_HANDLE.
BOOL CloseHandle(HANDLE handle);
