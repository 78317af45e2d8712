// Dragging docked toolbars with the pointer, on the toolbar's own drag loop:
// the tear-off distance, moves between rows, tearing off, moving the
// floating window and docking into another panel, with the dock invariants
// checked after every step; drags ended by Escape and by the toolbar's
// destruction; clicks on the toolbar's own parts.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Window.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

std::string DragUtf8(const String& s) { return std::string(s.begin(), s.end()); }

class ToolBarDragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    testinput::MouseLeaveWindows();
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 600, 400);
  }
  void TearDown() override {
    ReleaseCapture();
    Form.reset();
    PumpPending();
    if (Screen != nullptr) Screen->SetCursor(crDefault);
  }
  TAdvDockPanel* NewPanel(TDockAlign Align) {
    auto* p = new TAdvDockPanel(Form.get());
    p->SetName(u"Dock" + IntToStr(++PanelCount));
    p->SetParent(Form.get());
    p->SetAlign(Align);
    return p;
  }
  TZadEdevAzi* NewToolBar(TWinControl* Parent) {
    auto* tb = new TZadEdevAzi(Form.get());
    tb->SetName(u"ToolBar" + IntToStr(++ToolBarCount));
    tb->SetParent(Parent);
    return tb;
  }
  // Every panel of the form keeps its invariants.
  void ExpectSound(const std::string& Step) {
    for (TAdvDockPanel* p : Panels) EXPECT_EQ(DragUtf8(p->CheckLayout()), "") << Step << " in " << DragUtf8(p->Name());
  }
  // Presses at Start and runs each step once the drag loop has taken what
  // the step before did; the last step releases or ends the drag.
  static void Drag(TPoint Start, std::vector<std::function<void()>> Steps) {
    testinput::MouseMove(Start);
    std::function<void(std::size_t)> next = [&](std::size_t i) {
      if (i >= Steps.size()) return;
      testinput::Queue([&, i] {
        Steps[i]();
        next(i + 1);
      });
    };
    next(0);
    testinput::MouseDown();
  }
  // A point in the grip of a docked toolbar, on the screen.
  static TPoint Grip(TAdvCustomToolBar* T) { return T->ClientToScreen(TPoint{3, T->Height() / 2}); }
  static TPoint Below(TAdvDockPanel* P, Integer X, Integer D) {
    return P->ClientToScreen(TPoint{X, P->Height() + D});
  }

  std::unique_ptr<TForm> Form;
  std::vector<TAdvDockPanel*> Panels;
  int PanelCount = 0;
  int ToolBarCount = 0;
};

}  // namespace

TEST_F(ToolBarDragTest, TearOffNeedsMoreThan26PixelsBeyondThePanel) {
  struct Case {
    Integer Beyond;
    bool Floats;
  };
  for (const Case c : {Case{10, false}, Case{20, false}, Case{26, false}, Case{27, true}, Case{60, true}}) {
    SCOPED_TRACE(c.Beyond);
    TearDown();
    SetUp();
    TAdvDockPanel* top = NewPanel(daTop);
    Panels = {top};
    TZadEdevAzi* tb = NewToolBar(top);
    Form->Show();
    PumpPending();
    const TPoint start = Grip(tb);
    bool floatingDuring = false;
    Drag(start, {[&] { testinput::MouseMove(Below(top, 20, c.Beyond)); },
                 [&] {
                   floatingDuring = tb->GetToolBarState() == tsFloating;
                   ExpectSound("after the move");
                   testinput::MouseUp();
                 }});
    EXPECT_FALSE(tb->Dragging());
    EXPECT_EQ(floatingDuring, c.Floats);
    EXPECT_EQ(tb->GetToolBarState() == tsFloating, c.Floats);
    EXPECT_EQ(tb->AdvDockPanel() == top, !c.Floats);
    EXPECT_EQ(tb->FloatingWindow() != nullptr, c.Floats);
    EXPECT_EQ(GetCapture(), nullptr);
    ExpectSound("after the release");
  }
}

TEST_F(ToolBarDragTest, DragAlongTheRowThenTearOffMoveAndDockIntoAnotherPanel) {
  TAdvDockPanel* top = NewPanel(daTop);
  TAdvDockPanel* bottom = NewPanel(daBottom);
  Panels = {top, bottom};
  TZadEdevAzi* a = NewToolBar(top);
  TZadEdevAzi* b = NewToolBar(top);
  Form->Show();
  PumpPending();
  ExpectSound("at start");
  ASSERT_EQ(a->AdvDockPanel(), top);
  const Integer rowsBefore = top->RowCount();
  const TPoint start = Grip(a);
  TPoint windowAt{0, 0};
  TPoint pointer{0, 0};
  bool dockedBelow = false;
  Drag(start,
       {// Along its row: it stays docked in the panel.
        [&] { testinput::MouseMove(TPoint{start.X + 40, start.Y}); },
        [&] {
          EXPECT_EQ(a->AdvDockPanel(), top);
          EXPECT_TRUE(a->Dragging());
          ExpectSound("along the row");
          // Into the row of the other toolbar, or a row of its own: either
          // way the panel stays sound.
          const TPoint other = b->ClientToScreen(TPoint{b->Width() / 2, b->Height() / 2});
          testinput::MouseMove(TPoint{start.X + 40, other.Y});
        },
        [&] {
          EXPECT_EQ(a->AdvDockPanel(), top);
          ExpectSound("into another row");
          // Torn off into the middle of the form.
          pointer = TPoint{200, 200};
          testinput::MouseMove(pointer);
        },
        [&] {
          EXPECT_EQ(a->GetToolBarState(), tsFloating);
          ASSERT_NE(a->FloatingWindow(), nullptr);
          EXPECT_EQ(a->AdvDockPanel(), nullptr);
          EXPECT_EQ(a->LastDock(), top);
          EXPECT_TRUE(a->FloatingWindow()->Visible());
          ExpectSound("torn off");
          windowAt = TPoint{a->FloatingWindow()->Left(), a->FloatingWindow()->Top()};
          // The pointer keeps its place on the window as it moves.
          testinput::MouseMove(TPoint{pointer.X + 30, pointer.Y + 20});
        },
        [&] {
          ASSERT_NE(a->FloatingWindow(), nullptr);
          EXPECT_EQ(a->FloatingWindow()->Left(), windowAt.X + 30);
          EXPECT_EQ(a->FloatingWindow()->Top(), windowAt.Y + 20);
          // Over the bottom panel's reach.
          testinput::MouseMove(bottom->ClientToScreen(TPoint{100, -5}));
        },
        [&] {
          dockedBelow = a->AdvDockPanel() == bottom;
          ExpectSound("docked below");
          testinput::MouseUp();
        }});
  EXPECT_TRUE(dockedBelow);
  EXPECT_EQ(a->GetToolBarState(), tsDocked);
  EXPECT_EQ(a->Parent(), bottom);
  EXPECT_EQ(a->FloatingWindow(), nullptr);
  EXPECT_EQ(a->LastDock(), bottom);
  EXPECT_EQ(bottom->ZadEdevAziCount(), 1);
  EXPECT_EQ(top->ZadEdevAziCount(), 1);
  EXPECT_LE(top->RowCount(), rowsBefore);
  EXPECT_FALSE(a->Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
  ExpectSound("after the release");
}

TEST_F(ToolBarDragTest, FloatingToolBarDraggedByItsCaptionDocksAgain) {
  TAdvDockPanel* top = NewPanel(daTop);
  Panels = {top};
  TZadEdevAzi* tb = NewToolBar(top);
  Form->Show();
  PumpPending();
  tb->MakeFloating(300, 250, true);
  ASSERT_EQ(tb->GetToolBarState(), tsFloating);
  ASSERT_NE(tb->FloatingWindow(), nullptr);
  ExpectSound("floating");
  const TPoint caption = tb->ClientToScreen(TPoint{10, 4});
  ASSERT_TRUE(tb->PtInFloatingCaption(TPoint{10, 4}));
  TCursor during = crDefault;
  Drag(caption, {[&] { testinput::MouseMove(TPoint{caption.X - 10, caption.Y + 5}); },
                 [&] {
                   during = Screen->Cursor();
                   EXPECT_EQ(tb->FloatingWindow()->Left(), 290);
                   EXPECT_EQ(tb->FloatingWindow()->Top(), 255);
                   testinput::MouseMove(top->ClientToScreen(TPoint{50, top->Height() + 5}));
                 },
                 [&] {
                   EXPECT_EQ(tb->AdvDockPanel(), top);
                   ExpectSound("docked");
                   testinput::MouseUp();
                 }});
  EXPECT_EQ(during, crSizeAll);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(tb->GetToolBarState(), tsDocked);
  EXPECT_EQ(tb->FloatingWindow(), nullptr);
  ExpectSound("after the release");
}

TEST_F(ToolBarDragTest, DragEndsByEscapeAndByTheToolBarsDestruction) {
  TAdvDockPanel* top = NewPanel(daTop);
  Panels = {top};
  TZadEdevAzi* tb = NewToolBar(top);
  Form->Show();
  PumpPending();
  Drag(Grip(tb), {[&] {
    EXPECT_TRUE(tb->Dragging());
    testinput::KeyPress(VK_ESCAPE);
  }});
  EXPECT_FALSE(tb->Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(tb->AdvDockPanel(), top);
  ExpectSound("after Escape");

  // Torn off and then freed while the loop waits.
  Drag(Grip(tb), {[&] { testinput::MouseMove(TPoint{200, 250}); },
                  [&] {
                    EXPECT_EQ(tb->GetToolBarState(), tsFloating);
                    delete tb;
                  }});
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(top->ZadEdevAziCount(), 0);
  ExpectSound("after the destruction");
  // The program goes on pumping.
  testinput::MouseMove(TPoint{100, 100});
  PumpPending();
}

TEST_F(ToolBarDragTest, LockedAndNotFloatingToolBarsStayDocked) {
  TAdvDockPanel* top = NewPanel(daTop);
  Panels = {top};
  TZadEdevAzi* locked = NewToolBar(top);
  Form->Show();
  PumpPending();
  locked->SetLocked(true);
  testinput::MouseMove(Grip(locked));
  testinput::MouseDown();
  EXPECT_FALSE(locked->Dragging());
  testinput::MouseUp();
  locked->SetLocked(false);

  for (int refuse = 0; refuse < 2; ++refuse) {
    SCOPED_TRACE(refuse);
    locked->SetAllowFloating(refuse == 0);
    int asked = 0;
    locked->OnCanFloat = [&](TObject*, bool& Allow) {
      ++asked;
      Allow = false;
    };
    Drag(Grip(locked), {[&] { testinput::MouseMove(TPoint{200, 300}); },
                        [&] {
                          EXPECT_EQ(locked->AdvDockPanel(), top);
                          testinput::MouseUp();
                        }});
    EXPECT_EQ(locked->GetToolBarState(), tsDocked);
    EXPECT_EQ(asked > 0, refuse == 0);
    ExpectSound("refused");
  }
}

TEST_F(ToolBarDragTest, ClicksOnGripAndHandleFireNoOnClick) {
  TAdvDockPanel* top = NewPanel(daTop);
  Panels = {top};
  TZadEdevAzi* tb = NewToolBar(top);
  tb->SetLocked(true);  // a press in the grip starts no drag
  Form->Show();
  PumpPending();
  int clicks = 0;
  tb->OnClick = [&](TObject*) { ++clicks; };
  ASSERT_TRUE(tb->PtInRightHandle(TPoint{tb->Width() - 2, 5}));
  testinput::Click(tb, TPoint{3, 5});
  testinput::Click(tb, TPoint{tb->Width() - 2, 5});
  EXPECT_EQ(clicks, 0);
  testinput::Click(tb, TPoint{tb->Width() / 2, 5});
  EXPECT_EQ(clicks, 1);
}

TEST_F(ToolBarDragTest, NeverDockedToolBarFloatsAndShows) {
  auto* tb = new TZadEdevAzi(Form.get());
  tb->SetName(u"Loose");
  Form->Show();
  tb->MakeFloating(120, 130, true);
  ASSERT_NE(tb->FloatingWindow(), nullptr);
  EXPECT_EQ(tb->GetToolBarState(), tsFloating);
  EXPECT_TRUE(tb->FloatingWindow()->Visible());
  EXPECT_EQ(tb->GetPosition(), (TPoint{120, 130}));
  EXPECT_GT(tb->FloatingWindow()->Width(), tb->Width());
  // Closing hides it and tells the program.
  int closed = 0;
  tb->OnClose = [&](TObject*) { ++closed; };
  tb->CloseFloating();
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(tb->Visible());
  EXPECT_FALSE(tb->FloatingWindow()->Visible());
}

TEST_F(ToolBarDragTest, CloseButtonDocksBackWithAutoDockOnClose) {
  TAdvDockPanel* top = NewPanel(daTop);
  Panels = {top};
  TZadEdevAzi* tb = NewToolBar(top);
  Form->Show();
  PumpPending();
  tb->SetAutoDockOnClose(true);
  tb->MakeFloating(200, 200, true);
  ASSERT_EQ(tb->GetToolBarState(), tsFloating);
  const TRect close = tb->GetCloseButtonRect();
  ASSERT_FALSE(close.IsEmpty());
  testinput::Click(tb, TPoint{(close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2});
  PumpPending();
  EXPECT_EQ(tb->AdvDockPanel(), top);
  EXPECT_EQ(tb->FloatingWindow(), nullptr);
  ExpectSound("docked back");
}

}  // namespace toolbar
