#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/win/MessageLoop.h"

namespace {

constexpr UINT WM_PROBE = WM_USER + 1;

// A hidden window that records what reaches it.
struct TProbeWindow {
  std::vector<TMessage> Received;
  std::function<void(TMessage&)> OnMessage;
  HWND Handle = AllocateHWnd([this](TMessage& m) {
    Received.push_back(m);
    if (OnMessage) OnMessage(m);
  });
  ~TProbeWindow() { DeallocateHWnd(Handle); }
};

TEST(MessageLoop, ManySendersLoseNothingAndKeepTheirOrder) {
  constexpr int kSenders = 8;
  constexpr int kPerSender = 4000;
  std::vector<int> next(kSenders, 0);
  int outOfOrder = 0;
  int total = 0;
  TProbeWindow window;
  window.OnMessage = [&](TMessage& m) {
    const auto sender = static_cast<std::size_t>(m.WParam);
    if (m.LParam != next[sender]) ++outOfOrder;
    next[sender] = static_cast<int>(m.LParam) + 1;
    ++total;
  };
  std::vector<std::thread> senders;
  for (int s = 0; s < kSenders; ++s)
    senders.emplace_back([s, h = window.Handle] {
      for (int i = 0; i < kPerSender; ++i) ASSERT_TRUE(PostMessage(h, WM_PROBE, WPARAM(s), i));
    });
  EXPECT_TRUE(PumpUntil([&] { return total == kSenders * kPerSender; }));
  for (auto& t : senders) t.join();
  PumpPending();
  EXPECT_EQ(total, kSenders * kPerSender);
  EXPECT_EQ(outOfOrder, 0);
}

// Payloads are heap copies: each must be freed exactly once, by the receiver
// or by the loop when the message is dropped (ASan reports leaks and double frees).
std::atomic<int> gDisposed{0};
void DisposeText(WPARAM w, LPARAM) {
  delete reinterpret_cast<String*>(w);
  ++gDisposed;
}

TEST(MessageLoop, NothingIsDeliveredAfterDeallocateAndPayloadsAreFreedOnce) {
  gDisposed = 0;
  std::atomic<int> refused{0};
  std::atomic<bool> gone{false};
  int delivered = 0;
  int deliveredAfterDeallocate = 0;
  HWND wnd = AllocateHWnd([&](TMessage& m) {
    if (gone) ++deliveredAfterDeallocate;
    delete reinterpret_cast<String*>(m.WParam);
    ++delivered;
  });
  constexpr int kSenders = 4;
  constexpr int kPerSender = 3000;
  std::vector<std::thread> senders;
  for (int s = 0; s < kSenders; ++s)
    senders.emplace_back([&, wnd] {
      for (int i = 0; i < kPerSender; ++i)
        if (!PostMessage(wnd, WM_PROBE, WPARAM(new String(u"payload")), 0, DisposeText)) ++refused;
    });
  PumpUntil([&] { return delivered > 500; });
  DeallocateHWnd(wnd);
  gone = true;
  for (auto& t : senders) t.join();
  PumpPending();
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_EQ(deliveredAfterDeallocate, 0);
  EXPECT_GT(delivered, 0);
  // Every message was delivered, dropped from the queue, or refused at posting.
  EXPECT_EQ(delivered + gDisposed.load(), kSenders * kPerSender);
  EXPECT_LE(refused.load(), gDisposed.load());
}

TEST(MessageLoop, PostingToBadHandlesFailsQuietly) {
  gDisposed = 0;
  EXPECT_FALSE(PostMessage(nullptr, WM_PROBE, 0, 0));
  EXPECT_FALSE(PostMessage(reinterpret_cast<HWND>(0x1234), WM_PROBE, 0, 0));
  HWND wnd = AllocateHWnd([](TMessage&) {});
  DeallocateHWnd(wnd);
  DeallocateHWnd(wnd);  // twice: ignored
  EXPECT_FALSE(PostMessage(wnd, WM_PROBE, WPARAM(new String(u"x")), 0, DisposeText));
  EXPECT_EQ(gDisposed.load(), 1);
  EXPECT_EQ(SendMessage(wnd, WM_PROBE, 0, 0), 0);
  // A new window never takes an old handle.
  HWND again = AllocateHWnd([](TMessage&) {});
  EXPECT_NE(again, wnd);
  DeallocateHWnd(again);
  EXPECT_EQ(AllocateHWnd(nullptr), nullptr);
}

TEST(MessageLoop, WindowDestroyedByItsOwnHandlerDropsTheRest) {
  int delivered = 0;
  HWND wnd = nullptr;
  wnd = AllocateHWnd([&](TMessage&) {
    ++delivered;
    DeallocateHWnd(wnd);  // the procedure object must survive its own removal
  });
  for (int i = 0; i < 5; ++i) PostMessage(wnd, WM_PROBE, 0, 0);
  PumpPending();
  EXPECT_EQ(delivered, 1);
}

TEST(MessageLoop, SendMessageIsDirectOnTheUIThreadAndWaitsFromOthers) {
  TProbeWindow window;
  window.OnMessage = [](TMessage& m) { m.Result = static_cast<LRESULT>(m.WParam) * 2; };
  EXPECT_EQ(SendMessage(window.Handle, WM_PROBE, 21, 0), 42);
  EXPECT_EQ(window.Received.size(), 1u);  // handled before SendMessage returned

  std::atomic<LRESULT> fromWorker{-1};
  std::thread worker([&] { fromWorker = SendMessage(window.Handle, WM_PROBE, 5, 0); });
  EXPECT_TRUE(PumpUntil([&] { return fromWorker.load() != -1; }));
  worker.join();
  EXPECT_EQ(fromWorker.load(), 10);

  // A sender waiting on a window that goes away gets 0.
  HWND doomed = AllocateHWnd([](TMessage& m) { m.Result = 7; });
  std::atomic<LRESULT> late{-1};
  std::thread sender([&] { late = SendMessage(doomed, WM_PROBE, 0, 0); });
  while (late.load() == -1) {
    DeallocateHWnd(doomed);  // either before or while the sender waits
    std::this_thread::yield();
  }
  sender.join();
  EXPECT_EQ(late.load(), 0);
}

TEST(MessageLoop, RegisterWindowMessageNumbering) {
  const UINT a = RegisterWindowMessage(u"TBCompactWinHide");
  const UINT b = RegisterWindowMessage(u"TBSetMetro");
  EXPECT_GE(a, 0xC000u);
  EXPECT_LE(a, 0xFFFFu);
  EXPECT_GE(b, 0xC000u);
  EXPECT_NE(a, b);
  EXPECT_EQ(RegisterWindowMessage(u"TBCompactWinHide"), a);
  EXPECT_EQ(RegisterWindowMessage(u"tbcompactwinhide"), a);
  EXPECT_EQ(RegisterWindowMessage(u""), 0u);
  EXPECT_EQ(RegisterWindowMessage(String(256, u'x')), 0u);
  EXPECT_NE(RegisterWindowMessage(String(255, u'x')), 0u);
  // Threads registering the same name at once get one number.
  std::vector<UINT> seen(8);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < seen.size(); ++i)
    threads.emplace_back([&, i] { seen[i] = RegisterWindowMessage(u"TBShowShortCutHint"); });
  for (auto& t : threads) t.join();
  for (UINT n : seen) EXPECT_EQ(n, seen[0]);
}

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    Application->OnException = nullptr;
    Application->SetShowExceptionProc([this](const String& title, const String& message) {
      Shown.push_back(message);
      Title = title;
    });
  }
  void TearDown() override {
    Application->OnException = nullptr;
    Application->SetShowExceptionProc({});
  }
  std::vector<String> Shown;
  String Title;
};

TEST_F(ApplicationTest, ExceptionLeavingAHandlerReachesHandleException) {
  TProbeWindow window;
  window.OnMessage = [](TMessage& m) {
    switch (m.WParam) {
      case 0: throw EConvertError(u"'abc' is not a valid integer value");
      case 1: throw EAbort(u"quiet");
      case 2: throw std::runtime_error("plain");
      default: m.Result = 1;
    }
  };
  for (WPARAM i = 0; i < 4; ++i) PostMessage(window.Handle, WM_PROBE, i, 0);
  PumpPending();
  EXPECT_EQ(window.Received.size(), 4u);  // the loop goes on after each exception
  ASSERT_EQ(Shown.size(), 2u);           // EAbort is silent
  EXPECT_EQ(Shown[0], u"'abc' is not a valid integer value");
  EXPECT_EQ(Shown[1], u"plain");
  EXPECT_EQ(Title, Application->Title());

  // OnException takes over from the default display; SendMessage answers 0.
  String className;
  Application->OnException = [&](TObject* sender, Exception* e) {
    EXPECT_EQ(sender, Application);
    className = e->ClassName();
  };
  EXPECT_EQ(SendMessage(window.Handle, WM_PROBE, 0, 0), 0);
  EXPECT_EQ(className, u"EConvertError");
  EXPECT_EQ(Shown.size(), 2u);
}

TEST_F(ApplicationTest, RunEndsAfterTerminateAndDeliversWhatCameBefore) {
  TApplication app;  // a second object: the global one must stay usable for other tests
  std::vector<int> order;
  TProbeWindow window;
  window.OnMessage = [&](TMessage& m) {
    order.push_back(static_cast<int>(m.WParam));
    if (m.WParam == 2) app.Terminate();
  };
  std::thread worker([h = window.Handle] {
    for (WPARAM i = 0; i < 3; ++i) PostMessage(h, WM_PROBE, i, 0);
  });
  app.Run();
  worker.join();
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(app.ExeName().ends_with(u"/platform_tests"));
  EXPECT_EQ(app.Title(), u"platform_tests");
  EXPECT_TRUE(IsWindow(app.Handle()));
}

}  // namespace
