#pragma once
// Window regions and placement by handle, for code that shapes or moves a
// window it did not create (the owner-drawn pop-up menus do both).
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Geometry.h"

// Gives the window the region (window coordinates; the window keeps it and
// frees it) or, with nullptr, removes its region. Outside the region the
// window shows nothing and takes no input. 0 for a bad window (the region is
// then freed), nonzero otherwise.
int SetWindowRgn(HWND Wnd, HRGN Rgn, BOOL Redraw);
// The bounding box of the window's region in window coordinates: SIMPLEREGION
// or COMPLEXREGION; ERROR (R untouched) when the window has no region or is bad.
int GetWindowRgnBox(HWND Wnd, TRect* R);

constexpr UINT SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOREDRAW = 0x0008,
               SWP_NOACTIVATE = 0x0010, SWP_FRAMECHANGED = 0x0020, SWP_SHOWWINDOW = 0x0040,
               SWP_HIDEWINDOW = 0x0080, SWP_NOOWNERZORDER = 0x0200;
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(std::intptr_t{1});
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(std::intptr_t{-1});
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(std::intptr_t{-2});

// The window-position record of WM_WINDOWPOSCHANGING/WM_WINDOWPOSCHANGED and
// of WM_NCCALCSIZE's parameters.
struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int x = 0, y = 0, cx = 0, cy = 0;
  UINT flags = 0;
};
struct NCCALCSIZE_PARAMS {
  TRect rgrc[3];
  WINDOWPOS* lppos = nullptr;
};

// Moves and sizes the window (screen coordinates for a top-level window,
// parent client coordinates for a child) and, without SWP_NOZORDER, stacks
// it: HWND_TOP on top of its siblings (or of the top-level windows),
// HWND_BOTTOM below them, HWND_TOPMOST above every window that is not
// topmost (WS_EX_TOPMOST set), HWND_NOTOPMOST back among them, a sibling's
// handle just below that sibling (another window's handle: ignored).
// SWP_FRAMECHANGED sends WM_NCCALCSIZE (wParam TRUE, the window rectangle
// in rgrc[0]) and repaints the whole window; SWP_SHOWWINDOW and
// SWP_HIDEWINDOW show or hide it. Without SWP_NOACTIVATE a visible
// top-level window (one without WS_EX_NOACTIVATE) becomes the active
// window; with it the activation stays where it is. FALSE with
// ERROR_INVALID_WINDOW_HANDLE for a bad window.
BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags);
