// The pager under the mouse: tab clicks and hover, click counting on the
// active tab with the 600 ms timer, disabled tabs, tab-group clicks, and the
// caption bar that drags the form and opens its system menu.
#include <vector>

#include "PagerFixture.h"
#include "platform/testing/VirtualClock.h"

namespace ribbon {
namespace {

class PagerMouse : public PagerFixture {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    MakePages(3);
    Form->Show();
    PumpPending();
    // The form's commands are noted here and go no further.
    Inner = Form->WindowProc;
    Form->WindowProc = [this](TMessage& M) {
      if (M.Msg == WM_SYSCOMMAND) {
        Commands.push_back(M.WParam);
        return;
      }
      Inner(M);
    };
  }
  void TearDown() override {
    Form->WindowProc = Inner;
    if (Helper != nullptr) DeallocateHWnd(Helper);
    PagerFixture::TearDown();
  }
  // Runs Action from inside the next message loop (the system menu's own).
  void WhileMenuOpen(std::function<void()> Action) {
    if (Helper != nullptr) DeallocateHWnd(Helper);
    Helper = AllocateHWnd([Action](TMessage& m) {
      if (m.Msg == WM_USER) Action();
    });
    PostMessage(Helper, WM_USER, 0, 0);
  }
  std::function<void(TMessage&)> Inner;
  std::vector<WPARAM> Commands;
  HWND Helper = nullptr;
};

TEST_F(PagerMouse, ClickSelectsATabAndTellsOfIt) {
  std::vector<Integer> clicked;
  int changed = 0;
  Pager->OnTabClick = [&](TObject*, Integer Page) { clicked.push_back(Page); };
  Pager->OnTabChanged = [&](TObject*) { ++changed; };
  testinput::Click(Pager, TabCentre(2));
  EXPECT_EQ(Pager->ActivePageIndex(), 2);
  EXPECT_EQ(clicked, (std::vector<Integer>{2}));
  EXPECT_EQ(changed, 1);
  // The active tab again: told of the click, no change.
  testinput::Click(Pager, TabCentre(2));
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(clicked.size(), 2u);
}

TEST_F(PagerMouse, DisabledTabIsPressedButNotActivated) {
  Page(1)->SetTabEnabled(false);
  std::vector<Integer> clicked;
  Pager->OnTabClick = [&](TObject*, Integer Page) { clicked.push_back(Page); };
  testinput::MouseMove(Pager, TabCentre(1));
  testinput::MouseDown();
  EXPECT_EQ(Pager->DownPageIndex(), 1);
  EXPECT_EQ(Pager->HotPageIndex(), -1);  // a disabled tab does not light up
  testinput::MouseUp();
  EXPECT_EQ(Pager->DownPageIndex(), -1);
  EXPECT_EQ(Pager->ActivePageIndex(), 0);
  EXPECT_EQ(clicked, (std::vector<Integer>{1}));
}

TEST_F(PagerMouse, HoverTracksTheTabUnderThePointer) {
  testinput::MouseMove(Pager, TabCentre(1));
  EXPECT_EQ(Pager->HotPageIndex(), 1);
  testinput::MouseMove(Pager, TabCentre(2));
  EXPECT_EQ(Pager->HotPageIndex(), 2);
  // Below the tabs (on the page) nothing is hot.
  testinput::MouseMove(Form.get(), TPoint{300, 150});
  EXPECT_EQ(Pager->HotPageIndex(), -1);
}

TEST_F(PagerMouse, LeavingNearTheBottomOfTheTabRowKeepsTheHotTab) {
  const TRect row = Pager->GetTabsRect();
  const TRect tab = Pager->GetTabRect(1);
  testinput::MouseMove(Pager, TPoint{(tab.Left + tab.Right) / 2, row.Bottom - 6});
  ASSERT_EQ(Pager->HotPageIndex(), 1);
  TMessage leave{CM_MOUSELEAVE, 0, 0, 0};
  Pager->Perform(leave.Msg, 0, 0);
  EXPECT_EQ(Pager->HotPageIndex(), 1);
  testinput::MouseMove(Form.get(), TPoint{300, 190});
  EXPECT_EQ(Pager->HotPageIndex(), -1);
}

TEST_F(PagerMouse, TwoClicksOnTheActiveTabWithinTheTimeCollapseThePages) {
  TVirtualClock clock;
  struct {
    Cardinal Gap;
    bool Collapses;
  } const cases[] = {{100, true}, {599, true}, {650, false}};
  for (const auto& c : cases) {
    ASSERT_TRUE(Pager->Expanded());
    testinput::Click(Pager, TabCentre(0));
    clock.Advance(c.Gap);
    testinput::Click(Pager, TabCentre(0));
    EXPECT_EQ(!Pager->Expanded(), c.Collapses) << c.Gap;
    if (!Pager->Expanded()) {
      // Two more clicks bring the pages back.
      clock.Advance(1000);
      testinput::Click(Pager, TabCentre(0));
      testinput::Click(Pager, TabCentre(0));
      EXPECT_TRUE(Pager->Expanded());
    }
    clock.Advance(1000);
  }
}

TEST_F(PagerMouse, ClicksThatChangeTheTabOrWithoutHidingNeverCollapse) {
  TVirtualClock clock;
  testinput::Click(Pager, TabCentre(1));
  testinput::Click(Pager, TabCentre(2));
  EXPECT_TRUE(Pager->Expanded());
  clock.Advance(1000);
  Pager->SetHidePagesOnDblClick(false);
  for (int i = 0; i < 3; ++i) testinput::Click(Pager, TabCentre(2));
  EXPECT_TRUE(Pager->Expanded());
}

TEST_F(PagerMouse, TabGroupClickSelectsItsFirstUsablePage) {
  TTabGroupItem* g = Pager->TabGroups()->Add();
  g->SetTabIndexStart(1);
  g->SetTabIndexEnd(2);
  g->SetCaption(u"Tools");
  Page(1)->SetTabEnabled(false);
  std::vector<Integer> groups;
  Pager->OnTabGroupClick = [&](TObject*, Integer G) { groups.push_back(G); };
  bool shown = false, whole = false;
  const TRect r = Pager->GetTabGroupRect(0, shown, whole);
  ASSERT_TRUE(shown);
  // Above the tabs, in the caption band of the group.
  testinput::Click(Pager, TPoint{(r.Left + r.Right) / 2, r.Top + 5});
  EXPECT_EQ(Pager->ActivePageIndex(), 2);
  EXPECT_EQ(groups, (std::vector<Integer>{0}));
  EXPECT_TRUE(Commands.empty());  // a group is no place to drag the form from
  testinput::Click(Pager, TPoint{(r.Left + r.Right) / 2, r.Top + 5});
  EXPECT_EQ(groups.size(), 2u);  // also when its page is active already
}

TEST_F(PagerMouse, CaptionPressAsksTheFormToMoveWithTheMouse) {
  // A click alone moves nothing (it may be half of a double click).
  testinput::Click(Pager, TPoint{400, 10});
  EXPECT_TRUE(Commands.empty());
  auto drag = [this](TPoint From) {
    testinput::MouseMove(Pager, From);
    testinput::MouseDown();
    EXPECT_TRUE(Commands.empty());
    testinput::MouseMove(Pager, TPoint{From.X + 3, From.Y + 1}, TShiftState{ssLeft});
    testinput::MouseUp();
  };
  drag(TPoint{400, 10});
  EXPECT_EQ(Commands, (std::vector<WPARAM>{SC_DRAGMOVE}));
  Commands.clear();
  Pager->SetCanMove(false);
  drag(TPoint{400, 10});
  EXPECT_TRUE(Commands.empty());
  // A press on a tab never drags.
  Pager->SetCanMove(true);
  drag(TabCentre(1));
  EXPECT_TRUE(Commands.empty());
}

TEST_F(PagerMouse, DoubleClickOnTheCaptionMaximizesAndRestoresTheForm) {
  std::vector<Integer> tabs;
  Pager->OnTabDblClick = [&](TObject*, Integer Page) { tabs.push_back(Page); };
  testinput::MouseMove(Pager, TPoint{400, 10});
  testinput::MouseDoubleClick();
  PumpPending();
  EXPECT_EQ(Form->WindowState(), wsMaximized);
  testinput::MouseMove(Pager, TPoint{400, 10});
  testinput::MouseDoubleClick();
  PumpPending();
  EXPECT_EQ(Form->WindowState(), wsNormal);
  EXPECT_TRUE(tabs.empty());
  // On a tab: the tab hears of it and the form stays.
  testinput::MouseMove(Pager, TabCentre(1));
  testinput::MouseDoubleClick();
  PumpPending();
  EXPECT_EQ(tabs, (std::vector<Integer>{1}));
  EXPECT_EQ(Form->WindowState(), wsNormal);
  // Without the maximize button the caption leaves the form alone.
  Pager->SetCaptionButtons(TCaptionButtons{cbClose, cbMinimize});
  testinput::MouseMove(Pager, TPoint{400, 10});
  testinput::MouseDoubleClick();
  PumpPending();
  EXPECT_EQ(Form->WindowState(), wsNormal);
}

TEST_F(PagerMouse, RightClickOnTheCaptionOpensTheSystemMenu) {
  // The form's own system menu opens (a form with one: a borderless form
  // has none); N chooses Minimize in it.
  Form->SetBorderStyle(bsSizeable);
  PumpPending();
  WhileMenuOpen([] { testinput::KeyPress('N'); });
  testinput::Click(Pager, TPoint{400, 10}, mbRight);
  EXPECT_EQ(Commands, (std::vector<WPARAM>{SC_MINIMIZE}));
  // On a tab no menu opens: the key pressed later chooses nothing.
  WhileMenuOpen([] { testinput::KeyPress('N'); });
  testinput::Click(Pager, TabCentre(1), mbRight);
  PumpPending();
  EXPECT_EQ(Commands, (std::vector<WPARAM>{SC_MINIMIZE}));
}

TEST_F(PagerMouse, HoverGlowFadesInAndOutOnTheVirtualClock) {
  TVirtualClock clock;
  testinput::MouseMove(Pager, TabCentre(1));
  ASSERT_TRUE(Page(1)->GlowRunning());
  EXPECT_EQ(Page(1)->GlowState(), gsHover);
  // Five steps of 20 at the glow interval reach full strength.
  clock.Advance(5 * Cardinal(TZadEdevAziPager::GlowSpeed()));
  EXPECT_EQ(Page(1)->StepHover(), 100);
  clock.Advance(Cardinal(TZadEdevAziPager::GlowSpeed()));
  EXPECT_EQ(Page(1)->StepHover(), 120);
  // Off the tabs the glow fades back and its timer stops.
  testinput::MouseMove(Form.get(), TPoint{300, 150});
  EXPECT_EQ(Page(1)->TimeInc(), -20);
  clock.Advance(20 * Cardinal(TZadEdevAziPager::GlowSpeed()));
  EXPECT_FALSE(Page(1)->GlowRunning());
  EXPECT_EQ(Page(1)->GlowState(), gsNone);
}

TEST_F(PagerMouse, PressingAnotherTabStartsThePressGlow) {
  TVirtualClock clock;
  testinput::Click(Pager, TabCentre(2));
  EXPECT_EQ(Page(2)->GlowState(), gsPush);
  clock.Advance(10 * Cardinal(TZadEdevAziPager::GlowSpeed()));
  EXPECT_EQ(Page(2)->GlowState(), gsNone);
  EXPECT_FALSE(Page(2)->GlowRunning());
}

}  // namespace
}  // namespace ribbon
