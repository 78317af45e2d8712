#include "platform/vcl/WindowRegion.h"

#include <QGuiApplication>
#include <map>

#include "platform/gdi/GdiInternal.h"
#include "platform/vcl/ControlsInternal.h"

namespace {
// Handles are never reused, so an entry of a destroyed window only waits to be replaced or removed.
std::map<HWND, QRegion>& WindowRegions() {
  static std::map<HWND, QRegion> regions;
  return regions;
}

void ApplyWindowRegionMask(HWND Wnd) {
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr || b->Widget() == nullptr) return;
  // The headless platform has no window shapes; the region is still kept and answered.
  if (QGuiApplication::platformName() == QStringLiteral("offscreen")) return;
  auto it = WindowRegions().find(Wnd);
  if (it == WindowRegions().end()) b->Widget()->clearMask();
  else b->Widget()->setMask(it->second);
}
}  // namespace

int SetWindowRgn(HWND Wnd, HRGN Rgn, BOOL Redraw) {
  TWinControl* c = FindControl(Wnd);
  if (c == nullptr) {
    if (Rgn != nullptr) DeleteObject(Rgn);
    return 0;
  }
  if (Rgn == nullptr) {
    WindowRegions().erase(Wnd);
  } else {
    WindowRegions()[Wnd] = static_cast<gdi_internal::TGdiRegion*>(Rgn)->Region;
    DeleteObject(Rgn);
  }
  ApplyWindowRegionMask(Wnd);
  if (Redraw) c->Invalidate();
  return 1;
}

int GetWindowRgnBox(HWND Wnd, TRect* R) {
  auto it = WindowRegions().find(Wnd);
  if (FindControl(Wnd) == nullptr || it == WindowRegions().end() || R == nullptr) return ERROR;
  const QRect b = it->second.boundingRect();
  *R = TRect{b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
  return it->second.rectCount() > 1 ? COMPLEXREGION : SIMPLEREGION;
}

BOOL SetWindowPos(HWND Wnd, HWND, int X, int Y, int CX, int CY, UINT Flags) {
  TWinControl* c = FindControl(Wnd);
  if (c == nullptr) return FALSE;
  if (Flags & SWP_NOMOVE) {
    X = c->Left();
    Y = c->Top();
  }
  if (Flags & SWP_NOSIZE) {
    CX = c->Width();
    CY = c->Height();
  }
  c->SetBounds(X, Y, CX, CY);
  return TRUE;
}
