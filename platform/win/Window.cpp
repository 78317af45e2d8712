// The window calls on handles (platform/win/Window.h), over the controls'
// bridges.
#include "platform/win/Window.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QStyleHints>

#include "platform/gdi/GdiInternal.h"
#include "platform/vcl/ControlsInternal.h"
#include "platform/vcl/DragOverlay.h"
#include "platform/vcl/Forms.h"
#include "platform/win/MessageLoop.h"

using namespace controls_internal;

UINT GetDoubleClickTime() {
  if (QGuiApplication::instance() == nullptr) return 500;
  const int ms = QGuiApplication::styleHints()->mouseDoubleClickInterval();
  return ms > 0 ? UINT(ms) : 500;
}

int GetSystemMetrics(int Index) {
  switch (Index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
      return Screen != nullptr ? Screen->Width() : 800;
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN:
      return Screen != nullptr ? Screen->Height() : 600;
    case SM_CXVSCROLL: case SM_CYHSCROLL: return 17;
    case SM_CYCAPTION: return 23;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXFIXEDFRAME: case SM_CYFIXEDFRAME: return 3;
    case SM_CXSIZEFRAME: case SM_CYSIZEFRAME: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 20;
    case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 19;
    case SM_CYSMCAPTION: return 17;
    case SM_CXSIZE: case SM_CYSIZE: return 22;
    case SM_CXMIN: return 132;
    case SM_CYMIN: return 38;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 15;
    case SM_CMONITORS: return Screen != nullptr ? Screen->MonitorCount() : 1;
    case SM_CXPADDEDBORDER: return 0;
    default: return 0;
  }
}

bool AdjustWindowRectEx(TRect* R, DWORD Style, bool Menu, DWORD ExStyle) {
  if (R == nullptr) return false;
  int frame = 0;
  if (Style & WS_THICKFRAME) frame = GetSystemMetrics(SM_CXSIZEFRAME);
  else if ((Style & WS_CAPTION) == WS_CAPTION || (Style & WS_DLGFRAME) || (ExStyle & WS_EX_DLGMODALFRAME))
    frame = GetSystemMetrics(SM_CXFIXEDFRAME);
  else if (Style & WS_BORDER) frame = GetSystemMetrics(SM_CXBORDER);
  if (ExStyle & WS_EX_CLIENTEDGE) frame += GetSystemMetrics(SM_CXEDGE);
  if (ExStyle & WS_EX_STATICEDGE) frame += 1;
  int caption = 0;
  if ((Style & WS_CAPTION) == WS_CAPTION)
    caption = (ExStyle & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
  if (Menu) caption += GetSystemMetrics(SM_CYMENU);
  R->Left -= frame;
  R->Right += frame;
  R->Top -= frame + caption;
  R->Bottom += frame;
  return true;
}

HDC GetDC(HWND Wnd) {
  if (Wnd == nullptr) return drag_overlay::GetScreenDC();  // the screen: drawing lands on the drag overlay
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr) return nullptr;
  const QPoint off = b->ClientOffset();
  const QRect client(off, QSize(b->Image().width() - off.x(), b->Image().height() - off.y()));
  HDC dc = gdi_internal::CreateDCOverImage(&b->Image(), off, QRegion(client));
  if (dc != nullptr) b->TrackDC(dc);
  return dc;
}

HWND WindowFromDC(HDC DC) { return DC != nullptr ? WindowOwningDC(DC) : nullptr; }

HDC GetWindowDC(HWND Wnd) {
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr) return nullptr;
  HDC dc = gdi_internal::CreateDCOverImage(&b->Image(), QPoint(0, 0));
  if (dc != nullptr) b->TrackDC(dc);
  return dc;
}

int ReleaseDC(HWND Wnd, HDC DC) {
  if (DC == nullptr) return 0;
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr) {
    if (Wnd == nullptr) return drag_overlay::ReleaseScreenDC(DC) ? 1 : DeleteDC(DC);
    return 0;
  }
  if (!b->OwnsDC(DC)) return 0;
  b->UntrackDC(DC);
  DeleteDC(DC);
  b->Flush();
  return 1;
}

HDC BeginPaint(HWND Wnd, PAINTSTRUCT* Paint) {
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr || Paint == nullptr) return nullptr;
  const QPoint off = b->ClientOffset();
  const QRegion rgn = b->UpdateRegion();
  const bool erase = b->EraseNeeded();
  b->MarkBeganPaint();
  b->Validate(nullptr);
  HDC dc = gdi_internal::CreateDCOverImage(&b->Image(), off, rgn.translated(off));
  if (dc == nullptr) return nullptr;
  b->TrackDC(dc);
  const QRect box = rgn.boundingRect();
  Paint->hdc = dc;
  Paint->rcPaint = {box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
  Paint->fErase = FALSE;
  if (erase) Paint->fErase = SendMessage(Wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 ? TRUE : FALSE;
  return dc;
}

BOOL EndPaint(HWND Wnd, const PAINTSTRUCT* Paint) {
  if (Paint == nullptr) return FALSE;
  return ReleaseDC(Wnd, Paint->hdc) != 0 ? TRUE : FALSE;
}

BOOL InvalidateRect(HWND Wnd, const TRect* R, BOOL Erase) {
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr) return FALSE;
  if (R == nullptr) {
    b->Invalidate(nullptr, Erase != FALSE);
  } else {
    const QRect q(R->Left, R->Top, R->Width(), R->Height());
    b->Invalidate(&q, Erase != FALSE);
  }
  return TRUE;
}

BOOL UpdateWindow(HWND Wnd) {
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr) return FALSE;
  if (b->Visible()) b->PaintNow();
  return TRUE;
}

BOOL GetClientRect(HWND Wnd, TRect* R) {
  TWinControl* c = FindControl(Wnd);
  if (c == nullptr || R == nullptr) return FALSE;
  *R = c->ClientRect();
  return TRUE;
}

BOOL GetWindowRect(HWND Wnd, TRect* R) {
  TWinControl* c = FindControl(Wnd);
  if (c == nullptr || R == nullptr) return FALSE;
  const TRect in = c->FrameInsets();
  const TPoint o = c->ClientOrigin();
  *R = Bounds(o.X - in.Left, o.Y - in.Top, c->Width(), c->Height());
  return TRUE;
}

BOOL ClientToScreen(HWND Wnd, TPoint* P) {
  TWinControl* c = FindControl(Wnd);
  if (c == nullptr || P == nullptr) return FALSE;
  *P = c->ClientToScreen(*P);
  return TRUE;
}

BOOL ScreenToClient(HWND Wnd, TPoint* P) {
  TWinControl* c = FindControl(Wnd);
  if (c == nullptr || P == nullptr) return FALSE;
  *P = c->ScreenToClient(*P);
  return TRUE;
}

HWND WindowFromPoint(TPoint P) {
  TWinControl* c = WindowAt(P, false);
  return c != nullptr ? c->Handle() : nullptr;
}

BOOL IsWindowVisible(HWND Wnd) {
  TWindowBridge* b = BridgeOf(Wnd);
  return b != nullptr && b->Visible() ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND Wnd) {
  TWindowBridge* b = BridgeOf(Wnd);
  return b != nullptr && b->Enabled() ? TRUE : FALSE;
}

BOOL EnableWindow(HWND Wnd, BOOL Enable) {
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr) return FALSE;
  const BOOL wasDisabled = b->Enabled() ? FALSE : TRUE;
  if (b->Enabled() == (Enable != FALSE)) return wasDisabled;
  b->SetEnabled(Enable != FALSE);
  if (!Enable && CaptureWindow() == Wnd) SetCaptureWindow(nullptr);
  SendMessage(Wnd, WM_ENABLE, Enable ? 1 : 0, 0);
  return wasDisabled;
}

HWND SetCapture(HWND Wnd) {
  const HWND old = CaptureWindow();
  if (BridgeOf(Wnd) == nullptr) return old;
  SetCaptureWindow(Wnd);
  return old;
}

HWND GetCapture() { return CaptureWindow(); }

BOOL ReleaseCapture() {
  SetCaptureWindow(nullptr);
  return TRUE;
}

HWND SetFocus(HWND Wnd) {
  if (Wnd != nullptr && BridgeOf(Wnd) == nullptr) return nullptr;
  return SetFocusWindow(Wnd);
}

HWND GetFocus() { return FocusWindow(); }
HWND GetActiveWindow() { return ActiveWindow(); }

BOOL ShowWindow(HWND Wnd, int Cmd) {
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr) return FALSE;
  const BOOL was = b->Visible() ? TRUE : FALSE;
  if (Cmd == SW_HIDE) {
    b->SetVisible(false);
    if (ActiveWindow() == Wnd) {
      // The next visible enabled window becomes active, as the window system hands activation on.
      HWND next = nullptr;
      for (TWindowBridge* t : TopLevelBridges())
        if (t != b && t->Enabled() && !(t->ExStyle() & WS_EX_NOACTIVATE) && !(t->ExStyle() & WS_EX_TOPMOST)) {
          next = t->Handle();
          break;
        }
      SetActiveWindow(next);
    }
    return was;
  }
  const bool activate = Cmd != SW_SHOWNOACTIVATE && Cmd != SW_SHOWNA && b->TopLevel() &&
                        !(b->ExStyle() & WS_EX_NOACTIVATE);
  b->SetVisible(true, activate);
  if (b->TopLevel()) b->Raise();
  if (activate) SetActiveWindow(Wnd);
  return was;
}

BOOL GetCursorPos(TPoint* P) {
  if (P == nullptr) return FALSE;
  *P = CursorPos();
  return TRUE;
}

BOOL SetCursorPos(int X, int Y) {
  SetCursorPosOnly({X, Y});
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) QCursor::setPos(X, Y);
  return TRUE;
}

BOOL SetLayeredWindowAttributes(HWND Wnd, COLORREF, Byte Alpha, DWORD Flags) {
  TWindowBridge* b = BridgeOf(Wnd);
  if (b == nullptr || !(b->ExStyle() & WS_EX_LAYERED)) return FALSE;
  if (Flags & LWA_ALPHA) b->SetOpacity(Alpha / 255.0);
  return TRUE;
}

BOOL MessageBeep(UINT) {
  if (QGuiApplication::instance() != nullptr && QGuiApplication::platformName() != QLatin1String("offscreen"))
    QApplication::beep();
  return TRUE;
}
