// The ribbon form's frame arithmetic as tables: hit tests, WM_NCCALCSIZE per
// border style, AdjustClientRect per case, the maximized size per monitor
// case, and the drop and edge-click rules.
#include <gtest/gtest.h>

#include "ribbon/RibbonFrame.h"

namespace ribbon {
namespace {

TEST(RibbonFrame, HitTestTable) {
  struct Case {
    TPoint p;
    bool vista;
    LRESULT want;
  };
  // A 400 x 300 form, border width 0; HTCLIENT where no rule applies.
  const Case cases[] = {
      {{2, 2}, true, HTTOPLEFT},  // the corner wins over top and left
      {{25, 0}, true, HTTOP},     {{25, 2}, true, HTTOP},       {{25, 3}, true, HTCLIENT},
      {{0, 100}, true, HTLEFT},   {{2, 100}, true, HTLEFT},     {{3, 100}, true, HTCLIENT},
      {{389, 100}, true, HTRIGHT}, {{388, 100}, true, HTCLIENT}, {{100, 289}, true, HTBOTTOM},
      {{100, 288}, true, HTCLIENT}, {{381, 281}, true, HTBOTTOMRIGHT}, {{380, 289}, true, HTBOTTOM},
      {{381, 19}, true, HTTOPRIGHT}, {{19, 281}, true, HTBOTTOMLEFT}, {{19, 19}, true, HTTOPLEFT},
      {{20, 10}, true, HTCLIENT},
      // the older systems' edges are a pixel wider
      {{388, 100}, false, HTRIGHT}, {{387, 100}, false, HTCLIENT}, {{100, 288}, false, HTBOTTOM},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RibbonHitTest(c.p, 400, 300, c.vista, 0, HTCLIENT), c.want) << c.p.X << "," << c.p.Y;
  // Border width widens the older systems' right edge.
  EXPECT_EQ(RibbonHitTest(TPoint{384, 100}, 400, 300, false, 4, HTCLIENT), HTRIGHT);
}

TEST(RibbonFrame, HitTestsOnlyForNormalNonSizeableRibbonForms) {
  EXPECT_TRUE(RibbonHitTestApplies(true, bsSingle, wsNormal));
  EXPECT_TRUE(RibbonHitTestApplies(true, bsNone, wsNormal));
  EXPECT_FALSE(RibbonHitTestApplies(true, bsSizeable, wsNormal));
  EXPECT_FALSE(RibbonHitTestApplies(true, bsSingle, wsMaximized));
  EXPECT_FALSE(RibbonHitTestApplies(false, bsSingle, wsNormal));
}

TEST(RibbonFrame, NCCalcSizeTable) {
  struct Case {
    TFormBorderStyle style;
    bool maximized, scenic;
    TRect want;
  };
  const TRect win{100, 50, 500, 350};
  // SM_CXFRAME 4
  const Case cases[] = {
      {bsNone, false, false, win},
      {bsNone, true, false, win},
      {bsSizeable, false, false, TRect{103, 50, 497, 347}},
      {bsSizeable, true, false, TRect{103, 50, 497, 345}},
      {bsSingle, false, false, TRect{103, 50, 497, 347}},
      {bsSingle, true, false, TRect{103, 50, 497, 342}},
      {bsSingle, true, true, TRect{103, 50, 497, 347}},
      {bsSizeToolWin, true, false, TRect{103, 50, 497, 341}},
      {bsDialog, true, false, TRect{103, 50, 497, 347}},
      {bsToolWindow, false, false, TRect{103, 50, 497, 347}},
  };
  for (const Case& c : cases) {
    const TRect r = RibbonNCCalcSize(win, c.style, c.maximized, c.scenic, 4);
    EXPECT_EQ(r, c.want) << int(c.style) << " max " << c.maximized << " scenic " << c.scenic;
    EXPECT_EQ(r.Top, win.Top);  // the glass caption is client area
  }
}

TEST(RibbonFrame, AdjustClientRectTable) {
  struct Case {
    const char* name;
    TRibbonClientState s;
    TRect want;
  };
  auto st = [](auto f) {
    TRibbonClientState s;
    f(s);
    return s;
  };
  const TRect r{0, 0, 400, 300};
  const Case cases[] = {
      {"tones", st([](auto& s) { s.Tones = true; }), TRect{2, 0, 398, 298}},
      {"tones grip", st([](auto& s) { s.Tones = s.SizeGrip = true; }), TRect{2, 0, 398, 284}},
      {"glass", st([](auto& s) { s.Glass = true; }), TRect{1, 0, 399, 300}},
      {"glass max", st([](auto& s) { s.Glass = s.Maximized = true; }), TRect{1, 6, 399, 300}},
      {"glass scenic max", st([](auto& s) { s.Glass = s.Maximized = s.ScenicMaximized = true; }),
       TRect{1, 0, 399, 300}},
      {"plain", TRibbonClientState{}, r},
      {"single thick 150%", st([](auto& s) { s.SingleBorder = s.ThickBorder = true, s.Scale = 1.5f; }),
       TRect{4, 4, 396, 296}},  // round(4.5) = 4
      {"single thick max", st([](auto& s) { s.SingleBorder = s.ThickBorder = s.Maximized = true; }),
       TRect{1, 1, 399, 299}},
      {"single", st([](auto& s) { s.SingleBorder = true; }), TRect{1, 1, 399, 299}},
      {"old", st([](auto& s) { s.Vista = false; }), TRect{5, 5, 395, 295}},
      {"old max", st([](auto& s) { s.Vista = false, s.Maximized = true; }), TRect{1, 1, 399, 299}},
  };
  for (const Case& c : cases) EXPECT_EQ(RibbonAdjustClientRect(r, c.s), c.want) << c.name;
}

TEST(RibbonFrame, MinMaxInfoPerMonitorCase) {
  // Two virtual monitors side by side: the primary with a panel at the
  // bottom, a second one with a panel at the top.
  const TRect primary{0, 0, 1920, 1080}, primaryWork{0, 0, 1920, 1040};
  const TRect second{1920, 0, 3200, 1024}, secondWork{1920, 30, 3200, 1024};
  struct Case {
    const char* name;
    TRibbonMinMaxInput in;
    TPoint inheritedMax;
    bool changed;
    TPoint pos, size;
    bool remember;
    Integer maxX, maxY;
  };
  auto in = [&](bool onSecond, auto f) {
    TRibbonMinMaxInput i;
    i.MonitorRect = onSecond ? second : primary;
    i.WorkRect = onSecond ? secondWork : primaryWork;
    i.Primary = !onSecond;
    f(i);
    return i;
  };
  auto none = [](auto&) {};
  const Case cases[] = {
      {"primary normal", in(false, none), {1920, 1040}, true, {0, 0}, {1920, 1040}, false, 0, 0},
      {"second normal", in(true, none), {1280, 994}, true, {0, 30}, {1280, 994}, false, 0, 0},
      {"second maximized, smaller inherited", in(true, [](auto& i) { i.Maximized = true; }), {1000, 994},
       false, {7, 7}, {1000, 994}, true, 1280, 994},
      {"second maximized, high PPI, unaware", in(true, [](auto& i) { i.Maximized = true, i.MonitorPPI = 144; }),
       {1280, 994}, false, {7, 7}, {1280, 994}, false, 0, 0},
      {"second maximized, high PPI, aware",
       in(true, [](auto& i) { i.Maximized = true, i.MonitorPPI = 144, i.PerMonitorAware = true; }), {1280, 994},
       true, {0, 30}, {1280, 994}, false, 0, 0},
      {"old system primary", in(false, [](auto& i) { i.Vista = false; }), {1920, 1040}, true, {-3, -3},
       {1926, 1046}, false, 0, 0},
      {"old system second maximized", in(true, [](auto& i) { i.Vista = false, i.Maximized = true; }),
       {1286, 1000}, true, {-3, 27}, {1280, 1000}, false, 0, 0},
      {"borderless maximized before 10", in(false, [](auto& i) { i.Maximized = true, i.Win10 = false, i.BorderStyle = bsNone; }),
       {1920, 1040}, true, {0, 0}, {1920, 1039}, false, 0, 0},
      {"auto-hide task bar maximized before 10",
       in(false, [](auto& i) { i.Maximized = true, i.Win10 = false, i.TaskBarAutoHide = true; }), {1920, 1040},
       true, {0, 0}, {1920, 1036}, true, 0, 1036},
      {"auto-hide on 10", in(false, [](auto& i) { i.Maximized = true, i.TaskBarAutoHide = true; }), {1920, 1040},
       true, {0, 0}, {1920, 1040}, false, 0, 0},
  };
  for (const Case& c : cases) {
    MINMAXINFO info;
    info.ptMaxSize = c.inheritedMax;
    info.ptMaxPosition = TPoint{7, 7};
    const TRibbonMinMaxResult res = RibbonMinMaxInfo(info, c.in);
    EXPECT_EQ(res.Changed, c.changed) << c.name;
    EXPECT_EQ(info.ptMaxPosition, c.pos) << c.name;
    EXPECT_EQ(info.ptMaxSize, c.size) << c.name;
    EXPECT_EQ(res.RememberMax, c.remember) << c.name;
    if (c.remember) {
      if (c.maxX != 0) {
        EXPECT_EQ(res.MaxX, c.maxX) << c.name;
      }
      EXPECT_EQ(res.MaxY, c.maxY) << c.name;
    }
  }
}

TEST(RibbonFrame, GlassTopMargin) {
  EXPECT_EQ(RibbonGlassTopMargin(25, 26, false, false), 54);
  EXPECT_EQ(RibbonGlassTopMargin(25, 26, true, true), 54);
  EXPECT_EQ(RibbonGlassTopMargin(25, 26, true, false), 35);
}

TEST(RibbonFrame, DropAtTopMaximizesOnlyAfterTheUsersMove) {
  TDropAtTopInput in;
  in.UserMove = true;
  in.CursorClientX = 100;
  in.Width = 600;
  in.FormTop = 19;
  in.WinArrange = true;
  EXPECT_TRUE(RibbonMaximizeOnDrop(in));
  struct Change {
    const char* name;
    void (*apply)(TDropAtTopInput&);
  };
  const Change refusals[] = {
      {"programmatic move", [](TDropAtTopInput& i) { i.UserMove = false; }},
      {"button still down", [](TDropAtTopInput& i) { i.LeftButtonDown = true; }},
      {"20 below the top", [](TDropAtTopInput& i) { i.FormTop = 20; }},
      {"cursor near the right end", [](TDropAtTopInput& i) { i.CursorClientX = 501; }},
      {"blocked by the caption buttons", [](TDropAtTopInput& i) { i.NoAutoMax = true; }},
      {"window arrangement off", [](TDropAtTopInput& i) { i.WinArrange = false; }},
  };
  for (const Change& c : refusals) {
    TDropAtTopInput i = in;
    c.apply(i);
    EXPECT_FALSE(RibbonMaximizeOnDrop(i)) << c.name;
  }
  in.CursorClientX = 500;
  EXPECT_TRUE(RibbonMaximizeOnDrop(in));
}

TEST(RibbonFrame, EdgeDoubleClickUsesTheGivenInterval) {
  struct Case {
    Cardinal now, last, interval;
    Integer y;
    bool maximized, want;
  };
  const Case cases[] = {
      {1400, 1000, 500, 0, false, true},     // top row, within the interval
      {1400, 1000, 500, 2, false, true},     // the third pixel row still counts
      {1400, 1000, 500, 3, false, false},    // below the edge
      {1400, 1000, 500, 298, false, true},   // bottom edge of a 300-pixel form
      {1400, 1000, 500, 297, false, false},
      {1500, 1000, 500, 0, false, false},    // interval passed
      {3000, 1000, 500, 0, false, false},    // 2 s is no double click
      {1400, 0, 500, 0, false, false},       // no earlier click
      {1400, 1000, 500, 0, true, false},     // maximized forms do not stretch
  };
  for (const Case& c : cases)
    EXPECT_EQ(RibbonEdgeDoubleClick(c.now, c.last, c.interval, c.y, 300, c.maximized), c.want)
        << c.now << " " << c.last << " y " << c.y;
}

TEST(RibbonFrame, OldSystemRegion) {
  EXPECT_EQ(RibbonRegionRect(400, 300, false), (TRect{3, 3, 397, 297}));
  EXPECT_TRUE(RibbonRegionRect(400, 300, true).IsEmpty());
}

}  // namespace
}  // namespace ribbon
