// Lines, shapes, fills, paths, pixels, focus rectangles and edges.
// Cosmetic lines and pixel operations are rasterised here, pixel by pixel,
// so that GDI's end-pixel and raster-operation rules hold exactly; fills and
// curves go through the DC's painter without antialiasing.
#include <cmath>
#include <numbers>

#include "platform/gdi/GdiInternal.h"

namespace gdi_internal {
namespace {

// Binary raster operation (R2_*) of pen P on destination D, per bit.
inline uint32_t Rop2(int rop, uint32_t p, uint32_t d) {
  unsigned v = unsigned(rop - 1) & 15;
  uint32_t r = 0;
  if (v & 1) r |= ~p & ~d;
  if (v & 2) r |= ~p & d;
  if (v & 4) r |= p & ~d;
  if (v & 8) r |= p & d;
  return r;
}

// Writes colour c with the raster operation into the image pixels given in
// image coordinates, inside the DC's effective clip.
class TPixelWriter {
 public:
  explicit TPixelWriter(HDC__* dc) : FDC(dc), FImage(dc->Surface.Image) {
    if (!FImage) return;
    FClip = EffectiveClip(dc);
    FSimple = FClip.rectCount() <= 1;
    FBox = FClip.boundingRect();
    FBpp = FImage->depth() / 8;
  }
  bool Valid() const { return FImage && (FBpp == 3 || FBpp == 4) && !FClip.isEmpty(); }
  bool Visible(int x, int y) const {
    if (!FBox.contains(x, y)) return false;
    return FSimple || FClip.contains(QPoint(x, y));
  }
  void Put(int x, int y, COLORREF c, int rop) {
    if (!Visible(x, y)) return;
    uchar* px = FImage->scanLine(y) + x * FBpp;
    uint32_t src = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
    if (FBpp == 4) {
      uint32_t& v = *reinterpret_cast<uint32_t*>(px);
      v = 0xFF000000u | (Rop2(rop, src, v & 0xFFFFFF) & 0xFFFFFF);
    } else {
      uint32_t d = (uint32_t(px[2]) << 16) | (uint32_t(px[1]) << 8) | px[0];
      uint32_t r = Rop2(rop, src, d);
      px[0] = uchar(r);
      px[1] = uchar(r >> 8);
      px[2] = uchar(r >> 16);
    }
  }
  COLORREF Get(int x, int y) const {
    const uchar* px = FImage->constScanLine(y) + x * FBpp;
    if (FBpp == 4) {
      QRgb v = *reinterpret_cast<const QRgb*>(px);
      if (FImage->format() == QImage::Format_ARGB32_Premultiplied) v = qUnpremultiply(v);
      return FromQRgb(v);
    }
    return RGB(px[2], px[1], px[0]);
  }
  QPoint Origin() const { return FDC->Surface.Origin; }

 private:
  HDC__* FDC;
  QImage* FImage;
  QRegion FClip;
  QRect FBox;
  bool FSimple = true;
  int FBpp = 4;
};

COLORREF PenColor(HDC__* d) { return d->State.Pen->DCPen ? d->State.DCPenColor : d->State.Pen->Color; }
bool PenVisible(HDC__* d) { return d->State.Pen && d->State.Pen->Kind() != PS_NULL; }
bool BrushVisible(HDC__* d) { return d->State.Brush && d->State.Brush->Style != BS_NULL; }

// On/off runs of the cosmetic styles, in pixels.
const std::vector<int>& StylePattern(UINT kind) {
  static const std::vector<int> none, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3},
      alternate{1, 1};
  switch (kind) {
    case PS_DASH: return dash;
    case PS_DOT: return dot;
    case PS_DASHDOT: return dashDot;
    case PS_DASHDOTDOT: return dashDotDot;
    case PS_ALTERNATE: return alternate;
    default: return none;
  }
}

// Bresenham from a to b in device coordinates; the end pixel is left out.
// Style pattern and background follow the DC's pen and background mode.
void CosmeticLine(HDC__* d, TPixelWriter& w, QPoint a, QPoint b, int& phase) {
  const auto& pattern = StylePattern(d->State.Pen->Kind());
  int period = 0;
  for (int v : pattern) period += v;
  COLORREF color = PenColor(d);
  int rop = d->State.Rop2;
  bool opaqueGaps = d->State.BkMode == OPAQUE && d->State.Pen->Kind() != PS_ALTERNATE;
  QPoint o = w.Origin();
  int x = a.x(), y = a.y();
  int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
  int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
  int err = dx + dy;
  // Bounded by the line's length: at most max(|dx|, |dy|) steps.
  while (x != b.x() || y != b.y()) {
    bool on = true;
    if (period) {
      int pos = phase % period, acc = 0;
      for (size_t i = 0; i < pattern.size(); ++i) {
        acc += pattern[i];
        if (pos < acc) {
          on = (i % 2) == 0;
          break;
        }
      }
      ++phase;
    }
    if (on) w.Put(x + o.x(), y + o.y(), color, rop);
    else if (opaqueGaps) w.Put(x + o.x(), y + o.y(), d->State.BkColor, rop);
    int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x += sx; }
    if (e2 <= dx) { err += dx; y += sy; }
  }
}

QPainter::CompositionMode ModeForRop2(int rop) {
  switch (rop) {
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case 9 /* R2_MASKPEN */: return QPainter::RasterOp_SourceAndDestination;
    case 15 /* R2_MERGEPEN */: return QPainter::RasterOp_SourceOrDestination;
    case 4 /* R2_NOTCOPYPEN */: return QPainter::RasterOp_NotSource;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

Qt::BrushStyle HatchStyle(int hatch) {
  switch (hatch) {
    case HS_HORIZONTAL: return Qt::HorPattern;
    case HS_VERTICAL: return Qt::VerPattern;
    case HS_FDIAGONAL: return Qt::FDiagPattern;
    case HS_BDIAGONAL: return Qt::BDiagPattern;
    case HS_CROSS: return Qt::CrossPattern;
    default: return Qt::DiagCrossPattern;
  }
}

// Sets up the painter to fill with the DC's brush; false when nothing shows.
QPainter* BrushPainter(HDC__* d, const TGdiBrush* brush = nullptr) {
  if (!brush) brush = d->State.Brush.get();
  if (!brush || brush->Style == BS_NULL) return nullptr;
  QPainter* p = BeginPainting(d);
  if (!p) return nullptr;
  p->setPen(Qt::NoPen);
  p->setCompositionMode(ModeForRop2(d->State.Rop2));
  p->setBrushOrigin(d->State.BrushOrg);
  p->setBackgroundMode(Qt::TransparentMode);
  COLORREF c = brush->DCBrush ? d->State.DCBrushColor : brush->Color;
  switch (brush->Style) {
    case BS_HATCHED:
      p->setBrush(QBrush(ToQColor(c), HatchStyle(brush->Hatch)));
      if (d->State.BkMode == OPAQUE) {
        p->setBackgroundMode(Qt::OpaqueMode);
        p->setBackground(ToQColor(d->State.BkColor));
      }
      break;
    case BS_PATTERN: p->setBrush(QBrush(brush->Pattern)); break;
    default: p->setBrush(ToQColor(c)); break;
  }
  return p;
}

QPainter* GeometricPenPainter(HDC__* d) {
  QPainter* p = BeginPainting(d);
  if (!p) return nullptr;
  const TGdiPen& pen = *d->State.Pen;
  QPen qp(ToQColor(PenColor(d)), pen.Width);
  switch (pen.Style & PS_ENDCAP_MASK) {
    case PS_ENDCAP_SQUARE: qp.setCapStyle(Qt::SquareCap); break;
    case PS_ENDCAP_FLAT: qp.setCapStyle(Qt::FlatCap); break;
    default: qp.setCapStyle(Qt::RoundCap); break;
  }
  switch (pen.Style & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL: qp.setJoinStyle(Qt::BevelJoin); break;
    case PS_JOIN_MITER: qp.setJoinStyle(Qt::MiterJoin); break;
    default: qp.setJoinStyle(Qt::RoundJoin); break;
  }
  switch (pen.Kind()) {
    case PS_DASH: qp.setStyle(Qt::DashLine); break;
    case PS_DOT: qp.setStyle(Qt::DotLine); break;
    case PS_DASHDOT: qp.setStyle(Qt::DashDotLine); break;
    case PS_DASHDOTDOT: qp.setStyle(Qt::DashDotDotLine); break;
    default: break;
  }
  p->setPen(qp);
  p->setBrush(Qt::NoBrush);
  p->setCompositionMode(ModeForRop2(d->State.Rop2));
  return p;
}

// Strokes a polyline (device coordinates) with the DC's pen.
void StrokePolyline(HDC__* d, const QPolygon& pts, bool closed) {
  if (!PenVisible(d) || pts.size() < 2) return;
  if (d->State.Pen->Cosmetic()) {
    TPixelWriter w(d);
    if (!w.Valid()) return;
    int phase = 0;
    for (int i = 0; i + 1 < pts.size(); ++i) CosmeticLine(d, w, pts[i], pts[i + 1], phase);
    if (closed && pts.first() != pts.last()) CosmeticLine(d, w, pts.last(), pts.first(), phase);
    return;
  }
  if (QPainter* p = GeometricPenPainter(d)) {
    if (closed) p->drawPolygon(pts);
    else p->drawPolyline(pts);
  }
}

// Strokes a curved outline (device coordinates) with a cosmetic or wide pen.
void StrokeCurve(HDC__* d, const QPainterPath& path) {
  if (!PenVisible(d)) return;
  if (d->State.Pen->Cosmetic()) {
    // Flattened and drawn pixel by pixel, so cosmetic styles apply.
    for (const QPolygonF& poly : path.toSubpathPolygons()) {
      QPolygon ip;
      for (const QPointF& pt : poly) ip << QPoint(int(std::floor(pt.x() + 0.5)), int(std::floor(pt.y() + 0.5)));
      if (ip.size() == 1) ip << ip.first() + QPoint(1, 0);
      StrokePolyline(d, ip, false);
    }
    return;
  }
  if (QPainter* p = GeometricPenPainter(d)) p->drawPath(path);
}

void FillDevicePath(HDC__* d, const QPainterPath& path) {
  if (QPainter* p = BrushPainter(d)) p->drawPath(path);
}

void FillDeviceRect(HDC__* d, const QRect& r, const TGdiBrush* brush = nullptr) {
  if (r.isEmpty()) return;
  if (QPainter* p = BrushPainter(d, brush)) p->drawRect(r);
}

QRect NormalDeviceRect(HDC__* d, int l, int t, int r, int b) {
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  QPoint a = ToDevice(d, l, t);
  return QRect(a.x(), a.y(), r - l, b - t);
}

std::shared_ptr<TGdiBrush> BrushArg(HBRUSH brush) {
  if (auto b = Lookup<TGdiBrush>(brush)) return b;
  // Windows also takes a system colour index plus one as a brush.
  auto v = reinterpret_cast<std::uintptr_t>(brush);
  if (v >= 1 && v <= 31) return Lookup<TGdiBrush>(GetSysColorBrush(int(v - 1)));
  return nullptr;
}

// The point of the ellipse in box on the ray from its centre to p.
double RayAngle(const QRectF& box, QPoint p) {
  QPointF c = box.center();
  return std::atan2(-(p.y() - c.y()), p.x() - c.x()) * 180.0 / std::numbers::pi;
}

// Counter-clockwise arc of the ellipse in (l,t,r,b) from ray 1 to ray 2, in
// device coordinates, as a path starting at the arc's first point.
QPainterPath ArcPath(HDC__* d, int l, int t, int r, int b, int x1, int y1, int x2, int y2, double* start,
                     double* sweep) {
  QRect box = NormalDeviceRect(d, l, t, r, b);
  QRectF outline(box.x(), box.y(), box.width() - 1, box.height() - 1);
  double a1 = RayAngle(outline, ToDevice(d, x1, y1));
  double a2 = RayAngle(outline, ToDevice(d, x2, y2));
  double s = std::fmod(a2 - a1 + 720.0, 360.0);
  if (s <= 0) s = 360.0;
  QPainterPath path;
  path.arcMoveTo(outline, a1);
  path.arcTo(outline, a1, s);
  *start = a1;
  *sweep = s;
  return path;
}

void PathAddPolyline(HDC__* d, const QPolygon& pts, bool closed) {
  if (pts.isEmpty()) return;
  d->Path.moveTo(pts.first());
  for (int i = 1; i < pts.size(); ++i) d->Path.lineTo(pts[i]);
  if (closed) d->Path.closeSubpath();
}

QPolygon DevicePoints(HDC__* d, const POINT* points, int count) {
  QPolygon poly;
  poly.reserve(count);
  for (int i = 0; i < count; ++i) poly << ToDevice(d, points[i].X, points[i].Y);
  return poly;
}

}  // namespace
}  // namespace gdi_internal

using namespace gdi_internal;

int FillRect(HDC dc, const RECT* r, HBRUSH brush) {
  HDC__* d = LookupDC(dc);
  auto b = BrushArg(brush);
  if (!d || !r || !b) return FALSE;
  QRect dr = NormalDeviceRect(d, r->Left, r->Top, r->Right, r->Bottom);
  if (r->Right <= r->Left || r->Bottom <= r->Top) return TRUE;
  int rop = std::exchange(d->State.Rop2, R2_COPYPEN);
  FillDeviceRect(d, dr, b.get());
  d->State.Rop2 = rop;
  return TRUE;
}

int FrameRect(HDC dc, const RECT* r, HBRUSH brush) {
  HDC__* d = LookupDC(dc);
  auto b = BrushArg(brush);
  if (!d || !r || !b) return FALSE;
  if (r->Right <= r->Left || r->Bottom <= r->Top) return TRUE;
  QRect dr = NormalDeviceRect(d, r->Left, r->Top, r->Right, r->Bottom);
  int rop = std::exchange(d->State.Rop2, R2_COPYPEN);
  FillDeviceRect(d, QRect(dr.left(), dr.top(), dr.width(), 1), b.get());
  FillDeviceRect(d, QRect(dr.left(), dr.bottom(), dr.width(), 1), b.get());
  FillDeviceRect(d, QRect(dr.left(), dr.top(), 1, dr.height()), b.get());
  FillDeviceRect(d, QRect(dr.right(), dr.top(), 1, dr.height()), b.get());
  d->State.Rop2 = rop;
  return TRUE;
}

BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
  HDC__* d = LookupDC(dc);
  if (!d) return FALSE;
  QRect dr = NormalDeviceRect(d, x, y, x + w, y + h);
  if (dr.isEmpty()) return TRUE;
  QPainter* p = BeginPainting(d);
  if (!p) return FALSE;
  switch (rop) {
    case BLACKNESS: p->setCompositionMode(QPainter::CompositionMode_Source); p->fillRect(dr, Qt::black); return TRUE;
    case WHITENESS: p->setCompositionMode(QPainter::CompositionMode_Source); p->fillRect(dr, Qt::white); return TRUE;
    case DSTINVERT:
      p->setCompositionMode(QPainter::RasterOp_NotDestination);
      p->fillRect(dr, Qt::black);
      return TRUE;
    case PATCOPY:
    case PATINVERT: {
      int old = std::exchange(d->State.Rop2, rop == PATCOPY ? R2_COPYPEN : R2_XORPEN);
      FillDeviceRect(d, dr);
      d->State.Rop2 = old;
      return TRUE;
    }
    default: return FALSE;
  }
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* old) {
  HDC__* d = LookupDC(dc);
  if (!d) return FALSE;
  if (old) *old = {d->State.Position.x(), d->State.Position.y()};
  d->State.Position = QPoint(x, y);
  if (d->InPath) d->Path.moveTo(ToDevice(d, x, y));
  return TRUE;
}

BOOL GetCurrentPositionEx(HDC dc, POINT* p) {
  HDC__* d = LookupDC(dc);
  if (!d || !p) return FALSE;
  *p = {d->State.Position.x(), d->State.Position.y()};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  HDC__* d = LookupDC(dc);
  if (!d) return FALSE;
  QPoint a = ToDevice(d, d->State.Position.x(), d->State.Position.y());
  QPoint b = ToDevice(d, x, y);
  d->State.Position = QPoint(x, y);
  if (d->InPath) {
    if (d->Path.elementCount() == 0) d->Path.moveTo(a);
    d->Path.lineTo(b);
    return TRUE;
  }
  StrokePolyline(d, QPolygon({a, b}), false);
  return TRUE;
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
  HDC__* d = LookupDC(dc);
  if (!d || !points || count < 2) return FALSE;
  QPolygon poly = DevicePoints(d, points, count);
  if (d->InPath) PathAddPolyline(d, poly, false);
  else StrokePolyline(d, poly, false);
  return TRUE;
}

BOOL Polygon(HDC dc, const POINT* points, int count) {
  HDC__* d = LookupDC(dc);
  if (!d || !points || count < 2) return FALSE;
  QPolygon poly = DevicePoints(d, points, count);
  if (d->InPath) {
    PathAddPolyline(d, poly, true);
    return TRUE;
  }
  if (BrushVisible(d)) {
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    path.setFillRule(d->State.PolyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    FillDevicePath(d, path);
  }
  StrokePolyline(d, poly, true);
  return TRUE;
}

BOOL PolyBezier(HDC dc, const POINT* points, DWORD count) {
  HDC__* d = LookupDC(dc);
  if (!d || !points || count < 4 || (count - 1) % 3 != 0) return FALSE;
  QPolygon poly = DevicePoints(d, points, int(count));
  QPainterPath path(poly[0]);
  for (int i = 1; i + 2 < poly.size(); i += 3) path.cubicTo(poly[i], poly[i + 1], poly[i + 2]);
  if (d->InPath) d->Path.addPath(path);
  else StrokeCurve(d, path);
  return TRUE;
}

BOOL Rectangle(HDC dc, int l, int t, int r, int b) {
  HDC__* d = LookupDC(dc);
  if (!d) return FALSE;
  QRect box = NormalDeviceRect(d, l, t, r, b);
  if (d->InPath) {
    d->Path.addRect(box);
    return TRUE;
  }
  if (box.isEmpty()) return TRUE;
  if (!PenVisible(d)) {
    // With no pen GDI fills one pixel less to the right and bottom.
    FillDeviceRect(d, box.adjusted(0, 0, -1, -1));
    return TRUE;
  }
  const TGdiPen& pen = *d->State.Pen;
  int w = pen.Cosmetic() ? 1 : std::min({pen.Width, (box.width() + 1) / 2, (box.height() + 1) / 2});
  if (BrushVisible(d)) FillDeviceRect(d, box.adjusted(w, w, -w, -w));
  if (pen.Cosmetic() && pen.Kind() != PS_SOLID && pen.Kind() != PS_INSIDEFRAME) {
    QPolygon outline({box.topLeft(), QPoint(box.right(), box.top()), box.bottomRight(), QPoint(box.left(), box.bottom())});
    StrokePolyline(d, outline, true);
    return TRUE;
  }
  // A solid pen is bands inside the bounds.
  TGdiBrush penBrush;
  penBrush.Color = PenColor(d);
  FillDeviceRect(d, QRect(box.left(), box.top(), box.width(), w), &penBrush);
  FillDeviceRect(d, QRect(box.left(), box.bottom() - w + 1, box.width(), w), &penBrush);
  FillDeviceRect(d, QRect(box.left(), box.top() + w, w, box.height() - 2 * w), &penBrush);
  FillDeviceRect(d, QRect(box.right() - w + 1, box.top() + w, w, box.height() - 2 * w), &penBrush);
  return TRUE;
}

BOOL RoundRect(HDC dc, int l, int t, int r, int b, int w, int h) {
  HDC__* d = LookupDC(dc);
  if (!d) return FALSE;
  QRect box = NormalDeviceRect(d, l, t, r, b);
  double rx = std::min(std::abs(w), box.width()) / 2.0, ry = std::min(std::abs(h), box.height()) / 2.0;
  if (d->InPath) {
    d->Path.addRoundedRect(box, rx, ry);
    return TRUE;
  }
  if (box.isEmpty()) return TRUE;
  if (BrushVisible(d)) {
    QPainterPath fill;
    fill.addRoundedRect(QRectF(box.x(), box.y(), box.width() - (PenVisible(d) ? 0 : 1), box.height() - (PenVisible(d) ? 0 : 1)), rx, ry);
    FillDevicePath(d, fill);
  }
  QPainterPath outline;
  outline.addRoundedRect(QRectF(box.x(), box.y(), box.width() - 1, box.height() - 1), rx, ry);
  StrokeCurve(d, outline);
  return TRUE;
}

BOOL Ellipse(HDC dc, int l, int t, int r, int b) {
  HDC__* d = LookupDC(dc);
  if (!d) return FALSE;
  QRect box = NormalDeviceRect(d, l, t, r, b);
  if (d->InPath) {
    d->Path.addEllipse(box);
    return TRUE;
  }
  if (box.isEmpty()) return TRUE;
  if (BrushVisible(d)) {
    QPainterPath fill;
    fill.addEllipse(QRectF(box));
    FillDevicePath(d, fill);
  }
  QPainterPath outline;
  outline.addEllipse(QRectF(box.x(), box.y(), box.width() - 1, box.height() - 1));
  StrokeCurve(d, outline);
  return TRUE;
}

BOOL Arc(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
  HDC__* d = LookupDC(dc);
  if (!d) return FALSE;
  double start, sweep;
  QPainterPath path = ArcPath(d, l, t, r, b, x1, y1, x2, y2, &start, &sweep);
  if (d->InPath) d->Path.addPath(path);
  else StrokeCurve(d, path);
  return TRUE;
}

namespace {
BOOL ClosedArc(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2, bool pie) {
  HDC__* d = LookupDC(dc);
  if (!d) return FALSE;
  double start, sweep;
  QPainterPath path = ArcPath(d, l, t, r, b, x1, y1, x2, y2, &start, &sweep);
  if (pie) {
    QRect box = NormalDeviceRect(d, l, t, r, b);
    path.lineTo(QRectF(box.x(), box.y(), box.width() - 1, box.height() - 1).center());
  }
  path.closeSubpath();
  if (d->InPath) {
    d->Path.addPath(path);
    return TRUE;
  }
  if (BrushVisible(d)) FillDevicePath(d, path);
  StrokeCurve(d, path);
  return TRUE;
}
}  // namespace

BOOL Pie(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
  return ClosedArc(dc, l, t, r, b, x1, y1, x2, y2, true);
}
BOOL Chord(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
  return ClosedArc(dc, l, t, r, b, x1, y1, x2, y2, false);
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  HDC__* d = LookupDC(dc);
  if (!d) return CLR_INVALID;
  TPixelWriter w(d);
  QPoint p = ToDevice(d, x, y) + d->Surface.Origin;
  if (!w.Valid() || !w.Visible(p.x(), p.y())) return CLR_INVALID;
  w.Put(p.x(), p.y(), color & 0xFFFFFF, R2_COPYPEN);
  return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  HDC__* d = LookupDC(dc);
  if (!d) return CLR_INVALID;
  TPixelWriter w(d);
  QPoint p = ToDevice(d, x, y) + d->Surface.Origin;
  if (!w.Valid() || !w.Visible(p.x(), p.y())) return CLR_INVALID;
  return w.Get(p.x(), p.y());
}

BOOL DrawFocusRect(HDC dc, const RECT* r) {
  HDC__* d = LookupDC(dc);
  if (!d || !r) return FALSE;
  TPixelWriter w(d);
  if (!w.Valid()) return TRUE;
  QRect box = NormalDeviceRect(d, r->Left, r->Top, r->Right, r->Bottom);
  if (box.isEmpty()) return TRUE;
  QPoint o = d->Surface.Origin;
  // Every other pixel of the frame, on a checkerboard fixed to the device,
  // inverted; each pixel once even where the sides meet.
  auto invert = [&](int x, int y) {
    if (((x + y) & 1) == 0) w.Put(x + o.x(), y + o.y(), RGB(255, 255, 255), R2_XORPEN);
  };
  for (int x = box.left(); x <= box.right(); ++x) {
    invert(x, box.top());
    if (box.bottom() != box.top()) invert(x, box.bottom());
  }
  for (int y = box.top() + 1; y < box.bottom(); ++y) {
    invert(box.left(), y);
    if (box.right() != box.left()) invert(box.right(), y);
  }
  return TRUE;
}

BOOL DrawEdge(HDC dc, RECT* r, UINT edge, UINT flags) {
  HDC__* d = LookupDC(dc);
  if (!d || !r) return FALSE;
  TRect rc = *r;
  auto side = [&](const TRect& box, COLORREF tl, COLORREF br) {
    TGdiBrush a, b;
    a.Color = tl;
    b.Color = br;
    QRect q = NormalDeviceRect(d, box.Left, box.Top, box.Right, box.Bottom);
    if (q.isEmpty()) return;
    if (flags & BF_TOP) FillDeviceRect(d, QRect(q.left(), q.top(), q.width(), 1), &a);
    if (flags & BF_LEFT) FillDeviceRect(d, QRect(q.left(), q.top(), 1, q.height()), &a);
    if (flags & BF_BOTTOM) FillDeviceRect(d, QRect(q.left(), q.bottom(), q.width(), 1), &b);
    if (flags & BF_RIGHT) FillDeviceRect(d, QRect(q.right(), q.top(), 1, q.height()), &b);
  };
  int rop = std::exchange(d->State.Rop2, R2_COPYPEN);
  UINT outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
  UINT inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
  auto shrink = [&](TRect& box) {
    if (flags & BF_LEFT) ++box.Left;
    if (flags & BF_TOP) ++box.Top;
    if (flags & BF_RIGHT) --box.Right;
    if (flags & BF_BOTTOM) --box.Bottom;
  };
  if (outer) {
    if (flags & BF_MONO) side(rc, GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME));
    else if (flags & BF_FLAT) side(rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
    else if (outer & BDR_RAISEDOUTER) side(rc, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    else side(rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    shrink(rc);
  }
  if (inner) {
    if (flags & BF_MONO) side(rc, GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
    else if (flags & BF_FLAT) side(rc, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    else if (inner & BDR_RAISEDINNER) side(rc, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    else side(rc, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    shrink(rc);
  }
  if (flags & BF_MIDDLE) {
    TGdiBrush face;
    face.Color = GetSysColor(flags & BF_MONO ? COLOR_WINDOW : COLOR_BTNFACE);
    FillDeviceRect(d, NormalDeviceRect(d, rc.Left, rc.Top, rc.Right, rc.Bottom), &face);
  }
  d->State.Rop2 = rop;
  if (flags & BF_ADJUST) *r = rc;
  return TRUE;
}

// ---- Paths --------------------------------------------------------------

BOOL BeginPath(HDC dc) {
  HDC__* d = LookupDC(dc);
  if (!d) return FALSE;
  d->InPath = true;
  d->PathReady = false;
  d->Path = QPainterPath();
  return TRUE;
}

BOOL EndPath(HDC dc) {
  HDC__* d = LookupDC(dc);
  if (!d || !d->InPath) return FALSE;
  d->InPath = false;
  d->PathReady = true;
  return TRUE;
}

BOOL AbortPath(HDC dc) {
  HDC__* d = LookupDC(dc);
  if (!d) return FALSE;
  d->InPath = false;
  d->PathReady = false;
  d->Path = QPainterPath();
  return TRUE;
}

BOOL CloseFigure(HDC dc) {
  HDC__* d = LookupDC(dc);
  if (!d || !d->InPath) return FALSE;
  d->Path.closeSubpath();
  return TRUE;
}

namespace {
BOOL UsePath(HDC dc, bool stroke, bool fill) {
  HDC__* d = LookupDC(dc);
  if (!d || !d->PathReady) return FALSE;
  QPainterPath path = std::move(d->Path);
  d->Path = QPainterPath();
  d->PathReady = false;
  path.setFillRule(d->State.PolyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  if (fill) FillDevicePath(d, path);
  if (stroke) StrokeCurve(d, path);
  return TRUE;
}
}  // namespace

BOOL StrokePath(HDC dc) { return UsePath(dc, true, false); }
BOOL FillPath(HDC dc) { return UsePath(dc, false, true); }

