#include "foundation/gdiplus_runtime/PathData.h"

#include <new>

namespace gdiplus_runtime {

bool TPathData::Reserve(Integer n) {
  if (n <= Capacity()) return true;
  Clear();
  try {
    FPoints.resize(std::size_t(n));
    FTypes.resize(std::size_t(n));
  } catch (const std::bad_alloc&) {
    Clear();
    return false;
  }
  Points = FPoints.data();
  Types = FTypes.data();
  return true;
}

void TPathData::Clear() {
  std::vector<TGPPointF>().swap(FPoints);
  std::vector<Byte>().swap(FTypes);
  Count = 0;
  Points = nullptr;
  Types = nullptr;
}

}  // namespace gdiplus_runtime
