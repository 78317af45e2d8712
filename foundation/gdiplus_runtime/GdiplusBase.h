#pragma once
// The common base of the run-time wrapper set, whose instances live in
// memory that GDI+ hands out, and the status keeping every wrapper shares.
//
// The wrapper contract (every class of this set): each call answers GDI+'s
// status and a failure stays kept in the object until GetLastStatus reads
// it. A nil object argument is passed as a nil handle, so GDI+ answers
// InvalidParameter where it needs one; an empty table slot answers the
// status of MissingEntryStatus. No member raises.
#include <cstddef>
#include <memory>
#include <utility>

#include "foundation/gdiplus_runtime/GdiplusApi.h"

namespace gdiplus_runtime {

class TGdiplusBase {
 public:
  virtual ~TGdiplusBase() = default;
  // Instance memory from GdipAlloc: nullptr (and no object) while GDI+ is
  // not loaded or not started, so `new` then gives nullptr.
  static void* operator new(std::size_t size) noexcept;
  // Hands the memory back with GdipFree.
  static void operator delete(void* p) noexcept;
};

// Stores s into kept when it is not Ok; answers s.
inline TStatus KeepStatus(TStatus& kept, TStatus s) {
  if (s != Ok) kept = s;
  return s;
}
// Answers kept and resets it to Ok.
inline TStatus TakeStatus(TStatus& kept) {
  TStatus s = kept;
  kept = Ok;
  return s;
}

// A truth query: call receives the answer's address; false when the call
// fails (its status kept in kept).
template <class Call>
bool TruthQuery(TStatus& kept, const Call& call) {
  BOOL answer = FALSE;
  return KeepStatus(kept, call(&answer)) == Ok && answer != FALSE;
}

// True when length fits text: -1 (the whole text) or 0..its size. Text
// members answer InvalidParameter without a call otherwise.
inline bool TextLengthFits(const String& text, Integer length) {
  return length == -1 || (length >= 0 && std::size_t(length) <= text.size());
}

// A new wrapper of class T adopting native. When no wrapper memory can be had
// the native object is deleted with del (nothing leaks) and nullptr answered.
template <class T, class Del, class H, class... A>
std::unique_ptr<T> Adopt(const Del& del, H* native, A&&... args) {
  std::unique_ptr<T> wrapper(new T(native, std::forward<A>(args)...));
  if (!wrapper && native) del(native);
  return wrapper;
}

}  // namespace gdiplus_runtime
