// A top-level form's window is asked before its bounds change
// (WM_WINDOWPOSCHANGING, whose handler may adjust or veto), told after
// (WM_WINDOWPOSCHANGED), and asked for its limits (WM_GETMINMAXINFO) when it
// is maximised or sized by the pointer.
#include <functional>

#include "platform/vcl/Monitors.h"
#include "platform/vcl/WindowRegion.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

// A form whose position and min-max answers a test decides; borderless ones size from an 8-pixel edge.
class TPlacedForm : public TForm {
 public:
  using TForm::TForm;
  std::function<void(WINDOWPOS&)> OnChanging;
  std::function<void(MINMAXINFO&)> OnMinMax;
  std::vector<WINDOWPOS> Changing, Changed;
  std::vector<MINMAXINFO> MinMaxDefaults;

 protected:
  void WndProc(TMessage& M) override {
    if (M.Msg == WM_NCHITTEST && BorderStyle() == bsNone) {
      const TPoint p = ScreenToClient(PointFromLParam(M.LParam));
      if (p.X < 8) M.Result = HTLEFT;
      else if (p.X >= Width() - 8 && p.Y >= Height() - 8) M.Result = HTBOTTOMRIGHT;
      else M.Result = HTCLIENT;
      return;
    }
    if (M.Msg == WM_WINDOWPOSCHANGING) {
      auto* pos = reinterpret_cast<WINDOWPOS*>(M.LParam);
      if (OnChanging) OnChanging(*pos);
      Changing.push_back(*pos);
    }
    if (M.Msg == WM_WINDOWPOSCHANGED) Changed.push_back(*reinterpret_cast<WINDOWPOS*>(M.LParam));
    TForm::WndProc(M);  // the form's answer (its constraints) first, as a handler after the inherited one
    if (M.Msg == WM_GETMINMAXINFO) {
      auto* info = reinterpret_cast<MINMAXINFO*>(M.LParam);
      MinMaxDefaults.push_back(*info);
      if (OnMinMax) OnMinMax(*info);
    }
  }
};

class WindowPosition : public VclTest {
 protected:
  void SetUp() override {
    VclTest::SetUp();
    // A primary monitor with a panel at its bottom, and a second one to its right with a panel at its top.
    monitors_internal::SetVirtualMonitors({{u"A", Bounds(0, 0, 1000, 700), Bounds(0, 0, 1000, 660), 96, true},
                                           {u"B", Bounds(1000, 0, 800, 600), Bounds(1000, 40, 800, 560), 96, false}});
  }
  void TearDown() override {
    monitors_internal::SetVirtualMonitors({});
    VclTest::TearDown();
  }
  TPlacedForm* NewPlacedForm(TFormBorderStyle Style, TRect At) {
    auto f = std::make_unique<TPlacedForm>(nullptr);
    f->AfterConstruction();
    f->SetBorderStyle(Style);
    f->SetBounds(At.Left, At.Top, At.Width(), At.Height());
    auto* raw = f.get();
    Forms.push_back(std::move(f));
    raw->Show();
    raw->Changing.clear();
    raw->Changed.clear();
    raw->MinMaxDefaults.clear();
    return raw;
  }
  static void Drag(TControl* Control, TPoint From, TPoint By) {
    const TPoint at = Control->ClientToScreen(From);
    testinput::MouseMove(at);
    testinput::MouseDown();
    testinput::MouseMove({at.X + By.X, at.Y + By.Y});
    testinput::MouseUp();
  }
};

TEST_F(WindowPosition, ChangingMayAdjustOrVetoAndChangedTellsWhatWasTaken) {
  struct TCase {
    const char* Name;
    std::function<void(WINDOWPOS&)> Handler;
    TRect Expected;
  };
  const TCase cases[] = {
      {"untouched", nullptr, Bounds(150, 120, 320, 210)},
      {"keeps its place", [](WINDOWPOS& p) { p.flags |= SWP_NOMOVE; }, Bounds(100, 100, 320, 210)},
      {"keeps its size", [](WINDOWPOS& p) { p.flags |= SWP_NOSIZE; }, Bounds(150, 120, 300, 200)},
      {"vetoed", [](WINDOWPOS& p) { p.flags |= SWP_NOMOVE | SWP_NOSIZE; }, Bounds(100, 100, 300, 200)},
      {"snapped to hundreds", [](WINDOWPOS& p) {
         p.x = p.x / 100 * 100;
         p.cx = p.cx / 100 * 100;
       },
       Bounds(100, 120, 300, 210)},
  };
  for (const TCase& c : cases) {
    TPlacedForm* f = NewPlacedForm(bsNone, Bounds(100, 100, 300, 200));
    f->OnChanging = c.Handler;
    f->SetBounds(150, 120, 320, 210);
    EXPECT_EQ(f->BoundsRect(), c.Expected) << c.Name;
    ASSERT_EQ(f->Changing.size(), 1u) << c.Name;
    EXPECT_EQ(f->Changing[0].hwnd, f->Handle());
    EXPECT_EQ(f->Changing[0].flags & SWP_STATECHANGED, 0u) << c.Name;
    ASSERT_EQ(f->Changed.size(), 1u) << c.Name;
    const WINDOWPOS& done = f->Changed[0];
    EXPECT_EQ(Bounds(done.x, done.y, done.cx, done.cy), c.Expected) << c.Name;
    f->Hide();
  }
  // Nothing to change: nothing is asked; the constraints still bind what a handler asks for.
  TPlacedForm* f = NewPlacedForm(bsNone, Bounds(100, 100, 300, 200));
  f->SetBounds(100, 100, 300, 200);
  EXPECT_TRUE(f->Changing.empty());
  f->Constraints()->SetMaxWidth(310);
  f->Changed.clear();
  f->OnChanging = [](WINDOWPOS& p) { p.cx = 500; };
  f->SetBounds(100, 100, 305, 200);
  EXPECT_EQ(f->Width(), 310);
  ASSERT_FALSE(f->Changed.empty());
  EXPECT_EQ(f->Changed.back().cx, 310);
}

TEST_F(WindowPosition, StateChangesAreAnnouncedWithTheirFlag) {
  TPlacedForm* f = NewPlacedForm(bsSizeable, Bounds(100, 100, 300, 200));
  SendMessage(f->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_EQ(f->Changing.size(), 1u);
  EXPECT_NE(f->Changing[0].flags & SWP_STATECHANGED, 0u);
  ASSERT_EQ(f->Changed.size(), 1u);
  EXPECT_NE(f->Changed[0].flags & SWP_STATECHANGED, 0u);
  // Minimising moves nothing here but is still told.
  f->Changing.clear();
  SendMessage(f->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_EQ(f->Changing.size(), 1u);
  EXPECT_EQ(f->Changing[0].flags & (SWP_STATECHANGED | SWP_NOMOVE | SWP_NOSIZE),
            SWP_STATECHANGED | SWP_NOMOVE | SWP_NOSIZE);
  // Restoring is told as well.
  f->Changing.clear();
  SendMessage(f->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(f->WindowState(), wsNormal);
  ASSERT_EQ(f->Changing.size(), 1u);
  EXPECT_NE(f->Changing[0].flags & SWP_STATECHANGED, 0u);
}

TEST_F(WindowPosition, MaximisingTakesTheMonitorsWorkAreaAsTheFormAnswersIt) {
  struct TCase {
    const char* Name;
    TRect Normal;
    std::function<void(MINMAXINFO&)> Answer;
    TRect Expected;
  };
  const TCase cases[] = {
      {"primary", Bounds(100, 100, 300, 200), nullptr, Bounds(0, 0, 1000, 660)},
      {"second monitor", Bounds(1200, 100, 300, 200), nullptr, Bounds(1000, 40, 800, 560)},
      {"own size and place", Bounds(1200, 100, 300, 200),
       [](MINMAXINFO& i) {
         i.ptMaxPosition = TPoint{10, 50};
         i.ptMaxSize = TPoint{600, 400};
       },
       Bounds(1010, 50, 600, 400)},
      {"tracking size binds", Bounds(100, 100, 300, 200), [](MINMAXINFO& i) { i.ptMaxTrackSize = TPoint{700, 500}; },
       Bounds(0, 0, 700, 500)},
  };
  for (const TCase& c : cases) {
    TPlacedForm* f = NewPlacedForm(bsNone, c.Normal);
    f->OnMinMax = c.Answer;
    f->SetWindowState(wsMaximized);
    EXPECT_EQ(f->BoundsRect(), c.Expected) << c.Name;
    ASSERT_FALSE(f->MinMaxDefaults.empty()) << c.Name;
    f->SetWindowState(wsNormal);
    EXPECT_EQ(f->BoundsRect(), c.Normal) << c.Name;
    f->Hide();
  }
  // The defaults the form is asked with: its monitor's work area, the position relative to that monitor.
  TPlacedForm* f = NewPlacedForm(bsNone, Bounds(1200, 100, 300, 200));
  f->SetWindowState(wsMaximized);
  ASSERT_FALSE(f->MinMaxDefaults.empty());
  const MINMAXINFO& d = f->MinMaxDefaults.front();
  EXPECT_EQ(d.ptMaxPosition, (TPoint{0, 40}));
  EXPECT_EQ(d.ptMaxSize, (TPoint{800, 560}));
  EXPECT_EQ(d.ptMinTrackSize, (TPoint{0, 0}));  // a borderless form has no frame
}

TEST_F(WindowPosition, SizingByThePointerStaysInsideTheTrackingSizes) {
  TPlacedForm* f = NewPlacedForm(bsNone, Bounds(100, 100, 300, 200));
  f->OnMinMax = [](MINMAXINFO& i) {
    i.ptMinTrackSize = TPoint{250, 150};
    i.ptMaxTrackSize = TPoint{400, 260};
  };
  Drag(f, {296, 196}, {-100, -100});  // the bottom-right corner, far inwards
  EXPECT_EQ(f->BoundsRect(), Bounds(100, 100, 250, 150));
  Drag(f, {246, 146}, {300, 300});  // and far outwards
  EXPECT_EQ(f->BoundsRect(), Bounds(100, 100, 400, 260));
  Drag(f, {2, 100}, {200, 0});  // the left edge: the right edge stays
  EXPECT_EQ(f->BoundsRect(), Bounds(250, 100, 250, 260));
  // The program may still place a borderless pop-up outside them, as the system lets it.
  f->SetBounds(250, 100, 100, 100);
  EXPECT_EQ(f->BoundsRect(), Bounds(250, 100, 100, 100));
}

TEST_F(WindowPosition, SizeableFormsKeepTheirTrackingSizesEvenWhenTheProgramSizesThem) {
  TPlacedForm* f = NewPlacedForm(bsSizeable, Bounds(100, 100, 300, 200));
  f->OnMinMax = [](MINMAXINFO& i) { i.ptMinTrackSize = TPoint{250, 150}; };
  f->SetBounds(100, 100, 100, 100);
  EXPECT_EQ(f->BoundsRect(), Bounds(100, 100, 250, 150));
  // The form's own answer: its constraints are its tracking sizes.
  f->OnMinMax = nullptr;
  f->Constraints()->SetMinWidth(200);
  f->MinMaxDefaults.clear();
  f->SetBounds(100, 100, 280, 180);
  ASSERT_FALSE(f->MinMaxDefaults.empty());
  EXPECT_EQ(f->MinMaxDefaults.back().ptMinTrackSize.X, 200);
}

}  // namespace
