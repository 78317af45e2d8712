// The imported GDI+ wrapper set: status keeping, shared and cached objects,
// look flags and colours, and the TFont text routines.
#include <gtest/gtest.h>

#include <memory>

#include "foundation/gdiplus/GPGraphics.h"
#include "foundation/gdiplus/LookFlags.h"
#include "platform/testing/GuiTestApp.h"

using namespace gdiplus;

namespace {

class GdiplusWrapperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitializeGdiplusUnit();
  }
};

// A white bitmap with a graphics on it.
struct TCanvasFixture {
  TCanvasFixture(int w, int h) : Bitmap(w, h), Graphics(&Bitmap) { Graphics.Clear(0xFFFFFFFF); }
  ARGB Px(int x, int y) {
    ARGB c = 0;
    Bitmap.GetPixel(x, y, c);
    return c;
  }
  TGPBitmap Bitmap;
  TGPGraphics Graphics;
};

}  // namespace

TEST_F(GdiplusWrapperTest, AFailureStaysUntilReadOnce) {
  TGPLinearGradientBrush brush(GPRectF(0, 0, 10, 10), 0xFF000000, 0xFFFFFFFF, LinearGradientModeHorizontal);
  EXPECT_EQ(brush.GetLastStatus(), Ok);
  EXPECT_EQ(brush.SetInterpolationColors(nullptr, nullptr, 0), InvalidParameter);
  EXPECT_EQ(brush.SetGammaCorrection(true), Ok) << "a later success leaves the failure kept";
  EXPECT_EQ(brush.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(brush.GetLastStatus(), Ok);
  TGPBrush plain;
  EXPECT_EQ(plain.GetLastStatus(), NotImplemented);
  EXPECT_EQ(plain.nativeBrush, nullptr);
}

TEST_F(GdiplusWrapperTest, GraphicsWithoutHandleAndMatrixRules) {
  TGPGraphics none(static_cast<TGPImage*>(nullptr));
  EXPECT_EQ(none.nativeGraphics, nullptr);
  EXPECT_EQ(none.GetLastStatus(), Ok);
  EXPECT_EQ(none.GetSmoothingMode(), -1);
  TGPMatrix m;
  m.Translate(5, 5);
  m.Reset();
  EXPECT_EQ(m.OffsetX(), 0);
  ASSERT_EQ(m.RotateAt(90, GPPointF(10, 10), MatrixOrderPrepend), Ok);
  TGPPointF p = GPPointF(20, 10);
  m.TransformPoints(&p);
  EXPECT_NEAR(p.X, 10, 1e-4);
  EXPECT_NEAR(p.Y, 20, 1e-4);
  TGPMatrix singular(0, 0, 0, 0, 0, 0);
  EXPECT_FALSE(singular.IsInvertible());
  EXPECT_EQ(singular.Invert(), InvalidParameter);
  std::unique_ptr<TGPMatrix> clone(m.Clone());
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->OffsetX(), m.OffsetX());
  TGPMatrix empty(static_cast<GpMatrix*>(nullptr));
  EXPECT_EQ(empty.Clone(), nullptr) << "a failed clone gives no matrix";
  EXPECT_EQ(empty.IsIdentity(), false);
  EXPECT_EQ(empty.GetLastStatus(), InvalidParameter);
  // A rectangle onto a parallelogram given by its three corners.
  const TGPPointF plg[3] = {GPPointF(100, 100), GPPointF(120, 100), GPPointF(100, 130)};
  TGPMatrix onto(GPRectF(0, 0, 10, 10), plg);
  TGPPointF corner = GPPointF(10, 10);
  ASSERT_EQ(onto.TransformPoints(&corner), Ok);
  EXPECT_NEAR(corner.X, 120, 1e-4);
  EXPECT_NEAR(corner.Y, 130, 1e-4);
}

TEST_F(GdiplusWrapperTest, SurroundColoursAgainstThePointCount) {
  TGPGraphicsPath path;
  path.AddEllipse(0, 0, 40, 40);
  TGPPathGradientBrush brush(&path);
  ARGB colors[2] = {0xFFFF0000, 0xFF0000FF};
  Integer count = 2;
  EXPECT_EQ(brush.SetSurroundColors(colors, count), Ok);
  EXPECT_EQ(count, 2);
  Integer tooMany = brush.GetPointCount() + 1;
  std::vector<ARGB> many(std::size_t(tooMany), 0);
  EXPECT_EQ(brush.SetSurroundColors(many.data(), tooMany), InvalidParameter);
  brush.GetLastStatus();
  ARGB out[1];
  Integer small = 1;
  EXPECT_EQ(brush.GetSurroundColors(out, small), InsufficientBuffer);
  EXPECT_EQ(brush.GetSurroundColors(nullptr, small), InvalidParameter);
  // An earlier failure stays kept, yet the colours are read and counted.
  ARGB back[8] = {};
  Integer room = 8;
  ASSERT_EQ(brush.GetSurroundColors(back, room), Ok);
  EXPECT_EQ(room, 2);
  EXPECT_EQ(brush.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(back[0], 0xFFFF0000u);
  EXPECT_EQ(back[1], 0xFF0000FFu);
}

TEST_F(GdiplusWrapperTest, DrawStringDrawsAllMeasureStringMeasuresLength) {
  TCanvasFixture c(200, 40);
  TGPFont font(u"Arial", 12, TFontStyles{}, UnitPixel);
  TGPSolidBrush black(0xFF000000);
  TGPRectF two{}, five{};
  c.Graphics.MeasureString(u"WWWWW", 2, &font, GPRectF(0, 0, 0, 0), two);
  c.Graphics.MeasureString(u"WWWWW", 5, &font, GPRectF(0, 0, 0, 0), five);
  EXPECT_LT(two.Width, five.Width * 0.6);
  c.Graphics.DrawString(u"WWWWW", 2, &font, GPPointF(0, 0), &black);
  int right = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x)
      if (c.Px(x, y) != 0xFFFFFFFF) right = std::max(right, x);
  EXPECT_GT(right, two.Width + 5) << "all five characters are drawn";
  // A length past the text's end measures the text, never what lies beyond it.
  const String longText(40, u'W');
  TGPRectF whole{}, past{};
  c.Graphics.MeasureString(longText, -1, &font, GPRectF(0, 0, 0, 0), whole);
  EXPECT_EQ(c.Graphics.MeasureString(longText, 4000, &font, GPRectF(0, 0, 0, 0), past), Ok);
  EXPECT_EQ(past.Width, whole.Width);
  TGPGraphicsPath path;
  EXPECT_EQ(path.AddString(longText, 4000, TGPFontFamily::GenericSansSerif(), 0, 12, GPPointF(0, 0), nullptr), Ok);
}

TEST_F(GdiplusWrapperTest, DrawImageRectRoundsHalvesToEven) {
  TCanvasFixture c(30, 30);
  TGPBitmap src(1, 1);
  src.SetPixel(0, 0, 0xFF000000);
  c.Graphics.DrawImageRect(&src, GPRectF(0.5f, 1.5f, 10.5f, 10.4f));
  // Drawn into (0, 2, 10, 10).
  EXPECT_EQ(c.Px(0, 2), 0xFF000000u);
  EXPECT_EQ(c.Px(9, 11), 0xFF000000u);
  EXPECT_EQ(c.Px(0, 1), 0xFFFFFFFFu);
  EXPECT_EQ(c.Px(10, 5), 0xFFFFFFFFu);
}

TEST_F(GdiplusWrapperTest, ImageFormatsAndSharedFamilies) {
  TGPBitmap b(3, 3);
  IStream* s = SHCreateMemStream(nullptr, 0);
  ASSERT_EQ(b.Save(s, EncoderClsidPNG), Ok);
  s->Seek(0, STREAM_SEEK_SET, nullptr);
  TGPImage png(s);
  EXPECT_EQ(png.GetFormat(), ifPNG);
  EXPECT_EQ(png.GetWidth(), 3u);
  s->Release();
  const Byte junk[] = {9, 9, 9};
  IStream* j = SHCreateMemStream(junk, 3);
  TGPImage bad(j);
  EXPECT_EQ(bad.GetFormat(), ifUndefined);
  EXPECT_EQ(bad.GetWidth(), 0u);
  j->Release();
  EXPECT_EQ(TGPFontFamily::GenericSansSerif(), TGPFontFamily::GenericSansSerif());
  // A family that exists answers its whole name (the longest installed one
  // is well inside the 31 characters a name may have).
  TGPFontFamily narrow(u"Liberation Sans Narrow");
  ASSERT_EQ(narrow.GetLastStatus(), Ok);
  String name = u"x";
  EXPECT_EQ(narrow.GetFamilyName(name), Ok);
  EXPECT_EQ(name, u"Liberation Sans Narrow");
  TGPFont missing(u"No Such Face 42", 10);
  EXPECT_EQ(missing.GetLastStatus(), Ok) << "made in the generic sans-serif family";
  EXPECT_NE(missing.nativeFont, nullptr);
  EXPECT_EQ(missing.GetFamily(nullptr), InvalidParameter);
}

TEST(GdiplusLookTest, ColoursFlagsAndDpi) {
  EnsureGuiApplication();
  EXPECT_EQ(ColorToARGB(0x000000FF), 0xFFFF0000u);
  EXPECT_EQ(ColorToARGB(0x00563412), 0xFF123456u);
  EXPECT_EQ(ColorToARGB(clNone), 0xFFFFFFFFu);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(ColorToARGB(clBtnFace), 0xFF000000u | (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face));
  EXPECT_EQ(ColorToAlphaARGB(0x80, 0x00563412), 0x80123456u);
  EXPECT_EQ(ComposeARGB(0x80, 0x12, 0x34, 0x56), 0x80123456u);
  EXPECT_EQ(RGBToARGB(0x12, 0x34, 0x56), 0xFF123456u);
  EXPECT_EQ(ARGBRed(0x80123456), 0x12);
  EXPECT_EQ(ARGBGreen(0x80123456), 0x34);
  EXPECT_EQ(ARGBBlue(0x80123456), 0x56);
  SetWin10Flag(true);
  SetWin11Flag(false);
  EXPECT_FALSE(NewerWindowsFlagForTest());
  SetGlassFlag(true);
  EXPECT_TRUE(GetGlassFlag());
  SetGlassFlag(false);
  EXPECT_EQ(GetDPIScaleFactor(), 1.0f);
  EXPECT_EQ(UpdateDPIScaleFactor(nullptr), 1.0f) << "96 pixels per inch";
  EXPECT_GT(GetZeroTextHeight(144, 9), GetZeroTextHeight(96, 9));
}

TEST_F(GdiplusWrapperTest, CachedFontFollowsTheTFont) {
  TCanvasFixture c(100, 40);
  TFont font;
  font.SetName(u"Arial");
  font.SetSize(10);
  TGPFont* a = c.Graphics.MakeFontEx(&font);
  EXPECT_EQ(c.Graphics.MakeFontEx(&font), a);
  font.SetSize(11);
  TGPFont* b = c.Graphics.MakeFontEx(&font);
  EXPECT_EQ(b->GetSize(), 11);
  font.SetStyle({fsBold});
  EXPECT_EQ(c.Graphics.MakeFontEx(&font)->GetStyle(), FontStyleBold);
  // An unknown face is drawn in Arial and rebuilt on every call.
  font.SetName(u"Not Installed Face");
  TGPFont* f1 = c.Graphics.MakeFontEx(&font);
  TGPFontFamily fam(nullptr, Ok);
  f1->GetFamily(&fam);
  String name;
  fam.GetFamilyName(name);
  EXPECT_EQ(name, u"Arial");
  std::unique_ptr<TGPFont> own(c.Graphics.MakeFont(&font));
  EXPECT_NE(own.get(), c.Graphics.FCachedFont);
  EXPECT_EQ(c.Graphics.TextWidth(u"", &font), 0);
}

TEST_F(GdiplusWrapperTest, DrawTextMeasuresOrDraws) {
  EXPECT_EQ(DrawTextMargin(8), 2);
  EXPECT_EQ(DrawTextMargin(9), 3);
  EXPECT_EQ(DrawTextMargin(11), 4);
  EXPECT_EQ(DrawTextMargin(12), 5);
  EXPECT_EQ(DrawTextMargin(14), 6);
  TCanvasFixture c(200, 40);
  TFont font;
  font.SetName(u"Arial");
  font.SetSize(8);
  TRect r{10, 5, 10, 5};
  Integer h = c.Graphics.DrawText(u"Hello", -1, r, &font, DT_CALCRECT, clNone);
  EXPECT_GT(r.Right, 20);
  EXPECT_EQ(h, r.Bottom - r.Top);
  EXPECT_GT(h, 5);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) ASSERT_EQ(c.Px(x, y), 0xFFFFFFFFu) << "measuring draws nothing";
  TRect r2{10, 5, 60, 25};
  EXPECT_EQ(c.Graphics.DrawText(u"Hello", -1, r2, &font, 0, clNone), 20);
  EXPECT_EQ(r2.Right, 60) << "drawing alone leaves the rectangle";
  bool ink = false;
  for (int y = 0; y < 40 && !ink; ++y)
    for (int x = 0; x < 200 && !ink; ++x) ink = c.Px(x, y) != 0xFFFFFFFFu;
  EXPECT_TRUE(ink);
  // A trailing space counts as an "i"; a lone space is measured as it is.
  TRect a{0, 0, 0, 0}, b{0, 0, 0, 0};
  c.Graphics.DrawText(u"ab ", -1, a, &font, DT_CALCRECT, clNone);
  c.Graphics.DrawText(u"abi", -1, b, &font, DT_CALCRECT, clNone);
  EXPECT_EQ(a.Right, b.Right);
  // A length past the text's end measures the text as it is.
  TRect d{0, 0, 0, 0};
  c.Graphics.DrawText(u"abi", 500, d, &font, DT_CALCRECT, clNone);
  EXPECT_EQ(d.Right, b.Right);
}

TEST_F(GdiplusWrapperTest, DrawTextFillsTheMeasuredBackground) {
  TCanvasFixture c(200, 40);
  TFont font;
  font.SetName(u"Arial");
  font.SetSize(14);  // margin 6
  TRect m{20, 10, 20, 10};
  c.Graphics.DrawText(u"Hello", -1, m, &font, DT_CALCRECT, clNone);
  TRect r{20, 10, 20, 10};
  Integer h = c.Graphics.DrawText(u"Hello", -1, r, &font, DT_CALCRECT, clRed);
  EXPECT_EQ(r.Right, m.Right) << "the fill does not change the measure";
  EXPECT_EQ(h, m.Bottom - m.Top);
  // Filled from Left + 1 across the measured width less the margin, plus one.
  EXPECT_EQ(c.Px(20, 10), 0xFFFFFFFFu);
  EXPECT_EQ(c.Px(21, 10), 0xFFFF0000u);
  EXPECT_EQ(c.Px(r.Right - 1, r.Bottom - 2), 0xFFFF0000u);
  EXPECT_EQ(c.Px(21, 9), 0xFFFFFFFFu);
  EXPECT_EQ(c.Px(r.Right + 3, r.Top + 2), 0xFFFFFFFFu);
}
