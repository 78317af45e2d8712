#pragma once
// Pumping the user-interface thread's messages in tests.
#include <functional>

#include "platform/rtl/Types.h"

class TVirtualClock;

// Delivers messages, timers and platform events on the calling
// (user-interface) thread until Condition answers true or TimeoutMs of real
// time pass; answers Condition's last value. Meant for work done by other
// threads; a virtual clock is not moved.
bool PumpUntil(const std::function<bool()>& Condition, Cardinal TimeoutMs = 10000);
// Delivers what is pending now, without waiting.
void PumpPending();
// Under a virtual clock: moves it on in steps (to each due timer, at most
// StepMs at a time), delivering messages after each step, until Condition
// answers true or VirtualMs have passed; answers Condition's last value.
bool AdvanceUntil(TVirtualClock& Clock, const std::function<bool()>& Condition, Cardinal VirtualMs,
                  Cardinal StepMs = 10);
