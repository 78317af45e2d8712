// The page's toolbars fitted to its width: the layout, the compacting
// passes and the sideways scroll, each a run of the rules of
// PageToolBarLayout.h over the page's real toolbars.
#include <algorithm>
#include <vector>

#include "controls/AdvGlowButton.h"
#include "ribbon/AdvPage.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/ZadEdevAziStyler.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

using toolbar::TZadEdevAzi;

// A page toolbar as the rules see it.
class TPageToolBarItem : public IPageToolBar {
 public:
  explicit TPageToolBarItem(TZadEdevAzi* T) : FT(T) {}
  bool IsShown() const override { return FT->Visible(); }
  TRect Bounds() const override {
    return TRect{FT->Left(), FT->Top(), FT->Left() + FT->Width(), FT->Top() + FT->Height()};
  }
  void SetBounds(const TRect& R) override {
    if (R != Bounds()) FT->SetBounds(R.Left, R.Top, R.Width(), R.Height());
  }
  bool IsCompact() const override { return FT->IsCompact(); }
  bool AllowAutoCompact() const override { return FT->AllowAutoCompact(); }
  bool PropertiesLoaded() const override { return FT->PropertiesLoaded(); }
  Integer ReduceButtonSizes(TButtonSizeState& S, bool AApply) override { return FT->ReduceButtonSizes(S, AApply); }
  Integer EnlargeButtonSizes(TButtonSizeState& S, bool AApply) override {
    return FT->EnlargeButtonSizes(S, AApply);
  }
  void ChangeCompact(bool ACompact) override { FT->ChangeCompact(ACompact); }
  void SetCompactSmallest(bool Value) override { FT->SetCompactSmallest(Value); }
  Integer GetExpandedWidth() override { return FT->GetExpandedWidth(); }
  Integer GetCompactWidth() override { return FT->GetCompactWidth(); }

 private:
  TZadEdevAzi* FT;
};

// One run of the rules: the page's toolbars and frame handed in, the page's
// own layout held off (the rules place the toolbars themselves), all of it
// given back at the end.
class TPageToolBarRun {
 public:
  explicit TPageToolBarRun(TAdvPage* APage) : FPage(APage), FOldGuard(APage->FUpdatingPosition) {
    for (Integer i = 0; i < APage->ZadEdevAziCount(); ++i)
      if (TZadEdevAzi* tb = APage->GetZadEdevAzis(i)) FItems.emplace_back(tb);
    std::vector<IPageToolBar*> list;
    for (TPageToolBarItem& item : FItems) list.push_back(&item);
    TPageToolBarLayout& L = APage->FToolBarLayout;
    L.SetToolBars(std::move(list));
    TPageFrame f;
    f.Width = APage->Width();
    f.Height = APage->Height();
    f.Inset = APage->GetPageInset();
    f.AutoPosition = APage->FAutoPosition && !FOldGuard && APage->FUpdateCount == 0 &&
                     !APage->ComponentState().Contains(csLoading) &&
                     !APage->ComponentState().Contains(csDestroying);
    f.AutoCompact = APage->FZadEdevAziPager == nullptr || APage->FZadEdevAziPager->AutoCompactToolBars();
    L.SetFrame(f);
    APage->FUpdatingPosition = true;
  }
  ~TPageToolBarRun() {
    FPage->FToolBarLayout.SetToolBars({});
    FPage->FUpdatingPosition = FOldGuard;
  }
  TPageToolBarRun(const TPageToolBarRun&) = delete;
  TPageToolBarRun& operator=(const TPageToolBarRun&) = delete;
  // Another layout or scroll is running: this one stays out of its way.
  bool Nested() const { return FOldGuard; }
  TPageToolBarLayout& Layout() { return FPage->FToolBarLayout; }

 private:
  TAdvPage* FPage;
  bool FOldGuard;
  std::vector<TPageToolBarItem> FItems;
};

void TAdvPage::ArrangeToolBars() {
  if (!FAutoPosition || FUpdatingPosition || FUpdateCount > 0 || ComponentState().Contains(csLoading) ||
      ComponentState().Contains(csDestroying))
    return;
  TPageToolBarRun run(this);
  run.Layout().Arrange();
}

void TAdvPage::ShownToolBarsChanged() {
  // Loading and update nesting catch up later (Loaded, EndUpdate); a run of
  // the rules in progress is left alone and looked at again next time.
  if (FCloning || FUpdatingPosition || FUpdateCount > 0 || ComponentState().Contains(csLoading) ||
      ComponentState().Contains(csDestroying))
    return;
  std::vector<const TZadEdevAzi*> now;
  for (Integer i = 0; i < ZadEdevAziCount(); ++i)
    if (TZadEdevAzi* tb = GetZadEdevAzis(i); tb != nullptr && tb->Visible()) now.push_back(tb);
  auto missingFrom = [](const std::vector<const TZadEdevAzi*>& A, const std::vector<const TZadEdevAzi*>& B) {
    for (const TZadEdevAzi* t : A)
      if (std::find(B.begin(), B.end(), t) == B.end()) return true;
    return false;
  };
  const bool more = missingFrom(now, FShownToolBars);
  const bool fewer = missingFrom(FShownToolBars, now);
  if (!more && !fewer) return;
  FShownToolBars = std::move(now);
  {
    TPageToolBarRun run(this);
    run.Layout().ShownToolBarsChanged(more, fewer);
  }
  UpdateScrollButtons();
}

void TAdvPage::HideCompactWindowOfZadEdevAzis() {
  for (Integer i = 0; i < ZadEdevAziCount(); ++i)
    if (TZadEdevAzi* tb = GetZadEdevAzis(i)) tb->HideCompactWindow();
}

void TAdvPage::WidthChanged() {
  if (Width() == FFittedWidth || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying))
    return;
  const bool narrower = Width() < FFittedWidth;
  FFittedWidth = Width();
  if (narrower)
    ShrinkToolBars();
  else
    GrowToolBars();
  ResetToolBarScroller();
}

void TAdvPage::ShrinkToolBars() {
  TPageToolBarRun run(this);
  if (!run.Nested()) run.Layout().ShrinkToolBars();
}

void TAdvPage::GrowToolBars() {
  TPageToolBarRun run(this);
  if (!run.Nested()) run.Layout().GrowToolBars();
}

void TAdvPage::UpdateAllToolBars() {
  TPageToolBarRun run(this);
  if (!run.Nested()) run.Layout().UpdateAllToolBars();
}

Integer TAdvPage::CountFittingToolBars(Integer Index, bool AForward) {
  TPageToolBarRun run(this);
  return run.Layout().CountFittingToolBars(Index, AForward);
}

void TAdvPage::UpdateToolBarScroller() {
  {
    TPageToolBarRun run(this);
    run.Layout().UpdateToolBarScroller();
  }
  UpdateScrollButtons();
}

void TAdvPage::ResetToolBarScroller() {
  {
    TPageToolBarRun run(this);
    if (run.Nested()) return;
    run.Layout().ResetToolBarScroller();
  }
  UpdateScrollButtons();
}

Integer TAdvPage::ScrollToolBars(Integer ADelta) {
  Integer moved = 0;
  {
    TPageToolBarRun run(this);
    if (run.Nested()) return 0;
    moved = run.Layout().ScrollToolBars(ADelta);
  }
  UpdateScrollButtons();
  return moved;
}

void TAdvPage::ScrollToToolBar(Integer Index) {
  {
    TPageToolBarRun run(this);
    if (run.Nested()) return;
    run.Layout().ScrollToToolBar(Index);
  }
  UpdateScrollButtons();
}

void TAdvPage::ScrollLeftClick(TObject*) { ScrollToolBars(-1); }

void TAdvPage::ScrollRightClick(TObject*) { ScrollToolBars(1); }

void TAdvPage::UpdateScrollButtons() {
  const TToolBarScrollState& s = FToolBarLayout.Scroll();
  const Integer w = Integer(Round(12 * double(toolbar::ToolBarDPIScale)));
  auto show = [&](TAdvGlowButton*& B, bool Needed, TAlign Side, void (TAdvPage::*Click)(TObject*)) {
    if (!Needed) {
      if (B != nullptr) B->SetVisible(false);
      return;
    }
    if (B == nullptr) {
      B = new TAdvGlowButton(this);
      B->SetParent(this);
      B->SetAlign(Side);
      B->OnClick = [this, Click](TObject* Sender) { (this->*Click)(Sender); };
    }
    B->SetWidth(w);
    B->SetVisible(true);
    if (FZadEdevAziPager != nullptr)
      if (toolbar::TCustomZadEdevAziStyler* st = FZadEdevAziPager->ToolBarStyler())
        B->Appearance()->Assign(st->CompactGlowButtonAppearance());
    B->Invalidate();
  };
  show(FLeftScrollBtn, s.CanGoBack(), alLeft, &TAdvPage::ScrollLeftClick);
  show(FRightScrollBtn, s.CanGoForward(), alRight, &TAdvPage::ScrollRightClick);
}

// ---------------------------------------------------------------------------

void TZadEdevAziPager::SetAutoCompactToolBars(bool Value) {
  if (FAutoCompactToolBars == Value) return;
  FAutoCompactToolBars = Value;
  if (!Value) return;
  for (Integer i = 0; i < AdvPageCount(); ++i) AdvPages(i)->UpdateAllToolBars();
}

}  // namespace ribbon
