#include "foundation/gdiplus_runtime/GPFontCollection.h"

#include <algorithm>
#include <new>

#include "foundation/gdiplus_runtime/GPFontFamily.h"

namespace gdiplus_runtime {

Integer TGPFontCollection::GetFamilyCount() {
  INT count = 0;
  lastResult = Api().GdipGetFontCollectionFamilyCount(nativeFontCollection, &count);
  return lastResult == Ok ? count : 0;
}

TStatus TGPFontCollection::GetFamilies(Integer numSought, const std::vector<TGPFontFamily*>& gpfamilies,
                                       Integer& numFound) {
  // The families are written by index, so the request must fit the array.
  if (numSought < 1 || gpfamilies.empty() || std::size_t(numSought) > gpfamilies.size() ||
      std::any_of(gpfamilies.begin(), gpfamilies.begin() + numSought, [](TGPFontFamily* f) { return !f; })) {
    return SetStatus(InvalidParameter);
  }
  numFound = 0;
  std::vector<GpFontFamily*> natives;
  try {
    natives.assign(std::size_t(numSought), nullptr);
  } catch (const std::bad_alloc&) {
    return SetStatus(OutOfMemory);
  }
  INT found = 0;
  TStatus s = SetStatus(Api().GdipGetFontCollectionFamilyList(nativeFontCollection, numSought, natives.data(), &found));
  if (s != Ok) return s;
  numFound = std::clamp(found, 0, numSought);
  for (Integer i = 0; i < numFound; ++i) {
    TGPFontFamily* family = gpfamilies[std::size_t(i)];
    GpFontFamily* clone = nullptr;
    if (Api().GdipCloneFontFamily(natives[std::size_t(i)], &clone) != Ok) continue;
    Api().GdipDeleteFontFamily(family->nativeFamily);  // the object owns its handle: the old one goes
    family->nativeFamily = clone;
  }
  return s;
}

}  // namespace gdiplus_runtime
