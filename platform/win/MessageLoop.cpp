#include "platform/win/MessageLoop.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <iostream>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/LoopInternal.h"

namespace {

struct TWindowRecord {
  TWndMethod Procedure;
};

struct TSendState {
  std::mutex Lock;
  std::condition_variable Done;
  bool Finished = false;
  LRESULT Result = 0;

  void Complete(LRESULT result) {
    std::lock_guard<std::mutex> guard(Lock);
    Result = result;
    Finished = true;
    Done.notify_all();
  }
};

enum class TEntryKind { Post, Send, Call };

struct TEntry {
  TEntryKind Kind = TEntryKind::Post;
  HWND Wnd = nullptr;
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  TMessageDisposer Dispose = nullptr;
  std::shared_ptr<TSendState> Send;
  std::function<void()> Call;
  std::function<void()> Dropped;
  const void* Tag = nullptr;
};

struct TLoopState {
  std::mutex Lock;
  std::unordered_map<std::uintptr_t, std::shared_ptr<TWindowRecord>> Windows;
  // Handles grow and are never reused, so a late message for a destroyed
  // window can never reach a newer one.
  std::uintptr_t NextHandle = 0x10000;
  std::deque<TEntry> Sent;
  std::deque<TEntry> Posted;
  bool WakePending = false;
  bool Closed = false;
  std::unordered_map<String, UINT> Registered;
  UINT NextRegistered = MIN_REGISTERED_MESSAGE;
  std::function<void()> ExceptionHandler;
};

// Kept for the whole process: worker threads may still post while static
// objects are being destroyed at exit.
TLoopState& State() {
  static auto* state = new TLoopState;
  return *state;
}

std::uintptr_t WindowKey(HWND wnd) { return reinterpret_cast<std::uintptr_t>(wnd); }

void Drop(TEntry& entry) {
  switch (entry.Kind) {
    case TEntryKind::Post:
      if (entry.Dispose != nullptr) entry.Dispose(entry.WParam, entry.LParam);
      break;
    case TEntryKind::Send:
      entry.Send->Complete(0);
      break;
    case TEntryKind::Call:
      if (entry.Dropped) entry.Dropped();
      break;
  }
}

void DropAll(std::vector<TEntry>& entries) {
  for (TEntry& entry : entries) Drop(entry);
}

// Moves the entries that match out of a queue (caller holds the lock).
template <class Pred>
void Extract(std::deque<TEntry>& queue, std::vector<TEntry>& out, Pred pred) {
  for (auto it = queue.begin(); it != queue.end();) {
    if (pred(*it)) {
      out.push_back(std::move(*it));
      it = queue.erase(it);
    } else {
      ++it;
    }
  }
}

// Caller holds the lock; answers whether a wake must be posted.
bool NeedWake(TLoopState& s) {
  if (s.WakePending) return false;
  s.WakePending = true;
  return true;
}

std::shared_ptr<TWindowRecord> FindWindow(HWND wnd) {
  TLoopState& s = State();
  std::lock_guard<std::mutex> guard(s.Lock);
  auto it = s.Windows.find(WindowKey(wnd));
  return it == s.Windows.end() ? nullptr : it->second;
}

void DefaultExceptionReport() { std::cerr << "Exception: " << StringToUtf8(CurrentExceptionReport()) << '\n'; }

void DispatchEntry(TEntry& entry) {
  switch (entry.Kind) {
    case TEntryKind::Post: {
      if (!FindWindow(entry.Wnd)) {
        Drop(entry);  // the window went away after the message was taken
        return;
      }
      DispatchToWindow(entry.Wnd, entry.Msg, entry.WParam, entry.LParam);
      return;
    }
    case TEntryKind::Send:
      entry.Send->Complete(DispatchToWindow(entry.Wnd, entry.Msg, entry.WParam, entry.LParam));
      return;
    case TEntryKind::Call:
      try {
        entry.Call();
      } catch (...) {
        ReportDispatchException();
      }
      return;
  }
}

std::size_t PendingCount() {
  TLoopState& s = State();
  std::lock_guard<std::mutex> guard(s.Lock);
  return s.Sent.size() + s.Posted.size();
}

// Queues an entry, or drops it at once when the loop is shut down or the
// window is unknown; answers whether it was queued.
bool Enqueue(TEntry entry) {
  TLoopState& s = State();
  bool queued = false;
  bool wake = false;
  {
    std::lock_guard<std::mutex> guard(s.Lock);
    const bool known = entry.Kind == TEntryKind::Call || s.Windows.count(WindowKey(entry.Wnd)) != 0;
    if (!s.Closed && known) {
      (entry.Kind == TEntryKind::Send ? s.Sent : s.Posted).push_back(std::move(entry));
      queued = true;
      wake = NeedWake(s);
    }
  }
  if (!queued) {
    Drop(entry);
    return false;
  }
  if (wake) PostLoopWake();
  return true;
}

}  // namespace

bool IsUIThread() { return static_cast<pid_t>(::syscall(SYS_gettid)) == ::getpid(); }

void EnsureMessageLoop() {
  if (IsUIThread()) EnsureQtLoop(nullptr, nullptr);
}

void InitMessageLoop(int argc, char** argv) {
  {
    TLoopState& s = State();
    std::lock_guard<std::mutex> guard(s.Lock);
    s.Closed = false;
  }
  static int savedArgc = 0;
  savedArgc = argc;
  if (IsUIThread()) EnsureQtLoop(&savedArgc, argv);
}

void DoneMessageLoop() {
  TLoopState& s = State();
  std::vector<TEntry> dropped;
  {
    std::lock_guard<std::mutex> guard(s.Lock);
    s.Closed = true;
    for (auto& e : s.Sent) dropped.push_back(std::move(e));
    for (auto& e : s.Posted) dropped.push_back(std::move(e));
    s.Sent.clear();
    s.Posted.clear();
  }
  DropAll(dropped);
  if (IsUIThread()) DestroyQtLoop();
}

HWND RegisterWindow(TWndMethod procedure) {
  if (!procedure) return nullptr;
  TLoopState& s = State();
  HWND wnd = nullptr;
  {
    std::lock_guard<std::mutex> guard(s.Lock);
    const std::uintptr_t key = s.NextHandle;
    s.NextHandle += 4;
    s.Windows.emplace(key, std::make_shared<TWindowRecord>(TWindowRecord{std::move(procedure)}));
    wnd = reinterpret_cast<HWND>(key);
  }
  EnsureMessageLoop();
  return wnd;
}

void UnregisterWindow(HWND wnd) {
  TLoopState& s = State();
  std::vector<TEntry> dropped;
  std::shared_ptr<TWindowRecord> record;  // released outside the lock
  {
    std::lock_guard<std::mutex> guard(s.Lock);
    auto it = s.Windows.find(WindowKey(wnd));
    if (it == s.Windows.end()) return;
    record = std::move(it->second);
    s.Windows.erase(it);
    auto forWnd = [wnd](const TEntry& e) { return e.Kind != TEntryKind::Call && e.Wnd == wnd; };
    Extract(s.Sent, dropped, forWnd);
    Extract(s.Posted, dropped, forWnd);
  }
  KillWindowTimers(wnd);
  DropAll(dropped);
}

HWND AllocateHWnd(TWndMethod method) { return RegisterWindow(std::move(method)); }

void DeallocateHWnd(HWND wnd) { UnregisterWindow(wnd); }

bool IsWindow(HWND wnd) { return FindWindow(wnd) != nullptr; }

LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

bool PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return PostMessage(wnd, msg, wParam, lParam, nullptr);
}

bool PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, TMessageDisposer dispose) {
  TEntry entry;
  entry.Kind = TEntryKind::Post;
  entry.Wnd = wnd;
  entry.Msg = msg;
  entry.WParam = wParam;
  entry.LParam = lParam;
  entry.Dispose = dispose;
  return Enqueue(std::move(entry));
}

LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (IsUIThread()) return DispatchToWindow(wnd, msg, wParam, lParam);
  auto state = std::make_shared<TSendState>();
  TEntry entry;
  entry.Kind = TEntryKind::Send;
  entry.Wnd = wnd;
  entry.Msg = msg;
  entry.WParam = wParam;
  entry.LParam = lParam;
  entry.Send = state;
  if (!Enqueue(std::move(entry))) return 0;
  std::unique_lock<std::mutex> lock(state->Lock);
  state->Done.wait(lock, [&] { return state->Finished; });
  return state->Result;
}

UINT RegisterWindowMessage(StringView name) {
  if (name.empty() || name.size() > 255) return 0;
  TLoopState& s = State();
  const String key = AnsiUpperCase(String(name));
  std::lock_guard<std::mutex> guard(s.Lock);
  if (auto it = s.Registered.find(key); it != s.Registered.end()) return it->second;
  if (s.NextRegistered > MAX_REGISTERED_MESSAGE) return 0;
  const UINT number = s.NextRegistered++;
  s.Registered.emplace(key, number);
  return number;
}

void SetMessageExceptionHandler(std::function<void()> handler) {
  TLoopState& s = State();
  std::lock_guard<std::mutex> guard(s.Lock);
  s.ExceptionHandler = std::move(handler);
}

void ReportDispatchException() {
  std::function<void()> handler;
  {
    TLoopState& s = State();
    std::lock_guard<std::mutex> guard(s.Lock);
    handler = s.ExceptionHandler;
  }
  try {
    if (handler)
      handler();
    else
      DefaultExceptionReport();
  } catch (...) {
    // The handler itself failed: nothing may escape the dispatch boundary.
    DefaultExceptionReport();
  }
}

LRESULT DispatchToWindow(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const std::shared_ptr<TWindowRecord> record = FindWindow(wnd);
  if (!record) return 0;
  // The record stays alive through the call even if the procedure destroys
  // its own window.
  TMessage message{msg, wParam, lParam, 0};
  try {
    record->Procedure(message);
  } catch (...) {
    ReportDispatchException();
    return 0;
  }
  return message.Result;
}

void QueueCall(const void* tag, std::function<void()> call, std::function<void()> dropped) {
  TEntry entry;
  entry.Kind = TEntryKind::Call;
  entry.Tag = tag;
  entry.Call = std::move(call);
  entry.Dropped = std::move(dropped);
  Enqueue(std::move(entry));
}

void RemoveQueuedCalls(const void* tag) {
  TLoopState& s = State();
  std::vector<TEntry> dropped;
  {
    std::lock_guard<std::mutex> guard(s.Lock);
    Extract(s.Posted, dropped, [tag](const TEntry& e) { return e.Kind == TEntryKind::Call && e.Tag == tag; });
  }
  DropAll(dropped);
}

bool DispatchNextMessage() {
  if (!IsUIThread()) return false;
  TEntry entry;
  {
    TLoopState& s = State();
    std::lock_guard<std::mutex> guard(s.Lock);
    std::deque<TEntry>* queue = !s.Sent.empty() ? &s.Sent : !s.Posted.empty() ? &s.Posted : nullptr;
    if (queue == nullptr) return false;
    entry = std::move(queue->front());
    queue->pop_front();
  }
  DispatchEntry(entry);
  return true;
}

void DrainMessagesOnWake() {
  {
    TLoopState& s = State();
    std::lock_guard<std::mutex> guard(s.Lock);
    s.WakePending = false;
  }
  // Only what was queued at the wake: a handler that keeps posting to itself
  // must not starve the platform's own events.
  for (std::size_t n = PendingCount(); n > 0; --n)
    if (!DispatchNextMessage()) break;
  TLoopState& s = State();
  bool wake = false;
  {
    std::lock_guard<std::mutex> guard(s.Lock);
    if (!s.Sent.empty() || !s.Posted.empty()) wake = NeedWake(s);
  }
  if (wake) PostLoopWake();
}

void ProcessPendingMessages() {
  if (!IsUIThread()) return;
  EnsureMessageLoop();
  for (std::size_t n = PendingCount(); n > 0; --n)
    if (!DispatchNextMessage()) break;
  FireDueTimers();
  ProcessQtEvents();
}

void WaitMessage(Cardinal maxMs) {
  if (!IsUIThread()) return;
  EnsureMessageLoop();
  if (PendingCount() > 0) return;
  WaitQtEvents(maxMs);
}
