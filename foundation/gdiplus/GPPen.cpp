#include "foundation/gdiplus/GPPen.h"

namespace gdiplus {

TGPPen::TGPPen(ARGB color, Single width) { lastResult = GdipCreatePen1(color, width, UnitWorld, &nativePen); }
TGPPen::TGPPen(TGPBrush* brush, Single width) {
  lastResult = GdipCreatePen2(brush ? brush->nativeBrush : nullptr, width, UnitWorld, &nativePen);
}
TGPPen::~TGPPen() { GdipDeletePen(nativePen); }
TStatus TGPPen::SetDashStyle(GpDashStyle s) { return SetStatus(GdipSetPenDashStyle(nativePen, s)); }
GpDashStyle TGPPen::GetDashStyle() {
  GpDashStyle s = DashStyleSolid;
  SetStatus(GdipGetPenDashStyle(nativePen, &s));
  return s;
}
TStatus TGPPen::SetEndCap(Integer endCap) { return SetStatus(GdipSetPenEndCap(nativePen, GpLineCap(endCap))); }
TStatus TGPPen::SetBrush(TGPBrush* brush) { return SetStatus(GdipSetPenBrushFill(nativePen, brush ? brush->nativeBrush : nullptr)); }
Integer TGPPen::GetPenType() {
  GpPenType t = PenTypeUnknown;
  return SetStatus(GdipGetPenFillType(nativePen, &t)) == Ok ? Integer(t) : -1;
}
TGPBrush* TGPPen::GetBrush() {
  TGPBrush* b;
  switch (GetPenType()) {
    case PenTypeSolidColor: b = new TGPSolidBrush(); break;
    case PenTypeHatchFill: b = new TGPHatchBrush(); break;
    case PenTypeTextureFill: b = new TGPTextureBrush(); break;
    case PenTypePathGradient: b = new TGPBrush(); break;
    case PenTypeLinearGradient:
      // Made like a plain brush: its status says NotImplemented.
      b = new TGPLinearGradientBrush();
      if (b) b->lastResult = NotImplemented;
      break;
    default: return nullptr;
  }
  if (!b) return nullptr;
  GpBrush* native = nullptr;
  SetStatus(GdipGetPenBrushFill(nativePen, &native));
  b->nativeBrush = native;
  return b;
}

}  // namespace gdiplus
