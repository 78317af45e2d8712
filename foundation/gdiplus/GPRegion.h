#pragma once
// TGPRegion of the imported GDI+ set.
#include "foundation/gdiplus/GPGraphicsPath.h"

namespace gdiplus {

class TGPRegion : public TGPStatusKeeper {
 public:
  explicit TGPRegion(const TGPRectF& rect);
  explicit TGPRegion(TGPGraphicsPath* path);
  ~TGPRegion() override;
  TStatus Exclude(TGPGraphicsPath* path);
  TStatus Union(TGPRegion* region);

  GpRegion* nativeRegion = nullptr;
};

}  // namespace gdiplus
