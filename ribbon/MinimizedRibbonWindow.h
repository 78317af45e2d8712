#pragma once
// TMinimizedRibbonWindow: the floating ribbon. While the ribbon is
// minimised, the pager shows its active page in this borderless stay-on-top
// pop-up right under the tab row: a clone of the page that holds the page's
// toolbars for as long as the pop-up lives. Losing the activation hides it
// through its hide timer (never inside the activation change itself), unless
// a compact window of one of its toolbars is open, the pager blocks hiding
// or the pager's OnFloatingRibbonHide says no.
#include "platform/vcl/Forms.h"
#include "platform/vcl/Timer.h"

namespace ribbon {

class TAdvPage;
class TZadEdevAziPager;

class TMinimizedRibbonWindow : public TCustomForm {
 public:
  // The timer's interval while a hide was vetoed: the pop-up asks again at
  // this pace rather than every millisecond.
  static constexpr Cardinal VetoedHideRetryMs = 100;

  explicit TMinimizedRibbonWindow(TComponent* AOwner);
  ~TMinimizedRibbonWindow() override;

  TZadEdevAziPager* ZadEdevAziPager() const { return FZadEdevAziPager; }
  void SetZadEdevAziPager(TZadEdevAziPager* Value) { FZadEdevAziPager = Value; }
  TAdvPage* AdvPage() const { return FAdvPage; }
  void SetAdvPage(TAdvPage* Value) { FAdvPage = Value; }
  bool HideOnDeActivate() const { return FHideOnDeActivate; }
  void SetHideOnDeActivate(bool Value) { FHideOnDeActivate = Value; }
  TTimer* HideTimer() const { return FHideTimer; }

  // 3 pixels larger than the page clone each way; the clone at (2, 0).
  void SetWindowSize();
  // CloseQuery agrees, HideOnDeActivate is on and the pager does not block.
  bool CanHideOnDeactivate();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void WMActivate(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Dispatch(TMessage& Message) override;

 private:
  void HideTimerTick(TObject* Sender);

  bool FHideOnDeActivate = true;
  TComponent* FOwner = nullptr;
  TTimer* FHideTimer = nullptr;  // owned (component)
  TZadEdevAziPager* FZadEdevAziPager = nullptr;
  TAdvPage* FAdvPage = nullptr;  // owned (component), the page clone
};

}  // namespace ribbon
