// A toolbar menu bar on an MDI frame: merging a child's main menu by group
// index and undoing it, the window list in the frame's Window menu while it
// is dropped from the bar, the buttons of a maximised child at the bar's far
// end and their clicks, the bar's link in the frame's window procedure, and
// the toolbar's hint texts.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "foundation/gdiplus/GdiplusBase.h"
#include "menus/AdvMenus.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/MDI.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/WindowRegion.h"
#include "platform/win/WindowData.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/MenuBarTracking.h"

namespace toolbar {
namespace menumerge_test {

class ToolBarMenuMerge : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    Frame = std::make_unique<TForm>(nullptr);
    Frame->AfterConstruction();
    Frame->SetBounds(80, 80, 640, 420);
    Frame->SetCaption(u"Frame");
    Frame->SetFormStyle(fsMDIForm);
    Menu = new TMainMenu(Frame.get());
    File = Add(Menu->Items(), u"&File", 2);
    Add(File, u"&New");
    Add(File, u"E&xit");
    Edit = Add(Menu->Items(), u"&Edit", 4);
    Add(Edit, u"Cu&t");
    Window = Add(Menu->Items(), u"&Window", 6);
    Add(Window, u"&Tile");
    Frame->SetWindowMenu(Window);
    Panel = new TAdvDockPanel(Frame.get());
    Panel->SetParent(Frame.get());
    Panel->SetAlign(daTop);
    Tb = new TZadEdevAzi(Frame.get());
    Tb->SetParent(Panel);
    Tb->SetMenu(Menu);
    Tb->SetFullSize(true);
    Frame->Show();
    PumpPending();
  }
  void TearDown() override {
    if (ActiveMenuWindow() != nullptr) CloseMenus();
    Frame.reset();
    PumpPending();
  }
  TMenuItem* Add(TMenuItem* Parent, const String& Caption, Byte Group = 0, TComponent* Owner = nullptr) {
    auto* i = new TMenuItem(Owner != nullptr ? Owner : Frame.get());
    i->SetCaption(Caption);
    i->SetGroupIndex(Group);
    Parent->Add(i);
    return i;
  }
  TForm* Child(const char16_t* Caption, TRect Bounds = TRect{10, 10, 250, 170}) {
    auto* c = new TForm(Frame.get());
    c->AfterConstruction();
    c->SetFormStyle(fsMDIChild);
    c->SetCaption(Caption);
    c->SetBoundsRect(Bounds);
    // Closing frees the child (an MDI child only minimises by default).
    c->OnClose = [](TObject*, TCloseAction& A) { A = caFree; };
    c->Show();
    return c;
  }
  // The bar's menu buttons, left to right: caption and group of their item.
  std::vector<std::pair<String, int>> Buttons() const {
    std::vector<std::pair<String, int>> v;
    for (Integer i = 0; i < Tb->ToolBarControlCount(); ++i)
      if (auto* b = dynamic_cast<TAdvCustomToolBarButton*>(Tb->GetToolBarControls(i)); b && b->IsMenuButton())
        v.emplace_back(b->Caption(), b->MenuItem() != nullptr ? int(b->MenuItem()->GroupIndex()) : -1);
    return v;
  }
  TAdvCustomToolBarButton* Btn(TMenuItem* Item) const {
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
  void Settle() {
    PumpPending();
    testinput::PaintPending();
  }
  // Runs Act from inside the dropped menu's loop once Ready holds (bounded).
  void WhenReady(std::function<bool()> Ready, std::function<void()> Act, int Tries = 2000) {
    testinput::Queue([=, this] {
      if (Ready()) {
        Act();
      } else if (Tries > 0) {
        WhenReady(Ready, Act, Tries - 1);
      } else if (ActiveMenuWindow() != nullptr) {
        CloseMenus();
      }
    });
  }

  std::unique_ptr<TForm> Frame;
  TMainMenu* Menu = nullptr;
  TMenuItem *File = nullptr, *Edit = nullptr, *Window = nullptr;
  TAdvDockPanel* Panel = nullptr;
  TZadEdevAzi* Tb = nullptr;
};

using TBarList = std::vector<std::pair<String, int>>;

// Bar groups 2, 4 and 6 (File, Edit, Window) against a child's menu.
TEST_F(ToolBarMenuMerge, MergingByGroupIndexAndUnmerging) {
  struct Case {
    const char* Name;
    std::vector<std::pair<const char16_t*, int>> Child;
    TBarList Merged;
  } cases[] = {
      {"equal group replaces the bar's button", {{u"&Doc", 4}}, {{u"&File", 2}, {u"&Doc", 4}, {u"&Window", 6}}},
      {"lower group comes first", {{u"&Start", 1}}, {{u"&Start", 1}, {u"&File", 2}, {u"&Edit", 4}, {u"&Window", 6}}},
      {"higher group comes last", {{u"&Late", 9}}, {{u"&File", 2}, {u"&Edit", 4}, {u"&Window", 6}, {u"&Late", 9}}},
      {"group between two of the bar's", {{u"&Mid", 5}}, {{u"&File", 2}, {u"&Edit", 4}, {u"&Mid", 5}, {u"&Window", 6}}},
      {"group 0 is added as a new button", {{u"&Tools", 0}}, {{u"&File", 2}, {u"&Edit", 4}, {u"&Window", 6}, {u"&Tools", 0}}},
      {"several at once", {{u"&Doc", 2}, {u"&Format", 5}, {u"&Zoom", 6}},
       {{u"&Doc", 2}, {u"&Edit", 4}, {u"&Format", 5}, {u"&Zoom", 6}}},
      {"a child with no menu items", {}, {{u"&File", 2}, {u"&Edit", 4}, {u"&Window", 6}}},
  };
  const TBarList own{{u"&File", 2}, {u"&Edit", 4}, {u"&Window", 6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* childMenu = new TMainMenu(Frame.get());
    for (auto& [caption, group] : c.Child) Add(childMenu->Items(), caption, Byte(group));
    Tb->MergeMenu(childMenu);
    EXPECT_EQ(Tb->MergedMenu(), childMenu);
    EXPECT_EQ(Buttons(), c.Merged);
    Tb->UnmergeMenu(childMenu);
    EXPECT_EQ(Tb->MergedMenu(), nullptr);
    EXPECT_EQ(Buttons(), own);
    EXPECT_EQ(Btn(File)->MenuItem(), File);
    delete childMenu;
  }
}

TEST_F(ToolBarMenuMerge, MergingAnotherMenuUndoesTheFirstAndTheBarsOwnMenuIsNotMerged) {
  auto* a = new TMainMenu(Frame.get());
  Add(a->Items(), u"&Doc", 4);
  auto* b = new TMainMenu(Frame.get());
  Add(b->Items(), u"&Tools", 0);
  Tb->MergeMenu(a);
  Tb->MergeMenu(b);
  EXPECT_EQ(Buttons(), (TBarList{{u"&File", 2}, {u"&Edit", 4}, {u"&Window", 6}, {u"&Tools", 0}}));
  // Unmerging a menu that is not the merged one changes nothing.
  Tb->UnmergeMenu(a);
  EXPECT_EQ(Tb->MergedMenu(), b);
  // A child activated that has no menu: nothing to merge, the bar's own come back.
  Tb->MergeMenu(nullptr);
  EXPECT_EQ(Buttons(), (TBarList{{u"&File", 2}, {u"&Edit", 4}, {u"&Window", 6}}));
  Tb->MergeMenu(Menu);
  EXPECT_EQ(Tb->MergedMenu(), nullptr);
  EXPECT_EQ(Buttons(), (TBarList{{u"&File", 2}, {u"&Edit", 4}, {u"&Window", 6}}));
  // A bar without a menu of its own merges nothing.
  Tb->SetMenu(nullptr);
  Tb->MergeMenu(a);
  EXPECT_EQ(Tb->MergedMenu(), nullptr);
  EXPECT_TRUE(Buttons().empty());
  // The frame goes with a child's menu still merged.
  Tb->SetMenu(Menu);
  Tb->MergeMenu(a);
  EXPECT_EQ(Buttons(), (TBarList{{u"&File", 2}, {u"&Doc", 4}, {u"&Window", 6}}));
}

// The child's menu goes with the child: the bar's own buttons come back and
// nothing is left bound to the child's items.
TEST_F(ToolBarMenuMerge, ClosingTheChildWhoseMenuIsMergedUnmerges) {
  TForm* child = Child(u"Doc1");
  auto* childMenu = new TMainMenu(child);
  TMenuItem* doc = Add(childMenu->Items(), u"&Doc", 4, child);
  Add(doc, u"&Print", 0, child);
  Add(childMenu->Items(), u"&Tools", 0, child);
  Tb->MergeMenu(childMenu);
  ASSERT_EQ(Buttons(), (TBarList{{u"&File", 2}, {u"&Doc", 4}, {u"&Window", 6}, {u"&Tools", 0}}));
  child->Close();
  PumpUntil([&] { return Frame->MDIChildCount() == 0; }, 5000);
  ASSERT_EQ(Frame->MDIChildCount(), 0);
  EXPECT_EQ(Tb->MergedMenu(), nullptr);
  EXPECT_EQ(Buttons(), (TBarList{{u"&File", 2}, {u"&Edit", 4}, {u"&Window", 6}}));
  // The rebuilt bar drops its menus as before.
  WhenReady([&] { return ActiveMenuWindow() != nullptr; }, [] { CloseMenus(); });
  EXPECT_TRUE(Tb->DropDownMenuButton(Btn(Edit)));
  PumpPending();
  EXPECT_EQ(Captions(Edit), (std::vector<String>{u"Cu&t"}));
}

TEST_F(ToolBarMenuMerge, AMergedButtonsSubItemsComeBackInOrderAfterItsMenuAndAfterUnmerging) {
  auto* childMenu = new TMainMenu(Frame.get());
  TMenuItem* doc = Add(childMenu->Items(), u"&Doc", 4);
  for (const char16_t* c : {u"&Print", u"Pre&view", u"&Close"}) Add(doc, c);
  Tb->MergeMenu(childMenu);
  std::vector<String> shown;
  WhenReady([&] { return ActiveMenuWindow() != nullptr && Tb->ButtonMenu() == doc; },
            [&] {
              shown = Captions(Tb->ActiveMenu()->Items());
              CloseMenus();
            });
  EXPECT_TRUE(Tb->DropDownMenuButton(Btn(doc)));
  PumpPending();
  EXPECT_EQ(shown, (std::vector<String>{u"&Print", u"Pre&view", u"&Close"}));
  EXPECT_EQ(Captions(doc), (std::vector<String>{u"&Print", u"Pre&view", u"&Close"}));
  Tb->MergeMenu(nullptr);
  EXPECT_EQ(Captions(doc), (std::vector<String>{u"&Print", u"Pre&view", u"&Close"}));
  EXPECT_EQ(Captions(Edit), (std::vector<String>{u"Cu&t"}));
}

TEST_F(ToolBarMenuMerge, UpdateMenuRebuildsButtonsForANewTopLevelItem) {
  TMenuItem* help = Add(Menu->Items(), u"&Help", 8);
  Tb->UpdateMenu();
  EXPECT_EQ(Buttons(), (TBarList{{u"&File", 2}, {u"&Edit", 4}, {u"&Window", 6}, {u"&Help", 8}}));
  help->SetCaption(u"&About");
  Tb->UpdateMenu();
  EXPECT_EQ(Btn(help)->Caption(), u"&About");
  EXPECT_EQ(Tb->GetMenuItemCount(), 8);
}

// The Window menu lists the registered children, the active one checked,
// only while it is dropped from the bar; choosing an entry activates that child.
TEST_F(ToolBarMenuMerge, WindowListShowsTheChildrenWhileDroppedAndActivatesTheChosenOne) {
  TForm* one = Child(u"One");
  TForm* two = Child(u"Two", TRect{40, 40, 280, 200});
  Tb->AddMDIChildMenu(one, u"");
  Tb->AddMDIChildMenu(two, u"Second");
  ASSERT_EQ(Frame->ActiveMDIChild(), two);
  std::vector<String> shown;
  std::vector<bool> checked;
  WhenReady([&] { return ActiveMenuWindow() != nullptr && Tb->ButtonMenu() == Window && MenuBarTracking().MenuBarLastItem; },
            [&] {
              TMenuItem* root = Tb->ActiveMenu()->Items();
              shown = Captions(root);
              for (Integer i = 0; i < root->Count(); ++i) checked.push_back(root->Items(i)->Checked());
              // Choose "One" (the second item of the list).
              testinput::KeyPress(VK_DOWN);
              testinput::KeyPress(VK_RETURN);
            });
  // The first item is selected as the menu opens; Down moves to "One".
  Tb->DropDownMenuButton(Btn(Window));
  PumpPending();
  EXPECT_EQ(shown, (std::vector<String>{u"&Tile", u"One", u"Second"}));
  EXPECT_EQ(checked, (std::vector<bool>{false, false, true}));
  EXPECT_EQ(Frame->ActiveMDIChild(), one);
  // Gone from the Window menu once it closed.
  EXPECT_EQ(Captions(Window), (std::vector<String>{u"&Tile"}));
  // A registered child that goes leaves the list.
  two->Close();
  PumpUntil([&] { return Frame->MDIChildCount() == 1; }, 5000);
  ASSERT_EQ(Tb->MDIChildMenuEntries()->Count(), 1);
  EXPECT_EQ(Tb->MDIChildMenuEntries()->Strings(0), u"One");
  Tb->RemoveMDIChildMenu(one, u"one");
  EXPECT_EQ(Tb->MDIChildMenuEntries()->Count(), 0);
}

TEST_F(ToolBarMenuMerge, TheWindowListIsAddedOnlyWhenTheWindowMenuIsDropped) {
  TForm* one = Child(u"One");
  Tb->AddMDIChildMenu(one, u"");
  std::vector<String> shown;
  WhenReady([&] { return ActiveMenuWindow() != nullptr && Tb->ButtonMenu() == Edit; },
            [&] {
              shown = Captions(Tb->ActiveMenu()->Items());
              EXPECT_EQ(Captions(Window), (std::vector<String>{u"&Tile"}));
              CloseMenus();
            });
  Tb->DropDownMenuButton(Btn(Edit));
  PumpPending();
  EXPECT_EQ(shown, (std::vector<String>{u"Cu&t"}));
  // A bar on a form without a Window menu registers nothing.
  Frame->SetWindowMenu(nullptr);
  Tb->AddMDIChildMenu(one, u"Again");
  EXPECT_EQ(Tb->MDIChildMenuEntries()->Count(), 1);
}

class ToolBarMdiButtons : public ToolBarMenuMerge {
 protected:
  void SetUp() override {
    ToolBarMenuMerge::SetUp();
    Tb->SetAutoMDIButtons(true);
    ASSERT_TRUE(Tb->AutoMDIButtons());
  }
  TRect Rect(void (TAdvCustomToolBar::*Get)(TRect&)) const {
    TRect r;
    TAdvCustomToolBar* t = Tb;
    (t->*Get)(r);
    return r;
  }
  static TPoint Mid(const TRect& R) { return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }
};

TEST_F(ToolBarMdiButtons, ShowWhileTheChildIsMaximisedAndGoWhenRestoredOrClosed) {
  TForm* child = Child(u"Doc");
  Settle();
  EXPECT_FALSE(Tb->MDIButtonsVisible());
  child->SetWindowState(wsMaximized);
  Settle();
  EXPECT_TRUE(Tb->MDIButtonsVisible());
  // At the bar's far end: close, then restore, then minimise leftwards.
  const TRect close = Rect(&TAdvCustomToolBar::GetMDICloseButtonRect);
  const TRect max = Rect(&TAdvCustomToolBar::GetMDIMaxButtonRect);
  const TRect min = Rect(&TAdvCustomToolBar::GetMDIMinButtonRect);
  const Integer s = Tb->GetMDIButtonSize();
  EXPECT_EQ(close, (TRect{Tb->Width() - s - 3, close.Top, Tb->Width() - 3, close.Top + s}));
  EXPECT_EQ(max.Right, close.Left - 1);
  EXPECT_EQ(min.Right, max.Left - 1);
  // The close glyph is drawn in black in the middle of its button.
  auto shot = testinput::Grab(Tb);
  bool black = false;
  for (Integer x = close.Left + 4; x < close.Right - 4; ++x)
    black = black || ColorToRGB(shot->Canvas()->Pixels(x, (close.Top + close.Bottom) / 2)) == 0;
  EXPECT_TRUE(black);
  child->SetWindowState(wsNormal);
  Settle();
  EXPECT_FALSE(Tb->MDIButtonsVisible());
  child->SetWindowState(wsMaximized);
  Settle();
  ASSERT_TRUE(Tb->MDIButtonsVisible());
  child->Close();
  PumpUntil([&] { return Frame->MDIChildCount() == 0; }, 5000);
  Settle();
  EXPECT_FALSE(Tb->MDIButtonsVisible());
}

TEST_F(ToolBarMdiButtons, ClicksMinimiseRestoreAndCloseTheChild) {
  struct Case {
    const char* Name;
    void (TAdvCustomToolBar::*Rect)(TRect&);
    TWindowState After;  // the child's state, unless it is gone
    bool Gone;
  } cases[] = {
      {"minimise", &TAdvCustomToolBar::GetMDIMinButtonRect, wsMinimized, false},
      {"restore", &TAdvCustomToolBar::GetMDIMaxButtonRect, wsNormal, false},
      {"close", &TAdvCustomToolBar::GetMDICloseButtonRect, wsNormal, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TForm* child = Child(u"Doc");
    bool gone = false;
    child->OnDestroy = [&gone](TObject*) { gone = true; };
    child->SetWindowState(wsMaximized);
    Settle();
    ASSERT_TRUE(Tb->MDIButtonsVisible());
    int clicks = 0;
    Tb->OnClick = [&clicks](TObject*) { ++clicks; };
    testinput::Click(Tb, Mid(Rect(c.Rect)));
    PumpUntil([&] { return gone || child->WindowState() != wsMaximized; }, 5000);
    // The press on an MDI button is no click of the toolbar.
    EXPECT_EQ(clicks, 0);
    if (c.Gone) {
      PumpUntil([&] { return gone; }, 5000);
      EXPECT_TRUE(gone);
      continue;
    }
    EXPECT_FALSE(gone);
    EXPECT_EQ(child->WindowState(), c.After);
    delete child;
    PumpPending();
  }
}

TEST_F(ToolBarMdiButtons, AChildWithoutAMaximiseBoxShowsAGreyRestoreGlyphAndIgnoresItsClick) {
  TForm* child = Child(u"Doc");
  child->SetBorderIcons(TBorderIcons{biSystemMenu, biMinimize});
  child->SetWindowState(wsMaximized);
  Settle();
  ASSERT_TRUE(Tb->MDIButtonsVisible());
  const TRect max = Rect(&TAdvCustomToolBar::GetMDIMaxButtonRect);
  EXPECT_FALSE(Tb->PtInMDIMaxButton(Mid(max)));
  auto shot = testinput::Grab(Tb);
  bool grey = false, black = false;
  for (Integer y = max.Top; y < max.Bottom; ++y)
    for (Integer x = max.Left; x < max.Right; ++x) {
      const TColor c = ColorToRGB(shot->Canvas()->Pixels(x, y));
      grey = grey || c == 0x808080;
      black = black || c == 0;
    }
  EXPECT_TRUE(grey);
  EXPECT_FALSE(black);
  testinput::Click(Tb, Mid(max));
  Settle();
  EXPECT_EQ(child->WindowState(), wsMaximized);
}

// The bar's link in the frame's window procedure: another link chained after
// it keeps working when the bar's comes out, and the frame's region, which
// the bar never set, stays.
TEST_F(ToolBarMdiButtons, TheLinkComesOutWithoutBreakingALaterOneOrTheFramesRegion) {
  const HWND wnd = Frame->Handle();
  EXPECT_EQ(TAdvCustomToolBar::MDIButtonsToolBar(), Tb);
  int seen = 0;
  WNDPROC later = 0, below = 0;
  later = MakeObjectInstance([&](TMessage& M) {
    if (M.Msg == WM_USER + 9) ++seen;
    M.Result = CallWindowProc(below, wnd, M.Msg, M.WParam, M.LParam);
  });
  below = SetWindowLong(wnd, GWL_WNDPROC, later);
  SetWindowRgn(wnd, CreateRectRgn(0, 0, 300, 200), FALSE);
  Tb->SetAutoMDIButtons(false);
  EXPECT_EQ(TAdvCustomToolBar::MDIButtonsToolBar(), nullptr);
  SendMessage(wnd, WM_USER + 9, 0, 0);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(GetWindowLong(wnd, GWL_WNDPROC), later);
  TRect box;
  EXPECT_NE(GetWindowRgnBox(wnd, &box), ERROR);
  // The bar links in again on top, and a freed bar takes its link along.
  Tb->SetAutoMDIButtons(true);
  EXPECT_EQ(TAdvCustomToolBar::MDIButtonsToolBar(), Tb);
  delete Tb;
  Tb = nullptr;
  EXPECT_EQ(TAdvCustomToolBar::MDIButtonsToolBar(), nullptr);
  EXPECT_EQ(GetWindowLong(wnd, GWL_WNDPROC), later);
  SendMessage(wnd, WM_USER + 9, 0, 0);
  EXPECT_EQ(seen, 2);
  SetWindowLong(wnd, GWL_WNDPROC, below);
  FreeObjectInstance(later);
  SetWindowRgn(wnd, nullptr, FALSE);
}

TEST_F(ToolBarMdiButtons, OnlyAFullSizeBarWithAMenuKeepsThem) {
  Tb->SetAutoMDIButtons(false);
  Tb->SetFullSize(false);
  Tb->SetAutoMDIButtons(true);
  EXPECT_FALSE(Tb->AutoMDIButtons());
  EXPECT_EQ(TAdvCustomToolBar::MDIButtonsToolBar(), nullptr);
}

// --- hints ---

TEST_F(ToolBarMenuMerge, HintsOfTheRightHandleAndTheFloatingCaptionButtons) {
  auto* form = new TForm(Frame.get());
  form->AfterConstruction();
  form->SetBounds(100, 100, 400, 200);
  auto* panel = new TAdvDockPanel(form);
  panel->SetParent(form);
  panel->SetAlign(daTop);
  auto* tb = new TZadEdevAzi(form);
  tb->SetParent(panel);
  tb->SetHint(u"Bar");
  tb->SetHintOptionButton(u"Options here");
  tb->SetHintCloseButton(u"Close it");
  auto* b = new TZadEdevAziButton(form);
  b->SetParent(tb);
  form->Show();
  PumpPending();
  auto hintAt = [&](TPoint P) {
    THintInfo info;
    info.HintStr = tb->Hint();
    info.CursorPos = P;
    tb->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    return info.HintStr;
  };
  const TRect handle = tb->GetRightHandleRect();
  ASSERT_FALSE(handle.IsEmpty());
  EXPECT_EQ(hintAt(TPoint{(handle.Left + handle.Right) / 2, (handle.Top + handle.Bottom) / 2}), u"Options here");
  EXPECT_EQ(hintAt(TPoint{2, 2}), u"Bar");
  tb->MakeFloating(300, 300, true);
  PumpPending();
  ASSERT_EQ(tb->GetToolBarState(), tsFloating);
  const TRect close = tb->GetCloseButtonRect(), option = tb->GetOptionButtonRect();
  EXPECT_EQ(hintAt(TPoint{(close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2}), u"Close it");
  EXPECT_EQ(hintAt(TPoint{(option.Left + option.Right) / 2, (option.Top + option.Bottom) / 2}), u"Options here");
  // Without a hint text of its own the button keeps the toolbar's.
  tb->SetHintCloseButton(u"");
  EXPECT_EQ(hintAt(TPoint{(close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2}), u"Bar");
}

TEST_F(ToolBarMenuMerge, AFloatingToolBarShownOrHiddenTakesItsWindowAlong) {
  auto* form = new TForm(Frame.get());
  form->AfterConstruction();
  form->SetBounds(100, 100, 400, 200);
  auto* panel = new TAdvDockPanel(form);
  panel->SetParent(form);
  panel->SetAlign(daTop);
  auto* tb = new TZadEdevAzi(form);
  tb->SetParent(panel);
  auto* b = new TZadEdevAziButton(form);
  b->SetParent(tb);
  form->Show();
  PumpPending();
  tb->MakeFloating(300, 300, true);
  PumpPending();
  ASSERT_NE(tb->FloatingWindow(), nullptr);
  ASSERT_TRUE(tb->FloatingWindow()->Visible());
  tb->SetVisible(false);
  EXPECT_FALSE(tb->FloatingWindow()->Visible());
  tb->SetVisible(true);
  EXPECT_TRUE(tb->FloatingWindow()->Visible());
  // Closed by its caption's close button, then shown again by the application.
  tb->CloseFloating();
  PumpPending();
  EXPECT_FALSE(tb->Visible());
  EXPECT_FALSE(tb->FloatingWindow()->Visible());
  tb->SetVisible(true);
  EXPECT_TRUE(tb->FloatingWindow()->Visible());
}

}  // namespace menumerge_test
}  // namespace toolbar
