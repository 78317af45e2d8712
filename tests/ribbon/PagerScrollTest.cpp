// The pager's tab row scrolled by its page scroll buttons: screens of a row
// of ten tabs, a shrunk row that fits exactly, reset on a caption change,
// hidden tabs; the scroll button's click and repeat rules on the virtual
// clock; tab groups' rectangles and hit tests; moving a page.
#include <vector>

#include "PagerFixture.h"
#include "platform/testing/VirtualClock.h"
#include "ribbon/AdvPageScrollButton.h"

namespace ribbon {
namespace {

class PagerScroll : public PagerFixture {
 protected:
  // Ten pages whose tabs shrink to the minimum, in a row where four fit.
  void MakeTenTabsFourPerScreen() {
    for (int i = 0; i < 10; ++i) Pager->AddAdvPage(u"Long page caption " + IntToStr(i + 1));
    Pager->Loaded();
    Pager->SetActivePageIndex(0);
    Form->Show();
    PumpPending();
    // Four tabs of 24 with spacing 3 take 105 pixels, five 132.
    SetRowWidth(120);
  }
  void SetRowWidth(Integer W) {
    const Integer extra = Pager->Width() - Pager->GetTabsRect().Width();
    Form->SetBounds(0, 0, W + extra, Form->Height());
    PumpPending();
    ASSERT_EQ(Pager->GetTabsRect().Width(), W);
  }
  bool Shows(TAdvPageScrollButton* B) { return B != nullptr && B->Visible(); }
  void CheckScroll() { ASSERT_EQ(CheckTabScroll(Pager->BuildTabRow(), Pager->TabScrollState()), ""); }
  void ClickButton(TAdvPageScrollButton* B) {
    ASSERT_TRUE(Shows(B));
    testinput::Click(B, TPoint{B->Width() / 2, B->Height() / 2});
  }
};

TEST_F(PagerScroll, TenTabsFourPerScreenStepWithTheButtons) {
  MakeTenTabsFourPerScreen();
  ASSERT_EQ(TabScreenStarts(Pager->BuildTabRow()), (std::vector<Integer>{0, 4, 8}));
  EXPECT_EQ(Pager->TabScroller()->Max(), 2);
  EXPECT_FALSE(Shows(Pager->LeftScrollButton()));
  EXPECT_TRUE(Shows(Pager->RightScrollButton()));
  CheckScroll();
  struct Step {
    const char* Name;
    bool Right;
    Integer Position, Start;
    bool LeftShown, RightShown;
  };
  const std::vector<Step> steps = {
      {"right", true, 1, 4, true, true},
      {"right to the end", true, 2, 6, true, false},
      {"left", false, 1, 2, true, true},
      {"left to the start", false, 0, 0, false, true},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.Name);
    ClickButton(s.Right ? Pager->RightScrollButton() : Pager->LeftScrollButton());
    EXPECT_EQ(Pager->TabScroller()->Position(), s.Position);
    EXPECT_EQ(Pager->StartTabIndex(), s.Start);
    EXPECT_EQ(Shows(Pager->LeftScrollButton()), s.LeftShown);
    EXPECT_EQ(Shows(Pager->RightScrollButton()), s.RightShown);
    CheckScroll();
  }
  // Beyond the ends nothing moves and nothing is reported.
  EXPECT_EQ(Pager->ScrollTabs(-1), 0);
  EXPECT_EQ(Pager->ScrollTabs(5), 2);
  EXPECT_EQ(Pager->ScrollTabs(1), 0);
  const TRect row = Pager->GetTabsRect();
  EXPECT_EQ(Pager->GetTabRect(9).Right, row.Right) << "the last screen fills the row's end";
}

TEST_F(PagerScroll, ButtonsSitAtTheRowEndsAndTakeTheStylersLook) {
  MakeTenTabsFourPerScreen();
  Pager->ScrollTabs(1);
  const TScrollButtonRects want = ScrollButtonRects(Pager->GetTabsRect(), toolbar::ToolBarDPIScale);
  for (auto [b, r] : {std::pair{Pager->LeftScrollButton(), want.Left}, std::pair{Pager->RightScrollButton(), want.Right}}) {
    ASSERT_TRUE(Shows(b));
    EXPECT_EQ(b->BoundsRect(), r);
    EXPECT_EQ(b->Appearance()->Color(), Pager->CurrentToolBarStyler()->GlowButtonAppearance()->Color());
  }
  EXPECT_EQ(Pager->LeftScrollButton()->ScrollArrow(), saLeft);
  EXPECT_EQ(Pager->RightScrollButton()->ScrollArrow(), saRight);
  EXPECT_EQ(Pager->LeftScrollButton()->ButtonPosition(), bpLeft);
}

TEST_F(PagerScroll, AShrunkRowThatFitsExactlyHasNoScrollButtons) {
  MakeTenTabsFourPerScreen();
  // Wide enough for every tab once shrunk, too narrow for them unshrunk:
  // shrinking stops where the row is exactly full.
  SetRowWidth(400);
  const TTabRow row = Pager->BuildTabRow();
  ASSERT_EQ(TotalTabsWidth(row), 400) << "the layout fills the row exactly";
  EXPECT_EQ(Pager->TabScroller()->Max(), 0);
  EXPECT_FALSE(Shows(Pager->RightScrollButton()));
  EXPECT_FALSE(Shows(Pager->LeftScrollButton()));
  CheckScroll();
}

TEST_F(PagerScroll, ACaptionChangeBringsTheFirstTabBack) {
  MakeTenTabsFourPerScreen();
  Pager->ScrollTabs(2);
  ASSERT_EQ(Pager->StartTabIndex(), 6);
  Page(3)->SetCaption(u"Renamed long page caption");
  EXPECT_EQ(Pager->StartTabIndex(), 0);
  EXPECT_EQ(Pager->TabScroller()->Position(), 0);
  EXPECT_EQ(Pager->GetTabRect(0).Left, Pager->GetTabsRect().Left);
  EXPECT_FALSE(Shows(Pager->LeftScrollButton()));
  EXPECT_TRUE(Shows(Pager->RightScrollButton()));
  CheckScroll();
}

TEST_F(PagerScroll, HiddenTabsAreSkippedByTheCounting) {
  MakeTenTabsFourPerScreen();
  Page(1)->SetTabVisible(false);
  Page(2)->SetTabVisible(false);
  EXPECT_EQ(Pager->VisibleTabCount(), 8);
  EXPECT_EQ(Pager->CountVisibleTabs(0, 3), 2);
  EXPECT_EQ(Pager->CountVisibleTabs(3, 2), 0);
  EXPECT_EQ(Pager->CountVisibleTabs(0, 10), 0) << "past the last page";
  EXPECT_EQ(TabScreenStarts(Pager->BuildTabRow()), (std::vector<Integer>{0, 6}));
  Page(9)->SetTabVisible(false);
  EXPECT_EQ(Pager->LastVisibleTabIndex(), 8);
  EXPECT_EQ(Pager->TabScroller()->Max(), 1);
  EXPECT_EQ(Pager->ScrollTabs(1), 1);
  CheckScroll();
  Integer last = -1;
  EXPECT_EQ(Pager->CountTabsFitting(0, true, last), 4);
  EXPECT_EQ(last, 5);
}

// --- the scroll button alone ---

class ScrollButton : public PagerFixture {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    Button = new TAdvPageScrollButton(Form.get());
    Button->SetParent(Form.get());
    Button->SetBounds(300, 160, 12, 21);
    Button->OnClick = [this](TObject*) { ++Clicks; };
    Form->Show();
    PumpPending();
  }
  TPoint Middle() const { return TPoint{6, 10}; }
  TAdvPageScrollButton* Button = nullptr;
  int Clicks = 0;
};

TEST_F(ScrollButton, ClicksOnlyForTheLeftButtonReleasedOverIt) {
  struct Case {
    const char* Name;
    TMouseButton Button;
    TPoint ReleaseAt;  // client point of the release
    int Clicks;
  };
  const std::vector<Case> cases = {
      {"left, released over it", mbLeft, {6, 10}, 1},
      {"left, released beside it", mbLeft, {40, 10}, 0},
      {"right button", mbRight, {6, 10}, 0},
      {"middle button", mbMiddle, {6, 10}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Clicks = 0;
    testinput::MouseMove(Button, Middle());
    testinput::MouseDown(c.Button);
    testinput::MouseMove(Button, c.ReleaseAt, c.Button == mbLeft ? TShiftState{ssLeft} : TShiftState{});
    testinput::MouseUp(c.Button);
    EXPECT_EQ(Clicks, c.Clicks);
    EXPECT_FALSE(Button->MousePressed());
  }
  Button->SetEnabled(false);
  Clicks = 0;
  testinput::Click(Button, Middle());
  EXPECT_EQ(Clicks, 0) << "disabled";
}

TEST_F(ScrollButton, HoldingRepeatsAfter400ThenEvery100AndTheReleaseAddsNone) {
  TVirtualClock clock;
  struct Case {
    const char* Name;
    Cardinal Held;
    int Clicks;
  };
  const std::vector<Case> cases = {
      {"quick press", 10, 1},          // the release clicks
      {"just before the repeat", 399, 1},
      {"first repeat", 400, 1},        // the repeat clicked; the release adds none
      {"two repeats", 500, 2},
      {"five repeats", 800, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Clicks = 0;
    testinput::MouseMove(Button, Middle());
    testinput::MouseDown();
    clock.Advance(c.Held);
    testinput::MouseUp();
    EXPECT_EQ(Clicks, c.Clicks);
    // Nothing more comes after the release.
    clock.Advance(1000);
    EXPECT_EQ(Clicks, c.Clicks);
    EXPECT_FALSE(Button->RepeatTimer()->Enabled());
  }
}

TEST_F(ScrollButton, WithoutRepeatOnlyTheReleaseClicks) {
  TVirtualClock clock;
  Button->SetRepeatClick(false);
  testinput::MouseMove(Button, Middle());
  testinput::MouseDown();
  clock.Advance(1000);
  EXPECT_EQ(Clicks, 0);
  testinput::MouseUp();
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Button->RepeatTimer(), nullptr);
}

TEST_F(ScrollButton, PaintsItsArrowInTheBlendOfBlackAndItsBorder) {
  Button->Appearance()->SetBorderColor(0x808080);
  Button->Appearance()->SetColor(0xFFFFFF);
  Button->Appearance()->SetColorTo(0xFFFFFF);
  Button->Appearance()->SetColorMirror(0xFFFFFF);
  Button->Appearance()->SetColorMirrorTo(0xFFFFFF);
  for (TScrollArrow a : {saLeft, saRight}) {
    Button->SetScrollArrow(a);
    auto bmp = testinput::Grab(Button);
    ASSERT_FALSE(bmp->Empty());
    const TColor arrow = toolbar::BlendColor(clBlack, 0x808080, 50);
    // The arrow's tip: left of the middle for saLeft, right of it for saRight.
    const Integer x0 = 6, y = 10 - 3 + 1 + 2;  // c = 3, the middle line of the triangle
    const Integer tip = a == saLeft ? x0 + 1 - 2 : x0 + 2 - 1;
    EXPECT_EQ(bmp->Canvas()->Pixels(tip, y), arrow) << a;
    EXPECT_NE(bmp->Canvas()->Pixels(a == saLeft ? x0 + 3 : x0 - 3, y), arrow) << a;
  }
}

// --- through the pager ---

TEST_F(PagerScroll, HoldingTheRightButtonScrollsOnTheRepeat) {
  MakeTenTabsFourPerScreen();
  TVirtualClock clock;
  TAdvPageScrollButton* b = Pager->RightScrollButton();
  testinput::MouseMove(b, TPoint{b->Width() / 2, b->Height() / 2});
  testinput::MouseDown();
  clock.Advance(400);
  EXPECT_EQ(Pager->TabScroller()->Position(), 1);
  clock.Advance(100);
  EXPECT_EQ(Pager->TabScroller()->Position(), 2);
  testinput::MouseUp();
  EXPECT_EQ(Pager->TabScroller()->Position(), 2);
  CheckScroll();
}

// --- tab groups ---

TEST_F(PagerScroll, TabGroupsRectanglesHitTestsAndCounts) {
  MakePages(5);
  Form->Show();
  PumpPending();
  struct Group {
    Integer From, To;
  };
  const std::vector<Group> groups = {{1, 2}, {3, 3}, {2, 1}, {-1, 0}, {4, 5}};
  for (const Group& g : groups) {
    TTabGroupItem* item = Pager->TabGroups()->Add();
    item->SetTabIndexStart(g.From);
    item->SetTabIndexEnd(g.To);
  }
  const Integer half = Pager->TabSettings()->Spacing() / 2;
  const Integer top = Pager->GetCaptionRect().Top;
  struct Case {
    Integer Group;
    bool Shown;
    TRect Expected;
  };
  const TRect t1 = Pager->GetTabRect(1), t2 = Pager->GetTabRect(2), t3 = Pager->GetTabRect(3);
  const std::vector<Case> cases = {
      {0, true, {t1.Left - half, top, t2.Right + half, t1.Bottom}},
      {1, true, {t3.Left - half, top, t3.Right + half, t3.Bottom}},
      {2, false, {-1, -1, -1, -1}},  // ends before it starts
      {3, false, {-1, -1, -1, -1}},  // starts below 0
      {4, false, {-1, -1, -1, -1}},  // ends past the last page
      {5, false, {-1, -1, -1, -1}},  // no such group
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Group);
    bool shown = false, whole = false;
    EXPECT_EQ(Pager->GetTabGroupRect(c.Group, shown, whole), c.Expected);
    EXPECT_EQ(shown, c.Shown);
    EXPECT_EQ(whole, c.Shown);
  }
  struct Hit {
    TPoint P;
    Integer Group;
  };
  const std::vector<Hit> hits = {
      {{(t1.Left + t2.Right) / 2, top + 3}, 0},   // the group's caption band
      {{t1.Left + 2, t1.Bottom - 2}, 0},          // on one of its tabs
      {{t3.Left + 2, top + 3}, 1},
      {{Pager->GetTabRect(0).Left + 2, top + 3}, -1},
      {{t1.Left + 2, t1.Bottom + 5}, -1},         // below the tabs
  };
  for (const Hit& h : hits) EXPECT_EQ(Pager->TabGroupAtPos(h.P.X, h.P.Y), h.Group) << h.P.X << "," << h.P.Y;
  // The first group whose range holds the tab, whether or not it has a rectangle.
  const std::vector<std::pair<Integer, Integer>> ofTab = {{0, 3}, {1, 0}, {2, 0}, {3, 1}, {4, 4}, {5, -1}, {-1, -1}};
  for (auto [tab, group] : ofTab) EXPECT_EQ(Pager->TabGroupOfTab(tab), group) << tab;
  const std::vector<std::pair<Integer, Integer>> counts = {{0, 2}, {1, 1}, {2, 2}, {5, 0}, {-1, 0}};
  for (auto [group, n] : counts) EXPECT_EQ(Pager->TabGroupTabCount(group), n) << group;
}

TEST_F(PagerScroll, AGroupReachingUnderTheCaptionButtonsIsCutBeforeThem) {
  MakePages(5);
  Form->Show();
  PumpPending();
  Pager->UpdateCaptionButtons(true);
  const TRect b = Pager->GetCaptionButtonsRect();
  ASSERT_GT(b.Left, 0);
  TTabGroupItem* item = Pager->TabGroups()->Add();
  item->SetTabIndexStart(0);
  item->SetTabIndexEnd(4);
  // Narrow the pager until the last tabs lie under the caption buttons.
  Integer width = Form->Width();
  bool shown = false, whole = false;
  TRect r;
  for (int k = 0; k < 100; ++k) {
    shown = whole = false;
    r = Pager->GetTabGroupRect(0, shown, whole);
    const TRect cb = Pager->GetCaptionButtonsRect();
    if (Pager->GetTabRect(4).Right > cb.Left) break;
    width -= 10;
    Form->SetBounds(0, 0, width, Form->Height());
    PumpPending();
  }
  const TRect cb = Pager->GetCaptionButtonsRect();
  ASSERT_GT(Pager->GetTabRect(4).Right, cb.Left);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(whole) << "cut: no right border";
  EXPECT_EQ(r.Right, cb.Left - 1);
}

// --- moving a page ---

TEST_F(PagerScroll, MovingAPageKeepsTheSamePageActive) {
  MakePages(4);
  Pager->SetActivePageIndex(1);
  TAdvPage* active = Page(1);
  Pager->MoveAdvPage(1, 3);
  EXPECT_EQ(Pager->ActivePage(), active);
  EXPECT_EQ(Pager->ActivePageIndex(), 3);
  EXPECT_EQ(Page(3), active);
  Pager->MoveAdvPage(0, 4);  // the page count: nothing
  EXPECT_EQ(Page(3), active);
  Pager->MoveAdvPage(-1, 0);
  EXPECT_EQ(Pager->ActivePageIndex(), 3);
  CheckScroll();
}

}  // namespace
}  // namespace ribbon

namespace ribbon {
namespace {

TEST_F(PagerScroll, TabHintIsTheTabHintOrTheCaptionOfANarrowTab) {
  MakeTenTabsFourPerScreen();
  Page(1)->SetTabHint(u"Second page");
  auto hint = [this](Integer Tab, bool Show) {
    Pager->SetShowTabHint(Show);
    testinput::MouseMove(Pager, TabCentre(Tab));
    THintInfo info;
    info.HintStr = u"ordinary";
    Pager->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    return info.HintStr;
  };
  EXPECT_EQ(hint(0, false), u"") << "tab hints off: no hint";
  EXPECT_EQ(hint(1, true), u"Second page");
  EXPECT_EQ(hint(0, true), u"Long page caption 1") << "the tab is shrunk below its caption";
  SetRowWidth(2000);
  EXPECT_EQ(hint(0, true), u"ordinary") << "the caption shows whole: the ordinary hint";
}

}  // namespace
}  // namespace ribbon
