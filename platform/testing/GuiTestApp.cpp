#include "platform/testing/GuiTestApp.h"

#include <QPixmapCache>
#include <cstdlib>

#include "platform/win/LoopInternal.h"

void EnsureGuiApplication() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);  // tests run headless unless told otherwise
  // The message loop makes the process's one application object.
  EnsureMessageLoop();
}

void ForgetCachedPictures() { QPixmapCache::clear(); }
