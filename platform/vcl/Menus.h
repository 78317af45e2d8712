#pragma once
// Pop-up menus as controls see them: a control with a PopupMenu shows it on a
// right click. The menus unit fills in the items and drawing.
#include "platform/rtl/Component.h"

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}
  // Shows the menu at the screen point; the base class shows nothing.
  virtual void Popup(Integer X, Integer Y) { (void)X; (void)Y; }
  // The control that last opened the menu.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }

 private:
  TComponent* FPopupComponent = nullptr;
  bool FAutoPopup = true;
};
