// Graphics: the drawing surface (a DC's surface or an image), its modes,
// transforms, clip and the drawing calls.
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

#include "platform/gdi/GdiInternal.h"
#include "platform/gdiplus/GdiPlusInternal.h"

using namespace gdiplus_internal;

namespace gdiplus_internal {

REAL UnitToPixels(GpUnit unit, REAL dpi) {
  switch (unit) {
    case UnitPoint: return dpi / 72.0f;
    case UnitInch: return dpi;
    case UnitDocument: return dpi / 300.0f;
    case UnitMillimeter: return dpi / 25.4f;
    default: return 1;  // world, display and pixel
  }
}

void QuiesceImage(GpImage* image) {
  for (GpGraphics* g : image->Users)
    if (g->OwnPainter) {
      g->OwnPainter->end();
      g->OwnPainter.reset();
    }
}

}  // namespace gdiplus_internal

GpGraphics::~GpGraphics() {
  if (OwnPainter) OwnPainter->end();
  if (Image) std::erase(Image->Users, this);
  if (OutDc) DeleteDC(OutDc);
}

QTransform GpGraphics::PageTransform() const {
  REAL s = State.PageScale * UnitToPixels(State.PageUnit, 96);
  return s == 1 ? QTransform() : QTransform::fromScale(s, s);
}

QPainter* GpGraphics::BasePainter() {
  if (OutDc) return nullptr;
  if (Dc) return gdi_internal::DCPainter(Dc);
  if (!Image || Image->Image.isNull() || Image->Locked) return nullptr;
  if (!OwnPainter) {
    OwnPainter = std::make_unique<QPainter>();
    if (!OwnPainter->begin(&Image->Image)) {
      OwnPainter.reset();
      return nullptr;
    }
  }
  return OwnPainter.get();
}

QTransform GpGraphics::BaseTransform() {
  if (Dc) {
    // The DC's device origin and its logical origins, as GDI maps (0, 0).
    QPoint o = gdi_internal::DCOrigin(Dc);
    if (HDC__* d = gdi_internal::LookupDC(Dc)) o += d->State.ViewportOrg - d->State.WindowOrg;
    return QTransform::fromTranslate(o.x(), o.y());
  }
  return {};
}

QRectF GpGraphics::Bounds() const {
  if (Dc) {
    QImage* img = gdi_internal::DCImage(Dc);
    if (!img) return {};
    QPoint o = gdi_internal::DCOrigin(Dc);
    return QRectF(img->rect()).translated(-o);
  }
  return Image ? QRectF(Image->Image.rect()) : QRectF();
}

GpGraphics::TPaint::TPaint(GpGraphics* g) : G(g) {
  P = g->BasePainter();
  if (!P) return;
  P->save();
  QTransform base = g->BaseTransform();
  if (g->State.Clip) {
    P->setTransform(base);
    P->setClipPath(*g->State.Clip, Qt::IntersectClip);
  }
  bool aa = g->State.Smoothing == SmoothingModeAntiAlias || g->State.Smoothing == SmoothingModeHighQuality ||
            g->State.Smoothing == SmoothingModeAntiAlias8x8;
  QTransform dev = g->DeviceTransform();
  // GDI+ puts pixel centres on integer coordinates unless told to offset
  // them by half a pixel; Qt's centres sit at +0.5. Only visible with antialiasing.
  bool half = g->State.PixelOffset == PixelOffsetModeHalf || g->State.PixelOffset == PixelOffsetModeHighQuality;
  if (aa && !half) dev *= QTransform::fromTranslate(0.5, 0.5);
  P->setTransform(dev * base);
  P->setRenderHint(QPainter::Antialiasing, aa);
  P->setRenderHint(QPainter::SmoothPixmapTransform, g->State.Interpolation != InterpolationModeNearestNeighbor);
  P->setCompositionMode(g->State.Compositing == CompositingModeSourceCopy ? QPainter::CompositionMode_Source
                                                                          : QPainter::CompositionMode_SourceOver);
}

GpGraphics::TPaint::~TPaint() {
  if (P) P->restore();
  if (G->Image) G->Image->SyncToUser();
}

namespace {

GpGraphics* G(const GpGraphics* g) {
  GpGraphics* x = Get(g, TKind::Graphics);
  return x;
}

// The graphics, refusing a busy one (its DC handed out).
GpStatus Check(GpGraphics*& g, const GpGraphics* handle) {
  g = G(handle);
  if (!g) return InvalidParameter;
  if (g->OutDc) return ObjectBusy;
  return Ok;
}

template <class T>
std::vector<QPointF> Pts(const T* p, INT n) {
  std::vector<QPointF> v;
  v.reserve(std::size_t(n));
  for (INT i = 0; i < n; ++i) v.emplace_back(p[i].X, p[i].Y);
  return v;
}

QPainterPath PolyPath(const std::vector<QPointF>& pts, bool closed) {
  QPainterPath p;
  if (pts.empty()) return p;
  p.moveTo(pts[0]);
  for (std::size_t i = 1; i < pts.size(); ++i) p.lineTo(pts[i]);
  if (closed) p.closeSubpath();
  return p;
}

QPainterPath BezierPath(const std::vector<QPointF>& pts, bool closed) {
  QPainterPath p;
  if (pts.empty()) return p;
  p.moveTo(pts[0]);
  for (std::size_t i = 1; i + 2 < pts.size(); i += 3) p.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
  if (closed) p.closeSubpath();
  return p;
}

Qt::PenCapStyle QtCap(GpLineCap c) {
  switch (c) {
    case LineCapSquare: return Qt::SquareCap;
    case LineCapRound: return Qt::RoundCap;
    default: return Qt::FlatCap;
  }
}

Qt::PenJoinStyle QtJoin(GpLineJoin j) {
  switch (j) {
    case LineJoinBevel: return Qt::BevelJoin;
    case LineJoinRound: return Qt::RoundJoin;
    // Beyond the miter limit a clipped-miter join bevels (the SVG rule) and a
    // plain miter join is cut off at the limit.
    case LineJoinMiterClipped: return Qt::SvgMiterJoin;
    default: return Qt::MiterJoin;
  }
}

bool Anchor(GpLineCap c) { return c >= LineCapNoAnchor || c == LineCapTriangle; }

// The shape of an anchor or custom cap at point p heading along dir (unit).
QPainterPath CapShape(const GpPen* pen, GpLineCap cap, const GpCustomLineCap* custom, QPointF p, QPointF dir,
                      double width) {
  QPainterPath s;
  double w = std::max(width, 1.0);
  QPointF n(-dir.y(), dir.x());
  switch (cap) {
    case LineCapTriangle:
      s.moveTo(p + n * w / 2);
      s.lineTo(p + dir * w / 2);
      s.lineTo(p - n * w / 2);
      s.closeSubpath();
      break;
    case LineCapSquareAnchor:
      s.addPolygon(QPolygonF({p + (n + dir) * w, p + (n - dir) * w, p - (n + dir) * w, p - (n - dir) * w}));
      s.closeSubpath();
      break;
    case LineCapRoundAnchor: s.addEllipse(p, w, w); break;
    case LineCapDiamondAnchor:
      s.addPolygon(QPolygonF({p + dir * w, p + n * w, p - dir * w, p - n * w}));
      s.closeSubpath();
      break;
    case LineCapArrowAnchor:
      s.addPolygon(QPolygonF({p + dir * w, p - dir * w + n * w, p - dir * w - n * w}));
      s.closeSubpath();
      break;
    case LineCapCustom:
      if (custom) {
        // Cap coordinates: y along the line (outwards), x across it, in pen widths.
        double k = w * custom->WidthScale;
        QTransform t(n.x() * k, n.y() * k, dir.x() * k, dir.y() * k, p.x(), p.y());
        if (custom->FillPath) s.addPath(t.map(*custom->FillPath));
        if (custom->StrokePath) {
          QPainterPathStroker st;
          st.setWidth(std::max(1.0, width));
          s.addPath(st.createStroke(t.map(*custom->StrokePath)));
        }
      }
      break;
    default: break;
  }
  (void)pen;
  return s;
}

}  // namespace

namespace gdiplus_internal {

QPainterPath Outline(const GpPen* pen, const QPainterPath& path) {
  double w = pen->Width * UnitToPixels(pen->Unit, 96);
  if (pen->Unit == UnitWorld) w = pen->Width;
  w *= std::sqrt(std::fabs(pen->Transform.determinant()));
  double width = std::max(w, 1e-3);
  auto stroke = [&](double sw) {
    QPainterPathStroker st;
    st.setWidth(sw);
    auto pat = pen->Pattern();
    st.setCapStyle(pat.empty() ? QtCap(pen->StartCap == pen->EndCap ? pen->StartCap : LineCapFlat)
                               : (pen->DashCap == DashCapRound ? Qt::RoundCap : Qt::FlatCap));
    st.setJoinStyle(QtJoin(pen->Join));
    st.setMiterLimit(pen->MiterLimit);
    if (!pat.empty()) {
      QList<qreal> d;
      for (REAL v : pat) d.append(v * width / sw);
      st.setDashPattern(d);
      st.setDashOffset(pen->DashOffset * width / sw);
    }
    return st.createStroke(path);
  };
  QPainterPath out;
  if (pen->Compound.size() >= 2) {
    for (std::size_t i = 0; i + 1 < pen->Compound.size(); i += 2) {
      double a = (pen->Compound[i] - 0.5) * width, b = (pen->Compound[i + 1] - 0.5) * width;
      if (a < 0 && b > 0) {
        out = out.united(stroke(2 * std::max(-a, b)));
      } else {
        double lo = std::min(std::fabs(a), std::fabs(b)), hi = std::max(std::fabs(a), std::fabs(b));
        QPainterPath band = stroke(2 * hi);
        if (lo > 0) band = band.subtracted(stroke(2 * lo));
        out = out.united(band);
      }
    }
  } else if (pen->Alignment == PenAlignmentInset) {
    QPainterPath fill = path;
    out = stroke(2 * width).intersected(fill);
  } else {
    out = stroke(width);
  }
  out.setFillRule(Qt::WindingFill);
  // Anchors and custom caps at the ends of each open figure.
  if (Anchor(pen->StartCap) || Anchor(pen->EndCap)) {
    for (const QPolygonF& poly : path.toSubpathPolygons()) {
      if (poly.size() < 2 || poly.isClosed()) continue;
      auto dirOf = [](QPointF a, QPointF b) {
        QPointF d = b - a;
        double l = std::hypot(d.x(), d.y());
        return l > 0 ? d / l : QPointF(1, 0);
      };
      if (Anchor(pen->StartCap))
        out.addPath(CapShape(pen, pen->StartCap, pen->CustomStart.get(), poly.first(), dirOf(poly[1], poly[0]), width));
      if (Anchor(pen->EndCap))
        out.addPath(CapShape(pen, pen->EndCap, pen->CustomEnd.get(), poly.last(), dirOf(poly[poly.size() - 2], poly.last()),
                             width));
    }
  }
  return out;
}

namespace {
// Whether the path is one axis-aligned rectangle (as GdipFillRectangle makes).
bool LoneRect(const QPainterPath& path, QRectF& rect) {
  if (path.elementCount() != 5) return false;
  rect = path.boundingRect();
  for (int i = 0; i < 5; ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    if ((i == 0) != e.isMoveTo() || (e.x != rect.left() && e.x != rect.right()) || (e.y != rect.top() && e.y != rect.bottom()))
      return false;
    if (i > 0) {
      const QPainterPath::Element prev = path.elementAt(i - 1);
      if ((e.x != prev.x) == (e.y != prev.y)) return false;  // one coordinate changes along each side
    }
  }
  return true;
}
}  // namespace

GpStatus FillQtPath(GpGraphics* g, const GpBrush* brush, const QPainterPath& path) {
  GpGraphics::TPaint p(g);
  if (!p) return g->OutDc ? ObjectBusy : GenericError;
  QPainter* q = p.get();
  if (brush->Type == BrushTypePathGradient) {
    QTransform full = brush->Transform * q->transform();
    QRectF devBounds = q->transform().map(path).boundingRect().intersected(
        QRectF(0, 0, q->device()->width(), q->device()->height()));
    QRect area = devBounds.toAlignedRect();
    if (area.isEmpty() || brush->Boundary.size() < 2) return Ok;
    QImage tile(area.size(), QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    const std::size_t n = brush->Boundary.size();
    const std::size_t orig = std::max<std::size_t>(1, brush->SourcePath.Points.size());
    auto surround = [&](std::size_t k) {
      if (brush->Surround.size() == 1) return brush->Surround[0];
      std::size_t idx = std::min(orig - 1, std::size_t(std::lround(double(k) * orig / n)) % orig);
      return brush->Surround[std::min(idx, brush->Surround.size() - 1)];
    };
    QPointF c = full.map(brush->Center);
    double focus = std::clamp((brush->FocusX + brush->FocusY) / 2.0, 0.0, 0.999);
    for (std::size_t i = 0; i < n; ++i) {
      QPointF a = full.map(brush->Boundary[i]), b = full.map(brush->Boundary[(i + 1) % n]);
      ARGB ca = surround(i), cb = surround((i + 1) % n);
      double det = (a.y() - b.y()) * (c.x() - b.x()) + (b.x() - a.x()) * (c.y() - b.y());
      if (std::fabs(det) < 1e-12) continue;
      QRectF tri = QPolygonF({a, b, c}).boundingRect().intersected(QRectF(area));
      int x0 = int(std::floor(tri.left())), x1 = int(std::ceil(tri.right()));
      int y0 = int(std::floor(tri.top())), y1 = int(std::ceil(tri.bottom()));
      for (int y = y0; y < y1; ++y) {
        if (y < area.top() || y > area.bottom()) continue;
        QRgb* row = reinterpret_cast<QRgb*>(tile.scanLine(y - area.top()));
        for (int x = x0; x < x1; ++x) {
          if (x < area.left() || x > area.right()) continue;
          double px = x + 0.5, py = y + 0.5;
          // Barycentric weights of a, b and the centre.
          double wa = ((b.y() - c.y()) * (px - c.x()) + (c.x() - b.x()) * (py - c.y())) / ((b.y() - c.y()) * (a.x() - c.x()) + (c.x() - b.x()) * (a.y() - c.y()));
          double wb = ((c.y() - a.y()) * (px - c.x()) + (a.x() - c.x()) * (py - c.y())) / ((b.y() - c.y()) * (a.x() - c.x()) + (c.x() - b.x()) * (a.y() - c.y()));
          double wc = 1 - wa - wb;
          const double eps = -1e-6;
          if (wa < eps || wb < eps || wc < eps) continue;
          double t = 1 - wc;  // 0 at the centre, 1 on the boundary
          double s = wa + wb > 0 ? wb / (wa + wb) : 0;
          ARGB edge = brush->Ramp(REAL(s), ca, cb);
          // Blend positions run from the boundary (0) to the centre (1).
          double tt = focus > 0 ? std::max(0.0, (t - focus) / (1 - focus)) : t;
          ARGB col = brush->Ramp(REAL(1 - tt), edge, brush->CenterColor);
          row[x - area.left()] = qPremultiply(QRgb(col));
        }
      }
    }
    q->setClipPath(path, Qt::IntersectClip);
    q->setWorldTransform(QTransform());
    q->drawImage(area.topLeft(), tile);
    return Ok;
  }
  if (brush->Type == BrushTypeTextureFill && brush->Wrap == WrapModeClamp) {
    q->setClipPath(path, Qt::IntersectClip);
    q->setWorldTransform(brush->Transform, true);
    q->drawImage(QPointF(0, 0), brush->Texture);
    return Ok;
  }
  QBrush qb;
  if (brush->Type == BrushTypeHatchFill) {
    // Hatches are anchored to the device grid at the rendering origin.
    qb = QBrush(HatchImage(brush->Hatch, brush->Fore, brush->Back));
    QTransform base = g->BaseTransform();
    qb.setTransform(QTransform::fromTranslate(g->State.Origin.x(), g->State.Origin.y()) * base * q->transform().inverted());
  } else {
    qb = ToQBrush(brush, g->State.Origin);
  }
  // A lone rectangle takes the painter's rectangle fill: the same pixels,
  // without the path rasteriser (which costs most with gradient brushes).
  if (QRectF rect; LoneRect(path, rect)) q->fillRect(rect, qb);
  else q->fillPath(path, qb);
  return Ok;
}

GpStatus StrokeQtPath(GpGraphics* g, const GpPen* pen, const QPainterPath& path) {
  bool simple = pen->Compound.empty() && pen->Alignment == PenAlignmentCenter && !Anchor(pen->StartCap) &&
                !Anchor(pen->EndCap) && pen->StartCap == pen->EndCap && pen->Brush->Type != BrushTypePathGradient &&
                pen->Transform.isIdentity() && pen->Unit == UnitWorld;
  if (!simple) return FillQtPath(g, pen->Brush.get(), Outline(pen, path));
  GpGraphics::TPaint p(g);
  if (!p) return g->OutDc ? ObjectBusy : GenericError;
  QPainter* q = p.get();
  QPen qp;
  if (pen->Brush->Type == BrushTypeSolidColor) qp.setColor(ToQColor(pen->Brush->Color));
  else qp.setBrush(ToQBrush(pen->Brush.get(), g->State.Origin));
  // GDI+ never draws a line thinner than one device pixel.
  QTransform t = q->transform();
  double scale = std::sqrt(std::fabs(t.determinant()));
  if (pen->Width == 0 || pen->Width * scale < 1.0) {
    qp.setWidthF(0);
    qp.setCosmetic(true);
  } else {
    qp.setWidthF(pen->Width);
  }
  auto pat = pen->Pattern();
  qp.setCapStyle(pat.empty() ? QtCap(pen->StartCap) : (pen->DashCap == DashCapRound ? Qt::RoundCap : Qt::FlatCap));
  qp.setJoinStyle(QtJoin(pen->Join));
  qp.setMiterLimit(pen->MiterLimit);
  if (!pat.empty()) {
    QList<qreal> d(pat.begin(), pat.end());
    qp.setDashPattern(d);
    qp.setDashOffset(pen->DashOffset);
  }
  q->strokePath(path, qp);
  return Ok;
}

GpStatus DrawImageMapped(GpGraphics* g, const QImage& src, const QRectF& srcRect, const QPointF dst[3],
                         const GpImageAttributes* attrs) {
  if (srcRect.width() == 0 || srcRect.height() == 0) return Ok;
  GpGraphics::TPaint p(g);
  if (!p) return g->OutDc ? ObjectBusy : GenericError;
  QRect sr = srcRect.toAlignedRect().intersected(src.rect());
  if (sr.isEmpty()) return Ok;
  QImage part = src.copy(sr);
  if (attrs) part = attrs->Apply(part, ColorAdjustTypeBitmap);
  // Source rectangle -> unit square -> destination parallelogram.
  QTransform toUnit = QTransform::fromTranslate(-srcRect.x(), -srcRect.y()) *
                      QTransform::fromScale(1.0 / srcRect.width(), 1.0 / srcRect.height());
  QTransform plg(dst[1].x() - dst[0].x(), dst[1].y() - dst[0].y(), dst[2].x() - dst[0].x(), dst[2].y() - dst[0].y(),
                 dst[0].x(), dst[0].y());
  p->setWorldTransform(toUnit * plg, true);
  p->drawImage(QRectF(sr), part);
  return Ok;
}

void CombineInto(GpRegion& r, const QPainterPath& b, GpCombineMode mode);

}  // namespace gdiplus_internal

// ---- Creation -------------------------------------------------------------

GpStatus GdipCreateFromHDC(HDC hdc, GpGraphics** graphics) {
  if (!graphics || !hdc) return OutOfMemory;  // GDI+'s answer for a null DC
  if (!Running()) return GdiplusNotInitialized;
  if (!gdi_internal::LookupDC(hdc) || !gdi_internal::DCImage(hdc)) return OutOfMemory;
  auto g = std::make_unique<GpGraphics>();
  g->Dc = hdc;
  return Hand(std::move(g), graphics);
}

GpStatus GdipCreateFromHDC2(HDC hdc, HANDLE, GpGraphics** graphics) { return GdipCreateFromHDC(hdc, graphics); }

GpStatus GdipCreateFromHWND(HWND hwnd, GpGraphics** graphics) {
  if (!graphics || !hwnd) return InvalidParameter;
  // A window's surface is reached through its DC (GetDC) at this layer.
  return Win32Error;
}

GpStatus GdipCreateFromHWNDICM(HWND hwnd, GpGraphics** graphics) { return GdipCreateFromHWND(hwnd, graphics); }

GpStatus GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics) {
  GpImage* img = Get(image, TKind::Image);
  if (!img || !graphics) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  if (img->Format & PixelFormatIndexed) return OutOfMemory;  // GDI+ cannot draw on indexed bitmaps
  if (img->Locked) return ObjectBusy;
  auto g = std::make_unique<GpGraphics>();
  g->Image = img;
  img->Users.push_back(g.get());
  return Hand(std::move(g), graphics);
}

GpStatus GdipDeleteGraphics(GpGraphics* graphics) { return Delete(graphics, TKind::Graphics); }

GpStatus GdipFlush(GpGraphics* graphics, GpFlushIntention) {
  GpGraphics* g = G(graphics);
  if (!g) return InvalidParameter;
  if (g->Image) g->Image->SyncToUser();
  return Ok;
}

GpStatus GdipGetDC(GpGraphics* graphics, HDC* hdc) {
  GpGraphics* g;
  if (GpStatus s = Check(g, graphics); s != Ok) return s;
  if (!hdc) return InvalidParameter;
  if (g->Dc) {
    g->OutDc = nullptr;
    *hdc = g->Dc;
    return Ok;
  }
  if (g->OwnPainter) {
    g->OwnPainter->end();
    g->OwnPainter.reset();
  }
  g->OutDc = gdi_internal::CreateDCOverImage(&g->Image->Image);
  if (!g->OutDc) return OutOfMemory;
  *hdc = g->OutDc;
  return Ok;
}

GpStatus GdipReleaseDC(GpGraphics* graphics, HDC hdc) {
  GpGraphics* g = G(graphics);
  if (!g || !hdc) return InvalidParameter;
  if (g->Dc) return hdc == g->Dc ? Ok : InvalidParameter;
  if (hdc != g->OutDc) return InvalidParameter;
  DeleteDC(g->OutDc);
  g->OutDc = nullptr;
  if (g->Image) g->Image->SyncToUser();
  return Ok;
}

// ---- Modes ----------------------------------------------------------------

namespace {
template <class F>
GpStatus Mode(GpGraphics* graphics, F f) {
  GpGraphics* g;
  if (GpStatus s = Check(g, graphics); s != Ok) return s;
  return f(g);
}
}  // namespace

GpStatus GdipSetCompositingMode(GpGraphics* graphics, GpCompositingMode m) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (m != CompositingModeSourceOver && m != CompositingModeSourceCopy) return InvalidParameter;
    g->State.Compositing = m;
    return Ok;
  });
}
GpStatus GdipGetCompositingMode(GpGraphics* graphics, GpCompositingMode* m) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!m) return InvalidParameter;
    *m = g->State.Compositing;
    return Ok;
  });
}
GpStatus GdipSetRenderingOrigin(GpGraphics* graphics, INT x, INT y) {
  return Mode(graphics, [&](GpGraphics* g) {
    g->State.Origin = QPoint(x, y);
    return Ok;
  });
}
GpStatus GdipGetRenderingOrigin(GpGraphics* graphics, INT* x, INT* y) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!x || !y) return InvalidParameter;
    *x = g->State.Origin.x();
    *y = g->State.Origin.y();
    return Ok;
  });
}
GpStatus GdipSetCompositingQuality(GpGraphics* graphics, GpCompositingQuality q) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (q < CompositingQualityDefault || q > CompositingQualityAssumeLinear) return InvalidParameter;
    g->State.CompositingQuality = q;
    return Ok;
  });
}
GpStatus GdipGetCompositingQuality(GpGraphics* graphics, GpCompositingQuality* q) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!q) return InvalidParameter;
    *q = g->State.CompositingQuality;
    return Ok;
  });
}
GpStatus GdipSetSmoothingMode(GpGraphics* graphics, GpSmoothingMode m) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (m < SmoothingModeDefault || m > SmoothingModeAntiAlias8x8) return InvalidParameter;
    g->State.SmoothingAsSet = m;
    // Default and high speed draw aliased; high quality antialiases.
    g->State.Smoothing = (m == SmoothingModeDefault || m == SmoothingModeHighSpeed) ? SmoothingModeNone : m;
    return Ok;
  });
}
GpStatus GdipGetSmoothingMode(GpGraphics* graphics, GpSmoothingMode* m) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!m) return InvalidParameter;
    *m = g->State.SmoothingAsSet == SmoothingModeDefault ? SmoothingModeNone : g->State.SmoothingAsSet;
    return Ok;
  });
}
GpStatus GdipSetPixelOffsetMode(GpGraphics* graphics, GpPixelOffsetMode m) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (m < PixelOffsetModeDefault || m > PixelOffsetModeHalf) return InvalidParameter;
    g->State.PixelOffset = m;
    return Ok;
  });
}
GpStatus GdipGetPixelOffsetMode(GpGraphics* graphics, GpPixelOffsetMode* m) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!m) return InvalidParameter;
    *m = g->State.PixelOffset;
    return Ok;
  });
}
GpStatus GdipSetTextRenderingHint(GpGraphics* graphics, GpTextRenderingHint m) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (m < TextRenderingHintSystemDefault || m > TextRenderingHintClearTypeGridFit) return InvalidParameter;
    g->State.TextHint = m;
    return Ok;
  });
}
GpStatus GdipGetTextRenderingHint(GpGraphics* graphics, GpTextRenderingHint* m) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!m) return InvalidParameter;
    *m = g->State.TextHint;
    return Ok;
  });
}
GpStatus GdipSetTextContrast(GpGraphics* graphics, UINT contrast) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (contrast > 12) return InvalidParameter;
    g->State.TextContrast = contrast;
    return Ok;
  });
}
GpStatus GdipGetTextContrast(GpGraphics* graphics, UINT* contrast) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!contrast) return InvalidParameter;
    *contrast = g->State.TextContrast;
    return Ok;
  });
}
GpStatus GdipSetInterpolationMode(GpGraphics* graphics, GpInterpolationMode m) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (m < InterpolationModeDefault || m > InterpolationModeHighQualityBicubic) return InvalidParameter;
    g->State.Interpolation = m == InterpolationModeDefault || m == InterpolationModeLowQuality
                                 ? InterpolationModeBilinear
                                 : m == InterpolationModeHighQuality ? InterpolationModeHighQualityBicubic : m;
    return Ok;
  });
}
GpStatus GdipGetInterpolationMode(GpGraphics* graphics, GpInterpolationMode* m) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!m) return InvalidParameter;
    *m = g->State.Interpolation;
    return Ok;
  });
}

// ---- Transforms -----------------------------------------------------------

GpStatus GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!Alive(matrix, TKind::Matrix)) return InvalidParameter;
    g->State.World = matrix->M;
    return Ok;
  });
}
GpStatus GdipResetWorldTransform(GpGraphics* graphics) {
  return Mode(graphics, [&](GpGraphics* g) {
    g->State.World.reset();
    return Ok;
  });
}
GpStatus GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix, GpMatrixOrder order) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!Alive(matrix, TKind::Matrix) || !ValidMatrixOrder(order)) return InvalidParameter;
    Combine(g->State.World, matrix->M, order);
    return Ok;
  });
}
GpStatus GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, GpMatrixOrder order) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!ValidMatrixOrder(order)) return InvalidParameter;
    Combine(g->State.World, QTransform::fromTranslate(dx, dy), order);
    return Ok;
  });
}
GpStatus GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, GpMatrixOrder order) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!ValidMatrixOrder(order)) return InvalidParameter;
    Combine(g->State.World, QTransform::fromScale(sx, sy), order);
    return Ok;
  });
}
GpStatus GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, GpMatrixOrder order) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!ValidMatrixOrder(order)) return InvalidParameter;
    Combine(g->State.World, RotationTransform(angle), order);
    return Ok;
  });
}
GpStatus GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!Alive(matrix, TKind::Matrix)) return InvalidParameter;
    matrix->M = g->State.World;
    return Ok;
  });
}
GpStatus GdipResetPageTransform(GpGraphics* graphics) {
  return Mode(graphics, [&](GpGraphics* g) {
    g->State.PageUnit = UnitDisplay;
    g->State.PageScale = 1;
    return Ok;
  });
}
GpStatus GdipGetPageUnit(GpGraphics* graphics, GpUnit* unit) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!unit) return InvalidParameter;
    *unit = g->State.PageUnit;
    return Ok;
  });
}
GpStatus GdipGetPageScale(GpGraphics* graphics, REAL* scale) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!scale) return InvalidParameter;
    *scale = g->State.PageScale;
    return Ok;
  });
}
GpStatus GdipSetPageUnit(GpGraphics* graphics, GpUnit unit) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (unit <= UnitWorld || unit > UnitMillimeter) return InvalidParameter;
    g->State.PageUnit = unit;
    return Ok;
  });
}
GpStatus GdipSetPageScale(GpGraphics* graphics, REAL scale) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!(scale > 0) || scale > 1e9f) return InvalidParameter;
    g->State.PageScale = scale;
    return Ok;
  });
}
GpStatus GdipGetDpiX(GpGraphics* graphics, REAL* dpi) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!dpi) return InvalidParameter;
    *dpi = g->Image ? g->Image->DpiX : 96.0f;
    return Ok;
  });
}
GpStatus GdipGetDpiY(GpGraphics* graphics, REAL* dpi) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!dpi) return InvalidParameter;
    *dpi = g->Image ? g->Image->DpiY : 96.0f;
    return Ok;
  });
}

static QTransform SpaceTransform(GpGraphics* g, GpCoordinateSpace from, GpCoordinateSpace to, bool* ok) {
  // World -> page -> device.
  auto toDevice = [&](GpCoordinateSpace s) {
    if (s == CoordinateSpaceWorld) return g->DeviceTransform();
    if (s == CoordinateSpacePage) return g->PageTransform();
    return QTransform();
  };
  QTransform inv = toDevice(to).inverted(ok);
  return toDevice(from) * inv;
}

GpStatus GdipTransformPoints(GpGraphics* graphics, GpCoordinateSpace destSpace, GpCoordinateSpace srcSpace,
                             GpPointF* points, INT count) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!points || count <= 0 || destSpace < 0 || destSpace > 2 || srcSpace < 0 || srcSpace > 2) return InvalidParameter;
    bool ok = true;
    QTransform t = SpaceTransform(g, srcSpace, destSpace, &ok);
    if (!ok) return InvalidParameter;
    for (INT i = 0; i < count; ++i) {
      QPointF q = t.map(QPointF(points[i].X, points[i].Y));
      points[i] = {REAL(q.x()), REAL(q.y())};
    }
    return Ok;
  });
}
GpStatus GdipTransformPointsI(GpGraphics* graphics, GpCoordinateSpace destSpace, GpCoordinateSpace srcSpace,
                              GpPoint* points, INT count) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!points || count <= 0 || destSpace < 0 || destSpace > 2 || srcSpace < 0 || srcSpace > 2) return InvalidParameter;
    bool ok = true;
    QTransform t = SpaceTransform(g, srcSpace, destSpace, &ok);
    if (!ok) return InvalidParameter;
    for (INT i = 0; i < count; ++i) {
      QPointF q = t.map(QPointF(points[i].X, points[i].Y));
      points[i] = {INT(std::lround(q.x())), INT(std::lround(q.y()))};
    }
    return Ok;
  });
}
GpStatus GdipGetNearestColor(GpGraphics* graphics, ARGB* argb) {
  return Mode(graphics, [&](GpGraphics*) { return argb ? Ok : InvalidParameter; });
}

GpStatus GdipGraphicsClear(GpGraphics* graphics, ARGB color) {
  GpGraphics* g;
  if (GpStatus s = Check(g, graphics); s != Ok) return s;
  GpGraphics::TPaint p(g);
  if (!p) return GenericError;
  // Clear replaces the pixels inside the clip, transform aside.
  p->setCompositionMode(QPainter::CompositionMode_Source);
  p->setWorldTransform(g->BaseTransform());
  p->fillRect(g->Bounds(), ToQColor(color));
  return Ok;
}

// ---- Drawing --------------------------------------------------------------

namespace {

GpStatus Stroke(GpGraphics* graphics, GpPen* pen, const QPainterPath& path) {
  GpGraphics* g;
  if (GpStatus s = Check(g, graphics); s != Ok) return s;
  GpPen* p = Get(pen, TKind::Pen);
  if (!p) return InvalidParameter;
  return StrokeQtPath(g, p, path);
}

GpStatus Fill(GpGraphics* graphics, GpBrush* brush, const QPainterPath& path) {
  GpGraphics* g;
  if (GpStatus s = Check(g, graphics); s != Ok) return s;
  GpBrush* b = Get(brush, TKind::Brush);
  if (!b) return InvalidParameter;
  return FillQtPath(g, b, path);
}

QPainterPath ArcPath(REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep) {
  return BezierPath(ArcPoints(x, y, w, h, start, sweep), false);
}

QPainterPath PiePath(REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep) {
  auto arc = ArcPoints(x, y, w, h, start, sweep);
  QPainterPath p;
  p.moveTo(x + w / 2.0, y + h / 2.0);
  p.lineTo(arc[0]);
  for (std::size_t i = 1; i + 2 < arc.size(); i += 3) p.cubicTo(arc[i], arc[i + 1], arc[i + 2]);
  p.closeSubpath();
  return p;
}

QPainterPath EllipsePath(REAL x, REAL y, REAL w, REAL h) { return BezierPath(ArcPoints(x, y, w, h, 0, 360), true); }

bool Ok2(const void* pts, INT count, INT min) { return pts && count >= min && count <= (1 << 24); }

template <class T>
GpStatus DrawCurveT(GpGraphics* g, GpPen* pen, const T* points, INT count, INT offset, INT segments, REAL tension) {
  if (!Ok2(points, count, 2) || offset < 0 || segments < 1 || offset + segments > count - 1) return InvalidParameter;
  auto all = CurvePoints(Pts(points, count), tension, false);
  std::vector<QPointF> part(all.begin() + offset * 3, all.begin() + (offset + segments) * 3 + 1);
  return Stroke(g, pen, BezierPath(part, false));
}

template <class T>
GpStatus DrawClosedCurveT(GpGraphics* g, GpPen* pen, const T* points, INT count, REAL tension) {
  if (!Ok2(points, count, 3)) return InvalidParameter;
  return Stroke(g, pen, BezierPath(CurvePoints(Pts(points, count), tension, true), true));
}

template <class T>
GpStatus FillClosedCurveT(GpGraphics* g, GpBrush* brush, const T* points, INT count, REAL tension, GpFillMode mode) {
  if (!Ok2(points, count, 3) || (mode != FillModeAlternate && mode != FillModeWinding)) return InvalidParameter;
  QPainterPath p = BezierPath(CurvePoints(Pts(points, count), tension, true), true);
  p.setFillRule(mode == FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill);
  return Fill(g, brush, p);
}

template <class T>
GpStatus FillPolygonT(GpGraphics* g, GpBrush* brush, const T* points, INT count, GpFillMode mode) {
  if (!Ok2(points, count, 1) || (mode != FillModeAlternate && mode != FillModeWinding)) return InvalidParameter;
  QPainterPath p = PolyPath(Pts(points, count), true);
  p.setFillRule(mode == FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill);
  return Fill(g, brush, p);
}

template <class R>
QPainterPath RectsPath(const R* rects, INT count) {
  QPainterPath p;
  for (INT i = 0; i < count; ++i) p.addRect(QRectF(rects[i].X, rects[i].Y, rects[i].Width, rects[i].Height));
  return p;
}

}  // namespace

GpStatus GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
  QPainterPath p;
  p.moveTo(x1, y1);
  p.lineTo(x2, y2);
  return Stroke(graphics, pen, p);
}
GpStatus GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2) {
  return GdipDrawLine(graphics, pen, REAL(x1), REAL(y1), REAL(x2), REAL(y2));
}
GpStatus GdipDrawLines(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
  if (!Ok2(points, count, 2)) return InvalidParameter;
  return Stroke(graphics, pen, PolyPath(Pts(points, count), false));
}
GpStatus GdipDrawLinesI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count) {
  if (!Ok2(points, count, 2)) return InvalidParameter;
  return Stroke(graphics, pen, PolyPath(Pts(points, count), false));
}
GpStatus GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                     REAL sweepAngle) {
  if (width <= 0 || height <= 0) return InvalidParameter;
  return Stroke(graphics, pen, ArcPath(x, y, width, height, startAngle, sweepAngle));
}
GpStatus GdipDrawArcI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height, REAL startAngle,
                      REAL sweepAngle) {
  return GdipDrawArc(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height), startAngle, sweepAngle);
}
GpStatus GdipDrawBezier(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3,
                        REAL x4, REAL y4) {
  return Stroke(graphics, pen, BezierPath({{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}}, false));
}
GpStatus GdipDrawBezierI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4,
                         INT y4) {
  return GdipDrawBezier(graphics, pen, REAL(x1), REAL(y1), REAL(x2), REAL(y2), REAL(x3), REAL(y3), REAL(x4), REAL(y4));
}
GpStatus GdipDrawBeziers(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
  if (!Ok2(points, count, 4) || (count - 1) % 3) return InvalidParameter;
  return Stroke(graphics, pen, BezierPath(Pts(points, count), false));
}
GpStatus GdipDrawBeziersI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count) {
  if (!Ok2(points, count, 4) || (count - 1) % 3) return InvalidParameter;
  return Stroke(graphics, pen, BezierPath(Pts(points, count), false));
}
GpStatus GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
  QPainterPath p;
  p.addRect(QRectF(x, y, width, height));
  return Stroke(graphics, pen, p);
}
GpStatus GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height) {
  return GdipDrawRectangle(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height));
}
GpStatus GdipDrawRectangles(GpGraphics* graphics, GpPen* pen, const GpRectF* rects, INT count) {
  if (!Ok2(rects, count, 1)) return InvalidParameter;
  return Stroke(graphics, pen, RectsPath(rects, count));
}
GpStatus GdipDrawRectanglesI(GpGraphics* graphics, GpPen* pen, const GpRect* rects, INT count) {
  if (!Ok2(rects, count, 1)) return InvalidParameter;
  return Stroke(graphics, pen, RectsPath(rects, count));
}
GpStatus GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
  return Stroke(graphics, pen, EllipsePath(x, y, width, height));
}
GpStatus GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height) {
  return GdipDrawEllipse(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height));
}
GpStatus GdipDrawPie(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                     REAL sweepAngle) {
  if (width <= 0 || height <= 0) return InvalidParameter;
  return Stroke(graphics, pen, PiePath(x, y, width, height, startAngle, sweepAngle));
}
GpStatus GdipDrawPieI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height, REAL startAngle,
                      REAL sweepAngle) {
  return GdipDrawPie(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height), startAngle, sweepAngle);
}
GpStatus GdipDrawPolygon(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
  if (!Ok2(points, count, 2)) return InvalidParameter;
  return Stroke(graphics, pen, PolyPath(Pts(points, count), true));
}
GpStatus GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count) {
  if (!Ok2(points, count, 2)) return InvalidParameter;
  return Stroke(graphics, pen, PolyPath(Pts(points, count), true));
}
GpStatus GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path) {
  GpPath* p = Get(path, TKind::Path);
  if (!p) return InvalidParameter;
  return Stroke(graphics, pen, p->ToQt());
}
GpStatus GdipDrawCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
  return DrawCurveT(graphics, pen, points, count, 0, count - 1, 0.5f);
}
GpStatus GdipDrawCurveI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count) {
  return DrawCurveT(graphics, pen, points, count, 0, count - 1, 0.5f);
}
GpStatus GdipDrawCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count, REAL tension) {
  return DrawCurveT(graphics, pen, points, count, 0, count - 1, tension);
}
GpStatus GdipDrawCurve2I(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count, REAL tension) {
  return DrawCurveT(graphics, pen, points, count, 0, count - 1, tension);
}
GpStatus GdipDrawCurve3(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count, INT offset,
                        INT numberOfSegments, REAL tension) {
  return DrawCurveT(graphics, pen, points, count, offset, numberOfSegments, tension);
}
GpStatus GdipDrawCurve3I(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count, INT offset,
                         INT numberOfSegments, REAL tension) {
  return DrawCurveT(graphics, pen, points, count, offset, numberOfSegments, tension);
}
GpStatus GdipDrawClosedCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
  return DrawClosedCurveT(graphics, pen, points, count, 0.5f);
}
GpStatus GdipDrawClosedCurveI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count) {
  return DrawClosedCurveT(graphics, pen, points, count, 0.5f);
}
GpStatus GdipDrawClosedCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count, REAL tension) {
  return DrawClosedCurveT(graphics, pen, points, count, tension);
}
GpStatus GdipDrawClosedCurve2I(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count, REAL tension) {
  return DrawClosedCurveT(graphics, pen, points, count, tension);
}

GpStatus GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height) {
  QPainterPath p;
  if (width > 0 && height > 0) p.addRect(QRectF(x, y, width, height));
  return Fill(graphics, brush, p);
}
GpStatus GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height) {
  return GdipFillRectangle(graphics, brush, REAL(x), REAL(y), REAL(width), REAL(height));
}
GpStatus GdipFillRectangles(GpGraphics* graphics, GpBrush* brush, const GpRectF* rects, INT count) {
  if (!Ok2(rects, count, 1)) return InvalidParameter;
  QPainterPath p = RectsPath(rects, count);
  p.setFillRule(Qt::WindingFill);
  return Fill(graphics, brush, p);
}
GpStatus GdipFillRectanglesI(GpGraphics* graphics, GpBrush* brush, const GpRect* rects, INT count) {
  if (!Ok2(rects, count, 1)) return InvalidParameter;
  QPainterPath p = RectsPath(rects, count);
  p.setFillRule(Qt::WindingFill);
  return Fill(graphics, brush, p);
}
GpStatus GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count, GpFillMode fillMode) {
  return FillPolygonT(graphics, brush, points, count, fillMode);
}
GpStatus GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count, GpFillMode fillMode) {
  return FillPolygonT(graphics, brush, points, count, fillMode);
}
GpStatus GdipFillPolygon2(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count) {
  return FillPolygonT(graphics, brush, points, count, FillModeAlternate);
}
GpStatus GdipFillPolygon2I(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count) {
  return FillPolygonT(graphics, brush, points, count, FillModeAlternate);
}
GpStatus GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height) {
  return Fill(graphics, brush, EllipsePath(x, y, width, height));
}
GpStatus GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height) {
  return GdipFillEllipse(graphics, brush, REAL(x), REAL(y), REAL(width), REAL(height));
}
GpStatus GdipFillPie(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                     REAL sweepAngle) {
  if (width <= 0 || height <= 0) return InvalidParameter;
  return Fill(graphics, brush, PiePath(x, y, width, height, startAngle, sweepAngle));
}
GpStatus GdipFillPieI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height, REAL startAngle,
                      REAL sweepAngle) {
  return GdipFillPie(graphics, brush, REAL(x), REAL(y), REAL(width), REAL(height), startAngle, sweepAngle);
}
GpStatus GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path) {
  GpPath* p = Get(path, TKind::Path);
  if (!p) return InvalidParameter;
  return Fill(graphics, brush, p->ToQt());
}
GpStatus GdipFillClosedCurve(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count) {
  return FillClosedCurveT(graphics, brush, points, count, 0.5f, FillModeAlternate);
}
GpStatus GdipFillClosedCurveI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count) {
  return FillClosedCurveT(graphics, brush, points, count, 0.5f, FillModeAlternate);
}
GpStatus GdipFillClosedCurve2(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count, REAL tension,
                              GpFillMode fillMode) {
  return FillClosedCurveT(graphics, brush, points, count, tension, fillMode);
}
GpStatus GdipFillClosedCurve2I(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count, REAL tension,
                               GpFillMode fillMode) {
  return FillClosedCurveT(graphics, brush, points, count, tension, fillMode);
}
GpStatus GdipFillRegion(GpGraphics* graphics, GpBrush* brush, GpRegion* region) {
  GpRegion* r = Get(region, TKind::Region);
  if (!r) return InvalidParameter;
  if (r->State == GpRegion::Empty) return Alive(graphics, TKind::Graphics) ? Ok : InvalidParameter;
  return Fill(graphics, brush, r->AsPath());
}

// ---- Images ---------------------------------------------------------------

namespace {

GpStatus DrawImageParallelogram(GpGraphics* graphics, GpImage* image, const QPointF dst[3], QRectF src, GpUnit srcUnit,
                                const GpImageAttributes* attrs) {
  GpGraphics* g;
  if (GpStatus s = Check(g, graphics); s != Ok) return s;
  GpImage* img = Get(image, TKind::Image);
  if (!img || (attrs && !Alive(attrs, TKind::ImageAttributes))) return InvalidParameter;
  if (srcUnit != UnitPixel && srcUnit != UnitWorld) {
    if (srcUnit < UnitWorld || srcUnit > UnitMillimeter) return InvalidParameter;
    REAL k = UnitToPixels(srcUnit, img->DpiX);
    src = QRectF(src.x() * k, src.y() * k, src.width() * k, src.height() * k);
  }
  if (img->Locked) return WrongState;
  return DrawImageMapped(g, img->Image, src, dst, attrs);
}

GpStatus DrawImageRectImpl(GpGraphics* graphics, GpImage* image, QRectF dst, QRectF src, GpUnit unit,
                           const GpImageAttributes* attrs) {
  QPointF d[3] = {dst.topLeft(), dst.topRight(), dst.bottomLeft()};
  return DrawImageParallelogram(graphics, image, d, src, unit, attrs);
}

QSizeF NaturalSize(const GpImage* img) {
  return QSizeF(img->Image.width() * 96.0 / img->DpiX, img->Image.height() * 96.0 / img->DpiY);
}

template <class P>
GpStatus DrawPointsT(GpGraphics* graphics, GpImage* image, const P* points, INT count, QRectF src, GpUnit unit,
                     const GpImageAttributes* attrs) {
  if (!points || (count != 3 && count != 4)) return InvalidParameter;
  GpImage* img = Get(image, TKind::Image);
  if (!img) return InvalidParameter;
  if (src.isNull()) src = QRectF(img->Image.rect());
  QPointF d[3] = {{REAL(points[0].X), REAL(points[0].Y)}, {REAL(points[1].X), REAL(points[1].Y)},
                  {REAL(points[2].X), REAL(points[2].Y)}};
  if (count == 4) return NotImplemented;  // GDI+ refuses the fourth point as well
  return DrawImageParallelogram(graphics, image, d, src, unit, attrs);
}

}  // namespace

GpStatus GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y) {
  GpImage* img = Get(image, TKind::Image);
  if (!img) return InvalidParameter;
  QSizeF s = NaturalSize(img);
  return DrawImageRectImpl(graphics, image, QRectF(QPointF(x, y), s), QRectF(img->Image.rect()), UnitPixel, nullptr);
}
GpStatus GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y) {
  return GdipDrawImage(graphics, image, REAL(x), REAL(y));
}
GpStatus GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height) {
  GpImage* img = Get(image, TKind::Image);
  if (!img) return InvalidParameter;
  return DrawImageRectImpl(graphics, image, QRectF(x, y, width, height), QRectF(img->Image.rect()), UnitPixel, nullptr);
}
GpStatus GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height) {
  return GdipDrawImageRect(graphics, image, REAL(x), REAL(y), REAL(width), REAL(height));
}
GpStatus GdipDrawImagePoints(GpGraphics* graphics, GpImage* image, const GpPointF* dstpoints, INT count) {
  return DrawPointsT(graphics, image, dstpoints, count, QRectF(), UnitPixel, nullptr);
}
GpStatus GdipDrawImagePointsI(GpGraphics* graphics, GpImage* image, const GpPoint* dstpoints, INT count) {
  return DrawPointsT(graphics, image, dstpoints, count, QRectF(), UnitPixel, nullptr);
}
GpStatus GdipDrawImagePointRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL srcx, REAL srcy,
                                REAL srcwidth, REAL srcheight, GpUnit srcUnit) {
  return DrawImageRectImpl(graphics, image, QRectF(x, y, srcwidth, srcheight), QRectF(srcx, srcy, srcwidth, srcheight),
                           srcUnit, nullptr);
}
GpStatus GdipDrawImagePointRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT srcx, INT srcy, INT srcwidth,
                                 INT srcheight, GpUnit srcUnit) {
  return GdipDrawImagePointRect(graphics, image, REAL(x), REAL(y), REAL(srcx), REAL(srcy), REAL(srcwidth),
                                REAL(srcheight), srcUnit);
}
GpStatus GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth,
                               REAL dstheight, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit,
                               const GpImageAttributes* imageAttributes, DrawImageAbort callback, void* callbackData) {
  if (callback && callback(callbackData)) return Aborted;
  return DrawImageRectImpl(graphics, image, QRectF(dstx, dsty, dstwidth, dstheight),
                           QRectF(srcx, srcy, srcwidth, srcheight), srcUnit, imageAttributes);
}
GpStatus GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty, INT dstwidth, INT dstheight,
                                INT srcx, INT srcy, INT srcwidth, INT srcheight, GpUnit srcUnit,
                                const GpImageAttributes* imageAttributes, DrawImageAbort callback, void* callbackData) {
  return GdipDrawImageRectRect(graphics, image, REAL(dstx), REAL(dsty), REAL(dstwidth), REAL(dstheight), REAL(srcx),
                               REAL(srcy), REAL(srcwidth), REAL(srcheight), srcUnit, imageAttributes, callback,
                               callbackData);
}
GpStatus GdipDrawImagePointsRect(GpGraphics* graphics, GpImage* image, const GpPointF* points, INT count, REAL srcx,
                                 REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit,
                                 const GpImageAttributes* imageAttributes, DrawImageAbort callback, void* callbackData) {
  if (callback && callback(callbackData)) return Aborted;
  return DrawPointsT(graphics, image, points, count, QRectF(srcx, srcy, srcwidth, srcheight), srcUnit, imageAttributes);
}
GpStatus GdipDrawImagePointsRectI(GpGraphics* graphics, GpImage* image, const GpPoint* points, INT count, INT srcx,
                                  INT srcy, INT srcwidth, INT srcheight, GpUnit srcUnit,
                                  const GpImageAttributes* imageAttributes, DrawImageAbort callback,
                                  void* callbackData) {
  if (callback && callback(callbackData)) return Aborted;
  return DrawPointsT(graphics, image, points, count, QRectF(srcx, srcy, srcwidth, srcheight), srcUnit, imageAttributes);
}

GpStatus GdipDrawCachedBitmap(GpGraphics* graphics, GpCachedBitmap* cachedBitmap, INT x, INT y) {
  GpGraphics* g;
  if (GpStatus s = Check(g, graphics); s != Ok) return s;
  GpCachedBitmap* c = Get(cachedBitmap, TKind::CachedBitmap);
  if (!c) return InvalidParameter;
  GpGraphics::TPaint p(g);
  if (!p) return GenericError;
  // Cached bitmaps ignore the world transform, only translating.
  QTransform dev = g->DeviceTransform();
  if (!dev.isAffine() || dev.m11() != 1 || dev.m22() != 1 || dev.m12() != 0 || dev.m21() != 0) return WrongState;
  p->setWorldTransform(g->BaseTransform());
  p->drawImage(QPointF(x + dev.dx(), y + dev.dy()), c->Image);
  return Ok;
}

// ---- Clipping and state ---------------------------------------------------

namespace {

GpStatus SetClipPath(GpGraphics* g, const QPainterPath& world, GpCombineMode mode) {
  if (mode < CombineModeReplace || mode > CombineModeComplement) return InvalidParameter;
  QPainterPath dev = g->DeviceTransform().map(world);
  GpRegion r;
  if (g->State.Clip) r.Set(*g->State.Clip);
  CombineInto(r, dev, mode);
  if (r.State == GpRegion::Infinite) g->State.Clip.reset();
  else g->State.Clip = r.State == GpRegion::Empty ? QPainterPath() : r.Path;
  return Ok;
}

QPainterPath ClipWorld(GpGraphics* g, bool visible) {
  QPainterPath dev;
  if (g->State.Clip) dev = *g->State.Clip;
  else {
    GpRegion inf;
    dev = inf.AsPath();
  }
  if (visible) {
    QPainterPath b;
    b.addRect(g->Bounds());
    dev = dev.intersected(b);
  }
  bool ok = true;
  QTransform inv = g->DeviceTransform().inverted(&ok);
  return ok ? inv.map(dev) : QPainterPath();
}

}  // namespace

GpStatus GdipSetClipGraphics(GpGraphics* graphics, GpGraphics* srcgraphics, GpCombineMode combineMode) {
  return Mode(graphics, [&](GpGraphics* g) {
    GpGraphics* src = G(srcgraphics);
    if (!src) return InvalidParameter;
    if (!src->State.Clip && combineMode == CombineModeReplace) {
      g->State.Clip.reset();
      return Ok;
    }
    GpRegion inf;
    QPainterPath dev = src->State.Clip ? *src->State.Clip : inf.AsPath();
    bool ok = true;
    return SetClipPath(g, g->DeviceTransform().inverted(&ok).map(dev), combineMode);
  });
}
GpStatus GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, GpCombineMode combineMode) {
  return Mode(graphics, [&](GpGraphics* g) {
    QPainterPath p;
    p.addRect(QRectF(x, y, width, height).normalized());
    return SetClipPath(g, p, combineMode);
  });
}
GpStatus GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height, GpCombineMode combineMode) {
  return GdipSetClipRect(graphics, REAL(x), REAL(y), REAL(width), REAL(height), combineMode);
}
GpStatus GdipSetClipPath(GpGraphics* graphics, GpPath* path, GpCombineMode combineMode) {
  return Mode(graphics, [&](GpGraphics* g) {
    GpPath* p = Get(path, TKind::Path);
    if (!p) return InvalidParameter;
    return SetClipPath(g, p->ToQt(), combineMode);
  });
}
GpStatus GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, GpCombineMode combineMode) {
  return Mode(graphics, [&](GpGraphics* g) {
    GpRegion* r = Get(region, TKind::Region);
    if (!r) return InvalidParameter;
    if (r->State == GpRegion::Infinite && combineMode == CombineModeReplace) {
      g->State.Clip.reset();
      return Ok;
    }
    return SetClipPath(g, r->State == GpRegion::Empty ? QPainterPath() : r->AsPath(), combineMode);
  });
}
GpStatus GdipSetClipHrgn(GpGraphics* graphics, HRGN hRgn, GpCombineMode combineMode) {
  return Mode(graphics, [&](GpGraphics* g) {
    auto rgn = gdi_internal::Lookup<gdi_internal::TGdiRegion>(hRgn);
    if (!rgn) return InvalidParameter;
    QPainterPath dev;
    dev.addRegion(rgn->Region);
    bool ok = true;
    return SetClipPath(g, g->DeviceTransform().inverted(&ok).map(dev), combineMode);
  });
}
GpStatus GdipResetClip(GpGraphics* graphics) {
  return Mode(graphics, [&](GpGraphics* g) {
    g->State.Clip.reset();
    return Ok;
  });
}
GpStatus GdipTranslateClip(GpGraphics* graphics, REAL dx, REAL dy) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (g->State.Clip) {
      QPointF d = g->DeviceTransform().map(QPointF(dx, dy)) - g->DeviceTransform().map(QPointF(0, 0));
      g->State.Clip->translate(d);
    }
    return Ok;
  });
}
GpStatus GdipTranslateClipI(GpGraphics* graphics, INT dx, INT dy) { return GdipTranslateClip(graphics, REAL(dx), REAL(dy)); }
GpStatus GdipGetClip(GpGraphics* graphics, GpRegion* region) {
  return Mode(graphics, [&](GpGraphics* g) {
    GpRegion* r = Get(region, TKind::Region);
    if (!r) return InvalidParameter;
    if (!g->State.Clip) r->State = GpRegion::Infinite, r->Path = QPainterPath();
    else r->Set(ClipWorld(g, false));
    return Ok;
  });
}
GpStatus GdipGetClipBounds(GpGraphics* graphics, GpRectF* rect) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!rect) return InvalidParameter;
    QRectF b = ClipWorld(g, false).boundingRect();
    *rect = {REAL(b.x()), REAL(b.y()), REAL(b.width()), REAL(b.height())};
    return Ok;
  });
}
GpStatus GdipGetClipBoundsI(GpGraphics* graphics, GpRect* rect) {
  if (!rect) return InvalidParameter;
  GpRectF r;
  GpStatus s = GdipGetClipBounds(graphics, &r);
  if (s == Ok) *rect = {INT(std::lround(r.X)), INT(std::lround(r.Y)), INT(std::lround(r.Width)), INT(std::lround(r.Height))};
  return s;
}
GpStatus GdipIsClipEmpty(GpGraphics* graphics, BOOL* result) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!result) return InvalidParameter;
    *result = g->State.Clip && g->State.Clip->boundingRect().isEmpty() ? TRUE : FALSE;
    return Ok;
  });
}
GpStatus GdipGetVisibleClipBounds(GpGraphics* graphics, GpRectF* rect) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!rect) return InvalidParameter;
    QRectF b = ClipWorld(g, true).boundingRect();
    *rect = {REAL(b.x()), REAL(b.y()), REAL(b.width()), REAL(b.height())};
    return Ok;
  });
}
GpStatus GdipGetVisibleClipBoundsI(GpGraphics* graphics, GpRect* rect) {
  if (!rect) return InvalidParameter;
  GpRectF r;
  GpStatus s = GdipGetVisibleClipBounds(graphics, &r);
  if (s == Ok) *rect = {INT(std::lround(r.X)), INT(std::lround(r.Y)), INT(std::lround(r.Width)), INT(std::lround(r.Height))};
  return s;
}
GpStatus GdipIsVisibleClipEmpty(GpGraphics* graphics, BOOL* result) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!result) return InvalidParameter;
    *result = ClipWorld(g, true).boundingRect().isEmpty() ? TRUE : FALSE;
    return Ok;
  });
}
GpStatus GdipIsVisiblePoint(GpGraphics* graphics, REAL x, REAL y, BOOL* result) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!result) return InvalidParameter;
    QPointF d = g->DeviceTransform().map(QPointF(x, y));
    bool in = g->Bounds().contains(d) && (!g->State.Clip || g->State.Clip->contains(d));
    *result = in ? TRUE : FALSE;
    return Ok;
  });
}
GpStatus GdipIsVisiblePointI(GpGraphics* graphics, INT x, INT y, BOOL* result) {
  return GdipIsVisiblePoint(graphics, REAL(x), REAL(y), result);
}
GpStatus GdipIsVisibleRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, BOOL* result) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!result) return InvalidParameter;
    QPainterPath r;
    r.addRect(QRectF(x, y, width, height));
    QPainterPath d = g->DeviceTransform().map(r);
    QPainterPath b;
    b.addRect(g->Bounds());
    d = d.intersected(b);
    if (g->State.Clip) d = d.intersected(*g->State.Clip);
    *result = d.boundingRect().isEmpty() ? FALSE : TRUE;
    return Ok;
  });
}
GpStatus GdipIsVisibleRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height, BOOL* result) {
  return GdipIsVisibleRect(graphics, REAL(x), REAL(y), REAL(width), REAL(height), result);
}

GpStatus GdipSaveGraphics(GpGraphics* graphics, GraphicsState* state) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!state) return InvalidParameter;
    *state = g->NextToken++;
    g->Stack.push_back({*state, false, g->State});
    return Ok;
  });
}
GpStatus GdipRestoreGraphics(GpGraphics* graphics, GraphicsState state) {
  return Mode(graphics, [&](GpGraphics* g) {
    for (std::size_t i = g->Stack.size(); i-- > 0;)
      if (g->Stack[i].Token == state && !g->Stack[i].Container) {
        g->State = g->Stack[i].State;
        g->Stack.resize(i);
        break;
      }
    return Ok;  // an unknown state is ignored
  });
}

static GpStatus BeginContainerImpl(GpGraphics* graphics, const QRectF* dst, const QRectF* src, GpUnit unit,
                                   GraphicsContainer* state) {
  return Mode(graphics, [&](GpGraphics* g) {
    if (!state) return InvalidParameter;
    if (dst && (unit < UnitWorld || unit > UnitMillimeter || src->width() == 0 || src->height() == 0)) return InvalidParameter;
    *state = g->NextToken++;
    g->Stack.push_back({*state, true, g->State});
    QTransform inner;
    if (dst) {
      REAL k = UnitToPixels(unit, 96);
      QRectF s(src->x() * k, src->y() * k, src->width() * k, src->height() * k);
      inner = QTransform::fromTranslate(-s.x(), -s.y()) * QTransform::fromScale(dst->width() / s.width(), dst->height() / s.height()) *
              QTransform::fromTranslate(dst->x(), dst->y());
    }
    g->State.Base = inner * g->State.World * g->State.Base;
    g->State.World.reset();
    return Ok;
  });
}

GpStatus GdipBeginContainer(GpGraphics* graphics, const GpRectF* dstrect, const GpRectF* srcrect, GpUnit unit,
                            GraphicsContainer* state) {
  if (!dstrect || !srcrect) return InvalidParameter;
  QRectF d(dstrect->X, dstrect->Y, dstrect->Width, dstrect->Height), s(srcrect->X, srcrect->Y, srcrect->Width, srcrect->Height);
  return BeginContainerImpl(graphics, &d, &s, unit, state);
}
GpStatus GdipBeginContainerI(GpGraphics* graphics, const GpRect* dstrect, const GpRect* srcrect, GpUnit unit,
                             GraphicsContainer* state) {
  if (!dstrect || !srcrect) return InvalidParameter;
  QRectF d(dstrect->X, dstrect->Y, dstrect->Width, dstrect->Height), s(srcrect->X, srcrect->Y, srcrect->Width, srcrect->Height);
  return BeginContainerImpl(graphics, &d, &s, unit, state);
}
GpStatus GdipBeginContainer2(GpGraphics* graphics, GraphicsContainer* state) {
  return BeginContainerImpl(graphics, nullptr, nullptr, UnitPixel, state);
}
GpStatus GdipEndContainer(GpGraphics* graphics, GraphicsContainer state) {
  return Mode(graphics, [&](GpGraphics* g) {
    for (std::size_t i = g->Stack.size(); i-- > 0;)
      if (g->Stack[i].Token == state && g->Stack[i].Container) {
        g->State = g->Stack[i].State;
        g->Stack.resize(i);
        break;
      }
    return Ok;
  });
}
GpStatus GdipComment(GpGraphics* graphics, UINT sizeData, const Byte* data) {
  return Mode(graphics, [&](GpGraphics*) { return data || sizeData == 0 ? Ok : InvalidParameter; });
}
