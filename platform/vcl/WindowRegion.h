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

constexpr UINT SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOACTIVATE = 0x0010;
// Moves and sizes the window (screen coordinates for a top-level window,
// parent client coordinates for a child); InsertAfter is ignored. FALSE for a bad window.
BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags);
