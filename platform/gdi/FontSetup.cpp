#include "platform/gdi/FontSetup.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>

void UseProjectFontSet() {
  // Overrides a user's FONTCONFIG_FILE on purpose: metrics must not depend on
  // it. Kept for what the process starts, too.
  setenv("FONTCONFIG_FILE", RYX_FONTCONFIG_FILE, 1);
  // The configuration is made here from the one file; fontconfig's own start
  // would also read every rule file the system ships (only for their
  // descriptions), which costs more than the rest of its start together.
  // Once set, the toolkit's start-up of fontconfig finds it made.
  static const bool made = [] {
    FcConfig* config = FcConfigCreate();
    if (config == nullptr) return false;
    const bool ok = FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(RYX_FONTCONFIG_FILE), FcTrue) &&
                    FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
    // The current configuration holds its own reference; a failed one goes,
    // and fontconfig then makes its own from FONTCONFIG_FILE as before.
    FcConfigDestroy(config);
    return ok;
  }();
  (void)made;
}
