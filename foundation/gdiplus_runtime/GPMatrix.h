#pragma once
// TGPMatrix: an affine matrix of the run-time GDI+ set (wrapper contract in
// GdiplusBase.h).
#include <memory>

#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPMatrix : public TGdiplusBase {
 public:
  // The identity.
  TGPMatrix();
  TGPMatrix(Single m11, Single m12, Single m21, Single m22, Single dx, Single dy);
  // rect onto the parallelogram of three points (upper-left, upper-right,
  // lower-left); all three are read.
  TGPMatrix(const TGPRectF& rect, const TGPPointF (&dstplg)[3]);
  TGPMatrix(const TGPRect& rect, const TGPPoint (&dstplg)[3]);
  // Adopts a native matrix, status Ok.
  explicit TGPMatrix(GpMatrix* nativeMatrix);
  ~TGPMatrix() override;
  TGPMatrix(const TGPMatrix&) = delete;
  TGPMatrix& operator=(const TGPMatrix&) = delete;

  // A new matrix on a copy; nullptr when the kept status is not Ok after the
  // copy (an earlier unread failure too) or no wrapper memory can be had.
  std::unique_ptr<TGPMatrix> Clone();
  // The six elements m11, m12, m21, m22, dx, dy.
  TStatus GetElements(TMatrixArray& m);
  TStatus SetElements(Single m11, Single m12, Single m21, Single m22, Single dx, Single dy);
  // dx and dy; 0 when the elements cannot be read.
  Single OffsetX();
  Single OffsetY();
  // Back to the identity.
  TStatus Reset();
  TStatus Multiply(TGPMatrix* matrix, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus Translate(Single offsetX, Single offsetY, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus Scale(Single scaleX, Single scaleY, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus Rotate(Single angle, GpMatrixOrder order = MatrixOrderPrepend);
  // Rotation about center, in three calls; answers the third one's status.
  TStatus RotateAt(Single angle, const TGPPointF& center, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus Shear(Single shearX, Single shearY, GpMatrixOrder order = MatrixOrderPrepend);
  // InvalidParameter for a singular matrix.
  TStatus Invert();
  // count points in place; a non-positive count or nil points: InvalidParameter.
  TStatus TransformPoints(PGPPointF pts, Integer count = 1);
  TStatus TransformPoints(PGPPoint pts, Integer count = 1);
  TStatus TransformVectors(PGPPointF pts, Integer count = 1);
  TStatus TransformVectors(PGPPoint pts, Integer count = 1);
  // False also when the call fails.
  bool IsInvertible();
  bool IsIdentity();
  bool IsEqual(TGPMatrix* matrix);
  // The kept status, reset to Ok.
  TStatus GetLastStatus() { return TakeStatus(lastResult); }

  GpMatrix* nativeMatrix = nullptr;
  TStatus lastResult = Ok;

 private:
  TStatus SetStatus(TStatus s) { return KeepStatus(lastResult, s); }
};

inline GpMatrix* NativeOf(const TGPMatrix* m) { return m ? m->nativeMatrix : nullptr; }

}  // namespace gdiplus_runtime
