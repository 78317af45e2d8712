#pragma once
// The one clock behind tick counts, sleeps and timers. Tests may replace the
// real clock with a virtual one (platform/testing/VirtualClock.h).
#include "platform/rtl/Types.h"

// Milliseconds since an arbitrary start; GetTickCount wraps after 49.7 days.
Cardinal GetTickCount();
UInt64 GetTickCount64();
// Waits the given milliseconds on the clock (a virtual clock returns at once,
// having advanced itself).
void Sleep(Cardinal milliseconds);
