#pragma once
// The toolbar unit's run-time binding of the theme library, and a second,
// independent binding of a larger function set that nothing calls through
// but that loads and frees the library with the program all the same.
#include "platform/theme/UxTheme.h"
#include "platform/win/Modules.h"

namespace advtbxpvs {

// The bound functions, in the binding's order (45 of them).
enum TThemeFunction : int {
  tfOpenThemeData, tfCloseThemeData, tfDrawThemeBackground, tfDrawThemeText, tfGetThemeBackgroundContentRect,
  tfGetThemeBackgroundExtent, tfGetThemeTextExtent, tfGetThemeTextMetrics, tfGetThemeBackgroundRegion,
  tfHitTestThemeBackground, tfDrawThemeEdge, tfDrawThemeIcon, tfIsThemePartDefined,
  tfIsThemeBackgroundPartiallyTransparent, tfGetThemeColor, tfGetThemeMetric, tfGetThemeString, tfGetThemeBool,
  tfGetThemeInt, tfGetThemeEnumValue, tfGetThemePosition, tfGetThemeFont, tfGetThemeRect, tfGetThemeMargins,
  tfGetThemeIntList, tfSetWindowTheme, tfGetThemeFilename, tfGetThemeSysColor, tfGetThemeSysColorBrush,
  tfGetThemeSysBool, tfGetThemeSysSize, tfGetThemeSysFont, tfGetThemeSysString, tfGetThemeSysInt,
  tfIsThemeActive, tfIsAppThemed, tfGetWindowTheme, tfEnableThemeDialogTexture, tfIsThemeDialogTextureEnabled,
  tfGetThemeAppProperties, tfSetThemeAppProperties, tfGetCurrentThemeName, tfGetThemeDocumentationProperty,
  tfDrawThemeParentBackground, tfEnableTheming, tfThemeFunctionCount
};

// The export name of a bound function; nullptr out of range.
const char* ThemeFunctionName(int Index);
// The bound address (nullptr until bound, or out of range).
FARPROC ThemeFunction(int Index);

// Loads "UXTHEME.DLL" and binds the functions, once (a second call changes
// nothing). A missing library leaves everything unbound without a message; a
// library lacking one of the functions raises EAssertionFailed "Assertion
// failure (AdvTBXPVS, line N)", the functions bound before it keeping their
// addresses.
void BindThemeLibrary();
// Drops the reference count (when above 0) and frees a loaded library.
void ReleaseThemeLibrary();
bool ThemeLibraryLoaded();
Integer ThemeLibraryRefCount();

// Typed calls through the bound addresses; each answers E_NOTIMPL (nullptr,
// FALSE) while its function is unbound.
HTHEME OpenThemeData(HWND Wnd, const WCHAR* ClassList);
HRESULT CloseThemeData(HTHEME Theme);
HRESULT GetThemeSysFont(HTHEME Theme, int FontID, LOGFONTW* Font);
BOOL IsThemeActive();
// Forwards to the library's DrawThemeTextEx, looked up on first use (again on
// every call while the library lacks it); E_NOTIMPL without the library or
// the function.
HRESULT DrawThemeTextEx(HTHEME Theme, HDC DC, int PartId, int StateId, const WCHAR* Text, int Length,
                        DWORD Flags, RECT* Rect, const DTTOPTS* Options);

// The unit start-up and end: the lock and the binding; the end releases
// while references remain.
void InitializeAdvTBXPVS();
void FinalizeAdvTBXPVS();

}  // namespace advtbxpvs

namespace advxpvs {

// The larger set (47 functions, OpenThemeDataForDpi optional). A missing
// library leaves it unloaded; a missing required function raises
// EAssertionFailed "Assertion failure (AdvXPVS, line N)".
void BindXPThemeLibrary();
void ReleaseXPThemeLibrary();
bool XPThemeLibraryLoaded();
// The bound address of the export named Name; nullptr when unbound or unknown.
FARPROC XPThemeFunction(const char* Name);

}  // namespace advxpvs
