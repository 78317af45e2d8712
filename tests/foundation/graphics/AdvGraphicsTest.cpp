// The canvas: fill-then-stroke through a recording GDI context, setters
// mirrored into the context, picture placement, colour texts, hit tests and
// the interface glyphs' pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/graphics/AdvGraphics.h"
#include "foundation/graphics/AdvGraphicsContextGeneral.h"
#include "foundation/graphics/AdvNamedColors.h"
#include "foundation/pictures/PictureContainer.h"
#include "platform/rtl/FormatSettings.h"
#include "foundation/svg/AdvBitmap.h"
#include "foundation/utils/AdvUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Exceptions.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/vcl/Bitmap.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"

namespace {

// A GDI context that draws as usual and also notes which primitives it was asked for.
class TRecordingContext : public TAdvGraphicsContextGeneral {
 public:
  using TAdvGraphicsContextGeneral::TAdvGraphicsContextGeneral;
  static inline std::vector<std::string>* Log = nullptr;

  void FillRect(TAdvGraphicsFill* F, const TRectF& R, TAdvGraphicsModifyRectMode M) override {
    Note("FillRect");
    TAdvGraphicsContextGeneral::FillRect(F, R, M);
  }
  void DrawRect(TAdvGraphicsStroke* S, const TRectF& R, TAdvGraphicsSides Sd, TAdvGraphicsModifyRectMode M) override {
    Note("DrawRect");
    TAdvGraphicsContextGeneral::DrawRect(S, R, Sd, M);
  }
  void FillEllipse(TAdvGraphicsFill* F, const TRectF& R, TAdvGraphicsModifyRectMode M) override {
    Note("FillEllipse");
    TAdvGraphicsContextGeneral::FillEllipse(F, R, M);
  }
  void DrawEllipse(TAdvGraphicsStroke* S, const TRectF& R, TAdvGraphicsModifyRectMode M) override {
    Note("DrawEllipse");
    TAdvGraphicsContextGeneral::DrawEllipse(S, R, M);
  }
  void FillArc(TAdvGraphicsFill* F, const TPointF& C, const TPointF& Rd, Single A, Single Sw) override {
    Note("FillArc");
    TAdvGraphicsContextGeneral::FillArc(F, C, Rd, A, Sw);
  }
  void DrawArc(TAdvGraphicsStroke* S, const TPointF& C, const TPointF& Rd, Single A, Single Sw) override {
    Note("DrawArc");
    TAdvGraphicsContextGeneral::DrawArc(S, C, Rd, A, Sw);
  }
  void FillPolyline(TAdvGraphicsFill* F, const TAdvGraphicsPathPolygon& P) override {
    Note("FillPolyline");
    TAdvGraphicsContextGeneral::FillPolyline(F, P);
  }
  void DrawPolyline(TAdvGraphicsStroke* S, const TAdvGraphicsPathPolygon& P) override {
    Note("DrawPolyline");
    TAdvGraphicsContextGeneral::DrawPolyline(S, P);
  }
  void DrawBitmap(TGraphic* B, const TRectF& S, const TRectF& D, Single O) override {
    Note("DrawBitmap");
    TAdvGraphicsContextGeneral::DrawBitmap(B, S, D, O);
  }
  void DrawText(const String& AText, const TRectF& ARect, bool AWordWrapping, TAdvGraphicsTextAlign AH,
                TAdvGraphicsTextAlign AV, TAdvGraphicsTextTrimming AT, Single AAngle) override {
    Texts.push_back({AText, GetFillColor(), ARect});
    TAdvGraphicsContextGeneral::DrawText(AText, ARect, AWordWrapping, AH, AV, AT, AAngle);
  }
  struct TText {
    String Text;
    TColor Color;
    TRectF Rect;
  };
  std::vector<TText> Texts;
  void SetFillColor(TColor AColor) override {
    LastFillColor = AColor;
    TAdvGraphicsContextGeneral::SetFillColor(AColor);
  }
  TColor LastFillColor = -2;

 private:
  static void Note(const char* s) {
    if (Log) Log->push_back(s);
  }
};

std::unique_ptr<TAdvGraphicsContext> MakeRecordingContext(TAdvGraphics* G) {
  return std::make_unique<TRecordingContext>(G);
}

class AdvGraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitializeNamedColors();
    TAdvGraphics::SetDefaultGraphicColors();
    Bitmap = std::make_unique<TBitmap>(100, 60);
    G = std::make_unique<TAdvGraphics>(Bitmap->Canvas(), &MakeRecordingContext);
    TRecordingContext::Log = &Calls;
  }
  void TearDown() override { TRecordingContext::Log = nullptr; }

  std::vector<std::string> Calls;
  std::unique_ptr<TBitmap> Bitmap;
  std::unique_ptr<TAdvGraphics> G;
};

std::unique_ptr<TAdvBitmap> SolidPicture(Integer W, Integer H, TColor C) {
  TBitmap b(W, H);
  b.Canvas()->Brush()->SetColor(C);
  b.Canvas()->FillRect({0, 0, W, H});
  auto p = std::make_unique<TAdvBitmap>();
  p->SetGraphic(&b);
  return p;
}

TEST_F(AdvGraphicsTest, ClosedShapesFillThenStrokeByKindAndColour) {
  struct Case {
    TAdvGraphicsFillKind fillKind;
    TColor fill;
    TAdvGraphicsStrokeKind strokeKind;
    TColor stroke;
    std::vector<std::string> rect, ellipse, arc, polyline;
  } cases[] = {
      {gfkSolid, clRed, gskSolid, clBlue, {"FillRect", "DrawRect"}, {"FillEllipse", "DrawEllipse"},
       {"FillArc", "DrawArc"}, {"FillPolyline", "DrawPolyline"}},
      {gfkSolid, gcNull, gskSolid, clBlue, {"DrawRect"}, {"DrawEllipse"}, {"DrawArc"}, {"DrawPolyline"}},
      {gfkNone, clRed, gskSolid, clBlue, {"DrawRect"}, {"DrawEllipse"}, {"DrawArc"}, {"DrawPolyline"}},
      {gfkSolid, clRed, gskNone, clBlue, {"FillRect"}, {"FillEllipse"}, {"FillArc"}, {"FillPolyline"}},
      {gfkSolid, clRed, gskSolid, gcNull, {"FillRect"}, {"FillEllipse"}, {"FillArc"}, {"FillPolyline"}},
      // A texture fills whatever the colour; arcs and polylines need a colour.
      {gfkTexture, gcNull, gskNone, gcNull, {"DrawBitmap"}, {"DrawBitmap"}, {}, {}},
  };
  auto texture = SolidPicture(4, 4, clLime);
  for (const Case& c : cases) {
    G->Fill()->SetTexture(texture.get());
    G->Fill()->SetKind(c.fillKind);
    G->Fill()->SetColor(c.fill);
    G->Stroke()->SetKind(c.strokeKind);
    G->Stroke()->SetColor(c.stroke);
    const std::string what = std::to_string(c.fillKind) + "/" + std::to_string(c.fill) + "/" +
                             std::to_string(c.strokeKind) + "/" + std::to_string(c.stroke);
    Calls.clear();
    G->DrawRectangle(RectF(10, 10, 20, 20));
    EXPECT_EQ(Calls, c.rect) << what;
    Calls.clear();
    G->DrawEllipse(RectF(10, 10, 20, 20));
    EXPECT_EQ(Calls, c.ellipse) << what;
    Calls.clear();
    G->DrawArc(PointF(30, 30), PointF(10, 10), 0, 90);
    EXPECT_EQ(Calls, c.arc) << what;
    Calls.clear();
    G->DrawPolyline({PointF(0, 0), PointF(10, 0), PointF(10, 10)});
    EXPECT_EQ(Calls, c.polyline) << what;
  }
}

TEST_F(AdvGraphicsTest, TiledTextureStaysInsideItsRectangle) {
  auto texture = SolidPicture(7, 7, clLime);
  Bitmap->Canvas()->Brush()->SetColor(clWhite);
  Bitmap->Canvas()->FillRect({0, 0, 100, 60});
  G->Fill()->SetTexture(texture.get());
  G->Fill()->SetTextureMode(gtmTile);
  G->Fill()->SetKind(gfkTexture);
  G->Stroke()->SetKind(gskNone);
  G->DrawRectangle(RectF(10, 10, 30, 25), gcrmNone);
  EXPECT_EQ(Bitmap->Canvas()->Pixels(10, 10), clLime);
  EXPECT_EQ(Bitmap->Canvas()->Pixels(29, 24), clLime);
  // The tiles at the right and bottom would reach 38 and 31 unclipped.
  EXPECT_EQ(Bitmap->Canvas()->Pixels(31, 12), clWhite);
  EXPECT_EQ(Bitmap->Canvas()->Pixels(12, 26), clWhite);
}

TEST_F(AdvGraphicsTest, SettersReachTheContextAndTheOwnObjects) {
  auto* ctx = static_cast<TRecordingContext*>(G->Context());
  G->SetFillColor(clRed);
  EXPECT_EQ(ctx->LastFillColor, clRed);
  EXPECT_EQ(G->Fill()->Color(), clRed);
  // Changing the own object directly reaches the context through its change event.
  G->Fill()->SetColor(clBlue);
  EXPECT_EQ(ctx->LastFillColor, clBlue);
  G->SetStrokeWidth(3);
  EXPECT_EQ(G->Stroke()->Width(), 3);
  G->SetFontSize(14);
  EXPECT_EQ(G->Font()->Size(), 14);
  EXPECT_EQ(Bitmap->Canvas()->Font()->Size(), 14);
  auto state = G->SaveState();
  G->SetFillColor(clGreen);
  G->RestoreState(std::move(state));
  EXPECT_EQ(G->Fill()->Color(), clBlue);
}

TEST_F(AdvGraphicsTest, TaggedTextDrawsRunsInTheirColoursWithoutNulCharacters) {
  auto* ctx = static_cast<TRecordingContext*>(G->Context());
  G->Font()->SetColor(clBlack);
  G->SetURLColor(clRed);
  G->DrawText(RectF(0, 0, 100, 60), u"a <a href=\"x\">go </a><font color=\"#00FF00\">b</font>");
  ASSERT_EQ(ctx->Texts.size(), 3u);
  EXPECT_EQ(ctx->Texts[0].Text, u"a ");
  EXPECT_EQ(ctx->Texts[0].Color, clBlack);
  // The anchor's trailing blank is drawn as a no-break space, never with a U+0000 after it.
  EXPECT_EQ(ctx->Texts[1].Text, u"go\u00A0");
  EXPECT_EQ(ctx->Texts[1].Color, clRed);
  EXPECT_EQ(ctx->Texts[2].Text, u"b");
  EXPECT_EQ(ctx->Texts[2].Color, clLime);
  EXPECT_LT(ctx->Texts[0].Rect.Left, ctx->Texts[1].Rect.Left);
  EXPECT_LT(ctx->Texts[1].Rect.Left, ctx->Texts[2].Rect.Left);
  // Plain text (even with line breaks) goes to the context whole.
  ctx->Texts.clear();
  G->DrawText(RectF(0, 0, 100, 60), u"x\r\ny");
  ASSERT_EQ(ctx->Texts.size(), 1u);
  EXPECT_EQ(ctx->Texts[0].Text, u"x\r\ny");
}

// Pixels of a bitmap within a small distance of a colour (text edges are blended).
int PixelsNear(TBitmap& B, TColor C) {
  auto ch = [](TColor c, int s) { return int((c >> s) & 0xFF); };
  int n = 0;
  for (int y = 0; y < B.Height(); ++y)
    for (int x = 0; x < B.Width(); ++x) {
      const TColor p = B.Canvas()->Pixels(x, y);
      if (std::abs(ch(p, 0) - ch(C, 0)) <= 40 && std::abs(ch(p, 8) - ch(C, 8)) <= 40 &&
          std::abs(ch(p, 16) - ch(C, 16)) <= 40)
        ++n;
    }
  return n;
}

// Coloured runs reach the drawn pixels on both contexts, not only the context's
// fill colour: the font's own colour is what text is drawn with.
TEST(AdvGraphicsTextColour, ColouredHTMLRunsDrawInTheirColours) {
  EnsureGuiApplication();
  InitializeNamedColors();
  TAdvGraphics::SetDefaultGraphicColors();
  gdiplus_runtime_test::BindRuntime();
  struct Case {
    const char16_t* html;
    TColor ink;
    bool onlyInk;  // no text in another colour
  } cases[] = {
      {u"<font color=\"#FF0000\">WWWW</font>", clRed, true},
      {u"<a href=\"x\">WWWW</a>", clBlue, true},
      {u"<hi>WWWW</hi>", clYellow, true},
      {u"<blink>WWWW</blink>", clLime, true},  // hidden blink text takes the fill colour
      {u"<ul><li color=\"#FF00FF\">W</ul>", clFuchsia, false},
  };
  for (const bool native : {false, true})
    for (const Case& c : cases) {
      TBitmap bitmap(200, 40);
      bitmap.Canvas()->Brush()->SetColor(clWhite);
      bitmap.Canvas()->FillRect({0, 0, 200, 40});
      {
        TAdvGraphics g(bitmap.Canvas(), native);
        g.Context()->SetSize(200, 40);
        g.Font()->SetName(u"Tahoma");
        g.Font()->SetSize(16);
        g.Font()->SetStyle({fsBold});
        g.Font()->SetColor(clBlack);
        g.SetURLColor(clBlue);
        g.SetHighlightColor(clNavy);
        g.SetHighlightTextColor(clYellow);
        g.Fill()->SetColor(clLime);
        g.DrawText(RectF(2, 2, 198, 38), c.html);
        g.Context()->Render();
      }
      const std::string name = std::string(native ? "native " : "gdi ") + std::string(c.html, c.html + 12);
      EXPECT_GT(PixelsNear(bitmap, c.ink), 8) << name;
      if (c.onlyInk) {
        EXPECT_EQ(PixelsNear(bitmap, clBlack), 0) << name;
      }
    }
}

TEST(AdvGraphicsTextColour, SampleTextIsWhite) {
  EnsureGuiApplication();
  TBitmap bitmap(160, 60);
  TAdvGraphics::DrawSample(bitmap.Canvas(), Rect(0, 0, 160, 60));
  EXPECT_GT(PixelsNear(bitmap, clWhite), 20);
  EXPECT_EQ(PixelsNear(bitmap, clBlack), 0);
}

TEST(AdvGraphicsClass, AspectSizeTable) {
  struct Case {
    Single ow, oh, nw, nh;
    bool aspect, stretch;
    Single w, h;
  } cases[] = {
      {20, 10, 100, 100, true, false, 20, 10},  {20, 10, 100, 100, true, true, 100, 50},
      {200, 100, 100, 100, true, false, 100, 50}, {100, 200, 100, 100, true, false, 50, 100},
      {0, 10, 100, 100, true, false, 0, 0},     {20, 10, 100, 100, false, true, 100, 100},
      {20, 10, 100, 100, false, false, 20, 10},
  };
  for (const Case& c : cases) {
    Single w = -1, h = -1;
    TAdvGraphics::GetAspectSize(w, h, c.ow, c.oh, c.nw, c.nh, c.aspect, c.stretch, false);
    EXPECT_FLOAT_EQ(w, c.w) << c.ow << "x" << c.oh;
    EXPECT_FLOAT_EQ(h, c.h) << c.ow << "x" << c.oh;
  }
}

TEST(AdvGraphicsClass, ColourTexts) {
  InitializeNamedColors();
  EXPECT_EQ(TAdvGraphics::ColorToHTML(0x0000FF), u"#FF0000");
  EXPECT_EQ(TAdvGraphics::ColorToHTML(0x123456), u"#563412");
  EXPECT_EQ(TAdvGraphics::HTMLToColor(u"#F00"), 0x0000FF);
  EXPECT_EQ(TAdvGraphics::HTMLToColor(u"#102030ff"), 0x302010);
  EXPECT_EQ(TAdvGraphics::HTMLToColor(u""), gcNull);
  for (const char16_t* bad : {u"#12", u"#zzzzzz", u"#12345"}) {
    EXPECT_THROW(TAdvGraphics::HTMLToColor(bad), EConvertError);
    TColor c = 7;
    EXPECT_FALSE(TAdvGraphics::TryHTMLToColor(bad, c));
    EXPECT_EQ(c, 7);
  }
  EXPECT_EQ(TAdvGraphics::TextToColor(u"clRed"), 0x0000FF);
  EXPECT_EQ(TAdvGraphics::TextToColor(u"gcNavy"), 0x800000);
  EXPECT_EQ(TAdvGraphics::TextToColor(u"noSuchColour"), 0);
  EXPECT_EQ(TAdvGraphics::GetColorRed(0x123456), 0x56);
  EXPECT_EQ(TAdvGraphics::GetColorBlue(0x123456), 0x12);
}

TEST(AdvGraphicsClass, HitTests) {
  EXPECT_TRUE(TAdvGraphics::PointInRect(PointF(0, 0), RectF(0, 0, 10, 10)));
  EXPECT_FALSE(TAdvGraphics::PointInRect(PointF(10, 5), RectF(0, 0, 10, 10)));
  EXPECT_FALSE(TAdvGraphics::PointInRect(PointF(5, 10), RectF(0, 0, 10, 10)));
  EXPECT_TRUE(TAdvGraphics::PointInCircle(PointF(13, 14), PointF(10, 10), 5));
  EXPECT_FALSE(TAdvGraphics::PointInCircle(PointF(10, 10), PointF(10, 10), 0));
  EXPECT_TRUE(TAdvGraphics::PointInPolygon(Point(5, 5), {Point(0, 0), Point(10, 0), Point(10, 10), Point(0, 10)}));
  EXPECT_FALSE(TAdvGraphics::PointInPath(PointF(1, 1), nullptr));
}

TEST(AdvGraphicsClass, ScaledPictureNamesUseAPointInEveryLocale) {
  EnsureGuiApplication();
  TPictureContainer container(nullptr);
  TBitmap small(2, 2), large(3, 3);
  container.Items()->Add()->SetName(u"pic");
  container.Items()->GetItem(0)->SetPicture(&small);
  container.Items()->Add()->SetName(u"pic_1.5");
  container.Items()->GetItem(1)->SetPicture(&large);
  const Char saved = FormatSettings.DecimalSeparator;
  FormatSettings.DecimalSeparator = u',';
  TPicture* p = TAdvGraphics::GetBitmapFromPictureContainer(&container, u"pic", true, 1.5f);
  FormatSettings.DecimalSeparator = saved;
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Width(), 3);
  p = TAdvGraphics::GetBitmapFromPictureContainer(&container, u"pic", true, 2.0f);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Width(), 2);
  EXPECT_EQ(TAdvGraphics::GetBitmapFromPictureContainer(nullptr, u"pic"), nullptr);
}

TEST(AdvGraphicsClass, BitmapCanvasHasReadableHighlightAndOwnSize) {
  EnsureGuiApplication();
  auto g = TAdvGraphics::CreateBitmapCanvas(40, 30);
  ASSERT_NE(g->Bitmap(), nullptr);
  EXPECT_EQ(g->Bitmap()->Width(), 40);
  EXPECT_EQ(g->HighlightColor(), 0xFF0000);
  EXPECT_EQ(g->HighlightTextColor(), 0xFFFFFF);
}

TEST(AdvGraphicsClass, DefaultGraphicColoursAreSetAtStartUp) {
  InitializeAdvGraphicsUnit();
  EXPECT_EQ(AdvGraphicsDefaultColors().NormalFace, RGBToColor(225, 225, 225));
  EXPECT_EQ(AdvGraphicsDefaultColors().FocusedBorder, RGBToColor(60, 127, 177));
}

// --- glyphs ----------------------------------------------------------------------------

class AdvGraphicsGlyphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    TAdvGraphics::SetDefaultGraphicColors();
    G = TAdvGraphics::CreateBitmapCanvas(40, 40);
  }
  TColor Px(int x, int y) { return G->Bitmap()->Canvas()->Pixels(x, y); }
  static bool Dark(TColor c) { return (c & 0xFF) < 80 && ((c >> 8) & 0xFF) < 80 && ((c >> 16) & 0xFF) < 80; }
  std::unique_ptr<TAdvGraphics> G;
};

TEST_F(AdvGraphicsGlyphTest, CloseGlyphLinesReachTheirEnds) {
  // A 16 x 16 button: the 16-pixel glyph fills it, so its points are button pixels.
  G->DrawCloseButton(RectF(0, 0, 16, 16));
  EXPECT_TRUE(Dark(Px(4, 4)));
  EXPECT_TRUE(Dark(Px(11, 11)));
  EXPECT_TRUE(Dark(Px(4, 11)));
  EXPECT_TRUE(Dark(Px(11, 4)));
  EXPECT_TRUE(Dark(Px(8, 8)) || Dark(Px(7, 7)));
  // Outside the cross the face shows (the transparent white of the glyph does not).
  EXPECT_EQ(Px(8, 2), RGBToColor(225, 225, 225));
}

TEST_F(AdvGraphicsGlyphTest, ResourceGlyphsAreCarriedAndDrawOrFallBack) {
  for (const char16_t* name : {u"AdvGRAPHICSCLOSESVG", u"AdvGRAPHICSDOWNSVG", u"AdvGRAPHICSUPSVG",
                               u"AdvGRAPHICSRIGHTSVG", u"AdvGRAPHICSLEFTSVG", u"AdvGRAPHICSEXPANDSVG"})
    EXPECT_NE(TAdvUtils::GetResourceStream(name), nullptr) << std::string(name, name + 12);
  // Not adapted to the style: the resource picture, or the line glyph while
  // no SVG engine is registered; either crosses the middle of the button.
  G->DrawCloseButton(RectF(0, 0, 28, 28), false, false, true, false);
  EXPECT_TRUE(Dark(Px(14, 14)) || Dark(Px(13, 13)));
}

TEST_F(AdvGraphicsGlyphTest, ExpanderChevronsPointByState) {
  G->DrawExpanderButton(RectF(0, 0, 16, 16), gesCollapsed);
  EXPECT_TRUE(Dark(Px(8, 9)) || Dark(Px(8, 8)));  // the tip low: pointing down
  EXPECT_FALSE(Dark(Px(8, 5)));
  G->DrawExpanderButton(RectF(0, 0, 16, 16), gesExpanded);
  EXPECT_TRUE(Dark(Px(8, 6)) || Dark(Px(8, 7)));
  EXPECT_FALSE(Dark(Px(8, 10)));
}

TEST_F(AdvGraphicsGlyphTest, CheckBoxAndProgressBar) {
  G->DrawCheckBox(RectF(0, 0, 20, 20), false);
  const TColor inside = Px(10, 10);
  EXPECT_FALSE(Dark(inside));
  G->DrawCheckBox(RectF(0, 0, 20, 20), true);
  EXPECT_TRUE(Dark(Px(10, 10)));
  // Above the maximum: a full bar; maximum 0: the background only.
  G->DrawProgressBar(RectF(0, 25, 40, 35), 200, u"", 100, clRed, clBlack, false);
  EXPECT_EQ(Px(37, 30), clRed);
  G->DrawProgressBar(RectF(0, 25, 40, 35), 50, u"", 0, clRed, clBlack, false);
  EXPECT_NE(Px(5, 30), clRed);
}

}  // namespace
