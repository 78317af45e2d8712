// Own message loops: a drag loop written with GetMessage, ended by the
// button's release, by Escape and by its window's destruction; nested loops
// and WM_QUIT; PeekMessage and TranslateMessage.
#include "platform/win/Hooks.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinError.h"
#include "tests/platform/vcl/VclFixture.h"

namespace {

// A control that runs a modal drag loop when pressed, as a toolbar does on its grip.
class TDragControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  Log Events;

 protected:
  void MouseDown(TMouseButton, TShiftState, Integer, Integer) override {
    const HWND h = Handle();
    SetCapture(h);
    MSG m;
    while (GetCapture() == h) {
      const BOOL r = GetMessage(&m, nullptr, 0, 0);
      if (r == -1) break;
      if (r == 0) {
        PostQuitMessage(int(m.wParam));
        Events.push_back("quit");
        break;
      }
      switch (m.message) {
        case WM_MOUSEMOVE:
          Events.push_back("move " + std::to_string(m.pt.X) + "," + std::to_string(m.pt.Y));
          break;
        case WM_LBUTTONUP:
          Events.push_back("release");
          ReleaseCapture();
          break;
        case WM_KEYDOWN:
          if (m.wParam == VK_ESCAPE) {
            Events.push_back("escape");
            ReleaseCapture();
          }
          break;
        default:
          TranslateMessage(&m);
          DispatchMessage(&m);
      }
    }
    Events.push_back("end");
  }
  void MouseMove(TShiftState, Integer, Integer) override { Events.push_back("plain move"); }
  void MouseUp(TMouseButton, TShiftState, Integer, Integer) override { Events.push_back("plain up"); }
};

class OwnLoop : public VclTest {
 protected:
  TDragControl* Grip(TForm* f) {
    auto* c = new TDragControl(f);
    c->SetParent(f);
    c->SetBounds(10, 10, 50, 20);
    return c;
  }
};

TEST_F(OwnLoop, DragLoopSeesTheMovesAndEndsOnReleaseOrEscape) {
  TForm* f = NewForm();
  TDragControl* grip = Grip(f);
  f->Show();
  const TPoint at = grip->ClientToScreen({5, 5});
  testinput::MouseMove(at);
  grip->Events.clear();
  testinput::Queue([&] {
    testinput::MouseMove({at.X + 30, at.Y});
    testinput::MouseMove({at.X + 40, at.Y + 2});
    testinput::MouseUp();
  });
  testinput::MouseDown();
  const std::string x1 = std::to_string(at.X + 30), x2 = std::to_string(at.X + 40);
  EXPECT_EQ(grip->Events, (Log{"move " + x1 + "," + std::to_string(at.Y), "move " + x2 + "," + std::to_string(at.Y + 2),
                               "release", "end"}));
  // Once the loop has ended, input goes to the control directly again.
  grip->Events.clear();
  testinput::MouseMove({at.X + 1, at.Y});
  EXPECT_EQ(grip->Events, (Log{"plain move"}));

  grip->Events.clear();
  testinput::Queue([&] { testinput::KeyPress(VK_ESCAPE); });
  testinput::MouseDown();
  EXPECT_EQ(grip->Events, (Log{"escape", "end"}));
  testinput::MouseUp();
  EXPECT_EQ(grip->Events, (Log{"escape", "end", "plain up"}));
}

TEST_F(OwnLoop, LoopOverAWindowEndsWhenTheWindowIsDestroyed) {
  TForm* f = NewForm();
  TDragControl* grip = Grip(f);
  f->Show();
  const HWND h = grip->Handle();
  SetCapture(h);
  testinput::Queue([&] { delete grip; });
  MSG m;
  int loops = 0;
  BOOL r = 0;
  SetLastError(0);
  while (GetCapture() == h && (r = GetMessage(&m, h, 0, 0)) > 0) ++loops;
  EXPECT_EQ(r, -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_NE(GetCapture(), h);

  // A hidden window alike; an unknown window fails at once.
  HWND hidden = AllocateHWnd([](TMessage&) {});
  testinput::Queue([&] { DeallocateHWnd(hidden); });
  EXPECT_EQ(GetMessage(&m, hidden, 0, 0), -1);
  EXPECT_EQ(GetMessage(&m, hidden, 0, 0), -1);
  EXPECT_EQ(GetMessage(nullptr, nullptr, 0, 0), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(PeekMessage(&m, hidden, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(OwnLoop, QuitEndsTheInnerLoopWhichPostsItAgainForTheOuterOne) {
  Log log;
  HWND w = AllocateHWnd([&](TMessage& msg) {
    if (msg.Msg != WM_USER) return;
    // The inner loop, run from a message the outer one dispatched.
    log.push_back("inner");
    PostQuitMessage(3);
    MSG m;
    while (GetMessage(&m, nullptr, 0, 0) > 0) DispatchMessage(&m);
    log.push_back("inner got quit " + std::to_string(m.wParam));
    PostQuitMessage(int(m.wParam));
  });
  PostMessage(w, WM_USER, 0, 0);
  MSG m;
  BOOL r;
  while ((r = GetMessage(&m, nullptr, 0, 0)) > 0) DispatchMessage(&m);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, WPARAM(3));
  EXPECT_EQ(log, (Log{"inner", "inner got quit 3"}));
  EXPECT_FALSE(TakeQuitMessage(nullptr));  // taken by the outer loop
  DeallocateHWnd(w);
}

TEST_F(OwnLoop, PeekMessageFiltersKeepsOrTakesAndTranslateTypesTheKeysText) {
  Log log;
  HWND a = AllocateHWnd([&](TMessage& msg) { log.push_back("a " + std::to_string(msg.Msg - WM_USER)); });
  HWND b = AllocateHWnd([&](TMessage& msg) { log.push_back("b " + std::to_string(msg.Msg - WM_USER)); });
  PostMessage(a, WM_USER + 1, 0, 0);
  PostMessage(b, WM_USER + 2, 0, 0);
  PostMessage(a, WM_USER + 3, 0, 0);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 2);
  ASSERT_TRUE(PeekMessage(&m, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  EXPECT_EQ(m.hwnd, a);
  EXPECT_FALSE(PeekMessage(&m, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  PumpPending();  // what is left goes to the windows in order
  EXPECT_EQ(log, (Log{"a 1", "b 2"}));

  TForm* f = NewForm();
  auto* grip = new TDragControl(f);
  grip->SetParent(f);
  f->Show();
  grip->SetFocus();
  testinput::Queue([] { testinput::KeyDownText('Q', u"q"); });
  ASSERT_EQ(GetMessage(&m, nullptr, 0, 0), 1);
  EXPECT_EQ(m.message, WM_KEYDOWN);
  EXPECT_EQ(m.hwnd, grip->Handle());
  EXPECT_TRUE(TranslateMessage(&m));
  EXPECT_FALSE(TranslateMessage(&m));  // once only
  MSG c;
  ASSERT_TRUE(PeekMessage(&c, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE));
  EXPECT_EQ(c.wParam, WPARAM(u'q'));
  EXPECT_EQ(c.hwnd, grip->Handle());
  DeallocateHWnd(a);
  DeallocateHWnd(b);
}

TEST_F(OwnLoop, GetMessageHooksSeeWhatTheLoopTakes) {
  Log log;
  HHOOK hook = SetWindowsHookEx(
      WH_GETMESSAGE,
      [&](int Code, WPARAM w, LPARAM l) {
        auto* msg = reinterpret_cast<MSG*>(l);
        log.push_back(std::to_string(msg->message - WM_USER) + (w == PM_REMOVE ? " taken" : " peeked"));
        if (msg->message == WM_USER + 2) msg->message = WM_USER + 9;
        return CallNextHookEx(nullptr, Code, w, l);
      },
      nullptr, 0);
  HWND a = AllocateHWnd([](TMessage&) {});
  PostMessage(a, WM_USER + 1, 0, 0);
  PostMessage(a, WM_USER + 2, 0, 0);
  MSG m;
  PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);
  GetMessage(&m, nullptr, 0, 0);
  GetMessage(&m, nullptr, 0, 0);
  EXPECT_EQ(m.message, WM_USER + 9);
  EXPECT_EQ(log, (Log{"1 peeked", "1 taken", "2 taken"}));
  UnhookWindowsHookEx(hook);
  DeallocateHWnd(a);
}

}  // namespace
