#include "ribbon/PagerTabLayout.h"

#include <algorithm>

#include "platform/rtl/Math.h"

namespace ribbon {

namespace {

Integer RowWidth(const TTabRow& Row) { return Row.RowRight - Row.RowLeft; }

bool Valid(const TTabRow& Row, Integer Index) { return Index >= 0 && Index < Integer(Row.Tabs.size()); }

const TTabGroupMetrics* GroupOf(const TTabRow& Row, Integer Index) {
  const Integer g = Row.Tabs[size_t(Index)].Group;
  return g >= 0 && g < Integer(Row.Groups.size()) ? &Row.Groups[size_t(g)] : nullptr;
}

// Moves every visible tab after Index by Delta.
void ShiftLater(TTabRow& Row, Integer Index, Integer Delta) {
  for (size_t i = size_t(Index) + 1; i < Row.Tabs.size(); ++i)
    if (Row.Tabs[i].Visible) Row.Tabs[i].Left += Delta;
}

// The widest visible tab wider than the minimum, grouped or not as asked
// (the first of equals); -1 when none.
Integer WidestShrinkable(const TTabRow& Row, bool Grouped) {
  Integer best = -1, bestWidth = MinTabWidth;
  for (Integer i = 0; i < Integer(Row.Tabs.size()); ++i) {
    const TTabMetrics& t = Row.Tabs[size_t(i)];
    if (!t.Visible || (GroupOf(Row, i) != nullptr) != Grouped || t.ClientWidth <= 0) continue;
    const Integer w = TabExtent(Row, i);
    if (w > bestWidth) {
      best = i;
      bestWidth = w;
    }
  }
  return best;
}

bool IsShrunk(const TTabMetrics& t) { return t.Visible && t.ClientWidth < t.RealClientWidth; }

// The shrunk visible tab with the least content, grouped ones first; -1 when none.
Integer NarrowestShrunk(const TTabRow& Row) {
  for (bool grouped : {true, false}) {
    Integer best = -1;
    for (Integer i = 0; i < Integer(Row.Tabs.size()); ++i) {
      const TTabMetrics& t = Row.Tabs[size_t(i)];
      if (!IsShrunk(t) || (GroupOf(Row, i) != nullptr) != grouped) continue;
      if (best < 0 || t.ClientWidth < Row.Tabs[size_t(best)].ClientWidth) best = i;
    }
    if (best >= 0) return best;
  }
  return -1;
}

// Lowers a pair of margins one pixel at a time (left first) while Deficit
// says the row is too wide; answers the deficit left.
template <class F>
Integer ShrinkPair(TTabRow& Row, Integer& L, Integer& R, F Deficit) {
  Integer n = Deficit();
  const Integer m = Row.Settings.MinMargin;
  while (n > 0 && (L > m || R > m)) {
    if (L > m) {
      --L;
      n = Deficit();
    }
    if (n > 0 && R > m) {
      --R;
      n = Deficit();
    }
  }
  return n;
}

// Raises a pair of margins towards their settings one pixel at a time (left
// first); false after a step that overflowed (and was undone). A step that
// costs nothing (no tab of its kind) is always taken.
template <class F>
bool GrowPair(Integer& L, Integer& R, Integer LTarget, Integer RTarget, F Room) {
  while (L < LTarget || R < RTarget) {
    for (Integer* v : {&L, &R}) {
      if (*v >= (v == &L ? LTarget : RTarget)) continue;
      ++*v;
      if (Room() < 0) {
        --*v;
        return false;
      }
    }
  }
  return true;
}

}  // namespace

void ResetTabRowCurrent(TTabRow& Row) {
  const TTabRowSettings& s = Row.Settings;
  Row.Current = {s.Spacing, s.LeftMargin, s.RightMargin, s.LeftMargin, s.RightMargin};
  for (TTabGroupMetrics& g : Row.Groups) g.CurrentExtraXMargin = g.ExtraXMargin;
}

Integer TabExtent(const TTabRow& Row, Integer Index) {
  if (!Valid(Row, Index)) return 0;
  const TTabMetrics& t = Row.Tabs[size_t(Index)];
  if (const TTabGroupMetrics* g = GroupOf(Row, Index))
    return t.ClientWidth + 2 * g->CurrentExtraXMargin + Row.Current.GroupLeftMargin + Row.Current.GroupRightMargin;
  return t.ClientWidth + Row.Current.LeftMargin + Row.Current.RightMargin;
}

Integer TotalTabsWidth(const TTabRow& Row) {
  Integer total = 0;
  const Integer last = Integer(Row.Tabs.size()) - 1;
  for (Integer i = 0; i <= last; ++i) {
    if (!Row.Tabs[size_t(i)].Visible) continue;
    total += TabExtent(Row, i);
    if (i != last) total += Row.Current.Spacing;
  }
  return total;
}

void PositionTabs(TTabRow& Row, Integer From, Integer To) {
  From = std::max<Integer>(From, 0);
  To = std::min<Integer>(To, Integer(Row.Tabs.size()) - 1);
  Integer prev = -1;
  for (Integer i = From; i <= To; ++i) {
    TTabMetrics& t = Row.Tabs[size_t(i)];
    if (!t.Visible) continue;
    if (prev >= 0) t.Left = Row.Tabs[size_t(prev)].Left + TabExtent(Row, prev) + Row.Current.Spacing;
    prev = i;
  }
}

void PositionAllTabs(TTabRow& Row) {
  for (TTabMetrics& t : Row.Tabs)
    if (t.Visible) {
      t.Left = Row.RowLeft;
      break;
    }
  PositionTabs(Row, 0, Integer(Row.Tabs.size()) - 1);
}

void LayoutTabRow(TTabRow& Row) {
  if (Row.Tabs.empty()) return;
  const Integer A = RowWidth(Row);
  const Integer T = TotalTabsWidth(Row);
  TTabRowCurrent& c = Row.Current;
  const TTabRowSettings& s = Row.Settings;
  auto deficit = [&] { return TotalTabsWidth(Row) - A; };
  auto room = [&] { return A - TotalTabsWidth(Row); };

  if (A < T) {
    Integer n = T - A;
    while (c.Spacing > s.MinSpacing && n > 0) {
      --c.Spacing;
      n = deficit();
    }
    PositionAllTabs(Row);
    n = ShrinkPair(Row, c.LeftMargin, c.RightMargin, deficit);
    PositionAllTabs(Row);
    n = ShrinkPair(Row, c.GroupLeftMargin, c.GroupRightMargin, deficit);
    PositionAllTabs(Row);
    while (n > 0 && !Row.Groups.empty()) {
      bool changed = false;
      for (TTabGroupMetrics& g : Row.Groups) {
        if (g.CurrentExtraXMargin <= 0) continue;
        --g.CurrentExtraXMargin;
        changed = true;
        n = deficit();
        if (n < 1) break;
      }
      if (!changed) break;
    }
    PositionAllTabs(Row);
    // Text: the widest tab outside groups first; grouped tabs only when no
    // other tab can give more, and then until the row fits.
    Integer steps = TotalTabsWidth(Row);
    while (n > 0 && steps-- > 0) {
      Integer i = WidestShrinkable(Row, false);
      if (i < 0) i = WidestShrinkable(Row, true);
      if (i < 0) break;
      TTabMetrics& t = Row.Tabs[size_t(i)];
      const Integer d = std::min({n, TabShrinkStep, TabExtent(Row, i) - MinTabWidth, t.ClientWidth});
      if (d <= 0) break;
      t.ClientWidth -= d;
      ShiftLater(Row, i, -d);
      n -= d;
    }
    return;
  }
  if (A == T) return;

  Integer a = A - T;
  if (std::any_of(Row.Tabs.begin(), Row.Tabs.end(), IsShrunk)) {
    Integer steps = T;
    while (a > 0 && steps-- > 0) {
      const Integer i = NarrowestShrunk(Row);
      if (i < 0) break;
      TTabMetrics& t = Row.Tabs[size_t(i)];
      const Integer d = std::min({a, TabShrinkStep, t.RealClientWidth - t.ClientWidth});
      t.ClientWidth += d;
      ShiftLater(Row, i, d);
      a -= d;
    }
    if (std::any_of(Row.Tabs.begin(), Row.Tabs.end(), IsShrunk)) return;
  }
  bool open = true;
  while (open && c.Spacing < s.Spacing) {
    ++c.Spacing;
    if (room() < 0) {
      --c.Spacing;
      open = false;
    }
  }
  PositionAllTabs(Row);
  if (!open) return;
  open = GrowPair(c.GroupLeftMargin, c.GroupRightMargin, s.LeftMargin, s.RightMargin, room);
  PositionAllTabs(Row);
  if (!open) return;
  while (open) {
    bool changed = false;
    for (TTabGroupMetrics& g : Row.Groups) {
      if (g.CurrentExtraXMargin >= g.ExtraXMargin) continue;
      ++g.CurrentExtraXMargin;
      changed = true;
      if (room() < 0) {
        --g.CurrentExtraXMargin;
        open = false;
        break;
      }
    }
    if (!changed) break;
  }
  PositionAllTabs(Row);
  if (!open) return;
  GrowPair(c.LeftMargin, c.RightMargin, s.LeftMargin, s.RightMargin, room);
  PositionAllTabs(Row);
}

Integer ShownTabLeft(const TTabRow& Row, Integer Index) {
  if (!Valid(Row, Index)) return -1;
  if (!Row.Abut) return Row.Tabs[size_t(Index)].Left;
  Integer last = -1;
  for (Integer i = 0; i < Integer(Row.Tabs.size()); ++i)
    if (Row.Tabs[size_t(i)].Visible) last = i;
  if (last < 0 || !Row.Tabs[size_t(Index)].Visible ||
      Row.Tabs[size_t(last)].Left + TabExtent(Row, last) >= Row.RowRight)
    return Row.Tabs[size_t(Index)].Left;
  Integer left = -1, prev = -1;
  for (Integer i = 0; i <= Index; ++i) {
    if (!Row.Tabs[size_t(i)].Visible) continue;
    left = prev < 0 ? Row.Tabs[size_t(i)].Left : left + TabExtent(Row, prev);
    prev = i;
  }
  return left;
}

std::string CheckTabRow(const TTabRow& Row) {
  const TTabRowCurrent& c = Row.Current;
  const TTabRowSettings& s = Row.Settings;
  auto within = [](Integer v, Integer lo, Integer hi) { return v >= std::min(lo, hi) && v <= hi; };
  if (!within(c.Spacing, s.MinSpacing, s.Spacing)) return "spacing out of its range";
  for (Integer v : {c.LeftMargin, c.GroupLeftMargin})
    if (!within(v, s.MinMargin, s.LeftMargin)) return "left margin out of its range";
  for (Integer v : {c.RightMargin, c.GroupRightMargin})
    if (!within(v, s.MinMargin, s.RightMargin)) return "right margin out of its range";
  for (const TTabGroupMetrics& g : Row.Groups)
    if (g.CurrentExtraXMargin < 0 || g.CurrentExtraXMargin > g.ExtraXMargin) return "group margin out of its range";
  Integer prev = -1;
  for (Integer i = 0; i < Integer(Row.Tabs.size()); ++i) {
    const TTabMetrics& t = Row.Tabs[size_t(i)];
    if (!t.Visible) continue;
    if (t.ClientWidth < 0 || t.ClientWidth > t.RealClientWidth) return "content wider than measured";
    if (t.ClientWidth < t.RealClientWidth && TabExtent(Row, i) < MinTabWidth) return "shrunk below the minimum";
    const Integer expected =
        prev < 0 ? Row.RowLeft : Row.Tabs[size_t(prev)].Left + TabExtent(Row, prev) + c.Spacing;
    if (t.Left != expected) return "tab " + std::to_string(i) + " out of place";
    prev = i;
  }
  if (TotalTabsWidth(Row) > RowWidth(Row)) {
    // Overflow only when nothing is left to give.
    if (c.Spacing > s.MinSpacing && s.Spacing > s.MinSpacing) return "overflows with spacing to give";
    for (Integer i = 0; i < Integer(Row.Tabs.size()); ++i)
      if (Row.Tabs[size_t(i)].Visible && Row.Tabs[size_t(i)].ClientWidth > 0 && TabExtent(Row, i) > MinTabWidth)
        return "overflows with tab " + std::to_string(i) + " still shrinkable";
  }
  return {};
}

Integer GroupExtraMargin(Integer GroupWidth, Integer CaptionWidth, Integer TabCount) {
  const Integer c = GroupWidth - CaptionWidth - 26;
  if (c >= 0 || TabCount <= 0) return 0;
  Integer m = -c;
  if (m % 2 != 0) ++m;
  return (m / TabCount) / 2;
}

TTabMeasure MeasureTabWidths(const TTabMeasureInput& In) {
  const Integer one = Integer(Round(In.Scale));
  Integer w = one;
  w += std::max<Integer>(In.FontPointSize - 7, 0) + one + std::max<Integer>(In.TextWidth, 0);
  if (In.ImageWidth >= 0) w += In.ImageWidth + 2;
  TTabMeasure m;
  m.ClientWidth = In.Office2019 ? w + In.LeftMargin + In.RightMargin : w;
  m.Width = w + In.LeftMargin + In.RightMargin + (In.OnGlass ? Integer(Round(6 * double(In.Scale))) : 0);
  m.RealClientWidth = In.Office2019 ? m.Width : m.ClientWidth;
  return m;
}

Integer Rnd(double Value) { return Integer(Round(Value)); }

Integer ScaledTabHeight(Integer Height, Single Scale) {
  Integer h = Integer(Round(double(Height) * double(Scale)));
  if (h % 2 != 0) ++h;
  return h;
}

}  // namespace ribbon
