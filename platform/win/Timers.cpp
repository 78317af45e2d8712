#include "platform/win/Timers.h"

#include <algorithm>
#include <mutex>
#include <tuple>
#include <vector>

#include "platform/win/Clock.h"
#include "platform/win/LoopInternal.h"
#include "platform/win/MessageLoop.h"

namespace {

struct TTimerEntry {
  HWND Wnd;
  UINT_PTR Id;
  UINT Interval;
  UInt64 Due;
  UInt64 Serial;  // creation order breaks ties between equal due times
};

struct TTimerTable {
  std::mutex Lock;
  std::vector<TTimerEntry> Timers;
  UInt64 NextSerial = 1;
};

TTimerTable& Table() {
  static auto* table = new TTimerTable;
  return *table;
}

}  // namespace

UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapse) {
  if (wnd == nullptr || !IsWindow(wnd)) return 0;
  const UINT interval = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  TTimerTable& t = Table();
  {
    std::lock_guard<std::mutex> guard(t.Lock);
    std::erase_if(t.Timers, [&](const TTimerEntry& e) { return e.Wnd == wnd && e.Id == id; });
    t.Timers.push_back({wnd, id, interval, GetTickCount64() + interval, t.NextSerial++});
  }
  WakeTimers();
  return id != 0 ? id : 1;
}

bool KillTimer(HWND wnd, UINT_PTR id) {
  TTimerTable& t = Table();
  std::size_t removed = 0;
  {
    std::lock_guard<std::mutex> guard(t.Lock);
    removed = std::erase_if(t.Timers, [&](const TTimerEntry& e) { return e.Wnd == wnd && e.Id == id; });
  }
  if (removed > 0) WakeTimers();
  return removed > 0;
}

void KillWindowTimers(HWND wnd) {
  TTimerTable& t = Table();
  std::lock_guard<std::mutex> guard(t.Lock);
  std::erase_if(t.Timers, [&](const TTimerEntry& e) { return e.Wnd == wnd; });
}

std::optional<UInt64> NextTimerDue() {
  TTimerTable& t = Table();
  std::lock_guard<std::mutex> guard(t.Lock);
  std::optional<UInt64> next;
  for (const TTimerEntry& e : t.Timers)
    if (!next || e.Due < *next) next = e.Due;
  return next;
}

void FireDueTimers() {
  if (!IsUIThread()) return;
  TTimerTable& t = Table();
  const UInt64 now = GetTickCount64();
  std::vector<std::pair<UInt64, UInt64>> due;  // (due time, serial)
  {
    std::lock_guard<std::mutex> guard(t.Lock);
    for (const TTimerEntry& e : t.Timers)
      if (e.Due <= now) due.emplace_back(e.Due, e.Serial);
  }
  std::sort(due.begin(), due.end());
  // Each timer fires at most once per call, so a handler slower than its
  // interval cannot keep this loop going; a timer killed or restarted by an
  // earlier handler is skipped (its serial is gone).
  for (const auto& entry : due) {
    const auto serial = entry.second;  // a plain copy: clang 14 cannot capture a structured binding
    HWND wnd = nullptr;
    UINT_PTR id = 0;
    {
      std::lock_guard<std::mutex> guard(t.Lock);
      auto it = std::find_if(t.Timers.begin(), t.Timers.end(), [&](const TTimerEntry& e) { return e.Serial == serial; });
      if (it == t.Timers.end()) continue;
      it->Due = now + it->Interval;
      wnd = it->Wnd;
      id = it->Id;
    }
    DispatchToWindow(wnd, WM_TIMER, id, 0);
  }
  ArmTimerWake(NextTimerDue());
}

void WakeTimers() {
  if (IsUIThread())
    ArmTimerWake(NextTimerDue());
  else
    RunOnUIThread([] { FireDueTimers(); });
}
