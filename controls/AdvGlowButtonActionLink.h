#pragma once
// The action link of every glow button: ties Down, GroupIndex, ImageIndex
// and the help properties to the linked action.
#include "platform/vcl/ActnList.h"

class TAdvCustomGlowButton;

class TAdvGlowButtonActionLink : public TControlActionLink {
 public:
  void AssignClient(TObject* AClient) override;
  // Each "linked" test also stores its answer in the button where the
  // button reads it at mouse release.
  bool IsCheckedLinked() override;
  bool IsGroupIndexLinked() override;
  bool IsImageIndexLinked() override;
  bool IsHelpLinked() override;
  void SetChecked(bool Value) override;
  void SetGroupIndex(Integer Value) override;
  // Follows the image index when the image index is linked.
  void SetImageIndex(Integer Value) override;
  void SetHelpContext(Integer Value) override;
  void SetHelpKeyword(const String& Value) override;
  void SetHelpType(THelpType Value) override;
  Integer FImageIndex = -1;

 protected:
  TAdvCustomGlowButton* FClient = nullptr;
};
