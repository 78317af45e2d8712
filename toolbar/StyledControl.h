#pragma once
// How the toolbar styler reaches the controls that draw with it. Dock panels,
// toolbars and ribbon pagers live above the styler (the pager in another
// library), so the styler sees them only through these interfaces, which they
// implement beside their control class.
#include "controls/GlowButtonAppearance.h"
#include "platform/rtl/Types.h"
#include "ribbon/appearance/AppColor.h"
#include "ribbon/appearance/GroupAppearance.h"
#include "ribbon/appearance/TabAppearance.h"
#include "ribbon/appearance/VistaBackground.h"
#include "toolbar/shared/ToolBarAppearance.h"

namespace toolbar {

class TCustomZadEdevAziStyler;

enum class TStyledControlKind { DockPanel, ToolBar, Pager };

// A control registered with a styler (AddControl). The broadcast reaches
// implementations that are TCustomControl descendants with a name.
class IStyledControl {
 public:
  virtual TStyledControlKind StyledControlKind() const = 0;
  // Refresh what the change kind concerns (see TCustomZadEdevAziStyler).
  virtual void StylerChanged(Integer Kind) = 0;
  // A compacted toolbar's clone in its compact window, which hears a change
  // before the toolbar itself; nullptr when the toolbar is not compacted.
  virtual IStyledControl* CompactClone() { return nullptr; }
  // The styler assigned to the control (nullptr: its internal one). Setting
  // nullptr unregisters the control from the styler it had.
  virtual TCustomZadEdevAziStyler* ToolBarStyler() const = 0;
  virtual void SetToolBarStyler(TCustomZadEdevAziStyler* Value) = 0;

 protected:
  ~IStyledControl() = default;
};

// What the styler's pager style update and presets use of a ribbon pager.
// Appearance getters may answer nullptr while the pager has made none.
class IStyledPager {
 public:
  virtual ribbon::TATBTabSettings* TabSettings() = 0;
  virtual void SetWin7ScenicRibbon(bool Value) = 0;
  // The pager's own test for the glass look of its form.
  virtual bool AeroVista() const = 0;
  virtual void SetTabBackGroundShaded(bool Value) = 0;
  // Marks the help button for a picture loaded again, then updates it.
  virtual void RequestHelpButtonPicture() = 0;
  virtual void UpdateHelpButton() = 0;
  virtual void ClearOfficeTones() = 0;
  virtual void SetOfficeTones(const ribbon::TOfficeTones& Tones, ribbon::TGroupStyle Style) = 0;
  virtual void UpdateQAT() = 0;
  virtual ribbon::TVistaBackground* PageAppearance() = 0;
  virtual ribbon::TCustomTabAppearance* TabAppearance() = 0;
  virtual ribbon::TGroupAppearance* GroupAppearance() = 0;
  virtual ribbon::TCaptionAppearance* CaptionAppearance() = 0;
  virtual TGlowButtonAppearance* GlowButtonAppearance() = 0;
  virtual ribbon::TVistaTextBackground* PagerCaption() = 0;
  virtual TContainerAppearance* ContainerAppearance() = 0;

 protected:
  ~IStyledPager() = default;
};

}  // namespace toolbar
