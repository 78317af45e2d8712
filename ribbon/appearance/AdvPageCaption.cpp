#include "ribbon/appearance/AdvPageCaption.h"

namespace ribbon {

void TAdvPageCaption::Changed() {
  if (OnChange) OnChange(this);
  FHeightUpdate = false;
}

void TAdvPageCaption::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Changed();
}

void TAdvPageCaption::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  FHeightUpdate = true;
  Changed();
}

void TAdvPageCaption::SetHeight(Integer Value) {
  if (FHeight != Value) {
    FHeight = Value;
    FHeightUpdate = true;
  }
  Changed();
}

void TAdvPageCaption::SetIndent(Integer Value) {
  if (FIndent == Value) return;
  FIndent = Value;
  Changed();
}

void TAdvPageCaption::SetMinWidth(Integer Value) {
  if (FMinWidth == Value) return;
  FMinWidth = Value;
  Changed();
}

void TAdvPageCaption::SetWideCaption(const String& Value) {
  if (FWideCaption == Value) return;
  FWideCaption = Value;
  Changed();
}

void TAdvPageCaption::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TAdvPageCaption*>(Source)) {
    FCaption = s->FCaption;
    FHeight = s->FHeight;
    SetVisible(s->FVisible);
    SetIndent(s->FIndent);
    SetMinWidth(s->FMinWidth);
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace ribbon
