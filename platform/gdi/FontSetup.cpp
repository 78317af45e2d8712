#include "platform/gdi/FontSetup.h"

#include <cstdlib>

void UseProjectFontSet() {
  // Overrides a user's FONTCONFIG_FILE on purpose: metrics must not depend on it.
  setenv("FONTCONFIG_FILE", RYX_FONTCONFIG_FILE, 1);
}
