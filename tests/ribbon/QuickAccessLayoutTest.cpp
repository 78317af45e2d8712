// The quick-access toolbar's pure layout: rectangles per look, the overflow
// rule at its edge, the order controls come back in, and an invariant sweep
// over every width.
#include <gtest/gtest.h>

#include <random>

#include "ribbon/QuickAccessLayout.h"

namespace ribbon {
namespace {

TQATLayout MakeLayout(const std::vector<Integer>& Widths, TQATLook Look = {}, Integer Width = 400,
                      Integer Height = 26) {
  TQATLayout L;
  L.Look = Look;
  L.Width = Width;
  L.Height = Height;
  Integer x = 0;
  for (Integer w : Widths) {
    L.Items.push_back(TQATItem{x, 0, w, 22, true, true});
    x += w;
  }
  return L;
}

void Resize(TQATLayout& L, Integer Width) {
  L.Width = Width;
  QATRelayout(L);
}

TEST(QuickAccessLayout, RectanglesPerLook) {
  struct Case {
    const char* name;
    TQATLook look;
    TRect buttons;
  };
  TQATLook full;
  full.FullSize = true;
  TQATLook scenicGlass;
  scenicGlass.Scenic = true;
  scenicGlass.GlassFlag = true;
  TQATLook office;
  office.Office2013 = true;
  TQATLook scenicOnly;
  scenicOnly.Scenic = true;
  const Case cases[] = {
      // classic: Right - (14 + 2) - 12, Top + 3, Left = 26 div 2 + 2
      {"classic", TQATLook{}, TRect{15, 3, 200 - 16 - 12, 25}},
      {"full size", full, TRect{4, 0, 196, 25}},
      {"scenic glass", scenicGlass, TRect{11, 1, 201 - 5, 25}},
      {"office 2013", office, TRect{11, 1, 196, 25}},
      // scenic without glass keeps the wide margins but the icon look's base
      {"scenic", scenicOnly, TRect{15, 1, 201 - 12, 25}},
  };
  for (const Case& c : cases) EXPECT_EQ(QATButtonsRect(c.look, 200, 26), c.buttons) << c.name;
  EXPECT_EQ(QATCustomizeButtonRect(1.0f, 200, 26), (TRect{186, 1, 200, 26}));
}

TEST(QuickAccessLayout, ScaledWidthsRoundTheScaleToOneDecimalFirst) {
  // 1.25 rounds to 1.2 (half to even), so 14 x 1.2 = 16.8 -> 17
  EXPECT_EQ(QATScaledButtonWidth(1.25f), 17);
  EXPECT_EQ(QATScaledButtonWidth(1.0f), 14);
  EXPECT_EQ(QATScaledButtonWidth(1.5f), 21);
  EXPECT_EQ(QATMinWidth(1.0f), 60);
  EXPECT_EQ(QATMinWidth(1.5f), 90);
  // classic margins 15 + 12 plus 14 + 2
  EXPECT_EQ(QATNeededWidth(TQATLook{}, 26, 100), 100 + 43);
}

TEST(QuickAccessLayout, EqualLeftKeepsChildOrder) {
  TQATLayout L = MakeLayout({20, 20, 20});
  L.Items[0].Left = 50;
  L.Items[1].Left = 10;
  L.Items[2].Left = 50;
  QATBuildControlList(L);
  EXPECT_EQ(L.Shown, (std::vector<int>{1, 0, 2}));
}

TEST(QuickAccessLayout, OverflowExactlyAtTheEdge) {
  // Classic look, height 26: controls start at 15; the room ends at
  // Width - 16 - 12. Four controls of 20: the last right edge is 95.
  const Integer fits = 95 + 28;
  TQATLayout L = MakeLayout({20, 20, 20, 20});
  Resize(L, fits);
  EXPECT_EQ(CheckQATLayout(L), "");
  EXPECT_TRUE(L.Hidden.empty());
  EXPECT_EQ(L.Items[3].Left + L.Items[3].Width, QATOverflowRight(L));
  EXPECT_FALSE(L.Scroll.Visible);

  Resize(L, fits - 1);
  EXPECT_EQ(CheckQATLayout(L), "");
  EXPECT_EQ(L.Hidden, (std::vector<int>{3}));
  EXPECT_TRUE(L.Scroll.Visible);

  // One pixel short for the second control hides it and every one after it.
  Resize(L, fits - 41);
  EXPECT_EQ(CheckQATLayout(L), "");
  EXPECT_EQ(L.Shown, (std::vector<int>{0}));
  EXPECT_EQ(L.Hidden, (std::vector<int>{1, 2, 3}));
}

TEST(QuickAccessLayout, WideningBringsControlsBackLeftmostFirstOnlyWhenWhole) {
  TQATLayout L = MakeLayout({20, 30, 25});
  L.ShowCustomizeOption = true;
  L.Customize.Exists = L.Customize.Visible = true;
  L.Customize.Width = 14;
  Resize(L, 15 + 20 + 28);  // only the first fits
  EXPECT_EQ(L.Hidden, (std::vector<int>{1, 2}));
  EXPECT_FALSE(L.Customize.Visible);

  Resize(L, 15 + 20 + 29 + 28);  // 29 pixels of room: the 30-pixel control stays out
  EXPECT_EQ(L.Hidden, (std::vector<int>{1, 2}));
  Resize(L, 15 + 20 + 30 + 28);  // now it comes back, the next one does not
  EXPECT_EQ(CheckQATLayout(L), "");
  EXPECT_EQ(L.Shown, (std::vector<int>{0, 1}));
  EXPECT_EQ(L.Hidden, (std::vector<int>{2}));
  EXPECT_TRUE(L.Scroll.Visible);
  EXPECT_FALSE(L.Customize.Visible);

  Resize(L, 15 + 75 + 28);
  EXPECT_EQ(CheckQATLayout(L), "");
  EXPECT_EQ(L.Shown, (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(L.Hidden.empty());
  EXPECT_FALSE(L.Scroll.Visible);
  EXPECT_TRUE(L.Customize.Visible);  // the customize button comes back
  EXPECT_EQ(L.Customize.Left, L.Width - 14);
}

TEST(QuickAccessLayout, ControlsHiddenLaterGoInFrontOfThoseHiddenEarlier) {
  TQATLayout L = MakeLayout({20, 20, 20, 20});
  Resize(L, 15 + 60 + 28);
  EXPECT_EQ(L.Hidden, (std::vector<int>{3}));
  Resize(L, 15 + 20 + 28);
  EXPECT_EQ(L.Hidden, (std::vector<int>{1, 2, 3}));
  // Brought back in that order.
  Resize(L, 15 + 40 + 28);
  EXPECT_EQ(L.Hidden, (std::vector<int>{2, 3}));
  EXPECT_EQ(L.Shown, (std::vector<int>{0, 1}));
}

TEST(QuickAccessLayout, CustomizeButtonNeverBesideTheScrollButton) {
  for (bool fullSize : {false, true}) {
    TQATLook look;
    look.FullSize = fullSize;
    TQATLayout L = MakeLayout({24, 24, 24, 24, 24}, look);
    L.ShowCustomizeOption = true;
    L.Customize.Exists = L.Customize.Visible = true;
    L.Customize.Width = 14;
    for (Integer w = 300; w >= 0; --w) {
      Resize(L, w);
      ASSERT_EQ(CheckQATLayout(L), "") << "width " << w;
    }
    for (Integer w = 0; w <= 300; ++w) {
      Resize(L, w);
      ASSERT_EQ(CheckQATLayout(L), "") << "width " << w;
    }
    EXPECT_TRUE(L.Customize.Visible);
    EXPECT_FALSE(L.Scroll.Visible);
  }
}

TEST(QuickAccessLayout, ControlsInTheOverflowPanelComeBackOntoTheToolbar) {
  TQATLayout L = MakeLayout({20, 20});
  Resize(L, 15 + 20 + 28);
  ASSERT_EQ(L.Hidden, (std::vector<int>{1}));
  L.Items[1].OnToolBar = false;  // the overflow window took it
  Resize(L, 15 + 40 + 28);
  EXPECT_EQ(CheckQATLayout(L), "");
  EXPECT_TRUE(L.Items[1].OnToolBar);
  EXPECT_EQ(L.Shown, (std::vector<int>{0, 1}));
}

// Every width from 0 to 1,200 in every look, from scratch and by stepping
// through the widths: visible and overflowed controls are all the controls,
// none twice, shown ones apart and inside the room.
TEST(QuickAccessLayout, EveryWidthKeepsTheInvariants) {
  std::mt19937 rng(20261211);
  std::vector<TQATLook> looks(5);
  looks[1].FullSize = true;
  looks[2].Scenic = looks[2].GlassFlag = true;
  looks[3].Office2013 = true;
  looks[4].Scale = 1.5f;
  for (const TQATLook& look : looks) {
    std::vector<Integer> widths;
    for (int i = 0; i < 12; ++i) widths.push_back(Integer(rng() % 40) + 1);
    widths.push_back(0);  // a control without width
    for (Integer w = 0; w <= 1200; ++w) {
      TQATLayout fresh = MakeLayout(widths, look, w);
      QATRelayout(fresh);
      ASSERT_EQ(CheckQATLayout(fresh), "") << "fresh width " << w;
    }
    TQATLayout L = MakeLayout(widths, look, 1200);
    L.Items[5].Visible = false;  // an invisible control is in neither list
    for (Integer w = 1200; w >= 0; --w) {
      Resize(L, w);
      ASSERT_EQ(CheckQATLayout(L), "") << "narrowing to " << w << " look " << (&look - looks.data());
    }
    for (Integer w = 0; w <= 1200; ++w) {
      Resize(L, w);
      ASSERT_EQ(CheckQATLayout(L), "") << "widening to " << w;
    }
    EXPECT_TRUE(L.Hidden.empty());
    for (int step = 0; step < 2000; ++step) {
      Resize(L, Integer(rng() % 1201));
      ASSERT_EQ(CheckQATLayout(L), "") << "random step " << step << " width " << L.Width;
    }
  }
}

TEST(QuickAccessLayout, CheckerCatchesBrokenLayouts) {
  TQATLayout L = MakeLayout({20, 20});
  Resize(L, 200);
  ASSERT_EQ(CheckQATLayout(L), "");
  TQATLayout twice = L;
  twice.Hidden.push_back(0);
  EXPECT_NE(CheckQATLayout(twice), "");
  TQATLayout lost = L;
  lost.Shown.pop_back();
  EXPECT_NE(CheckQATLayout(lost), "");
  TQATLayout overlap = L;
  overlap.Items[1].Left -= 1;
  EXPECT_NE(CheckQATLayout(overlap), "");
  TQATLayout both = L;
  both.Scroll.Visible = true;
  EXPECT_NE(CheckQATLayout(both), "");
}

}  // namespace
}  // namespace ribbon
