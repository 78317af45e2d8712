// Paths: figures of lines and Béziers kept as GDI+'s points and types.
#include <QPainterPathStroker>
#include <cmath>

#include "platform/gdiplus/GdiPlusInternal.h"

using namespace gdiplus_internal;

namespace {
constexpr Byte kTypeMask = PathPointTypePathTypeMask;
constexpr INT kMaxPoints = 1 << 24;  // hostile counts are refused, not allocated
}  // namespace

// ---- GpPath ---------------------------------------------------------------

QPainterPath GpPath::ToQt() const {
  QPainterPath p;
  p.setFillRule(Fill == FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill);
  const std::size_t n = Points.size();
  for (std::size_t i = 0; i < n; ++i) {
    Byte t = Types[i] & kTypeMask;
    if (t == PathPointTypeStart) {
      p.moveTo(Points[i]);
    } else if (t == PathPointTypeBezier && i + 2 < n) {
      p.cubicTo(Points[i], Points[i + 1], Points[i + 2]);
      i += 2;
    } else {
      p.lineTo(Points[i]);
    }
    if (Types[i] & PathPointTypeCloseSubpath) p.closeSubpath();
  }
  return p;
}

void GpPath::AddLines(const std::vector<QPointF>& pts) {
  if (pts.empty()) return;
  std::size_t from = 0;
  if (StartNew || Points.empty()) {
    Points.push_back(pts[0]);
    Types.push_back(PathPointTypeStart);
    from = 1;
  } else if (Points.back() == pts[0]) {
    from = 1;  // continuing from the figure's last point
  }
  for (std::size_t i = from; i < pts.size(); ++i) {
    Points.push_back(pts[i]);
    Types.push_back(PathPointTypeLine);
  }
  StartNew = false;
}

void GpPath::AddBeziers(const std::vector<QPointF>& pts) {
  if (pts.empty()) return;
  if (StartNew || Points.empty()) {
    Points.push_back(pts[0]);
    Types.push_back(PathPointTypeStart);
  } else if (Points.back() != pts[0]) {
    Points.push_back(pts[0]);
    Types.push_back(PathPointTypeLine);
  }
  for (std::size_t i = 1; i < pts.size(); ++i) {
    Points.push_back(pts[i]);
    Types.push_back(PathPointTypeBezier);
  }
  StartNew = false;
}

void GpPath::AddFigure(const std::vector<QPointF>& pts, const std::vector<Byte>& types, bool closed) {
  if (pts.empty()) return;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    Points.push_back(pts[i]);
    Types.push_back(i == 0 ? Byte(PathPointTypeStart) : types[i]);
  }
  if (closed) Types.back() |= PathPointTypeCloseSubpath;
  StartNew = closed;
}

void GpPath::Close() {
  if (!Points.empty() && !StartNew) Types.back() |= PathPointTypeCloseSubpath;
  StartNew = true;
}

void GpPath::FromQt(const QPainterPath& path, bool flattenCurves) {
  Points.clear();
  Types.clear();
  StartNew = true;
  auto closeIfReturned = [&](std::size_t figStart) {
    if (Points.size() > figStart + 1 && Points.back() == Points[figStart]) {
      if ((Types.back() & kTypeMask) == PathPointTypeLine) {
        Points.pop_back();
        Types.pop_back();
      }
      Types.back() |= PathPointTypeCloseSubpath;
    }
  };
  if (flattenCurves) {
    for (const QPolygonF& poly : path.toSubpathPolygons()) {
      std::size_t start = Points.size();
      for (int i = 0; i < poly.size(); ++i) {
        Points.push_back(poly[i]);
        Types.push_back(i == 0 ? Byte(PathPointTypeStart) : Byte(PathPointTypeLine));
      }
      closeIfReturned(start);
    }
    return;
  }
  std::size_t figStart = 0;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element& e = path.elementAt(i);
    if (e.isMoveTo()) {
      if (!Points.empty()) closeIfReturned(figStart);
      figStart = Points.size();
      Points.push_back(e);
      Types.push_back(PathPointTypeStart);
    } else if (e.isLineTo()) {
      Points.push_back(e);
      Types.push_back(PathPointTypeLine);
    } else if (e.isCurveTo()) {
      Points.push_back(e);
      Types.push_back(PathPointTypeBezier);
    } else {
      Points.push_back(e);
      Types.push_back(PathPointTypeBezier);
    }
  }
  if (!Points.empty()) closeIfReturned(figStart);
}

namespace gdiplus_internal {

std::vector<QPointF> ArcPoints(REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep) {
  sweep = std::clamp(sweep, -360.0f, 360.0f);
  const double a = w / 2.0, b = h / 2.0, cx = x + a, cy = y + b;
  // Angles are measured on the ellipse as drawn; turn them into the
  // parameter of its equation.
  auto param = [&](double deg) {
    double r = deg * M_PI / 180.0;
    double t = std::atan2(a * std::sin(r), b * std::cos(r));
    // Keep the turn count of the geometric angle.
    double turns = std::floor((r + M_PI) / (2 * M_PI));
    t += turns * 2 * M_PI;
    while (t - r > M_PI) t -= 2 * M_PI;
    while (r - t > M_PI) t += 2 * M_PI;
    return t;
  };
  double t0 = param(start), t1 = param(start + sweep);
  if (std::fabs(sweep) >= 360.0f) t1 = t0 + (sweep > 0 ? 2 * M_PI : -2 * M_PI);
  int segments = std::max(1, int(std::ceil(std::fabs(t1 - t0) / (M_PI / 2) - 1e-9)));
  double dt = (t1 - t0) / segments;
  double k = 4.0 / 3.0 * std::tan(dt / 4);
  std::vector<QPointF> pts;
  auto at = [&](double t) { return QPointF(cx + a * std::cos(t), cy + b * std::sin(t)); };
  auto d = [&](double t) { return QPointF(-a * std::sin(t), b * std::cos(t)); };
  pts.push_back(at(t0));
  for (int i = 0; i < segments; ++i) {
    double s = t0 + i * dt, e = s + dt;
    pts.push_back(at(s) + k * d(s));
    pts.push_back(at(e) - k * d(e));
    pts.push_back(at(e));
  }
  return pts;
}

std::vector<QPointF> CurvePoints(const std::vector<QPointF>& p, REAL tension, bool closed) {
  const std::size_t n = p.size();
  std::vector<QPointF> out;
  if (n < 2) return out;
  const double k = tension / 3.0;
  auto at = [&](long i) {
    if (closed) return p[std::size_t((i % long(n) + long(n)) % long(n))];
    return p[std::size_t(std::clamp<long>(i, 0, long(n) - 1))];
  };
  std::size_t segs = closed ? n : n - 1;
  out.push_back(p[0]);
  for (std::size_t i = 0; i < segs; ++i) {
    long j = long(i);
    QPointF p0 = at(j - 1), p1 = at(j), p2 = at(j + 1), p3 = at(j + 2);
    out.push_back(p1 + k * (p2 - p0));
    out.push_back(p2 - k * (p3 - p1));
    out.push_back(p2);
  }
  return out;
}

}  // namespace gdiplus_internal

// ---- Flat functions -------------------------------------------------------

namespace {

GpPath* P(const GpPath* p) { return Get(p, TKind::Path); }

template <class T>
std::vector<QPointF> ToPoints(const T* pts, INT count) {
  std::vector<QPointF> v;
  v.reserve(std::size_t(count));
  for (INT i = 0; i < count; ++i) v.emplace_back(pts[i].X, pts[i].Y);
  return v;
}

bool CountOk(const void* pts, INT count, INT min) { return pts && count >= min && count <= kMaxPoints; }

// Subdivides a Bézier until it is within flatness of its chord.
void FlattenBezier(QPointF a, QPointF b, QPointF c, QPointF d, double flatness, std::vector<QPointF>& out, int depth) {
  auto dist = [](QPointF p, QPointF s, QPointF e) {
    QPointF v = e - s;
    double len = std::hypot(v.x(), v.y());
    if (len < 1e-12) return std::hypot(p.x() - s.x(), p.y() - s.y());
    return std::fabs((p.x() - s.x()) * v.y() - (p.y() - s.y()) * v.x()) / len;
  };
  if (depth >= 16 || (dist(b, a, d) <= flatness && dist(c, a, d) <= flatness)) {
    out.push_back(d);
    return;
  }
  QPointF ab = (a + b) / 2, bc = (b + c) / 2, cd = (c + d) / 2, abc = (ab + bc) / 2, bcd = (bc + cd) / 2,
          m = (abc + bcd) / 2;
  FlattenBezier(a, ab, abc, m, flatness, out, depth + 1);
  FlattenBezier(m, bcd, cd, d, flatness, out, depth + 1);
}

void Flatten(GpPath* p, double flatness) {
  if (flatness <= 0) flatness = 0.25;
  std::vector<QPointF> pts;
  std::vector<Byte> types;
  for (std::size_t i = 0; i < p->Points.size(); ++i) {
    Byte t = p->Types[i];
    if ((t & kTypeMask) == PathPointTypeBezier && i + 2 < p->Points.size() && i > 0) {
      std::vector<QPointF> seg;
      FlattenBezier(p->Points[i - 1], p->Points[i], p->Points[i + 1], p->Points[i + 2], flatness, seg, 0);
      Byte last = p->Types[i + 2];
      for (std::size_t k = 0; k < seg.size(); ++k) {
        pts.push_back(seg[k]);
        types.push_back(k + 1 == seg.size() ? Byte((last & ~kTypeMask) | PathPointTypeLine) : Byte(PathPointTypeLine));
      }
      i += 2;
    } else {
      pts.push_back(p->Points[i]);
      types.push_back(t);
    }
  }
  p->Points = std::move(pts);
  p->Types = std::move(types);
}

void TransformPoints(GpPath* p, const QTransform& t) {
  for (auto& q : p->Points) q = t.map(q);
}

GpStatus AddArcTo(GpPath* p, REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep) {
  if (!p || !Finite(x) || !Finite(y) || !Finite(w) || !Finite(h) || !Finite(start) || !Finite(sweep)) return InvalidParameter;
  if (w <= 0 || h <= 0) return InvalidParameter;
  p->AddBeziers(ArcPoints(x, y, w, h, start, sweep));
  return Ok;
}

GpStatus AddClosed(GpPath* p, const std::vector<QPointF>& pts, Byte type) {
  std::vector<Byte> types(pts.size(), type);
  p->AddFigure(pts, types, true);
  return Ok;
}

GpStatus AddCurveImpl(GpPath* p, const std::vector<QPointF>& pts, INT offset, INT segments, REAL tension) {
  INT n = INT(pts.size());
  if (n < 2 || offset < 0 || segments < 1 || offset + segments > n - 1) return InvalidParameter;
  std::vector<QPointF> all = CurvePoints(pts, tension, false);
  std::vector<QPointF> part(all.begin() + offset * 3, all.begin() + (offset + segments) * 3 + 1);
  p->AddBeziers(part);
  return Ok;
}

}  // namespace

GpStatus GdipCreatePath(GpFillMode brushMode, GpPath** path) {
  if (!path || (brushMode != FillModeAlternate && brushMode != FillModeWinding)) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  auto p = std::make_unique<GpPath>();
  p->Fill = brushMode;
  return Hand(std::move(p), path);
}

template <class T>
static GpStatus CreatePath2(const T* points, const Byte* types, INT count, GpFillMode fillMode, GpPath** path) {
  if (!path || count < 0 || count > kMaxPoints || (count > 0 && (!points || !types))) return InvalidParameter;
  if (fillMode != FillModeAlternate && fillMode != FillModeWinding) return InvalidParameter;
  if (!Running()) return GdiplusNotInitialized;
  // Types must start figures and group Bézier points in threes.
  for (INT i = 0; i < count;) {
    Byte t = types[i] & kTypeMask;
    if (i == 0 && t != PathPointTypeStart) return InvalidParameter;
    if (t == PathPointTypeBezier) {
      if (i + 2 >= count || (types[i + 1] & kTypeMask) != PathPointTypeBezier ||
          (types[i + 2] & kTypeMask) != PathPointTypeBezier)
        return InvalidParameter;
      i += 3;
    } else if (t == PathPointTypeStart || t == PathPointTypeLine) {
      ++i;
    } else {
      return InvalidParameter;
    }
  }
  auto p = std::make_unique<GpPath>();
  p->Fill = fillMode;
  p->Points = ToPoints(points, count);
  p->Types.assign(types, types + count);
  p->StartNew = count == 0 || (types[count - 1] & PathPointTypeCloseSubpath);
  return Hand(std::move(p), path);
}

GpStatus GdipCreatePath2(const GpPointF* points, const Byte* types, INT count, GpFillMode fillMode, GpPath** path) {
  return CreatePath2(points, types, count, fillMode, path);
}
GpStatus GdipCreatePath2I(const GpPoint* points, const Byte* types, INT count, GpFillMode fillMode, GpPath** path) {
  return CreatePath2(points, types, count, fillMode, path);
}

GpStatus GdipClonePath(GpPath* path, GpPath** clonePath) {
  GpPath* p = P(path);
  if (!p || !clonePath) return InvalidParameter;
  auto c = std::make_unique<GpPath>();
  c->Points = p->Points;
  c->Types = p->Types;
  c->Fill = p->Fill;
  c->StartNew = p->StartNew;
  return Hand(std::move(c), clonePath);
}

GpStatus GdipDeletePath(GpPath* path) { return Delete(path, TKind::Path); }

GpStatus GdipResetPath(GpPath* path) {
  GpPath* p = P(path);
  if (!p) return InvalidParameter;
  p->Points.clear();
  p->Types.clear();
  p->Fill = FillModeAlternate;
  p->StartNew = true;
  return Ok;
}

GpStatus GdipGetPointCount(GpPath* path, INT* count) {
  GpPath* p = P(path);
  if (!p || !count) return InvalidParameter;
  *count = INT(p->Points.size());
  return Ok;
}

GpStatus GdipGetPathTypes(GpPath* path, Byte* types, INT count) {
  GpPath* p = P(path);
  if (!p || !types || count <= 0) return InvalidParameter;
  if (std::size_t(count) < p->Types.size()) return InsufficientBuffer;
  std::copy(p->Types.begin(), p->Types.end(), types);
  return Ok;
}

GpStatus GdipGetPathPoints(GpPath* path, GpPointF* points, INT count) {
  GpPath* p = P(path);
  if (!p || !points || count <= 0) return InvalidParameter;
  if (std::size_t(count) < p->Points.size()) return InsufficientBuffer;
  for (std::size_t i = 0; i < p->Points.size(); ++i) points[i] = {REAL(p->Points[i].x()), REAL(p->Points[i].y())};
  return Ok;
}

GpStatus GdipGetPathPointsI(GpPath* path, GpPoint* points, INT count) {
  GpPath* p = P(path);
  if (!p || !points || count <= 0) return InvalidParameter;
  if (std::size_t(count) < p->Points.size()) return InsufficientBuffer;
  for (std::size_t i = 0; i < p->Points.size(); ++i)
    points[i] = {INT(std::lround(p->Points[i].x())), INT(std::lround(p->Points[i].y()))};
  return Ok;
}

GpStatus GdipGetPathFillMode(GpPath* path, GpFillMode* fillmode) {
  GpPath* p = P(path);
  if (!p || !fillmode) return InvalidParameter;
  *fillmode = p->Fill;
  return Ok;
}

GpStatus GdipSetPathFillMode(GpPath* path, GpFillMode fillmode) {
  GpPath* p = P(path);
  if (!p || (fillmode != FillModeAlternate && fillmode != FillModeWinding)) return InvalidParameter;
  p->Fill = fillmode;
  return Ok;
}

GpStatus GdipGetPathData(GpPath* path, GpPathData* pathData) {
  GpPath* p = P(path);
  if (!p || !pathData || !pathData->Points || !pathData->Types) return InvalidParameter;
  if (std::size_t(std::max(0, pathData->Count)) < p->Points.size()) return InsufficientBuffer;
  for (std::size_t i = 0; i < p->Points.size(); ++i) {
    pathData->Points[i] = {REAL(p->Points[i].x()), REAL(p->Points[i].y())};
    pathData->Types[i] = p->Types[i];
  }
  pathData->Count = INT(p->Points.size());
  return Ok;
}

GpStatus GdipStartPathFigure(GpPath* path) {
  GpPath* p = P(path);
  if (!p) return InvalidParameter;
  p->StartNew = true;
  return Ok;
}

GpStatus GdipClosePathFigure(GpPath* path) {
  GpPath* p = P(path);
  if (!p) return InvalidParameter;
  p->Close();
  return Ok;
}

GpStatus GdipClosePathFigures(GpPath* path) {
  GpPath* p = P(path);
  if (!p) return InvalidParameter;
  for (std::size_t i = 1; i <= p->Types.size(); ++i)
    if (i == p->Types.size() || (p->Types[i] & kTypeMask) == PathPointTypeStart) p->Types[i - 1] |= PathPointTypeCloseSubpath;
  p->StartNew = true;
  return Ok;
}

GpStatus GdipSetPathMarker(GpPath* path) {
  GpPath* p = P(path);
  if (!p) return InvalidParameter;
  if (!p->Types.empty()) p->Types.back() |= PathPointTypePathMarker;
  return Ok;
}

GpStatus GdipClearPathMarkers(GpPath* path) {
  GpPath* p = P(path);
  if (!p) return InvalidParameter;
  for (auto& t : p->Types) t &= Byte(~PathPointTypePathMarker);
  return Ok;
}

GpStatus GdipReversePath(GpPath* path) {
  GpPath* p = P(path);
  if (!p) return InvalidParameter;
  const std::size_t n = p->Points.size();
  std::vector<QPointF> pts;
  std::vector<Byte> types;
  std::size_t end = n;
  while (end > 0) {
    std::size_t start = end - 1;
    while (start > 0 && (p->Types[start] & kTypeMask) != PathPointTypeStart) --start;
    bool closed = p->Types[end - 1] & PathPointTypeCloseSubpath;
    for (std::size_t i = end; i-- > start;) {
      pts.push_back(p->Points[i]);
      // The segment that ended at i+1 now ends at i.
      types.push_back(i + 1 == end ? Byte(PathPointTypeStart) : Byte(p->Types[i + 1] & kTypeMask));
    }
    if (closed) types.back() |= PathPointTypeCloseSubpath;
    end = start;
  }
  p->Points = std::move(pts);
  p->Types = std::move(types);
  return Ok;
}

GpStatus GdipGetPathLastPoint(GpPath* path, GpPointF* lastPoint) {
  GpPath* p = P(path);
  if (!p || !lastPoint || p->Points.empty()) return InvalidParameter;
  *lastPoint = {REAL(p->Points.back().x()), REAL(p->Points.back().y())};
  return Ok;
}

GpStatus GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2) {
  GpPath* p = P(path);
  if (!p) return InvalidParameter;
  p->AddLines({QPointF(x1, y1), QPointF(x2, y2)});
  return Ok;
}

GpStatus GdipAddPathLineI(GpPath* path, INT x1, INT y1, INT x2, INT y2) {
  return GdipAddPathLine(path, REAL(x1), REAL(y1), REAL(x2), REAL(y2));
}

GpStatus GdipAddPathLine2(GpPath* path, const GpPointF* points, INT count) {
  GpPath* p = P(path);
  if (!p || !CountOk(points, count, 1)) return InvalidParameter;
  p->AddLines(ToPoints(points, count));
  return Ok;
}

GpStatus GdipAddPathLine2I(GpPath* path, const GpPoint* points, INT count) {
  GpPath* p = P(path);
  if (!p || !CountOk(points, count, 1)) return InvalidParameter;
  p->AddLines(ToPoints(points, count));
  return Ok;
}

GpStatus GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
  return AddArcTo(P(path), x, y, width, height, startAngle, sweepAngle);
}

GpStatus GdipAddPathArcI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle) {
  return AddArcTo(P(path), REAL(x), REAL(y), REAL(width), REAL(height), startAngle, sweepAngle);
}

GpStatus GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4) {
  GpPath* p = P(path);
  if (!p) return InvalidParameter;
  p->AddBeziers({QPointF(x1, y1), QPointF(x2, y2), QPointF(x3, y3), QPointF(x4, y4)});
  return Ok;
}

GpStatus GdipAddPathBezierI(GpPath* path, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4) {
  return GdipAddPathBezier(path, REAL(x1), REAL(y1), REAL(x2), REAL(y2), REAL(x3), REAL(y3), REAL(x4), REAL(y4));
}

GpStatus GdipAddPathBeziers(GpPath* path, const GpPointF* points, INT count) {
  GpPath* p = P(path);
  if (!p || !CountOk(points, count, 4) || (count - 1) % 3 != 0) return InvalidParameter;
  p->AddBeziers(ToPoints(points, count));
  return Ok;
}

GpStatus GdipAddPathBeziersI(GpPath* path, const GpPoint* points, INT count) {
  GpPath* p = P(path);
  if (!p || !CountOk(points, count, 4) || (count - 1) % 3 != 0) return InvalidParameter;
  p->AddBeziers(ToPoints(points, count));
  return Ok;
}

GpStatus GdipAddPathCurve(GpPath* path, const GpPointF* points, INT count) {
  return GdipAddPathCurve2(path, points, count, 0.5f);
}
GpStatus GdipAddPathCurveI(GpPath* path, const GpPoint* points, INT count) {
  return GdipAddPathCurve2I(path, points, count, 0.5f);
}
GpStatus GdipAddPathCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension) {
  GpPath* p = P(path);
  if (!p || !CountOk(points, count, 2)) return InvalidParameter;
  return AddCurveImpl(p, ToPoints(points, count), 0, count - 1, tension);
}
GpStatus GdipAddPathCurve2I(GpPath* path, const GpPoint* points, INT count, REAL tension) {
  GpPath* p = P(path);
  if (!p || !CountOk(points, count, 2)) return InvalidParameter;
  return AddCurveImpl(p, ToPoints(points, count), 0, count - 1, tension);
}
GpStatus GdipAddPathCurve3(GpPath* path, const GpPointF* points, INT count, INT offset, INT numberOfSegments,
                           REAL tension) {
  GpPath* p = P(path);
  if (!p || !CountOk(points, count, 2)) return InvalidParameter;
  return AddCurveImpl(p, ToPoints(points, count), offset, numberOfSegments, tension);
}
GpStatus GdipAddPathCurve3I(GpPath* path, const GpPoint* points, INT count, INT offset, INT numberOfSegments,
                            REAL tension) {
  GpPath* p = P(path);
  if (!p || !CountOk(points, count, 2)) return InvalidParameter;
  return AddCurveImpl(p, ToPoints(points, count), offset, numberOfSegments, tension);
}

GpStatus GdipAddPathClosedCurve(GpPath* path, const GpPointF* points, INT count) {
  return GdipAddPathClosedCurve2(path, points, count, 0.5f);
}
GpStatus GdipAddPathClosedCurveI(GpPath* path, const GpPoint* points, INT count) {
  return GdipAddPathClosedCurve2I(path, points, count, 0.5f);
}
GpStatus GdipAddPathClosedCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension) {
  GpPath* p = P(path);
  if (!p || !CountOk(points, count, 3)) return InvalidParameter;
  auto pts = CurvePoints(ToPoints(points, count), tension, true);
  return AddClosed(p, pts, PathPointTypeBezier);
}
GpStatus GdipAddPathClosedCurve2I(GpPath* path, const GpPoint* points, INT count, REAL tension) {
  GpPath* p = P(path);
  if (!p || !CountOk(points, count, 3)) return InvalidParameter;
  auto pts = CurvePoints(ToPoints(points, count), tension, true);
  return AddClosed(p, pts, PathPointTypeBezier);
}

GpStatus GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height) {
  GpPath* p = P(path);
  if (!p) return InvalidParameter;
  if (width <= 0 || height <= 0) return Ok;  // GDI+ adds nothing for an empty rectangle
  return AddClosed(p, {QPointF(x, y), QPointF(x + width, y), QPointF(x + width, y + height), QPointF(x, y + height)},
                   PathPointTypeLine);
}

GpStatus GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height) {
  return GdipAddPathRectangle(path, REAL(x), REAL(y), REAL(width), REAL(height));
}

GpStatus GdipAddPathRectangles(GpPath* path, const GpRectF* rects, INT count) {
  GpPath* p = P(path);
  if (!p || !CountOk(rects, count, 1)) return InvalidParameter;
  for (INT i = 0; i < count; ++i) GdipAddPathRectangle(path, rects[i].X, rects[i].Y, rects[i].Width, rects[i].Height);
  return Ok;
}

GpStatus GdipAddPathRectanglesI(GpPath* path, const GpRect* rects, INT count) {
  GpPath* p = P(path);
  if (!p || !CountOk(rects, count, 1)) return InvalidParameter;
  for (INT i = 0; i < count; ++i) GdipAddPathRectangleI(path, rects[i].X, rects[i].Y, rects[i].Width, rects[i].Height);
  return Ok;
}

GpStatus GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height) {
  GpPath* p = P(path);
  if (!p || !Finite(x) || !Finite(y) || !Finite(width) || !Finite(height)) return InvalidParameter;
  auto pts = ArcPoints(x, y, width, height, 0, 360);
  return AddClosed(p, pts, PathPointTypeBezier);
}

GpStatus GdipAddPathEllipseI(GpPath* path, INT x, INT y, INT width, INT height) {
  return GdipAddPathEllipse(path, REAL(x), REAL(y), REAL(width), REAL(height));
}

GpStatus GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
  GpPath* p = P(path);
  if (!p || width <= 0 || height <= 0 || !Finite(startAngle) || !Finite(sweepAngle)) return InvalidParameter;
  QPointF centre(x + width / 2.0, y + height / 2.0);
  auto arc = ArcPoints(x, y, width, height, startAngle, sweepAngle);
  std::vector<QPointF> pts{centre};
  std::vector<Byte> types{PathPointTypeStart};
  bool full = std::fabs(sweepAngle) >= 360;
  if (full) pts.clear(), types.clear();
  for (std::size_t i = 0; i < arc.size(); ++i) {
    pts.push_back(arc[i]);
    types.push_back(i == 0 ? Byte(full ? PathPointTypeStart : PathPointTypeLine) : Byte(PathPointTypeBezier));
  }
  p->AddFigure(pts, types, true);
  return Ok;
}

GpStatus GdipAddPathPieI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle) {
  return GdipAddPathPie(path, REAL(x), REAL(y), REAL(width), REAL(height), startAngle, sweepAngle);
}

GpStatus GdipAddPathPolygon(GpPath* path, const GpPointF* points, INT count) {
  GpPath* p = P(path);
  if (!p || !CountOk(points, count, 3)) return InvalidParameter;
  return AddClosed(p, ToPoints(points, count), PathPointTypeLine);
}

GpStatus GdipAddPathPolygonI(GpPath* path, const GpPoint* points, INT count) {
  GpPath* p = P(path);
  if (!p || !CountOk(points, count, 3)) return InvalidParameter;
  return AddClosed(p, ToPoints(points, count), PathPointTypeLine);
}

GpStatus GdipAddPathPath(GpPath* path, const GpPath* addingPath, BOOL connect) {
  GpPath* p = P(path);
  GpPath* a = P(addingPath);
  if (!p || !a) return InvalidParameter;
  if (a->Points.empty()) return Ok;
  std::vector<QPointF> pts = a->Points;
  std::vector<Byte> types = a->Types;
  std::size_t from = 0;
  if (connect && !p->StartNew && !p->Points.empty()) {
    // The first figure of the added path continues the open figure.
    if (p->Points.back() != pts[0]) {
      p->Points.push_back(pts[0]);
      p->Types.push_back(Byte(PathPointTypeLine | (types[0] & ~kTypeMask)));
    }
    from = 1;
  }
  for (std::size_t i = from; i < pts.size(); ++i) {
    p->Points.push_back(pts[i]);
    p->Types.push_back(types[i]);
  }
  p->StartNew = a->StartNew;
  return Ok;
}

GpStatus GdipFlattenPath(GpPath* path, GpMatrix* matrix, REAL flatness) {
  GpPath* p = P(path);
  if (!p || (matrix && !Alive(matrix, TKind::Matrix))) return InvalidParameter;
  if (matrix) TransformPoints(p, matrix->M);
  Flatten(p, flatness);
  return Ok;
}

GpStatus GdipWindingModeOutline(GpPath* path, GpMatrix* matrix, REAL flatness) {
  GpPath* p = P(path);
  if (!p || (matrix && !Alive(matrix, TKind::Matrix))) return InvalidParameter;
  if (matrix) TransformPoints(p, matrix->M);
  Flatten(p, flatness);
  QPainterPath q = p->ToQt();
  q.setFillRule(Qt::WindingFill);
  p->FromQt(q.simplified(), true);
  p->Fill = FillModeWinding;
  return Ok;
}

GpStatus GdipWidenPath(GpPath* nativePath, GpPen* pen, GpMatrix* matrix, REAL flatness) {
  GpPath* p = P(nativePath);
  if (!p || !Alive(pen, TKind::Pen) || (matrix && !Alive(matrix, TKind::Matrix))) return InvalidParameter;
  if (p->Points.empty()) return OutOfMemory;  // GDI+'s answer for an empty path
  QPainterPath outline = Outline(pen, p->ToQt());
  if (matrix) outline = matrix->M.map(outline);
  p->FromQt(outline, true);
  if (flatness > 0) Flatten(p, flatness);
  p->Fill = FillModeWinding;
  return Ok;
}

GpStatus GdipWarpPath(GpPath* path, GpMatrix* matrix, const GpPointF* points, INT count, REAL srcx, REAL srcy,
                      REAL srcwidth, REAL srcheight, GpWarpMode warpMode, REAL flatness) {
  GpPath* p = P(path);
  if (!p || !points || (count != 3 && count != 4) || (matrix && !Alive(matrix, TKind::Matrix))) return InvalidParameter;
  if (warpMode != WarpModePerspective && warpMode != WarpModeBilinear) return InvalidParameter;
  if (srcwidth == 0 || srcheight == 0) return InvalidParameter;
  if (matrix) TransformPoints(p, matrix->M);
  Flatten(p, flatness);
  QPointF d[4] = {{points[0].X, points[0].Y}, {points[1].X, points[1].Y}, {points[2].X, points[2].Y}, {}};
  d[3] = count == 4 ? QPointF(points[3].X, points[3].Y) : d[1] + d[2] - d[0];
  QTransform persp;
  if (warpMode == WarpModePerspective) {
    QPolygonF src(QRectF(srcx, srcy, srcwidth, srcheight));
    src.removeLast();
    QPolygonF dst{d[0], d[1], d[3], d[2]};
    if (!QTransform::quadToQuad(src, dst, persp)) return InvalidParameter;
  }
  for (auto& q : p->Points) {
    if (warpMode == WarpModePerspective) {
      q = persp.map(q);
    } else {
      double u = (q.x() - srcx) / srcwidth, v = (q.y() - srcy) / srcheight;
      q = (1 - u) * (1 - v) * d[0] + u * (1 - v) * d[1] + (1 - u) * v * d[2] + u * v * d[3];
    }
  }
  return Ok;
}

GpStatus GdipTransformPath(GpPath* path, GpMatrix* matrix) {
  GpPath* p = P(path);
  if (!p) return InvalidParameter;
  if (!matrix) return Ok;
  if (!Alive(matrix, TKind::Matrix)) return InvalidParameter;
  TransformPoints(p, matrix->M);
  return Ok;
}

GpStatus GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, const GpMatrix* matrix, const GpPen* pen) {
  GpPath* p = P(path);
  if (!p || !bounds || (matrix && !Alive(matrix, TKind::Matrix)) || (pen && !Alive(pen, TKind::Pen)))
    return InvalidParameter;
  if (p->Points.empty()) {
    *bounds = {};
    return Ok;
  }
  QPainterPath q = p->ToQt();
  if (pen) q = q.united(Outline(pen, q));
  if (matrix) q = matrix->M.map(q);
  QRectF r = q.boundingRect();
  *bounds = {REAL(r.x()), REAL(r.y()), REAL(r.width()), REAL(r.height())};
  return Ok;
}

GpStatus GdipGetPathWorldBoundsI(GpPath* path, GpRect* bounds, const GpMatrix* matrix, const GpPen* pen) {
  if (!bounds) return InvalidParameter;
  GpRectF r;
  GpStatus s = GdipGetPathWorldBounds(path, &r, matrix, pen);
  if (s != Ok) return s;
  // Integer bounds cover the float ones.
  INT x = INT(std::floor(r.X)), y = INT(std::floor(r.Y));
  *bounds = {x, y, INT(std::ceil(r.X + r.Width)) - x, INT(std::ceil(r.Y + r.Height)) - y};
  return Ok;
}

GpStatus GdipIsVisiblePathPoint(GpPath* path, REAL x, REAL y, GpGraphics* graphics, BOOL* result) {
  GpPath* p = P(path);
  if (!p || !result || (graphics && !Alive(graphics, TKind::Graphics))) return InvalidParameter;
  *result = p->ToQt().contains(QPointF(x, y)) ? TRUE : FALSE;
  return Ok;
}

GpStatus GdipIsVisiblePathPointI(GpPath* path, INT x, INT y, GpGraphics* graphics, BOOL* result) {
  return GdipIsVisiblePathPoint(path, REAL(x), REAL(y), graphics, result);
}

GpStatus GdipIsOutlineVisiblePathPoint(GpPath* path, REAL x, REAL y, GpPen* pen, GpGraphics* graphics, BOOL* result) {
  GpPath* p = P(path);
  if (!p || !result || !Alive(pen, TKind::Pen) || (graphics && !Alive(graphics, TKind::Graphics)))
    return InvalidParameter;
  QPainterPath o = Outline(pen, p->ToQt());
  o.setFillRule(Qt::WindingFill);
  *result = o.contains(QPointF(x, y)) ? TRUE : FALSE;
  return Ok;
}

GpStatus GdipIsOutlineVisiblePathPointI(GpPath* path, INT x, INT y, GpPen* pen, GpGraphics* graphics, BOOL* result) {
  return GdipIsOutlineVisiblePathPoint(path, REAL(x), REAL(y), pen, graphics, result);
}
