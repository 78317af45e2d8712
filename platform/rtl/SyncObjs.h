#pragma once
// Synchronisation objects: events, critical sections and counted semaphores
// (the last also by name, in the Win32 shape). Timed waits read the one clock,
// so under a virtual clock they expire when the clock is moved on.
#include <memory>
#include <mutex>

#include "platform/rtl/Object.h"
#include "platform/win/Clock.h"
#include "platform/win/KernelHandles.h"
#include "platform/win/WinError.h"

using LONG = Integer;

enum class TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError, wrIOCompletion };
using enum TWaitResult;

constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
constexpr DWORD WAIT_ABANDONED = 0x00000080;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// A kernel object that a thread can wait for.
class TWaitableObject : public TKernelObject {
 public:
  // Waits up to `timeoutMs` (INFINITE: no limit); answers WAIT_OBJECT_0 or WAIT_TIMEOUT.
  virtual DWORD Wait(Cardinal timeoutMs) = 0;
};

// An event: signalled by SetEvent, cleared by ResetEvent; an auto-reset event
// lets exactly one waiter through per SetEvent and clears itself.
class TEvent : public TObject {
 public:
  // Manual reset, initially clear.
  TEvent();
  // The name is accepted for the class library's interface; events are not
  // shared by name here.
  TEvent(void* EventAttributes, bool ManualReset, bool InitialState, StringView Name = {});
  ~TEvent() override;

  void SetEvent();
  void ResetEvent();
  // wrSignaled or wrTimeout.
  TWaitResult WaitFor(Cardinal Timeout = INFINITE);
  // A handle for WaitForSingleObject, valid while the event lives.
  HANDLE Handle() const { return FHandle; }

 private:
  class TEventObject;
  std::shared_ptr<TEventObject> FEvent;
  HANDLE FHandle = nullptr;
};

// A lock that the owning thread may enter again (it must leave as often).
class TCriticalSection : public TObject {
 public:
  void Enter() { FLock.lock(); }
  void Leave() { FLock.unlock(); }
  void Acquire() { Enter(); }
  void Release() { Leave(); }
  // Enters when no other thread holds the lock; answers whether it did.
  bool TryEnter() { return FLock.try_lock(); }

 private:
  std::recursive_mutex FLock;
};

// Creates a semaphore with the given count and maximum, or opens the one of
// that name while any handle to it is open (the counts given are then
// ignored). Names are shared within this process only. Answers nullptr for a
// maximum below 1 or an initial count outside 0..maximum.
HANDLE CreateSemaphore(void* SemaphoreAttributes, LONG InitialCount, LONG MaximumCount, const Char* Name);
// Adds ReleaseCount to the count; answers false (count unchanged) for a count
// below 1, one that would pass the maximum, or a handle that is no semaphore.
// PreviousCount, when given, receives the count before the release.
BOOL ReleaseSemaphore(HANDLE Semaphore, LONG ReleaseCount, LONG* PreviousCount);
// Waits until the object is signalled (a semaphore's count is taken by one)
// or `Milliseconds` pass: WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED for a
// handle that names nothing waitable.
DWORD WaitForSingleObject(HANDLE Handle, DWORD Milliseconds);
