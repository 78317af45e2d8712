#pragma once
// TGPFontCollection: the collection a family is looked up in. This set never
// makes a native collection, so an object stands for the installed fonts
// wherever it is passed (wrapper contract in GdiplusBase.h, except that
// GetLastStatus does not reset).
#include <vector>

#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPFontFamily;

class TGPFontCollection : public TGdiplusBase {
 public:
  TGPFontCollection() = default;
  // Deletes nothing: the native collection is not this object's.
  ~TGPFontCollection() override = default;
  TGPFontCollection(const TGPFontCollection&) = delete;
  TGPFontCollection& operator=(const TGPFontCollection&) = delete;

  // The call's status is stored whatever it is; 0 when it fails.
  Integer GetFamilyCount();
  // Up to numSought families copied into gpfamilies[0..numFound). numSought
  // below 1, beyond the array's size, or a nil entry in the array:
  // InvalidParameter without a call (numFound untouched).
  TStatus GetFamilies(Integer numSought, const std::vector<TGPFontFamily*>& gpfamilies, Integer& numFound);
  // The kept status, not reset.
  TStatus GetLastStatus() const { return lastResult; }

  GpFontCollection* nativeFontCollection = nullptr;
  TStatus lastResult = Ok;

 private:
  TStatus SetStatus(TStatus s) { return KeepStatus(lastResult, s); }
};

inline GpFontCollection* NativeOf(const TGPFontCollection* c) { return c ? c->nativeFontCollection : nullptr; }

}  // namespace gdiplus_runtime
