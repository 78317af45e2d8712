// Button-face halves, group borders, the menu arrow and caption glyphs, by
// sampled pixels.
#include "toolbar/ToolBarFaces.h"

#include <gtest/gtest.h>

#include "DrawFixture.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/ImgList.h"
#include "toolbar/ToolBarText.h"
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

namespace {

// A 16 x 16 list holding one image: red, white at the corners.
std::unique_ptr<TImageList> FaceImages() {
  auto list = std::make_unique<TImageList>(nullptr, 16, 16);
  auto image = Sheet(16, 16, 0xFFFFFF);
  image->Canvas()->Brush()->SetColor(clRed);
  image->Canvas()->FillRect(TRect(2, 2, 14, 14));
  list->Add(image.get(), nullptr);
  return list;
}

// The glow face with no content, the arguments the pager passes.
void PlainGlowFace(TBitmap* b, const TRect& R, TColor C, TColor CTo, TColor M, TColor MTo, TColor Border,
                   TGDIPGradient G, TGDIPGradient GM, bool Rounded = false, bool Focused = false) {
  DrawGlowFace(b->Canvas(), R, C, CTo, M, MTo, Border, G, GM, Rounded, Focused, true, gdiplus::aaClearType, nullptr,
               u"");
}

class ToolBarFacesScaled : public drawtest::DrawTest, public testing::WithParamInterface<Integer> {
 protected:
  void SetUp() override {
    drawtest::DrawTest::SetUp();
    UpdateToolBarDPIScale(GetParam());
  }
  void TearDown() override { UpdateToolBarDPIScale(96); }
};

}  // namespace

// Flat: one fill shifted a pixel left, so the square frame shows no left
// edge; nothing else is drawn.
TEST_F(ToolBarFaces, FlatGlowFaceHasNoVisibleLeftEdge) {
  auto b = Sheet(40, 20, 0xFFFFFF);
  PlainGlowFace(b.get(), TRect(0, 0, 30, 20), 0x00FF00, clNone, clNone, clNone, 0xFF0000, ggVertical, ggVertical);
  EXPECT_TRUE(Near(Px(b.get(), 0, 10), 0x00FF00, 8));
  EXPECT_TRUE(Near(Px(b.get(), 1, 10), 0x00FF00, 8));
  EXPECT_TRUE(Near(Px(b.get(), 29, 10), 0xFF0000, 60));  // right edge at width - 1
  EXPECT_TRUE(Near(Px(b.get(), 15, 0), 0xFF0000, 60));   // top edge
  EXPECT_TRUE(Near(Px(b.get(), 15, 19), 0xFF0000, 60));  // bottom edge
  EXPECT_EQ(Px(b.get(), 32, 10), TColor(0xFFFFFF));
}

// Odd height 21: row 0 keeps the solid Color, the upper gradient runs from
// row 1; row 10 keeps the solid ColorMirror under a linear lower gradient
// that starts at row 11. Nothing lands below the face.
TEST_F(ToolBarFaces, GlowFaceOfOddHeightSplitsItsHalves) {
  auto b = Sheet(30, 24, clWhite);
  PlainGlowFace(b.get(), TRect(0, 0, 30, 21), 0x000080, 0x0000FF, 0x800000, 0xFF0000, clNone, ggVertical,
                ggVertical);
  EXPECT_EQ(Px(b.get(), 15, 0), TColor(0x000080));
  EXPECT_EQ(Px(b.get(), 15, 10), TColor(0x800000));
  EXPECT_EQ(Px(b.get(), 0, 5), TColor(0x000080));  // the gradients start one pixel in
  EXPECT_GT(Px(b.get(), 15, 9) & 0xFF, Px(b.get(), 15, 1) & 0xFF);              // upper runs to ColorTo
  EXPECT_GT((Px(b.get(), 15, 19) >> 16) & 0xFF, (Px(b.get(), 15, 11) >> 16) & 0xFF);  // lower too
  for (int x = 0; x < 30; x += 3)
    for (int y = 21; y < 24; ++y) ASSERT_EQ(Px(b.get(), x, y), clWhite) << x << "," << y;
}

// Every gradient kind stays inside its rectangle, also away from the origin,
// focus frame included; a gradient end in clNone takes the other end's
// colour instead of white.
TEST_F(ToolBarFaces, GlowFaceStaysInsideItsRectangle) {
  for (TGDIPGradient kind : {ggRadial, ggVertical, ggDiagonalForward, ggDiagonalBackward}) {
    SCOPED_TRACE(int(kind));
    auto b = Sheet(140, 60, clBlack);
    const TRect R(40, 10, 80, 40);
    PlainGlowFace(b.get(), R, 0x0000C0, clNone, 0xC00000, clNone, 0x00C000, kind, kind, true, true);
    EXPECT_FALSE(drawtest::InkOf(b.get(), TRect(80, 0, 140, 60), clBlack, 0).Any());
    EXPECT_FALSE(drawtest::InkOf(b.get(), TRect(0, 40, 140, 60), clBlack, 0).Any());
    EXPECT_FALSE(drawtest::InkOf(b.get(), TRect(0, 0, 40, 60), clBlack, 0).Any());
    int white = 0;
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x)
        if (Near(Px(b.get(), x, y), clWhite, 60)) ++white;
    EXPECT_EQ(white, 0);
    EXPECT_TRUE(Near(Px(b.get(), 60, 20), 0x0000C0, 8));
    EXPECT_TRUE(Near(Px(b.get(), 60, 32), 0xC00000, 8));
  }
}

// Caption centred in the face, grey when disabled; an image alone centred.
TEST_F(ToolBarFaces, GlowFaceCaptionAndImage) {
  TFont font;
  font.SetName(u"Tahoma");
  font.SetSize(10);
  font.SetColor(clBlack);
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    auto b = Sheet(100, 40, clWhite);
    DrawGlowFace(b->Canvas(), TRect(0, 0, 100, 40), 0xF0F0F0, 0xE0E0E0, 0xD0D0D0, 0xC0C0C0, clNone, ggVertical,
                 ggVertical, false, false, enabled, gdiplus::aaAntiAlias, &font, u"Caption");
    const auto ink = drawtest::InkOf(b.get(), TRect(1, 1, 99, 39), 0xD8D8D8, 50);
    ASSERT_TRUE(ink.Any());
    EXPECT_NEAR((ink.Left + ink.Right) / 2, 50, 3);
    EXPECT_NEAR((ink.Top + ink.Bottom) / 2, 20, 3);
    int black = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 100; ++x)
        if (Near(Px(b.get(), x, y), clBlack, 40)) ++black;
    if (enabled)
      EXPECT_GT(black, 10);
    else
      EXPECT_EQ(black, 0);
  }
  auto images = FaceImages();
  auto i = Sheet(40, 30, clWhite);
  DrawGlowButtonFace(i->Canvas(), TRect(0, 0, 40, 30), 0x808080, 0x808080, 0x808080, 0x808080, clNone, ggVertical,
                     ggVertical, false, false, true, gdiplus::aaAntiAlias, nullptr, u"", nullptr, images.get(), 0,
                     true, 0, false, false, false);
  // (40 - 16) / 2 = 12, (30 - 16) / 2 = 7.
  EXPECT_TRUE(Near(Px(i.get(), 14, 9), clRed, 8));
  EXPECT_TRUE(Near(Px(i.get(), 25, 20), clRed, 8));
  EXPECT_TRUE(Near(Px(i.get(), 12, 7), 0x808080, 8));  // the image's white corner left out
  EXPECT_TRUE(Near(Px(i.get(), 10, 15), 0x808080, 8));
}

// The drop-down part is 14 px (scaled) along the right, with its arrow in
// the middle and a split line in the border colour.
TEST_P(ToolBarFacesScaled, GlowFaceDropDownPart) {
  const Integer dd = Integer(Round(14 * ToolBarDPIScale));
  auto b = Sheet(60, 30, clWhite);
  DrawGlowButtonFace(b->Canvas(), TRect(0, 0, 60, 30), 0xF0F0F0, 0xF0F0F0, 0xF0F0F0, 0xF0F0F0, 0x0000FF, ggVertical,
                     ggVertical, false, false, true, gdiplus::aaAntiAlias, nullptr, u"", nullptr, nullptr, -1, true, 0,
                     true, true, false);
  const int left = 60 - dd, x = left + (dd - 5) / 2, y = (30 - 3) / 2 + 1;
  EXPECT_EQ(Px(b.get(), x, y), clBlack);
  EXPECT_EQ(Px(b.get(), x + 4, y), clBlack);
  EXPECT_EQ(Px(b.get(), x + 2, y + 2), clBlack);
  EXPECT_NE(Px(b.get(), x + 2, y + 3), clBlack);
  EXPECT_TRUE(Near(Px(b.get(), left, 15), 0x0000FF, 60));  // split line
  EXPECT_FALSE(Near(Px(b.get(), left - 3, 15), 0x0000FF, 60));

  auto d = Sheet(60, 30, clWhite);
  DrawGlowButtonFace(d->Canvas(), TRect(0, 0, 60, 30), 0xF0F0F0, 0xF0F0F0, 0xF0F0F0, 0xF0F0F0, 0x0000FF, ggVertical,
                     ggVertical, false, false, false, gdiplus::aaAntiAlias, nullptr, u"", nullptr, nullptr, -1, true, 0,
                     true, false, true);
  const int top = 30 - dd, xb = (60 - 5) / 2, yb = top + (dd - 3) / 2 + 1;
  EXPECT_EQ(Px(d.get(), xb, yb), TColor(0x808080));  // disabled arrow
  EXPECT_FALSE(Near(Px(d.get(), 30, top), 0x0000FF, 60));  // no split line
}

// The Vista face reports its content size and draws the smoothed arrow.
TEST_P(ToolBarFacesScaled, VistaFaceContentSizeAndArrow) {
  TFont font;
  font.SetName(u"Tahoma");
  font.SetSize(9);
  auto images = FaceImages();
  auto b = Sheet(80, 40, clRed);
  TPoint size{};
  DrawVistaButtonFace(b->Canvas(), TRect(0, 0, 80, 40), 0xE0E0E0, 0xE0E0E0, 0xD0D0D0, 0xD0D0D0, 0x808080, ggVertical,
                      ggVertical, bpStandalone, false, false, true, true, true, false, nullptr, u"", 2,
                      gdiplus::aaAntiAlias, nullptr, images.get(), 0, true, 0, true, false, false, size);
  EXPECT_EQ(size, TPoint(18, 16));
  const Integer dd = Integer(Round(14 * ToolBarDPIScale));
  const int x = 80 - dd + (dd - 5) / 2, y = (40 - 3) / 2 + 1;
  EXPECT_EQ(Px(b.get(), x, y), clBlack);
  EXPECT_EQ(Px(b.get(), x, y + 1), clWhite);  // smoothing pixel

  const Integer text = GetGlowTextWidth(b->Canvas(), u"Go", u"", gdiplus::aaAntiAlias, &font);
  DrawVistaButtonFace(b->Canvas(), TRect(0, 0, 80, 40), 0xE0E0E0, 0xE0E0E0, 0xD0D0D0, 0xD0D0D0, 0x808080, ggVertical,
                      ggVertical, bpStandalone, false, false, true, true, true, false, &font, u"Go", 2,
                      gdiplus::aaAntiAlias, nullptr, images.get(), 0, true, 0, false, false, false, size);
  EXPECT_EQ(size.X, text + 18 + 2);
  EXPECT_EQ(size.Y, 18);
}

INSTANTIATE_TEST_SUITE_P(At96And144, ToolBarFacesScaled, testing::Values(96, 144));
