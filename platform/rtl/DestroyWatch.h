#pragma once
// TDestroyWatch: tells whether a component was destroyed while a call that
// may run any handler (a menu's chosen item, say) was under way, so that the
// caller touches nothing of it afterwards. It hears of the destruction
// through free notification.
#include "platform/rtl/Component.h"

class TDestroyWatch : public TComponent {
 public:
  explicit TDestroyWatch(TComponent* Watched) : TComponent(nullptr), FWatched(Watched) {
    if (FWatched != nullptr) FWatched->FreeNotification(this);
  }
  ~TDestroyWatch() override {
    if (FWatched != nullptr) FWatched->RemoveFreeNotification(this);
  }
  bool Gone() const { return FWatched == nullptr; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FWatched) FWatched = nullptr;
  }

 private:
  TComponent* FWatched;
};
