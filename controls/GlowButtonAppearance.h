#pragma once
// TGlowButtonAppearance: every colour and gradient kind a glow button paints
// with, per state (normal, hot, down, checked, disabled, focused), for the
// upper half and the mirrored lower half of the face, and the text colours.
// Setters store a changed value and raise OnChange; Assign copies through
// them, so each changed value raises OnChange once.
#include "platform/rtl/Persistent.h"
#include "platform/vcl/Color.h"

enum TGDIPGradient { ggRadial, ggVertical, ggDiagonalForward, ggDiagonalBackward };

class TGlowButtonAppearance : public TPersistent {
 public:
  TGlowButtonAppearance();
  // Sets the defaults through the setters (OnChange for each change).
  void Init();
  // nullptr: nothing. Another appearance: copied. Any other class raises
  // EConvertError through the inherited assignment.
  void Assign(TPersistent* Source) override;
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value) { SetColour(FBorderColor, Value); }
  TColor BorderColorHot() const { return FBorderColorHot; }
  void SetBorderColorHot(TColor Value) { SetColour(FBorderColorHot, Value); }
  TColor BorderColorDown() const { return FBorderColorDown; }
  void SetBorderColorDown(TColor Value) { SetColour(FBorderColorDown, Value); }
  TColor BorderColorChecked() const { return FBorderColorChecked; }
  void SetBorderColorChecked(TColor Value) { SetColour(FBorderColorChecked, Value); }
  TColor BorderColorDisabled() const { return FBorderColorDisabled; }
  void SetBorderColorDisabled(TColor Value) { SetColour(FBorderColorDisabled, Value); }
  TColor BorderColorFocused() const { return FBorderColorFocused; }
  void SetBorderColorFocused(TColor Value) { SetColour(FBorderColorFocused, Value); }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { SetColour(FColor, Value); }
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value) { SetColour(FColorTo, Value); }
  TColor ColorChecked() const { return FColorChecked; }
  void SetColorChecked(TColor Value) { SetColour(FColorChecked, Value); }
  TColor ColorCheckedTo() const { return FColorCheckedTo; }
  void SetColorCheckedTo(TColor Value) { SetColour(FColorCheckedTo, Value); }
  TColor ColorDisabled() const { return FColorDisabled; }
  void SetColorDisabled(TColor Value) { SetColour(FColorDisabled, Value); }
  TColor ColorDisabledTo() const { return FColorDisabledTo; }
  void SetColorDisabledTo(TColor Value) { SetColour(FColorDisabledTo, Value); }
  TColor ColorDown() const { return FColorDown; }
  void SetColorDown(TColor Value) { SetColour(FColorDown, Value); }
  TColor ColorDownTo() const { return FColorDownTo; }
  void SetColorDownTo(TColor Value) { SetColour(FColorDownTo, Value); }
  TColor ColorHot() const { return FColorHot; }
  void SetColorHot(TColor Value) { SetColour(FColorHot, Value); }
  TColor ColorHotTo() const { return FColorHotTo; }
  void SetColorHotTo(TColor Value) { SetColour(FColorHotTo, Value); }
  TColor ColorMirror() const { return FColorMirror; }
  void SetColorMirror(TColor Value) { SetColour(FColorMirror, Value); }
  TColor ColorMirrorTo() const { return FColorMirrorTo; }
  void SetColorMirrorTo(TColor Value) { SetColour(FColorMirrorTo, Value); }
  TColor ColorMirrorHot() const { return FColorMirrorHot; }
  void SetColorMirrorHot(TColor Value) { SetColour(FColorMirrorHot, Value); }
  TColor ColorMirrorHotTo() const { return FColorMirrorHotTo; }
  void SetColorMirrorHotTo(TColor Value) { SetColour(FColorMirrorHotTo, Value); }
  TColor ColorMirrorDown() const { return FColorMirrorDown; }
  void SetColorMirrorDown(TColor Value) { SetColour(FColorMirrorDown, Value); }
  TColor ColorMirrorDownTo() const { return FColorMirrorDownTo; }
  void SetColorMirrorDownTo(TColor Value) { SetColour(FColorMirrorDownTo, Value); }
  TColor ColorMirrorChecked() const { return FColorMirrorChecked; }
  void SetColorMirrorChecked(TColor Value) { SetColour(FColorMirrorChecked, Value); }
  TColor ColorMirrorCheckedTo() const { return FColorMirrorCheckedTo; }
  void SetColorMirrorCheckedTo(TColor Value) { SetColour(FColorMirrorCheckedTo, Value); }
  TColor ColorMirrorDisabled() const { return FColorMirrorDisabled; }
  void SetColorMirrorDisabled(TColor Value) { SetColour(FColorMirrorDisabled, Value); }
  TColor ColorMirrorDisabledTo() const { return FColorMirrorDisabledTo; }
  void SetColorMirrorDisabledTo(TColor Value) { SetColour(FColorMirrorDisabledTo, Value); }
  TColor TextColorChecked() const { return FTextColorChecked; }
  void SetTextColorChecked(TColor Value) { SetColour(FTextColorChecked, Value); }
  TColor TextColorDown() const { return FTextColorDown; }
  void SetTextColorDown(TColor Value) { SetColour(FTextColorDown, Value); }
  TColor TextColorHot() const { return FTextColorHot; }
  void SetTextColorHot(TColor Value) { SetColour(FTextColorHot, Value); }
  TColor TextColor() const { return FTextColor; }
  void SetTextColor(TColor Value) { SetColour(FTextColor, Value); }
  TGDIPGradient Gradient() const { return FGradient; }
  void SetGradient(TGDIPGradient Value) { SetKind(FGradient, Value); }
  TGDIPGradient GradientMirror() const { return FGradientMirror; }
  void SetGradientMirror(TGDIPGradient Value) { SetKind(FGradientMirror, Value); }
  TGDIPGradient GradientHot() const { return FGradientHot; }
  void SetGradientHot(TGDIPGradient Value) { SetKind(FGradientHot, Value); }
  TGDIPGradient GradientMirrorHot() const { return FGradientMirrorHot; }
  void SetGradientMirrorHot(TGDIPGradient Value) { SetKind(FGradientMirrorHot, Value); }
  TGDIPGradient GradientDown() const { return FGradientDown; }
  void SetGradientDown(TGDIPGradient Value) { SetKind(FGradientDown, Value); }
  TGDIPGradient GradientMirrorDown() const { return FGradientMirrorDown; }
  void SetGradientMirrorDown(TGDIPGradient Value) { SetKind(FGradientMirrorDown, Value); }
  TGDIPGradient GradientChecked() const { return FGradientChecked; }
  void SetGradientChecked(TGDIPGradient Value) { SetKind(FGradientChecked, Value); }
  TGDIPGradient GradientMirrorChecked() const { return FGradientMirrorChecked; }
  void SetGradientMirrorChecked(TGDIPGradient Value) { SetKind(FGradientMirrorChecked, Value); }
  TGDIPGradient GradientDisabled() const { return FGradientDisabled; }
  void SetGradientDisabled(TGDIPGradient Value) { SetKind(FGradientDisabled, Value); }
  TGDIPGradient GradientMirrorDisabled() const { return FGradientMirrorDisabled; }
  void SetGradientMirrorDisabled(TGDIPGradient Value) { SetKind(FGradientMirrorDisabled, Value); }
  bool SystemFont() const { return FSystemFont; }
  void SetSystemFont(bool Value);
  // Written without change notification.
  TColor BorderColorCheckedHot() const { return FBorderColorCheckedHot; }
  void SetBorderColorCheckedHot(TColor Value) { FBorderColorCheckedHot = Value; }
  TColor TextColorDisabled() const { return FTextColorDisabled; }
  void SetTextColorDisabled(TColor Value) { FTextColorDisabled = Value; }
  bool TranspHover() const { return FTranspHover; }
  void SetTranspHover(bool Value) { FTranspHover = Value; }
  bool NoBorderDefault() const { return FNoBorderDefault; }
  void SetNoBorderDefault(bool Value) { FNoBorderDefault = Value; }
  // Set by the style presets; read by the face painter.
  bool TranspOffice() const { return FTranspOffice; }
  void SetTranspOffice(bool Value) { FTranspOffice = Value; }

  TNotifyEvent OnChange;

 private:
  void Changed() { if (OnChange) OnChange(this); }
  void SetColour(TColor& Field, TColor Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  void SetKind(TGDIPGradient& Field, TGDIPGradient Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  TColor FBorderColor = clNone;
  TColor FBorderColorHot = clNone;
  TColor FBorderColorDown = clNone;
  TColor FBorderColorChecked = clNone;
  TColor FBorderColorDisabled = clNone;
  TColor FBorderColorFocused = clNone;
  TColor FColor = clNone;
  TColor FColorTo = clNone;
  TColor FColorChecked = clNone;
  TColor FColorCheckedTo = clNone;
  TColor FColorDisabled = clNone;
  TColor FColorDisabledTo = clNone;
  TColor FColorDown = clNone;
  TColor FColorDownTo = clNone;
  TColor FColorHot = clNone;
  TColor FColorHotTo = clNone;
  TColor FColorMirror = clNone;
  TColor FColorMirrorTo = clNone;
  TColor FColorMirrorHot = clNone;
  TColor FColorMirrorHotTo = clNone;
  TColor FColorMirrorDown = clNone;
  TColor FColorMirrorDownTo = clNone;
  TColor FColorMirrorChecked = clNone;
  TColor FColorMirrorCheckedTo = clNone;
  TColor FColorMirrorDisabled = clNone;
  TColor FColorMirrorDisabledTo = clNone;
  TColor FTextColorChecked = clNone;
  TColor FTextColorDown = clNone;
  TColor FTextColorHot = clNone;
  TColor FTextColor = clNone;
  TGDIPGradient FGradient = ggVertical;
  TGDIPGradient FGradientMirror = ggVertical;
  TGDIPGradient FGradientHot = ggVertical;
  TGDIPGradient FGradientMirrorHot = ggVertical;
  TGDIPGradient FGradientDown = ggVertical;
  TGDIPGradient FGradientMirrorDown = ggVertical;
  TGDIPGradient FGradientChecked = ggVertical;
  TGDIPGradient FGradientMirrorChecked = ggVertical;
  TGDIPGradient FGradientDisabled = ggVertical;
  TGDIPGradient FGradientMirrorDisabled = ggVertical;
  bool FSystemFont = true;
  TColor FBorderColorCheckedHot = clNone;
  TColor FTextColorDisabled = 0x808080;
  bool FTranspHover = false;
  bool FNoBorderDefault = false;
  bool FTranspOffice = false;
};

// Sets seventeen colours to clNone through the setters (the normal, hot,
// down and disabled fills and the normal, hot and down borders); the checked
// fills, the mirrored disabled fills, the other borders, the gradients and
// the text colours stay. Nothing for nullptr.
void ClearGlowAppearance(TGlowButtonAppearance* Appearance);
