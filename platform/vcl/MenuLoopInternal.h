#pragma once
// Inside view of the menus, for platform/vcl/Menus.cpp and MenuBar.cpp only:
// the drop-down a form's menu bar opens below one of its items. It runs the
// same pop-up windows and loop as a pop-up menu, and tells the bar how it
// ended so that the bar can move on to a neighbour or go back to its keys.
#include <functional>

#include "platform/rtl/Geometry.h"
#include "platform/vcl/Menus.h"

namespace menus_internal {

enum class TDropDownEnd {
  Chosen,     // an item without children was chosen (not clicked yet)
  Dismissed,  // a press off the menus, the open bar item pressed again, Alt or F10, or CloseMenus
  Escaped,    // Esc on the first level: back to the bar's keyboard mode
  Previous,   // Left on the first level
  Next,       // Right where no sub-menu opens
  BarItem,    // the pointer went to another bar item (Item), or pressed one
};

struct TDropDownResult {
  TDropDownEnd End = TDropDownEnd::Dismissed;
  TMenuItem* Item = nullptr;  // the chosen item, or the bar item asked for
};

// The bar the drop-down hangs from: the bar item at a screen point (nullptr
// for none), and whether the point lies on the bar at all.
using TBarHitTest = std::function<TMenuItem*(TPoint Screen, bool& OnBar)>;

// Shows the children of BarItem in a pop-up with its top-left at the screen
// point (the first selectable item selected when SelectFirst) and returns
// when it closes. Answers Dismissed at once when a menu already shows or
// there is no application.
TDropDownResult TrackDropDown(TMenuItem* BarItem, TPoint At, bool SelectFirst, const TBarHitTest& HitTest);

// True while a pop-up menu or a drop-down runs.
bool MenuLoopRunning();

// Shows the children of Root in a pop-up with its top-left at the screen
// point (kept on the screen), Owner getting the loop's notifications, and
// returns the chosen item when it has closed (nothing is clicked); nullptr
// when it was dismissed, a menu already shows or there is no application.
TMenuItem* TrackPopupItems(TMenuItem* Root, TPoint At, HWND Owner);

// True when Menu names a live menu's item (a handle from outside is checked before use).
bool IsLiveMenu(HMENU Menu);

}  // namespace menus_internal
