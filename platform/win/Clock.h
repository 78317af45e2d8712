#pragma once
// The one clock behind tick counts, sleeps, timers and timed waits. Tests may
// replace the real clock with a virtual one (platform/testing/VirtualClock.h).
#include <condition_variable>
#include <functional>
#include <mutex>

#include "platform/rtl/Types.h"

// A wait without time-out.
constexpr Cardinal INFINITE = 0xFFFFFFFF;

// Milliseconds since an arbitrary start; GetTickCount wraps after 49.7 days.
Cardinal GetTickCount();
UInt64 GetTickCount64();
// Waits the given milliseconds on the clock (a virtual clock returns at once,
// having advanced itself).
void Sleep(Cardinal milliseconds);

// Where the clock's time comes from.
class TClockSource {
 public:
  virtual ~TClockSource() = default;
  // Milliseconds, never decreasing.
  virtual UInt64 NowMs() = 0;
  virtual void SleepMs(Cardinal milliseconds) = 0;
  // A virtual source only moves when told to; waits then poll it.
  virtual bool IsVirtual() const = 0;
};

// Replaces the clock's source; nullptr restores the real clock. The caller
// keeps ownership and must restore the real clock before destroying it.
void SetClockSource(TClockSource* source);
// True while a virtual source is installed.
bool ClockIsVirtual();

// Waits on `signal` (with `lock` held) until `ready` answers true or
// `timeoutMs` of clock time have passed; INFINITE waits for `ready` only.
// Answers `ready`'s last value. Under a virtual clock the time-out expires
// when the clock is moved past it, never by real time.
bool WaitOnClock(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, Cardinal timeoutMs,
                 const std::function<bool()>& ready);
