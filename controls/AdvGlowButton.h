#pragma once
// The glow button: a self-painted push button with a two-part glow face that
// cross-fades between its normal, hot and pressed colours, optional check
// and group (radio) behaviour, a drop-down menu (whole button or a split
// part), repeat-click, key tips, auto-size and size states, and the style
// and colour-tone interfaces.
#include <memory>

#include "controls/AdvGlowButtonActionLink.h"
#include "controls/GlowButtonAppearance.h"
#include "controls/GlowButtonPainter.h"
#include "controls/ShortCutHintWindow.h"
#include "foundation/pictures/AdvHintInfo.h"
#include "foundation/pictures/GDIPPicture.h"
#include "foundation/style/VornStyle.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Icon.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Timer.h"

enum TGlowState { gsHover, gsPush, gsNone };
enum TAdvButtonStyle { bsButton, bsCheck };
enum TAdvButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };
enum TFocusType { ftBorder, ftHot, ftHotBorder, ftNone };
enum TShortCutHintPos {
  shpLeft, shpTop, shpRight, shpBottom, shpCenter, shpAuto, shpTopLeft, shpTopRight, shpAboveTop, shpAboveTopLeft,
  shpAboveTopRight, shpBottomLeft, shpBottomRight, shpBelowBottom, shpBelowBottomLeft, shpBelowBottomRight,
  shpBelowBottomCenter
};
enum TGlowButtonState { gsNormal, gsHot, gsDown };
enum TButtonSizeState { bsGlyph, bsLabel, bsLarge };
enum TImageListType { ipActionList, ipOwnLists };
enum TAutoSizeDirection { asVertical, asHorizontal };

class TAdvCustomGlowButton;
using TGlowButtonDrawEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, TRect Rect, TGlowButtonState State)>;
using TSetButtonSizeEvent = std::function<void(TObject* Sender, Integer& W, Integer& H)>;
using TOnGetShortCutHintPos =
    std::function<void(TObject* Sender, TButtonSizeState ButtonSizeState, TShortCutHintPos& ShortCutHintPosition)>;

class TAdvCustomGlowButton : public TCustomControl, public IVornStyle, public IVornTones {
 public:
  explicit TAdvCustomGlowButton(TComponent* AOwner);
  ~TAdvCustomGlowButton() override;

  // Copies the button properties of another glow button (Down last); the
  // appearance, layout, style, group and drop-down settings are not copied.
  // Any other source: nothing.
  void Assign(TPersistent* Source) override;
  void Loaded() override;
  // The parent form's modal result, the internal click, then OnClick.
  void Click() override;

  // --- virtual operations ---
  virtual void RepeatTimerTick(TObject* Sender);
  virtual void DoAfterPaint() {}
  virtual void DoPaintExtra(TCanvas*, TRect) {}
  virtual void DoGetGlyphBitmap(TBitmap*) {}
  virtual void DoGetPicture(TGDIPPicture*&) {}
  // Packed 2.7.3.4 (major in the high byte).
  virtual Integer GetVersionNr() const;
  virtual bool IsMenuButton() const { return false; }
  virtual bool HasBorder() const { return FBorderStyle == bsSingle; }
  virtual bool ShowFocus();
  // DropDownWidth times the canvas's DPI scale, rounded.
  virtual Integer GetScaledDropDownWidth();
  virtual void SetIsOnRibbon(bool Value) { FIsOnRibbon = Value; }
  virtual bool IsDropDown() const { return false; }
  // A style preset into the appearance (tsCustom changes only UIStyle).
  void SetComponentStyle(TVornStyle AStyle) override;
  // Five tones into the appearance; stops every glow button's animation.
  void SetColorTones(const TColorTones& ATones) override;

  // --- public operations ---
  // Opens DropDownMenu below (ddDown, ddUp) or right of the button; a menu
  // button without a menu is only invalidated.
  void DoDropDown();
  void ShowShortCutHint();
  // The key tip with another text than ShortCutHint (a ribbon level's own).
  void ShowShortCutHintText(const String& Text);
  void HideShortCutHint();
  // The click of a key tip, Enter or an accelerator.
  void KeyboardClick();
  void UpdateAutoSize();
  void SetButtonSizeState(TButtonSizeState State);
  TShortCutHintWindow* ShortCutHintWindow() const { return FShortCutHint.get(); }

  // --- action ---
  TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
  // Links the button to the action (nullptr: unlinks).
  void SetAction(TBasicAction* Value);
  TAdvGlowButtonActionLink* ActionLink() const { return FActionLink.get(); }
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer Value) { FHelpContext = Value; }
  const String& HelpKeyword() const { return FHelpKeyword; }
  void SetHelpKeyword(const String& Value) { FHelpKeyword = Value; }
  THelpType HelpType() const { return FHelpType; }
  void SetHelpType(THelpType Value) { FHelpType = Value; }
  // Answers of the action link's last checked and group-index tests.
  bool FCheckedLinked = false;
  bool FGroupIndexLinked = false;

  // --- properties ---
  TGlowButtonAppearance* Appearance() const { return FAppearance.get(); }
  void SetAppearance(TGlowButtonAppearance* Value);
  gdiplus::TAntiAlias AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(gdiplus::TAntiAlias Value) { if (FAntiAlias != Value) { FAntiAlias = Value; Invalidate(); } }
  void SetAutoSize(bool Value) override;
  TAutoSizeDirection AutoSizeDirection() const { return FAutoSizeDirection; }
  void SetAutoSizeDirection(TAutoSizeDirection Value) { if (FAutoSizeDirection != Value) { FAutoSizeDirection = Value; UpdateAutoSize(); } }
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value) { FBorderStyle = Value; Invalidate(); }
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; FActive = Value; }
  TGDIPPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TGDIPPicture* Value) { FPicture->Assign(Value); Invalidate(); }
  TGDIPPicture* DownPicture() const { return FDownPicture.get(); }
  TGDIPPicture* HotPicture() const { return FHotPicture.get(); }
  TGDIPPicture* DisabledPicture() const { return FDisabledPicture.get(); }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value) { FImageIndex = Value; UpdateAutoSize(); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  TCustomImageList* HotImages() const { return FHotImages; }
  void SetHotImages(TCustomImageList* Value);
  TFocusType FocusType() const { return FFocusType; }
  void SetFocusType(TFocusType Value) { FFocusType = Value; }
  Integer MarginVert() const { return FMarginVert; }
  void SetMarginVert(Integer Value) { if (FMarginVert != Value) { FMarginVert = Value; UpdateAutoSize(); } }
  Integer MarginHorz() const { return FMarginHorz; }
  void SetMarginHorz(Integer Value) { if (FMarginHorz != Value) { FMarginHorz = Value; UpdateAutoSize(); } }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  TStringList* Notes() const { return FNotes.get(); }
  void SetNotes(TStrings* Value) { FNotes->Assign(Value); Invalidate(); }
  TFont* NotesFont() const { return FNotesFont.get(); }
  void SetNotesFont(TFont* Value) { FNotesFont->Assign(Value); Invalidate(); }
  TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  Integer PictureWidth() const { return FPictureWidth; }
  void SetPictureWidth(Integer Value) { if (FPictureWidth != Value) { FPictureWidth = Value; Invalidate(); } }
  Integer PictureHeight() const { return FPictureHeight; }
  void SetPictureHeight(Integer Value) { if (FPictureHeight != Value) { FPictureHeight = Value; Invalidate(); } }
  TButtonPosition Position() const { return FPosition; }
  void SetPosition(TButtonPosition Value) { FPosition = Value; Invalidate(); }
  Integer InitRepeatPause() const { return FInitRepeatPause; }
  void SetInitRepeatPause(Integer Value) { FInitRepeatPause = Value; }
  Integer RepeatPause() const { return FRepeatPause; }
  void SetRepeatPause(Integer Value) { FRepeatPause = Value; }
  bool RepeatClick() const { return FRepeatClick; }
  void SetRepeatClick(bool Value) { FRepeatClick = Value; }
  bool Rounded() const { return FRounded; }
  void SetRounded(bool Value) { if (FRounded != Value) { FRounded = Value; Invalidate(); } }
  const String& ShortCutHint() const { return FShortCutHintText; }
  void SetShortCutHint(const String& Value) { FShortCutHintText = Value; }
  TShortCutHintPos ShortCutHintPos() const { return FShortCutHintPos; }
  void SetShortCutHintPos(TShortCutHintPos Value) { FShortCutHintPos = Value; }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value) { FShowCaption = Value; UpdateAutoSize(); Invalidate(); }
  bool ShowDisabled() const { return FShowDisabled; }
  void SetShowDisabled(bool Value) { FShowDisabled = Value; Invalidate(); }
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value) { if (FSpacing != Value) { FSpacing = Value; Invalidate(); } }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { if (FTransparent != Value) { FTransparent = Value; Invalidate(); } }
  GpStringTrimming Trimming() const { return FTrimming; }
  void SetTrimming(GpStringTrimming Value) { if (FTrimming != Value) { FTrimming = Value; Invalidate(); } }
  // major.minor.release.build; writing it does nothing.
  String Version() const;
  void SetVersion(const String&) {}
  bool UseAppearance() const { return FUseAppearance; }
  void SetUseAppearance(bool Value) { FUseAppearance = Value; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { if (FWordWrap != Value) { FWordWrap = Value; Invalidate(); } }
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TGlowButtonDrawEvent OnDrawButton;
  TNotifyEvent OnDropDown;

  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { if (FAllowAllUp != Value) { FAllowAllUp = Value; UpdateExclusive(); } }
  bool AlwaysShowAccel() const { return FAlwaysShowAccel; }
  void SetAlwaysShowAccel(bool Value) { if (FAlwaysShowAccel != Value) { FAlwaysShowAccel = Value; Invalidate(); } }
  bool Down() const { return FDownChecked; }
  void SetDown(bool Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value) { if (FGroupIndex != Value) { FGroupIndex = Value; UpdateExclusive(); } }
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value) { FLayout = Value; Invalidate(); }
  TAdvButtonStyle Style() const { return FStyle; }
  void SetStyle(TAdvButtonStyle Value) { FStyle = Value; }
  TButtonSizeState MaxButtonSizeState() const { return FMaxButtonSizeState; }
  void SetMaxButtonSizeState(TButtonSizeState Value);
  TButtonSizeState MinButtonSizeState() const { return FMinButtonSizeState; }
  void SetMinButtonSizeState(TButtonSizeState Value);
  TButtonSizeState ButtonSizeState() const { return FButtonSizeState; }
  bool DropDownButton() const { return FDropDownButton; }
  void SetDropDownButton(bool Value) { if (FDropDownButton != Value) { FDropDownButton = Value; AdjustSize(); Invalidate(); } }
  TDropDownPosition DropDownPosition() const { return FDropDownPosition; }
  void SetDropDownPosition(TDropDownPosition Value);
  TDropDownDirection DropDownDirection() const { return FDropDownDirection; }
  void SetDropDownDirection(TDropDownDirection Value) { if (FDropDownDirection != Value) { FDropDownDirection = Value; Invalidate(); } }
  bool DropDownSplit() const { return FDropDownSplit; }
  void SetDropDownSplit(bool Value) { FDropDownSplit = Value; Invalidate(); }
  Integer DropDownWidth() const { return FDropDownWidth; }
  void SetDropDownWidth(Integer Value) { if (FDropDownWidth != Value) { FDropDownWidth = Value; Invalidate(); } }
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* Value);
  TVornStyle UIStyle() const { return FUIStyle; }
  void SetUIStyle(TVornStyle Value) { SetComponentStyle(Value); }
  TAdvButtonState State() const { return FState; }
  void SetState(TAdvButtonState Value) { FState = Value; Invalidate(); }
  bool DroppedDown() const { return FDroppedDown; }
  bool IsOnRibbon() const { return FIsOnRibbon; }
  bool IsRotated() const { return FIsRotated; }
  void SetIsRotated(bool Value) { FIsRotated = Value; }
  const String& WideCaption() const { return FWideCaption; }
  void SetWideCaption(const String& Value);
  bool StaticButton() const { return FStaticButton; }
  void SetStaticButton(bool Value) { FStaticButton = Value; }
  bool DrawSplitLineAlways() const { return FDrawSplitLineAlways; }
  // Also written to the process-wide switch every button reads.
  void SetDrawSplitLineAlways(bool Value);
  bool DoubleClicks() const { return ControlStyle().Contains(csDoubleClicks); }
  void SetDoubleClicks(bool Value);
  bool DesignClicks() const { return FDesignClicks; }
  void SetDesignClicks(bool Value) { FDesignClicks = Value; }

  // Internal state read and written by the toolbar family.
  bool FKeepDown = false;
  bool FInternalIsOnGlassQAT = false;
  bool FDefaultPicDrawing = true;
  bool FDefaultCaptionDrawing = true;
  bool FOverlappedText = false;
  Integer FCommandID = -1;
  bool FCustomizerCreated = false;
  // The list drawn when no other applies (the data-aware button fills it).
  std::unique_ptr<TCustomImageList> FInternalImages;
  // Drawn in place of a picture on a button without text (empty: the picture).
  std::unique_ptr<TIcon> FIcon;
  TImageListType ImageListType() const { return FImageListType; }
  void SetImageListType(TImageListType Value) { if (FImageListType != Value) { FImageListType = Value; UpdateAutoSize(); } }
  TKeyEvent FOnInternalKeyDown;
  TNotifyEvent FOnInternalClick;
  TNotifyEvent FOnInternalDropDown;
  TSetButtonSizeEvent FOnSetButtonSize;
  TOnGetShortCutHintPos FOnGetShortCutHintPos;

  // Run-time state, readable for the toolbar family and tests.
  Integer StepHover() const { return FStepHover; }
  Integer StepPush() const { return FStepPush; }
  TGlowState GlowState() const { return FGlowState; }
  bool GlowTimerRunning() const { return FTimer != nullptr && FTimer->Enabled(); }
  bool Hot() const { return FHot; }

 protected:
  void CreateWnd() override;
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void DoEnter() override;
  void DoExit() override;
  void Dispatch(TMessage& Message) override;
  void WMLButtonDown(TMessage& Message) override;
  void WMLButtonUp(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMSetText(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void CMFocusChanged(TMessage& Message) override;
  void CMButtonPressed(TMessage& Message);
  void CMStyleChanged(TMessage& Message);

  // Takes the action's group index (with CheckDefaults or while 0), image
  // index and checked state; re-measures an auto-sized button.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  void UpdateExclusive();
  void UpdateTracking();
  void AppearanceChanged(TObject* Sender);
  void GlowTimerTick(TObject* Sender);
  void StartGlowTimer(Cardinal Interval);
  void StopGlowTimer();
  // The image list, whether it draws enabled, the image index (an action's
  // replaces it) and the picture for the state. Measuring takes an action's
  // list only for the button's own image index.
  void ChooseGlyph(TCustomImageList*& List, bool& ListEnabled, TGDIPPicture*& Pic, Integer& Index,
                   bool Measure = false);
  // The face inputs for the current state (colours blended while animating).
  // Painting first repairs the state and takes an action's image index;
  // Measure changes nothing of the button.
  TGlowFaceParams FaceParams(TCanvas* Canvas, TFont* TextFont, bool Measure = false);
  // DoDropDown; false when a menu item's handler freed the button.
  bool DropDown();
  // Shows DropDownMenu at its place by the button until it closes; false
  // when the button was freed meanwhile (then nothing of it may be touched).
  bool PopupDropDownMenu();

  // Ownership.
  std::unique_ptr<TGlowButtonAppearance> FAppearance;
  std::unique_ptr<TGDIPPicture> FPicture, FDisabledPicture, FHotPicture, FDownPicture;
  std::unique_ptr<TAdvHintInfo> FOfficeHint;
  std::unique_ptr<TStringList> FNotes;
  std::unique_ptr<TFont> FNotesFont;
  std::unique_ptr<TChangeLink> FImageChangeLink, FDisabledImageChangeLink, FHotImageChangeLink;
  std::unique_ptr<TTimer> FTimer;
  std::unique_ptr<TTimer> FRepeatTimer;
  std::unique_ptr<TShortCutHintWindow> FShortCutHint;
  std::unique_ptr<TAdvGlowButtonActionLink> FActionLink;
  Integer FHelpContext = 0;
  String FHelpKeyword;
  THelpType FHelpType = htKeyword;

  // Properties.
  gdiplus::TAntiAlias FAntiAlias = gdiplus::aaClearType;
  TAutoSizeDirection FAutoSizeDirection = asVertical;
  TBorderStyle FBorderStyle = bsSingle;
  bool FCancel = false, FDefault = false;
  Integer FImageIndex = -1;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
  TCustomImageList* FHotImages = nullptr;
  TFocusType FFocusType = ftBorder;
  Integer FMarginVert = 1, FMarginHorz = 1;
  TModalResult FModalResult = mrNone;
  Integer FPictureWidth = -1, FPictureHeight = -1;
  TButtonPosition FPosition = bpStandalone;
  Integer FInitRepeatPause = 400, FRepeatPause = 100;
  bool FRepeatClick = false;
  bool FRounded = true;
  String FShortCutHintText;
  TShortCutHintPos FShortCutHintPos = shpTop;
  bool FShowCaption = true, FShowDisabled = true;
  Integer FSpacing = 2;
  bool FTransparent = false;
  GpStringTrimming FTrimming = StringTrimmingNone;
  bool FUseAppearance = false;
  TImageListType FImageListType = ipActionList;
  bool FWordWrap = true;
  bool FAllowAllUp = false, FAlwaysShowAccel = false;
  Integer FGroupIndex = 0;
  TButtonLayout FLayout = blGlyphLeft;
  TAdvButtonStyle FStyle = bsButton;
  TButtonSizeState FMaxButtonSizeState = bsLarge, FMinButtonSizeState = bsGlyph, FButtonSizeState = bsLarge;
  bool FDropDownButton = false;
  TDropDownPosition FDropDownPosition = dpRight;
  TDropDownDirection FDropDownDirection = ddDown;
  bool FDropDownSplit = true;
  Integer FDropDownWidth = 14;
  TPopupMenu* FDropDownMenu = nullptr;
  TVornStyle FUIStyle = tsCustom, FCompStyle = tsCustom;
  bool FIsOnRibbon = false, FIsRotated = false;
  String FWideCaption;
  bool FStaticButton = false;
  bool FDrawSplitLineAlways = false;
  bool FDesignClicks = false;

  // Run-time state.
  TAdvButtonState FState = absUp;
  bool FDownChecked = false, FInitialDown = false, FHasInitialDown = false;
  bool FDown = false, FMouseDown = false, FLeftDown = false, FDragging = false;
  bool FHot = false, FMouseEnter = false, FMouseInControl = false, FHasMouse = false, FInButton = false;
  bool FHasFocus = false;
  TGlowState FGlowState = gsNone;
  Integer FStepHover = 0, FStepPush = 0, FTimeInc = 20;
  bool FActive = false, FGotDownKey = false, FGotButtonClick = false, FCheckBeforeAction = false;
  bool FDoAutoSize = false, FFirstPaint = true, FPainting = false;
  TButtonLayout FOldLayout = blGlyphLeft;
  TDropDownPosition FOldDropDownPosition = dpRight;
  bool FUsingStyles = false;
  bool FDroppedDown = false;
  bool FLoadedFlag = false;
};

class TAdvGlowButton : public TAdvCustomGlowButton {
 public:
  using TAdvCustomGlowButton::TAdvCustomGlowButton;
  // The size the button would need in State, without changing it.
  void CalcSizeForState(TButtonSizeState State, TPoint& Size);
};

// True when the object's declared class, or one of its ancestors, is named
// Name in the type information (classes this library does not know are
// told apart by name only).
bool GlowIsClass(const TObject* Object, StringView Name);
// Declares the glow button classes to the type information.
void RegisterGlowButtonClasses();
