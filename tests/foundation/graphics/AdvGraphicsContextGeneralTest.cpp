// The GDI drawing context on a bitmap's canvas: band gradients pixel by
// pixel, clipping, the special pen and the operations GDI cannot carry.
#include <gtest/gtest.h>

#include "foundation/graphics/AdvGraphics.h"
#include "foundation/graphics/AdvGraphicsContextGeneral.h"
#include "platform/rtl/Math.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"

namespace {

constexpr TColor kPaper = 0x00FE01;  // a colour no drawing here uses

class AdvGraphicsContextGeneralTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    Bitmap = std::make_unique<TBitmap>(120, 60);
    Clear();
    Graphics = std::make_unique<TAdvGraphics>(Bitmap->Canvas(), false);
    Context = Graphics->Context();
  }
  // Paper everywhere; the canvas brush (the context's fill) is kept.
  void Clear() {
    TBrush* brush = Bitmap->Canvas()->Brush();
    const TColor color = brush->Color();
    const TBrushStyle style = brush->Style();
    brush->SetColor(kPaper);
    brush->SetStyle(bsSolid);
    Bitmap->Canvas()->FillRect({0, 0, Bitmap->Width(), Bitmap->Height()});
    brush->SetColor(color);
    brush->SetStyle(style);
  }
  // Whether any pixel of r differs from the paper.
  bool InkIn(const TRect& r) {
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (Px(x, y) != kPaper) return true;
    return false;
  }
  TColor Px(int x, int y) { return Bitmap->Canvas()->Pixels(x, y); }

  std::unique_ptr<TBitmap> Bitmap;
  std::unique_ptr<TAdvGraphics> Graphics;
  TAdvGraphicsContext* Context = nullptr;
};

TEST_F(AdvGraphicsContextGeneralTest, HorizontalGradientIsOnePixelBands) {
  TAdvGraphicsFill fill(gfkGradient, RGBToColor(0, 0, 0), RGBToColor(200, 100, 0));
  fill.SetOrientation(gfoHorizontal);
  Context->SetFill(&fill);
  Context->FillRect(&fill, {10, 5, 110, 15});
  for (int i = 0; i < 100; ++i) {
    const TColor expected = RGBToColor(Byte(Round(i * 2.0)), Byte(Round(i * 1.0)), 0);
    EXPECT_EQ(Px(10 + i, 5), expected) << i;
    EXPECT_EQ(Px(10 + i, 14), expected) << i;
  }
  EXPECT_EQ(Px(9, 5), kPaper);
  EXPECT_EQ(Px(110, 5), kPaper);
  EXPECT_EQ(Px(50, 15), kPaper);
  // The canvas brush is as it was.
  EXPECT_EQ(Bitmap->Canvas()->Brush()->Color(), fill.Color());
  EXPECT_EQ(Bitmap->Canvas()->Brush()->Style(), bsSolid);
}

TEST_F(AdvGraphicsContextGeneralTest, MirrorAndCustomGradients) {
  TAdvGraphicsFill fill(gfkGradient, clRed, clRed, clBlue, clBlue);
  Context->FillRect(&fill, {0, 0, 10, 40});  // vertical halves
  EXPECT_EQ(Px(5, 0), clRed);
  EXPECT_EQ(Px(5, 19), clRed);
  EXPECT_EQ(Px(5, 20), clBlue);
  EXPECT_EQ(Px(5, 39), clBlue);
  fill.SetOrientation(gfoCustom);
  Context->FillRect(&fill, {20, 0, 30, 40});  // with mirror colours: nothing
  EXPECT_EQ(Px(25, 5), kPaper);
  fill.SetColorMirror(gcNull);
  Context->FillRect(&fill, {20, 0, 30, 40});  // without: vertical
  EXPECT_EQ(Px(25, 5), clRed);
}

TEST_F(AdvGraphicsContextGeneralTest, RoundedBandsShortenNearCorners) {
  TAdvGraphicsFill fill(gfkSolid, clNavy);
  Context->FillRoundRect(&fill, {0, 0, 40, 40}, 10, AllGraphicsCorners);
  // Vertical bands (rows): the first loses the full radius at both ends.
  EXPECT_EQ(Px(9, 0), kPaper);
  EXPECT_EQ(Px(10, 0), clNavy);
  EXPECT_EQ(Px(29, 0), clNavy);
  EXPECT_EQ(Px(30, 0), kPaper);
  EXPECT_EQ(Px(0, 20), clNavy);  // the middle rows are full width
  EXPECT_EQ(Px(2, 3), kPaper);
  EXPECT_EQ(Px(3, 3), clNavy);
  Clear();
  Context->FillRoundRect(&fill, {0, 0, 40, 40}, 10, {});
  EXPECT_EQ(Px(0, 0), clNavy);
  EXPECT_EQ(Px(39, 39), clNavy);
}

TEST_F(AdvGraphicsContextGeneralTest, BandCountIsNotLimitedTo16Bits) {
  // 65546 bands: a 16-bit counter would paint 10 bands with gaps between.
  Bitmap->SetSize(16384, 1);
  Clear();
  GDIGradientFill(Bitmap->Canvas(), clBlack, clWhite, true, {}, 0, {0, 0, 65546, 1});
  for (int x = 0; x < 16384; x += 7) ASSERT_NE(Px(x, 0), kPaper) << x;
  EXPECT_EQ(Px(0, 0), clBlack);
}

TEST_F(AdvGraphicsContextGeneralTest, ClippingNarrowsUntilRestored) {
  TAdvGraphicsFill fill(gfkSolid, clRed);
  Context->SetFill(&fill);
  TAdvGraphicsSaveState state;
  Context->SaveState(&state);
  Context->ClipRect({0, 0, 20, 20});
  Context->ResetClip();  // GDI cannot widen the clip
  Context->FillRect(&fill, {0, 0, 60, 60});
  Context->RestoreState(&state);
  EXPECT_EQ(Px(10, 10), clRed);
  EXPECT_EQ(Px(30, 30), kPaper);
  EXPECT_EQ(state.SaveDC(), 0);
  Context->FillRect(&fill, {0, 0, 60, 60});
  EXPECT_EQ(Px(30, 30), clRed);

  Clear();
  Context->SaveState(&state);
  TAdvGraphicsPath circle;
  circle.AddEllipse({70, 10, 110, 50});
  Context->ClipPath(&circle);  // clips to its bounding square
  Context->FillRect(&fill, {0, 0, 120, 60});
  Context->RestoreState(&state);
  EXPECT_EQ(Px(71, 11), clRed);  // a corner of the square, outside the circle
  EXPECT_EQ(Px(65, 30), kPaper);
}

TEST_F(AdvGraphicsContextGeneralTest, NoTransformsUnderGdi) {
  Context->SetMatrix(TAdvGraphicsMatrix::CreateRotation(1));
  EXPECT_EQ(Context->GetMatrix(), TAdvGraphicsMatrix::Identity());
  EXPECT_EQ(Context->SetTextAngle({1, 2, 3, 4}, 45), (TRectF{1, 2, 3, 4}));
  EXPECT_EQ(Context->NativeCanvas(), Bitmap->Canvas());
  EXPECT_EQ(Context->CreatePath(), nullptr);
}

TEST_F(AdvGraphicsContextGeneralTest, OutlinesAndArcs) {
  TAdvGraphicsStroke stroke(gskSolid, clBlue);
  Context->SetStroke(&stroke);
  Context->DrawRect(&stroke, {10, 10, 30, 20}, AllGraphicsSides);
  EXPECT_EQ(Px(10, 10), clBlue);
  EXPECT_EQ(Px(29, 19), clBlue);
  EXPECT_EQ(Px(20, 15), kPaper);
  // A positive sweep turns clockwise on the screen: 0 to 90 is the
  // lower-right quarter.
  Clear();
  Context->DrawArc(&stroke, {60, 30}, {20, 20}, 0, 90);
  EXPECT_TRUE(InkIn({62, 32, 80, 50}));
  EXPECT_FALSE(InkIn({40, 10, 58, 28}));
  EXPECT_FALSE(InkIn({40, 32, 58, 50}));
  // A negative sweep draws GDI's counter-clockwise complement: everything
  // but the upper-right quarter.
  Clear();
  Context->DrawArc(&stroke, {60, 30}, {20, 20}, 0, -90);
  EXPECT_FALSE(InkIn({62, 10, 80, 28}));
  EXPECT_TRUE(InkIn({40, 10, 58, 28}));
  EXPECT_TRUE(InkIn({62, 32, 80, 50}));
}

TEST_F(AdvGraphicsContextGeneralTest, FocusOutlineWhilePrintingKeepsThePen) {
  TAdvGraphicsStroke stroke(gskSolid, clBlue);
  stroke.SetWidth(3);
  Context->SetStroke(&stroke);
  Context->BeginPrinting();
  Context->DrawFocusRectangle(&stroke, {5, 5, 50, 40}, clRed);
  Context->EndPrinting();
  TPen* pen = Bitmap->Canvas()->Pen();
  EXPECT_EQ(pen->Style(), psSolid);
  EXPECT_EQ(pen->Width(), 3);
  EXPECT_EQ(pen->Color(), clRed);
  EXPECT_EQ(Px(5, 5), clRed);
  // On screen the special pen sets every other pixel.
  Clear();
  Context->DrawFocusRectangle(&stroke, {5, 5, 50, 40}, clGreen);
  int painted = 0;
  for (int x = 10; x < 40; ++x) painted += Px(x, 5) == clGreen;
  EXPECT_GE(painted, 13);
  EXPECT_LE(painted, 17);
}

TEST_F(AdvGraphicsContextGeneralTest, RotatedTextStartsAtTheTurnedCorner) {
  Bitmap->SetSize(120, 120);
  Clear();
  TAdvGraphicsFont font;
  font.SetColor(clBlack);
  Context->SetFont(&font);
  Context->DrawText(u"Hg", {0, 0, 20, 100}, false, gtaLeading, gtaLeading, gttNone, 90);
  // Reading downwards from (20, 0): the ink lies left of x = 20.
  bool ink = false;
  for (int x = 0; x < 20; ++x)
    for (int y = 0; y < 20; ++y) ink = ink || Px(x, y) != kPaper;
  EXPECT_TRUE(ink);
  for (int y = 0; y < 120; ++y) EXPECT_EQ(Px(25, y), kPaper);
}

}  // namespace
