#pragma once
// TThread: a worker thread whose body is Execute. It reaches the
// user-interface thread by posting window messages, by Synchronize (wait for
// the call to run there) or by Queue (run there later); these share one queue
// with posted messages, so they run in the order the thread issued them, and
// OnTerminate runs after everything the thread posted before it finished.
#include <exception>
#include <functional>
#include <memory>

#include "platform/rtl/Object.h"
#include "platform/rtl/Persistent.h"

using TThreadID = Cardinal;
using TThreadMethod = std::function<void()>;

// The calling thread's system id.
TThreadID GetCurrentThreadId();
// The id of the user-interface (main) thread.
TThreadID MainThreadID();

// Kept for the class library's interface; threads here all run at the
// system's normal priority (raising it needs privileges the program lacks).
enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
using enum TThreadPriority;

class TThread : public TObject {
 public:
  // A suspended thread waits for Start; otherwise it starts at once. A
  // derived class that must finish its own construction first creates it
  // suspended and calls Start at the end of its constructor.
  explicit TThread(bool CreateSuspended);
  // Destroying a running thread sets Terminated and waits for it. A derived
  // class whose Execute uses its own members must do that in its own
  // destructor (Terminate(); WaitFor();), before those members die. A thread
  // never started is not run.
  ~TThread() override;

  // Starts a suspended thread; raises EThread when it was already started.
  void Start();
  // Same as Start for a thread created suspended.
  void Resume() { Start(); }
  // Asks Execute to stop: only sets Terminated.
  void Terminate();
  bool Terminated() const;
  // Waits until the thread has ended (OnTerminate included) and answers
  // ReturnValue. On the user-interface thread, messages and thread calls keep
  // being delivered meanwhile. Raises EThread for a thread that frees itself
  // or was never started.
  Cardinal WaitFor();
  bool Finished() const;
  bool Started() const;
  TThreadID ThreadID() const;
  Cardinal ReturnValue() const;
  bool FreeOnTerminate() const;
  // A thread that frees itself deletes its object after OnTerminate; the
  // object must have been made with new and nobody may use it after Start.
  void SetFreeOnTerminate(bool Value);
  TThreadPriority Priority() const;
  void SetPriority(TThreadPriority Value);
  // The exception that ended Execute, if any (none leaves the thread).
  std::exception_ptr FatalException() const;

  // Runs on the user-interface thread after Execute, with the thread as Sender.
  TNotifyEvent OnTerminate;

  // Runs Method on the user-interface thread and waits for it; an exception
  // raised there is raised again in the calling thread. On the user-interface
  // thread the call is direct. Raises EThread when the loop shut down first.
  static void Synchronize(TThread* Thread, const TThreadMethod& Method);
  // Runs Method on the user-interface thread later, without waiting (direct on
  // the user-interface thread). Calls still queued for Thread are discarded
  // when it is destroyed.
  static void Queue(TThread* Thread, TThreadMethod Method);

 protected:
  virtual void Execute() = 0;
  // Runs OnTerminate on the user-interface thread.
  virtual void DoTerminate();
  void Synchronize(const TThreadMethod& Method) { Synchronize(this, Method); }
  void Queue(TThreadMethod Method) { Queue(this, std::move(Method)); }
  void SetReturnValue(Cardinal Value);

 private:
  struct TState;
  static void Run(TThread* self);
  std::shared_ptr<TState> FState;
};
