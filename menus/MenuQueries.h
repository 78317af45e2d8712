#pragma once
// Queries shared by the owner-draw engine and the menu components: how a menu
// is reached, where an item sits in its menu, column breaks, the side-bar
// rule, and the framing of the pop-up windows the engine paints into.
#include "platform/vcl/Canvas.h"
#include "platform/vcl/Menus.h"

class TCustomAdvMenuStyler;

enum TActionImage { aiNormal, aiLarge };

// What the engine reads of a menu of ours.
class IAdvMenu {
 public:
  // Rebuilds the menu's items (every item is measured again).
  virtual void UpdateItems() = 0;
  virtual TMenu* GetMenu() = 0;
  // The styler assigned from outside; nullptr when only the internal one exists.
  virtual TCustomAdvMenuStyler* GetMenuStyler() = 0;
  // The styler the engine draws with; never nullptr.
  virtual TCustomAdvMenuStyler* GetCurrentMenuStyler() = 0;
  virtual void SetMenuStyler(TCustomAdvMenuStyler* Value) = 0;
  virtual Byte GetOpacity() = 0;
  virtual void SetOpacity(Byte Value) = 0;
  virtual bool GetShowNotes() = 0;
  virtual void SetShowNotes(bool Value) = 0;
  virtual bool GetIntlKeybShortCuts() = 0;
  virtual void SetIntlKeybShortCuts(bool Value) = 0;
  virtual void SetActionImage(TActionImage Value) = 0;
  virtual TActionImage GetActionImage() = 0;
  virtual void SetBiDiMode(TBiDiMode Value) = 0;
  virtual TBiDiMode GetBiDiMode() = 0;
  // Images for disabled items; nullptr when none.
  virtual TCustomImageList* GetDisabledImages() = 0;
  // Repaints the form's menu bar; nothing for a pop-up menu.
  virtual void RedrawMenuBar() = 0;

 protected:
  ~IAdvMenu() = default;
};

// The width allowance added to every pop-up item and cut off every pop-up
// window on the right: 17 until the menus start, then Round(17 x the menu DPI scale).
extern Integer MenuEdgeWidth;
// Sets MenuEdgeWidth from the screen's DPI (the menus' start-up).
void InitMenuEdgeWidth();

// The menu's IAdvMenu; nullptr for other menus and nullptr.
IAdvMenu* GetAdvMenuIntf(TMenu* Menu);
// The IAdvMenu of the item's menu (its parent menu, else its owner); nullptr when none.
IAdvMenu* GetAdvMenuIntf(TMenuItem* Item);
// The menu an item belongs to: its parent menu, or for an item without a parent its owner.
TMenu* MenuOfItem(TMenuItem* Item);

// True for an item on a main menu's bar.
bool IsBarItem(TMenuItem* Item);
// Ancestors minus one: 0 for bar items and top-level items of a pop-up menu.
Integer ItemLevel(TMenuItem* Item);
// The item or an earlier sibling is visible and has a column break; false without a parent.
bool HasBreakBefore(TMenuItem* Item);
// The item or a later sibling is visible and has a column break; false without a parent.
bool HasBreakFromHere(TMenuItem* Item);
// The first visible child of Parent; nullptr when none.
TMenuItem* FirstVisibleItem(TMenuItem* Parent);
// Position among the visible children of its parent; -1 for a hidden item or one without parent.
Integer VisibleIndex(TMenuItem* Item);
// Whether the side bar shows beside the item (the styler's SideBar.Visible and VisibleIn).
bool IsSideBarVisibleFor(TMenuItem* Item);
// True for the last item of its menu-bar row; false for any other item.
bool IsLastOnBarRow(TMenuItem* Item);
// Whether the pop-up window H showing Item lies to the right of the item's parent item.
bool SubMenuOpensRight(TMenuItem* Item, HWND H);

// Run by the engine after every pop-up item it paints: on the window's first
// paint it is subclassed, given its region and moved into place; on every
// paint it is framed in the styler's colours. Bar items and the menu's own window: nothing.
void FramePopupWindow(TMenuItem* Item, TCanvas* Canvas);
// The window procedure of subclassed pop-up windows: WM_ERASEBKGND answers 1
// without erasing; hiding, WM_CLOSE and WM_DESTROY remove the region; all the
// rest goes to the window's previous procedure.
void PopupMenuWndProc(HWND Wnd, TMessage& Message);
// True once FramePopupWindow has subclassed the window.
bool IsPopupWindowSubclassed(HWND Wnd);
