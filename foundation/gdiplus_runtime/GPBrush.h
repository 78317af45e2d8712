#pragma once
// The brushes of the run-time GDI+ set (wrapper contract in GdiplusBase.h):
// TGPBrush and its solid, hatch, texture, linear-gradient and path-gradient
// kinds. Colours are ARGB; arrays are read or written for count entries.
#include <memory>

#include "foundation/gdiplus_runtime/GdiplusBase.h"

namespace gdiplus_runtime {

class TGPGraphicsPath;
class TGPImage;
class TGPImageAttributes;
class TGPMatrix;

class TGPBrush : public TGdiplusBase {
 public:
  // No brush: nil handle, NotImplemented kept.
  TGPBrush();
  // Adopts a native brush with status.
  TGPBrush(GpBrush* nativeBrush, TStatus status);
  ~TGPBrush() override;
  TGPBrush(const TGPBrush&) = delete;
  TGPBrush& operator=(const TGPBrush&) = delete;

  // A new brush of this object's own class on a copy, with this brush's
  // kept status (a failure of the copy is kept first); nullptr only when no
  // wrapper memory can be had.
  std::unique_ptr<TGPBrush> Clone();
  // The brush type; -1 when the call fails.
  GpBrushType GetType();
  // The kept status, reset to Ok.
  TStatus GetLastStatus() { return TakeStatus(lastResult); }

  GpBrush* nativeBrush = nullptr;
  TStatus lastResult = Ok;

 protected:
  TStatus SetStatus(TStatus s) { return KeepStatus(lastResult, s); }
  // An empty wrapper (nil handle, status Ok) of this object's class.
  virtual std::unique_ptr<TGPBrush> NewEmpty() const;
};

inline GpBrush* NativeOf(const TGPBrush* b) { return b ? b->nativeBrush : nullptr; }

class TGPSolidBrush : public TGPBrush {
 public:
  explicit TGPSolidBrush(ARGB color);
  // An empty brush: nil handle, status Ok.
  TGPSolidBrush();
  // color is written only when the call succeeds; answers the kept status.
  TStatus GetColor(ARGB& color);
  TStatus SetColor(ARGB color);

 protected:
  std::unique_ptr<TGPBrush> NewEmpty() const override;
};

class TGPHatchBrush : public TGPBrush {
 public:
  TGPHatchBrush(GpHatchStyle hatchStyle, ARGB foreColor, ARGB backColor = 0xFF000000);
  // An empty brush: nil handle, status Ok.
  TGPHatchBrush();
  // HatchStyleHorizontal (0) when the call fails.
  GpHatchStyle GetHatchStyle();
  // 0 when the call fails.
  TStatus GetForegroundColor(ARGB& color);
  TStatus GetBackgroundColor(ARGB& color);

 protected:
  std::unique_ptr<TGPBrush> NewEmpty() const override;
};

class TGPTextureBrush : public TGPBrush {
 public:
  // image must not be nil (InvalidParameter kept, nil handle).
  explicit TGPTextureBrush(const TGPImage* image, GpWrapMode wrapMode = WrapModeTile);
  // The part dstRect of the image; outside it: InvalidParameter.
  TGPTextureBrush(const TGPImage* image, GpWrapMode wrapMode, const TGPRectF& dstRect);
  TGPTextureBrush(const TGPImage* image, GpWrapMode wrapMode, const TGPRect& dstRect);
  TGPTextureBrush(const TGPImage* image, GpWrapMode wrapMode, Single dstX, Single dstY, Single dstWidth,
                  Single dstHeight);
  TGPTextureBrush(const TGPImage* image, GpWrapMode wrapMode, Integer dstX, Integer dstY, Integer dstWidth,
                  Integer dstHeight);
  // imageAttributes may be nil.
  TGPTextureBrush(const TGPImage* image, const TGPRectF& dstRect, const TGPImageAttributes* imageAttributes);
  TGPTextureBrush(const TGPImage* image, const TGPRect& dstRect, const TGPImageAttributes* imageAttributes);
  // An empty brush: nil handle, status Ok.
  TGPTextureBrush();
  TStatus SetTransform(const TGPMatrix* matrix);
  TStatus GetTransform(TGPMatrix* matrix);
  TStatus ResetTransform();
  TStatus MultiplyTransform(const TGPMatrix* matrix, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus TranslateTransform(Single dx, Single dy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus ScaleTransform(Single sx, Single sy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus RotateTransform(Single angle, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus SetWrapMode(GpWrapMode wrapMode);
  // WrapModeTile (0) when the call fails.
  GpWrapMode GetWrapMode();
  // A new image on a copy of the texture, with the brush's kept status
  // (nil handle when the call fails); nullptr only without wrapper memory.
  std::unique_ptr<TGPImage> GetImage();

 protected:
  std::unique_ptr<TGPBrush> NewEmpty() const override;
};

class TGPLinearGradientBrush : public TGPBrush {
 public:
  // Every linear constructor uses WrapModeTile.
  TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1, ARGB color2);
  TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1, ARGB color2);
  TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, GpLinearGradientMode mode);
  TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, GpLinearGradientMode mode);
  TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, Single angle, bool isAngleScalable = false);
  TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, Single angle, bool isAngleScalable = false);
  // An empty brush: nil handle, status Ok.
  TGPLinearGradientBrush();
  TStatus SetLinearColors(ARGB color1, ARGB color2);
  // Written only when the kept status is Ok afterwards; answers it.
  TStatus GetLinearColors(ARGB& color1, ARGB& color2);
  TStatus GetRectangle(TGPRectF& rect);
  TStatus GetRectangle(TGPRect& rect);
  TStatus SetGammaCorrection(bool useGammaCorrection);
  // False when the call fails.
  bool GetGammaCorrection();
  // 0 when the call fails.
  Integer GetBlendCount();
  TStatus SetBlend(const Single* blendFactors, const Single* blendPositions, Integer count);
  // Nil arrays or a non-positive count: InvalidParameter without a call.
  TStatus GetBlend(Single* blendFactors, Single* blendPositions, Integer count);
  Integer GetInterpolationColorCount();
  // count <= 0: InvalidParameter without a call.
  TStatus SetInterpolationColors(const ARGB* presetColors, const Single* blendPositions, Integer count);
  TStatus GetInterpolationColors(ARGB* presetColors, Single* blendPositions, Integer count);
  TStatus SetBlendBellShape(Single focus, Single scale = 1.0f);
  TStatus SetBlendTriangularShape(Single focus, Single scale = 1.0f);
  TStatus SetTransform(const TGPMatrix* matrix);
  TStatus GetTransform(TGPMatrix* matrix);
  TStatus ResetTransform();
  TStatus MultiplyTransform(const TGPMatrix* matrix, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus TranslateTransform(Single dx, Single dy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus ScaleTransform(Single sx, Single sy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus RotateTransform(Single angle, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus SetWrapMode(GpWrapMode wrapMode);
  GpWrapMode GetWrapMode();

 protected:
  std::unique_ptr<TGPBrush> NewEmpty() const override;
};

class TGPPathGradientBrush : public TGPBrush {
 public:
  TGPPathGradientBrush(const TGPPointF* points, Integer count, GpWrapMode wrapMode = WrapModeClamp);
  TGPPathGradientBrush(const TGPPoint* points, Integer count, GpWrapMode wrapMode = WrapModeClamp);
  // path must not be nil (InvalidParameter kept, nil handle).
  explicit TGPPathGradientBrush(const TGPGraphicsPath* path);
  // An empty brush: nil handle, status Ok.
  TGPPathGradientBrush();
  // Both answer the kept status; color is written only when the call succeeds.
  TStatus GetCenterColor(ARGB& color);
  TStatus SetCenterColor(ARGB color);
  // 0 when the call fails.
  Integer GetPointCount();
  Integer GetSurroundColorCount();
  // count: in, the room in colors; out, the colours written. Nil colors:
  // InvalidParameter; room below the surround-colour count (or none set):
  // InsufficientBuffer. Answers the kept status.
  TStatus GetSurroundColors(ARGB* colors, Integer& count);
  // count: in, the colours given (at most the point count, else
  // InvalidParameter); out, the colours kept. Answers the kept status.
  TStatus SetSurroundColors(const ARGB* colors, Integer& count);
  // A nil path: InvalidParameter without a call.
  TStatus GetGraphicsPath(TGPGraphicsPath* path);
  TStatus SetGraphicsPath(const TGPGraphicsPath* path);
  TStatus GetCenterPoint(TGPPointF& point);
  TStatus GetCenterPoint(TGPPoint& point);
  TStatus SetCenterPoint(const TGPPointF& point);
  TStatus SetCenterPoint(const TGPPoint& point);
  TStatus GetRectangle(TGPRectF& rect);
  TStatus GetRectangle(TGPRect& rect);
  TStatus SetGammaCorrection(bool useGammaCorrection);
  bool GetGammaCorrection();
  Integer GetBlendCount();
  TStatus GetBlend(Single* blendFactors, Single* blendPositions, Integer count);
  TStatus SetBlend(const Single* blendFactors, const Single* blendPositions, Integer count);
  Integer GetInterpolationColorCount();
  // count <= 0 or nil presetColors: InvalidParameter without a call.
  TStatus SetInterpolationColors(const ARGB* presetColors, const Single* blendPositions, Integer count);
  // count <= 0 or nil presetColors: InvalidParameter; OutOfMemory when the
  // scratch array cannot be had. presetColors receives count colours (0 past
  // those the brush holds, and all 0 when the call fails).
  TStatus GetInterpolationColors(ARGB* presetColors, Single* blendPositions, Integer count);
  TStatus SetBlendBellShape(Single focus, Single scale = 1.0f);
  TStatus SetBlendTriangularShape(Single focus, Single scale = 1.0f);
  TStatus GetTransform(TGPMatrix* matrix);
  TStatus SetTransform(const TGPMatrix* matrix);
  TStatus ResetTransform();
  TStatus MultiplyTransform(const TGPMatrix* matrix, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus TranslateTransform(Single dx, Single dy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus ScaleTransform(Single sx, Single sy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus RotateTransform(Single angle, GpMatrixOrder order = MatrixOrderPrepend);
  // Both 0 when the call fails.
  TStatus GetFocusScales(Single& xScale, Single& yScale);
  TStatus SetFocusScales(Single xScale, Single yScale);
  GpWrapMode GetWrapMode();
  TStatus SetWrapMode(GpWrapMode wrapMode);

 protected:
  std::unique_ptr<TGPBrush> NewEmpty() const override;
};

}  // namespace gdiplus_runtime
