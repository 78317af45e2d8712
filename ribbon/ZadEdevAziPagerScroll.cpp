// The pager's tab row scrolled by screens (the rules are in
// PagerTabScroll.h), its two page scroll buttons, the tab groups' rectangles
// and hit tests, and moving a page within the row.
#include <algorithm>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/vcl/Bitmap.h"
#include "ribbon/AdvPage.h"
#include "toolbar/AdvToolBarLayout.h"
#include "ribbon/AdvPageScrollButton.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "platform/win/Window.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

namespace {

const TRect NoGroupRect{-1, -1, -1, -1};

bool NoGroup(const TRect& R) { return R.Left < 0 && R.Right < 0; }

}  // namespace

// ---------------------------------------------------------------------------
// The scroll state

TTabScrollState TZadEdevAziPager::TabScrollState() const {
  return TTabScrollState{FTabScroller->Min(), FTabScroller->Max(), FTabScroller->Position(), FStartTabIndex};
}

TTabRow TZadEdevAziPager::ScrollRow() const { return BuildTabRow(); }

void TZadEdevAziPager::ApplyScroll(const TTabRow& Row, const TTabScrollState& S) {
  for (Integer i = 0; i < AdvPageCount() && i < Integer(Row.Tabs.size()); ++i)
    AdvPages(i)->SetTabLeft(Row.Tabs[size_t(i)].Left);
  FTabScroller->SetMin(0);
  FTabScroller->SetMax(S.Max);
  FTabScroller->SetPosition(S.Position);
  FStartTabIndex = S.StartTabIndex;
}

Integer TZadEdevAziPager::CountTabsFitting(Integer Index, bool Forward, Integer& LastIndex) const {
  return ribbon::CountTabsFitting(BuildTabRow(), Index, Forward, LastIndex);
}

Integer TZadEdevAziPager::LastVisibleTabIndex() const { return ribbon::LastVisibleTabIndex(BuildTabRow()); }

Integer TZadEdevAziPager::VisibleTabCount() const { return ribbon::VisibleTabCount(BuildTabRow()); }

Integer TZadEdevAziPager::CountVisibleTabs(Integer FromIndex, Integer ToIndex) const {
  if (FromIndex < 0 || ToIndex < FromIndex || ToIndex >= AdvPageCount()) return 0;
  Integer n = 0;
  for (Integer i = FromIndex; i <= ToIndex; ++i)
    if (AdvPages(i)->TabVisible()) ++n;
  return n;
}

void TZadEdevAziPager::ResetTabScroller() {
  if (FDestroying) return;
  TTabRow row = ScrollRow();
  TTabScrollState s;
  ResetTabScroll(row, s);
  ApplyScroll(row, s);
  UpdateTabScroller();
}

void TZadEdevAziPager::UpdateTabScroller() {
  if (FDestroying || AdvPageCount() == 0 || ComponentState().Contains(csLoading)) return;
  const TTabRow row = ScrollRow();
  TTabScrollState s = TabScrollState();
  UpdateTabScroll(row, s);
  FTabScroller->SetMin(0);
  FTabScroller->SetMax(s.Max);
  FTabScroller->SetPosition(s.Position);
  const TScrollButtonRects r = ScrollButtonRects(GetTabsRect(), toolbar::ToolBarDPIScale);
  struct Side {
    TAdvPageScrollButton*& Button;
    bool Needed;
    bool Left;
    TRect Bounds;
  };
  for (Side side : {Side{FLeftScrollBtn, s.CanGoBack(), true, r.Left}, Side{FRightScrollBtn, s.CanGoForward(), false, r.Right}}) {
    if (!side.Needed) {
      if (side.Button != nullptr) side.Button->SetVisible(false);
      continue;
    }
    if (side.Button == nullptr) side.Button = MakeScrollButton(side.Left);
    side.Button->SetBounds(side.Bounds.Left, side.Bounds.Top, side.Bounds.Width(), std::max<Integer>(side.Bounds.Height(), 0));
    side.Button->SetVisible(true);
    side.Button->BringToFront();
    StyleScrollButton(side.Button);
  }
}

TAdvPageScrollButton* TZadEdevAziPager::MakeScrollButton(bool Left) {
  auto* b = new TAdvPageScrollButton(this);
  b->SetParent(this);
  b->SetButtonPosition(Left ? bpLeft : bpRight);
  b->SetScrollArrow(Left ? saLeft : saRight);
  b->OnClick = [this, Left](TObject*) { ScrollTabs(Left ? -1 : 1); };
  return b;
}

void TZadEdevAziPager::StyleScrollButton(TAdvPageScrollButton* B) {
  if (FItones && FGlowButtonAppearance)
    B->Appearance()->Assign(FGlowButtonAppearance.get());
  else if (FCurrentToolBarStyler != nullptr)
    B->Appearance()->Assign(FCurrentToolBarStyler->GlowButtonAppearance());
}

Integer TZadEdevAziPager::ScrollTabs(Integer Delta) {
  TTabRow row = ScrollRow();
  TTabScrollState s = TabScrollState();
  // Max as the row gives it now.
  UpdateTabScroll(row, s);
  const Integer moved = ScrollTabRow(row, s, Delta);
  if (moved == 0) return 0;
  ApplyScroll(row, s);
  InvalidateTab(-1);
  UpdateTabScroller();
  InvalidateActivePageTop();
  return moved;
}

void TZadEdevAziPager::ScrollToTab(Integer Index) {
  if (Index < 0 || Index >= AdvPageCount()) return;
  TTabRow row = ScrollRow();
  TTabScrollState s = TabScrollState();
  if (!ScrollRowToTab(row, s, Index)) return;
  ApplyScroll(row, s);
  InvalidateTab(-1);
  UpdateTabScroller();
}

void TZadEdevAziPager::InvalidateActivePageTop() {
  TAdvPage* a = ActivePage();
  if (a == nullptr || !a->HandleAllocated()) return;
  const TRect r{0, 0, a->Width(), 3};
  InvalidateRect(a->Handle(), &r, TRUE);
}

// ---------------------------------------------------------------------------
// Tab groups

Integer TZadEdevAziPager::TabGroupOfTab(Integer TabIndex) const {
  if (TabIndex < 0 || TabIndex >= AdvPageCount()) return -1;
  for (Integer g = 0; g < FTabGroups->Count(); ++g) {
    const TTabGroupItem* item = FTabGroups->Items(g);
    if (item->TabIndexStart() <= TabIndex && TabIndex <= item->TabIndexEnd()) return g;
  }
  return -1;
}

Integer TZadEdevAziPager::TabGroupTabCount(Integer Index) const {
  if (Index < 0 || Index >= FTabGroups->Count()) return 0;
  const TTabGroupItem* item = FTabGroups->Items(Index);
  return std::abs(item->TabIndexEnd() - item->TabIndexStart()) + 1;
}

// A quick-access toolbar shown in the caption, above the tabs.
static TControl* QATAboveTabs(const TZadEdevAziPager* Pager) {
  for (Integer i = 0; i < Pager->ControlCount(); ++i) {
    TControl* c = Pager->Controls(i);
    if (dynamic_cast<TAdvCustomQuickAccessToolBar*>(c) == nullptr || !c->Visible()) continue;
    if (c->Top() < Pager->GetTabsArea().Top) return c;
  }
  return nullptr;
}

TRect TZadEdevAziPager::GetTabGroupRect(Integer GroupIndex, bool& Shown, bool& Whole) const {
  TRect r = NoGroupRect;
  if (GroupIndex < 0 || GroupIndex >= FTabGroups->Count()) return r;
  const TTabGroupItem* g = FTabGroups->Items(GroupIndex);
  const Integer from = g->TabIndexStart(), to = g->TabIndexEnd();
  if (from < 0 || to < 0 || to < from || to >= AdvPageCount()) return r;
  TControl* qat = QATAboveTabs(this);
  if (!(from == 0 && qat != nullptr)) {
    for (Integer i = from; i <= to; ++i) {
      if (!AdvPages(i)->TabVisible()) continue;
      const TRect t = GetTabRect(i);
      if (t.Left < 0 || t.Right < 0) continue;
      if (NoGroup(r)) {
        r = t;
        Shown = Whole = true;
      }
      r.Right = t.Right;
    }
  }
  if (NoGroup(r)) return r;
  const TRect cap = GetCaptionRect();
  if (!NoGroup(cap)) r.Top = cap.Top;
  Integer e = 0;
  const Integer spacing = FTabSettings->Spacing();
  if (spacing > 2) {
    if (FIsAeroVista && IsOnGlass(true) && FWin7ScenicRibbon) {
      r.Left -= 1;
      e = 1;
    } else {
      r.Left -= spacing / 2;
      r.Right += spacing / 2;
      e = spacing / 2;
    }
  }
  auto hide = [&] {
    r = NoGroupRect;
    Shown = Whole = false;
  };
  if (FWin7ScenicRibbon && FIsAeroVista) {
    // On the scenic glass caption the group stops where the tab row starts.
    const TRect t = GetTabsRect();
    if (t.Left < r.Right && r.Left < t.Left - e) {
      r.Right = t.Left - 1;
      Whole = false;
    }
  } else if (FCaption->Visible() && !FCaptionButtons.Empty()) {
    const TRect b = const_cast<TZadEdevAziPager*>(this)->GetCaptionButtonsRect();
    if (!NoGroup(b)) {
      if (b.Left < r.Right && b.Left < r.Left) hide();
      if (b.Left < r.Right && r.Left < b.Left - e) {
        r.Right = b.Left - 1;
        Whole = false;
      }
    }
  }
  if (qat != nullptr && !NoGroup(r) && r.Left < qat->Left() + qat->Width() && from <= 1) hide();
  return r;
}

Integer TZadEdevAziPager::TabGroupAtPos(Integer X, Integer Y) const {
  for (Integer g = 0; g < FTabGroups->Count(); ++g) {
    bool shown = true, whole = true;
    const TRect r = GetTabGroupRect(g, shown, whole);
    if (!NoGroup(r) && r.Contains(TPoint{X, Y})) return g;
  }
  return -1;
}

// ---------------------------------------------------------------------------
// Tab hint

void TZadEdevAziPager::TabHintShow(TMessage& Message) {
  auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
  if (info == nullptr) return;
  if (!FShowTabHint) {
    info->HintStr.clear();
    return;
  }
  const Integer i = FHintPageIndex;
  if (i < 0 || i >= AdvPageCount()) return;
  TAdvPage* page = AdvPages(i);
  if (!page->TabHint().empty()) {
    info->HintStr = page->TabHint();
    return;
  }
  // The caption is the hint when the tab is too narrow to show it whole.
  TCustomTabAppearance* t = CurrentTabAppearance();
  if (const Integer g = PageTabGroupIndex(page); g >= 0)
    if (TGroupAppearance* ga = GroupAppearanceOf(g)) t = ga->TabAppearance();
  TBitmap bmp(1, 1);
  TCanvas* c = bmp.Canvas();
  if (t != nullptr) c->Font()->Assign(t->Font());
  const String& text = page->Caption().empty() ? page->WideCaption() : page->Caption();
  const Integer w = text.empty() ? 0 : toolbar::MeasureToolBarText(c, text);
  if (page->TabClientWidth() < w) info->HintStr = page->Caption();
}

// ---------------------------------------------------------------------------
// Moving a page

void TZadEdevAziPager::MoveAdvPage(Integer CurIndex, Integer NewIndex) {
  const Integer n = AdvPageCount();
  if (CurIndex < 0 || CurIndex >= n || NewIndex < 0 || NewIndex >= n || CurIndex == NewIndex) return;
  TAdvPage* active = ActivePage();
  FAdvPages->Move(CurIndex, NewIndex);
  // The same page stays active at its new index.
  FActivePageIndex = IndexOfPage(active);
  ResetTabMetrics();
  TabsLayout();
  Invalidate();
}

}  // namespace ribbon
