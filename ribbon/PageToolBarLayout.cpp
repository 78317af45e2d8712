#include "ribbon/PageToolBarLayout.h"

#include <algorithm>
#include <sstream>

namespace ribbon {

namespace {

// Every pass step changes one toolbar's size state or compact form, and a
// toolbar has few of them. A step may change the state and gain no width
// (buttons already at their smallest); the pass goes on to the next step.
// The bound only keeps a toolbar that reports a step it never takes from
// looping for ever.
constexpr Integer MaxPassSteps = 4096;
// The sideways move of a scroll goes in steps of this many pixels.
constexpr Integer ScrollStep = 5;

Integer WidthOf(const IPageToolBar* T) { return T->Bounds().Width(); }

void MoveBy(const std::vector<IPageToolBar*>& L, Integer DX) {
  for (IPageToolBar* T : L) {
    TRect r = T->Bounds();
    r.Left += DX;
    r.Right += DX;
    T->SetBounds(r);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Layout

void TPageToolBarLayout::Relayout() {
  if (!FFrame.AutoPosition) return;
  Integer x = Margin - FScroll.Offset;
  const Integer h = std::max<Integer>(FFrame.Height - 2 * Margin, 0);
  for (IPageToolBar* T : FToolBars) {
    if (!T->IsShown()) continue;
    const Integer w = WidthOf(T);
    if (w <= 0) continue;
    T->SetBounds(TRect{x, Margin, x + w, Margin + h});
    x += w + Margin;
  }
}

void TPageToolBarLayout::Arrange() {
  Relayout();
  Check();
}

std::vector<IPageToolBar*> TPageToolBarLayout::ToolBarsByLeft() const {
  std::vector<IPageToolBar*> L;
  for (IPageToolBar* T : FToolBars)
    if (T->IsShown()) L.push_back(T);
  std::stable_sort(L.begin(), L.end(),
                   [](const IPageToolBar* a, const IPageToolBar* b) { return a->Bounds().Left < b->Bounds().Left; });
  return L;
}

Integer TPageToolBarLayout::FreeWidth() const {
  const auto L = ToolBarsByLeft();
  if (L.empty()) return FFrame.Width - 2;
  return FFrame.Width - L.back()->Bounds().Right - 2;
}

// ---------------------------------------------------------------------------
// Compacting passes

bool TPageToolBarLayout::Eligible(IPageToolBar* T, bool TestWidth) const {
  return T->IsShown() && (!TestWidth || WidthOf(T) > 0) && !T->IsCompact() && T->PropertiesLoaded();
}

bool TPageToolBarLayout::PassesAllowed() const { return FFrame.AutoCompact && !ToolBarsByLeft().empty(); }

void TPageToolBarLayout::Unscroll() {
  FScroll = TToolBarScrollState();
  Relayout();
}

void TPageToolBarLayout::ShrinkToolBars() {
  Unscroll();
  for (Integer step = 0; step < MaxPassSteps && PassesAllowed(); ++step) {
    // Fitting exactly is fitting: nothing is taken from a page that has
    // no deficit.
    if (FreeWidth() >= 0) break;
    const auto L = ToolBarsByLeft();
    // Large-button steps before label steps; within a stage the smallest
    // gain; on equal gains the rightmost.
    TCandidate c;
    for (auto it = L.rbegin(); it != L.rend(); ++it) {
      IPageToolBar* T = *it;
      if (!Eligible(T, true)) continue;
      TButtonSizeState s = bsLarge;
      const Integer g = T->ReduceButtonSizes(s, false);
      if (g <= 0) continue;
      if (c.ToolBar == nullptr || (g < c.Width && s == c.State) || (s == bsLabel && c.State == bsGlyph))
        c = TCandidate{T, g, s};
    }
    if (c.ToolBar != nullptr) {
      TButtonSizeState s = c.State;
      c.ToolBar->ReduceButtonSizes(s, true);
      Relayout();
      continue;
    }
    // No button can shrink further: the rightmost toolbar collapses.
    IPageToolBar* last = nullptr;
    for (IPageToolBar* T : L)
      if (Eligible(T, true)) last = T;
    if (last == nullptr) break;
    last->ChangeCompact(true);
    if (!last->IsCompact()) break;
    last->SetCompactSmallest(true);
    Relayout();
  }
  Check();
}

void TPageToolBarLayout::GrowToolBars() {
  Unscroll();
  for (Integer step = 0; step < MaxPassSteps && PassesAllowed(); ++step) {
    const Integer F = FreeWidth();
    if (F <= 0) break;
    const auto L = ToolBarsByLeft();
    // Compact toolbars come back first, left to right.
    IPageToolBar* compact = nullptr;
    for (IPageToolBar* T : L)
      if (WidthOf(T) > 0 && T->IsCompact() && T->AllowAutoCompact()) {
        compact = T;
        break;
      }
    if (compact != nullptr) {
      if (F < compact->GetExpandedWidth() - compact->GetCompactWidth() + FFrame.Inset) break;
      compact->ChangeCompact(false);
      Relayout();
      if (compact->IsCompact()) break;
      // The expanded width was an estimate; a toolbar that came back wider
      // than the room goes back to compact and waits for more room.
      if (FreeWidth() < 0) {
        compact->ChangeCompact(true);
        compact->SetCompactSmallest(true);
        Relayout();
        break;
      }
      continue;
    }
    // Glyph-to-label steps before label-to-large; within a stage the
    // largest step; on equal widths the leftmost.
    TCandidate c;
    for (IPageToolBar* T : L) {
      if (!Eligible(T, true)) continue;
      TButtonSizeState s = bsGlyph;
      const Integer w = T->EnlargeButtonSizes(s, false);
      if (w <= 0) continue;
      if (c.ToolBar == nullptr || (w > c.Width && s == c.State) || (s == bsLabel && c.State == bsLarge))
        c = TCandidate{T, w, s};
    }
    if (c.ToolBar == nullptr || c.Width >= F) break;
    TButtonSizeState s = c.State;
    c.ToolBar->EnlargeButtonSizes(s, true);
    Relayout();
  }
  // A step that took more than it announced is given back the shrinking
  // way, so a widened page never ends with toolbars it cannot show.
  if (PassesAllowed() && FreeWidth() < 0) {
    ShrinkToolBars();
    return;
  }
  Check();
}

void TPageToolBarLayout::UpdateAllToolBars() {
  Unscroll();
  for (Integer step = 0; step < MaxPassSteps && PassesAllowed(); ++step) {
    const Integer F = FreeWidth();
    const auto L = ToolBarsByLeft();
    if (F > 0) {
      IPageToolBar* compact = nullptr;
      for (IPageToolBar* T : L)
        if (T->IsCompact() && T->AllowAutoCompact()) {
          compact = T;
          break;
        }
      if (compact != nullptr) {
        if (F < compact->GetExpandedWidth() - compact->GetCompactWidth() + FFrame.Inset) break;
        compact->ChangeCompact(false);
        Relayout();
        if (compact->IsCompact()) break;
      continue;
      }
      TCandidate c;
      for (auto it = L.rbegin(); it != L.rend(); ++it) {
        IPageToolBar* T = *it;
        if (!Eligible(T, false)) continue;
        TButtonSizeState s = bsGlyph;
        const Integer w = T->EnlargeButtonSizes(s, false);
        if (w <= 0 || w >= F) continue;
        if (c.ToolBar == nullptr || (w > c.Width && s == c.State) || (s == bsLabel && c.State == bsLarge))
          c = TCandidate{T, w, s};
      }
      if (c.ToolBar == nullptr) break;
      TButtonSizeState s = c.State;
      c.ToolBar->EnlargeButtonSizes(s, true);
      Relayout();
      continue;
    }
    // An exact fit keeps every button size.
    if (F == 0) break;
    const Integer need = -F;
    TCandidate c;
    for (auto it = L.rbegin(); it != L.rend(); ++it) {
      IPageToolBar* T = *it;
      if (!Eligible(T, false)) continue;
      TButtonSizeState s = bsLarge;
      const Integer g = T->ReduceButtonSizes(s, false);
      if (g <= 0) continue;
      if (c.ToolBar == nullptr || ((g < c.Width || c.Width < need) && s == c.State) ||
          (s == bsLabel && c.State == bsGlyph))
        c = TCandidate{T, g, s};
    }
    if (c.ToolBar != nullptr) {
      TButtonSizeState s = c.State;
      c.ToolBar->ReduceButtonSizes(s, true);
      Relayout();
      continue;
    }
    IPageToolBar* last = nullptr;
    for (IPageToolBar* T : L)
      if (Eligible(T, false)) last = T;
    if (last == nullptr) break;
    last->ChangeCompact(true);
    Relayout();
    if (!last->IsCompact()) break;
  }
  Check();
}

// ---------------------------------------------------------------------------
// Scrolling

void TPageToolBarLayout::ShownToolBarsChanged(bool AMore, bool AFewer) {
  Arrange();
  // Room given back first, so that a toolbar shown at the same time
  // shrinks the others only as far as it must.
  if (AFewer) GrowToolBars();
  if (AMore) ShrinkToolBars();
  ResetToolBarScroller();
}

Integer TPageToolBarLayout::CountFittingToolBars(Integer Index, bool AForward) const {
  const auto L = ToolBarsByLeft();
  if (Index < 0 || Index >= Integer(L.size())) return 0;
  Integer x = Margin, n = 0;
  const Integer end = AForward ? Integer(L.size()) : -1;
  for (Integer i = Index; i != end; i += AForward ? 1 : -1) {
    x += WidthOf(L[i]);
    if (x >= FFrame.Width) break;
    x += Margin;
    ++n;
  }
  return n;
}

bool TPageToolBarLayout::AllToolBarsCompact() const {
  for (IPageToolBar* T : FToolBars)
    if (T->IsShown() && !T->IsCompact()) return false;
  return true;
}

Integer TPageToolBarLayout::VisibleToolBarCount() const {
  return Integer(std::count_if(FToolBars.begin(), FToolBars.end(), [](IPageToolBar* T) { return T->IsShown(); }));
}

void TPageToolBarLayout::UpdateToolBarScroller() {
  const Integer a = std::max<Integer>(1, CountFittingToolBars(0, true));
  const Integer v = VisibleToolBarCount();
  FScroll.Max = 0;
  if (a < v && AllToolBarsCompact()) {
    // The screens after the first: each starts where the previous ended.
    Integer i = 0, steps = 0;
    for (Integer k = 0; k < v; ++k) {
      i += std::max<Integer>(1, CountFittingToolBars(i, true));
      if (i >= v) break;
      ++steps;
    }
    FScroll.Max = steps;
  }
  FScroll.Position = std::clamp<Integer>(FScroll.Position, 0, FScroll.Max);
  Check();
}

void TPageToolBarLayout::ResetToolBarScroller() {
  FScroll.FirstIndex = 0;
  FScroll.Position = 0;
  FScroll.Max = 0;
  if (FScroll.Offset != 0) {
    FScroll.Offset = 0;
    Relayout();
  }
  UpdateToolBarScroller();
}

Integer TPageToolBarLayout::ScrollToolBars(Integer ADelta) {
  const Integer v = VisibleToolBarCount();
  Integer moved = 0;
  if (ADelta < 0) {
    const Integer r = std::min<Integer>(-ADelta, FScroll.Position);
    if (FScroll.CanGoBack() && r > 0 && FScroll.FirstIndex > 0) {
      FScroll.Position -= r;
      Integer i = FScroll.FirstIndex;
      for (Integer k = 0; k < r && i > 0; ++k) i -= std::max<Integer>(1, CountFittingToolBars(i - 1, false));
      ScrollToToolBar(std::max<Integer>(i, 0));
      moved = -r;
    }
  } else if (ADelta > 0) {
    const Integer r = std::min<Integer>(ADelta, FScroll.Max - FScroll.Position);
    if (FScroll.CanGoForward() && r > 0) {
      FScroll.Position += r;
      Integer i = FScroll.FirstIndex;
      for (Integer k = 0; k < r && i < v; ++k) i += std::max<Integer>(1, CountFittingToolBars(i, true));
      ScrollToToolBar(std::min<Integer>(i, v - 1));
      moved = r;
    }
  }
  Check();
  return moved;
}

void TPageToolBarLayout::ScrollToToolBar(Integer Index) {
  const auto L = ToolBarsByLeft();
  const Integer v = Integer(L.size());
  if (Index < 0 || Index >= v) return;
  const Integer m = Margin, s = ScrollStep, W = FFrame.Width;
  auto shift = [&](Integer dx) {
    MoveBy(L, dx);
    FScroll.Offset -= dx;
  };
  if (Index > FScroll.FirstIndex) {
    // The last screen is filled: start earlier while that fits more.
    while (Index > 0 && CountFittingToolBars(Index - 1, true) > CountFittingToolBars(Index, true)) --Index;
    if (Index > FScroll.FirstIndex) {
      for (bool last = false; !last;) {
        Integer step = s;
        const Integer right = L.back()->Bounds().Right;
        if (right + m - s <= W - m) {
          step = right - (W - m);
          last = true;
        }
        if (L[Index]->Bounds().Left - s <= m) {
          step = L[Index]->Bounds().Left - m;
          last = true;
        }
        shift(-std::max<Integer>(step, 0));
      }
    }
    FScroll.FirstIndex = Index;
  } else if (Index < FScroll.FirstIndex) {
    for (bool last = false; !last;) {
      Integer step = s;
      if (L[0]->Bounds().Left + s >= 0) {
        step = m - L[0]->Bounds().Left;
        last = true;
      }
      if (L[Index]->Bounds().Left + s >= 0) {
        step = m - L[Index]->Bounds().Left;
        last = true;
      }
      shift(std::max<Integer>(step, 0));
    }
    FScroll.FirstIndex = Index;
  }
  UpdateToolBarScroller();
}

// ---------------------------------------------------------------------------
// Invariants

std::string TPageToolBarLayout::CheckInvariants() const {
  std::ostringstream out;
  if (FFrame.AutoPosition) {
    Integer x = Margin - FScroll.Offset;
    const Integer h = std::max<Integer>(FFrame.Height - 2 * Margin, 0);
    Integer index = 0;
    for (IPageToolBar* T : FToolBars) {
      const TRect r = T->Bounds();
      if (r.Width() < 0) out << "toolbar " << index << " has a negative width; ";
      if (T->IsShown() && r.Width() > 0) {
        if (r.Left != x) out << "toolbar " << index << " stands at " << r.Left << ", not " << x << "; ";
        if (r.Top != Margin || r.Height() != h) out << "toolbar " << index << " has a wrong top or height; ";
        x = r.Right + Margin;
      }
      ++index;
    }
  }
  const Integer v = VisibleToolBarCount();
  if (FScroll.Position < 0 || FScroll.Position > FScroll.Max) out << "scroll position out of range; ";
  if (FScroll.Max > 0 && !AllToolBarsCompact()) out << "scrolling while a toolbar is expanded; ";
  if (FScroll.FirstIndex < 0 || FScroll.FirstIndex > std::max<Integer>(v - 1, 0)) out << "first index out of range; ";
  return out.str();
}

void TPageToolBarLayout::Check() {
  if (!FViolation.empty()) return;
  FViolation = CheckInvariants();
}

// ---------------------------------------------------------------------------
// TToolBarSizeModel

TToolBarSizeModel::TToolBarSizeModel(std::vector<TLevel> ALevels, Integer ACompactWidth)
    : FLevels(std::move(ALevels)), FCompactWidth(ACompactWidth) {
  if (FLevels.empty()) FLevels.push_back(TLevel{ACompactWidth, bsLarge});
  SetWidth(FLevels[0].Width);
}

Integer TToolBarSizeModel::ReduceButtonSizes(TButtonSizeState& ANewState, bool AApply) {
  if (FCompact || FLevel + 1 >= Integer(FLevels.size())) return 0;
  const Integer gain = FLevels[FLevel].Width - FLevels[FLevel + 1].Width;
  ANewState = FLevels[FLevel + 1].State;
  if (AApply) SetWidth(FLevels[++FLevel].Width);
  return gain;
}

Integer TToolBarSizeModel::EnlargeButtonSizes(TButtonSizeState& ANewState, bool AApply) {
  if (FCompact || FLevel == 0) return 0;
  const Integer need = FLevels[FLevel - 1].Width - FLevels[FLevel].Width;
  ANewState = FLevels[FLevel - 1].State;
  if (AApply) SetWidth(FLevels[--FLevel].Width);
  return need;
}

void TToolBarSizeModel::ChangeCompact(bool ACompact) {
  if (ACompact == FCompact || HeldCompact || !Loaded) return;
  FCompact = ACompact;
  SetWidth(FCompact ? FCompactWidth : FLevels[FLevel].Width);
}

Integer TToolBarSizeModel::GetExpandedWidth() {
  if (FCompact && !FCompactSmallest) {
    FLevel = Integer(FLevels.size()) - 1;
    FCompactSmallest = true;
  }
  return FLevels[FLevel].Width;
}

void TToolBarSizeModel::HoldCompact(bool Value) {
  if (Value) {
    ChangeCompact(true);
    HeldCompact = FCompact;
  } else {
    HeldCompact = false;
    ChangeCompact(false);
  }
}

}  // namespace ribbon
