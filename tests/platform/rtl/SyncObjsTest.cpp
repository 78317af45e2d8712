#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/rtl/SyncObjs.h"
#include "platform/testing/VirtualClock.h"

namespace {

using namespace std::chrono_literals;

TEST(Event, ManualResetStaysSignalledAutoResetLetsOneThrough) {
  TEvent manual;
  EXPECT_EQ(manual.WaitFor(0), wrTimeout);
  manual.SetEvent();
  EXPECT_EQ(manual.WaitFor(0), wrSignaled);
  EXPECT_EQ(WaitForSingleObject(manual.Handle(), 0), WAIT_OBJECT_0);
  manual.ResetEvent();
  EXPECT_EQ(WaitForSingleObject(manual.Handle(), 0), WAIT_TIMEOUT);

  TEvent automatic(nullptr, false, false);
  std::atomic<int> through{0};
  std::thread a([&] { if (automatic.WaitFor(INFINITE) == wrSignaled) ++through; });
  std::thread b([&] { if (automatic.WaitFor(INFINITE) == wrSignaled) ++through; });
  automatic.SetEvent();
  while (through.load() == 0) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(through.load(), 1);  // the second waiter needs a second SetEvent
  automatic.SetEvent();
  a.join();
  b.join();
  EXPECT_EQ(through.load(), 2);
  EXPECT_EQ(automatic.WaitFor(0), wrTimeout);  // cleared by the last waiter
}

// Runs `wait` (a timed wait of `timeoutMs`) on a worker under a virtual clock
// that only this thread moves; checks that real time alone does not end it and
// that it ends once the clock has passed the time-out. Answers its result.
template <class Wait>
auto VirtualTimedWait(TVirtualClock& clock, Cardinal timeoutMs, Wait wait) {
  std::atomic<UInt64> began{0};
  std::atomic<UInt64> ended{0};
  std::atomic<bool> done{false};
  decltype(wait()) result{};
  std::thread waiter([&] {
    began = GetTickCount64();
    result = wait();
    ended = GetTickCount64();
    done = true;
  });
  while (began.load() == 0) std::this_thread::yield();
  std::this_thread::sleep_for(30ms);
  EXPECT_FALSE(done.load()) << "ended by real time";
  while (!done.load()) {
    clock.Advance(1);
    std::this_thread::sleep_for(100us);
  }
  waiter.join();
  EXPECT_GE(ended - began, timeoutMs);
  return result;
}

TEST(Event, TimedWaitExpiresWithTheVirtualClockOnly) {
  TVirtualClock clock;
  TEvent event;
  EXPECT_EQ(VirtualTimedWait(clock, 100, [&] { return event.WaitFor(100); }), wrTimeout);
  // A signal still ends a virtual wait at once.
  std::atomic<int> result{-1};
  std::thread signalled([&] { result = static_cast<int>(event.WaitFor(100)); });
  event.SetEvent();
  signalled.join();
  EXPECT_EQ(result.load(), static_cast<int>(wrSignaled));
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
  TCriticalSection lock;
  lock.Enter();
  lock.Acquire();  // the owner may enter again
  auto otherTry = [&] {
    bool got = false;
    std::thread t([&] {
      got = lock.TryEnter();
      if (got) lock.Leave();
    });
    t.join();
    return got;
  };
  EXPECT_FALSE(otherTry());
  lock.Release();
  EXPECT_FALSE(otherTry());  // still held once
  lock.Leave();
  EXPECT_TRUE(otherTry());
}

TEST(Semaphore, CountsMaximumAndBadArguments) {
  struct Case { LONG initial, maximum; bool ok; };
  const Case cases[] = {{0, 1, true}, {1, 1, true}, {2, 1, false}, {-1, 1, false}, {0, 0, false}};
  for (const Case& c : cases) {
    HANDLE h = CreateSemaphore(nullptr, c.initial, c.maximum, nullptr);
    EXPECT_EQ(h != nullptr, c.ok) << c.initial << "/" << c.maximum;
    if (h != nullptr) CloseHandle(h);
  }
  HANDLE h = CreateSemaphore(nullptr, 1, 2, nullptr);
  EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT);
  LONG previous = -1;
  EXPECT_TRUE(ReleaseSemaphore(h, 2, &previous));
  EXPECT_EQ(previous, 0);
  EXPECT_FALSE(ReleaseSemaphore(h, 1, &previous));  // would pass the maximum
  EXPECT_FALSE(ReleaseSemaphore(h, 0, nullptr));
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_FALSE(CloseHandle(h));
  EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
  EXPECT_FALSE(ReleaseSemaphore(h, 1, nullptr));
}

TEST(Semaphore, NamedObjectIsSharedWhileAHandleIsOpen) {
  const Char* name = u"Rs232UplThreadDelaySemaphore";
  HANDLE first = CreateSemaphore(nullptr, 0, 1, name);
  HANDLE second = CreateSemaphore(nullptr, 1, 5, name);  // opens the same object: counts ignored
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_TIMEOUT);
  EXPECT_TRUE(ReleaseSemaphore(first, 1, nullptr));
  EXPECT_FALSE(ReleaseSemaphore(second, 1, nullptr));  // maximum 1 from the creator
  EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseSemaphore(second, 1, nullptr));
  CloseHandle(first);
  CloseHandle(second);
  // All handles closed: the name now makes a fresh object.
  HANDLE fresh = CreateSemaphore(nullptr, 0, 1, name);
  EXPECT_EQ(WaitForSingleObject(fresh, 0), WAIT_TIMEOUT);
  CloseHandle(fresh);
}

TEST(Semaphore, TimedPauseUnderTheVirtualClock) {
  // The pause pattern: wait on a fresh semaphore that nobody releases.
  TVirtualClock clock;
  const DWORD result = VirtualTimedWait(clock, 400, [] {
    HANDLE h = CreateSemaphore(nullptr, 0, 1, u"pause");
    const DWORD r = WaitForSingleObject(h, 400);
    ReleaseSemaphore(h, 1, nullptr);
    CloseHandle(h);
    return r;
  });
  EXPECT_EQ(result, WAIT_TIMEOUT);
}

}  // namespace
