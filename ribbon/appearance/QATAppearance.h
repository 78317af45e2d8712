#pragma once
// The colour set of the quick-access toolbar: the caption-placement shape and
// the full-size strip below the ribbon.
#include "platform/rtl/Persistent.h"
#include "platform/vcl/Color.h"
#include "ribbon/appearance/AppearanceProperties.h"

namespace ribbon {

class TQATAppearance : public TPersistent {
 public:
  TQATAppearance() = default;
  // From a TQATAppearance: five colours without events, FullSizeColorTo
  // through its setter; Steps stays. Another class raises the inherited
  // assignment error.
  void Assign(TPersistent* Source) override;
  RYX_NOTIFYING_COLOUR(BorderColor)
  RYX_NOTIFYING_COLOUR(Color)
  RYX_NOTIFYING_COLOUR(ColorTo)
  RYX_NOTIFYING_COLOUR(FullSizeBorderColor)
  RYX_NOTIFYING_COLOUR(FullSizeColor)
  RYX_NOTIFYING_COLOUR(FullSizeColorTo)
  Integer Steps() const { return FSteps; }
  void SetSteps(Integer V);

  TNotifyEvent OnChange;

 private:
  void Changed();
  void SetColour(TColor& Field, TColor Value);
  TColor FFullSizeColorTo = 0xE3B28D, FFullSizeColor = 0xE3B28D, FFullSizeBorderColor = 0xC59F81;
  Integer FSteps = 64;
  TColor FColor = 0xFFFFFF, FColorTo = 0xC0C0C0, FBorderColor = 0x808080;
};

}  // namespace ribbon
