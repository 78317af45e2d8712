#pragma once
// The brush family of the imported GDI+ set.
#include "foundation/gdiplus/GPMatrix.h"

namespace gdiplus {

class TGPImage;
class TGPImageAttributes;
class TGPGraphicsPath;

class TGPBrush : public TGPStatusKeeper {
 public:
  // No handle; the status is NotImplemented.
  TGPBrush();
  // Adopts a native brush and its status.
  TGPBrush(GpBrush* nativeBrush, TStatus status);
  ~TGPBrush() override;
  // A plain brush on a copy.
  TGPBrush* Clone();
  // -1 when the call fails.
  Integer GetType();

  GpBrush* nativeBrush = nullptr;

 protected:
  struct TEmpty {};
  explicit TGPBrush(TEmpty) {}
};

class TGPSolidBrush : public TGPBrush {
 public:
  explicit TGPSolidBrush(ARGB color);
  // An empty brush for TGPPen::GetBrush.
  TGPSolidBrush() : TGPBrush(TEmpty{}) {}
  TStatus GetColor(ARGB& color);
  TStatus SetColor(ARGB color);
};

class TGPHatchBrush : public TGPBrush {
 public:
  TGPHatchBrush(GpHatchStyle hatchStyle, ARGB foreColor, ARGB backColor = 0xFF000000);
  TGPHatchBrush() : TGPBrush(TEmpty{}) {}
  GpHatchStyle GetHatchStyle();
  TStatus GetForegroundColor(ARGB& color);
  TStatus GetBackgroundColor(ARGB& color);
};

class TGPTextureBrush : public TGPBrush {
 public:
  TGPTextureBrush(TGPImage* image, GpWrapMode wrapMode = WrapModeTile);
  TGPTextureBrush(TGPImage* image, GpWrapMode wrapMode, const TGPRectF& dstRect);
  TGPTextureBrush(TGPImage* image, GpWrapMode wrapMode, Single x, Single y, Single w, Single h);
  TGPTextureBrush(TGPImage* image, GpWrapMode wrapMode, const TGPRect& dstRect);
  TGPTextureBrush(TGPImage* image, const TGPRectF& dstRect, TGPImageAttributes* imageAttributes = nullptr);
  TGPTextureBrush(TGPImage* image, const TGPRect& dstRect, TGPImageAttributes* imageAttributes = nullptr);
  TGPTextureBrush() : TGPBrush(TEmpty{}) {}
  TStatus ResetTransform();
  TStatus TranslateTransform(Single dx, Single dy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus ScaleTransform(Single sx, Single sy, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus RotateTransform(Single angle, GpMatrixOrder order = MatrixOrderPrepend);
  TStatus SetWrapMode(GpWrapMode wrapMode);
  GpWrapMode GetWrapMode();
  // A new image (owned by the caller) adopting the texture's.
  TGPImage* GetImage();
};

class TGPLinearGradientBrush : public TGPBrush {
 public:
  TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1, ARGB color2);
  TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1, ARGB color2);
  TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, GpLinearGradientMode mode);
  TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, GpLinearGradientMode mode);
  TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, Single angle, bool isAngleScalable = false);
  TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, Single angle, bool isAngleScalable = false);
  TGPLinearGradientBrush() : TGPBrush(TEmpty{}) {}
  TStatus SetGammaCorrection(bool useGammaCorrection);
  // A count of 0 or less: InvalidParameter, kept, no call.
  TStatus SetInterpolationColors(const ARGB* presetColors, const Single* blendPositions, Integer count);
};

class TGPPathGradientBrush : public TGPBrush {
 public:
  explicit TGPPathGradientBrush(TGPGraphicsPath* path);
  TGPPathGradientBrush() : TGPBrush(TEmpty{}) {}
  // Both answer the kept status.
  TStatus GetCenterColor(ARGB& color);
  TStatus SetCenterColor(ARGB color);
  TStatus GetCenterPoint(TGPPointF& point);
  TStatus GetCenterPoint(TGPPoint& point);
  TStatus SetCenterPoint(const TGPPointF& point);
  TStatus SetCenterPoint(const TGPPoint& point);
  Integer GetPointCount();
  // Nil colours or a count above the point count: InvalidParameter. On
  // success count receives the colours kept; answers the kept status.
  TStatus SetSurroundColors(const ARGB* colors, Integer& count);
  // Nil colours: InvalidParameter; a count below the brush's: InsufficientBuffer.
  // Answers this call's status; on success count receives the colours' number.
  TStatus GetSurroundColors(ARGB* colors, Integer& count);
  TStatus SetWrapMode(GpWrapMode wrapMode);
  TStatus SetGammaCorrection(bool useGammaCorrection);
  TStatus SetInterpolationColors(const ARGB* presetColors, const Single* blendPositions, Integer count);
};

}  // namespace gdiplus
