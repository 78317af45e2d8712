#include "foundation/gdiplus/GPBrush.h"

#include <vector>

#include "foundation/gdiplus/GPGraphicsPath.h"
#include "foundation/gdiplus/GPImage.h"
#include "foundation/gdiplus/GPImageAttributes.h"
#include "foundation/gdiplus/NativeHandles.h"

namespace gdiplus {

TGPBrush::TGPBrush() { lastResult = NotImplemented; }
TGPBrush::TGPBrush(GpBrush* native, TStatus status) : nativeBrush(native) { lastResult = status; }
TGPBrush::~TGPBrush() { GdipDeleteBrush(nativeBrush); }
TGPBrush* TGPBrush::Clone() {
  GpBrush* c = nullptr;
  SetStatus(GdipCloneBrush(nativeBrush, &c));
  return new TGPBrush(c, lastResult);
}
Integer TGPBrush::GetType() {
  GpBrushType t;
  return SetStatus(GdipGetBrushType(nativeBrush, &t)) == Ok ? Integer(t) : -1;
}

TGPSolidBrush::TGPSolidBrush(ARGB color) : TGPBrush(TEmpty{}) { lastResult = GdipCreateSolidFill(color, &nativeBrush); }
TStatus TGPSolidBrush::GetColor(ARGB& color) {
  SetStatus(GdipGetSolidFillColor(nativeBrush, &color));
  return lastResult;
}
TStatus TGPSolidBrush::SetColor(ARGB color) { return SetStatus(GdipSetSolidFillColor(nativeBrush, color)); }

TGPHatchBrush::TGPHatchBrush(GpHatchStyle style, ARGB fore, ARGB back) : TGPBrush(TEmpty{}) {
  lastResult = GdipCreateHatchBrush(style, fore, back, &nativeBrush);
}
GpHatchStyle TGPHatchBrush::GetHatchStyle() {
  GpHatchStyle s = HatchStyleHorizontal;
  SetStatus(GdipGetHatchStyle(nativeBrush, &s));
  return s;
}
TStatus TGPHatchBrush::GetForegroundColor(ARGB& color) { return SetStatus(GdipGetHatchForegroundColor(nativeBrush, &color)); }
TStatus TGPHatchBrush::GetBackgroundColor(ARGB& color) { return SetStatus(GdipGetHatchBackgroundColor(nativeBrush, &color)); }

TGPTextureBrush::TGPTextureBrush(TGPImage* image, GpWrapMode wrap) : TGPBrush(TEmpty{}) {
  lastResult = GdipCreateTexture(H(image), wrap, &nativeBrush);
}
TGPTextureBrush::TGPTextureBrush(TGPImage* image, GpWrapMode wrap, const TGPRectF& r)
    : TGPTextureBrush(image, wrap, r.X, r.Y, r.Width, r.Height) {}
TGPTextureBrush::TGPTextureBrush(TGPImage* image, GpWrapMode wrap, Single x, Single y, Single w, Single h)
    : TGPBrush(TEmpty{}) {
  lastResult = GdipCreateTexture2(H(image), wrap, x, y, w, h, &nativeBrush);
}
TGPTextureBrush::TGPTextureBrush(TGPImage* image, GpWrapMode wrap, const TGPRect& r) : TGPBrush(TEmpty{}) {
  lastResult = GdipCreateTexture2I(H(image), wrap, r.X, r.Y, r.Width, r.Height, &nativeBrush);
}
TGPTextureBrush::TGPTextureBrush(TGPImage* image, const TGPRectF& r, TGPImageAttributes* ia) : TGPBrush(TEmpty{}) {
  lastResult = GdipCreateTextureIA(H(image), H(ia), r.X, r.Y, r.Width, r.Height, &nativeBrush);
}
TGPTextureBrush::TGPTextureBrush(TGPImage* image, const TGPRect& r, TGPImageAttributes* ia) : TGPBrush(TEmpty{}) {
  lastResult = GdipCreateTextureIAI(H(image), H(ia), r.X, r.Y, r.Width, r.Height, &nativeBrush);
}
TStatus TGPTextureBrush::ResetTransform() { return SetStatus(GdipResetTextureTransform(nativeBrush)); }
TStatus TGPTextureBrush::TranslateTransform(Single dx, Single dy, GpMatrixOrder order) {
  return SetStatus(GdipTranslateTextureTransform(nativeBrush, dx, dy, order));
}
TStatus TGPTextureBrush::ScaleTransform(Single sx, Single sy, GpMatrixOrder order) {
  return SetStatus(GdipScaleTextureTransform(nativeBrush, sx, sy, order));
}
TStatus TGPTextureBrush::RotateTransform(Single angle, GpMatrixOrder order) {
  return SetStatus(GdipRotateTextureTransform(nativeBrush, angle, order));
}
TStatus TGPTextureBrush::SetWrapMode(GpWrapMode wrap) { return SetStatus(GdipSetTextureWrapMode(nativeBrush, wrap)); }
GpWrapMode TGPTextureBrush::GetWrapMode() {
  GpWrapMode w = WrapModeTile;
  SetStatus(GdipGetTextureWrapMode(nativeBrush, &w));
  return w;
}
TGPImage* TGPTextureBrush::GetImage() {
  GpImage* img = nullptr;
  TStatus s = SetStatus(GdipGetTextureImage(nativeBrush, &img));
  return new TGPImage(img, s);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPointF& p1, const TGPPointF& p2, ARGB c1, ARGB c2)
    : TGPBrush(TEmpty{}) {
  lastResult = GdipCreateLineBrush(&p1, &p2, c1, c2, WrapModeTile, &nativeBrush);
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPoint& p1, const TGPPoint& p2, ARGB c1, ARGB c2)
    : TGPBrush(TEmpty{}) {
  lastResult = GdipCreateLineBrushI(&p1, &p2, c1, c2, WrapModeTile, &nativeBrush);
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& r, ARGB c1, ARGB c2, GpLinearGradientMode mode)
    : TGPBrush(TEmpty{}) {
  lastResult = GdipCreateLineBrushFromRect(&r, c1, c2, mode, WrapModeTile, &nativeBrush);
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& r, ARGB c1, ARGB c2, GpLinearGradientMode mode)
    : TGPBrush(TEmpty{}) {
  lastResult = GdipCreateLineBrushFromRectI(&r, c1, c2, mode, WrapModeTile, &nativeBrush);
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& r, ARGB c1, ARGB c2, Single angle, bool scalable)
    : TGPBrush(TEmpty{}) {
  lastResult = GdipCreateLineBrushFromRectWithAngle(&r, c1, c2, angle, scalable, WrapModeTile, &nativeBrush);
}
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& r, ARGB c1, ARGB c2, Single angle, bool scalable)
    : TGPBrush(TEmpty{}) {
  lastResult = GdipCreateLineBrushFromRectWithAngleI(&r, c1, c2, angle, scalable, WrapModeTile, &nativeBrush);
}
TStatus TGPLinearGradientBrush::SetGammaCorrection(bool v) { return SetStatus(GdipSetLineGammaCorrection(nativeBrush, v)); }
TStatus TGPLinearGradientBrush::SetInterpolationColors(const ARGB* colors, const Single* positions, Integer count) {
  if (count <= 0) return SetStatus(InvalidParameter);
  return SetStatus(GdipSetLinePresetBlend(nativeBrush, colors, positions, count));
}

TGPPathGradientBrush::TGPPathGradientBrush(TGPGraphicsPath* path) : TGPBrush(TEmpty{}) {
  lastResult = GdipCreatePathGradientFromPath(path ? path->nativePath : nullptr, &nativeBrush);
}
TStatus TGPPathGradientBrush::GetCenterColor(ARGB& color) {
  SetStatus(GdipGetPathGradientCenterColor(nativeBrush, &color));
  return lastResult;
}
TStatus TGPPathGradientBrush::SetCenterColor(ARGB color) {
  SetStatus(GdipSetPathGradientCenterColor(nativeBrush, color));
  return lastResult;
}
TStatus TGPPathGradientBrush::GetCenterPoint(TGPPointF& p) { return SetStatus(GdipGetPathGradientCenterPoint(nativeBrush, &p)); }
TStatus TGPPathGradientBrush::GetCenterPoint(TGPPoint& p) { return SetStatus(GdipGetPathGradientCenterPointI(nativeBrush, &p)); }
TStatus TGPPathGradientBrush::SetCenterPoint(const TGPPointF& p) { return SetStatus(GdipSetPathGradientCenterPoint(nativeBrush, &p)); }
TStatus TGPPathGradientBrush::SetCenterPoint(const TGPPoint& p) { return SetStatus(GdipSetPathGradientCenterPointI(nativeBrush, &p)); }
Integer TGPPathGradientBrush::GetPointCount() {
  INT n = 0;
  SetStatus(GdipGetPathGradientPointCount(nativeBrush, &n));
  return n;
}
TStatus TGPPathGradientBrush::SetSurroundColors(const ARGB* colors, Integer& count) {
  if (!colors) return SetStatus(InvalidParameter);
  Integer points = GetPointCount();
  if (points <= 0 || count > points) return SetStatus(InvalidParameter);
  INT n = count;
  SetStatus(GdipSetPathGradientSurroundColorsWithCount(nativeBrush, colors, &n));
  if (lastResult == Ok) count = n;
  return lastResult;
}
TStatus TGPPathGradientBrush::GetSurroundColors(ARGB* colors, Integer& count) {
  if (!colors) return SetStatus(InvalidParameter);
  INT n = 0;
  if (TStatus s = SetStatus(GdipGetPathGradientSurroundColorCount(nativeBrush, &n)); s != Ok) return s;
  if (count < n || n <= 0) return SetStatus(InsufficientBuffer);
  TStatus s = SetStatus(GdipGetPathGradientSurroundColorsWithCount(nativeBrush, colors, &n));
  if (s == Ok) count = n;
  return s;
}
TStatus TGPPathGradientBrush::SetWrapMode(GpWrapMode wrap) { return SetStatus(GdipSetPathGradientWrapMode(nativeBrush, wrap)); }
TStatus TGPPathGradientBrush::SetGammaCorrection(bool v) { return SetStatus(GdipSetPathGradientGammaCorrection(nativeBrush, v)); }
TStatus TGPPathGradientBrush::SetInterpolationColors(const ARGB* colors, const Single* positions, Integer count) {
  if (count <= 0 || !colors) return SetStatus(InvalidParameter);
  return SetStatus(GdipSetPathGradientPresetBlend(nativeBrush, colors, positions, count));
}

}  // namespace gdiplus
