// The toolbar family's process-wide state and its colour arithmetic.
#include "toolbar/shared/ToolBarShared.h"

#include <algorithm>
#include <cmath>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Math.h"
#include "platform/theme/UxTheme.h"
#include "platform/vcl/Controls.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Modules.h"
#include "platform/win/Window.h"

namespace toolbar {

Single ToolBarDPIScale = 1.0f;
Integer ToolBarPPI = 96;
Integer ScreenPPI = 96;
Integer ScaledSize16 = 16;
Integer ScaledCaptionHeight = 26;
bool ToolBarScaleSet = false;
bool FormScaled = true;

TColorTones GlobalColorTones;  // every colour clNone by the record's defaults
TColorTones GlobalAppButtonTones;

Word WM_TBCOMPACTWINHIDE = 0;
Word WM_TBSETAEROVISTA = 0;
Word WM_TBPSETIGNOREALT = 0;
Word WM_TBFUPDATECONTEXTMENU = 0;
Word WM_TBSETMETRO = 0;
Word WM_TBREVERTMETRO = 0;
Word WM_TBSETOFFICE2013 = 0;
Word WM_TBSHOWSHORTCUTHINT = 0;

namespace {

struct TSharedRGB {
  Integer R, G, B;
};

TSharedRGB SharedChannels(TColor c) {
  DWORD v = DWORD(ColorToRGB(c));
  return {Integer(v & 0xFF), Integer((v >> 8) & 0xFF), Integer((v >> 16) & 0xFF)};
}

TColor SharedMake(Integer r, Integer g, Integer b) { return TColor(r | (g << 8) | (b << 16)); }

}  // namespace

void InitializeToolBarShared() {
  GlobalColorTones = EmptyColorTones();
  GlobalAppButtonTones = EmptyColorTones();
  WM_TBCOMPACTWINHIDE = Word(RegisterWindowMessage(u"TBCompactWinHide"));
  WM_TBSETAEROVISTA = Word(RegisterWindowMessage(u"TBSetAeroVista"));
  WM_TBPSETIGNOREALT = Word(RegisterWindowMessage(u"TBPSetIgnoreALT"));
  WM_TBFUPDATECONTEXTMENU = Word(RegisterWindowMessage(u"TBFUpdateContextMenu"));
  WM_TBSETMETRO = Word(RegisterWindowMessage(u"TBSetMetro"));
  WM_TBREVERTMETRO = Word(RegisterWindowMessage(u"TBRevertMetro"));
  WM_TBSETOFFICE2013 = Word(RegisterWindowMessage(u"TBSetOffice2013"));
  WM_TBSHOWSHORTCUTHINT = Word(RegisterWindowMessage(u"TBShowShortCutHint"));
}

void GetNtVersion(Integer& Major, Integer& Minor) {
  // The layer reports Windows 10.
  Major = 10;
  Minor = 0;
}

Integer GetZeroTextHeight(Integer PPI, Integer PointSize) { return gdiplus::GetZeroTextHeight(PPI, PointSize); }

Single CalcDPIScale(Integer PPI) {
  if (!FormScaled || PPI == 96) return 1.0f;
  Integer base = GetZeroTextHeight(96, 9);
  if (base <= 0) return 1.0f;
  return Single(double(GetZeroTextHeight(PPI, 9)) / base);
}

void UpdateToolBarDPIScale(Integer PPI) {
  ToolBarPPI = PPI;
  HDC dc = GetDC(nullptr);
  ScreenPPI = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
  if (dc != nullptr) ReleaseDC(nullptr, dc);
  ToolBarDPIScale = CalcDPIScale(PPI);
  ToolBarScaleSet = true;
  ScaledSize16 = Integer(Round(16.0 * ToolBarDPIScale));
  ScaledCaptionHeight = Integer(Round(26.0 * ToolBarDPIScale));
}

TCustomStyleServices* GetStyleServices() { return nullptr; }

bool IsStyleServicesEnabled() { return false; }

void ApplyDefaultFont(TFont* Font, bool Modern) {
  if (Font == nullptr) return;
  Font->SetName(Modern ? u"Segoe UI" : u"Tahoma");
  Font->SetHeight(Modern ? -12 : -11);
}

Integer GetCornerRadius() { return gdiplus::GetScenicRibbonFlag() ? 0 : 3; }

bool IsComCtl6() { return true; }

bool IsDwmCompositionActive() {
  // The composition library's own test, looked up as the binding does.
  HMODULE lib = LoadLibraryW(u"DWMAPI.DLL");
  if (lib == nullptr) return false;
  bool on = false;
  if (auto f = reinterpret_cast<HRESULT (*)(BOOL*)>(GetProcAddress(lib, "DwmIsCompositionEnabled"))) {
    BOOL enabled = FALSE;
    on = f(&enabled) == S_OK && enabled != FALSE;
  }
  FreeLibrary(lib);
  return on;
}

bool IsTaskBarAutoHide() { return false; }

bool IsControlShowing(const TControl* Control) {
  if (Control == nullptr) return false;
  for (const TControl* c = Control; c != nullptr; c = c->Parent())
    if (!c->Visible()) return false;
  return true;
}

void CenterRect(TRect& R, Integer W, Integer H) {
  R.Right = (R.Left + R.Right + W) / 2;
  R.Bottom = (R.Top + R.Bottom + H) / 2;
  R.Left = R.Right - W;
  R.Top = R.Bottom - H;
}

bool ContainsFocus(TWinControl* Control) {
  if (Control == nullptr || !Control->Enabled() || !Control->HandleAllocated()) return false;
  TWinControl* focused = FindControl(GetFocus());
  if (focused == nullptr) return false;
  TWinControl* w = focused->Parent();
  for (int i = 0; w != nullptr && i < 50; ++i, w = w->Parent())
    if (w == Control) return true;
  return false;
}

TColor BlendColor(TColor Col1, TColor Col2, Integer Percent) {
  if (Percent >= 100) return Col1;
  if (Percent <= 0) return Col2;
  double x = Percent / 100.0;
  TSharedRGB a = SharedChannels(Col1), b = SharedChannels(Col2);
  auto mix = [x](Integer c1, Integer c2) { return std::min<Integer>(255, Integer(Round(x * c1 + (1 - x) * c2))); };
  return SharedMake(mix(a.R, b.R), mix(a.G, b.G), mix(a.B, b.B));
}

TColor DarkenColor(TColor Color, Integer Percent) {
  TSharedRGB c = SharedChannels(Color);
  auto dark = [Percent](Integer v) {
    return std::clamp<Integer>(Integer(Round(v * (100.0 - Percent) / 100.0)), 0, 255);
  };
  return SharedMake(dark(c.R), dark(c.G), dark(c.B));
}

TColor AdjustColor(TColor Color, Integer Percent) {
  TSharedRGB c = SharedChannels(Color);
  auto adj = [Percent](Integer v) {
    Integer r = v == 0 ? (Percent >= 0 ? Percent : 0)
                       : Integer(Round(v * std::min(100.0 + Percent, 100.0) / 100.0));
    return r & 0xFF;
  };
  return SharedMake(adj(c.R), adj(c.G), adj(c.B));
}

ARGB ColorToARGB(TColor Color) {
  DWORD v = DWORD(ColorToRGB(Color));
  return 0xFF000000u | ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

}  // namespace toolbar
