#pragma once
// TAdvGlowMenuButton: a glow button that is a menu button, so that a click,
// a key tip or its accelerator opens its drop-down menu.
#include "controls/AdvGlowButton.h"

namespace toolbar {

class TAdvGlowMenuButton : public TAdvCustomGlowButton {
 public:
  // DropDownButton on, Width 32.
  explicit TAdvGlowMenuButton(TComponent* AOwner);
  bool IsMenuButton() const override { return true; }
};

}  // namespace toolbar
