// A toolbar working as a menu bar, through the layer's real menu loop with
// injected keys: dropping a button's menu and giving its items back,
// tracking across the buttons while a menu is open (arrow keys, right to
// left, Escape, the close notice) and from the keyboard alone, Alt, F10 and
// Alt+letter, and the filters' own rules.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Monitors.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Keyboard.h"
#include "menus/AdvMenus.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/MenuBarTracking.h"

namespace toolbar {
namespace menubar_test {

class ToolBarMenuBar : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(100, 100, 500, 200);
    Menu = new TMainMenu(Form.get());
    File = Add(Menu->Items(), u"&File");
    for (const char16_t* c : {u"&New", u"&Open", u"E&xit"}) Add(File, c);
    File->Items(0)->OnClick = [this](TObject*) { Chosen.push_back(u"New"); };
    File->Items(1)->OnClick = [this](TObject*) { Chosen.push_back(u"Open"); };
    Edit = Add(Menu->Items(), u"&Edit");
    for (const char16_t* c : {u"Cu&t", u"&Copy"}) Add(Edit, c);
    Help = Add(Menu->Items(), u"&Help");  // a command of its own, no items
    Help->OnClick = [this](TObject*) { Chosen.push_back(u"Help"); };
    Entry = new TEdit(Form.get());
    Entry->SetParent(Form.get());
    Entry->SetBounds(10, 100, 100, 24);
    Tb = new TZadEdevAzi(Form.get());
    Tb->SetParent(Form.get());
    Tb->SetMenu(Menu);
    Form->Show();
    Entry->SetFocus();
    PumpPending();
  }
  void TearDown() override {
    if (ActiveMenuWindow() != nullptr) CloseMenus();
    if (Tb != nullptr && Tb->InMenuLoop()) Tb->CancelMenuLoop();
    Form.reset();
    PumpPending();
  }
  TMenuItem* Add(TMenuItem* Parent, const String& Caption) {
    auto* i = new TMenuItem(Form.get());
    i->SetCaption(Caption);
    Parent->Add(i);
    return i;
  }
  TAdvCustomToolBarButton* Btn(TMenuItem* Item) {
    for (Integer i = 0; i < Tb->ToolBarControlCount(); ++i)
      if (auto* b = dynamic_cast<TAdvCustomToolBarButton*>(Tb->GetToolBarControls(i)); b && b->MenuItem() == Item)
        return b;
    return nullptr;
  }
  static std::vector<String> Captions(TMenuItem* Item) {
    std::vector<String> v;
    for (Integer i = 0; i < Item->Count(); ++i) v.push_back(Item->Items(i)->Caption());
    return v;
  }
  // The items of Item show in the open menu now.
  // (with its first item selected, as the bar opens it).
  bool Showing(TMenuItem* Item) {
    return ActiveMenuWindow() != nullptr && Tb->ButtonMenu() == Item && MenuBarTracking().MenuBarLastItem != nullptr;
  }
  bool NoMenu() { return ActiveMenuWindow() == nullptr; }

  // Steps run in turn from inside whatever loop pumps: each waits (by
  // queueing itself again, a bounded number of times) until its condition
  // holds. A step that never gets its condition closes the menus so that no
  // loop is left waiting, and the test sees the step undone.
  struct Step {
    std::function<bool()> Ready;
    std::function<void()> Act;
  };
  void Script(std::vector<Step> Steps) {
    ScriptSteps = std::move(Steps);
    testinput::Queue([this] { RunStep(0, 2000); });
  }
  void RunStep(std::size_t k, int tries) {
    if (k >= ScriptSteps.size()) return;
    if (ScriptSteps[k].Ready()) {
      ++StepsDone;
      // The next step waits its turn first: the action may run a nested loop.
      testinput::Queue([this, k] { RunStep(k + 1, 2000); });
      ScriptSteps[k].Act();
    } else if (tries > 0) {
      testinput::Queue([this, k, tries] { RunStep(k, tries - 1); });
    } else {
      if (ActiveMenuWindow() != nullptr) CloseMenus();
      if (Tb->InMenuLoop()) Tb->CancelMenuLoop();
    }
  }
  std::vector<Step> ScriptSteps;

  std::unique_ptr<TForm> Form;
  TMainMenu* Menu = nullptr;
  TMenuItem *File = nullptr, *Edit = nullptr, *Help = nullptr;
  TEdit* Entry = nullptr;
  TZadEdevAzi* Tb = nullptr;
  std::vector<String> Chosen;
  int StepsDone = 0;
};

TEST_F(ToolBarMenuBar, ADroppedMenuShowsTheItemsAndGivesThemBackInOrder) {
  std::vector<String> shown;
  Script({{[&] { return Showing(File); },
           [&] {
             shown = Captions(Tb->ActiveMenu()->Items());
             EXPECT_EQ(File->Count(), 0);
             testinput::KeyPress(VK_ESCAPE);
           }}});
  EXPECT_TRUE(Tb->DropDownMenuButton(Btn(File)));
  PumpPending();
  EXPECT_EQ(StepsDone, 1);
  EXPECT_EQ(shown, (std::vector<String>{u"&New", u"&Open", u"E&xit"}));
  EXPECT_EQ(Captions(File), (std::vector<String>{u"&New", u"&Open", u"E&xit"}));
  EXPECT_EQ(Tb->ActiveMenu(), nullptr);
  EXPECT_FALSE(Tb->MenuDropped());
  // The filter is gone with the menu.
  EXPECT_EQ(MenuBarTracking().MenuBarHook, nullptr);
}

TEST_F(ToolBarMenuBar, AButtonsOwnDropDownMenuIsOnlyBorrowed) {
  auto* own = new TAdvPopupMenu(Form.get());
  Add(own->Items(), u"Own");
  Btn(Help)->SetDropDownMenu(own);
  TAdvPopupMenu* shown = nullptr;
  Script({{[&] { return ActiveMenuWindow() != nullptr; },
           [&] {
             shown = Tb->ActiveMenu();
             testinput::KeyPress(VK_ESCAPE);
           }}});
  EXPECT_TRUE(Tb->DropDownMenuButton(Btn(Help)));
  PumpPending();
  EXPECT_EQ(shown, own);
  EXPECT_EQ(Tb->ActiveMenu(), nullptr);
  EXPECT_EQ(Captions(own->Items()), (std::vector<String>{u"Own"}));
}

TEST_F(ToolBarMenuBar, PressingTheOpenMenusButtonClosesItForGood) {
  int drops = 0;
  File->OnClick = [&](TObject*) { ++drops; };
  // The press closes the menu inside its own loop; no made-up release
  // follows, and the button does not drop the menu again.
  Script({{[&] { return Showing(File); }, [&] { testinput::Click(Btn(File), TPoint{5, 5}); }}});
  testinput::Click(Btn(File), TPoint{5, 5});
  PumpPending();
  EXPECT_EQ(StepsDone, 1);
  EXPECT_EQ(drops, 1);
  EXPECT_TRUE(NoMenu());
  EXPECT_FALSE(Tb->MenuDropped());
  EXPECT_EQ(Captions(File), (std::vector<String>{u"&New", u"&Open", u"E&xit"}));
}

TEST_F(ToolBarMenuBar, MovingTheMouseOntoAnotherMenuButtonSwitchesMenus) {
  Script({// Onto the same button nothing changes; onto Edit its menu opens.
          {[&] { return Showing(File); }, [&] { testinput::MouseMove(Btn(File), TPoint{8, 6}); }},
          {[&] { return Showing(File); }, [&] { testinput::MouseMove(Btn(Edit), TPoint{5, 5}); }},
          {[&] { return Showing(Edit); }, [&] { testinput::KeyPress(VK_ESCAPE); }}});
  testinput::Click(Btn(File), TPoint{5, 5});
  PumpUntil([&] { return StepsDone == 3 && NoMenu(); }, 10000);
  PumpPending();
  EXPECT_EQ(StepsDone, 3);
  EXPECT_EQ(Captions(File), (std::vector<String>{u"&New", u"&Open", u"E&xit"}));
  EXPECT_EQ(Captions(Edit), (std::vector<String>{u"Cu&t", u"&Copy"}));
}

TEST_F(ToolBarMenuBar, ItemsFilledByTheClickShow) {
  TMenuItem* lazy = Add(Menu->Items(), u"&Lazy");
  Tb->SetMenu(nullptr);
  Tb->SetMenu(Menu);
  lazy->OnClick = [&](TObject*) {
    if (lazy->Count() == 0) Add(lazy, u"Filled");
  };
  std::vector<String> shown;
  Script({{[&] { return Showing(lazy); },
           [&] {
             shown = Captions(Tb->ActiveMenu()->Items());
             testinput::KeyPress(VK_ESCAPE);
           }}});
  Tb->DropDownMenuButton(Btn(lazy));
  PumpPending();
  EXPECT_EQ(shown, (std::vector<String>{u"Filled"}));
  EXPECT_EQ(Captions(lazy), (std::vector<String>{u"Filled"}));
}

TEST_F(ToolBarMenuBar, RightOnALeafOpensTheNextButtonsMenuAndLeftComesBack) {
  Script({{[&] { return Showing(File); }, [&] { testinput::KeyPress(VK_RIGHT); }},
          {[&] { return Showing(Edit); }, [&] { testinput::KeyPress(VK_LEFT); }},
          {[&] { return Showing(File); }, [&] { testinput::KeyPress(VK_ESCAPE); }}});
  testinput::Click(Btn(File), TPoint{5, 5});
  PumpUntil([&] { return StepsDone == 3 && NoMenu(); }, 10000);
  PumpPending();
  EXPECT_EQ(StepsDone, 3);
  EXPECT_EQ(Captions(File), (std::vector<String>{u"&New", u"&Open", u"E&xit"}));
  EXPECT_EQ(Captions(Edit), (std::vector<String>{u"Cu&t", u"&Copy"}));
  EXPECT_EQ(Tb->ActiveMenu(), nullptr);
}

TEST_F(ToolBarMenuBar, RightOntoAButtonWithoutItemsKeepsKeyboardTrackingThere) {
  Script({{[&] { return Showing(Edit); }, [&] { testinput::KeyPress(VK_RIGHT); }},
          {[&] { return NoMenu() && Tb->InMenuLoop() && Tb->HotMenuButton() == Btn(Help); },
           [&] { testinput::KeyPress(VK_RIGHT); }},
          // From the last button Right wraps to the first.
          {[&] { return Tb->HotMenuButton() == Btn(File); }, [&] { testinput::KeyPress(VK_ESCAPE); }}});
  testinput::Click(Btn(Edit), TPoint{5, 5});
  PumpUntil([&] { return StepsDone == 3 && !Tb->InMenuLoop(); }, 10000);
  EXPECT_EQ(StepsDone, 3);
  EXPECT_FALSE(Tb->InMenuLoop());
  EXPECT_EQ(Tb->HotMenuButton(), nullptr);
  EXPECT_EQ(MenuBarTracking().MenuBarKeyHook, nullptr);
  EXPECT_EQ(Captions(Edit), (std::vector<String>{u"Cu&t", u"&Copy"}));
}

TEST_F(ToolBarMenuBar, RightToLeftMenuTurnsTheArrowsRound) {
  Menu->SetBiDiMode(bdRightToLeft);
  Script({{[&] { return Showing(Edit); }, [&] { testinput::KeyPress(VK_LEFT); }},
          {[&] { return Showing(Help) || (NoMenu() && Tb->HotMenuButton() == Btn(Help)); },
           [&] { Tb->CancelMenuLoop(); }}});
  testinput::Click(Btn(Edit), TPoint{5, 5});
  PumpUntil([&] { return StepsDone == 2; }, 10000);
  EXPECT_EQ(StepsDone, 2);
}

TEST_F(ToolBarMenuBar, EscapeKeepsTrackingAndAChosenItemEndsIt) {
  bool result = false;
  Script({{[&] { return Tb->InMenuLoop() && Tb->HotMenuButton() == Btn(File); },
           [&] { testinput::KeyPress(VK_DOWN); }},
          {[&] { return Showing(File); }, [&] { testinput::KeyPress(VK_ESCAPE); }},
          // Escape closed the menu only: the bar still tracks, File hot again.
          {[&] { return NoMenu() && Tb->InMenuLoop() && Tb->HotMenuButton() == Btn(File); },
           [&] { testinput::KeyPress(VK_RETURN); }},
          // Enter on the first item: the close notice ends the tracking.
          {[&] { return Showing(File); }, [&] { testinput::KeyPress(VK_RETURN); }}});
  result = Tb->RunMenuLoop(nullptr);
  PumpPending();
  EXPECT_EQ(StepsDone, 4);
  EXPECT_TRUE(result);
  EXPECT_EQ(Chosen, (std::vector<String>{u"New"}));
  EXPECT_FALSE(Tb->InMenuLoop());
  EXPECT_EQ(MenuBarTracking().MenuBarKeyHook, nullptr);
  EXPECT_EQ(MenuBarTracking().MenuBarHook, nullptr);
}

TEST_F(ToolBarMenuBar, AMenuClosedWithoutEscapeEndsTracking) {
  Script({{[&] { return Showing(File); }, [&] { CloseMenus(); }}});
  const bool result = Tb->RunMenuLoop(Btn(File));
  EXPECT_EQ(StepsDone, 1);
  EXPECT_FALSE(result);
  EXPECT_FALSE(Tb->InMenuLoop());
}

TEST_F(ToolBarMenuBar, AltAloneHighlightsTheFirstButton) {
  Script({{[&] { return Tb->InMenuLoop() && Tb->HotMenuButton() == Btn(File); },
           [&] { testinput::KeyPress(VK_ESCAPE); }}});
  testinput::KeyPress(VK_MENU);
  PumpPending();
  EXPECT_EQ(StepsDone, 1);
  EXPECT_FALSE(Tb->InMenuLoop());
}

TEST_F(ToolBarMenuBar, AltWithALetterOpensItsButtonsMenu) {
  Script({{[&] { return Showing(Edit); }, [&] { testinput::KeyPress(VK_ESCAPE); }}});
  testinput::KeyPress('E', TShiftState{ssAlt});
  PumpPending();
  EXPECT_EQ(StepsDone, 1);
  EXPECT_EQ(Captions(Edit), (std::vector<String>{u"Cu&t", u"&Copy"}));
}

TEST_F(ToolBarMenuBar, MenuKeyMessagesTheBarTakesAndLeaves) {
  struct Case {
    LPARAM key;
    LRESULT result;
  } cases[] = {{u' ', 0}, {u'-', 0}, {u'q', 0}};
  for (const Case& k : cases) {
    EXPECT_EQ(Tb->Perform(WM_SYSCOMMAND, SC_KEYMENU, k.key), k.result) << char(k.key);
    EXPECT_FALSE(Tb->InMenuLoop());
  }
  // Alt alone through the system command: tracking starts (and the test ends it).
  Script({{[&] { return Tb->InMenuLoop(); }, [&] { Tb->CancelMenuLoop(); }}});
  EXPECT_EQ(Tb->Perform(WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
  EXPECT_EQ(StepsDone, 1);
}

TEST_F(ToolBarMenuBar, DialogCodeWantsArrowsOnlyWhileTracking) {
  EXPECT_EQ(Tb->Perform(WM_GETDLGCODE, 0, 0), 0);
  Tb->StartMenuLoop(nullptr);
  EXPECT_EQ(Tb->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  Tb->CancelMenuLoop();
  EXPECT_EQ(Tb->Perform(WM_GETDLGCODE, 0, 0), 0);
}

TEST_F(ToolBarMenuBar, KeysGoToTheBarOnlyWhileItTracks) {
  int entryKeys = 0;
  Entry->OnKeyDown = [&](TObject*, Word&, TShiftState) { ++entryKeys; };
  Tb->StartMenuLoop(nullptr);
  EXPECT_EQ(Tb->HotMenuButton(), Btn(File));
  testinput::KeyPress(VK_RIGHT);
  PumpPending();
  EXPECT_EQ(Tb->HotMenuButton(), Btn(Edit));
  EXPECT_EQ(entryKeys, 0);
  Tb->CancelMenuLoop();
  testinput::KeyPress(VK_RIGHT);
  PumpPending();
  EXPECT_EQ(entryKeys, 1);
  EXPECT_EQ(Tb->HotMenuButton(), nullptr);
  // A key filter left naming a bar that does not track takes no keys.
  MenuBarTracking().MenuBarKeyToolBar = Tb;
  InstallMenuBarKeyHook();
  testinput::KeyPress(VK_RIGHT);
  PumpPending();
  RemoveMenuBarKeyHook();
  EXPECT_EQ(entryKeys, 2);
}

TEST_F(ToolBarMenuBar, TheOpenMenusButtonIsFoundByIdentityAfterTheListChanged) {
  TMenuBarTracking& t = MenuBarTracking();
  t.MenuBarToolBar = Tb;
  t.MenuBarButton = Btn(Edit);
  EXPECT_EQ(FindNextMenuBarButton(true), Btn(Help));
  EXPECT_EQ(FindNextMenuBarButton(false), Btn(File));
  // A button put in front shifts every index; the neighbours stay.
  auto* extra = new TZadEdevAziButton(Form.get());
  extra->SetParent(Tb);
  Tb->MoveToolBarControl(Tb->IndexOfToolBarControl(extra), 0);
  ASSERT_EQ(Tb->IndexOfToolBarControl(extra), 0);
  EXPECT_EQ(FindNextMenuBarButton(true), Btn(Help));
  EXPECT_EQ(FindNextMenuBarButton(false), Btn(File));
  // Forward from the last wraps round to the first control.
  t.MenuBarButton = Btn(Help);
  EXPECT_EQ(FindNextMenuBarButton(true), extra);
  t.MenuBarToolBar = nullptr;
  t.MenuBarButton = nullptr;
}

TEST_F(ToolBarMenuBar, DeactivatingTheFormEndsKeyboardTracking) {
  Tb->StartMenuLoop(nullptr);
  ASSERT_TRUE(Tb->InMenuLoop());
  testinput::ApplicationDeactivate();
  PumpPending();
  EXPECT_FALSE(Tb->InMenuLoop());
  EXPECT_EQ(MenuBarTracking().MenuBarKeyHook, nullptr);
}

// The toolbar's link in its form's window procedure: a link added after it
// keeps working when the toolbar goes, and the form's own handling is
// restored when the toolbar's link was the outermost.
TEST_F(ToolBarMenuBar, TheFormsMenuKeyLinkComesOutWithoutBreakingOthers) {
  int seen = 0;
  std::function<void(TMessage&)> inner = Form->WindowProc;
  Form->WindowProc = [&seen, inner](TMessage& M) {
    if (M.Msg == WM_USER + 7) ++seen;
    inner(M);
  };
  delete Tb;
  Tb = nullptr;
  // Alt alone reaches the form, which has no bar to track now.
  Form->Perform(WM_SYSCOMMAND, SC_KEYMENU, 0);
  Form->Perform(WM_USER + 7, 0, 0);
  EXPECT_EQ(seen, 1);
  // A second bar whose link is the outermost gives the previous procedure back.
  auto* tb2 = new TZadEdevAzi(Form.get());
  tb2->SetParent(Form.get());
  tb2->SetMenu(Menu);
  PumpPending();
  delete tb2;
  Form->Perform(WM_USER + 7, 0, 0);
  EXPECT_EQ(seen, 2);
}

TEST_F(ToolBarMenuBar, AMenuDroppedNearTheScreenBottomOpensUpward) {
  const TRect mon = Screen->MonitorFromPoint(TPoint{0, 0})->BoundsRect();
  Form->SetBounds(100, mon.Bottom - 40, 500, 40);
  PumpPending();
  TRect menuRect, buttonRect;
  Script({{[&] { return Showing(File); },
           [&] {
             TWinControl* w = ActiveMenuWindow();
             menuRect = TRect{w->Left(), w->Top(), w->Left() + w->Width(), w->Top() + w->Height()};
             TPoint tl = Btn(File)->ClientToScreen(TPoint{0, 0});
             buttonRect = TRect{tl.X, tl.Y, tl.X + Btn(File)->Width(), tl.Y + Btn(File)->Height()};
             testinput::KeyPress(VK_ESCAPE);
           }}});
  Tb->DropDownMenuButton(Btn(File));
  PumpPending();
  ASSERT_EQ(StepsDone, 1);
  // Above the button, not laid over it by the screen's edge.
  EXPECT_LE(menuRect.Bottom, buttonRect.Top) << menuRect.Top << " " << buttonRect.Top;
  // Away from the bottom it opens below the button.
  Form->SetBounds(100, mon.Top + 100, 500, 40);
  PumpPending();
  Script({{[&] { return Showing(File); },
           [&] {
             TWinControl* w = ActiveMenuWindow();
             menuRect.Top = w->Top();
             buttonRect.Bottom = Btn(File)->ClientToScreen(TPoint{0, Btn(File)->Height()}).Y;
             testinput::KeyPress(VK_ESCAPE);
           }}});
  StepsDone = 0;
  Tb->DropDownMenuButton(Btn(File));
  PumpPending();
  ASSERT_EQ(StepsDone, 1);
  EXPECT_GE(menuRect.Top, buttonRect.Bottom);
}

}  // namespace menubar_test
}  // namespace toolbar
