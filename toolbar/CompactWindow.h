#pragma once
// TCompactWindow: the borderless popup that shows a compact toolbar's
// clone, which holds the toolbar's controls for as long as the toolbar is
// compact. The compact button opens it; losing the activation, Escape or
// the toolbar hides it again (through a one-shot timer, so that the hide
// never runs inside the activation change that caused it).
#include "platform/vcl/Forms.h"
#include "platform/vcl/Timer.h"

class TAdvGlowButton;

namespace toolbar {

class TAdvCustomToolBar;

class TCompactWindow : public TCustomForm {
 public:
  explicit TCompactWindow(TComponent* AOwner);
  ~TCompactWindow() override;

  // The clone shown in the window.
  TAdvCustomToolBar* ZadEdevAzi() const { return FZadEdevAzi; }
  void SetZadEdevAzi(TAdvCustomToolBar* Value) { FZadEdevAzi = Value; }
  // The compact button that opened the window.
  TAdvGlowButton* DropDownButton() const { return FDropDownButton; }
  void SetDropDownButton(TAdvGlowButton* Value) { FDropDownButton = Value; }
  bool HideOnDeActivate() const { return FHideOnDeActivate; }
  void SetHideOnDeActivate(bool Value) { FHideOnDeActivate = Value; }
  TTimer* HideTimer() const { return FHideTimer; }

  // Fits the window around the clone with a one-pixel frame and takes the
  // styler's colour (nothing without a clone).
  void SetWindowSize();
  // Rounds the window's corners (4 x 4).
  void SetRoundRegion();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void DoHide() override;
  void WMActivate(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 private:
  void HideTimerTick(TObject* Sender);
  // The clone holds a glow button whose menu is dropped down.
  bool CloneHasDroppedDown() const;

  TAdvCustomToolBar* FZadEdevAzi = nullptr;
  bool FHideOnDeActivate = true;
  TComponent* FOwner = nullptr;
  TTimer* FHideTimer = nullptr;  // owned (component)
  TAdvGlowButton* FDropDownButton = nullptr;
};

}  // namespace toolbar
