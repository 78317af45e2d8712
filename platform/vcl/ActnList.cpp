#include "platform/vcl/ActnList.h"

#include <algorithm>

#include "platform/vcl/Controls.h"

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
  // Links outlive the action: they lose it.
  for (TBasicActionLink* l : std::vector<TBasicActionLink*>(FClients)) l->SetAction(nullptr);
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TCustomAction::Execute() {
  if (!FEnabled) return false;
  if (FAutoCheck) SetChecked(!FChecked);
  return TBasicAction::Execute();
}

namespace {
// Links are told before the value is stored: they compare with the old one.
template <class F>
void ActnTell(std::vector<TBasicActionLink*>& clients, F f) {
  for (TBasicActionLink* l : std::vector<TBasicActionLink*>(clients)) f(l);
}
}  // namespace

void TCustomAction::SetChecked(bool Value) {
  if (FChecked == Value) return;
  ActnTell(FClients, [Value](TBasicActionLink* l) { l->SetChecked(Value); });
  FChecked = Value;
}

void TCustomAction::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  ActnTell(FClients, [Value](TBasicActionLink* l) { l->SetEnabled(Value); });
  FEnabled = Value;
}

void TCustomAction::SetGroupIndex(Integer Value) {
  if (FGroupIndex == Value) return;
  ActnTell(FClients, [Value](TBasicActionLink* l) { l->SetGroupIndex(Value); });
  FGroupIndex = Value;
}

void TCustomAction::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  ActnTell(FClients, [Value](TBasicActionLink* l) { l->SetImageIndex(Value); });
  FImageIndex = Value;
}

void TCustomAction::SetHelpContext(Integer Value) {
  if (FHelpContext == Value) return;
  ActnTell(FClients, [Value](TBasicActionLink* l) { l->SetHelpContext(Value); });
  FHelpContext = Value;
}

void TCustomAction::SetHelpKeyword(const String& Value) {
  if (FHelpKeyword == Value) return;
  ActnTell(FClients, [&Value](TBasicActionLink* l) { l->SetHelpKeyword(Value); });
  FHelpKeyword = Value;
}

void TCustomAction::SetHelpType(THelpType Value) {
  if (FHelpType == Value) return;
  ActnTell(FClients, [Value](TBasicActionLink* l) { l->SetHelpType(Value); });
  FHelpType = Value;
}

TBasicActionLink::~TBasicActionLink() {
  if (FAction != nullptr) {
    auto& c = FAction->FClients;
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
  }
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (FAction == Value) return;
  if (FAction != nullptr) {
    auto& c = FAction->FClients;
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
  }
  FAction = Value;
  if (FAction != nullptr) FAction->FClients.push_back(this);
  if (OnChange) OnChange(FAction);
}

bool TBasicActionLink::Execute() { return FAction != nullptr && FAction->Execute(); }

bool TActionLink::IsCheckedLinked() { return FAction != nullptr; }
bool TActionLink::IsEnabledLinked() { return FAction != nullptr; }
bool TActionLink::IsGroupIndexLinked() { return FAction != nullptr; }
bool TActionLink::IsImageIndexLinked() { return FAction != nullptr; }
bool TActionLink::IsHelpLinked() { return FAction != nullptr; }

void TControlActionLink::AssignClient(TObject* AClient) { FClientControl = dynamic_cast<TControl*>(AClient); }
