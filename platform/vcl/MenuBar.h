#pragma once
// The menu bar of a form: the visible top-level items of its main menu in one
// row across the top of the window, above the client area. The bar belongs
// to the window's frame: the client area keeps its size and the window grows
// by the bar's height. A top-level window's window DC starts at the bar's
// top-left (the caption and borders are the window manager's).
//
// Bar items are measured and painted through the item hooks pop-up items use
// (an owner-drawn menu's measure and draw events), with odSelected for the
// item whose drop-down is open (or which is pressed) and odHotLight for the
// item under the pointer or picked by the keyboard; odDisabled and odGrayed
// for a disabled item.
//
// Mouse: a press on an item with children opens them as a drop-down below
// it; while it shows, moving onto another such item switches to it and a
// press on the open item closes it. An item without children runs its click
// when the button is released over it. Keyboard: F10 or Alt alone pick the
// first item (Left/Right move, Down/Up/Enter open or run, Esc or Alt or F10
// leave); Alt with an item's accelerator opens that item (or runs it).
// Menu mode is modal, as a pop-up menu is: it returns when it ends.
//
// An MDI frame's bar with a maximised active child shows that child's icon
// before the first item and its minimise, restore and close buttons (those of
// its border icons, SM_CXMENUSIZE wide each) at the right end; a click on a
// button minimises, restores or closes the child.
#include <utility>
#include <vector>

#include "platform/vcl/Menus.h"

class TCustomForm;

class TMenuBar {
 public:
  explicit TMenuBar(TCustomForm* Form);
  ~TMenuBar();
  TMenuBar(const TMenuBar&) = delete;
  TMenuBar& operator=(const TMenuBar&) = delete;

  TCustomForm* Form() const { return FForm; }
  TMainMenu* Menu() const { return FMenu; }
  // Shows Value's items (nullptr: none); lays the bar out again.
  void SetMenu(TMainMenu* Value);
  // The bar's height as last laid out; 0 when it shows no item (no menu, no
  // visible item, or a form placed inside another control).
  Integer Height() const { return FHeight; }
  // Lays the items out again and repaints; the form keeps its client size
  // when the height changes.
  void Changed();
  // Paints the bar on the form's window DC (nothing without a window or items).
  void Paint();

  // An item's cell in window coordinates (the bar's top-left is 0, 0); empty
  // for an item the bar does not show.
  TRect ItemRect(const TMenuItem* Item) const;
  // The shown item at a point in window coordinates; nullptr when none.
  TMenuItem* ItemAt(TPoint P) const;
  // The item drawn hot (under the pointer, or picked by the keyboard) and the
  // one drawn selected (its drop-down open, or pressed); nullptr when none.
  TMenuItem* HotItem() const { return FHot; }
  TMenuItem* OpenItem() const { return FOpen; }
  // True while menu mode runs (a drop-down or the bar's keyboard mode).
  bool InMenuMode() const { return FInMode; }

  // Mouse over the bar, at screen points (the form's non-client messages).
  void MouseMove(TPoint Screen);
  void MouseDown(TPoint Screen);
  void MouseUp(TPoint Screen);
  void MouseLeave();
  // The menu key: 0 (F10, Alt alone) enters keyboard mode on the first item;
  // a character opens (or runs) the visible enabled item with that
  // accelerator, and does nothing when none has it. Nothing without items.
  void KeyMenu(Char Key);
  // Ends menu mode (the form lost activation).
  void CancelMode();

 private:
  struct TCell {
    TMenuItem* Item;
    TRect Rect;
  };
  void Layout();
  void Repaint();
  TPoint WindowOrigin() const;
  TMenuItem* Neighbour(TMenuItem* From, int Step) const;
  TMenuItem* AccelItem(Char Key) const;
  void RunMenuMode(TMenuItem* Item, bool Open, bool SelectFirst);
  // The frame's maximised active MDI child, nullptr when none.
  TCustomForm* MaximizedChild() const;
  // That child's buttons on the bar (system command and cell), left to right.
  std::vector<std::pair<WPARAM, TRect>> ChildButtons() const;
  WPARAM ChildButtonAt(TPoint P) const;
  void PaintChildParts(TCanvas& Canvas);

  TCustomForm* FForm;
  TMainMenu* FMenu = nullptr;
  std::vector<TCell> FCells;
  Integer FHeight = 0;
  TMenuItem* FHot = nullptr;
  TMenuItem* FOpen = nullptr;
  TMenuItem* FPressed = nullptr;
  bool FInMode = false;
  WPARAM FPressedButton = 0;  // a maximised MDI child's button under a press
  bool FLayingOut = false;
  bool FLayoutAgain = false;
};

// Lays out and repaints the bar of the form with that window; FALSE when the window has no bar.
BOOL DrawMenuBar(HWND Wnd);
// The screen rectangle of the Item-th visible item of Menu on the bar of the
// form with window Wnd; FALSE (R untouched) when that bar shows no such item.
BOOL GetMenuItemRect(HWND Wnd, HMENU Menu, UINT Item, TRect* R);

// For the menus: every bar showing Menu lays out again and repaints.
void MenuBarsChanged(TMenu* Menu);
// The form whose bar shows the children of Root (a main menu's root item); nullptr when none.
TCustomForm* MenuBarFormOf(const TMenuItem* Root);
// An item's cell on the form's bar in the form's client coordinates (the bar
// lies above them: negative tops); empty when the bar does not show it.
TRect MenuBarItemRect(TCustomForm* Form, const TMenuItem* Item);
