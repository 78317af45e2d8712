#pragma once
// TAdvGraphicsMatrix: the 3x3 affine matrix of the vector graphics, with
// points as row vectors (translation in m31, m32), and the same operations as
// plain routines for the SVG renderer.
#include "platform/rtl/Geometry.h"

struct TAdvGraphicsMatrix {
  Single m11 = 0, m12 = 0, m13 = 0;
  Single m21 = 0, m22 = 0, m23 = 0;
  Single m31 = 0, m32 = 0, m33 = 0;

  // The nine elements in the order m11 .. m33 (the array view).
  Single& M(int AIndex) { return (&m11)[AIndex]; }
  Single M(int AIndex) const { return (&m11)[AIndex]; }

  static TAdvGraphicsMatrix Identity();
  // A rotation by AAngle radians (positive turns clockwise on the screen).
  static TAdvGraphicsMatrix CreateRotation(Single AAngle);
  static TAdvGraphicsMatrix CreateScaling(Single AScaleX, Single AScaleY);
  static TAdvGraphicsMatrix CreateTranslation(Single ADeltaX, Single ADeltaY);

  Single Determinant() const;
  // The classical adjugate (transposed cofactors).
  TAdvGraphicsMatrix Adjoint() const;
  // The inverse; the identity when |Determinant| is below 1E-40.
  TAdvGraphicsMatrix Inverse() const;

  friend bool operator==(const TAdvGraphicsMatrix&, const TAdvGraphicsMatrix&) = default;
};

// AMatrix1 x AMatrix2: AMatrix1 applies first, then AMatrix2.
TAdvGraphicsMatrix operator*(const TAdvGraphicsMatrix& AMatrix1, const TAdvGraphicsMatrix& AMatrix2);
// (x·m11 + y·m21 + m31, x·m12 + y·m22 + m32).
TPointF operator*(const TPointF& APoint, const TAdvGraphicsMatrix& AMatrix);

struct TAdvGraphicsVector {
  Single X = 0, Y = 0, W = 0;
  Single& V(int AIndex) { return (&X)[AIndex]; }
  Single V(int AIndex) const { return (&X)[AIndex]; }
};

// The routines of the SVG renderer: each answers the result matrix or point.
TAdvGraphicsMatrix MatrixIdentity();
TAdvGraphicsMatrix MatrixZero();
// True when all nine elements are exactly 0.
bool IsMatrixEmpty(const TAdvGraphicsMatrix& AMatrix);
TAdvGraphicsMatrix MatrixRotation(Single AAngle);
TAdvGraphicsMatrix MatrixScaling(Single AScaleX, Single AScaleY);
TAdvGraphicsMatrix MatrixTranslation(Single ADeltaX, Single ADeltaY);
TAdvGraphicsMatrix MatrixMultiply(const TAdvGraphicsMatrix& A, const TAdvGraphicsMatrix& B);
TPointF MatrixTransformPoint(const TPointF& P, const TAdvGraphicsMatrix& M);
