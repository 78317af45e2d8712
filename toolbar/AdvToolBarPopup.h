#pragma once
// The toolbar unit's own small menu, made of pop-up forms rather than system
// menus: a borderless stay-on-top window holding a panel that draws a tree of
// items in a menu styler's colours. Check items stand for a control: a click
// shows or hides it. An item with children opens a child pop-up beside it on
// hover. The option popup's "Add or Remove Buttons" list is one of these.
#include <memory>
#include <vector>

#include "menus/AdvMenuStyler.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Timer.h"
#include "toolbar/shared/ToolBarAppearance.h"

namespace toolbar {

class TAdvCustomToolBar;
class TATBPopupPanel;

class TATBMenuItem {
 public:
  TATBMenuItem() = default;
  TATBMenuItem(const TATBMenuItem&) = delete;
  TATBMenuItem& operator=(const TATBMenuItem&) = delete;

  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  Integer Height() const { return FHeight; }
  void SetHeight(Integer Value) { FHeight = Value; }
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value) { FWidth = Value; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value) { FChecked = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  TATBMenuItem* ParentItem() const { return FParentItem; }
  // The control the item stands for (not owned), or nullptr.
  TControl* Objects() const { return FObjects; }
  void SetObjects(TControl* Value) { FObjects = Value; }
  TRect BoundRect() const { return FBoundRect; }
  void SetBoundRect(const TRect& Value) { FBoundRect = Value; }

  Integer Count() const { return Integer(FItems.size()); }
  TATBMenuItem* GetItem(Integer Index) const;
  // A new child of this item, appended.
  TATBMenuItem* Add();
  void Clear() { FItems.clear(); }
  // Frees the child at ItemIndex; a bad index is ignored.
  void RemoveItem(Integer ItemIndex);
  bool HasChildren() const { return !FItems.empty(); }

 private:
  bool FEnabled = true;
  bool FVisible = true;
  TRect FBoundRect{0, 0, 0, 0};
  std::vector<std::unique_ptr<TATBMenuItem>> FItems;
  TATBMenuItem* FParentItem = nullptr;
  Integer FHeight = 0, FWidth = 0;
  String FCaption;
  bool FChecked = false;
  String FHint;
  bool FAutoCheck = false;
  TControl* FObjects = nullptr;
};

// A panel with a gradient and a one-pixel frame.
class TATBCustomPopupPanel : public TCustomPanel {
 public:
  explicit TATBCustomPopupPanel(TComponent* AOwner);

  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value) { FColorTo = Value; }
  TColor WindowBorderColor() const { return FWindowBorderColor; }
  void SetWindowBorderColor(TColor Value) { FWindowBorderColor = Value; }
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection Value) { FGradientDirection = Value; }
  Integer MarginX() const { return FMarginX; }
  Integer MarginY() const { return FMarginY; }
  virtual Integer GetVisibleHeight() { return Height(); }

  TNotifyEvent OnShouldHide;  // kept for its users; the panel does not raise it

 protected:
  void Paint() override;

  TComponent* FOwner = nullptr;
  TColor FColorTo = clNone;
  TGradientDirection FGradientDirection = gdHorizontal;
  TColor FWindowBorderColor = TColor(0x00808080);
  Integer FMarginY = 2;
  Integer FMarginX = 2;
};

class TATBPopupWindow : public TCustomForm {
 public:
  // Makes its panel; hides 1 ms after losing the activation.
  explicit TATBPopupWindow(TComponent* AOwner);
  ~TATBPopupWindow() override;

  TAdvCustomToolBar* ZadEdevAzi() const { return FZadEdevAzi; }
  void SetZadEdevAzi(TAdvCustomToolBar* Value) { FZadEdevAzi = Value; }
  TATBPopupPanel* PopupPanel() const { return FPopupPanel; }
  bool HideOnDeActivate() const { return FHideOnDeActivate; }
  void SetHideOnDeActivate(bool Value) { FHideOnDeActivate = Value; }
  // A root item owned by the window becomes the panel's item.
  void CreateItems();
  TATBMenuItem* Items() const { return FItems.get(); }
  // Takes the panel's visible height and width.
  void SetWindowSize();
  // Closes the child chain first.
  void Hide();

  TNotifyEvent OnDeActivateHide;

 protected:
  void Dispatch(TMessage& Message) override;

 private:
  void WMActivate(TMessage& Message) override;
  void HideTimerTick(TObject* Sender);
  // The window that becomes active is this window's open child pop-up, or
  // one of that pop-up's own children.
  bool IsOwnChildPopup(HWND Wnd) const;

  TAdvCustomToolBar* FZadEdevAzi = nullptr;
  TATBPopupPanel* FPopupPanel = nullptr;  // a child control of the window
  bool FHideOnDeActivate = true;
  TComponent* FOwner = nullptr;
  std::unique_ptr<TTimer> FHideTimer;
  std::unique_ptr<TATBMenuItem> FItems;
};

class TATBPopupPanel : public TATBCustomPopupPanel {
 public:
  explicit TATBPopupPanel(TComponent* AOwner);

  Integer HotItem() const { return FHotItem; }
  void SetHotItem(Integer Value);
  Integer ItemHeight() const { return FItemHeight; }
  // The item whose children the panel lists (not owned).
  TATBMenuItem* Items() const { return FItems; }
  void SetItems(TATBMenuItem* Value);
  TCustomAdvMenuStyler* AdvMenuStyler() const { return FAdvMenuStyler; }
  void SetAdvMenuStyler(TCustomAdvMenuStyler* Value) { FAdvMenuStyler = Value; }
  bool ShowImageBar() const { return FShowImageBar; }
  void SetShowImageBar(bool Value) { FShowImageBar = Value; }
  bool ShowIconBar() const { return FShowIconBar; }
  void SetShowIconBar(bool Value) { FShowIconBar = Value; }
  TColor ImageBarColor() const { return FImageBarColor; }
  void SetImageBarColor(TColor Value) { FImageBarColor = Value; }
  TColor ImageBarColorTo() const { return FImageBarColorTo; }
  void SetImageBarColorTo(TColor Value) { FImageBarColorTo = Value; }
  // The child pop-up (nullptr before first use).
  TATBPopupWindow* ItemPopup() const { return FItemPopup; }
  Integer PopupItem() const { return FPopupItem; }

  void ArrangeItems();
  void InvalidateItem(Integer ItemIndex);
  Integer IndexOfItemAt(Integer X, Integer Y) const;
  // Shows or hides the item's control and tells the toolbar.
  void ToggleCheck(Integer Index);
  void ClickItem(Integer Index);
  // Closes the child pop-up; no item hot.
  void ResetHot();

 protected:
  void Paint() override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Dispatch(TMessage& Message) override;

 private:
  TATBMenuItem* ItemAt(Integer Index) const;
  TAdvCustomToolBar* WindowToolBar() const;
  void DrawItem(Integer Index);
  void DrawCheck(Integer Index, TRect CR);
  void DrawItemImage(TControl* C, const TRect& R);
  void DrawSubMenuArrow(const TRect& BR);
  void ShowItemPopup();
  void HideItemPopup();
  void ItemPopupHidden(TObject* Sender);
  void ItemPopupDeactivated(TObject* Sender);

  TATBMenuItem* FItems = nullptr;
  TCustomAdvMenuStyler* FAdvMenuStyler = nullptr;
  Integer FItemHeight;
  Integer FHotItem = -1;
  Integer FPopupItem = -1;
  bool FShowImageBar = false;
  bool FShowIconBar = false;
  Integer FImageBarSize = 20;
  TColor FImageBarColorTo = clNone;
  TColor FImageBarColor = TColor(0x00808080);
  TATBPopupWindow* FItemPopup = nullptr;  // owned by the panel as component owner
};

}  // namespace toolbar
