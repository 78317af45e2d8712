#include "platform/vcl/Timer.h"

#include "platform/win/MessageLoop.h"
#include "platform/win/Timers.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  FWindowHandle = AllocateHWnd([this](TMessage& Message) { WndProc(Message); });
  UpdateTimer();
}

TTimer::~TTimer() {
  FEnabled = false;
  UpdateTimer();
  DeallocateHWnd(FWindowHandle);
}

void TTimer::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  KillTimer(FWindowHandle, 1);
  // The tick runs even before OnTimer is assigned; Timer skips an unset event.
  if (FInterval != 0 && FEnabled) SetTimer(FWindowHandle, 1, FInterval);
}

void TTimer::WndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER)
    Timer();
  else
    Message.Result = DefWindowProc(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TTimer::Timer() {
  if (FEnabled && OnTimer) OnTimer(this);
}
