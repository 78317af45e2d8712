#include "controls/GlowButtonAppearance.h"

#include "controls/GlowButtonPainter.h"

TGlowButtonAppearance::TGlowButtonAppearance() { Init(); }

void TGlowButtonAppearance::SetSystemFont(bool Value) {
  if (FSystemFont == Value) return;
  FSystemFont = Value;
  Changed();
}

void TGlowButtonAppearance::Init() {
  SetBorderColor(0xC0C0C0);
  SetBorderColorHot(0xFF0000);
  SetBorderColorDown(0x800000);
  SetBorderColorChecked(0xFF0000);
  SetBorderColorDisabled(0x808080);
  SetBorderColorFocused(0xE4AD89);
  SetColor(0xFFFFFF);
  SetColorTo(0xFFFFFF);
  SetColorMirror(0xC0C0C0);
  SetColorMirrorTo(0xFFFFFF);
  SetColorHot(0xF5F0E1);
  SetColorHotTo(0xF9D2B2);
  SetColorMirrorHot(0xF5C8AD);
  SetColorMirrorHotTo(0xFFF8F4);
  // Down and checked are the hot colours with red and green 10 percent darker.
  SetColorDown(glowpaint::AdjustColorRGB(0xF5F0E1, -10, -10, 0));
  SetColorDownTo(glowpaint::AdjustColorRGB(0xF9D2B2, -10, -10, 0));
  SetColorMirrorDown(glowpaint::AdjustColorRGB(0xF5C8AD, -10, -10, 0));
  SetColorMirrorDownTo(glowpaint::AdjustColorRGB(0xFFF8F4, -10, -10, 0));
  SetColorChecked(glowpaint::AdjustColorRGB(0xF5F0E1, -10, -10, 0));
  SetColorCheckedTo(glowpaint::AdjustColorRGB(0xF9D2B2, -10, -10, 0));
  SetColorMirrorChecked(glowpaint::AdjustColorRGB(0xF5C8AD, -10, -10, 0));
  SetColorMirrorCheckedTo(glowpaint::AdjustColorRGB(0xFFF8F4, -10, -10, 0));
  SetColorDisabled(glowpaint::AdjustColorRGB(0xFFFFFF, -5, -5, -5));
  SetColorDisabledTo(glowpaint::AdjustColorRGB(0xFFFFFF, -5, -5, -5));
  SetColorMirrorDisabled(glowpaint::AdjustColorRGB(0xC0C0C0, -5, -5, -5));
  SetColorMirrorDisabledTo(glowpaint::AdjustColorRGB(0xFFFFFF, -5, -5, -5));
  SetGradient(ggVertical);
  SetGradientMirror(ggVertical);
  SetGradientHot(ggRadial);
  SetGradientMirrorHot(ggRadial);
  SetGradientDown(ggRadial);
  SetGradientMirrorDown(ggRadial);
  SetGradientChecked(ggRadial);
  SetGradientMirrorChecked(ggVertical);
  SetGradientDisabled(ggRadial);
  SetGradientMirrorDisabled(ggRadial);
  SetTextColorChecked(0x000000);
  SetTextColorDown(0x000000);
  SetTextColorHot(0x000000);
  SetTextColor(clNone);
  FBorderColorCheckedHot = clNone;
  FTextColorDisabled = 0x808080;
  FSystemFont = true;
  FNoBorderDefault = false;
}

void TGlowButtonAppearance::Assign(TPersistent* Source) {
  if (Source == nullptr) return;
  auto* s = dynamic_cast<TGlowButtonAppearance*>(Source);
  if (s == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  SetBorderColor(s->BorderColor());
  SetBorderColorHot(s->BorderColorHot());
  SetBorderColorDown(s->BorderColorDown());
  SetBorderColorChecked(s->BorderColorChecked());
  SetBorderColorDisabled(s->BorderColorDisabled());
  SetColor(s->Color());
  SetColorTo(s->ColorTo());
  SetColorChecked(s->ColorChecked());
  SetColorCheckedTo(s->ColorCheckedTo());
  SetColorDisabled(s->ColorDisabled());
  SetColorDisabledTo(s->ColorDisabledTo());
  SetColorDown(s->ColorDown());
  SetColorDownTo(s->ColorDownTo());
  SetColorHot(s->ColorHot());
  SetColorHotTo(s->ColorHotTo());
  SetColorMirror(s->ColorMirror());
  SetColorMirrorTo(s->ColorMirrorTo());
  SetColorMirrorHot(s->ColorMirrorHot());
  SetColorMirrorHotTo(s->ColorMirrorHotTo());
  SetColorMirrorDown(s->ColorMirrorDown());
  SetColorMirrorDownTo(s->ColorMirrorDownTo());
  SetColorMirrorChecked(s->ColorMirrorChecked());
  SetColorMirrorCheckedTo(s->ColorMirrorCheckedTo());
  SetColorMirrorDisabled(s->ColorMirrorDisabled());
  SetColorMirrorDisabledTo(s->ColorMirrorDisabledTo());
  SetTextColorChecked(s->TextColorChecked());
  SetTextColorDown(s->TextColorDown());
  SetTextColorHot(s->TextColorHot());
  SetTextColor(s->TextColor());
  SetGradient(s->Gradient());
  SetGradientMirror(s->GradientMirror());
  SetGradientHot(s->GradientHot());
  SetGradientMirrorHot(s->GradientMirrorHot());
  SetGradientDown(s->GradientDown());
  SetGradientMirrorDown(s->GradientMirrorDown());
  SetGradientChecked(s->GradientChecked());
  SetGradientMirrorChecked(s->GradientMirrorChecked());
  SetGradientDisabled(s->GradientDisabled());
  SetGradientMirrorDisabled(s->GradientMirrorDisabled());
  SetSystemFont(s->SystemFont());
  FBorderColorCheckedHot = s->FBorderColorCheckedHot;
  FTextColorDisabled = s->FTextColorDisabled;
  FTranspHover = s->FTranspHover;
  FTranspOffice = s->FTranspOffice;
  FNoBorderDefault = s->FNoBorderDefault;
}

void ClearGlowAppearance(TGlowButtonAppearance* A) {
  if (A == nullptr) return;
  for (auto set : {&TGlowButtonAppearance::SetBorderColor, &TGlowButtonAppearance::SetBorderColorHot,
                   &TGlowButtonAppearance::SetBorderColorDown, &TGlowButtonAppearance::SetColor,
                   &TGlowButtonAppearance::SetColorTo, &TGlowButtonAppearance::SetColorDown,
                   &TGlowButtonAppearance::SetColorDownTo, &TGlowButtonAppearance::SetColorHot,
                   &TGlowButtonAppearance::SetColorHotTo, &TGlowButtonAppearance::SetColorMirror,
                   &TGlowButtonAppearance::SetColorMirrorTo, &TGlowButtonAppearance::SetColorMirrorHot,
                   &TGlowButtonAppearance::SetColorMirrorHotTo, &TGlowButtonAppearance::SetColorMirrorDown,
                   &TGlowButtonAppearance::SetColorMirrorDownTo, &TGlowButtonAppearance::SetColorDisabled,
                   &TGlowButtonAppearance::SetColorDisabledTo})
    (A->*set)(clNone);
}
