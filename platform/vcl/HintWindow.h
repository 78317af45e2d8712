#pragma once
// The hint window: a frameless pop-up that shows a control's short hint.
// InstallHintWindow makes the application show its hints in one.

#include "platform/vcl/Controls.h"

class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* AOwner);
  ~THintWindow() override;
  // Places the window at Rect (screen coordinates, kept on the screen) with the text and shows it without activating.
  virtual void ActivateHint(TRect Rect, const String& AHint);
  // The same with data for subclasses.
  virtual void ActivateHintData(TRect Rect, const String& AHint, void* AData);
  // The size the text needs, wrapped at MaxWidth, as a rectangle at (0, 0).
  virtual TRect CalcHintRect(Integer MaxWidth, const String& AHint, void* AData);
  // Hides the window (its handle goes).
  void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};

// The application shows its hints in a hint window from now on (after InitApplication).
void InstallHintWindow();
// The hint window showing now, nullptr when none.
THintWindow* ActiveHintWindow();
