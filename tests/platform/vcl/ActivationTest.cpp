// Activation of top-level forms: the frame and the form hear of it in the
// system's order when a click, a focus call or another program moves it, and
// presses on the non-client parts a form answers reach it with their hit code.
#include <map>

#include "tests/platform/vcl/VclFixture.h"

namespace {

// A borderless form whose top 30 pixels are its caption; it logs activation and non-client presses.
class TActivationLogForm : public TForm {
 public:
  TActivationLogForm(TComponent* AOwner, std::string AName, Log& ALog) : TForm(AOwner), FName(std::move(AName)), FLog(ALog) {}
  std::map<HWND, std::string>* Names = nullptr;

 protected:
  void WndProc(TMessage& M) override {
    switch (M.Msg) {
      case WM_NCHITTEST: {
        const TPoint p = ScreenToClient(PointFromLParam(M.LParam));
        M.Result = p.Y < 30 ? HTCAPTION : HTCLIENT;
        return;
      }
      case WM_NCACTIVATE: FLog.push_back(FName + " ncactivate " + std::to_string(M.WParam)); break;
      case WM_ACTIVATE:
        FLog.push_back(FName + " activate " + std::to_string(LOWORD(M.WParam)) + " " + NameOf(HWND(M.LParam)));
        break;
      case WM_NCLBUTTONDOWN: FLog.push_back(FName + " nclbuttondown " + std::to_string(M.WParam)); break;
      case WM_NCLBUTTONDBLCLK: FLog.push_back(FName + " nclbuttondblclk " + std::to_string(M.WParam)); break;
      default: break;
    }
    TForm::WndProc(M);
  }

 private:
  std::string NameOf(HWND Wnd) const {
    if (Wnd == nullptr) return "none";
    auto it = Names != nullptr ? Names->find(Wnd) : std::map<HWND, std::string>::iterator();
    return Names != nullptr && it != Names->end() ? it->second : "other";
  }
  std::string FName;
  Log& FLog;
};

class Activation : public VclTest {
 protected:
  TActivationLogForm* NewLogForm(const std::string& Name, TPoint At) {
    auto f = std::make_unique<TActivationLogForm>(nullptr, Name, log);
    f->AfterConstruction();
    f->SetBorderStyle(bsNone);
    f->SetBounds(At.X, At.Y, 200, 150);
    f->Names = &names;
    f->OnActivate = [this, Name](TObject*) { log.push_back(Name + " OnActivate"); };
    f->OnDeactivate = [this, Name](TObject*) { log.push_back(Name + " OnDeactivate"); };
    auto* raw = f.get();
    Forms.push_back(std::move(f));
    raw->Show();
    names[raw->Handle()] = Name;
    return raw;
  }
  Log log;
  std::map<HWND, std::string> names;
};

TEST_F(Activation, MessagesComeInTheSystemsOrderAsActivationMoves) {
  TActivationLogForm* a = NewLogForm("A", {100, 100});
  TActivationLogForm* b = NewLogForm("B", {400, 100});
  a->SetFocus();
  ASSERT_EQ(GetActiveWindow(), a->Handle());
  log.clear();

  // A click in B: A's frame and A go inactive first, then B's frame and B, which learns it came by a click.
  testinput::Click(b, {50, 80});
  EXPECT_EQ(log, (Log{"A ncactivate 0", "A activate 0 B", "A OnDeactivate", "B ncactivate 1", "B activate 2 A",
                      "B OnActivate"}));
  EXPECT_TRUE(b->Active());
  EXPECT_FALSE(a->Active());

  // Activation by the program (no click) says WA_ACTIVE.
  log.clear();
  a->SetFocus();
  EXPECT_EQ(log, (Log{"B ncactivate 0", "B activate 0 A", "B OnDeactivate", "A ncactivate 1", "A activate 1 B",
                      "A OnActivate"}));

  // Another program takes the focus: A goes inactive towards no window of ours, and nothing has the focus.
  log.clear();
  testinput::ApplicationDeactivate();
  EXPECT_EQ(log, (Log{"A ncactivate 0", "A activate 0 none", "A OnDeactivate"}));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(a->Active());
  testinput::ApplicationDeactivate();  // nothing active: nothing to tell
  EXPECT_EQ(log.size(), 3u);

  // A press on A's caption brings the program back: A by a click, from no window of ours.
  log.clear();
  testinput::Click(a, {50, 10});
  EXPECT_EQ(log, (Log{"A ncactivate 1", "A activate 2 none", "A OnActivate", "A nclbuttondown 2"}));
  EXPECT_TRUE(a->Active());
}

TEST_F(Activation, NonClientPressesReachTheFormWithTheirHitCode) {
  TActivationLogForm* a = NewLogForm("A", {100, 100});
  a->SetFocus();
  log.clear();
  testinput::MouseMove(a->ClientToScreen({60, 12}));
  testinput::MouseDown();
  testinput::MouseUp();
  testinput::MouseDoubleClick();
  testinput::MouseUp();
  // The caption's double click maximised the form (the default handling), after the form saw it.
  EXPECT_EQ(log, (Log{"A nclbuttondown 2", "A nclbuttondblclk 2"}));
  EXPECT_EQ(a->WindowState(), wsMaximized);
  // The client area takes plain mouse messages.
  log.clear();
  a->SetWindowState(wsNormal);
  testinput::Click(a, {60, 100});
  EXPECT_TRUE(log.empty());
}

}  // namespace
