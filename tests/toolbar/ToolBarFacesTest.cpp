// Button-face halves, group borders, the menu arrow and caption glyphs, by
// sampled pixels.
#include "toolbar/ToolBarFaces.h"

#include <gtest/gtest.h>

#include "DrawFixture.h"
#include "toolbar/shared/ToolBarShared.h"

using namespace toolbar;
using drawtest::Near;
using drawtest::Px;
using drawtest::Sheet;

using ToolBarFaces = drawtest::DrawTest;

// A half fills its rectangle by its own width and height, never to the
// right and bottom coordinates taken as sizes.
TEST_F(ToolBarFaces, ButtonHalfStaysInsideItsRectangle) {
  for (TGDIPGradient kind : {ggRadial, ggVertical, ggDiagonalForward, ggDiagonalBackward})
    for (bool upper : {true, false}) {
      SCOPED_TRACE(testing::Message() << "kind " << kind << " upper " << upper);
      auto b = Sheet(40, 40, clRed);
      toolbar::FillButtonHalf(b->Canvas(), nullptr, TRect(10, 10, 30, 30), 0xFF0000, 0xFF0000, kind, upper);
      EXPECT_EQ(Px(b.get(), 20, 20), TColor(0xFF0000));
      EXPECT_EQ(Px(b.get(), 11, 11), TColor(0xFF0000));
      EXPECT_EQ(Px(b.get(), 28, 28), TColor(0xFF0000));
      for (TPoint p : {TPoint(31, 20), TPoint(20, 31), TPoint(35, 35), TPoint(9, 9)})
        EXPECT_EQ(Px(b.get(), p.X, p.Y), clRed) << p.X << "," << p.Y;
    }
}

TEST_F(ToolBarFaces, VerticalGradientRunsDownAndNoneIsNotPainted) {
  auto b = Sheet(20, 40, clRed);
  FillVerticalGradient(nullptr, b->Canvas(), 0x000000, 0xFFFFFF, TRect(0, 0, 20, 40), true);
  EXPECT_TRUE(Near(Px(b.get(), 10, 1), 0x000000, 24));
  EXPECT_TRUE(Near(Px(b.get(), 10, 38), 0xFFFFFF, 24));
  EXPECT_LT(Px(b.get(), 10, 10) & 0xFF, Px(b.get(), 10, 30) & 0xFF);

  auto n = Sheet(20, 20, clRed);
  FillVerticalGradient(nullptr, n->Canvas(), clNone, clNone, TRect(0, 0, 20, 20), false);
  DrawMenuArrow(n->Canvas(), TPoint(5, 5), clNone, true, clNone);
  DrawCloseGlyph(n->Canvas(), TRect(0, 0, 20, 20), clNone, 1, ribbon::gsClassic);
  for (int y = 0; y < 20; y += 2)
    for (int x = 0; x < 20; x += 2) ASSERT_EQ(Px(n.get(), x, y), clRed) << x << "," << y;
}

// The inner button's left separator: light grey and shorter when not hot,
// full height and 5 % darker than the border when hot.
TEST_F(ToolBarFaces, MiddleBorderSeparatorFollowsHot) {
  struct Case {
    bool Hot;
    TColor AtRow1, AtRow15;
  };
  for (const Case& c : {Case{false, 0xFFFFFF, 0xE6E6E6}, Case{true, 0x7A7A7A, 0x7A7A7A}}) {
    auto b = Sheet(40, 30, 0xFFFFFF);
    {
      TGPGraphics g(b->Canvas()->Handle());
      toolbar::DrawMiddleButtonBorder(&g, 0x808080, 0, 0, 39, 29, 3, c.Hot);
    }
    EXPECT_EQ(Px(b.get(), 0, 1), c.AtRow1) << c.Hot;
    EXPECT_EQ(Px(b.get(), 0, 15), c.AtRow15) << c.Hot;
    EXPECT_EQ(Px(b.get(), 20, 0), TColor(0x808080));
    EXPECT_EQ(Px(b.get(), 20, 29), TColor(0x808080));
    EXPECT_EQ(Px(b.get(), 39, 15), TColor(0x7A7A7A));
  }
}

TEST_F(ToolBarFaces, LeftAndRightBordersRoundTheirOuterCorners) {
  auto b = Sheet(40, 30, 0xFFFFFF);
  {
    TGPGraphics g(b->Canvas()->Handle());
    toolbar::DrawLeftButtonBorder(&g, 0x808080, 0, 0, 39, 29, 3);
  }
  EXPECT_EQ(Px(b.get(), 0, 0), TColor(0xFFFFFF));    // rounded corner
  EXPECT_EQ(Px(b.get(), 0, 15), TColor(0x808080));
  EXPECT_EQ(Px(b.get(), 39, 0), TColor(0x7A7A7A));   // square, darker right edge
  auto r = Sheet(40, 30, 0xFFFFFF);
  {
    TGPGraphics g(r->Canvas()->Handle());
    toolbar::DrawRightButtonBorder(&g, 0x808080, 0, 0, 39, 29, 3, true);
  }
  EXPECT_EQ(Px(r.get(), 39, 0), TColor(0xFFFFFF));
  EXPECT_EQ(Px(r.get(), 39, 15), TColor(0x808080));
  EXPECT_EQ(Px(r.get(), 0, 15), TColor(0x7A7A7A));
}

TEST_F(ToolBarFaces, MenuArrowPixels) {
  auto b = Sheet(12, 12, 0xFFFFFF);
  DrawMenuArrow(b->Canvas(), TPoint(2, 2), 0x000000, true, 0x808080);
  for (TPoint p : {TPoint(2, 2), TPoint(6, 2), TPoint(3, 3), TPoint(5, 3), TPoint(4, 4)})
    EXPECT_EQ(Px(b.get(), p.X, p.Y), TColor(0x000000)) << p.X << "," << p.Y;
  for (TPoint p : {TPoint(2, 3), TPoint(6, 3), TPoint(3, 4), TPoint(5, 4), TPoint(4, 5)})
    EXPECT_EQ(Px(b.get(), p.X, p.Y), TColor(0x808080)) << p.X << "," << p.Y;
  EXPECT_EQ(Px(b.get(), 7, 2), TColor(0xFFFFFF));
}

// A 46 x 30 caption button at scale 1: 18-px cross a third of the free space
// in; the flat look draws a 10-px cross centred.
TEST_F(ToolBarFaces, CloseGlyphPlacement) {
  ASSERT_EQ(ToolBarDPIScale, 1.0f);
  auto b = Sheet(46, 30, 0xFFFFFF);
  DrawCloseGlyph(b->Canvas(), TRect(0, 0, 46, 30), 0x000000, 1, ribbon::gsClassic);
  for (TPoint p : {TPoint(9, 4), TPoint(18, 13), TPoint(26, 21), TPoint(9, 22), TPoint(26, 5)})
    EXPECT_EQ(Px(b.get(), p.X, p.Y), TColor(0x000000)) << p.X << "," << p.Y;
  EXPECT_EQ(Px(b.get(), 8, 3), TColor(0xFFFFFF));

  auto f = Sheet(46, 30, 0xFFFFFF);
  DrawCloseGlyph(f->Canvas(), TRect(0, 0, 46, 30), 0x000000, 2, ribbon::gsOffice2019);
  for (TPoint p : {TPoint(18, 10), TPoint(23, 15), TPoint(28, 20), TPoint(28, 10)})
    EXPECT_EQ(Px(f.get(), p.X, p.Y), TColor(0x000000)) << p.X << "," << p.Y;
  EXPECT_EQ(Px(f.get(), 9, 4), TColor(0xFFFFFF));
}

TEST_F(ToolBarFaces, UnscaledGlyphsSitAtFixedCorners) {
  auto m = Sheet(40, 30, 0xFFFFFF);
  DrawMinimizeGlyph(m->Canvas(), TRect(0, 0, 40, 30), 0x000000, false, ribbon::gsClassic);
  EXPECT_EQ(Px(m.get(), 0, 0), TColor(0x000000));
  EXPECT_EQ(Px(m.get(), 1, 5), TColor(0x000000));
  EXPECT_EQ(Px(m.get(), 0, 6), TColor(0xFFFFFF));

  auto x = Sheet(40, 30, 0xFFFFFF);
  DrawMaximizeGlyph(x->Canvas(), TRect(0, 0, 40, 30), 0x000000, false, ribbon::gsClassic);
  EXPECT_EQ(Px(x.get(), 32, 3), TColor(0x000000));  // R.Right - 8
  EXPECT_EQ(Px(x.get(), 27, 3), TColor(0x000000));  // R.Right - 13
  EXPECT_EQ(Px(x.get(), 29, 3), TColor(0xFFFFFF));  // inside the window
}

// Halves meet at the middle, the border follows the position, and a
// transparent face paints only its focus frame.
TEST_F(ToolBarFaces, VistaFaceHalvesBorderAndTransparency) {
  auto b = Sheet(40, 30, clRed);
  DrawVistaButtonFace(b->Canvas(), TRect(0, 0, 40, 30), 0x111111, 0x111111, 0x333333, 0x333333, 0x808080,
                      ggVertical, ggVertical, bpMiddle, false, false, true, true, true, false);
  EXPECT_EQ(Px(b.get(), 20, 5), TColor(0x111111));
  EXPECT_EQ(Px(b.get(), 20, 25), TColor(0x333333));
  EXPECT_EQ(Px(b.get(), 0, 15), TColor(0xE6E6E6));  // light separator of an inner button
  EXPECT_EQ(Px(b.get(), 39, 15), TColor(0x7A7A7A));

  auto t = Sheet(40, 30, clRed);
  DrawVistaButtonFace(t->Canvas(), TRect(0, 0, 40, 30), 0x111111, 0x111111, 0x333333, 0x333333, 0x808080,
                      ggVertical, ggVertical, bpStandalone, false, true, true, true, true, false);
  for (TPoint p : {TPoint(20, 5), TPoint(20, 25), TPoint(0, 15), TPoint(39, 15)})
    EXPECT_EQ(Px(t.get(), p.X, p.Y), clRed) << p.X << "," << p.Y;
  DrawVistaButtonFace(t->Canvas(), TRect(0, 0, 40, 30), 0x111111, 0x111111, 0x333333, 0x333333, 0x808080,
                      ggVertical, ggVertical, bpStandalone, false, true, true, true, true, true);
  EXPECT_NE(Px(t.get(), 1, 15), clRed);   // focus frame
  EXPECT_EQ(Px(t.get(), 20, 15), clRed);  // nothing inside
}
