// The application's message loop: the switch that ends Run after the main
// form's first paint (start-up measurements rely on it).
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "platform/vcl/Timer.h"
#include "platform/win/MessageLoop.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

// A windowed and a windowless control that count their paints.
class TFirstPaintChild : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int Paints = 0;
  std::function<void()> OnFirstPaint;

 protected:
  void Paint() override {
    if (++Paints == 1 && OnFirstPaint) OnFirstPaint();
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(ClientRect());
  }
};

class TFirstPaintLabel : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    Canvas()->TextOut(0, 0, u"label");
  }
};

class TFirstPaintForm : public TForm {
 public:
  explicit TFirstPaintForm(TComponent* AOwner) : TForm(AOwner) {
    SetBorderStyle(bsSingle);
    SetBounds(40, 40, 300, 160);
    Child = new TFirstPaintChild(this);
    Child->SetParent(this);
    Child->SetBounds(10, 10, 80, 30);
    Label = new TFirstPaintLabel(this);
    Label->SetParent(this);
    Label->SetBounds(10, 60, 80, 20);
    OnPaint = [this](TObject*) { ++Paints; };
  }
  TFirstPaintChild* Child = nullptr;
  TFirstPaintLabel* Label = nullptr;
  int Paints = 0;
};

// Sets (or removes) the switch for one test and restores the absence after.
class TExitSwitch {
 public:
  explicit TExitSwitch(const char* Value) {
    if (Value != nullptr)
      setenv("RYX_EXIT_AFTER_FIRST_PAINT", Value, 1);
    else
      unsetenv("RYX_EXIT_AFTER_FIRST_PAINT");
  }
  ~TExitSwitch() { unsetenv("RYX_EXIT_AFTER_FIRST_PAINT"); }
};

// An application object of the test's own, so that its Terminate leaves the
// process's application running for later tests.
struct TRunFixture {
  TApplication App{nullptr};
  TFirstPaintForm* Form = nullptr;
  TTimer* Watch = nullptr;
  TRunFixture() {
    App.CreateForm(&Form);
    Watch = new TTimer(Form);
    Watch->SetInterval(20);
  }
};

TEST_F(VclTest, ExitAfterFirstPaintEndsRunOnceTheMainFormAndItsControlsPainted) {
  TExitSwitch on("1");
  // The moment is told on a descriptor the measuring program passes down.
  int tell[2];
  ASSERT_EQ(pipe2(tell, O_CLOEXEC | O_NONBLOCK), 0);
  setenv("RYX_FIRST_PAINT_FD", std::to_string(tell[1]).c_str(), 1);
  TRunFixture run;
  // A safety net: a switch that never fires would otherwise hang the suite.
  int ticks = 0;
  run.Watch->OnTimer = [&](TObject*) {
    if (++ticks * 20 >= 5000) run.App.Terminate();
  };
  // The control asks for a repaint right after its first one: the run ends
  // only once that paint has been done as well.
  HWND helper = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_USER) run.Form->Child->Invalidate();
  });
  run.Form->Child->OnFirstPaint = [&] { PostMessage(helper, WM_USER, 0, 0); };
  run.App.Run();
  unsetenv("RYX_FIRST_PAINT_FD");
  DeallocateHWnd(helper);
  char told[64] = {};
  const ssize_t n = read(tell[0], told, sizeof told - 1);
  close(tell[0]);
  close(tell[1]);
  EXPECT_EQ(std::string(told, n > 0 ? size_t(n) : 0), "first paint\n");
  EXPECT_LT(ticks * 20, 5000) << "Run did not end by itself";
  EXPECT_TRUE(run.App.Terminated());
  EXPECT_TRUE(run.Form->Visible());
  EXPECT_GE(run.Form->Paints, 1);
  EXPECT_EQ(run.Form->Child->Paints, 2);
  EXPECT_GE(run.Form->Label->Paints, 1);
}

TEST_F(VclTest, WithoutTheExitSwitchRunGoesOnAfterThePaint) {
  int tell[2];
  ASSERT_EQ(pipe2(tell, O_CLOEXEC | O_NONBLOCK), 0);
  setenv("RYX_FIRST_PAINT_FD", std::to_string(tell[1]).c_str(), 1);
  for (const char* value : {static_cast<const char*>(nullptr), "", "0", "yes"}) {
    SCOPED_TRACE(value == nullptr ? std::string("unset") : "'" + std::string(value) + "'");
    TExitSwitch sw(value);
    TRunFixture run;
    // Ten ticks after the first paint (about 200 ms) the loop must still run.
    int ticksAfterPaint = 0;
    int ticks = 0;
    std::optional<bool> stillRunning;
    run.Watch->OnTimer = [&](TObject*) {
      const bool painted = run.Form->Child->Paints > 0 && run.Form->Label->Paints > 0;
      if ((painted && ++ticksAfterPaint == 10) || ++ticks * 20 >= 5000) {
        stillRunning = !run.App.Terminated();
        run.App.Terminate();
      }
    };
    run.App.Run();
    EXPECT_EQ(stillRunning, std::optional<bool>(true));
    EXPECT_EQ(ticksAfterPaint, 10);
  }
  unsetenv("RYX_FIRST_PAINT_FD");
  char told[16];
  EXPECT_LT(read(tell[0], told, sizeof told), 0) << "nothing is told without the switch";
  close(tell[0]);
  close(tell[1]);
}

}  // namespace
