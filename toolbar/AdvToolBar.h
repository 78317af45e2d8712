#pragma once
// TAdvCustomToolBar: the dockable toolbar. It owns its child controls' order
// (the control list), draws with the styler assigned to it or its own
// internal one, lays its controls out in every placement and measures
// itself, and paints background, caption, grip, right handle and border.
// TZadEdevAzi is the class forms place; it adds no behaviour.
//
// Where a toolbar lives: docked in a dock panel's row, floating in its own
// window, or fixed on any other parent (form, ribbon page, compact window).
// The geometry rules are in AdvToolBarLayout.h.
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "controls/AdvGlowButton.h"
#include "foundation/gdiplus/LookFlags.h"
#include "foundation/pictures/AdvHintInfo.h"
#include "foundation/pictures/GDIPPicture.h"
#include "foundation/style/VornStyle.h"
#include "platform/rtl/List.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/Strings.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/Timer.h"
#include "toolbar/AdvToolBarControl.h"
#include "toolbar/AdvToolBarLayout.h"
#include "toolbar/StyledControl.h"
#include "toolbar/ToolBarPersistence.h"
#include "toolbar/ZadEdevAziStyler.h"

class TAdvPopupMenu;
class TAdvGlowButton;

namespace ribbon {
class TGroupAppearance;
class TToolBarAppearance;
}  // namespace ribbon

namespace toolbar {

class TAdvDockPanel;
class TFloatingWindow;
class TOptionSelectorWindow;
class TControlSelectorPanel;
class TCompactWindow;
class TZadEdevAziCustomizer;
class TAdvCustomToolBarButton;

enum TToolBarState { tsDocked, tsFloating, tsFixed };

// Posted by a toolbar to itself: the room check a paint asked for.
constexpr UINT WM_ATBRESTOREHIDDEN = WM_APP + 0x141;
using TDockableTo = TSet<TDockAlign>;
enum TDockMode { dmAll, dmAllParentDockPanels, dmParentDockPanelOnly };
using TAntiAlias = gdiplus::TAntiAlias;
using gdiplus::aaAntiAlias;
using gdiplus::aaClearType;
using gdiplus::aaNone;

using TOptionEvent = std::function<void(TObject* Sender, TPoint ClientPoint, TPoint ScreenPoint)>;
using TDockedEvent = std::function<void(TObject* Sender, TAdvDockPanel* AdvDockPanel)>;
using TCanFloatEvent = std::function<void(TObject* Sender, bool& Allow)>;
using TControlVisibleChange = std::function<void(TObject* Sender, TControl* AControl)>;

// What a toolbar asks of the ribbon page it stands on. The page lives in a
// higher library and implements this beside its class; every answer
// concerns the page's pager (or the pager of the minimized-ribbon window
// that shows the page).
class IToolBarPage {
 public:
  // The page stands on a pager (or a minimized-ribbon window with one).
  virtual bool HasPager() const = 0;
  // The styler a toolbar with ParentStyler takes from the pager, nullptr
  // when it keeps its own (the pager has no ToolBarStyler of its own).
  virtual TCustomZadEdevAziStyler* PagerToolBarStyler() const = 0;
  // The pager has a ToolBarStyler assigned.
  virtual bool PagerHasToolBarStyler() const = 0;
  virtual TVornStyle PagerUIStyle() const = 0;
  // The pager's flat tones look is on.
  virtual bool PagerUsesTones() const = 0;
  virtual Integer PagerPPI() const = 0;
  // The page is the pager's active one.
  virtual bool IsActivePage() const = 0;
  // The pager draws its tabs on glass.
  virtual bool PagerIsOnGlass() const = 0;
  // The appearance of the tab group the page's tab is in; nullptr outside
  // one (and in the Office 2013 look, and on an inactive page).
  virtual ribbon::TGroupAppearance* TabGroupAppearance() const = 0;
  // The pager's toolbar colours in the tones look.
  virtual ribbon::TToolBarAppearance* PagerToolBarAppearance() const = 0;
  virtual TColor PagerToolBarCaptionTextColor() const = 0;
  // The pager's glow-button look (the caption option indicator takes its
  // hot and down colours in the tones look).
  virtual TGlowButtonAppearance* PagerGlowButtonAppearance() const = 0;
  // The pager's option picture (Disabled: its disabled one), nullptr when none.
  virtual TGDIPPicture* PagerOptionPicture(bool Disabled) const = 0;
  // A pixel of the page (its coordinates), for the toolbar's faked corners.
  virtual TColor PageCanvasPixel(Integer X, Integer Y) const = 0;
  // The toolbars standing on the page, in order.
  virtual Integer ToolBarIndexOf(const TAdvCustomToolBar* ToolBar) const = 0;
  virtual Integer ToolBarCount() const = 0;
  // Moves a toolbar in the page's list and re-arranges the page.
  virtual void MoveToolBar(Integer FromIndex, Integer ToIndex) = 0;
  // Fits the page's toolbars to its width again (a toolbar's Compact
  // property changed).
  virtual void UpdateAllToolBars() {}
  // --- keyboard and key tips of the page's toolbars (AdvToolBarKeys.cpp) ---
  // The toolbar at Index in the page's order, nullptr outside the list.
  virtual TAdvCustomToolBar* ToolBarAt(Integer) const { return nullptr; }
  // The key tips of the page's toolbars (or of a clone below them) show.
  virtual bool ToolBarKeyTipsShowing() const { return false; }
  // A key while they show; true when key-tip mode took it.
  virtual bool ToolBarKeyTipKey(Word) { return false; }
  // The compact toolbar's clone shows its buttons' tips as the next level.
  virtual void ShowCloneKeyTips(TAdvCustomToolBar*) {}
  // Escape from the toolbars: the tips of the page's toolbars again.
  virtual void ShowToolBarsKeyTips() {}
  // A key tip ran its button: the focus goes back where it was.
  virtual void KeyTipUsed() {}
  // Escape or Up: the pager's tabs take the focus.
  virtual void FocusPagerTabs() {}
  // The floating ribbon that may show the page is hidden.
  virtual void HideFloatingRibbon() {}
  // The page is shown in the minimized ribbon's floating window.
  virtual bool InFloatingRibbon() const { return false; }
  // A compact window closed; Button: the compact button that opened it. The
  // pager opens the compact button now under the pointer, if another.
  virtual void CompactWindowClosed(TAdvGlowButton*) {}
  // The pager shows the hints of disabled controls.
  virtual bool PagerShowsDisabledControlsHint() const { return false; }
  // --- The floating ribbon: the page shown in the minimised ribbon's pop-up ---
  // The pop-up would hide when it loses the activation now.
  virtual bool FloatingRibbonCanHide() { return false; }
  // Holds the pop-up's hiding on deactivation off (false) or gives it back.
  virtual void SetFloatingRibbonHideOnDeActivate(bool) {}

 protected:
  ~IToolBarPage() = default;
};

class TAdvCustomToolBar : public TCustomControl, public IStyledControl, public IVornStyleEx, public virtual IVornStyle {
  // The dock panel keeps FCurrentDock and the layout-loaded flag, and fits
  // hidden controls after placing a toolbar.
  friend class TAdvDockPanel;

 public:
  explicit TAdvCustomToolBar(TComponent* AOwner);
  ~TAdvCustomToolBar() override;
  void Loaded() override;

  // --- IStyledControl ---
  TStyledControlKind StyledControlKind() const override { return TStyledControlKind::ToolBar; }
  // The styler's change receiver (see Algorithms of the styler's kinds).
  void StylerChanged(Integer AKind) override;
  TCustomZadEdevAziStyler* ToolBarStyler() const override { return FToolBarStyler; }
  void SetToolBarStyler(TCustomZadEdevAziStyler* Value) override;
  IStyledControl* CompactClone() override;

  // --- IVornStyle / IVornStyleEx ---
  void SetComponentStyle(TVornStyle AStyle) override;
  void SetComponentStyleAndAppColor(TVornStyle AStyle, TColor AAppColor) override;

  // --- version ---
  virtual Integer GetVersionNr() const { return 0x06080307; }
  String Version() const;
  void SetVersion(const String&) {}

  // Settles the placement state (docked, floating, fixed) and the styler.
  void SetParent(TWinControl* AParent) override;

  // --- geometry (AdvToolBarLayout.h holds the rules) ---
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  TRect ClientRect() const override { return TCustomControl::ClientRect(); }
  void ArrangeControls(bool AMeasure);
  void UpdateSize();
  Integer GetFloatingThickness(bool AFloating);
  void GetMaxControlSize(Integer& W, Integer& H);
  void GetMaxOtherControlSize(Integer& W, Integer& H);
  void GetMaxButtonSize(Integer& L, Integer& T);
  void SetDockPosition(TDockAlign AValue);
  void UpdateSeparators();
  TRect GetCaptionRect();
  TRect GetControlsRect();
  TRect GetCloseButtonRect();
  TRect GetOptionButtonRect();
  TRect GetCaptionOptionRect();
  TRect GetRightHandleRect();
  TRect GetDragGripRect();
  // The description of this toolbar and its controls the rules work on.
  TToolBarFrame LayoutFrame() const;
  TToolBarParts PartsFrame() const;
  bool IsArrangedControl(TControl* AControl) const;
  Integer GetShrinkRoom() const;
  Integer GetGrowRoom() const;
  void SetRow(Integer Value) { FRow = Value; }
  Integer Row() const { return FRow; }
  void SetAllowBoundChange(bool Value) { FAllowBoundChange = Value; }
  bool AllowBoundChange() const { return FAllowBoundChange; }
  void SetPopupIndicatorWidth(Integer Value) { FPopupIndicatorWidth = Value; }
  Integer PopupIndicatorWidth() const { return FPopupIndicatorWidth; }
  Integer DragGripWidth() const { return FDragGripWidth; }
  Integer MinLength() const { return FMinLength; }
  Integer MaxLength() const { return FMaxLength; }
  Integer SizeAtDock() const { return FSizeAtDock; }
  TDockAlign Position() const { return FPosition; }
  bool IsHorizontal() const { return FPosition == daTop || FPosition == daBottom; }

  // --- styler ---
  void SetParentStyler(bool Value);
  bool ParentStyler() const { return FParentStyler; }
  TCustomZadEdevAziStyler* CurrentToolBarStyler() const { return FCurrentToolBarStyler; }
  TCustomZadEdevAziStyler* InternalToolBarStyler() const { return FInternalToolBarStyler.get(); }
  void ApplyStylerToControls();
  void HookGlowButtons();
  void ApplyPagerTones();
  void SetGlowButtonsTransparent();
  void UpdateGlowButtonSizes();
  void InvalidateContainers();
  bool PagerUsesTones() const;
  // The ribbon page the toolbar stands on (the page context), nullptr when none.
  IToolBarPage* GetPage() const;
  TDragGripStyle DragGripStyle() const;
  void SetDragGripStyle(TDragGripStyle Value);
  TVornStyle UIStyle() const { return FVornStyle; }
  void SetUIStyle(TVornStyle Value);
  // Records the style only; the pager hands its style to its page toolbars this way.
  void StoreUIStyle(TVornStyle Value) { FVornStyle = Value; }

  // --- control list ---
  void BuildControlList();
  void BuildSequenceList(TDbgList* AList, bool AVisibleOnly);
  void ControlInserted(TControl* AControl);
  void ControlRemoved(TControl* AControl);
  // ControlRemoved for a component that is being freed (by address).
  void ForgetComponent(TComponent* AComponent);
  void ControlRepositioned(TControl* AControl);
  Integer FindControlInsertIndex(Integer Index, Integer X, Integer Y);
  Integer ReorderControl(Integer Index, Integer X, Integer Y);
  Integer ToolBarControlCount() const;
  TControl* GetToolBarControls(Integer Index) const;
  Integer IndexOfToolBarControl(TControl* AControl) const;
  Integer AddToolBarControl(TControl* AControl);
  void InsertToolBarControl(Integer Index, TControl* AControl);
  void MoveToolBarControl(Integer FromIndex, Integer ToIndex);
  void EnableAllControls(bool Value);
  void UpdateImagesShade();
  void SetButtonsRotated(bool ARotated);
  void AdjustMenuButtons(bool MenuButtonsOnly);
  // The recently-used and hidden lists (the hiding of rarely used controls reads them).
  TDbgList* RUControls() const { return FRUControls.get(); }
  TDbgList* LUHidedControls() const { return FLUHidedControls.get(); }
  TDbgList* SeqControlList() const { return FSeqControlList.get(); }

  // --- rarely used controls (AdvToolBarHidden.cpp) ---
  // A docked toolbar too short for its controls hides the least recently
  // used ones and brings the most recently hidden back when room returns.
  virtual void UpdateHiddenControls();
  void RestoreAllHiddenControls();
  // Marks AControl as used, then hides or restores to fit.
  void MoveUpInRUList(TControl* AControl);
  void DoMoveUpInRUList(TControl* AControl);
  // The room check a paint asks for; it runs after the paint, never inside
  // it (re-parenting from a paint would change what is being painted).
  virtual void RestoreHiddenIfRoom();
  // Fills the option popup with the hidden controls and its entries.
  virtual void UpdateOptionWindow();
  void ShowOptionWindow(Integer X, Integer Y, bool AtPoint);
  void HideOptionWindow();
  void OptionIndicatorClick();
  void CaptionOptionClick();
  TOptionSelectorWindow* OptionWindow() const { return FOptionWindow; }
  TControlSelectorPanel* OptionWindowPanel() const { return FOptionWindowPanel; }
  // Gives the focus back to the control that had it before the option
  // popup showed, and forgets it.
  void RestorePrevActiveControl();

  // --- compact mode (AdvToolBarCompact.cpp) ---
  // On a ribbon page: collapses the toolbar into its compact button, its
  // controls moving into a clone that the compact window shows (true), or
  // brings them back in the order they had before (false). Ignored off a
  // page, before the properties are loaded, while the application holds the
  // toolbar compact, and when nothing changes.
  virtual void ChangeCompact(bool Compact);
  // The page may compact or expand the toolbar (the application has not
  // set Compact).
  bool AllowAutoCompact() const { return !FCompactMode; }
  // The width of the compact button (the Width off a page).
  Integer GetCompactWidth();
  // The width the toolbar needs expanded; asked while compact, it first
  // shrinks the clone's buttons as far as they go.
  Integer GetExpandedWidth();
  // Copies the settings to the clone and, with AMoveControls, moves every
  // control into it.
  void UpdateSelfClone(bool AMoveControls);
  // Opens the compact window below the compact button.
  void CompactButtonClick(TObject* Sender);
  void HideCompactWindow();
  void PostCompactWinHide();
  void CompactWindowClosed();
  void UpdateControlsVisibility();
  // The clone while compact (on the clone: the page toolbar).
  TAdvCustomToolBar* SelfClone() const { return FSelfClone; }
  TAdvGlowButton* CompactButton() const { return FCompactBtn; }
  bool CompactSmallest() const { return FCompactSmallest; }
  void SetCompactSmallest(bool Value) { FCompactSmallest = Value; }
  Integer CompactMinWidth() const { return FCompactMinWidth; }

  // --- update nesting ---
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }
  void Update() override;

  // --- ribbon button sizing ---
  Integer ReduceButtonSizes(TButtonSizeState& ANewState, bool AApply);
  Integer CalcReducibleWidth(TButtonSizeState& ANewState) { return ReduceButtonSizes(ANewState, false); }
  void ShrinkAllButtons();
  Integer EnlargeButtonSizes(TButtonSizeState& ANewState, bool AApply);
  Integer CalcEnlargeableWidth(TButtonSizeState& ANewState) { return EnlargeButtonSizes(ANewState, false); }
  void GrowAllButtons();

  // --- customizer, docking and state ---
  // Writes the layout to the persistence store (the visibility of each named
  // control, and the state over a stored floating one); raises when the
  // store cannot be read or written.
  virtual void SavePosition();
  // Applies the stored layout: a floating place (put on a monitor that
  // exists now) and the visibility of named controls; every stored value
  // is checked, a bad one leaves that setting as it is.
  virtual void LoadPosition();
  // The floating window's place while floating, else the toolbar's.
  TPoint GetPosition() const;
  void SetCustomizer(TZadEdevAziCustomizer* ACustomizer) { FCustomizer = ACustomizer; }
  TZadEdevAziCustomizer* Customizer() const { return FCustomizer; }
  void ShowCustomizer();
  TToolBarState GetToolBarState() const { return FToolBarState; }
  TAdvDockPanel* AdvDockPanel() const { return FCurrentDock; }
  void Dock(TAdvDockPanel* NewDockSite);
  TAdvDockPanel* LastDock() const { return FLastDock; }
  TFloatingWindow* FloatingWindow() const { return FFloatingWindow; }
  bool Dragging() const { return FDragging; }

  // --- docking, dragging and floating (AdvToolBarDocking.cpp) ---
  bool CanDockTo(TAdvDockPanel* APanel);
  // Makes the toolbar float at the screen point (X, Y), or at the cursor.
  void MakeFloating(Integer X, Integer Y, bool AUsePoint);
  void SetToolBarFloating(TPoint P);
  // The floating close button's action.
  void CloseFloating();
  void SetFullSize(bool Value);
  bool PtInDragGrip(TPoint P);
  bool PtInRightHandle(TPoint P);
  bool PtInFloatingCaption(TPoint P);
  bool PtInCloseButton(TPoint P);
  bool PtInOptionButton(TPoint P);
  TAdvCustomToolBarButton* GetButtonAtPos(Integer X, Integer Y);
  // Where a floating window of the given outer rectangle may stand: kept
  // when its caption strip and half its width lie on a monitor's work area,
  // else moved onto the nearest monitor's work area.
  static TPoint PlaceOnMonitor(const TRect& Window, Integer CaptionStrip);

  // --- floating rows (AdvToolBarPersistence.cpp) ---
  Integer FloatingRows() const { return FFloatingRows; }
  void SetFloatingRows(Integer ARows);
  Integer GetMaxFloatingRows();
  void CalcFloatingSize(Integer& AHeight, Integer& ALength);
  bool CalcSizeForRows(Integer ARows, Integer& AHeight, Integer& ALength);

  // --- properties ---
  bool AllowFloating() const { return FAllowFloating; }
  void SetAllowFloating(bool Value);
  TAntiAlias AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(TAntiAlias Value);
  bool AutoArrangeButtons() const { return FAutoArrangeButtons; }
  void SetAutoArrangeButtons(bool Value);
  bool AutoDockOnClose() const { return FAutoDockOnClose; }
  void SetAutoDockOnClose(bool Value) { FAutoDockOnClose = Value; }
  bool AutoMDIButtons() const { return FAutoMDIButtons; }
  bool AutoOptionMenu() const { return FAutoOptionMenu; }
  void SetAutoOptionMenu(bool Value) { FAutoOptionMenu = Value; }
  bool AutoPositionControls() const { return FAutoPositionControls; }
  void SetAutoPositionControls(bool Value);
  bool AutoPositionMultiRow() const { return FAutoPositionMultiRow; }
  void SetAutoPositionMultiRow(bool Value);
  // The toolbar's own sizing (measured lengths and constraints), not the
  // window base's fit to the children's extent.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) override;
  bool Locked() const { return FLocked; }
  void SetLocked(bool Value);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  const String& WideCaption() const { return FWideCaption; }
  void SetWideCaption(const String& Value);
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  void SetCaptionFont(TFont* Value);
  Integer CaptionHeight() const { return FCaptionHeight; }
  void SetCaptionHeight(Integer Value);
  TCaptionPosition CaptionPosition() const { return FCaptionPosition; }
  void SetCaptionPosition(TCaptionPosition Value);
  TAlignment CaptionAlignment() const { return FCaptionAlignment; }
  void SetCaptionAlignment(TAlignment Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  const String& CompactCaption() const { return FCompactCaption; }
  void SetCompactCaption(const String& Value);
  TGDIPPicture* CompactPicture() const { return FICompactPicture.get(); }
  void SetCompactPicture(TGDIPPicture* Value) { FICompactPicture->Assign(Value); }
  Integer CompactImageIndex() const { return FCompactImageIndex; }
  void SetCompactImageIndex(Integer Value) { FCompactImageIndex = Value; }
  const String& CompactShortCutHint() const { return FCompactShortCutHint; }
  void SetCompactShortCutHint(const String& Value) { FCompactShortCutHint = Value; }
  const String& HintOptionButton() const { return FHintOptionButton; }
  void SetHintOptionButton(const String& Value) { FHintOptionButton = Value; }
  const String& HintCloseButton() const { return FHintCloseButton; }
  void SetHintCloseButton(const String& Value) { FHintCloseButton = Value; }
  bool ShowRightHandle() const { return FShowRightHandle; }
  void SetShowRightHandle(bool Value);
  bool ShowClose() const { return FShowClose; }
  void SetShowClose(bool Value) { FShowClose = Value; }
  bool ShowOptionIndicator() const { return FShowOptionIndicator; }
  void SetShowOptionIndicator(bool Value);
  bool ShowPopupIndicator() const { return FShowPopupIndicator; }
  void SetShowPopupIndicator(bool Value);
  TDockableTo DockableTo() const { return FDockableTo; }
  void SetDockableTo(TDockableTo Value) { FDockableTo = Value; }
  TDockMode DockMode() const { return FDockMode; }
  void SetDockMode(TDockMode Value) { FDockMode = Value; }
  bool FullSize() const { return FFullSize; }
  const String& TextAutoOptionMenu() const { return FTextAutoOptionMenu; }
  void SetTextAutoOptionMenu(const String& Value) { FTextAutoOptionMenu = Value; }
  const String& TextOptionMenu() const { return FTextOptionMenu; }
  void SetTextOptionMenu(const String& Value) { FTextOptionMenu = Value; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  TPopupMenu* OptionMenu() const { return FOptionMenu; }
  void SetOptionMenu(TPopupMenu* Value);
  TGDIPPicture* OptionPicture() const { return FIOptionPicture.get(); }
  void SetOptionPicture(TGDIPPicture* Value) { FIOptionPicture->Assign(Value); }
  TGDIPPicture* OptionDisabledPicture() const { return FIOptionDisabledPicture.get(); }
  void SetOptionDisabledPicture(TGDIPPicture* Value) { FIOptionDisabledPicture->Assign(Value); }
  bool ParentOptionPicture() const { return FParentOptionPicture; }
  void SetParentOptionPicture(bool Value);
  TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TAdvHintInfo* Value) { FOfficeHint->Assign(Value); }
  TPersistence* Persistence() const { return FPersistence.get(); }
  void SetPersistence(TPersistence* Value) { FPersistence->Assign(Value); }
  bool HideOnEmpty() const { return FHideOnEmpty; }
  void SetHideOnEmpty(bool Value) { FHideOnEmpty = Value; }
  Integer ToolBarIndex() const;
  void SetToolBarIndex(Integer Value);
  TAdvPopupMenu* ActiveMenu() const { return FTempMenu; }
  TCompactWindow* CompactWindow() const { return FCompactWindow; }
  bool IsCompact() const { return FCompact; }
  Integer InitPPI() const { return FInitPPI; }
  bool PropertiesLoaded() const { return FPropertiesLoaded; }

  // --- painting state read by the painters and set by pointer handling ---
  void SetHot(bool Value);
  bool Hot() const { return FHot; }
  void SetHotPopupIndicator(bool Value);
  void SetDownPopupIndicator(bool Value);
  void SetCaptionOptionState(bool AHot, bool ADown);
  void SetCloseButtonState(bool AHot, bool ADown);
  void SetOptionButtonState(bool AHot, bool ADown);

  // --- menu bar (AdvToolBarMenuBar.cpp) ---
  // Drops the menu of a menu button (its DropDownMenu, or its MenuItem's
  // sub-items lent to a temporary menu); returns when the menu closed.
  virtual bool DropDownMenuButton(TAdvCustomToolBarButton* Button);
  // Gives the lent sub-items back to their menu item, in their order.
  void RestoreButtonMenu();
  // Keyboard tracking of the menu buttons: Start begins it, Run begins it
  // and handles messages until it ends; Cancel ends it.
  virtual void CancelMenuLoop();
  virtual void ClickMenuButton(TAdvCustomToolBarButton* Button, bool ByMouse);
  virtual bool RunMenuLoop(TAdvCustomToolBarButton* Button);
  virtual void StartMenuLoop(TAdvCustomToolBarButton* Button);
  bool SetHotMenuButton(TAdvCustomToolBarButton* Button);
  bool SetHotMenuButtonIndex(Integer Index);
  TAdvCustomToolBarButton* FindAccelButton(Char Key) const;
  virtual bool IsShortCut(TMessage& Message, bool ConsiderButtons);
  // Keyboard tracking runs / a menu of a button is dropped.
  bool InMenuLoop() const { return FMenuFocused; }
  bool MenuDropped() const { return FMenuDropped; }
  bool MenuResult() const { return FMenuResult; }
  TAdvCustomToolBarButton* HotMenuButton() const;
  TMenuItem* ButtonMenu() const { return FButtonMenu; }

  // --- ribbon-page keyboard, key tips, hover fade and button rows (AdvToolBarKeys.cpp) ---
  // Runs the glow button whose key tip is Keys (case-insensitive); counts
  // the tips Keys starts in PartialCount and hides the others.
  bool HandleShortCutHintKey(const String& Keys, Integer& PartialCount);
  void ShowShortCutHints();
  void HideShortCutHints();
  // The visible, enabled glow buttons of the control list, also inside its
  // windowed controls at any depth, in the list's order.
  void CollectKeyTipButtons(std::vector<TAdvCustomGlowButton*>& Buttons) const;
  // What a key tip does to its button: focus, drop the menu or click, set
  // a grouped button down; a compact button hands on to its clone's tips.
  void RunKeyTipButton(TAdvCustomGlowButton* Button);
  void GlowButtonKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  void GlowButtonSetButtonSize(TObject* Sender, Integer& W, Integer& H);
  void GlowButtonShortCutHintPos(TObject* Sender, TShortCutHintPos& Pos);
  TWinControl* FirstFocusableControl(bool ACanFocus);
  TWinControl* LastFocusableControl(bool ACanFocus);
  bool HasDroppedDownControl() const;
  void KeyTipUsed(TControl* AControl);
  // The tops of the three button rows (-100: unset).
  const std::array<Integer, 3>& ButtonRows() const { return FButtonRows; }
  bool CompactShortCutHintShowing() const { return FCompactShortCutHintShowing; }
  TGlowState HoverGlowState() const { return FGlowState; }
  Integer HoverStep() const { return FStepHover; }
  bool HoverTimerRunning() const { return FTimer != nullptr; }
  void HoverTimerTick(TObject* Sender);
  // The page context of key tips: the page of this toolbar, or of the page
  // toolbar whose clone this is.
  IToolBarPage* KeyTipPage() const;
  // A stopped hover timer kept for the next fade (a timer is never freed
  // from inside its own tick).
  TTimer* FSpentHoverTimer = nullptr;

  // --- events ---
  TNotifyEvent OnClose;
  TOptionEvent OnOptionClick;
  TDockedEvent OnDocked;
  TNotifyEvent OnUnDocked;
  TNotifyEvent OnCompactShow;
  TCloseQueryEvent OnCompactCloseQuery;
  TCanFloatEvent OnCanFloat;
  TControlVisibleChange OnControlVisibleChange;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void AdjustClientRect(TRect& Rect) override;
  void CreateWnd() override;
  void Resize() override;
  void Paint() override;
  void WMEraseBkgnd(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void CMControlChange(TMessage& Message);
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Click() override;
  void WMLButtonUp(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void WMTimer(TMessage& Message);

  // Key, focus and hover messages of the ribbon-page keyboard; true when answered.
  bool RibbonKeyMessage(TMessage& Message);

  // --- the drag loop (AdvToolBarDocking.cpp) ---
  // A dock panel the running drag may dock into, with its screen rectangle
  // widened on its inner side.
  struct TDockTarget {
    TAdvDockPanel* Panel;
    TRect Rect;
  };
  // What a running drag loop shares with the destructor, which may run from
  // inside the loop.
  struct TDragLoop;
  void DragToolBar(TShiftState AShift, Integer X, Integer Y);
  void DragMove(Integer X, Integer Y);
  void EndDragging();
  void BuildDockList();
  void CollectDockPanels(TWinControl* AControl);
  void UpdateDockRects();
  TCustomForm* GetDockForm() const;
  void FreeFloatingWindow();
  void KillFloatingTimer();

  // --- later features' slots (their behaviour lives elsewhere) ---
  virtual void DoCompactShow();
  // Full length of the toolbar with every control shown.
  virtual Integer GetFullLength();
  virtual void UpdateCompactButtonAppearance();
  // Records the tops of a ribbon toolbar's button rows.
  virtual void UpdateButtonRows();

  // --- painting (AdvToolBarPaint.cpp) ---
  void PaintCaption(const TRect& C, TColor& GroupBorder);
  void PaintFloatingCaption(const TRect& C);
  void PaintDockedCaption(const TRect& C, TColor& GroupBorder);
  void PaintBackground(const TRect& R, TRect& B, TColor& Base, TColor& Border);
  void PaintBackgroundPicture(const TRect& B);
  void PaintBevel();
  void PaintCorners(TRect B, TColor Base);
  void PaintBorder(const TRect& B, TColor Base, TColor Border, TColor GroupBorder);
  void DrawDragGrip();
  void DrawRightHandle();
  void DrawCaptionOptionIndicator(const TRect& R);
  void DrawHiddenMarker(const TRect& R);
  void DrawHiddenChevron(const TRect& R, TColor Color);
  void DrawOptionArrow(const TRect& R, TColor Color);
  void DrawOptionArrowFlat(const TRect& R, TColor GlyphColor, TColor ArrowColor);
  void DrawCloseButton();
  void DrawOptionButton();
  void DrawCloseCross(TPoint P, TColor Color);
  // One line of caption text in R, vertically centred; the one place the
  // toolbar draws caption text.
  void DrawToolBarCaption(const TRect& R, const String& Caption, const String& WideCaption, TAlignment Alignment,
                          bool Ellipsis);

  // --- helpers ---
  bool IsLoadingOrDestroying() const;
  bool ParentIsClass(StringView Name) const;
  bool OnPage() const { return ParentIsClass(u"TAdvPage"); }
  bool OnCompactWindow() const { return ParentIsClass(u"TCompactWindow"); }
  bool InDockPanel() const { return FCurrentDock != nullptr && ParentIsClass(u"TAdvDockPanel"); }
  bool GripShown() const;
  void SetControlPos(TControl* AControl, Integer X, Integer Y);
  std::vector<TToolBarItem> LayoutItems(std::vector<TControl*>& Controls) const;
  TToolBarItem LayoutItem(TControl* AControl) const;
  void SetInternalStylerCurrent();
  void UnregisterExternalStyler();
  // Safe to paint and measure with: never a styler being destroyed.
  TCustomZadEdevAziStyler* Styler() const;

  // --- fields, in the model's order ---
  TAntiAlias FAntiAlias = aaClearType;
  std::unique_ptr<TDbgList> FATBControls;
  std::unique_ptr<TDbgList> FRUControls;
  std::unique_ptr<TDbgList> FLUHidedControls;
  // Owned; freed last, after the child controls, so nothing paints with a dead styler.
  std::unique_ptr<TCustomZadEdevAziStyler> FInternalToolBarStyler;
  TCustomZadEdevAziStyler* FToolBarStyler = nullptr;
  TCustomZadEdevAziStyler* FCurrentToolBarStyler = nullptr;
  bool FParentStyler = true;
  Integer FDragGripWidth = 7;
  bool FHideDragGrip = false;
  Integer FPopupIndicatorWidth = 14;
  TAdvDockPanel* FCurrentDock = nullptr;
  TAdvDockPanel* FLastDock = nullptr;
  TDockAlign FPosition = daTop;
  TCursor FOldCursor = crDefault;
  bool FDragging = false;
  Integer FOldMouseX = 0, FOldMouseY = 0;
  bool FHotPopupIndicator = false, FDownPopupIndicator = false;
  Integer FRow = -1;
  TToolBarState FToolBarState = tsDocked;
  bool FAllowBoundChange = false;
  bool FFullSize = false;
  TDockableTo FDockableTo{daLeft, daTop, daRight, daBottom};
  std::unique_ptr<std::vector<TDockTarget>> FDockList;
  TDragLoop* FDragLoop = nullptr;
  TFloatingWindow* FFloatingWindow = nullptr;
  TComponent* FOwner = nullptr;
  String FCaption;
  String FWideCaption;
  std::unique_ptr<TFont> FCaptionFont;
  bool FShowOptionIndicator = true;
  bool FShowPopupIndicator = true;
  bool FShowClose = true;
  Integer FCaptionHeight = 16;
  bool FHotCustomizedBtn = false, FDownCustomizedBtn = false;
  bool FHotCloseBtn = false, FDownCloseBtn = false;
  TCustomImageList* FImages = nullptr;
  TMainMenu* FMenu = nullptr;
  TMainMenu* FMergedMenu = nullptr;
  Integer FTimerID = 0;
  TAdvPopupMenu* FTempMenu = nullptr;
  bool FInMenuLoop = false, FMenuResult = false, FCaptureChangeCancels = false, FMenuDropped = false;
  TAdvCustomToolBarButton* FMenuButton = nullptr;
  TAdvCustomToolBarButton* FLastMenuButton = nullptr;
  TMenuItem* FButtonMenu = nullptr;
  bool FInternalControlPositioning = false;
  bool FRuntimeCreate = false;
  bool FAutoRUL = true;
  Integer FFloatingRows = 1;
  Integer FSizeAtDock = 26;
  Integer FMinLength = 60;
  Integer FMaxLength = 60;
  TToolBarState FOldState = tsDocked;
  bool FShowRightHandle = true;
  std::unique_ptr<TPersistence> FPersistence;
  bool FPersistSettingLoaded = false;
  TCustomImageList* FMenuImages = nullptr;
  Integer FTempMenuItemCount = 0;
  TAdvCustomToolBarButton* FHotButton = nullptr;
  bool FMenuFocused = false;
  TPopupMenu* FOptionMenu = nullptr;
  bool FAllowFloating = true;
  bool FLocked = false;
  TOptionSelectorWindow* FOptionWindow = nullptr;
  TControlSelectorPanel* FOptionWindowPanel = nullptr;
  bool FInternalControlUpdation = false;
  bool FAutoOptionMenu = false;
  String FHintOptionButton, FHintCloseButton;
  String FTextAutoOptionMenu = u"Add or Remove Buttons";
  String FTextOptionMenu = u"Options";
  bool FAutoArrangeButtons = true;
  TCustomForm* FParentForm = nullptr;
  bool FAutoHiding = false;
  TCustomImageList* FDisabledImages = nullptr;
  bool FAutoMDIButtons = false;
  bool FMDIButtonsVisible = false;
  bool FMDIDownCloseBtn = false, FMDIHotCloseBtn = false, FMDIDownMaxBtn = false, FMDIHotMaxBtn = false,
       FMDIDownMinBtn = false, FMDIHotMinBtn = false;
  TCustomForm* FMDIChildForm = nullptr;
  TTimer* FMenuItemTimer = nullptr;  // owned (component)
  TAdvCustomToolBarButton* FNextMenuHotButton = nullptr;
  bool FUpdatingControls = false;
  TZadEdevAziCustomizer* FCustomizer = nullptr;
  bool FAutoDockOnClose = false;
  bool FShowCaption = false;
  TCaptionPosition FCaptionPosition = cpTop;
  TAlignment FCaptionAlignment = taLeftJustify;
  std::unique_ptr<TStringList> FMDIChildMenuSL;
  std::unique_ptr<TList> FMDIChildMenuList;
  TTimer* FTimer = nullptr;  // hover fade; owned (component) while it runs
  bool FHot = false;
  Integer FTimeInc = 0, FStepHover = 0;
  TGlowState FGlowState = gsNone;
  bool FAutoSize = true;  // hides the window base's flag, which stays off
  bool FCapOptIndicatorHot = false, FCapOptIndicatorDown = false;
  std::unique_ptr<TGDIPPicture> FIOptionDisabledPicture;
  std::unique_ptr<TGDIPPicture> FIOptionPicture;
  bool FAutoPositionControls = true;
  TTimer* FOptionTimer = nullptr;  // owned (component), made on first use
  Integer FOptionStepHover = 0, FOptionStepPush = 0, FOptionTimeInc = 0;
  TGlowState FOptionGlowState = gsNone;
  String FCompactCaption;
  std::unique_ptr<TGDIPPicture> FICompactPicture;
  bool FCompact = false;
  bool FCompactMode = false;
  TAdvCustomToolBar* FSelfClone = nullptr;
  TCompactWindow* FCompactWindow = nullptr;
  Integer FCompactMinWidth = 45;
  TAdvGlowButton* FCompactBtn = nullptr;
  bool FOldAutoPosition = false, FOldAutoArrangeButtons = false, FOldAutoSize = false;
  std::unique_ptr<TAdvHintInfo> FOfficeHint;
  bool FPropertiesLoaded = false;
  bool FParentOptionPicture = true;
  Integer FCompactImageIndex = -1;
  Integer FUpdateCount = 0;
  std::unique_ptr<TDbgList> FSeqControlList;
  bool FCompactSmallest = false;
  String FWideCompactCaption;
  TDockMode FDockMode = dmAll;
  bool FDoCheckBoundChange = false;
  String FCompactShortCutHint;
  bool FCompactShortCutHintShowing = false;
  std::array<Integer, 3> FButtonRows{-100, -100, -100};
  bool FCompactChanging = false;
  bool FHideOnEmpty = false;
  bool FFirstRun = true, FFirstShowing = true;
  TControl* FHintCtrl = nullptr;
  std::unique_ptr<TDbgList> FCtrlVisList;
  // The control order before compacting, which expanding gives back
  // (compared by address only: a control freed meanwhile is skipped).
  std::vector<TControl*> FOrderBeforeCompact;
  bool FSupressClick = false;
  bool FChangingParent = false;
  bool FAutoPositionMultiRow = false;
  TVornStyle FVornStyle = tsCustom;
  bool FDesignTime = false;
  TWinControl* FPrevActiveControl = nullptr;
  Integer FInitPPI = 96;

 private:
  void ApplyOfficeStyle(TVornStyle AStyle, TColor AAppColor, bool WithAppColor);
  // The image size of Images when it was assigned: a list being freed can no
  // longer be asked.
  TPoint FImagesSize{0, 0};
  // The menu-bar buttons this toolbar made for its Menu's items, in order.
  std::vector<TAdvCustomToolBarButton*> FToolBarMenuButtons;
  // One step of ReduceButtonSizes (AReduce) or EnlargeButtonSizes.
  Integer StepButtonSizes(bool AReduce, TButtonSizeState& ANewState, bool AApply);
  // The one office styler SetComponentStyle keeps for this toolbar; freed
  // with the internal styler.
  std::unique_ptr<TCustomZadEdevAziStyler> FStyleStyler;
  bool FDestroying = false;
  void OptionWindowHide(TObject* Sender);
  void PutBack(TControl* AControl);
  void PutBackHidden(TControl* AControl);
  TControl* GroupSeparatorToRestore(TControl* AControl) const;
  Integer HandleLength() const;
  Integer GripLength() const;
  Integer LengthOf(TControl* AControl) const;
  Integer FarEdgeOf(TControl* AControl) const;
  // A room check is posted and not yet run.
  bool FRestorePending = false;
  void RequestRestoreHiddenIfRoom();
  void WMRestoreHidden(TMessage& Message);
  // --- menu bar ---
  friend struct TMenuBarAccess;
  // The menu-bar messages; true when handled.
  bool MenuBarMessage(TMessage& Message);
  void MenuClosed(TMessage& Message);
  // Keys while keyboard tracking runs; true when the inherited handling is skipped.
  bool MenuBarKeyDown(TMessage& Message);
  // Drops Button's menu, or makes it the hot button of keyboard tracking
  // when it has none (after a switch from an open menu).
  void SwitchToMenuButton(TAdvCustomToolBarButton* Button);
  // Lent sub-items go back and the filters forget the toolbar.
  void MenuBarDestroying();
  // The button to move to once the open menu has closed (a switch).
  TAdvCustomToolBarButton* FSwitchButton = nullptr;
  // The toolbar's watch on its form's menu key (Alt, F10, Alt+letter).
  std::shared_ptr<struct TFormKeyMenuTap> FFormKeyMenuTap;
  void TapFormKeyMenu();

  // --- menu merging, window list and MDI buttons (AdvToolBarMenuMerge.cpp) ---
 public:
  // Merges the top-level items of AMenu (an MDI child's main menu) into the
  // bar by group index: a bar button of the same non-zero group shows the
  // merged item instead, the others get buttons of their own; nullptr (or no
  // Menu) undoes the merge.
  void MergeMenu(TMainMenu* AMenu);
  void UnmergeMenu(TMainMenu* AMenu);
  TMainMenu* MergedMenu() const { return FMergedMenu; }
  // Binds the bar's buttons to Menu's top-level items again, rebuilding
  // them when they no longer match.
  virtual void UpdateMenu();
  // Items of Menu at every level.
  Integer GetMenuItemCount() const;
  // The window list: one entry per registered MDI child, shown in the MDI
  // form's Window menu while a menu holding it is dropped from the bar.
  void AddMDIChildMenu(TCustomForm* ChildForm, const String& Caption);
  void RemoveMDIChildMenu(TCustomForm* ChildForm, const String& Caption);
  void RemoveAllMDIChildMenu();
  TStringList* MDIChildMenuEntries() const { return FMDIChildMenuSL.get(); }
  // The form whose MDI children the bar serves: the first form up from the
  // dock panel (or the last one, or the parent); nullptr when none.
  TCustomForm* GetMDIForm() const;
  // Minimise, restore and close buttons of a maximised MDI child at the
  // bar's far end (a FullSize bar with a Menu only).
  void SetAutoMDIButtons(bool Value);
  bool MDIButtonsVisible() const { return FMDIButtonsVisible; }
  Integer GetMDIButtonSize() const;
  void GetMDICloseButtonRect(TRect& R);
  void GetMDIMaxButtonRect(TRect& R);
  void GetMDIMinButtonRect(TRect& R);
  bool PtInMDICloseButton(TPoint P);
  bool PtInMDIMaxButton(TPoint P);
  bool PtInMDIMinButton(TPoint P);
  void MDICloseClick();
  void MDIRestoreClick();
  void MDIMinimizeClick();
  // The toolbar whose link sits in the MDI form's window procedure, nullptr when none.
  static TAdvCustomToolBar* MDIButtonsToolBar();

 protected:
  void DrawMDIButtons();
  void CMHintShow(TMessage& Message) override;
  // A floating toolbar shown or hidden takes its floating window along.
  void CMVisibleChanged(TMessage& Message) override;
  // The bar's pager (or the page behind a compact window's clone) shows the
  // hints of disabled controls.
  bool PagerShowsDisabledHints() const;

 private:
  void MergeMenuButtons();
  void UnmergeMenuButtons();
  // Adds the window-list items to the MDI form's Window menu when it lies in
  // the tree of the menu being dropped; RemoveWindowListItems takes them out.
  void AddWindowListItems();
  void RemoveWindowListItems();
  void MDIChildMenuItemClick(TObject* Sender);
  // A registered child being freed leaves the window list.
  void ForgetMDIChild(TComponent* AComponent);
  void ReleaseMDIFormLink();
  // The MDI buttons' share of the pointer handling; true when the press or
  // release was on them.
  bool MDIButtonsMouseDown(TPoint P);
  void MDIButtonsMouseMove(TPoint P);
  bool MDIButtonsMouseUp(TPoint P);
  void MDIButtonsMouseLeave();
  bool PtInMDIButtons(TPoint P);
};

class TZadEdevAzi : public TAdvCustomToolBar {
 public:
  using TAdvCustomToolBar::TAdvCustomToolBar;
  // Holds the toolbar compact (true) or hands it back to the page's
  // passes; only on a ribbon page, and only as a change.
  void SetCompact(bool Value);
  bool Compact() const { return FCompactMode; }
  const String& WideCompactCaption() const { return FWideCompactCaption; }
  void SetWideCompactCaption(const String& Value) { FWideCompactCaption = Value; }
};

// Deletes from List every hint window, toolbar container and windowed
// control that cannot take the focus; the others keep their order.
void RemoveUnfocusableControls(TDbgList* List);

// Declares the toolbar classes to the type information.
void RegisterToolBarClasses();

}  // namespace toolbar
