#include "foundation/gdiplus_runtime/GdiplusApi.h"

#include "platform/win/Modules.h"

namespace gdiplus_runtime {
namespace {
HMODULE gLibrary = nullptr;
}  // namespace

TStatus MissingEntryStatus() { return gLibrary ? NotImplemented : GdiplusNotInitialized; }

TGdipSlot::TGdipSlot(TGdiplusApi& api, const char* name) : FName(name) { api.FSlots.push_back(this); }

void TGdipSlot::Bind(HMODULE library) { FProc = GetProcAddress(library, FName); }

TGdiplusApi& Api() {
  static TGdiplusApi api;
  return api;
}

HMODULE GdiplusLibrary() { return gLibrary; }

void InitializeGdiplusApi() {
  if (gLibrary) return;
  gLibrary = LoadLibraryW(u"gdiplus.dll");
  if (!gLibrary) return;
  for (TGdipSlot* slot : Api().Slots()) slot->Bind(gLibrary);
}

void FinalizeGdiplusApi() {
  if (!gLibrary) return;
  FreeLibrary(gLibrary);
  gLibrary = nullptr;
  for (TGdipSlot* slot : Api().Slots()) slot->Unbind();
}

TGPPointF GPPointF(Single x, Single y) { return {x, y}; }

TGPRectF GPRectF(Single x, Single y, Single width, Single height) { return {x, y, width, height}; }

ARGB ComposeARGB(Byte a, Byte r, Byte g, Byte b) {
  return (ARGB(a) << 24) | (ARGB(r) << 16) | (ARGB(g) << 8) | ARGB(b);
}

}  // namespace gdiplus_runtime
