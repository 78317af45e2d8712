#include "ribbon/appearance/TabAppearance.h"

#include "foundation/gdiplus/LookFlags.h"
#include "foundation/style/VornStyle.h"
#include "ribbon/appearance/VistaBackground.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

TCustomTabAppearance::TCustomTabAppearance()
    : FBackGround(std::make_unique<toolbar::TGradientBackground>()), FFont(std::make_unique<TFont>()) {
  ApplyRibbonDefaultFont(FFont.get());
  FBackGround->OnChange = [this](TObject*) { Changed(); };
}

TCustomTabAppearance::~TCustomTabAppearance() = default;

void TCustomTabAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TCustomTabAppearance::SetColour(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TCustomTabAppearance::SetGradientValue(TGDIPGradient& Field, TGDIPGradient Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TCustomTabAppearance::SetSystemFont(bool Value) {
  FSystemFont = Value;
  if (Value) toolbar::ApplyDefaultFont(FFont.get(), HasGetLocaleInfoEx());
}

void TCustomTabAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TCustomTabAppearance*>(Source);
  if (s == nullptr) return;
  FBorderColor = s->FBorderColor;
  FBorderColorHot = s->FBorderColorHot;
  FBorderColorSelectedHot = s->FBorderColorSelectedHot;
  FBorderColorDown = s->FBorderColorDown;
  FColor = s->FColor;
  FColorTo = s->FColorTo;
  FColorHot = s->FColorHot;
  FColorHotTo = s->FColorHotTo;
  FColorSelectedTo = s->FColorSelectedTo;
  FBorderColorDisabled = s->FBorderColorDisabled;
  FBorderColorSelected = s->FBorderColorSelected;
  FColorDisabled = s->FColorDisabled;
  FColorDisabledTo = s->FColorDisabledTo;
  FColorSelected = s->FColorSelected;
  FColorMirror = s->FColorMirror;
  FColorMirrorTo = s->FColorMirrorTo;
  FColorMirrorHot = s->FColorMirrorHot;
  FColorMirrorHotTo = s->FColorMirrorHotTo;
  FGradient = s->FGradient;
  FGradientMirror = s->FGradientMirror;
  FGradientHot = s->FGradientHot;
  FGradientMirrorHot = s->FGradientMirrorHot;
  FGradientSelected = s->FGradientSelected;
  FGradientMirrorSelected = s->FGradientMirrorSelected;
  FGradientDisabled = s->FGradientDisabled;
  FGradientMirrorDisabled = s->FGradientMirrorDisabled;
  FColorMirrorDisabledTo = s->FColorMirrorDisabledTo;
  FColorMirrorDisabled = s->FColorMirrorDisabled;
  FColorMirrorSelectedTo = s->FColorMirrorSelectedTo;
  FColorMirrorSelected = s->FColorMirrorSelected;
  FTextColorDisabled = s->FTextColorDisabled;
  FTextColorSelected = s->FTextColorSelected;
  FShadowColor = s->FShadowColor;
  FHighLightColor = s->FHighLightColor;
  FHighLightColorHot = s->FHighLightColorHot;
  FHighLightColorSelected = s->FHighLightColorSelected;
  FHighLightColorSelectedHot = s->FHighLightColorSelectedHot;
  FHighLightColorDown = s->FHighLightColorDown;
  // The own text height stays: the pager scales it.
  const Integer height = FFont->Height();
  FFont->Assign(s->FFont.get());
  FFont->SetHeight(height);
  SetTextColor(s->FTextColor);
  SetTextColorHot(s->FTextColorHot);
  FBackGround->Assign(s->FBackGround.get());
}

void TCustomTabAppearance::ClearValues() {
  for (TColor* c : {&FBorderColor, &FBorderColorHot, &FBorderColorSelected, &FBorderColorSelectedHot,
                    &FBorderColorDisabled, &FBorderColorDown, &FColor, &FColorTo, &FColorSelected,
                    &FColorSelectedTo, &FColorDisabled, &FColorDisabledTo, &FColorHot, &FColorHotTo,
                    &FColorMirror, &FColorMirrorTo, &FColorMirrorHot, &FColorMirrorHotTo, &FColorMirrorSelected,
                    &FColorMirrorSelectedTo, &FColorMirrorDisabled, &FColorMirrorDisabledTo, &FTextColor,
                    &FTextColorHot, &FTextColorSelected, &FTextColorDisabled, &FShadowColor, &FHighLightColor,
                    &FHighLightColorHot, &FHighLightColorSelected, &FHighLightColorSelectedHot,
                    &FHighLightColorDown})
    *c = clNone;
}

// ---------------------------------------------------------------------------
// TATBTabSettings

void TATBTabSettings::SetValue(Integer& Field, Integer Value) {
  if (Field == Value) return;
  Field = Value;
  if (OnChange) OnChange(this);
}

void TATBTabSettings::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TATBTabSettings*>(Source)) {
    SetLeftMargin(s->FLeftMargin);
    SetRightMargin(s->FRightMargin);
    SetHeight(s->FHeight);
    SetStartMargin(s->FStartMargin);
    SetEndMargin(s->FEndMargin);
    return;
  }
  TPersistent::Assign(Source);
}

bool TATBTabSettings::Glass() const { return gdiplus::GetGlassFlag(); }

void TATBTabSettings::SetGlass(bool Value) {
  if (Value == gdiplus::GetGlassFlag()) return;
  gdiplus::SetGlassFlag(Value);
  if (OnGlassChange) OnGlassChange(this);
}

// ---------------------------------------------------------------------------
// TATBTabScroller

void TATBTabScroller::SetMin(Integer Value) {
  if (FMax >= Value) FMin = Value;
}

void TATBTabScroller::SetMax(Integer Value) {
  if (Value >= FMin) FMax = Value;
}

}  // namespace ribbon
