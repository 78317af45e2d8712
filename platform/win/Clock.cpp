#include "platform/win/Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class TRealClock final : public TClockSource {
 public:
  UInt64 NowMs() override {
    using namespace std::chrono;
    return static_cast<UInt64>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
  void SleepMs(Cardinal milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
  bool IsVirtual() const override { return false; }
};

TRealClock gRealClock;
std::atomic<TClockSource*> gSource{&gRealClock};

TClockSource& Source() { return *gSource.load(std::memory_order_acquire); }

}  // namespace

void SetClockSource(TClockSource* source) {
  gSource.store(source != nullptr ? source : &gRealClock, std::memory_order_release);
}

bool ClockIsVirtual() { return Source().IsVirtual(); }

UInt64 GetTickCount64() { return Source().NowMs(); }

Cardinal GetTickCount() { return static_cast<Cardinal>(GetTickCount64()); }

void Sleep(Cardinal milliseconds) { Source().SleepMs(milliseconds); }

bool WaitOnClock(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, Cardinal timeoutMs,
                 const std::function<bool()>& ready) {
  if (timeoutMs == INFINITE) {
    signal.wait(lock, ready);
    return true;
  }
  if (!ClockIsVirtual()) return signal.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
  // A virtual clock does not wake anybody when it moves, so look at it often;
  // a signal still ends the wait at once through the condition variable.
  const UInt64 deadline = GetTickCount64() + timeoutMs;
  while (!ready()) {
    if (GetTickCount64() >= deadline) return false;
    signal.wait_for(lock, std::chrono::milliseconds(1));
  }
  return true;
}
