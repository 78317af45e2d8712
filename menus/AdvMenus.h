#pragma once
// The two owner-drawn menu components: a form's main menu and a pop-up menu.
// Both switch their items to owner drawing, hook the engine's measure and
// paint handlers into every item (keeping handlers a user assigned), always
// have a current styler, and take a shared style by way of an office styler.
#include <functional>

#include "foundation/style/VornStyle.h"
#include "menus/AdvMenuOfficeStyler.h"
#include "menus/AdvMenuStyler.h"
#include "menus/MenuQueries.h"
#include "platform/win/WindowData.h"

enum TPopupControlPosition { pcpBottomLeft, pcpBottomRight, pcbTopLeft, pcpTopRight, pcpCenter };

// The menu-item handlers the menus install, recognisable as theirs so that
// installing twice changes nothing and a user's own handlers are kept.
struct TAdvMenuMeasureThunk {
  TMenu* Menu;
  void operator()(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height) const;
};
struct TAdvMenuDrawThunk {
  TMenu* Menu;
  void operator()(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State) const;
};

// Hooks the menu's handlers into Item (nullptr: every item of the menu; with
// Recursive, their descendants too). Nothing while the menu is loading.
void InstallItemHandlers(TMenu* Menu, TMenuItem* Item, bool Recursive);
// Rebuilds (Rebuild) and repaints a menu of ours; other menus and nullptr: nothing.
void RefreshMenu(TMenu* Menu, bool Rebuild);
// The desktop-wide menu animation switch: there is none here, so this does nothing.
void SwitchMenuAnimationOff();

// State both menu classes keep, in the order of their fields, and the part
// of the menu interface that only reads and writes that state.
class TAdvMenuCommon : public IAdvMenu {
 public:
  TCustomAdvMenuStyler* GetMenuStyler() override { return FMenuStyler; }
  TCustomAdvMenuStyler* GetCurrentMenuStyler() override { return FCurrentMenuStyler; }
  Byte GetOpacity() override { return FOpacity; }
  void SetOpacity(Byte Value) override { FOpacity = Value; }
  bool GetShowNotes() override { return FShowNotes; }
  void SetShowNotes(bool Value) override { FShowNotes = Value; }
  bool GetIntlKeybShortCuts() override { return FIntlKeybShortCuts; }
  void SetIntlKeybShortCuts(bool Value) override { FIntlKeybShortCuts = Value; }
  void SetActionImage(TActionImage Value) override { FActionImage = Value; }
  TActionImage GetActionImage() override { return FActionImage; }
  TCustomImageList* GetDisabledImages() override { return FDisabledImages; }

 protected:
  ~TAdvMenuCommon() = default;

  TCustomAdvMenuStyler* FMenuStyler = nullptr;          // assigned from outside
  TCustomAdvMenuStyler* FInternalMenuStyler = nullptr;  // owned as a component
  TCustomAdvMenuStyler* FCurrentMenuStyler = nullptr;
  TAdvMenuOfficeStyler* FOfficeStyler = nullptr;  // made once by SetComponentStyle, owned as a component
  Byte FOpacity = 255;
  bool FShowNotes = true;
  bool FMenuUpdating = false;
  Integer FUpdateRef = 0;
  bool FDirectUpdate = false;
  TCustomImageList* FDisabledImages = nullptr;
  bool FIntlKeybShortCuts = false;
  TActionImage FActionImage = aiNormal;
  TVornStyle FVornStyle = tsCustom;

  // The steps both menus share; Menu is the menu that holds this state.
  // Makes Styler (owned by Menu) the internal and current styler.
  void UseInternalStyler(TCustomAdvMenuStyler* Styler);
  // An outside styler frees the internal one (unless it is still loading);
  // nullptr brings a new internal one through MakeInternal. Then the current
  // styler is told of Menu. False when Value is the styler already set.
  bool AssignMenuStyler(TMenu* Menu, TCustomAdvMenuStyler* Value, const std::function<void()>& MakeInternal);
  // A style other than tsCustom goes through the one office styler of Menu;
  // false when nothing was to change (an outside styler or tsCustom).
  bool ApplyOfficeStyle(TMenu* Menu, TVornStyle AStyle);
  void AssignDisabledImages(TMenu* Menu, TCustomImageList* Value);
  // After loading, an internal styler that is not in use goes.
  void DropUnusedInternalStyler();
  // Forgets a component being removed; a lost outside styler is replaced through MakeInternal.
  void ForgetComponent(TMenu* Menu, TComponent* AComponent, const std::function<void()>& MakeInternal);
  // Frees the internal styler and forgets the others (the menu's destructor).
  void ReleaseStylers(TMenu* Menu);
  void EnterMenuUpdate();
  // True when the last update ended.
  bool LeaveMenuUpdate();
};

class TAdvPopupMenu : public TPopupMenu, public TAdvMenuCommon, public IVornStyle {
 public:
  explicit TAdvPopupMenu(TComponent* AOwner);
  ~TAdvPopupMenu() override;

  // IAdvMenu
  void UpdateItems() override;
  TMenu* GetMenu() override { return this; }
  // nullptr brings back an internal styler; an outside styler frees the internal one.
  void SetMenuStyler(TCustomAdvMenuStyler* Value) override;
  void SetBiDiMode(TBiDiMode Value) override { TMenu::SetBiDiMode(Value); }
  TBiDiMode GetBiDiMode() override { return BiDiMode(); }
  void RedrawMenuBar() override {}

  // IVornStyle: nothing with an outside styler; tsCustom only records the style.
  void SetComponentStyle(TVornStyle AStyle) override;

  TCustomAdvMenuStyler* MenuStyler() const { return FMenuStyler; }
  TCustomAdvMenuStyler* InternalMenuStyler() const { return FInternalMenuStyler; }
  TActionImage ActionImages() const { return FActionImage; }
  void SetActionImages(TActionImage Value) { FActionImage = Value; }
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  bool ShowNotes() const { return FShowNotes; }
  bool IntlKeybShortCuts() const { return FIntlKeybShortCuts; }
  TVornStyle UIStyle() const { return FVornStyle; }
  void SetUIStyle(TVornStyle Value) { SetComponentStyle(Value); }
  bool MenuUpdating() const { return FMenuUpdating; }
  bool DirectUpdate() const { return FDirectUpdate; }
  void SetDirectUpdate(bool Value) { FDirectUpdate = Value; }
  TObject* ItemObject() const { return FItemObject; }
  void SetItemObject(TObject* Value) { FItemObject = Value; }
  // "2.7.1.11"; writing changes nothing.
  String Version() const;
  void SetVersion(const String&) {}
  virtual Integer GetVersionNr() const;

  void BeginUpdate();
  // The counter never goes below 0; at 0 the handlers are installed again.
  void EndUpdate();
  void Loaded() override;

  // Shows the menu at the screen point, shifted by the edge allowance as the
  // alignment asks, and returns when it has closed (after OnClose).
  void Popup(Integer X, Integer Y) override;
  void Popup(TPoint P) { Popup(P.X, P.Y); }
  void PopupAtControl(TControl* AControl, TPopupControlPosition Position, Integer DeltaX = 0, Integer DeltaY = 0);
  void PopupAtCursor();

  // The measure and paint handlers hooked into the items.
  void ExpandItemWidth(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height);
  void AdvancedDrawItem(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State);

  // RefreshMenu's work for this menu: rebuild when asked, then repaint.
  virtual void DoRefreshMenu(bool Rebuild);

 protected:
  void CreateInternalStyler();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;

 private:
  TObject* FItemObject = nullptr;
};

class TAdvMainMenu : public TMainMenu, public TAdvMenuCommon, public IVornStyle {
 public:
  explicit TAdvMainMenu(TComponent* AOwner);
  ~TAdvMainMenu() override;

  void UpdateItems() override;
  TMenu* GetMenu() override { return this; }
  void SetMenuStyler(TCustomAdvMenuStyler* Value) override;
  void SetBiDiMode(TBiDiMode Value) override { TMenu::SetBiDiMode(Value); }
  TBiDiMode GetBiDiMode() override { return BiDiMode(); }

  void SetComponentStyle(TVornStyle AStyle) override;

  TCustomAdvMenuStyler* MenuStyler() const { return FMenuStyler; }
  TCustomAdvMenuStyler* InternalMenuStyler() const { return FInternalMenuStyler; }
  TActionImage ActionImages() const { return FActionImage; }
  void SetActionImages(TActionImage Value) { FActionImage = Value; }
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  bool ShowNotes() const { return FShowNotes; }
  bool IntlKeybShortCuts() const { return FIntlKeybShortCuts; }
  TVornStyle UIStyle() const { return FVornStyle; }
  void SetUIStyle(TVornStyle Value) { SetComponentStyle(Value); }
  bool MenuUpdating() const { return FMenuUpdating; }
  bool DirectUpdate() const { return FDirectUpdate; }
  void SetDirectUpdate(bool Value) { FDirectUpdate = Value; }
  String Version() const;
  void SetVersion(const String&) {}
  virtual Integer GetVersionNr() const;
  Integer UpdateRef() const { return FUpdateRef; }

  void BeginUpdate();
  void EndUpdate();
  void Loaded() override;
  // Rebuilds the menu.
  void Refresh();
  // Repaints the form's menu bar.
  void RedrawMenuBar() override;

  void ExpandItemWidth(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height);
  // Paints nothing while an update is pending.
  void AdvancedDrawItem(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State);

  virtual void DoRefreshMenu(bool Rebuild);

  // MDI. The window of the MDI client of the menu's form: an MDI child's
  // parent window, an MDI frame's client window; nullptr for other forms,
  // a form without a window yet, or while the menu is being destroyed.
  HWND GetMDIClientHandle();
  // The hooked client's window procedure: WM_MDIREFRESHMENU fills the frame's
  // Window menu (after a separator with the shortcut $ABCD) with one radio
  // item per child, "n caption" in caption order, the active child checked,
  // and answers the menu's handle (0 when the frame, its menus or the menu
  // class do not fit); every other message goes to the previous procedure.
  void MDIClientWndProc(TMessage& Message);
  // A window-list item's click: activates the child its Tag names.
  void MDIWindowItemClick(TObject* Sender);
  // The active child's small icon on the bar, left of the first item.
  void DrawMDIChildIcon(TMenuItem* Item, const TRect& ARect);

 protected:
  void CreateInternalStyler();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;

 private:
  // Gives a hooked client its previous procedure back and clears its user data.
  void UnhookMDIClient();
  HWND FOldWndHandle = nullptr;  // the hooked MDI client
  WNDPROC FOldWndProcPtr = 0;    // its procedure before the hook
  WNDPROC FClientProc = 0;       // MDIClientWndProc's token, made on first use
  bool FDesignTime = false;
};
