// Matrix algebra of the vector graphics: product order, inverse, adjugate.
#include <gtest/gtest.h>

#include <numbers>

#include "foundation/graphics/AdvGraphicsMatrix.h"

namespace {

constexpr Single kHalfPi = std::numbers::pi_v<Single> / 2;

void ExpectPoint(const TPointF& actual, Single x, Single y) {
  EXPECT_NEAR(actual.X, x, 1e-5f);
  EXPECT_NEAR(actual.Y, y, 1e-5f);
}

TEST(AdvGraphicsMatrix, ProductAppliesTheLeftMatrixFirst) {
  const TAdvGraphicsMatrix move = TAdvGraphicsMatrix::CreateTranslation(5, 0);
  const TAdvGraphicsMatrix turn = TAdvGraphicsMatrix::CreateRotation(kHalfPi);
  // Translate, then turn a quarter clockwise on the screen.
  ExpectPoint(TPointF{0, 0} * (move * turn), 0, 5);
  // The other order turns first: the origin stays, then moves right.
  ExpectPoint(TPointF{0, 0} * (turn * move), 5, 0);
  ExpectPoint(TPointF{1, 2} * TAdvGraphicsMatrix::CreateScaling(3, -1), 3, -2);
  // The routines of the SVG renderer agree with the operators.
  EXPECT_EQ(MatrixMultiply(move, turn), move * turn);
  ExpectPoint(MatrixTransformPoint({2, 3}, MatrixTranslation(1, 1)), 3, 4);
  EXPECT_TRUE(IsMatrixEmpty(MatrixZero()));
  EXPECT_FALSE(IsMatrixEmpty(MatrixIdentity()));
}

TEST(AdvGraphicsMatrix, InverseUndoesTheTransform) {
  const TAdvGraphicsMatrix m = TAdvGraphicsMatrix::CreateRotation(0.7f) * TAdvGraphicsMatrix::CreateScaling(2, 4) *
                               TAdvGraphicsMatrix::CreateTranslation(-3, 11);
  const TAdvGraphicsMatrix product = m * m.Inverse();
  const TAdvGraphicsMatrix identity = TAdvGraphicsMatrix::Identity();
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(product.M(i), identity.M(i), 1e-5f) << i;
  ExpectPoint(TPointF{7, -2} * m * m.Inverse(), 7, -2);
  EXPECT_NEAR(m.Determinant(), 8.0f, 1e-4f);
  // The adjugate over the determinant is the inverse, element by element.
  const TAdvGraphicsMatrix adj = m.Adjoint(), inv = m.Inverse();
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(adj.M(i) / m.Determinant(), inv.M(i), 1e-5f) << i;
}

TEST(AdvGraphicsMatrix, SingularMatrixInvertsToIdentity) {
  EXPECT_EQ(MatrixZero().Inverse(), TAdvGraphicsMatrix::Identity());
  EXPECT_EQ(TAdvGraphicsMatrix::CreateScaling(0, 5).Inverse(), TAdvGraphicsMatrix::Identity());
  TAdvGraphicsMatrix tiny = TAdvGraphicsMatrix::Identity();
  tiny.m11 = tiny.m22 = tiny.m33 = 1e-20f;
  EXPECT_EQ(tiny.Inverse(), TAdvGraphicsMatrix::Identity());
}

}  // namespace
