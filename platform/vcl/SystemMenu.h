#pragma once
// The window menu ("system menu") of top-level windows, and the menu calls
// that show a menu by handle and change its items' states. Menus are the
// layer's menus (Menus.h): an HMENU names a menu item whose children are the
// menu's entries; the pop-up runs the same windows and loop as a pop-up menu,
// keys included.
#include "platform/vcl/Menus.h"
#include "platform/win/Messages.h"

// EnableMenuItem: how the item is named, and its new state.
constexpr UINT MF_BYCOMMAND = 0x0000, MF_BYPOSITION = 0x0400;
constexpr UINT MF_ENABLED = 0x0000, MF_GRAYED = 0x0001, MF_DISABLED = 0x0002;
// TrackPopupMenu flags.
constexpr UINT TPM_LEFTBUTTON = 0x0000, TPM_LEFTALIGN = 0x0000, TPM_RIGHTBUTTON = 0x0002, TPM_RETURNCMD = 0x0100;

// The window's own copy of the system menu, made on first use: "&Restore"
// (SC_RESTORE), "&Move" (SC_MOVE), "&Size" (SC_SIZE), "Mi&nimize"
// (SC_MINIMIZE), "Ma&ximize" (SC_MAXIMIZE), a separator and "&Close" with
// Alt+F4 (SC_CLOSE), each item's identifier being its command. Whenever the
// window state changes (and when the copy is made) these items are enabled
// as the state and the window's style allow (Restore when not normal, Move
// when not maximised, Size with WS_THICKFRAME when normal, Minimize with
// WS_MINIMIZEBOX when not minimised, Maximize with WS_MAXIMIZEBOX when not
// maximised); changes made with EnableMenuItem hold until then.
// Revert TRUE drops the window's copy (the next call makes a fresh one) and
// answers nullptr. nullptr for a window without WS_SYSMENU and, with
// ERROR_INVALID_WINDOW_HANDLE, for a bad window.
HMENU GetSystemMenu(HWND Wnd, BOOL Revert);

// Shows Menu with its top-left at the screen point (kept on the screen; X
// and Y only, the alignment flags and Rect are not used) and returns when it
// closes; either mouse button chooses. Wnd receives WM_ENTERMENULOOP,
// WM_MENUSELECT and WM_EXITMENULOOP. With TPM_RETURNCMD: answers the chosen
// item's identifier, 0 when the menu was dismissed. Without it: the chosen
// identifier is posted to Wnd, as WM_SYSCOMMAND (wParam the command) for a
// system menu and WM_COMMAND (low word of wParam) for any other menu, and the
// answer is TRUE (also when nothing was chosen). 0 on failure:
// ERROR_INVALID_MENU_HANDLE for a bad menu, ERROR_INVALID_WINDOW_HANDLE for a
// bad window, ERROR_POPUP_ALREADY_ACTIVE while another menu shows.
BOOL TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int Reserved, HWND Wnd, const TRect* Rect);

// Enables (MF_ENABLED) or disables (MF_GRAYED, MF_DISABLED: both grey the
// item and keep it from being chosen) the item named by its identifier
// (MF_BYCOMMAND, searched through sub-menus too) or by its 0-based position
// (MF_BYPOSITION). Answers the previous state (MF_ENABLED or MF_GRAYED), or
// -1 when there is no such item or the menu is bad.
BOOL EnableMenuItem(HMENU Menu, UINT IDEnableItem, UINT Enable);
