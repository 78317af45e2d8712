#include "toolbar/AdvGlowMenuButton.h"

namespace toolbar {

TAdvGlowMenuButton::TAdvGlowMenuButton(TComponent* AOwner) : TAdvCustomGlowButton(AOwner) {
  SetDropDownButton(true);
  SetWidth(32);
}

}  // namespace toolbar
