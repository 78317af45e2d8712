// The GDI+ drawing context on a bitmap's device context: geometry of its
// shapes, gradient stops, dashed outlines, text set-up and the surface's
// lifetime.
#include <gtest/gtest.h>

#include <functional>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPFont.h"
#include "foundation/gdiplus_runtime/GPFontFamily.h"
#include "foundation/gdiplus_runtime/GPGraphics.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPPen.h"
#include "foundation/graphics/AdvGraphics.h"
#include "foundation/graphics/AdvGraphicsContextWin.h"
#include "platform/vcl/Bitmap.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"

using namespace gdiplus_runtime;

namespace {

constexpr TColor kWinPaper = 0x00FE01;

class AdvGraphicsContextWinTest : public gdiplus_runtime_test::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    Bitmap = std::make_unique<TBitmap>(80, 60);
    TCanvas* c = Bitmap->Canvas();
    c->Brush()->SetColor(kWinPaper);
    c->FillRect({0, 0, 80, 60});
    Graphics = std::make_unique<TAdvGraphics>(Bitmap->Canvas(), true);
    Context = static_cast<TAdvGraphicsContextWin*>(Graphics->Context());
    Context->SetSize(80, 60);
  }
  TColor Px(int x, int y) { return Bitmap->Canvas()->Pixels(x, y); }
  // The columns and rows holding ink of a colour.
  TRect InkBounds(TColor color) {
    TRect r{1000, 1000, -1, -1};
    for (int y = 0; y < Bitmap->Height(); ++y)
      for (int x = 0; x < Bitmap->Width(); ++x)
        if (Px(x, y) == color) r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x), std::max(r.Bottom, y)};
    return r;
  }

  std::unique_ptr<TBitmap> Bitmap;
  std::unique_ptr<TAdvGraphics> Graphics;
  TAdvGraphicsContextWin* Context = nullptr;
};

TEST_F(AdvGraphicsContextWinTest, EllipseOutlineIsOnePixelNarrowerThanItsFill) {
  TAdvGraphicsFill fill(gfkSolid, clRed);
  Context->SetFill(&fill);
  Context->FillEllipse(&fill, {10, 10, 30, 30});
  TAdvGraphicsStroke stroke(gskSolid, clBlue);
  Context->SetStroke(&stroke);
  Context->DrawEllipse(&stroke, {40, 10, 60, 30});
  Context->Render();
  const TRect filled = InkBounds(clRed), stroked = InkBounds(clBlue);
  EXPECT_EQ(filled.Left - 10, stroked.Left - 40);
  EXPECT_EQ(filled.Right - filled.Left, stroked.Right - stroked.Left + 1);
  EXPECT_EQ(filled.Bottom - filled.Top, stroked.Bottom - stroked.Top + 1);
}

ARGB Argb(TColor c) { return ColorToGPColor(c, 1); }

TEST_F(AdvGraphicsContextWinTest, GradientStopsAreCompletedAndReversedForRadial) {
  TAdvGraphicsFill fill(gfkGradient, clRed, clBlue);
  fill.SetGradientMode(gfgmCollection);
  fill.AddGradientItem(clRed, 0.25f, 1);
  fill.AddGradientItem(clBlue, 0.75f, 1);
  TGPGraphicsPath path;
  path.AddRectangle(TGPRectF{0, 0, 10, 10});
  std::unique_ptr<TGPBrush> brush = CreateGPBrush(&fill, &path);
  auto* linear = dynamic_cast<TGPLinearGradientBrush*>(brush.get());
  ASSERT_NE(linear, nullptr);
  ASSERT_EQ(linear->GetInterpolationColorCount(), 4);
  ARGB colors[4];
  Single positions[4];
  ASSERT_EQ(linear->GetInterpolationColors(colors, positions, 4), Ok);
  EXPECT_EQ(std::vector<Single>(positions, positions + 4), (std::vector<Single>{0, 0.25f, 0.75f, 1}));
  EXPECT_EQ(colors[0], Argb(clRed));
  EXPECT_EQ(colors[3], Argb(clBlue));

  TAdvGraphicsFill radial(gfkGradient, clRed, clBlue);
  radial.SetGradientType(gfgtRadial);
  radial.SetGradientMode(gfgmCollection);
  radial.AddGradientItem(clRed, 0, 1);
  radial.AddGradientItem(clBlue, 1, 1);
  brush = CreateGPBrush(&radial, &path);
  auto* pathBrush = dynamic_cast<TGPPathGradientBrush*>(brush.get());
  ASSERT_NE(pathBrush, nullptr);
  ARGB two[2];
  Single at[2];
  ASSERT_EQ(pathBrush->GetInterpolationColors(two, at, 2), Ok);
  EXPECT_EQ(two[0], Argb(clBlue));
  EXPECT_EQ(two[1], Argb(clRed));
  EXPECT_EQ(at[0], 0);
  EXPECT_EQ(at[1], 1);

  // Two colours with mirror colours meet in the middle.
  TAdvGraphicsFill mirror(gfkGradient, clRed, clLime, clBlue, clYellow);
  brush = CreateGPBrush(&mirror, &path);
  linear = dynamic_cast<TGPLinearGradientBrush*>(brush.get());
  ASSERT_NE(linear, nullptr);
  ASSERT_EQ(linear->GetInterpolationColors(colors, positions, 4), Ok);
  EXPECT_EQ(std::vector<Single>(positions, positions + 4), (std::vector<Single>{0, 0.5f, 0.5f, 1}));
  EXPECT_EQ(colors[2], Argb(clBlue));
}

TEST_F(AdvGraphicsContextWinTest, DashedOutlinesDrawWithoutSmoothing) {
  Context->SetAntiAliasing(true);
  TAdvGraphicsStroke stroke(gskDash, clBlue);
  Context->SetStroke(&stroke);
  EXPECT_EQ(Context->GPPen()->GetDashStyle(), DashStyleDash);
  Context->DrawLine(&stroke, {0.5f, 20.3f}, {79.5f, 20.3f});
  EXPECT_EQ(Context->GPGraphics()->GetSmoothingMode(), SmoothingModeAntiAlias);
  Context->Render();
  // Only full-colour ink and paper: no anti-aliased edge, and gaps between dashes.
  int ink = 0;
  for (int x = 0; x < 80; ++x) {
    for (int y = 18; y < 23; ++y) {
      const TColor c = Px(x, y);
      EXPECT_TRUE(c == clBlue || c == kWinPaper) << x << "," << y;
    }
    ink += Px(x, 20) == clBlue;
  }
  EXPECT_GT(ink, 20);
  EXPECT_LT(ink, 70);
}

TEST_F(AdvGraphicsContextWinTest, FontsPenAndText) {
  TAdvGraphicsFont font;
  font.SetName(u"default");
  font.SetSize(0);
  std::unique_ptr<TGPFont> gp = CreateGPFont(&font);
  TGPFontFamily family;
  ASSERT_EQ(gp->GetFamily(&family), Ok);
  String name;
  family.GetFamilyName(name);
  EXPECT_EQ(name, u"Arial");
  EXPECT_EQ(gp->GetSize(), 8);
  EXPECT_EQ(ColorToGPColor(gcNull, 1), 0xFF000000u);
  EXPECT_EQ(ColorToGPColor(clRed, 0.5f), 0x80FF0000u);
  EXPECT_EQ(ColorToGPColor(clRed, 7), 0xFFFF0000u);  // alpha never spills

  EXPECT_EQ(Context->SetTextAngle({0, 0, 20, 100}, 90), (TRectF{-50, -10, 50, 10}));
  Context->ResetTextAngle(90);
  EXPECT_EQ(Context->GetMatrix(), TAdvGraphicsMatrix::Identity());
  const TRectF box = Context->CalculateText(u"Hello", {5, 5, 500, 100}, false);
  EXPECT_GT(box.Right - box.Left, 10);
  EXPECT_GE(box.Left, 5);
}

TEST_F(AdvGraphicsContextWinTest, TransformsAndTheSurfaceLifetime) {
  Context->TranslateTransform(5, 7);
  Context->ScaleTransform(2, 2);
  const TAdvGraphicsMatrix m = Context->GetMatrix();
  EXPECT_EQ(m.m11, 2);
  EXPECT_EQ(m.m31, 5);
  EXPECT_EQ(m.m32, 7);
  Context->ResetTransform();
  EXPECT_EQ(Context->GetMatrix(), TAdvGraphicsMatrix::Identity());
  Context->SetMatrix(TAdvGraphicsMatrix::CreateTranslation(3, 4));
  EXPECT_EQ(Context->GetMatrix().m32, 4);

  Context->EndScene();
  EXPECT_EQ(Context->NativeCanvas(), nullptr);
  // Without a surface nothing happens, and nothing crashes.
  Context->SetMatrix(TAdvGraphicsMatrix::CreateScaling(2, 2));
  EXPECT_EQ(Context->GetMatrix(), TAdvGraphicsMatrix::Identity());
  TAdvGraphicsFill fill(gfkSolid, clRed);
  Context->FillRect(&fill, {0, 0, 80, 60});
  EXPECT_EQ(Px(40, 30), kWinPaper);
  EXPECT_EQ(Context->CalculateText(u"x", {0, 0, 10, 10}, false), (TRectF{}));
}

TEST_F(AdvGraphicsContextWinTest, ClipPathAndRoundedFill) {
  TAdvGraphicsFill fill(gfkSolid, clRed);
  Context->SetFill(&fill);
  TAdvGraphicsPath empty;
  Context->ClipPath(&empty);
  Context->FillRect(&fill, {0, 0, 80, 60});
  Context->ResetClip();
  Context->FillRoundRect(&fill, {10, 10, 50, 50}, 10, AllGraphicsCorners);
  Context->Render();
  EXPECT_EQ(Px(5, 5), kWinPaper);
  EXPECT_EQ(Px(30, 30), clRed);
  EXPECT_EQ(Px(11, 11), kWinPaper);  // rounded away
  EXPECT_EQ(Px(30, 11), clRed);
}

// Curved outlines and fills reach the surface with fewer vertices than the
// path's quarter-pixel flattening; the pixels must be those of the full polygon.
TEST_F(AdvGraphicsContextWinTest, CurvedShapesDrawAsTheirFullPolygon) {
  TAdvGraphicsFill fill(gfkSolid, clRed);
  TAdvGraphicsStroke stroke(gskSolid, clBlue);
  stroke.SetWidth(2);
  struct TCase {
    const char* Name;
    std::function<void(TAdvGraphicsPath&)> Make;
  };
  const TCase cases[] = {
      {"rounded rectangle", [](TAdvGraphicsPath& p) { p.AddRoundRectangle({4.5f, 6, 70, 52}, 9, 9, AllGraphicsCorners); }},
      {"ellipse", [](TAdvGraphicsPath& p) { p.AddEllipse({8, 5, 73, 55}); }},
      {"open arc", [](TAdvGraphicsPath& p) { p.AddArc({40, 30}, {30, 22}, 200, 250); }},
      {"tiny circle", [](TAdvGraphicsPath& p) { p.AddEllipse({38, 28, 41, 31}); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TAdvGraphicsPath path;
    c.Make(path);
    TAdvGraphicsPathPolygon full;
    path.FlattenToPolygon(full, 0.25f);
    auto paint = [&](bool throughPath) {
      // A fresh surface each time, the canvas going before its bitmap.
      Graphics.reset();
      Bitmap.reset();
      SetUp();
      Context->SetFill(&fill);
      Context->SetStroke(&stroke);
      Context->SetAntiAliasing(true);
      if (throughPath) {
        Context->FillPath(&fill, &path, pdmPolygon);
        Context->DrawPath(&stroke, &path, pdmPolygon);
      } else {
        Context->FillPolygon(&fill, full);
        Context->DrawPolygon(&stroke, full);
      }
      Context->Render();
      std::vector<TColor> pixels;
      for (int y = 0; y < Bitmap->Height(); ++y)
        for (int x = 0; x < Bitmap->Width(); ++x) pixels.push_back(Px(x, y));
      return pixels;
    };
    const std::vector<TColor> thinned = paint(true), reference = paint(false);
    int worst = 0;
    for (std::size_t i = 0; i < thinned.size(); ++i)
      for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(int((thinned[i] >> shift) & 0xFF) - int((reference[i] >> shift) & 0xFF)));
    // Edge coverage may move by a few levels (a twentieth of a pixel at
    // most); a vertex too many left out moves an edge by whole levels.
    EXPECT_LE(worst, 24);
  }
}

TEST_F(AdvGraphicsContextWinTest, PictureCopyIsAnArgbRasterOfThePicture) {
  TBitmap picture(5, 3);
  picture.Canvas()->Brush()->SetColor(0x123456);
  picture.Canvas()->FillRect({0, 0, 5, 3});
  picture.Canvas()->SetPixels(4, 2, 0xABCDEF);
  std::unique_ptr<TGPImage> image = CreateGPImage(&picture);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetType(), ImageTypeBitmap);
  EXPECT_EQ(image->GetPixelFormat(), PixelFormat32bppARGB);
  EXPECT_EQ(image->GetWidth(), 5u);
  EXPECT_EQ(image->GetHeight(), 3u);
  EXPECT_EQ(image->GetHorizontalResolution(), 96);
  auto* bitmap = static_cast<TGPBitmap*>(image.get());
  ARGB c = 0;
  ASSERT_EQ(bitmap->GetPixel(0, 0, c), Ok);
  EXPECT_EQ(c, ColorToGPColor(0x123456, 1));
  ASSERT_EQ(bitmap->GetPixel(4, 2, c), Ok);
  EXPECT_EQ(c, ColorToGPColor(0xABCDEF, 1));
  EXPECT_EQ(CreateGPImage(nullptr), nullptr);
}

TEST_F(AdvGraphicsContextWinTest, BitmapDrawnWholeIntoTheDestination) {
  TBitmap picture(4, 4);
  picture.Canvas()->Brush()->SetColor(clBlue);
  picture.Canvas()->FillRect({0, 0, 4, 4});
  Context->DrawBitmap(&picture, {0, 0, 1, 1}, {20, 20, 40, 40}, 0.1f);
  Context->Render();
  EXPECT_EQ(Px(21, 21), clBlue);
  EXPECT_EQ(Px(38, 38), clBlue);
  EXPECT_EQ(Px(45, 45), kWinPaper);
  Context->DrawBitmap(nullptr, {}, {0, 0, 10, 10}, 1);
}

}  // namespace
