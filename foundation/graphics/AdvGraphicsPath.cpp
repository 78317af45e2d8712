#include "foundation/graphics/AdvGraphicsPath.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"

namespace {

constexpr Single kPi = std::numbers::pi_v<Single>;
constexpr Single kTwoPi = 6.2831855f;

TPointF Add(const TPointF& a, const TPointF& b) { return {a.X + b.X, a.Y + b.Y}; }
TPointF Scale(const TPointF& a, Single f) { return {a.X * f, a.Y * f}; }

struct TBezierCoefficients {
  double ax, bx, cx, ay, by, cy;
};

TBezierCoefficients GetBezierCoefficients(const TAdvGraphicsPathCubicBezier& b) {
  TBezierCoefficients r;
  r.cx = 3.0 * (double(b[1].X) - b[0].X);
  r.bx = 3.0 * (double(b[2].X) - b[1].X) - r.cx;
  r.ax = double(b[3].X) - b[0].X - r.cx - r.bx;
  r.cy = 3.0 * (double(b[1].Y) - b[0].Y);
  r.by = 3.0 * (double(b[2].Y) - b[1].Y) - r.cy;
  r.ay = double(b[3].Y) - b[0].Y - r.cy - r.by;
  return r;
}

// Appends P unless it repeats the polygon's last point within 0.001.
void AppendPoint(TAdvGraphicsPathPolygon& APolygon, const TPointF& P) {
  if (!APolygon.empty()) {
    const TPointF& last = APolygon.back();
    if (std::fabs(last.X - P.X) < 0.001f && std::fabs(last.Y - P.Y) < 0.001f) return;
  }
  APolygon.push_back(P);
}

bool InRect(const TPointF& p, const TRectF& r) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }

// True when segments ab and cd share a point (touching counts).
bool SegmentsMeet(const TPointF& a, const TPointF& b, const TPointF& c, const TPointF& d) {
  auto cross = [](const TPointF& o, const TPointF& p, const TPointF& q) {
    return double(p.X - o.X) * (q.Y - o.Y) - double(p.Y - o.Y) * (q.X - o.X);
  };
  auto onSegment = [](const TPointF& p, const TPointF& q, const TPointF& r) {
    return std::min(p.X, q.X) <= r.X && r.X <= std::max(p.X, q.X) && std::min(p.Y, q.Y) <= r.Y &&
           r.Y <= std::max(p.Y, q.Y);
  };
  const double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
  return (d1 == 0 && onSegment(c, d, a)) || (d2 == 0 && onSegment(c, d, b)) || (d3 == 0 && onSegment(a, b, c)) ||
         (d4 == 0 && onSegment(a, b, d));
}

}  // namespace

Single WorkingFlatness(Single Flatness) { return Flatness > 0.05f ? Flatness : 0.05f; }

void TAdvGraphicsPath::Assign(TPersistent* Source) {
  if (auto* path = dynamic_cast<TAdvGraphicsPath*>(Source)) {
    if (path != this) FPoints = path->FPoints;
    return;
  }
  TPersistent::Assign(Source);
}

const TAdvGraphicsPathPoint& TAdvGraphicsPath::GetPoint(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) throw EArgumentOutOfRangeException(u"Argument out of range");
  return FPoints[std::size_t(AIndex)];
}

TPointF TAdvGraphicsPath::LastPoint() const { return FPoints.empty() ? TPointF{} : FPoints.back().Point; }

void TAdvGraphicsPath::MoveTo(const TPointF& P) {
  FPoints.push_back({gppMoveTo, false, P});
  FStartPoint = P;
}

void TAdvGraphicsPath::LineTo(const TPointF& P) {
  FPoints.push_back({gppLineTo, false, P});
  if (P == FStartPoint) FClippable = true;
}

void TAdvGraphicsPath::CurveTo(const TPointF& ControlPoint1, const TPointF& ControlPoint2, const TPointF& EndPoint) {
  FPoints.push_back({gppCurveTo, false, ControlPoint1});
  FPoints.push_back({gppCurveTo, false, ControlPoint2});
  FPoints.push_back({gppCurveTo, false, EndPoint});
}

void TAdvGraphicsPath::QuadCurveTo(const TPointF& ControlPoint, const TPointF& EndPoint) {
  const TPointF l = LastPoint();
  CurveTo(Add(Scale(l, 1.0f / 3), Scale(ControlPoint, 2.0f / 3)),
          Add(Scale(ControlPoint, 2.0f / 3), Scale(EndPoint, 1.0f / 3)), EndPoint);
}

void TAdvGraphicsPath::SmoothCurveTo(const TPointF& ControlPoint2, const TPointF& EndPoint) {
  TPointF c1 = ControlPoint2;
  if (Count() >= 3) {
    const TPointF l = LastPoint(), q = FPoints[FPoints.size() - 2].Point;
    c1 = {2 * l.X - q.X, 2 * l.Y - q.Y};
  }
  CurveTo(c1, ControlPoint2, EndPoint);
}

void TAdvGraphicsPath::ClosePath() {
  FPoints.push_back({gppClose, false, FStartPoint});
  FClippable = true;
}

void TAdvGraphicsPath::AddLine(const TPointF& StartPoint, const TPointF& EndPoint) {
  if (FPoints.empty())
    MoveTo(StartPoint);
  else
    LineTo(StartPoint);
  LineTo(EndPoint);
}

void TAdvGraphicsPath::AddPolygon(const TAdvGraphicsPathPolygon& APolygon) {
  for (const TPointF& p : APolygon) LineTo(p);
}

void TAdvGraphicsPath::AddPath(const TAdvGraphicsPath& APath) {
  const TAdvGraphicsPathPoints copy = APath.FPoints;  // the path may be this one
  FPoints.insert(FPoints.end(), copy.begin(), copy.end());
}

void TAdvGraphicsPath::AddEllipse(const TRectF& ARect) {
  const Single cx = (ARect.Left + ARect.Right) / 2, cy = (ARect.Top + ARect.Bottom) / 2;
  const Single rx = (ARect.Right - ARect.Left) / 2, ry = (ARect.Bottom - ARect.Top) / 2;
  const Single k = 0.5522848f, kx = rx * k, ky = ry * k;
  const Single l = ARect.Left, t = ARect.Top, r = ARect.Right, b = ARect.Bottom;
  MoveTo({l, cy});
  CurveTo({l, cy - ky}, {cx - kx, t}, {cx, t});
  CurveTo({cx + kx, t}, {r, cy - ky}, {r, cy});
  CurveTo({r, cy + ky}, {cx + kx, b}, {cx, b});
  CurveTo({cx - kx, b}, {l, cy + ky}, {l, cy});
  FClippable = true;
}

void TAdvGraphicsPath::AddRoundRectangle(const TRectF& ARect, Single rx, Single ry, TAdvGraphicsCorners C) {
  const Single L = ARect.Left, T = ARect.Top, R = ARect.Right, B = ARect.Bottom;
  const TPointF radius{rx, ry};
  if (C.Contains(gcBottomLeft)) {
    MoveTo({L + rx, B});
    AddArc({L + rx, B - ry}, radius, -270, 90);
    LineTo({L, B - ry});
  } else {
    MoveTo({L, B});
  }
  if (C.Contains(gcTopLeft)) {
    LineTo({L, T + ry});
    AddArc({L + rx, T + ry}, radius, -180, 90);
    LineTo({L + rx, T});
  } else {
    LineTo({L, T});
  }
  if (C.Contains(gcTopRight)) {
    LineTo({R - rx, T});
    AddArc({R - rx, T + ry}, radius, -90, 90);
    LineTo({R, T + ry});
  } else {
    LineTo({R, T});
  }
  if (C.Contains(gcBottomRight)) {
    LineTo({R, B - ry});
    AddArc({R - rx, B - ry}, radius, 0, 90);
    LineTo({R - rx, B});
  } else {
    LineTo({R, B});
  }
  LineTo(C.Contains(gcBottomLeft) ? TPointF{L + rx, B} : TPointF{L, B});
  ClosePath();
}

void TAdvGraphicsPath::AddRectangle(const TRectF& ARect, Single ARoundingX, Single ARoundingY) {
  if (ARoundingX != 0 || ARoundingY != 0) {
    AddRoundRectangle(ARect, ARoundingX, ARoundingY, AllGraphicsCorners);
  } else {
    MoveTo({ARect.Left, ARect.Top});
    LineTo({ARect.Right, ARect.Top});
    LineTo({ARect.Right, ARect.Bottom});
    LineTo({ARect.Left, ARect.Bottom});
    ClosePath();
  }
  FClippable = true;
}

void TAdvGraphicsPath::AddArcSegment(const TPointF& Center, const TPointF& Radius, Single StartAngle,
                                     Single SweepAngle, bool AConnect) {
  const double a = SweepAngle, c = std::cos(a / 2), s = std::sin(a / 2), k = 4 * (1 - c) / 3;
  const double phi = double(StartAngle) + a / 2, cp = std::cos(phi), sp = std::sin(phi);
  auto place = [&](double x, double y) {
    return TPointF{Single(Center.X + Radius.X * (x * cp - y * sp)), Single(Center.Y + Radius.Y * (x * sp + y * cp))};
  };
  const TPointF p0 = place(c, -s), p1 = place(c + k, -(s - c * k / s)), p2 = place(c + k, s - c * k / s),
                p3 = place(c, s);
  if (AConnect) {
    if (FPoints.empty())
      MoveTo(p0);
    else
      LineTo(p0);
  }
  CurveTo(p1, p2, p3);
}

void TAdvGraphicsPath::AddArc(const TPointF& Center, const TPointF& Radius, Single StartAngle, Single SweepAngle) {
  Single s = StartAngle * kPi / 180;
  s = s - kTwoPi * Single(std::trunc(s / kTwoPi));
  Single w = std::clamp(SweepAngle * kPi / 180, -kTwoPi, kTwoPi);
  if (std::fabs(w) < 1e-10) return;
  Single t = 0;
  bool first = true;
  // At most four quarter turns plus a remainder: the sweep is clamped.
  for (int guard = 0; guard < 8; ++guard) {
    Single segment;
    bool last;
    if (w > 0) {
      const Single boundary = t + kPi / 2;
      last = !(boundary < w - 0.01f);
      segment = last ? w - t : kPi / 2;
    } else {
      const Single boundary = t - kPi / 2;
      last = !(boundary > w + 0.01f);
      segment = last ? w - t : -kPi / 2;
    }
    AddArcSegment(Center, Radius, s + t, segment, first);
    first = false;
    t += segment;
    if (last) break;
  }
}

void TAdvGraphicsPath::ApplyMatrix(const TAdvGraphicsMatrix& AMatrix) {
  // Close points hold their figure's start, so they move with it.
  for (TAdvGraphicsPathPoint& p : FPoints) p.Point = p.Point * AMatrix;
  FStartPoint = FStartPoint * AMatrix;
}

TRectF TAdvGraphicsPath::GetBounds() const {
  if (FPoints.empty()) return {};
  constexpr Single inf = std::numeric_limits<Single>::infinity();
  Single minX = inf, minY = inf, maxX = -inf, maxY = -inf;
  for (const TAdvGraphicsPathPoint& p : FPoints) {
    if (p.Kind == gppClose) continue;
    minX = std::min(minX, p.Point.X);
    minY = std::min(minY, p.Point.Y);
    maxX = std::max(maxX, p.Point.X);
    maxY = std::max(maxY, p.Point.Y);
  }
  if (minX > maxX) return {};  // only close points
  TRectF r{minX, minY, maxX, maxY};
  if (std::fabs(r.Right - r.Left) <= 0.001f) r.Right = r.Left + 0.001f;
  if (std::fabs(r.Bottom - r.Top) <= 0.001f) r.Bottom = r.Top + 0.001f;
  return r;
}

TPointF TAdvGraphicsPath::PointOnBezier(const TPointF& StartPoint, double AX, double BX, double CX, double AY,
                                        double BY, double CY, double T) {
  const Single t2 = Single(T * T), t3 = Single(T * T * T);
  return {Single(AX * t3 + BX * t2 + CX * T + StartPoint.X), Single(AY * t3 + BY * t2 + CY * T + StartPoint.Y)};
}

void TAdvGraphicsPath::CreateBezier(const TAdvGraphicsPathCubicBezier& Bezier, Integer PointCount,
                                    TAdvGraphicsPathPolygon& Result) {
  if (PointCount <= 0) return;
  const TBezierCoefficients k = GetBezierCoefficients(Bezier);
  Result.resize(std::size_t(PointCount));
  // One sample is the start point; the step would divide by zero.
  const double dt = PointCount > 1 ? 1.0 / (PointCount - 1) : 0.0;
  double t = 0;
  for (Integer i = 0; i < PointCount; ++i) {
    Result[std::size_t(i)] = PointOnBezier(Bezier[0], k.ax, k.bx, k.cx, k.ay, k.by, k.cy, t);
    t += dt;
  }
}

Integer TAdvGraphicsPath::CurvePointCount(const TAdvGraphicsPathCubicBezier& Bezier, Single Flatness) {
  TAdvGraphicsPathPolygon samples;
  CreateBezier(Bezier, 6, samples);
  Single length = 0;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    const Single dx = samples[i].X - samples[i - 1].X, dy = samples[i].Y - samples[i - 1].Y;
    length += std::sqrt(dx * dx + dy * dy);
  }
  const double n = double(length) / WorkingFlatness(Flatness);
  // A non-finite or absurd length (hostile coordinates) gets a bounded count.
  if (!std::isfinite(n)) return 2;
  return Integer(Round(std::min(n, 100000.0)));
}

void TAdvGraphicsPath::Flatten(Single Flatness) {
  if (FPoints.empty()) return;
  const TAdvGraphicsPathPoints copy = FPoints;
  FPoints.clear();
  TPointF current;
  TAdvGraphicsPathPolygon samples;
  for (std::size_t i = 0; i < copy.size(); ++i) {
    const TAdvGraphicsPathPoint& p = copy[i];
    switch (p.Kind) {
      case gppMoveTo:
        MoveTo(p.Point);
        current = p.Point;
        break;
      case gppLineTo:
        LineTo(p.Point);
        current = p.Point;
        break;
      case gppCurveTo: {
        if (i + 2 >= copy.size()) {  // a truncated curve ends at its last point
          LineTo(copy.back().Point);
          current = copy.back().Point;
          i = copy.size();
          break;
        }
        const TAdvGraphicsPathCubicBezier b{current, p.Point, copy[i + 1].Point, copy[i + 2].Point};
        const Integer n = CurvePointCount(b, Flatness);
        if (n > 1) {
          CreateBezier(b, n, samples);
          for (const TPointF& s : samples) LineTo(s);
        } else {
          LineTo(b[3]);
        }
        current = b[3];
        i += 2;
        break;
      }
      case gppClose:
        ClosePath();
        break;
    }
  }
}

void TAdvGraphicsPath::FlattenToPolygon(TAdvGraphicsPathPolygon& Polygon, Single Flatness) const {
  Polygon.clear();
  if (FPoints.empty()) return;
  TPointF current, start;
  TAdvGraphicsPathPolygon samples;
  for (std::size_t i = 0; i < FPoints.size(); ++i) {
    const TAdvGraphicsPathPoint& p = FPoints[i];
    switch (p.Kind) {
      case gppMoveTo:
        AppendPoint(Polygon, p.Point);
        current = start = p.Point;
        break;
      case gppLineTo:
        AppendPoint(Polygon, p.Point);
        current = p.Point;
        break;
      case gppCurveTo: {
        if (i + 2 >= FPoints.size()) {
          AppendPoint(Polygon, FPoints.back().Point);
          i = FPoints.size();
          break;
        }
        const TAdvGraphicsPathCubicBezier b{current, p.Point, FPoints[i + 1].Point, FPoints[i + 2].Point};
        const Integer n = CurvePointCount(b, Flatness);
        if (n > 1) {
          CreateBezier(b, n, samples);
          for (const TPointF& s : samples) AppendPoint(Polygon, s);
        } else {
          AppendPoint(Polygon, current);
          AppendPoint(Polygon, b[3]);
        }
        current = b[3];
        i += 2;
        break;
      }
      case gppClose:
        AppendPoint(Polygon, start);
        break;
    }
  }
}

bool TAdvGraphicsPath::IsPointVisible(const TPointF& P) const {
  TAdvGraphicsPathPolygon polygon;
  FlattenToPolygon(polygon, 0.25f);
  return PathPointInPolygon(P, polygon);
}

bool TAdvGraphicsPath::IsRectVisible(const TRectF& R) const {
  TAdvGraphicsPathPolygon polygon;
  FlattenToPolygon(polygon, 0.25f);
  if (polygon.empty()) return false;
  if (AnyPointInRect(polygon, R)) return true;
  // A rectangle lying wholly inside the shape has no vertex of it, so its
  // corners and edges are tested as well.
  const TPointF corners[4] = {{R.Left, R.Top}, {R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}};
  for (const TPointF& c : corners)
    if (PathPointInPolygon(c, polygon)) return true;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const TPointF& a = polygon[i];
    const TPointF& b = polygon[(i + 1) % polygon.size()];
    for (int e = 0; e < 4; ++e)
      if (SegmentsMeet(a, b, corners[e], corners[(e + 1) % 4])) return true;
  }
  return false;
}

bool PathPointInPolygon(const TPointF& P, const TAdvGraphicsPathPolygon& APolygon) {
  if (APolygon.empty()) return false;
  Single minX = APolygon[0].X, maxX = minX, minY = APolygon[0].Y, maxY = minY;
  for (const TPointF& v : APolygon) {
    minX = std::min(minX, v.X);
    maxX = std::max(maxX, v.X);
    minY = std::min(minY, v.Y);
    maxY = std::max(maxY, v.Y);
  }
  if (P.X < minX || P.X > maxX || P.Y < minY || P.Y > maxY) return false;
  bool inside = false;
  const std::size_t n = APolygon.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const TPointF& vi = APolygon[i];
    const TPointF& vj = APolygon[j];
    if (vi.Y == vj.Y) continue;
    if ((vi.Y > P.Y) != (vj.Y > P.Y) && P.X < vi.X + (P.Y - vi.Y) * (vj.X - vi.X) / (vj.Y - vi.Y)) inside = !inside;
  }
  return inside;
}

bool AnyPointInRect(const TAdvGraphicsPathPolygon& APolygon, const TRectF& R) {
  return std::any_of(APolygon.begin(), APolygon.end(), [&R](const TPointF& p) { return InRect(p, R); });
}
