#include "platform/testing/GuiTestApp.h"

#include <QGuiApplication>
#include <cstdlib>

#include "platform/gdi/FontSetup.h"

void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  UseProjectFontSet();
  setenv("QT_QPA_PLATFORM", "offscreen", 0);  // tests run headless unless told otherwise
  static int argc = 1;
  static char name[] = "ryx-tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: tearing Qt down during static destruction is unsafe.
  new QGuiApplication(argc, argv);
}
