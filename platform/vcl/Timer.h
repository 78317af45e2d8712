#pragma once
// TTimer: raises OnTimer every Interval milliseconds on the user-interface
// thread while Enabled, through a hidden window's WM_TIMER.
#include "platform/rtl/Component.h"
#include "platform/win/Messages.h"

class TTimer : public TComponent {
 public:
  // Enabled, 1000 ms.
  explicit TTimer(TComponent* AOwner = nullptr);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  // Starting or stopping; enabling a running timer changes nothing.
  void SetEnabled(bool Value);
  Cardinal Interval() const { return FInterval; }
  // A new interval restarts a running timer from now; 0 stops it.
  void SetInterval(Cardinal Value);

  // Raised on each tick while Enabled; an exception it raises goes to the
  // application's exception handler.
  TNotifyEvent OnTimer;

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);

  bool FEnabled = true;
  Cardinal FInterval = 1000;
  HWND FWindowHandle = nullptr;
};
