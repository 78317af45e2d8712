#include "platform/testing/Pump.h"

#include <algorithm>
#include <chrono>

#include "platform/testing/VirtualClock.h"
#include "platform/win/MessageLoop.h"

bool PumpUntil(const std::function<bool()>& Condition, Cardinal TimeoutMs) {
  using namespace std::chrono;
  const auto deadline = steady_clock::now() + milliseconds(TimeoutMs);
  for (;;) {
    ProcessPendingMessages();
    if (Condition()) return true;
    const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
    if (left <= 0) return Condition();
    // Short waits: a worker's progress may not come as a message.
    WaitMessage(static_cast<Cardinal>(std::min<long long>(left, 5)));
  }
}

void PumpPending() { ProcessPendingMessages(); }

bool AdvanceUntil(TVirtualClock& Clock, const std::function<bool()>& Condition, Cardinal VirtualMs, Cardinal StepMs) {
  ProcessPendingMessages();
  const UInt64 end = Clock.Now() + VirtualMs;
  const Cardinal step = std::max<Cardinal>(StepMs, 1);
  while (!Condition()) {
    const UInt64 now = Clock.Now();
    if (now >= end) return Condition();
    Clock.Advance(static_cast<Cardinal>(std::min<UInt64>(step, end - now)));
  }
  return true;
}
