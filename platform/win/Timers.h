#pragma once
// Window timers: WM_TIMER (wParam = the timer's id) delivered to a window's
// procedure on the user-interface thread, read from the one clock.
#include "platform/win/Messages.h"

// Intervals below this are raised to it, as the system does.
constexpr UINT USER_TIMER_MINIMUM = 0x0000000A;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;

// Starts (or restarts, for an id the window already uses) a timer that sends
// WM_TIMER every `elapse` milliseconds, first after one interval. Answers a
// non-zero value; 0 for a null or unknown window.
UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapse);
// Stops the window's timer; answers false when there is no such timer.
bool KillTimer(HWND wnd, UINT_PTR id);
