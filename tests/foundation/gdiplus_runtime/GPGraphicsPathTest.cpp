// Paths: their data, geometry and rules.
#include <memory>

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPFontFamily.h"
#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPMatrix.h"
#include "foundation/gdiplus_runtime/GPPen.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"

using namespace gdiplus_runtime;
using namespace gdiplus_runtime_test;

namespace {
class GPGraphicsPathTest : public RuntimeTest {};
}  // namespace

TEST_F(GPGraphicsPathTest, PathDataFillsReusesAndEmpties) {
  TGPGraphicsPath path(FillModeWinding);
  EXPECT_EQ(path.GetFillMode(), FillModeWinding);
  TPathData data;
  EXPECT_EQ(path.GetPathData(data), Ok);
  EXPECT_EQ(data.Count, 0);
  EXPECT_EQ(data.Points, nullptr);
  EXPECT_EQ(data.Types, nullptr);

  path.AddRectangle(GPRectF(1, 2, 3, 4));
  ASSERT_EQ(path.GetPathData(data), Ok);
  ASSERT_EQ(data.Count, 4);
  EXPECT_EQ(data.Points[2].X, 4.0f);
  EXPECT_EQ(data.Types[0], PathPointTypeStart);
  // More points: the arrays grow. Fewer: they are reused and Count follows.
  path.AddEllipse(0.0f, 0.0f, 10.0f, 10.0f);
  ASSERT_EQ(path.GetPathData(data), Ok);
  EXPECT_EQ(data.Count, path.GetPointCount());
  TGPPointF* grown = data.Points;
  path.Reset();
  path.AddLine(0.0f, 0.0f, 5.0f, 5.0f);
  ASSERT_EQ(path.GetPathData(data), Ok);
  EXPECT_EQ(data.Points, grown);
  EXPECT_EQ(data.Count, 2);
  EXPECT_EQ(data.Points[1].Y, 5.0f);
  path.Reset();
  EXPECT_EQ(path.GetPathData(data), Ok);
  EXPECT_EQ(data.Points, nullptr);
}

TEST_F(GPGraphicsPathTest, PathGeometryAndRules) {
  TGPGraphicsPath path;
  path.AddEllipse(10.0f, 20.0f, 40.0f, 20.0f);
  TGPRectF bounds;
  ASSERT_EQ(path.GetBounds(bounds), Ok);
  EXPECT_NEAR(bounds.X, 10, 0.01);
  EXPECT_NEAR(bounds.Width, 40, 0.01);
  EXPECT_TRUE(path.IsVisible(30.0f, 30.0f));
  EXPECT_FALSE(path.IsVisible(11, 21));
  TGPPen wide(0xFF000000, 4);
  EXPECT_TRUE(path.IsOutlineVisible(GPPointF(10, 30), &wide));

  // Transform(nil): Ok without a call, the kept status untouched.
  EXPECT_EQ(path.AddBeziers(static_cast<const TGPPointF*>(nullptr), 4), InvalidParameter);
  EXPECT_EQ(path.Transform(nullptr), Ok);
  // A clone of a path holding a failure answers Ok of its own.
  std::unique_ptr<TGPGraphicsPath> clone = path.Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->GetLastStatus(), Ok);
  EXPECT_EQ(path.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(clone->GetPointCount(), path.GetPointCount());
  TGPMatrix scale(2, 0, 0, 2, 0, 0);
  ASSERT_EQ(clone->Transform(&scale), Ok);
  clone->GetBounds(bounds);
  EXPECT_NEAR(bounds.Width, 80, 0.01);
  TGPGraphicsPath copy(&path);
  EXPECT_EQ(copy.GetPointCount(), path.GetPointCount());
  TGPGraphicsPath nilCopy(static_cast<const TGPGraphicsPath*>(nullptr));
  EXPECT_EQ(nilCopy.nativePath, nullptr);
  EXPECT_EQ(nilCopy.GetFillMode(), FillModeAlternate);

  // Pixel check: the path filled through the graphics.
  TCanvas canvas(60, 60);
  TGPSolidBrush red(0xFFFF0000);
  ASSERT_EQ(canvas.Graphics.FillPath(&red, &path), Ok);
  EXPECT_EQ(canvas.Px(30, 30), 0xFFFF0000u);
  EXPECT_EQ(canvas.Px(11, 21), 0xFFFFFFFFu);
}
