// The ribbon form as a window: its hit tests, the drop-at-top maximize
// (only after the user's own move), the vertical stretch by a quick second
// click on the edge within the double-click time, the maximized size on
// virtual monitors, the ribbon collapsing below 300 pixels, and the glass
// branches with composition switched on.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "foundation/gdiplus/GdiplusBase.h"
#include "platform/rtl/Registry.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Input.h"
#include "platform/testing/Pump.h"
#include "platform/testing/TempHome.h"
#include "platform/testing/VirtualClock.h"
#include "platform/theme/UxTheme.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Monitors.h"
#include "platform/vcl/SystemMenu.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"
#include "ribbon/AdvPage.h"
#include "ribbon/ZadEdevAziForm.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/AdvToolBarLayout.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {
namespace {

class RibbonForm : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    InitApplication();
    gdiplus::InitializeGdiplusUnit();
    RegisterThemeModules();
    toolbar::InitializeToolBarShared();  // the registered window messages
    toolbar::SetToolBarTextMeasure([](TCanvas*, const String& Text) { return Integer(Text.size()) * 7; });
    monitors_internal::SetVirtualMonitors({
        {u"main", TRect{0, 0, 1600, 1000}, TRect{0, 0, 1600, 960}, 96, true},
        {u"side", TRect{1600, 0, 2880, 1024}, TRect{1600, 40, 2880, 1024}, 96, false},
    });
  }
  void TearDown() override {
    Form.reset();
    PumpPending();
    SetDesktopCompositionForTest(false);
    monitors_internal::SetVirtualMonitors({});
    toolbar::SetToolBarTextMeasure(nullptr);
  }
  void Make(bool CreateNew = false) {
    Form = CreateNew ? std::make_unique<TZadEdevAziForm>(nullptr, 0) : std::make_unique<TZadEdevAziForm>(nullptr);
    Form->AfterConstruction();
    Form->SetBorderStyle(bsSingle);
    Form->SetBounds(200, 200, 600, 400);
  }
  LRESULT HitAt(TPoint Client) {
    const TPoint s = Form->ClientToScreen(Client);
    return Form->Perform(WM_NCHITTEST, 0, PointToLParam(s));
  }
  TTempHome Home;
  std::unique_ptr<TZadEdevAziForm> Form;
};

TEST_F(RibbonForm, NonSizeableFormAnswersItsResizeEdges) {
  Make();
  Form->Show();
  PumpPending();
  EXPECT_EQ(HitAt(TPoint{2, 2}), HTTOPLEFT);
  EXPECT_EQ(HitAt(TPoint{25, 0}), HTTOP);
  EXPECT_EQ(HitAt(TPoint{300, 200}), HTCLIENT);
  EXPECT_EQ(HitAt(TPoint{Form->Width() - 5, 200}), HTRIGHT);
  EXPECT_EQ(HitAt(TPoint{Form->Width() - 5, Form->Height() - 5}), HTBOTTOMRIGHT);
  // A sizeable form keeps the system's answer.
  Form->SetBorderStyle(bsSizeable);
  TForm plain(nullptr);
  plain.AfterConstruction();
  plain.SetBorderStyle(bsSizeable);
  plain.SetBounds(Form->Left(), Form->Top(), Form->Width(), Form->Height());
  plain.Show();
  PumpPending();
  for (TPoint p : {TPoint{2, 2}, TPoint{25, 0}, TPoint{300, 200}}) {
    EXPECT_EQ(HitAt(p), plain.Perform(WM_NCHITTEST, 0, PointToLParam(plain.ClientToScreen(p))));
  }
}

TEST_F(RibbonForm, ProgrammaticMoveNearTheTopDoesNotMaximize) {
  Make();
  Form->SetSubclassAsRibbon(false);
  Form->Show();
  PumpPending();
  ASSERT_TRUE(Form->WinArrange());
  testinput::MouseMove(Form.get(), TPoint{50, 10});
  Form->SetBounds(200, 5, 600, 400);
  PumpPending();
  EXPECT_EQ(Form->WindowState(), wsNormal);
  EXPECT_EQ(Form->Top(), 5);
}

TEST_F(RibbonForm, UsersMoveDroppedAtTheTopMaximizes) {
  TVirtualClock clock;
  Make();
  Form->SetSubclassAsRibbon(false);
  Form->Show();
  PumpPending();
  testinput::MouseMove(Form.get(), TPoint{50, 10});
  testinput::MouseDown(mbLeft);
  Form->Perform(WM_SYSCOMMAND, SC_MOVE | WPARAM(HTCAPTION), 0);
  // The form follows the pointer up to 5 pixels below the work area's top.
  const TPoint at = Form->ClientToScreen(TPoint{50, 10});
  testinput::MouseMove(TPoint{at.X, at.Y - 195});
  testinput::MouseUp(mbLeft);
  ASSERT_LT(Form->Top(), 20);
  EXPECT_TRUE(AdvanceUntil(clock, [&] { return Form->WindowState() == wsMaximized; }, 1000));
}

TEST_F(RibbonForm, CreateNewOrTheSettingOffNeverMaximizesOnDrop) {
  Make(true);
  EXPECT_FALSE(Form->WinArrange());
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"Control Panel\\Desktop", true));
    reg.WriteString(u"WindowArrangementActive", u"0");
  }
  Make();
  EXPECT_FALSE(Form->WinArrange());
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"Control Panel\\Desktop", true));
    reg.WriteString(u"WindowArrangementActive", u"1");
  }
  Make();
  EXPECT_TRUE(Form->WinArrange());
}

TEST_F(RibbonForm, QuickSecondEdgeClickStretchesWithinTheDoubleClickTime) {
  TVirtualClock clock;
  Make();
  Form->Show();
  PumpPending();
  auto edgeClick = [&] {
    Form->Perform(WM_NCLBUTTONDOWN, WPARAM(HTTOP), PointToLParam(Form->ClientToScreen(TPoint{100, 1})));
  };
  const UINT interval = GetDoubleClickTime();
  edgeClick();
  clock.Advance(interval + 1);  // too slow: a new first click
  edgeClick();
  EXPECT_EQ(Form->Height(), 400);
  clock.Advance(interval / 2);
  edgeClick();
  EXPECT_EQ(Form->Top(), 0);
  EXPECT_EQ(Form->Height(), 960);  // the work area's height
  EXPECT_TRUE(Form->DblClickMax());
  clock.Advance(3000);
  edgeClick();
  clock.Advance(10);
  edgeClick();
  EXPECT_EQ(Form->Top(), 200);
  EXPECT_EQ(Form->Height(), 400);
  EXPECT_FALSE(Form->DblClickMax());
}

TEST_F(RibbonForm, MaximizedSizeComesFromTheNearestMonitor) {
  Make();
  Form->SetBounds(1700, 100, 600, 400);
  Form->Show();
  PumpPending();
  MINMAXINFO info;
  info.ptMaxSize = TPoint{1280, 984};
  Form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMaxPosition, (TPoint{0, 40}));
  EXPECT_EQ(info.ptMaxSize, (TPoint{1280, 984}));
}

TEST_F(RibbonForm, RibbonCollapsesBelow300AndExpandsAbove) {
  Make();
  auto* pager = new TZadEdevAziPager(Form.get());
  pager->SetParent(Form.get());
  pager->AddAdvPage(u"One");
  pager->Loaded();
  Form->Show();
  PumpPending();
  ASSERT_FALSE(pager->HideState());
  const Integer full = pager->Height();
  // Too narrow a form keeps only the pager's caption row (the hide state);
  // the ribbon's own minimised state is another matter and stays as it was.
  Form->SetBounds(200, 200, 299, 400);
  EXPECT_TRUE(pager->HideState());
  EXPECT_EQ(pager->Height(), pager->Caption()->Height());
  EXPECT_TRUE(pager->Expanded());
  Form->SetBounds(200, 200, 300, 400);
  EXPECT_TRUE(pager->HideState());  // exactly 300 keeps the state
  Form->SetBounds(200, 200, 301, 400);
  EXPECT_FALSE(pager->HideState());
  EXPECT_EQ(pager->Height(), full);
  Form->SetBounds(200, 200, 300, 400);
  EXPECT_FALSE(pager->HideState());
}

class GlassRibbonForm : public RibbonForm {
 protected:
  void SetUp() override {
    RibbonForm::SetUp();
    SetDesktopCompositionForTest(true);
  }
};

TEST_F(GlassRibbonForm, GlassFrameCalcSizeKeepsTheTop) {
  Make();
  ASSERT_TRUE(Form->IsAeroVista());
  Form->Show();
  PumpPending();
  NCCALCSIZE_PARAMS p;
  p.rgrc[0] = TRect{100, 50, 500, 350};
  Form->Perform(WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&p));
  // UpdateGlassState made the form sizeable for glass.
  const Integer cx = GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(p.rgrc[0], RibbonNCCalcSize(TRect{100, 50, 500, 350}, Form->BorderStyle(), false, false, cx));
  EXPECT_EQ(p.rgrc[0].Top, 50);
}

TEST_F(GlassRibbonForm, TurningGlassOnNeverMinimizes) {
  SetDesktopCompositionForTest(false);
  Make();
  Form->Show();
  PumpPending();
  ASSERT_FALSE(Form->IsAeroVista());
  std::vector<TWindowState> states;
  auto inner = Form->WindowProc;
  Form->WindowProc = [&](TMessage& M) {
    states.push_back(Form->WindowState());
    inner(M);
  };
  SetDesktopCompositionForTest(true);
  Form->Perform(WM_DWMCOMPOSITIONCHANGED, 0, 0);
  PumpPending();
  Form->WindowProc = inner;
  EXPECT_TRUE(Form->IsAeroVista());
  EXPECT_EQ(Form->WindowState(), wsNormal);
  for (TWindowState s : states) EXPECT_NE(s, wsMinimized);
}

TEST_F(GlassRibbonForm, ContextMenuRefreshActsOnTheMenuWithoutInput) {
  Make();
  Form->Show();
  PumpPending();
  Form->SetWindowState(wsMaximized);
  PumpPending();
  HMENU menu = GetSystemMenu(Form->Handle(), FALSE);
  ASSERT_NE(menu, nullptr);
  // Spoil the items, then ask for the refresh.
  EnableMenuItem(menu, UINT(SC_RESTORE), MF_GRAYED);
  EnableMenuItem(menu, UINT(SC_MAXIMIZE), MF_ENABLED);
  TPoint before;
  GetCursorPos(&before);
  Form->Perform(toolbar::WM_TBFUPDATECONTEXTMENU, 0, 0);
  TPoint after;
  GetCursorPos(&after);
  EXPECT_EQ(before, after);  // no pointer moved, no click made
  EXPECT_EQ(EnableMenuItem(menu, UINT(SC_RESTORE), MF_ENABLED), BOOL(MF_ENABLED));
  EXPECT_EQ(EnableMenuItem(menu, UINT(SC_MAXIMIZE), MF_GRAYED), BOOL(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(menu, UINT(SC_MOVE), MF_GRAYED), BOOL(MF_GRAYED));
}

// A focus message that reaches the form while it is being made is put off
// by posting it again; the form keeps refusing it as long as it is not
// made, so the re-posts stop at their limit and the queue drains. Once
// made, focus is taken at once.
TEST_F(GlassRibbonForm, FocusPutOffWhileBeingMadeIsRepostedABoundedNumberOfTimes) {
  Form = std::make_unique<TZadEdevAziForm>(nullptr);  // AfterConstruction still to come
  ASSERT_TRUE(Form->IsAeroVista());
  const HWND h = Form->Handle();
  int arrived = 0;
  auto inner = Form->WindowProc;
  Form->WindowProc = [&](TMessage& M) {
    if (M.Msg == WM_SETFOCUS) ++arrived;
    inner(M);
  };
  auto queued = [&] {
    MSG m;
    return PeekMessage(&m, h, WM_SETFOCUS, WM_SETFOCUS, PM_NOREMOVE) != 0;
  };
  PostMessage(h, WM_SETFOCUS, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !queued(); })) << "the re-posts never end";
  EXPECT_EQ(arrived, 1 + TZadEdevAziForm::FocusRepostLimit);
  PumpPending();
  EXPECT_FALSE(queued());
  EXPECT_EQ(arrived, 1 + TZadEdevAziForm::FocusRepostLimit);

  // A second focus message finds the limit used up: not put off again.
  PostMessage(h, WM_SETFOCUS, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !queued(); }));
  EXPECT_EQ(arrived, 2 + TZadEdevAziForm::FocusRepostLimit);

  Form->AfterConstruction();
  Form->WindowProc = inner;
  PumpPending();
  EXPECT_FALSE(queued());
}

// The re-posts start only while the form is being made: a made form,
// even a hidden one, takes its focus messages at once.
TEST_F(GlassRibbonForm, MadeFormNeverPutsOffFocus) {
  Make();
  const HWND h = Form->Handle();
  int arrived = 0;
  auto inner = Form->WindowProc;
  Form->WindowProc = [&](TMessage& M) {
    if (M.Msg == WM_SETFOCUS) ++arrived;
    inner(M);
  };
  PostMessage(h, WM_SETFOCUS, 0, 0);
  PumpPending();
  EXPECT_EQ(arrived, 1);
  MSG m;
  EXPECT_EQ(PeekMessage(&m, h, WM_SETFOCUS, WM_SETFOCUS, PM_NOREMOVE), 0);
  Form->WindowProc = inner;
}

TEST_F(GlassRibbonForm, ActivationExtendsTheFrameUnderCaptionAndTabs) {
  Make();
  auto* pager = new TZadEdevAziPager(Form.get());
  pager->SetParent(Form.get());
  pager->AddAdvPage(u"One");
  pager->Loaded();
  Form->Show();
  PumpPending();
  Form->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
  const Integer c = pager->ScaledPagerCaptionHeight();
  EXPECT_EQ(Form->GlassFrameTop(), RibbonGlassTopMargin(Form->GetGlassTabHeight(), c, false, false));
}

}  // namespace
}  // namespace ribbon
