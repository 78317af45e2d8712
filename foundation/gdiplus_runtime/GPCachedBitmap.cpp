#include "foundation/gdiplus_runtime/GPCachedBitmap.h"

#include "foundation/gdiplus_runtime/GPGraphics.h"
#include "foundation/gdiplus_runtime/GPImage.h"

namespace gdiplus_runtime {

TGPCachedBitmap::TGPCachedBitmap(const TGPBitmap* bitmap, const TGPGraphics* graphics) {
  lastResult = Api().GdipCreateCachedBitmap(NativeOf(bitmap), NativeOf(graphics), &nativeCachedBitmap);
}

TGPCachedBitmap::~TGPCachedBitmap() { Api().GdipDeleteCachedBitmap(nativeCachedBitmap); }

}  // namespace gdiplus_runtime
