// The vector path: builders, curve accuracy, bounds, flattening and hit tests.
#include <gtest/gtest.h>

#include <cmath>

#include "foundation/graphics/AdvGraphicsPath.h"
#include "platform/rtl/Exceptions.h"

namespace {

Single Distance(const TPointF& a, const TPointF& b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

// Points of a flattened path, which samples every curve.
TAdvGraphicsPathPolygon Flat(const TAdvGraphicsPath& path, Single flatness = 0.25f) {
  TAdvGraphicsPathPolygon polygon;
  path.FlattenToPolygon(polygon, flatness);
  return polygon;
}

TEST(AdvGraphicsPath, CurveBuilders) {
  TAdvGraphicsPath path;
  path.MoveTo({0, 0});
  path.QuadCurveTo({3, 3}, {6, 0});
  ASSERT_EQ(path.Count(), 4);
  EXPECT_EQ(path.GetPoint(1).Point, (TPointF{2, 2}));
  EXPECT_EQ(path.GetPoint(2).Point, (TPointF{4, 2}));
  EXPECT_EQ(path.GetPoint(3).Kind, gppCurveTo);
  // After a curve the smooth curve mirrors its second control point.
  path.SmoothCurveTo({10, 4}, {12, 0});
  EXPECT_EQ(path.GetPoint(4).Point, (TPointF{8, -2}));
  TAdvGraphicsPath shortPath;
  shortPath.MoveTo({0, 0});
  shortPath.SmoothCurveTo({5, 5}, {9, 0});
  EXPECT_EQ(shortPath.GetPoint(1).Point, (TPointF{5, 5}));
  EXPECT_EQ(shortPath.GetPoint(2).Point, (TPointF{5, 5}));
  EXPECT_THROW(path.GetPoint(path.Count()), EArgumentOutOfRangeException);
  EXPECT_THROW(path.GetPoint(-1), EArgumentOutOfRangeException);
}

TEST(AdvGraphicsPath, ClippableFigures) {
  TAdvGraphicsPath open;
  open.MoveTo({1, 1});
  open.LineTo({5, 1});
  EXPECT_FALSE(open.IsClippable());
  open.LineTo({1, 1});
  EXPECT_TRUE(open.IsClippable());
  TAdvGraphicsPath rect;
  rect.AddRectangle({0, 0, 10, 10});
  EXPECT_TRUE(rect.IsClippable());
  EXPECT_EQ(rect.Count(), 5);
  EXPECT_EQ(rect.GetPoint(4).Kind, gppClose);
  EXPECT_EQ(rect.GetPoint(4).Point, (TPointF{0, 0}));
}

// Arc segments stay on the ellipse: every flattened point within a small
// tolerance of it, and the segment count follows the sweep.
TEST(AdvGraphicsPath, ArcsAndEllipsesLieOnTheCurve) {
  struct Case {
    Single Start, Sweep;
    int Curves;
  };
  for (const Case& c : {Case{0, 360, 4}, Case{0, 400, 4}, Case{30, 100, 2}, Case{-45, -200, 3}, Case{0, 90, 1}}) {
    TAdvGraphicsPath path;
    path.AddArc({50, 40}, {30, 20}, c.Start, c.Sweep);
    EXPECT_EQ(path.Count(), 1 + 3 * c.Curves) << c.Sweep;
    for (const TPointF& p : Flat(path, 0.1f)) {
      const double u = (p.X - 50) / 30.0, v = (p.Y - 40) / 20.0;
      EXPECT_NEAR(std::sqrt(u * u + v * v), 1.0, 0.003) << c.Start << " " << c.Sweep;
    }
    // The arc starts at the start angle, clockwise on the screen.
    const double a = c.Start * std::numbers::pi / 180;
    EXPECT_NEAR(path.GetPoint(0).Point.X, 50 + 30 * std::cos(a), 1e-3);
    EXPECT_NEAR(path.GetPoint(0).Point.Y, 40 + 20 * std::sin(a), 1e-3);
  }
  TAdvGraphicsPath nothing;
  nothing.AddArc({0, 0}, {5, 5}, 10, 0);
  EXPECT_EQ(nothing.Count(), 0);

  TAdvGraphicsPath ellipse;
  ellipse.AddEllipse({10, 20, 110, 60});
  EXPECT_TRUE(ellipse.IsClippable());
  for (const TPointF& p : Flat(ellipse, 0.1f)) {
    const double u = (p.X - 60) / 50.0, v = (p.Y - 40) / 20.0;
    EXPECT_NEAR(std::sqrt(u * u + v * v), 1.0, 0.003);
  }
}

// The flattened curve stays within the flatness of the exact curve.
TEST(AdvGraphicsPath, FlatteningErrorWithinFlatness) {
  const TAdvGraphicsPathCubicBezier b{{{0, 0}, {30, 90}, {90, -60}, {120, 30}}};
  TAdvGraphicsPathPolygon exact;
  TAdvGraphicsPath::CreateBezier(b, 2000, exact);
  for (Single flatness : {1.0f, 0.25f, 0.0f}) {
    TAdvGraphicsPath path;
    path.MoveTo(b[0]);
    path.CurveTo(b[1], b[2], b[3]);
    path.Flatten(flatness);
    const TAdvGraphicsPathPolygon polygon = Flat(path);
    ASSERT_GT(polygon.size(), 2u);
    // Distance from each exact point to the polyline.
    double worst = 0;
    for (const TPointF& p : exact) {
      double best = 1e9;
      for (std::size_t i = 1; i < polygon.size(); ++i) {
        const TPointF a = polygon[i - 1], c = polygon[i];
        const double dx = c.X - a.X, dy = c.Y - a.Y, len = dx * dx + dy * dy;
        const double t = len > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len, 0.0, 1.0) : 0;
        best = std::min(best, std::hypot(a.X + t * dx - p.X, a.Y + t * dy - p.Y));
      }
      worst = std::max(worst, best);
    }
    EXPECT_LE(worst, std::max(flatness, 0.05f)) << flatness;
    for (int i = 0; i < path.Count(); ++i) EXPECT_NE(path.GetPoint(i).Kind, gppCurveTo);
  }
  // A short curve becomes one line to its end.
  TAdvGraphicsPath tiny;
  tiny.MoveTo({0, 0});
  tiny.CurveTo({0.01f, 0}, {0.02f, 0}, {0.03f, 0});
  EXPECT_EQ(Flat(tiny).size(), 2u);
}

TEST(AdvGraphicsPath, CreateBezierSamples) {
  const TAdvGraphicsPathCubicBezier b{{{0, 0}, {0, 10}, {10, 10}, {10, 0}}};
  TAdvGraphicsPathPolygon samples{{7, 7}};
  TAdvGraphicsPath::CreateBezier(b, 0, samples);
  EXPECT_EQ(samples.size(), 1u);  // untouched
  TAdvGraphicsPath::CreateBezier(b, 1, samples);
  ASSERT_EQ(samples.size(), 1u);
  EXPECT_EQ(samples[0], (TPointF{0, 0}));
  TAdvGraphicsPath::CreateBezier(b, 3, samples);
  ASSERT_EQ(samples.size(), 3u);
  EXPECT_NEAR(samples[1].X, 5, 1e-5);
  EXPECT_NEAR(samples[1].Y, 7.5, 1e-5);
  EXPECT_NEAR(Distance(samples[2], {10, 0}), 0, 1e-5);
}

TEST(AdvGraphicsPath, Bounds) {
  TAdvGraphicsPath empty;
  EXPECT_EQ(empty.GetBounds(), (TRectF{0, 0, 0, 0}));
  TAdvGraphicsPath single;
  single.MoveTo({5, 5});
  EXPECT_EQ(single.GetBounds(), (TRectF{5, 5, 5.001f, 5.001f}));
  // Coordinates beyond 65535 either way count.
  TAdvGraphicsPath big;
  big.MoveTo({-100000, 70000});
  big.LineTo({200000, 90000});
  big.ClosePath();
  EXPECT_EQ(big.GetBounds(), (TRectF{-100000, 70000, 200000, 90000}));
}

TEST(AdvGraphicsPath, ApplyMatrixMovesEveryPoint) {
  TAdvGraphicsPath path;
  path.MoveTo({1, 1});
  path.LineTo({5, 1});
  path.CurveTo({6, 2}, {6, 3}, {5, 4});
  path.ClosePath();
  path.ApplyMatrix(TAdvGraphicsMatrix::CreateTranslation(10, 20));
  EXPECT_EQ(path.GetPoint(0).Point, (TPointF{11, 21}));
  EXPECT_EQ(path.GetPoint(3).Point, (TPointF{16, 23}));
  EXPECT_EQ(path.GetPoint(5).Point, (TPointF{11, 21}));  // the close follows its figure
  path.ClosePath();                                       // and so does the start point
  EXPECT_EQ(path.GetPoint(6).Point, (TPointF{11, 21}));
}

TEST(AdvGraphicsPath, FlattenToPolygonDropsRepeats) {
  TAdvGraphicsPath path;
  path.MoveTo({3, 3});
  path.LineTo({3.0005f, 3});
  EXPECT_EQ(Flat(path).size(), 1u);
  TAdvGraphicsPath assigned;
  assigned.Assign(&path);
  EXPECT_EQ(assigned.Count(), 2);
  EXPECT_FALSE(assigned.IsClippable());
}

TEST(AdvGraphicsPath, HitTests) {
  TAdvGraphicsPath rect;
  rect.AddRectangle({0, 0, 10, 10});
  struct Case {
    TPointF P;
    bool Inside;
  };
  for (const Case& c : {Case{{0, 5}, true}, Case{{10, 5}, false}, Case{{5, 5}, true}, Case{{-1, 5}, false},
                        Case{{5, 11}, false}}) {
    EXPECT_EQ(rect.IsPointVisible(c.P), c.Inside) << c.P.X << "," << c.P.Y;
  }
  TAdvGraphicsPath circle;
  circle.AddEllipse({0, 0, 100, 100});
  EXPECT_TRUE(circle.IsPointVisible({50, 50}));
  EXPECT_FALSE(circle.IsPointVisible({3, 3}));  // inside the box, outside the circle

  struct RectCase {
    TRectF R;
    bool Visible;
  };
  for (const RectCase& c : {RectCase{{40, 40, 60, 60}, true},     // wholly inside: no vertex in it
                            RectCase{{-10, -10, 5, 5}, false},    // the box corner outside the circle
                            RectCase{{-10, 40, 5, 60}, true},     // across the left edge
                            RectCase{{-10, -10, 110, 110}, true}, // around it
                            RectCase{{200, 200, 210, 210}, false}}) {
    EXPECT_EQ(circle.IsRectVisible(c.R), c.Visible) << c.R.Left << "," << c.R.Top;
  }
  EXPECT_FALSE(PathPointInPolygon({0, 0}, {}));
  EXPECT_FALSE(AnyPointInRect({}, {0, 0, 10, 10}));
  EXPECT_TRUE(AnyPointInRect({{0, 0}}, {0, 0, 10, 10}));
  EXPECT_FALSE(AnyPointInRect({{10, 0}}, {0, 0, 10, 10}));
}

TEST(AdvGraphicsPath, RoundedRectangleOutline) {
  TAdvGraphicsPath path;
  path.AddRoundRectangle({0, 0, 40, 20}, 5, 5, {gcTopLeft});
  const TRectF bounds = path.GetBounds();
  EXPECT_NEAR(bounds.Left, 0, 1e-4);
  EXPECT_NEAR(bounds.Top, 0, 1e-4);
  EXPECT_NEAR(bounds.Right, 40, 1e-4);
  EXPECT_NEAR(bounds.Bottom, 20, 1e-4);
  // Only the rounded corner is cut.
  EXPECT_FALSE(path.IsPointVisible({0.5f, 0.5f}));
  EXPECT_TRUE(path.IsPointVisible({39.5f, 0.5f}));
  EXPECT_TRUE(path.IsPointVisible({0.5f, 19.5f}));
  TAdvGraphicsPath all;
  all.AddRectangle({0, 0, 40, 20}, 5, 5);
  EXPECT_FALSE(all.IsPointVisible({39.5f, 0.5f}));
  EXPECT_TRUE(all.IsClippable());
}

}  // namespace
