#pragma once
// Thread hooks of the user-interface thread: message filters (WH_MSGFILTER),
// which modal loops of the layer (the menu loop) call for every message they
// retrieve, and get-message hooks (WH_GETMESSAGE), which see every message
// the thread's loops retrieve (GetMessage, PeekMessage, the application's own
// loop and the input it routes) and may change it before it is dispatched.
//
// A chain per kind: the hook installed last runs first and passes on with
// CallNextHookEx. A hook may remove itself or any other hook while it runs;
// a removed hook is never called again, and CallNextHookEx from a removed
// hook still reaches the hooks after it.
#include <functional>

#include "platform/win/MessageLoop.h"

struct HHOOK__;
using HHOOK = HHOOK__*;
// A hook procedure: Code, then the kind's wParam and lParam (a MSG* for both kinds).
using HOOKPROC = std::function<LRESULT(int Code, WPARAM wParam, LPARAM lParam)>;

constexpr int WH_MSGFILTER = -1, WH_GETMESSAGE = 3;
constexpr int HC_ACTION = 0;
// Codes of WH_MSGFILTER: which modal loop filters.
constexpr int MSGF_DIALOGBOX = 0, MSGF_MESSAGEBOX = 1, MSGF_MENU = 2;

// Installs a hook of the kind for the thread (its id from GetCurrentThreadId,
// or 0 for the user-interface thread) and answers its handle. nullptr with
// ERROR_INVALID_HOOK_FILTER for another kind, ERROR_INVALID_FILTER_PROC for an
// empty procedure, ERROR_INVALID_PARAMETER for another thread or a call off
// the user-interface thread. The module is not used.
HHOOK SetWindowsHookEx(int IdHook, HOOKPROC Proc, void* Module, DWORD ThreadId);
// Removes a hook; FALSE with ERROR_INVALID_HOOK_HANDLE for an unknown or already removed handle.
BOOL UnhookWindowsHookEx(HHOOK Hook);
// Calls the hook after Hook in its chain and answers its result; 0 when there
// is none or Hook is unknown.
LRESULT CallNextHookEx(HHOOK Hook, int Code, WPARAM wParam, LPARAM lParam);
// Runs the WH_MSGFILTER chain over Msg with Code (an MSGF_ value); non-zero
// when a hook handled the message, which the calling loop then drops. FALSE
// for nullptr.
BOOL CallMsgFilter(MSG* Msg, int Code);

// --- for the layer's loops ---
// Runs the WH_GETMESSAGE chain over Msg (wParam PM_REMOVE or PM_NOREMOVE).
void CallGetMessageHooks(MSG* Msg, UINT RemoveFlag);
// True while a hook of the kind is installed (the loops skip the chain otherwise).
bool HooksInstalled(int IdHook);
