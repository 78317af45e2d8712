// The style presets of the glow button.
#include <array>

#include "controls/AdvGlowButton.h"
#include "platform/rtl/Math.h"

namespace {

// One colour group: the four fills and the border (clNone border: not set).
struct TGlowGroup {
  TColor C, CT, M, MT, B;
};

struct TGlowPreset {
  TGlowGroup N, H, D, C;
  TColor CheckedBorder;  // clNone: not set
  bool Disabled;         // the four disabled fills set
  TGlowGroup X;          // disabled fills and border (B clNone: border not set)
  TColor CheckedHot;     // clNone: not set
  TColor FontColor;      // clNone: not set
  TColor TextColors;     // checked/hot/down text; clNone: not set
  TColor TextChecked;    // clNone: not set (alone, for the flat styles)
  TColor TextDisabled;   // clNone: not set
};

constexpr TColor kNo = clNone;
constexpr TGlowGroup kOffice2003Hot{0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB};
constexpr TGlowGroup kOffice2003Down{0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD, 0x45667B};
constexpr TGlowGroup kOffice2003Checked{0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE, kNo};
constexpr TGlowGroup kNone{kNo, kNo, kNo, kNo, kNo};

TGlowPreset GlowPresetOf(TVornStyle s) {
  auto flat = [](TColor n, TColor nb, TColor h, TColor hb, TColor d, TColor c, TColor cb) {
    return TGlowPreset{{n, n, n, n, nb}, {h, h, h, h, hb}, {d, d, d, d, hb}, {c, c, c, c, kNo}, cb, true,
                       {n, n, n, n, kNo}, kNo, kNo, kNo, kNo, kNo};
  };
  TGlowPreset p{kNone, kOffice2003Hot, kOffice2003Down, kOffice2003Checked, kNo, false, kNone,
                kNo, kNo, kNo, kNo, kNo};
  switch (s) {
    case tsOffice2003Blue: p.N = {0xEEDBC8, 0xF6DDC9, 0xEDD4C0, 0xF7E1D0, 0xE0B99B}; break;
    case tsOffice2003Silver: p.N = {0xE6E9E2, 0xC8B2B3, 0xC8B2B3, 0xE6E9E2, 0x927476}; break;
    case tsOffice2003Olive: p.N = {0xCFF0EA, 0x8CC0B1, 0x8CC0B1, 0xCFF0EA, 0x8CC0B1}; break;
    case tsWhidbey: p.N = {0xF5F9FA, 0xA8C0C0, 0xA8C0C0, 0xF5F9FA, 0x962D00}; break;
    case tsOffice2003Classic: p.N = {0xFFFFFF, 0xC9D1D5, 0xC9D1D5, 0xFFFFFF, 0x808080}; break;
    case tsOffice2007Luna:
      p.N = {0xEEDBC8, 0xF6DDC9, 0xEDD4C0, 0xF7E1D0, 0xE0B99B};
      p.CheckedBorder = 0x45667B;
      break;
    case tsOffice2007Obsidian:
      p.N = {0xDFDED6, 0xE4E2DB, 0xD7D5CE, 0xE7E5E0, 0xC0BCB2};
      p.CheckedBorder = 0x45667B;
      break;
    case tsOffice2007Silver:
      p.N = {0xF9F5F3, 0xEDE5E0, 0xE8DCD6, 0xF4F0EC, 0xCCC4C0};
      p.CheckedBorder = 0x45667B;
      break;
    case tsWindowsXP:
      p = flat(0xFFFFFF, 0x808080, 0xEFD3C6, 0xC66931, 0xB59284, 0xE8E6E1, 0xC66931);
      p.N.CT = 0xE0E0E0;
      p.Disabled = false;
      break;
    case tsWindowsVista:
    case tsWindows7:
      p = flat(0xFDFDFD, 0xB6B6B6, 0xFDF6EA, 0xE5C18B, 0xF8E4C0, 0xF9E9CE, 0xCCA26E);
      p.N.MT = 0xF2F2F2;
      p.Disabled = false;
      break;
    case tsTerminal:
      p = flat(clBtnFace, kNo, 0xF5F0E1, 0xFF0000, 0xF5D8CA, 0xF5D8CA, 0x800000);
      p.Disabled = false;
      break;
    case tsOffice2010Blue:
    case tsOffice2010Silver:
    case tsOffice2010Black:
      p = flat(0xFDF6EF, 0xDAC7B5, 0x8AE3FD, 0x58CAF1, 0x6CD0FF, 0x7BE1FE, 0x308AC2);
      if (s == tsOffice2010Silver) p.N = {0xFFFFFF, 0xFFFFFF, 0xF4F0ED, 0xFFFFFF, 0xCCC4C0};
      if (s == tsOffice2010Black) p.N = {0xBFBFBF, 0xBFBFBF, 0xA5A5A5, 0xBFBFBF, 0x6D6D6D};
      p.Disabled = false;
      break;
    case tsWindows8:
    case tsWindows10:
      p = flat(0xF7F6F5, 0xE4E3E2, 0xF7EFE8, 0xF9CEA4, 0xF7E0C9, 0xF7E0C9, 0xE4A262);
      p.TextChecked = 0x000000;
      break;
    case tsOffice2013White:
    case tsOffice2013LightGray:
    case tsOffice2013Gray:
      p = flat(0xFFFFFF, 0xD4D4D4, 0xFCF0E4, 0xEAB47E, 0xFCE1CB, 0xFCE1CB, 0xE59D56);
      if (s == tsOffice2013LightGray) p.N = {0xF6F6F6, 0xF6F6F6, 0xF6F6F6, 0xF6F6F6, 0xC6C6C6};
      if (s == tsOffice2013Gray) p.N = {0xE5E5E5, 0xE5E5E5, 0xE5E5E5, 0xE5E5E5, 0xABABAB};
      p.X.B = 0xD4D4D4;
      p.TextChecked = 0x000000;
      break;
    case tsOffice2016White:
    case tsOffice2016Gray:
    case tsOffice2016Black:
      p = flat(0xFFFFFF, 0xD4D4D4, 0xF2E1D5, 0xF2E1D5, 0xE3BDA3, 0xF2D5C2, 0xE3BDA3);
      if (s == tsOffice2016Gray) p.N = {0xB2B2B2, 0xB2B2B2, 0xB2B2B2, 0xB2B2B2, 0x444444};
      if (s == tsOffice2016Black) p = flat(0x363636, 0x444444, 0x6A6A6A, 0x6A6A6A, 0x444444, 0x575757, 0x444444);
      p.X.B = 0xD4D4D4;
      if (s != tsOffice2016Black) p.CheckedHot = 0xE3BDA3;
      p.FontColor = s == tsOffice2016Black ? TColor(0xFFFFFF) : TColor(0x505050);
      p.TextColors = s == tsOffice2016Black ? TColor(0xFFFFFF) : TColor(0x505050);
      break;
    case tsOffice2019White:
    case tsOffice2019Gray:
    case tsOffice2019Black:
      p = flat(0xFFFFFF, 0xADB0B3, 0xFAECE3, 0xB0784A, 0xB0784A, 0xD1B9A5, 0xD1B9A5);
      p.D.B = 0xB0784A;
      p.X = {0xFFFFFF, kNo, 0xFFFFFF, kNo, 0xD4D4D4};
      p.CheckedHot = 0xB0784A;
      p.TextColors = 0x232425;
      p.TextChecked = 0x393A3B;
      p.TextDisabled = 0xD4D4D4;
      if (s == tsOffice2019Gray) {
        p.N = {0xE6E6E6, 0xE6E6E6, 0xE6E6E6, 0xE6E6E6, 0x8A8A8A};
        p.FontColor = 0x262626;
      }
      if (s == tsOffice2019Black) {
        p.N = {0x373737, 0x373737, 0x373737, 0x373737, 0x5B5B5B};
        p.H = {0x505050, 0x505050, 0x505050, 0x505050, 0x6A6A6A};
        p.FontColor = 0xFFFFFF;
        p.TextColors = 0xFFFFFF;
        p.TextChecked = 0xFFFFFF;
        p.TextDisabled = 0x6A6A6A;
      }
      break;
    case tsCustom: break;
  }
  return p;
}

}  // namespace

void TAdvCustomGlowButton::SetComponentStyle(TVornStyle AStyle) {
  FUIStyle = AStyle;
  if (AStyle == tsCustom) return;
  TGlowButtonAppearance* a = FAppearance.get();
  if (!ParentFont()) {
    if (!FLoadedFlag && !ComponentState().Contains(csLoading))
      Font()->SetHeight(Integer(Round(GetControlDPIScale(this, nullptr) * -11)));
    Font()->SetColor(clWindowText);
  }
  a->SetTextColorChecked(0x000000);
  a->SetTextColorHot(0x000000);
  a->SetTextColorDown(0x000000);
  a->SetTranspOffice(AStyle == tsOffice2010Blue || AStyle == tsOffice2010Silver || AStyle == tsOffice2010Black ||
                     (AStyle >= tsOffice2013White && AStyle <= tsOffice2019Black && AStyle != tsWindows10));
  FCompStyle = AStyle;
  a->SetBorderColorCheckedHot(clNone);
  SetRounded(AStyle <= tsOffice2010Black);
  a->SetColorDisabled(0xF2F2F2);
  a->SetColorDisabledTo(0xF2F2F2);
  a->SetColorMirrorDisabledTo(0xF2F2F2);
  a->SetColorMirrorDisabled(0xB6B6B6);
  a->SetBorderColorDisabled(0x808080);

  const TGlowPreset p = GlowPresetOf(AStyle);
  auto fills = [](TGlowButtonAppearance* x, const TGlowGroup& g, void (TGlowButtonAppearance::*c)(TColor),
                  void (TGlowButtonAppearance::*ct)(TColor), void (TGlowButtonAppearance::*m)(TColor),
                  void (TGlowButtonAppearance::*mt)(TColor)) {
    (x->*c)(g.C);
    (x->*ct)(g.CT);
    (x->*m)(g.M);
    (x->*mt)(g.MT);
  };
  fills(a, p.N, &TGlowButtonAppearance::SetColor, &TGlowButtonAppearance::SetColorTo,
        &TGlowButtonAppearance::SetColorMirror, &TGlowButtonAppearance::SetColorMirrorTo);
  if (p.N.B != clNone) a->SetBorderColor(p.N.B);
  a->SetGradient(ggVertical);
  a->SetGradientMirror(ggVertical);
  fills(a, p.H, &TGlowButtonAppearance::SetColorHot, &TGlowButtonAppearance::SetColorHotTo,
        &TGlowButtonAppearance::SetColorMirrorHot, &TGlowButtonAppearance::SetColorMirrorHotTo);
  a->SetBorderColorHot(p.H.B);
  fills(a, p.D, &TGlowButtonAppearance::SetColorDown, &TGlowButtonAppearance::SetColorDownTo,
        &TGlowButtonAppearance::SetColorMirrorDown, &TGlowButtonAppearance::SetColorMirrorDownTo);
  a->SetBorderColorDown(p.D.B);
  fills(a, p.C, &TGlowButtonAppearance::SetColorChecked, &TGlowButtonAppearance::SetColorCheckedTo,
        &TGlowButtonAppearance::SetColorMirrorChecked, &TGlowButtonAppearance::SetColorMirrorCheckedTo);
  if (AStyle != tsTerminal)
    for (auto set : {&TGlowButtonAppearance::SetGradientHot, &TGlowButtonAppearance::SetGradientMirrorHot,
                     &TGlowButtonAppearance::SetGradientDown, &TGlowButtonAppearance::SetGradientMirrorDown,
                     &TGlowButtonAppearance::SetGradientChecked, &TGlowButtonAppearance::SetGradientMirrorChecked})
      (a->*set)(ggVertical);
  if (p.CheckedBorder != clNone) a->SetBorderColorChecked(p.CheckedBorder);
  if (p.Disabled) {
    fills(a, p.X, &TGlowButtonAppearance::SetColorDisabled, &TGlowButtonAppearance::SetColorDisabledTo,
          &TGlowButtonAppearance::SetColorMirrorDisabled, &TGlowButtonAppearance::SetColorMirrorDisabledTo);
    if (p.X.B != clNone) a->SetBorderColorDisabled(p.X.B);
  }
  if (p.CheckedHot != clNone) a->SetBorderColorCheckedHot(p.CheckedHot);
  if (p.FontColor != clNone && !ParentFont()) Font()->SetColor(p.FontColor);
  if (p.TextColors != clNone) {
    a->SetTextColorChecked(p.TextColors);
    a->SetTextColorHot(p.TextColors);
    a->SetTextColorDown(p.TextColors);
  }
  if (p.TextChecked != clNone) a->SetTextColorChecked(p.TextChecked);
  if (p.TextDisabled != clNone) a->SetTextColorDisabled(p.TextDisabled);
  Invalidate();
  if (FShortCutHint) {
    FShortCutHint->SetColor(clWhite);
    FShortCutHint->SetColorTo(a->Color());
  }
}
