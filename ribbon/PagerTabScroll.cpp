#include "ribbon/PagerTabScroll.h"

#include <algorithm>

namespace ribbon {

namespace {

Integer TabCount(const TTabRow& Row) { return Integer(Row.Tabs.size()); }

bool IsVisible(const TTabRow& Row, Integer i) { return i >= 0 && i < TabCount(Row) && Row.Tabs[size_t(i)].Visible; }

// The first visible tab at or after From (-1 when none).
Integer NextVisible(const TTabRow& Row, Integer From) {
  for (Integer i = std::max<Integer>(From, 0); i < TabCount(Row); ++i)
    if (Row.Tabs[size_t(i)].Visible) return i;
  return -1;
}

// The last visible tab at or before From (-1 when none).
Integer PrevVisible(const TTabRow& Row, Integer From) {
  for (Integer i = std::min<Integer>(From, TabCount(Row) - 1); i >= 0; --i)
    if (Row.Tabs[size_t(i)].Visible) return i;
  return -1;
}

Integer RightEdge(const TTabRow& Row, Integer i) { return Row.Tabs[size_t(i)].Left + TabExtent(Row, i); }

void ShiftAll(TTabRow& Row, Integer Delta) {
  for (TTabMetrics& t : Row.Tabs) t.Left += Delta;
}

// The end of the row shows: the last tab ends inside it, or, wider than
// the row, starts at its left edge.
bool LastTabInside(const TTabRow& Row) {
  const Integer last = LastVisibleTabIndex(Row);
  return last < 0 || RightEdge(Row, last) <= Row.RowRight || Row.Tabs[size_t(last)].Left <= Row.RowLeft;
}

}  // namespace

Integer CountTabsFitting(const TTabRow& Row, Integer Index, bool Forward, Integer& LastIndex) {
  if (Index < 0 || Index >= TabCount(Row)) return 0;
  Integer x = Row.RowLeft, count = 0;
  const Integer step = Forward ? 1 : -1;
  for (Integer i = Index; i >= 0 && i < TabCount(Row); i += step) {
    if (!Row.Tabs[size_t(i)].Visible) continue;
    const Integer w = TabExtent(Row, i);
    // A tab ending exactly on the right edge is wholly shown: it fits.
    if (x + w > Row.RowRight) break;
    ++count;
    LastIndex = i;
    x += w + Row.Current.Spacing;
  }
  return count;
}

Integer VisibleTabCount(const TTabRow& Row) {
  return Integer(std::count_if(Row.Tabs.begin(), Row.Tabs.end(), [](const TTabMetrics& t) { return t.Visible; }));
}

Integer LastVisibleTabIndex(const TTabRow& Row) { return PrevVisible(Row, TabCount(Row) - 1); }

std::vector<Integer> TabScreenStarts(const TTabRow& Row) {
  Integer start = NextVisible(Row, 0);
  if (start < 0) return {0};
  std::vector<Integer> starts{start};
  // Each pass ends one screen of at least one tab, so the row's length bounds it.
  for (Integer k = 0; k < TabCount(Row); ++k) {
    Integer last = -1;
    if (CountTabsFitting(Row, start, true, last) == 0) last = start;  // wider than the row: a screen alone
    start = NextVisible(Row, last + 1);
    if (start < 0) break;
    starts.push_back(start);
  }
  return starts;
}

Integer TabScreenCount(const TTabRow& Row) { return Integer(TabScreenStarts(Row).size()) - 1; }

void UpdateTabScroll(const TTabRow& Row, TTabScrollState& S) {
  S.Min = 0;
  S.Max = TabScreenCount(Row);
  S.Position = std::clamp(S.Position, S.Min, S.Max);
}

void ResetTabScroll(TTabRow& Row, TTabScrollState& S) {
  S = TTabScrollState{};
  PositionAllTabs(Row);
  UpdateTabScroll(Row, S);
}

bool ScrollRowToTab(TTabRow& Row, TTabScrollState& S, Integer Index) {
  if (Index < 0 || Index >= TabCount(Row) || Index == S.StartTabIndex) return false;
  if (Index > S.StartTabIndex) {
    Index = PrevVisible(Row, Index);
    if (Index < 0) return false;
    Integer dummy = 0;
    Integer a = CountTabsFitting(Row, Index, true, dummy);
    // A target wider than the row stays where it is: nothing fits with it.
    for (Integer k = 0; k < TabCount(Row) && a > 0; ++k) {
      const Integer prev = PrevVisible(Row, Index - 1);
      if (prev < 0) break;
      const Integer b = CountTabsFitting(Row, prev, true, dummy);
      if (a >= b) break;
      Index = prev;
      a = b;
    }
    if (S.StartTabIndex >= Index) return false;
    const Integer last = LastVisibleTabIndex(Row);
    const Integer toLeft = Row.Tabs[size_t(Index)].Left - Row.RowLeft;
    const Integer toRight = RightEdge(Row, last) - Row.RowRight;
    // The target at the left edge, or the last tab at the right edge when
    // that comes first; never backwards.
    ShiftAll(Row, -std::max<Integer>(0, std::min(toLeft, toRight)));
  } else {
    Index = NextVisible(Row, Index);
    if (Index < 0 || Index >= S.StartTabIndex) return false;
    ShiftAll(Row, std::max<Integer>(0, Row.RowLeft - Row.Tabs[size_t(Index)].Left));
  }
  S.StartTabIndex = Index;
  return true;
}

Integer ScrollTabRow(TTabRow& Row, TTabScrollState& S, Integer Delta) {
  const Integer old = S.Position;
  if (Delta > 0) {
    const Integer steps = std::min(Delta, S.Max - S.Position);
    if (!S.CanGoForward() || steps <= 0) return 0;
    Integer i = S.StartTabIndex, done = 0, target = -1;
    for (Integer k = 0; k < steps; ++k) {
      Integer last = -1;
      if (CountTabsFitting(Row, i, true, last) == 0) last = NextVisible(Row, i);
      if (last < 0) break;
      const Integer next = NextVisible(Row, last + 1);
      if (next < 0) break;
      target = next;
      i = next;
      ++done;
    }
    if (done == 0) return 0;
    // The last screen is the one that shows the end of the row.
    const bool toEnd = S.Position + done >= S.Max;
    if (toEnd) target = LastVisibleTabIndex(Row);
    if (!ScrollRowToTab(Row, S, target)) return 0;
    S.Position = toEnd || LastTabInside(Row) ? S.Max : S.Position + done;
  } else if (Delta < 0) {
    const Integer steps = std::min(-Delta, S.Position - S.Min);
    if (!S.CanGoBack() || steps <= 0 || S.StartTabIndex <= 0) return 0;
    Integer i = S.StartTabIndex - 1, done = 0, target = -1;
    for (Integer k = 0; k < steps && i >= 0; ++k) {
      Integer first = -1;
      if (CountTabsFitting(Row, i, false, first) == 0) first = PrevVisible(Row, i);
      if (first < 0) break;
      target = first;
      ++done;
      i = first - 1;
    }
    if (done == 0) return 0;
    const Integer firstTab = NextVisible(Row, 0);
    const bool toStart = S.Position - done <= S.Min;
    if (toStart) target = firstTab;
    if (!ScrollRowToTab(Row, S, target)) return 0;
    S.Position = toStart || S.StartTabIndex == firstTab ? S.Min : S.Position - done;
  }
  return S.Position - old;
}

std::string CheckTabScroll(const TTabRow& Row, const TTabScrollState& S) {
  if (S.Min != 0) return "Min is not 0";
  if (S.Position < S.Min || S.Position > S.Max) return "Position outside Min..Max";
  if (S.Max != TabScreenCount(Row)) return "Max disagrees with the row";
  Integer prev = -1;
  for (Integer i = 0; i < TabCount(Row); ++i) {
    if (!Row.Tabs[size_t(i)].Visible) continue;
    if (prev >= 0 && Row.Tabs[size_t(i)].Left != RightEdge(Row, prev) + Row.Current.Spacing)
      return "tab " + std::to_string(i) + " not chained to the one before";
    prev = i;
  }
  const Integer first = NextVisible(Row, 0);
  if (first < 0) return {};
  if (S.Max == 0 && S.StartTabIndex != 0 && S.StartTabIndex != first) return "scrolled while everything fits";
  if (S.Position == S.Min && Row.Tabs[size_t(first)].Left != Row.RowLeft)
    return "first screen does not start at the left edge";
  if (S.Max > 0 && (S.Position == S.Min) != (S.StartTabIndex == first || S.StartTabIndex == 0))
    return "Position and start tab disagree about the first screen";
  if (!IsVisible(Row, S.StartTabIndex) && S.StartTabIndex != 0) return "start tab hidden";
  if (IsVisible(Row, S.StartTabIndex) && Row.Tabs[size_t(S.StartTabIndex)].Left < Row.RowLeft)
    return "start tab cut at the left edge";
  if (S.Max > 0 && (S.Position == S.Max) != LastTabInside(Row))
    return "Position and the row's end disagree about the last screen";
  return {};
}

TScrollButtonRects ScrollButtonRects(const TRect& TabsRect, Single Scale) {
  const Integer w = Rnd(12 * double(Scale));
  const Integer h = TabsRect.Bottom - TabsRect.Top - 5;
  return {TRect{TabsRect.Left, TabsRect.Top, TabsRect.Left + w, TabsRect.Top + h},
          TRect{TabsRect.Right - w, TabsRect.Top, TabsRect.Right, TabsRect.Top + h}};
}

}  // namespace ribbon
