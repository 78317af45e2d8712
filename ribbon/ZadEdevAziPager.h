#pragma once
// TZadEdevAziPager: the ribbon control. A window aligned to the top of its
// form that shows a caption bar, a row of tabs and, below it, the active
// page (TAdvPage) whose toolbars hold the commands. It keeps the pages'
// order and the active page, the tab groups, the styler binding and the
// flat tone looks, lays the tab row out (PagerTabLayout.h holds the rules),
// paints caption, tabs and groups (ZadEdevAziPagerPaint.cpp) and answers
// the mouse (ZadEdevAziPagerMouse.cpp). A tab row too long for its width
// scrolls by screens (ZadEdevAziPagerScroll.cpp, rules in PagerTabScroll.h);
// the caption, MDI and help buttons are its own glow buttons
// (ZadEdevAziPagerCaption.cpp, places in PagerButtonLayout.h).
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "controls/AdvGlowButton.h"
#include "foundation/pictures/AdvHintInfo.h"
#include "foundation/pictures/GDIPPicture.h"
#include "foundation/style/VornStyle.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Timer.h"
#include "platform/win/Hooks.h"
#include "ribbon/KeyTips.h"
#include "platform/win/WindowData.h"
#include "ribbon/PagerButtonLayout.h"
#include "ribbon/PagerTabLayout.h"
#include "ribbon/PagerTabScroll.h"
#include "ribbon/appearance/PagerHints.h"
#include "ribbon/appearance/AdvPageCaption.h"
#include "ribbon/appearance/AppColor.h"
#include "ribbon/appearance/GroupAppearance.h"
#include "ribbon/appearance/TabAppearance.h"
#include "ribbon/appearance/TabGroups.h"
#include "ribbon/appearance/VistaBackground.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/StyledControl.h"
#include "toolbar/ToolBarPersistence.h"
#include "toolbar/ZadEdevAziStyler.h"

namespace ribbon {

class TAdvPage;
class TCaptionLayer;
class TAdvPageScrollButton;
class TAdvQuickAccessToolBar;
class TMinimizedRibbonWindow;

// Asked before the floating ribbon hides; CanHide false keeps it up.
using TRibbonHideEvent = std::function<void(TObject* Sender, bool& CanHide)>;

enum TCaptionButton { cbClose, cbMinimize, cbMaximize };
using TCaptionButtons = TSet<TCaptionButton>;
using TAntiAlias = toolbar::TAntiAlias;
using toolbar::TDockAlign;

using TTabChangingEvent = std::function<void(TObject* Sender, Integer FromPage, Integer ToPage, bool& AllowChange)>;
using TTabClickEvent = std::function<void(TObject* Sender, Integer Page)>;
using TTabGroupClickEvent = std::function<void(TObject* Sender, Integer TabGroup)>;

// The form command that moves a window with the mouse (SC_MOVE + 1).
constexpr WPARAM SC_DRAGMOVE = 0xF011;

class TZadEdevAziPager : public TCustomControl,
                         public toolbar::IStyledControl,
                         public toolbar::IStyledPager,
                         public ITabGroupsHost,
                         public IVornTones,
                         public IVornStyleEx,
                         public virtual IVornStyle {
 public:
  explicit TZadEdevAziPager(TComponent* AOwner);
  ~TZadEdevAziPager() override;
  void Loaded() override;
  // A dock panel, toolbar, pager or page as parent raises "Invalid Parent".
  void SetParent(TWinControl* AParent) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void ChangeScale(Integer M, Integer D, bool IsDpiChange = false) override;
  void Invalidate() override;
  void Update() override;

  // --- pages ---
  Integer AddAdvPage(TAdvPage* AdvPage);
  // Makes a page owned by the pager with the caption and adds it.
  Integer AddAdvPage(const String& PageCaption);
  // Takes the page out of the list without freeing it.
  void RemoveAdvPage(TAdvPage* AdvPage);
  void MoveAdvPage(Integer CurIndex, Integer NewIndex);
  // Raises "Index out of bounds in list read access" outside the list.
  TAdvPage* AdvPages(Integer Index) const;
  Integer AdvPageCount() const { return FAdvPages->Count(); }
  Integer IndexOfPage(const TAdvPage* AdvPage) const;
  // The page after (or before) CurPage among this pager's pages, wrapping
  // round; from the start when CurPage is nullptr or not a page of this
  // pager. nullptr when none qualifies.
  TAdvPage* FindNextPage(TAdvPage* CurPage, bool GoForward, bool CheckTabVisible) const;
  void SelectNextPage(bool GoForward);
  Integer ActivePageIndex() const { return FActivePageIndex; }
  void SetActivePageIndex(Integer Value);
  TAdvPage* ActivePage() const;
  // Only a page of this pager is accepted.
  void SetActivePage(TAdvPage* Value);
  bool PageInTabGroup(const TAdvPage* AdvPage) const;
  Integer PageTabGroupIndex(const TAdvPage* AdvPage) const;
  Integer HotPageIndex() const { return FHotPageIndex; }
  Integer DownPageIndex() const { return FDownPageIndex; }

  // --- settings ---
  TAdvPageCaption* Caption() const { return FCaption.get(); }
  TATBTabSettings* TabSettings() override { return FTabSettings.get(); }
  TTabGroups* TabGroups() const { return FTabGroups.get(); }
  TATBTabScroller* TabScroller() const { return FTabScroller.get(); }
  // The pages shrink, compact and grow their toolbars to fit; switching it
  // on fits every page at once (AdvPageToolBars.cpp).
  bool AutoCompactToolBars() const { return FAutoCompactToolBars; }
  void SetAutoCompactToolBars(bool Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  TAntiAlias AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(TAntiAlias Value);
  bool CanMove() const { return FCanMove; }
  void SetCanMove(bool Value) { FCanMove = Value; }
  bool HidePagesOnDblClick() const { return FHidePagesOnDblClick; }
  void SetHidePagesOnDblClick(bool Value) { FHidePagesOnDblClick = Value; }
  bool ShowNonSelectedTabs() const { return FShowNonSelectedTabs; }
  void SetShowNonSelectedTabs(bool Value);
  TCaptionButtons CaptionButtons() const { return FCaptionButtons; }
  void SetCaptionButtons(TCaptionButtons Value);
  Integer PageLeftMargin() const { return FPageLeftMargin; }
  void SetPageLeftMargin(Integer Value);
  Integer PageRightMargin() const { return FPageRightMargin; }
  void SetPageRightMargin(Integer Value);
  TGDIPPicture* OptionPicture() const { return FIOptionPicture.get(); }
  TGDIPPicture* OptionDisabledPicture() const { return FIOptionDisabledPicture.get(); }
  TGDIPPicture* BrandingPicture() const { return FIBrandingPicture.get(); }
  TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  toolbar::TPersistence* Persistence() const { return FPersistence.get(); }
  bool Expanded() const { return FExpanded; }
  bool HideState() const { return FHideState; }
  Integer DefTabHeight() const { return FDefTabHeight; }
  Integer DefTabMargin() const { return FDefTabMargin; }
  Integer ScaledPagerCaptionHeight() const { return FScaledPagerCaptionHeight; }
  Integer OrigCaptionHeight() const { return FOrigCaptionHeight; }
  Integer InitPPI() const { return FInitPPI; }
  bool PropertiesLoaded() const { return FPropertiesLoaded; }
  TDockAlign DockAlign() const { return FDockAlign; }
  Integer GetVersionNr() const { return 0x06080307; }
  String Version() const;

  // --- glass ---
  bool IsAeroVista() const { return FIsAeroVista; }
  // Written by the ribbon form; see the glass state change.
  void SetIsAeroVista(bool Value);
  // The caption and tab row are drawn on glass (ZadEdevAziPagerGlass.cpp);
  // CheckMaximized: not over a maximized form, unless its tabs are shaded.
  bool IsOnGlass(bool CheckMaximized) const;

  // --- styler and looks ---
  toolbar::TCustomZadEdevAziStyler* ToolBarStyler() const override { return FToolBarStyler; }
  void SetToolBarStyler(toolbar::TCustomZadEdevAziStyler* Value) override;
  toolbar::TCustomZadEdevAziStyler* CurrentToolBarStyler() const { return FCurrentToolBarStyler; }
  toolbar::TCustomZadEdevAziStyler* InternalToolBarStyler() const { return FInternalToolBarStyler.get(); }
  toolbar::TStyledControlKind StyledControlKind() const override { return toolbar::TStyledControlKind::Pager; }
  void StylerChanged(Integer Kind) override;
  TVornStyle UIStyle() const { return FVornStyle; }
  void SetUIStyle(TVornStyle Value);
  void SetComponentStyle(TVornStyle AStyle) override;
  void SetComponentStyleAndAppColor(TVornStyle AStyle, TColor AAppColor) override;
  void SetColorTones(const TColorTones& ATones) override;
  void SetOfficeTones(const TOfficeTones& Tones, TGroupStyle GroupStyle) override;
  void ClearOfficeTones() override;
  // With an assigned office styler: its style again; another kind of styler: nothing.
  void UpdateStyle();
  void UpdateAppearance();
  bool UsesTones() const { return FItones; }
  bool Metro() const { return FMetro; }
  bool Office2013() const { return FOffice2013; }
  TGroupStyle GroupStyle() const { return FGroupStyle; }
  bool TabRoundEdges() const { return FTabRoundEdges; }
  bool Show3D() const;
  bool ShowShadow() const;
  TColor ToolBarCaptionTextColor() const { return FToolBarCaptionTextColor; }
  TToolBarAppearance* OwnToolBarAppearance() const { return FToolBarAppearance.get(); }
  TTabAppearance* OwnTabAppearance() const { return FTabAppearance.get(); }
  TGlowButtonAppearance* OwnGlowButtonAppearance() const { return FGlowButtonAppearance.get(); }
  TVistaBackground* OwnPageAppearance() const { return FPageAppearance.get(); }
  // The tab appearance painting and measuring use (see the rule in the painter).
  TCustomTabAppearance* CurrentTabAppearance() const;
  // The tab-area background's appearance: own under tones, else the styler's.
  TCustomTabAppearance* BackgroundTabAppearance() const;
  TGroupAppearance* GroupAppearanceOf(Integer GroupIndex) const;

  // --- toolbar::IStyledPager ---
  void SetWin7ScenicRibbon(bool Value) override;
  bool AeroVista() const override { return FIsAeroVista; }
  void SetTabBackGroundShaded(bool Value) override { FTabBackGroundShaded = Value; }
  void RequestHelpButtonPicture() override { FUpdateHelpButtonRes = true; }
  void UpdateHelpButton() override;
  void UpdateQAT() override;
  TVistaBackground* PageAppearance() override { return FPageAppearance.get(); }
  TCustomTabAppearance* TabAppearance() override { return FTabAppearance.get(); }
  TGroupAppearance* GroupAppearance() override { return FGroupAppearance.get(); }
  TCaptionAppearance* CaptionAppearance() override { return FCaptionAppearance.get(); }
  TGlowButtonAppearance* GlowButtonAppearance() override { return FGlowButtonAppearance.get(); }
  TVistaTextBackground* PagerCaption() override { return FPagerCaption.get(); }
  toolbar::TContainerAppearance* ContainerAppearance() override { return FContainerAppearance.get(); }
  // --- ITabGroupsHost ---
  TGroupAppearance* CurrentStylerGroupAppearance() override;

  // --- geometry (client coordinates; (-1, -1, -1, -1) when nothing shows) ---
  TRect GetCaptionRect() const;
  TRect GetTabsArea() const;
  TRect GetTabsRect() const;
  TRect GetTabRect(Integer PageIndex) const;
  TRect GetTabRect(const TAdvPage* Page) const;
  TRect GetVisibleTabRect(Integer PageIndex) const;
  TRect GetPageRect() const;
  // The union of a group's tabs up to the caption's top; Shown: some of its
  // tabs show, Whole: all do.
  TRect GetTabGroupRect(Integer GroupIndex, bool& Shown, bool& Whole) const;
  Integer PageAtPos(Integer X, Integer Y) const;
  Integer TabGroupAtPos(Integer X, Integer Y) const;
  void SetPageBounds(TAdvPage* Page);
  void UpdatePagesBounds();
  // Measures every tab afresh with the settings' spacing and margins.
  void ResetTabMetrics();
  // Full width of the tab of page Index; its content width in ClientWidth.
  Integer MeasureTab(Integer Index, Integer& ClientWidth);
  void ComputeGroupExtraMargins();
  void TabsLayout();
  void PositionTabs();
  // The tab row as the layout rules see it, and back into the pages.
  TTabRow BuildTabRow() const;
  void ApplyTabRow(const TTabRow& Row);
  const TTabRowCurrent& CurrentTabMetrics() const { return FCurrent; }
  void InvalidateTab(Integer PageIndex);

  // --- painting (ZadEdevAziPagerPaint.cpp) ---
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }
  bool LineAnimating() const { return FAnimating; }
  double CurLineStart() const { return FCurLineStart; }
  double CurLineEnd() const { return FCurLineEnd; }
  Integer NewLineStart() const { return FNewLineStart; }
  Integer NewLineEnd() const { return FNewLineEnd; }

  // --- mouse (ZadEdevAziPagerMouse.cpp) ---
  Integer ClickCount() const { return FClickCount; }

  // --- Minimise and expand, the floating ribbon, the quick-access toolbar's
  // place and the saved state (ZadEdevAziPagerMinimize.cpp) ---
  // Minimises the ribbon to its caption and tab row, or shows the pages again.
  void Collaps();
  void Expand();
  // The active page in a pop-up under the tab row while the ribbon is minimised.
  void ShowFloatingRibbon();
  // Asks OnFloatingRibbonHide, then hides and frees the pop-up.
  void HideFloatingRibbon();
  bool IsFloatingRibbonShowing() const;
  TMinimizedRibbonWindow* MinimizedRibbonWindow() const { return FMinimizedRibbonWindow; }
  // "Minimized" and "ShowQATBelow" through Persistence.
  void SaveState();
  void LoadState();
  // The quick-access toolbar among the pager's children (nullptr: none).
  TAdvQuickAccessToolBar* QuickAccessToolBar() const;
  bool ShowQATBelow() const;
  void SetShowQATBelow(bool Value);
  // The quick-access toolbar's rectangle in client coordinates: in the
  // caption row, or the strip along the bottom in the below placement;
  // (-1, -1, -1, -1) without a toolbar.
  TRect GetQATRect() const;
  // The same for the placement given (Below: the strip along the bottom).
  TRect GetQATRect(bool Below) const;
  Integer GetQATHeight() const;
  // The toolbar's Visible changed (the pager makes room below for it).
  void QATVisibilityChanged();
  // The ribbon form shrinks the pager to its caption row (and back).
  void SetHideState(bool Hide);
  bool BlockHide() const { return FBlockHide; }
  void SetBlockHide(bool Value) { FBlockHide = Value; }
  bool ShowExpandCollapsButton() const { return FShowExpandCollapsButton; }
  void SetShowExpandCollapsButton(bool Value);
  TAdvGlowButton* ExpandCollapsButton() const { return FExpCollapsBtn; }
  TRect GetExpandCollapseButtonRect() const;
  // The picture of the expand/collapse button for the state and look.
  virtual void LoadExpandCollapsPicture();
  // The resource name LoadExpandCollapsPicture takes now.
  String ExpandCollapsPictureName() const;
  // The expanded height to restore (the toolbar below not included).
  Integer ExpandedHeight() const { return FExpandedHeight; }

  // --- keyboard hook: every loaded pager hears the thread's key presses ---
  static const std::vector<TZadEdevAziPager*>& HookedPagers();
  static bool KeyboardHookInstalled();
  static void SetGlowSpeed(Integer Speed);
  static Integer GlowSpeed();

  // --- keyboard, key tips and the parent form (ZadEdevAziPagerKeys.cpp) ---
  // Enters key-tip mode at the tabs whatever the keys did; leaves it (and
  // the toolbars' tips).
  void ShowShortCutHint();
  void HideShortCutHint();
  // The next (previous) page with an enabled, visible tab becomes active; no wrap.
  void NextActivePage();
  void PrevActivePage();
  void ShowTabShortCutHints();
  void HideTabShortCutHints(bool AlsoToolBars);
  // Key-tip mode shows at the tabs.
  bool TabShortCutHintShowing() const { return FKeyTips.State() == TKeyTipState::Showing && FKeyTips.Level() == TKeyTipLevel::Tabs; }
  const TKeyTips& KeyTips() const { return FKeyTips; }
  // The toolbar level of Page (as shown in whatever window holds it): its
  // glow buttons show their tips and typed keys run them.
  void ShowToolBarKeyTips(TAdvPage* Page);
  // The buttons of a compact toolbar's clone as the level below.
  void ShowCloneKeyTips(toolbar::TAdvCustomToolBar* Clone);
  void HideToolBarKeyTips();
  // A key at the toolbar or clone level; true when key-tip mode took it.
  bool ToolBarKeyTipKey(Word Key);
  // The typed text offered to the quick-access toolbar's tips.
  bool QuickAccessKeyTip(const String& Typed);
  // The shown key tip of a glow button ("" when it shows none).
  String ShownKeyTip(const TControl* Button) const;
  // Gives the focus back to the control that had it when Alt armed the
  // tips, when that control still lives on the form and can take it.
  void RestoreFocusedControl();
  bool IsWindowInside(HWND Outer, HWND Inner) const;
  TShortCutHintWindow* CreateShortCutHintWindow();
  void FreeShortCutHintWindow(TShortCutHintWindow* Item);
  bool EnableWheel() const { return FEnableWheel; }
  void SetEnableWheel(bool Value) { FEnableWheel = Value; }
  bool NonActiveMouseWheelOnFocus() const { return FNonActiveMouseWheelOnFocus; }
  void SetNonActiveMouseWheelOnFocus(bool Value) { FNonActiveMouseWheelOnFocus = Value; }
  bool ChangeByKeyPress() const { return FChangeByKeyPress; }
  void SetChangeByKeyPress(bool Value) { FChangeByKeyPress = Value; }
  // When one compact window closed because the pointer went to the next
  // compact button of the active page, that one opens.
  void DropDownCompactButtonAtCursor();
  void SetLastDroppedCompactBtn(TAdvGlowButton* Value);
  TAdvGlowButton* LastDroppedCompactBtn() const { return FLastDroppedCompactBtn; }
  // The parent form's window procedure is taken over.
  bool Subclassed() const { return FFormLink != nullptr; }
  void SubclassParentForm();
  void UnsubclassParentForm();
  // F1 with OnHintHelpF1: the office hint is not part of this system, so
  // the look-up never finds the control and F1 does nothing.
  std::function<void(TObject* Sender, TControl* AControl)> OnHintHelpF1;

  // --- tab scroller, tab groups and page scroll buttons (ZadEdevAziPagerScroll.cpp) ---
  // The tabs of a row that does not fit scroll by screens; the two page
  // scroll buttons at the row's ends show while there is a screen that way.
  Integer StartTabIndex() const { return FStartTabIndex; }
  TAdvPageScrollButton* LeftScrollButton() const { return FLeftScrollBtn; }
  TAdvPageScrollButton* RightScrollButton() const { return FRightScrollBtn; }
  // Back to the first screen, the tabs from the row's start.
  void ResetTabScroller();
  // Max from the row, Position within it, the buttons shown or hidden.
  void UpdateTabScroller();
  // Scrolls by Delta screens (negative: back); the screens actually moved.
  Integer ScrollTabs(Integer Delta);
  void ScrollToTab(Integer Index);
  Integer CountTabsFitting(Integer Index, bool Forward, Integer& LastIndex) const;
  Integer LastVisibleTabIndex() const;
  Integer VisibleTabCount() const;
  Integer CountVisibleTabs(Integer FromIndex, Integer ToIndex) const;
  Integer TabGroupOfTab(Integer TabIndex) const;
  Integer TabGroupTabCount(Integer Index) const;
  void InvalidateActivePageTop();
  // The scroll state as the geometry sees it.
  TTabScrollState TabScrollState() const;
  // A tab's hint: its TabHint, or its caption when the tab is too narrow to show it.
  bool ShowTabHint() const { return FShowTabHint; }
  void SetShowTabHint(bool Value) { FShowTabHint = Value; }

  // --- caption, MDI and help buttons (ZadEdevAziPagerCaption.cpp) ---
  TPagerHints* Hints() const { return FHints.get(); }
  void SetHints(TPagerHints* Value) { FHints->Assign(Value); HintsChanged(this); }
  // Makes, sizes, colours, places and shows the form's caption buttons on a
  // caption that is not on glass; RebuildPictures draws their glyphs again.
  void UpdateCaptionButtons(bool RebuildPictures);
  // The caption buttons' area; on glass the form's own buttons' area.
  TRect GetCaptionButtonsRect();
  TAdvGlowButton* CaptionCloseButton() const { return FCaptionCloseBtn; }
  TAdvGlowButton* CaptionMinButton() const { return FCaptionMinBtn; }
  TAdvGlowButton* CaptionMaxButton() const { return FCaptionMaxBtn; }
  // The glyph the maximize button shows (a form normal: maximize; else restore).
  bool CaptionMaxShowsRestore() const { return FCaptionMaxShowsRestore; }
  bool MinimizeApp() const { return FMinimizeApp; }
  void SetMinimizeApp(bool Value) { FMinimizeApp = Value; }
  bool AutoMDIButtons() const { return FAutoMDIButtons; }
  void SetAutoMDIButtons(bool Value);
  bool MDIButtonsVisible() const { return FMDIButtonsVisible; }
  Integer MDIButtonsWidth() const { return FMDIButtonsWidth; }
  Integer MDIButtonsSpace() const { return FMDIButtonsSpace; }
  // Follows the frame's active MDI child (every paint asks).
  void UpdateMDIButtonsState();
  void UpdateMDIButtons(bool RebuildPictures);
  TRect GetMDIButtonsRect() const;
  TAdvGlowButton* MDICloseButton() const { return FMDICloseBtn; }
  TAdvGlowButton* MDIMinButton() const { return FMDIMinBtn; }
  TAdvGlowButton* MDIRestoreButton() const { return FMDIMaxBtn; }
  TCustomImageList* MDIButtonImages() const { return FMDIBtnImages; }
  // The pager whose MDI buttons follow its MDI frame (one at a time).
  static TZadEdevAziPager* MDIPager();
  bool ShowHelpButton() const { return FShowHelpButton; }
  void SetShowHelpButton(bool Value);
  TGDIPPicture* HelpButtonPicture() const { return FHelpButtonPicture.get(); }
  void SetHelpButtonPicture(TGDIPPicture* Value);
  TRect GetHelpButtonRect() const;
  TAdvGlowButton* HelpButton() const { return FHelpBtn; }
  void CaptionCloseClick(TObject* Sender);
  void CaptionMaxClick(TObject* Sender);
  void CaptionMinClick(TObject* Sender);
  void MDICloseClick(TObject* Sender);
  void MDIRestoreClick(TObject* Sender);
  void MDIMinimizeClick(TObject* Sender);
  TNotifyEvent OnCloseButtonClick;
  TNotifyEvent OnMaxButtonClick;
  TNotifyEvent OnMinButtonClick;
  TNotifyEvent OnHelpClick;

  // --- events ---
  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  TNotifyEvent OnTabChanged;
  TTabClickEvent OnTabClick;
  TTabClickEvent OnTabDblClick;
  TTabGroupClickEvent OnTabGroupClick;
  TNotifyEvent OnExpand;
  TNotifyEvent OnCollaps;
  // Sender: the pager, or the pop-up when it lost the activation.
  TRibbonHideEvent OnFloatingRibbonHide;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Resize() override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  // --- keyboard (ZadEdevAziPagerKeys.cpp) ---
  // A new window takes the parent form over afresh (CreateWnd calls it).
  void SubclassOnCreateWnd();
  void KeyUp(Word& Key, TShiftState Shift) override;
  // The key and focus messages; true when the message is answered.
  bool KeyMessage(TMessage& Message);
  // A key the thread's hook saw going down (once per press).
  virtual void HookKeyDown(Word Key);

 private:
  friend class TAdvPage;
  // --- activation ---
  // The activation steps; false when vetoed or out of range.
  bool ActivatePage(Integer Value);
  // --- change handlers ---
  void CaptionChanged(TObject* Sender);
  void TabSettingsChanged(TObject* Sender);
  void TabGroupsChanged(TObject* Sender);
  void FullLayout();
  // --- looks ---
  void SetMetroLook();
  void RevertMetroLook();
  void MakeOwnAppearances();
  void SetInternalStylerCurrent();
  void ApplyStylerToPages();
  void SendToAppButton(UINT Msg, WPARAM W, LPARAM L);
  TControl* FindAppButton() const;
  // --- painting ---
  void PaintCaption();
  void PaintToneCaption();
  void PaintTabs();
  void PaintTabGroups();
  void PaintTab(Integer Index);
  void PaintGlassCaption();
  void PaintPageShadow();
  void FillTabBackground(TCanvas* C, const TRect& R, TCustomTabAppearance* T, bool FromOneLower);
  void OptionPictureChanged();
  void SmoothTabCorners(TCanvas* C, const TRect& R, bool FromSurface, bool LastInGroup);
  bool LastTabOfGroup(Integer Index, Integer Group) const;
  void StartLineAnimation();
  void LineTimerTick(TObject* Sender);
  TRect GetCaptionTextRect(TAlignment& Alignment);
  // --- mouse ---
  void StartTabGlow(Integer Index, Integer Increment);
  void DblClickTimerTick(TObject* Sender);
  void ShowSystemMenu(TPoint Screen);
  void StartFormDrag(TCustomForm* Form, TPoint ClientPoint);
  void CaptionDblClick(TPoint P);
  void StartPendingFormDrag();
  // --- keyboard, key tips and the parent form (ZadEdevAziPagerKeys.cpp) ---
  struct TFormLink;
  struct TFormProc;
  void KeyTipNotification(TComponent* AComponent);
  void CMDialogKeyMsg(TMessage& Message);
  void CMDialogCharMsg(TMessage& Message);
  bool WMKeyDownMsg(TMessage& Message);
  void CMFocusChangedMsg(TMessage& Message);
  void KeyTipTimerTick(TObject* Sender);
  void ActivateKeyTips();
  void TabKeyTipKey(Word Key);
  void ShowLevel(TKeyTipLevel Level);
  void HideLevelTips();
  void RunToolBarKeyTip(Integer Index);
  void FormWndProc(TMessage& Message);
  TAdvPage* KeyTipPage() const;
  TKeyTips FKeyTips;
  TTimer* FShortCutTimer = nullptr;  // owned (component), made on first use
  HWND FFocusCtrlH = nullptr;
  bool FIgnoreALT = false;
  bool FEnableWheel = true, FNonActiveMouseWheelOnFocus = false;
  bool FChangeByKeyPress = false;
  bool FMouseCaptured = false;
  std::vector<TShortCutHintWindow*> FShortCutHintWinList;  // owned, nil slots kept
  // The targets of the toolbar or clone level, in the order of the tips.
  std::vector<TControl*> FKeyTipTargets;
  toolbar::TAdvCustomToolBar* FKeyTipClone = nullptr;
  TAdvPage* FKeyTipPage = nullptr;
  std::shared_ptr<TFormLink> FFormLink;
  TAdvGlowButton* FLastDroppedCompactBtn = nullptr;
  // --- hook ---
  void InstallKeyboardHook();
  void RemoveKeyboardHook();
  // --- Minimise and expand (ZadEdevAziPagerMinimize.cpp) ---
  friend class TMinimizedRibbonWindow;
  void SetExpandedState(bool Expand);
  void CreateMinimizedRibbonWindow();
  // The page's toolbars come home and the pop-up goes. It is hidden now and
  // freed once the message being handled has returned: the request may come
  // from inside the pop-up's own timer or key event.
  void DestroyMinimizedRibbonWindow();
  void RibbonWindowHidden(TObject* Sender);
  void UpdateExpandCollapseButton();
  void ExpandCollapseMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  TMinimizedRibbonWindow* FMinimizedRibbonWindow = nullptr;  // owned (component)
  bool FBlockHide = false;
  bool FShowExpandCollapsButton = false;
  TAdvGlowButton* FExpCollapsBtn = nullptr;  // owned (component)
  Integer FOldHeight = 0;
  // -1: not recorded, else 0 or 1.
  Integer FQATOldVisible = -1, FShapeBtnOldVisible = -1;
  // The pager's height holds the room of the toolbar shown below, so that
  // a repeated notice grows or shrinks it only once.
  bool FQATRoom = false;
  // The toolbar's last placement below, for a save after it went first (its
  // form frees it before the pager).
  bool FLastQATBelow = false;

  Integer FOrigCaptionHeight = 26;
  bool FUpdateHelpButtonRes = false;
  std::unique_ptr<toolbar::TCustomZadEdevAziStyler> FInternalToolBarStyler;
  toolbar::TCustomZadEdevAziStyler* FToolBarStyler = nullptr;
  toolbar::TCustomZadEdevAziStyler* FCurrentToolBarStyler = nullptr;
  std::unique_ptr<toolbar::TCustomZadEdevAziStyler> FOfficeToolBarStyler;
  // The one office styler SetComponentStyle makes, reused by later calls.
  std::unique_ptr<toolbar::TCustomZadEdevAziStyler> FStyleStyler;
  TDockAlign FDockAlign = toolbar::daTop;
  Integer FActivePageIndex = -1, FHotPageIndex = -1, FDownPageIndex = -1, FOldHotPageIndex = -1,
          FHintPageIndex = -1;
  std::unique_ptr<toolbar::TDbgList> FAdvPages;
  bool FPropertiesLoaded = false;
  bool FShowNonSelectedTabs = false;
  std::unique_ptr<TATBTabSettings> FTabSettings;
  std::unique_ptr<TAdvPageCaption> FCaption;
  std::unique_ptr<TATBTabScroller> FTabScroller;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
  std::unique_ptr<TTabGroups> FTabGroups;
  bool FCanMove = true;
  TCaptionButtons FCaptionButtons{cbClose, cbMinimize, cbMaximize};
  std::unique_ptr<TAdvHintInfo> FOfficeHint;
  TAntiAlias FAntiAlias = toolbar::aaClearType;
  Integer FPageRightMargin = 0, FPageLeftMargin = 0;
  std::unique_ptr<TGDIPPicture> FIOptionPicture, FIOptionDisabledPicture, FIBrandingPicture;
  bool FExpanded = true;
  Integer FExpandedHeight = 149;
  TWindowState FFormWindowState = wsNormal;
  TTabRowCurrent FCurrent;
  std::unique_ptr<toolbar::TPersistence> FPersistence;
  bool FHideState = false;
  TTimer* FDblClickTimer = nullptr;  // owned (component)
  Integer FClickCount = 0;
  bool FHidePagesOnDblClick = true;
  bool FIsAeroVista = false;
  bool FFirstRun = true;
  bool FUseCaptionLayer = true;
  bool FChangeActiveTab = false;
  bool FTabBackGroundShaded = false;
  bool FTabRoundEdges = true, FShadow = true, FShow3D = true;
  bool FAutoCompactToolBars = true;
  bool FItones = false, FMetro = false, FOffice2013 = false;
  TGroupStyle FGroupStyle = gsClassic;
  std::unique_ptr<TVistaBackground> FPageAppearance;
  std::unique_ptr<TTabAppearance> FTabAppearance;
  std::unique_ptr<TGlowButtonAppearance> FGlowButtonAppearance, FPageGlowButtonAppearance;
  std::unique_ptr<TToolBarAppearance> FToolBarAppearance;
  std::unique_ptr<TCaptionAppearance> FCaptionAppearance;
  std::unique_ptr<TGroupAppearance> FGroupAppearance;
  std::unique_ptr<TVistaTextBackground> FPagerCaption;
  std::unique_ptr<toolbar::TContainerAppearance> FContainerAppearance;
  TColor FToolBarCaptionTextColor = clNone;
  bool FItonesBeingSet = false;
  bool FOldAeroVista = false;
  Integer FUpdateCount = 0;
  TPoint FCaptionClickXY{-1, -1};
  // A caption press waiting for the first motion to move the form.
  bool FFormDragPending = false;
  TPoint FFormDragPoint{-1, -1};
  Integer FDesignedHeight = 149;
  Integer FDefTabHeight = 26, FDefTabMargin = 60;
  Integer FScaledPagerCaptionHeight = 26;
  TColor FLineColor = clNone;
  bool FBold = false;
  bool FMouseDown = false;
  double FCurLineStart = 0, FCurLineEnd = 0;
  Integer FNewLineStart = 0, FNewLineEnd = 0, FLineBottom = 0;
  double FDeltaStart = 0, FDeltaEnd = 0;
  bool FAnimating = false;
  TTimer* FDLTimer = nullptr;  // owned (component), made on first use
  TVornStyle FVornStyle = tsCustom;
  Integer FInitPPI = 96;
  bool FDestroying = false;
  bool FHooked = false;
  // The tab height at 96 pixels per inch, which scaling starts from.
  Integer FBaseTabHeight = 26;
  // Set while scaling writes the caption and tab heights itself.
  bool FScaling = false;

  // --- Caption layer: the control over the caption row on glass (its
  // placement and events come with the glass caption) ---
 public:
  TCaptionLayer* CaptionLayer() const { return FCaptionLayer; }
  // Makes the layer when there is none: owned by the pager and its child,
  // not aligned, behind the pager's other children.
  TCaptionLayer* NeedCaptionLayer();

 private:
  TCaptionLayer* FCaptionLayer = nullptr;  // owned (component)
  // --- tab scroller, tab groups and page scroll buttons ---
  TTabRow ScrollRow() const;
  void ApplyScroll(const TTabRow& Row, const TTabScrollState& S);
  TAdvPageScrollButton* MakeScrollButton(bool Left);
  void StyleScrollButton(TAdvPageScrollButton* B);
  void TabHintShow(TMessage& Message);
  Integer FStartTabIndex = 0;
  bool FShowTabHint = false;
  TAdvPageScrollButton* FLeftScrollBtn = nullptr;   // owned (component), made on first need
  TAdvPageScrollButton* FRightScrollBtn = nullptr;  // owned (component), made on first need

  // --- caption, MDI and help buttons ---
  void HintsChanged(TObject* Sender);
  // The own buttons take a new look (tones set or cleared).
  void RestyleOwnButtons();
  void StyleButton(TAdvGlowButton* B);
  TAdvGlowButton* MakeGlowButton(TNotifyEvent Click, const String& Hint);
  void FreeCaptionButton(TAdvGlowButton*& B);
  void BuildCaptionPictures();
  void BuildMDIPictures();
  void CaptionHitTest(TMessage& Message);
  void MDIFormWndProc(TMessage& Message);
  void RemoveMDIHook();
  TPagerButtonLook ButtonLook() const;
  // The tab row before the help button takes its place at the right end.
  TRect TabRowBounds() const;
  std::unique_ptr<TPagerHints> FHints;
  TAdvGlowButton* FCaptionCloseBtn = nullptr;  // owned (component)
  TAdvGlowButton* FCaptionMinBtn = nullptr;    // owned (component)
  TAdvGlowButton* FCaptionMaxBtn = nullptr;    // owned (component)
  bool FCaptionMaxShowsRestore = false;
  Integer FOldCapRightIndent = 0;
  bool FMinimizeApp = true;
  bool FAutoMDIButtons = false;
  bool FMDIButtonsVisible = false;
  Integer FMDIButtonsWidth = 16, FMDIButtonsSpace = 2;
  TAdvGlowButton* FMDICloseBtn = nullptr;  // owned (component)
  TAdvGlowButton* FMDIMinBtn = nullptr;    // owned (component)
  TAdvGlowButton* FMDIMaxBtn = nullptr;    // owned (component)
  TCustomForm* FMDIChildForm = nullptr;
  TCustomImageList* FMDIBtnImages = nullptr;  // owned (component), made once
  // The MDI frame's window procedure chain: our link and the form it is on.
  WNDPROC FMDIHookInstance = 0, FMDIOldProc = 0;
  TCustomForm* FMDIHookedForm = nullptr;
  bool FShowHelpButton = true;
  TAdvGlowButton* FHelpBtn = nullptr;  // owned (component)
  std::unique_ptr<TGDIPPicture> FHelpButtonPicture;

  // --- Glass caption: the scenic look, the glass tests, the window region
  // and the caption layer's place and events (ZadEdevAziPagerGlass.cpp) ---
 public:
  // The scenic look of this pager. Set through IStyledPager's
  // SetWin7ScenicRibbon it changes this pager only; a new pager starts from
  // the process-wide flag.
  bool Win7ScenicRibbon() const { return FWin7ScenicRibbon; }
  // The process-wide flag, which the glow buttons and toolbar painters read,
  // and the scenic look of every pager alive.
  static void SetWin7ScenicRibbonForAll(bool Value);
  bool IsShadedGlassTabs() const;
  // The parent form's state; wsNormal without one.
  TWindowState ParentFormWindowState() const;
  // Cuts the form's own caption buttons' corner out of the pager's window.
  void SetGlassRegion();
  void ClearGlassRegion();
  bool RegionSet() const { return FRegionSet; }
  // The layer is made on glass at run time and placed over the caption.
  void CreateCaptionLayer();
  void UpdateCaptionLayer();
  // Disabled controls of the quick-access toolbar show their hints.
  bool ShowDisabledControlsHint() const { return FShowDisabledControlsHint; }
  void SetShowDisabledControlsHint(bool Value) { FShowDisabledControlsHint = Value; }
  // Stored only: the tone operations repaint afterwards.
  void SetTabRoundEdges(bool Value) { FTabRoundEdges = Value; }
  void SetShadow(bool Value) { FShadow = Value; }
  void SetShow3D(bool Value) { FShow3D = Value; }

 protected:
  void CreateWnd() override;

 private:
  void ApplyScenicRibbon(bool Value);
  void CaptionLayerTextPaint(TObject* Sender, String& Text, TRect& TxtR, TAlignment& Algn);
  void CaptionLayerMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void CaptionLayerMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void CaptionLayerDblClick(TObject* Sender, Integer X, Integer Y);
  bool FWin7ScenicRibbon = false;
  bool FRegionSet = false;
  bool FShowDisabledControlsHint = false;
  // Windows 7 and 10 or later, as the layer reports.
  bool FIsWin7 = true, FIsWin10 = true;
};

// Shows the form's system menu at the screen point and answers the chosen
// command (0: none, or no menu could be shown).
UINT TrackFormSystemMenu(TCustomForm* Form, TPoint Screen);

// The glass window region of a pager: the whole pager less the corner at
// its top right where the form's own caption buttons show through.
struct TGlassRegionInput {
  bool Designing = false;
  bool Win7 = true, Win10 = true;
  Integer PPI = 96;
  bool ShadedTabs = false;
  Integer CaptionHeight = 26;  // the pager's scaled caption height
  Integer Width = 0, Height = 0;
};
// The polygon's corners from (0, 0) clockwise.
std::array<TPoint, 6> GlassRegionPolygon(const TGlassRegionInput& In);
// Keeps the list of live pagers that the process-wide scenic switch reaches.
void TrackLivePager(TZadEdevAziPager* Pager, bool Alive);

// Declares the pager classes to the type information.
void RegisterPagerClasses();

}  // namespace ribbon
