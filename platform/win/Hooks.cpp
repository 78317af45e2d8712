#include "platform/win/Hooks.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/rtl/Thread.h"
#include "platform/win/LoopInternal.h"
#include "platform/win/WinError.h"

namespace {

struct THook {
  int Kind = 0;
  HOOKPROC Proc;
  std::uintptr_t Id = 0;
  bool Removed = false;
};

// Newest first, as the chains run. Removed hooks stay listed while any chain
// runs, so that a removed hook's CallNextHookEx still finds its successor.
struct THookState {
  std::vector<std::shared_ptr<THook>> Chain;
  std::uintptr_t NextId = 0x1000;
  int Running = 0;
};

THookState& HS() {
  static THookState s;  // user-interface thread only
  return s;
}

void Purge() {
  THookState& s = HS();
  if (s.Running > 0) return;
  s.Chain.erase(std::remove_if(s.Chain.begin(), s.Chain.end(), [](const auto& h) { return h->Removed; }),
                s.Chain.end());
}

// Calls the first live hook of Kind at or after position From.
LRESULT CallFrom(std::size_t From, int Kind, int Code, WPARAM wParam, LPARAM lParam) {
  THookState& s = HS();
  std::shared_ptr<THook> hook;
  for (std::size_t i = From; i < s.Chain.size(); ++i)
    if (s.Chain[i]->Kind == Kind && !s.Chain[i]->Removed) {
      hook = s.Chain[i];
      break;
    }
  if (!hook) return 0;
  ++s.Running;
  LRESULT result = 0;
  try {
    result = hook->Proc(Code, wParam, lParam);
  } catch (...) {
    ReportDispatchException();
  }
  --s.Running;
  Purge();
  return result;
}

}  // namespace

HHOOK SetWindowsHookEx(int IdHook, HOOKPROC Proc, void*, DWORD ThreadId) {
  if (IdHook != WH_MSGFILTER && IdHook != WH_GETMESSAGE) {
    SetLastError(ERROR_INVALID_HOOK_FILTER);
    return nullptr;
  }
  if (!Proc) {
    SetLastError(ERROR_INVALID_FILTER_PROC);
    return nullptr;
  }
  if (!IsUIThread() || (ThreadId != 0 && ThreadId != GetCurrentThreadId())) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  THookState& s = HS();
  auto hook = std::make_shared<THook>();
  hook->Kind = IdHook;
  hook->Proc = std::move(Proc);
  hook->Id = s.NextId;
  s.NextId += 4;
  s.Chain.insert(s.Chain.begin(), hook);
  return reinterpret_cast<HHOOK>(hook->Id);
}

BOOL UnhookWindowsHookEx(HHOOK Hook) {
  THookState& s = HS();
  for (auto& h : s.Chain)
    if (reinterpret_cast<HHOOK>(h->Id) == Hook && !h->Removed) {
      h->Removed = true;
      Purge();
      return TRUE;
    }
  SetLastError(ERROR_INVALID_HOOK_HANDLE);
  return FALSE;
}

LRESULT CallNextHookEx(HHOOK Hook, int Code, WPARAM wParam, LPARAM lParam) {
  THookState& s = HS();
  for (std::size_t i = 0; i < s.Chain.size(); ++i)
    if (reinterpret_cast<HHOOK>(s.Chain[i]->Id) == Hook) return CallFrom(i + 1, s.Chain[i]->Kind, Code, wParam, lParam);
  return 0;
}

BOOL CallMsgFilter(MSG* Msg, int Code) {
  if (Msg == nullptr || !HooksInstalled(WH_MSGFILTER)) return FALSE;
  return CallFrom(0, WH_MSGFILTER, Code, 0, reinterpret_cast<LPARAM>(Msg)) != 0 ? TRUE : FALSE;
}

void CallGetMessageHooks(MSG* Msg, UINT RemoveFlag) {
  if (Msg == nullptr || !HooksInstalled(WH_GETMESSAGE)) return;
  CallFrom(0, WH_GETMESSAGE, HC_ACTION, RemoveFlag, reinterpret_cast<LPARAM>(Msg));
}

bool HooksInstalled(int IdHook) {
  for (const auto& h : HS().Chain)
    if (h->Kind == IdHook && !h->Removed) return true;
  return false;
}
