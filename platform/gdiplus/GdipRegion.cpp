// Regions: infinite, empty or a shape, combined by set operations.
#include <QRegion>
#include <cmath>
#include <cstring>

#include "platform/gdi/GdiInternal.h"
#include "platform/gdiplus/GdiPlusInternal.h"

using namespace gdiplus_internal;

namespace {
// GDI+'s infinite region spans these bounds.
constexpr REAL kInfMin = -4194304.0f, kInfSize = 8388608.0f;
constexpr char kDataMagic[4] = {'R', 'G', 'N', '1'};
}  // namespace

QPainterPath GpRegion::AsPath() const {
  if (State == Shape) return Path;
  QPainterPath p;
  if (State == Infinite) p.addRect(QRectF(kInfMin, kInfMin, kInfSize, kInfSize));
  return p;
}

void GpRegion::Set(const QPainterPath& p) {
  // The path keeps its own fill rule: an alternate-mode path keeps its holes.
  Path = p;
  State = p.isEmpty() || p.boundingRect().isEmpty() ? Empty : Shape;
}

namespace gdiplus_internal {

void CombineInto(GpRegion& r, const QPainterPath& b, GpCombineMode mode) {
  QPainterPath bb = b;
  bool bEmpty = bb.isEmpty() || bb.boundingRect().isEmpty();
  switch (mode) {
    case CombineModeReplace:
      r.Set(bb);
      return;
    case CombineModeIntersect:
      if (r.State == GpRegion::Infinite) r.Set(bb);
      else if (r.State == GpRegion::Shape) r.Set(bEmpty ? QPainterPath() : r.Path.intersected(bb));
      return;
    case CombineModeUnion:
      if (r.State == GpRegion::Empty) r.Set(bb);
      else if (r.State == GpRegion::Shape && !bEmpty) r.Set(r.Path.united(bb));
      return;
    case CombineModeXor: {
      QPainterPath a = r.AsPath();
      if (r.State == GpRegion::Empty) r.Set(bb);
      else if (!bEmpty) r.Set(a.subtracted(bb).united(bb.subtracted(a)));
      return;
    }
    case CombineModeExclude:
      if (r.State != GpRegion::Empty && !bEmpty) r.Set(r.AsPath().subtracted(bb));
      return;
    case CombineModeComplement:
      if (r.State == GpRegion::Empty) r.Set(bb);
      else r.Set(bEmpty ? QPainterPath() : bb.subtracted(r.AsPath()));
      return;
  }
}

}  // namespace gdiplus_internal

namespace {

GpRegion* R(const GpRegion* r) { return Get(r, TKind::Region); }

bool ValidMode(GpCombineMode m) { return m >= CombineModeReplace && m <= CombineModeComplement; }

GpStatus NewRegion(GpRegion** region, const QPainterPath* shape) {
  if (!region) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  auto r = std::make_unique<GpRegion>();
  if (shape) r->Set(*shape);
  return Hand(std::move(r), region);
}

// The region's pixels (device grid, after matrix), as bands of rectangles.
QRegion Pixels(const GpRegion* r, const QTransform& m) {
  if (r->State == GpRegion::Empty) return {};
  QPainterPath p = m.map(r->AsPath());
  QRectF b = p.boundingRect();
  // Integer overflow guard: the infinite region is clamped to QRegion's range.
  if (b.width() > 1e7 || b.height() > 1e7) return QRegion(QRect(int(kInfMin), int(kInfMin), int(kInfSize), int(kInfSize)));
  QRegion out;
  for (const QPolygonF& poly : p.toFillPolygons()) out += QRegion(poly.toPolygon(), p.fillRule());
  return out;
}

}  // namespace

GpStatus GdipCreateRegion(GpRegion** region) { return NewRegion(region, nullptr); }

GpStatus GdipCreateRegionRect(const GpRectF* rect, GpRegion** region) {
  if (!rect) return InvalidParameter;
  QPainterPath p;
  p.addRect(QRectF(rect->X, rect->Y, rect->Width, rect->Height).normalized());
  return NewRegion(region, &p);
}

GpStatus GdipCreateRegionRectI(const GpRect* rect, GpRegion** region) {
  if (!rect) return InvalidParameter;
  GpRectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
  return GdipCreateRegionRect(&r, region);
}

GpStatus GdipCreateRegionPath(GpPath* path, GpRegion** region) {
  GpPath* p = Get(path, TKind::Path);
  if (!p) return InvalidParameter;
  QPainterPath q = p->ToQt();
  // Keep the path's own fill rule by resolving it into a winding outline.
  if (q.fillRule() == Qt::OddEvenFill) q = q.simplified();
  return NewRegion(region, &q);
}

GpStatus GdipCreateRegionRgnData(const Byte* regionData, INT size, GpRegion** region) {
  if (!regionData || !region || size < 8 || std::memcmp(regionData, kDataMagic, 4) != 0) return InvalidParameter;
  INT state;
  std::memcpy(&state, regionData + 4, 4);
  if (state < 0 || state > 2) return InvalidParameter;
  QPainterPath p;
  if (state == GpRegion::Shape) {
    // Then: count, and count records of (element type, x, y) as int32, double, double.
    if (size < 12) return InvalidParameter;
    INT count;
    std::memcpy(&count, regionData + 8, 4);
    if (count < 0 || (size - 12) / 20 < count) return InvalidParameter;
    const Byte* at = regionData + 12;
    std::vector<QPointF> curve;
    for (INT i = 0; i < count; ++i, at += 20) {
      INT type;
      double x, y;
      std::memcpy(&type, at, 4);
      std::memcpy(&x, at + 4, 8);
      std::memcpy(&y, at + 12, 8);
      if (type == QPainterPath::MoveToElement) p.moveTo(x, y);
      else if (type == QPainterPath::LineToElement) p.lineTo(x, y);
      else if (type == QPainterPath::CurveToElement || type == QPainterPath::CurveToDataElement) {
        curve.emplace_back(x, y);
        if (curve.size() == 3) {
          p.cubicTo(curve[0], curve[1], curve[2]);
          curve.clear();
        }
      } else {
        return InvalidParameter;
      }
    }
  }
  if (!Running()) return GdiplusNotInitialized;
  auto r = std::make_unique<GpRegion>();
  if (state == GpRegion::Empty) r->State = GpRegion::Empty;
  else if (state == GpRegion::Shape) r->Set(p);
  return Hand(std::move(r), region);
}

GpStatus GdipCreateRegionHrgn(HRGN hRgn, GpRegion** region) {
  auto rgn = gdi_internal::Lookup<gdi_internal::TGdiRegion>(hRgn);
  if (!rgn || !region) return InvalidParameter;
  QPainterPath p;
  p.addRegion(rgn->Region);
  return NewRegion(region, &p);
}

GpStatus GdipCloneRegion(GpRegion* region, GpRegion** cloneRegion) {
  GpRegion* r = R(region);
  if (!r || !cloneRegion) return InvalidParameter;
  auto c = std::make_unique<GpRegion>();
  c->State = r->State;
  c->Path = r->Path;
  return Hand(std::move(c), cloneRegion);
}

GpStatus GdipDeleteRegion(GpRegion* region) { return Delete(region, TKind::Region); }

GpStatus GdipSetInfinite(GpRegion* region) {
  GpRegion* r = R(region);
  if (!r) return InvalidParameter;
  r->State = GpRegion::Infinite;
  r->Path = QPainterPath();
  return Ok;
}

GpStatus GdipSetEmpty(GpRegion* region) {
  GpRegion* r = R(region);
  if (!r) return InvalidParameter;
  r->State = GpRegion::Empty;
  r->Path = QPainterPath();
  return Ok;
}

GpStatus GdipCombineRegionRect(GpRegion* region, const GpRectF* rect, GpCombineMode combineMode) {
  GpRegion* r = R(region);
  if (!r || !rect || !ValidMode(combineMode)) return InvalidParameter;
  QPainterPath p;
  p.addRect(QRectF(rect->X, rect->Y, rect->Width, rect->Height).normalized());
  CombineInto(*r, p, combineMode);
  return Ok;
}

GpStatus GdipCombineRegionRectI(GpRegion* region, const GpRect* rect, GpCombineMode combineMode) {
  if (!rect) return InvalidParameter;
  GpRectF f{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
  return GdipCombineRegionRect(region, &f, combineMode);
}

GpStatus GdipCombineRegionPath(GpRegion* region, GpPath* path, GpCombineMode combineMode) {
  GpRegion* r = R(region);
  GpPath* p = Get(path, TKind::Path);
  if (!r || !p || !ValidMode(combineMode)) return InvalidParameter;
  QPainterPath q = p->ToQt();
  if (q.fillRule() == Qt::OddEvenFill) q = q.simplified();
  CombineInto(*r, q, combineMode);
  return Ok;
}

GpStatus GdipCombineRegionRegion(GpRegion* region, GpRegion* region2, GpCombineMode combineMode) {
  GpRegion *r = R(region), *r2 = R(region2);
  if (!r || !r2 || !ValidMode(combineMode)) return InvalidParameter;
  if (r2->State == GpRegion::Infinite) {
    // Set operations with the whole plane, kept exact.
    switch (combineMode) {
      case CombineModeReplace:
      case CombineModeUnion: r->State = GpRegion::Infinite, r->Path = QPainterPath(); return Ok;
      case CombineModeIntersect: return Ok;
      case CombineModeExclude: r->State = GpRegion::Empty, r->Path = QPainterPath(); return Ok;
      default: break;
    }
  }
  CombineInto(*r, r2->State == GpRegion::Empty ? QPainterPath() : r2->AsPath(), combineMode);
  return Ok;
}

GpStatus GdipTranslateRegion(GpRegion* region, REAL dx, REAL dy) {
  GpRegion* r = R(region);
  if (!r || !Finite(dx) || !Finite(dy)) return InvalidParameter;
  if (r->State == GpRegion::Shape) r->Path.translate(dx, dy);
  return Ok;
}

GpStatus GdipTranslateRegionI(GpRegion* region, INT dx, INT dy) { return GdipTranslateRegion(region, REAL(dx), REAL(dy)); }

GpStatus GdipTransformRegion(GpRegion* region, GpMatrix* matrix) {
  GpRegion* r = R(region);
  if (!r || !Alive(matrix, TKind::Matrix)) return InvalidParameter;
  if (r->State == GpRegion::Shape) r->Set(matrix->M.map(r->Path));
  return Ok;
}

GpStatus GdipGetRegionBounds(GpRegion* region, GpGraphics* graphics, GpRectF* rect) {
  GpRegion* r = R(region);
  if (!r || !rect || !Alive(graphics, TKind::Graphics)) return InvalidParameter;
  if (r->State == GpRegion::Infinite) *rect = {kInfMin, kInfMin, kInfSize, kInfSize};
  else if (r->State == GpRegion::Empty) *rect = {};
  else {
    QRectF b = r->Path.boundingRect();
    *rect = {REAL(b.x()), REAL(b.y()), REAL(b.width()), REAL(b.height())};
  }
  return Ok;
}

GpStatus GdipGetRegionBoundsI(GpRegion* region, GpGraphics* graphics, GpRect* rect) {
  if (!rect) return InvalidParameter;
  GpRectF f;
  GpStatus s = GdipGetRegionBounds(region, graphics, &f);
  if (s == Ok) {
    INT x = INT(std::floor(f.X)), y = INT(std::floor(f.Y));
    *rect = {x, y, INT(std::ceil(f.X + f.Width)) - x, INT(std::ceil(f.Y + f.Height)) - y};
  }
  return s;
}

GpStatus GdipGetRegionHRgn(GpRegion* region, GpGraphics* graphics, HRGN* hRgn) {
  GpRegion* r = R(region);
  if (!r || !hRgn || (graphics && !Alive(graphics, TKind::Graphics))) return InvalidParameter;
  if (r->State == GpRegion::Infinite) {
    *hRgn = nullptr;  // GDI+'s answer: no region means "everywhere"
    return Ok;
  }
  HRGN h = CreateRectRgn(0, 0, 0, 0);
  auto rgn = gdi_internal::Lookup<gdi_internal::TGdiRegion>(h);
  if (!rgn) return OutOfMemory;
  rgn->Region = Pixels(r, QTransform());
  *hRgn = h;
  return Ok;
}

GpStatus GdipIsEmptyRegion(GpRegion* region, GpGraphics* graphics, BOOL* result) {
  GpRegion* r = R(region);
  if (!r || !result || !Alive(graphics, TKind::Graphics)) return InvalidParameter;
  *result = r->State == GpRegion::Empty || (r->State == GpRegion::Shape && r->Path.boundingRect().isEmpty()) ? TRUE : FALSE;
  return Ok;
}

GpStatus GdipIsInfiniteRegion(GpRegion* region, GpGraphics* graphics, BOOL* result) {
  GpRegion* r = R(region);
  if (!r || !result || !Alive(graphics, TKind::Graphics)) return InvalidParameter;
  *result = r->State == GpRegion::Infinite ? TRUE : FALSE;
  return Ok;
}

GpStatus GdipIsEqualRegion(GpRegion* region, GpRegion* region2, GpGraphics* graphics, BOOL* result) {
  GpRegion *r = R(region), *r2 = R(region2);
  if (!r || !r2 || !result || !Alive(graphics, TKind::Graphics)) return InvalidParameter;
  if (r->State != GpRegion::Shape || r2->State != GpRegion::Shape) *result = r->State == r2->State ? TRUE : FALSE;
  else *result = Pixels(r, QTransform()) == Pixels(r2, QTransform()) ? TRUE : FALSE;
  return Ok;
}

GpStatus GdipGetRegionDataSize(GpRegion* region, UINT* bufferSize) {
  GpRegion* r = R(region);
  if (!r || !bufferSize) return InvalidParameter;
  *bufferSize = r->State == GpRegion::Shape ? UINT(12 + 20 * r->Path.elementCount()) : 8u;
  return Ok;
}

GpStatus GdipGetRegionData(GpRegion* region, Byte* buffer, UINT bufferSize, UINT* sizeFilled) {
  GpRegion* r = R(region);
  UINT need = 0;
  if (!r || !buffer || GdipGetRegionDataSize(region, &need) != Ok) return InvalidParameter;
  if (bufferSize < need) return InsufficientBuffer;
  std::memcpy(buffer, kDataMagic, 4);
  INT state = r->State;
  std::memcpy(buffer + 4, &state, 4);
  if (r->State == GpRegion::Shape) {
    INT count = r->Path.elementCount();
    std::memcpy(buffer + 8, &count, 4);
    Byte* at = buffer + 12;
    for (INT i = 0; i < count; ++i, at += 20) {
      const auto& e = r->Path.elementAt(i);
      INT type = e.type;
      double x = e.x, y = e.y;
      std::memcpy(at, &type, 4);
      std::memcpy(at + 4, &x, 8);
      std::memcpy(at + 12, &y, 8);
    }
  }
  if (sizeFilled) *sizeFilled = need;
  return Ok;
}

GpStatus GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics* graphics, BOOL* result) {
  GpRegion* r = R(region);
  if (!r || !result || (graphics && !Alive(graphics, TKind::Graphics))) return InvalidParameter;
  *result = r->State == GpRegion::Infinite || (r->State == GpRegion::Shape && r->Path.contains(QPointF(x, y))) ? TRUE : FALSE;
  return Ok;
}

GpStatus GdipIsVisibleRegionPointI(GpRegion* region, INT x, INT y, GpGraphics* graphics, BOOL* result) {
  return GdipIsVisibleRegionPoint(region, REAL(x), REAL(y), graphics, result);
}

GpStatus GdipIsVisibleRegionRect(GpRegion* region, REAL x, REAL y, REAL width, REAL height, GpGraphics* graphics,
                                 BOOL* result) {
  GpRegion* r = R(region);
  if (!r || !result || (graphics && !Alive(graphics, TKind::Graphics))) return InvalidParameter;
  if (r->State != GpRegion::Shape) {
    *result = r->State == GpRegion::Infinite && width > 0 && height > 0 ? TRUE : FALSE;
    return Ok;
  }
  QPainterPath rect;
  rect.addRect(QRectF(x, y, width, height));
  *result = r->Path.intersects(rect) ? TRUE : FALSE;
  return Ok;
}

GpStatus GdipIsVisibleRegionRectI(GpRegion* region, INT x, INT y, INT width, INT height, GpGraphics* graphics,
                                  BOOL* result) {
  return GdipIsVisibleRegionRect(region, REAL(x), REAL(y), REAL(width), REAL(height), graphics, result);
}

GpStatus GdipGetRegionScansCount(GpRegion* region, UINT* count, GpMatrix* matrix) {
  GpRegion* r = R(region);
  if (!r || !count || !Alive(matrix, TKind::Matrix)) return InvalidParameter;
  *count = UINT(Pixels(r, matrix->M).rectCount());
  return Ok;
}

GpStatus GdipGetRegionScans(GpRegion* region, GpRectF* rects, INT* count, GpMatrix* matrix) {
  GpRegion* r = R(region);
  if (!r || !count || !Alive(matrix, TKind::Matrix)) return InvalidParameter;
  QRegion px = Pixels(r, matrix->M);
  INT i = 0;
  for (const QRect& q : px) {
    if (rects) rects[i] = {REAL(q.x()), REAL(q.y()), REAL(q.width()), REAL(q.height())};
    ++i;
  }
  *count = i;
  return Ok;
}

GpStatus GdipGetRegionScansI(GpRegion* region, GpRect* rects, INT* count, GpMatrix* matrix) {
  GpRegion* r = R(region);
  if (!r || !count || !Alive(matrix, TKind::Matrix)) return InvalidParameter;
  QRegion px = Pixels(r, matrix->M);
  INT i = 0;
  for (const QRect& q : px) {
    if (rects) rects[i] = {q.x(), q.y(), q.width(), q.height()};
    ++i;
  }
  *count = i;
  return Ok;
}
