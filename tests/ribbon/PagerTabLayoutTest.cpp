// The pager's tab row as geometry: measuring, placing, the shrink order and
// growing back in reverse, with the row's invariants checked after each layout.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "ribbon/PagerTabLayout.h"

namespace ribbon {
namespace {

// A row of tabs with the given content widths; Groups[i] is the group of tab i (-1 none).
TTabRow MakeRow(const std::vector<Integer>& Contents, Integer Width, const std::vector<Integer>& Groups = {},
                Integer GroupCount = 0) {
  TTabRow r;
  for (size_t i = 0; i < Contents.size(); ++i) {
    TTabMetrics t;
    t.ClientWidth = t.RealClientWidth = Contents[i];
    t.Width = Contents[i] + 8;
    t.Group = i < Groups.size() ? Groups[i] : -1;
    r.Tabs.push_back(t);
  }
  r.Groups.resize(size_t(GroupCount));
  r.RowLeft = 60;
  r.RowRight = 60 + Width;
  ResetTabRowCurrent(r);
  PositionAllTabs(r);
  return r;
}

void Layout(TTabRow& r) {
  LayoutTabRow(r);
  ASSERT_EQ(CheckTabRow(r), "");
}

Integer RowWidth(const TTabRow& r) { return r.RowRight - r.RowLeft; }

TEST(PagerTabLayout, FittingRowChainsTabsFromTheLeftEdge) {
  TTabRow r = MakeRow({40, 30, 50}, 400);
  Layout(r);
  // Extents 48, 38, 58 with spacing 4.
  EXPECT_EQ(r.Tabs[0].Left, 60);
  EXPECT_EQ(r.Tabs[1].Left, 60 + 48 + 4);
  EXPECT_EQ(r.Tabs[2].Left, 60 + 48 + 4 + 38 + 4);
  EXPECT_EQ(TotalTabsWidth(r), 48 + 38 + 58 + 8);
  EXPECT_EQ(r.Current, (TTabRowCurrent{4, 4, 4, 4, 4}));
}

TEST(PagerTabLayout, HiddenTabsTakeNoRoomButTheSpacingBeforeAHiddenLastTabCounts) {
  TTabRow r = MakeRow({40, 30, 50}, 400);
  r.Tabs[2].Visible = false;
  // 48 + 4 + 38 + 4: the spacing after tab 1 stays because tab 1 is not the last index.
  EXPECT_EQ(TotalTabsWidth(r), 94);
  r.Tabs[1].Visible = false;
  r.Tabs[2].Visible = true;
  PositionAllTabs(r);
  EXPECT_EQ(r.Tabs[2].Left, 60 + 48 + 4);
}

// Each row of the table: the deficit and the state the shrink reaches.
struct TShrinkCase {
  Integer Deficit;
  TTabRowCurrent Expected;
  bool TextShrunk;
};

TEST(PagerTabLayout, ShrinkGivesUpSpacingThenMarginsThenText) {
  const std::vector<TShrinkCase> cases = {
      {1, {3, 4, 4, 4, 4}, false},   // one pixel of spacing per gap covers it
      {2, {3, 4, 4, 4, 4}, false},   // two gaps
      {3, {3, 3, 4, 4, 4}, false},   // then the left margins of the three tabs
      {6, {3, 3, 3, 4, 4}, false},   // then the right margins
      {9, {3, 3, 3, 3, 3}, true},    // then text (group margins give nothing here)
      {60, {3, 3, 3, 3, 3}, true},
  };
  for (const TShrinkCase& c : cases) {
    TTabRow r = MakeRow({40, 30, 50}, 0);
    r.RowRight = r.RowLeft + TotalTabsWidth(r) - c.Deficit;
    Layout(r);
    EXPECT_EQ(r.Current, c.Expected) << "deficit " << c.Deficit;
    const bool shrunk = r.Tabs[0].ClientWidth < 40 || r.Tabs[1].ClientWidth < 30 || r.Tabs[2].ClientWidth < 50;
    EXPECT_EQ(shrunk, c.TextShrunk) << "deficit " << c.Deficit;
    EXPECT_LE(TotalTabsWidth(r), RowWidth(r)) << "deficit " << c.Deficit;
  }
}

TEST(PagerTabLayout, TextShrinksTheWidestUngroupedTabFiveAtATimeDownToTheMinimum) {
  // Ten long captions in a narrow row.
  TTabRow r = MakeRow(std::vector<Integer>(10, 80), 300);
  Layout(r);
  EXPECT_EQ(r.Current, (TTabRowCurrent{3, 3, 3, 3, 3}));
  // 10 tabs + 9 gaps of 3 in 300: every tab has the same width within one step.
  Integer lo = 1000, hi = 0;
  for (Integer i = 0; i < 10; ++i) {
    lo = std::min(lo, TabExtent(r, i));
    hi = std::max(hi, TabExtent(r, i));
  }
  EXPECT_LE(hi - lo, TabShrinkStep);
  EXPECT_LE(TotalTabsWidth(r), 300);
  // Narrower than all minimums: every tab at 24 and the row overflows (the scroller's case).
  r.RowRight = r.RowLeft + 100;
  Layout(r);
  for (Integer i = 0; i < 10; ++i) EXPECT_EQ(TabExtent(r, i), MinTabWidth) << i;
}

TEST(PagerTabLayout, SmallDeficitWithOnlyGroupedTabsIsStillResolved) {
  // Two grouped tabs only; margins at their minimum leave 3 pixels to find.
  TTabRow r = MakeRow({40, 40}, 0, {0, 0}, 1);
  r.RowRight = r.RowLeft + TotalTabsWidth(r) - 1 - 4 - 3;  // spacing 1, group margins 4, then 3
  Layout(r);
  EXPECT_EQ(TotalTabsWidth(r), RowWidth(r));
  EXPECT_EQ(r.Tabs[0].ClientWidth + r.Tabs[1].ClientWidth, 80 - 3);
}

TEST(PagerTabLayout, GroupExtraMarginsGiveWayBeforeText) {
  TTabRow r = MakeRow({30, 30, 30}, 0, {0, 0, -1}, 1);
  r.Groups[0].ExtraXMargin = 6;
  ResetTabRowCurrent(r);
  PositionAllTabs(r);
  const Integer full = TotalTabsWidth(r);
  r.RowRight = r.RowLeft + full - 2 - 2 - 4 - 7;  // spacing, tab margins, group margins, then extras
  Layout(r);
  EXPECT_EQ(r.Groups[0].CurrentExtraXMargin, 4);
  EXPECT_EQ(r.Tabs[0].ClientWidth, 30);
  // Back to the full width: everything returns.
  r.RowRight = r.RowLeft + full;
  Layout(r);
  EXPECT_EQ(r.Groups[0].CurrentExtraXMargin, 6);
  EXPECT_EQ(r.Current, (TTabRowCurrent{4, 4, 4, 4, 4}));
}

TEST(PagerTabLayout, GrowingGivesBackTextThenSpacingThenGroupMarginsThenExtrasThenTabMargins) {
  TTabRow r = MakeRow({60, 50, 40, 70}, 0, {-1, 0, 0, -1}, 1);
  r.Groups[0].ExtraXMargin = 2;
  ResetTabRowCurrent(r);
  PositionAllTabs(r);
  const Integer full = TotalTabsWidth(r);
  r.RowRight = r.RowLeft + full - 60;
  Layout(r);
  // Widen one pixel at a time and note when each kind of room first comes back.
  enum { Text, Spacing, GroupMargin, Extra, TabMargin };
  std::vector<int> order;
  auto note = [&](int k) {
    if (std::find(order.begin(), order.end(), k) == order.end()) order.push_back(k);
  };
  TTabRow prev = r;
  for (Integer w = full - 59; w <= full; ++w) {
    r.RowRight = r.RowLeft + w;
    Layout(r);
    for (size_t i = 0; i < r.Tabs.size(); ++i)
      if (r.Tabs[i].ClientWidth > prev.Tabs[i].ClientWidth) note(Text);
    if (r.Current.Spacing > prev.Current.Spacing) note(Spacing);
    if (r.Current.GroupLeftMargin > prev.Current.GroupLeftMargin ||
        r.Current.GroupRightMargin > prev.Current.GroupRightMargin)
      note(GroupMargin);
    if (r.Groups[0].CurrentExtraXMargin > prev.Groups[0].CurrentExtraXMargin) note(Extra);
    if (r.Current.LeftMargin > prev.Current.LeftMargin || r.Current.RightMargin > prev.Current.RightMargin)
      note(TabMargin);
    ASSERT_LE(TotalTabsWidth(r), w);
    prev = r;
  }
  EXPECT_EQ(order, (std::vector<int>{Text, Spacing, GroupMargin, Extra, TabMargin}));
  EXPECT_EQ(r.Current, (TTabRowCurrent{4, 4, 4, 4, 4}));
  for (const TTabMetrics& t : r.Tabs) EXPECT_EQ(t.ClientWidth, t.RealClientWidth);
}

TEST(PagerTabLayout, RandomRowsKeepTheirInvariantsWhileTheWidthWandersAndComeBackWhole) {
  std::mt19937 rng(43);
  for (int round = 0; round < 60; ++round) {
    const int count = 1 + int(rng() % 12);
    std::vector<Integer> contents, groups;
    for (int i = 0; i < count; ++i) {
      contents.push_back(Integer(5 + rng() % 90));
      groups.push_back(rng() % 3 == 0 ? Integer(rng() % 2) : -1);
    }
    TTabRow r = MakeRow(contents, 0, groups, 2);
    r.Groups[0].ExtraXMargin = Integer(rng() % 5);
    r.Groups[1].ExtraXMargin = Integer(rng() % 5);
    ResetTabRowCurrent(r);
    PositionAllTabs(r);
    const TTabRow whole = r;
    const Integer full = TotalTabsWidth(r);
    for (int step = 0; step < 12; ++step) {
      r.RowRight = r.RowLeft + Integer(rng() % (full + 40));
      Layout(r);
    }
    r.RowRight = r.RowLeft + full;
    Layout(r);
    EXPECT_EQ(r.Current, whole.Current) << "round " << round;
    for (size_t i = 0; i < r.Tabs.size(); ++i) {
      EXPECT_EQ(r.Tabs[i].ClientWidth, whole.Tabs[i].ClientWidth) << "round " << round;
      EXPECT_EQ(r.Tabs[i].Left, whole.Tabs[i].Left) << "round " << round;
    }
  }
}

TEST(PagerTabLayout, AbuttingTabsAreShownWithoutMovingAnyTab) {
  TTabRow r = MakeRow({40, 30, 50}, 400);
  r.Abut = true;
  const TTabRow before = r;
  EXPECT_EQ(ShownTabLeft(r, 0), 60);
  EXPECT_EQ(ShownTabLeft(r, 1), 60 + 48);
  EXPECT_EQ(ShownTabLeft(r, 2), 60 + 48 + 38);
  for (size_t i = 0; i < r.Tabs.size(); ++i) EXPECT_EQ(r.Tabs[i].Left, before.Tabs[i].Left);
  EXPECT_EQ(ShownTabLeft(r, 3), -1);
  r.Abut = false;
  EXPECT_EQ(ShownTabLeft(r, 2), r.Tabs[2].Left);
}

TEST(PagerTabLayout, GroupExtraMarginSharesAnEvenShortfall) {
  struct {
    Integer GroupWidth, Caption, Tabs, Expected;
  } const cases[] = {
      {100, 40, 2, 0},   // fits
      {50, 60, 3, 6},    // short by 36: 12 a tab, 6 a side
      {51, 60, 3, 6},    // short by 35, made 36
      {50, 61, 2, 9},    // 37 -> 38, 19 a tab, 9 a side
      {50, 60, 0, 0},    // no tabs
  };
  for (const auto& c : cases)
    EXPECT_EQ(GroupExtraMargin(c.GroupWidth, c.Caption, c.Tabs), c.Expected) << c.GroupWidth << "/" << c.Caption;
}

TEST(PagerTabLayout, MeasuringAddsScaleFontImageMarginsAndGlass) {
  struct {
    TTabMeasureInput In;
    TTabMeasure Expected;
  } const cases[] = {
      {{1.0f, 8, 40, -1, 4, 4, false, false}, {51, 43, 43}},
      {{1.0f, 8, 40, 16, 4, 4, false, false}, {69, 61, 61}},
      {{1.0f, 6, 40, -1, 4, 4, false, false}, {50, 42, 42}},   // small fonts add nothing
      {{1.0f, 8, 40, -1, 4, 4, true, false}, {57, 43, 43}},    // glass adds 6
      {{1.5f, 8, 60, -1, 4, 4, true, false}, {82, 65, 65}},    // [1.5] = 2, [9] glass
      {{1.0f, 8, 40, -1, 4, 4, false, true}, {51, 51, 51}},    // Office 2019: margins inside the content
  };
  for (const auto& c : cases) {
    const TTabMeasure m = MeasureTabWidths(c.In);
    EXPECT_EQ(m.Width, c.Expected.Width) << c.In.Scale << " " << c.In.TextWidth;
    EXPECT_EQ(m.ClientWidth, c.Expected.ClientWidth) << c.In.Scale << " " << c.In.TextWidth;
    EXPECT_EQ(m.RealClientWidth, c.Expected.RealClientWidth) << c.In.Scale << " " << c.In.TextWidth;
  }
}

TEST(PagerTabLayout, ScaledTabHeightIsEven) {
  EXPECT_EQ(ScaledTabHeight(26, 1.0f), 26);
  EXPECT_EQ(ScaledTabHeight(26, 1.25f), 32);  // 32.5 rounds to even
  EXPECT_EQ(ScaledTabHeight(26, 1.5f), 40);   // 39 made even
  EXPECT_EQ(ScaledTabHeight(26, 2.0f), 52);
}

}  // namespace
}  // namespace ribbon
