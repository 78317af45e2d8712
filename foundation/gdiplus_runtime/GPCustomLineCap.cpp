#include "foundation/gdiplus_runtime/GPCustomLineCap.h"

#include "foundation/gdiplus_runtime/GPGraphicsPath.h"

namespace gdiplus_runtime {

TGPCustomLineCap::TGPCustomLineCap(const TGPGraphicsPath* fillPath, const TGPGraphicsPath* strokePath,
                                   GpLineCap baseCap, Single baseInset) {
  lastResult = Api().GdipCreateCustomLineCap(NativeOf(fillPath), NativeOf(strokePath), baseCap, baseInset, &nativeCap);
}

TGPCustomLineCap::TGPCustomLineCap() = default;

TGPCustomLineCap::TGPCustomLineCap(GpCustomLineCap* native, TStatus status) : nativeCap(native), lastResult(status) {}

TGPCustomLineCap::~TGPCustomLineCap() { Api().GdipDeleteCustomLineCap(nativeCap); }

std::unique_ptr<TGPCustomLineCap> TGPCustomLineCap::Clone() {
  GpCustomLineCap* clone = nullptr;
  SetStatus(Api().GdipCloneCustomLineCap(nativeCap, &clone));
  if (lastResult != Ok) {
    Api().GdipDeleteCustomLineCap(clone);
    return nullptr;
  }
  return Adopt<TGPCustomLineCap>(Api().GdipDeleteCustomLineCap, clone, Ok);
}

TStatus TGPCustomLineCap::SetStrokeCap(GpLineCap strokeCap) { return SetStrokeCaps(strokeCap, strokeCap); }

TStatus TGPCustomLineCap::SetStrokeCaps(GpLineCap startCap, GpLineCap endCap) {
  return SetStatus(Api().GdipSetCustomLineCapStrokeCaps(nativeCap, startCap, endCap));
}

TStatus TGPCustomLineCap::GetStrokeCaps(GpLineCap& startCap, GpLineCap& endCap) {
  startCap = LineCapFlat;
  endCap = LineCapFlat;
  TStatus s = SetStatus(Api().GdipGetCustomLineCapStrokeCaps(nativeCap, &startCap, &endCap));
  if (s != Ok) startCap = endCap = LineCapFlat;
  return s;
}

TStatus TGPCustomLineCap::SetStrokeJoin(GpLineJoin lineJoin) {
  return SetStatus(Api().GdipSetCustomLineCapStrokeJoin(nativeCap, lineJoin));
}

GpLineJoin TGPCustomLineCap::GetStrokeJoin() {
  GpLineJoin join = LineJoinMiter;
  return SetStatus(Api().GdipGetCustomLineCapStrokeJoin(nativeCap, &join)) == Ok ? join : LineJoinMiter;
}

TStatus TGPCustomLineCap::SetBaseCap(GpLineCap baseCap) {
  return SetStatus(Api().GdipSetCustomLineCapBaseCap(nativeCap, baseCap));
}

GpLineCap TGPCustomLineCap::GetBaseCap() {
  GpLineCap cap = LineCapFlat;
  return SetStatus(Api().GdipGetCustomLineCapBaseCap(nativeCap, &cap)) == Ok ? cap : LineCapFlat;
}

TStatus TGPCustomLineCap::SetBaseInset(Single inset) {
  return SetStatus(Api().GdipSetCustomLineCapBaseInset(nativeCap, inset));
}

Single TGPCustomLineCap::GetBaseInset() {
  REAL inset = 0;
  return SetStatus(Api().GdipGetCustomLineCapBaseInset(nativeCap, &inset)) == Ok ? inset : 0.0f;
}

TStatus TGPCustomLineCap::SetWidthScale(Single widthScale) {
  return SetStatus(Api().GdipSetCustomLineCapWidthScale(nativeCap, widthScale));
}

Single TGPCustomLineCap::GetWidthScale() {
  REAL scale = 0;
  return SetStatus(Api().GdipGetCustomLineCapWidthScale(nativeCap, &scale)) == Ok ? scale : 0.0f;
}

}  // namespace gdiplus_runtime
