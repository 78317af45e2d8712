#pragma once
// TAdvCustomQuickAccessToolBar / TAdvQuickAccessToolBar: the row of small
// command controls a ribbon pager shows beside its caption or, in the
// full-size placement, as a strip below the ribbon. It lines its controls
// up by their Left, moves those that do not fit into a hidden list that an
// overflow pop-up offers behind a small scroll button, and can carry a
// customize button. The rules are in QuickAccessLayout.h; this class copies
// its controls in, runs them and applies the result.
#include <memory>
#include <vector>

#include "controls/AdvGlowButton.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"
#include "ribbon/AdvVistaButton.h"
#include "ribbon/QuickAccessLayout.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/OptionSelector.h"

namespace ribbon {

class TZadEdevAziPager;

// The button that shows the program's icon at the start of the caption row.
class TAppIconGlowButton : public TAdvGlowButton {
 public:
  explicit TAppIconGlowButton(TComponent* AOwner) : TAdvGlowButton(AOwner) {}
};

class TAdvCustomQuickAccessToolBar : public TCustomControl, public toolbar::IQuickAccessButtonHost {
 public:
  explicit TAdvCustomQuickAccessToolBar(TComponent* AOwner);
  ~TAdvCustomQuickAccessToolBar() override;
  void Loaded() override;
  // Only a ribbon pager (or nullptr); another parent raises "Invalid Parent".
  void SetParent(TWinControl* AParent) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Update() override;

  void AddToolBarControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // Frees every content control, shown or hidden. Answers the controls it
  // left alive: hidden ones the application has taken out of the overflow
  // panel since they were hidden (another parent or none: not the
  // toolbar's to free).
  std::vector<TControl*> Clear();
  void BeginUpdate();
  void EndUpdate();

  // The relayout steps the pager calls.
  void UpdateControlPos(bool Resize);
  void UpdateSize();
  void UpdateHiddenControls();
  void BuildControlList();
  void RemoveStaleHiddenControls();
  bool FullSize() const override { return FFullSize; }
  void SetFullSize(bool Value);
  TRect GetButtonsRect() const;
  TRect GetBaseRect() const;
  TRect GetCustomizeButtonRect() const;
  Integer GetNeededWidth() const;
  Integer GetMinWidth() const;
  virtual bool IsOffice2013Style() const;
  // The look the rectangles are computed for.
  TQATLook Look() const;

  // Overflow window.
  void ShowOverflowWindow(Integer X, Integer Y, bool AtPosition);
  void HideOverflowWindow() override;
  toolbar::TOptionSelectorWindow* OverflowWindow() const { return FOverflowWindow; }
  toolbar::TControlSelectorPanel* OverflowWindowPanel() const { return FOverflowWindowPanel; }

  // Shown controls in their order, and those moved out for lack of room.
  const std::vector<TControl*>& ShownControls() const { return FCtrlList; }
  const std::vector<TControl*>& HiddenControls() const { return FHiddenCtrlList; }
  TAdvVistaButton* CustomizeButton() const { return FCustomizeButton; }
  TAdvVistaButton* ScrollButton() const { return FScrollButton; }

  bool ShowCustomizeOption() const { return FShowCustomizeOption; }
  void SetShowCustomizeOption(bool Value);
  const String& CustomizeHint() const { return FCustomizeHint; }
  void SetCustomizeHint(const String& Value);
  TCustomImageList* Images() const override { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* DisabledImages() const override { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  TPopupMenu* DropDownPopupMenu() const { return FDropDownPopupMenu; }
  void SetDropDownPopupMenu(TPopupMenu* Value) { FDropDownPopupMenu = Value; }
  bool AppIconAlphaBlended() const { return FAppIconAlphaBlended; }
  void SetAppIconAlphaBlended(bool Value);

  // --- glass ---
  bool IsAeroVista() const override { return FIsAeroVista; }
  // The pager passes its glass state on (off for good outside a ribbon form).
  void SetIsAeroVista(bool Value);
  TAdvGlowButton* RefGlowButton() const { return FRefGlowButton; }
  // Repaints the reference glow button (else the first content child).
  void InvalidateGlassChildren();

  // --- toolbar::IQuickAccessButtonHost ---
  TWinControl* HostControl() override { return this; }
  toolbar::TCustomZadEdevAziStyler* GetToolBarStyler() override;
  TRect GetControlsRect() override { return GetButtonsRect(); }
  void UpdateLayout() override { Relayout(); }

  TNotifyEvent OnCustomizeClick;

  // --- application icon, styles and tones, key tips, hints of disabled
  // controls (AdvQuickAccessToolBarStyle.cpp) ---
  // Makes the icon button on first use and gives it the program's icon; it
  // shows only in the scenic and flat office looks.
  void UpdateAppIcon();
  TAppIconGlowButton* AppIconButton() const { return FAppIconButton; }
  // The form's system menu under the icon; a quick second click closes the
  // form through its own Close.
  void AppIconButtonClick(TObject* Sender);
  void StylerChanged(Integer Kind);
  // The styler's glow-button appearance and style to every control, shown
  // or moved out to the overflow alike.
  void ApplyStyler();
  void ApplyColorTones(const TColorTones& Tones);
  // Key tips of the shown glow buttons. ProcessShortCutKey clicks the button
  // whose tip is Keys (true), hides the tips that no longer match and counts
  // in Count those that still do.
  void ShowShortCutHints();
  void HideShortCutHints();
  bool ProcessShortCutKey(const String& Keys, Integer& Count);
  void RestorePagerFocus();
  // The control under the pointer, disabled ones included, for their hints.
  TControl* HintCtrl() const { return FHintCtrl; }

 protected:
  void Paint() override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void Dispatch(TMessage& Message) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void RequestAlign() override;

 private:
  bool IsSpecial(const TControl* C) const;
  TZadEdevAziPager* Pager() const;
  // The scenic look of the pager (the process-wide flag without one).
  bool Scenic() const;
  // BuildControlList, UpdateSize, UpdateControlPos(false), UpdateHiddenControls.
  void Relayout();
  void SetScrollButtonVisible(bool Value);
  void ScrollButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void CustomizeButtonClick(TObject* Sender);
  void BuildOverflowWindow();
  void OverflowWindowHide(TObject* Sender);
  void CMControlChange(TMessage& Message);
  void PaintFullSize(TCanvas* C);
  void PaintCaption(TCanvas* C);
  void PaintGlass(TCanvas* C);
  bool AppliesLayout() const;

  bool FFullSize = false;
  bool FShowCustomizeOption = false;
  std::vector<TControl*> FCtrlList;
  std::vector<TControl*> FHiddenCtrlList;
  bool FInternalUpdatingControlPos = false;
  bool FInternalUpdatingSize = false;
  TAdvVistaButton* FCustomizeButton = nullptr;  // owned (component)
  TAdvVistaButton* FScrollButton = nullptr;     // owned (component)
  toolbar::TOptionSelectorWindow* FOverflowWindow = nullptr;      // owned (component)
  toolbar::TControlSelectorPanel* FOverflowWindowPanel = nullptr;  // owned by the window
  TCustomImageList* FDisabledImages = nullptr;
  TCustomImageList* FImages = nullptr;
  Integer FButtonWidth = QATButtonWidth;
  Integer FButtonGap = QATButtonGap;
  TPopupMenu* FDropDownPopupMenu = nullptr;
  Integer FUpdateCount = 0;
  String FCustomizeHint;
  bool FIsAeroVista = false;
  TAdvGlowButton* FRefGlowButton = nullptr;  // owned (component), only on glass
  bool FVisibleChanged = false;
  bool FAppIconAlphaBlended = false;
  bool FIsWin7 = true;
  // Glass drawing switched off for good (the pager is not on a ribbon form).
  bool FNoGlass = false;
  TAppIconGlowButton* FAppIconButton = nullptr;  // owned (component)
  Cardinal FAppButtonTime = 0;
  TControl* FHintCtrl = nullptr;
  void CMHintShow(TMessage& Message);
};

class TAdvQuickAccessToolBar : public TAdvCustomQuickAccessToolBar {
 public:
  explicit TAdvQuickAccessToolBar(TComponent* AOwner) : TAdvCustomQuickAccessToolBar(AOwner) {}
};

// The rectangle the pager keeps for its quick-access toolbar, in pager
// client coordinates: in the caption row after the application button, or
// the strip along the pager's bottom in the full-size placement.
TRect QuickAccessReservedRect(const TZadEdevAziPager* Pager, bool FullSize);

// The pager's quick-access toolbar (its first child of that class), or nullptr.
TAdvCustomQuickAccessToolBar* QuickAccessToolBarOf(const TZadEdevAziPager* Pager);

}  // namespace ribbon
