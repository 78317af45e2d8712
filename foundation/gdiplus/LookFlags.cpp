#include "foundation/gdiplus/LookFlags.h"

#include <memory>

#include "platform/vcl/Canvas.h"

namespace gdiplus {
namespace {
bool gScenic = false, gWin8 = false, gNewer = false, gGlass = false;
Single gDPIScale = 1.0f;
}  // namespace

void SetScenicRibbonFlag(bool Value) { gScenic = Value; }
bool GetScenicRibbonFlag() { return gScenic; }
void SetWin8Flag(bool Value) { gWin8 = Value; }
bool GetWin8Flag() { return gWin8; }
void SetWin10Flag(bool Value) { gNewer = Value; }
void SetWin11Flag(bool Value) { gNewer = Value; }
bool NewerWindowsFlagForTest() { return gNewer; }
void SetGlassFlag(bool Value) { gGlass = Value; }
bool GetGlassFlag() { return gGlass; }

Integer GetZeroTextHeight(Integer PixelsPerInch, Integer PointSize) {
  // A memory DC stands in for the screen's: text metrics are the same.
  HDC dc = CreateCompatibleDC(nullptr);
  auto canvas = std::make_unique<TCanvas>();
  canvas->SetHandle(dc);
  canvas->Font()->SetPixelsPerInch(PixelsPerInch);
  canvas->Font()->SetSize(PointSize);
  Integer h = canvas->TextHeight(u"0");
  canvas->SetHandle(nullptr);
  DeleteDC(dc);
  return h;
}

Single UpdateDPIScaleFactor(TControl* Control) {
  // No form can be found for a control at this layer yet, so every call
  // takes the screen's resolution.
  (void)Control;
  HDC dc = CreateCompatibleDC(nullptr);
  int ppi = GetDeviceCaps(dc, LOGPIXELSX);
  DeleteDC(dc);
  Single factor = 1.0f;
  if (ppi != 96) {
    Integer base = GetZeroTextHeight(96, 9);
    factor = base > 0 ? Single(double(GetZeroTextHeight(ppi, 9)) / base) : 1.0f;
  }
  gDPIScale = factor;
  return factor;
}

Single GetDPIScaleFactor() { return gDPIScale; }

bool IsVistaOrLater() { return true; }

ARGB ColorToAlphaARGB(Byte Alpha, TColor Color) {
  DWORD c = DWORD(Color);
  if (c & 0x80000000u) c = GetSysColor(int(c & 0xFF));
  return ComposeARGB(Alpha, Byte(c & 0xFF), Byte((c >> 8) & 0xFF), Byte((c >> 16) & 0xFF));
}

ARGB ColorToARGB(TColor Color) { return ColorToAlphaARGB(255, Color); }

}  // namespace gdiplus
