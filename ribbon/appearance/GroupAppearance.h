#pragma once
// The colours of a ribbon tab group and of toolbars on ribbon pages: the
// caption appearance (normal and hot), the toolbar appearance inside a
// group's pages, and the group appearance that holds one of each with a page
// background and a tab appearance.
#include <memory>

#include "controls/GlowButtonAppearance.h"
#include "platform/rtl/Persistent.h"
#include "platform/vcl/Color.h"
#include "platform/vcl/GraphicsObjects.h"
#include "ribbon/appearance/AppearanceProperties.h"
#include "ribbon/appearance/TabAppearance.h"
#include "ribbon/appearance/VistaBackground.h"
#include "toolbar/shared/ToolBarAppearance.h"

namespace ribbon {

class TCaptionAppearance : public TPersistent {
 public:
  TCaptionAppearance() = default;
  // nullptr: nothing. A TCaptionAppearance: six colours directly, then
  // CaptionColorHotTo and CaptionTextColorHot through their setters. Another
  // class raises the inherited assignment error.
  void Assign(TPersistent* Source) override;
  RYX_NOTIFYING_COLOUR(CaptionColor)
  RYX_NOTIFYING_COLOUR(CaptionColorTo)
  RYX_NOTIFYING_COLOUR(CaptionTextColor)
  RYX_NOTIFYING_COLOUR(CaptionBorderColor)
  RYX_NOTIFYING_COLOUR(CaptionColorHot)
  RYX_NOTIFYING_COLOUR(CaptionColorHotTo)
  RYX_NOTIFYING_COLOUR(CaptionTextColorHot)
  RYX_NOTIFYING_COLOUR(CaptionBorderColorHot)

  TNotifyEvent OnChange;

 private:
  void SetColour(TColor& Field, TColor Value);
  TColor FCaptionTextColorHot = 0xFFFFFF, FCaptionTextColor = 0xFFFFFF, FCaptionBorderColorHot = clNone,
         FCaptionColorHot = clNone, FCaptionColorTo = clNone, FCaptionColor = 0x808080,
         FCaptionColorHotTo = clNone, FCaptionBorderColor = clNone;
};

// The two gradients are not chained: changing their colours notifies nobody.
class TToolBarAppearance : public TPersistent {
 public:
  TToolBarAppearance();
  ~TToolBarAppearance() override;
  // nullptr: nothing. A TToolBarAppearance: the gradients by their Assign and
  // the two borders, all without notification. Another class raises the
  // inherited assignment error.
  void Assign(TPersistent* Source) override;
  RYX_NOTIFYING_COLOUR(BorderColor)
  RYX_NOTIFYING_COLOUR(BorderColorHot)
  toolbar::TGradientBackground* Color() const { return FColor.get(); }
  void SetColor(toolbar::TGradientBackground* Value) { FColor->Assign(Value); }
  toolbar::TGradientBackground* ColorHot() const { return FColorHot.get(); }
  void SetColorHot(toolbar::TGradientBackground* Value) { FColorHot->Assign(Value); }

  TNotifyEvent OnChange;

 private:
  void SetColour(TColor& Field, TColor Value);
  TColor FBorderColorHot = clNone, FBorderColor = clNone;
  std::unique_ptr<toolbar::TGradientBackground> FColor, FColorHot;
};

class TGroupAppearance : public TPersistent {
 public:
  TGroupAppearance();
  ~TGroupAppearance() override;
  // nullptr: nothing. A TGroupAppearance: Background, the four
  // sub-appearances by their Assign, Steps and the colours directly, the
  // font, then the two gradients through their setters. Another class raises
  // the inherited assignment error.
  void Assign(TPersistent* Source) override;
  RYX_NOTIFYING_COLOUR(Background)
  RYX_NOTIFYING_COLOUR(BorderColor)
  RYX_NOTIFYING_COLOUR(Color)
  RYX_NOTIFYING_COLOUR(ColorTo)
  RYX_NOTIFYING_COLOUR(ColorMirror)
  RYX_NOTIFYING_COLOUR(ColorMirrorTo)
  RYX_NOTIFYING_GRADIENT(Gradient)
  RYX_NOTIFYING_GRADIENT(GradientMirror)
  RYX_NOTIFYING_COLOUR(TextColor)
  Integer Steps() const { return FSteps; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool SystemFont() const { return FSystemFont; }
  void SetSystemFont(bool Value);
  // Sub-objects: setters copy into the owned object and notify nothing; their
  // own changes arrive at this appearance's OnChange.
  TCaptionAppearance* CaptionAppearance() const { return FCaptionAppearance.get(); }
  void SetCaptionAppearance(TCaptionAppearance* V) { FCaptionAppearance->Assign(V); }
  TVistaPageBackground* PageAppearance() const { return FPageAppearance.get(); }
  void SetPageAppearance(TVistaPageBackground* V) { FPageAppearance->Assign(V); }
  TCustomTabAppearance* TabAppearance() const { return FTabAppearance.get(); }
  void SetTabAppearance(TCustomTabAppearance* V) { FTabAppearance->Assign(V); }
  TToolBarAppearance* ToolBarAppearance() const { return FToolBarAppearance.get(); }
  void SetToolBarAppearance(TToolBarAppearance* V) { FToolBarAppearance->Assign(V); }

  TNotifyEvent OnChange;

 private:
  void Changed();
  void SetColour(TColor& Field, TColor Value);
  void SetGradientValue(TGDIPGradient& Field, TGDIPGradient Value);
  Integer FSteps = 64;
  TColor FColor = 0xFFFFFF, FColorTo = 0xFFFFFF, FColorMirror = 0xC0C0C0, FColorMirrorTo = 0xFFFFFF,
         FBorderColor = 0xA3B8AC;
  TGDIPGradient FGradientMirror = ggVertical, FGradient = ggVertical;
  TColor FTextColor = 0xFF0000;
  std::unique_ptr<TCaptionAppearance> FCaptionAppearance;
  std::unique_ptr<TVistaPageBackground> FPageAppearance;
  std::unique_ptr<TToolBarAppearance> FToolBarAppearance;
  std::unique_ptr<TCustomTabAppearance> FTabAppearance;
  std::unique_ptr<TFont> FFont;
  bool FSystemFont = true;
  TColor FBackground = clInfoBk;
};

}  // namespace ribbon
