// The message loop's footing on the platform event loop: the application
// object, a wake-up event for queued messages, and one timer armed for the
// next due window timer.
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <climits>

#include "platform/gdi/FontSetup.h"
#include "platform/win/Clock.h"
#include "platform/win/LoopInternal.h"
#include "platform/win/MessageLoop.h"

namespace {

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class TLoopObject final : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == kWakeEvent) {
      DrainMessagesOnWake();
      return true;
    }
    return QObject::event(e);
  }
};

std::atomic<TLoopObject*> gLoop{nullptr};
QTimer* gTimerWake = nullptr;
QCoreApplication* gOwnApplication = nullptr;

int gDefaultArgc = 1;
char gDefaultArg0[] = "ryx";
char* gDefaultArgv[] = {gDefaultArg0, nullptr};

// The one place that makes the process's application object: a widget
// application, since the controls are widgets.
QCoreApplication* CreateApplicationObject(int& argc, char** argv) {
  UseProjectFontSet();
  return new QApplication(argc, argv);
}

}  // namespace

void EnsureQtLoop(int* argc, char** argv) {
  if (gLoop.load() != nullptr || !IsUIThread()) return;
  if (QCoreApplication::instance() == nullptr) {
    if (argc == nullptr || argv == nullptr || *argc <= 0) {
      argc = &gDefaultArgc;
      argv = gDefaultArgv;
    }
    gOwnApplication = CreateApplicationObject(*argc, argv);
  }
  auto* loop = new TLoopObject;
  gTimerWake = new QTimer(loop);
  gTimerWake->setSingleShot(true);
  gTimerWake->setTimerType(Qt::PreciseTimer);
  QObject::connect(gTimerWake, &QTimer::timeout, loop, [] { FireDueTimers(); });
  gLoop.store(loop);
  // Messages posted before the loop existed, and timers set meanwhile.
  PostLoopWake();
  ArmTimerWake(NextTimerDue());
}

void DestroyQtLoop() {
  TLoopObject* loop = gLoop.exchange(nullptr);
  gTimerWake = nullptr;
  delete loop;
  delete gOwnApplication;
  gOwnApplication = nullptr;
}

void PostLoopWake() {
  if (TLoopObject* loop = gLoop.load()) QCoreApplication::postEvent(loop, new QEvent(kWakeEvent));
}

void RunOnUIThread(std::function<void()> fn) {
  if (TLoopObject* loop = gLoop.load()) QMetaObject::invokeMethod(loop, std::move(fn), Qt::QueuedConnection);
}

void ArmTimerWake(std::optional<UInt64> dueMs) {
  if (gTimerWake == nullptr || !IsUIThread()) return;
  // A virtual clock fires its timers when it is advanced, never by real time.
  if (!dueMs || ClockIsVirtual()) {
    gTimerWake->stop();
    return;
  }
  const UInt64 now = GetTickCount64();
  const UInt64 wait = *dueMs > now ? *dueMs - now : 0;
  gTimerWake->start(static_cast<int>(std::min<UInt64>(wait, INT_MAX)));
}

void ProcessQtEvents() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void WaitQtEvents(Cardinal maxMs) {
  if (QCoreApplication::instance() == nullptr) return;
  QTimer limit;
  if (maxMs != INFINITE) {
    limit.setSingleShot(true);
    limit.start(static_cast<int>(std::min<Cardinal>(maxMs, INT_MAX)));
  }
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
