#pragma once
// The hint texts of the pager's caption, MDI and help buttons.
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Types.h"

namespace ribbon {

class TPagerHints : public TPersistent {
 public:
  TPagerHints() = default;
  // From a TPagerHints: the four texts without Changed; any other source
  // does nothing.
  void Assign(TPersistent* Source) override;
  const String& MDICloseBtnHint() const { return FMDICloseBtnHint; }
  void SetMDICloseBtnHint(const String& V) { SetText(FMDICloseBtnHint, V); }
  const String& MDIMinimizeBtnHint() const { return FMDIMinimizeBtnHint; }
  void SetMDIMinimizeBtnHint(const String& V) { SetText(FMDIMinimizeBtnHint, V); }
  const String& MDIMaximizeBtnHint() const { return FMDIMaximizeBtnHint; }
  void SetMDIMaximizeBtnHint(const String& V) { SetText(FMDIMaximizeBtnHint, V); }
  const String& HelpBtnHint() const { return FHelpBtnHint; }
  void SetHelpBtnHint(const String& V) { SetText(FHelpBtnHint, V); }

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();

 private:
  void SetText(String& Field, const String& Value);
  String FMDIMaximizeBtnHint = u"Maximize";
  String FMDIMinimizeBtnHint = u"Minimize";
  String FMDICloseBtnHint = u"Close";
  String FHelpBtnHint = u"Help";
};

}  // namespace ribbon
