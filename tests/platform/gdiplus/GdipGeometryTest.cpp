// Paths and regions: points and types, bounds, hit tests, flattening,
// widening, set operations and scans.
#include <vector>

#include "tests/platform/gdiplus/GdipFixture.h"

class GpPathTest : public GdiplusTest {
 protected:
  void SetUp() override {
    GdiplusTest::SetUp();
    ASSERT_EQ(GdipCreatePath(FillModeAlternate, &P), Ok);
  }
  void TearDown() override {
    GdipDeletePath(P);
    GdiplusTest::TearDown();
  }
  int Count() {
    INT n = -1;
    GdipGetPointCount(P, &n);
    return n;
  }
  std::vector<Byte> Types() {
    std::vector<Byte> t(std::size_t(std::max(1, Count())));
    GdipGetPathTypes(P, t.data(), INT(t.size()));
    t.resize(std::size_t(Count()));
    return t;
  }
  GpRectF Bounds(GpPen* pen = nullptr) {
    GpRectF b;
    GdipGetPathWorldBounds(P, &b, nullptr, pen);
    return b;
  }
  GpPath* P = nullptr;
};

TEST_F(GpPathTest, ShapesGivePointCountsTypesAndBounds) {
  struct Case {
    const char* name;
    GpStatus (*add)(GpPath*);
    int points;
    GpRectF bounds;
  };
  const Case cases[] = {
      {"ellipse", [](GpPath* p) { return GdipAddPathEllipse(p, 10, 20, 40, 20); }, 13, {10, 20, 40, 20}},
      {"rectangle", [](GpPath* p) { return GdipAddPathRectangle(p, 1, 2, 3, 4); }, 4, {1, 2, 3, 4}},
      {"quarter arc", [](GpPath* p) { return GdipAddPathArc(p, 0, 0, 20, 20, 0, 90); }, 4, {10, 10, 10, 10}},
      {"pie", [](GpPath* p) { return GdipAddPathPie(p, 0, 0, 20, 20, 0, 90); }, 5, {10, 10, 10, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GdipResetPath(P);
    ASSERT_EQ(c.add(P), Ok);
    EXPECT_EQ(Count(), c.points);
    GpRectF b = Bounds();
    EXPECT_NEAR(b.X, c.bounds.X, 0.01);
    EXPECT_NEAR(b.Y, c.bounds.Y, 0.01);
    EXPECT_NEAR(b.Width, c.bounds.Width, 0.01);
    EXPECT_NEAR(b.Height, c.bounds.Height, 0.01);
  }
  GdipResetPath(P);
  GdipAddPathEllipse(P, 0, 0, 10, 10);
  auto t = Types();
  EXPECT_EQ(t.front(), PathPointTypeStart);
  EXPECT_EQ(t[1], PathPointTypeBezier);
  EXPECT_EQ(t.back(), PathPointTypeBezier | PathPointTypeCloseSubpath);
}

TEST_F(GpPathTest, LinesJoinOpenFiguresAndCloseStartsAnew) {
  GdipAddPathLine(P, 0, 0, 10, 0);
  GdipAddPathLine(P, 10, 0, 10, 10);  // continues from the last point
  GdipAddPathLine(P, 20, 20, 30, 20);  // connected by a line
  EXPECT_EQ(Count(), 5);
  GdipClosePathFigure(P);
  GdipAddPathLine(P, 50, 50, 60, 60);
  auto t = Types();
  ASSERT_EQ(t.size(), 7u);
  EXPECT_TRUE(t[4] & PathPointTypeCloseSubpath);
  EXPECT_EQ(t[5], PathPointTypeStart);
  GpPointF last;
  GdipGetPathLastPoint(P, &last);
  EXPECT_EQ(last.X, 60);
  GdipReversePath(P);
  GpPointF pts[7];
  GdipGetPathPoints(P, pts, 7);
  EXPECT_EQ(pts[0].X, 60);
  EXPECT_EQ(Types()[0], PathPointTypeStart);
}

TEST_F(GpPathTest, BadArgumentsAreRefused) {
  GpPointF pts[4] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}};
  Byte badTypes[2] = {PathPointTypeLine, PathPointTypeLine};
  GpPath* q = nullptr;
  EXPECT_EQ(GdipCreatePath(GpFillMode(5), &q), InvalidParameter);
  EXPECT_EQ(GdipCreatePath2(pts, badTypes, 2, FillModeAlternate, &q), InvalidParameter);
  EXPECT_EQ(GdipAddPathBeziers(P, pts, 3), InvalidParameter);
  EXPECT_EQ(GdipAddPathPolygon(P, pts, 2), InvalidParameter);
  EXPECT_EQ(GdipAddPathLine2(P, nullptr, 2), InvalidParameter);
  EXPECT_EQ(GdipAddPathArc(P, 0, 0, -5, 5, 0, 90), InvalidParameter);
  EXPECT_EQ(GdipAddPathCurve3(P, pts, 4, 2, 2, 0.5f), InvalidParameter);
  GdipAddPathRectangle(P, 0, 0, 10, 10);
  Byte small[2];
  EXPECT_EQ(GdipGetPathTypes(P, small, 2), InsufficientBuffer);
  EXPECT_EQ(GdipGetPointCount(nullptr, nullptr), InvalidParameter);
  EXPECT_EQ(GdipTransformPath(P, nullptr), Ok) << "no matrix: nothing to do";
}

TEST_F(GpPathTest, HitTestsFollowTheFillModeAndThePen) {
  // Two nested squares: alternate leaves a hole, winding does not.
  GpPointF outer[4] = {{0, 0}, {30, 0}, {30, 30}, {0, 30}};
  GpPointF inner[4] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
  GdipAddPathPolygon(P, outer, 4);
  GdipAddPathPolygon(P, inner, 4);
  BOOL in = TRUE;
  GdipIsVisiblePathPoint(P, 15, 15, nullptr, &in);
  EXPECT_FALSE(in);
  GdipSetPathFillMode(P, FillModeWinding);
  GdipIsVisiblePathPoint(P, 15, 15, nullptr, &in);
  EXPECT_TRUE(in);
  GdipIsVisiblePathPoint(P, 40, 15, nullptr, &in);
  EXPECT_FALSE(in);
  GpPen* pen = nullptr;
  GdipCreatePen1(0xff000000, 4, UnitWorld, &pen);
  GdipIsOutlineVisiblePathPoint(P, 31.5f, 15, pen, nullptr, &in);
  EXPECT_TRUE(in);
  GdipIsOutlineVisiblePathPoint(P, 33, 15, pen, nullptr, &in);
  EXPECT_FALSE(in);
  GpRectF b = Bounds(pen);
  EXPECT_NEAR(b.X, -2, 0.01) << "the pen widens the bounds by half its width";
  EXPECT_NEAR(b.Width, 34, 0.01);
  GdipDeletePen(pen);
}

TEST_F(GpPathTest, FlattenWidenAndWarp) {
  GdipAddPathEllipse(P, 0, 0, 100, 100);
  ASSERT_EQ(GdipFlattenPath(P, nullptr, 0.25f), Ok);
  int fine = Count();
  for (Byte t : Types()) EXPECT_NE(t & PathPointTypePathTypeMask, PathPointTypeBezier);
  GdipResetPath(P);
  GdipAddPathEllipse(P, 0, 0, 100, 100);
  GdipFlattenPath(P, nullptr, 5);
  EXPECT_LT(Count(), fine) << "a coarser flatness gives fewer points";
  EXPECT_GT(Count(), 8);
  // Widening a line by a 10-wide pen: a 10-high band.
  GdipResetPath(P);
  GdipAddPathLine(P, 0, 50, 100, 50);
  GpPen* pen = nullptr;
  GdipCreatePen1(0xff000000, 10, UnitWorld, &pen);
  ASSERT_EQ(GdipWidenPath(P, pen, nullptr, 0.25f), Ok);
  GpRectF b = Bounds();
  EXPECT_NEAR(b.Y, 45, 0.01);
  EXPECT_NEAR(b.Height, 10, 0.01);
  GdipDeletePen(pen);
  // Warp the unit square onto a shifted one.
  GdipResetPath(P);
  GdipAddPathRectangle(P, 0, 0, 1, 1);
  GpPointF dst[3] = {{10, 10}, {20, 10}, {10, 30}};
  ASSERT_EQ(GdipWarpPath(P, nullptr, dst, 3, 0, 0, 1, 1, WarpModeBilinear, 0.25f), Ok);
  b = Bounds();
  EXPECT_NEAR(b.X, 10, 1e-3);
  EXPECT_NEAR(b.Height, 20, 1e-3);
}

class GpRegionTest : public GdiplusTest {};

TEST_F(GpRegionTest, AnAlternatePathKeepsItsHoleAsRegionAndClip) {
  // A square with a square hole, filled alternately: the hole is outside.
  const GpPointF pts[] = {{0, 0}, {30, 0}, {30, 30}, {0, 30}, {10, 10}, {20, 10}, {20, 20}, {10, 20}};
  const Byte types[] = {PathPointTypeStart, PathPointTypeLine, PathPointTypeLine,
                        Byte(PathPointTypeLine | PathPointTypeCloseSubpath),
                        PathPointTypeStart, PathPointTypeLine, PathPointTypeLine,
                        Byte(PathPointTypeLine | PathPointTypeCloseSubpath)};
  GpPath* path = nullptr;
  ASSERT_EQ(GdipCreatePath2(pts, types, 8, FillModeAlternate, &path), Ok);
  GpRegion* region = nullptr;
  ASSERT_EQ(GdipCreateRegionPath(path, &region), Ok);
  BOOL inHole = TRUE, inRing = FALSE;
  GdipIsVisibleRegionPoint(region, 15, 15, nullptr, &inHole);
  GdipIsVisibleRegionPoint(region, 5, 5, nullptr, &inRing);
  EXPECT_FALSE(inHole);
  EXPECT_TRUE(inRing);
  // The same path as a clip: filling everything leaves the hole empty.
  GpCanvas c(32, 32);
  ASSERT_EQ(GdipSetClipPath(c.G, path, CombineModeIntersect), Ok);
  GpSolidFill* black = nullptr;
  GdipCreateSolidFill(0xff000000, &black);
  GdipFillRectangle(c.G, black, 0, 0, 32, 32);
  EXPECT_EQ(c.Px(15, 15), 0xffffffffu);
  EXPECT_EQ(c.Px(5, 5), 0xff000000u);
  GdipDeleteBrush(black);
  GdipDeleteRegion(region);
  GdipDeletePath(path);
}

TEST_F(GpRegionTest, CombineModesHitTestsAndScans) {
  GpCanvas c(50, 50);
  GpRectF a{0, 0, 20, 20}, b{10, 10, 20, 20};
  struct Case {
    GpCombineMode mode;
    bool at5, at15, at25;
  };
  const Case cases[] = {
      {CombineModeIntersect, false, true, false}, {CombineModeUnion, true, true, true},
      {CombineModeXor, true, false, true},        {CombineModeExclude, true, false, false},
      {CombineModeComplement, false, false, true}, {CombineModeReplace, false, true, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(int(k.mode));
    GpRegion* r = nullptr;
    GdipCreateRegionRect(&a, &r);
    ASSERT_EQ(GdipCombineRegionRect(r, &b, k.mode), Ok);
    BOOL v;
    GdipIsVisibleRegionPoint(r, 5, 5, nullptr, &v);
    EXPECT_EQ(bool(v), k.at5);
    GdipIsVisibleRegionPoint(r, 15, 15, nullptr, &v);
    EXPECT_EQ(bool(v), k.at15);
    GdipIsVisibleRegionPoint(r, 25, 25, nullptr, &v);
    EXPECT_EQ(bool(v), k.at25);
    GdipDeleteRegion(r);
  }
  GpRegion* r = nullptr;
  GdipCreateRegion(&r);
  BOOL inf = FALSE;
  GdipIsInfiniteRegion(r, c.G, &inf);
  EXPECT_TRUE(inf);
  GpRectF bounds;
  GdipGetRegionBounds(r, c.G, &bounds);
  EXPECT_EQ(bounds.X, -4194304.0f);
  GdipCombineRegionRect(r, &a, CombineModeIntersect);
  GdipCombineRegionRect(r, &b, CombineModeUnion);
  GpMatrix* id = nullptr;
  GdipCreateMatrix(&id);
  UINT n = 0;
  GdipGetRegionScansCount(r, &n, id);
  EXPECT_EQ(n, 3u) << "an L-shaped union is three bands";
  std::vector<GpRect> scans(n);
  INT got = 0;
  GdipGetRegionScansI(r, scans.data(), &got, id);
  EXPECT_EQ(got, 3);
  EXPECT_EQ(scans[0].Width, 20);
  // Data round trip keeps the shape.
  UINT size = 0;
  GdipGetRegionDataSize(r, &size);
  std::vector<Byte> data(size);
  GdipGetRegionData(r, data.data(), size, nullptr);
  GpRegion* copy = nullptr;
  ASSERT_EQ(GdipCreateRegionRgnData(data.data(), INT(size), &copy), Ok);
  BOOL eq = FALSE;
  GdipIsEqualRegion(r, copy, c.G, &eq);
  EXPECT_TRUE(eq);
  data[0] = 'X';
  GpRegion* bad = nullptr;
  EXPECT_EQ(GdipCreateRegionRgnData(data.data(), INT(size), &bad), InvalidParameter);
  EXPECT_EQ(GdipCombineRegionRect(r, &a, GpCombineMode(9)), InvalidParameter);
  EXPECT_EQ(GdipCreateRegionHrgn(nullptr, &bad), InvalidParameter);
  // To and from a GDI region.
  HRGN h = nullptr;
  ASSERT_EQ(GdipGetRegionHRgn(copy, c.G, &h), Ok);
  EXPECT_TRUE(PtInRegion(h, 25, 25));
  EXPECT_FALSE(PtInRegion(h, 25, 5));
  DeleteObject(h);
  GdipDeleteRegion(copy);
  GdipDeleteRegion(r);
  GdipDeleteMatrix(id);
}
