#include "controls/AdvOfficeStatusBarStylers.h"

#include "foundation/style/ThemeDetection.h"
#include "foundation/style/ThemeNotifier.h"
#include "platform/win/MessageLoop.h"

using namespace officestatusbar;

namespace {

constexpr TColor SBNone = clNone;

// One appearance of a preset: frame, fill, mirror and text colours.
struct TStatusStylerLook {
  TColor Border, Color, ColorTo, Mirror, MirrorTo, Text, TextHot, TextDown;
};
// The hot and pressed colours, shared by both appearances.
struct TStatusStylerButtons {
  TColor Hot, HotTo, MirrorHot, MirrorHotTo, BorderHot, Down, DownTo, MirrorDown, MirrorDownTo, BorderDown;
};
struct TStatusStylerPreset {
  TColor StylerBorder;
  TStatusStylerLook Light, Dark;
  TStatusStylerButtons Buttons;
};

constexpr TStatusStylerButtons StatusStylerOrangeButtons = {0xD4FBFF, 0x63C4F7, 0x63C4F7, 0x63C4F7, 0x808080,
                                                            0x8CE1FA, 0x1D9AEF, 0x1D9AEF, 0x1D9AEF, 0x9C430F};
constexpr TStatusStylerButtons StatusStylerLunaButtons = {0xFBFFFF, 0xC0F0FF, 0x6BD8FF, 0xA0E6FC, 0x99CEDB,
                                                          0x77B4F7, 0x459AF9, 0x1982F8, 0x03AEFF, 0x45667B};
constexpr TStatusStylerButtons StatusStylerFlatBlueButtons = {0xFCF0E4, 0xFCF0E4, 0xFCF0E4, 0xFCF0E4, 0xF2D5C2,
                                                              0xFCE2C8, 0xFCE2C8, 0xFCE2C8, 0xFCE2C8, 0xE59D56};

// Indexed by TOfficeStatusBarStyle; the psCustom row and the 2016 and 2019
// rows' fills are not read (those come from the base colour).
constexpr TStatusStylerPreset StatusStylerPresets[] = {
    /* psOffice2003Blue */
    {0xE4AE88,
     {0xE3B28D, 0xFADDC6, 0xE2A982, 0xE2A982, 0xE2A982, 0x000000, 0x000000, 0x000000},
     {SBNone, 0xD38355, 0x9C430F, 0x9C430F, 0x9C430F, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
     StatusStylerOrangeButtons},
    /* psOffice2003Silver */
    {0xB39698,
     {0xB39698, 0xF4EAEA, 0xD9C4C5, 0xD9C4C5, 0xD9C4C5, 0x000000, 0x000000, 0x000000},
     {SBNone, 0xA38A8C, 0x7A5F61, 0x7A5F61, 0x7A5F61, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
     StatusStylerOrangeButtons},
    /* psOffice2003Olive */
    {0x8CC0B1,
     {0x8CC0B1, 0xD5F0EC, 0x9CD3C4, 0x9CD3C4, 0x9CD3C4, 0x000000, 0x000000, 0x000000},
     {SBNone, 0x6CA596, 0x3E7F6E, 0x3E7F6E, 0x3E7F6E, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
     StatusStylerOrangeButtons},
    /* psOffice2003Classic */
    {0xC9D1D5,
     {0xC9D1D5, 0xF4F4F4, 0xE0E4E6, 0xE0E4E6, 0xE0E4E6, 0x000000, 0x000000, 0x000000},
     {SBNone, 0xA8B4BA, 0x808A8F, 0x808A8F, 0x808A8F, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
     {0xE8D2C1, 0xE8D2C1, 0xE8D2C1, 0xE8D2C1, 0x6A240A, 0xD6B8A4, 0xD6B8A4, 0xD6B8A4, 0xD6B8A4, 0x6A240A}},
    /* psOffice2007Luna */
    {0xB07D56,
     {SBNone, 0xF9E6D7, 0xF8DCC7, 0xF5D0B3, 0xF7E0CD, 0x612009, 0x000000, 0x000000},
     {SBNone, 0xF8DCC5, 0xF5B687, 0xEAB690, 0xC29574, 0x612009, 0x612009, 0x612009},
     StatusStylerLunaButtons},
    /* psOffice2007Obsidian */
    {0x414141,
     {SBNone, 0x5E5E5E, 0x4D4D4D, 0x404040, 0x4A4A4A, 0xFFFFFF, 0x000000, 0x000000},
     {SBNone, 0x8C8C8C, 0x6E6E6E, 0x5A5A5A, 0x6E6E6E, 0xFFFFFF, 0x000000, 0x000000},
     StatusStylerLunaButtons},
    /* psWindowsXP */
    {0xC0C0C0,
     {0xC0C0C0, 0xF0F0F0, 0xECE9D8, 0xECE9D8, 0xECE9D8, 0x000000, 0x000000, 0x000000},
     {SBNone, 0xC56A31, 0x9C4A14, 0x9C4A14, 0x9C4A14, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
     {0xEFD3C6, 0xEFD3C6, 0xEFD3C6, 0xEFD3C6, 0xC56A31, 0xE2B598, 0xE2B598, 0xE2B598, 0xE2B598, 0x9C4A14}},
    /* psWhidbey */
    {0xA8C0C0,
     {0xA8C0C0, 0xF5F9FA, 0xDDE6E8, 0xDDE6E8, 0xDDE6E8, 0x000000, 0x000000, 0x000000},
     {SBNone, 0x94A8A8, 0x6B7F7F, 0x6B7F7F, 0x6B7F7F, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
     {0xEED2C1, 0xEED2C1, 0xEED2C1, 0xEED2C1, 0xC56A31, 0xE2B598, 0xE2B598, 0xE2B598, 0xE2B598, 0x6F4B4B}},
    /* psCustom */
    {SBNone, {}, {}, {}},
    /* psOffice2007Silver */
    {0x766A61,
     {SBNone, 0xF8F7F6, 0xEDEAE7, 0xE2DDD9, 0xEEEBE9, 0x4C4C4C, 0x000000, 0x000000},
     {SBNone, 0xDCD6D2, 0xC9C0BA, 0xB6ABA3, 0xCBC4BE, 0x000000, 0x000000, 0x000000},
     StatusStylerLunaButtons},
    /* psWindowsVista */
    {0xFCF2DA,
     {SBNone, 0xFFFFFF, 0xFFFDF9, 0xFFFAF0, 0xFEF9F0, 0x000000, 0x000000, 0x000000},
     {SBNone, 0xFEF9F0, 0xFDF0D7, 0xFBE6C0, 0xFDF0D7, 0x000000, 0x000000, 0x000000},
     {0xFFFDF9, 0xFEF9F0, 0xFDF0D7, 0xFEF9F0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFBE6C0, 0xFDF0D7, 0xFEDF9A}},
    /* psWindows7 */
    {0x919191,
     {SBNone, 0xFDFBFA, 0xFDF3EB, 0xFBEDE2, 0xFDF3EB, 0x000000, 0x000000, 0x000000},
     {SBNone, 0xFCEBDC, 0xFCDBC1, 0xFBD3B5, 0xFCDBC1, 0x000000, 0x000000, 0x000000},
     {0xFDFBFA, 0xFDF3EB, 0xFBEDE2, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xFBD3B5, 0xFCDBC1, 0xCEA27D}},
    /* psTerminal */
    {0x808080,
     {0x808080, 0xC0C0C0, 0xC0C0C0, SBNone, SBNone, 0x000000, 0xFFFFFF, 0xFFFFFF},
     {0x808080, 0x808080, 0x808080, SBNone, SBNone, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
     {0x800000, 0x800000, SBNone, SBNone, 0x000000, 0x000080, 0x000080, SBNone, SBNone, 0x000000}},
    /* psOffice2010Blue */
    {0xA78F79,
     {SBNone, 0xF9EEE4, 0xF9EEE4, SBNone, SBNone, 0x5B391E, 0x000000, 0x000000},
     {SBNone, 0xE8D3C0, 0xE8D3C0, SBNone, SBNone, 0x5B391E, 0x000000, 0x000000},
     {0xD9F9FD, 0x8AE3FD, SBNone, SBNone, 0x58CAF1, 0x6CD0FF, 0x6CD0FF, SBNone, SBNone, 0x308AC2}},
    /* psOffice2010Silver */
    {0xA39A93,
     {SBNone, 0xFAF8F6, 0xFAF8F6, SBNone, SBNone, 0x5D5D5D, 0x000000, 0x000000},
     {SBNone, 0xE5E1DD, 0xE5E1DD, SBNone, SBNone, 0x3B3B3B, 0x000000, 0x000000},
     {0xD9F9FD, 0x8AE3FD, SBNone, SBNone, 0x58CAF1, 0x6CD0FF, 0x6CD0FF, SBNone, SBNone, 0x308AC2}},
    /* psOffice2010Black */
    {0x2C2C2C,
     {SBNone, 0x6D6D6D, 0x6D6D6D, SBNone, SBNone, 0xFFFFFF, 0x000000, 0x000000},
     {SBNone, 0x474747, 0x474747, SBNone, SBNone, 0xFFFFFF, 0x000000, 0x000000},
     {0xD9F9FD, 0x8AE3FD, SBNone, SBNone, 0x58CAF1, 0x6CD0FF, 0x6CD0FF, SBNone, SBNone, 0x308AC2}},
    /* psWindows8 */
    {0xDCDBDA,
     {SBNone, 0xF7F6F5, 0xF7F6F5, SBNone, SBNone, 0x000000, 0x000000, 0x000000},
     {SBNone, 0xE4A262, 0xE4A262, SBNone, SBNone, 0xFFFFFF, 0x000000, 0x000000},
     {0xF7EFE8, 0xF7EFE8, SBNone, SBNone, 0xF9CEA4, 0xF7E0C9, 0xF7E0C9, SBNone, SBNone, 0xE4A262}},
    /* psOffice2013White */
    {0xD4D4D4,
     {SBNone, 0xFFFFFF, 0xFFFFFF, SBNone, SBNone, 0x444444, 0x000000, 0x000000},
     {SBNone, 0xF1F1F1, 0xF1F1F1, SBNone, SBNone, 0x444444, 0x000000, 0x000000},
     StatusStylerFlatBlueButtons},
    /* psOffice2013LightGray */
    {0xC6C6C6,
     {SBNone, 0xF6F6F6, 0xF6F6F6, SBNone, SBNone, 0x444444, 0x000000, 0x000000},
     {SBNone, 0xE5E5E5, 0xE5E5E5, SBNone, SBNone, 0x444444, 0x000000, 0x000000},
     StatusStylerFlatBlueButtons},
    /* psOffice2013Gray */
    {0xABABAB,
     {SBNone, 0xE5E5E5, 0xE5E5E5, SBNone, SBNone, 0x262626, 0x000000, 0x000000},
     {SBNone, 0xC6C6C6, 0xC6C6C6, SBNone, SBNone, 0x262626, 0x000000, 0x000000},
     StatusStylerFlatBlueButtons},
    /* psWindows10 */
    {0xDCDBDA,
     {SBNone, 0xF7F6F5, 0xF7F6F5, SBNone, SBNone, 0x000000, 0x000000, 0x000000},
     {SBNone, 0xE4A262, 0xE4A262, SBNone, SBNone, 0xFFFFFF, 0x000000, 0x000000},
     {0xF7EFE8, 0xF7EFE8, SBNone, SBNone, 0xF9CEA4, 0xF7E0C9, 0xF7E0C9, SBNone, SBNone, 0xE4A262}},
    /* psOffice2016White .. psOffice2019Black: built from the base colour */
    {0xFFFFFF, {}, {}, {}},
    {0x444444, {}, {}, {}},
    {0x444444, {}, {}, {}},
    {0xC4C6C8, {}, {}, {}},
    {0x666666, {}, {}, {}},
    {0xADB0B3, {}, {}, {}},
};

void StatusStylerSetLook(TVistaBackground* a, const TStatusStylerLook& l, const TStatusStylerButtons& b,
                         bool KeepHotText) {
  a->SetBorderColor(l.Border);
  a->SetColor(l.Color);
  a->SetColorTo(l.ColorTo);
  a->SetColorMirror(l.Mirror);
  a->SetColorMirrorTo(l.MirrorTo);
  a->SetTextColor(l.Text);
  if (!KeepHotText) {
    a->SetTextColorHot(l.TextHot);
    a->SetTextColorDown(l.TextDown);
  }
  a->SetColorHot(b.Hot);
  a->SetColorHotTo(b.HotTo);
  a->SetColorMirrorHot(b.MirrorHot);
  a->SetColorMirrorHotTo(b.MirrorHotTo);
  a->SetBorderColorHot(b.BorderHot);
  a->SetColorDown(b.Down);
  a->SetColorDownTo(b.DownTo);
  a->SetColorMirrorDown(b.MirrorDown);
  a->SetColorMirrorDownTo(b.MirrorDownTo);
  a->SetBorderColorDown(b.BorderDown);
}

bool StatusStylerIsNew(TOfficeStatusBarStyle s) { return s >= psOffice2016White && s <= psOffice2019Black; }

}  // namespace

namespace officestatusbar {

TNotifierWindow::TNotifierWindow(TComponent* AOwner) : TComponent(AOwner) {
  FHandle = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TNotifierWindow::~TNotifierWindow() {
  if (FHandle) DeallocateHWnd(FHandle);
}

void TNotifierWindow::WndProc(TMessage& Message) {
  if ((Message.Msg == WM_THEMECHANGED || Message.Msg == WM_OFFICETHEMECHANGED) && OnThemeChange)
    OnThemeChange(this);
  Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

}  // namespace officestatusbar

TAdvOfficeStatusBarOfficeStyler::TAdvOfficeStatusBarOfficeStyler(TComponent* AOwner)
    : TCustomAdvOfficeStatusBarStyler(AOwner) {
  FNotifierWnd = new TNotifierWindow(this);
  FNotifierWnd->OnThemeChange = [this](TObject*) { ThemeChanged(); };
  SetStyle(psOffice2003Blue);
}

TAdvOfficeStatusBarOfficeStyler::~TAdvOfficeStatusBarOfficeStyler() {
  if (FAutoThemeAdapt && FNotifierWnd && FNotifierWnd->Handle())
    if (TThemeNotifier* n = GetThemeNotifier(this)) n->UnRegisterWindow(FNotifierWnd->Handle());
}

void TAdvOfficeStatusBarOfficeStyler::SetComponentStyle(TVornStyle AStyle) {
  SetStyle(TOfficeStatusBarStyle(AStyle));
}

void TAdvOfficeStatusBarOfficeStyler::SetComponentStyleAndAppColor(TVornStyle AStyle, TColor AAppColor) {
  ApplyPreset(TOfficeStatusBarStyle(AStyle), AAppColor);
}

void TAdvOfficeStatusBarOfficeStyler::ApplyPreset(TOfficeStatusBarStyle AStyle, TColor AAppColor) {
  if (Integer(AStyle) > Integer(psOffice2019Black)) return;
  FOfficeStatusBarStyle = AStyle;
  if (AStyle == psCustom) return;
  TVistaBackground* light = FPanelAppearanceLight.get();
  TVistaBackground* dark = FPanelAppearanceDark.get();
  BeginUpdate();
  const TStatusStylerPreset& p = StatusStylerPresets[AStyle];
  SetBorderColor(p.StylerBorder);
  if (StatusStylerIsNew(AStyle)) {
    TColor b = 0xFFFFFF;
    switch (AStyle) {
      case psOffice2016Gray: b = 0xB2B2B2; break;
      case psOffice2016Black: b = 0x363636; break;
      case psOffice2019Gray: b = 0xB8BBBE; break;
      case psOffice2019Black: b = 0x303132; break;
      default: break;
    }
    const TColor a10 = ChangeColorBrightness(AAppColor, -10);
    const bool lightBase = AStyle == psOffice2016White || AStyle == psOffice2019White;
    TColor lightDown, darkDown;
    if (AStyle == psOffice2016White) {
      lightDown = ChangeColorBrightness(AAppColor, 20);
      darkDown = ChangeColorBrightness(0xFFFFFF, 20);
    } else {
      // Our own: the pressed look is the base colour a step darker (lighter on dark bases).
      lightDown = darkDown = ChangeColorBrightness(b, lightBase || b == 0xB2B2B2 || b == 0xB8BBBE ? -20 : 30);
    }
    const TColor hot = AStyle == psOffice2016White ? a10 : ChangeColorBrightness(b, lightBase ? -10 : 20);
    const TColor text = lightBase || b == 0xB2B2B2 || b == 0xB8BBBE ? TColor(0x000000) : TColor(0xFFFFFF);
    const TStatusStylerButtons lb = {hot, hot, hot, hot, hot, lightDown, lightDown, lightDown, lightDown, lightDown};
    const TStatusStylerButtons db = {hot, hot, hot, hot, hot, darkDown, darkDown, darkDown, darkDown, darkDown};
    StatusStylerSetLook(light, {SBNone, b, b, SBNone, SBNone, text, text, text}, lb, false);
    StatusStylerSetLook(dark, {SBNone, b, b, SBNone, SBNone, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, db, false);
    if (AStyle >= psOffice2019White) {
      const TColor sep = ChangeColorBrightness(b, lightBase ? -15 : 25);
      light->SetSeperatorColor(sep);
      dark->SetSeperatorColor(sep);
    }
  } else {
    StatusStylerSetLook(light, p.Light, p.Buttons, AStyle == psOffice2003Silver);
    StatusStylerSetLook(dark, p.Dark, p.Buttons, AStyle == psOffice2003Olive || AStyle == psWhidbey);
  }
  EndUpdate();
}

void TAdvOfficeStatusBarOfficeStyler::ThemeChanged() {
  if (!FAutoThemeAdapt || FComponentState.Contains(csDesigning) || FComponentState.Contains(csLoading)) return;
  const TOfficeTheme t = DetectOfficeTheme();
  if (t == FOldOfficeTheme) return;
  FOfficeStatusBarStyle = psCustom;
  static constexpr TOfficeStatusBarStyle map[] = {
      psOffice2003Blue,   psOffice2003Silver, psOffice2003Olive,    psOffice2003Classic, psOffice2007Luna,
      psOffice2007Silver, psOffice2007Obsidian, psOffice2010Blue,   psOffice2010Silver,  psOffice2010Black,
      psOffice2013White,  psOffice2013LightGray, psOffice2013Gray,  psOffice2016White,   psOffice2016Gray,
      psOffice2016Black,  psOffice2019White,  psOffice2019Gray,     psOffice2019Black};
  if (t != otUnknown && Integer(t) < Integer(std::size(map))) ApplyPreset(map[t], clNone);
  FOldOfficeTheme = t;
}

void TAdvOfficeStatusBarOfficeStyler::SetAutoThemeAdapt(bool Value) {
  if (Value == FAutoThemeAdapt) return;
  TCustomAdvOfficeStatusBarStyler::SetAutoThemeAdapt(Value);
  if (Value) {
    FOldOfficeTheme = otUnknown;
    ThemeChanged();
  }
  if (FComponentState.Contains(csLoading) || !FNotifierWnd->Handle()) return;
  if (TThemeNotifier* n = GetThemeNotifier(this)) {
    if (Value) n->RegisterWindow(FNotifierWnd->Handle());
    else n->UnRegisterWindow(FNotifierWnd->Handle());
  }
}

void TAdvOfficeStatusBarOfficeStyler::Loaded() {
  TCustomAdvOfficeStatusBarStyler::Loaded();
  ThemeChanged();
  if (FAutoThemeAdapt && FNotifierWnd->Handle())
    if (TThemeNotifier* n = GetThemeNotifier(this)) n->RegisterWindow(FNotifierWnd->Handle());
}
