#pragma once
// TGPRegion: an area built from rectangles, paths and other regions by set
// operations, of the run-time GDI+ set (wrapper contract in GdiplusBase.h).
#include <memory>

#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPGraphics;
class TGPGraphicsPath;
class TGPMatrix;

class TGPRegion : public TGdiplusBase {
 public:
  // An infinite region.
  TGPRegion();
  explicit TGPRegion(const TGPRectF& rect);
  explicit TGPRegion(const TGPRect& rect);
  // The area of path (nil: InvalidParameter kept, nil handle).
  explicit TGPRegion(const TGPGraphicsPath* path);
  // From GetData's bytes; anything else: InvalidParameter.
  TGPRegion(const Byte* regionData, Integer size);
  // From a GDI region; the two integers only tell this form apart.
  TGPRegion(HRGN hRgn, Integer dummy1, Integer dummy2);
  // Adopts a native region, status Ok.
  explicit TGPRegion(GpRegion* nativeRegion);
  ~TGPRegion() override;
  TGPRegion(const TGPRegion&) = delete;
  TGPRegion& operator=(const TGPRegion&) = delete;

  // A new region from a GDI region; nullptr when the call fails.
  static std::unique_ptr<TGPRegion> FromHRGN(HRGN hRgn);
  // A new region on a copy, status Ok; a failure of the copy is kept here.
  std::unique_ptr<TGPRegion> Clone();
  TStatus MakeInfinite();
  TStatus MakeEmpty();
  // 0 when the call fails.
  UINT GetDataSize();
  // sizeFilled (may be nil) receives the bytes written.
  TStatus GetData(Byte* buffer, UINT bufferSize, UINT* sizeFilled = nullptr);
  // Set operations (modes 1 Intersect, 2 Union, 3 Xor, 4 Exclude, 5
  // Complement). A nil path or region answers InvalidParameter.
  TStatus Intersect(const TGPRect& rect);
  TStatus Intersect(const TGPRectF& rect);
  TStatus Intersect(const TGPGraphicsPath* path);
  TStatus Intersect(const TGPRegion* region);
  TStatus Union(const TGPRect& rect);
  TStatus Union(const TGPRectF& rect);
  TStatus Union(const TGPGraphicsPath* path);
  TStatus Union(const TGPRegion* region);
  TStatus Xor_(const TGPRect& rect);
  TStatus Xor_(const TGPRectF& rect);
  TStatus Xor_(const TGPGraphicsPath* path);
  TStatus Xor_(const TGPRegion* region);
  TStatus Exclude(const TGPRect& rect);
  TStatus Exclude(const TGPRectF& rect);
  TStatus Exclude(const TGPGraphicsPath* path);
  TStatus Exclude(const TGPRegion* region);
  TStatus Complement(const TGPRect& rect);
  TStatus Complement(const TGPRectF& rect);
  TStatus Complement(const TGPGraphicsPath* path);
  TStatus Complement(const TGPRegion* region);
  TStatus Translate(Single dx, Single dy);
  TStatus Translate(Integer dx, Integer dy);
  TStatus Transform(const TGPMatrix* matrix);
  TStatus GetBounds(TGPRect& rect, const TGPGraphics* g);
  TStatus GetBounds(TGPRectF& rect, const TGPGraphics* g);
  // A GDI region the caller owns; nullptr when the call fails.
  HRGN GetHRGN(const TGPGraphics* g);
  // False when the call fails.
  bool IsEmpty(const TGPGraphics* g);
  bool IsInfinite(const TGPGraphics* g);
  bool IsVisible(Integer x, Integer y, const TGPGraphics* g = nullptr);
  bool IsVisible(const TGPPoint& point, const TGPGraphics* g = nullptr);
  bool IsVisible(Single x, Single y, const TGPGraphics* g = nullptr);
  bool IsVisible(const TGPPointF& point, const TGPGraphics* g = nullptr);
  bool IsVisible(Integer x, Integer y, Integer width, Integer height, const TGPGraphics* g = nullptr);
  bool IsVisible(const TGPRect& rect, const TGPGraphics* g = nullptr);
  bool IsVisible(Single x, Single y, Single width, Single height, const TGPGraphics* g = nullptr);
  bool IsVisible(const TGPRectF& rect, const TGPGraphics* g = nullptr);
  bool IsEqual(const TGPRegion* region, const TGPGraphics* g);
  // Horizontal bands after matrix; 0 when the call fails.
  UINT GetRegionScansCount(const TGPMatrix* matrix);
  // count: in, the room in rects (InsufficientBuffer, without a call, when
  // the region has more bands); out, the bands written. Nil rects: only the
  // count.
  TStatus GetRegionScans(const TGPMatrix* matrix, TGPRectF* rects, Integer& count);
  TStatus GetRegionScans(const TGPMatrix* matrix, TGPRect* rects, Integer& count);
  // The kept status, reset to Ok.
  TStatus GetLastStatus() { return TakeStatus(lastResult); }

  GpRegion* nativeRegion = nullptr;
  TStatus lastResult = Ok;

 private:
  TStatus SetStatus(TStatus s) { return KeepStatus(lastResult, s); }
  TStatus Combine(const TGPRect& rect, GpCombineMode mode);
  TStatus Combine(const TGPRectF& rect, GpCombineMode mode);
  TStatus Combine(const TGPGraphicsPath* path, GpCombineMode mode);
  TStatus Combine(const TGPRegion* region, GpCombineMode mode);
  TStatus ScansFit(const TGPMatrix* matrix, bool hasRects, Integer count);
};

inline GpRegion* NativeOf(const TGPRegion* r) { return r ? r->nativeRegion : nullptr; }

}  // namespace gdiplus_runtime
