#include "menus/AdvMenuOfficeStyler.h"

#include "menus/MenuQueries.h"

namespace {

// Which properties a preset sets beyond the core set.
enum class TPresetKind { XP, Office2003, Whidbey, Modern, ModernFont, Gray, Black };

struct TMenuPreset {
  TPresetKind Kind;
  TColor BgColor, BgColorTo, MenuBorder, FontColor;
  TColor RootColor, RootColorTo;
  TGradientDirection RootDir;
  TColor RootSel[4], RootSelBorder, RootSelText;
  TColor RootHover[4], RootHoverBorder, RootHoverText, RootFontColor;
  TColor Sel, SelTo, SelMirror, SelMirrorTo, SelBorder, SelCheck, SelCheckTo, SelRadio, SelRadioTo, SelCheckBorder,
      SelRadioBorder, SelFontColor;
  TColor Icon, IconTo, IconCheck, IconCheckTo, IconCheckBorder, IconRadio, IconRadioTo, IconRadioBorder, IconSeparator;
  TColor Sep, SepTo;
  TColor BtnDown, BtnDownTo, BtnDownBorder, BtnHover, BtnHoverTo, BtnHoverBorder;
};

constexpr TColor N = clNone;
constexpr TColor WT = clWindowText;
constexpr TColor kUnset = clNone;  // for values a preset kind does not set

// A flat look: equal gradient ends everywhere.
constexpr TMenuPreset FlatPreset(TPresetKind Kind, TColor Bg, TColor Border, TColor Bar, TColor Text, TColor Hover,
                                 TColor HoverBorder, TColor Selected, TColor SelectedBorder, TColor Check,
                                 TColor SepColor, TColor ItemText) {
  return TMenuPreset{Kind, Bg, Bg, Border, Text, Bar, Bar, gdVertical,
                     {Selected, Selected, N, N}, SelectedBorder, Text,
                     {Hover, Hover, N, N}, HoverBorder, Text, Text,
                     Hover, Hover, N, N, HoverBorder, Check, Check, Check, Check, Check, Check, ItemText,
                     Bg, Bg, Check, Check, Check, Check, Check, Check, SepColor,
                     SepColor, SepColor,
                     Selected, Selected, SelectedBorder, Hover, Hover, HoverBorder};
}

// A four-colour mirror selection look.
constexpr TMenuPreset MirrorPreset(TColor Bg, TColor Border, TColor Bar, TColor BarTo, TColor BarText,
                                   TColor Sel, TColor SelTo, TColor SelMirror, TColor SelMirrorTo, TColor SelBorder,
                                   TColor Hover, TColor HoverTo, TColor HoverMirror, TColor HoverMirrorTo,
                                   TColor HoverBorder, TColor Icon, TColor IconTo, TColor Check, TColor CheckBorder,
                                   TColor SepColor) {
  return TMenuPreset{TPresetKind::Modern, Bg, Bg, Border, kUnset, Bar, BarTo, gdVertical,
                     {Sel, SelTo, SelMirror, SelMirrorTo}, SelBorder, kUnset,
                     {Hover, HoverTo, HoverMirror, HoverMirrorTo}, HoverBorder, BarText, BarText,
                     Hover, HoverTo, HoverMirror, HoverMirrorTo, HoverBorder, Check, N, Check, N, CheckBorder,
                     CheckBorder, kUnset,
                     Icon, IconTo, Check, N, CheckBorder, Check, N, CheckBorder, SepColor,
                     SepColor, N,
                     Sel, SelMirrorTo, SelBorder, Hover, HoverMirrorTo, HoverBorder};
}

const TMenuPreset& PresetOf(TOfficeStyle Style) {
  using K = TPresetKind;
  // The blue, classic and black looks are the library's published ones; the others follow their names.
  static const TMenuPreset kOffice2003Blue{
      K::Office2003, 0x00F6F6F6, 0x00F6F6F6, 0x00962D00, kUnset, 0x00F5BE9E, 0x00F7CDB2, gdHorizontal,
      {0x00FFEFE3, 0x00E7B593, N, N}, 0x00962D00, kUnset, {0x00CCF4FF, 0x009AD6FF, N, N}, 0x006F4B4B, WT,
      0x00000000, 0x00C2EEFF, N, N, N, 0x00800000, 0x003E80FE, N, 0x003E80FE, N, 0x00800000, 0x00800000, kUnset,
      0x00FFEFE3, 0x00E4AD87, 0x006FC0FF, N, 0x00800000, 0x006FC0FF, N, 0x00800000, kUnset, 0x00CB8C6A, N,
      0x004E91FE, 0x0091D3FF, 0x00800000, 0x00CCF4FF, 0x0091D0FF, 0x00800000};
  static const TMenuPreset kOfficeXP{
      K::XP, clWindow, clWindow, 0x00808080, kUnset, clBtnFace, clBtnFace, gdHorizontal,
      {clBtnFace, N, N, N}, 0x007A868A, kUnset, {0x00EFD3C6, N, N, N}, 0x00C66931, WT,
      0x00000000, 0x00EFD3C6, N, N, N, 0x00C66931, 0x00EFD3C6, N, 0x00EFD3C6, N, 0x00EFD3C6, 0x00EFD3C6, kUnset,
      clBtnFace, N, clBtnFace, N, clBtnFace, clBtnFace, N, clBtnFace, kUnset, 0x007A868A, N,
      0x00B59284, N, 0x00C66931, 0x00EFD3C6, N, 0x00C66931};
  static const TMenuPreset kOffice2019Black{
      K::Black, 0x003B3B3B, 0x003B3B3B, 0x00ADB0B3, 0x00FFFFFF, 0x003B3B3B, 0x003B3B3B, gdVertical,
      {0x00505050, 0x00505050, N, N}, 0x00505050, 0x00FFFFFF, {0x00686868, N, 0x00686868, N}, 0x00B5B5B5,
      0x00FFFFFF, 0x00FFFFFF, 0x00505050, 0x00505050, N, N, 0x00505050, 0x00828282, 0x00828282, 0x00828282,
      0x00828282, 0x00828282, 0x00828282, 0x00FFFFFF, 0x003B3B3B, 0x003B3B3B, 0x005C5E60, 0x005C5E60, 0x005C5E60,
      0x005C5E60, 0x005C5E60, 0x005C5E60, 0x00686868, 0x00686868, 0x00686868,
      0x00828282, 0x00828282, 0x00828282, 0x00686868, 0x00686868, 0x00B5B5B5};
  static const TMenuPreset kOffice2003Silver{
      K::Office2003, 0x00F8F8F8, 0x00F8F8F8, 0x006F4B4B, kUnset, 0x00DACECE, 0x00F3EFEF, gdHorizontal,
      {0x00F6F1F1, 0x00CFBBBB, N, N}, 0x006F4B4B, kUnset, {0x00CCF4FF, 0x009AD6FF, N, N}, 0x006F4B4B, WT,
      0x00000000, 0x00C2EEFF, N, N, N, 0x00080000, 0x003E80FE, N, 0x003E80FE, N, 0x00080000, 0x00080000, kUnset,
      0x00F9F7F7, 0x00C8B2B3, 0x006FC0FF, N, 0x00080000, 0x006FC0FF, N, 0x00080000, kUnset, 0x00A8839F, N,
      0x004E91FE, 0x0091D3FF, 0x00080000, 0x00CCF4FF, 0x0091D0FF, 0x00080000};
  static const TMenuPreset kOffice2003Olive{
      K::Office2003, 0x00F4F4EE, 0x00F4F4EE, 0x00588060, kUnset, 0x0082C0AF, 0x00A3D2C2, gdHorizontal,
      {0x00D5F0EC, 0x0098C9B7, N, N}, 0x00588060, kUnset, {0x00CCF4FF, 0x009AD6FF, N, N}, 0x00385D3F, WT,
      0x00000000, 0x00C2EEFF, N, N, N, 0x00385D3F, 0x003E80FE, N, 0x003E80FE, N, 0x00385D3F, 0x00385D3F, kUnset,
      0x00DEF7F4, 0x0091C6B7, 0x006FC0FF, N, 0x00385D3F, 0x006FC0FF, N, 0x00385D3F, kUnset, 0x00588060, N,
      0x004E91FE, 0x0091D3FF, 0x00385D3F, 0x00CCF4FF, 0x0091D0FF, 0x00385D3F};
  static const TMenuPreset kWhidbey{
      K::Whidbey, 0x00F5F8F9, 0x00F5F8F9, 0x007A868A, kUnset, 0x00D3DCDE, 0x00D3DCDE, gdHorizontal,
      {0x00F2F4F5, 0x00F2F4F5, N, N}, 0x007A868A, WT, {0x00F0D6C7, N, N, N}, 0x00C66931, WT,
      0x00000000, 0x00EED2C1, N, N, N, 0x00C66931, 0x00E2C4B0, N, 0x00E2C4B0, N, 0x00C66931, 0x00C66931, kUnset,
      0x00FAFBFB, 0x00C5D1D4, 0x00E2C4B0, N, 0x00C66931, 0x00E2C4B0, N, 0x00C66931, kUnset, 0x00C5C2B8, N,
      kUnset, kUnset, kUnset, kUnset, kUnset, kUnset};
  static const TMenuPreset kOffice2007Luna = MirrorPreset(
      0x00FAFAFA, 0x00868686, 0x00FFEFE3, 0x00FFD2AF, 0x008B4215, 0x00DDF4FF, 0x00A3E2FF, 0x006ED0FF, 0x0092E6FF,
      0x003E8BC2, 0x00EBFDFF, 0x00ACECFF, 0x0059DAFF, 0x00A4E9FF, 0x0099CEDB, 0x00F5F5F5, 0x00F5F5F5, 0x0085DFFF,
      0x00389CFF, 0x00C5C5C5);
  static const TMenuPreset kOffice2007Obsidian = MirrorPreset(
      0x00FAFAFA, 0x00868686, 0x00535353, 0x00434343, 0x00FFFFFF, 0x00DDF4FF, 0x00A3E2FF, 0x006ED0FF, 0x0092E6FF,
      0x003E8BC2, 0x00EBFDFF, 0x00ACECFF, 0x0059DAFF, 0x00A4E9FF, 0x0099CEDB, 0x00F5F5F5, 0x00F5F5F5, 0x0085DFFF,
      0x00389CFF, 0x00C5C5C5);
  static const TMenuPreset kOffice2007Silver = MirrorPreset(
      0x00FAFAFA, 0x00868686, 0x00F8F7F6, 0x00E8E0DD, 0x005C534C, 0x00DDF4FF, 0x00A3E2FF, 0x006ED0FF, 0x0092E6FF,
      0x003E8BC2, 0x00EBFDFF, 0x00ACECFF, 0x0059DAFF, 0x00A4E9FF, 0x0099CEDB, 0x00F5F5F5, 0x00F5F5F5, 0x0085DFFF,
      0x00389CFF, 0x00C5C5C5);
  static const TMenuPreset kVista = MirrorPreset(
      0x00FDF8F1, 0x00A0A0A0, 0x00FDF8F1, 0x00FCEFD5, 0x00000000, 0x00FEF9F0, 0x00FDF0D7, 0x00FDE6C1, 0x00FCF2E0,
      0x00FCA060, 0x00FFFDF9, 0x00FFFAF0, 0x00FEF1DF, 0x00FEF7EC, 0x00FCCA86, 0x00FBF3E9, 0x00FBF3E9, 0x00FCE6C1,
      0x00FCA060, 0x00D8D0C8);
  static const TMenuPreset kWindows7 = MirrorPreset(
      0x00F5F5F5, 0x00979797, 0x00FCEBDC, 0x00F8DCC2, 0x00000000, 0x00FBEDD3, 0x00FAE9C6, 0x00F7E1B0, 0x00FCEFD2,
      0x00CEA27D, 0x00FDFBFA, 0x00FDF3EB, 0x00FBE9D8, 0x00FDF2E6, 0x00FBD6B8, 0x00F1F1F1, 0x00F1F1F1, 0x00FBE5C6,
      0x00CEA27D, 0x00E0E0E0);
  static const TMenuPreset kTerminal = FlatPreset(K::Modern, 0x00FFFFFF, 0x00808080, clBtnFace, 0x00000000,
                                                  0x00FFFFFF, 0x00000000, 0x00C0C0C0, 0x00000000, 0x00C0C0C0,
                                                  0x00808080, kUnset);
  static const TMenuPreset kOffice2010Blue = MirrorPreset(
      0x00FAFAFA, 0x00C8B2A8, 0x00FDF6EF, 0x00F0DAC7, 0x005B391E, 0x00F5E7DA, 0x00EBD1B9, 0x00E2BD9C, 0x00F0D8C3,
      0x00C29A7A, 0x00D9F9FD, 0x008AE6FE, 0x003FD7FD, 0x00B1F4FE, 0x0055C1F2, 0x00F7F3F0, 0x00F7F3F0, 0x006CD0FF,
      0x0055C1F2, 0x00E2D3C5);
  static const TMenuPreset kOffice2010Silver = MirrorPreset(
      0x00FAFAFA, 0x00CCCAC8, 0x00FFFFFF, 0x00EDE5E0, 0x005D5D5D, 0x00F4F1EF, 0x00E4DCD6, 0x00D7CDC5, 0x00EEE9E5,
      0x00B5ACA3, 0x00D9F9FD, 0x008AE6FE, 0x003FD7FD, 0x00B1F4FE, 0x0055C1F2, 0x00F5F4F3, 0x00F5F4F3, 0x006CD0FF,
      0x0055C1F2, 0x00E0DCD8);
  static const TMenuPreset kOffice2010Black = MirrorPreset(
      0x00FAFAFA, 0x006D6D6D, 0x00BFBFBF, 0x00919191, 0x00000000, 0x00A0A0A0, 0x00818181, 0x006C6C6C, 0x008A8A8A,
      0x00474747, 0x00D9F9FD, 0x008AE6FE, 0x003FD7FD, 0x00B1F4FE, 0x0055C1F2, 0x00F2F2F2, 0x00F2F2F2, 0x006CD0FF,
      0x0055C1F2, 0x00D0D0D0);
  static const TMenuPreset kWindows8 = FlatPreset(K::ModernFont, 0x00FFFFFF, 0x00C5C5C5, 0x00F7F6F5, 0x00000000,
                                                  0x00F7EFE8, 0x00F9CEA4, 0x00F7E0C9, 0x00E4A262, 0x00F7E0C9,
                                                  0x00E6E6E6, 0x00000000);
  static const TMenuPreset kOffice2013White = FlatPreset(K::Modern, 0x00FFFFFF, 0x00D4D4D4, 0x00FFFFFF, 0x00444444,
                                                         0x00FCF0E4, 0x00EAB47E, 0x00FCE2C8, 0x00E59D56, 0x00FCE2C8,
                                                         0x00E1E1E1, kUnset);
  static const TMenuPreset kOffice2013LightGray = FlatPreset(
      K::Modern, 0x00FAFAFA, 0x00C6C6C6, 0x00F3F3F3, 0x00444444, 0x00FCF0E4, 0x00EAB47E, 0x00FCE2C8, 0x00E59D56,
      0x00FCE2C8, 0x00DEDEDE, kUnset);
  static const TMenuPreset kOffice2013Gray = FlatPreset(K::Modern, 0x00F3F3F3, 0x00ABABAB, 0x00E5E5E5, 0x00262626,
                                                        0x00FCF0E4, 0x00EAB47E, 0x00FCE2C8, 0x00E59D56, 0x00FCE2C8,
                                                        0x00C6C6C6, kUnset);
  static const TMenuPreset kWindows10 = FlatPreset(K::ModernFont, 0x00F2F2F2, 0x00CCCCCC, 0x00FFFFFF, 0x00000000,
                                                   0x00F7E6CC, 0x00F7E6CC, 0x00E8CC99, 0x00D77800, 0x00E8CC99,
                                                   0x00D7D7D7, 0x00000000);
  static const TMenuPreset kOffice2016White = FlatPreset(
      K::Modern, 0x00FFFFFF, 0x00D4D4D4, 0x00FFFFFF, 0x00444444, 0x00F2E1D5, 0x00F2E1D5, 0x00E3BDA3, 0x00C67200,
      0x00E3BDA3, 0x00E1E1E1, kUnset);
  static const TMenuPreset kOffice2016Gray = FlatPreset(K::Gray, 0x00F0F0F0, 0x00ABABAB, 0x00444444, 0x00FFFFFF,
                                                        0x00666666, 0x00888888, 0x00262626, 0x00262626, 0x00D4D4D4,
                                                        0x00C6C6C6, kUnset);
  static const TMenuPreset kOffice2016Black = [] {
    TMenuPreset p = FlatPreset(K::Black, 0x00363636, 0x00444444, 0x00262626, 0x00FFFFFF, 0x00505050, 0x00505050,
                               0x00444444, 0x00444444, 0x00666666, 0x00505050, 0x00000000);
    // The black popup keeps a white highlight with black text.
    p.Sel = p.SelTo = 0x00FFFFFF;
    p.SelBorder = 0x00FFFFFF;
    p.SelCheck = p.SelCheckTo = p.SelRadio = p.SelRadioTo = p.SelCheckBorder = p.SelRadioBorder = 0x00D4D4D4;
    return p;
  }();
  static const TMenuPreset kOffice2019White = FlatPreset(
      K::ModernFont, 0x00FFFFFF, 0x00D4D4D4, 0x00FFFFFF, 0x00444444, 0x00F2E1D5, 0x00F2E1D5, 0x00E3BDA3, 0x00C67200,
      0x00E3BDA3, 0x00E1E1E1, 0x00000000);
  static const TMenuPreset kOffice2019Gray = FlatPreset(K::Gray, 0x00F0F0F0, 0x00ABABAB, 0x00666666, 0x00FFFFFF,
                                                        0x00808080, 0x00A0A0A0, 0x00444444, 0x00444444, 0x00D4D4D4,
                                                        0x00C6C6C6, kUnset);
  switch (Style) {
    case osOffice2003Silver: return kOffice2003Silver;
    case osOffice2003Olive: return kOffice2003Olive;
    case osOfficeXP: return kOfficeXP;
    case osOffice2007Luna: return kOffice2007Luna;
    case osOffice2007Obsidian: return kOffice2007Obsidian;
    case osOffice2007Silver: return kOffice2007Silver;
    case osVista: return kVista;
    case osWhidbey: return kWhidbey;
    case osWindows7: return kWindows7;
    case osTerminal: return kTerminal;
    case osOffice2010Blue: return kOffice2010Blue;
    case osOffice2010Silver: return kOffice2010Silver;
    case osOffice2010Black: return kOffice2010Black;
    case osWindows8: return kWindows8;
    case osOffice2013White: return kOffice2013White;
    case osOffice2013LightGray: return kOffice2013LightGray;
    case osOffice2013Gray: return kOffice2013Gray;
    case osWindows10: return kWindows10;
    case osOffice2016White: return kOffice2016White;
    case osOffice2016Gray: return kOffice2016Gray;
    case osOffice2016Black: return kOffice2016Black;
    case osOffice2019White: return kOffice2019White;
    case osOffice2019Gray: return kOffice2019Gray;
    case osOffice2019Black: return kOffice2019Black;
    default: return kOffice2003Blue;
  }
}

// The first windowed control up the owner chain, nullptr when none.
TWinControl* OfficeStylerParentFor(TComponent* AOwner) {
  for (TComponent* c = AOwner; c != nullptr; c = c->Owner())
    if (auto* w = dynamic_cast<TWinControl*>(c)) return w;
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------

TMenuNotifierWindow::TMenuNotifierWindow(TComponent* AOwner) : TWinControl(AOwner) {}

void TMenuNotifierWindow::WndProc(TMessage& Message) {
  if (Message.Msg == WM_THEMECHANGED && OnThemeChange) OnThemeChange(this);
  TWinControl::WndProc(Message);
}

// The layer's desktop counts as Windows 10 with its visual style active, whose
// colour scheme is the default "NormalColor" (the same fixed answer the
// foundation's theme detection gives).
String GetXPColorScheme() { return u"NormalColor"; }

TAdvMenuOfficeStyler::TAdvMenuOfficeStyler(TComponent* AOwner) : TCustomAdvMenuStyler(AOwner) {
  FNotifierWnd = new TMenuNotifierWindow(this);  // owned by the styler as a component
  if (TWinControl* parent = OfficeStylerParentFor(AOwner)) FNotifierWnd->SetParent(parent);
  FNotifierWnd->OnThemeChange = [this](TObject*) { ApplyAutoTheme(); };
  // A parent form may free the window before the styler: the styler hears of it.
  FNotifierWnd->FreeNotification(this);
}

void TAdvMenuOfficeStyler::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomAdvMenuStyler::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent != nullptr && AComponent == FNotifierWnd) FNotifierWnd = nullptr;
}

TAdvMenuOfficeStyler::~TAdvMenuOfficeStyler() {
  if (FNotifierWnd != nullptr) FNotifierWnd->OnThemeChange = nullptr;
}

void TAdvMenuOfficeStyler::Loaded() {
  TCustomAdvMenuStyler::Loaded();
  ApplyAutoTheme();
}

void TAdvMenuOfficeStyler::SetAutoThemeAdapt(bool Value) {
  if (FAutoThemeAdapt == Value) return;
  FAutoThemeAdapt = Value;
  ApplyAutoTheme();
}

void TAdvMenuOfficeStyler::ApplyAutoTheme() {
  if (!FAutoThemeAdapt) return;
  const String scheme = GetXPColorScheme();
  if (scheme == u"NormalColor") SetStyle(osOffice2003Blue);
  else if (scheme == u"HomeStead") SetStyle(osOffice2003Olive);
  else if (scheme == u"Metallic") SetStyle(osOffice2003Silver);
  else SetStyle(osOfficeXP);
}

void TAdvMenuOfficeStyler::SetComponentStyle(TVornStyle AStyle) {
  switch (AStyle) {
    case tsOffice2003Blue: SetStyle(osOffice2003Blue); break;
    case tsOffice2003Silver: SetStyle(osOffice2003Silver); break;
    case tsOffice2003Olive: SetStyle(osOffice2003Olive); break;
    case tsOffice2003Classic:
    case tsWindowsXP: SetStyle(osOfficeXP); break;
    case tsOffice2007Luna: SetStyle(osOffice2007Luna); break;
    case tsOffice2007Obsidian: SetStyle(osOffice2007Obsidian); break;
    case tsWhidbey: SetStyle(osWhidbey); break;
    case tsOffice2007Silver: SetStyle(osOffice2007Silver); break;
    case tsWindowsVista: SetStyle(osVista); break;
    case tsWindows7: SetStyle(osWindows7); break;
    case tsTerminal: SetStyle(osTerminal); break;
    case tsOffice2010Blue: SetStyle(osOffice2010Blue); break;
    case tsOffice2010Silver: SetStyle(osOffice2010Silver); break;
    case tsOffice2010Black: SetStyle(osOffice2010Black); break;
    case tsWindows8: SetStyle(osWindows8); break;
    case tsOffice2013White: SetStyle(osOffice2013White); break;
    case tsOffice2013LightGray: SetStyle(osOffice2013LightGray); break;
    case tsOffice2013Gray: SetStyle(osOffice2013Gray); break;
    case tsWindows10: SetStyle(osWindows10); break;
    case tsOffice2016White: SetStyle(osOffice2016White); break;
    case tsOffice2016Gray: SetStyle(osOffice2016Gray); break;
    case tsOffice2016Black: SetStyle(osOffice2016Black); break;
    case tsOffice2019White: SetStyle(osOffice2019White); break;
    case tsOffice2019Gray: SetStyle(osOffice2019Gray); break;
    case tsOffice2019Black: SetStyle(osOffice2019Black); break;
    default: break;  // tsCustom and values outside the enumeration
  }
}

void TAdvMenuOfficeStyler::SetStyle(TOfficeStyle Value) {
  FStyle = Value;
  FFont->SetColor(clWindowText);
  SetUseSystemFont(true);
  if (Value != osCustom) {
    using K = TPresetKind;
    const TMenuPreset& p = PresetOf(Value);
    const bool modern = p.Kind == K::Modern || p.Kind == K::ModernFont || p.Kind == K::Gray || p.Kind == K::Black;
    FBackground->SetColor(p.BgColor);
    FBackground->SetColorTo(p.BgColorTo);
    FMenuBorderColor = p.MenuBorder;
    if (p.Kind == K::Black) FFont->SetColor(p.FontColor);
    FRootItem->SetColor(p.RootColor);
    FRootItem->SetColorTo(p.RootColorTo);
    if (p.Kind != K::XP && p.Kind != K::Whidbey) FRootItem->SetGradientDirection(p.RootDir);
    FRootItem->SetSelectedColor(0, p.RootSel[0]);
    FRootItem->SetSelectedColor(1, p.RootSel[1]);
    if (p.Kind != K::Whidbey) {
      FRootItem->SetSelectedColor(2, p.RootSel[2]);
      FRootItem->SetSelectedColor(3, p.RootSel[3]);
    }
    FRootItem->SetSelectedBorderColor(p.RootSelBorder);
    if (p.Kind == K::Whidbey || p.Kind == K::Black) FRootItem->SetSelectedTextColor(p.RootSelText);
    for (Integer i = 0; i < 4; ++i) FRootItem->SetHoverColor(i, p.RootHover[i]);
    FRootItem->SetHoverBorderColor(p.RootHoverBorder);
    FRootItem->SetHoverTextColor(p.RootHoverText);
    FRootItem->Font()->SetColor(p.RootFontColor);
    if (p.Kind == K::Gray || p.Kind == K::Black) FRootItem->SetUseSystemFont(false);
    FSelectedItem->SetColor(p.Sel);
    FSelectedItem->SetColorTo(p.SelTo);
    FSelectedItem->SetColorMirror(p.SelMirror);
    FSelectedItem->SetColorMirrorTo(p.SelMirrorTo);
    FSelectedItem->SetBorderColor(p.SelBorder);
    FSelectedItem->SetCheckColor(0, p.SelCheck);
    FSelectedItem->SetCheckColor(1, p.SelCheckTo);
    FSelectedItem->SetRadioColor(0, p.SelRadio);
    FSelectedItem->SetRadioColor(1, p.SelRadioTo);
    FSelectedItem->SetCheckBorder(p.SelCheckBorder);
    FSelectedItem->SetRadioBorder(p.SelRadioBorder);
    if (p.Kind == K::ModernFont || p.Kind == K::Black) FSelectedItem->Font()->SetColor(p.SelFontColor);
    if (p.Kind == K::Black) FSelectedItem->SetUseSystemFont(false);
    FIconBar->SetColor(p.Icon);
    FIconBar->SetColorTo(p.IconTo);
    FIconBar->SetCheckColor(0, p.IconCheck);
    FIconBar->SetCheckColor(1, p.IconCheckTo);
    FIconBar->SetCheckBorder(p.IconCheckBorder);
    FIconBar->SetRadioColor(0, p.IconRadio);
    FIconBar->SetRadioColor(1, p.IconRadioTo);
    FIconBar->SetRadioBorder(p.IconRadioBorder);
    if (modern) FIconBar->SetSeparatorColor(p.IconSeparator);
    FSeparator->SetColor(p.Sep);
    FSeparator->SetColorTo(p.SepTo);
    if (p.Kind != K::Whidbey) {
      FButtonAppearance->SetDownColor(p.BtnDown);
      FButtonAppearance->SetDownColorTo(p.BtnDownTo);
      FButtonAppearance->SetDownBorderColor(p.BtnDownBorder);
      FButtonAppearance->SetHoverColor(p.BtnHover);
      FButtonAppearance->SetHoverColorTo(p.BtnHoverTo);
      FButtonAppearance->SetHoverBorderColor(p.BtnHoverBorder);
    }
    if (p.Kind == K::Black) SetUseSystemFont(false);
  }
  if (IAdvMenu* intf = GetAdvMenuIntf(FMenu)) intf->RedrawMenuBar();
}
