#include "toolbar/ZadEdevAziOfficeStyler.h"

#include <algorithm>

#include "foundation/gdiplus/LookFlags.h"
#include "foundation/style/ThemeDetection.h"
#include "foundation/style/ThemeNotifier.h"
#include "platform/rtl/Math.h"
#include "platform/win/MessageLoop.h"
#include "toolbar/ZadEdevAziPresets.h"

namespace toolbar {

namespace {

using presets::TFlatPreset;
using presets::TGradientPreset;

bool IsOffice2010To2019(TToolBarStyle s) {
  return (s >= bsOffice2010Blue && s <= bsOffice2010Black) || (s >= bsOffice2013White && s <= bsOffice2013Gray) ||
         s >= bsOffice2016White;
}

bool IsOffice2013To2019(TToolBarStyle s) {
  return (s >= bsOffice2013White && s <= bsOffice2013Gray) || s >= bsOffice2016White;
}

// Each colour byte b becomes b + Percent*b/100, rounded half to even, within 0..255.
TColor ScaleColorPercent(TColor Color, Integer Percent) {
  const TColor rgb = ColorToRGB(Color);
  TColor out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const Integer b = (rgb >> shift) & 0xFF;
    const Int64 v = std::clamp<Int64>(Round(b + Percent * b / 100.0), 0, 255);
    out |= TColor(v) << shift;
  }
  return out;
}

void SetGlowState(TGlowButtonAppearance* g, TColor Hot, TColor HotBorder, TColor Down, TColor DownBorder,
                  TColor Checked, TColor CheckedBorder) {
  g->SetColorHot(Hot);
  g->SetColorHotTo(Hot);
  g->SetColorMirrorHot(Hot);
  g->SetColorMirrorHotTo(Hot);
  g->SetBorderColorHot(HotBorder);
  g->SetGradientHot(ggVertical);
  g->SetGradientMirrorHot(ggVertical);
  g->SetColorDown(Down);
  g->SetColorDownTo(Down);
  g->SetColorMirrorDown(Down);
  g->SetColorMirrorDownTo(Down);
  g->SetBorderColorDown(DownBorder);
  g->SetGradientDown(ggVertical);
  g->SetGradientMirrorDown(ggVertical);
  g->SetColorChecked(Checked);
  g->SetColorCheckedTo(Checked);
  g->SetColorMirrorChecked(Checked);
  g->SetColorMirrorCheckedTo(Checked);
  g->SetBorderColorChecked(CheckedBorder);
  g->SetGradientChecked(ggVertical);
  g->SetGradientMirrorChecked(ggVertical);
}

// Ends an update bracket also when a preset step raises.
struct TUpdateScope {
  explicit TUpdateScope(TCustomZadEdevAziStyler& S) : Styler(S) { Styler.BeginUpdate(); }
  ~TUpdateScope() {
    if (!Done) Styler.EndUpdate();
  }
  void End() {
    Done = true;
    Styler.EndUpdate();
  }
  TCustomZadEdevAziStyler& Styler;
  bool Done = false;
};

}  // namespace

TVornStyle VornStyleOfToolBarStyle(TToolBarStyle Style) {
  switch (Style) {
    case bsOffice2003Blue: return tsOffice2003Blue;
    case bsOffice2003Silver: return tsOffice2003Silver;
    case bsOffice2003Olive: return tsOffice2003Olive;
    case bsOffice2003Classic: return tsOffice2003Classic;
    case bsOffice2007Luna: return tsOffice2007Luna;
    case bsOffice2007Obsidian: return tsOffice2007Obsidian;
    case bsWindowsXP:
    case bsOfficeXP: return tsWindowsXP;
    case bsWhidbeyStyle: return tsWhidbey;
    case bsOffice2007Silver: return tsOffice2007Silver;
    case bsWindowsVista: return tsWindowsVista;
    case bsWindows7: return tsWindows7;
    case bsTerminal: return tsTerminal;
    case bsOffice2010Blue: return tsOffice2010Blue;
    case bsOffice2010Silver: return tsOffice2010Silver;
    case bsOffice2010Black: return tsOffice2010Black;
    case bsWindows8: return tsWindows8;
    case bsOffice2013White: return tsOffice2013White;
    case bsOffice2013LightGray: return tsOffice2013LightGray;
    case bsOffice2013Gray: return tsOffice2013Gray;
    case bsWindows10: return tsWindows10;
    case bsOffice2016White: return tsOffice2016White;
    case bsOffice2016Gray: return tsOffice2016Gray;
    case bsOffice2016Black: return tsOffice2016Black;
    case bsOffice2019White: return tsOffice2019White;
    case bsOffice2019Gray: return tsOffice2019Gray;
    case bsOffice2019Black: return tsOffice2019Black;
    default: return tsCustom;
  }
}

// ---------------------------------------------------------------------------
// TNotifierWindow

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

// ---------------------------------------------------------------------------
// TZadEdevAziOfficeStyler

TZadEdevAziOfficeStyler::TZadEdevAziOfficeStyler(TComponent* AOwner) : TCustomZadEdevAziStyler(AOwner) {
  FNotifierWnd = new TNotifierWindow(this);  // owned as a component
  FNotifierWnd->OnThemeChange = [this](TObject*) { ThemeChanged(); };
  // There is no designer here, so the form's style is never pushed at creation.
  FDesignTime = false;
  FToolBarStyle = bsOffice2003Blue;
}

TZadEdevAziOfficeStyler::~TZadEdevAziOfficeStyler() {
  if (FAutoThemeAdapt && FNotifierWnd != nullptr && FNotifierWnd->Handle())
    if (TThemeNotifier* n = GetThemeNotifier(this)) n->UnRegisterWindow(FNotifierWnd->Handle());
  if (FNotifierWnd != nullptr) FNotifierWnd->OnThemeChange = nullptr;
}

void TZadEdevAziOfficeStyler::Loaded() {
  TCustomZadEdevAziStyler::Loaded();
  ThemeChanged();
  if (FAutoThemeAdapt && FNotifierWnd->Handle())
    if (TThemeNotifier* n = GetThemeNotifier(this)) n->RegisterWindow(FNotifierWnd->Handle());
  if (FToolBarStyle >= bsWindows8 && FToolBarStyle <= bsOffice2013Gray) {
    const TToolBarStyle stored = FToolBarStyle;
    FToolBarStyle = bsCustom;
    SetStyle(stored);
  }
}

void TZadEdevAziOfficeStyler::UpdateAppColors() {
  const TToolBarStyle old = FToolBarStyle;
  FToolBarStyle = bsCustom;
  SetStyle(old);
}

void TZadEdevAziOfficeStyler::RefreshStyle() {
  TCustomZadEdevAziStyler::RefreshStyle();
  SetStyle(FToolBarStyle);
}

void TZadEdevAziOfficeStyler::SetComponentStyle(TVornStyle AStyle) { SetComponentStyleAndAppColor(AStyle, clNone); }

void TZadEdevAziOfficeStyler::SetColorTones(const TColorTones& ATones) {
  SetComponentStyleAndAppColor(tsOffice2016White, ATones.Foreground.BrushColor);
}

void TZadEdevAziOfficeStyler::SetComponentStyleAndAppColor(TVornStyle AStyle, TColor AAppColor) {
  if (AAppColor != clNone) {
    FAppColor->SetAppButtonColor(AAppColor);
    const TColor rgb = ColorToRGB(AAppColor);
    const double luma = 0.299 * (rgb & 0xFF) + 0.587 * ((rgb >> 8) & 0xFF) + 0.114 * ((rgb >> 16) & 0xFF);
    const bool light = luma > 186;
    if (AStyle == tsOffice2019White) {
      const TColor hover = ScaleColorPercent(AAppColor, light ? 15 : -15);
      FAppColor->SetAppButtonHoverColor(hover);
      FAppColor->SetSelectedColor(hover);
      FAppColor->SetHoverColor(ScaleColorPercent(AAppColor, light ? -30 : 30));
    } else {
      FAppColor->SetAppButtonHoverColor(ScaleColorPercent(AAppColor, light ? -30 : 30));
    }
  }
  TToolBarStyle mapped;
  if (AStyle <= tsWhidbey || AStyle == tsOffice2007Silver)
    mapped = TToolBarStyle(AStyle);
  else if (AStyle == tsWindowsVista)
    mapped = bsWindowsVista;
  else if (AStyle == tsWindows7)
    mapped = bsWindows7;
  else if (AStyle == tsTerminal)
    mapped = bsTerminal;
  else if (AStyle >= tsOffice2010Blue && AStyle <= tsOffice2019Black)
    mapped = TToolBarStyle(AStyle + 1);
  else
    return;  // tsCustom and values outside the enumeration
  SetStyle(mapped);
}

void TZadEdevAziOfficeStyler::SetAutoThemeAdapt(bool Value) {
  if (FAutoThemeAdapt == Value) return;
  FAutoThemeAdapt = Value;
  if (Value) {
    FOldOfficeTheme = otUnknown;
    ThemeChanged();
  }
  if (FDesignTime || FNotifierWnd == nullptr || !FNotifierWnd->Handle() || ComponentState().Contains(csLoading))
    return;
  if (TThemeNotifier* n = GetThemeNotifier(this)) {
    if (Value)
      n->RegisterWindow(FNotifierWnd->Handle());
    else
      n->UnRegisterWindow(FNotifierWnd->Handle());
  }
}

void TZadEdevAziOfficeStyler::ThemeChanged() {
  if (!FAutoThemeAdapt || FDesignTime || ComponentState().Contains(csLoading)) return;
  const TOfficeTheme theme = DetectOfficeTheme();
  if (theme == FOldOfficeTheme) return;
  FToolBarStyle = bsCustom;
  bool known = true;
  TToolBarStyle style = bsCustom;
  switch (theme) {
    case ot2003Blue: style = bsOffice2003Blue; break;
    case ot2003Silver: style = bsOffice2003Silver; break;
    case ot2003Olive: style = bsOffice2003Olive; break;
    case ot2003Classic: style = bsOffice2003Classic; break;
    case ot2007Blue: style = bsOffice2007Luna; break;
    case ot2007Silver: style = bsOffice2007Silver; break;
    case ot2007Black: style = bsOffice2007Obsidian; break;
    case ot2010Blue: style = bsOffice2010Blue; break;
    case ot2010Silver: style = bsOffice2010Silver; break;
    case ot2010Black: style = bsOffice2010Black; break;
    case ot2013White: style = bsOffice2013White; break;
    case ot2013Silver: style = bsOffice2013LightGray; break;
    case ot2013Gray: style = bsOffice2013Gray; break;
    case ot2016White: style = bsOffice2016White; break;
    case ot2016Gray: style = bsOffice2016Gray; break;
    case ot2016Black: style = bsOffice2016Black; break;
    case ot2019White: style = bsOffice2019White; break;
    case ot2019Gray: style = bsOffice2019Gray; break;
    case ot2019Black: style = bsOffice2019Black; break;
    default: known = false; break;
  }
  if (known) SetStyle(style);
  FOldOfficeTheme = theme;
}

void TZadEdevAziOfficeStyler::SetStyle(TToolBarStyle Value) {
  TUpdateScope update(*this);
  FToolBarStyle = Value;
  const bool inTable = Value <= bsOffice2019Black;
  if (Value != bsCustom) {
    FButtonAppearance->SetCaptionTextColor(0);
    FButtonAppearance->SetCaptionTextColorHot(0);
    FButtonAppearance->SetCaptionTextColorDown(0);
  }
  if (Value != bsCustom && inTable) UpdatePagerStyle(VornStyleOfToolBarStyle(Value));
  if (Value != bsCustom) {
    ApplyCommonPart(Value);
    if (presets::GradientPresetOf(Value, true) != nullptr)
      ApplyGradientPreset(Value);
    else if (presets::FlatPresetOf(Value) != nullptr)
      ApplyFlatPreset(Value);
  }
  // Every preset, the flat ones included, ends with the one repaint that the
  // bracket held back.
  update.End();
  NotifyChange(skGeneral);
}

void TZadEdevAziOfficeStyler::ApplyCommonPart(TToolBarStyle Value) {
  FVornStyle = FNewVornStyle;
  SetSysButtonColor(0);
  FPagerCaption->SetTextColor(0x808080);
  FPagerCaption->SetTextColorExtended(0xFF0000);
  FQatSharpCurve = false;
  const String name = DefaultFontName();
  if (FTabAppearance->SystemFont()) FTabAppearance->Font()->SetName(name);
  if (FPagerCaption->SystemFont()) FPagerCaption->Font()->SetName(name);
  if (FGroupAppearance->SystemFont()) FGroupAppearance->Font()->SetName(name);
  if (FButtonAppearance->SystemFont()) FButtonAppearance->CaptionFont()->SetName(name);
  if (FSystemFont) {
    FFont->SetName(name);
    FCaptionFont->SetName(name);
  }
  FGlowButtonAppearance->SetTranspHover(IsOffice2010To2019(Value));
  FGlowButtonAppearance->SetNoBorderDefault(IsOffice2013To2019(Value));
  FGlowButtonAppearance->SetTextColor(clNone);
  FGlowButtonAppearance->SetSystemFont(true);
  FCompactGlowButtonAppearance->SetSystemFont(true);
  if (IStyledPager* pager = GetFirstPager()) pager->ClearOfficeTones();
  FGlowButtonAppearance->SetTextColorChecked(0);
  FGlowButtonAppearance->SetTextColorHot(0);
  FGlowButtonAppearance->SetTextColorDown(0);
  if (Value == bsOffice2003Blue || Value == bsOffice2003Silver || Value == bsOffice2003Olive ||
      Value == bsWhidbeyStyle) {
    TGlowButtonAppearance* g = FGlowButtonAppearance.get();
    g->SetColorHot(0xEBFDFF);
    g->SetColorHotTo(0xACECFF);
    g->SetColorMirrorHot(0x59DAFF);
    g->SetColorMirrorHotTo(0xA4E9FF);
    g->SetBorderColorHot(0x99CEDB);
    g->SetColorDown(0x76AFF1);
    g->SetColorDownTo(0x4190F3);
    g->SetColorMirrorDown(0x0E72F1);
    g->SetColorMirrorDownTo(0x4C9FFD);
    g->SetBorderColorDown(0x45667B);
    g->SetColorChecked(0xB5DBFB);
    g->SetColorCheckedTo(0x78C7FE);
    g->SetColorMirrorChecked(0x9FEBFD);
    g->SetColorMirrorCheckedTo(0x56B4FE);
    for (auto set : {&TGlowButtonAppearance::SetGradientHot, &TGlowButtonAppearance::SetGradientMirrorHot,
                     &TGlowButtonAppearance::SetGradientDown, &TGlowButtonAppearance::SetGradientMirrorDown,
                     &TGlowButtonAppearance::SetGradientChecked, &TGlowButtonAppearance::SetGradientMirrorChecked})
      (g->*set)(ggVertical);
    FCompactGlowButtonAppearance->Assign(g);
  }
}

void TZadEdevAziOfficeStyler::ApplyGradientPreset(TToolBarStyle Value) {
  IStyledPager* pager = GetFirstPager();
  const TGradientPreset& p = *presets::GradientPresetOf(Value, gdiplus::GetScenicRibbonFlag() || pager == nullptr);
  FVornStyle = FNewVornStyle;
  FColor->SetColor(p.Face);
  FColor->SetColorTo(p.FaceTo);
  FColor->SetDirection(gdVertical);
  FColor->SetSteps(64);
  FDockColor->SetColorTo(p.DockTo);
  FDockColor->SetColor(p.Dock);
  FDockColor->SetDirection(gdHorizontal);
  FDockColor->SetSteps(128);
  SetRightHandleColor(p.RightHandle);
  SetRightHandleColorTo(p.RightHandleTo);
  SetRightHandleColorHot(p.RightHandleHot);
  SetRightHandleColorHotTo(p.RightHandleHotTo);
  SetRightHandleColorDown(p.RightHandleDown);
  SetRightHandleColorDownTo(p.RightHandleDownTo);
  FCaptionAppearance->SetCaptionColor(p.CaptionColor);
  FCaptionAppearance->SetCaptionColorTo(p.CaptionColorTo);
  FCaptionAppearance->SetCaptionBorderColor(p.CaptionBorder);
  TButtonAppearance* b = FButtonAppearance.get();
  b->SetColor(p.Btn);
  b->SetColorTo(p.BtnTo);
  b->SetColorDown(p.BtnDown);
  b->SetColorDownTo(p.BtnDownTo);
  b->SetColorHot(p.BtnHot);
  b->SetColorHotTo(p.BtnHotTo);
  b->SetColorChecked(p.BtnChecked);
  b->SetColorCheckedTo(p.BtnCheckedTo);
  b->SetCaptionTextColor(0);
  b->SetCaptionTextColorHot(0);
  b->SetCaptionTextColorDown(0);
  b->SetCaptionTextColorChecked(0);
  b->SetBorderDownColor(p.BtnBorder);
  b->SetBorderHotColor(p.BtnBorder);
  b->SetBorderCheckedColor(p.BtnBorder);
  SetFloatingWindowBorderColor(p.FloatBorder);
  SetFloatingWindowBorderWidth(p.FloatBorderWidth);
  SetRoundEdges(p.RoundEdges);
  SetDragGripStyle(p.Grip);
  SetBevel(p.Bevel);
  SetUseBevel(p.UseBevel);
  TGlowButtonAppearance* g = FGlowButtonAppearance.get();
  g->SetColor(p.Glow);
  g->SetColorTo(p.GlowTo);
  g->SetColorMirror(p.GlowMirror);
  g->SetColorMirrorTo(p.GlowMirrorTo);
  g->SetBorderColor(p.GlowBorder);
  g->SetGradient(ggVertical);
  g->SetGradientMirror(ggVertical);
  FCompactGlowButtonAppearance->Assign(g);
  if (p.CompactOwn) {
    TGlowButtonAppearance* c = FCompactGlowButtonAppearance.get();
    c->SetColorHot(p.CompactHot);
    c->SetColorHotTo(p.CompactHotTo);
    c->SetColorDown(p.CompactDown);
    c->SetColorDownTo(p.CompactDownTo);
    c->SetColorChecked(p.CompactChecked);
    c->SetColorCheckedTo(p.CompactCheckedTo);
  }
  FCaptionAppearance->SetCaptionColorHot(p.CaptionHot);
  FCaptionAppearance->SetCaptionColorHotTo(p.CaptionHotTo);
  FCaptionAppearance->SetCaptionTextColor(p.CaptionText);
  FCaptionAppearance->SetCaptionTextColorHot(p.CaptionTextHot);
  if (p.HasGroup) {
    ribbon::TGroupAppearance* gr = FGroupAppearance.get();
    gr->SetTextColor(p.GroupText);
    gr->SetColor(p.GroupColor);
    gr->SetColorTo(p.GroupColorTo);
    gr->SetColorMirror(p.GroupMirror);
    gr->SetColorMirrorTo(p.GroupMirrorTo);
    gr->SetGradient(ggVertical);
    gr->SetGradientMirror(ggVertical);
    gr->SetBorderColor(p.GroupBorder);
    ribbon::TCustomTabAppearance* t = gr->TabAppearance();
    t->SetColorHot(p.GTabHot);
    t->SetColorHotTo(p.GTabHotTo);
    t->SetColorMirrorHot(p.GTabMirrorHot);
    t->SetColorMirrorHotTo(p.GTabMirrorHotTo);
    t->SetGradient(ggVertical);
    t->SetGradientMirror(ggVertical);
    t->SetColorSelected(p.GTabSel);
    t->SetColorSelectedTo(p.GTabSelTo);
    t->SetColorMirrorSelected(p.GTabMirrorSel);
    t->SetColorMirrorSelectedTo(p.GTabMirrorSelTo);
    t->SetTextColorSelected(p.GTabTextSel);
    t->SetBorderColorSelected(p.GTabBorderSel);
    t->SetBorderColorSelectedHot(p.GTabBorderSelHot);
    t->SetBorderColorHot(p.GTabBorderHot);
    t->SetBorderColor(p.GTabBorder);
    t->SetTextColor(p.GTabText);
    t->SetTextColorHot(p.GTabTextHot);
    ribbon::TVistaPageBackground* pg = gr->PageAppearance();
    pg->SetColor(p.GPage);
    pg->SetColorTo(p.GPageTo);
    pg->SetBorderColor(p.GPageBorder);
    pg->SetColorMirror(p.GPageMirror);
    pg->SetColorMirrorTo(p.GPageMirrorTo);
    pg->SetGradient(ggVertical);
    pg->SetGradientMirror(ggVertical);
    ribbon::TToolBarAppearance* tb = gr->ToolBarAppearance();
    tb->Color()->SetColor(p.GTbColor);
    tb->Color()->SetColorTo(p.GTbColorTo);
    tb->SetBorderColor(p.GTbBorder);
    tb->ColorHot()->SetColor(p.GTbHot);
    tb->ColorHot()->SetColorTo(p.GTbHotTo);
    tb->SetBorderColorHot(p.GTbBorderHot);
    ribbon::TCaptionAppearance* ca = gr->CaptionAppearance();
    ca->SetCaptionColor(p.GCap);
    ca->SetCaptionColorTo(p.GCapTo);
    ca->SetCaptionColorHot(p.GCapHot);
    ca->SetCaptionColorHotTo(p.GCapHotTo);
    ca->SetCaptionTextColor(p.GCapText);
    ca->SetCaptionTextColorHot(p.GCapTextHot);
  }
  ribbon::TTabAppearance* t = FTabAppearance.get();
  t->BackGround()->SetColor(p.TabBack);
  t->BackGround()->SetColorTo(p.TabBackTo);
  if (p.TabBackVertical) t->BackGround()->SetDirection(gdVertical);
  t->SetBorderColor(p.TabBorder);
  t->SetBorderColorDisabled(p.TabBorderDisabled);
  t->SetBorderColorHot(p.TabBorderHot);
  t->SetBorderColorSelected(p.TabBorderSel);
  t->SetBorderColorSelectedHot(p.TabBorderSelHot);
  t->SetTextColor(p.TabText);
  t->SetTextColorHot(p.TabTextHot);
  t->SetTextColorSelected(p.TabTextSel);
  t->SetTextColorDisabled(p.DisabledTextByWin8 ? (gdiplus::GetWin8Flag() ? 0xC0C0C0 : 0x808080)
                                               : p.TabTextDisabled);
  t->SetColorSelected(p.TabSel);
  t->SetColorSelectedTo(p.TabSelTo);
  t->SetColorMirrorSelected(p.TabMirrorSel);
  t->SetColorMirrorSelectedTo(p.TabMirrorSelTo);
  t->SetColorDisabled(p.TabDisabled);
  t->SetColorDisabledTo(p.TabDisabledTo);
  t->SetColorMirrorDisabled(p.TabMirrorDisabled);
  t->SetColorMirrorDisabledTo(p.TabMirrorDisabledTo);
  t->SetColorHot(p.TabHot);
  t->SetColorHotTo(p.TabHotTo);
  t->SetColorMirrorHot(p.TabMirrorHot);
  t->SetColorMirrorHotTo(p.TabMirrorHotTo);
  for (auto set : {&ribbon::TCustomTabAppearance::SetGradient, &ribbon::TCustomTabAppearance::SetGradientDisabled,
                   &ribbon::TCustomTabAppearance::SetGradientHot,
                   &ribbon::TCustomTabAppearance::SetGradientMirrorDisabled,
                   &ribbon::TCustomTabAppearance::SetGradientMirrorHot,
                   &ribbon::TCustomTabAppearance::SetGradientMirrorSelected,
                   &ribbon::TCustomTabAppearance::SetGradientSelected})
    (t->*set)(ggVertical);
  t->SetShadowColor(p.TabShadow);
  t->SetHighLightColor(p.TabHighLight);
  t->SetHighLightColorSelected(p.TabHighLightSel);
  t->SetHighLightColorSelectedHot(p.TabHighLightSelHot);
  t->SetHighLightColorDown(p.TabHighLightDown);
  t->SetHighLightColorHot(p.TabHighLightHot);
  FColor->Mirror()->SetColor(p.Mirror);
  FColor->Mirror()->SetColorTo(p.MirrorTo);
  FColor->Mirror()->SetColorMirror(p.MirrorMirror);
  FColor->Mirror()->SetColorMirrorTo(p.MirrorMirrorTo);
  SetBorderColor(p.Border);
  FColorHot->SetColor(p.Hot);
  FColorHot->SetColorTo(p.HotTo);
  FColorHot->Mirror()->SetColor(p.HotMirror);
  FColorHot->Mirror()->SetColorTo(p.HotMirrorTo);
  FColorHot->Mirror()->SetColorMirror(p.HotMirrorMirror);
  FColorHot->Mirror()->SetColorMirrorTo(p.HotMirrorMirrorTo);
  FColorHot->SetDirection(gdVertical);
  SetBorderColorHot(p.BorderHot);
  ribbon::TVistaPageBackground* pg = FPageAppearance.get();
  pg->SetBorderColor(p.PageBorder);
  pg->SetColor(p.Page);
  pg->SetColorTo(p.PageTo);
  pg->SetColorMirror(p.PageMirror);
  pg->SetColorMirrorTo(p.PageMirrorTo);
  pg->SetGradient(ggVertical);
  pg->SetGradientMirror(ggVertical);
  pg->SetShadowColor(p.PageShadow);
  pg->SetHighLightColor(p.PageHighLight);
  ribbon::TVistaTextBackground* pc = FPagerCaption.get();
  pc->SetColor(p.PagerCaption);
  pc->SetColorTo(p.PagerCaption);
  pc->SetColorMirror(p.PagerCaption);
  pc->SetColorMirrorTo(p.PagerCaption);
  pc->SetBorderColor(p.PagerCaptionBorder);
  pc->SetGradient(ggVertical);
  pc->SetGradientMirror(ggVertical);
  if (p.PagerFontHeight != 0) pc->Font()->SetHeight(p.PagerFontHeight);
  if (p.SetSysButtonColor) SetSysButtonColor(p.SysButtonColor);
  FQatSharpCurve = p.QatSharpCurve;
  ribbon::TQATAppearance* q = FQATAppearance.get();
  q->SetColor(p.Qat);
  q->SetColorTo(p.QatTo);
  q->SetBorderColor(p.QatBorder);
  q->SetFullSizeColor(p.QatFull);
  q->SetFullSizeColorTo(p.QatFullTo);
  q->SetFullSizeBorderColor(p.QatFullBorder);
  if (p.UpdateQAT && pager != nullptr) pager->UpdateQAT();
}

void TZadEdevAziOfficeStyler::ApplyFlatPreset(TToolBarStyle Value) {
  const TFlatPreset& p = *presets::FlatPresetOf(Value);
  IStyledPager* pager = GetFirstPager();
  FDockColor->SetColorTo(p.Dock);
  FDockColor->SetColor(p.Dock);
  FDockColor->SetDirection(gdHorizontal);
  FDockColor->SetSteps(p.DockSteps);
  FColor->SetColor(p.Face);
  FColor->SetColorTo(p.Face);
  FColor->SetDirection(gdVertical);
  FColor->SetSteps(64);
  SetRightHandleColor(p.RightHandle);
  SetRightHandleColorTo(p.RightHandle);
  SetRightHandleColorHot(p.RightHandleHot);
  SetRightHandleColorHotTo(p.RightHandleHot);
  SetRightHandleColorDown(p.RightHandleDown);
  SetRightHandleColorDownTo(p.RightHandleDown);
  SetBorderColor(p.Border);
  FButtonAppearance->SetBorderColor(clNone);
  FButtonAppearance->SetBorderHotColor(clNone);
  FButtonAppearance->SetBorderDownColor(clNone);
  FButtonAppearance->SetCaptionTextColor(p.ButtonText);
  FButtonAppearance->SetCaptionTextColorHot(p.ButtonText);
  FPagerCaption->SetTextColorExtended(FAppColor->TextColor());
  FPagerCaption->SetTextColor(FAppColor->TextColor());
  FCaptionAppearance->SetCaptionColor(p.Caption);
  FCaptionAppearance->SetCaptionColorTo(p.Caption);
  FCaptionAppearance->SetCaptionColorHot(p.CaptionHot);
  FCaptionAppearance->SetCaptionColorHotTo(p.CaptionHot);
  FCaptionAppearance->SetCaptionTextColor(p.CaptionText);
  FCaptionAppearance->SetCaptionTextColorHot(p.CaptionTextHot);
  SetDragGripStyle(dsNone);
  if (pager != nullptr) {
    TColorTones t;
    GetMetroTones(true, 0xFFFFFF, 0xFF0000, t);
    ribbon::TOfficeTones tones{t, t, t, FAppColor.get()};
    const TColor app = FAppColor->AppButtonColor();
    if (app == 0xFFFFFF || app == clNone) {
      FAppColor->SetAppButtonColor(p.AppButton);
      FAppColor->SetAppButtonHoverColor(p.AppButtonHover);
      FAppColor->SetHoverColor(p.AppHover);
      FAppColor->SetHoverBorderColor(p.AppHoverBorder);
      FAppColor->SetSelectedColor(p.AppSelected);
      FAppColor->SetSelectedBorderColor(p.AppSelectedBorder);
      tones.Buttons.Foreground.BrushColor = tones.Buttons.Foreground.BorderColor = p.ButtonsForeground;
    } else {
      tones.Buttons.Foreground.BrushColor = tones.Buttons.Foreground.BorderColor = FAppColor->HoverColor();
    }
    tones.Buttons.Background = {p.Face, p.Face, p.ToneText};
    tones.Buttons.Hover = {FAppColor->HoverColor(), FAppColor->HoverColor(), p.ToneText};
    tones.Buttons.Selected = {FAppColor->SelectedColor(), FAppColor->SelectedColor(), p.ToneText};
    tones.Buttons.Foreground.TextColor = p.ToneText;
    tones.Pager.Foreground.BrushColor = tones.Pager.Foreground.BorderColor = p.PagerBack;
    tones.Pager.Background.BrushColor = tones.Pager.Background.BorderColor = p.PagerBack;
    tones.Tab.Foreground = {p.TabFace, p.TabBorder, p.ToneText};
    tones.Tab.Hover = {p.TabHover, p.TabHover, FAppColor->AppButtonColor()};
    tones.Tab.Selected = {p.TabSelected, p.TabSelected, p.ToneText};
    tones.Tab.Background = {p.TabFace, p.TabFace, p.ToneText};
    FAppColor->SetHoverBorderColor(FAppColor->HoverColor());
    FAppColor->SetSelectedBorderColor(FAppColor->SelectedColor());
    FAppColor->SetTextColor(p.AppText);
    pager->SetOfficeTones(tones, p.Group);
  } else if (p.SecondSet) {
    FDockColor->SetColor(p.Dock2);
    FDockColor->SetColorTo(p.Dock2);
    FColor->SetColor(p.Face2);
    FColor->SetColorTo(p.Face2);
    SetRightHandleColor(p.RightHandle2);
    SetRightHandleColorTo(p.RightHandle2);
    SetBorderColor(p.Border2);
  }
  SetRoundEdges(false);
  TGlowButtonAppearance* g = FGlowButtonAppearance.get();
  g->SetColor(p.Glow);
  g->SetColorTo(p.Glow);
  g->SetColorMirror(p.Glow);
  g->SetColorMirrorTo(p.Glow);
  g->SetBorderColor(p.Glow);
  g->SetGradient(ggVertical);
  g->SetGradientMirror(ggVertical);
  if (p.GlowFromAppColor)
    SetGlowState(g, FAppColor->HoverColor(), FAppColor->HoverBorderColor(), FAppColor->SelectedColor(),
                 FAppColor->SelectedBorderColor(), FAppColor->SelectedColor(), FAppColor->SelectedBorderColor());
  else
    SetGlowState(g, p.GlowHot, p.GlowHot, p.GlowDown, p.GlowDown, p.GlowChecked, p.GlowChecked);
  g->SetTextColor(p.GlowText);
  g->SetTextColorChecked(p.GlowTextChecked);
  g->SetTextColorHot(p.GlowTextHot);
  g->SetTextColorDown(p.GlowTextDown);
  // Windows 10 draws like Windows 8; only the pagers hear the newer style.
  FVornStyle = Value == bsWindows10 ? tsWindows8 : VornStyleOfToolBarStyle(Value);
  if (pager != nullptr) {
    if (auto* v = pager->PageAppearance()) FPageAppearance->Assign(v);
    if (auto* v = pager->TabAppearance()) FTabAppearance->Assign(v);
    if (auto* v = pager->GroupAppearance()) FGroupAppearance->Assign(v);
    if (auto* v = pager->CaptionAppearance()) FCaptionAppearance->Assign(v);
    if (auto* v = pager->GlowButtonAppearance()) FGlowButtonAppearance->Assign(v);
    if (auto* v = pager->PagerCaption()) FPagerCaption->Assign(v);
    if (auto* v = pager->ContainerAppearance()) FContainerAppearance->Assign(v);
    const TColor page = FPageAppearance->Color();
    FColor->SetColor(page);
    FColor->SetColorTo(clNone);
    FColor->Mirror()->SetColor(page);
    FColor->Mirror()->SetColorTo(clNone);
    FColor->Mirror()->SetColorMirror(page);
    FColor->Mirror()->SetColorMirrorTo(clNone);
    FColorHot->SetColor(page);
    FColorHot->SetColorTo(clNone);
    FColorHot->Mirror()->SetColor(page);
    FColorHot->Mirror()->SetColorTo(clNone);
    FColorHot->Mirror()->SetColorMirror(page);
    FColorHot->Mirror()->SetColorMirrorTo(clNone);
    SetBorderColor(page);
    SetBorderColorHot(page);
    FCaptionAppearance->SetCaptionColor(page);
    FCaptionAppearance->SetCaptionColorTo(clNone);
    FCaptionAppearance->SetCaptionColorHot(page);
    FCaptionAppearance->SetCaptionColorHotTo(page);
    FCaptionAppearance->SetCaptionTextColor(p.CopyBackCaptionText);
    FCaptionAppearance->SetCaptionTextColorHot(p.CopyBackCaptionTextHot);
  }
}

}  // namespace toolbar
