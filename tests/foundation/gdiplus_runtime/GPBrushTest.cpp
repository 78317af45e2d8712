// Brushes of every kind, and pens painting with them.
#include <memory>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPPen.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"

using namespace gdiplus_runtime;
using namespace gdiplus_runtime_test;

namespace {
class GPBrushTest : public RuntimeTest {};

constexpr ARGB kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;
}  // namespace

TEST_F(GPBrushTest, PenColoursAndBrushesKeepTheirKinds) {
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

TEST_F(GPBrushTest, GradientBrushesAndTheirChecks) {
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
