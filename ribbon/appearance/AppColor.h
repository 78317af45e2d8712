#pragma once
// The application-button colour set that the toolbar styler's presets set and
// read, and the tone record with which a flat look reaches the pager.
#include "foundation/style/VornStyle.h"
#include "platform/rtl/Persistent.h"
#include "platform/vcl/Color.h"
#include "ribbon/appearance/AppearanceProperties.h"

namespace ribbon {

class TAppColor : public TPersistent {
 public:
  TAppColor() = default;
  // From a TAppColor: all nine colours without Changed; any other source
  // does nothing.
  void Assign(TPersistent* Source) override;
  RYX_NOTIFYING_COLOUR(AppButtonColor)
  RYX_NOTIFYING_COLOUR(AppButtonHoverColor)
  RYX_NOTIFYING_COLOUR(TextColor)
  RYX_NOTIFYING_COLOUR(HoverColor)
  RYX_NOTIFYING_COLOUR(HoverTextColor)
  RYX_NOTIFYING_COLOUR(HoverBorderColor)
  RYX_NOTIFYING_COLOUR(SelectedColor)
  RYX_NOTIFYING_COLOUR(SelectedTextColor)
  RYX_NOTIFYING_COLOUR(SelectedBorderColor)

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();

 private:
  void SetColour(TColor& Field, TColor Value);
  TColor FTextColor = 0xFFFFFF, FHoverTextColor = 0, FHoverColor = 0xF7E6CD, FHoverBorderColor = 0xE7BE7A,
         FSelectedColor = 0xE7BE7A, FSelectedBorderColor = 0xE7BE7A, FSelectedTextColor = 0,
         FAppButtonColor = 0xE29E00, FAppButtonHoverColor = 0xFFAC3C;
};

// The pager's flat looks.
enum TGroupStyle { gsClassic, gsOffice2013, gsWindows8, gsOffice2016, gsOffice2019 };

// What a flat preset hands to the pager; App is the styler's own colour set
// (not owned here).
struct TOfficeTones {
  TColorTones Buttons;
  TColorTones Tab;
  TColorTones Pager;
  TAppColor* App = nullptr;
};

}  // namespace ribbon
