#pragma once
// Run-time binding of the desktop-composition library: each wrapper loads
// "DWMAPI.DLL" and looks its function up on first use (a failed load or
// look-up is tried again on the next call) and answers a fixed result when
// either is missing.
#include "platform/theme/UxTheme.h"

namespace advdwm {

// FALSE without the library or the function (Result untouched).
BOOL DwmDefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT* Result);
// E_NOTIMPL without the library or the function.
HRESULT DwmExtendFrameIntoClientArea(HWND Wnd, const MARGINS* Margins);
// E_NOTIMPL without the library or the function (Enabled untouched).
HRESULT DwmIsCompositionEnabled(BOOL* Enabled);
// True only when the system is version 6 or later and the library answers
// S_OK with composition on.
bool IsCompositionEnabled();
// The unit's end: frees a loaded library.
void FinalizeAdvDWM();
// How many times the library was asked for (tests see retries).
Integer DwmLoadAttemptsForTest();

}  // namespace advdwm
