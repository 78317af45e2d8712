// The fill kinds, glow, picture placement and the gradient fill object:
// sampled pixels, returned areas and the settings file.
#include <gtest/gtest.h>

#include <fstream>

#include "foundation/gdiplus/FillShapes.h"
#include "foundation/gdiplus/GDIPFill.h"
#include "foundation/gdiplus/ImageSizeReaders.h"
#include "foundation/gdiplus/LookFlags.h"
#include "foundation/json/AdvPersistence.h"
#include "foundation/pictures/AdvHintInfo.h"
#include "platform/rtl/Streams.h"
#include "platform/testing/GuiTestApp.h"
#include "tests/foundation/pictures/PictureSamples.h"

using namespace gdiplus;
using namespace picture_samples;

namespace {

class FillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitializeGdiplusUnit();
  }
};

struct TSurface {
  TSurface(int w, int h) : Bitmap(w, h), Graphics(&Bitmap) { Graphics.Clear(0xFFFFFFFF); }
  ARGB Px(int x, int y) {
    ARGB c = 0;
    Bitmap.GetPixel(x, y, c);
    return c;
  }
  TGPBitmap Bitmap;
  TGPGraphics Graphics;
};

bool Near(ARGB a, ARGB b, int tol = 40) {
  return std::abs(ARGBRed(a) - ARGBRed(b)) <= tol && std::abs(ARGBGreen(a) - ARGBGreen(b)) <= tol &&
         std::abs(ARGBBlue(a) - ARGBBlue(b)) <= tol;
}

// Mostly the colour: near it, or for red and blue far on its side of the blend.
bool Mostly(ARGB px, ARGB c) {
  if (c == 0xFFFF0000) return ARGBRed(px) > ARGBBlue(px) + 120;
  if (c == 0xFF0000FF) return ARGBBlue(px) > ARGBRed(px) + 120;
  return Near(px, c);
}

TGradientFillParams Params(TGPGraphics* g, TAdvGradientType kind) {
  TGradientFillParams p;
  p.Graphics = g;
  p.Rect = GPRectF(0, 0, 100, 20);
  p.GradientType = kind;
  p.Color = clRed;
  p.ColorTo = clBlue;
  return p;
}

constexpr ARGB kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

}  // namespace

TEST_F(FillTest, EachGradientKindSampled) {
  struct TCase {
    TAdvGradientType Kind;
    int X1, Y1;
    ARGB C1;
    int X2, Y2;
    ARGB C2;
  } cases[] = {
      {gtSolid, 2, 2, kRed, 97, 17, kRed},
      {gtVertical, 50, 0, kRed, 50, 19, kBlue},
      {gtHorizontal, 0, 10, kRed, 99, 10, kBlue},
      {gtForwardDiagonal, 1, 1, kRed, 98, 18, kBlue},
      {gtBackwardDiagonal, 98, 1, kRed, 1, 18, kBlue},
      {gtRadial, 50, 10, kWhite, 0, 0, kWhite},
      {gtPath, 50, 10, kWhite, 0, 0, kWhite},
      {gtNone, 50, 10, kWhite, 0, 0, kWhite},
  };
  for (const auto& c : cases) {
    TSurface s(100, 21);
    DrawGradientFill(Params(&s.Graphics, c.Kind));
    EXPECT_TRUE(Mostly(s.Px(c.X1, c.Y1), c.C1)) << c.Kind << std::hex << " got " << s.Px(c.X1, c.Y1);
    EXPECT_TRUE(Mostly(s.Px(c.X2, c.Y2), c.C2)) << c.Kind << std::hex << " got " << s.Px(c.X2, c.Y2);
    EXPECT_EQ(s.Px(50, 20), kWhite) << c.Kind << ": nothing below the area";
  }
  TSurface angle(100, 100);
  TGradientFillParams a = Params(&angle.Graphics, gtAngle);
  a.Rect = GPRectF(0, 0, 100, 100);
  a.Angle = 90;
  DrawGradientFill(a);
  EXPECT_TRUE(Mostly(angle.Px(50, 1), kRed)) << std::hex << angle.Px(50, 1);
  EXPECT_TRUE(Mostly(angle.Px(50, 98), kBlue)) << std::hex << angle.Px(50, 98);
  TSurface hatch(100, 21);
  TGradientFillParams h = Params(&hatch.Graphics, gtHatch);
  h.HatchStyle = HatchStyleHorizontal;
  DrawGradientFill(h);
  int red = 0, blue = 0;
  for (int y = 0; y < 20; ++y) (Near(hatch.Px(50, y), kRed) ? red : blue) += 1;
  EXPECT_GT(red, 0) << "hatch lines in the foreground";
  EXPECT_GT(blue, red) << "on the background colour";
}

TEST_F(FillTest, BorderUsesOpacityAndTextureTiles) {
  TSurface s(100, 21);
  TGradientFillParams p = Params(&s.Graphics, gtNone);
  p.BorderColor = clBlack;
  p.Opacity = 128;
  p.OpacityTo = 0;
  p.Rect = GPRectF(10, 5, 50, 10);
  DrawGradientFill(p);
  const ARGB edge = s.Px(30, 5);
  EXPECT_GT(ARGBRed(edge), 100);
  EXPECT_LT(ARGBRed(edge), 160) << "half transparent black over white";
  EXPECT_EQ(s.Px(30, 10), kWhite) << "no fill for gtNone";

  TZovIVIDPicture tile;
  tile.LoadFromBytes(Png(4, 4, clGreen));
  TSurface t(20, 20);
  TGradientFillParams tp = Params(&t.Graphics, gtTexture);
  tp.Rect = GPRectF(0, 0, 20, 10);
  tp.Picture = &tile;
  DrawGradientFill(tp);
  EXPECT_TRUE(Near(t.Px(17, 9), 0xFF008000));
  EXPECT_EQ(t.Px(17, 12), kWhite);
}

TEST_F(FillTest, RoundedOutlinesAndRadialGlow) {
  TSurface s(100, 30);
  std::unique_ptr<TGPGraphicsPath> top = CreateRoundedRectPath(GPRectF(0, 0, 100, 30), 8, rtTop);
  TGPSolidBrush black(0xFF000000);
  s.Graphics.FillPath(&black, top.get());
  EXPECT_EQ(s.Px(0, 0), kWhite) << "top corners rounded";
  EXPECT_EQ(s.Px(99, 0), kWhite);
  EXPECT_EQ(s.Px(0, 29), 0xFF000000u) << "bottom corners square";
  EXPECT_EQ(s.Px(98, 29), 0xFF000000u);

  TSurface g(100, 40);
  DrawRadialGlow(&g.Graphics, GPRectF(0, 0, 100, 40), clBlue, clWhite, 255, 255, rtNone, 0, true);
  EXPECT_TRUE(Near(g.Px(50, 1), kWhite, 60)) << "the glow colour at the top centre";
  EXPECT_TRUE(Near(g.Px(2, 38), kBlue, 60)) << "the base colour away from it";
}

TEST_F(FillTest, AspectSizesAndPlacement) {
  struct TCase {
    TPictureMode Mode;
    double AreaW, AreaH, PicW, PicH, W, H;
  } cases[] = {
      {pmNormal, 100, 100, 50, 20, 50, 20},  {pmStretch, 100, 100, 50, 20, 100, 40},
      {pmNormal, 100, 100, 200, 100, 100, 50}, {pmStretch, 100, 50, 10, 10, 50, 50},
      {pmStretch, 0, 100, 10, 10, 0, 0},     {pmNormal, 100, 100, 10, -1, 0, 0},
  };
  for (const auto& c : cases) {
    double w = -1, h = -1;
    CalcAspectSize(w, h, c.Mode, c.AreaH, c.AreaW, c.PicH, c.PicW);
    EXPECT_DOUBLE_EQ(w, c.W);
    EXPECT_DOUBLE_EQ(h, c.H);
  }
  TZovIVIDPicture pic;
  pic.LoadFromBytes(Png(50, 50, clBlue));
  TSurface s(101, 101);
  DrawFillPicture(&s.Graphics, false, pmStretch, 0, 0, Rect(0, 0, 101, 101), 50, 50, ppCenterCenter, &pic);
  EXPECT_EQ(s.Px(24, 50), kWhite);
  EXPECT_TRUE(Near(s.Px(25, 25), kBlue));
  EXPECT_TRUE(Near(s.Px(74, 74), kBlue));
  EXPECT_EQ(s.Px(75, 50), kWhite);
}

TEST_F(FillTest, FillObjectDefaultsMirrorShadowAndLine) {
  TGDIPFill fill;
  TSurface s(100, 31);
  fill.Fill(&s.Graphics, GPRectF(0, 0, 100, 30));
  EXPECT_TRUE(Near(s.Px(50, 0), 0xFFC0C0C0, 12)) << "vertical gradient from C0C0C0";
  EXPECT_TRUE(Near(s.Px(50, 29), 0xFF808080, 12)) << "to 808080";

  struct TShadow {
    TShadowType Type;
    TGPRectF Expected;
  } shadows[] = {{stRightBottom, GPRectF(0, 0, 97, 27)}, {stSurround, GPRectF(3, 3, 94, 24)},
                 {stBottom, GPRectF(0, 0, 100, 27)}};
  for (const auto& c : shadows) {
    TGDIPFill f;
    f.SetShadowOffset(3);
    f.SetShadowType(c.Type);
    TSurface t(100, 31);
    const TGPRectF r = f.Fill(&t.Graphics, GPRectF(0, 0, 100, 30));
    EXPECT_EQ(r.X, c.Expected.X);
    EXPECT_EQ(r.Y, c.Expected.Y);
    EXPECT_EQ(r.Width, c.Expected.Width);
    EXPECT_EQ(r.Height, c.Expected.Height);
    if (c.Type == stRightBottom) {
      EXPECT_NE(t.Px(98, 20), kWhite) << "the shadow shows right of the fill";
    }
  }

  TGDIPFill mirror;
  mirror.SetColor(clRed);
  mirror.SetColorTo(clRed);
  mirror.SetColorMirror(clBlue);
  mirror.SetColorMirrorTo(clBlue);
  mirror.SetGradientMirrorType(gtVertical);
  TSurface m(100, 31);
  mirror.Fill(&m.Graphics, GPRectF(0, 0, 100, 30));
  EXPECT_TRUE(Near(m.Px(50, 5), kRed));
  EXPECT_TRUE(Near(m.Px(50, 25), kBlue));

  TGDIPFill line;
  line.SetBorderColor(clBlack);
  TSurface l(100, 10);
  line.Fill(&l.Graphics, GPRectF(0, 5, 100, 1));
  EXPECT_EQ(l.Px(50, 4), kWhite) << "a 1-pixel area is never filled";
  EXPECT_NE(l.Px(50, 5), kWhite) << "only its border line is drawn";
}

TEST_F(FillTest, GlowBrightensTheTop) {
  TGDIPFill fill;
  fill.SetColor(clNavy);
  fill.SetColorTo(clNavy);
  fill.SetGlow(gmGradient);
  TSurface s(100, 41);
  fill.Fill(&s.Graphics, GPRectF(0, 0, 100, 40));
  EXPECT_GT(ARGBRed(s.Px(50, 2)), ARGBRed(s.Px(50, 20)) + 40) << "white highlight at the top";
}

TEST_F(FillTest, SettingsFileRoundTrip) {
  const String file = Utf8ToString(std::string(::testing::TempDir()) + "fill_settings.ini");
  std::remove(StringToUtf8(file).c_str());
  TGDIPFill a;
  a.SetColor(0x123456);
  a.SetColorMirror(clNone);
  a.SetGradientType(gtHatch);
  a.SetHatchStyleMirror(HatchStyleCross);
  a.SetRounding(7);
  a.SetRoundingType(rtLeft);
  a.SetShadowOffset(4);
  a.SetGlow(gmRadial);
  a.SetOpacityTo(33);
  a.SetPictureSize(psCustom);
  a.Picture()->LoadFromBytes(Png(3, 2));
  a.SaveToFile(file, u"Look");

  TIniFile ini(file);
  EXPECT_EQ(ini.ReadInteger(u"Look", u"BorderColor", 0), 536870911);
  EXPECT_EQ(ini.ReadString(u"Look", u"BackgroundPicture", u"x"), u"");
  EXPECT_EQ(ini.ReadInteger(u"Look", u"PictureSize", 0), Integer(a.Picture()->Data().size() * 2));

  TGDIPFill b;
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.LoadFromFile(file, u"Look");
  EXPECT_EQ(changes, 1) << "one notification for the whole load";
  EXPECT_EQ(b.Color(), TColor(0x123456));
  EXPECT_EQ(b.ColorMirror(), clNone);
  EXPECT_EQ(b.GradientType(), gtHatch);
  EXPECT_EQ(b.HatchStyleMirror(), HatchStyleCross);
  EXPECT_EQ(b.Rounding(), 7);
  EXPECT_EQ(b.RoundingType(), rtLeft);
  EXPECT_EQ(b.ShadowOffset(), 4);
  EXPECT_EQ(b.Glow(), gmRadial);
  EXPECT_EQ(b.OpacityTo(), 33);
  EXPECT_EQ(b.PictureSize(), psCustom) << "the picture-size property survives";
  EXPECT_EQ(b.Picture()->Data(), a.Picture()->Data());
  EXPECT_TRUE(b.BackGroundPicture()->Empty()) << "an empty picture text leaves the picture alone";

  ini.WriteString(u"Look", u"Picture", u"89XZ");
  ini.WriteInteger(u"Look", u"PictureSize", 4);
  try {
    b.LoadFromFile(file, u"Look");
    ADD_FAILURE() << "bad hex accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"No Hex-Number");
  }
}

TEST_F(FillTest, UpdatesHoldBackNotificationsAndAssignCopies) {
  TGDIPFill fill;
  int changes = 0;
  fill.OnChange = [&](TObject*) { ++changes; };
  fill.BeginUpdate();
  fill.SetColor(clRed);
  fill.SetAngle(30);
  fill.SetBorderWidth(3);
  fill.EndUpdate();
  EXPECT_EQ(changes, 0);
  fill.SetColor(clRed);
  EXPECT_EQ(changes, 0) << "same value, no change";
  TGDIPFill other;
  other.SetFocus(true);
  other.Assign(&fill);
  EXPECT_EQ(other.Angle(), 30);
  EXPECT_TRUE(other.Focus()) << "focus is not copied";
  TStringList notAFill;
  fill.Assign(&notAFill);
  EXPECT_EQ(changes, 0);
}

// The fill and the hint record reach the persistence layer through the type
// information: their published values and picture bytes come back.
TEST_F(FillTest, PersistenceCarriesFillsHintsAndTheirPictures) {
  InitializeGDIPFillUnit();
  DeclareAdvHintInfoClass();
  TAdvPersistence::Initialize();
  const TBytes png = picture_samples::Png(6, 4);
  TGDIPFill source;
  source.SetColor(clRed);
  source.SetGradientType(gtHatch);
  source.SetHatchStyle(GpHatchStyle(5));
  source.SetOpacityTo(40);
  source.SetShadowType(stSurround);
  TMemoryStream bytes;
  bytes.WriteBuffer(png.data(), Integer(png.size()));
  bytes.SetPosition(0);
  source.Picture()->LoadFromStream(&bytes);
  TGDIPFill copy;
  FromJSON(&copy, ToJSON(&source));
  EXPECT_EQ(copy.Color(), TColor(clRed));
  EXPECT_EQ(copy.GradientType(), gtHatch);
  EXPECT_EQ(copy.HatchStyle(), GpHatchStyle(5));
  EXPECT_EQ(copy.OpacityTo(), 40);
  EXPECT_EQ(copy.ShadowType(), stSurround);
  EXPECT_EQ(copy.Picture()->Width(), 6);
  EXPECT_EQ(copy.Picture()->Height(), 4);

  TAdvHintInfo hint;
  hint.SetTitle(u"Stop");
  hint.Notes()->Add(u"STOP receiving file");
  hint.SetShowHelp(true);
  bytes.SetPosition(0);
  hint.Picture()->LoadFromStream(&bytes);
  TAdvHintInfo hintCopy;
  FromJSON(&hintCopy, ToJSON(&hint));
  EXPECT_EQ(hintCopy.Title(), u"Stop");
  EXPECT_EQ(hintCopy.Notes()->Text(), hint.Notes()->Text());
  EXPECT_TRUE(hintCopy.ShowHelp());
  EXPECT_EQ(hintCopy.Picture()->Data(), hint.Picture()->Data());
  EXPECT_FALSE(hintCopy.Picture()->Empty());
}

TEST_F(FillTest, ClipboardRoundTripCarriesEveryPublishedProperty) {
  InitializeGDIPFillUnit();
  TGDIPFill source;
  source.SetColor(clRed);
  source.SetColorMirror(clBlue);
  source.SetGradientType(gtHatch);
  source.SetHatchStyle(GpHatchStyle(5));
  source.SetOpacityTo(40);
  source.SetRounding(6);
  source.SetShadowType(stSurround);
  source.SetPictureSize(psCustom);
  source.SetPictureAspectRatio(true);
  source.SetBackGroundPictureAspectMode(pmNormal);
  source.SetGlow(gmRadial);
  source.Picture()->LoadFromBytes(Png(3, 2));
  source.SaveToClipBoard();

  TGDIPFill target;
  int changes = 0;
  target.OnChange = [&](TObject*) { ++changes; };
  target.LoadFromClipBoard();
  EXPECT_EQ(target.Color(), clRed);
  EXPECT_EQ(target.ColorMirror(), clBlue);
  EXPECT_EQ(target.GradientType(), gtHatch);
  EXPECT_EQ(target.HatchStyle(), GpHatchStyle(5));
  EXPECT_EQ(target.OpacityTo(), 40);
  EXPECT_EQ(target.Rounding(), 6);
  EXPECT_EQ(target.ShadowType(), stSurround);
  EXPECT_EQ(target.PictureSize(), psCustom);
  EXPECT_TRUE(target.PictureAspectRatio());
  EXPECT_EQ(target.BackGroundPictureAspectMode(), pmNormal);
  EXPECT_EQ(target.Glow(), gmRadial);
  EXPECT_EQ(target.Picture()->Data(), source.Picture()->Data());
  EXPECT_EQ(changes, 1);
}

TEST_F(FillTest, SaverNeedsAFillAndRejectsDamagedData) {
  TSaver saver;
  EXPECT_THROW(saver.WriteObject(), EAssertionFailed);
  TGDIPFill fill;
  saver.SetSaveObject(&fill);
  saver.ReadObject(Text("[SaveObject]\r\nShadowType=77\r\nColor=255\r\nGlow=-3\r\n\xff\xfe garbage"));
  EXPECT_EQ(fill.ShadowType(), stRightBottom);  // out of range: ignored
  EXPECT_EQ(fill.Color(), clRed);
  EXPECT_EQ(fill.Glow(), gmNone);
  EXPECT_THROW(saver.ReadObject(Text("[SaveObject]\r\nPictureSize=4\r\nPicture=ZZZZ\r\n")), EConvertError);
  saver.ReadObject({});  // nothing: nothing changes
  EXPECT_EQ(fill.Color(), clRed);
}
