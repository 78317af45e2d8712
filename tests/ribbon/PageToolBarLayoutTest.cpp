// The page's toolbar rules over toolbars described by numbers: layout,
// the compacting passes and their tie-breaks, scrolling, and a sweep over
// page widths with the invariant checker after every step.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ribbon/PageToolBarLayout.h"

namespace ribbon {
namespace {

using TLevels = std::vector<TToolBarSizeModel::TLevel>;

// Large, label and glyph levels: each step gains the given widths.
TLevels Steps(Integer Large, Integer LabelGain, Integer GlyphGain) {
  return {{Large, bsLarge}, {Large - LabelGain, bsLabel}, {Large - LabelGain - GlyphGain, bsGlyph}};
}

// Toolbars described by numbers on a page of a given size.
struct TPageRig {
  TToolBarSizeModel& Add(TLevels Levels, Integer CompactWidth = 45) {
    Bars.push_back(std::make_unique<TToolBarSizeModel>(std::move(Levels), CompactWidth));
    std::vector<IPageToolBar*> list;
    for (auto& b : Bars) list.push_back(b.get());
    Layout.SetToolBars(list);
    return *Bars.back();
  }
  void Page(Integer Width, Integer Height = 100) {
    TPageFrame f = Layout.Frame();
    f.Width = Width;
    f.Height = Height;
    Layout.SetFrame(f);
    Layout.Arrange();
  }
  // Content width of the toolbars as laid out (first left to last right).
  Integer Used() const {
    Integer right = 0;
    for (auto& b : Bars)
      if (b->IsShown()) right = std::max(right, b->Bounds().Right);
    return right;
  }
  std::vector<std::unique_ptr<TToolBarSizeModel>> Bars;
  TPageToolBarLayout Layout;
};

class PageRules : public ::testing::Test, public TPageRig {};

TEST_F(PageRules, ToolBarsStandSideBySideAndHiddenOrEmptyOnesTakeNoPlace) {
  Add({{100, bsLarge}});
  TToolBarSizeModel& hidden = Add({{70, bsLarge}});
  hidden.Shown = false;
  Add({{150, bsLarge}});
  Add({{0, bsLarge}});
  Add({{80, bsLarge}});
  Page(400, 90);
  EXPECT_EQ(Bars[0]->Bounds(), (TRect{3, 3, 103, 87}));
  EXPECT_EQ(Bars[2]->Bounds(), (TRect{106, 3, 256, 87}));
  EXPECT_EQ(Bars[4]->Bounds(), (TRect{259, 3, 339, 87}));
  EXPECT_EQ(Layout.Violation(), "");
}

TEST_F(PageRules, APageThatFitsExactlyKeepsEveryButtonSize) {
  Add(Steps(100, 20, 10));
  Add(Steps(100, 20, 10));
  // Right edge 3 + 100 + 3 + 100 = 206: free width exactly 0.
  Page(206 + 2);
  ASSERT_EQ(Layout.FreeWidth(), 0);
  Layout.ShrinkToolBars();
  Layout.UpdateAllToolBars();
  EXPECT_EQ(Bars[0]->Level(), 0);
  EXPECT_EQ(Bars[1]->Level(), 0);
  EXPECT_EQ(Layout.Violation(), "");
}

// Which toolbar gives up a step first when the page is one pixel short.
struct TPageShrinkCase {
  const char* Name;
  std::vector<TLevels> Bars;
  Integer Expected;  // the toolbar that steps down
};

TEST_F(PageRules, ShrinkTieBreaks) {
  const TPageShrinkCase cases[] = {
      {"equal gains: the rightmost", {Steps(100, 20, 10), Steps(100, 20, 10), Steps(100, 20, 10)}, 2},
      {"smallest gain in the stage", {Steps(100, 12, 10), Steps(100, 30, 10), Steps(100, 20, 10)}, 0},
      // Toolbar 1 is at the label level already (its next step is a glyph
      // step of 2); a large-button step of 30 still goes first.
      {"large before label", {Steps(100, 30, 10), {{100, bsLabel}, {98, bsGlyph}}, Steps(100, 40, 10)}, 0},
  };
  for (const TPageShrinkCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Bars.clear();
    Layout = TPageToolBarLayout();
    for (const TLevels& l : c.Bars) Add(l);
    Page(1000);
    Page(Used() + 2 - 1);  // one pixel short
    Layout.ShrinkToolBars();
    for (Integer i = 0; i < Integer(Bars.size()); ++i) EXPECT_EQ(Bars[i]->Level(), i == c.Expected ? 1 : 0) << i;
    EXPECT_EQ(Layout.Violation(), "");
  }
}

TEST_F(PageRules, ButtonsShrinkBeforeTheRightmostToolBarCollapses) {
  Add(Steps(100, 20, 10));
  Add(Steps(100, 20, 10));
  Page(208);
  Page(150);
  Layout.ShrinkToolBars();
  // Both down to glyphs (70 each) need 3 + 70 + 3 + 70 = 146 <= 148: fits.
  EXPECT_EQ(Bars[0]->Level(), 2);
  EXPECT_EQ(Bars[1]->Level(), 2);
  EXPECT_FALSE(Bars[1]->IsCompact());
  // 3 + 70 + 3 + 45 = 121 fits 125 once the right one is compact.
  Page(125);
  Layout.ShrinkToolBars();
  EXPECT_FALSE(Bars[0]->IsCompact());
  EXPECT_TRUE(Bars[1]->IsCompact());
  EXPECT_TRUE(Bars[1]->CompactSmallest());
  EXPECT_GE(Layout.FreeWidth(), 0);
  EXPECT_EQ(Layout.Violation(), "");
}

TEST_F(PageRules, WideningRestoresCompactToolBarsFirstAndOnlyWhenTheyFit) {
  Add(Steps(100, 20, 10));
  Add(Steps(100, 20, 10));
  Page(208);
  Page(125);
  Layout.ShrinkToolBars();
  ASSERT_TRUE(Bars[1]->IsCompact());
  ASSERT_EQ(Bars[0]->Level(), 2);
  // Compact at 45: right edge 3+70+3+45 = 121. Expanding needs 70-45+4 = 29 free.
  Page(121 + 2 + 28);
  Layout.GrowToolBars();
  EXPECT_TRUE(Bars[1]->IsCompact());
  EXPECT_EQ(Bars[0]->Level(), 2) << "buttons grow only when no toolbar is compact";
  Page(121 + 2 + 29);
  Layout.GrowToolBars();
  EXPECT_FALSE(Bars[1]->IsCompact());
  EXPECT_EQ(Layout.Violation(), "");
}

// A toolbar that stops showing gives its room to the others, which come
// out of compact form and grow their buttons; shown again, it takes the
// room back and they shrink as narrowing would have made them. One hidden
// and another shown at once: the room given back is used first.
TEST_F(PageRules, ShowingOrHidingAToolBarRefitsTheOthers) {
  Add(Steps(100, 20, 10));
  Add(Steps(100, 20, 10));
  TToolBarSizeModel& third = Add(Steps(100, 20, 10));
  Page(400);
  // Fits from 3+100+3+100+3+100+2 = 311; at 180 the others shrink and the
  // rightmost collapse.
  Page(180);
  Layout.ShrinkToolBars();
  const Integer crowdedLevels = Bars[0]->Level() + Bars[1]->Level();
  ASSERT_TRUE(third.IsCompact());
  ASSERT_GT(crowdedLevels, 0);

  third.Shown = false;
  Layout.ShownToolBarsChanged(false, true);
  EXPECT_FALSE(Bars[0]->IsCompact());
  EXPECT_FALSE(Bars[1]->IsCompact());
  EXPECT_LT(Bars[0]->Level() + Bars[1]->Level(), crowdedLevels) << "the others grow into the room";
  EXPECT_LE(Used() + 2, 180);
  EXPECT_EQ(Bars[1]->Bounds().Left, Bars[0]->Bounds().Right + 3);
  EXPECT_EQ(Layout.Violation(), "");

  // Neither shown nor hidden: nothing to give or take.
  const Integer alone = Bars[0]->Level() + Bars[1]->Level();
  Layout.ShownToolBarsChanged(false, false);
  EXPECT_EQ(Bars[0]->Level() + Bars[1]->Level(), alone);

  third.Shown = true;
  Layout.ShownToolBarsChanged(true, false);
  EXPECT_GT(Bars[0]->Level() + Bars[1]->Level() + (Bars[1]->IsCompact() ? 10 : 0), alone) << "they shrink again";
  EXPECT_LE(Used() + 2, 180);
  EXPECT_EQ(Layout.Violation(), "");

  // One out and another in at the same time.
  third.Shown = false;
  Layout.ShownToolBarsChanged(false, true);
  const Integer pairLevels = Bars[0]->Level() + Bars[1]->Level();
  Bars[0]->Shown = false;
  third.Shown = true;
  Layout.ShownToolBarsChanged(true, true);
  EXPECT_LE(Used() + 2, 180);
  EXPECT_FALSE(Bars[1]->IsCompact());
  EXPECT_FALSE(third.IsCompact()) << "the room given back was used";
  EXPECT_EQ(Bars[1]->Level() + third.Level(), pairLevels) << "two of the same kind fit as the two before";
  EXPECT_EQ(Layout.Violation(), "");
}

TEST_F(PageRules, GrowingPicksTheGlyphStageFirstThenTheLargestStep) {
  Add({{100, bsLarge}, {80, bsLabel}});          // label level: next step 20, to large
  Add({{100, bsLarge}, {90, bsLabel}, {60, bsGlyph}});  // glyph level: next step 30, to label
  Add({{100, bsLarge}, {95, bsLabel}, {55, bsGlyph}});  // glyph level: next step 40, to label
  for (int i = 0; i < 2; ++i) {
    TButtonSizeState s;
    Bars[0]->ReduceButtonSizes(s, true);
  }
  for (int i = 0; i < 2; ++i) {
    TButtonSizeState s;
    Bars[1]->ReduceButtonSizes(s, true);
    Bars[2]->ReduceButtonSizes(s, true);
  }
  Page(500);
  // Free 500 - (3+80+3+60+3+55) - 2 = 294; only room for one step of 40.
  Page(3 + 80 + 3 + 60 + 3 + 55 + 2 + 41);
  Layout.GrowToolBars();
  EXPECT_EQ(Bars[2]->Level(), 1);
  EXPECT_EQ(Bars[1]->Level(), 2);
  EXPECT_EQ(Bars[0]->Level(), 1);
  EXPECT_EQ(Layout.Violation(), "");
}

TEST_F(PageRules, AToolBarHeldCompactStaysCompactUntilHandedBack) {
  Add(Steps(100, 20, 10));
  TToolBarSizeModel& held = Add(Steps(100, 20, 10));
  held.HoldCompact(true);
  Page(600);
  Layout.GrowToolBars();
  Layout.UpdateAllToolBars();
  EXPECT_TRUE(held.IsCompact());
  held.HoldCompact(false);
  EXPECT_FALSE(held.IsCompact());
  Layout.UpdateAllToolBars();
  EXPECT_EQ(Layout.Violation(), "");
}

TEST_F(PageRules, ScrollButtonsOnlyWhenAllToolBarsAreCompactAndStillDoNotFit) {
  for (int i = 0; i < 6; ++i) Add(Steps(100, 20, 10), 45);
  Page(200);
  Layout.ResetToolBarScroller();
  EXPECT_EQ(Layout.Scroll().Max, 0) << "expanded toolbars never scroll";
  Layout.ShrinkToolBars();
  Layout.ResetToolBarScroller();
  ASSERT_TRUE(Layout.AllToolBarsCompact());
  // 45-wide toolbars, 48 a piece: 4 fit on 200 (3+4*48-3 = 192 < 200), 6 need 2 screens.
  EXPECT_EQ(Layout.CountFittingToolBars(0, true), 4);
  EXPECT_EQ(Layout.Scroll().Max, 1);
  EXPECT_TRUE(Layout.Scroll().CanGoForward());
  EXPECT_FALSE(Layout.Scroll().CanGoBack());
  EXPECT_EQ(Layout.ScrollToolBars(1), 1);
  // The last screen is filled: the last toolbar ends at 200 - 3.
  EXPECT_EQ(Bars[5]->Bounds().Right, 197);
  EXPECT_EQ(Layout.ScrollToolBars(1), 0);
  EXPECT_EQ(Layout.ScrollToolBars(-1), -1);
  EXPECT_EQ(Bars[0]->Bounds().Left, 3);
  EXPECT_EQ(Layout.Violation(), "");
}

TEST_F(PageRules, ALayoutKeepsTheScrollAndAWidthChangeResetsIt) {
  for (int i = 0; i < 6; ++i) Add(Steps(100, 20, 10), 45);
  Page(200);
  Layout.ShrinkToolBars();
  Layout.ResetToolBarScroller();
  Layout.ScrollToolBars(1);
  const TRect scrolled = Bars[5]->Bounds();
  Layout.Arrange();
  EXPECT_EQ(Bars[5]->Bounds(), scrolled);
  Layout.ResetToolBarScroller();
  EXPECT_EQ(Bars[0]->Bounds().Left, 3);
  EXPECT_EQ(Layout.Violation(), "");
}

// Every page width from wide to narrow and back: the checker stays quiet,
// the toolbars keep their order and never overlap, narrowing never gives a
// size back, and narrowing pixel by pixel ends where one shrink from the
// full size to that width ends.
TEST_F(PageRules, SweepOverPageWidths) {
  auto build = [](TPageRig& F) {
    F.Add(Steps(120, 30, 20), 45);
    F.Add({{90, bsLarge}, {70, bsLabel}}, 50);
    F.Add(Steps(150, 40, 25), 45);
    F.Add(Steps(80, 15, 15), 40);
  };
  auto state = [](const TPageRig& F) {
    std::vector<Integer> s;
    for (auto& b : F.Bars) s.push_back(b->IsCompact() ? 10 : b->Level());
    return s;
  };
  auto score = [](const std::vector<Integer>& s) {
    Integer n = 0;
    for (Integer v : s) n += v;
    return n;
  };
  build(*this);
  Page(600);
  Integer previous = score(state(*this));
  for (Integer w = 600; w >= 60; --w) {
    Page(w);
    Layout.ShrinkToolBars();
    Layout.ResetToolBarScroller();
    ASSERT_EQ(Layout.Violation(), "") << w;
    const Integer now = score(state(*this));
    ASSERT_GE(now, previous) << "narrowing to " << w << " gave a size back";
    previous = now;
    if (!Layout.AllToolBarsCompact()) {
      ASSERT_GE(Layout.FreeWidth(), 0) << w;
    }
    for (size_t i = 1; i < Bars.size(); ++i) ASSERT_GE(Bars[i]->Bounds().Left, Bars[i - 1]->Bounds().Right + 3) << w;
    TPageRig fresh;
    build(fresh);
    fresh.Page(600);
    fresh.Page(w);
    fresh.Layout.ShrinkToolBars();
    ASSERT_EQ(state(fresh), state(*this)) << w;
  }
  for (Integer w = 60; w <= 600; ++w) {
    Page(w);
    Layout.GrowToolBars();
    Layout.ResetToolBarScroller();
    ASSERT_EQ(Layout.Violation(), "") << w;
    const Integer now = score(state(*this));
    ASSERT_LE(now, previous) << "widening to " << w << " took a size";
    previous = now;
    if (!Layout.AllToolBarsCompact()) {
      ASSERT_GE(Layout.FreeWidth(), 0) << w;
    }
    for (size_t i = 1; i < Bars.size(); ++i) ASSERT_GE(Bars[i]->Bounds().Left, Bars[i - 1]->Bounds().Right + 3) << w;
  }
  EXPECT_EQ(previous, 0) << "a page as wide as at the start shows every toolbar large again";
}

}  // namespace
}  // namespace ribbon
