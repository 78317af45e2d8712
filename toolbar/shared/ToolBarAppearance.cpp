#include "toolbar/shared/ToolBarAppearance.h"

#include "foundation/style/VornStyle.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

// ---------------------------------------------------------------------------
// TButtonAppearance

TButtonAppearance::TButtonAppearance() : FCaptionFont(std::make_unique<TFont>()) {
  FCaptionFont->SetHeight(-11);
  ApplyDefaultFont(FCaptionFont.get(), HasGetLocaleInfoEx());
}

TButtonAppearance::~TButtonAppearance() = default;

void TButtonAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TButtonAppearance::SetValue(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TButtonAppearance::SetGradientDirection(TGradientDirection V) {
  if (FGradientDirection == V) return;
  FGradientDirection = V;
  Changed();
}

void TButtonAppearance::SetCaptionFont(TFont* Value) {
  FCaptionFont->Assign(Value);
  Changed();
}

void TButtonAppearance::SetSystemFont(bool Value) {
  if (FSystemFont == Value) return;
  FSystemFont = Value;
  if (Value) ApplyDefaultFont(FCaptionFont.get(), HasGetLocaleInfoEx());
}

void TButtonAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TButtonAppearance*>(Source);
  if (s == nullptr) return;
  FColor = s->FColor;
  FColorTo = s->FColorTo;
  FColorHot = s->FColorHot;
  FColorHotTo = s->FColorHotTo;
  FColorDown = s->FColorDown;
  FColorDownTo = s->FColorDownTo;
  FColorChecked = s->FColorChecked;
  FColorCheckedTo = s->FColorCheckedTo;
  FCaptionTextColor = s->FCaptionTextColor;
  FCaptionTextColorHot = s->FCaptionTextColorHot;
  FCaptionTextColorDown = s->FCaptionTextColorDown;
  FCaptionTextColorChecked = s->FCaptionTextColorChecked;
  FGradientDirection = s->FGradientDirection;
  FBorderColor = s->FBorderColor;
  FBorderHotColor = s->FBorderHotColor;
  FBorderDownColor = s->FBorderDownColor;
  FBorderCheckedColor = s->FBorderCheckedColor;
}

// ---------------------------------------------------------------------------
// TGradientBackground

void TGradientBackground::Changed() {
  if (OnChange) OnChange(this);
}

void TGradientBackground::SetSteps(Integer V) {
  FSteps = V;
  Changed();
}

void TGradientBackground::SetColor(TColor V) {
  FColor = V;
  Changed();
}

void TGradientBackground::SetColorTo(TColor V) {
  FColorTo = V;
  Changed();
}

void TGradientBackground::SetDirection(TGradientDirection V) {
  FDirection = V;
  Changed();
}

void TGradientBackground::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TGradientBackground*>(Source);
  if (s == nullptr) return;
  FColor = s->FColor;
  FColorTo = s->FColorTo;
  FDirection = s->FDirection;
  FSteps = s->FSteps;
}

// ---------------------------------------------------------------------------
// TMirrorGradient

void TMirrorGradient::Changed() {
  if (OnChange) OnChange(this);
}

void TMirrorGradient::SetValue(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TMirrorGradient::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TMirrorGradient*>(Source)) {
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FColorMirror = s->FColorMirror;
    FColorMirrorTo = s->FColorMirrorTo;
    return;
  }
  TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------
// TVistaGradientBackground

TVistaGradientBackground::TVistaGradientBackground() : FMirror(std::make_unique<TMirrorGradient>()) {
  // A mirror colour is part of the face the owner paints: its change must
  // reach whoever listens to this record.
  FMirror->OnChange = [this](TObject*) { Changed(); };
}

TVistaGradientBackground::~TVistaGradientBackground() = default;

void TVistaGradientBackground::Assign(TPersistent* Source) {
  TGradientBackground::Assign(Source);
  if (auto* s = dynamic_cast<TVistaGradientBackground*>(Source)) FMirror->Assign(s->FMirror.get());
}

// ---------------------------------------------------------------------------
// TContainerAppearance

void TContainerAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TContainerAppearance::SetLineColor(TColor V) {
  if (FLineColor == V) return;
  FLineColor = V;
  Changed();
}

void TContainerAppearance::SetLine3D(bool V) {
  if (FLine3D == V) return;
  FLine3D = V;
  Changed();
}

void TContainerAppearance::Assign(TPersistent* Source) {
  if (Source == nullptr) return;
  if (auto* s = dynamic_cast<TContainerAppearance*>(Source)) {
    SetLineColor(s->FLineColor);
    SetLine3D(s->FLine3D);
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace toolbar
