#pragma once
// The key-tip window: a small rounded hint window with a top-to-bottom
// gradient face and its text centred on one line.
#include "platform/vcl/HintWindow.h"

class TShortCutHintWindow : public THintWindow {
 public:
  explicit TShortCutHintWindow(TComponent* AOwner);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value);

 protected:
  // No border, topmost; both colours become clInfoBk.
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  // At least as wide as "O" plus 8.
  void Resize() override;
  // Answers 1 without painting.
  void WMEraseBkgnd(TMessage& Message) override;

 private:
  TColor FColor = clInfoBk;
  TColor FColorTo = clInfoBk;
};
