// The painting routines: rectangles, gradient rows and clipped joins, lines
// with fading ends, the background picture, and shortcut names.
#include "menus/MenuPaint.h"
#include "platform/vcl/Canvas.h"
#include "platform/vcl/PngImage.h"
#include "tests/menus/MenuFixture.h"

namespace {

TColor Px(TBitmap& b, int x, int y) { return b.Canvas()->Pixels(x, y); }

std::unique_ptr<TBitmap> WhiteBitmap(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect(TRect{0, 0, w, h});
  return b;
}

TEST_F(MenuTest, CenterRectAndColourParts) {
  struct Row {
    TRect In;
    Integer W, H;
    TRect Out;
  } rows[] = {{{0, 0, 10, 10}, 4, 4, {3, 3, 7, 7}}, {{0, 0, 10, 10}, 5, 5, {2, 2, 7, 7}},
              {{10, 20, 30, 24}, 6, 2, {17, 21, 23, 23}}};
  for (const Row& r : rows) {
    TRect x = r.In;
    CenterRect(x, r.W, r.H);
    EXPECT_EQ(x, r.Out);
  }
  EXPECT_EQ(MakeRGB(1, 2, 3), TColor(0x00030201));
  EXPECT_EQ(MakeRGB(257, -1, 0), TColor(0x0000FF01));
  Byte r, g, b;
  ColorToRGBParts(0x00ABCDEF, r, g, b);
  EXPECT_EQ(r, 0xEF);
  EXPECT_EQ(g, 0xCD);
  EXPECT_EQ(b, 0xAB);
  EXPECT_EQ(BitmapRect(nullptr), (TRect{0, 0, 0, 0}));
  EXPECT_EQ(RectWidth(TRect{2, 3, 9, 4}), 7);
}

// The rows of a vertical gradient stop one step short of the end colour, on a
// canvas and in a bitmap's own pixels alike.
TEST_F(MenuTest, GradientRowsStopShortOfTheEndColour) {
  for (bool direct : {false, true}) {
    auto bOwned = WhiteBitmap(3, 4);
  TBitmap& b = *bOwned;
    DrawGradientRect(direct ? &b : nullptr, direct ? nullptr : b.Canvas(), TRect{0, 0, 3, 4}, 0x00000000, 0x00FFFFFF,
                     gdVertical);
    const Integer want[] = {0, 63, 127, 191};
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 3; ++x) {
        // Written pixels are read back from the rows (blue, green, red, 0).
        const auto* row = static_cast<const Byte*>(b.ScanLine(y));
        const TColor got = direct ? MakeRGB(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]) : Px(b, x, y);
        EXPECT_EQ(got, MakeRGB(want[y], want[y], want[y])) << direct << " " << x << "," << y;
      }
  }
  auto hOwned = WhiteBitmap(4, 2);
  TBitmap& h = *hOwned;
  DrawGradientRect(nullptr, h.Canvas(), TRect{0, 0, 4, 2}, 0x00000000, 0x000000FF, gdHorizontal);
  EXPECT_EQ(Px(h, 0, 1), TColor(0x00000000));
  EXPECT_EQ(Px(h, 3, 1), TColor(0x000000BF));
  // clNone as the end: a solid fill of the start colour.
  auto sOwned = WhiteBitmap(4, 4);
  TBitmap& s = *sOwned;
  DrawGradientRect(nullptr, s.Canvas(), TRect{1, 1, 3, 3}, 0x00123456, clNone, gdVertical);
  EXPECT_EQ(Px(s, 2, 2), TColor(0x00123456));
  EXPECT_EQ(Px(s, 0, 0), clWhite);
  EXPECT_EQ(Px(s, 3, 3), clWhite);
}

TEST_F(MenuTest, ClippedGradientPartsJoinIntoTheWholeGradient) {
  auto wholeOwned = WhiteBitmap(100, 2), partsOwned = WhiteBitmap(100, 2);
  TBitmap& whole = *wholeOwned;
  TBitmap& parts = *partsOwned;
  const TRect full{0, 0, 100, 2};
  DrawGradientRect(nullptr, whole.Canvas(), full, 0x00000000, 0x00C8C8C8, gdHorizontal);
  DrawGradientClip(nullptr, parts.Canvas(), full, 0x00000000, 0x00C8C8C8, gdHorizontal, TRect{0, 0, 50, 2});
  DrawGradientClip(nullptr, parts.Canvas(), full, 0x00000000, 0x00C8C8C8, gdHorizontal, TRect{50, 0, 100, 2});
  for (int x = 0; x < 100; ++x) EXPECT_EQ(Px(parts, x, 1), Px(whole, x, 1)) << x;
  // A clip beside the rectangle paints nothing.
  auto noneOwned = WhiteBitmap(10, 10);
  TBitmap& none = *noneOwned;
  DrawGradientClip(nullptr, none.Canvas(), TRect{0, 0, 5, 5}, 0, 0, gdVertical, TRect{5, 5, 10, 10});
  EXPECT_EQ(Px(none, 4, 4), clWhite);
  EXPECT_EQ(Px(none, 5, 5), clWhite);
}

TEST_F(MenuTest, MirrorBoxSplitsAtHalfHeightAndFramesUnlessNone) {
  auto bOwned = WhiteBitmap(10, 10);
  TBitmap& b = *bOwned;
  DrawMirrorBox(nullptr, b.Canvas(), TRect{0, 0, 10, 10}, 0x000000FF, clNone, 0x0000FF00, clNone, gdVertical,
                0x00FF0000, true);
  EXPECT_EQ(Px(b, 0, 0), TColor(0x00FF0000));  // frame
  EXPECT_EQ(Px(b, 5, 4), TColor(0x000000FF));  // upper half
  EXPECT_EQ(Px(b, 5, 5), TColor(0x0000FF00));  // lower half
  auto cOwned = WhiteBitmap(6, 6);
  TBitmap& c = *cOwned;
  DrawGradientBox(nullptr, c.Canvas(), TRect{0, 0, 6, 6}, 0x000000FF, clNone, gdVertical, clNone, false);
  EXPECT_EQ(Px(c, 3, 3), clWhite);  // no fill, no frame
}

TEST_F(MenuTest, GradientLinesFadeAtTheirEnds) {
  // The default separator: solid in its colour, two pixels short at each end.
  auto bOwned = WhiteBitmap(20, 1);
  TBitmap& b = *bOwned;
  DrawGradientLine(nullptr, b.Canvas(), TRect{0, 0, 20, 1}, 0x00336699, clNone, gdHorizontal, gtBoth, 0, 2);
  EXPECT_EQ(Px(b, 1, 0), clWhite);
  EXPECT_EQ(Px(b, 2, 0), TColor(0x00336699));
  EXPECT_EQ(Px(b, 17, 0), TColor(0x00336699));
  EXPECT_EQ(Px(b, 18, 0), clWhite);
  // Fading ends of 4 pixels each (gradient width 8, both ends) from black in the middle to blue outside.
  auto fOwned = WhiteBitmap(20, 1);
  TBitmap& f = *fOwned;
  DrawGradientLine(nullptr, f.Canvas(), TRect{0, 0, 20, 1}, 0x00000000, 0x00FF0000, gdHorizontal, gtBoth, 8, 0);
  EXPECT_EQ(Px(f, 0, 0), TColor(0x00FF0000));
  EXPECT_EQ(Px(f, 10, 0), TColor(0x00000000));
  EXPECT_EQ(Px(f, 16, 0), TColor(0x00000000));
  EXPECT_EQ(Px(f, 19, 0), TColor(0x00BF0000));
  // gtLeft: the fading part on the left, the rest in the end colour.
  auto lOwned = WhiteBitmap(10, 1);
  TBitmap& l = *lOwned;
  DrawGradientLine(nullptr, l.Canvas(), TRect{0, 0, 10, 1}, 0x00000000, 0x000000FF, gdHorizontal, gtLeft, 4, 0);
  EXPECT_EQ(Px(l, 0, 0), TColor(0x00000000));
  EXPECT_EQ(Px(l, 5, 0), TColor(0x000000FF));
  // Vertical, both ends: the width counts twice.
  auto vOwned = WhiteBitmap(1, 20);
  TBitmap& v = *vOwned;
  DrawGradientLine(nullptr, v.Canvas(), TRect{0, 0, 1, 20}, 0x00000000, 0x00FF0000, gdVertical, gtBoth, 4, 0);
  EXPECT_EQ(Px(v, 0, 0), TColor(0x00FF0000));
  EXPECT_EQ(Px(v, 0, 10), TColor(0x00000000));
}

TEST_F(MenuTest, TiledPngBackgroundIsNotOverpaintedByTheGradient) {
  TAdvMenuStyler s(nullptr);
  TBackground* bg = s.Background();
  TBitmap red(2, 2);
  red.Canvas()->Brush()->SetColor(0x000000FF);
  red.Canvas()->FillRect(TRect{0, 0, 2, 2});
  TPngImage png;
  png.Assign(&red);
  TPicture pic;
  pic.SetGraphic(&png);
  bg->SetImage(&pic);
  bg->SetPosition(bpTiled);
  bg->SetColor(0x0000FF00);
  auto bOwned = WhiteBitmap(6, 6);
  TBitmap& b = *bOwned;
  RenderBackground(b.Canvas(), TRect{0, 0, 6, 6}, bg, true);
  EXPECT_EQ(Px(b, 0, 0), TColor(0x000000FF));
  EXPECT_EQ(Px(b, 5, 5), TColor(0x000000FF));
  // Without a picture the gradient fills the area less the margins.
  bg->SetImage(nullptr);
  bg->SetMarginX(1);
  auto cOwned = WhiteBitmap(6, 6);
  TBitmap& c = *cOwned;
  RenderBackground(c.Canvas(), TRect{0, 0, 6, 6}, bg, true);
  EXPECT_EQ(Px(c, 0, 3), clWhite);
  EXPECT_EQ(Px(c, 1, 3), TColor(0x0000FF00));
}

TEST_F(MenuTest, ShortCutNamesUseTheKeyboardTableWhenInternational) {
  struct Row {
    TShortCut SC;
    bool Intl;
    const char16_t* Want;
  } rows[] = {
      {TShortCut(scCtrl | scShift | VK_F5), true, u"Ctrl+Shift+F5"},
      {TShortCut(scCtrl | scShift | VK_F5), false, u"Shift+Ctrl+F5"},
      {TShortCut(scAlt | scCtrl | scShift | 'O'), true, u"Alt+Ctrl+Shift+O"},
      {TShortCut(scCtrl | VK_DELETE), true, u"Ctrl+Delete"},
      {TShortCut(VK_PRIOR), true, u"Page up"},
      {TShortCut(VK_MULTIPLY), true, u"Num *"},
      {TShortCut(VK_F1 + 23), true, u"F24"},
      {TShortCut(scCtrl | 'O'), false, u"Ctrl+O"},
      {TShortCut(0x0200 | scCtrl | 'O'), false, u"Win+Ctrl+O"},
      {TShortCut(0), false, u""},
  };
  for (const Row& r : rows) EXPECT_EQ(ShortCutName(r.SC, r.Intl), r.Want) << r.SC;
  EXPECT_EQ(MenuKeyName(VK_RETURN), u"Enter");
  EXPECT_EQ(MenuKeyName(VK_BACK), u"Backspace");
}

}  // namespace
