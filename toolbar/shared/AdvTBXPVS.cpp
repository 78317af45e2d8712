// Run-time bindings of the theme library.
#include "toolbar/shared/AdvTBXPVS.h"

#include <array>
#include <memory>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/SyncObjs.h"

namespace advtbxpvs {
namespace {

constexpr std::array<const char*, tfThemeFunctionCount> kTbxNames = {
    "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText", "GetThemeBackgroundContentRect",
    "GetThemeBackgroundExtent", "GetThemeTextExtent", "GetThemeTextMetrics", "GetThemeBackgroundRegion",
    "HitTestThemeBackground", "DrawThemeEdge", "DrawThemeIcon", "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent", "GetThemeColor", "GetThemeMetric", "GetThemeString", "GetThemeBool",
    "GetThemeInt", "GetThemeEnumValue", "GetThemePosition", "GetThemeFont", "GetThemeRect", "GetThemeMargins",
    "GetThemeIntList", "SetWindowTheme", "GetThemeFilename", "GetThemeSysColor", "GetThemeSysColorBrush",
    "GetThemeSysBool", "GetThemeSysSize", "GetThemeSysFont", "GetThemeSysString", "GetThemeSysInt",
    "IsThemeActive", "IsAppThemed", "GetWindowTheme", "EnableThemeDialogTexture", "IsThemeDialogTextureEnabled",
    "GetThemeAppProperties", "SetThemeAppProperties", "GetCurrentThemeName", "GetThemeDocumentationProperty",
    "DrawThemeParentBackground", "EnableTheming"};

struct TTbxState {
  HMODULE Module = nullptr;
  bool Loaded = false;
  Integer RefCount = 0;
  std::unique_ptr<TCriticalSection> Lock;
  std::array<FARPROC, tfThemeFunctionCount> Procs{};
  FARPROC DrawTextEx = nullptr;
};

TTbxState& TbxState() {
  static TTbxState s;
  return s;
}

// The line number the assertion names identifies the missing function.
[[noreturn]] void TbxAssertMissing(const char* unit, int line) {
  throw EAssertionFailed(u"Assertion failure (" + Utf8ToString(unit) + u", line " + IntToStr(line) + u")");
}

template <class F>
F TbxProc(int index) {
  return reinterpret_cast<F>(TbxState().Procs[static_cast<size_t>(index)]);
}

}  // namespace

const char* ThemeFunctionName(int Index) {
  return Index >= 0 && Index < tfThemeFunctionCount ? kTbxNames[static_cast<size_t>(Index)] : nullptr;
}

FARPROC ThemeFunction(int Index) {
  return Index >= 0 && Index < tfThemeFunctionCount ? TbxState().Procs[static_cast<size_t>(Index)] : nullptr;
}

void BindThemeLibrary() {
  TTbxState& s = TbxState();
  if (s.Loaded) return;
  std::unique_ptr<TCriticalSection> ownLock;
  TCriticalSection* lock = s.Lock.get();
  if (lock == nullptr) {
    ownLock = std::make_unique<TCriticalSection>();
    lock = ownLock.get();
  }
  lock->Enter();
  struct TLeave {
    TCriticalSection* L;
    ~TLeave() { L->Leave(); }
  } leave{lock};
  s.Module = LoadLibraryW(u"UXTHEME.DLL");
  if (s.Module == nullptr) return;
  ++s.RefCount;
  s.Loaded = true;
  for (int i = 0; i < tfThemeFunctionCount; ++i) {
    s.Procs[static_cast<size_t>(i)] = GetProcAddress(s.Module, kTbxNames[static_cast<size_t>(i)]);
    if (s.Procs[static_cast<size_t>(i)] == nullptr) TbxAssertMissing("AdvTBXPVS", 1678 + 3 * i);
  }
}

void ReleaseThemeLibrary() {
  TTbxState& s = TbxState();
  TCriticalSection* lock = s.Lock.get();
  if (lock != nullptr) lock->Enter();
  if (s.RefCount > 0) --s.RefCount;
  if (s.Loaded) {
    FreeLibrary(s.Module);
    s.Loaded = false;
    s.Procs.fill(nullptr);
    s.DrawTextEx = nullptr;
  }
  if (lock != nullptr) lock->Leave();
}

bool ThemeLibraryLoaded() { return TbxState().Loaded; }
Integer ThemeLibraryRefCount() { return TbxState().RefCount; }

HTHEME OpenThemeData(HWND Wnd, const WCHAR* ClassList) {
  auto f = TbxProc<HTHEME (*)(HWND, const WCHAR*)>(tfOpenThemeData);
  return f != nullptr ? f(Wnd, ClassList) : nullptr;
}

HRESULT CloseThemeData(HTHEME Theme) {
  auto f = TbxProc<HRESULT (*)(HTHEME)>(tfCloseThemeData);
  return f != nullptr ? f(Theme) : E_NOTIMPL;
}

HRESULT GetThemeSysFont(HTHEME Theme, int FontID, LOGFONTW* Font) {
  auto f = TbxProc<HRESULT (*)(HTHEME, int, LOGFONTW*)>(tfGetThemeSysFont);
  return f != nullptr ? f(Theme, FontID, Font) : E_NOTIMPL;
}

BOOL IsThemeActive() {
  auto f = TbxProc<BOOL (*)()>(tfIsThemeActive);
  return f != nullptr ? f() : FALSE;
}

HRESULT DrawThemeTextEx(HTHEME Theme, HDC DC, int PartId, int StateId, const WCHAR* Text, int Length,
                        DWORD Flags, RECT* Rect, const DTTOPTS* Options) {
  using TDrawThemeTextEx = HRESULT (*)(HTHEME, HDC, int, int, const WCHAR*, int, DWORD, RECT*, const DTTOPTS*);
  TTbxState& s = TbxState();
  if (s.DrawTextEx == nullptr) {
    if (s.Module == nullptr || !s.Loaded) return E_NOTIMPL;
    s.DrawTextEx = GetProcAddress(s.Module, "DrawThemeTextEx");
    if (s.DrawTextEx == nullptr) return E_NOTIMPL;
  }
  return reinterpret_cast<TDrawThemeTextEx>(s.DrawTextEx)(Theme, DC, PartId, StateId, Text, Length, Flags, Rect,
                                                          Options);
}

void InitializeAdvTBXPVS() {
  TTbxState& s = TbxState();
  if (!s.Lock) s.Lock = std::make_unique<TCriticalSection>();
  BindThemeLibrary();
}

void FinalizeAdvTBXPVS() {
  while (TbxState().RefCount > 0) ReleaseThemeLibrary();
  TbxState().Lock.reset();
}

}  // namespace advtbxpvs

namespace advxpvs {
namespace {

// The set in its order; the line numbers of the assertion follow it (the
// optional per-DPI opener has no check).
constexpr std::array<const char*, 47> kXpNames = {
    "OpenThemeData", "OpenThemeDataForDpi", "CloseThemeData", "DrawThemeBackground", "DrawThemeText",
    "GetThemeBackgroundContentRect", "GetThemeBackgroundExtent", "GetThemeTextExtent", "GetThemeTextMetrics",
    "GetThemeBackgroundRegion", "HitTestThemeBackground", "DrawThemeEdge", "DrawThemeIcon", "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent", "GetThemeColor", "GetThemeMetric", "GetThemeString", "GetThemeBool",
    "GetThemeInt", "GetThemeEnumValue", "GetThemePosition", "GetThemeFont", "GetThemeRect", "GetThemeMargins",
    "GetThemeIntList", "SetWindowTheme", "GetThemeFilename", "GetThemeSysColor", "GetThemeSysColorBrush",
    "GetThemeSysBool", "GetThemeSysSize", "GetThemeSysFont", "GetThemeSysString", "GetThemeSysInt",
    "IsThemeActive", "IsAppThemed", "GetWindowTheme", "GetThemePartSize", "EnableThemeDialogTexture",
    "IsThemeDialogTextureEnabled", "GetThemeAppProperties", "SetThemeAppProperties", "GetCurrentThemeName",
    "GetThemeDocumentationProperty", "DrawThemeParentBackground", "EnableTheming"};

struct TXpState {
  HMODULE Module = nullptr;
  bool Loaded = false;
  std::array<FARPROC, 47> Procs{};
};

TXpState& XpState() {
  static TXpState s;
  return s;
}

int XpAssertLine(size_t index) {
  if (index == 0) return 1563;
  if (index == kXpNames.size() - 1) return 1700;
  return 1568 + 3 * static_cast<int>(index - 2);
}

}  // namespace

void BindXPThemeLibrary() {
  TXpState& s = XpState();
  if (s.Loaded) return;
  s.Module = LoadLibraryW(u"UXTHEME.DLL");
  if (s.Module == nullptr) return;
  s.Loaded = true;
  for (size_t i = 0; i < kXpNames.size(); ++i) {
    s.Procs[i] = GetProcAddress(s.Module, kXpNames[i]);
    if (s.Procs[i] == nullptr && i != 1)
      throw EAssertionFailed(u"Assertion failure (AdvXPVS, line " + IntToStr(XpAssertLine(i)) + u")");
  }
}

void ReleaseXPThemeLibrary() {
  TXpState& s = XpState();
  if (!s.Loaded) return;
  FreeLibrary(s.Module);
  s.Loaded = false;
  s.Procs.fill(nullptr);
}

bool XPThemeLibraryLoaded() { return XpState().Loaded; }

FARPROC XPThemeFunction(const char* Name) {
  for (size_t i = 0; i < kXpNames.size(); ++i)
    if (std::string(kXpNames[i]) == Name) return XpState().Procs[i];
  return nullptr;
}

}  // namespace advxpvs
