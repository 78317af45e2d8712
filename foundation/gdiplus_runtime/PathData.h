#pragma once
// TPathData: a path's points and point types as TGPGraphicsPath::GetPathData
// fills them. It owns both arrays; Count is the number of valid entries.
#include <vector>

#include "foundation/gdiplus_runtime/GdiplusApi.h"

namespace gdiplus_runtime {

class TPathData {
 public:
  TPathData() = default;
  TPathData(const TPathData&) = delete;
  TPathData& operator=(const TPathData&) = delete;

  Integer Count = 0;
  TGPPointF* Points = nullptr;
  Byte* Types = nullptr;

  // Room for n entries (the arrays are reused when they already hold n);
  // false, and an emptied holder, when the memory cannot be had.
  bool Reserve(Integer n);
  // Frees both arrays: Count 0, both pointers nil.
  void Clear();
  // Entries the arrays can hold.
  Integer Capacity() const { return Integer(FPoints.size()); }

 private:
  std::vector<TGPPointF> FPoints;
  std::vector<Byte> FTypes;
};

}  // namespace gdiplus_runtime
