#pragma once
// TGPMatrix: an affine matrix of GDI+. Every call returns GDI+'s status and
// keeps a failure until GetLastStatus reads it.
#include "foundation/gdiplus/GdiplusBase.h"

namespace gdiplus {

class TGPMatrix : public TGdiplusBase {
 public:
  TGPMatrix();
  TGPMatrix(Single m11, Single m12, Single m21, Single m22, Single dx, Single dy);
  TGPMatrix(const TGPRectF& rect, const TGPPointF& dstplg);  // dstplg: the first of three points
  TGPMatrix(const TGPRect& rect, const TGPPoint& dstplg);
  // Adopts a native matrix (status Ok).
  explicit TGPMatrix(GpMatrix* nativeMatrix);
  ~TGPMatrix() override;
  // A new matrix on a copy; nullptr when the copy fails.
  TGPMatrix* Clone();
  TStatus GetElements(TMatrixArray& m);
  TStatus SetElements(Single m11, Single m12, Single m21, Single m22, Single dx, Single dy);
  // dx and dy; 0 when the elements cannot be read.
  Single OffsetX();
  Single OffsetY();
  TStatus Reset();
  TStatus Multiply(TGPMatrix* matrix, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus Translate(Single offsetX, Single offsetY, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus Scale(Single scaleX, Single scaleY, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus Rotate(Single angle, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus RotateAt(Single angle, const TGPPointF& center, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus Shear(Single shearX, Single shearY, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus Invert();
  TStatus TransformPoints(PGPPointF pts, Integer count = 1);
  TStatus TransformPoints(PGPPoint pts, Integer count = 1);
  TStatus TransformVectors(PGPPointF pts, Integer count = 1);
  TStatus TransformVectors(PGPPoint pts, Integer count = 1);
  // False also when the call fails.
  bool IsInvertible();
  bool IsIdentity();
  TStatus GetLastStatus();

  GpMatrix* nativeMatrix = nullptr;
  TStatus lastResult = Ok;

 protected:
  TStatus SetStatus(TStatus s) {
    if (s != Ok) lastResult = s;
    return s;
  }
};

}  // namespace gdiplus
