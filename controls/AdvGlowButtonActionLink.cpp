#include "controls/AdvGlowButtonActionLink.h"

#include "controls/AdvGlowButton.h"

namespace {
TCustomAction* GlowLinkAction(TBasicAction* a) { return dynamic_cast<TCustomAction*>(a); }
}  // namespace

void TAdvGlowButtonActionLink::AssignClient(TObject* AClient) {
  TControlActionLink::AssignClient(AClient);
  FClient = dynamic_cast<TAdvCustomGlowButton*>(AClient);
}

bool TAdvGlowButtonActionLink::IsCheckedLinked() {
  TCustomAction* a = GlowLinkAction(FAction);
  const bool r = TControlActionLink::IsCheckedLinked() && a != nullptr && FClient != nullptr &&
                 a->Checked() == FClient->Down();
  if (FClient != nullptr) FClient->FCheckedLinked = r;
  return r;
}

bool TAdvGlowButtonActionLink::IsGroupIndexLinked() {
  TCustomAction* a = GlowLinkAction(FAction);
  const bool r = a != nullptr && FClient != nullptr && a->GroupIndex() == FClient->GroupIndex();
  if (FClient != nullptr) FClient->FGroupIndexLinked = r;
  return r;
}

bool TAdvGlowButtonActionLink::IsImageIndexLinked() {
  TCustomAction* a = GlowLinkAction(FAction);
  return TControlActionLink::IsImageIndexLinked() && a != nullptr && a->ImageIndex() == FImageIndex;
}

bool TAdvGlowButtonActionLink::IsHelpLinked() {
  TCustomAction* a = GlowLinkAction(FAction);
  return a != nullptr && FClient != nullptr && a->HelpContext() == FClient->HelpContext() &&
         a->HelpKeyword() == FClient->HelpKeyword() && a->HelpType() == FClient->HelpType();
}

void TAdvGlowButtonActionLink::SetChecked(bool Value) {
  if (FClient != nullptr && IsCheckedLinked()) FClient->SetDown(Value);
}

void TAdvGlowButtonActionLink::SetGroupIndex(Integer Value) {
  if (FClient != nullptr && IsGroupIndexLinked()) FClient->SetGroupIndex(Value);
}

void TAdvGlowButtonActionLink::SetImageIndex(Integer Value) {
  // The image index follows while it is linked (not while the group index is).
  if (FClient == nullptr || !IsImageIndexLinked()) return;
  FImageIndex = Value;
  FClient->Invalidate();
  FClient->SetImageIndex(Value);
}

void TAdvGlowButtonActionLink::SetHelpContext(Integer Value) {
  if (FClient != nullptr && IsHelpLinked()) FClient->SetHelpContext(Value);
}

void TAdvGlowButtonActionLink::SetHelpKeyword(const String& Value) {
  if (FClient != nullptr && IsHelpLinked()) FClient->SetHelpKeyword(Value);
}

void TAdvGlowButtonActionLink::SetHelpType(THelpType Value) {
  if (FClient != nullptr && IsHelpLinked()) FClient->SetHelpType(Value);
}
