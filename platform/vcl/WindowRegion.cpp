#include "platform/vcl/WindowRegion.h"

#include <QGuiApplication>
#include <map>
#include <vector>

#include "platform/gdi/GdiInternal.h"
#include "platform/vcl/ControlsInternal.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinError.h"

namespace {
// Handles are never reused, so an entry of a destroyed window only waits to be replaced or removed.
std::map<HWND, QRegion>& WindowRegions() {
  static std::map<HWND, QRegion> regions;
  return regions;
}

void ApplyWindowRegionMask(HWND Wnd) {
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr || b->Widget() == nullptr) return;
  // The headless platform has no window shapes: there the layer's input
  // routing and captures apply the region themselves.
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

namespace {

void PlaceInZOrder(TWinControl* c, HWND InsertAfter) {
  TWindowBridge* b = BridgeOf(c->Handle());
  if (b == nullptr) return;
  if (c->Parent() == nullptr) {
    if (InsertAfter == HWND_TOPMOST || InsertAfter == HWND_NOTOPMOST) {
      b->SetExStyle(InsertAfter == HWND_TOPMOST ? b->ExStyle() | WS_EX_TOPMOST : b->ExStyle() & ~WS_EX_TOPMOST);
      b->Raise();
    } else if (InsertAfter == HWND_TOP) {
      b->Raise();
    } else if (InsertAfter == HWND_BOTTOM) {
      b->Lower();
    } else if (TWindowBridge* above = BridgeOf(InsertAfter)) {
      b->PlaceBelow(above);
    }
    return;
  }
  if (InsertAfter == HWND_TOP || InsertAfter == HWND_TOPMOST || InsertAfter == HWND_NOTOPMOST) {
    c->BringToFront();
  } else if (InsertAfter == HWND_BOTTOM) {
    c->SendToBack();
  } else {
    // Below a sibling: the windowed siblings brought to the front in their new order.
    TWinControl* parent = c->Parent();
    std::vector<TWinControl*> order;
    bool found = false;
    for (Integer i = 0; i < parent->ControlCount(); ++i) {
      auto* w = dynamic_cast<TWinControl*>(parent->Controls(i));
      if (w == nullptr || w == c) continue;
      if (w->HandleAllocated() && w->Handle() == InsertAfter) {
        order.push_back(c);
        found = true;
      }
      order.push_back(w);
    }
    if (!found) return;
    for (TWinControl* w : order) w->BringToFront();
  }
}

}  // namespace

BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags) {
  TWinControl* c = FindControl(Wnd);
  if (c == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (Flags & SWP_NOMOVE) {
    X = c->Left();
    Y = c->Top();
  }
  if (Flags & SWP_NOSIZE) {
    CX = c->Width();
    CY = c->Height();
  }
  if (!(Flags & SWP_NOZORDER)) PlaceInZOrder(c, InsertAfter);
  if ((Flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) c->SetBounds(X, Y, CX, CY);
  if (Flags & SWP_FRAMECHANGED) {
    WINDOWPOS pos{Wnd, InsertAfter, c->Left(), c->Top(), c->Width(), c->Height(), Flags};
    NCCALCSIZE_PARAMS params;
    params.rgrc[0] = Bounds(c->Left(), c->Top(), c->Width(), c->Height());
    params.rgrc[1] = params.rgrc[0];
    params.rgrc[2] = params.rgrc[0];
    params.lppos = &pos;
    SendMessage(Wnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    if (TWindowBridge* b = BridgeOf(Wnd)) {
      if (b->TopLevel()) b->InvalidateFrame();
      b->Invalidate(nullptr, true);
    }
  }
  if (Flags & SWP_SHOWWINDOW) ShowWindow(Wnd, (Flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (Flags & SWP_HIDEWINDOW) ShowWindow(Wnd, SW_HIDE);
  // Without SWP_NOACTIVATE a shown top-level window becomes the active one, as its styles allow.
  if (!(Flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW | SWP_SHOWWINDOW)))
    if (TWindowBridge* b = BridgeOf(Wnd); b != nullptr && b->TopLevel() && b->Visible() && b->Enabled() &&
                                          !(b->ExStyle() & WS_EX_NOACTIVATE) && ActiveWindow() != Wnd)
      SetActiveWindow(Wnd);
  return TRUE;
}

namespace controls_internal {

std::optional<QRegion> WindowRegionInImage(HWND Wnd) {
  auto it = WindowRegions().find(Wnd);
  TWindowBridge* b = BridgeOf(Wnd);
  if (it == WindowRegions().end() || b == nullptr) return std::nullopt;
  if (!b->TopLevel()) return it->second;  // a child's image is its whole window
  // A top-level image starts at the client area's top-left less the menu band.
  TRect outer;
  GetWindowRect(Wnd, &outer);
  const TPoint client = b->Control()->ClientToScreen({0, 0});
  const QPoint origin(client.X - outer.Left - b->ClientOffset().x(), client.Y - outer.Top - b->ClientOffset().y());
  return it->second.translated(-origin);
}

bool WindowRegionContains(HWND Wnd, TPoint Screen) {
  auto it = WindowRegions().find(Wnd);
  if (it == WindowRegions().end()) return true;
  TRect outer;
  if (!GetWindowRect(Wnd, &outer)) return true;
  return it->second.contains(QPoint(Screen.X - outer.Left, Screen.Y - outer.Top));
}

}  // namespace controls_internal
