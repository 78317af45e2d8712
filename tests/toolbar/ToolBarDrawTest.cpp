// The toolbar unit's fills, gradients and outlines, by sampled pixels.
#include "toolbar/ToolBarDraw.h"

#include <gtest/gtest.h>

#include "DrawFixture.h"
#include "platform/testing/GuiTestApp.h"

using namespace toolbar;
using drawtest::Near;
using drawtest::Px;
using drawtest::Sheet;

using ToolBarDraw = drawtest::DrawTest;

// The last band carries ToColor itself, the first FromColor; 0 steps is one
// band of FromColor.
TEST_F(ToolBarDraw, GradientRunsFromTheFirstColourToTheSecond) {
  auto b = Sheet(100, 10, clRed);
  DrawGradient(b->Canvas(), 0x000000, 0xFFFFFF, 4, TRect(0, 0, 100, 10), true);
  EXPECT_EQ(Px(b.get(), 1, 5), TColor(0x000000));
  EXPECT_EQ(Px(b.get(), 40, 5), TColor(0x555555));  // band 1 of 3 intervals
  EXPECT_EQ(Px(b.get(), 98, 5), TColor(0xFFFFFF));
  EXPECT_EQ(Px(b.get(), 99, 5), TColor(0xFFFFFF));

  auto one = Sheet(20, 20, clRed);
  DrawGradient(one->Canvas(), 0x00FF00, 0x0000FF, 0, TRect(0, 0, 20, 20), false);
  for (int y : {0, 10, 19}) EXPECT_EQ(Px(one.get(), 5, y), TColor(0x00FF00)) << y;
}

// Bands beyond 32767 px stay where they belong.
TEST_F(ToolBarDraw, GradientBandsDoNotWrapOnWideRectangles) {
  // A 70000-px band whose second half starts 35000 px in: the visible end
  // of the rectangle belongs to it.
  auto b = Sheet(50, 2, clRed);
  DrawGradient(b->Canvas(), 0x000000, 0xFFFFFF, 2, TRect(-69950, 0, 50, 2), true);
  for (int x : {0, 25, 49}) EXPECT_EQ(Px(b.get(), x, 1), TColor(0xFFFFFF)) << x;
}

// clNone paints nothing; one clNone colour gives a solid fill of the other.
TEST_F(ToolBarDraw, NoneColoursNeverReachTheCanvas) {
  auto b = Sheet(30, 30, clRed);
  DrawGradient(b->Canvas(), clNone, clNone, 10, TRect(0, 0, 30, 30), false);
  DrawRectOutline(nullptr, b->Canvas(), clNone, TRect(0, 0, 29, 29));
  DrawDropDownArrow(nullptr, b->Canvas(), clNone, TPoint(10, 10));
  DrawVistaGradient(b->Canvas(), TRect(0, 0, 30, 30), 15, clNone, clNone, clNone, clNone, clNone, 0);
  DrawColorLine(b->Canvas()->Handle(), clNone, 0, 15, 30, 0);
  DrawAlphaBox(b->Canvas()->Handle(), TRect(0, 0, 30, 30), clNone, clNone);
  for (int y = 0; y < 30; y += 3)
    for (int x = 0; x < 30; x += 3) ASSERT_EQ(Px(b.get(), x, y), clRed) << x << "," << y;

  DrawGradient(b->Canvas(), clNone, 0x00FF00, 10, TRect(0, 0, 30, 30), false);
  EXPECT_EQ(Px(b.get(), 5, 0), TColor(0x00FF00));
  EXPECT_EQ(Px(b.get(), 5, 29), TColor(0x00FF00));
}

// Upper and lower parts, the "no mirror" rule and the border.
TEST_F(ToolBarDraw, VistaGradientPartsAndBorder) {
  auto b = Sheet(40, 40, clRed);
  DrawVistaGradient(b->Canvas(), TRect(0, 0, 40, 40), 19, 0x101010, clNone, 0x303030, clNone, 0x0000FF, 0);
  EXPECT_EQ(Px(b.get(), 20, 10), TColor(0x101010));
  EXPECT_EQ(Px(b.get(), 20, 30), TColor(0x303030));
  EXPECT_TRUE(Near(Px(b.get(), 0, 20), 0x0000FF, 40));   // left border
  EXPECT_TRUE(Near(Px(b.get(), 39, 20), 0x0000FF, 40));  // right border at width - 1

  auto whole = Sheet(40, 40, clRed);
  DrawVistaGradient(whole->Canvas(), TRect(0, 0, 40, 40), 10, 0x000000, 0xFFFFFF, clNone, clNone, clNone, 0);
  EXPECT_EQ(Px(whole.get(), 20, 0), TColor(0x000000));
  EXPECT_TRUE(Near(Px(whole.get(), 20, 38), 0xFFFFFF, 8));  // the gradient spans all 40 rows
}

// Translucent fills blend into what is below; the fade leaves the last 4 px.
TEST_F(ToolBarDraw, AlphaFillsBlendAndFade) {
  auto b = Sheet(100, 20, 0xFFFFFF);
  FillAlphaGradient(b->Canvas()->Handle(), TRect(0, 0, 100, 19), 0x000000, 0, 255);
  EXPECT_TRUE(Near(Px(b.get(), 50, 0), 0xFFFFFF, 20));
  EXPECT_TRUE(Near(Px(b.get(), 50, 19), 0x000000, 20));

  auto f = Sheet(100, 20, 0xFFFFFF);
  FillAlphaGradientFade(f->Canvas()->Handle(), TRect(0, 0, 100, 19), 0x000000, 255, 255);
  EXPECT_TRUE(Near(Px(f.get(), 30, 10), 0x000000, 8));
  EXPECT_LT(Px(f.get(), 61, 10) & 0xFF, Px(f.get(), 75, 10) & 0xFF);  // fading out
  for (int x = 96; x < 100; ++x) EXPECT_EQ(Px(f.get(), x, 10), TColor(0xFFFFFF)) << x;
}

TEST_F(ToolBarDraw, OutlineAndArrowPixels) {
  auto b = Sheet(20, 20, 0xFFFFFF);
  DrawRectOutline(nullptr, b->Canvas(), 0x0000FF, TRect(2, 2, 17, 17));
  EXPECT_TRUE(Near(Px(b.get(), 10, 2), 0x0000FF, 60));
  EXPECT_TRUE(Near(Px(b.get(), 17, 10), 0x0000FF, 60));
  EXPECT_EQ(Px(b.get(), 10, 10), TColor(0xFFFFFF));

  auto a = Sheet(20, 20, 0xFFFFFF);
  DrawDropDownArrow(nullptr, a->Canvas(), 0x000000, TPoint(5, 5));
  EXPECT_NE(Px(a.get(), 7, 5), TColor(0xFFFFFF));
  EXPECT_NE(Px(a.get(), 7, 6), TColor(0xFFFFFF));
  EXPECT_EQ(Px(a.get(), 7, 9), TColor(0xFFFFFF));
}

TEST_F(ToolBarDraw, BevelLineTakesWhiteFirstWhenRaised) {
  auto b = Sheet(20, 20, clRed);
  DrawBevelLine(b->Canvas(), TPoint(10, 2), TPoint(10, 15), true, true);
  EXPECT_EQ(Px(b.get(), 9, 8), TColor(0xFFFFFF));
  EXPECT_EQ(Px(b.get(), 11, 8), ColorToRGB(clBtnShadow));
  auto s = Sheet(20, 20, clRed);
  DrawBevelLine(s->Canvas(), TPoint(10, 2), TPoint(10, 15), true, false);
  EXPECT_EQ(Px(s.get(), 9, 8), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Px(s.get(), 11, 8), TColor(0xFFFFFF));
}
