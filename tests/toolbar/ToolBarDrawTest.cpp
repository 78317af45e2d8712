// The toolbar unit's fills, gradients and outlines, by sampled pixels.
#include "toolbar/ToolBarDraw.h"

#include <gtest/gtest.h>

#include <vector>

#include "DrawFixture.h"
#include "foundation/gdiplus/LookFlags.h"
#include "foundation/gdiplus_runtime/GdiplusApi.h"
#include "foundation/gdiplus_runtime/GdiplusClasses.h"
#include "foundation/graphics/AdvNamedColors.h"
#include "foundation/svg/AdvGraphicsSVGImport.h"
#include "foundation/pictures/GDIPPicture.h"
#include "foundation/svg/AdvSVGBitmap.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/Streams.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/PngImage.h"
#include "toolbar/shared/ToolBarShared.h"

using namespace toolbar;
using drawtest::Near;
using drawtest::Px;
using drawtest::Sheet;

using ToolBarDraw = drawtest::DrawTest;

// The last band carries ToColor itself, the first FromColor; 0 steps is one
// band of FromColor.
TEST_F(ToolBarDraw, GradientRunsFromTheFirstColourToTheSecond) {
  auto b = Sheet(100, 10, clRed);
  toolbar::DrawGradient(b->Canvas(), 0x000000, 0xFFFFFF, 4, TRect(0, 0, 100, 10), true);
  EXPECT_EQ(Px(b.get(), 1, 5), TColor(0x000000));
  EXPECT_EQ(Px(b.get(), 40, 5), TColor(0x555555));  // band 1 of 3 intervals
  EXPECT_EQ(Px(b.get(), 98, 5), TColor(0xFFFFFF));
  EXPECT_EQ(Px(b.get(), 99, 5), TColor(0xFFFFFF));

  auto one = Sheet(20, 20, clRed);
  toolbar::DrawGradient(one->Canvas(), 0x00FF00, 0x0000FF, 0, TRect(0, 0, 20, 20), false);
  for (int y : {0, 10, 19}) EXPECT_EQ(Px(one.get(), 5, y), TColor(0x00FF00)) << y;
}

// Bands beyond 32767 px stay where they belong.
TEST_F(ToolBarDraw, GradientBandsDoNotWrapOnWideRectangles) {
  // A 70000-px band whose second half starts 35000 px in: the visible end
  // of the rectangle belongs to it.
  auto b = Sheet(50, 2, clRed);
  toolbar::DrawGradient(b->Canvas(), 0x000000, 0xFFFFFF, 2, TRect(-69950, 0, 50, 2), true);
  for (int x : {0, 25, 49}) EXPECT_EQ(Px(b.get(), x, 1), TColor(0xFFFFFF)) << x;
}

// clNone paints nothing; one clNone colour gives a solid fill of the other.
TEST_F(ToolBarDraw, NoneColoursNeverReachTheCanvas) {
  auto b = Sheet(30, 30, clRed);
  toolbar::DrawGradient(b->Canvas(), clNone, clNone, 10, TRect(0, 0, 30, 30), false);
  DrawRectOutline(nullptr, b->Canvas(), clNone, TRect(0, 0, 29, 29));
  DrawDropDownArrow(nullptr, b->Canvas(), clNone, TPoint(10, 10));
  DrawVistaGradient(b->Canvas(), TRect(0, 0, 30, 30), 15, clNone, clNone, clNone, clNone, clNone, 0);
  DrawColorLine(b->Canvas()->Handle(), clNone, 0, 15, 30, 0);
  DrawAlphaBox(b->Canvas()->Handle(), TRect(0, 0, 30, 30), clNone, clNone);
  for (int y = 0; y < 30; y += 3)
    for (int x = 0; x < 30; x += 3) ASSERT_EQ(Px(b.get(), x, y), clRed) << x << "," << y;

  toolbar::DrawGradient(b->Canvas(), clNone, 0x00FF00, 10, TRect(0, 0, 30, 30), false);
  EXPECT_EQ(Px(b.get(), 5, 0), TColor(0x00FF00));
  EXPECT_EQ(Px(b.get(), 5, 29), TColor(0x00FF00));
}

// Upper and lower parts, the "no mirror" rule and the border.
TEST_F(ToolBarDraw, VistaGradientPartsAndBorder) {
  auto b = Sheet(40, 40, clRed);
  DrawVistaGradient(b->Canvas(), TRect(0, 0, 40, 40), 19, 0x101010, clNone, 0x303030, clNone, 0x0000FF, 0);
  EXPECT_EQ(Px(b.get(), 20, 10), TColor(0x101010));
  EXPECT_EQ(Px(b.get(), 20, 30), TColor(0x303030));
  EXPECT_TRUE(Near(Px(b.get(), 0, 20), 0x0000FF, 40));   // left border
  EXPECT_TRUE(Near(Px(b.get(), 39, 20), 0x0000FF, 40));  // right border at width - 1

  auto whole = Sheet(40, 40, clRed);
  DrawVistaGradient(whole->Canvas(), TRect(0, 0, 40, 40), 10, 0x000000, 0xFFFFFF, clNone, clNone, clNone, 0);
  EXPECT_EQ(Px(whole.get(), 20, 0), TColor(0x000000));
  EXPECT_TRUE(Near(Px(whole.get(), 20, 38), 0xFFFFFF, 8));  // the gradient spans all 40 rows
}

// Translucent fills blend into what is below; the fade leaves the last 4 px.
TEST_F(ToolBarDraw, AlphaFillsBlendAndFade) {
  auto b = Sheet(100, 20, 0xFFFFFF);
  FillAlphaGradient(b->Canvas()->Handle(), TRect(0, 0, 100, 19), 0x000000, 0, 255);
  EXPECT_TRUE(Near(Px(b.get(), 50, 0), 0xFFFFFF, 20));
  EXPECT_TRUE(Near(Px(b.get(), 50, 19), 0x000000, 20));

  auto f = Sheet(100, 20, 0xFFFFFF);
  FillAlphaGradientFade(f->Canvas()->Handle(), TRect(0, 0, 100, 19), 0x000000, 255, 255);
  EXPECT_TRUE(Near(Px(f.get(), 30, 10), 0x000000, 8));
  EXPECT_LT(Px(f.get(), 61, 10) & 0xFF, Px(f.get(), 75, 10) & 0xFF);  // fading out
  for (int x = 96; x < 100; ++x) EXPECT_EQ(Px(f.get(), x, 10), TColor(0xFFFFFF)) << x;
}

TEST_F(ToolBarDraw, OutlineAndArrowPixels) {
  auto b = Sheet(20, 20, 0xFFFFFF);
  DrawRectOutline(nullptr, b->Canvas(), 0x0000FF, TRect(2, 2, 17, 17));
  EXPECT_TRUE(Near(Px(b.get(), 10, 2), 0x0000FF, 60));
  EXPECT_TRUE(Near(Px(b.get(), 17, 10), 0x0000FF, 60));
  EXPECT_EQ(Px(b.get(), 10, 10), TColor(0xFFFFFF));

  auto a = Sheet(20, 20, 0xFFFFFF);
  DrawDropDownArrow(nullptr, a->Canvas(), 0x000000, TPoint(5, 5));
  EXPECT_NE(Px(a.get(), 7, 5), TColor(0xFFFFFF));
  EXPECT_NE(Px(a.get(), 7, 6), TColor(0xFFFFFF));
  EXPECT_EQ(Px(a.get(), 7, 9), TColor(0xFFFFFF));
}

TEST_F(ToolBarDraw, BevelLineTakesWhiteFirstWhenRaised) {
  auto b = Sheet(20, 20, clRed);
  DrawBevelLine(b->Canvas(), TPoint(10, 2), TPoint(10, 15), true, true);
  EXPECT_EQ(Px(b.get(), 9, 8), TColor(0xFFFFFF));
  EXPECT_EQ(Px(b.get(), 11, 8), ColorToRGB(clBtnShadow));
  auto s = Sheet(20, 20, clRed);
  DrawBevelLine(s->Canvas(), TPoint(10, 2), TPoint(10, 15), true, false);
  EXPECT_EQ(Px(s.get(), 9, 8), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Px(s.get(), 11, 8), TColor(0xFFFFFF));
}

namespace {

// A 16 x 16 list holding one image: a red 10 x 10 square on white.
std::unique_ptr<TImageList> RedSquareList() {
  auto list = std::make_unique<TImageList>(nullptr, 16, 16);
  auto image = Sheet(16, 16, 0xFFFFFF);
  image->Canvas()->Brush()->SetColor(clRed);
  image->Canvas()->FillRect(TRect(3, 3, 13, 13));
  list->Add(image.get(), nullptr);
  return list;
}

// What the application was told while painting.
class ReportedFailures {
 public:
  ReportedFailures() {
    Application->OnException = [this](TObject*, Exception* e) { Messages.push_back(e->Message()); };
  }
  ~ReportedFailures() { Application->OnException = nullptr; }
  std::vector<String> Messages;
};

// A graphic from outside that declares a size beyond any sensible picture;
// it records whether anyone asked for its bytes.
class THugeGraphic : public TGraphic {
 public:
  bool Empty() const override { return false; }
  Integer Width() const override { return 16000; }
  Integer Height() const override { return 16000; }
  void Draw(TCanvas*, const TRect&) override {}
  void LoadFromBytes(const TBytes&) override {}
  void SaveToBytes(TBytes&) override { Saved = true; }
  void SaveToStream(TStream*) override { Saved = true; }
  bool Saved = false;
};

// The toolbar scale for one test; put back to 96 PPI afterwards.
class ToolBarDrawScaled : public drawtest::DrawTest, public testing::WithParamInterface<Integer> {
 protected:
  void SetUp() override {
    drawtest::DrawTest::SetUp();
    UpdateToolBarDPIScale(GetParam());
  }
  void TearDown() override {
    UpdateToolBarDPIScale(96);
    gdiplus::SetScenicRibbonFlag(false);
  }
};

}  // namespace

// The scenic frame's separators sit 22 px (scaled) in from the left and
// 3 px in from the right; the classic frame is an outline with curved ends.
TEST_P(ToolBarDrawScaled, QATFrameSeparatorsFollowTheScale) {
  gdiplus::SetScenicRibbonFlag(true);
  auto b = Sheet(120, 30, 0x808080);
  DrawQATFrame(b->Canvas()->Handle(), TRect(0, 0, 100, 30));
  const int x1 = int(Round(22 * ToolBarDPIScale));
  EXPECT_NE(Px(b.get(), x1, 15), TColor(0x808080));
  EXPECT_NE(Px(b.get(), 97, 15), TColor(0x808080));
  EXPECT_EQ(Px(b.get(), x1 + 4, 15), TColor(0x808080));
  EXPECT_EQ(Px(b.get(), x1, 3), TColor(0x808080));  // lines start 7 px down
  EXPECT_EQ(Px(b.get(), 50, 15), TColor(0x808080));

  gdiplus::SetScenicRibbonFlag(false);
  auto o = Sheet(120, 40, 0xFFFFFF);
  DrawQATFrame(o->Canvas()->Handle(), TRect(5, 5, 100, 30));
  EXPECT_NE(Px(o.get(), 50, 5), TColor(0xFFFFFF));   // top line
  EXPECT_NE(Px(o.get(), 50, 30), TColor(0xFFFFFF));  // bottom line
  EXPECT_EQ(Px(o.get(), 50, 17), TColor(0xFFFFFF));  // inside
  EXPECT_EQ(Px(o.get(), 110, 17), TColor(0xFFFFFF));
}

// Images keep their own size at every scale: the white corner colour is
// left out, the red square shows (greyed when disabled).
TEST_P(ToolBarDrawScaled, ImageListImageLeavesItsCornerColourOut) {
  auto list = RedSquareList();
  auto b = Sheet(60, 40, 0x808080);
  DrawImageListImage(nullptr, b->Canvas(), TPoint(10, 10), 0, true, list.get());
  EXPECT_TRUE(Near(Px(b.get(), 18, 18), clRed, 8));
  EXPECT_EQ(Px(b.get(), 11, 11), TColor(0x808080));  // white corner left out
  EXPECT_EQ(Px(b.get(), 27, 18), TColor(0x808080));
  EXPECT_EQ(Px(b.get(), 30, 18), TColor(0x808080));  // nothing beyond 16 px

  auto d = Sheet(60, 40, 0x808080);
  DrawImageListImage(nullptr, d->Canvas(), TPoint(10, 10), 0, false, list.get());
  const TColor grey = Px(d.get(), 18, 18);
  EXPECT_FALSE(Near(grey, clRed, 60)) << std::hex << grey;
  EXPECT_EQ(Px(d.get(), 11, 11), TColor(0x808080));
}

INSTANTIATE_TEST_SUITE_P(At96And144, ToolBarDrawScaled, testing::Values(96, 144));

// Nothing for a nil list, a negative or absent index, or no surface.
TEST_F(ToolBarDraw, ImageListImageIgnoresBadInput) {
  auto list = RedSquareList();
  auto b = Sheet(40, 40, 0x808080);
  DrawImageListImage(nullptr, b->Canvas(), TPoint(5, 5), 0, true, nullptr);
  DrawImageListImage(nullptr, b->Canvas(), TPoint(5, 5), -1, true, list.get());
  DrawImageListImage(nullptr, b->Canvas(), TPoint(5, 5), 1, true, list.get());
  DrawImageListImage(nullptr, nullptr, TPoint(5, 5), 0, true, list.get());
  EXPECT_FALSE(drawtest::InkOf(b.get(), TRect(0, 0, 40, 40), 0x808080, 0).Any());
}

// Sizes are checked before anything is allocated: an image list or a
// picture beyond the picture budget is reported once and drawn as nothing,
// and the paint that asked goes on.
TEST_F(ToolBarDraw, PicturesBeyondTheBudgetAreReportedNotThrown) {
  EnsureGuiApplication();
  ReportedFailures reported;
  auto b = Sheet(40, 40, 0x808080);
  TImageList huge(nullptr, 16384, 16384);
  EXPECT_NO_THROW(DrawImageListImage(nullptr, b->Canvas(), TPoint(0, 0), 0, true, &huge));
  THugeGraphic graphic;
  EXPECT_NO_THROW(DrawPicture(nullptr, b->Canvas(), TPoint(0, 0), true, &graphic));
  EXPECT_FALSE(graphic.Saved);
  ASSERT_EQ(reported.Messages.size(), 2u);
  for (const String& m : reported.Messages) EXPECT_EQ(m, u"Could not allocate memory for image");
  EXPECT_FALSE(drawtest::InkOf(b.get(), TRect(0, 0, 40, 40), 0x808080, 0).Any());

  // A PNG whose header claims 100000 x 100000 pixels: never decoded, nothing drawn.
  const Byte header[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                         0,    1,   0x86, 0xA0, 0, 1, 0x86, 0xA0, 8, 6, 0, 0, 0, 0, 0, 0, 0};
  TBytesStream stream(TBytes(std::begin(header), std::end(header)));
  TGDIPPicture claimed;
  claimed.LoadFromStream(&stream);
  EXPECT_NO_THROW(DrawPicture(nullptr, b->Canvas(), TPoint(0, 0), true, &claimed));
  EXPECT_NO_THROW(DrawPicture(nullptr, b->Canvas(), TPoint(0, 0), false, &claimed));
  EXPECT_FALSE(drawtest::InkOf(b.get(), TRect(0, 0, 40, 40), 0x808080, 0).Any());
}

// A transparent picture leaves out the colour of its top-left pixel; an
// opaque one draws every pixel; a PNG is never keyed.
TEST_F(ToolBarDraw, TransparentPictureLeavesItsKeyColourOut) {
  auto picture = Sheet(12, 12, clFuchsia);
  picture->Canvas()->Brush()->SetColor(clBlue);
  picture->Canvas()->FillRect(TRect(4, 4, 8, 8));

  auto keyed = Sheet(40, 40, 0x808080);
  DrawPicture(nullptr, keyed->Canvas(), TPoint(10, 10), true, picture.get());
  EXPECT_EQ(Px(keyed.get(), 11, 11), TColor(0x808080));
  EXPECT_EQ(Px(keyed.get(), 21, 21), TColor(0x808080));
  EXPECT_TRUE(Near(Px(keyed.get(), 15, 15), clBlue, 8));

  auto opaque = Sheet(40, 40, 0x808080);
  DrawPicture(nullptr, opaque->Canvas(), TPoint(10, 10), false, picture.get());
  EXPECT_TRUE(Near(Px(opaque.get(), 11, 11), clFuchsia, 8));
  EXPECT_TRUE(Near(Px(opaque.get(), 15, 15), clBlue, 8));
  EXPECT_EQ(Px(opaque.get(), 22, 22), TColor(0x808080));  // its own size: 12 px

  TPngImage png;
  png.Assign(picture.get());
  auto p = Sheet(40, 40, 0x808080);
  DrawPicture(nullptr, p->Canvas(), TPoint(10, 10), true, &png);
  EXPECT_TRUE(Near(Px(p.get(), 11, 11), clFuchsia, 8));

  DrawPicture(nullptr, nullptr, TPoint(0, 0), true, picture.get());  // no surface: nothing
  DrawPicture(nullptr, p->Canvas(), TPoint(0, 0), true, nullptr);
}

// The hot key's underline runs beside its character, down the text; "&&"
// is a literal ampersand and marks nothing.
TEST_F(ToolBarDraw, VerticalTextUnderlinesItsHotKey) {
  struct Case {
    const char16_t* Caption;
    const char16_t* Before;  // the stripped text before the hot key (nullptr: no hot key)
    const char16_t* Key;
  };
  for (const Case& c : {Case{u"&File", u"", u"F"}, Case{u"Vi&ew", u"Vi", u"e"}, Case{u"A&&B", nullptr, nullptr},
                        Case{u"Tail&", nullptr, nullptr}}) {
    SCOPED_TRACE(StringToUtf8(c.Caption));
    auto b = Sheet(80, 120, 0xFFFFFF);
    TCanvas* canvas = b->Canvas();
    canvas->Font()->SetName(u"Tahoma");
    canvas->Font()->SetSize(10);
    canvas->Font()->SetColor(clBlue);
    canvas->Font()->SetOrientation(2700);
    canvas->Brush()->SetStyle(bsClear);
    const TPoint P(60, 10);
    DrawVerticalText(canvas, c.Caption, P);
    const int h = canvas->TextHeight(u"Tail");
    const int x = P.X - h + 1;
    if (c.Before == nullptr) {
      for (int y = 0; y < 120; ++y) EXPECT_NE(Px(b.get(), x, y), clBlue) << y;
      continue;
    }
    const int a = canvas->TextWidth(c.Before), w = canvas->TextWidth(c.Key);
    EXPECT_EQ(Px(b.get(), x, P.Y + a), clBlue);
    EXPECT_EQ(Px(b.get(), x, P.Y + a + w - 1), clBlue);
    EXPECT_NE(Px(b.get(), x, P.Y + a + w), clBlue);  // LineTo leaves the end out
    if (a > 0) {
      EXPECT_NE(Px(b.get(), x, P.Y + a - 1), clBlue);
    }
  }
}

// An SVG picture draws its document at its own size through the graphics'
// device context.
TEST_F(ToolBarDraw, SvgPictureDrawsItsDocument) {
  InitializeNamedColors();
  RegisterGdiplusModule();
  gdiplus_runtime::InitializeGdiplusApi();
  gdiplus_runtime::InitializeGdiplusClasses();
  InitializeAdvGraphicsSVGEngineUnit();
  {
    TAdvSVGBitmap graphic;
    const std::string svg = "<svg viewBox='0 0 10 10'><rect width='5' height='10' fill='blue'/></svg>";
    graphic.LoadFromBytes(TBytes(svg.begin(), svg.end()));
    ASSERT_TRUE(graphic.HasSVG());
    auto b = Sheet(40, 30, clWhite);
    DrawPicture(nullptr, b->Canvas(), TPoint(10, 5), true, &graphic);
    EXPECT_TRUE(Near(Px(b.get(), 12, 10), clBlue, 8));
    EXPECT_EQ(Px(b.get(), 17, 10), clWhite);  // the document's empty right half
    EXPECT_EQ(Px(b.get(), 8, 10), clWhite);
    EXPECT_EQ(Px(b.get(), 12, 17), clWhite);  // 10 px high
  }
  FinalizeAdvGraphicsSVGEngineUnit();
}
