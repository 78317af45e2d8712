#pragma once
// The ribbon's backgrounds: a gradient with a mirror and a border, the page
// background with its shadow and highlight colours, and the pager caption's
// background with its text colours and font.
#include <memory>

#include "controls/GlowButtonAppearance.h"
#include "platform/rtl/Persistent.h"
#include "platform/vcl/Color.h"
#include "platform/vcl/GraphicsObjects.h"
#include "ribbon/appearance/AppearanceProperties.h"

namespace ribbon {

class TVistaBackground : public TPersistent {
 public:
  TVistaBackground() = default;
  // nullptr: nothing. A TVistaBackground: the colours, Steps, shadow and
  // highlight directly, then the two gradients through their setters.
  // Another class raises the inherited assignment error.
  void Assign(TPersistent* Source) override;
  RYX_NOTIFYING_COLOUR(BorderColor)
  RYX_NOTIFYING_COLOUR(Color)
  RYX_NOTIFYING_COLOUR(ColorTo)
  RYX_NOTIFYING_COLOUR(ColorMirror)
  RYX_NOTIFYING_COLOUR(ColorMirrorTo)
  RYX_NOTIFYING_GRADIENT(Gradient)
  RYX_NOTIFYING_GRADIENT(GradientMirror)
  Integer Steps() const { return FSteps; }
  void SetSteps(Integer V);

  TNotifyEvent OnChange;

 protected:
  void Changed();
  void SetColour(TColor& Field, TColor Value);
  void SetGradientValue(TGDIPGradient& Field, TGDIPGradient Value);
  Integer FSteps = 64;
  TColor FColor = 0xFFFFFF, FColorTo = 0xFFFFFF, FColorMirror = 0xC0C0C0, FColorMirrorTo = 0xFFFFFF,
         FBorderColor = 0x808080;
  TGDIPGradient FGradientMirror = ggVertical, FGradient = ggVertical;
  TColor FShadowColor = 0xC4AA96, FHighLightColor = 0xFDF9CE;
};

// Publishes the shadow and highlight colours (written without notification).
class TVistaPageBackground : public TVistaBackground {
 public:
  RYX_PLAIN_COLOUR(ShadowColor)
  RYX_PLAIN_COLOUR(HighLightColor)
};

class TVistaTextBackground : public TVistaBackground {
 public:
  TVistaTextBackground();
  ~TVistaTextBackground() override;
  // The background copy; from a TVistaTextBackground also the two text
  // colours through their setters and the whole font.
  void Assign(TPersistent* Source) override;
  RYX_NOTIFYING_COLOUR(TextColor)
  RYX_NOTIFYING_COLOUR(TextColorExtended)
  TFont* Font() const { return FFont.get(); }
  // Takes Value's attributes; no notification.
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool SystemFont() const { return FSystemFont; }
  // Stores; true resets the font to the default font. No notification.
  void SetSystemFont(bool Value);

 private:
  TColor FTextColor = 0xFF0000;
  std::unique_ptr<TFont> FFont;
  bool FSystemFont = true;
  TColor FTextColorExtended = 0x808080;
};

// The default caption font of the ribbon's appearances: the toolbar unit's
// default font, then height -11 and no style.
void ApplyRibbonDefaultFont(TFont* Font);

}  // namespace ribbon
