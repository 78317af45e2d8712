#include "foundation/graphics/AdvGraphics.h"

#include "foundation/graphics/AdvGraphicsContextGeneral.h"
#include "foundation/graphics/AdvGraphicsContextWin.h"

TAdvGraphics::TAdvGraphics(TCanvas* ACanvas, bool ANative)
    : FActiveCanvas(ACanvas),
      FNative(ANative),
      FFill(std::make_unique<TAdvGraphicsFill>(gfkSolid, clWhite, clGray)),
      FStroke(std::make_unique<TAdvGraphicsStroke>(gskSolid, clSilver)),
      FFont(std::make_unique<TAdvGraphicsFont>()) {
  if (FNative)
    FContextNative = NativeContextClass()(this);
  else
    FContextGeneral = std::make_unique<TAdvGraphicsContextGeneral>(this);
  TAdvGraphicsContext* context = Context();
  context->SetSize(1, 1);
  context->SetFill(FFill.get());
  context->SetStroke(FStroke.get());
  context->SetFont(FFont.get());
}

TAdvGraphics::~TAdvGraphics() {
  // The contexts go first: the GDI+ one renders on its way out.
  FContextNative.reset();
  FContextGeneral.reset();
}

namespace {
TColor ResolvedColor(TColor AColor) { return AColor == gcNull ? 0 : ColorToRGB(AColor); }
}  // namespace

Byte TAdvGraphics::GetColorRed(TColor AColor) { return Byte(ResolvedColor(AColor) & 0xFF); }
Byte TAdvGraphics::GetColorGreen(TColor AColor) { return Byte((ResolvedColor(AColor) >> 8) & 0xFF); }
Byte TAdvGraphics::GetColorBlue(TColor AColor) { return Byte((ResolvedColor(AColor) >> 16) & 0xFF); }
