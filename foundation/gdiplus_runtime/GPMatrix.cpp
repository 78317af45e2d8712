#include "foundation/gdiplus_runtime/GPMatrix.h"

namespace gdiplus_runtime {

TGPMatrix::TGPMatrix() { lastResult = Api().GdipCreateMatrix(&nativeMatrix); }

TGPMatrix::TGPMatrix(Single m11, Single m12, Single m21, Single m22, Single dx, Single dy) {
  lastResult = Api().GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &nativeMatrix);
}

TGPMatrix::TGPMatrix(const TGPRectF& rect, const TGPPointF (&dstplg)[3]) {
  lastResult = Api().GdipCreateMatrix3(&rect, dstplg, &nativeMatrix);
}

TGPMatrix::TGPMatrix(const TGPRect& rect, const TGPPoint (&dstplg)[3]) {
  lastResult = Api().GdipCreateMatrix3I(&rect, dstplg, &nativeMatrix);
}

TGPMatrix::TGPMatrix(GpMatrix* native) : nativeMatrix(native) {}

TGPMatrix::~TGPMatrix() { Api().GdipDeleteMatrix(nativeMatrix); }

std::unique_ptr<TGPMatrix> TGPMatrix::Clone() {
  GpMatrix* clone = nullptr;
  SetStatus(Api().GdipCloneMatrix(nativeMatrix, &clone));
  if (lastResult != Ok) {
    Api().GdipDeleteMatrix(clone);  // a copy made despite an older failure is not leaked
    return nullptr;
  }
  return Adopt<TGPMatrix>(Api().GdipDeleteMatrix, clone);
}

TStatus TGPMatrix::GetElements(TMatrixArray& m) { return SetStatus(Api().GdipGetMatrixElements(nativeMatrix, m)); }

TStatus TGPMatrix::SetElements(Single m11, Single m12, Single m21, Single m22, Single dx, Single dy) {
  return SetStatus(Api().GdipSetMatrixElements(nativeMatrix, m11, m12, m21, m22, dx, dy));
}

Single TGPMatrix::OffsetX() {
  TMatrixArray m{};
  return GetElements(m) == Ok ? m[4] : 0.0f;
}

Single TGPMatrix::OffsetY() {
  TMatrixArray m{};
  return GetElements(m) == Ok ? m[5] : 0.0f;
}

TStatus TGPMatrix::Reset() { return SetStatus(Api().GdipSetMatrixElements(nativeMatrix, 1, 0, 0, 1, 0, 0)); }

TStatus TGPMatrix::Multiply(TGPMatrix* matrix, GpMatrixOrder order) {
  return SetStatus(Api().GdipMultiplyMatrix(nativeMatrix, NativeOf(matrix), order));
}

TStatus TGPMatrix::Translate(Single offsetX, Single offsetY, GpMatrixOrder order) {
  return SetStatus(Api().GdipTranslateMatrix(nativeMatrix, offsetX, offsetY, order));
}

TStatus TGPMatrix::Scale(Single scaleX, Single scaleY, GpMatrixOrder order) {
  return SetStatus(Api().GdipScaleMatrix(nativeMatrix, scaleX, scaleY, order));
}

TStatus TGPMatrix::Rotate(Single angle, GpMatrixOrder order) {
  return SetStatus(Api().GdipRotateMatrix(nativeMatrix, angle, order));
}

TStatus TGPMatrix::RotateAt(Single angle, const TGPPointF& center, GpMatrixOrder order) {
  // Prepended operations apply first, so the sequence is written backwards.
  Single sign = order == MatrixOrderPrepend ? 1.0f : -1.0f;
  SetStatus(Api().GdipTranslateMatrix(nativeMatrix, sign * center.X, sign * center.Y, order));
  SetStatus(Api().GdipRotateMatrix(nativeMatrix, angle, order));
  return SetStatus(Api().GdipTranslateMatrix(nativeMatrix, -sign * center.X, -sign * center.Y, order));
}

TStatus TGPMatrix::Shear(Single shearX, Single shearY, GpMatrixOrder order) {
  return SetStatus(Api().GdipShearMatrix(nativeMatrix, shearX, shearY, order));
}

TStatus TGPMatrix::Invert() { return SetStatus(Api().GdipInvertMatrix(nativeMatrix)); }

TStatus TGPMatrix::TransformPoints(PGPPointF pts, Integer count) {
  return SetStatus(Api().GdipTransformMatrixPoints(nativeMatrix, pts, count));
}

TStatus TGPMatrix::TransformPoints(PGPPoint pts, Integer count) {
  return SetStatus(Api().GdipTransformMatrixPointsI(nativeMatrix, pts, count));
}

TStatus TGPMatrix::TransformVectors(PGPPointF pts, Integer count) {
  return SetStatus(Api().GdipVectorTransformMatrixPoints(nativeMatrix, pts, count));
}

TStatus TGPMatrix::TransformVectors(PGPPoint pts, Integer count) {
  return SetStatus(Api().GdipVectorTransformMatrixPointsI(nativeMatrix, pts, count));
}

bool TGPMatrix::IsInvertible() {
  BOOL r = FALSE;
  SetStatus(Api().GdipIsMatrixInvertible(nativeMatrix, &r));
  return r != FALSE;
}

bool TGPMatrix::IsIdentity() {
  BOOL r = FALSE;
  SetStatus(Api().GdipIsMatrixIdentity(nativeMatrix, &r));
  return r != FALSE;
}

bool TGPMatrix::IsEqual(TGPMatrix* matrix) {
  BOOL r = FALSE;
  SetStatus(Api().GdipIsMatrixEqual(nativeMatrix, NativeOf(matrix), &r));
  return r != FALSE;
}

}  // namespace gdiplus_runtime
