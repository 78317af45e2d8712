// Caption text, glow text and the glass caption, by sampled pixels and
// measured rectangles (never by exact anti-aliased glyphs).
#include <gtest/gtest.h>

#include <algorithm>

#include "DrawFixture.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Window.h"
#include "toolbar/ToolBarDraw.h"
#include "toolbar/ToolBarText.h"
#include "toolbar/shared/AdvTBXPVS.h"
#include "toolbar/shared/ToolBarShared.h"

using namespace toolbar;
using drawtest::DifferingPixels;
using drawtest::InkOf;
using drawtest::Near;
using drawtest::Px;
using drawtest::Sheet;
using gdiplus::GPRectF;

namespace {

constexpr TColor kPaper = 0xFFFFFF;

std::unique_ptr<TFont> MakeTextFont(const String& Name, Integer Size = 10, TColor Color = clBlack) {
  auto f = std::make_unique<TFont>();
  f->SetName(Name);
  f->SetSize(Size);
  f->SetColor(Color);
  return f;
}

// Text tests at a given toolbar scale; the scale is put back afterwards.
class ToolBarText : public drawtest::DrawTest {
 protected:
  void TearDown() override { UpdateToolBarDPIScale(96); }
};

// The width DrawCaptionText measures for Text on one 1000-px line.
Integer CaptionWidth(TCanvas* Canvas, TFont* Font, const String& Text) {
  TRect r{};
  DrawCaptionText(Canvas, Text, u"", Font, TRect{0, 0, 1000, 30}, taLeftJustify, 0, gdiplus::aaAntiAlias, true, false,
                  true, false, r);
  return r.Right - r.Left;
}

}  // namespace

// Measuring paints nothing, on every road (GDI+ and GDI, canvas and DC).
TEST_F(ToolBarText, MeasureOnlyCallsPaintNothing) {
  auto font = MakeTextFont(u"Tahoma");
  auto b = Sheet(300, 60, kPaper);
  TCanvas* c = b->Canvas();
  for (auto rendering : {gdiplus::aaNone, gdiplus::aaClearType, gdiplus::aaAntiAlias}) {
    SCOPED_TRACE(int(rendering));
    TRect r{};
    DrawCaptionText(c, u"Measure &me", u"", font.get(), TRect{10, 10, 200, 40}, taCenter, DT_SINGLELINE, rendering,
                    true, true, false, false, r);
    EXPECT_GT(r.Right - r.Left, 20);
    for (bool glass : {false, true}) {
      DrawGlowText(c, u"Measure me", u"", font.get(), GPRectF(10, 10, 200, 40), taLeftJustify, rendering, true, glass,
                   true, clYellow, false, r);
      EXPECT_GT(r.Right - r.Left, 20);
      DrawGlowTextOnDC(c->Handle(), u"Measure me", u"", font.get(), GPRectF(10, 10, 200, 40), taLeftJustify, rendering,
                       true, glass, clRed, false, r);
      EXPECT_GT(r.Right - r.Left, 20);
    }
    EXPECT_GT(GetGlowTextWidth(c, u"Measure me", u"", rendering, font.get()), 20);
  }
  EXPECT_FALSE(InkOf(b.get(), TRect{0, 0, 300, 60}, kPaper, 0).Any());
}

// No caption: an empty text rectangle and nothing drawn; the wide caption
// stands in for an empty caption.
TEST_F(ToolBarText, CaptionPicksTheWideCaptionWhenEmpty) {
  auto font = MakeTextFont(u"Tahoma");
  auto b = Sheet(200, 40, kPaper);
  TRect r{1, 1, 1, 1};
  DrawCaptionText(b->Canvas(), u"", u"", font.get(), TRect{0, 0, 200, 40}, taLeftJustify, 0, gdiplus::aaAntiAlias, true,
                  false, false, true, r);
  EXPECT_EQ(r, (TRect{0, 0, 0, 0}));
  EXPECT_FALSE(InkOf(b.get(), TRect{0, 0, 200, 40}, kPaper, 0).Any());
  EXPECT_EQ(GetGlowTextWidth(b->Canvas(), u"", u"Wide", gdiplus::aaAntiAlias, font.get()),
            GetGlowTextWidth(b->Canvas(), u"Wide", u"Other", gdiplus::aaAntiAlias, font.get()));
  EXPECT_EQ(GetGlowTextWidth(b->Canvas(), u"x", u"", gdiplus::aaAntiAlias, nullptr), 0);
}

// A caption wider than R: Ellipsis draws the longest prefix that fits with
// "...", neither Ellipsis nor WordWrap the longest prefix without a suffix.
// Each is compared with the expected text drawn whole at the same place;
// the toolbar scale changes nothing (captions are sized in points).
TEST_F(ToolBarText, CaptionTooWideIsCutToTheLongestFittingPrefix) {
  auto font = MakeTextFont(u"Tahoma");
  const String caption = u"Customize the quick access toolbar";
  const TRect R{4, 4, 124, 30};
  const Integer width = R.Right - R.Left;
  struct Case {
    bool Ellipsis, WordWrap;
    const char16_t* Suffix;
  };
  for (Integer ppi : {96, 144}) {
    for (const Case& k : {Case{true, false, u"..."}, Case{true, true, u"..."}, Case{false, false, u""}}) {
      SCOPED_TRACE(testing::Message() << ppi << " ppi, ellipsis " << k.Ellipsis << " wrap " << k.WordWrap);
      UpdateToolBarDPIScale(ppi);
      auto measure = Sheet(10, 10, kPaper);
      size_t n = caption.size();
      while (n > 0 && CaptionWidth(measure->Canvas(), font.get(), caption.substr(0, n) + k.Suffix) > width) --n;
      ASSERT_GT(n, 3u);
      ASSERT_LT(n, caption.size());
      const String expected = caption.substr(0, n) + k.Suffix;

      auto actual = Sheet(300, 34, kPaper);
      TRect r{};
      DrawCaptionText(actual->Canvas(), caption, u"", font.get(), R, taLeftJustify, 0, gdiplus::aaAntiAlias, true,
                      k.Ellipsis, k.WordWrap, true, r);
      auto whole = Sheet(300, 34, kPaper);
      DrawCaptionText(whole->Canvas(), expected, u"", font.get(), R, taLeftJustify, 0, gdiplus::aaAntiAlias, true,
                      false, true, true, r);
      EXPECT_GT(InkOf(actual.get(), TRect{0, 0, 300, 34}, kPaper).Count, 50);
      EXPECT_LE(DifferingPixels(actual.get(), whole.get()), 4);
      EXPECT_LE(InkOf(actual.get(), TRect{0, 0, 300, 34}, kPaper).Right, R.Right);
    }
  }
}

// The GDI road (no rendering, or a font that is not an outline font the
// screen lists) measures with DrawText into (0, 0, 1000, 100).
TEST_F(ToolBarText, GdiRoadMeasuresFromTheOrigin) {
  auto b = Sheet(300, 60, kPaper);
  auto tahoma = MakeTextFont(u"Tahoma");
  b->Canvas()->Font()->Assign(tahoma.get());
  EXPECT_TRUE(IsVectorFont(b->Canvas()));
  TRect r{};
  DrawCaptionText(b->Canvas(), u"Toolbar", u"", tahoma.get(), TRect{50, 20, 250, 50}, taLeftJustify, DT_SINGLELINE,
                  gdiplus::aaNone, true, false, false, false, r);
  EXPECT_EQ(r.Left, 0);
  EXPECT_EQ(r.Top, 0);
  EXPECT_GT(r.Right, 20);
  EXPECT_FALSE(InkOf(b.get(), TRect{0, 0, 300, 60}, kPaper, 0).Any());
  // Drawn with the caller's flags into R, in the canvas's font.
  b->Canvas()->Brush()->SetStyle(bsClear);
  DrawCaptionText(b->Canvas(), u"Toolbar", u"", tahoma.get(), TRect{50, 20, 250, 50}, taLeftJustify,
                  DT_SINGLELINE | DT_VCENTER, gdiplus::aaNone, true, false, false, true, r);
  const auto drawn = InkOf(b.get(), TRect{0, 0, 300, 60}, kPaper);
  EXPECT_GT(drawn.Count, 30);
  EXPECT_GE(drawn.Left, 50);
  EXPECT_GE(drawn.Top, 20);
  EXPECT_LE(drawn.Bottom, 50);
  b = Sheet(300, 60, kPaper);
  b->Canvas()->Font()->Assign(tahoma.get());
  DrawCaptionText(b->Canvas(), u"Toolbar", u"", tahoma.get(), TRect{50, 20, 250, 50}, taLeftJustify, DT_SINGLELINE,
                  gdiplus::aaAntiAlias, true, false, false, false, r);
  EXPECT_NEAR(r.Left, 50, 3);  // the GDI+ road measures in R

  auto unknown = MakeTextFont(u"NoSuchFaceAnywhere");
  DrawCaptionText(b->Canvas(), u"Toolbar", u"", unknown.get(), TRect{50, 20, 250, 50}, taLeftJustify, DT_SINGLELINE,
                  gdiplus::aaAntiAlias, true, false, false, false, r);
  EXPECT_FALSE(IsVectorFont(b->Canvas()));
  EXPECT_EQ(r.Left, 0);
  EXPECT_FALSE(IsVectorFont(nullptr));
}

// A family the graphics layer does not know is drawn in "Arial", on the
// string road and on the glass (outline) road alike.
TEST_F(ToolBarText, UnknownFamilyIsDrawnInArial) {
  auto unknown = MakeTextFont(u"NoSuchFaceAnywhere", 12);
  auto arial = MakeTextFont(u"Arial", 12);
  auto times = MakeTextFont(u"Times New Roman", 12);
  const String text = u"Fallback glyphs";
  auto width = [&](TFont* f) {
    return GetGlowTextWidth(Sheet(4, 4, kPaper)->Canvas(), text, u"", gdiplus::aaAntiAlias, f);
  };
  EXPECT_EQ(width(unknown.get()), width(arial.get()));
  EXPECT_NE(width(times.get()), width(arial.get()));
  for (bool glass : {false, true}) {
    SCOPED_TRACE(glass);
    auto a = Sheet(220, 40, kPaper), u = Sheet(220, 40, kPaper);
    TRect r{};
    DrawGlowText(a->Canvas(), text, u"", arial.get(), GPRectF(2, 2, 216, 36), taLeftJustify, gdiplus::aaAntiAlias, true,
                 glass, false, clNone, true, r);
    DrawGlowText(u->Canvas(), text, u"", unknown.get(), GPRectF(2, 2, 216, 36), taLeftJustify, gdiplus::aaAntiAlias,
                 true, glass, false, clNone, true, r);
    EXPECT_GT(InkOf(a.get(), TRect{0, 0, 220, 40}, kPaper).Count, 50);
    EXPECT_LE(DifferingPixels(a.get(), u.get()), 4);
  }
}

// Disabled text is grey ($808080) whatever the font colour.
TEST_F(ToolBarText, DisabledTextIsGrey) {
  auto font = MakeTextFont(u"Tahoma", 14, clBlack);
  auto b = Sheet(200, 40, kPaper);
  TRect r{};
  DrawGlowText(b->Canvas(), u"Disabled", u"", font.get(), GPRectF(0, 0, 200, 40), taLeftJustify, gdiplus::aaAntiAlias,
               false, false, false, clNone, true, r);
  int grey = 0, dark = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      const TColor p = Px(b.get(), x, y);
      if (Near(p, 0x808080, 12)) ++grey;
      if ((p & 0xFF) < 0x70) ++dark;
    }
  EXPECT_GT(grey, 20);
  EXPECT_EQ(dark, 0);
}

// Glass text on a device context: a shadow one pixel below in the darkened
// glow colour; clNone as glow colour gives no shadow and no clNone colour.
TEST_F(ToolBarText, GlassTextOnDCCastsAShadowOfTheGlowColour) {
  auto font = MakeTextFont(u"Tahoma", 10, clWhite);
  auto reddish = [](TBitmap* b) {
    int n = 0;
    for (int y = 0; y < b->Height(); ++y)
      for (int x = 0; x < b->Width(); ++x) {
        const TColor p = Px(b, x, y);
        if (int(p & 0xFF) > int((p >> 8) & 0xFF) + 40) ++n;
      }
    return n;
  };
  for (TColor glow : {TColor(clRed), clNone}) {
    auto b = Sheet(220, 40, 0x808080);
    TRect r{};
    DrawGlowTextOnDC(b->Canvas()->Handle(), u"Glass caption", u"", font.get(), GPRectF(4, 4, 212, 32), taLeftJustify,
                     gdiplus::aaAntiAlias, true, true, glow, true, r);
    EXPECT_GT(InkOf(b.get(), TRect{0, 0, 220, 40}, 0x808080).Count, 50);
    if (glow == clNone)
      EXPECT_EQ(reddish(b.get()), 0);
    else
      EXPECT_GT(reddish(b.get()), 20);
  }
}

// Glass outlines grow with the toolbar scale: the em size is the point size
// plus 3 (plus 2 when scaled) times the scale.
TEST_F(ToolBarText, GlassTextFollowsTheToolBarScale) {
  auto font = MakeTextFont(u"Tahoma", 9);
  auto inkWidth = [&](Integer ppi) {
    UpdateToolBarDPIScale(ppi);
    auto b = Sheet(400, 60, kPaper);
    TRect r{};
    DrawGlowText(b->Canvas(), u"Scaled caption", u"", font.get(), GPRectF(0, 0, 400, 60), taLeftJustify,
                 gdiplus::aaAntiAlias, true, true, false, clNone, true, r);
    const auto ink = InkOf(b.get(), TRect{0, 0, 400, 60}, kPaper);
    return ink.Right - ink.Left;
  };
  const int at96 = inkWidth(96), at144 = inkWidth(144);
  ASSERT_GT(at96, 40);
  // (9 + 2) x 1.5 against 9 + 3: about 1.4 times as wide.
  EXPECT_GT(at144, at96 * 5 / 4);
  EXPECT_LT(at144, at96 * 8 / 5);
}

// Glass text through a bitmap: its background colour is left out, the text
// lands 2 px right and 1 px down of R.
TEST_F(ToolBarText, GlassBitmapTextLeavesItsBackgroundOut) {
  auto font = MakeTextFont(u"Tahoma", 10, clBlack);
  auto b = Sheet(220, 40, 0x808080);
  TRect r{};
  DrawGlowText(b->Canvas(), u"Bitmap text", u"", font.get(), GPRectF(10, 5, 200, 30), taLeftJustify,
               gdiplus::aaAntiAlias, true, true, true, clYellow, true, r);
  int yellow = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 220; ++x)
      if (Near(Px(b.get(), x, y), clYellow, 30)) ++yellow;
  EXPECT_EQ(yellow, 0);
  const auto ink = InkOf(b.get(), TRect{0, 0, 220, 40}, 0x808080);
  EXPECT_GT(ink.Count, 30);
  EXPECT_GE(ink.Left, 12);
  EXPECT_GE(ink.Top, 6);
}

// Composited text draws the caption with the theme's text colour (black).
TEST_F(ToolBarText, CompositedTextDrawsThroughTheThemeLibrary) {
  RegisterThemeModules();
  advtbxpvs::InitializeAdvTBXPVS();
  auto b = Sheet(200, 30, kPaper);
  HTHEME theme = advtbxpvs::OpenThemeData(nullptr, u"CompositedWindow::Window");
  ASSERT_NE(theme, nullptr);
  DrawCompositedText(b->Canvas()->Handle(), u"Composited", 100, DT_SINGLELINE | DT_VCENTER, theme,
                     TRect{4, 0, 200, 30});
  DrawCompositedText(nullptr, u"Composited", -1, 0, theme, TRect{4, 0, 200, 30});
  advtbxpvs::CloseThemeData(theme);
  const auto ink = InkOf(b.get(), TRect{0, 0, 200, 30}, kPaper);
  EXPECT_GT(ink.Count, 30);
  EXPECT_GE(ink.Left, 4);
  advtbxpvs::FinalizeAdvTBXPVS();
}

// The glass caption shows only while composition is on; off the glass the
// window keeps its own pixels.
TEST_F(ToolBarText, GlassCaptionNeedsComposition) {
  struct TSwitchesBack {
    ~TSwitchesBack() {
      SetDesktopCompositionForTest(false);
      advtbxpvs::FinalizeAdvTBXPVS();
    }
  } switchesBack;
  RegisterThemeModules();
  advtbxpvs::InitializeAdvTBXPVS();
  auto form = std::make_unique<TForm>(nullptr);
  form->AfterConstruction();
  form->SetBorderStyle(bsNone);
  form->SetColor(clWhite);
  form->SetBounds(50, 50, 300, 80);
  form->Show();
  PumpPending();
  testinput::PaintPending();
  const TRect caption{0, 0, 300, 30};
  for (bool composition : {false, true}) {
    SCOPED_TRACE(composition);
    SetDesktopCompositionForTest(composition);
    DrawGlassText(form.get(), u"Updater - glass caption", false, clYellow, TRect{}, false, caption);
    auto shown = testinput::Grab(form.get());
    const auto ink = InkOf(shown.get(), caption, clWhite, 10);
    if (!composition) {
      EXPECT_FALSE(ink.Any());
      continue;
    }
    EXPECT_EQ(ink.Count, 300 * 30);  // the whole caption strip is the glass bitmap
    // Every row of the strip is one colour but where the caption's text is:
    // it starts 4 px in and leaves the right end free.
    int text = 0, left = 300;
    for (int y = 0; y < 30; ++y) {
      const TColor row = Px(shown.get(), 295, y);
      for (int x = 0; x < 280; ++x)
        if (!Near(Px(shown.get(), x, y), row, 40)) {
          ++text;
          left = std::min(left, x);
        }
    }
    EXPECT_GT(text, 30);
    EXPECT_GE(left, 4);
    // The highlight: yellowish towards the bottom, more than at the top.
    const TColor top = Px(shown.get(), 295, 0), bottom = Px(shown.get(), 295, 29);
    EXPECT_GT(int(bottom & 0xFF), int((bottom >> 16) & 0xFF));
    EXPECT_GT(int(bottom & 0xFF), int(top & 0xFF));
    EXPECT_FALSE(InkOf(shown.get(), TRect{0, 31, 300, 80}, clWhite, 10).Any());
  }
  // Without the theme library there is no theme to open: nothing is drawn.
  advtbxpvs::FinalizeAdvTBXPVS();
  DrawGlassText(form.get(), u"Updater - glass caption", true, clYellow, TRect{}, false, TRect{0, 40, 300, 70});
  EXPECT_FALSE(InkOf(testinput::Grab(form.get()).get(), TRect{0, 40, 300, 80}, clWhite, 10).Any());
  SetDesktopCompositionForTest(false);
  form.reset();
  PumpPending();
}

// The GDI measure of glow text is of the font given, not of whatever font
// the canvas or DC holds, and leaves the canvas's font in place.
TEST_F(ToolBarText, GlowTextMeasuresInTheGivenFont) {
  auto small = MakeTextFont(u"Tahoma", 8), large = MakeTextFont(u"Tahoma", 20);
  auto b = Sheet(20, 20, kPaper);
  b->Canvas()->Font()->Assign(small.get());
  const Integer narrow = GetGlowTextWidth(b->Canvas(), u"Measured", u"", gdiplus::aaNone, small.get());
  const Integer wide = GetGlowTextWidth(b->Canvas(), u"Measured", u"", gdiplus::aaNone, large.get());
  EXPECT_GT(narrow, 20);
  EXPECT_GT(wide, narrow * 2);
  EXPECT_EQ(b->Canvas()->TextWidth(u"Measured"), narrow);
}
