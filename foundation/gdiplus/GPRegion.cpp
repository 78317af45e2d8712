#include "foundation/gdiplus/GPRegion.h"

namespace gdiplus {

TGPRegion::TGPRegion(const TGPRectF& rect) { lastResult = GdipCreateRegionRect(&rect, &nativeRegion); }
TGPRegion::TGPRegion(TGPGraphicsPath* path) { lastResult = GdipCreateRegionPath(path ? path->nativePath : nullptr, &nativeRegion); }
TGPRegion::~TGPRegion() { GdipDeleteRegion(nativeRegion); }
TStatus TGPRegion::Exclude(TGPGraphicsPath* path) {
  return SetStatus(GdipCombineRegionPath(nativeRegion, path ? path->nativePath : nullptr, CombineModeExclude));
}
TStatus TGPRegion::Union(TGPRegion* region) {
  return SetStatus(GdipCombineRegionRegion(nativeRegion, region ? region->nativeRegion : nullptr, CombineModeUnion));
}

}  // namespace gdiplus
