// The ribbon minimised and expanded: the state machine with the floating
// ribbon, the pop-up's hide timer and its vetoes, every way the pop-up goes
// away (never left behind), seeded random sequences of clicks, keys and
// focus changes, the expand/collapse button, the saved state and the
// quick-access toolbar's place above or below the ribbon.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "PagerFixture.h"
#include "controls/AdvGlowButton.h"
#include "platform/rtl/IniFiles.h"
#include "platform/testing/TempHome.h"
#include "platform/testing/VirtualClock.h"
#include "platform/win/Keyboard.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "ribbon/MinimizedRibbonWindow.h"
#include "ribbon/ZadEdevAziForm.h"
#include "toolbar/CompactWindow.h"
#include "toolbar/ToolBarPersistence.h"

namespace ribbon {
namespace {

using toolbar::TZadEdevAzi;

// The pop-up windows on the screen's list (shown or not).
std::vector<TMinimizedRibbonWindow*> RibbonWindows() {
  std::vector<TMinimizedRibbonWindow*> v;
  for (Integer i = 0; i < Screen->FormCount(); ++i)
    if (auto* w = dynamic_cast<TMinimizedRibbonWindow*>(Screen->Forms(i))) v.push_back(w);
  return v;
}

class PagerMinimize : public PagerFixture {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    Form->SetBounds(0, 0, 600, 300);
    MakePages(3);
    for (int i = 0; i < 3; ++i) {
      TZadEdevAzi* tb = Page(i)->CreateZadEdevAzi();
      tb->SetName(u"Bar" + IntToStr(i + 1));
      auto* b = new TAdvGlowButton(Form.get());
      b->SetName(u"Button" + IntToStr(i + 1));
      b->SetCaption(u"Go");
      b->SetBounds(0, 2, 40, 40);
      tb->AddToolBarControl(b);
      tb->Loaded();
      Page(i)->ArrangeToolBars();
      Bars.push_back(tb);
    }
    Form->Show();
    PumpPending();
    ExpandedHeight = Pager->Height();
  }
  // What a user could see go wrong after any step: more than one pop-up, a
  // pop-up left on the screen's list after the pager let it go, a pop-up
  // while expanded, toolbars away from their page, or a wrong height.
  void ExpectSound(const std::string& Where) {
    SCOPED_TRACE(Where);
    // A release posted while the pending messages are delivered comes next.
    PumpPending();
    PumpPending();
    const std::vector<TMinimizedRibbonWindow*> ws = RibbonWindows();
    TMinimizedRibbonWindow* own = Pager->MinimizedRibbonWindow();
    ASSERT_LE(ws.size(), 1u);
    if (own == nullptr) {
      EXPECT_TRUE(ws.empty()) << "a pop-up is left behind";
    }
    if (!ws.empty()) {
      EXPECT_EQ(ws[0], own);
      EXPECT_FALSE(Pager->Expanded()) << "a pop-up while expanded";
    }
    EXPECT_EQ(Pager->IsFloatingRibbonShowing(), own != nullptr && own->Visible());
    for (int i = 0; i < 3; ++i) {
      const bool floated = own != nullptr && own->AdvPage() != nullptr && i == Pager->ActivePageIndex();
      TWinControl* home = floated ? static_cast<TWinControl*>(own->AdvPage()) : Page(i);
      EXPECT_EQ(Bars[size_t(i)]->Parent(), home) << "toolbar " << i;
      EXPECT_EQ(Page(i)->ZadEdevAziCount(), 1) << "page " << i;
    }
    const Integer height = Pager->Expanded() ? ExpandedHeight : Pager->GetPageRect().Top;
    EXPECT_EQ(Pager->Height(), height);
  }
  void ClickElsewhere() { testinput::Click(Form.get(), TPoint{300, 280}); }
  void Escape() {
    if (TMinimizedRibbonWindow* w = Pager->MinimizedRibbonWindow()) w->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  }
  // Another window of the program becomes the active one.
  void FocusLoss(TVirtualClock& Clock) {
    if (!Other) {
      Other = std::make_unique<TForm>(nullptr);
      Other->AfterConstruction();
      Other->SetBounds(700, 400, 100, 100);
    }
    Other->Show();
    PumpPending();
    Clock.Advance(10);
    PumpPending();
    Other->Hide();
    PumpPending();
  }
  void ClickButton() {
    TAdvGlowButton* b = Pager->ExpandCollapsButton();
    ASSERT_NE(b, nullptr);
    testinput::Click(b, TPoint{b->Width() / 2, b->Height() / 2});
  }
  void TearDown() override {
    Other.reset();
    PagerFixture::TearDown();
  }

  std::vector<TZadEdevAzi*> Bars;
  Integer ExpandedHeight = 0;
  std::unique_ptr<TForm> Other;
};

enum class S { Expanded, Minimized, Floating };

TEST_F(PagerMinimize, StateMachine) {
  // Time stands still: only the steps of the table change anything.
  TVirtualClock clock;
  enum class Op { Collaps, Expand, Show, Hide, HideVetoed, ExpandVetoed, OtherTab, Button };
  struct Case {
    S From;
    Op Do;
    S To;
  };
  const Case cases[] = {
      {S::Expanded, Op::Collaps, S::Minimized},   {S::Expanded, Op::Expand, S::Expanded},
      {S::Expanded, Op::Show, S::Expanded},       {S::Expanded, Op::Hide, S::Expanded},
      {S::Expanded, Op::Button, S::Minimized},    {S::Minimized, Op::Expand, S::Expanded},
      {S::Minimized, Op::Collaps, S::Minimized},  {S::Minimized, Op::Show, S::Floating},
      {S::Minimized, Op::Hide, S::Minimized},     {S::Minimized, Op::Button, S::Expanded},
      {S::Minimized, Op::OtherTab, S::Minimized}, {S::Floating, Op::Expand, S::Expanded},
      {S::Floating, Op::ExpandVetoed, S::Expanded}, {S::Floating, Op::Collaps, S::Floating},
      {S::Floating, Op::Hide, S::Minimized},      {S::Floating, Op::HideVetoed, S::Floating},
      {S::Floating, Op::Show, S::Floating},       {S::Floating, Op::OtherTab, S::Minimized},
      {S::Floating, Op::Button, S::Floating},
  };
  const char16_t* pictures[] = {u"ATBECUP_BTN", u"ATBECDOWN_BTN", u"ATBECNCH_BTN"};
  Pager->SetShowExpandCollapsButton(true);
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("case " + std::to_string(n++));
    Pager->OnFloatingRibbonHide = nullptr;
    Pager->SetActivePageIndex(0);
    if (c.From != S::Expanded) Pager->Collaps();
    if (c.From == S::Floating) Pager->ShowFloatingRibbon();
    ExpectSound("before");
    int asked = 0;
    auto veto = [&](TObject*, bool& CanHide) {
      ++asked;
      CanHide = false;
    };
    switch (c.Do) {
      case Op::Collaps: Pager->Collaps(); break;
      case Op::Expand: Pager->Expand(); break;
      case Op::Show: Pager->ShowFloatingRibbon(); break;
      case Op::Hide: Pager->HideFloatingRibbon(); break;
      case Op::HideVetoed:
        Pager->OnFloatingRibbonHide = veto;
        Pager->HideFloatingRibbon();
        EXPECT_EQ(asked, 1);
        break;
      case Op::ExpandVetoed:
        Pager->OnFloatingRibbonHide = veto;
        Pager->Expand();
        break;
      case Op::OtherTab: Pager->SetActivePageIndex(2); break;
      case Op::Button: ClickButton(); break;
    }
    ExpectSound("after");
    EXPECT_EQ(Pager->Expanded(), c.To == S::Expanded);
    EXPECT_EQ(Pager->IsFloatingRibbonShowing(), c.To == S::Floating);
    EXPECT_EQ(Pager->ExpandCollapsPictureName(), String(pictures[int(c.To)]));
    EXPECT_FALSE(Pager->ExpandCollapsButton()->Picture()->Empty());
    Pager->OnFloatingRibbonHide = nullptr;
    Pager->Expand();
    ExpectSound("reset");
  }
}

TEST_F(PagerMinimize, ExpandCollapseButtonSitsAtTheRightOfTheTabRowWithThePictureOfTheLook) {
  EXPECT_EQ(Pager->GetExpandCollapseButtonRect(), (TRect{-1, -1, -1, -1}));
  EXPECT_EQ(Pager->ExpandCollapsButton(), nullptr);
  Pager->SetShowExpandCollapsButton(true);
  TAdvGlowButton* b = Pager->ExpandCollapsButton();
  ASSERT_NE(b, nullptr);
  const TRect A = Pager->GetTabsArea();
  // 20 square, centred on the tab area less one; the help button's square
  // is 6 from its right end and this one just left of it.
  const Integer top = A.Top + (A.Height() - 20) / 2 + 1;
  ASSERT_TRUE(Pager->ShowHelpButton());
  EXPECT_EQ(Pager->GetHelpButtonRect(), (TRect{A.Right - 26, top, A.Right - 6, top + 20}));
  const TRect want{A.Right - 47, top, A.Right - 27, top + 20};
  EXPECT_EQ(Pager->GetExpandCollapseButtonRect(), want);
  EXPECT_EQ(b->BoundsRect(), want);
  // Without the help button it takes its place.
  Pager->SetShowHelpButton(false);
  EXPECT_EQ(b->BoundsRect(), (TRect{A.Right - 26, top, A.Right - 6, top + 20}));
  // The form widens: the button keeps to the right end.
  Form->SetBounds(0, 0, 700, 300);
  EXPECT_EQ(b->Left(), Pager->GetTabsArea().Right - 26);
  Pager->SetShowHelpButton(true);
  EXPECT_EQ(b->Left(), Pager->GetTabsArea().Right - 47);
  struct Case {
    Single Scale;
    TGroupStyle Style;
    const char16_t* Name;
  } const cases[] = {{1.0f, gsClassic, u"ATBECUP_BTN"},
                     {1.0f, gsOffice2019, u"ATBECUPF_BTN"},
                     {2.0f, gsClassic, u"ATBECUPHD_BTN"},
                     {2.0f, gsOffice2019, u"ATBECUPHD_BTN"}};
  for (const Case& c : cases) {
    toolbar::ToolBarDPIScale = c.Scale;
    Pager->SetComponentStyle(c.Style == gsClassic ? tsOffice2007Luna : tsOffice2019White);
    ASSERT_EQ(Pager->GroupStyle(), c.Style);
    EXPECT_EQ(Pager->ExpandCollapsPictureName(), String(c.Name));
    Pager->LoadExpandCollapsPicture();
    EXPECT_EQ(b->Picture()->Width(), c.Scale >= 2 ? 32 : 16);
  }
  toolbar::ToolBarDPIScale = 1.0f;
  Pager->SetShowExpandCollapsButton(false);
  EXPECT_EQ(Pager->ExpandCollapsButton(), nullptr);
}

TEST_F(PagerMinimize, EventsTellOfEachChangeOnce) {
  int expands = 0, collapses = 0;
  Pager->OnExpand = [&](TObject* S) {
    EXPECT_EQ(S, Pager);
    ++expands;
  };
  Pager->OnCollaps = [&](TObject* S) {
    EXPECT_EQ(S, Pager);
    ++collapses;
  };
  Pager->Collaps();
  Pager->Collaps();
  Pager->Expand();
  Pager->Expand();
  EXPECT_EQ(collapses, 1);
  EXPECT_EQ(expands, 1);
}

TEST_F(PagerMinimize, FloatingPageSitsUnderTheTabRowThreePixelsLargerThanItsClone) {
  const Integer pageHeight = Page(1)->Height();
  Pager->Collaps();
  Pager->SetActivePageIndex(1);
  Pager->ShowFloatingRibbon();
  TMinimizedRibbonWindow* w = Pager->MinimizedRibbonWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(w->Visible());
  TAdvPage* clone = w->AdvPage();
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->SelfClone(), Page(1));
  const TPoint at = Pager->ClientToScreen(TPoint{Pager->GetPageRect().Left - 2, Pager->GetTabsArea().Bottom});
  EXPECT_EQ(w->Left(), at.X);
  EXPECT_EQ(w->Top(), at.Y);
  EXPECT_EQ(w->Width(), clone->Width() + 3);
  EXPECT_EQ(w->Height(), clone->Height() + 3);
  EXPECT_EQ(clone->Left(), 2);
  EXPECT_EQ(clone->Top(), 0);
  // The clone is as tall as the page is when expanded, as wide as the page.
  EXPECT_EQ(clone->Width(), Page(1)->Width());
  EXPECT_EQ(clone->Height(), pageHeight);
}

TEST_F(PagerMinimize, WithoutAnActivePageNothingFloats) {
  Pager->Collaps();
  auto* lone = new TZadEdevAziPager(Form.get());
  lone->SetParent(Form.get());
  lone->Loaded();
  lone->Collaps();
  lone->ShowFloatingRibbon();
  EXPECT_EQ(lone->MinimizedRibbonWindow(), nullptr);
  EXPECT_TRUE(RibbonWindows().empty());
}

// The hide timer frees the pop-up only after its own event has returned; a
// veto asks again at the slow pace; BlockHide and a window kept open stop it.
TEST_F(PagerMinimize, LosingTheActivationHidesThroughTheTimerAndFreesAfterTheEvent) {
  TVirtualClock clock;
  Pager->Collaps();
  Pager->ShowFloatingRibbon();
  ASSERT_TRUE(Pager->IsFloatingRibbonShowing());
  std::vector<TObject*> senders;
  Pager->OnFloatingRibbonHide = [&](TObject* S, bool&) { senders.push_back(S); };
  TMinimizedRibbonWindow* w = Pager->MinimizedRibbonWindow();
  // The tick run as the timer runs it: the window and its timer outlive
  // their own event, and go once the pending messages are delivered.
  w->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
  TTimer* timer = w->HideTimer();
  ASSERT_TRUE(timer->Enabled());
  timer->OnTimer(timer);
  EXPECT_EQ(RibbonWindows(), (std::vector<TMinimizedRibbonWindow*>{w}));
  EXPECT_FALSE(timer->Enabled());
  EXPECT_FALSE(w->Visible());
  EXPECT_EQ(Pager->MinimizedRibbonWindow(), nullptr);
  PumpPending();
  EXPECT_TRUE(RibbonWindows().empty());
  // Again through the clock, and an Escape asks the same way.
  senders.clear();
  Pager->ShowFloatingRibbon();
  w = Pager->MinimizedRibbonWindow();
  w->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(RibbonWindows(), (std::vector<TMinimizedRibbonWindow*>{w}));
  EXPECT_FALSE(w->Visible());
  PumpPending();
  EXPECT_TRUE(RibbonWindows().empty());
  Pager->ShowFloatingRibbon();
  w = Pager->MinimizedRibbonWindow();
  senders.clear();
  w->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_TRUE(w->HideTimer()->Enabled());
  // The system's shortest timer is 10 ms.
  clock.Advance(10);
  EXPECT_EQ(senders, (std::vector<TObject*>{w}));  // the pop-up asks, not the pager
  EXPECT_EQ(Pager->MinimizedRibbonWindow(), nullptr);
  ExpectSound("after the tick");
  EXPECT_FALSE(Pager->Expanded());
}

TEST_F(PagerMinimize, AVetoedHideAsksAgainAtAPaceNotEveryMillisecond) {
  TVirtualClock clock;
  Pager->Collaps();
  Pager->ShowFloatingRibbon();
  int asked = 0;
  bool allow = false;
  Pager->OnFloatingRibbonHide = [&](TObject*, bool& CanHide) {
    ++asked;
    CanHide = allow;
  };
  Pager->MinimizedRibbonWindow()->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
  clock.Advance(1000);
  PumpPending();
  EXPECT_TRUE(Pager->IsFloatingRibbonShowing());
  EXPECT_GE(asked, 2);
  EXPECT_LE(asked, 1 + 1000 / Integer(TMinimizedRibbonWindow::VetoedHideRetryMs) + 1);
  allow = true;
  clock.Advance(TMinimizedRibbonWindow::VetoedHideRetryMs);
  ExpectSound("allowed at last");
  EXPECT_FALSE(Pager->IsFloatingRibbonShowing());
}

TEST_F(PagerMinimize, BlockHideOrAWindowKeptOpenKeepsThePopupOnDeactivation) {
  TVirtualClock clock;
  struct Case {
    const char* Name;
    bool Block;
    bool KeepOpen;
  } const cases[] = {{"BlockHide", true, false}, {"HideOnDeActivate off", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Pager->Collaps();
    Pager->ShowFloatingRibbon();
    TMinimizedRibbonWindow* w = Pager->MinimizedRibbonWindow();
    Pager->SetBlockHide(c.Block);
    w->SetHideOnDeActivate(!c.KeepOpen);
    EXPECT_FALSE(w->CanHideOnDeactivate());
    w->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
    clock.Advance(50);
    EXPECT_TRUE(Pager->IsFloatingRibbonShowing());
    Pager->SetBlockHide(false);
    Pager->Expand();
    ExpectSound("expanded");
  }
}

// Every way out takes the pop-up away: nothing stays on the screen's list.
TEST_F(PagerMinimize, NoWayOutLeavesThePopupBehind) {
  TVirtualClock clock;
  enum class Way { FocusLoss, Escape, Expand, ClickElsewhere, HideState, DestroyPager, DestroyForm };
  const Way ways[] = {Way::FocusLoss, Way::Escape,       Way::Expand,     Way::ClickElsewhere,
                      Way::HideState, Way::DestroyPager, Way::DestroyForm};
  int n = 0;
  for (Way way : ways) {
    SCOPED_TRACE("way " + std::to_string(n++));
    if (Form == nullptr) break;
    Pager->Collaps();
    Pager->ShowFloatingRibbon();
    ASSERT_EQ(RibbonWindows().size(), 1u);
    switch (way) {
      case Way::FocusLoss: FocusLoss(clock); break;
      case Way::Escape: Escape(); break;
      case Way::Expand: Pager->Expand(); break;
      case Way::ClickElsewhere:
        ClickElsewhere();
        clock.Advance(10);
        break;
      case Way::HideState: Pager->SetHideState(true); break;
      case Way::DestroyPager: delete Pager; break;
      case Way::DestroyForm: Form.reset(); break;
    }
    PumpPending();
    EXPECT_TRUE(RibbonWindows().empty());
    if (way == Way::DestroyPager) {
      // Its pages (and their toolbars) went with it.
      Pager = nullptr;
      break;
    }
    if (Form == nullptr) break;
    if (way == Way::HideState) Pager->SetHideState(false);
    ExpectSound("after");
    if (!Pager->Expanded()) Pager->Expand();
  }
}

TEST_F(PagerMinimize, DestroyingTheFormWhileThePopupAwaitsItsReleaseIsSafe) {
  TVirtualClock clock;
  Pager->Collaps();
  Pager->ShowFloatingRibbon();
  Pager->HideFloatingRibbon();
  // Hidden, its release posted but not yet delivered.
  EXPECT_EQ(RibbonWindows().size(), 1u);
  Form.reset();
  PumpPending();
  EXPECT_TRUE(RibbonWindows().empty());
}

TEST_F(PagerMinimize, AToolBarFreedWhileFloatingLeavesThePageList) {
  Pager->Collaps();
  Pager->ShowFloatingRibbon();
  delete Bars[0];
  EXPECT_EQ(Page(0)->ZadEdevAziCount(), 0);
  Pager->Expand();
  PumpPending();
  EXPECT_TRUE(RibbonWindows().empty());
  EXPECT_EQ(Page(0)->ZadEdevAziCount(), 0);
}

TEST_F(PagerMinimize, ACompactWindowOpenedInThePopupKeepsItAndGoesWithIt) {
  TVirtualClock clock;
  Pager->Collaps();
  Pager->ShowFloatingRibbon();
  TMinimizedRibbonWindow* w = Pager->MinimizedRibbonWindow();
  TZadEdevAzi* tb = Bars[0];
  ASSERT_EQ(tb->Parent(), w->AdvPage());
  tb->ChangeCompact(true);
  ASSERT_NE(tb->CompactButton(), nullptr);
  // The compact window takes the activation; the pop-up stays up for it.
  tb->CompactButton()->Click();
  ASSERT_NE(tb->CompactWindow(), nullptr);
  toolbar::TCompactWindow* cw = tb->CompactWindow();
  EXPECT_TRUE(cw->Visible());
  clock.Advance(20);
  EXPECT_TRUE(Pager->IsFloatingRibbonShowing());
  EXPECT_TRUE(w->HideOnDeActivate());  // given back once the window showed
  // The pop-up going closes the compact window: nothing is left over nothing.
  Pager->Expand();
  PumpPending();
  EXPECT_FALSE(cw->Visible());
  EXPECT_EQ(tb->Parent(), Page(0));
  EXPECT_TRUE(RibbonWindows().empty());
}

// Replayable: RYX_MINIMIZE_SEED=<n> runs one seed; each failure names its seed and step.
TEST_F(PagerMinimize, RandomClicksKeysAndFocusChangesNeverLeaveAPopupBehind) {
  TVirtualClock clock;
  Pager->SetShowExpandCollapsButton(true);
  std::vector<unsigned> seeds;
  if (const char* s = std::getenv("RYX_MINIMIZE_SEED"))
    seeds.push_back(unsigned(std::strtoul(s, nullptr, 10)));
  else
    for (unsigned k = 1; k <= 8; ++k) seeds.push_back(k * 7919u);
  // The sequences must really reach the floating page, or they prove little.
  int floatingSteps = 0;
  for (unsigned seed : seeds) {
    std::mt19937 rng(seed);
    Pager->Expand();
    PumpPending();
    for (int step = 0; step < 60; ++step) {
      const unsigned action = rng() % 9;
      const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step) + " action " +
                                std::to_string(action);
      switch (action) {
        case 0:
        case 1: testinput::Click(Pager, TabCentre(int(rng() % 3))); break;
        case 2: Escape(); break;
        case 3: FocusLoss(clock); break;
        case 4:
          // What Ctrl+F1 does.
          if (Pager->Expanded())
            Pager->Collaps();
          else
            Pager->Expand();
          break;
        case 5: {
          const TPoint p = TabCentre(int(rng() % 3));
          testinput::Click(Pager, p);
          testinput::MouseMove(Pager, p);
          testinput::MouseDoubleClick();
          testinput::MouseUp();
          break;
        }
        case 6:
          ClickButton();
          ClickButton();
          break;
        case 7: ClickElsewhere(); break;
        case 8: clock.Advance(rng() % 700); break;
      }
      ExpectSound(where);
      if (HasFatalFailure() || HasNonfatalFailure()) return;
      if (Pager->IsFloatingRibbonShowing()) ++floatingSteps;
    }
  }
  EXPECT_GT(floatingSteps, 10);
}

// ---------------------------------------------------------------------------
// The toolbar below the ribbon

class QATPlace : public PagerFixture, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    RForm = std::make_unique<TZadEdevAziForm>(nullptr, 0);
    RForm->AfterConstruction();
    RForm->SetBounds(0, 0, 800, 300);
    P = new TZadEdevAziPager(RForm.get());
    P->SetParent(RForm.get());
    P->AddAdvPage(u"One");
    P->AddAdvPage(u"Two");
    P->Loaded();
    P->SetActivePageIndex(0);
    if (GetParam() != 96) P->ChangeScale(GetParam(), 96, true);
    Q = new TAdvQuickAccessToolBar(RForm.get());
    Q->SetParent(P);
    RForm->Show();
    PumpPending();
    Q->UpdateSize();
  }
  void TearDown() override {
    RForm.reset();
    PagerFixture::TearDown();
  }
  Integer Scaled(Integer V) const { return Integer(V * GetParam() / 96); }
  std::unique_ptr<TZadEdevAziForm> RForm;
  TZadEdevAziPager* P = nullptr;
  TAdvQuickAccessToolBar* Q = nullptr;
};

TEST_P(QATPlace, AboveAndBelowRectangles) {
  const Integer cap = Scaled(26), q = cap - 2, w = P->Width();
  EXPECT_EQ(P->GetQATHeight(), q);
  // In the caption row, from the tab margin less 6, keeping free on the
  // right the caption's minimum width and the caption buttons with 2 more.
  const TRect buttons = P->GetCaptionButtonsRect();
  ASSERT_GT(buttons.Left, 0);
  const TRect above{Scaled(60) - 6, cap - q, w - 100 - (w - buttons.Left + 2), cap};
  EXPECT_EQ(P->GetQATRect(), above);
  EXPECT_EQ(Q->Top(), above.Top);
  EXPECT_EQ(Q->Left(), above.Left);
  EXPECT_EQ(Q->Height(), q);
  EXPECT_FALSE(P->ShowQATBelow());

  const Integer h = P->Height();
  P->SetShowQATBelow(true);
  EXPECT_TRUE(P->ShowQATBelow());
  EXPECT_EQ(P->Height(), h + q);
  const TRect below{2, P->Height() - q, w - 2, P->Height()};
  EXPECT_EQ(P->GetQATRect(), below);
  EXPECT_EQ(Q->BoundsRect(), below);
  // The page area ends above the strip.
  EXPECT_LE(P->GetPageRect().Bottom, below.Top);

  P->SetShowQATBelow(false);
  EXPECT_EQ(P->Height(), h);
  EXPECT_EQ(P->GetQATRect(), above);
  // Without caption buttons only the caption's minimum width stays free.
  P->SetCaptionButtons({});
  EXPECT_EQ(P->GetQATRect(), (TRect{above.Left, above.Top, w - 100, cap}));
}

TEST_P(QATPlace, MinimisedWithTheToolbarBelowKeepsTheStrip) {
  const Integer q = P->GetQATHeight();
  P->SetShowQATBelow(true);
  const Integer full = P->Height();
  P->Collaps();
  EXPECT_EQ(P->Height(), P->GetTabsArea().Bottom + q);
  EXPECT_EQ(P->ExpandedHeight(), full - q);
  EXPECT_EQ(Q->Top(), P->Height() - q);
  P->Expand();
  EXPECT_EQ(P->Height(), full);
}

TEST_P(QATPlace, HidingAndShowingTheToolbarBelowGivesItsRoomBackOnce) {
  const Integer q = P->GetQATHeight();
  P->SetShowQATBelow(true);
  const Integer full = P->Height();
  Q->SetVisible(false);
  EXPECT_EQ(P->Height(), full - q);
  Q->SetVisible(false);
  EXPECT_EQ(P->Height(), full - q);
  Q->SetVisible(true);
  EXPECT_EQ(P->Height(), full);
}

TEST_P(QATPlace, TheFormsHideStateKeepsOnlyTheCaptionAndRestoresAll) {
  const Integer full = P->Height();
  RForm->SetBounds(0, 0, 250, 300);
  EXPECT_TRUE(P->HideState());
  EXPECT_EQ(P->Height(), P->Caption()->Height());
  EXPECT_FALSE(Q->Visible());
  RForm->SetBounds(0, 0, 800, 300);
  EXPECT_FALSE(P->HideState());
  EXPECT_EQ(P->Height(), full);
  EXPECT_TRUE(Q->Visible());
}

INSTANTIATE_TEST_SUITE_P(Resolutions, QATPlace, ::testing::Values(96, 144));

TEST_F(PagerMinimize, WithoutAToolbarThereIsNoPlace) {
  EXPECT_EQ(Pager->GetQATRect(), (TRect{-1, -1, -1, -1}));
  EXPECT_EQ(Pager->GetQATRect(true), (TRect{-1, -1, -1, -1}));
  EXPECT_FALSE(Pager->ShowQATBelow());
  Pager->SetShowQATBelow(true);
  EXPECT_FALSE(Pager->ShowQATBelow());
  EXPECT_EQ(Pager->Height(), ExpandedHeight);
}

// ---------------------------------------------------------------------------
// Saved state

class PagerState : public PagerMinimize {
 protected:
  void SetUp() override {
    PagerMinimize::SetUp();
    char dir[] = "/tmp/ryx-pager-state-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    Dir = dir;
    Path = Dir + "/state.ini";
  }
  void TearDown() override {
    PagerMinimize::TearDown();
    std::remove(Path.c_str());
    rmdir(Dir.c_str());
  }
  void Use(TZadEdevAziPager* P, toolbar::TPersistenceLocation Where = toolbar::plIniFile) {
    toolbar::TPersistence* ps = P->Persistence();
    ps->SetLocation(Where);
    ps->SetKey(Where == toolbar::plIniFile ? String(Path.begin(), Path.end()) : u"Software\\RyxTest\\Pager" + RegistryKey);
    ps->SetSection(u"Ribbon");
    ps->SetEnabled(true);
  }
  // A fresh pager with a toolbar, loaded with the stored state.
  TZadEdevAziPager* Fresh(toolbar::TPersistenceLocation Where = toolbar::plIniFile) {
    auto* p = new TZadEdevAziPager(Form.get());
    p->SetParent(Form.get());
    p->AddAdvPage(u"A");
    p->SetActivePageIndex(0);
    auto* q = new TAdvQuickAccessToolBar(Form.get());
    q->SetParent(p);
    Use(p, Where);
    p->Loaded();
    return p;
  }
  std::string Dir, Path;
  String RegistryKey;
};

TEST_F(PagerState, RoundTripThroughTheLayoutStore) {
  struct Case {
    bool Minimized, Below;
    toolbar::TPersistenceLocation Where;
  } const cases[] = {{true, true, toolbar::plIniFile},   {true, false, toolbar::plIniFile},
                     {false, true, toolbar::plIniFile},  {false, false, toolbar::plIniFile},
                     {true, true, toolbar::plRegistry},  {false, true, toolbar::plRegistry}};
  TTempHome home;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Minimized) + std::to_string(c.Below) + std::to_string(int(c.Where)));
    std::remove(Path.c_str());
    RegistryKey = IntToStr(Integer(&c - cases));
    TZadEdevAziPager* a = Fresh(c.Where);
    a->SetShowQATBelow(c.Below);
    if (c.Minimized) a->Collaps();
    delete a;  // saves
    if (c.Where == toolbar::plIniFile) {
      TMemIniFile ini(String(Path.begin(), Path.end()));
      EXPECT_EQ(ini.ReadString(u"Ribbon", u"Minimized", u""), c.Minimized ? u"1" : u"0");
      EXPECT_EQ(ini.ReadString(u"Ribbon", u"ShowQATBelow", u""), c.Below ? u"1" : u"0");
    }
    TZadEdevAziPager* b = Fresh(c.Where);
    EXPECT_EQ(b->Expanded(), !c.Minimized);
    EXPECT_EQ(b->ShowQATBelow(), c.Below);
    b->Persistence()->SetEnabled(false);
    delete b;
  }
}

// The form frees its components in its own order: the toolbar may go
// before the pager saves.
TEST_F(PagerState, ClosingTheFormSavesWhatTheUserLeft) {
  for (bool below : {true, false}) {
    SCOPED_TRACE(below);
    std::remove(Path.c_str());
    auto form = std::make_unique<TForm>(nullptr);
    form->AfterConstruction();
    form->SetBounds(0, 0, 600, 300);
    auto* p = new TZadEdevAziPager(form.get());
    p->SetParent(form.get());
    p->AddAdvPage(u"A");
    p->SetActivePageIndex(0);
    auto* q = new TAdvQuickAccessToolBar(form.get());
    q->SetParent(p);
    Use(p);
    p->Loaded();
    p->SetShowQATBelow(below);
    p->Collaps();
    form->Show();
    PumpPending();
    form.reset();
    PumpPending();
    TMemIniFile ini(String(Path.begin(), Path.end()));
    EXPECT_EQ(ini.ReadString(u"Ribbon", u"Minimized", u""), u"1");
    EXPECT_EQ(ini.ReadString(u"Ribbon", u"ShowQATBelow", u""), below ? u"1" : u"0");
  }
}

TEST_F(PagerState, StoredValuesAreCheckedBeforeUse) {
  struct Case {
    const char* Text;
    bool Minimized;
  } const cases[] = {{"1", true},   {"0", false},           {"2", false}, {"-1", false},
                     {"abc", false}, {"99999999999", false}, {"", false},  {"1e0", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    std::ofstream(Path, std::ios::trunc) << "[Ribbon]\nMinimized=" << c.Text << "\nShowQATBelow=" << c.Text << "\n";
    TZadEdevAziPager* p = Fresh();
    EXPECT_EQ(!p->Expanded(), c.Minimized);
    EXPECT_EQ(p->ShowQATBelow(), c.Minimized);
    p->Persistence()->SetEnabled(false);
    delete p;
  }
}

TEST_F(PagerState, EmptyKeyOrSectionOrDisabledDoesNothing) {
  std::ofstream(Path, std::ios::trunc) << "[Ribbon]\nMinimized=1\n";
  for (int k = 0; k < 3; ++k) {
    auto* p = new TZadEdevAziPager(Form.get());
    p->SetParent(Form.get());
    p->AddAdvPage(u"A");
    Use(p);
    if (k == 0) p->Persistence()->SetKey(u"");
    if (k == 1) p->Persistence()->SetSection(u"");
    if (k == 2) p->Persistence()->SetEnabled(false);
    p->Loaded();
    EXPECT_TRUE(p->Expanded()) << k;
    p->Collaps();
    delete p;
  }
  TMemIniFile ini(String(Path.begin(), Path.end()));
  EXPECT_EQ(ini.ReadString(u"Ribbon", u"Minimized", u""), u"1");
  EXPECT_EQ(ini.ReadString(u"Ribbon", u"ShowQATBelow", u""), u"");
}

}  // namespace
}  // namespace ribbon
