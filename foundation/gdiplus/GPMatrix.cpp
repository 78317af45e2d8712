#include "foundation/gdiplus/GPMatrix.h"

namespace gdiplus {

TGPMatrix::TGPMatrix() { lastResult = GdipCreateMatrix(&nativeMatrix); }
TGPMatrix::TGPMatrix(Single m11, Single m12, Single m21, Single m22, Single dx, Single dy) {
  lastResult = GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &nativeMatrix);
}
TGPMatrix::TGPMatrix(const TGPRectF& rect, const TGPPointF& dstplg) {
  lastResult = GdipCreateMatrix3(&rect, &dstplg, &nativeMatrix);
}
TGPMatrix::TGPMatrix(const TGPRect& rect, const TGPPoint& dstplg) {
  lastResult = GdipCreateMatrix3I(&rect, &dstplg, &nativeMatrix);
}
TGPMatrix::TGPMatrix(GpMatrix* native) : nativeMatrix(native) {}
TGPMatrix::~TGPMatrix() { GdipDeleteMatrix(nativeMatrix); }

TGPMatrix* TGPMatrix::Clone() {
  GpMatrix* c = nullptr;
  if (SetStatus(GdipCloneMatrix(nativeMatrix, &c)) != Ok) return nullptr;
  return new TGPMatrix(c);
}

TStatus TGPMatrix::GetElements(TMatrixArray& m) { return SetStatus(GdipGetMatrixElements(nativeMatrix, m)); }
TStatus TGPMatrix::SetElements(Single m11, Single m12, Single m21, Single m22, Single dx, Single dy) {
  return SetStatus(GdipSetMatrixElements(nativeMatrix, m11, m12, m21, m22, dx, dy));
}
Single TGPMatrix::OffsetX() {
  TMatrixArray m;
  return GetElements(m) == Ok ? m[4] : 0.0f;
}
Single TGPMatrix::OffsetY() {
  TMatrixArray m;
  return GetElements(m) == Ok ? m[5] : 0.0f;
}
TStatus TGPMatrix::Reset() { return SetStatus(GdipSetMatrixElements(nativeMatrix, 1, 0, 0, 1, 0, 0)); }
TStatus TGPMatrix::Multiply(TGPMatrix* matrix, GpMatrixOrder order) {
  return SetStatus(GdipMultiplyMatrix(nativeMatrix, matrix ? matrix->nativeMatrix : nullptr, order));
}
TStatus TGPMatrix::Translate(Single x, Single y, GpMatrixOrder order) {
  return SetStatus(GdipTranslateMatrix(nativeMatrix, x, y, order));
}
TStatus TGPMatrix::Scale(Single x, Single y, GpMatrixOrder order) { return SetStatus(GdipScaleMatrix(nativeMatrix, x, y, order)); }
TStatus TGPMatrix::Rotate(Single angle, GpMatrixOrder order) { return SetStatus(GdipRotateMatrix(nativeMatrix, angle, order)); }
TStatus TGPMatrix::RotateAt(Single angle, const TGPPointF& c, GpMatrixOrder order) {
  if (order == MatrixOrderPrepend) {
    SetStatus(GdipTranslateMatrix(nativeMatrix, c.X, c.Y, order));
    SetStatus(GdipRotateMatrix(nativeMatrix, angle, order));
    return SetStatus(GdipTranslateMatrix(nativeMatrix, -c.X, -c.Y, order));
  }
  SetStatus(GdipTranslateMatrix(nativeMatrix, -c.X, -c.Y, order));
  SetStatus(GdipRotateMatrix(nativeMatrix, angle, order));
  return SetStatus(GdipTranslateMatrix(nativeMatrix, c.X, c.Y, order));
}
TStatus TGPMatrix::Shear(Single x, Single y, GpMatrixOrder order) { return SetStatus(GdipShearMatrix(nativeMatrix, x, y, order)); }
TStatus TGPMatrix::Invert() { return SetStatus(GdipInvertMatrix(nativeMatrix)); }
TStatus TGPMatrix::TransformPoints(PGPPointF pts, Integer count) { return SetStatus(GdipTransformMatrixPoints(nativeMatrix, pts, count)); }
TStatus TGPMatrix::TransformPoints(PGPPoint pts, Integer count) { return SetStatus(GdipTransformMatrixPointsI(nativeMatrix, pts, count)); }
TStatus TGPMatrix::TransformVectors(PGPPointF pts, Integer count) {
  return SetStatus(GdipVectorTransformMatrixPoints(nativeMatrix, pts, count));
}
TStatus TGPMatrix::TransformVectors(PGPPoint pts, Integer count) {
  return SetStatus(GdipVectorTransformMatrixPointsI(nativeMatrix, pts, count));
}
bool TGPMatrix::IsInvertible() {
  BOOL r = FALSE;
  return SetStatus(GdipIsMatrixInvertible(nativeMatrix, &r)) == Ok && r;
}
bool TGPMatrix::IsIdentity() {
  BOOL r = FALSE;
  return SetStatus(GdipIsMatrixIdentity(nativeMatrix, &r)) == Ok && r;
}
TStatus TGPMatrix::GetLastStatus() {
  TStatus s = lastResult;
  lastResult = Ok;
  return s;
}

}  // namespace gdiplus
