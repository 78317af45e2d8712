#pragma once
// The toolbar button: a windowless push, check or drop-down button that
// lives on a toolbar, on a quick-access toolbar or in a toolbar's option
// popup, with radio groups, a split drop-down section, automatic disabled
// glyph and hot shade, automatic size, and its painting for every state;
// the menu-bar button a toolbar makes for each item of its main menu; the
// fixed drawing offsets of a button; and the action link between a button
// and an action.
//
// States: absUp at rest; absDown while pressed (and a down check button);
// absExclusive while latched in a group; absDropDown while a menu button's
// menu drops; absDisabled whenever the control is disabled (set by Paint).
// The hot look is a flag beside the state (Hot), allowed only in absUp.
#include <memory>

#include "controls/AdvGlowButton.h"  // TAdvButtonState, shared with the glow button
#include "foundation/pictures/AdvHintInfo.h"
#include "menus/AdvMenus.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Bitmap.h"
#include "platform/vcl/Graphic.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Timer.h"
#include "toolbar/AdvToolBarControl.h"
#include "toolbar/shared/ToolBarAppearance.h"

namespace toolbar {

class TAdvCustomToolBar;
class TCustomZadEdevAziStyler;
class TAdvCustomToolBarButton;
class IQuickAccessButtonHost;

// The ribbon library, which knows the quick-access toolbar's class, installs
// the routine that answers its button interface; without one, buttons see
// no quick-access toolbar.
using TQuickAccessHostResolver = IQuickAccessButtonHost* (*)(ribbon::TAdvQuickAccessToolBar*);
void SetQuickAccessHostResolver(TQuickAccessHostResolver Resolver);

// What a toolbar button asks of the quick-access toolbar it belongs to. The
// quick-access toolbar lives in the ribbon library above this one and
// implements it.
class IQuickAccessButtonHost {
 public:
  // The quick-access toolbar as a control (the buttons' usual parent).
  virtual TWinControl* HostControl() = 0;
  virtual TCustomImageList* Images() const = 0;
  virtual TCustomImageList* DisabledImages() const = 0;
  virtual TCustomZadEdevAziStyler* GetToolBarStyler() = 0;
  // Drawn on the glass caption.
  virtual bool IsAeroVista() const = 0;
  virtual bool FullSize() const = 0;
  // The rectangle its controls are laid out in.
  virtual TRect GetControlsRect() = 0;
  // Re-layout and repaint.
  virtual void UpdateLayout() = 0;
  virtual void HideOverflowWindow() = 0;

 protected:
  ~IQuickAccessButtonHost() = default;
};

enum TAdvToolButtonStyle { tasButton, tasCheck };
enum TRotateDirection { rdNormal, rdReverse };

// Fixed caption and image offsets of a button, used instead of the computed
// layout while Enabled.
class TZadEdevAziButtonDrawPosition : public TPersistent {
 public:
  TZadEdevAziButtonDrawPosition() = default;
  // From another draw position: the five values, without OnChange; any other
  // source (nullptr included) is ignored.
  void Assign(TPersistent* Source) override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { SetValue(FEnabled, Value); }
  Integer TextX() const { return FTextX; }
  void SetTextX(Integer Value) { SetValue(FTextX, Value); }
  Integer TextY() const { return FTextY; }
  void SetTextY(Integer Value) { SetValue(FTextY, Value); }
  Integer ImageX() const { return FImageX; }
  void SetImageX(Integer Value) { SetValue(FImageX, Value); }
  Integer ImageY() const { return FImageY; }
  void SetImageY(Integer Value) { SetValue(FImageY, Value); }
  // Fired after a setter changed a value.
  TNotifyEvent OnChange;

 private:
  template <class T>
  void SetValue(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    if (OnChange) OnChange(this);
  }
  bool FEnabled = false;
  Integer FTextX = 0, FTextY = 0, FImageX = 0, FImageY = 0;
};

// Couples a toolbar button to an action: Checked to Down, GroupIndex and
// ImageIndex.
class TZadEdevAziButtonActionLink : public TControlActionLink {
 public:
  void AssignClient(TObject* AClient) override;
  // Linked while an action is set. (The action's Checked is not compared with
  // the button's Down: once the two had differed, an equality test would cut
  // the button off from every later change of the action.)
  bool IsCheckedLinked() override;
  // A client exists and the action's group index equals the button's.
  bool IsGroupIndexLinked() override;
  // The button's Down follows (latch rules of SetDown).
  void SetChecked(bool Value) override;
  void SetGroupIndex(Integer Value) override;
  // Repaints: painting reads the action's image index itself.
  void SetImageIndex(Integer Value) override;
  // The button's Enabled follows.
  void SetEnabled(bool Value) override;

 protected:
  TAdvCustomToolBarButton* FClient = nullptr;
};

class TAdvCustomToolBarButton : public TAdvCustomToolBarControl {
 public:
  explicit TAdvCustomToolBarButton(TComponent* AOwner);
  ~TAdvCustomToolBarButton() override;

  void Loaded() override;
  // On a toolbar: its option window hides first, then the action or OnClick,
  // then the button moves up in the recently-used order and the toolbar
  // re-arranges and updates its hidden controls.
  void Click() override;
  // The content size (image, caption, margins, drop-down section) and the
  // toolbar it sits on; only with a parent and AutoSize.
  void AdjustSize() override;
  void SetAutoSize(bool Value) override;

  // --- painting (see AdvToolBarButtonPaint.cpp) ---
  // Background, frame, open-menu frame and drop-down arrow on ACanvas over
  // the client rectangle, then DrawGlyphAndText.
  virtual void DrawButton(TCanvas* ACanvas);
  // Image and caption inside ARect; AGlyph is the state bitmap (nullptr or
  // empty for none), ATextColor the caption colour (clNone: no caption).
  virtual void DrawGlyphAndText(TCanvas* ACanvas, TRect ARect, TBitmap* AGlyph, TColor ATextColor);
  bool IsMenuButton() const override { return false; }
  bool IsToolBarButton() const override { return true; }
  // Packed 6.8.3.7 (major in the top byte).
  virtual Integer GetVersionNr() const;
  String Version() const;
  void SetVersion(const String&) {}
  // clBtnShadow: no style services are ever active here.
  static TColor GetDisabledTextColor();

  // --- operations other parts call ---
  // A menu button only: absDropDown, then CheckMenuDropdown.
  void DoDropDown();
  // What the toolbar's DropDownMenuButton answers for this button when it
  // has an auto-popup drop-down menu or a menu item and a toolbar; else false.
  virtual bool CheckMenuDropdown();
  // Rebuilds the hot shade from the image list image or Glyph.
  void CreateGlyphShade() override;
  // Binds the button to a main-menu item (nullptr clears the binding) and
  // takes its action, caption, checked state, enabled state, hint, image
  // index and visibility.
  void SetMenuItem(TMenuItem* AItem);
  TMenuItem* MenuItem() const { return FMenuItem; }
  void SetGrouped(bool Value) { FGrouped = Value; }
  bool Grouped() const { return FGrouped; }
  void SetFlat(bool Value) { FFlat = Value; }
  bool Flat() const { return FFlat; }
  TAdvButtonState State() const { return FState; }
  void SetState(TAdvButtonState Value) { FState = Value; }
  // Pressed, inside and hot flags false, state absUp, repaint.
  void ResetHotState();
  // Visible items of DropDownMenu, else visible sub-items of MenuItem; 0 without either.
  Integer VisibleMenuItemCount() const;
  bool Hot() const { return FPropHot; }
  void SetHot(bool Value);
  void SetForceImageIndex(bool Value) { FForceImageIndex = Value; }
  bool ForceImageIndex() const { return FForceImageIndex; }
  // Position in the owning toolbar's control list; -1 without a toolbar.
  Integer Index() const;
  void SetPosition(TDockAlign Value) override;

  // --- action ---
  TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
  // Links the button to the action (nullptr unlinks).
  void SetAction(TBasicAction* Value);
  TZadEdevAziButtonActionLink* ActionLink() const { return FActionLink.get(); }

  // --- properties ---
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  TButtonAppearance* Appearance() const { return FAppearance.get(); }
  void SetAppearance(TButtonAppearance* Value) { FAppearance->Assign(Value); }
  bool CanRotate() const override { return FCanRotate; }
  void SetCanRotate(bool Value);
  TGlyphPosition GlyphPosition() const { return FGlyphPosition; }
  void SetGlyphPosition(TGlyphPosition Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool DropDownButton() const { return FDropDownButton; }
  void SetDropDownButton(bool Value);
  TAdvPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TAdvPopupMenu* Value);
  bool DropDownSplit() const { return FDropDownSplit; }
  void SetDropDownSplit(bool Value) { FDropDownSplit = Value; }
  TZadEdevAziButtonDrawPosition* DrawPosition() const { return FDrawPosition.get(); }
  void SetDrawPosition(TZadEdevAziButtonDrawPosition* Value) { FDrawPosition->Assign(Value); }
  TBitmap* Glyph() const { return FGlyph.get(); }
  // Copies; fills an empty GlyphDisabled with a grey copy.
  void SetGlyph(TBitmap* Value);
  TBitmap* GlyphHot() const { return FGlyphHot.get(); }
  void SetGlyphHot(TBitmap* Value) { FGlyphHot->Assign(Value); }
  TBitmap* GlyphDown() const { return FGlyphDown.get(); }
  void SetGlyphDown(TBitmap* Value) { FGlyphDown->Assign(Value); }
  TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
  void SetGlyphDisabled(TBitmap* Value) { FGlyphDisabled->Assign(Value); }
  TBitmap* GlyphChecked() const { return FGlyphChecked.get(); }
  void SetGlyphChecked(TBitmap* Value) { FGlyphChecked->Assign(Value); }
  TBitmap* GlyphShade() const { return FGlyphShade.get(); }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value);
  TPicture* PictureDisabled() const { return FPictureDisabled.get(); }
  void SetPictureDisabled(TPicture* Value);
  bool ParentStyler() const { return FParentStyler; }
  void SetParentStyler(bool Value);
  bool Shaded() const { return FShaded; }
  void SetShaded(bool Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TAdvHintInfo* Value) { FOfficeHint->Assign(Value); }
  TRotateDirection RotateDirection() const { return FRotateDirection; }
  void SetRotateDirection(TRotateDirection Value);
  TAdvToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TAdvToolButtonStyle Value) { FStyle = Value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  Integer Spacing() const { return FSpacing; }
  Integer OffSet() const { return FOffSet; }
  Integer InternalTag() const { return FInternalTag; }
  void SetInternalTag(Integer Value) { FInternalTag = Value; }
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value) { FAutoThemeAdapt = Value; }
  bool Rounded() const { return FRounded; }
  void SetRounded(bool Value) { FRounded = Value; }
  Integer DropDownSectWidth() const { return FDropDownSectWidth; }
  Integer CommandID() const { return FCommandID; }

  TNotifyEvent OnDropDown;

  // --- run-time state, read by the toolbar family and by tests ---
  bool MouseInControl() const { return FMouseInControl; }
  bool MouseDownInControl() const { return FMouseDownInControl; }
  bool Dragging() const { return FDragging; }
  bool MenuSel() const { return FMenuSel; }
  bool UnHotTimerRunning() const { return FUnHotTimer->Enabled(); }
  Cardinal UnHotTimerInterval() const { return FUnHotTimer->Interval(); }
  // Menu-bar bookkeeping the toolbar sets.
  bool FInternalClick = false;
  bool FMenuBeingClosed = false;
  bool FMenuDisplayed = false;

 protected:
  friend class TZadEdevAziButtonActionLink;
  friend class TZadEdevAziCustomizer;
  friend class TCustomizerController;

  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Dispatch(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMHintShow(TMessage& Message) override;
  void CMButtonPressed(TMessage& Message);
  // Takes the action's group index (with CheckDefaults or while 0), image
  // index and checked state.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  void NotifyGroupMembers();
  // A flat, enabled button asks which control is under the cursor and acts
  // as on CM_MOUSEENTER or CM_MOUSELEAVE.
  void UpdateMouseTracking();
  void UnHotTimerTick(TObject* Sender);
  // Hot := False unless the toolbar's menu bar holds the keyboard in its loop.
  void LeaveHot();
  // Invalidate and OnDropDown.
  void DropDownPressed();
  // Shows DropDownMenu below the button until it closes; false when the
  // button was freed meanwhile.
  bool PopupDropDownMenu();
  void GlyphChanged(TObject* Sender);
  // A press at (X, Y) in the drop-down arrow section.
  bool InArrowSection(Integer X, Integer Y) const;
  // Rotated with a vertical toolbar.
  bool IsVertical() const;

  // --- what painting and sizing share ---
  // The current styler: the toolbar's, else the quick-access toolbar's; nullptr when none.
  TCustomZadEdevAziStyler* CurrentStyler() const;
  // The image list and index the button shows (an action's may replace the button's own).
  void GetImageSource(TCustomImageList*& List, Integer& Index, bool Painting) const;
  // Selects the caption font on ACanvas (scaled by S unless told not to).
  void SelectCaptionFont(TCanvas* ACanvas, float S, bool Scale) const;
  bool OnGlass() const;
  // The quick-access toolbar the button belongs to, nullptr when none.
  IQuickAccessButtonHost* QuickAccessHost() const;
  // The face once its colours are chosen: background, frames, open-menu
  // frame, arrow, then image and caption in M.
  void PaintFace(TCanvas* ACanvas, const TRect& R, const TRect& M, const TRect& D, TColor C1, TColor C2, TColor DC1,
                 TColor DC2, TColor B, bool Horizontal, TColor T, TColor ArrowColor, TBitmap* G, bool Vertical,
                 bool Glass);
  // The arrow in the drop-down section D.
  virtual void DrawDropArrow(TCanvas* ACanvas, const TRect& D, TColor Color, bool Glass);
  // One image source at (K, J), with the hot shade under it.
  void DrawImage(TCanvas* ACanvas, TCustomImageList* List, Integer Index, bool DisabledList, TBitmap* AGlyph,
                 bool UsePicture, Integer K, Integer J, bool Glass);
  // DrawText with the canvas's font and colour on a clear background.
  static Integer DrawTextOn(TCanvas* ACanvas, const String& Text, TRect& R, UINT Format);

  Integer FGroupIndex = 0;
  std::unique_ptr<TBitmap> FGlyph, FGlyphDisabled, FGlyphHot, FGlyphDown, FGlyphChecked, FGlyphShade;
  bool FDown = false;
  TRotateDirection FRotateDirection = rdNormal;
  bool FAllowAllUp = false;
  Integer FSpacing = 4;
  bool FTransparent = true;
  Integer FOffSet = 4;
  bool FFlat = true;
  bool FMouseInControl = false;
  bool FHot = false;
  bool FMenuSel = false;
  bool FShaded = true;
  TAdvToolButtonStyle FStyle = tasButton;
  bool FDropDownButton = false;
  bool FAutoThemeAdapt = false;
  TAdvPopupMenu* FDropDownMenu = nullptr;
  bool FRounded = false;
  bool FParentStyler = true;
  TAdvButtonState FState = absUp;
  TGlyphPosition FGlyphPosition = gpLeft;
  bool FMouseDownInControl = false;
  Integer FDropDownSectWidth = 12;
  bool FGrouped = true;
  TMenuItem* FMenuItem = nullptr;
  Integer FImageIndex = -1;
  bool FShadedForGlyph = false;
  bool FDragging = false;
  std::unique_ptr<TButtonAppearance> FAppearance;
  bool FShowCaption = false;
  bool FPropHot = false;
  std::unique_ptr<TPicture> FPicture, FPictureDisabled;
  std::unique_ptr<TTimer> FUnHotTimer;
  std::unique_ptr<TZadEdevAziButtonDrawPosition> FDrawPosition;
  bool FInitialDown = false;
  bool FHasInitialDown = false;
  Integer FInternalTag = 0;
  std::unique_ptr<TAdvHintInfo> FOfficeHint;
  bool FDropDownSplit = true;
  bool FForceImageIndex = false;
  bool FCanRotate = true;
  bool FToolBarCreated = false;
  bool FCustomizerCreated = false;
  Integer FCommandID = -1;
  std::unique_ptr<TZadEdevAziButtonActionLink> FActionLink;
  // True while painting draws an image: the image's own change notices
  // (made transparent for drawing) do not re-size the button.
  bool FPaintingImage = false;
};

// The published class.
class TZadEdevAziButton : public TAdvCustomToolBarButton {
 public:
  using TAdvCustomToolBarButton::TAdvCustomToolBarButton;
};

// The button a toolbar's menu bar makes for a main-menu item: menu colours
// from the styler's menu styler, a drop-down section that is not scaled.
class TZadEdevAziMenuButton : public TAdvCustomToolBarButton {
 public:
  explicit TZadEdevAziMenuButton(TComponent* AOwner);
  bool IsMenuButton() const override { return true; }
  void DrawButton(TCanvas* ACanvas) override;
  // The 5-3-1 arrow with its apex at (a + 2, b + 2), pointing down (also on
  // vertical toolbars, where the menu opens below the button as well).
  static void DrawMenuArrow(TCanvas* ACanvas, Integer a, Integer b, TColor Color);

 protected:
  void DrawDropArrow(TCanvas* ACanvas, const TRect& D, TColor Color, bool Glass) override;
};

// Declares the button classes to the type information (after the toolbar's).
void RegisterToolBarButtonClasses();

// How often the un-hot check looks at the pointer while it rests on a
// button: the layer sends CM_MOUSELEAVE itself, so the poll is only a
// fallback and need not wake the thread every millisecond.
constexpr Cardinal UnHotPollInterval = 100;

}  // namespace toolbar
