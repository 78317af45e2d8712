// The program's activation as a whole: losing the window system's focus to
// another program deactivates the active window.
#include <QGuiApplication>
#include <QTimer>

#include "platform/vcl/Application.h"
#include "platform/vcl/ControlsInternal.h"

namespace controls_internal {

void RouteApplicationDeactivated() {
  if (ActiveWindow() != nullptr) SetActiveWindow(nullptr);
}

void WatchApplicationDeactivation() {
  static bool pending = false;
  if (pending || QCoreApplication::instance() == nullptr) return;
  pending = true;
  // The focus may be on its way to another window of the program: look once it has arrived.
  QTimer::singleShot(0, QCoreApplication::instance(), [] {
    pending = false;
    try {
      if (QGuiApplication::focusWindow() == nullptr) RouteApplicationDeactivated();
    } catch (...) {
      if (Application != nullptr) Application->HandleException(Application);
    }
  });
}

}  // namespace controls_internal
