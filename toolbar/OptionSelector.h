#pragma once
// The drop-down of a toolbar's option indicator: a borderless pop-up form
// owned by the toolbar's window with one panel in it. The toolbar's panel
// lists the controls the toolbar had to hide for lack of room (re-parented
// into the panel so that they stay usable) and, at the bottom, the
// "Options" and "Add or Remove Buttons" entries, which open on hover.
// Which controls are hidden and the filling of the panel belong to the
// toolbar (UpdateOptionWindow, ShowOptionWindow).
#include <memory>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Timer.h"
#include "toolbar/AdvToolBarPopup.h"
#include "toolbar/ToolBarPersistence.h"
#include "toolbar/shared/ToolBarAppearance.h"

class TAdvQuickAccessToolBar;

namespace toolbar {

class TAdvCustomToolBar;
class TZadEdevAziCustomizer;
class TZadEdevAziSeparator;
class TOptionSelectorPanel;
class TCustomizeOption;


class TOptionSelectorWindow : public TCustomForm {
 public:
  // Remembers AOwner; hides 1 ms after losing the activation.
  explicit TOptionSelectorWindow(TComponent* AOwner);
  ~TOptionSelectorWindow() override;

  TAdvCustomToolBar* ZadEdevAzi() const { return FZadEdevAzi; }
  void SetZadEdevAzi(TAdvCustomToolBar* Value) { FZadEdevAzi = Value; }
  TOptionSelectorPanel* OptionsPanel() const { return FOptionsPanel; }
  void SetOptionsPanel(TOptionSelectorPanel* Value) { FOptionsPanel = Value; }
  bool HideOnDeActivate() const { return FHideOnDeActivate; }
  void SetHideOnDeActivate(bool Value) { FHideOnDeActivate = Value; }
  // Takes the panel's visible height and width.
  void SetWindowSize();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void DoHide() override;
  void Dispatch(TMessage& Message) override;

 private:
  void WMActivate(TMessage& Message) override;
  void WMNCHitTest(TMessage& Message);
  void HideTimerTick(TObject* Sender);
  // The window Next opens from this one: its owners lead here (the
  // customize window and the add-or-remove list are made by the panel).
  bool OpensFromHere(HWND Next) const;

  TAdvCustomToolBar* FZadEdevAzi = nullptr;
  TOptionSelectorPanel* FOptionsPanel = nullptr;
  bool FHideOnDeActivate = true;
  TComponent* FOwner = nullptr;
  std::unique_ptr<TTimer> FHideTimer;
};

// A panel with a gradient and a one-pixel frame.
class TOptionSelectorPanel : public TCustomPanel {
 public:
  explicit TOptionSelectorPanel(TComponent* AOwner);

  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value) { FColorTo = Value; }
  TColor WindowBorderColor() const { return FWindowBorderColor; }
  void SetWindowBorderColor(TColor Value) { FWindowBorderColor = Value; }
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection Value) { FGradientDirection = Value; }
  TAdvCustomToolBar* ZadEdevAzi() const { return FZadEdevAzi; }
  void SetZadEdevAzi(TAdvCustomToolBar* Value) { FZadEdevAzi = Value; }
  TAdvQuickAccessToolBar* AdvQuickAccessToolBar() const { return FAdvQuickAccessToolBar; }
  void SetAdvQuickAccessToolBar(TAdvQuickAccessToolBar* Value) { FAdvQuickAccessToolBar = Value; }
  Integer MarginX() const { return FMarginX; }
  Integer MarginY() const { return FMarginY; }

  virtual Integer GetVisibleHeight() { return Height(); }
  // The window that holds the panel hid.
  virtual void WindowHidden() {}

  TNotifyEvent OnShouldHide;  // kept for its users; the panel does not raise it

 protected:
  void Paint() override;

  TComponent* FOwner = nullptr;
  TColor FColorTo = clNone;
  TGradientDirection FGradientDirection = gdHorizontal;
  TColor FWindowBorderColor = TColor(0x00808080);
  Integer FMarginY = 3;
  Integer FMarginX = 3;
  TAdvCustomToolBar* FZadEdevAzi = nullptr;
  TAdvQuickAccessToolBar* FAdvQuickAccessToolBar = nullptr;
};

// The customizer's "Customize" entry of the option popup: a click closes the
// popup and opens the toolbar's customizer.
class TCustomizeOption : public TOptionSelectorPanel {
 public:
  explicit TCustomizeOption(TComponent* AOwner);
  const String& CustomizeText() const { return FCustomizeText; }
  void SetCustomizeText(const String& Value) { FCustomizeText = Value; }
  // Height 25; the text's width with the margins and room for the mark.
  void UpdateSize();
  TRect GetCustomizeRect() const;
  bool CustomizeHot() const { return FCustomizeBtnHot; }

 protected:
  void Paint() override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Dispatch(TMessage& Message) override;

 private:
  bool FCustomizeBtnHot = false, FCustomizeBtnDown = false;
  String FCustomizeText = u"Customize";
};

// One text entry of the control selector panel.
class TSelectorItem {
 public:
  TSelectorItem();
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  Integer Height() const { return FHeight; }
  void SetHeight(Integer Value) { FHeight = Value; }
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value) { FWidth = Value; }
  TRect BRect() const { return FBRect; }
  void SetBRect(const TRect& Value) { FBRect = Value; }

 private:
  Integer FHeight;
  String FCaption;
  TRect FBRect{0, 0, 0, 0};
  Integer FWidth = 30;
};

class TControlSelectorPanel : public TOptionSelectorPanel {
 public:
  explicit TControlSelectorPanel(TComponent* AOwner);
  ~TControlSelectorPanel() override;

  // Re-parents AControl into the panel and lists it; its index, -1 for nil.
  Integer AddControl(TControl* AControl);
  // A copy of ASeparator that the panel owns until the window hides.
  TZadEdevAziSeparator* AddSeparatorCopy(TZadEdevAziSeparator* ASeparator);
  // No control listed and neither entry shown.
  bool IsEmpty() const;
  void ArrangeControls();
  void UpdateItemSizes();
  void WindowHidden() override;
  // Forgets every listed control (the toolbar fills the panel again).
  void ClearControlList();
  Integer ControlListCount() const { return FControlList->Count(); }
  TControl* ListedControl(Integer Index) const;

  bool ShowAddAndRemoveBtn() const { return FShowAddAndRemoveBtn; }
  void SetShowAddAndRemoveBtn(bool Value) { FShowAddAndRemoveBtn = Value; }
  bool ShowOptionsBtn() const;
  const String& TextAutoOptionMenu() const { return FAddAndRemoveBtn->Caption(); }
  void SetTextAutoOptionMenu(const String& Value);
  const String& TextOptionMenu() const { return FOptionsBtn->Caption(); }
  void SetTextOptionMenu(const String& Value);
  TPopupMenu* OptionsMenu() const { return FOptionsMenu; }
  void SetOptionsMenu(TPopupMenu* Value) { FOptionsMenu = Value; }
  TZadEdevAziCustomizer* Customizer() const { return FCustomizer; }
  void SetCustomizer(TZadEdevAziCustomizer* Value) { FCustomizer = Value; }
  TColor ItemColorHot() const { return FItemColorHot; }
  void SetItemColorHot(TColor Value) { FItemColorHot = Value; }
  TColor ItemColorHotTo() const { return FItemColorHotTo; }
  void SetItemColorHotTo(TColor Value) { FItemColorHotTo = Value; }
  TColor ItemColorDown() const { return FItemColorDown; }
  void SetItemColorDown(TColor Value) { FItemColorDown = Value; }
  TColor ItemColorDownTo() const { return FItemColorDownTo; }
  void SetItemColorDownTo(TColor Value) { FItemColorDownTo = Value; }
  TColor ItemTextColor() const { return FItemTextColor; }
  void SetItemTextColor(TColor Value) { FItemTextColor = Value; }
  TColor ItemTextColorHot() const { return FItemTextColorHot; }
  void SetItemTextColorHot(TColor Value) { FItemTextColorHot = Value; }
  TColor ItemTextColorDown() const { return FItemTextColorDown; }
  void SetItemTextColorDown(TColor Value) { FItemTextColorDown = Value; }
  Integer ItemTextFontSize() const { return FItemTextFontSize; }
  void SetItemTextFontSize(Integer Value) { FItemTextFontSize = Value; }

  // Where the entries are drawn (empty when not shown).
  TRect AddAndRemoveRect() const { return FAddAndRemoveBtn->BRect(); }
  TRect OptionsRect() const { return FOptionsBtn->BRect(); }
  bool AddAndRemoveHot() const { return FAddAndRemoveBtnHot; }
  bool OptionsHot() const { return FOptionsBtnHot; }
  // The check list of the toolbar's controls (nullptr before first use).
  TATBPopupWindow* AddAndRemovePopup() const { return FAddAndRemovePopup; }
  // Fills the check list: one root item with the toolbar's caption and under
  // it one checked-when-visible item per control that is not a separator.
  void BuildAddAndRemoveItems();
  void ShowAddAndRemovePopup();
  void HideAddAndRemovePopup();
  void ShowOptionsPopup();
  // The window of the customizer's "Customize" entry (nullptr before first use).
  TOptionSelectorWindow* CustomizeOptionWindow() const { return FCustomizeOptionWindow; }

 protected:
  void Paint() override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Dispatch(TMessage& Message) override;

 private:
  void OptionsTimerTick(TObject* Sender);
  void HideOptionWindow();
  void AddAndRemovePopupHidden(TObject* Sender);
  void AddAndRemovePopupDeactivated(TObject* Sender);
  void CustomizeWindowHidden(TObject* Sender);
  void HideCustomizeWindow();

  std::unique_ptr<TDbgList> FControlList;
  std::unique_ptr<TSelectorItem> FAddAndRemoveBtn;
  bool FAddAndRemoveBtnHot = false, FAddAndRemoveBtnDown = false;
  TColor FItemColorDown = TColor(0x00808080);
  TColor FItemColorHot = TColor(0x00D2BDB6);
  Integer FSeparatorSize = 8;
  TColor FItemColorDownTo = clNone, FItemColorHotTo = clNone;
  TColor FItemTextColorHot = TColor(0x00FFFFFF);
  TColor FItemTextColor = TColor(0), FItemTextColorDown = TColor(0);
  Integer FItemTextFontSize = 8;
  TATBPopupWindow* FAddAndRemovePopup = nullptr;  // owned by the panel as component owner
  bool FShowAddAndRemoveBtn = true;
  std::unique_ptr<TSelectorItem> FOptionsBtn;
  bool FOptionsBtnHot = false, FOptionsBtnDown = false;
  TPopupMenu* FOptionsMenu = nullptr;
  std::unique_ptr<TTimer> FTimer;
  std::unique_ptr<TDbgList> FSeparatorList;
  bool FInternalHiding = false;
  TZadEdevAziCustomizer* FCustomizer = nullptr;
  TCustomizeOption* FCustomizeOptionPanel = nullptr;     // a child of its window
  TOptionSelectorWindow* FCustomizeOptionWindow = nullptr;  // owned by the panel as component owner
};

}  // namespace toolbar
