#include "platform/vcl/Color.h"

TColor ColorToRGB(TColor color) {
  if (color < 0) return TColor(GetSysColor(color & 0xFF));
  return color;
}
