#include "platform/testing/VirtualClock.h"

#include <atomic>

#include "platform/win/Clock.h"
#include "platform/win/LoopInternal.h"
#include "platform/win/MessageLoop.h"

class TVirtualClock::TSource final : public TClockSource {
 public:
  explicit TSource(UInt64 start) : FNow(start) {}
  UInt64 NowMs() override { return FNow.load(); }
  // Sleeping moves time on; timers due by then fire when the loop next runs.
  void SleepMs(Cardinal ms) override {
    FNow += ms;
    WakeTimers();
  }
  bool IsVirtual() const override { return true; }
  void MoveTo(UInt64 t) {
    UInt64 now = FNow.load();
    while (now < t && !FNow.compare_exchange_weak(now, t)) {
    }
  }

 private:
  std::atomic<UInt64> FNow;
};

TVirtualClock::TVirtualClock(UInt64 StartMs) : FSource(std::make_unique<TSource>(StartMs)) {
  SetClockSource(FSource.get());
  WakeTimers();
}

TVirtualClock::~TVirtualClock() {
  SetClockSource(nullptr);
  WakeTimers();
}

UInt64 TVirtualClock::Now() const { return FSource->NowMs(); }

void TVirtualClock::Advance(Cardinal Ms) {
  const UInt64 target = FSource->NowMs() + Ms;
  if (!IsUIThread()) {
    FSource->MoveTo(target);
    WakeTimers();
    return;
  }
  for (;;) {
    const std::optional<UInt64> due = NextTimerDue();
    if (!due || *due > target) break;
    FSource->MoveTo(*due);
    FireDueTimers();
    ProcessPendingMessages();
  }
  FSource->MoveTo(target);
  ProcessPendingMessages();
}
