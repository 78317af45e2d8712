#include "platform/win/MessageLoop.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <iostream>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/Hooks.h"
#include "platform/win/WindowData.h"
#include "platform/win/LoopInternal.h"
#include "platform/win/WinError.h"

namespace {

struct TWindowRecord {
  TWndMethod Procedure;
  // The subclass chain above Procedure (bottom first), the tokens that left
  // it with the one that stood below each, the token of Procedure itself
  // (made on first request), and the user value. User-interface thread only.
  std::vector<LONG_PTR> Chain;
  std::unordered_map<LONG_PTR, LONG_PTR> Left;
  LONG_PTR OwnToken = 0;
  LONG_PTR UserData = 0;
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

// Input is routed input that an own message loop (GetMessage, PeekMessage) was
// pumping for: it waits in the posted queue for that loop.
enum class TEntryKind { Post, Send, Call, Input };

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
  DWORD Time = 0;
  TPoint Pt;
  String Text;  // the characters a queued key-down types
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
  // Object instances by token; tokens are never reused.
  std::unordered_map<LONG_PTR, std::shared_ptr<TWndMethod>> Instances;
  LONG_PTR NextInstance = 0x100000;
  // User-interface thread only: own loops pumping now, the quit request, and
  // the last key-down an own loop took with the characters it types.
  int OwnLoopDepth = 0;
  bool QuitPending = false;
  int QuitCode = 0;
  MSG LastKey;
  String LastKeyText;
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
    case TEntryKind::Input:
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
    case TEntryKind::Post:
    case TEntryKind::Input: {
      if (!FindWindow(entry.Wnd)) {
        Drop(entry);  // the window went away after the message was taken
        return;
      }
      if (HooksInstalled(WH_GETMESSAGE)) {
        MSG msg{entry.Wnd, entry.Msg, entry.WParam, entry.LParam, entry.Time, entry.Pt};
        CallGetMessageHooks(&msg, PM_REMOVE);
        DispatchToWindow(msg.hwnd, msg.message, msg.wParam, msg.lParam);
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

// The application's loop pumping: input is routed directly again, even inside
// a handler that an own loop dispatched.
class TAppLoopScope {
 public:
  TAppLoopScope() : FSaved(State().OwnLoopDepth) { State().OwnLoopDepth = 0; }
  ~TAppLoopScope() { State().OwnLoopDepth = FSaved; }
  TAppLoopScope(const TAppLoopScope&) = delete;
  TAppLoopScope& operator=(const TAppLoopScope&) = delete;

 private:
  int FSaved;
};

class TOwnLoopScope {
 public:
  TOwnLoopScope() { ++State().OwnLoopDepth; }
  ~TOwnLoopScope() { --State().OwnLoopDepth; }
  TOwnLoopScope(const TOwnLoopScope&) = delete;
  TOwnLoopScope& operator=(const TOwnLoopScope&) = delete;
};

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
    s.Windows.emplace(key, [&] {
      auto r = std::make_shared<TWindowRecord>();
      r->Procedure = std::move(procedure);
      return r;
    }());
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
  entry.Time = DWORD(GetTickCount());
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

namespace {

std::shared_ptr<TWndMethod> InstanceOf(LONG_PTR token) {
  TLoopState& s = State();
  std::lock_guard<std::mutex> guard(s.Lock);
  auto it = s.Instances.find(token);
  return it == s.Instances.end() ? nullptr : it->second;
}

// Follows tokens that left the window's chain to the one now standing in their place.
LONG_PTR ResolveToken(const TWindowRecord& record, LONG_PTR token) {
  for (std::size_t n = 0; n <= record.Left.size(); ++n) {
    if (token == record.OwnToken || std::find(record.Chain.begin(), record.Chain.end(), token) != record.Chain.end())
      return token;
    auto it = record.Left.find(token);
    if (it == record.Left.end()) return token;
    token = it->second;
  }
  return token;
}

// Calls the procedure of the token for the window: a chained instance that
// was freed passes on to the one below it; 0 for the window's own procedure.
void CallToken(TWindowRecord& record, LONG_PTR token, TMessage& message) {
  token = ResolveToken(record, token);
  for (;;) {
    if (token == 0 || token == record.OwnToken) {
      record.Procedure(message);
      return;
    }
    auto pos = std::find(record.Chain.begin(), record.Chain.end(), token);
    if (const auto method = InstanceOf(token)) {
      (*method)(message);
      return;
    }
    if (pos == record.Chain.end()) return;  // names nothing
    token = pos == record.Chain.begin() ? record.OwnToken : *(pos - 1);
  }
}

LONG_PTR OwnTokenOf(TWindowRecord& record) {
  if (record.OwnToken == 0) {
    TLoopState& s = State();
    std::lock_guard<std::mutex> guard(s.Lock);
    record.OwnToken = s.NextInstance;
    s.NextInstance += 16;
  }
  return record.OwnToken;
}

LONG_PTR TopToken(TWindowRecord& record) { return record.Chain.empty() ? OwnTokenOf(record) : record.Chain.back(); }

std::shared_ptr<TWindowRecord> RecordForData(HWND wnd) {
  auto record = IsUIThread() ? FindWindow(wnd) : nullptr;
  if (!record) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return record;
}

}  // namespace

WNDPROC MakeObjectInstance(TWndMethod Method) {
  if (!Method) return 0;
  TLoopState& s = State();
  std::lock_guard<std::mutex> guard(s.Lock);
  const LONG_PTR token = s.NextInstance;
  s.NextInstance += 16;
  s.Instances.emplace(token, std::make_shared<TWndMethod>(std::move(Method)));
  return token;
}

void FreeObjectInstance(WNDPROC Instance) {
  std::shared_ptr<TWndMethod> method;  // released outside the lock
  TLoopState& s = State();
  std::lock_guard<std::mutex> guard(s.Lock);
  auto it = s.Instances.find(Instance);
  if (it == s.Instances.end()) return;
  method = std::move(it->second);
  s.Instances.erase(it);
}

LONG_PTR GetWindowLong(HWND Wnd, int Index) {
  const auto record = RecordForData(Wnd);
  if (!record) return 0;
  switch (Index) {
    case GWL_WNDPROC: return TopToken(*record);
    case GWL_USERDATA: return record->UserData;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
  }
}

LONG_PTR SetWindowLong(HWND Wnd, int Index, LONG_PTR NewLong) {
  const auto record = RecordForData(Wnd);
  if (!record) return 0;
  if (Index == GWL_USERDATA) return std::exchange(record->UserData, NewLong);
  if (Index != GWL_WNDPROC) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  TWindowRecord& r = *record;
  const LONG_PTR top = TopToken(r);
  const LONG_PTR token = ResolveToken(r, NewLong);
  if (token == top) return top;
  // Setting back what a subclass procedure replaced takes that one out.
  std::size_t above = r.Chain.size();
  if (token == r.OwnToken) above = 0;
  else if (auto pos = std::find(r.Chain.begin(), r.Chain.end(), token); pos != r.Chain.end())
    above = std::size_t(pos - r.Chain.begin()) + 1;
  if (above < r.Chain.size()) {
    r.Left[r.Chain[above]] = token;
    r.Chain.erase(r.Chain.begin() + std::ptrdiff_t(above));
    return top;
  }
  if (!InstanceOf(token)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  r.Left.erase(token);
  r.Chain.push_back(token);
  return top;
}

LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  const auto record = IsUIThread() ? FindWindow(Wnd) : nullptr;
  if (!record) return 0;
  TMessage message{Msg, wParam, lParam, 0};
  CallToken(*record, Proc, message);
  return message.Result;
}

LRESULT DispatchToWindow(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const std::shared_ptr<TWindowRecord> record = FindWindow(wnd);
  if (!record) return 0;
  // The record stays alive through the call even if the procedure destroys
  // its own window.
  TMessage message{msg, wParam, lParam, 0};
  try {
    if (record->Chain.empty())
      record->Procedure(message);
    else
      CallToken(*record, record->Chain.back(), message);
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
  TAppLoopScope appLoop;
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
  // An own loop takes its messages itself; waking it was all that was needed.
  if (State().OwnLoopDepth > 0) return;
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
  TAppLoopScope appLoop;
  for (std::size_t n = PendingCount(); n > 0; --n)
    if (!DispatchNextMessage()) break;
  FireDueTimers();
  ProcessQtEvents();
}

void WaitMessage(Cardinal maxMs) {
  if (!IsUIThread()) return;
  EnsureMessageLoop();
  TAppLoopScope appLoop;
  if (PendingCount() > 0) return;
  WaitQtEvents(maxMs);
}

// ---------------------------------------------------------------------------
// Own message loops

namespace {

bool Matches(const TEntry& e, HWND wnd, UINT lo, UINT hi) {
  if (e.Kind != TEntryKind::Post && e.Kind != TEntryKind::Input) return false;
  if (wnd != nullptr && e.Wnd != wnd) return false;
  return (lo == 0 && hi == 0) || (e.Msg >= lo && e.Msg <= hi);
}

// Runs sent messages and queued calls ahead of the first message that
// matches, then answers it (taken out of the queue when Remove). Bounded by
// what was queued on entry, so a call that queues itself again cannot hold it.
bool TakeMessage(MSG* out, HWND wnd, UINT lo, UINT hi, bool remove) {
  TLoopState& s = State();
  for (std::size_t budget = PendingCount() + 1; budget > 0; --budget) {
    TEntry run;
    bool haveRun = false;
    {
      std::lock_guard<std::mutex> guard(s.Lock);
      if (!s.Sent.empty()) {
        run = std::move(s.Sent.front());
        s.Sent.pop_front();
        haveRun = true;
      } else {
        for (auto it = s.Posted.begin(); it != s.Posted.end(); ++it) {
          if (it->Kind == TEntryKind::Call) {
            run = std::move(*it);
            s.Posted.erase(it);
            haveRun = true;
            break;
          }
          if (!Matches(*it, wnd, lo, hi)) continue;
          *out = MSG{it->Wnd, it->Msg, it->WParam, it->LParam, it->Time, it->Pt};
          const bool keyDown = it->Kind == TEntryKind::Input && (it->Msg == WM_KEYDOWN || it->Msg == WM_SYSKEYDOWN);
          if (remove) {
            s.LastKey = keyDown ? *out : MSG{};
            s.LastKeyText = keyDown ? std::move(it->Text) : String();
            s.Posted.erase(it);
          }
          return true;
        }
      }
    }
    if (!haveRun) return false;
    DispatchEntry(run);
  }
  return false;
}

bool TakeQuit(MSG* out, bool remove) {
  TLoopState& s = State();
  if (!s.QuitPending) return false;
  *out = MSG{nullptr, WM_QUIT, WPARAM(s.QuitCode), 0, DWORD(GetTickCount()), {}};
  if (remove) s.QuitPending = false;
  return true;
}

// The window filter names a window that is gone (or never was).
bool BadFilter(HWND wnd) {
  if (wnd == nullptr || IsWindow(wnd)) return false;
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return true;
}

}  // namespace

bool QueueInputMessage(const MSG& Msg, const String& Text) {
  if (!IsUIThread() || State().OwnLoopDepth == 0) return false;
  TEntry entry;
  entry.Kind = TEntryKind::Input;
  entry.Wnd = Msg.hwnd;
  entry.Msg = Msg.message;
  entry.WParam = Msg.wParam;
  entry.LParam = Msg.lParam;
  entry.Time = Msg.time;
  entry.Pt = Msg.pt;
  entry.Text = Text;
  Enqueue(std::move(entry));
  return true;  // an input for a window already gone is simply lost
}

BOOL GetMessage(MSG* Msg, HWND Wnd, UINT FilterMin, UINT FilterMax) {
  if (Msg == nullptr || !IsUIThread()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  EnsureMessageLoop();
  TOwnLoopScope own;
  for (;;) {
    if (BadFilter(Wnd)) return -1;
    if (TakeMessage(Msg, Wnd, FilterMin, FilterMax, true)) {
      CallGetMessageHooks(Msg, PM_REMOVE);
      return Msg->message == WM_QUIT ? 0 : 1;
    }
    if (TakeQuit(Msg, true)) return 0;
    FireDueTimers();
    ProcessQtEvents();
    if (BadFilter(Wnd)) return -1;
    if (TakeMessage(Msg, Wnd, FilterMin, FilterMax, true)) {
      CallGetMessageHooks(Msg, PM_REMOVE);
      return Msg->message == WM_QUIT ? 0 : 1;
    }
    if (State().QuitPending) continue;
    WaitQtEvents(INFINITE);
  }
}

BOOL PeekMessage(MSG* Msg, HWND Wnd, UINT FilterMin, UINT FilterMax, UINT RemoveMsg) {
  if (Msg == nullptr || !IsUIThread()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (BadFilter(Wnd)) return FALSE;
  EnsureMessageLoop();
  TOwnLoopScope own;
  const bool remove = (RemoveMsg & PM_REMOVE) != 0;
  bool found = TakeMessage(Msg, Wnd, FilterMin, FilterMax, remove);
  if (!found) {
    FireDueTimers();
    ProcessQtEvents();
    found = TakeMessage(Msg, Wnd, FilterMin, FilterMax, remove);
  }
  if (found) {
    CallGetMessageHooks(Msg, remove ? PM_REMOVE : PM_NOREMOVE);
    return TRUE;
  }
  return TakeQuit(Msg, remove) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG* Msg) {
  TLoopState& s = State();
  if (Msg == nullptr || !IsUIThread() || (Msg->message != WM_KEYDOWN && Msg->message != WM_SYSKEYDOWN)) return FALSE;
  const MSG& k = s.LastKey;
  if (k.hwnd != Msg->hwnd || k.message != Msg->message || k.wParam != Msg->wParam || k.lParam != Msg->lParam ||
      s.LastKeyText.empty())
    return FALSE;
  const UINT charMsg = Msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  const String text = std::move(s.LastKeyText);
  s.LastKey = MSG{};
  s.LastKeyText.clear();
  for (Char ch : text) {
    TEntry entry;
    entry.Kind = TEntryKind::Input;
    entry.Wnd = Msg->hwnd;
    entry.Msg = charMsg;
    entry.WParam = WPARAM(ch);
    entry.LParam = Msg->lParam;
    entry.Time = Msg->time;
    entry.Pt = Msg->pt;
    Enqueue(std::move(entry));
  }
  return TRUE;
}

LRESULT DispatchMessage(const MSG* Msg) {
  if (Msg == nullptr || Msg->hwnd == nullptr) return 0;
  return DispatchToWindow(Msg->hwnd, Msg->message, Msg->wParam, Msg->lParam);
}

void PostQuitMessage(int ExitCode) {
  if (!IsUIThread()) return;
  TLoopState& s = State();
  s.QuitPending = true;
  s.QuitCode = ExitCode;
  bool wake = false;
  {
    std::lock_guard<std::mutex> guard(s.Lock);
    wake = NeedWake(s);
  }
  if (wake) PostLoopWake();
}

bool TakeQuitMessage(int* ExitCode) {
  TLoopState& s = State();
  if (!IsUIThread() || !s.QuitPending) return false;
  s.QuitPending = false;
  if (ExitCode != nullptr) *ExitCode = s.QuitCode;
  return true;
}
