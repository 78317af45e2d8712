// The floating window: its margin around the toolbar at 96 and 144 pixels
// per inch, and the edge drags that flow the toolbar's controls into more or
// fewer rows while the opposite edge stays; closing it hides the toolbar.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/rtl/StrUtils.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/testing/TempHome.h"
#include "platform/rtl/IniFiles.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Window.h"
#include "platform/vcl/Monitors.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/FloatingWindow.h"

namespace toolbar {

namespace {

using monitors_internal::SetVirtualMonitors;
using monitors_internal::TVirtualMonitor;

class FloatingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    testinput::MouseLeaveWindows();
    SetVirtualMonitors({TVirtualMonitor{u"A", TRect{0, 0, 1920, 1080}, {}, 96, true},
                        TVirtualMonitor{u"B", TRect{1920, 0, 3840, 1080}, {}, 144, false}});
    Form = std::make_unique<TForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 600, 400);
    Form->Show();
  }
  void TearDown() override {
    ReleaseCapture();
    Form.reset();
    PumpPending();
    SetVirtualMonitors({});
  }
  // A floating toolbar of Count controls 22 pixels square at (X, Y).
  TZadEdevAzi* Floating(Integer Count, Integer X, Integer Y) {
    auto* tb = new TZadEdevAzi(Form.get());
    tb->SetName(u"Floater");
    for (Integer i = 0; i < Count; ++i) {
      auto* c = new TPanel(Form.get());
      c->SetBounds(0, 0, 22, 22);
      c->SetParent(tb);
    }
    tb->MakeFloating(X, Y, true);
    return tb;
  }
  // Presses at the window's client point, moves by (DX, DY) and releases.
  static void EdgeDrag(TFloatingWindow* W, TPoint At, Integer DX, Integer DY) {
    const TPoint s = W->ClientToScreen(At);
    testinput::MouseMove(s);
    testinput::MouseDown();
    testinput::MouseMove(TPoint{s.X + DX, s.Y + DY}, TShiftState{ssLeft});
    testinput::MouseUp();
  }
  std::unique_ptr<TForm> Form;
};

}  // namespace

TEST_F(FloatingWindowTest, MarginScalesWithTheMonitorsPixelsPerInch) {
  TZadEdevAzi* tb = Floating(3, 100, 100);
  TFloatingWindow* w = tb->FloatingWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->BorderWidth(), 2);
  EXPECT_EQ(w->BorderColor(), TColor(0x006D6D6D));
  EXPECT_EQ(w->Margin(), 3);
  EXPECT_EQ(w->Width(), tb->Width() + 6);
  EXPECT_EQ(w->Height(), tb->Height() + 6);
  EXPECT_EQ(tb->Left(), 3);
  EXPECT_EQ(tb->Top(), 3);
  // On the 144 pixels-per-inch monitor: Round(3 x 1.5) = 4 (halves to even).
  tb->SetToolBarFloating(TPoint{2200, 100});
  EXPECT_EQ(w->Left(), 2200);
  w->SetWindowSize();
  EXPECT_EQ(w->Margin(), 4);
  EXPECT_EQ(w->Width(), tb->Width() + 8);
  EXPECT_EQ(tb->Left(), 4);
  // A wider border widens the margin by its own scale.
  w->SetBorderWidth(5);
  EXPECT_EQ(w->Margin(), 9);
  EXPECT_EQ(w->Width(), tb->Width() + 18);
}

TEST_F(FloatingWindowTest, EdgeDragsChangeTheRowsAndKeepTheOppositeEdge) {
  TZadEdevAzi* tb = Floating(6, 300, 300);
  TFloatingWindow* w = tb->FloatingWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_GE(tb->GetMaxFloatingRows(), 3);
  EXPECT_EQ(tb->FloatingRows(), 1);

  // The top edge up: one row more, the bottom edge stays.
  Integer bottom = w->Top() + w->Height();
  EdgeDrag(w, TPoint{w->Width() / 2, 1}, 0, -8);
  EXPECT_EQ(tb->FloatingRows(), 2);
  EXPECT_EQ(w->Top() + w->Height(), bottom);
  EXPECT_FALSE(w->Resizing());

  // The right edge right: one row fewer again.
  EdgeDrag(w, TPoint{w->Width() - 2, w->Height() / 2}, 8, 0);
  EXPECT_EQ(tb->FloatingRows(), 1);

  // The left edge right: narrower, one row more, the right edge stays.
  Integer right = w->Left() + w->Width();
  EdgeDrag(w, TPoint{1, w->Height() / 2}, 8, 0);
  EXPECT_EQ(tb->FloatingRows(), 2);
  EXPECT_EQ(w->Left() + w->Width(), right);

  // The bottom edge up: one row fewer.
  bottom = w->Top() + w->Height();
  EdgeDrag(w, TPoint{w->Width() / 2, w->Height() - 2}, 0, -8);
  EXPECT_EQ(tb->FloatingRows(), 1);

  // A small move starts nothing (the edge itself is the reference: 2 + 2).
  EdgeDrag(w, TPoint{w->Width() - 2, w->Height() / 2}, -2, 0);
  EXPECT_EQ(tb->FloatingRows(), 1);
  // The window fits its toolbar after every step.
  EXPECT_EQ(w->Width(), tb->Width() + 2 * w->Margin());
  EXPECT_EQ(w->Height(), tb->Height() + 2 * w->Margin());
}

TEST_F(FloatingWindowTest, RowCountsOutOfRangeAreIgnored) {
  TZadEdevAzi* tb = Floating(4, 100, 100);
  const Integer most = tb->GetMaxFloatingRows();
  for (const Integer rows : {0, -3, most + 1, 2147483647}) {
    tb->SetFloatingRows(rows);
    EXPECT_EQ(tb->FloatingRows(), 1) << rows;
  }
  Integer h = 0, l = 0;
  EXPECT_FALSE(tb->CalcSizeForRows(0, h, l));
  EXPECT_FALSE(tb->CalcSizeForRows(most + 1, h, l));
  ASSERT_TRUE(tb->CalcSizeForRows(2, h, l));
  tb->SetFloatingRows(2);
  EXPECT_EQ(tb->FloatingRows(), 2);
  EXPECT_EQ(tb->Height(), h);
  EXPECT_EQ(tb->Width(), l);
}

TEST_F(FloatingWindowTest, ClosingTheWindowHidesTheToolBar) {
  TZadEdevAzi* tb = Floating(2, 100, 100);
  TFloatingWindow* w = tb->FloatingWindow();
  ASSERT_NE(w, nullptr);
  SendMessage(w->Handle(), WM_CLOSE, 0, 0);
  PumpPending();
  EXPECT_FALSE(tb->Visible());
  EXPECT_FALSE(w->Visible());
}

}  // namespace toolbar

namespace toolbar {

// The form frees the floating window before the toolbar, whose destructor
// saves its layout: the floating place stored while the window lived stays,
// not the toolbar's place inside the window it lost.
TEST_F(FloatingWindowTest, SaveAfterTheWindowWentKeepsTheStoredPlace) {
  TTempHome home;
  const String ini = String(home.Path().begin(), home.Path().end()) + u"/layout.ini";
  TZadEdevAzi* tb = Floating(3, 300, 200);
  tb->Persistence()->SetLocation(plIniFile);
  tb->Persistence()->SetKey(ini);
  tb->Persistence()->SetSection(u"Bars");
  tb->Persistence()->SetEnabled(true);
  ASSERT_NE(tb->FloatingWindow(), nullptr);
  const TPoint at{tb->FloatingWindow()->Left(), tb->FloatingWindow()->Top()};
  tb->SavePosition();
  // The form goes with everything on it; the toolbar saves once more.
  Form.reset();
  PumpPending();
  TMemIniFile stored(ini);
  EXPECT_EQ(stored.ReadInteger(u"Bars", u"Floater.Left", -1), at.X);
  EXPECT_EQ(stored.ReadInteger(u"Bars", u"Floater.Top", -1), at.Y);
  EXPECT_EQ(stored.ReadInteger(u"Bars", u"Floater.State", -1), Integer(tsFloating));
}

}  // namespace toolbar
