#pragma once
// Seams between the message loop, the timers, threads and the virtual clock.
// Not for use outside platform/.
#include <functional>
#include <optional>

#include "platform/win/Messages.h"

// --- MessageLoop.cpp ---
// Runs `call` on the user-interface thread in turn with posted messages;
// `dropped` runs instead when the call is discarded (loop shut down, or
// RemoveQueuedCalls with its tag).
void QueueCall(const void* tag, std::function<void()> call, std::function<void()> dropped);
void RemoveQueuedCalls(const void* tag);
// Calls the window's procedure through the exception boundary; 0 for an unknown window.
LRESULT DispatchToWindow(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Hands the exception being caught to the message exception handler.
void ReportDispatchException();
// Delivers the messages queued when the loop was woken.
void DrainMessagesOnWake();
// Makes sure the loop exists when called on the user-interface thread.
void EnsureMessageLoop();
// Routed input (Text: the characters a key-down types): queued and true
// while an own loop (GetMessage, PeekMessage) pumps; false otherwise, and the
// caller delivers it.
struct MSG;
bool QueueInputMessage(const MSG& Msg, const String& Text);

// --- QtLoop.cpp (the only place that touches the event loop library) ---
void EnsureQtLoop(int* argc, char** argv);
void DestroyQtLoop();
// Thread-safe: makes the user-interface thread call DrainMessagesOnWake soon.
void PostLoopWake();
// Thread-safe: runs `fn` on the user-interface thread soon (dropped before the loop exists).
void RunOnUIThread(std::function<void()> fn);
// User-interface thread: arms the real-time timer wake for the given due time (none: off).
void ArmTimerWake(std::optional<UInt64> dueMs);
void ProcessQtEvents();
void WaitQtEvents(Cardinal maxMs);

// --- Timers.cpp ---
// Fires each timer due at the clock's current time once, in due-time order
// (ties in creation order). User-interface thread only.
void FireDueTimers();
std::optional<UInt64> NextTimerDue();
void KillWindowTimers(HWND wnd);
// Thread-safe: re-arms the timer wake after the clock or the timer set changed.
void WakeTimers();
