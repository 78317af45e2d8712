#include "ribbon/appearance/VistaBackground.h"

#include "foundation/style/VornStyle.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

void ApplyRibbonDefaultFont(TFont* Font) {
  if (Font == nullptr) return;
  toolbar::ApplyDefaultFont(Font, HasGetLocaleInfoEx());
  Font->SetHeight(-11);
  Font->SetStyle({});
}

void TVistaBackground::Changed() {
  if (OnChange) OnChange(this);
}

void TVistaBackground::SetColour(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TVistaBackground::SetGradientValue(TGDIPGradient& Field, TGDIPGradient Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TVistaBackground::SetSteps(Integer V) {
  if (FSteps == V) return;
  FSteps = V;
  Changed();
}

void TVistaBackground::Assign(TPersistent* Source) {
  if (Source == nullptr) return;
  if (auto* s = dynamic_cast<TVistaBackground*>(Source)) {
    FSteps = s->FSteps;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FColorMirror = s->FColorMirror;
    FColorMirrorTo = s->FColorMirrorTo;
    FBorderColor = s->FBorderColor;
    FShadowColor = s->FShadowColor;
    FHighLightColor = s->FHighLightColor;
    SetGradient(s->FGradient);
    SetGradientMirror(s->FGradientMirror);
    return;
  }
  TPersistent::Assign(Source);
}

TVistaTextBackground::TVistaTextBackground() : FFont(std::make_unique<TFont>()) {
  ApplyRibbonDefaultFont(FFont.get());
}

TVistaTextBackground::~TVistaTextBackground() = default;

void TVistaTextBackground::SetSystemFont(bool Value) {
  FSystemFont = Value;
  if (Value) toolbar::ApplyDefaultFont(FFont.get(), HasGetLocaleInfoEx());
}

void TVistaTextBackground::Assign(TPersistent* Source) {
  TVistaBackground::Assign(Source);
  if (auto* s = dynamic_cast<TVistaTextBackground*>(Source)) {
    SetTextColor(s->FTextColor);
    SetTextColorExtended(s->FTextColorExtended);
    FFont->Assign(s->FFont.get());
  }
}

}  // namespace ribbon
