// The matrix wrapper.
#include <memory>

#include "foundation/gdiplus_runtime/GPMatrix.h"
#include "tests/foundation/gdiplus_runtime/GdiplusRuntimeFixture.h"

using namespace gdiplus_runtime;
using namespace gdiplus_runtime_test;

namespace {
class GPMatrixTest : public RuntimeTest {};

}  // namespace

TEST_F(GPMatrixTest, MatrixRules) {
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
