#include "foundation/graphics/AdvGraphicsMatrix.h"

#include <cmath>

TAdvGraphicsMatrix TAdvGraphicsMatrix::Identity() {
  TAdvGraphicsMatrix m;
  m.m11 = m.m22 = m.m33 = 1;
  return m;
}

TAdvGraphicsMatrix TAdvGraphicsMatrix::CreateRotation(Single AAngle) {
  TAdvGraphicsMatrix m = Identity();
  const Single c = std::cos(AAngle), s = std::sin(AAngle);
  m.m11 = c;
  m.m12 = s;
  m.m21 = -s;
  m.m22 = c;
  return m;
}

TAdvGraphicsMatrix TAdvGraphicsMatrix::CreateScaling(Single AScaleX, Single AScaleY) {
  TAdvGraphicsMatrix m = Identity();
  m.m11 = AScaleX;
  m.m22 = AScaleY;
  return m;
}

TAdvGraphicsMatrix TAdvGraphicsMatrix::CreateTranslation(Single ADeltaX, Single ADeltaY) {
  TAdvGraphicsMatrix m = Identity();
  m.m31 = ADeltaX;
  m.m32 = ADeltaY;
  return m;
}

Single TAdvGraphicsMatrix::Determinant() const {
  return m11 * (m22 * m33 - m23 * m32) - m12 * (m21 * m33 - m23 * m31) + m13 * (m21 * m32 - m22 * m31);
}

TAdvGraphicsMatrix TAdvGraphicsMatrix::Adjoint() const {
  TAdvGraphicsMatrix r;
  r.m11 = m22 * m33 - m23 * m32;
  r.m12 = -(m12 * m33 - m13 * m32);
  r.m13 = m12 * m23 - m13 * m22;
  r.m21 = -(m21 * m33 - m23 * m31);
  r.m22 = m11 * m33 - m13 * m31;
  r.m23 = -(m11 * m23 - m13 * m21);
  r.m31 = m21 * m32 - m22 * m31;
  r.m32 = -(m11 * m32 - m12 * m31);
  r.m33 = m11 * m22 - m12 * m21;
  return r;
}

TAdvGraphicsMatrix TAdvGraphicsMatrix::Inverse() const {
  const Single det = Determinant();
  // Callers rely on a singular matrix giving the identity, not an error.
  if (std::fabs(det) < Single(1E-40)) return Identity();
  const Single f = 1 / det;
  TAdvGraphicsMatrix r = Adjoint();
  for (int i = 0; i < 9; ++i) r.M(i) *= f;
  return r;
}

TAdvGraphicsMatrix operator*(const TAdvGraphicsMatrix& a, const TAdvGraphicsMatrix& b) {
  TAdvGraphicsMatrix r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r.M(i * 3 + j) = a.M(i * 3) * b.M(j) + a.M(i * 3 + 1) * b.M(3 + j) + a.M(i * 3 + 2) * b.M(6 + j);
  return r;
}

TPointF operator*(const TPointF& p, const TAdvGraphicsMatrix& m) {
  return {p.X * m.m11 + p.Y * m.m21 + m.m31, p.X * m.m12 + p.Y * m.m22 + m.m32};
}

TAdvGraphicsMatrix MatrixIdentity() { return TAdvGraphicsMatrix::Identity(); }
TAdvGraphicsMatrix MatrixZero() { return {}; }
bool IsMatrixEmpty(const TAdvGraphicsMatrix& AMatrix) { return AMatrix == TAdvGraphicsMatrix{}; }
TAdvGraphicsMatrix MatrixRotation(Single AAngle) { return TAdvGraphicsMatrix::CreateRotation(AAngle); }
TAdvGraphicsMatrix MatrixScaling(Single AScaleX, Single AScaleY) {
  return TAdvGraphicsMatrix::CreateScaling(AScaleX, AScaleY);
}
TAdvGraphicsMatrix MatrixTranslation(Single ADeltaX, Single ADeltaY) {
  return TAdvGraphicsMatrix::CreateTranslation(ADeltaX, ADeltaY);
}
TAdvGraphicsMatrix MatrixMultiply(const TAdvGraphicsMatrix& A, const TAdvGraphicsMatrix& B) { return A * B; }
TPointF MatrixTransformPoint(const TPointF& P, const TAdvGraphicsMatrix& M) { return P * M; }
