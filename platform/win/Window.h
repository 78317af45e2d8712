#pragma once
// Window calls on handles: styles and frame metrics, painting contexts,
// invalidation, coordinates, capture, focus, visibility. The handles are
// the controls' windows (hidden windows of AllocateHWnd answer as windows
// without a surface: no DC, no rectangle).
//
// Frame metrics are fixed (the same on every desktop): a caption of 23
// pixels (17 for tool windows), fixed frames of 3 and sizing frames of 4
// pixels, whatever the window manager draws around the client area.
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Geometry.h"
#include "platform/win/Messages.h"

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
                WS_MINIMIZE = 0x20000000, WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000,
                WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000, WS_MAXIMIZE = 0x01000000,
                WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_DLGFRAME = 0x00400000,
                WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000, WS_SYSMENU = 0x00080000,
                WS_THICKFRAME = 0x00040000, WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000,
                WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000,
                WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001, WS_EX_TOPMOST = 0x00000008, WS_EX_TRANSPARENT = 0x00000020,
                WS_EX_TOOLWINDOW = 0x00000080, WS_EX_WINDOWEDGE = 0x00000100, WS_EX_CLIENTEDGE = 0x00000200,
                WS_EX_CONTROLPARENT = 0x00010000, WS_EX_STATICEDGE = 0x00020000, WS_EX_APPWINDOW = 0x00040000,
                WS_EX_LAYERED = 0x00080000, WS_EX_NOACTIVATE = 0x08000000;

// GetSystemMetrics indexes.
constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
              SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CXFIXEDFRAME = 7,
              SM_CYFIXEDFRAME = 8, SM_CXICON = 11, SM_CYICON = 12, SM_CXCURSOR = 13, SM_CYCURSOR = 14,
              SM_CYMENU = 15, SM_CXFULLSCREEN = 16, SM_CYFULLSCREEN = 17, SM_CXMIN = 28, SM_CYMIN = 29,
              SM_CXSIZE = 30, SM_CYSIZE = 31, SM_CXFRAME = 32, SM_CYFRAME = 33, SM_CXSIZEFRAME = 32,
              SM_CYSIZEFRAME = 33, SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXEDGE = 45, SM_CYEDGE = 46,
              SM_CXSMICON = 49, SM_CYSMICON = 50, SM_CYSMCAPTION = 51, SM_CXMENUCHECK = 71,
              SM_CYMENUCHECK = 72, SM_CMONITORS = 80, SM_CXPADDEDBORDER = 92;
// Size of a menu bar's buttons (a maximised MDI child's minimise, restore and close).
constexpr int SM_CXMENUSIZE = 54, SM_CYMENUSIZE = 55;
// The fixed metric of the index; 0 for an unknown one. Screen sizes are the
// screen's (800 x 600 without a window system).
int GetSystemMetrics(int Index);
// The longest time in milliseconds between the two clicks of a double
// click: the window system's setting, 500 without one.
UINT GetDoubleClickTime();
// Grows R from a client rectangle to the outer rectangle of a window of the
// styles (caption, frames, edges). false for nullptr.
bool AdjustWindowRectEx(TRect* R, DWORD Style, bool Menu, DWORD ExStyle);

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;
  TRect rcPaint;
};

// A DC over the client area of the window's surface, usable inside and
// outside WM_PAINT; nullptr for a window without a surface. nullptr for Wnd
// is the screen: a DC over the drag overlay, which covers the desktop in
// screen coordinates above every window and takes no input; what inverting
// pens and raster operations draw there shows until drawn again (a drag
// rectangle drawn twice with DrawFocusRect or PatBlt PATINVERT is gone).
HDC GetDC(HWND Wnd);
// A DC over the whole window including its frame (child windows).
HDC GetWindowDC(HWND Wnd);
// The window a DC of GetDC, GetWindowDC or BeginPaint draws on; nullptr for any other DC.
HWND WindowFromDC(HDC DC);
// Gives back a DC of GetDC/GetWindowDC (nullptr Wnd: a screen DC) and
// shows what was drawn; 0 for a foreign DC.
int ReleaseDC(HWND Wnd, HDC DC);
// Starts painting the marked part: a DC clipped to it, WM_ERASEBKGND sent
// first when the marking asked for erasing. nullptr for a window without a surface.
HDC BeginPaint(HWND Wnd, PAINTSTRUCT* Paint);
// Ends painting: the part counts as painted and is shown.
BOOL EndPaint(HWND Wnd, const PAINTSTRUCT* Paint);
// Marks R (client coordinates; nullptr: all) for painting; FALSE for a bad window.
BOOL InvalidateRect(HWND Wnd, const TRect* R, BOOL Erase);
// Sends WM_PAINT now when something is marked.
BOOL UpdateWindow(HWND Wnd);

BOOL GetClientRect(HWND Wnd, TRect* R);
// Outer rectangle in screen coordinates.
BOOL GetWindowRect(HWND Wnd, TRect* R);
BOOL ClientToScreen(HWND Wnd, TPoint* P);
BOOL ScreenToClient(HWND Wnd, TPoint* P);
// The deepest visible window at the screen point; nullptr when none.
HWND WindowFromPoint(TPoint P);
BOOL IsWindowVisible(HWND Wnd);
BOOL IsWindowEnabled(HWND Wnd);
// Enables or disables input to the window; answers whether it was disabled.
BOOL EnableWindow(HWND Wnd, BOOL Enable);

// Mouse capture: every mouse message goes to the window until released.
// SetCapture answers the previous holder; the old holder gets WM_CAPTURECHANGED.
HWND SetCapture(HWND Wnd);
HWND GetCapture();
BOOL ReleaseCapture();
// Keyboard focus: WM_KILLFOCUS to the old window, then WM_SETFOCUS to the
// new; answers the previous focus window.
HWND SetFocus(HWND Wnd);
HWND GetFocus();
// The active top-level window; nullptr while another program has the focus.
// When activation moves (a press in another form, a form's SetFocus, another
// program taking the focus) the old window gets WM_NCACTIVATE (wParam FALSE)
// and WM_ACTIVATE (WA_INACTIVE, lParam the new window or nullptr), then the
// new one WM_NCACTIVATE (TRUE) and WM_ACTIVATE (WA_CLICKACTIVE after a press,
// else WA_ACTIVE; lParam the old window or nullptr). The answer to
// WM_NCACTIVATE is not consulted: activation moves anyway.
HWND GetActiveWindow();

constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
              SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWNA = 8, SW_RESTORE = 9;
BOOL ShowWindow(HWND Wnd, int Cmd);

// The pointer's screen position as the program last saw it (or set it).
BOOL GetCursorPos(TPoint* P);
// Moves the pointer (the window system's too, when there is one).
BOOL SetCursorPos(int X, int Y);

// Opacity of a top-level window with WS_EX_LAYERED (LWA_ALPHA).
constexpr DWORD LWA_COLORKEY = 0x1, LWA_ALPHA = 0x2;
BOOL SetLayeredWindowAttributes(HWND Wnd, COLORREF Key, Byte Alpha, DWORD Flags);

// Rings the window system's bell for a sound type (MB_OK, MB_ICONERROR...,
// 0xFFFFFFFF the simple beep; all sound alike). Without a window system
// (offscreen) nothing sounds. Answers TRUE.
BOOL MessageBeep(UINT Type);
