#include "ribbon/appearance/AppColor.h"

namespace ribbon {

void TAppColor::Changed() {
  if (OnChange) OnChange(this);
}

void TAppColor::SetColour(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TAppColor::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TAppColor*>(Source);
  if (s == nullptr) return;
  FTextColor = s->FTextColor;
  FHoverTextColor = s->FHoverTextColor;
  FHoverColor = s->FHoverColor;
  FHoverBorderColor = s->FHoverBorderColor;
  FSelectedColor = s->FSelectedColor;
  FSelectedBorderColor = s->FSelectedBorderColor;
  FSelectedTextColor = s->FSelectedTextColor;
  FAppButtonColor = s->FAppButtonColor;
  FAppButtonHoverColor = s->FAppButtonHoverColor;
}

}  // namespace ribbon
