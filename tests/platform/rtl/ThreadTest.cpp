#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Thread.h"
#include "platform/testing/Pump.h"
#include "platform/vcl/Application.h"
#include "platform/win/MessageLoop.h"

namespace {

class TLambdaThread : public TThread {
 public:
  explicit TLambdaThread(std::function<void(TLambdaThread&)> body, bool suspended = true)
      : TThread(suspended), FBody(std::move(body)) {}
  ~TLambdaThread() override {
    if (Started() && !Finished()) {
      Terminate();
      WaitFor();
    }
  }
  using TThread::Queue;
  using TThread::SetReturnValue;
  using TThread::Synchronize;

 protected:
  void Execute() override { FBody(*this); }

 private:
  std::function<void(TLambdaThread&)> FBody;
};

TEST(Thread, OnTerminateRunsOnTheUIThreadAfterEverythingThePosterIssued) {
  constexpr int kMessages = 2000;
  std::vector<int> log;  // message numbers, and -1 for each queued call
  HWND wnd = AllocateHWnd([&](TMessage& m) { log.push_back(static_cast<int>(m.WParam)); });
  std::size_t seenAtTerminate = 0;
  TThreadID terminateThread = 0;
  TLambdaThread thread([&](TLambdaThread& self) {
    for (int i = 0; i < kMessages; ++i) {
      PostMessage(wnd, WM_USER, WPARAM(i), 0);
      if (i % 500 == 0) self.Queue([&] { log.push_back(-1); });
    }
  });
  thread.OnTerminate = [&](TObject* sender) {
    EXPECT_EQ(sender, &thread);
    seenAtTerminate = log.size();
    terminateThread = GetCurrentThreadId();
  };
  thread.Start();
  thread.WaitFor();
  DeallocateHWnd(wnd);
  EXPECT_EQ(seenAtTerminate, std::size_t(kMessages + kMessages / 500));
  EXPECT_EQ(terminateThread, MainThreadID());
  EXPECT_NE(thread.ThreadID(), MainThreadID());
  // Queued calls sit exactly where the thread issued them.
  std::vector<int> expected;
  for (int i = 0; i < kMessages; ++i) {
    expected.push_back(i);
    if (i % 500 == 0) expected.push_back(-1);
  }
  EXPECT_EQ(log, expected);
}

struct TTracked {
  static inline std::atomic<int> Alive{0};
  TTracked() { ++Alive; }
  ~TTracked() { --Alive; }
  std::vector<int> Payload = std::vector<int>(1000, 1);
};

class TSelfFreeing : public TThread {
 public:
  TSelfFreeing() : TThread(true) { SetFreeOnTerminate(true); }
  static inline std::atomic<int> Destroyed{0};
  ~TSelfFreeing() override { ++Destroyed; }
  int* QueuedSum = nullptr;

 protected:
  void Execute() override {
    // Runs on the user-interface thread after this thread ended; the object
    // must still be alive then.
    Queue([this] { *QueuedSum = static_cast<int>(FTracked->Payload.size()); });
  }

 private:
  std::unique_ptr<TTracked> FTracked = std::make_unique<TTracked>();
};

TEST(Thread, FreeOnTerminateFreesTheObjectAfterItsLastCall) {
  TSelfFreeing::Destroyed = 0;
  int sum = 0;
  bool terminated = false;
  auto* withHandler = new TSelfFreeing;
  withHandler->QueuedSum = &sum;
  withHandler->OnTerminate = [&](TObject*) { terminated = true; };
  withHandler->Start();
  int sum2 = 0;
  auto* withoutHandler = new TSelfFreeing;
  withoutHandler->QueuedSum = &sum2;
  withoutHandler->Start();
  EXPECT_TRUE(PumpUntil([] { return TSelfFreeing::Destroyed == 2; }));
  EXPECT_TRUE(terminated);
  EXPECT_EQ(sum, 1000);
  EXPECT_EQ(sum2, 1000);  // not lost although nothing waited for the thread
  EXPECT_EQ(TTracked::Alive.load(), 0);
}

TEST(Thread, WaitForReturnValueTerminateAndFatalException) {
  std::atomic<bool> running{false};
  TLambdaThread looping([&](TLambdaThread& self) {
    running = true;
    while (!self.Terminated()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    self.SetReturnValue(7);
  });
  looping.Start();
  while (!running) std::this_thread::yield();
  looping.Terminate();
  EXPECT_EQ(looping.WaitFor(), 7u);
  EXPECT_TRUE(looping.Finished());
  EXPECT_FALSE(looping.FatalException());

  bool terminated = false;
  TLambdaThread failing([](TLambdaThread&) { throw EConvertError(u"bad"); });
  failing.OnTerminate = [&](TObject*) { terminated = true; };
  failing.Start();
  EXPECT_EQ(failing.WaitFor(), 0u);
  EXPECT_TRUE(terminated);
  ASSERT_TRUE(failing.FatalException());
  EXPECT_THROW(std::rethrow_exception(failing.FatalException()), EConvertError);
}

TEST(Thread, SynchronizeRunsOnTheUIThreadAndCarriesExceptionsBack) {
  TThreadID ranOn = 0;
  String caught;
  TLambdaThread thread([&](TLambdaThread& self) {
    self.Synchronize([&] { ranOn = GetCurrentThreadId(); });
    try {
      self.Synchronize([] { throw EInvalidOperation(u"refused"); });
    } catch (const EInvalidOperation& e) {
      caught = e.Message();
    }
  });
  thread.Start();
  thread.WaitFor();  // delivers the calls while it waits
  EXPECT_EQ(ranOn, MainThreadID());
  EXPECT_EQ(caught, u"refused");
}

TEST(Thread, StartRulesAndMisuse) {
  std::atomic<int> runs{0};
  {
    TLambdaThread never([&](TLambdaThread&) { ++runs; });
    EXPECT_THROW(never.WaitFor(), EThread);
  }  // destroyed without a start: the body never runs
  TLambdaThread once([&](TLambdaThread&) { ++runs; });
  once.Start();
  EXPECT_THROW(once.Start(), EThread);
  once.WaitFor();
  EXPECT_EQ(runs.load(), 1);

  // Created running: starts with the loop's next turn, after construction.
  TLambdaThread running([&](TLambdaThread&) { ++runs; }, false);
  running.WaitFor();
  EXPECT_EQ(runs.load(), 2);

  auto* selfFreeing = new TLambdaThread([](TLambdaThread&) {});
  selfFreeing->SetFreeOnTerminate(true);
  EXPECT_THROW(selfFreeing->WaitFor(), EThread);
  selfFreeing->Start();
}

TEST(Thread, ExceptionInOnTerminateReachesTheApplication) {
  InitApplication();
  String reported;
  Application->OnException = [&](TObject*, Exception* e) { reported = e->Message(); };
  TLambdaThread thread([](TLambdaThread&) {});
  thread.OnTerminate = [](TObject*) { throw EInvalidOperation(u"end step failed"); };
  thread.Start();
  thread.WaitFor();
  Application->OnException = nullptr;
  EXPECT_EQ(reported, u"end step failed");
}

}  // namespace
