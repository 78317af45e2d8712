// The theme and composition libraries of the layer: theming is drawn by the
// layer itself, and desktop composition is off unless a test switches it on.
#include "platform/theme/UxTheme.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "platform/win/Modules.h"

struct HTHEME__ {
  std::u16string ClassList;
};

namespace {

std::mutex& ThemeHandlesLock() {
  static std::mutex m;
  return m;
}
std::set<HTHEME>& ThemeHandles() {
  static std::set<HTHEME> s;
  return s;
}
std::atomic<bool> ThemeCompositionOn{false};

void ThemeCopyFace(LOGFONTW* font, const char16_t* face) {
  std::memset(font->lfFaceName, 0, sizeof(font->lfFaceName));
  for (int i = 0; face[i] != 0 && i < LF_FACESIZE - 1; ++i) font->lfFaceName[i] = face[i];
}

// Exports the program binds by name but never calls: present, so that a
// binding that checks every name finds them, and answering "not implemented".
HRESULT ThemeUnusedExport() { return E_NOTIMPL; }

}  // namespace

HTHEME OpenThemeData(HWND, const WCHAR* ClassList) {
  if (ClassList == nullptr || ClassList[0] == 0) return nullptr;
  auto theme = std::make_unique<HTHEME__>();
  theme->ClassList = ClassList;
  std::lock_guard<std::mutex> guard(ThemeHandlesLock());
  HTHEME h = theme.release();
  ThemeHandles().insert(h);
  return h;
}

HRESULT CloseThemeData(HTHEME Theme) {
  std::lock_guard<std::mutex> guard(ThemeHandlesLock());
  auto it = ThemeHandles().find(Theme);
  if (Theme == nullptr || it == ThemeHandles().end()) return E_INVALIDARG;
  ThemeHandles().erase(it);
  std::unique_ptr<HTHEME__> owned(Theme);
  return S_OK;
}

HRESULT GetThemeSysFont(HTHEME, int FontID, LOGFONTW* Font) {
  if (Font == nullptr) return E_INVALIDARG;
  *Font = LOGFONTW{};
  (void)FontID;  // caption and message fonts are the same face and size here
  Font->lfHeight = -12;
  Font->lfWeight = FW_NORMAL;
  ThemeCopyFace(Font, u"Segoe UI");
  return S_OK;
}

HRESULT DrawThemeTextEx(HTHEME, HDC DC, int, int, const WCHAR* Text, int Length, DWORD Flags, RECT* Rect,
                        const DTTOPTS* Options) {
  if (DC == nullptr || Rect == nullptr || Text == nullptr) return E_INVALIDARG;
  COLORREF old = CLR_INVALID;
  if (Options != nullptr && (Options->dwFlags & DTT_TEXTCOLOR) != 0) old = SetTextColor(DC, Options->crText);
  int oldMode = SetBkMode(DC, TRANSPARENT);
  int h = DrawTextW(DC, Text, Length, Rect, Flags);
  SetBkMode(DC, oldMode);
  if (old != CLR_INVALID) SetTextColor(DC, old);
  return h == 0 && (Flags & DT_CALCRECT) == 0 && Length != 0 ? E_FAIL : S_OK;
}

BOOL IsThemeActive() { return TRUE; }
BOOL IsAppThemed() { return TRUE; }

HRESULT DwmIsCompositionEnabled(BOOL* Enabled) {
  if (Enabled == nullptr) return E_INVALIDARG;
  *Enabled = ThemeCompositionOn.load() ? TRUE : FALSE;
  return S_OK;
}

HRESULT DwmExtendFrameIntoClientArea(HWND, const MARGINS*) {
  return ThemeCompositionOn.load() ? S_OK : DWM_E_COMPOSITIONDISABLED;
}

BOOL DwmDefWindowProc(HWND, UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

void SetDesktopCompositionForTest(bool Enabled) { ThemeCompositionOn.store(Enabled); }

void RegisterThemeModules() {
  auto e = [](const char* name, auto* fn) { return TModuleExport{name, reinterpret_cast<void*>(fn)}; };
  static const char* const kUnused[] = {
      "DrawThemeBackground", "DrawThemeText", "GetThemeBackgroundContentRect", "GetThemeBackgroundExtent",
      "GetThemeTextExtent", "GetThemeTextMetrics", "GetThemeBackgroundRegion", "HitTestThemeBackground",
      "DrawThemeEdge", "DrawThemeIcon", "IsThemePartDefined", "IsThemeBackgroundPartiallyTransparent",
      "GetThemeColor", "GetThemeMetric", "GetThemeString", "GetThemeBool", "GetThemeInt", "GetThemeEnumValue",
      "GetThemePosition", "GetThemeFont", "GetThemeRect", "GetThemeMargins", "GetThemeIntList", "SetWindowTheme",
      "GetThemeFilename", "GetThemeSysColor", "GetThemeSysColorBrush", "GetThemeSysBool", "GetThemeSysSize",
      "GetThemeSysString", "GetThemeSysInt", "GetWindowTheme", "EnableThemeDialogTexture",
      "IsThemeDialogTextureEnabled", "GetThemeAppProperties", "SetThemeAppProperties", "GetCurrentThemeName",
      "GetThemeDocumentationProperty", "DrawThemeParentBackground", "EnableTheming", "OpenThemeDataForDpi",
      "GetThemePartSize"};
  std::vector<TModuleExport> ux = {e("OpenThemeData", &OpenThemeData), e("CloseThemeData", &CloseThemeData),
                                   e("GetThemeSysFont", &GetThemeSysFont), e("DrawThemeTextEx", &DrawThemeTextEx),
                                   e("IsThemeActive", &IsThemeActive), e("IsAppThemed", &IsAppThemed)};
  for (const char* name : kUnused) ux.push_back(e(name, &ThemeUnusedExport));
  RegisterModule(u"uxtheme.dll", std::move(ux));
  RegisterModule(u"dwmapi.dll", {e("DwmIsCompositionEnabled", &DwmIsCompositionEnabled),
                                 e("DwmExtendFrameIntoClientArea", &DwmExtendFrameIntoClientArea),
                                 e("DwmDefWindowProc", &DwmDefWindowProc)});
}
