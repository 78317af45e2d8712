#include "foundation/gdiplus_runtime/GPRegion.h"

#include "foundation/gdiplus_runtime/GPGraphics.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPMatrix.h"

namespace gdiplus_runtime {

TGPRegion::TGPRegion() { lastResult = Api().GdipCreateRegion(&nativeRegion); }
TGPRegion::TGPRegion(const TGPRectF& rect) { lastResult = Api().GdipCreateRegionRect(&rect, &nativeRegion); }
TGPRegion::TGPRegion(const TGPRect& rect) { lastResult = Api().GdipCreateRegionRectI(&rect, &nativeRegion); }
TGPRegion::TGPRegion(const TGPGraphicsPath* path) {
  lastResult = Api().GdipCreateRegionPath(NativeOf(path), &nativeRegion);
}
TGPRegion::TGPRegion(const Byte* regionData, Integer size) {
  lastResult = Api().GdipCreateRegionRgnData(regionData, size, &nativeRegion);
}
TGPRegion::TGPRegion(HRGN hRgn, Integer, Integer) { lastResult = Api().GdipCreateRegionHrgn(hRgn, &nativeRegion); }
TGPRegion::TGPRegion(GpRegion* native) : nativeRegion(native) {}
TGPRegion::~TGPRegion() { Api().GdipDeleteRegion(nativeRegion); }

std::unique_ptr<TGPRegion> TGPRegion::FromHRGN(HRGN hRgn) {
  GpRegion* region = nullptr;
  if (Api().GdipCreateRegionHrgn(hRgn, &region) != Ok) return nullptr;
  return Adopt<TGPRegion>(Api().GdipDeleteRegion, region);
}

std::unique_ptr<TGPRegion> TGPRegion::Clone() {
  GpRegion* clone = nullptr;
  SetStatus(Api().GdipCloneRegion(nativeRegion, &clone));
  return Adopt<TGPRegion>(Api().GdipDeleteRegion, clone);
}

TStatus TGPRegion::MakeInfinite() { return SetStatus(Api().GdipSetInfinite(nativeRegion)); }
TStatus TGPRegion::MakeEmpty() { return SetStatus(Api().GdipSetEmpty(nativeRegion)); }

UINT TGPRegion::GetDataSize() {
  UINT size = 0;
  if (SetStatus(Api().GdipGetRegionDataSize(nativeRegion, &size)) != Ok) return 0;
  return size;
}

TStatus TGPRegion::GetData(Byte* buffer, UINT bufferSize, UINT* sizeFilled) {
  return SetStatus(Api().GdipGetRegionData(nativeRegion, buffer, bufferSize, sizeFilled));
}

TStatus TGPRegion::Combine(const TGPRect& rect, GpCombineMode mode) {
  return SetStatus(Api().GdipCombineRegionRectI(nativeRegion, &rect, mode));
}
TStatus TGPRegion::Combine(const TGPRectF& rect, GpCombineMode mode) {
  return SetStatus(Api().GdipCombineRegionRect(nativeRegion, &rect, mode));
}
TStatus TGPRegion::Combine(const TGPGraphicsPath* path, GpCombineMode mode) {
  return SetStatus(Api().GdipCombineRegionPath(nativeRegion, NativeOf(path), mode));
}
TStatus TGPRegion::Combine(const TGPRegion* region, GpCombineMode mode) {
  return SetStatus(Api().GdipCombineRegionRegion(nativeRegion, NativeOf(region), mode));
}

TStatus TGPRegion::Intersect(const TGPRect& rect) { return Combine(rect, CombineModeIntersect); }
TStatus TGPRegion::Intersect(const TGPRectF& rect) { return Combine(rect, CombineModeIntersect); }
TStatus TGPRegion::Intersect(const TGPGraphicsPath* path) { return Combine(path, CombineModeIntersect); }
TStatus TGPRegion::Intersect(const TGPRegion* region) { return Combine(region, CombineModeIntersect); }
TStatus TGPRegion::Union(const TGPRect& rect) { return Combine(rect, CombineModeUnion); }
TStatus TGPRegion::Union(const TGPRectF& rect) { return Combine(rect, CombineModeUnion); }
TStatus TGPRegion::Union(const TGPGraphicsPath* path) { return Combine(path, CombineModeUnion); }
TStatus TGPRegion::Union(const TGPRegion* region) { return Combine(region, CombineModeUnion); }
TStatus TGPRegion::Xor_(const TGPRect& rect) { return Combine(rect, CombineModeXor); }
TStatus TGPRegion::Xor_(const TGPRectF& rect) { return Combine(rect, CombineModeXor); }
TStatus TGPRegion::Xor_(const TGPGraphicsPath* path) { return Combine(path, CombineModeXor); }
TStatus TGPRegion::Xor_(const TGPRegion* region) { return Combine(region, CombineModeXor); }
TStatus TGPRegion::Exclude(const TGPRect& rect) { return Combine(rect, CombineModeExclude); }
TStatus TGPRegion::Exclude(const TGPRectF& rect) { return Combine(rect, CombineModeExclude); }
TStatus TGPRegion::Exclude(const TGPGraphicsPath* path) { return Combine(path, CombineModeExclude); }
TStatus TGPRegion::Exclude(const TGPRegion* region) { return Combine(region, CombineModeExclude); }
TStatus TGPRegion::Complement(const TGPRect& rect) { return Combine(rect, CombineModeComplement); }
TStatus TGPRegion::Complement(const TGPRectF& rect) { return Combine(rect, CombineModeComplement); }
TStatus TGPRegion::Complement(const TGPGraphicsPath* path) { return Combine(path, CombineModeComplement); }
TStatus TGPRegion::Complement(const TGPRegion* region) { return Combine(region, CombineModeComplement); }

TStatus TGPRegion::Translate(Single dx, Single dy) {
  return SetStatus(Api().GdipTranslateRegion(nativeRegion, dx, dy));
}
TStatus TGPRegion::Translate(Integer dx, Integer dy) {
  return SetStatus(Api().GdipTranslateRegionI(nativeRegion, dx, dy));
}
TStatus TGPRegion::Transform(const TGPMatrix* matrix) {
  return SetStatus(Api().GdipTransformRegion(nativeRegion, NativeOf(matrix)));
}

TStatus TGPRegion::GetBounds(TGPRect& rect, const TGPGraphics* g) {
  return SetStatus(Api().GdipGetRegionBoundsI(nativeRegion, NativeOf(g), &rect));
}
TStatus TGPRegion::GetBounds(TGPRectF& rect, const TGPGraphics* g) {
  return SetStatus(Api().GdipGetRegionBounds(nativeRegion, NativeOf(g), &rect));
}

HRGN TGPRegion::GetHRGN(const TGPGraphics* g) {
  HRGN rgn = nullptr;
  if (SetStatus(Api().GdipGetRegionHRgn(nativeRegion, NativeOf(g), &rgn)) != Ok) return nullptr;
  return rgn;
}

bool TGPRegion::IsEmpty(const TGPGraphics* g) {
  return TruthQuery(lastResult, [&](BOOL* r) { return Api().GdipIsEmptyRegion(nativeRegion, NativeOf(g), r); });
}
bool TGPRegion::IsInfinite(const TGPGraphics* g) {
  return TruthQuery(lastResult, [&](BOOL* r) { return Api().GdipIsInfiniteRegion(nativeRegion, NativeOf(g), r); });
}
bool TGPRegion::IsVisible(Integer x, Integer y, const TGPGraphics* g) {
  return TruthQuery(lastResult,
                    [&](BOOL* r) { return Api().GdipIsVisibleRegionPointI(nativeRegion, x, y, NativeOf(g), r); });
}
bool TGPRegion::IsVisible(const TGPPoint& p, const TGPGraphics* g) { return IsVisible(p.X, p.Y, g); }
bool TGPRegion::IsVisible(Single x, Single y, const TGPGraphics* g) {
  return TruthQuery(lastResult,
                    [&](BOOL* r) { return Api().GdipIsVisibleRegionPoint(nativeRegion, x, y, NativeOf(g), r); });
}
bool TGPRegion::IsVisible(const TGPPointF& p, const TGPGraphics* g) { return IsVisible(p.X, p.Y, g); }
bool TGPRegion::IsVisible(Integer x, Integer y, Integer width, Integer height, const TGPGraphics* g) {
  return TruthQuery(lastResult, [&](BOOL* r) {
    return Api().GdipIsVisibleRegionRectI(nativeRegion, x, y, width, height, NativeOf(g), r);
  });
}
bool TGPRegion::IsVisible(const TGPRect& rc, const TGPGraphics* g) {
  return IsVisible(rc.X, rc.Y, rc.Width, rc.Height, g);
}
bool TGPRegion::IsVisible(Single x, Single y, Single width, Single height, const TGPGraphics* g) {
  return TruthQuery(lastResult, [&](BOOL* r) {
    return Api().GdipIsVisibleRegionRect(nativeRegion, x, y, width, height, NativeOf(g), r);
  });
}
bool TGPRegion::IsVisible(const TGPRectF& rc, const TGPGraphics* g) {
  return IsVisible(rc.X, rc.Y, rc.Width, rc.Height, g);
}
bool TGPRegion::IsEqual(const TGPRegion* region, const TGPGraphics* g) {
  return TruthQuery(lastResult,
                    [&](BOOL* r) { return Api().GdipIsEqualRegion(nativeRegion, NativeOf(region), NativeOf(g), r); });
}

UINT TGPRegion::GetRegionScansCount(const TGPMatrix* matrix) {
  UINT count = 0;
  if (SetStatus(Api().GdipGetRegionScansCount(nativeRegion, &count, NativeOf(matrix))) != Ok) return 0;
  return count;
}

// GDI+ writes every band, so a buffer shorter than the band count is refused
// before the call rather than overrun.
TStatus TGPRegion::ScansFit(const TGPMatrix* matrix, bool hasRects, Integer count) {
  if (!hasRects) return Ok;
  UINT needed = 0;
  TStatus s = SetStatus(Api().GdipGetRegionScansCount(nativeRegion, &needed, NativeOf(matrix)));
  if (s != Ok) return s;
  if (count < 0 || UINT(count) < needed) return SetStatus(InsufficientBuffer);
  return Ok;
}

TStatus TGPRegion::GetRegionScans(const TGPMatrix* matrix, TGPRectF* rects, Integer& count) {
  if (TStatus s = ScansFit(matrix, rects != nullptr, count); s != Ok) return s;
  return SetStatus(Api().GdipGetRegionScans(nativeRegion, rects, &count, NativeOf(matrix)));
}
TStatus TGPRegion::GetRegionScans(const TGPMatrix* matrix, TGPRect* rects, Integer& count) {
  if (TStatus s = ScansFit(matrix, rects != nullptr, count); s != Ok) return s;
  return SetStatus(Api().GdipGetRegionScansI(nativeRegion, rects, &count, NativeOf(matrix)));
}

}  // namespace gdiplus_runtime
