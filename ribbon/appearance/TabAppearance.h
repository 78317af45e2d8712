#pragma once
// The ribbon's tab row description: the tab colours per state with their
// font and background gradient, the row's metrics with the process-wide glass
// switch, and the scroll state of a row that does not fit. Plain data: setters
// store and notify, Assign copies; painters and layout read them.
#include <memory>

#include "controls/GlowButtonAppearance.h"
#include "platform/rtl/Persistent.h"
#include "ribbon/appearance/AppearanceProperties.h"
#include "platform/vcl/Color.h"
#include "platform/vcl/GraphicsObjects.h"
#include "toolbar/shared/ToolBarAppearance.h"

namespace ribbon {

class TCustomTabAppearance : public TPersistent {
 public:
  TCustomTabAppearance();
  ~TCustomTabAppearance() override;
  // Only from a TCustomTabAppearance: every colour and gradient without
  // notification, the font but not its height, then TextColor and
  // TextColorHot through their setters, then the background. SystemFont
  // stays. Any other source changes nothing and raises nothing.
  void Assign(TPersistent* Source) override;
  // Every colour (borders, fills, mirrors, texts, shadow, highlights) becomes
  // clNone without notification; gradients and font stay.
  void ClearValues();

  RYX_NOTIFYING_COLOUR(BorderColor)
  RYX_PLAIN_COLOUR(BorderColorHot)
  RYX_NOTIFYING_COLOUR(BorderColorSelected)
  RYX_NOTIFYING_COLOUR(BorderColorSelectedHot)
  RYX_NOTIFYING_COLOUR(BorderColorDisabled)
  RYX_NOTIFYING_COLOUR(BorderColorDown)
  RYX_NOTIFYING_COLOUR(Color)
  RYX_NOTIFYING_COLOUR(ColorTo)
  RYX_NOTIFYING_COLOUR(ColorSelected)
  RYX_NOTIFYING_COLOUR(ColorSelectedTo)
  RYX_NOTIFYING_COLOUR(ColorDisabled)
  RYX_NOTIFYING_COLOUR(ColorDisabledTo)
  RYX_NOTIFYING_COLOUR(ColorHot)
  RYX_NOTIFYING_COLOUR(ColorHotTo)
  RYX_NOTIFYING_COLOUR(ColorMirror)
  RYX_NOTIFYING_COLOUR(ColorMirrorTo)
  RYX_NOTIFYING_COLOUR(ColorMirrorHot)
  RYX_NOTIFYING_COLOUR(ColorMirrorHotTo)
  RYX_NOTIFYING_COLOUR(ColorMirrorSelected)
  RYX_NOTIFYING_COLOUR(ColorMirrorSelectedTo)
  RYX_NOTIFYING_COLOUR(ColorMirrorDisabled)
  RYX_NOTIFYING_COLOUR(ColorMirrorDisabledTo)
  RYX_NOTIFYING_GRADIENT(Gradient)
  RYX_NOTIFYING_GRADIENT(GradientMirror)
  RYX_NOTIFYING_GRADIENT(GradientHot)
  RYX_NOTIFYING_GRADIENT(GradientMirrorHot)
  RYX_NOTIFYING_GRADIENT(GradientSelected)
  RYX_NOTIFYING_GRADIENT(GradientMirrorSelected)
  RYX_NOTIFYING_GRADIENT(GradientDisabled)
  RYX_NOTIFYING_GRADIENT(GradientMirrorDisabled)
  RYX_NOTIFYING_COLOUR(TextColor)
  RYX_NOTIFYING_COLOUR(TextColorHot)
  RYX_NOTIFYING_COLOUR(TextColorSelected)
  RYX_NOTIFYING_COLOUR(TextColorDisabled)
  RYX_PLAIN_COLOUR(ShadowColor)
  RYX_PLAIN_COLOUR(HighLightColor)
  RYX_PLAIN_COLOUR(HighLightColorHot)
  RYX_PLAIN_COLOUR(HighLightColorSelected)
  RYX_PLAIN_COLOUR(HighLightColorSelectedHot)
  RYX_PLAIN_COLOUR(HighLightColorDown)

  TFont* Font() const { return FFont.get(); }
  // Takes Value's attributes; no notification.
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool SystemFont() const { return FSystemFont; }
  // Stores; true resets the font to the default font. No notification.
  void SetSystemFont(bool Value);
  toolbar::TGradientBackground* BackGround() const { return FBackGround.get(); }

  TNotifyEvent OnChange;

 protected:
  void Changed();
  std::unique_ptr<toolbar::TGradientBackground> FBackGround;

 private:
  void SetColour(TColor& Field, TColor Value);
  void SetGradientValue(TGDIPGradient& Field, TGDIPGradient Value);
  TColor FBorderColor = clBtnFace, FBorderColorHot = 0xFF0000, FBorderColorSelected = clBtnFace,
         FBorderColorSelectedHot = clNone, FBorderColorDisabled = clNone, FBorderColorDown = clNone;
  TColor FColor = clBtnFace, FColorTo = 0xFFFFFF, FColorSelected = 0xFFFFFF, FColorSelectedTo = clBtnFace,
         FColorDisabled = clNone, FColorDisabledTo = clNone, FColorHot = 0x00FFFF, FColorHotTo = clNone;
  TColor FColorMirror = 0xFFFFFF, FColorMirrorTo = 0xFFFFFF, FColorMirrorHot = clNone, FColorMirrorHotTo = clNone,
         FColorMirrorSelected = 0xFFFFFF, FColorMirrorSelectedTo = 0xFFFFFF, FColorMirrorDisabled = clNone,
         FColorMirrorDisabledTo = clNone;
  std::unique_ptr<TFont> FFont;
  TGDIPGradient FGradient = ggVertical, FGradientMirror = ggVertical, FGradientHot = ggVertical,
                FGradientMirrorHot = ggVertical, FGradientSelected = ggVertical,
                FGradientMirrorSelected = ggVertical, FGradientDisabled = ggVertical,
                FGradientMirrorDisabled = ggVertical;
  bool FSystemFont = true;
  TColor FTextColor = 0xFF0000, FTextColorHot = 0xFF0000, FTextColorSelected = 0xFF0000,
         FTextColorDisabled = 0xFFFFFF;
  TColor FShadowColor = 0xE8C7AE, FHighLightColor = 0xFFFABF, FHighLightColorHot = 0xFDF4ED,
         FHighLightColorSelected = 0x63CCF8, FHighLightColorSelectedHot = 0xBDFFFF, FHighLightColorDown = 0xFFFBD0;
};

// Publishes the background; its setter copies into the owned one.
class TTabAppearance : public TCustomTabAppearance {
 public:
  void SetBackGround(toolbar::TGradientBackground* Value) { FBackGround->Assign(Value); }
};

class TATBTabSettings : public TPersistent {
 public:
  TATBTabSettings() = default;
  // From a TATBTabSettings: LeftMargin, RightMargin, Height, StartMargin and
  // EndMargin through their setters (Spacing and Glass stay). Another class
  // raises the inherited assignment error.
  void Assign(TPersistent* Source) override;
  Integer LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(Integer V) { SetValue(FLeftMargin, V); }
  Integer RightMargin() const { return FRightMargin; }
  void SetRightMargin(Integer V) { SetValue(FRightMargin, V); }
  Integer StartMargin() const { return FStartMargin; }
  void SetStartMargin(Integer V) { SetValue(FStartMargin, V); }
  Integer EndMargin() const { return FEndMargin; }
  void SetEndMargin(Integer V) { SetValue(FEndMargin, V); }
  Integer Height() const { return FHeight; }
  void SetHeight(Integer V) { SetValue(FHeight, V); }
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer V) { SetValue(FSpacing, V); }
  Integer MinSpacing() const { return FMinSpacing; }
  Integer MinMargin() const { return FMinMargin; }
  // The process-wide glass flag: every pager's settings share it.
  bool Glass() const;
  // A change is stored process-wide and fires OnGlassChange (not OnChange).
  void SetGlass(bool Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnGlassChange;

 private:
  void SetValue(Integer& Field, Integer Value);
  Integer FLeftMargin = 4, FRightMargin = 4, FHeight = 26, FStartMargin = 60, FEndMargin = 0, FSpacing = 4,
          FMinSpacing = 3, FMinMargin = 3;
};

class TATBTabScroller {
 public:
  Integer Min() const { return FMin; }
  // Accepted only when Max >= Value.
  void SetMin(Integer Value);
  Integer Max() const { return FMax; }
  // Accepted only when Value >= Min.
  void SetMax(Integer Value);
  Integer Position() const { return FPosition; }
  void SetPosition(Integer Value) { FPosition = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  bool CanGoBack() const { return FMin < FPosition; }
  bool CanGoForward() const { return FPosition < FMax; }

 private:
  Integer FMin = 0, FMax = 0, FPosition = 0;
  bool FVisible = false;
};

}  // namespace ribbon
