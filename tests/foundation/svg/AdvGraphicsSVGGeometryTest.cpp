// SVG geometry: lengths, angles, transform lists, path data with every
// command, arcs, point lists and the view rectangle.
#include <gtest/gtest.h>

#include <cmath>

#include "foundation/graphics/AdvNamedColors.h"
#include "foundation/svg/AdvGraphicsSVGImport.h"

namespace {

using Doc = TAdvGraphicsSVGImport;

TPointF Map(const String& transform, TPointF p) { return MatrixTransformPoint(p, Doc::ParseTransform(&transform)); }

void ExpectPoint(TPointF actual, TPointF expected, const std::string& what) {
  EXPECT_NEAR(actual.X, expected.X, 1e-3) << what;
  EXPECT_NEAR(actual.Y, expected.Y, 1e-3) << what;
}

TEST(SVGGeometry, Lengths) {
  const std::pair<const char16_t*, Single> cases[] = {
      // 96 user units per inch.
      {u"12pt", 16}, {u"2in", 192}, {u"1cm", 37.795277f}, {u"10mm", 37.795277f}, {u"2pc", 32}, {u"5em", 5},
      {u"50%", 50},  {u"abc", 0},   {u"", 0},           {u"-1.5e1px", -15},  {u".5", 0.5f}, {u"1e39", 0}};
  for (const auto& [text, value] : cases)
    EXPECT_NEAR(Doc::ParseLength(text), value, 1e-4) << StringToUtf8(text);
}

TEST(SVGGeometry, Angles) {
  for (const char16_t* a : {u"1.5707963rad", u"100grad", u"90deg", u"90"})
    EXPECT_NEAR(Doc::ParseAngle(a), 1.5707963f, 1e-5) << StringToUtf8(a);
  EXPECT_EQ(Doc::ParseAngle(u"xdeg"), 0);
}

TEST(SVGGeometry, TransformLists) {
  struct Case {
    const char16_t* transform;
    TPointF in, out;
  };
  const Case cases[] = {
      // The last listed transform applies first.
      {u"translate(10,0) scale(2)", {1, 0}, {12, 0}},
      {u"scale(2) translate(10,0)", {1, 0}, {22, 0}},
      {u"translate(10,0),scale(2)", {1, 0}, {12, 0}},
      {u"translate(50,50) rotate(90)", {10, 0}, {50, 60}},
      {u"rotate(90 10 10)", {20, 10}, {10, 20}},
      {u"rotate(90)", {10, 0}, {0, 10}},
      {u"rotate()", {3, 4}, {3, 4}},
      {u"translate(5)", {0, 0}, {5, 0}},
      {u"scale(2)", {1, 1}, {2, 2}},
      {u"scale(2 3)", {1, 1}, {2, 3}},
      {u"matrix(1,0,0,1,5)", {1, 1}, {1, 1}},
      {u"matrix(1 0 0 1 5 6)", {1, 1}, {6, 7}},
      {u"skewX(45)", {0, 1}, {1, 1}},
      {u"skewY(45)", {1, 0}, {1, 1}},
      {u"bogus(3) translate(1 1)", {0, 0}, {1, 1}},
  };
  for (const Case& c : cases) ExpectPoint(Map(c.transform, c.in), c.out, StringToUtf8(c.transform));
  EXPECT_TRUE(IsMatrixEmpty(Doc::ParseTransform(nullptr)));
  const String skew = u"skewX(45)";
  EXPECT_NEAR(Doc::ParseTransform(&skew).m21, 1, 1e-6);
}

TEST(SVGGeometry, Tokenizer) {
  using V = std::vector<String>;
  EXPECT_EQ(Doc::ParsePathData(u"M1 2 3 4 5 6"), (V{u"M", u"1", u"2", u"L", u"3", u"4", u"L", u"5", u"6"}));
  EXPECT_EQ(Doc::ParsePathData(u"m1,2,3,4"), (V{u"m", u"1", u"2", u"l", u"3", u"4"}));
  EXPECT_EQ(Doc::ParsePathData(u"L10-20"), (V{u"L", u"10", u"-20"}));
  EXPECT_EQ(Doc::ParsePathData(u"L0.5.5"), (V{u"L", u"0.5", u".5"}));
  EXPECT_EQ(Doc::ParsePathData(u"L1e-2 3E+1"), (V{u"L", u"1e-2", u"3E+1"}));
  EXPECT_EQ(Doc::ParsePathData(u"H1 2 3"), (V{u"H", u"1", u"H", u"2", u"H", u"3"}));
  EXPECT_EQ(Doc::ParsePathData(u"Z 1 2"), (V{u"Z"}));
  // Arc flags without separators.
  EXPECT_EQ(Doc::ParsePathData(u"A5 5 0 0110 10"), (V{u"A", u"5", u"5", u"0", u"0", u"1", u"10", u"10"}));
  EXPECT_EQ(Doc::ParsePathData(u"a5,5,0,1,01.5,2"), (V{u"a", u"5", u"5", u"0", u"1", u"0", u"1.5", u"2"}));
}

class SVGPaths : public ::testing::Test {
 protected:
  void SetUp() override { InitializeNamedColors(); }
  TAdvGraphicsSVGElement* Path(const char* d) {
    doc.LoadFromText(Utf8ToString(std::string("<svg><path d=\"") + d + "\"/></svg>"));
    return doc.Elements().at(0).get();
  }
  static std::vector<TAdvGraphicsPathPoint> Points(TAdvGraphicsSVGElement* e, std::size_t path = 0) {
    return e->Paths().at(path)->PathData();
  }
  Doc doc;
};

TEST_F(SVGPaths, EveryCommand) {
  struct Case {
    const char* d;
    std::vector<TAdvGraphicsPathPointKind> kinds;
    TPointF last;
  };
  const Case cases[] = {
      {"M 0 0 L 10 0 10 10 Z", {gppMoveTo, gppLineTo, gppLineTo, gppClose}, {0, 0}},
      {"m 10 10 20 0", {gppMoveTo, gppLineTo}, {30, 10}},
      {"M1 1 H5 V7 h1 v1", {gppMoveTo, gppLineTo, gppLineTo, gppLineTo, gppLineTo}, {6, 8}},
      {"M0 0 C1 1 2 1 3 0 c1 1 2 1 3 0", {gppMoveTo, gppCurveTo, gppCurveTo, gppCurveTo, gppCurveTo,
                                          gppCurveTo, gppCurveTo}, {6, 0}},
      {"M0 0 Q5 5 10 0 T20 0 t10 0", {gppMoveTo, gppCurveTo, gppCurveTo, gppCurveTo, gppCurveTo, gppCurveTo,
                                      gppCurveTo, gppCurveTo, gppCurveTo, gppCurveTo}, {30, 0}},
      {"M0 0 S5 5 10 0 s5 5 10 0", {gppMoveTo, gppCurveTo, gppCurveTo, gppCurveTo, gppCurveTo, gppCurveTo,
                                    gppCurveTo}, {20, 0}},
  };
  for (const Case& c : cases) {
    TAdvGraphicsSVGElement* e = Path(c.d);
    ASSERT_TRUE(e->HasPaths()) << c.d;
    const auto pts = Points(e);
    ASSERT_EQ(pts.size(), c.kinds.size()) << c.d;
    for (std::size_t i = 0; i < pts.size(); ++i) EXPECT_EQ(pts[i].Kind, c.kinds[i]) << c.d << " #" << i;
    ExpectPoint(pts.back().Point, c.last, c.d);
  }
}

TEST_F(SVGPaths, SmoothCurvesReflectTheLastControl) {
  const auto pts = Points(Path("M0 0 C0 10 10 10 10 0 S20 -10 20 0"));
  // Second curve: first control = 2 * (10,0) - (10,10) = (10,-10).
  ExpectPoint(pts[4].Point, {10, -10}, "S reflection");
  // Quadratics become cubics with controls two thirds of the way to the
  // quadratic control; T reflects that control: (15, -10).
  const auto q = Points(Path("M0 0 Q6 9 12 0"));
  ExpectPoint(q[1].Point, {4, 6}, "first control of Q");
  ExpectPoint(q[2].Point, {8, 6}, "second control of Q");
  const auto t = Points(Path("M0 0 Q5 10 10 0 T20 0"));
  ExpectPoint(t[4].Point, {10 + 10.0f / 3, -20.0f / 3}, "T reflection");
  ExpectPoint(t[5].Point, {20 - 10.0f / 3, -20.0f / 3}, "T reflection, second control");
  // S after a quadratic and T after a cubic do not reflect.
  const auto sq = Points(Path("M0 0 Q5 10 10 0 S20 -10 20 0"));
  ExpectPoint(sq[4].Point, {10, 0}, "S after Q");
  const auto tc = Points(Path("M0 0 C0 10 10 10 10 0 T20 0"));
  ExpectPoint(tc[4].Point, {10, 0}, "T after C");
  // Without a previous curve the control is the current point.
  const auto s = Points(Path("M3 4 S5 5 6 0"));
  ExpectPoint(s[1].Point, {3, 4}, "S without curve");
}

TEST_F(SVGPaths, SubPathsAndRelativeClose) {
  TAdvGraphicsSVGElement* e = Path("M0 0 L10 0 Z m5 5 l1 0 M20 20 L30 30");
  ASSERT_EQ(e->Paths().size(), 3u);
  ExpectPoint(Points(e, 1)[0].Point, {5, 5}, "relative move after close");
  EXPECT_EQ(e->ActivePath(), e->Paths()[2].get());
  EXPECT_EQ(e->CombinedPath()->Count(), 7);
  // Commands before the first move change the state only.
  EXPECT_EQ(Path("L5 5 M1 1 l1 1")->Paths().size(), 1u);
}

TEST_F(SVGPaths, Arcs) {
  // A half circle of radius 10 from (0,0) to (20,0), sweeping through y = -10.
  TAdvGraphicsSVGElement* e = Path("M0 0 A10 10 0 0 1 20 0");
  const auto pts = Points(e);
  ExpectPoint(pts.back().Point, {20, 0}, "arc end");
  const TRectF b = e->Paths()[0]->GetBounds();
  EXPECT_NEAR(b.Top, -10, 0.05);
  EXPECT_NEAR(b.Bottom, 0, 0.05);
  // Equal ends: nothing; a zero radius: a straight line; radii too small are scaled up.
  EXPECT_EQ(Points(Path("M5 5 A3 3 0 0 1 5 5")).size(), 1u);
  const auto line = Points(Path("M0 0 A0 5 0 0 1 10 0"));
  ASSERT_EQ(line.back().Kind, gppLineTo);
  ExpectPoint(line.back().Point, {10, 0}, "zero radius");
  ExpectPoint(Points(Path("M0 0 A1 1 0 0 0 40 0")).back().Point, {40, 0}, "scaled radii");
  // Flags written without separators.
  ExpectPoint(Points(Path("M0 0 a10 10 0 0120 0")).back().Point, {20, 0}, "packed flags");
}

TEST_F(SVGPaths, PointLists) {
  doc.LoadFromText(u"<svg><polyline points='0,0 10-5 1e1,2e-1'/><polygon points='0 0 4 0 4 4'/>"
                   u"<polyline points='1 2 3 4 5'/></svg>");
  ASSERT_EQ(doc.ElementCount(), 3);
  const auto poly = Points(doc.Elements()[0].get());
  ASSERT_EQ(poly.size(), 3u);
  ExpectPoint(poly[1].Point, {10, -5}, "minus separates");
  ExpectPoint(poly[2].Point, {10, 0.2f}, "exponents kept");
  EXPECT_EQ(Points(doc.Elements()[1].get()).back().Kind, gppClose);
  // An odd last number is dropped: (1,2) to (3,4).
  const auto odd = Points(doc.Elements()[2].get());
  ASSERT_EQ(odd.size(), 2u);
  ExpectPoint(odd[1].Point, {3, 4}, "pairs before the odd number");
}

TEST(SVGViewRect, Rules) {
  InitializeNamedColors();
  struct Case {
    const char* svg;
    TRectF rect;
  };
  const Case cases[] = {
      {"<svg viewBox='0 0 24 24' width='48'><rect width='1' height='1'/></svg>", {0, 0, 24, 24}},
      {"<svg viewBox='10 10 20 20'><rect width='1' height='1'/></svg>", {10, 10, 30, 30}},
      {"<svg viewBox='0,0,16,8'><rect width='1' height='1'/></svg>", {0, 0, 16, 8}},
      {"<svg><rect x='5' y='5' width='10' height='10'/></svg>", {5, 5, 15, 15}},
      {"<svg width='40' height='100%'><rect width='1' height='1'/></svg>", {0, 0, 40, 100}},
      {"<svg viewBox='0 0 24'><circle cx='10' cy='10' r='5'/></svg>", {5, 5, 15, 15}},
      {"<svg><g transform='translate(10 20)'><rect width='4' height='4'/></g></svg>", {10, 20, 14, 24}},
      {"<svg><path d='M0 0 L8 8' transform='scale(2)'/></svg>", {0, 0, 16, 16}},
      {"<svg></svg>", {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Doc doc;
    doc.LoadFromText(Utf8ToString(c.svg));
    EXPECT_NEAR(doc.ViewRect.Left, c.rect.Left, 1e-3) << c.svg;
    EXPECT_NEAR(doc.ViewRect.Top, c.rect.Top, 1e-3) << c.svg;
    EXPECT_NEAR(doc.ViewRect.Right, c.rect.Right, 1e-3) << c.svg;
    EXPECT_NEAR(doc.ViewRect.Bottom, c.rect.Bottom, 1e-3) << c.svg;
  }
}

TEST(SVGElementMatrix, CombinesAncestorsUpToNonContainers) {
  InitializeNamedColors();
  Doc doc;
  doc.LoadFromText(u"<svg><g transform='translate(10 0)'><g><rect transform='scale(2)' width='1' height='1'/>"
                   u"</g></g></svg>");
  const TAdvGraphicsSVGElement* rect = doc.Elements()[0]->Elements()[0]->Elements()[0].get();
  ExpectPoint(MatrixTransformPoint({1, 1}, Doc::GetElementMatrix(rect)), {12, 2}, "own then parents");
  ExpectPoint(MatrixTransformPoint({1, 1}, Doc::GetParentMatrix(rect)), {11, 1}, "parents only");
}

}  // namespace
