#pragma once
// TGPCachedBitmap: a copy of a bitmap made for fast drawing on one graphics,
// of the run-time GDI+ set (wrapper contract in GdiplusBase.h).
#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPBitmap;
class TGPGraphics;

class TGPCachedBitmap : public TGdiplusBase {
 public:
  // Neither may be nil (InvalidParameter kept, nil handle).
  TGPCachedBitmap(const TGPBitmap* bitmap, const TGPGraphics* graphics);
  ~TGPCachedBitmap() override;
  TGPCachedBitmap(const TGPCachedBitmap&) = delete;
  TGPCachedBitmap& operator=(const TGPCachedBitmap&) = delete;
  // The kept status, reset to Ok.
  TStatus GetLastStatus() { return TakeStatus(lastResult); }

  GpCachedBitmap* nativeCachedBitmap = nullptr;
  TStatus lastResult = Ok;
};

inline GpCachedBitmap* NativeOf(const TGPCachedBitmap* c) { return c ? c->nativeCachedBitmap : nullptr; }

}  // namespace gdiplus_runtime
