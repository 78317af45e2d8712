#pragma once
// Data a window carries for other code: its procedure as a chain of
// subclass procedures, and one user value.
//
// A subclass procedure is an object instance (MakeObjectInstance) that names
// a method; its token is what GetWindowLong(GWL_WNDPROC) answers and
// SetWindowLong(GWL_WNDPROC) takes. Each window's procedure is a real chain:
// setting a new token puts it on top; setting back the token that a
// subclass procedure replaced takes that procedure out of the chain wherever
// it stands, so two subclassers that undo their work in either order leave
// each other working. CallWindowProc with a token that has left the chain
// goes on to the procedure that stood below it.
#include <functional>

#include "platform/win/MessageLoop.h"

using LONG_PTR = std::intptr_t;
// A window procedure's token (an object instance, or a window's own procedure).
using WNDPROC = LONG_PTR;

constexpr int GWL_WNDPROC = -4, GWL_USERDATA = -21;

// A token for Method, valid until FreeObjectInstance; 0 for an empty method.
WNDPROC MakeObjectInstance(TWndMethod Method);
// Frees a token; an unknown one is ignored. A window still chained to it
// skips it from then on.
void FreeObjectInstance(WNDPROC Instance);

// GWL_WNDPROC: the token of the procedure on top of the window's chain (the
// window's own procedure has a token too); GWL_USERDATA: the user value (0
// at first). 0 with ERROR_INVALID_WINDOW_HANDLE for a bad window, 0 with
// ERROR_INVALID_INDEX for another index.
LONG_PTR GetWindowLong(HWND Wnd, int Index);
// GWL_WNDPROC: chains the token as described above and answers the token
// that was on top before; GWL_USERDATA: stores the value and answers the old
// one. 0 with ERROR_INVALID_WINDOW_HANDLE for a bad window, with
// ERROR_INVALID_INDEX for another index, with ERROR_INVALID_PARAMETER for a
// token that names no live instance (the chain is then unchanged).
LONG_PTR SetWindowLong(HWND Wnd, int Index, LONG_PTR NewLong);
inline LONG_PTR GetWindowLongPtr(HWND Wnd, int Index) { return GetWindowLong(Wnd, Index); }
inline LONG_PTR SetWindowLongPtr(HWND Wnd, int Index, LONG_PTR NewLong) { return SetWindowLong(Wnd, Index, NewLong); }

// Calls the procedure the token names for the window (a token that left the
// window's chain: the one that stood below it) and answers its result; 0 for
// a bad window or a token that names nothing.
LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam);
