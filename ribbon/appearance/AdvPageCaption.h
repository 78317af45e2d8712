#pragma once
// The settings of the caption bar the pager draws above its tab row.
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Types.h"

namespace ribbon {

class TAdvPageCaption : public TPersistent {
 public:
  TAdvPageCaption() = default;
  // From a TAdvPageCaption: Caption and Height directly (no event), then
  // Visible, Indent and MinWidth through their setters. Another class raises
  // the inherited assignment error.
  void Assign(TPersistent* Source) override;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  bool Visible() const { return FVisible; }
  // A change sets HeightUpdate for the duration of OnChange.
  void SetVisible(bool Value);
  Integer Height() const { return FHeight; }
  // Raises OnChange also for an unchanged value; a change sets HeightUpdate
  // for the duration of OnChange.
  void SetHeight(Integer Value);
  Integer Indent() const { return FIndent; }
  void SetIndent(Integer Value);
  Integer MinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer Value);
  const String& WideCaption() const { return FWideCaption; }
  void SetWideCaption(const String& Value);
  Integer RightIndent() const { return FRightIndent; }
  void SetRightIndent(Integer Value) { FRightIndent = Value; }
  // True only while OnChange runs for a change of Height or Visible.
  bool HeightUpdate() const { return FHeightUpdate; }

  TNotifyEvent OnChange;

 private:
  void Changed();
  bool FVisible = true;
  Integer FHeight = 26;
  String FCaption;
  Integer FIndent = 100;
  Integer FRightIndent = 0;
  String FWideCaption;
  Integer FMinWidth = 100;
  bool FHeightUpdate = false;
};

}  // namespace ribbon
