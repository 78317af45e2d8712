#include "foundation/gdiplus_runtime/GPBrush.h"

#include <algorithm>
#include <new>
#include <vector>

#include "foundation/gdiplus_runtime/GPGraphicsPath.h"
#include "foundation/gdiplus_runtime/GPImage.h"
#include "foundation/gdiplus_runtime/GPImageAttributes.h"
#include "foundation/gdiplus_runtime/GPMatrix.h"

namespace gdiplus_runtime {

// ---- TGPBrush ---------------------------------------------------------------

TGPBrush::TGPBrush() : lastResult(NotImplemented) {}

TGPBrush::TGPBrush(GpBrush* native, TStatus status) : nativeBrush(native), lastResult(status) {}

TGPBrush::~TGPBrush() { Api().GdipDeleteBrush(nativeBrush); }

std::unique_ptr<TGPBrush> TGPBrush::NewEmpty() const { return std::unique_ptr<TGPBrush>(new TGPBrush(nullptr, Ok)); }

std::unique_ptr<TGPBrush> TGPBrush::Clone() {
  GpBrush* clone = nullptr;
  SetStatus(Api().GdipCloneBrush(nativeBrush, &clone));
  std::unique_ptr<TGPBrush> result = NewEmpty();
  if (!result) {
    Api().GdipDeleteBrush(clone);
    return nullptr;
  }
  result->nativeBrush = clone;
  result->lastResult = lastResult;
  return result;
}

GpBrushType TGPBrush::GetType() {
  GpBrushType type = GpBrushType(-1);
  if (SetStatus(Api().GdipGetBrushType(nativeBrush, &type)) != Ok) return GpBrushType(-1);
  return type;
}

// ---- TGPSolidBrush ----------------------------------------------------------

TGPSolidBrush::TGPSolidBrush(ARGB color) : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreateSolidFill(color, &nativeBrush);
}

TGPSolidBrush::TGPSolidBrush() : TGPBrush(nullptr, Ok) {}

std::unique_ptr<TGPBrush> TGPSolidBrush::NewEmpty() const { return std::unique_ptr<TGPBrush>(new TGPSolidBrush()); }

TStatus TGPSolidBrush::GetColor(ARGB& color) {
  ARGB c = 0;
  if (SetStatus(Api().GdipGetSolidFillColor(nativeBrush, &c)) == Ok) color = c;
  return lastResult;
}

TStatus TGPSolidBrush::SetColor(ARGB color) { return SetStatus(Api().GdipSetSolidFillColor(nativeBrush, color)); }

// ---- TGPHatchBrush ----------------------------------------------------------

TGPHatchBrush::TGPHatchBrush(GpHatchStyle hatchStyle, ARGB foreColor, ARGB backColor) : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreateHatchBrush(hatchStyle, foreColor, backColor, &nativeBrush);
}

TGPHatchBrush::TGPHatchBrush() : TGPBrush(nullptr, Ok) {}

std::unique_ptr<TGPBrush> TGPHatchBrush::NewEmpty() const { return std::unique_ptr<TGPBrush>(new TGPHatchBrush()); }

GpHatchStyle TGPHatchBrush::GetHatchStyle() {
  GpHatchStyle style = HatchStyleHorizontal;
  if (SetStatus(Api().GdipGetHatchStyle(nativeBrush, &style)) != Ok) return HatchStyleHorizontal;
  return style;
}

TStatus TGPHatchBrush::GetForegroundColor(ARGB& color) {
  color = 0;
  TStatus s = SetStatus(Api().GdipGetHatchForegroundColor(nativeBrush, &color));
  if (s != Ok) color = 0;
  return s;
}

TStatus TGPHatchBrush::GetBackgroundColor(ARGB& color) {
  color = 0;
  TStatus s = SetStatus(Api().GdipGetHatchBackgroundColor(nativeBrush, &color));
  if (s != Ok) color = 0;
  return s;
}

// ---- TGPTextureBrush --------------------------------------------------------

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, GpWrapMode wrapMode) : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreateTexture(NativeOf(image), wrapMode, &nativeBrush);
}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, GpWrapMode wrapMode, const TGPRectF& r)
    : TGPTextureBrush(image, wrapMode, r.X, r.Y, r.Width, r.Height) {}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, GpWrapMode wrapMode, const TGPRect& r)
    : TGPTextureBrush(image, wrapMode, r.X, r.Y, r.Width, r.Height) {}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, GpWrapMode wrapMode, Single dstX, Single dstY, Single dstWidth,
                                 Single dstHeight)
    : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreateTexture2(NativeOf(image), wrapMode, dstX, dstY, dstWidth, dstHeight, &nativeBrush);
}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, GpWrapMode wrapMode, Integer dstX, Integer dstY,
                                 Integer dstWidth, Integer dstHeight)
    : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreateTexture2I(NativeOf(image), wrapMode, dstX, dstY, dstWidth, dstHeight, &nativeBrush);
}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, const TGPRectF& r, const TGPImageAttributes* imageAttributes)
    : TGPBrush(nullptr, Ok) {
  lastResult =
      Api().GdipCreateTextureIA(NativeOf(image), NativeOf(imageAttributes), r.X, r.Y, r.Width, r.Height, &nativeBrush);
}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, const TGPRect& r, const TGPImageAttributes* imageAttributes)
    : TGPBrush(nullptr, Ok) {
  lastResult =
      Api().GdipCreateTextureIAI(NativeOf(image), NativeOf(imageAttributes), r.X, r.Y, r.Width, r.Height, &nativeBrush);
}

TGPTextureBrush::TGPTextureBrush() : TGPBrush(nullptr, Ok) {}

std::unique_ptr<TGPBrush> TGPTextureBrush::NewEmpty() const { return std::unique_ptr<TGPBrush>(new TGPTextureBrush()); }

TStatus TGPTextureBrush::SetTransform(const TGPMatrix* matrix) {
  return SetStatus(Api().GdipSetTextureTransform(nativeBrush, NativeOf(matrix)));
}
TStatus TGPTextureBrush::GetTransform(TGPMatrix* matrix) {
  return SetStatus(Api().GdipGetTextureTransform(nativeBrush, NativeOf(matrix)));
}
TStatus TGPTextureBrush::ResetTransform() { return SetStatus(Api().GdipResetTextureTransform(nativeBrush)); }
TStatus TGPTextureBrush::MultiplyTransform(const TGPMatrix* matrix, GpMatrixOrder order) {
  return SetStatus(Api().GdipMultiplyTextureTransform(nativeBrush, NativeOf(matrix), order));
}
TStatus TGPTextureBrush::TranslateTransform(Single dx, Single dy, GpMatrixOrder order) {
  return SetStatus(Api().GdipTranslateTextureTransform(nativeBrush, dx, dy, order));
}
TStatus TGPTextureBrush::ScaleTransform(Single sx, Single sy, GpMatrixOrder order) {
  return SetStatus(Api().GdipScaleTextureTransform(nativeBrush, sx, sy, order));
}
TStatus TGPTextureBrush::RotateTransform(Single angle, GpMatrixOrder order) {
  return SetStatus(Api().GdipRotateTextureTransform(nativeBrush, angle, order));
}
TStatus TGPTextureBrush::SetWrapMode(GpWrapMode wrapMode) {
  return SetStatus(Api().GdipSetTextureWrapMode(nativeBrush, wrapMode));
}
GpWrapMode TGPTextureBrush::GetWrapMode() {
  GpWrapMode mode = WrapModeTile;
  if (SetStatus(Api().GdipGetTextureWrapMode(nativeBrush, &mode)) != Ok) return WrapModeTile;
  return mode;
}

std::unique_ptr<TGPImage> TGPTextureBrush::GetImage() {
  GpImage* image = nullptr;
  SetStatus(Api().GdipGetTextureImage(nativeBrush, &image));
  return Adopt<TGPImage>(Api().GdipDisposeImage, image, lastResult);
}

// ---- TGPLinearGradientBrush -------------------------------------------------

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1,
                                               ARGB color2)
    : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreateLineBrush(&point1, &point2, color1, color2, WrapModeTile, &nativeBrush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1, ARGB color2)
    : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreateLineBrushI(&point1, &point2, color1, color2, WrapModeTile, &nativeBrush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2,
                                               GpLinearGradientMode mode)
    : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreateLineBrushFromRect(&rect, color1, color2, mode, WrapModeTile, &nativeBrush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, GpLinearGradientMode mode)
    : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreateLineBrushFromRectI(&rect, color1, color2, mode, WrapModeTile, &nativeBrush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, Single angle,
                                               bool isAngleScalable)
    : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreateLineBrushFromRectWithAngle(&rect, color1, color2, angle, isAngleScalable ? TRUE : FALSE,
                                                          WrapModeTile, &nativeBrush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, Single angle,
                                               bool isAngleScalable)
    : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreateLineBrushFromRectWithAngleI(&rect, color1, color2, angle, isAngleScalable ? TRUE : FALSE,
                                                           WrapModeTile, &nativeBrush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush() : TGPBrush(nullptr, Ok) {}

std::unique_ptr<TGPBrush> TGPLinearGradientBrush::NewEmpty() const {
  return std::unique_ptr<TGPBrush>(new TGPLinearGradientBrush());
}

TStatus TGPLinearGradientBrush::SetLinearColors(ARGB color1, ARGB color2) {
  return SetStatus(Api().GdipSetLineColors(nativeBrush, color1, color2));
}

TStatus TGPLinearGradientBrush::GetLinearColors(ARGB& color1, ARGB& color2) {
  ARGB colors[2] = {0, 0};
  SetStatus(Api().GdipGetLineColors(nativeBrush, colors));
  if (lastResult == Ok) {
    color1 = colors[0];
    color2 = colors[1];
  }
  return lastResult;
}

TStatus TGPLinearGradientBrush::GetRectangle(TGPRectF& rect) {
  return SetStatus(Api().GdipGetLineRect(nativeBrush, &rect));
}
TStatus TGPLinearGradientBrush::GetRectangle(TGPRect& rect) {
  return SetStatus(Api().GdipGetLineRectI(nativeBrush, &rect));
}
TStatus TGPLinearGradientBrush::SetGammaCorrection(bool useGammaCorrection) {
  return SetStatus(Api().GdipSetLineGammaCorrection(nativeBrush, useGammaCorrection ? TRUE : FALSE));
}
bool TGPLinearGradientBrush::GetGammaCorrection() {
  BOOL r = FALSE;
  return SetStatus(Api().GdipGetLineGammaCorrection(nativeBrush, &r)) == Ok && r != FALSE;
}
Integer TGPLinearGradientBrush::GetBlendCount() {
  INT count = 0;
  return SetStatus(Api().GdipGetLineBlendCount(nativeBrush, &count)) == Ok ? count : 0;
}
TStatus TGPLinearGradientBrush::SetBlend(const Single* blendFactors, const Single* blendPositions, Integer count) {
  return SetStatus(Api().GdipSetLineBlend(nativeBrush, blendFactors, blendPositions, count));
}
TStatus TGPLinearGradientBrush::GetBlend(Single* blendFactors, Single* blendPositions, Integer count) {
  if (count <= 0 || !blendFactors || !blendPositions) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipGetLineBlend(nativeBrush, blendFactors, blendPositions, count));
}
Integer TGPLinearGradientBrush::GetInterpolationColorCount() {
  INT count = 0;
  return SetStatus(Api().GdipGetLinePresetBlendCount(nativeBrush, &count)) == Ok ? count : 0;
}
TStatus TGPLinearGradientBrush::SetInterpolationColors(const ARGB* presetColors, const Single* blendPositions,
                                                       Integer count) {
  if (count <= 0) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipSetLinePresetBlend(nativeBrush, presetColors, blendPositions, count));
}
TStatus TGPLinearGradientBrush::GetInterpolationColors(ARGB* presetColors, Single* blendPositions, Integer count) {
  if (count <= 0) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipGetLinePresetBlend(nativeBrush, presetColors, blendPositions, count));
}
TStatus TGPLinearGradientBrush::SetBlendBellShape(Single focus, Single scale) {
  return SetStatus(Api().GdipSetLineSigmaBlend(nativeBrush, focus, scale));
}
TStatus TGPLinearGradientBrush::SetBlendTriangularShape(Single focus, Single scale) {
  return SetStatus(Api().GdipSetLineLinearBlend(nativeBrush, focus, scale));
}
TStatus TGPLinearGradientBrush::SetTransform(const TGPMatrix* matrix) {
  return SetStatus(Api().GdipSetLineTransform(nativeBrush, NativeOf(matrix)));
}
TStatus TGPLinearGradientBrush::GetTransform(TGPMatrix* matrix) {
  return SetStatus(Api().GdipGetLineTransform(nativeBrush, NativeOf(matrix)));
}
TStatus TGPLinearGradientBrush::ResetTransform() { return SetStatus(Api().GdipResetLineTransform(nativeBrush)); }
TStatus TGPLinearGradientBrush::MultiplyTransform(const TGPMatrix* matrix, GpMatrixOrder order) {
  return SetStatus(Api().GdipMultiplyLineTransform(nativeBrush, NativeOf(matrix), order));
}
TStatus TGPLinearGradientBrush::TranslateTransform(Single dx, Single dy, GpMatrixOrder order) {
  return SetStatus(Api().GdipTranslateLineTransform(nativeBrush, dx, dy, order));
}
TStatus TGPLinearGradientBrush::ScaleTransform(Single sx, Single sy, GpMatrixOrder order) {
  return SetStatus(Api().GdipScaleLineTransform(nativeBrush, sx, sy, order));
}
TStatus TGPLinearGradientBrush::RotateTransform(Single angle, GpMatrixOrder order) {
  return SetStatus(Api().GdipRotateLineTransform(nativeBrush, angle, order));
}
TStatus TGPLinearGradientBrush::SetWrapMode(GpWrapMode wrapMode) {
  return SetStatus(Api().GdipSetLineWrapMode(nativeBrush, wrapMode));
}
GpWrapMode TGPLinearGradientBrush::GetWrapMode() {
  GpWrapMode mode = WrapModeTile;
  if (SetStatus(Api().GdipGetLineWrapMode(nativeBrush, &mode)) != Ok) return WrapModeTile;
  return mode;
}

// ---- TGPPathGradientBrush ---------------------------------------------------

TGPPathGradientBrush::TGPPathGradientBrush(const TGPPointF* points, Integer count, GpWrapMode wrapMode)
    : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreatePathGradient(points, count, wrapMode, &nativeBrush);
}

TGPPathGradientBrush::TGPPathGradientBrush(const TGPPoint* points, Integer count, GpWrapMode wrapMode)
    : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreatePathGradientI(points, count, wrapMode, &nativeBrush);
}

TGPPathGradientBrush::TGPPathGradientBrush(const TGPGraphicsPath* path) : TGPBrush(nullptr, Ok) {
  lastResult = Api().GdipCreatePathGradientFromPath(NativeOf(path), &nativeBrush);
}

TGPPathGradientBrush::TGPPathGradientBrush() : TGPBrush(nullptr, Ok) {}

std::unique_ptr<TGPBrush> TGPPathGradientBrush::NewEmpty() const {
  return std::unique_ptr<TGPBrush>(new TGPPathGradientBrush());
}

TStatus TGPPathGradientBrush::GetCenterColor(ARGB& color) {
  ARGB c = 0;
  if (SetStatus(Api().GdipGetPathGradientCenterColor(nativeBrush, &c)) == Ok) color = c;
  return lastResult;
}

TStatus TGPPathGradientBrush::SetCenterColor(ARGB color) {
  SetStatus(Api().GdipSetPathGradientCenterColor(nativeBrush, color));
  return lastResult;
}

Integer TGPPathGradientBrush::GetPointCount() {
  INT count = 0;
  return SetStatus(Api().GdipGetPathGradientPointCount(nativeBrush, &count)) == Ok ? count : 0;
}

Integer TGPPathGradientBrush::GetSurroundColorCount() {
  INT count = 0;
  return SetStatus(Api().GdipGetPathGradientSurroundColorCount(nativeBrush, &count)) == Ok ? count : 0;
}

TStatus TGPPathGradientBrush::GetSurroundColors(ARGB* colors, Integer& count) {
  if (!colors) return SetStatus(InvalidParameter);
  INT n = 0;
  SetStatus(Api().GdipGetPathGradientSurroundColorCount(nativeBrush, &n));
  if (lastResult != Ok) return lastResult;
  if (count < n || n <= 0) return SetStatus(InsufficientBuffer);
  INT got = n;
  SetStatus(Api().GdipGetPathGradientSurroundColorsWithCount(nativeBrush, colors, &got));
  if (lastResult == Ok) count = got;
  return lastResult;
}

TStatus TGPPathGradientBrush::SetSurroundColors(const ARGB* colors, Integer& count) {
  if (!colors) return SetStatus(InvalidParameter);
  Integer points = GetPointCount();
  if (points <= 0 || count > points || count <= 0) return SetStatus(InvalidParameter);
  INT kept = count;
  SetStatus(Api().GdipSetPathGradientSurroundColorsWithCount(nativeBrush, colors, &kept));
  if (lastResult == Ok) count = kept;
  return lastResult;
}

TStatus TGPPathGradientBrush::GetGraphicsPath(TGPGraphicsPath* path) {
  if (!path) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipGetPathGradientPath(nativeBrush, path->nativePath));
}

TStatus TGPPathGradientBrush::SetGraphicsPath(const TGPGraphicsPath* path) {
  if (!path) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipSetPathGradientPath(nativeBrush, path->nativePath));
}

TStatus TGPPathGradientBrush::GetCenterPoint(TGPPointF& point) {
  return SetStatus(Api().GdipGetPathGradientCenterPoint(nativeBrush, &point));
}
TStatus TGPPathGradientBrush::GetCenterPoint(TGPPoint& point) {
  return SetStatus(Api().GdipGetPathGradientCenterPointI(nativeBrush, &point));
}
TStatus TGPPathGradientBrush::SetCenterPoint(const TGPPointF& point) {
  return SetStatus(Api().GdipSetPathGradientCenterPoint(nativeBrush, &point));
}
TStatus TGPPathGradientBrush::SetCenterPoint(const TGPPoint& point) {
  return SetStatus(Api().GdipSetPathGradientCenterPointI(nativeBrush, &point));
}
TStatus TGPPathGradientBrush::GetRectangle(TGPRectF& rect) {
  return SetStatus(Api().GdipGetPathGradientRect(nativeBrush, &rect));
}
TStatus TGPPathGradientBrush::GetRectangle(TGPRect& rect) {
  return SetStatus(Api().GdipGetPathGradientRectI(nativeBrush, &rect));
}
TStatus TGPPathGradientBrush::SetGammaCorrection(bool useGammaCorrection) {
  return SetStatus(Api().GdipSetPathGradientGammaCorrection(nativeBrush, useGammaCorrection ? TRUE : FALSE));
}
bool TGPPathGradientBrush::GetGammaCorrection() {
  BOOL r = FALSE;
  return SetStatus(Api().GdipGetPathGradientGammaCorrection(nativeBrush, &r)) == Ok && r != FALSE;
}
Integer TGPPathGradientBrush::GetBlendCount() {
  INT count = 0;
  return SetStatus(Api().GdipGetPathGradientBlendCount(nativeBrush, &count)) == Ok ? count : 0;
}
TStatus TGPPathGradientBrush::GetBlend(Single* blendFactors, Single* blendPositions, Integer count) {
  return SetStatus(Api().GdipGetPathGradientBlend(nativeBrush, blendFactors, blendPositions, count));
}
TStatus TGPPathGradientBrush::SetBlend(const Single* blendFactors, const Single* blendPositions, Integer count) {
  return SetStatus(Api().GdipSetPathGradientBlend(nativeBrush, blendFactors, blendPositions, count));
}
Integer TGPPathGradientBrush::GetInterpolationColorCount() {
  INT count = 0;
  return SetStatus(Api().GdipGetPathGradientPresetBlendCount(nativeBrush, &count)) == Ok ? count : 0;
}
TStatus TGPPathGradientBrush::SetInterpolationColors(const ARGB* presetColors, const Single* blendPositions,
                                                     Integer count) {
  if (count <= 0 || !presetColors) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipSetPathGradientPresetBlend(nativeBrush, presetColors, blendPositions, count));
}

TStatus TGPPathGradientBrush::GetInterpolationColors(ARGB* presetColors, Single* blendPositions, Integer count) {
  if (count <= 0 || !presetColors) return SetStatus(InvalidParameter);
  std::vector<ARGB> scratch;
  try {
    scratch.assign(std::size_t(count), 0);
  } catch (const std::bad_alloc&) {
    return SetStatus(OutOfMemory);
  }
  TStatus s = SetStatus(Api().GdipGetPathGradientPresetBlend(nativeBrush, scratch.data(), blendPositions, count));
  // The caller's colours are always defined: zero where GDI+ gave none.
  if (s != Ok) std::fill(scratch.begin(), scratch.end(), 0);
  std::copy(scratch.begin(), scratch.end(), presetColors);
  return s;
}

TStatus TGPPathGradientBrush::SetBlendBellShape(Single focus, Single scale) {
  return SetStatus(Api().GdipSetPathGradientSigmaBlend(nativeBrush, focus, scale));
}
TStatus TGPPathGradientBrush::SetBlendTriangularShape(Single focus, Single scale) {
  return SetStatus(Api().GdipSetPathGradientLinearBlend(nativeBrush, focus, scale));
}
TStatus TGPPathGradientBrush::GetTransform(TGPMatrix* matrix) {
  return SetStatus(Api().GdipGetPathGradientTransform(nativeBrush, NativeOf(matrix)));
}
TStatus TGPPathGradientBrush::SetTransform(const TGPMatrix* matrix) {
  return SetStatus(Api().GdipSetPathGradientTransform(nativeBrush, NativeOf(matrix)));
}
TStatus TGPPathGradientBrush::ResetTransform() { return SetStatus(Api().GdipResetPathGradientTransform(nativeBrush)); }
TStatus TGPPathGradientBrush::MultiplyTransform(const TGPMatrix* matrix, GpMatrixOrder order) {
  return SetStatus(Api().GdipMultiplyPathGradientTransform(nativeBrush, NativeOf(matrix), order));
}
TStatus TGPPathGradientBrush::TranslateTransform(Single dx, Single dy, GpMatrixOrder order) {
  return SetStatus(Api().GdipTranslatePathGradientTransform(nativeBrush, dx, dy, order));
}
TStatus TGPPathGradientBrush::ScaleTransform(Single sx, Single sy, GpMatrixOrder order) {
  return SetStatus(Api().GdipScalePathGradientTransform(nativeBrush, sx, sy, order));
}
TStatus TGPPathGradientBrush::RotateTransform(Single angle, GpMatrixOrder order) {
  return SetStatus(Api().GdipRotatePathGradientTransform(nativeBrush, angle, order));
}
TStatus TGPPathGradientBrush::GetFocusScales(Single& xScale, Single& yScale) {
  xScale = 0;
  yScale = 0;
  TStatus s = SetStatus(Api().GdipGetPathGradientFocusScales(nativeBrush, &xScale, &yScale));
  if (s != Ok) xScale = yScale = 0;
  return s;
}
TStatus TGPPathGradientBrush::SetFocusScales(Single xScale, Single yScale) {
  return SetStatus(Api().GdipSetPathGradientFocusScales(nativeBrush, xScale, yScale));
}
GpWrapMode TGPPathGradientBrush::GetWrapMode() {
  GpWrapMode mode = WrapModeTile;
  if (SetStatus(Api().GdipGetPathGradientWrapMode(nativeBrush, &mode)) != Ok) return WrapModeTile;
  return mode;
}
TStatus TGPPathGradientBrush::SetWrapMode(GpWrapMode wrapMode) {
  return SetStatus(Api().GdipSetPathGradientWrapMode(nativeBrush, wrapMode));
}

}  // namespace gdiplus_runtime
