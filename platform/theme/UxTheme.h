#pragma once
// The theme library ("uxtheme.dll") and the desktop-composition library
// ("dwmapi.dll") as run-time modules. Programs reach them only through
// LoadLibrary/GetProcAddress, so this header declares the layer's own
// implementations (for the module tables and for tests) and the signatures
// callers cast the looked-up addresses to.
//
// What they answer here: theming is active and drawn by the layer itself (a
// theme handle is a small object naming its class list); desktop composition
// is off unless a test switches it on.
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Geometry.h"
#include "platform/win/ComStream.h"
#include "platform/win/Messages.h"

struct HTHEME__;
using HTHEME = HTHEME__*;

constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001u);

// Options of DrawThemeTextEx (only the members the callers fill are read).
struct DTTOPTS {
  DWORD dwSize = sizeof(DTTOPTS);
  DWORD dwFlags = 0;
  COLORREF crText = 0;
  COLORREF crBorder = 0;
  COLORREF crShadow = 0;
  int iTextShadowType = 0;
  POINT ptShadowOffset{};
  int iBorderSize = 0;
  int iFontPropId = 0;
  int iColorPropId = 0;
  int iStateId = 0;
  BOOL fApplyOverlay = FALSE;
  int iGlowSize = 0;
  void* pfnDrawTextCallback = nullptr;
  LPARAM lParam = 0;
};
constexpr DWORD DTT_TEXTCOLOR = 0x1, DTT_GLOWSIZE = 0x800, DTT_COMPOSITED = 0x2000;

struct MARGINS {
  int cxLeftWidth = 0;
  int cxRightWidth = 0;
  int cyTopHeight = 0;
  int cyBottomHeight = 0;
};

// Theme font identifier of the caption font.
constexpr int TMT_CAPTIONFONT = 801;

// --- the theme library's functions the program calls ---
// A handle for the class list; nullptr for an empty list. Free with CloseThemeData.
HTHEME OpenThemeData(HWND Wnd, const WCHAR* ClassList);
// S_OK; E_INVALIDARG for nullptr or a handle OpenThemeData did not give.
HRESULT CloseThemeData(HTHEME Theme);
// The caption font ("Segoe UI", height -12) for TMT_CAPTIONFONT, the message
// font otherwise; E_INVALIDARG when Font is nullptr.
HRESULT GetThemeSysFont(HTHEME Theme, int FontID, LOGFONTW* Font);
// Text drawn with the DC's font in Rect (DrawText flags), in Options'
// text colour when it carries one. E_INVALIDARG for a bad DC or rectangle.
HRESULT DrawThemeTextEx(HTHEME Theme, HDC DC, int PartId, int StateId, const WCHAR* Text, int Length, DWORD Flags,
                        RECT* Rect, const DTTOPTS* Options);
// TRUE: themes are on.
BOOL IsThemeActive();
BOOL IsAppThemed();

// --- the composition library ---
// S_OK; *Enabled receives the composition switch (off unless a test set it).
// E_INVALIDARG for nullptr.
HRESULT DwmIsCompositionEnabled(BOOL* Enabled);
// S_OK while composition is on, else DWM_E_COMPOSITIONDISABLED.
HRESULT DwmExtendFrameIntoClientArea(HWND Wnd, const MARGINS* Margins);
// FALSE: the composition manager handles no message here.
BOOL DwmDefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT* Result);
constexpr HRESULT DWM_E_COMPOSITIONDISABLED = HRESULT(0x80263001u);

// Test switch of desktop composition (off at start).
void SetDesktopCompositionForTest(bool Enabled);

// Registers "uxtheme.dll" (every function the program binds by name) and
// "dwmapi.dll" in the module table. Idempotent.
void RegisterThemeModules();
