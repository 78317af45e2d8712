#pragma once
// TAdvPageScrollButton: the small arrow button at each end of the pager's
// tab row that scrolls the tabs by screens. A windowed control with a
// glow-button appearance; holding the left button on it repeats its click
// (first after InitRepeatPause, then every RepeatPause) through a timer.
#include <memory>

#include "controls/GlowButtonAppearance.h"
#include "controls/GlowButtonPainter.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Timer.h"
#include "ribbon/AdvVistaButton.h"

namespace ribbon {

class TAdvPageScrollButton : public TCustomControl {
 public:
  explicit TAdvPageScrollButton(TComponent* AOwner);
  ~TAdvPageScrollButton() override;

  TGlowButtonAppearance* Appearance() const { return FAppearance.get(); }
  TButtonPosition ButtonPosition() const { return FButtonPosition; }
  // Stores only; the next paint shows it.
  void SetButtonPosition(TButtonPosition Value) { FButtonPosition = Value; }
  TScrollArrow ScrollArrow() const { return FScrollArrow; }
  void SetScrollArrow(TScrollArrow Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool RepeatClick() const { return FRepeatClick; }
  void SetRepeatClick(bool Value) { FRepeatClick = Value; }
  Integer InitRepeatPause() const { return FInitRepeatPause; }
  Integer RepeatPause() const { return FRepeatPause; }
  bool MouseInside() const { return FMouseEnter; }
  bool MousePressed() const { return FMouseDown; }
  // The repeat timer; nullptr before the first press.
  TTimer* RepeatTimer() const { return FRepeatTimer; }
  void Click() override;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  void AppearanceChanged(TObject* Sender);
  void RepeatTimerTick(TObject* Sender);
  void StopRepeat();

  bool FMouseEnter = false;
  std::unique_ptr<TGlowButtonAppearance> FAppearance;
  bool FTransparent = false;
  TButtonPosition FButtonPosition = bpStandalone;
  bool FMouseDown = false;
  TScrollArrow FScrollArrow = saLeft;
  TTimer* FRepeatTimer = nullptr;  // owned (component), made on the first press
  Integer FInitRepeatPause = 400;
  Integer FRepeatPause = 100;
  bool FRepeatClick = true;
  // The press being held has already clicked through the repeat.
  bool FRepeated = false;
};

// The arrow of a page scroll button of the given size: a triangle of
// vertical lines, pointing left for saLeft and right for saRight (nothing
// for the others), ToolBarPPI x 3 / 96 lines wide.
void DrawPageScrollArrow(TCanvas* Canvas, Integer Width, Integer Height, TScrollArrow Arrow, TColor Color);

}  // namespace ribbon
