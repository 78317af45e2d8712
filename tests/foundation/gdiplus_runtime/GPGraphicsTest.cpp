// The graphics wrapper: drawing landing on the bitmap and its departures
// from a plain forward.
#include <memory>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPFont.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPMatrix.h"
#include "foundation/gdiplus_runtime/GPPen.h"
#include "foundation/gdiplus_runtime/GPRegion.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"

using namespace gdiplus_runtime;
using namespace gdiplus_runtime_test;

namespace {
class GPGraphicsTest : public RuntimeTest {};

constexpr ARGB kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;
}  // namespace

TEST_F(GPGraphicsTest, FillsAndStrokesLandOnTheBitmap) {
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

TEST_F(GPGraphicsTest, GraphicsDepartures) {
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
