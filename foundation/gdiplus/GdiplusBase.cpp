#include "foundation/gdiplus/GdiplusBase.h"

#include "foundation/gdiplus/LookFlags.h"

namespace gdiplus {
namespace {
GdiplusStartupInput gInput = [] {
  GdiplusStartupInput in;
  in.SuppressBackgroundThread = TRUE;
  return in;
}();
GdiplusStartupOutput gOutput;
std::uintptr_t gToken = 0;
std::uintptr_t gHookToken = 0;
bool gStarted = false;

void Start() {
  gOutput = {};
  if (GdiplusStartup(&gToken, &gInput, &gOutput) == Ok) gStarted = true;
}
}  // namespace

void* TGdiplusBase::operator new(std::size_t size) noexcept {
  void* p = GdipAlloc(size);
  if (!p) {
    Start();
    p = GdipAlloc(size);
  }
  return p;
}

void TGdiplusBase::operator delete(void* p) noexcept { GdipFree(p); }

void InitializeGdiplusUnit() {
  if (gStarted) return;
  Start();
  if (!IsVistaOrLater() && gOutput.NotificationHook) gOutput.NotificationHook(&gHookToken);
}

void FinalizeGdiplusUnit() {
  if (!gStarted) return;
  if (!IsVistaOrLater() && gOutput.NotificationUnhook) gOutput.NotificationUnhook(gHookToken);
  GdiplusShutdown(gToken);
  gStarted = false;
}

}  // namespace gdiplus
