#include "ribbon/appearance/PagerHints.h"

namespace ribbon {

void TPagerHints::Changed() {
  if (OnChange) OnChange(this);
}

void TPagerHints::SetText(String& Field, const String& Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TPagerHints::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TPagerHints*>(Source);
  if (s == nullptr) return;
  FMDIMaximizeBtnHint = s->FMDIMaximizeBtnHint;
  FMDIMinimizeBtnHint = s->FMDIMinimizeBtnHint;
  FMDICloseBtnHint = s->FMDICloseBtnHint;
  FHelpBtnHint = s->FHelpBtnHint;
}

}  // namespace ribbon
