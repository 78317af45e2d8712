#pragma once
// TAdvPage: one page of the ribbon pager. Its tab shows in the pager's tab
// row; while it is the active page its body shows below the tabs and holds
// the page's toolbars side by side. The page keeps the order of its
// toolbars, paints its body, keeps the state of its tab's glow and lends its
// toolbars to a clone page that the minimized ribbon's popup shows.
#include <memory>
#include <vector>

#include "foundation/pictures/AdvHintInfo.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Timer.h"
#include "ribbon/PageToolBarLayout.h"
#include "ribbon/appearance/TabAppearance.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/ToolBarPersistence.h"

namespace ribbon {

class TZadEdevAziPager;
class TPageToolBarItem;

enum TShortCutHintPos { shpLeft, shpTop, shpRight, shpBottom };

class TAdvPage : public TCustomControl, public toolbar::IToolBarPage {
 public:
  explicit TAdvPage(TComponent* AOwner);
  ~TAdvPage() override;
  void Loaded() override;
  void SetParent(TWinControl* AParent) override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  // --- toolbars ---
  toolbar::TZadEdevAzi* CreateZadEdevAzi();
  // -1 for nullptr, while cloning, or when already listed; else its index.
  Integer AddZadEdevAzi(toolbar::TZadEdevAzi* ToolBar);
  void InsertZadEdevAzi(Integer Index, toolbar::TZadEdevAzi* ToolBar);
  void RemoveZadEdevAzi(toolbar::TZadEdevAzi* ToolBar);
  Integer IndexOfZadEdevAzi(toolbar::TAdvCustomToolBar* ToolBar) const;
  void MoveZadEdevAzi(Integer CurIndex, Integer NewIndex);
  // nullptr for an index outside the list.
  toolbar::TZadEdevAzi* GetZadEdevAzis(Integer Index) const;
  Integer ZadEdevAziCount() const { return FZadEdevAzis->Count(); }
  toolbar::TZadEdevAzi* GetFirstToolBar(bool AVisibleOnly) const;
  // Places the toolbars side by side (3 pixels apart, the page's height less 6).
  void ArrangeToolBars();
  void HideCompactWindowOfZadEdevAzis();

  // --- fitting the toolbars to the width (AdvPageToolBars.cpp; the rules
  // are in PageToolBarLayout.h) ---
  // After narrowing: buttons shrink one run at a time, then the rightmost
  // toolbars collapse, until the toolbars fit.
  void ShrinkToolBars();
  // After widening: compact toolbars come back left to right, then buttons grow.
  void GrowToolBars();
  // Both ways from any state (after loading, and when a toolbar's Compact changes).
  void UpdateAllToolBars() override;
  Integer CountFittingToolBars(Integer Index, bool AForward);
  void UpdateToolBarScroller();
  void ResetToolBarScroller();
  // Scrolls by ADelta screens of toolbars (negative: back); answers the screens moved.
  Integer ScrollToolBars(Integer ADelta);
  void ScrollToToolBar(Integer Index);
  const TToolBarScrollState& ToolBarScroll() const { return FToolBarLayout.Scroll(); }
  // The scroll buttons, nullptr until first needed.
  TAdvGlowButton* LeftScrollButton() const { return FLeftScrollBtn; }
  TAdvGlowButton* RightScrollButton() const { return FRightScrollBtn; }
  // Empty while the toolbar geometry is sound, else the first fault seen.
  const std::string& ToolBarLayoutViolation() const { return FToolBarLayout.Violation(); }
  void ApplyPagerTonesToToolBars();
  void SetToolBarsGlowButtonsTransparent();
  void InvalidateToolBars();

  // --- pager ---
  TZadEdevAziPager* ZadEdevAziPager() const { return FZadEdevAziPager; }
  // Leaves the old pager and joins the new one (nullptr: none).
  void SetZadEdevAziPager(TZadEdevAziPager* Value);
  // The pager sets the link without re-adding the page.
  void SetPagerLink(TZadEdevAziPager* Value) { FZadEdevAziPager = Value; }
  Integer PageIndex() const;
  void SetPageIndex(Integer Value);
  bool InTabGroup() const;
  // 0 with the pager's tones or the scenic ribbon (and without a pager), else 4.
  Integer GetPageInset() const;

  // --- tab ---
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  const String& WideCaption() const { return FWideCaption; }
  void SetWideCaption(const String& Value);
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  bool TabEnabled() const { return FTabEnabled; }
  void SetTabEnabled(bool Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  const String& TabHint() const { return FTabHint; }
  void SetTabHint(const String& Value) { FTabHint = Value; }
  bool AutoPosition() const { return FAutoPosition; }
  void SetAutoPosition(bool Value);
  const String& ShortCutHint() const { return FShortCutHintText; }
  void SetShortCutHint(const String& Value) { FShortCutHintText = Value; }
  TShortCutHintPos ShortCutHintPos() const { return FShortCutHintPos; }
  void SetShortCutHintPos(TShortCutHintPos Value) { FShortCutHintPos = Value; }
  TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }

  // Tab metrics the pager's layout keeps in the page.
  Integer TabLeft() const { return FTabLeft; }
  void SetTabLeft(Integer Value) { FTabLeft = Value; }
  Integer TabWidth() const { return FTabWidth; }
  void SetTabWidth(Integer Value) { FTabWidth = Value; }
  Integer TabClientWidth() const { return FTabClientWidth; }
  void SetTabClientWidth(Integer Value) { FTabClientWidth = Value; }
  Integer TabRealClientWidth() const { return FTabRealClientWidth; }
  void SetTabRealClientWidth(Integer Value) { FTabRealClientWidth = Value; }
  // The tab's width as laid out (content plus the pager's margins in force).
  Integer GetTabExtent() const;

  // --- tab glow (the pager starts it, the page advances and ends it) ---
  TTimer* GlowTimer() const { return FTimer; }
  // A fade is in progress.
  bool GlowRunning() const { return FTimer != nullptr && FTimer->Enabled(); }
  void SetGlowTimer(TTimer* Value) { FTimer = Value; }
  Integer TimeInc() const { return FTimeInc; }
  void SetTimeInc(Integer Value) { FTimeInc = Value; }
  Integer StepHover() const { return FStepHover; }
  Integer StepPush() const { return FStepPush; }
  TGlowState GlowState() const { return FGlowState; }
  void SetGlowState(TGlowState Value) { FGlowState = Value; }
  void TabGlowTimerTick(TObject* Sender);

  // --- update nesting: painting waits, the toolbars are laid out at the end ---
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

  // --- the minimized ribbon's clone ---
  // nullptr without owner or pager.
  TAdvPage* CreateSelfClone(TWinControl* AOwner);
  void FreeSelfClone();
  TAdvPage* SelfClone() const { return FSelfClone; }
  bool Cloning() const { return FCloning; }

  // --- toolbar::IToolBarPage ---
  bool HasPager() const override { return FZadEdevAziPager != nullptr; }
  toolbar::TCustomZadEdevAziStyler* PagerToolBarStyler() const override;
  bool PagerHasToolBarStyler() const override;
  TVornStyle PagerUIStyle() const override;
  bool PagerUsesTones() const override;
  Integer PagerPPI() const override;
  bool IsActivePage() const override;
  bool PagerIsOnGlass() const override;
  TGroupAppearance* TabGroupAppearance() const override;
  TToolBarAppearance* PagerToolBarAppearance() const override;
  TColor PagerToolBarCaptionTextColor() const override;
  TGlowButtonAppearance* PagerGlowButtonAppearance() const override;
  TGDIPPicture* PagerOptionPicture(bool Disabled) const override;
  TColor PageCanvasPixel(Integer X, Integer Y) const override;
  Integer ToolBarIndexOf(const toolbar::TAdvCustomToolBar* ToolBar) const override;
  Integer ToolBarCount() const override { return ZadEdevAziCount(); }
  void MoveToolBar(Integer FromIndex, Integer ToIndex) override { MoveZadEdevAzi(FromIndex, ToIndex); }
  bool InFloatingRibbon() const override;
  bool FloatingRibbonCanHide() override;
  void SetFloatingRibbonHideOnDeActivate(bool Value) override;

  // --- key tips (the tab's, and the level of the page's toolbars) ---
  // The tab's key tip beside its tab: only with a pager and an enabled,
  // visible tab. Text: the tip as shown (the pager makes the level's tips
  // sound); empty: ShortCutHint.
  void ShowShortCutHint(const String& Text = String());
  void HideShortCutHint();
  TShortCutHintWindow* ShortCutHintWindow() const { return FShortCutHint; }
  // The key tips of the page's toolbars, through the pager's key-tip mode.
  void ShowToolBarsShortCutHint();
  void HideToolBarsShortCutHint();
  // Offers Text to each visible toolbar until one runs a button; without a
  // run and without a partial match the toolbar tips end (and a beep).
  bool MatchToolBarsShortCutHint(const String& Text);
  bool ToolBarShortCutShowing() const { return FToolBarShortCutShowing; }
  void SetToolBarShortCutShowing(bool Value) { FToolBarShortCutShowing = Value; }
  const String& ShortCutChars() const { return FShortCutChars; }
  // The compact button (window Handle) of a compacted toolbar, nullptr when none.
  TAdvGlowButton* FindCompactButton(HWND Handle) const;
  // --- toolbar::IToolBarPage: keyboard ---
  toolbar::TAdvCustomToolBar* ToolBarAt(Integer Index) const override { return GetZadEdevAzis(Index); }
  bool ToolBarKeyTipsShowing() const override;
  bool ToolBarKeyTipKey(Word Key) override;
  void ShowCloneKeyTips(toolbar::TAdvCustomToolBar* Clone) override;
  void ShowToolBarsKeyTips() override { ShowToolBarsShortCutHint(); }
  void KeyTipUsed() override;
  void FocusPagerTabs() override;
  void HideFloatingRibbon() override;
  void CompactWindowClosed(TAdvGlowButton* Button) override;

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void CMControlChange(TMessage& Message);

 private:
  // The pager that answers for the page (the clone's: its original's).
  TZadEdevAziPager* Pager() const { return FZadEdevAziPager; }
  void PagerTabsChanged(bool Measure);
  // A width change runs the passes once per new width.
  void WidthChanged();
  void ScrollLeftClick(TObject* Sender);
  void ScrollRightClick(TObject* Sender);
  void UpdateScrollButtons();
  // A toolbar shown, hidden, added or removed since the last look: the
  // toolbars are laid out again and fitted to the width (shrunk when one
  // more shows, grown when one fewer does).
  void ShownToolBarsChanged();
  friend class TPageToolBarRun;

  std::unique_ptr<toolbar::TDbgList> FZadEdevAzis;
  bool FTabVisible = true;
  TZadEdevAziPager* FZadEdevAziPager = nullptr;
  String FCaption;
  String FWideCaption;
  bool FTabEnabled = true;
  Integer FImageIndex = -1;
  bool FAutoPosition = true;
  bool FUpdatingPosition = false;
  TTimer* FTimer = nullptr;  // owned by the pager as a component; freed here when a fade ends
  Integer FTimeInc = 0;
  Integer FStepHover = 0, FStepPush = 0;
  TGlowState FGlowState = gsNone;
  String FTabHint;
  std::unique_ptr<TAdvHintInfo> FOfficeHint;
  bool FUpdatingParent = false;
  TShortCutHintPos FShortCutHintPos = shpBottom;
  String FShortCutHintText;
  Integer FTabWidth = 0, FTabLeft = 0, FTabClientWidth = 0, FTabRealClientWidth = 0;
  Integer FOldWidth = 0;
  TAdvPage* FSelfClone = nullptr;  // the clone is owned by the window it was made for
  bool FCloning = false;
  bool FOldAutoPosition = true;
  Integer FUpdateCount = 0;
  TPageToolBarLayout FToolBarLayout;
  // The width the passes last fitted the toolbars to.
  Integer FFittedWidth = 0;
  TAdvGlowButton* FLeftScrollBtn = nullptr;   // child, freed by the page
  TAdvGlowButton* FRightScrollBtn = nullptr;  // child, freed by the page
  // --- key tips ---
  TShortCutHintWindow* FShortCutHint = nullptr;  // made and freed by the pager
  bool FToolBarShortCutShowing = false;
  String FShortCutChars;
  // The toolbars that took part in the last fitting (compared by address
  // only; a removed toolbar leaves this list with the page's list).
  std::vector<const toolbar::TZadEdevAzi*> FShownToolBars;
};

}  // namespace ribbon
