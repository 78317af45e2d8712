#pragma once
// The thread filters that make a toolbar with a main menu behave like a
// menu bar: while a menu button's menu is open, the arrow keys and the mouse
// move to the neighbouring menu buttons (a message filter on the menu's
// loop); while the bar is driven from the keyboard with no menu open, typed
// keys go to the tracking toolbar (a get-message filter). One tracking at a
// time per process, on the user-interface thread.
#include "platform/vcl/Controls.h"
#include "platform/vcl/Menus.h"
#include "platform/win/Hooks.h"
#include "platform/win/Keyboard.h"

namespace toolbar {

class TAdvCustomToolBar;
class TAdvCustomToolBarButton;

struct TMenuBarTracking {
  HHOOK MenuBarHook = nullptr;
  HHOOK MenuBarKeyHook = nullptr;
  // The toolbar whose menu button's menu is open, and that button (held by
  // identity: its index changes when the control list does).
  TAdvCustomToolBar* MenuBarToolBar = nullptr;
  TAdvCustomToolBarButton* MenuBarButton = nullptr;
  // The toolbar in keyboard tracking.
  TAdvCustomToolBar* MenuBarKeyToolBar = nullptr;
  // The item the open menu last reported selected.
  TMenuItem* MenuBarLastItem = nullptr;
  TPoint MenuBarMousePos{};
  // Escape was pressed or a switch to another button started: the message
  // filter passes everything on until the next menu reports a selection.
  bool MenuBarSwitching = false;
  // The initial Down key that selects the first item was posted.
  bool MenuBarFirstKeySent = false;
};

TMenuBarTracking& MenuBarTracking();

// Installed by the toolbar while a menu button's menu is open (the state's
// toolbar and button are set first).
void InstallMenuBarHook();
void RemoveMenuBarHook();
// Installed by the toolbar while keyboard tracking runs (the state's key
// toolbar is set first).
void InstallMenuBarKeyHook();
void RemoveMenuBarKeyHook();
// The first visible, enabled toolbar button after (or before) the open
// menu's button in its toolbar's control list, wrapping around; nullptr when none.
TControl* FindNextMenuBarButton(bool AForward);
// A toolbar being freed leaves the tracking state.
void ForgetMenuBarToolBar(TAdvCustomToolBar* ToolBar);

}  // namespace toolbar
