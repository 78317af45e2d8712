#pragma once
// Menus: items in a tree (TMenuItem), the main menu of a form and pop-up
// menus. A pop-up menu shows in a pop-up window of its own (a real window
// handle, so a device context of it names that window) and runs until an
// item is chosen or the menu is dismissed. Items of an owner-drawn menu
// (OwnerDraw) are measured through OnMeasureItem and painted through
// OnAdvancedDrawItem (or OnDrawItem) on a canvas over that window's context.
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Set.h"
#include "platform/vcl/Controls.h"

class TCustomImageList;
class TBitmap;
class TMenu;
class TMenuItem;

struct HMENU__;
using HMENU = HMENU__*;
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
using TMenuChangeEvent = std::function<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;

using TShortCut = Word;
// A shortcut from a virtual key and shift state (scShift $2000, scCtrl $4000, scAlt $8000).
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;
TShortCut ShortCut(Word Key, TShiftState Shift);
// "Ctrl+S", "Shift+F5", "Alt+Del"...; empty for 0.
String ShortCutToText(TShortCut ShortCut);

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum TOwnerDrawStateItem {
  odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive, odNoAccel,
  odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
enum TPopupAlignment { paLeft, paRight, paCenter };
enum TTrackButton { tbRightButton, tbLeftButton };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height)>;
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;

// One entry of a menu; its children form a sub-menu.
class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  // "-" makes the item a separator line.
  bool IsLine() const { return FCaption == u"-"; }
  bool Checked() const { return FChecked; }
  // Checking a radio item unchecks the radio items of its group among its siblings.
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  Byte GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Byte Value);
  TMenuBreak Break() const { return FBreak; }
  void SetBreak(TMenuBreak Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TBitmap* Bitmap() const;
  void SetBitmap(TBitmap* Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  // Images for the children (nullptr: the menu's).
  TCustomImageList* SubMenuImages() const { return FSubMenuImages; }
  void SetSubMenuImages(TCustomImageList* Value);
  // A number unique in the program, as a menu's command identifier.
  Word Command() const { return FCommand; }
  // A handle for the item's sub-menu (the item itself, as the layer names menus).
  HMENU Handle() const { return reinterpret_cast<HMENU>(const_cast<TMenuItem*>(this)); }

  // --- the tree ---
  Integer Count() const { return Integer(FItems.size()); }
  // A bad index raises EMenuError "Menu index out of range".
  TMenuItem* Items(Integer Index) const;
  TMenuItem* operator[](Integer Index) const { return Items(Index); }
  TMenuItem* Parent() const { return FParent; }
  // Position among the parent's items; -1 without a parent. Setting moves it (clamped).
  Integer MenuIndex() const;
  void SetMenuIndex(Integer Value);
  // Appends or inserts Item (owned by its owner); an item that already has
  // a parent raises EMenuError "Menu inserted twice".
  void Add(TMenuItem* Item);
  void Insert(Integer Index, TMenuItem* Item);
  // Takes the item out (it is not freed); an item not here raises EMenuError "Sub-menu is not in menu".
  void Remove(TMenuItem* Item);
  // Takes out and frees the item at Index; a bad index raises EMenuError.
  void Delete(Integer Index);
  // Frees every child.
  void Clear();
  Integer IndexOf(const TMenuItem* Item) const;
  // The child whose caption (without "&") is Caption, nullptr when none.
  TMenuItem* Find(const String& ACaption) const;
  // The menu this item belongs to (through its top item's owner), nullptr when none.
  TMenu* GetParentMenu() const;
  // Raises OnClick (after AutoCheck toggling); a disabled item does nothing.
  virtual void Click();

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

  // Measures the item on ACanvas: the owner-draw event for an owner-drawn
  // menu, else the layer's own size for its caption and shortcut.
  virtual void MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height);
  // Paints the item into ARect: OnAdvancedDrawItem, else OnDrawItem, for an
  // owner-drawn menu; the layer's own drawing otherwise.
  virtual void AdvancedDrawItem(TCanvas* ACanvas, TRect ARect, TOwnerDrawState State, bool TopLevel);

 protected:
  friend class TMenu;
  void MenuChanged(bool Rebuild);
  void DoDrawText(TCanvas* ACanvas, const String& ACaption, TRect& Rect, bool Selected, Integer Flags);

  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item
  std::vector<TMenuItem*> FItems;
  String FCaption;
  String FHint;
  bool FChecked = false, FEnabled = true, FVisible = true, FDefault = false, FRadioItem = false, FAutoCheck = false;
  Byte FGroupIndex = 0;
  TMenuBreak FBreak = mbNone;
  TShortCut FShortCut = 0;
  Integer FImageIndex = -1;
  mutable std::unique_ptr<TBitmap> FBitmap;
  TCustomImageList* FSubMenuImages = nullptr;
  Word FCommand = 0;
};

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  // The root item; its children are the menu's entries.
  TMenuItem* Items() const { return FItems.get(); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  bool AutoHotkeys() const { return FAutoHotkeys; }
  void SetAutoHotkeys(bool Value) { FAutoHotkeys = Value; }
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value) { FBiDiMode = Value; }
  // The menu's handle (its root item).
  HMENU Handle() const { return FItems->Handle(); }
  // The window that receives the menu's messages (the owner form's, or the pop-up list's).
  HWND WindowHandle() const { return FWindowHandle; }
  void SetWindowHandle(HWND Value) { FWindowHandle = Value; }
  // The item with the command, sub-menu handle or shortcut; nullptr when none.
  TMenuItem* FindItem(NativeInt Value, TFindItemKind Kind) const;
  // Clicks the enabled, visible item with the key's shortcut; false when none.
  bool IsShortCut(Word Key, TShiftState Shift);
  // Clicks the item with the command; false when none.
  bool DispatchCommand(Word ACommand);
  // Rebuilds the menu's window representation (nothing to do here beyond repainting).
  virtual void UpdateItems() {}
  TMenuChangeEvent OnChange;

 protected:
  friend class TMenuItem;
  // An item changed (Source nullptr: the whole menu); Rebuild when the tree changed.
  virtual void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  std::unique_ptr<TMenuItem> FItems;
  TCustomImageList* FImages = nullptr;
  bool FOwnerDraw = false;
  bool FAutoHotkeys = true;
  TBiDiMode FBiDiMode = bdLeftToRight;
  HWND FWindowHandle = nullptr;
};

// The menu of a form: its shortcuts work while a control of that form has the focus.
class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* AOwner);
  ~TMainMenu() override;
  // Merging of items is not supported: the menu keeps its items. Merging
  // still records Menu as the merged one and reports a change of the whole
  // menu (MenuChanged without a source), as an MDI frame's menu hears of each
  // child that becomes active.
  void Merge(TMainMenu* Menu);
  // Merge(nullptr) when Menu is the merged one.
  void Unmerge(TMainMenu* Menu);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TMainMenu* FMerged = nullptr;
};

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  // Shows the menu with its top-left at the screen point (kept on the
  // screen) and returns when it has closed, after the chosen item's click.
  virtual void Popup(Integer X, Integer Y);
  void Popup(TPoint P) { Popup(P.X, P.Y); }
  // The control that last opened the menu.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  TTrackButton TrackButton() const { return FTrackButton; }
  void SetTrackButton(TTrackButton Value) { FTrackButton = Value; }
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer Value) { FHelpContext = Value; }
  // Raised before the menu shows.
  TNotifyEvent OnPopup;
  // Raised after it closed (whether or not an item was chosen).
  TNotifyEvent OnClose;

 protected:
  virtual void DoPopup(TObject* Sender);

 private:
  TComponent* FPopupComponent = nullptr;
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  TTrackButton FTrackButton = tbRightButton;
  Integer FHelpContext = 0;
};

// The window showing a menu level now (the deepest open one), nullptr when
// no menu shows. Its items lie one below the other in menu order.
TWinControl* ActiveMenuWindow();
// The rectangle, in the menu window's client coordinates, of an item it shows; empty when it does not show it.
// A form whose menu bar shows the item answers the item's cell (above the client area: negative tops).
TRect MenuItemRect(TWinControl* MenuWindow, const TMenuItem* Item);
// The open menu window that shows the children of ParentItem (a menu's root
// item for its first level; for a form's main menu, the form whose bar shows
// them); nullptr when none shows them.
TWinControl* MenuWindowOf(const TMenuItem* ParentItem);
// The item a menu window shows the children of; nullptr for another window.
TMenuItem* MenuWindowParentItem(TWinControl* MenuWindow);
// Closes every open menu level (the menu's loop then returns).
void CloseMenus();

// What the menu loop tells: WM_ENTERMENULOOP and WM_EXITMENULOOP (wParam TRUE
// for a pop-up menu) go to the menu's owner window (PopupListWindow for a
// pop-up menu, the form for its menu bar's drop-downs); WM_MENUSELECT goes there
// whenever an item is selected (low word: the command, or for an item with
// children its index with MF_POPUP in the flags; lParam: the menu that holds
// it) and once more, as the close notice (0xFFFF flags, lParam 0), when the menu
// closes. Every message the loop handles, WM_MENUSELECT included, first
// passes the thread's message filters with MSGF_MENU, addressed to the open
// level's window: a filter answering non-zero drops it. Keys posted to that
// window work the menu as typed keys do.
constexpr UINT MF_POPUP = 0x0010, MF_HILITE = 0x0080, MF_MOUSESELECT = 0x8000;
// The item's child at Pos (counted over all children) when it has children of
// its own; nullptr otherwise or for a bad menu or position.
HMENU GetSubMenu(HMENU Menu, int Pos);

// The window that answers WM_MEASUREITEM (MEASUREITEMSTRUCT in lParam, item
// id = an item's Command) for the items of every menu.
HWND PopupListWindow();
struct MEASUREITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemWidth = 0;
  UINT itemHeight = 0;
  ULONG_PTR itemData = 0;
};
constexpr UINT ODT_MENU = 1;

void RegisterMenusClasses();
