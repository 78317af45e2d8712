#include "ribbon/appearance/QATAppearance.h"

namespace ribbon {

void TQATAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TQATAppearance::SetColour(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TQATAppearance::SetSteps(Integer V) {
  if (FSteps == V) return;
  FSteps = V;
  Changed();
}

void TQATAppearance::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TQATAppearance*>(Source)) {
    FBorderColor = s->FBorderColor;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FFullSizeBorderColor = s->FFullSizeBorderColor;
    FFullSizeColor = s->FFullSizeColor;
    SetFullSizeColorTo(s->FFullSizeColorTo);
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace ribbon
