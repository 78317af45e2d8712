#pragma once
// Inside view of a top-level form's window, for platform/vcl code only: the
// window-position and min-max messages around its moves and sizes, and the
// system menu's part in window-state changes.
#include "platform/rtl/Geometry.h"
#include "platform/vcl/WindowRegion.h"
#include "platform/win/Messages.h"

class TCustomForm;
class TMonitor;
class TWinControl;

namespace forms_internal {

// The form's answer to WM_GETMINMAXINFO, defaults from Monitor (nullptr: the
// monitor the form lies on). Without a window the defaults alone.
MINMAXINFO QueryMinMaxInfo(TCustomForm* Form, const TMonitor* Monitor = nullptr);
// Where the form goes when maximised: its monitor's place from WM_GETMINMAXINFO.
TRect MaximizedBounds(TCustomForm* Form);
// Width and height kept inside the tracking sizes of WM_GETMINMAXINFO.
void ClampToTrackSize(const MINMAXINFO& Info, Integer& Width, Integer& Height);
// Moves a form to Wanted: WM_WINDOWPOSCHANGING (Flags as given, SWP_NOMOVE
// and SWP_NOSIZE added for what does not change), the bounds a handler left,
// then WM_WINDOWPOSCHANGED. A child form or one without a window just takes the bounds.
void PositionForm(TCustomForm* Form, TRect Wanted, UINT Flags);
// Moves the form through its SetBounds as part of a window-state change:
// WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED carry SWP_STATECHANGED (and are
// sent even when the bounds stay).
void SetBoundsForState(TCustomForm* Form, TRect Bounds);
// The flags of a SetBounds call on the form: SWP_NOZORDER | SWP_NOACTIVATE,
// with SWP_STATECHANGED inside SetBoundsForState (once).
UINT TakeBoundsFlags(TCustomForm* Form);
// The system's part of WM_WINDOWPOSCHANGING: the tracking sizes (see WindowRegion.h).
void DefWindowPosChanging(TWinControl* Control, TMessage& Message);
// The form's part of WM_GETMINMAXINFO: its size constraints as tracking sizes.
void FormMinMaxInfo(TCustomForm* Form, TMessage& Message);

}  // namespace forms_internal

namespace systemmenu_internal {

// The window's state or style changed: the standard items of its system menu
// (when it has one) are enabled as that state allows.
void WindowStateChanged(HWND Wnd);

}  // namespace systemmenu_internal
