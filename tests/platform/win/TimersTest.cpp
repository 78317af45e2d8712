#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/testing/Pump.h"
#include "platform/testing/VirtualClock.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Timer.h"
#include "platform/win/Clock.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Timers.h"

namespace {

struct TFiring {
  UInt64 At;
  std::string What;
  bool operator==(const TFiring&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TFiring& f) { return os << f.What << "@" << f.At; }

// Hidden windows whose WM_TIMER ticks are logged with the virtual time.
class TimersTest : public ::testing::Test {
 protected:
  HWND Window(const std::string& name, std::function<void(UINT_PTR)> extra = {}) {
    HWND wnd = AllocateHWnd([this, name, extra](TMessage& m) {
      if (m.Msg != WM_TIMER) return;
      Log.push_back({Clock.Now() - Start, name + std::to_string(m.WParam)});
      if (extra) extra(m.WParam);
    });
    Windows.push_back(wnd);
    return wnd;
  }
  void TearDown() override {
    for (HWND w : Windows) DeallocateHWnd(w);
  }
  TVirtualClock Clock;
  const UInt64 Start = Clock.Now();
  std::vector<TFiring> Log;
  std::vector<HWND> Windows;
};

TEST_F(TimersTest, FireInDueOrderWithTiesInCreationOrder) {
  HWND a = Window("a");
  HWND b = Window("b");
  SetTimer(a, 1, 30);
  SetTimer(b, 1, 20);
  SetTimer(a, 2, 20);
  Clock.Advance(60);
  const std::vector<TFiring> expected = {{20, "b1"}, {20, "a2"}, {30, "a1"}, {40, "b1"},
                                         {40, "a2"}, {60, "a1"}, {60, "b1"}, {60, "a2"}};
  EXPECT_EQ(Log, expected);
  Log.clear();
  Clock.Advance(9);  // nothing due before 80
  EXPECT_TRUE(Log.empty());
}

TEST_F(TimersTest, RestartKillAndMinimumInterval) {
  HWND a = Window("a");
  SetTimer(a, 1, 100);
  Clock.Advance(50);
  SetTimer(a, 1, 30);  // same id: restarted from now with the new interval
  Clock.Advance(70);
  EXPECT_EQ(Log, (std::vector<TFiring>{{80, "a1"}, {110, "a1"}}));
  EXPECT_TRUE(KillTimer(a, 1));
  EXPECT_FALSE(KillTimer(a, 1));
  Log.clear();
  SetTimer(a, 3, 1);  // raised to the system minimum of 10 ms
  Clock.Advance(25);
  EXPECT_EQ(Log, (std::vector<TFiring>{{130, "a3"}, {140, "a3"}}));
  EXPECT_EQ(SetTimer(nullptr, 1, 10), 0u);
  EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(0x42), 1, 10), 0u);
}

TEST_F(TimersTest, HandlerKillingTimersAndPostingMessages) {
  HWND a = nullptr;
  HWND b = nullptr;
  int posted = 0;
  HWND sink = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_USER) Log.push_back({Clock.Now() - Start, "posted"});
    ++posted;
  });
  Windows.push_back(sink);
  a = Window("a", [&](UINT_PTR) {
    KillTimer(b, 1);  // b is due at the same moment but must not fire now
    KillTimer(a, 1);  // the firing timer may kill itself
    PostMessage(sink, WM_USER, 0, 0);
  });
  b = Window("b");
  SetTimer(a, 1, 20);
  SetTimer(b, 1, 20);
  SetTimer(b, 2, 25);
  Clock.Advance(50);
  // The posted message is delivered before time moves on to the next timer.
  EXPECT_EQ(Log, (std::vector<TFiring>{{20, "a1"}, {20, "posted"}, {25, "b2"}, {50, "b2"}}));
  EXPECT_EQ(posted, 1);
}

TEST_F(TimersTest, DestroyedWindowStopsItsTimers) {
  HWND a = Window("a");
  SetTimer(a, 1, 10);
  SetTimer(a, 2, 10);
  DeallocateHWnd(a);
  Clock.Advance(100);
  EXPECT_TRUE(Log.empty());
}

TEST_F(TimersTest, SleepAndTickCountsFollowTheVirtualClock) {
  const Cardinal before = GetTickCount();
  Sleep(250);
  EXPECT_EQ(GetTickCount() - before, 250u);
  EXPECT_EQ(GetTickCount64(), Clock.Now());
  // A sleep on another thread moves the same clock; a due timer fires when the loop runs.
  HWND a = Window("a");
  SetTimer(a, 1, 100);
  std::thread sleeper([] { Sleep(100); });
  sleeper.join();
  EXPECT_EQ(GetTickCount() - before, 350u);
  PumpPending();
  EXPECT_EQ(Log, (std::vector<TFiring>{{350, "a1"}}));
}

TEST_F(TimersTest, AdvanceUntilStopsAtTheConditionOrTheDeadline) {
  HWND a = Window("a");
  SetTimer(a, 1, 250);
  EXPECT_TRUE(AdvanceUntil(Clock, [&] { return Log.size() == 2; }, 10000));
  EXPECT_EQ(Clock.Now() - Start, 500u);
  EXPECT_FALSE(AdvanceUntil(Clock, [] { return false; }, 1000));
  EXPECT_EQ(Clock.Now() - Start, 1500u);
  EXPECT_EQ(Log.size(), 6u);
}

TEST(TimersRealClock, TimerFiresFromTheEventLoop) {
  int ticks = 0;
  HWND wnd = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_TIMER) ++ticks;
  });
  SetTimer(wnd, 7, 10);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
  DeallocateHWnd(wnd);
}

TEST_F(TimersTest, TTimerTicksAndRestartsOnIntervalChange) {
  InitApplication();
  std::vector<UInt64> ticks;
  auto timer = std::make_unique<TTimer>();
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 1000u);
  timer->OnTimer = [&](TObject* sender) {
    EXPECT_EQ(sender, timer.get());
    ticks.push_back(Clock.Now() - Start);
  };
  Clock.Advance(2500);
  EXPECT_EQ(ticks, (std::vector<UInt64>{1000, 2000}));
  timer->SetInterval(300);  // restarts from 2500
  Clock.Advance(700);
  EXPECT_EQ(ticks, (std::vector<UInt64>{1000, 2000, 2800, 3100}));
  timer->SetEnabled(false);
  Clock.Advance(1000);
  EXPECT_EQ(ticks.size(), 4u);
  timer->SetEnabled(true);
  timer->SetInterval(0);  // no ticks at interval 0
  Clock.Advance(1000);
  EXPECT_EQ(ticks.size(), 4u);
  timer->SetInterval(100);
  timer.reset();  // destroying a running timer stops it
  Clock.Advance(1000);
  EXPECT_EQ(ticks.size(), 4u);
}

TEST_F(TimersTest, TTimerExceptionGoesToTheApplicationAndTicksGoOn) {
  InitApplication();
  std::vector<String> reported;
  Application->OnException = [&](TObject*, Exception* e) { reported.push_back(e->Message()); };
  TTimer timer;
  timer.SetInterval(100);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) {
    ++ticks;
    throw EInvalidOperation(u"tick failed");
  };
  Clock.Advance(300);
  Application->OnException = nullptr;
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(reported, (std::vector<String>(3, u"tick failed")));
}

}  // namespace
