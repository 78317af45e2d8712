#include "ribbon/AdvDWM.h"

#include "platform/win/Modules.h"
#include "toolbar/shared/ToolBarShared.h"

namespace advdwm {
namespace {

struct TDwmState {
  HMODULE Library = nullptr;
  FARPROC DefWindowProc = nullptr;
  FARPROC ExtendFrame = nullptr;
  FARPROC IsEnabled = nullptr;
  Integer Attempts = 0;
};

TDwmState& DwmState() {
  static TDwmState s;
  return s;
}

// The cached entry, or the export looked up now (loading the library first);
// nullptr when either is missing.
FARPROC DwmEntry(FARPROC& cache, const char* name) {
  if (cache != nullptr) return cache;
  TDwmState& s = DwmState();
  if (s.Library == nullptr) {
    ++s.Attempts;
    s.Library = LoadLibraryW(u"DWMAPI.DLL");
  }
  if (s.Library == nullptr) return nullptr;
  cache = GetProcAddress(s.Library, name);
  return cache;
}

}  // namespace

BOOL DwmDefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT* Result) {
  auto f = reinterpret_cast<BOOL (*)(HWND, UINT, WPARAM, LPARAM, LRESULT*)>(
      DwmEntry(DwmState().DefWindowProc, "DwmDefWindowProc"));
  return f != nullptr ? f(Wnd, Msg, WParam, LParam, Result) : FALSE;
}

HRESULT DwmExtendFrameIntoClientArea(HWND Wnd, const MARGINS* Margins) {
  auto f = reinterpret_cast<HRESULT (*)(HWND, const MARGINS*)>(
      DwmEntry(DwmState().ExtendFrame, "DwmExtendFrameIntoClientArea"));
  return f != nullptr ? f(Wnd, Margins) : E_NOTIMPL;
}

HRESULT DwmIsCompositionEnabled(BOOL* Enabled) {
  auto f = reinterpret_cast<HRESULT (*)(BOOL*)>(DwmEntry(DwmState().IsEnabled, "DwmIsCompositionEnabled"));
  return f != nullptr ? f(Enabled) : E_NOTIMPL;
}

bool IsCompositionEnabled() {
  Integer major = 0, minor = 0;
  toolbar::GetNtVersion(major, minor);
  if (major < 6) return false;
  BOOL enabled = FALSE;
  return DwmIsCompositionEnabled(&enabled) == S_OK && enabled != FALSE;
}

void FinalizeAdvDWM() {
  TDwmState& s = DwmState();
  if (s.Library != nullptr) FreeLibrary(s.Library);
  s.Library = nullptr;
  s.DefWindowProc = s.ExtendFrame = s.IsEnabled = nullptr;
}

Integer DwmLoadAttemptsForTest() { return DwmState().Attempts; }

}  // namespace advdwm
