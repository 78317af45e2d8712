#pragma once
// A real form as the owner of the programmer's components: the form seen
// through the small interfaces the components use, and event hooks that can
// be taken out in any order.
#include <memory>

#include "platform/vcl/Forms.h"
#include "programmer/QvBootload.h"
#include "programmer/QvFormSR.h"

// Puts a handler in front of an event slot of a form. The slot gets a small
// forwarder to Handler(), which starts as whatever the slot held. Remove puts
// Handler() back into the slot when the slot still holds this hook's
// forwarder; when another hook was chained on top meanwhile, the forwarder
// stays in that chain and just calls Handler(), so no chain is cut and no
// handler of a dead component is left in it (its owner resets Handler()).
template <class Fn>
class TEventHook {
 public:
  explicit TEventHook(Fn& Slot) : FSlot(&Slot), FState(std::make_shared<Fn>(Slot)) { Slot = TForwarder{FState}; }
  TEventHook(const TEventHook&) = delete;
  TEventHook& operator=(const TEventHook&) = delete;
  ~TEventHook() = default;

  // What the forwarder calls.
  Fn& Handler() { return *FState; }
  // Takes the hook out of the slot (see above). Call only while the slot exists.
  void Remove() {
    if (FSlot == nullptr) return;
    const TForwarder* top = FSlot->template target<TForwarder>();
    if (top != nullptr && top->State == FState) *FSlot = *FState;
    FSlot = nullptr;
  }

 private:
  struct TForwarder {
    std::shared_ptr<Fn> State;
    template <class... Args>
    void operator()(Args&&... args) const {
      // A copy: the handler may replace itself (its component going away) while it runs.
      Fn handler = *State;
      if (handler) handler(std::forward<Args>(args)...);
    }
  };
  Fn* FSlot;
  std::shared_ptr<Fn> FState;
};

// The owner form of a TQvBootload: its OnCloseQuery (hooked while the
// adapter lives), Enabled, AlphaBlend, Close and a modal message.
class TBootloadFormAdapter : public IBootloadOwnerForm {
 public:
  explicit TBootloadFormAdapter(TCustomForm* Form);
  // Takes the hook out of the form, unless the form is being destroyed.
  ~TBootloadFormAdapter() override;
  TCloseQueryEvent& CloseQueryHandler() override { return FCloseQuery.Handler(); }
  void SetFormEnabled(bool Value) override;
  void SetFormAlphaBlend(bool Value, Byte AlphaValue) override;
  void CloseForm() override;
  // A modal box, through the components' message sink (QvShowMessage).
  void ShowModalMessage(const String& Text) override;

 private:
  TCustomForm* FForm;
  // Still safe to ask while the form's own destructor has already run.
  TComponent* FFormComponent;
  TEventHook<TCloseQueryEvent> FCloseQuery;
};

// The owner of a TQvBootload as the component sees it: nullptr for none, the
// owner itself when it offers IBootloadOwnerForm, else an adapter made into
// Adapter for a TCustomForm. Any other owner raises EInvalidCast "Invalid class typecast".
IBootloadOwnerForm* BootloadOwnerForm(TComponent* AOwner, std::unique_ptr<IBootloadOwnerForm>& Adapter);

// The window of a TQvFormSR: its geometry, name and state, the screen size,
// and its OnShow / OnCloseQuery / OnDestroy slots once hooked.
class TQvFormSRAdapter : public IQvFormGeometry {
 public:
  explicit TQvFormSRAdapter(TCustomForm* Form);
  // Takes the hooks out of the form, unless the form is being destroyed.
  ~TQvFormSRAdapter() override;

  TCustomForm* Form() const { return FForm; }
  String FormName() const override;
  Integer Left() const override;
  Integer Top() const override;
  Integer Width() const override;
  Integer Height() const override;
  void SetLeft(Integer Value) override;
  void SetTop(Integer Value) override;
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;
  Integer WindowState() const override;
  // Values outside 0..2 are ignored.
  void SetWindowState(Integer Value) override;
  // The screen's size; 0 without a screen object.
  Integer ScreenWidth() const override;
  Integer ScreenHeight() const override;

  // Hooks the three events (once; later calls change nothing).
  void HookEvents();
  bool Hooked() const { return FShow != nullptr; }
  // The hooked slots' handlers; valid only once hooked.
  TNotifyEvent& ShowHandler() { return FShow->Handler(); }
  TCloseQueryEvent& CloseQueryHandler() { return FCloseQuery->Handler(); }
  TNotifyEvent& DestroyHandler() { return FDestroy->Handler(); }

 private:
  TCustomForm* FForm;
  TComponent* FFormComponent;
  std::unique_ptr<TEventHook<TNotifyEvent>> FShow;
  std::unique_ptr<TEventHook<TCloseQueryEvent>> FCloseQuery;
  std::unique_ptr<TEventHook<TNotifyEvent>> FDestroy;
};
