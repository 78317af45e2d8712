#include "platform/rtl/Thread.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/win/LoopInternal.h"
#include "platform/win/MessageLoop.h"

TThreadID GetCurrentThreadId() { return static_cast<TThreadID>(::syscall(SYS_gettid)); }

TThreadID MainThreadID() { return static_cast<TThreadID>(::getpid()); }

struct TThread::TState {
  std::mutex Lock;
  std::condition_variable Changed;
  std::thread Worker;
  bool Started = false;
  bool Launched = false;  // Worker holds the running thread
  bool StartPending = false;  // created running: Start comes with the loop's next turn
  bool Finished = false;
  bool FreeOnTerminate = false;
  std::atomic<bool> Terminated{false};
  TThreadID Id = 0;
  Cardinal ReturnValue = 0;
  TThreadPriority Priority = tpNormal;
  std::exception_ptr Fatal;
  // Queue calls not yet run: the thread passes through the queue before it
  // frees itself so that none of them meets a freed object.
  std::atomic<int> QueuedCalls{0};
};

TThread::TThread(bool CreateSuspended) : FState(std::make_shared<TState>()) {
  if (!CreateSuspended) {
    // The derived part is not built yet, so the start waits for the
    // user-interface loop's next turn, when construction is long over.
    FState->StartPending = true;
    const std::shared_ptr<TState> state = FState;
    QueueCall(
        this,
        [this] {
          if (!Started()) Start();
        },
        [state] {
          std::lock_guard<std::mutex> guard(state->Lock);
          state->StartPending = false;
        });
  }
}

TThread::~TThread() {
  RemoveQueuedCalls(this);
  const bool ownThread = FState->Worker.get_id() == std::this_thread::get_id();
  if (ownThread) {
    FState->Worker.detach();  // freeing itself at the end of its run
    return;
  }
  if (Started() && !Finished()) {
    Terminate();
    try {
      SetFreeOnTerminate(false);
      WaitFor();
    } catch (...) {
      // Nothing may leave a destructor.
    }
  }
  if (FState->Worker.joinable()) FState->Worker.join();
}

void TThread::Start() {
  {
    std::lock_guard<std::mutex> guard(FState->Lock);
    if (FState->Started) throw EThread(u"Cannot call Start on a running or suspended thread");
    FState->Started = true;
    FState->StartPending = false;
  }
  std::thread worker(&TThread::Run, this);
  std::lock_guard<std::mutex> guard(FState->Lock);
  FState->Worker = std::move(worker);
  FState->Launched = true;
  FState->Changed.notify_all();
}

void TThread::Run(TThread* self) {
  // Kept here: the object may be freed by its owner once Finished is set.
  const std::shared_ptr<TState> state = self->FState;
  {
    // Start must have stored the thread before it may end and free itself.
    std::unique_lock<std::mutex> lock(state->Lock);
    state->Changed.wait(lock, [&] { return state->Launched; });
    state->Id = GetCurrentThreadId();
    state->Changed.notify_all();
  }
  if (!state->Terminated) {
    try {
      self->Execute();
    } catch (...) {
      state->Fatal = std::current_exception();
    }
  }
  bool freeIt = false;
  {
    std::lock_guard<std::mutex> guard(state->Lock);
    freeIt = state->FreeOnTerminate;
  }
  try {
    self->DoTerminate();
    if (freeIt && state->QueuedCalls > 0) Synchronize(self, [] {});
  } catch (...) {
    // The loop shut down before the end step could run; nothing else to do.
  }
  {
    std::lock_guard<std::mutex> guard(state->Lock);
    state->Finished = true;
    state->Changed.notify_all();
  }
  if (freeIt) delete self;
}

void TThread::DoTerminate() {
  if (!OnTerminate) return;
  Synchronize(this, [this] {
    try {
      OnTerminate(this);
    } catch (...) {
      ReportDispatchException();
    }
  });
}

void TThread::Terminate() { FState->Terminated = true; }

bool TThread::Terminated() const { return FState->Terminated; }

Cardinal TThread::WaitFor() {
  {
    std::lock_guard<std::mutex> guard(FState->Lock);
    if (FState->FreeOnTerminate) throw EThread(u"Cannot wait for a thread that frees itself");
  }
  if (IsUIThread()) {
    // The thread may need the user-interface thread to finish (Synchronize,
    // SendMessage, OnTerminate, a pending start), so keep delivering.
    for (;;) {
      {
        std::unique_lock<std::mutex> lock(FState->Lock);
        if (FState->Finished) break;
        if (!FState->Started && !FState->StartPending) throw EThread(u"Cannot wait for a thread that was never started");
      }
      if (!DispatchNextMessage()) {
        std::unique_lock<std::mutex> lock(FState->Lock);
        FState->Changed.wait_for(lock, std::chrono::milliseconds(1), [&] { return FState->Finished; });
      }
    }
  } else {
    std::unique_lock<std::mutex> lock(FState->Lock);
    if (!FState->Started && !FState->StartPending) throw EThread(u"Cannot wait for a thread that was never started");
    FState->Changed.wait(lock, [&] { return FState->Finished; });
  }
  return ReturnValue();
}

bool TThread::Finished() const {
  std::lock_guard<std::mutex> guard(FState->Lock);
  return FState->Finished;
}

bool TThread::Started() const {
  std::lock_guard<std::mutex> guard(FState->Lock);
  return FState->Started;
}

TThreadID TThread::ThreadID() const {
  std::unique_lock<std::mutex> lock(FState->Lock);
  // The id is known once the thread runs; a started thread gets it promptly.
  if (FState->Started) FState->Changed.wait(lock, [&] { return FState->Id != 0 || FState->Finished; });
  return FState->Id;
}

Cardinal TThread::ReturnValue() const {
  std::lock_guard<std::mutex> guard(FState->Lock);
  return FState->ReturnValue;
}

void TThread::SetReturnValue(Cardinal Value) {
  std::lock_guard<std::mutex> guard(FState->Lock);
  FState->ReturnValue = Value;
}

bool TThread::FreeOnTerminate() const {
  std::lock_guard<std::mutex> guard(FState->Lock);
  return FState->FreeOnTerminate;
}

void TThread::SetFreeOnTerminate(bool Value) {
  std::lock_guard<std::mutex> guard(FState->Lock);
  FState->FreeOnTerminate = Value;
}

TThreadPriority TThread::Priority() const {
  std::lock_guard<std::mutex> guard(FState->Lock);
  return FState->Priority;
}

void TThread::SetPriority(TThreadPriority Value) {
  std::lock_guard<std::mutex> guard(FState->Lock);
  FState->Priority = Value;
}

std::exception_ptr TThread::FatalException() const {
  std::lock_guard<std::mutex> guard(FState->Lock);
  return FState->Fatal;
}

void TThread::Synchronize(TThread* Thread, const TThreadMethod& Method) {
  if (IsUIThread()) {
    Method();
    return;
  }
  struct TWait {
    std::mutex Lock;
    std::condition_variable Done;
    bool Finished = false;
    bool Dropped = false;
    std::exception_ptr Error;
  };
  auto wait = std::make_shared<TWait>();
  auto finish = [wait](bool dropped, std::exception_ptr error) {
    std::lock_guard<std::mutex> guard(wait->Lock);
    wait->Finished = true;
    wait->Dropped = dropped;
    wait->Error = std::move(error);
    wait->Done.notify_all();
  };
  QueueCall(
      Thread,
      [&Method, finish] {
        std::exception_ptr error;
        try {
          Method();
        } catch (...) {
          error = std::current_exception();
        }
        finish(false, error);
      },
      [finish] { finish(true, nullptr); });
  std::unique_lock<std::mutex> lock(wait->Lock);
  wait->Done.wait(lock, [&] { return wait->Finished; });
  if (wait->Dropped) throw EThread(u"The call was discarded: the message loop has shut down");
  if (wait->Error) std::rethrow_exception(wait->Error);
}

void TThread::Queue(TThread* Thread, TThreadMethod Method) {
  if (IsUIThread()) {
    Method();
    return;
  }
  if (Thread == nullptr) {
    QueueCall(nullptr, std::move(Method), {});
    return;
  }
  const std::shared_ptr<TState> state = Thread->FState;
  ++state->QueuedCalls;
  QueueCall(
      Thread,
      [state, method = std::move(Method)] {
        --state->QueuedCalls;
        method();
      },
      [state] { --state->QueuedCalls; });
}
