#include "foundation/gdiplus_runtime/GPPen.h"

#include "foundation/gdiplus_runtime/GPBrush.h"
#include "foundation/gdiplus_runtime/GPCustomLineCap.h"
#include "foundation/gdiplus_runtime/GPMatrix.h"

namespace gdiplus_runtime {

TGPPen::TGPPen(ARGB color, Single width) { lastResult = Api().GdipCreatePen1(color, width, UnitWorld, &nativePen); }

TGPPen::TGPPen(const TGPBrush* brush, Single width) {
  lastResult = Api().GdipCreatePen2(NativeOf(brush), width, UnitWorld, &nativePen);
}

TGPPen::TGPPen(GpPen* native, TStatus status) : nativePen(native), lastResult(status) {}

TGPPen::~TGPPen() { Api().GdipDeletePen(nativePen); }

std::unique_ptr<TGPPen> TGPPen::Clone() {
  GpPen* clone = nullptr;
  lastResult = Api().GdipClonePen(nativePen, &clone);
  return Adopt<TGPPen>(Api().GdipDeletePen, clone, lastResult);
}

TStatus TGPPen::SetWidth(Single width) { return SetStatus(Api().GdipSetPenWidth(nativePen, width)); }

Single TGPPen::GetWidth() {
  REAL width = 0;
  return SetStatus(Api().GdipGetPenWidth(nativePen, &width)) == Ok ? width : 0.0f;
}

TStatus TGPPen::SetLineCap(GpLineCap startCap, GpLineCap endCap, GpDashCap dashCap) {
  return SetStatus(Api().GdipSetPenLineCap197819(nativePen, startCap, endCap, dashCap));
}
TStatus TGPPen::SetStartCap(GpLineCap startCap) { return SetStatus(Api().GdipSetPenStartCap(nativePen, startCap)); }
TStatus TGPPen::SetEndCap(GpLineCap endCap) { return SetStatus(Api().GdipSetPenEndCap(nativePen, endCap)); }
TStatus TGPPen::SetDashCap(GpDashCap dashCap) { return SetStatus(Api().GdipSetPenDashCap197819(nativePen, dashCap)); }

GpLineCap TGPPen::GetStartCap() {
  GpLineCap cap = LineCapFlat;
  return SetStatus(Api().GdipGetPenStartCap(nativePen, &cap)) == Ok ? cap : LineCapFlat;
}
GpLineCap TGPPen::GetEndCap() {
  GpLineCap cap = LineCapFlat;
  return SetStatus(Api().GdipGetPenEndCap(nativePen, &cap)) == Ok ? cap : LineCapFlat;
}
GpDashCap TGPPen::GetDashCap() {
  GpDashCap cap = DashCapFlat;
  return SetStatus(Api().GdipGetPenDashCap197819(nativePen, &cap)) == Ok ? cap : DashCapFlat;
}

TStatus TGPPen::SetLineJoin(GpLineJoin lineJoin) { return SetStatus(Api().GdipSetPenLineJoin(nativePen, lineJoin)); }
GpLineJoin TGPPen::GetLineJoin() {
  GpLineJoin join = LineJoinMiter;
  return SetStatus(Api().GdipGetPenLineJoin(nativePen, &join)) == Ok ? join : LineJoinMiter;
}

TStatus TGPPen::SetCustomStartCap(const TGPCustomLineCap* customCap) {
  return SetStatus(Api().GdipSetPenCustomStartCap(nativePen, NativeOf(customCap)));
}
TStatus TGPPen::SetCustomEndCap(const TGPCustomLineCap* customCap) {
  return SetStatus(Api().GdipSetPenCustomEndCap(nativePen, NativeOf(customCap)));
}

TStatus TGPPen::GetCustomCap(TGPCustomLineCap* customCap, bool start) {
  if (!customCap) return SetStatus(InvalidParameter);
  GpCustomLineCap* cap = nullptr;
  TStatus s = SetStatus(start ? Api().GdipGetPenCustomStartCap(nativePen, &cap)
                              : Api().GdipGetPenCustomEndCap(nativePen, &cap));
  if (s != Ok) return s;
  // The wrapper owns its native cap: the one it held goes before the new one
  // takes its place.
  Api().GdipDeleteCustomLineCap(customCap->nativeCap);
  customCap->nativeCap = cap;
  return s;
}

TStatus TGPPen::GetCustomStartCap(TGPCustomLineCap* customCap) { return GetCustomCap(customCap, true); }
TStatus TGPPen::GetCustomEndCap(TGPCustomLineCap* customCap) { return GetCustomCap(customCap, false); }

TStatus TGPPen::SetMiterLimit(Single miterLimit) {
  return SetStatus(Api().GdipSetPenMiterLimit(nativePen, miterLimit));
}
Single TGPPen::GetMiterLimit() {
  REAL limit = 0;
  return SetStatus(Api().GdipGetPenMiterLimit(nativePen, &limit)) == Ok ? limit : 0.0f;
}

TStatus TGPPen::SetAlignment(GpPenAlignment penAlignment) {
  return SetStatus(Api().GdipSetPenMode(nativePen, penAlignment));
}
GpPenAlignment TGPPen::GetAlignment() {
  GpPenAlignment mode = PenAlignmentCenter;
  return SetStatus(Api().GdipGetPenMode(nativePen, &mode)) == Ok ? mode : PenAlignmentCenter;
}

TStatus TGPPen::SetTransform(const TGPMatrix* matrix) {
  return SetStatus(Api().GdipSetPenTransform(nativePen, NativeOf(matrix)));
}
TStatus TGPPen::GetTransform(TGPMatrix* matrix) {
  return SetStatus(Api().GdipGetPenTransform(nativePen, NativeOf(matrix)));
}
TStatus TGPPen::ResetTransform() { return SetStatus(Api().GdipResetPenTransform(nativePen)); }
TStatus TGPPen::MultiplyTransform(const TGPMatrix* matrix, GpMatrixOrder order) {
  return SetStatus(Api().GdipMultiplyPenTransform(nativePen, NativeOf(matrix), order));
}
TStatus TGPPen::TranslateTransform(Single dx, Single dy, GpMatrixOrder order) {
  return SetStatus(Api().GdipTranslatePenTransform(nativePen, dx, dy, order));
}
TStatus TGPPen::ScaleTransform(Single sx, Single sy, GpMatrixOrder order) {
  return SetStatus(Api().GdipScalePenTransform(nativePen, sx, sy, order));
}
TStatus TGPPen::RotateTransform(Single angle, GpMatrixOrder order) {
  return SetStatus(Api().GdipRotatePenTransform(nativePen, angle, order));
}

GpPenType TGPPen::GetPenType() {
  GpPenType type = PenTypeUnknown;
  return SetStatus(Api().GdipGetPenFillType(nativePen, &type)) == Ok ? type : PenTypeUnknown;
}

TStatus TGPPen::SetColor(ARGB color) { return SetStatus(Api().GdipSetPenColor(nativePen, color)); }

TStatus TGPPen::GetColor(ARGB& color) {
  if (GetPenType() != PenTypeSolidColor) return WrongState;
  ARGB c = 0;
  SetStatus(Api().GdipGetPenColor(nativePen, &c));
  if (lastResult == Ok) color = c;
  return lastResult;
}

TStatus TGPPen::SetBrush(const TGPBrush* brush) {
  return SetStatus(Api().GdipSetPenBrushFill(nativePen, NativeOf(brush)));
}

std::unique_ptr<TGPBrush> TGPPen::GetBrush() {
  std::unique_ptr<TGPBrush> brush;
  switch (GetPenType()) {
    case PenTypeSolidColor: brush.reset(new TGPSolidBrush()); break;
    case PenTypeHatchFill: brush.reset(new TGPHatchBrush()); break;
    case PenTypeTextureFill: brush.reset(new TGPTextureBrush()); break;
    case PenTypePathGradient: brush.reset(new TGPBrush()); break;
    case PenTypeLinearGradient: brush.reset(new TGPLinearGradientBrush()); break;
    default: return nullptr;
  }
  if (!brush) return nullptr;
  SetStatus(Api().GdipGetPenBrushFill(nativePen, &brush->nativeBrush));
  return brush;
}

GpDashStyle TGPPen::GetDashStyle() {
  GpDashStyle style = DashStyleSolid;
  return SetStatus(Api().GdipGetPenDashStyle(nativePen, &style)) == Ok ? style : DashStyleSolid;
}
TStatus TGPPen::SetDashStyle(GpDashStyle dashStyle) {
  return SetStatus(Api().GdipSetPenDashStyle(nativePen, dashStyle));
}
Single TGPPen::GetDashOffset() {
  REAL offset = 0;
  return SetStatus(Api().GdipGetPenDashOffset(nativePen, &offset)) == Ok ? offset : 0.0f;
}
TStatus TGPPen::SetDashOffset(Single dashOffset) {
  return SetStatus(Api().GdipSetPenDashOffset(nativePen, dashOffset));
}
TStatus TGPPen::SetDashPattern(const Single* dashArray, Integer count) {
  return SetStatus(Api().GdipSetPenDashArray(nativePen, dashArray, count));
}
Integer TGPPen::GetDashPatternCount() {
  INT count = 0;
  return SetStatus(Api().GdipGetPenDashCount(nativePen, &count)) == Ok ? count : 0;
}
TStatus TGPPen::GetDashPattern(Single* dashArray, Integer count) {
  return SetStatus(Api().GdipGetPenDashArray(nativePen, dashArray, count));
}
TStatus TGPPen::SetCompoundArray(const Single* compoundArray, Integer count) {
  return SetStatus(Api().GdipSetPenCompoundArray(nativePen, compoundArray, count));
}
Integer TGPPen::GetCompoundArrayCount() {
  INT count = 0;
  return SetStatus(Api().GdipGetPenCompoundCount(nativePen, &count)) == Ok ? count : 0;
}
TStatus TGPPen::GetCompoundArray(Single* compoundArray, Integer count) {
  if (count <= 0) return SetStatus(InvalidParameter);
  return SetStatus(Api().GdipGetPenCompoundArray(nativePen, compoundArray, count));
}

}  // namespace gdiplus_runtime
