// The ribbon from the keyboard over real pages, toolbars and glow buttons:
// Alt key tips down to every command, arrows between the groups, the hover
// fade, button rows, and the parent form's window procedure.
#include <map>
#include <vector>

#include "controls/AdvGlowButton.h"
#include "platform/testing/VirtualClock.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Window.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "tests/ribbon/PagerFixture.h"

namespace ribbon {
namespace {

using toolbar::TZadEdevAzi;

struct TButtonSpec {
  const char16_t* Name;
  const char16_t* Tip;
  bool Enabled = true;
};
struct TToolBarSpec {
  const char16_t* Name;
  std::vector<TButtonSpec> Buttons;
};
struct TPageSpec {
  const char16_t* Caption;
  const char16_t* Tip;
  std::vector<TToolBarSpec> ToolBars;
};

class PagerKeys : public PagerFixture {
 protected:
  void SetUp() override {
    PagerFixture::SetUp();
    Clock = std::make_unique<TVirtualClock>();
    Edit = new TEdit(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(10, 170, 100, 20);
  }
  void TearDown() override {
    PagerFixture::TearDown();
    Clock.reset();
  }
  // Builds the ribbon, loads it, shows the form and focuses the edit.
  void Build(const std::vector<TPageSpec>& Pages) {
    for (const TPageSpec& ps : Pages) {
      const Integer i = Pager->AddAdvPage(String(ps.Caption));
      TAdvPage* page = Page(i);
      page->SetShortCutHint(ps.Tip);
      for (const TToolBarSpec& ts : ps.ToolBars) {
        TZadEdevAzi* tb = page->CreateZadEdevAzi();
        tb->SetName(ts.Name);
        tb->SetCaption(ts.Name);
        Integer x = 2;
        for (const TButtonSpec& bs : ts.Buttons) {
          auto* b = new TAdvGlowButton(Form.get());
          b->SetName(bs.Name);
          b->SetCaption(bs.Name);
          b->SetShortCutHint(bs.Tip);
          b->SetBounds(x, 2, 40, 22);
          b->SetEnabled(bs.Enabled);
          x += 42;
          const String name = bs.Name;
          b->OnClick = [this, name](TObject*) { ++Clicks[name]; };
          tb->AddToolBarControl(b);
          Buttons[name] = b;
        }
        tb->SetAutoSize(true);
        tb->Loaded();
        ToolBars.push_back(tb);
      }
      page->ArrangeToolBars();
    }
    Pager->Loaded();
    Pager->SetActivePageIndex(0);
    Form->Show();
    PumpPending();
    Edit->SetFocus();
    PumpPending();
  }
  // Alt pressed and released alone; the key-tip timer runs on.
  void TapAlt() {
    testinput::KeyDown(VK_MENU, TShiftState{ssAlt});
    testinput::KeyUp(VK_MENU);
    Clock->Advance(TKeyTips::TimerInterval);
    PumpPending();
  }
  void Type(const String& Tip) {
    for (Char c : Tip) {
      testinput::KeyPress(Word(c));
      PumpPending();
    }
  }
  int ClicksOf(const char16_t* Name) { return Clicks[Name]; }

  std::unique_ptr<TVirtualClock> Clock;
  TEdit* Edit = nullptr;
  std::map<String, TAdvGlowButton*> Buttons;
  std::map<String, int> Clicks;
  std::vector<TZadEdevAzi*> ToolBars;
};

const std::vector<TPageSpec>& SampleRibbon() {
  static const std::vector<TPageSpec> pages = {
      {u"Home", u"H",
       {{u"Clipboard", {{u"Paste", u"V"}, {u"Cut", u"X"}, {u"Copy", u"C"}}},
        {u"Font", {{u"Bold", u"1"}, {u"Italic", u"2"}, {u"FontFace", u"FF"}, {u"FontSize", u"FS"}}}}},
      {u"Insert", u"N",
       {{u"Tables", {{u"Table", u"T"}, {u"Picture", u"P"}, {u"Dead", u"D", false}}},
        // Two buttons wanting one tip: both become reachable.
        {u"Links", {{u"Link", u"K"}, {u"Bookmark", u"K"}}}}},
      // A tab tip that a second tab's tip starts: both tabs stay reachable.
      {u"View", u"W", {{u"Zoom", {{u"ZoomIn", u"ZI"}, {u"ZoomOut", u"ZO"}}}}},
      {u"Review", u"WR", {{u"Proof", {{u"Spelling", u"S"}}}}},
  };
  return pages;
}

TEST_F(PagerKeys, AltShowsTabTipsAndEveryCommandIsReachable) {
  Build(SampleRibbon());
  int runs = 0;
  for (Integer p = 0; p < Pager->AdvPageCount(); ++p) {
    TAdvPage* page = Page(p);
    for (Integer t = 0; t < page->ZadEdevAziCount(); ++t) {
      TZadEdevAzi* tb = page->GetZadEdevAzis(t);
      for (Integer c = 0; c < tb->ToolBarControlCount(); ++c) {
        auto* b = dynamic_cast<TAdvGlowButton*>(tb->GetToolBarControls(c));
        ASSERT_NE(b, nullptr);
        SCOPED_TRACE(std::string(b->Name().begin(), b->Name().end()));
        Edit->SetFocus();
        TapAlt();
        ASSERT_TRUE(Pager->TabShortCutHintShowing());
        ASSERT_TRUE(Pager->Focused());
        const String tabTip = Pager->KeyTips().Tips()[std::size_t(p)];
        ASSERT_FALSE(tabTip.empty());
        ASSERT_NE(page->ShortCutHintWindow(), nullptr);
        EXPECT_TRUE(page->ShortCutHintWindow()->Visible());
        Type(tabTip);
        EXPECT_EQ(Pager->ActivePageIndex(), p);
        ASSERT_EQ(Pager->KeyTips().Level(), TKeyTipLevel::ToolBars);
        EXPECT_TRUE(page->ToolBarShortCutShowing());
        const String tip = Pager->ShownKeyTip(b);
        if (!b->Enabled()) {
          // A disabled button has no tip to type and is never run.
          EXPECT_TRUE(tip.empty());
          Pager->HideShortCutHint();
          continue;
        }
        ASSERT_FALSE(tip.empty());
        ASSERT_NE(b->ShortCutHintWindow(), nullptr);
        EXPECT_TRUE(b->ShortCutHintWindow()->Visible());
        EXPECT_EQ(b->ShortCutHintWindow()->Caption(), tip);
        const int before = Clicks[b->Name()];
        Type(tip);
        EXPECT_EQ(Clicks[b->Name()], before + 1);
        EXPECT_EQ(Pager->KeyTips().State(), TKeyTipState::Idle);
        EXPECT_FALSE(b->ShortCutHintWindow()->Visible());
        // The focus went back where Alt found it.
        EXPECT_TRUE(Edit->Focused());
        ++runs;
      }
    }
  }
  EXPECT_EQ(runs, 14);
  for (const auto& [name, count] : Clicks) EXPECT_LE(count, 1) << std::string(name.begin(), name.end());
  EXPECT_EQ(ClicksOf(u"Dead"), 0);
}

// A minimised ribbon: the tab's letter floats its page, and the buttons'
// tips in the floating ribbon run them.
TEST_F(PagerKeys, TipsReachTheButtonsOfTheFloatingRibbon) {
  Build(SampleRibbon());
  Pager->Collaps();
  PumpPending();
  ASSERT_FALSE(Pager->Expanded());
  ASSERT_FALSE(Pager->IsFloatingRibbonShowing());
  for (const char16_t* name : {u"Table", u"Link"}) {
    const String n = name;
    SCOPED_TRACE(std::string(n.begin(), n.end()));
    Edit->SetFocus();
    TapAlt();
    ASSERT_TRUE(Pager->TabShortCutHintShowing());
    Type(Pager->KeyTips().Tips()[1]);  // Insert
    EXPECT_EQ(Pager->ActivePageIndex(), 1);
    ASSERT_TRUE(Pager->IsFloatingRibbonShowing());
    ASSERT_EQ(Pager->KeyTips().Level(), TKeyTipLevel::ToolBars);
    TAdvGlowButton* b = Buttons[name];
    const String tip = Pager->ShownKeyTip(b);
    ASSERT_FALSE(tip.empty());
    ASSERT_NE(b->ShortCutHintWindow(), nullptr);
    EXPECT_TRUE(b->ShortCutHintWindow()->Visible());
    Type(tip);
    EXPECT_EQ(ClicksOf(name), 1);
    EXPECT_EQ(Pager->KeyTips().State(), TKeyTipState::Idle);
    Pager->HideFloatingRibbon();
    PumpPending();
  }
  EXPECT_FALSE(Pager->Expanded());
}

// The quick-access toolbar's tips show and go with the tabs' and run their
// buttons; the focus returns where Alt found it.
TEST_F(PagerKeys, QuickAccessToolBarTipsJoinTheTabLevel) {
  auto* qat = new TAdvQuickAccessToolBar(Form.get());
  qat->SetParent(Pager);
  std::map<String, int> runs;
  std::map<String, TAdvGlowButton*> qb;
  for (const char16_t* tip : {u"1", u"2"}) {
    auto* b = new TAdvGlowButton(Form.get());
    b->SetBounds(0, 0, 22, 20);
    b->SetShortCutHint(tip);
    const String t = tip;
    b->OnClick = [&runs, t](TObject*) { ++runs[t]; };
    qat->AddToolBarControl(b);
    qb[t] = b;
  }
  Build(SampleRibbon());
  ASSERT_EQ(Pager->QuickAccessToolBar(), qat);
  struct Case {
    const char16_t* Typed;
    const char16_t* Runs;  // "" none
  };
  const Case cases[] = {{u"1", u"1"}, {u"2", u"2"}, {u"Z", u""}};
  for (const Case& c : cases) {
    const String typed = c.Typed;
    SCOPED_TRACE(std::string(typed.begin(), typed.end()));
    runs.clear();
    Edit->SetFocus();
    TapAlt();
    ASSERT_TRUE(Pager->TabShortCutHintShowing());
    for (auto& [t, b] : qb) {
      ASSERT_NE(b->ShortCutHintWindow(), nullptr) << std::string(t.begin(), t.end());
      EXPECT_TRUE(b->ShortCutHintWindow()->Visible());
    }
    Type(typed);
    const String expected = c.Runs;
    EXPECT_EQ(runs.size(), expected.empty() ? 0u : 1u);
    if (!expected.empty()) {
      EXPECT_EQ(runs[expected], 1);
    }
    EXPECT_FALSE(Pager->TabShortCutHintShowing());
    EXPECT_EQ(Pager->KeyTips().State(), TKeyTipState::Idle);
    for (auto& [t, b] : qb) EXPECT_FALSE(b->ShortCutHintWindow()->Visible());
    EXPECT_EQ(Pager->ActivePageIndex(), 0) << "no tab took the key";
    if (!expected.empty()) {
      EXPECT_TRUE(Edit->Focused());
    }
  }
}

TEST_F(PagerKeys, CompactGroupOpensItsButtonsAsTheNextLevel) {
  Build(SampleRibbon());
  TZadEdevAzi* font = ToolBars[1];
  font->SetCompactCaption(u"Font");
  font->SetCompactShortCutHint(u"F");
  font->SetCompact(true);
  ASSERT_TRUE(font->IsCompact());
  ASSERT_NE(font->SelfClone(), nullptr);
  TapAlt();
  Type(u"H");
  ASSERT_EQ(Pager->KeyTips().Level(), TKeyTipLevel::ToolBars);
  // The compact button's tip "F" and the tips "FF" and "FS" now inside the
  // clone are on different levels: no clash.
  EXPECT_EQ(Pager->ShownKeyTip(font->CompactButton()), u"F");
  Type(u"F");
  ASSERT_EQ(Pager->KeyTips().Level(), TKeyTipLevel::Buttons);
  EXPECT_TRUE(font->SelfClone()->CompactShortCutHintShowing());
  EXPECT_EQ(Pager->ShownKeyTip(Buttons[u"Italic"]), u"2");
  // Escape goes back to the page's toolbars.
  testinput::KeyPress(VK_ESCAPE);
  PumpPending();
  ASSERT_EQ(Pager->KeyTips().Level(), TKeyTipLevel::ToolBars);
  Type(u"F");
  ASSERT_EQ(Pager->KeyTips().Level(), TKeyTipLevel::Buttons);
  Type(u"FS");
  EXPECT_EQ(ClicksOf(u"FontSize"), 1);
  EXPECT_EQ(Pager->KeyTips().State(), TKeyTipState::Idle);
}

TEST_F(PagerKeys, ClosedCompactWindowOpensTheCompactButtonUnderThePointer) {
  Build(SampleRibbon());
  TZadEdevAzi* clip = ToolBars[0];
  TZadEdevAzi* font = ToolBars[1];
  for (TZadEdevAzi* tb : {clip, font}) {
    tb->SetCompactCaption(tb->Caption());
    tb->SetCompact(true);
    ASSERT_TRUE(tb->IsCompact());
  }
  PumpPending();
  auto over = [](TAdvGlowButton* b) {
    testinput::MouseMove(b, TPoint{b->Width() / 2, b->Height() / 2});
    PumpPending();
  };
  // The pointer on the button whose window just closed: nothing opens.
  over(clip->CompactButton());
  Pager->SetLastDroppedCompactBtn(clip->CompactButton());
  Pager->DropDownCompactButtonAtCursor();
  PumpPending();
  EXPECT_TRUE(clip->CompactWindow() == nullptr || !clip->CompactWindow()->Visible());
  // On the next compact button: that one opens.
  over(font->CompactButton());
  Pager->DropDownCompactButtonAtCursor();
  PumpPending();
  ASSERT_NE(font->CompactWindow(), nullptr);
  EXPECT_TRUE(font->CompactWindow()->Visible());
}

TEST_F(PagerKeys, TwoLetterTipsAndKeysThatMatchNothing) {
  Build(SampleRibbon());
  TapAlt();
  Type(u"H");
  ASSERT_EQ(Pager->KeyTips().Level(), TKeyTipLevel::ToolBars);
  // The first letter of a two-letter tip: only the tips starting with it stay.
  Type(u"F");
  EXPECT_EQ(Pager->KeyTips().State(), TKeyTipState::Showing);
  EXPECT_TRUE(Buttons[u"FontFace"]->ShortCutHintWindow()->Visible());
  EXPECT_TRUE(Buttons[u"FontSize"]->ShortCutHintWindow()->Visible());
  EXPECT_FALSE(Buttons[u"Paste"]->ShortCutHintWindow()->Visible());
  Type(u"S");
  EXPECT_EQ(ClicksOf(u"FontSize"), 1);
  EXPECT_EQ(ClicksOf(u"FontFace"), 0);

  // A letter that begins no tip ends key-tip mode: nothing half open.
  TapAlt();
  Type(u"H");
  Type(u"Q");
  EXPECT_EQ(Pager->KeyTips().State(), TKeyTipState::Idle);
  for (auto& [name, b] : Buttons)
    if (b->ShortCutHintWindow() != nullptr) {
      EXPECT_FALSE(b->ShortCutHintWindow()->Visible());
    }
  // At the tabs too.
  TapAlt();
  Type(u"Q");
  EXPECT_FALSE(Pager->TabShortCutHintShowing());
  EXPECT_EQ(Pager->KeyTips().State(), TKeyTipState::Idle);
  for (Integer i = 0; i < Pager->AdvPageCount(); ++i) EXPECT_EQ(Page(i)->ShortCutHintWindow(), nullptr);
}

TEST_F(PagerKeys, FunctionKeysAndKeypadOperatorsTypeNoLettersOnToolBars) {
  // The tips "P" and "J": F1 and the keypad's multiply key must not run them.
  Build({{u"Home", u"H", {{u"Bar", {{u"Print", u"P"}, {u"Jump", u"J"}, {u"Five", u"5"}}}}}});
  for (Word key : {Word(VK_F1), Word(VK_MULTIPLY)}) {
    TapAlt();
    Type(u"H");
    ASSERT_EQ(Pager->KeyTips().Level(), TKeyTipLevel::ToolBars);
    testinput::KeyPress(key);
    PumpPending();
    EXPECT_EQ(ClicksOf(u"Print"), 0);
    EXPECT_EQ(ClicksOf(u"Jump"), 0);
    EXPECT_EQ(Pager->KeyTips().State(), TKeyTipState::Idle);
  }
  // Keypad digits type digits on the toolbars as on the tabs.
  TapAlt();
  Type(u"H");
  testinput::KeyPress(VK_NUMPAD0 + 5);
  PumpPending();
  EXPECT_EQ(ClicksOf(u"Five"), 1);
}

TEST_F(PagerKeys, EscapeGoesBackOneLevelAndSecondAltLeaves) {
  Build(SampleRibbon());
  TapAlt();
  Type(u"N");
  ASSERT_EQ(Pager->KeyTips().Level(), TKeyTipLevel::ToolBars);
  testinput::KeyPress(VK_ESCAPE);
  PumpPending();
  EXPECT_TRUE(Pager->TabShortCutHintShowing());
  EXPECT_TRUE(Pager->Focused());
  EXPECT_FALSE(Page(1)->ToolBarShortCutShowing());
  testinput::KeyPress(VK_ESCAPE);
  PumpPending();
  EXPECT_EQ(Pager->KeyTips().State(), TKeyTipState::Idle);
  // A second Alt while the tips show leaves key-tip mode.
  TapAlt();
  ASSERT_TRUE(Pager->TabShortCutHintShowing());
  testinput::KeyDown(VK_MENU, TShiftState{ssAlt});
  PumpPending();
  EXPECT_FALSE(Pager->TabShortCutHintShowing());
  testinput::KeyUp(VK_MENU);
}

TEST_F(PagerKeys, AltCombinationAndHeldAlt) {
  Build(SampleRibbon());
  // Alt+letter (an accelerator) shows no tips.
  testinput::KeyDown(VK_MENU, TShiftState{ssAlt});
  testinput::KeyPress('I', TShiftState{ssAlt});
  testinput::KeyUp(VK_MENU);
  Clock->Advance(TKeyTips::TimerInterval * 2);
  PumpPending();
  EXPECT_FALSE(Pager->TabShortCutHintShowing());
  // The accelerator of a tab caption ("&") activates it.
  Page(2)->SetCaption(u"&View");
  testinput::KeyDown(VK_MENU, TShiftState{ssAlt});
  testinput::KeyPress('V', TShiftState{ssAlt});
  testinput::KeyUp(VK_MENU);
  PumpPending();
  EXPECT_EQ(Pager->ActivePageIndex(), 2);
  // Alt held: the tips show at the hold delay while it is still down.
  Edit->SetFocus();
  testinput::KeyDown(VK_MENU, TShiftState{ssAlt});
  Clock->Advance(TKeyTips::HoldDelay - TKeyTips::TimerInterval);
  EXPECT_FALSE(Pager->TabShortCutHintShowing());
  Clock->Advance(TKeyTips::TimerInterval);
  EXPECT_TRUE(Pager->TabShortCutHintShowing());
  testinput::KeyUp(VK_MENU);
}

TEST_F(PagerKeys, RememberedFocusIsCheckedBeforeItReturns) {
  Build(SampleRibbon());
  struct TCase {
    const char* Name;
    std::function<void(TEdit*)> Spoil;
  };
  const TCase cases[] = {
      {"disabled", [](TEdit* e) { e->SetEnabled(false); }},
      {"hidden", [](TEdit* e) { e->SetVisible(false); }},
      {"freed", [](TEdit* e) { delete e; }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* e = new TEdit(Form.get());
    e->SetParent(Form.get());
    e->SetBounds(200, 170, 80, 20);
    e->SetFocus();
    TapAlt();
    Type(u"H");
    c.Spoil(e);
    Type(u"V");
    // The button ran; the focus stays where the run left it.
    HWND f = GetFocus();
    EXPECT_NE(f, nullptr);
    if (std::string(c.Name) != "freed") {
      EXPECT_FALSE(e->Focused());
      delete e;
    }
  }
  EXPECT_EQ(ClicksOf(u"Paste"), 3);
}

TEST_F(PagerKeys, ArrowsMoveBetweenGroupsAndBackToTabs) {
  Build({{u"Home", u"H", {{u"A", {{u"A1", u"1"}, {u"A2", u"2"}}}, {u"B", {{u"B1", u"3"}, {u"B2", u"4"}}}}}});
  struct TStep {
    Word Key;
    TShiftState Shift;
    const char16_t* Focused;  // nullptr: the pager
  };
  const TStep steps[] = {
      {VK_RIGHT, {}, u"A2"}, {VK_RIGHT, {}, u"B1"}, {VK_RIGHT, {}, u"B2"},
      // The last control of the last group wraps round to the first group.
      {VK_RIGHT, {}, u"A1"},
      // The first of the first wraps to the last focusable of the last.
      {VK_LEFT, {}, u"B2"}, {VK_LEFT, {}, u"B1"}, {VK_LEFT, {}, u"A2"},
      // With a shift key held the arrows do not move.
      {VK_LEFT, TShiftState{ssShift}, u"A2"}, {VK_RIGHT, TShiftState{ssCtrl}, u"A2"},
      {VK_UP, {}, nullptr},
  };
  Buttons[u"A1"]->SetFocus();
  ASSERT_TRUE(Buttons[u"A1"]->Focused());
  for (const TStep& s : steps) {
    SCOPED_TRACE(s.Key);
    testinput::KeyPress(s.Key, s.Shift);
    PumpPending();
    if (s.Focused == nullptr) {
      EXPECT_TRUE(Pager->Focused());
      EXPECT_TRUE(Pager->ChangeByKeyPress());
    } else {
      EXPECT_TRUE(Buttons[s.Focused]->Focused());
    }
  }
  // Down from the tabs: the first toolbar (its first button) takes the focus.
  testinput::KeyPress(VK_DOWN);
  PumpPending();
  EXPECT_TRUE(Buttons[u"A1"]->Focused());
  testinput::KeyPress(VK_ESCAPE);
  PumpPending();
  EXPECT_TRUE(Pager->Focused());
}

TEST_F(PagerKeys, HoverFadeStepsWithTheClock) {
  Build(SampleRibbon());
  TZadEdevAzi* tb = ToolBars[0];
  const Integer speed = GlowSpeed;
  ASSERT_GT(speed, 0);
  toolbar::TCustomZadEdevAziStyler* st = tb->CurrentToolBarStyler();
  ASSERT_NE(st, nullptr);
  auto fade = [&](UINT Msg) {
    tb->Perform(Msg, 0, 0);
    std::vector<Integer> steps;
    for (int i = 0; i < 10 && tb->HoverTimerRunning(); ++i) {
      Clock->Advance(Cardinal(speed));
      steps.push_back(tb->HoverStep());
    }
    return steps;
  };
  st->ColorHot()->SetColor(clYellow);
  EXPECT_EQ(fade(CM_MOUSEENTER), (std::vector<Integer>{20, 40, 60, 80, 100, 100}));
  EXPECT_FALSE(tb->HoverTimerRunning());
  EXPECT_EQ(tb->HoverGlowState(), gsHover);
  EXPECT_EQ(fade(CM_MOUSELEAVE), (std::vector<Integer>{80, 60, 40, 20, 0, 0}));
  EXPECT_EQ(tb->HoverGlowState(), gsNone);
  // Again: the stopped timer serves the next fade.
  EXPECT_EQ(fade(CM_MOUSEENTER).front(), 20);
  fade(CM_MOUSELEAVE);
  // Without a hot colour there is nothing to fade: the first tick ends it.
  st->ColorHot()->SetColor(clNone);
  EXPECT_EQ(fade(CM_MOUSEENTER), (std::vector<Integer>{20}));
  EXPECT_FALSE(tb->HoverTimerRunning());
}

TEST_F(PagerKeys, ButtonRowsPlaceSmallButtonsTips) {
  struct TCase {
    const char* Name;
    std::vector<Integer> Tops;  // small buttons (22 high)
    std::array<Integer, 3> Rows;
    std::vector<::TShortCutHintPos> Pos;
  };
  const TCase cases[] = {
      {"two rows", {2, 2, 26, 27}, {2, 26, -100}, {::shpAboveTopLeft, ::shpAboveTopLeft, ::shpBelowBottomLeft, ::shpBelowBottomLeft}},
      {"three rows", {2, 26, 50}, {2, 26, 50}, {::shpTopLeft, ::shpLeft, ::shpBottomLeft}},
      // Rows met out of order: the first two are swapped once.
      {"second above first", {26, 2}, {2, 26, -100}, {::shpBelowBottomLeft, ::shpAboveTopLeft}},
      {"one row", {5, 8}, {5, -100, -100}, {::shpAboveTopLeft, ::shpAboveTopLeft}},
  };
  Build({{u"Home", u"H", {}}});
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TZadEdevAzi* tb = Page(0)->CreateZadEdevAzi();
    tb->SetAutoPositionControls(false);
    tb->SetBounds(tb->Left(), tb->Top(), 300, 90);
    std::vector<TAdvGlowButton*> bs;
    Integer x = 2;
    for (Integer top : c.Tops) {
      auto* b = new TAdvGlowButton(Form.get());
      tb->AddToolBarControl(b);
      b->SetBounds(x, top, 40, 22);
      x += 44;
      bs.push_back(b);
    }
    tb->Loaded();
    for (std::size_t i = 0; i < bs.size(); ++i) bs[i]->SetBounds(bs[i]->Left(), c.Tops[i], 40, 22);
    tb->Loaded();
    EXPECT_EQ(tb->ButtonRows(), c.Rows);
    for (std::size_t i = 0; i < bs.size(); ++i) {
      ::TShortCutHintPos pos = ::shpAuto;
      tb->GlowButtonShortCutHintPos(bs[i], pos);
      EXPECT_EQ(pos, c.Pos[i]) << i;
    }
    // A button as high as the group shows its tip below it.
    ::TShortCutHintPos pos = ::shpAuto;
    bs[0]->SetBounds(bs[0]->Left(), 2, 40, tb->Height() - 10);
    tb->GlowButtonShortCutHintPos(bs[0], pos);
    EXPECT_EQ(pos, ::shpBottom);
    delete tb;
  }
}

// A handler of the form's window procedure that counts what it sees.
struct TProbe {
  int* Count;
  std::function<void(TMessage&)> Previous;
  void operator()(TMessage& M) const {
    if (M.Msg == WM_USER + 77) ++*Count;
    if (Previous) Previous(M);
  }
};

TEST_F(PagerKeys, FormProcedureIsReleasedWithoutBreakingLaterHandlers) {
  int before = 0, after = 0;
  // A handler below the pager's.
  Form->WindowProc = TProbe{&before, Form->WindowProc};
  Build(SampleRibbon());
  ASSERT_TRUE(Pager->Subclassed());
  // A handler installed after the pager's, which never gives its place back.
  Form->WindowProc = TProbe{&after, Form->WindowProc};
  Form->Perform(WM_USER + 77, 0, 0);
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 1);
  delete Pager;
  Pager = nullptr;
  Form->Perform(WM_USER + 77, 0, 0);
  Form->Perform(WM_SIZE, 0, 0);
  EXPECT_EQ(before, 2);
  EXPECT_EQ(after, 2);
}

TEST_F(PagerKeys, FormProcedureGoesBackWhenThePagerIsOutermost) {
  int before = 0;
  Form->WindowProc = TProbe{&before, Form->WindowProc};
  Build(SampleRibbon());
  ASSERT_TRUE(Pager->Subclassed());
  EXPECT_EQ(Form->WindowProc.target<TProbe>(), nullptr);
  delete Pager;
  Pager = nullptr;
  EXPECT_NE(Form->WindowProc.target<TProbe>(), nullptr);
}

TEST_F(PagerKeys, FormWithTwoPagersIsNotTakenOver) {
  auto* second = new TZadEdevAziPager(Form.get());
  second->SetParent(Form.get());
  Build(SampleRibbon());
  second->Loaded();
  EXPECT_FALSE(Pager->Subclassed());
  EXPECT_FALSE(second->Subclassed());
}

TEST_F(PagerKeys, WheelOverThePagerSwitchesPagesWhenTheFocusIsOutside) {
  Build(SampleRibbon());
  const TPoint over = Pager->ClientToScreen(TabCentre(0));
  testinput::MouseMove(over);
  testinput::MouseWheel(-120);
  PumpPending();
  EXPECT_EQ(Pager->ActivePageIndex(), 1);
  testinput::MouseWheel(120);
  PumpPending();
  EXPECT_EQ(Pager->ActivePageIndex(), 0);
  Pager->SetEnableWheel(false);
  testinput::MouseWheel(-120);
  PumpPending();
  EXPECT_EQ(Pager->ActivePageIndex(), 0);
}

TEST_F(PagerKeys, MenuOfAToolBarOnAPageSeesTheTypedCharacterUnchanged) {
  Build({{u"Home", u"H", {}}});
  // Owned by the page, as a toolbar streamed onto it is.
  auto* tb = new TZadEdevAzi(Page(0));
  Page(0)->AddZadEdevAzi(tb);
  auto* menu = new TMainMenu(Form.get());
  auto* file = new TMenuItem(Form.get());
  file->SetCaption(u"File");
  menu->Items()->Add(file);
  int one = 0, f2 = 0;
  auto* itemOne = new TMenuItem(Form.get());
  itemOne->SetCaption(u"One");
  itemOne->SetShortCut(ShortCut(Word('1'), {}));
  itemOne->OnClick = [&one](TObject*) { ++one; };
  file->Add(itemOne);
  // '1' plus 64 is the code of F2: a menu that saw that would run this one.
  auto* itemF2 = new TMenuItem(Form.get());
  itemF2->SetCaption(u"Two");
  itemF2->SetShortCut(ShortCut(Word(VK_F2), {}));
  itemF2->OnClick = [&f2](TObject*) { ++f2; };
  file->Add(itemF2);
  tb->SetMenu(menu);
  PumpPending();
  ASSERT_TRUE(tb->Showing());
  tb->Perform(CM_DIALOGCHAR, u'1', 0);
  // Whatever the menu does with the character, it never sees it plus 64.
  EXPECT_LE(one, 1);
  EXPECT_EQ(f2, 0);
  tb->SetMenu(nullptr);
}

TEST_F(PagerKeys, PageSteppingDoesNotWrap) {
  Build(SampleRibbon());
  Page(1)->SetTabEnabled(false);
  Pager->NextActivePage();
  EXPECT_EQ(Pager->ActivePageIndex(), 2);
  Pager->NextActivePage();
  Pager->NextActivePage();
  EXPECT_EQ(Pager->ActivePageIndex(), 3);
  Pager->PrevActivePage();
  Pager->PrevActivePage();
  EXPECT_EQ(Pager->ActivePageIndex(), 0);
  Pager->PrevActivePage();
  EXPECT_EQ(Pager->ActivePageIndex(), 0);
}

}  // namespace
}  // namespace ribbon
