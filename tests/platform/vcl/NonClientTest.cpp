// Top-level windows the toolkit does not frame: hit-test answers of a
// borderless form lead to moves and sizes, the caption's double click
// maximises and restores, a child's sizing answer (a size grip) sizes the
// form, and the system commands and the application's minimise and restore.
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Monitors.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

// A borderless form that answers its own frame: corners before edges, then the caption band.
class THitForm : public TForm {
 public:
  using TForm::TForm;
  std::vector<WPARAM> Downs;

 protected:
  void WndProc(TMessage& M) override {
    if (M.Msg == WM_NCHITTEST) {
      const TPoint p = ScreenToClient(PointFromLParam(M.LParam));
      const bool l = p.X < 4, r = p.X >= Width() - 4, t = p.Y < 4, b = p.Y >= Height() - 4;
      const bool cl = p.X < 8, cr = p.X >= Width() - 8, ct = p.Y < 8, cb = p.Y >= Height() - 8;
      if ((l || t) && cl && ct) M.Result = HTTOPLEFT;
      else if ((r || t) && cr && ct) M.Result = HTTOPRIGHT;
      else if ((l || b) && cl && cb) M.Result = HTBOTTOMLEFT;
      else if ((r || b) && cr && cb) M.Result = HTBOTTOMRIGHT;
      else if (l) M.Result = HTLEFT;
      else if (r) M.Result = HTRIGHT;
      else if (t) M.Result = HTTOP;
      else if (b) M.Result = HTBOTTOM;
      else if (p.Y < 30) M.Result = HTCAPTION;
      else M.Result = HTCLIENT;
      return;
    }
    if (M.Msg == WM_NCLBUTTONDOWN) Downs.push_back(M.WParam);
    TForm::WndProc(M);
  }
};

// A panel with a size grip in its bottom-right corner.
class TGripPanel : public TPanel {
 public:
  using TPanel::TPanel;

 protected:
  void WndProc(TMessage& M) override {
    if (M.Msg == WM_NCHITTEST) {
      const TPoint p = ScreenToClient(PointFromLParam(M.LParam));
      if (p.X >= Width() - 16 && p.Y >= Height() - 16) {
        M.Result = HTBOTTOMRIGHT;
        return;
      }
    }
    TPanel::WndProc(M);
  }
};

class NonClient : public VclTest {
 protected:
  THitForm* NewHitForm() {
    auto f = std::make_unique<THitForm>(nullptr);
    f->AfterConstruction();
    f->SetBorderStyle(bsNone);
    f->SetBounds(100, 100, 300, 200);
    auto* raw = f.get();
    Forms.push_back(std::move(f));
    raw->Show();
    return raw;
  }
  static void Drag(TControl* Control, TPoint From, TPoint By) {
    const TPoint at = Control->ClientToScreen(From);
    testinput::MouseMove(at);
    testinput::MouseDown();
    testinput::MouseMove({at.X + By.X, at.Y + By.Y});
    testinput::MouseUp();
  }
  void TearDown() override {
    monitors_internal::SetVirtualMonitors({});
    VclTest::TearDown();
  }
};

TEST_F(NonClient, HitTestAnswersMoveOrSizeTheBorderlessForm) {
  struct TCase {
    TPoint From, By;
    LRESULT Hit;
    TRect Expected;
  };
  const TCase cases[] = {
      {{150, 15}, {40, 20}, HTCAPTION, Bounds(140, 120, 300, 200)},
      {{2, 100}, {-10, 0}, HTLEFT, Bounds(90, 100, 310, 200)},
      {{298, 100}, {20, 5}, HTRIGHT, Bounds(100, 100, 320, 200)},
      {{150, 2}, {0, -10}, HTTOP, Bounds(100, 90, 300, 210)},
      {{150, 198}, {0, 15}, HTBOTTOM, Bounds(100, 100, 300, 215)},
      {{2, 6}, {-5, -5}, HTTOPLEFT, Bounds(95, 95, 305, 205)},  // a corner before the left edge
      {{297, 2}, {5, -5}, HTTOPRIGHT, Bounds(100, 95, 305, 205)},
      {{6, 198}, {-5, 5}, HTBOTTOMLEFT, Bounds(95, 100, 305, 205)},
      {{298, 196}, {10, 10}, HTBOTTOMRIGHT, Bounds(100, 100, 310, 210)},
  };
  for (const TCase& c : cases) {
    THitForm* f = NewHitForm();
    Drag(f, c.From, c.By);
    EXPECT_EQ(f->BoundsRect(), c.Expected) << "hit " << c.Hit;
    ASSERT_EQ(f->Downs.size(), 1u);
    EXPECT_EQ(LRESULT(f->Downs[0]), c.Hit);
    f->Hide();
  }
  // The client area takes plain mouse messages and nothing moves.
  THitForm* f = NewHitForm();
  Log log;
  f->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { log.push_back("down"); };
  Drag(f, {150, 100}, {30, 30});
  EXPECT_EQ(f->BoundsRect(), Bounds(100, 100, 300, 200));
  EXPECT_EQ(log, (Log{"down"}));
  EXPECT_TRUE(f->Downs.empty());
  // Sizing from the left keeps the right edge where the constraints refuse more.
  f->Constraints()->SetMinWidth(280);
  Drag(f, {2, 100}, {50, 0});
  EXPECT_EQ(f->BoundsRect(), Bounds(120, 100, 280, 200));
}

TEST_F(NonClient, CaptionDoubleClickMaximisesToTheWorkAreaAndRestores) {
  monitors_internal::SetVirtualMonitors({{u"A", Bounds(0, 0, 1000, 700), Bounds(0, 0, 1000, 660), 96, true}});
  THitForm* f = NewHitForm();
  testinput::MouseMove(f->ClientToScreen({150, 15}));
  testinput::MouseDown();
  testinput::MouseUp();
  testinput::MouseDoubleClick();
  testinput::MouseUp();
  EXPECT_EQ(f->WindowState(), wsMaximized);
  EXPECT_EQ(f->BoundsRect(), Bounds(0, 0, 1000, 660));
  testinput::MouseMove(f->ClientToScreen({150, 15}));
  testinput::MouseDown();
  testinput::MouseUp();
  testinput::MouseDoubleClick();
  testinput::MouseUp();
  EXPECT_EQ(f->WindowState(), wsNormal);
  EXPECT_EQ(f->BoundsRect(), Bounds(100, 100, 300, 200));
}

TEST_F(NonClient, AChildsSizeGripSizesItsForm) {
  TForm* f = NewForm(300, 200, bsSizeable);
  auto* bar = new TGripPanel(f);
  bar->SetParent(f);
  bar->SetAlign(alBottom);
  bar->SetHeight(20);
  f->Show();
  const TRect before = f->BoundsRect();
  Drag(bar, {bar->Width() - 4, 16}, {25, 15});
  EXPECT_EQ(f->Width(), before.Width() + 25);
  EXPECT_EQ(f->Height(), before.Height() + 15);
  EXPECT_EQ(f->Left(), before.Left);
  EXPECT_EQ(bar->Width(), f->ClientWidth());  // the bar follows its form
}

TEST_F(NonClient, SystemCommandsAndTheApplicationChangeTheWindowState) {
  TForm* f = NewForm();
  f->Show();
  SendMessage(f->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(f->WindowState(), wsMinimized);
  SendMessage(f->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(f->WindowState(), wsNormal);
  EXPECT_EQ(f->BoundsRect(), Bounds(100, 100, 300, 200));

  Log log;
  Application->OnMinimize = [&](TObject*) { log.push_back("minimize"); };
  Application->OnRestore = [&](TObject*) { log.push_back("restore"); };
  Application->Minimize();
  Application->Restore();
  EXPECT_EQ(log, (Log{"minimize", "restore"}));
  Application->OnMinimize = nullptr;
  Application->OnRestore = nullptr;
  bool closed = false;
  f->OnClose = [&](TObject*, TCloseAction& Action) {
    closed = true;
    Action = caHide;
  };
  SendMessage(f->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(closed);
}

}  // namespace
