#pragma once
// Pop-up windows that a control owns: a form given a control as its parent
// whose CreateParams adds WS_POPUP and takes WS_CHILD away (a floating
// toolbar's window, a drop-down panel, a compact toolbar's window, a
// minimised ribbon's page). Its window is top-level, and:
// - its Left and Top are screen positions (ClientToScreen and the window
//   rectangle follow them);
// - it stays above the top-level window its owner shows in, and with
//   FormStyle fsStayOnTop (WS_EX_TOPMOST) above every window that is not
//   topmost;
// - shown (Visible, Show, ShowWindow SW_SHOW) it becomes the active window,
//   the owner's form getting WM_ACTIVATE WA_INACTIVE first; ShowWindow
//   SW_SHOWNOACTIVATE or SW_SHOWNA, SetWindowPos with SWP_NOACTIVATE, and
//   WS_EX_NOACTIVATE (which a press inside does not override either) leave
//   the activation where it is;
// - when another window becomes active (a press on the owner's form, or on
//   any other window of the program) it gets WM_ACTIVATE WA_INACTIVE;
//   hiding on that is the pop-up's own choice, in its WM_ACTIVATE handler;
// - the owner's form keeps a caption that looks active only as the pop-up
//   asks: the pop-up sends WM_NCACTIVATE TRUE to GetParent's topmost answer
//   (after the form's own deactivation, which comes first).
// Window shadows are not drawn here: the class style CS_DROPSHADOW is
// accepted and changes nothing.
#include "platform/win/Messages.h"

// Window class style bits of TCreateParams::WindowClass.style.
constexpr UINT CS_DROPSHADOW = 0x00020000;

// The window's parent: the window a child window lies in, the window that
// owns a pop-up; nullptr for a top-level window that no window owns (the
// program's forms), for a hidden window and for a bad handle.
HWND GetParent(HWND Wnd);
