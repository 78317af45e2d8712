#include "foundation/graphics/AdvGraphicsStroke.h"

#include "foundation/graphics/AdvGraphicsFill.h"

TColor NormalizeGraphicsColor(TColor AColor) {
  if (AColor == clNone) return gcNull;
  if (AColor == clDefault) return clBtnFace;
  return AColor;
}

TAdvCustomGraphicsStroke::TAdvCustomGraphicsStroke(TAdvGraphicsStrokeKind AKind, TColor AColor)
    : FKind(AKind), FColor(AColor), FDefaultKind(AKind), FDefaultColor(AColor) {}

void TAdvCustomGraphicsStroke::Assign(TPersistent* Source) {
  if (auto* stroke = dynamic_cast<TAdvCustomGraphicsStroke*>(Source)) {
    FColor = stroke->FColor;
    FKind = stroke->FKind;
    FOpacity = stroke->FOpacity;
    FWidth = stroke->FWidth;
  } else if (auto* fill = dynamic_cast<TAdvCustomGraphicsFill*>(Source)) {
    FColor = fill->Color();
    FKind = gskSolid;
    FOpacity = 1;
    FWidth = 1;
  }
  DoChanged();
}

void TAdvCustomGraphicsStroke::BeginUpdate() { ++FUpdateCount; }

void TAdvCustomGraphicsStroke::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  DoChanged();
}

void TAdvCustomGraphicsStroke::SetKind(TAdvGraphicsStrokeKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  DoChanged();
}

void TAdvCustomGraphicsStroke::SetColor(TColor Value) {
  const TColor color = NormalizeGraphicsColor(Value);
  if (FColor == color) return;
  FColor = color;
  DoChanged();
}

void TAdvCustomGraphicsStroke::SetWidth(Single Value) {
  if (FWidth == Value) return;
  FWidth = Value;
  DoChanged();
}

void TAdvCustomGraphicsStroke::SetOpacity(Single Value) {
  if (FOpacity == Value) return;
  FOpacity = Value;
  DoChanged();
}

void TAdvCustomGraphicsStroke::DoChanged() {
  if (OnChanged && FUpdateCount == 0) OnChanged(this);
}
