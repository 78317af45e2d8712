#include "foundation/gdiplus_runtime/GdiplusClasses.h"

#include "foundation/gdiplus_runtime/GPFontFamily.h"
#include "foundation/gdiplus_runtime/GPStringFormat.h"

namespace gdiplus_runtime {
namespace {
std::uintptr_t gToken = 0;
bool gStarted = false;
}  // namespace

void InitializeGdiplusClasses() {
  if (gStarted || !GdiplusLibrary()) return;
  GdiplusStartupInput input;  // version 1, no debug callback, background thread and codecs allowed
  gStarted = Api().GdiplusStartup(&gToken, &input, nullptr) == Ok;
}

void FinalizeGdiplusClasses() {
  TGPFontFamily::FreeGenericFamilies();
  TGPStringFormat::FreeGenericFormats();
  if (!gStarted) return;
  Api().GdiplusShutdown(gToken);
  gStarted = false;
}

bool GdiplusClassesStarted() { return gStarted; }

}  // namespace gdiplus_runtime
