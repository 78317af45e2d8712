// Custom line caps handed to and from pens.
#include <memory>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPCustomLineCap.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPPen.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"

using namespace gdiplus_runtime;
using namespace gdiplus_runtime_test;

namespace {
class GPCustomLineCapTest : public RuntimeTest {};

constexpr ARGB kBlack = 0xFF000000;
}  // namespace

TEST_F(GPCustomLineCapTest, CustomCapsHandedOutReplaceAndFreeTheOldOnes) {
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
