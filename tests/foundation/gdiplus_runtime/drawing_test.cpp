// The graphics wrapper with pens, brushes, matrices, caps, images and image
// attributes: their departures from a plain forward and pixel checks.
#include <memory>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPCustomLineCap.h"
#include "foundation/gdiplus_runtime/GPFont.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPImageAttributes.h"
#include "foundation/gdiplus_runtime/GPMatrix.h"
#include "foundation/gdiplus_runtime/GPPen.h"
#include "foundation/gdiplus_runtime/GPRegion.h"
#include "tests/foundation/gdiplus_runtime/gdiplus_runtime_fixture.h"

using namespace gdiplus_runtime;
using namespace gdiplus_runtime_test;

namespace {
class DrawingTest : public RuntimeTest {};

constexpr ARGB kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;
}  // namespace

TEST_F(DrawingTest, FillsAndStrokesLandOnTheBitmap) {
  TCanvas canvas(40, 40);
  TGPSolidBrush red(kRed);
  ASSERT_EQ(canvas.Graphics.FillRectangle(&red, 10, 10, 10, 10), Ok);
  EXPECT_EQ(canvas.Px(10, 10), kRed);
  EXPECT_EQ(canvas.Px(19, 19), kRed);
  EXPECT_EQ(canvas.Px(20, 20), kWhite);
  TGPPen blue(kBlue, 1);
  ASSERT_EQ(canvas.Graphics.DrawLine(&blue, 0, 30, 39, 30), Ok);
  EXPECT_EQ(canvas.Px(5, 30), kBlue);
  TGPGraphicsPath ellipse;
  ellipse.AddEllipse(0.0f, 0.0f, 8.0f, 8.0f);
  ASSERT_EQ(canvas.Graphics.FillPath(&red, &ellipse), Ok);
  EXPECT_EQ(canvas.Px(4, 4), kRed);
  EXPECT_EQ(canvas.Px(0, 0), kWhite);

  // The transform of the graphics moves later drawing.
  TGPMatrix shift(1, 0, 0, 1, 25, 0);
  ASSERT_EQ(canvas.Graphics.SetTransform(&shift), Ok);
  canvas.Graphics.FillRectangle(&red, 0, 0, 5, 5);
  EXPECT_EQ(canvas.Px(27, 2), kRed);
  TGPMatrix read;
  canvas.Graphics.GetTransform(&read);
  EXPECT_EQ(read.OffsetX(), 25.0f);
  // Nil objects are refused, never dereferenced.
  EXPECT_EQ(canvas.Graphics.FillRectangle(nullptr, 0, 0, 5, 5), InvalidParameter);
  EXPECT_EQ(canvas.Graphics.DrawPath(nullptr, nullptr), InvalidParameter);
}

TEST_F(DrawingTest, GraphicsDepartures) {
  TCanvas canvas(20, 20);
  // DrawImage through destination points: 3 or 4 only.
  TGPBitmap src(4, 4, PixelFormat32bppARGB);
  TGPGraphics(&src).Clear(kBlue);
  TGPPointF two[2] = {{0, 0}, {4, 0}};
  EXPECT_EQ(canvas.Graphics.DrawImage(&src, two, 2), InvalidParameter);
  EXPECT_EQ(canvas.Px(1, 1), kWhite);
  EXPECT_EQ(canvas.Graphics.GetLastStatus(), InvalidParameter);
  TGPPointF three[3] = {{0, 0}, {4, 0}, {0, 4}};
  EXPECT_EQ(canvas.Graphics.DrawImage(&src, three, 3), Ok);
  EXPECT_EQ(canvas.Px(1, 1), kBlue);

  // MeasureCharacterRanges with no regions: InvalidParameter, not kept.
  TGPRegion region;
  TGPFont font(u"Arial", 10);
  EXPECT_EQ(canvas.Graphics.MeasureCharacterRanges(u"x", -1, &font, GPRectF(0, 0, 20, 20), nullptr, 0, {&region}),
            InvalidParameter);
  EXPECT_EQ(canvas.Graphics.GetLastStatus(), Ok);

  // The size form of MeasureString writes only on success.
  TGPSizeF size{-1, -1};
  EXPECT_NE(canvas.Graphics.MeasureString(u"x", -1, nullptr, TGPSizeF{20, 20}, nullptr, size), Ok);
  EXPECT_EQ(size.Width, -1.0f);
  EXPECT_EQ(canvas.Graphics.MeasureString(u"xx", -1, &font, TGPSizeF{200, 200}, nullptr, size), Ok);
  EXPECT_GT(size.Width, 0.0f);
  canvas.Graphics.GetLastStatus();

  // Flush keeps a failure; quality getters answer -1 on failure.
  TGPGraphics none(static_cast<TGPImage*>(nullptr));
  EXPECT_EQ(none.nativeGraphics, nullptr);
  EXPECT_EQ(none.GetLastStatus(), Ok);
  EXPECT_EQ(none.Flush(), InvalidParameter);
  EXPECT_EQ(none.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(none.GetSmoothingMode(), SmoothingModeInvalid);
  EXPECT_EQ(none.GetInterpolationMode(), InterpolationModeInvalid);
  // Hit tests of a failing graphics answer false, rectangles too.
  EXPECT_FALSE(none.IsVisible(GPRectF(0, 0, 5, 5)));
  EXPECT_FALSE(none.IsVisible(TGPRect{0, 0, 5, 5}));
  EXPECT_FALSE(none.IsVisible(1, 1));
  EXPECT_EQ(none.Save(), 0u);
  EXPECT_EQ(none.GetHDC(), nullptr);

  // Clip and state round trip.
  GraphicsState state = canvas.Graphics.Save();
  canvas.Graphics.SetClip(GPRectF(0, 0, 5, 5));
  EXPECT_EQ(canvas.Graphics.GetLastStatus(), Ok);
  EXPECT_TRUE(canvas.Graphics.IsVisible(2, 2));
  EXPECT_EQ(canvas.Graphics.GetLastStatus(), Ok);
  EXPECT_FALSE(canvas.Graphics.IsVisible(GPRectF(10, 10, 2, 2)));
  canvas.Graphics.Restore(state);
  EXPECT_TRUE(canvas.Graphics.IsVisible(GPRectF(10, 10, 2, 2)));
}

TEST_F(DrawingTest, PenColoursAndBrushesKeepTheirKinds) {
  TGPHatchBrush hatch(HatchStyleCross, kRed, kWhite);
  TGPPen hatchPen(&hatch, 2);
  ARGB color = 7;
  EXPECT_EQ(hatchPen.GetColor(color), WrongState);
  EXPECT_EQ(color, 7u);
  EXPECT_EQ(hatchPen.GetLastStatus(), Ok) << "WrongState is not kept";
  TGPPen solid(kBlue);
  EXPECT_EQ(solid.GetColor(color), Ok);
  EXPECT_EQ(color, kBlue);

  TGPLinearGradientBrush linear(GPRectF(0, 0, 10, 10), kBlack, kWhite, LinearGradientModeHorizontal);
  TGPPen linearPen(&linear, 1);
  std::unique_ptr<TGPBrush> fromPen = linearPen.GetBrush();
  ASSERT_NE(dynamic_cast<TGPLinearGradientBrush*>(fromPen.get()), nullptr);
  EXPECT_NE(fromPen->nativeBrush, nullptr);
  EXPECT_EQ(fromPen->GetType(), BrushTypeLinearGradient);
  TGPPointF tri[3] = {{0, 0}, {10, 0}, {5, 10}};
  TGPPathGradientBrush pathBrush(tri, 3);
  TGPPen pathPen(&pathBrush, 1);
  std::unique_ptr<TGPBrush> plain = pathPen.GetBrush();
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(typeid(*plain), typeid(TGPBrush));
  EXPECT_EQ(plain->GetLastStatus(), NotImplemented);

  // Clones keep their class.
  TGPSolidBrush solidBrush(kRed);
  TGPBitmap tile(2, 2);
  TGPTextureBrush texture(&tile);
  TGPBrush* brushes[] = {&solidBrush, &hatch, &linear, &pathBrush};
  for (TGPBrush* b : brushes) {
    std::unique_ptr<TGPBrush> copy = b->Clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(typeid(*copy), typeid(*b));
    EXPECT_EQ(copy->GetType(), b->GetType());
  }
  EXPECT_EQ(texture.GetLastStatus(), Ok);
  EXPECT_EQ(typeid(*texture.Clone()), typeid(TGPTextureBrush));
}

TEST_F(DrawingTest, GradientBrushesAndTheirChecks) {
  TCanvas canvas(40, 10);
  TGPLinearGradientBrush linear(GPRectF(0, 0, 40, 10), kBlack, kWhite, LinearGradientModeHorizontal);
  canvas.Graphics.FillRectangle(&linear, 0, 0, 40, 10);
  EXPECT_LT(Channel(canvas.Px(2, 5), 16), 40);
  EXPECT_GT(Channel(canvas.Px(37, 5), 16), 215);
  ARGB c1 = 0, c2 = 0;
  EXPECT_EQ(linear.GetLinearColors(c1, c2), Ok);
  EXPECT_EQ(c1, kBlack);
  EXPECT_EQ(c2, kWhite);
  Single factors[2];
  EXPECT_EQ(linear.GetBlend(factors, nullptr, 2), InvalidParameter);
  EXPECT_EQ(linear.GetLastStatus(), InvalidParameter);

  TGPPointF square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  TGPPathGradientBrush radial(square, 4);
  ARGB surround[4] = {kRed, kRed, kBlue, kBlue};
  Integer count = 4;
  EXPECT_EQ(radial.SetSurroundColors(surround, count), Ok);
  EXPECT_EQ(count, 4);
  Integer tooMany = 5;
  EXPECT_EQ(radial.SetSurroundColors(surround, tooMany), InvalidParameter);
  EXPECT_EQ(radial.GetLastStatus(), InvalidParameter);
  ARGB back[4] = {};
  Integer room = 3;
  EXPECT_EQ(radial.GetSurroundColors(back, room), InsufficientBuffer);
  radial.GetLastStatus();
  room = 4;
  EXPECT_EQ(radial.GetSurroundColors(back, room), Ok);
  EXPECT_EQ(back[2], kBlue);
  // Preset colours: the caller's array is defined even when the call fails.
  ARGB preset[3] = {1, 2, 3};
  Single positions[3];
  EXPECT_NE(radial.GetInterpolationColors(preset, positions, 3), Ok);
  EXPECT_EQ(preset[0], 0u);
  EXPECT_EQ(radial.GetInterpolationColors(nullptr, positions, 3), InvalidParameter);
  Single x = 9, y = 9;
  EXPECT_EQ(radial.GetFocusScales(x, y), Ok);
  EXPECT_EQ(x, 0.0f);
}

TEST_F(DrawingTest, MatrixRules) {
  TGPMatrix m;
  m.Translate(5, 7);
  m.Rotate(30);
  EXPECT_EQ(m.Reset(), Ok);
  EXPECT_TRUE(m.IsIdentity());
  EXPECT_EQ(m.OffsetX(), 0.0f);
  EXPECT_EQ(m.OffsetY(), 0.0f);
  ASSERT_EQ(m.RotateAt(90, GPPointF(10, 0), MatrixOrderAppend), Ok);
  TGPPointF p = GPPointF(20, 0);
  m.TransformPoints(&p);
  EXPECT_NEAR(p.X, 10, 1e-4);
  EXPECT_NEAR(p.Y, 10, 1e-4);
  TGPMatrix prepend;
  prepend.RotateAt(90, GPPointF(10, 0), MatrixOrderPrepend);
  EXPECT_TRUE(prepend.IsEqual(&m));

  // A clone after an unread failure answers nil, and nothing leaks.
  EXPECT_EQ(m.Multiply(nullptr), InvalidParameter);
  EXPECT_EQ(m.Clone(), nullptr);
  EXPECT_EQ(m.GetLastStatus(), InvalidParameter);
  std::unique_ptr<TGPMatrix> copy = m.Clone();
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(copy->IsEqual(&m));
  TGPMatrix singular(0, 0, 0, 0, 0, 0);
  EXPECT_FALSE(singular.IsInvertible());
  EXPECT_EQ(singular.Invert(), InvalidParameter);
}

TEST_F(DrawingTest, CustomCapsHandedOutReplaceAndFreeTheOldOnes) {
  TGPGraphicsPath stroke;
  stroke.AddLine(-1.0f, -1.0f, 0.0f, 0.0f);
  TGPCustomLineCap arrow(nullptr, &stroke, LineCapFlat, 1);
  ASSERT_EQ(arrow.GetLastStatus(), Ok);
  TGPPen pen(kBlack, 2);
  ASSERT_EQ(pen.SetCustomStartCap(&arrow), Ok);
  ASSERT_EQ(pen.SetCustomEndCap(&arrow), Ok);
  TGPCustomLineCap held;
  // Twice into the same wrapper: the first native cap is freed (the leak
  // checker watches), the wrapper holds the second.
  ASSERT_EQ(pen.GetCustomStartCap(&held), Ok);
  GpCustomLineCap* first = held.nativeCap;
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(pen.GetCustomEndCap(&held), Ok);
  EXPECT_NE(held.nativeCap, nullptr);
  EXPECT_EQ(held.GetBaseInset(), 1.0f);
  GpLineCap start = LineCapRound, end = LineCapRound;
  EXPECT_EQ(held.GetStrokeCaps(start, end), Ok);
  EXPECT_EQ(start, LineCapFlat);
  EXPECT_NE(held.Clone(), nullptr);
  // A failing getter leaves the held cap alone; a pen without a custom cap
  // empties it.
  TGPPen broken(static_cast<const TGPBrush*>(nullptr));
  EXPECT_EQ(broken.GetCustomStartCap(&held), InvalidParameter);
  EXPECT_NE(held.nativeCap, nullptr);
  TGPPen plain(kBlack);
  EXPECT_EQ(plain.GetCustomStartCap(&held), Ok);
  EXPECT_EQ(held.nativeCap, nullptr);
}

TEST_F(DrawingTest, ImagesBitmapsAndAttributes) {
  TGPImage missing(u"/nonexistent/picture.png");
  EXPECT_EQ(missing.nativeImage, nullptr);
  EXPECT_EQ(missing.GetWidth(), 0u);
  EXPECT_NE(missing.GetLastStatus(), Ok);
  EXPECT_EQ(missing.GetPixelFormat(), PixelFormatUndefined);
  EXPECT_EQ(missing.SaveAdd(nullptr, nullptr), InvalidParameter);

  TGPBitmap bitmap(8, 8, PixelFormat32bppARGB);
  bitmap.SetPixel(1, 1, kRed);
  ARGB c = 5;
  EXPECT_EQ(bitmap.GetPixel(99, 99, c), InvalidParameter);
  EXPECT_EQ(c, 0u);
  // Integer area copies ignore an earlier failure; float ones do not.
  std::unique_ptr<TGPBitmap> part = bitmap.Clone(0, 0, 4, 4, PixelFormat32bppARGB);
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(bitmap.lastResult, Ok);
  EXPECT_EQ(part->GetPixel(1, 1, c), Ok);
  EXPECT_EQ(c, kRed);
  bitmap.GetPixel(99, 99, c);
  EXPECT_EQ(bitmap.Clone(GPRectF(0, 0, 4, 4), PixelFormat32bppARGB), nullptr);
  EXPECT_EQ(bitmap.GetLastStatus(), InvalidParameter);
  EXPECT_NE(bitmap.Clone(GPRectF(0, 0, 4, 4), PixelFormat32bppARGB), nullptr);
  EXPECT_EQ(bitmap.GetWidth(), 8u);

  // Remap tables per adjustment type: clearing the brush table leaves the
  // bitmap table in force.
  TGPBitmap source(4, 4, PixelFormat32bppARGB);
  TGPGraphics(&source).Clear(kRed);
  ColorMap map{kRed, kBlue};
  TGPImageAttributes attributes;
  ASSERT_EQ(attributes.SetRemapTable(1, &map, ColorAdjustTypeBitmap), Ok);
  ASSERT_EQ(attributes.SetBrushRemapTable(1, &map), Ok);
  ASSERT_EQ(attributes.ClearBrushRemapTable(), Ok);
  TCanvas canvas(10, 10);
  canvas.Graphics.DrawImage(&source, GPRectF(0, 0, 4, 4), 0, 0, 4, 4, UnitPixel, &attributes);
  EXPECT_EQ(canvas.Px(1, 1), kBlue);
  attributes.ClearRemapTable(ColorAdjustTypeBitmap);
  canvas.Graphics.DrawImage(&source, GPRectF(5, 5, 4, 4), 0, 0, 4, 4, UnitPixel, &attributes);
  EXPECT_EQ(canvas.Px(6, 6), kRed);
  std::unique_ptr<TGPImageAttributes> copy = attributes.Clone();
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy->nativeImageAttr, nullptr);
}
