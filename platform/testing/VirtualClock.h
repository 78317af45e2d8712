#pragma once
// A virtual clock for tests: while one exists, tick counts, sleeps, timers and
// timed waits read it instead of real time, and time moves only when told.
#include <memory>

#include "platform/rtl/Types.h"

class TVirtualClock {
 public:
  // Switches the one clock to virtual time starting at StartMs.
  explicit TVirtualClock(UInt64 StartMs = 1000000);
  // Switches back to the real clock.
  ~TVirtualClock();
  TVirtualClock(const TVirtualClock&) = delete;
  TVirtualClock& operator=(const TVirtualClock&) = delete;

  UInt64 Now() const;
  // Moves time on by Ms. On the user-interface thread, every timer due on the
  // way fires at its due time, in due-time order (ties in creation order), and
  // the messages posted meanwhile are delivered before time moves on. From
  // another thread it only moves time; the user-interface thread fires what
  // became due when its loop next runs.
  void Advance(Cardinal Ms);

 private:
  class TSource;
  std::unique_ptr<TSource> FSource;
};
