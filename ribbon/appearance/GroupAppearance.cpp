#include "ribbon/appearance/GroupAppearance.h"

#include "foundation/style/VornStyle.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

// ---------------------------------------------------------------------------
// TCaptionAppearance

void TCaptionAppearance::SetColour(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  if (OnChange) OnChange(this);
}

void TCaptionAppearance::Assign(TPersistent* Source) {
  if (Source == nullptr) return;
  if (auto* s = dynamic_cast<TCaptionAppearance*>(Source)) {
    FCaptionColor = s->FCaptionColor;
    FCaptionColorTo = s->FCaptionColorTo;
    FCaptionTextColor = s->FCaptionTextColor;
    FCaptionBorderColor = s->FCaptionBorderColor;
    FCaptionBorderColorHot = s->FCaptionBorderColorHot;
    FCaptionColorHot = s->FCaptionColorHot;
    SetCaptionColorHotTo(s->FCaptionColorHotTo);
    SetCaptionTextColorHot(s->FCaptionTextColorHot);
    return;
  }
  TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------
// TToolBarAppearance

TToolBarAppearance::TToolBarAppearance()
    : FColor(std::make_unique<toolbar::TGradientBackground>()),
      FColorHot(std::make_unique<toolbar::TGradientBackground>()) {
  // The hot gradient paints nothing until a look gives it colours.
  FColorHot->SetColor(clNone);
  FColorHot->SetColorTo(clNone);
}

TToolBarAppearance::~TToolBarAppearance() = default;

void TToolBarAppearance::SetColour(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  if (OnChange) OnChange(this);
}

void TToolBarAppearance::Assign(TPersistent* Source) {
  if (Source == nullptr) return;
  if (auto* s = dynamic_cast<TToolBarAppearance*>(Source)) {
    FColor->Assign(s->FColor.get());
    FColorHot->Assign(s->FColorHot.get());
    FBorderColor = s->FBorderColor;
    FBorderColorHot = s->FBorderColorHot;
    return;
  }
  TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------
// TGroupAppearance

TGroupAppearance::TGroupAppearance()
    : FCaptionAppearance(std::make_unique<TCaptionAppearance>()),
      FPageAppearance(std::make_unique<TVistaPageBackground>()),
      FToolBarAppearance(std::make_unique<TToolBarAppearance>()),
      FTabAppearance(std::make_unique<TCustomTabAppearance>()),
      FFont(std::make_unique<TFont>()) {
  ApplyRibbonDefaultFont(FFont.get());
  auto chain = [this](TObject*) { Changed(); };
  FCaptionAppearance->OnChange = chain;
  FPageAppearance->OnChange = chain;
  FTabAppearance->OnChange = chain;
  FToolBarAppearance->OnChange = chain;
}

TGroupAppearance::~TGroupAppearance() = default;

void TGroupAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TGroupAppearance::SetColour(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TGroupAppearance::SetGradientValue(TGDIPGradient& Field, TGDIPGradient Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TGroupAppearance::SetSystemFont(bool Value) {
  FSystemFont = Value;
  if (Value) toolbar::ApplyDefaultFont(FFont.get(), HasGetLocaleInfoEx());
}

void TGroupAppearance::Assign(TPersistent* Source) {
  if (Source == nullptr) return;
  if (auto* s = dynamic_cast<TGroupAppearance*>(Source)) {
    FBackground = s->FBackground;
    FCaptionAppearance->Assign(s->FCaptionAppearance.get());
    FPageAppearance->Assign(s->FPageAppearance.get());
    FTabAppearance->Assign(s->FTabAppearance.get());
    FToolBarAppearance->Assign(s->FToolBarAppearance.get());
    FSteps = s->FSteps;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FColorMirror = s->FColorMirror;
    FColorMirrorTo = s->FColorMirrorTo;
    FBorderColor = s->FBorderColor;
    FTextColor = s->FTextColor;
    FFont->Assign(s->FFont.get());
    SetGradient(s->FGradient);
    SetGradientMirror(s->FGradientMirror);
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace ribbon
