#pragma once
// The user-interface thread's message loop: window handles with their message
// procedures, posted and sent messages, registered message numbers, and the
// pumping that the application object builds on.
//
// Every window belongs to the user-interface thread (the process's main
// thread): its procedure only ever runs there. Any thread may post; a thread
// other than the user-interface thread that sends waits until the message has
// been handled. An exception that leaves a procedure is caught where the loop
// calls it and handed to the message exception handler (the application
// object's HandleException once it exists).
#include <functional>

#include "platform/rtl/Geometry.h"
#include "platform/rtl/Types.h"
#include "platform/win/Clock.h"
#include "platform/win/KernelHandles.h"
#include "platform/win/Messages.h"

// A message as a loop retrieves it: the window, the message and its
// parameters, the tick count and the pointer's screen position at the time.
struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  TPoint pt;
};

// PeekMessage: leave the message queued, or take it.
constexpr UINT PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001, PM_NOYIELD = 0x0002;

// A window's message procedure.
using TWndMethod = std::function<void(TMessage& Message)>;

// Frees the payload of a posted message (a heap copy carried in wParam or
// lParam) when the message is never delivered. Once a message is delivered its
// receiver owns the payload and the disposer is not called.
using TMessageDisposer = void (*)(WPARAM wParam, LPARAM lParam);

// Enters a window object into the handle table and answers its new handle.
// Handles are never reused. Controls register their windows here as hidden
// windows do; an empty procedure answers nullptr.
HWND RegisterWindow(TWndMethod procedure);
// Removes a window: its timers stop, messages still queued for it are dropped
// (their disposers run) and senders waiting on it get 0. An unknown handle is
// ignored.
void UnregisterWindow(HWND wnd);

// A hidden window whose messages go to `method` (same as RegisterWindow).
HWND AllocateHWnd(TWndMethod method);
// Destroys a hidden window made by AllocateHWnd (same as UnregisterWindow).
void DeallocateHWnd(HWND wnd);
// True while the handle names a live window.
bool IsWindow(HWND wnd);

// The default answer to a message a procedure does not handle: 0.
LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Queues a message for the window, from any thread; messages are delivered in
// the order they were posted. A null, unknown or destroyed handle answers
// false and nothing is queued.
bool PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The same, handing the payload to the loop until delivery: when the message
// cannot be queued (answer false) or is dropped later because its window was
// destroyed or the loop shut down, `dispose` runs exactly once. Example:
//   PostMessage(h, WM_USER + 1, WPARAM(new String(text)), 0,
//               [](WPARAM w, LPARAM) { delete reinterpret_cast<String*>(w); });
bool PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, TMessageDisposer dispose);

// Calls the window's procedure and answers its Result. On the user-interface
// thread the call is direct; from another thread the caller waits until the
// user-interface thread has handled the message (sent messages go ahead of
// posted ones). An unknown handle answers 0.
LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The process-wide number for a message name, in 0xC000..0xFFFF: the same
// name (compared without regard to case) always gives the same number. An
// empty name, a name longer than 255 characters or an exhausted range answers 0.
UINT RegisterWindowMessage(StringView name);

// --- pumping (user-interface thread; on other threads they do nothing) ---

// Delivers the next pending sent message, thread call or posted message;
// answers false when none is pending. Never blocks.
bool DispatchNextMessage();
// Delivers what is pending now, fires due timers and lets the event loop
// handle its own pending events. Never blocks.
void ProcessPendingMessages();
// Blocks until something arrives for the loop (a message, a timer, a platform
// event) or `maxMs` of real time pass; returns at once when a message is pending.
void WaitMessage(Cardinal maxMs = INFINITE);

// True on the user-interface thread (the process's main thread).
bool IsUIThread();

// Called inside the catch block when an exception leaves a message procedure
// or a queued thread call; std::current_exception() is the exception. An
// empty handler restores the default, which writes the message to stderr.
void SetMessageExceptionHandler(std::function<void()> handler);

// Creates the platform's event loop and application object once, on the
// user-interface thread (later calls do nothing). Other calls of this header
// create it on first use with an empty command line.
void InitMessageLoop(int argc, char** argv);
// Shuts the loop down at program end: pending messages are dropped (their
// disposers run), waiting senders get 0, later posts fail.
void DoneMessageLoop();

// --- own message loops (user-interface thread), as a modal drag or tracking
// loop writes them. While one of them pumps, input routed to the program's
// windows is queued for it instead of being delivered; sent messages, queued
// thread calls, timers and the platform's events are handled inside them
// (timers are not returned as WM_TIMER). A window filter matches the window
// itself (not its children); FilterMin = FilterMax = 0 matches every message.

// Waits for the next matching message and takes it (the thread's get-message
// hooks see it first): 1 for a message, 0 for WM_QUIT (Msg->wParam holds the
// exit code of PostQuitMessage), -1 with ERROR_INVALID_PARAMETER for nullptr
// or a call off the user-interface thread, -1 with
// ERROR_INVALID_WINDOW_HANDLE when Wnd is not a window or is destroyed while
// the call waits, so a loop over a window ends with it.
BOOL GetMessage(MSG* Msg, HWND Wnd, UINT FilterMin, UINT FilterMax);
// Looks for a matching message without waiting: TRUE with it in Msg (taken
// with PM_REMOVE, left queued with PM_NOREMOVE), WM_QUIT included; FALSE when
// there is none, and FALSE with GetLastError set for the failures of GetMessage.
BOOL PeekMessage(MSG* Msg, HWND Wnd, UINT FilterMin, UINT FilterMax, UINT RemoveMsg);
// Queues the characters a key-down taken by GetMessage or PeekMessage types
// (WM_CHAR, WM_SYSCHAR for WM_SYSKEYDOWN) for the same window; TRUE when it
// queued some. FALSE for any other message, for a key posted by a program
// (nothing is known of what it types) and for a key already translated.
BOOL TranslateMessage(const MSG* Msg);
// Calls the procedure of Msg->hwnd with the message and answers its result;
// 0 for nullptr or an unknown window.
LRESULT DispatchMessage(const MSG* Msg);
// Asks the loops to end: the next GetMessage answers 0 with WM_QUIT once no
// matching message is queued, PeekMessage answers WM_QUIT, and the
// application's loop terminates. A loop that takes WM_QUIT without being the
// outermost posts it again for the loop around it. Off the user-interface
// thread: ignored.
void PostQuitMessage(int ExitCode);
// For the application's loop: takes a pending quit request (true), with its exit code.
bool TakeQuitMessage(int* ExitCode);
