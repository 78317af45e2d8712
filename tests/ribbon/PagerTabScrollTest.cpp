// The tab row scrolled by screens as geometry: counting the tabs that fit,
// the screens, the start tab of each screen, both directions, hidden tabs,
// with the invariants checked after every step.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "ribbon/PagerTabScroll.h"

namespace ribbon {
namespace {

// Tabs of the given extents (no margins) with spacing 4, from RowLeft 60.
TTabRow ScrollRow(const std::vector<Integer>& Extents, Integer Width) {
  TTabRow r;
  for (Integer e : Extents) {
    TTabMetrics t;
    t.ClientWidth = t.RealClientWidth = t.Width = e;
    r.Tabs.push_back(t);
  }
  r.Settings = {4, 0, 0, 3, 0};
  r.RowLeft = 60;
  r.RowRight = 60 + Width;
  ResetTabRowCurrent(r);
  PositionAllTabs(r);
  return r;
}

// Ten tabs of 40 with spacing 4: four take 172 pixels, five 216.
TTabRow TenTabsFourPerScreen() { return ScrollRow(std::vector<Integer>(10, 40), 180); }

void Check(const TTabRow& r, const TTabScrollState& s) { ASSERT_EQ(CheckTabScroll(r, s), ""); }

TEST(PagerTabScroll, ExactFitCountsAsFitting) {
  struct Case {
    const char* Name;
    Integer Width;
    Integer Fitting;
    Integer Max;
  };
  // Three tabs of 40 with spacing 4 end 128 pixels after the row's start.
  const std::vector<Case> cases = {
      {"one pixel short", 127, 2, 1},
      {"exact fit", 128, 3, 0},
      {"one pixel to spare", 129, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TTabRow r = ScrollRow({40, 40, 40}, c.Width);
    Integer last = -7;
    EXPECT_EQ(CountTabsFitting(r, 0, true, last), c.Fitting);
    EXPECT_EQ(last, c.Fitting - 1);
    TTabScrollState s;
    ResetTabScroll(r, s);
    EXPECT_EQ(s.Max, c.Max);
    EXPECT_EQ(s.CanGoForward(), c.Max > 0);
    Check(r, s);
  }
}

TEST(PagerTabScroll, CountingSkipsHiddenTabsAndLeavesLastIndexWhenNothingFits) {
  TTabRow r = ScrollRow({40, 40, 40, 40}, 90);
  r.Tabs[1].Visible = false;
  Integer last = -7;
  EXPECT_EQ(CountTabsFitting(r, 0, true, last), 2);
  EXPECT_EQ(last, 2) << "the hidden tab takes no room";
  EXPECT_EQ(CountTabsFitting(r, 3, false, last), 2);
  EXPECT_EQ(last, 2) << "backward: the lowest index that fitted";
  TTabRow narrow = ScrollRow({40}, 30);
  last = -7;
  EXPECT_EQ(CountTabsFitting(narrow, 0, true, last), 0);
  EXPECT_EQ(last, -7);
  EXPECT_EQ(CountTabsFitting(r, 4, true, last), 0) << "outside the row";
  EXPECT_EQ(CountTabsFitting(r, -1, true, last), 0);
}

TEST(PagerTabScroll, TenTabsFourPerScreenStepThroughTheirScreens) {
  TTabRow r = TenTabsFourPerScreen();
  TTabScrollState s;
  ResetTabScroll(r, s);
  EXPECT_EQ(TabScreenStarts(r), (std::vector<Integer>{0, 4, 8}));
  ASSERT_EQ(s.Max, 2);
  Check(r, s);

  // Each press: the screens it reports, the state after it, and the tab
  // whose left edge lies at the row's start (-1: none exactly there).
  struct Step {
    const char* Name;
    Integer Delta;
    Integer Moved;
    Integer Position;
    Integer Start;
    bool Back, Forward;
    Integer AtLeftEdge;
  };
  const std::vector<Step> steps = {
      {"right to the second screen", 1, 1, 1, 4, true, true, 4},
      // The last screen fills the row's end: tabs 6 to 9, the last ending on the right edge.
      {"right to the last screen", 1, 1, 2, 6, true, false, -1},
      {"a third right press changes nothing", 1, 0, 2, 6, true, false, -1},
      {"left: the four tabs before the start", -1, -1, 1, 2, true, true, 2},
      {"left back to the first screen", -1, -1, 0, 0, false, true, 0},
      {"a further left press changes nothing", -1, 0, 0, 0, false, true, 0},
      {"two screens at once", 2, 2, 2, 6, true, false, -1},
      {"more screens back than there are", -5, -2, 0, 0, false, true, 0},
      {"no delta", 0, 0, 0, 0, false, true, 0},
  };
  for (const Step& st : steps) {
    SCOPED_TRACE(st.Name);
    EXPECT_EQ(ScrollTabRow(r, s, st.Delta), st.Moved);
    EXPECT_EQ(s.Position, st.Position);
    EXPECT_EQ(s.StartTabIndex, st.Start);
    EXPECT_EQ(s.CanGoBack(), st.Back);
    EXPECT_EQ(s.CanGoForward(), st.Forward);
    Integer atLeft = -1;
    for (Integer i = 0; i < 10; ++i)
      if (r.Tabs[size_t(i)].Left == r.RowLeft) atLeft = i;
    EXPECT_EQ(atLeft, st.AtLeftEdge);
    Check(r, s);
  }
  // At the last screen the last tab ends exactly on the right edge.
  ScrollTabRow(r, s, 2);
  EXPECT_EQ(r.Tabs[9].Left + 40, r.RowRight);
}

TEST(PagerTabScroll, HiddenTabsTakeNoScreenRoom) {
  // Twelve tabs, two hidden: the same ten visible tabs as above.
  TTabRow r = ScrollRow(std::vector<Integer>(12, 40), 180);
  r.Tabs[2].Visible = false;
  r.Tabs[11].Visible = false;
  TTabScrollState s;
  ResetTabScroll(r, s);
  EXPECT_EQ(TabScreenStarts(r), (std::vector<Integer>{0, 5, 9}));
  EXPECT_EQ(s.Max, 2);
  EXPECT_EQ(ScrollTabRow(r, s, 1), 1);
  EXPECT_EQ(s.StartTabIndex, 5);
  Check(r, s);
  EXPECT_EQ(ScrollTabRow(r, s, 1), 1);
  Check(r, s);
  EXPECT_EQ(ScrollTabRow(r, s, -2), -2);
  EXPECT_EQ(s.StartTabIndex, 0);
  Check(r, s);
  EXPECT_EQ(VisibleTabCount(r), 10);
  EXPECT_EQ(LastVisibleTabIndex(r), 10);
}

TEST(PagerTabScroll, ATabWiderThanTheRowIsAScreenOfItsOwn) {
  TTabRow r = ScrollRow({40, 300, 40}, 180);
  TTabScrollState s;
  ResetTabScroll(r, s);
  EXPECT_EQ(TabScreenStarts(r), (std::vector<Integer>{0, 1, 2}));
  for (Integer d : {1, 1, 1, -1, -1, -1}) {
    ScrollTabRow(r, s, d);
    Check(r, s);
  }
  EXPECT_EQ(s.Position, 0);
}

TEST(PagerTabScroll, ResetBringsTheFirstTabBack) {
  TTabRow r = TenTabsFourPerScreen();
  TTabScrollState s;
  ResetTabScroll(r, s);
  ScrollTabRow(r, s, 2);
  ResetTabScroll(r, s);
  EXPECT_EQ(s, (TTabScrollState{0, 2, 0, 0}));
  EXPECT_EQ(r.Tabs[0].Left, r.RowLeft);
  Check(r, s);
}

TEST(PagerTabScroll, RandomRowsKeepTheirInvariants) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    std::vector<Integer> ext(size_t(1 + rng() % 14));
    for (Integer& e : ext) e = 20 + Integer(rng() % 90);
    TTabRow r = ScrollRow(ext, Integer(rng() % 300));
    for (TTabMetrics& t : r.Tabs) t.Visible = rng() % 5 != 0;
    TTabScrollState s;
    ResetTabScroll(r, s);
    ASSERT_EQ(CheckTabScroll(r, s), "") << "round " << round;
    for (int k = 0; k < 12; ++k) {
      const Integer d = Integer(rng() % 7) - 3;
      const TTabScrollState before = s;
      const Integer moved = ScrollTabRow(r, s, d);
      ASSERT_EQ(CheckTabScroll(r, s), "") << "round " << round << " step " << k;
      EXPECT_EQ(moved, s.Position - before.Position);
      if (moved == 0) {
        EXPECT_EQ(s.StartTabIndex, before.StartTabIndex) << "no move reported, yet the row moved";
      }
    }
  }
}

TEST(PagerTabScroll, ScrollButtonsSitAtTheRowEndsAtEveryScale) {
  struct Case {
    Single Scale;
    TRect Left, Right;
  };
  const TRect row{64, 30, 500, 56};
  const std::vector<Case> cases = {
      {1.0f, {64, 30, 76, 51}, {488, 30, 500, 51}},
      {1.5f, {64, 30, 82, 51}, {482, 30, 500, 51}},
      {1.125f, {64, 30, 78, 51}, {486, 30, 500, 51}},  // 13.5 rounds to the even 14
  };
  for (const Case& c : cases) {
    const TScrollButtonRects b = ScrollButtonRects(row, c.Scale);
    EXPECT_EQ(b.Left, c.Left) << c.Scale;
    EXPECT_EQ(b.Right, c.Right) << c.Scale;
  }
}

}  // namespace
}  // namespace ribbon
