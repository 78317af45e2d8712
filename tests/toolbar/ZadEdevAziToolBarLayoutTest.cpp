// The toolbar's geometry rules, driven without windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "toolbar/AdvToolBarLayout.h"

namespace toolbar {

namespace {

using K = TToolBarItemKind;

TToolBarItem It(Integer W, Integer H, K Kind = K::Other, bool Visible = true) {
  TToolBarItem i;
  i.Bounds = TRect{0, 0, W, H};
  i.Kind = Kind;
  i.Visible = Visible;
  return i;
}

TToolBarFrame Docked(Integer W = 200, Integer H = 26) {
  TToolBarFrame f;
  f.Width = W;
  f.Height = H;
  f.GripOffset = GripOffset(true, 7);
  return f;
}

TPoint At(const TToolBarItem& I) { return TPoint{I.Bounds.Left, I.Bounds.Top}; }

// What every arrangement keeps: the controls that show do not overlap, start
// after the grip, and follow the list along the length (row by row).
void CheckArranged(const TToolBarFrame& F, const std::vector<TToolBarItem>& Items) {
  const TToolBarItem* prev = nullptr;
  for (std::size_t i = 0; i < Items.size(); ++i) {
    const TToolBarItem& a = Items[i];
    if (!a.Arranged() || a.Hidden) continue;
    EXPECT_GE(F.Horizontal ? a.Bounds.Left : a.Bounds.Top, F.GripOffset) << i;
    if (prev != nullptr) {
      // Further along, or at the start of a later row.
      const bool along = F.Horizontal ? a.Bounds.Left >= prev->Bounds.Left || a.Bounds.Top > prev->Bounds.Top
                                      : a.Bounds.Top >= prev->Bounds.Top;
      EXPECT_TRUE(along) << i;
    }
    prev = &a;
    for (std::size_t j = i + 1; j < Items.size(); ++j) {
      const TToolBarItem& b = Items[j];
      if (!b.Arranged() || b.Hidden) continue;
      const bool apart = a.Bounds.Right <= b.Bounds.Left || b.Bounds.Right <= a.Bounds.Left ||
                         a.Bounds.Bottom <= b.Bounds.Top || b.Bounds.Bottom <= a.Bounds.Top;
      EXPECT_TRUE(apart) << i << " overlaps " << j;
    }
  }
}

}  // namespace

TEST(ToolBarLayout, GripOffsetAndScaling) {
  EXPECT_EQ(GripOffset(true, 7), 9);
  EXPECT_EQ(GripOffset(false, 7), 2);
  EXPECT_EQ(ScaleToolBarSize(12, 1.125f), 14);  // 13.5 rounds to even
  EXPECT_EQ(ScaleToolBarSize(20, 1.125f), 22);  // 22.5 rounds to even
  EXPECT_EQ(ScaleToolBarSize(14, 1.5f), 21);
}

TEST(ToolBarLayout, EmptyToolBarMeasuresFifteenPlusHandle) {
  const TToolBarFrame f = Docked();
  const TToolBarMeasure m = MeasureToolBar(f, {});
  EXPECT_EQ(m.MinLength, 15 + 14);
  EXPECT_EQ(m.FullLength, 15 + 14);  // the larger of m and grip + handle (23)
  EXPECT_EQ(m.Thickness, 26);
  TToolBarFrame noHandle = f;
  noHandle.ShowPopupIndicator = false;
  EXPECT_EQ(MeasureToolBar(noHandle, {}).MinLength, 15);
}

TEST(ToolBarLayout, HorizontalPlacesSideBySideAndSkipsInvisibleAndHidden) {
  TToolBarFrame f = Docked(300, 26);
  std::vector<TToolBarItem> items{It(23, 22), It(50, 22, K::Other, false), It(10, 22, K::Separator), It(30, 40),
                                  It(20, 20, K::Badge, false)};
  items[4].Bounds = TRect{100, 3, 120, 23};
  TToolBarItem hidden = It(25, 22);
  hidden.Hidden = true;
  items.push_back(hidden);
  ArrangeToolBarItems(f, items);
  CheckArranged(f, items);
  EXPECT_EQ(At(items[0]), (TPoint{9, 2}));
  EXPECT_EQ(items[1].Bounds.Top, 26 + 2);  // out of sight below
  EXPECT_EQ(At(items[2]), (TPoint{32, 2}));
  EXPECT_EQ(At(items[3]), (TPoint{42, 2}));
  EXPECT_EQ(At(items[4]), (TPoint{100, 3}));  // a badge stays where it is
  EXPECT_EQ(items[5].Bounds.Top, 28);          // hidden for lack of length

  const TToolBarMeasure m = MeasureToolBar(f, items);
  // Full: grip 9 + 23 + 10 + 30 + 25 (hidden controls count) + handle 14.
  EXPECT_EQ(m.FullLength, 9 + 23 + 10 + 30 + 25 + 14);
  EXPECT_EQ(m.MinLength, m.FullLength);
  EXPECT_EQ(m.Thickness, 44);  // tallest non-separator + 4
}

TEST(ToolBarLayout, InvisibleToolBarMeasuresNothing) {
  TToolBarFrame f = Docked();
  f.Visible = false;
  std::vector<TToolBarItem> items{It(23, 22)};
  ArrangeToolBarItems(f, items);
  const TToolBarMeasure m = MeasureToolBar(f, items);
  EXPECT_EQ(m.MinLength, 0);
  EXPECT_EQ(m.FullLength, 0);

  TToolBarFrame page = Docked();
  page.OnPage = true;
  page.GripOffset = 2;
  page.HideOnEmpty = true;
  std::vector<TToolBarItem> none{It(23, 22, K::Other, false)};
  EXPECT_EQ(MeasureToolBar(page, none).FullLength, 0);
}

TEST(ToolBarLayout, CaptionShiftsControlsDownWithScale) {
  struct Case {
    Single Scale;
    Integer Top;
  };
  for (const Case c : {Case{1.0f, 18}, Case{1.5f, 26}}) {
    TToolBarFrame f = Docked(300, 60);
    f.ShowCaption = true;
    f.Scale = c.Scale;
    std::vector<TToolBarItem> items{It(23, 22)};
    ArrangeToolBarItems(f, items);
    EXPECT_EQ(items[0].Bounds.Top, c.Top) << c.Scale;
    // Vertical toolbars move along the other axis by the same scaled caption.
    TToolBarFrame v = f;
    v.Horizontal = false;
    std::vector<TToolBarItem> vi{It(23, 22)};
    ArrangeToolBarItems(v, vi);
    EXPECT_EQ(vi[0].Bounds.Left, c.Top) << c.Scale;
  }
}

TEST(ToolBarLayout, RibbonColumnsStackThreeAndLargeBreaks) {
  TToolBarFrame f = Docked(400, 92);
  f.OnPage = true;
  f.GripOffset = 2;
  std::vector<TToolBarItem> items{It(60, 22, K::SmallGlowButton), It(80, 22, K::SmallGlowButton),
                                  It(50, 22, K::SmallGlowButton), It(40, 22, K::SmallGlowButton),
                                  It(44, 66, K::LargeGlowButton),  It(30, 22, K::SmallGlowButton)};
  ArrangeToolBarItems(f, items);
  CheckArranged(f, items);
  EXPECT_EQ(At(items[0]), (TPoint{2, 2}));
  EXPECT_EQ(At(items[1]), (TPoint{2, 24}));
  EXPECT_EQ(At(items[2]), (TPoint{2, 46}));
  EXPECT_EQ(At(items[3]), (TPoint{82, 2}));  // fourth: right of the widest of the three
  EXPECT_EQ(At(items[4]), (TPoint{122, 2})); // large ends the column
  EXPECT_EQ(At(items[5]), (TPoint{166, 2}));
  // The smallest length ends at the last column's widest edge, plus the handle.
  EXPECT_EQ(MeasureToolBar(f, items).MinLength, 196 + 14);
}

TEST(ToolBarLayout, RibbonMeasureTakesWidestOfLastColumn) {
  TToolBarFrame f = Docked(400, 92);
  f.OnPage = true;
  f.GripOffset = 2;
  f.ShowPopupIndicator = false;
  std::vector<TToolBarItem> items{It(90, 22, K::SmallGlowButton), It(40, 22, K::SmallGlowButton)};
  ArrangeToolBarItems(f, items);
  const TToolBarMeasure m = MeasureToolBar(f, items);
  EXPECT_EQ(m.MinLength, 92);  // the first (wider) button of the column
  EXPECT_EQ(m.FullLength, 92);
}

TEST(ToolBarLayout, LabelMarginMovesOtherControlsAlong) {
  TToolBarFrame f = Docked(400, 92);
  f.OnPage = true;
  f.GripOffset = 2;
  std::vector<TToolBarItem> items{It(30, 22), It(30, 22)};
  items[1].LabelMargin = 10;
  ArrangeToolBarItems(f, items);
  EXPECT_EQ(items[0].Bounds.Left, 2);
  EXPECT_EQ(items[1].Bounds.Left, 2 + 30 + 10);
}

TEST(ToolBarLayout, VerticalStacksAndMovesOutOfSightToTheRight) {
  TToolBarFrame f = Docked(26, 200);
  f.Horizontal = false;
  std::vector<TToolBarItem> items{It(22, 23), It(22, 30, K::Other, false), It(22, 10, K::Separator)};
  ArrangeToolBarItems(f, items);
  CheckArranged(f, items);
  EXPECT_EQ(At(items[0]), (TPoint{2, 9}));
  EXPECT_EQ(items[1].Bounds.Left, 28);
  EXPECT_EQ(At(items[2]), (TPoint{2, 32}));
  const TToolBarMeasure m = MeasureToolBar(f, items);
  EXPECT_EQ(m.MinLength, 42 + 14);
  EXPECT_EQ(m.FullLength, 9 + 23 + 10 + 14);
  EXPECT_EQ(m.Thickness, 26);
}

TEST(ToolBarLayout, DirectionSwapKeepsOrderAlongTheLength) {
  std::vector<TToolBarItem> h{It(23, 22), It(40, 22)};
  std::vector<TToolBarItem> v = h;
  TToolBarFrame fh = Docked(200, 26);
  TToolBarFrame fv = fh;
  fv.Horizontal = false;
  fv.Width = 26;
  fv.Height = 200;
  ArrangeToolBarItems(fh, h);
  ArrangeToolBarItems(fv, v);
  CheckArranged(fh, h);
  CheckArranged(fv, v);
  EXPECT_EQ(h[1].Bounds.Left, h[0].Bounds.Right);
  EXPECT_EQ(h[0].Bounds.Top, h[1].Bounds.Top);
  EXPECT_EQ(v[1].Bounds.Top, v[0].Bounds.Bottom);
  EXPECT_EQ(v[0].Bounds.Left, v[1].Bounds.Left);
}

TEST(ToolBarLayout, FloatingRowsWrapAtTheWidth) {
  TToolBarFrame f = Docked(100, 80);
  f.Floating = true;
  f.GripOffset = 2;
  f.FloatingRows = 2;
  std::vector<TToolBarItem> items{It(40, 22), It(40, 22), It(40, 22)};
  ArrangeToolBarItems(f, items);
  CheckArranged(f, items);
  EXPECT_EQ(At(items[0]), (TPoint{2, 18}));
  EXPECT_EQ(At(items[1]), (TPoint{42, 18}));
  EXPECT_EQ(At(items[2]), (TPoint{2, 18 + 26}));
  f.FloatingRows = 1;
  ArrangeToolBarItems(f, items);
  EXPECT_EQ(At(items[2]), (TPoint{82, 18}));
  EXPECT_EQ(FloatingToolBarSize(f, items), (TSize{124, 26 + 16}));
}

TEST(ToolBarLayout, SizingFollowsTheMeasure) {
  TToolBarFrame f = Docked();
  TToolBarMeasure m;
  m.MinLength = 80;
  m.FullLength = 120;
  m.Thickness = 26;
  struct Case {
    Integer Length, Expected;
  };
  for (const Case c : {Case{50, 80}, Case{100, 100}, Case{150, 80}}) {
    const TToolBarSizing s = SizeToolBar(f, m, c.Length, 120, false, 0);
    EXPECT_EQ(s.Length, c.Expected) << c.Length;
    EXPECT_EQ(s.MaxLength, 120);
    EXPECT_EQ(s.MinLength, 60);  // FMinLength when smaller than m
  }
  EXPECT_EQ(SizeToolBar(f, m, 100, 120, false, 16).Thickness, 42);
}

TEST(ToolBarLayout, SeparatorsWithoutControlsBeforeThemHide) {
  std::vector<TToolBarItem> items{It(10, 20, K::Separator), It(23, 22), It(10, 20, K::Separator),
                                  It(10, 20, K::Separator), It(23, 22)};
  Integer x = 0;
  for (auto& i : items) {
    i.Bounds = TRect{x, 0, x + i.Bounds.Width(), i.Bounds.Height()};
    x = i.Bounds.Right;
  }
  const std::vector<bool> shows = SeparatorVisibility(items);
  EXPECT_EQ(shows, (std::vector<bool>{false, true, true, false, true}));
}

TEST(ToolBarLayout, PartRectangles) {
  TToolBarParts p;
  p.Client = TRect{0, 0, 200, 40};
  p.ShowCaption = true;
  EXPECT_EQ(CaptionRect(p), (TRect{0, 0, 200, 16}));
  EXPECT_EQ(ControlsRect(p), (TRect{0, 16, 200, 40}));
  p.CaptionPosition = cpBottom;
  EXPECT_EQ(CaptionRect(p), (TRect{0, 24, 200, 40}));
  p.Scale = 1.5f;
  EXPECT_EQ(CaptionRect(p), (TRect{0, 16, 200, 40}));  // 24 high
  p.Scale = 1.0f;
  p.ShowCaption = false;
  EXPECT_EQ(CaptionRect(p), (TRect{0, 0, 0, 0}));
  // Right handle with and without round edges, and at 144 PPI.
  EXPECT_EQ(RightHandleRect(p), (TRect{185, 2, 199, 38}));
  p.RoundEdges = false;
  EXPECT_EQ(RightHandleRect(p), (TRect{185, 2, 201, 39}));
  p.Scale = 1.5f;
  EXPECT_EQ(RightHandleRect(p).Left, 200 - 21 - 1);
  p.Scale = 1.0f;
  p.FullSize = true;
  EXPECT_EQ(RightHandleRect(p), (TRect{0, 0, 0, 0}));
  // Floating caption buttons.
  TToolBarParts fl;
  fl.Client = TRect{0, 0, 120, 50};
  fl.Floating = true;
  EXPECT_EQ(CloseButtonRect(fl), (TRect{103, 1, 119, 15}));
  EXPECT_EQ(OptionButtonRect(fl), (TRect{85, 1, 101, 15}));
  // At 144 PPI the buttons are as wide as the scaled caption is high.
  fl.Scale = 1.5f;
  EXPECT_EQ(CloseButtonRect(fl), (TRect{95, 1, 119, 23}));
  EXPECT_EQ(OptionButtonRect(fl), (TRect{69, 1, 93, 23}));
  // The caption option indicator replaces a hidden right handle.
  TToolBarParts co;
  co.Client = TRect{0, 0, 200, 40};
  co.ShowCaption = true;
  co.ShowRightHandle = false;
  EXPECT_EQ(CaptionOptionRect(co), (TRect{185, 2, 199, 15}));
  co.ShowRightHandle = true;
  EXPECT_EQ(CaptionOptionRect(co), (TRect{-1, -1, -1, -1}));
}

TEST(ToolBarLayout, TextMeasureSeamIsReplaceable) {
  SetToolBarTextMeasure([](TCanvas*, const String& Text) { return Integer(Text.size()) * 7; });
  EXPECT_EQ(MeasureToolBarText(nullptr, u"abc"), 21);
  SetToolBarTextMeasure(nullptr);
  EXPECT_EQ(MeasureToolBarText(nullptr, u"abc"), 0);
}

// --- ribbon button sizes ---

namespace {

TSizableButton Glow(Integer State, Integer Left, Integer Width, Integer Min = 0, Integer Max = 2) {
  TSizableButton b;
  b.AutoSized = true;
  b.State = State;
  b.MinState = Min;
  b.MaxState = Max;
  b.Left = Left;
  b.Width = Width;
  return b;
}

// Widths per state of the buttons below: glyph 24, label 70, large 44.
constexpr Integer WidthOf[3] = {24, 70, 44};

// Applies a step as the toolbar does and lays the row out again: stacked
// small buttons share a column's Left.
Integer Apply(std::vector<TSizableButton>& B, const TButtonSizeStep& S) {
  std::vector<Integer> oldW, newW;
  for (Integer k : S.Indexes) {
    oldW.push_back(B[k].Width);
    B[k].State = S.NewState;
    B[k].Width = WidthOf[S.NewState];
    newW.push_back(B[k].Width);
  }
  Integer x = 0, inColumn = 0, colLeft = 0, colWidth = 0;
  for (auto& b : B) {
    if (b.State == 2) {
      inColumn = 0;
      x += colWidth;
      colWidth = 0;
      b.Left = x;
      x += b.Width;
      continue;
    }
    if (inColumn == 0 || inColumn == 3) {
      x += colWidth;
      colLeft = x;
      colWidth = 0;
      inColumn = 0;
    }
    b.Left = colLeft;
    colWidth = std::max(colWidth, b.Width);
    ++inColumn;
  }
  return StepWidth(S, oldW, newW);
}

}  // namespace

TEST(ToolBarButtonSizes, ASingleLargeButtonNeverShrinks) {
  EXPECT_FALSE(FindReduceStep({Glow(2, 0, 44)}).Found);
  TSizableButton other;  // not an auto-sized glow button
  other.Width = 44;
  EXPECT_FALSE(FindReduceStep({other, Glow(2, 44, 44)}).Found);
  EXPECT_FALSE(FindReduceStep({Glow(2, 0, 44, 2), Glow(2, 44, 44)}).Found);  // the first may not shrink
}

TEST(ToolBarButtonSizes, LargeNeighboursBecomeOneColumn) {
  std::vector<TSizableButton> b{Glow(2, 0, 44), Glow(2, 44, 44), Glow(2, 88, 44), Glow(2, 132, 44)};
  const TButtonSizeStep s = FindReduceStep(b);
  ASSERT_TRUE(s.Found);
  EXPECT_EQ(s.NewState, 1);
  EXPECT_EQ(s.Indexes, (std::vector<Integer>{3, 2, 1}));
  EXPECT_EQ(StepWidth(s, {44, 44, 44}, {70, 60, 50}), 132 - 70);
}

TEST(ToolBarButtonSizes, LabelColumnWithDifferentLeftsShrinksOnlyItsLast) {
  std::vector<TSizableButton> b{Glow(1, 0, 70), Glow(1, 70, 70)};
  const TButtonSizeStep s = FindReduceStep(b);
  ASSERT_TRUE(s.Found);
  EXPECT_EQ(s.NewState, 0);
  EXPECT_EQ(s.Indexes, (std::vector<Integer>{1}));
  std::vector<TSizableButton> column{Glow(1, 0, 70), Glow(1, 0, 60), Glow(1, 0, 50)};
  EXPECT_EQ(FindReduceStep(column).Indexes, (std::vector<Integer>{2, 1, 0}));
  EXPECT_EQ(StepWidth(FindReduceStep(column), {70, 60, 50}, {24, 24, 24}), 46);
}

TEST(ToolBarButtonSizes, ShrinkAllThenGrowAllReturnsEveryButton) {
  std::vector<TSizableButton> b;
  for (Integer i = 0; i < 5; ++i) b.push_back(Glow(2, 44 * i, 44));
  b[4].MinState = 1;  // may go no smaller than label
  const std::vector<TSizableButton> start = b;
  Integer rounds = 0;
  for (TButtonSizeStep s = FindReduceStep(b); s.Found && rounds < 20; s = FindReduceStep(b), ++rounds) Apply(b, s);
  EXPECT_LT(rounds, 20);
  for (const auto& x : b) EXPECT_EQ(x.State, x.MinState);
  rounds = 0;
  for (TButtonSizeStep s = FindEnlargeStep(b); s.Found && rounds < 20; s = FindEnlargeStep(b), ++rounds) Apply(b, s);
  EXPECT_LT(rounds, 20);
  for (std::size_t i = 0; i < b.size(); ++i) EXPECT_EQ(b[i].State, start[i].State) << i;
}

TEST(ToolBarButtonSizes, EnlargeWidths) {
  std::vector<TSizableButton> glyphs{Glow(0, 0, 24), Glow(0, 0, 24)};
  TButtonSizeStep s = FindEnlargeStep(glyphs);
  ASSERT_TRUE(s.Found);
  EXPECT_EQ(s.NewState, 1);
  EXPECT_EQ(StepWidth(s, {24, 24}, {70, 60}), 46);
  std::vector<TSizableButton> labels{Glow(1, 0, 70), Glow(1, 0, 60)};
  s = FindEnlargeStep(labels);
  ASSERT_TRUE(s.Found);
  EXPECT_EQ(s.NewState, 2);
  EXPECT_EQ(StepWidth(s, {60, 70}, {44, 44}), 88 - 70);
}

}  // namespace toolbar
