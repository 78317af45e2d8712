// The pager's looks: the styler binding and its change broadcasts, shared
// styles, colour tones, the flat office tones and the flat look itself.
#include "foundation/gdiplus/LookFlags.h"
#include "ribbon/AdvPage.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "ribbon/CaptionLayer.h"
#include "ribbon/ZadEdevAziForm.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

using toolbar::TCustomZadEdevAziStyler;
using toolbar::TZadEdevAzi;
using toolbar::TZadEdevAziOfficeStyler;

namespace {
bool IsFlatOfficeStyle(TVornStyle S) {
  return S == tsOffice2013White || S == tsOffice2013LightGray || S == tsOffice2013Gray || S == tsOffice2016White ||
         S == tsOffice2016Gray || S == tsOffice2016Black || S == tsOffice2019White || S == tsOffice2019Gray ||
         S == tsOffice2019Black;
}
}  // namespace

void TZadEdevAziPager::SetInternalStylerCurrent() { FCurrentToolBarStyler = FInternalToolBarStyler.get(); }

void TZadEdevAziPager::ApplyStylerToPages() {
  for (Integer i = 0; i < AdvPageCount(); ++i) {
    TAdvPage* p = AdvPages(i);
    for (Integer c = 0; c < p->ControlCount(); ++c)
      if (auto* tb = dynamic_cast<TZadEdevAzi*>(p->Controls(c))) tb->SetParentStyler(tb->ParentStyler());
    p->Invalidate();
  }
}

void TZadEdevAziPager::SetToolBarStyler(TCustomZadEdevAziStyler* Value) {
  if (Value == FToolBarStyler && Value != nullptr) return;
  if (FToolBarStyler != nullptr && FToolBarStyler != FInternalToolBarStyler.get())
    FToolBarStyler->RemoveControl(this);
  FToolBarStyler = Value;
  if (Value != nullptr) {
    FCurrentToolBarStyler = Value;
    Value->AddControl(this);
    Value->FreeNotification(this);
  } else {
    SetInternalStylerCurrent();
  }
  const TComponentState st = ComponentState();
  if (!st.Contains(csDestroying) && !st.Contains(csLoading) && !FDestroying) ApplyStylerToPages();
  if (FDestroying) return;
  if (Value != nullptr) {
    Value->UpdatePagerStyle(Value->VornStyle());
    StylerChanged(toolbar::skGeneral);
  } else {
    SetComponentStyle(FVornStyle);
  }
  Invalidate();
}

void TZadEdevAziPager::StylerChanged(Integer Kind) {
  if (FDestroying) return;
  if (Kind == toolbar::skPagerCaption && FPropertiesLoaded) UpdateCaptionButtons(true);
  Invalidate();
  if (TAdvPage* a = ActivePage()) a->Invalidate();
  if (!FItones) RevertMetroLook();
  if (TAdvCustomQuickAccessToolBar* q = QuickAccessToolBarOf(this)) q->StylerChanged(Kind);
}

void TZadEdevAziPager::SetUIStyle(TVornStyle Value) {
  FVornStyle = Value;
  SetComponentStyle(Value);
}

void TZadEdevAziPager::SetComponentStyle(TVornStyle AStyle) {
  SetComponentStyleAndAppColor(AStyle, clNone);
}

void TZadEdevAziPager::SetComponentStyleAndAppColor(TVornStyle AStyle, TColor AAppColor) {
  if (FToolBarStyler != nullptr) return;
  FVornStyle = AStyle;
  if (AStyle == tsCustom) return;
  if (AAppColor == clNone && !IsFlatOfficeStyle(AStyle)) FGroupStyle = gsClassic;
  // One office styler serves every call: a new style re-applies its preset.
  if (!FStyleStyler) FStyleStyler = std::make_unique<TZadEdevAziOfficeStyler>(nullptr);
  auto* office = static_cast<TZadEdevAziOfficeStyler*>(FStyleStyler.get());
  office->AddControl(this);
  if (AAppColor == clNone)
    office->SetComponentStyle(AStyle);
  else
    office->SetComponentStyleAndAppColor(AStyle, AAppColor);
  FCurrentToolBarStyler = office;
  // The page toolbars remember the style; their look comes from the pager.
  for (Integer p = 0; p < AdvPageCount(); ++p)
    for (Integer t = 0; t < AdvPages(p)->ZadEdevAziCount(); ++t)
      if (toolbar::TZadEdevAzi* tb = AdvPages(p)->GetZadEdevAzis(t)) tb->StoreUIStyle(AStyle);
  StylerChanged(toolbar::skPagerCaption);
  StylerChanged(toolbar::skGeneral);
}

void TZadEdevAziPager::UpdateStyle() {
  if (FToolBarStyler == nullptr) {
    SetComponentStyle(FVornStyle);
  } else if (auto* office = dynamic_cast<TZadEdevAziOfficeStyler*>(FToolBarStyler)) {
    office->SetStyle(office->Style());
  }
  if (TAdvPage* a = ActivePage()) a->BringToFront();
}

void TZadEdevAziPager::UpdateAppearance() {
  MakeOwnAppearances();
  if (FCurrentToolBarStyler != nullptr) {
    FPageAppearance->Assign(FCurrentToolBarStyler->PageAppearance());
    FTabAppearance->Assign(FCurrentToolBarStyler->TabAppearance());
  }
}

void TZadEdevAziPager::MakeOwnAppearances() {
  if (!FPageAppearance) FPageAppearance = std::make_unique<TVistaPageBackground>();
  if (!FTabAppearance) FTabAppearance = std::make_unique<TTabAppearance>();
  if (!FGlowButtonAppearance) FGlowButtonAppearance = std::make_unique<TGlowButtonAppearance>();
  if (!FPageGlowButtonAppearance) FPageGlowButtonAppearance = std::make_unique<TGlowButtonAppearance>();
  if (!FToolBarAppearance) FToolBarAppearance = std::make_unique<TToolBarAppearance>();
  if (!FCaptionAppearance) FCaptionAppearance = std::make_unique<TCaptionAppearance>();
  if (!FGroupAppearance) FGroupAppearance = std::make_unique<TGroupAppearance>();
}

bool TZadEdevAziPager::Show3D() const {
  if (FItones) return FShow3D;
  return FCurrentToolBarStyler != nullptr && FCurrentToolBarStyler->Show3D();
}

bool TZadEdevAziPager::ShowShadow() const {
  if (FItones) return FShadow;
  return FCurrentToolBarStyler != nullptr && FCurrentToolBarStyler->ShowShadow();
}

void TZadEdevAziPager::SetMetroLook() {
  if (FMetro) return;
  FOldAeroVista = FIsAeroVista;
  FIsAeroVista = false;
  FMetro = true;
  FItones = true;
  FTabRoundEdges = FShow3D = FShadow = false;
  SetDoubleBuffered(true);
  FUseCaptionLayer = false;
  if (FCaptionLayer != nullptr) FCaptionLayer->SetVisible(false);
  TControlStyle cs = ControlStyle();
  cs.Exclude(csParentBackground);
  SetControlStyle(cs);
}

void TZadEdevAziPager::RevertMetroLook() {
  if (!FMetro) return;
  FIsAeroVista = FOldAeroVista;
  FUseCaptionLayer = true;
  FItones = false;
  FMetro = false;
  FTabRoundEdges = FShow3D = FShadow = true;
  SetDoubleBuffered(true);
  if (FIsAeroVista) {
    TControlStyle cs = ControlStyle();
    cs.Include(csParentBackground);
    SetControlStyle(cs);
  }
  // The form leaves the flat look with its ribbon.
  if (auto* form = dynamic_cast<TZadEdevAziForm*>(Parent())) form->RevertColorTones();
  SendToAppButton(toolbar::WM_TBSETMETRO, 0, 0);
  UpdatePagesBounds();
  Invalidate();
}

void TZadEdevAziPager::SetColorTones(const TColorTones& T) {
  if (FItonesBeingSet || ComponentState().Contains(csLoading)) return;
  // A form still holding tones from its loading passes them on itself.
  if (auto* form = dynamic_cast<TZadEdevAziForm*>(Parent()); form != nullptr && form->ColorTonesDeferred()) return;
  FItonesBeingSet = true;
  SetMetroLook();
  MakeOwnAppearances();
  TVistaBackground* pa = FPageAppearance.get();
  pa->SetColor(T.Background.BrushColor);
  pa->SetBorderColor(T.Foreground.BorderColor);
  pa->SetColorTo(clNone);
  pa->SetColorMirror(clNone);
  pa->SetColorMirrorTo(clNone);
  SetColor(T.Background.BrushColor);
  FCaptionAppearance->SetCaptionColor(T.Background.BrushColor);
  FCaptionAppearance->SetCaptionTextColor(T.Background.TextColor);
  TTabAppearance* ta = FTabAppearance.get();
  ta->ClearValues();
  ta->BackGround()->SetColor(T.Selected.BrushColor);
  ta->BackGround()->SetColorTo(clNone);
  ta->SetColor(T.Selected.BrushColor);
  ta->SetTextColor(T.Background.TextColor);
  ta->SetColorSelected(T.Background.BrushColor);
  ta->SetBorderColorSelected(T.Background.BrushColor);
  ta->SetTextColorSelected(T.Background.TextColor);
  ta->SetColorHot(T.Hover.BrushColor);
  ta->SetBorderColorHot(T.Hover.BorderColor);
  ta->SetTextColorHot(T.Hover.TextColor);
  ta->SetColorDisabled(T.Disabled.BrushColor);
  ta->SetBorderColorDisabled(T.Disabled.BorderColor);
  ta->SetTextColorDisabled(T.Disabled.TextColor);
  ta->SetBorderColorSelectedHot(ta->BorderColorSelected());
  TToolBarAppearance* tb = FToolBarAppearance.get();
  tb->Color()->SetColor(T.Background.BrushColor);
  tb->Color()->SetColorTo(clNone);
  tb->ColorHot()->SetColor(clNone);
  tb->ColorHot()->SetColorTo(clNone);
  tb->SetBorderColor(T.Foreground.BorderColor);
  FToolBarCaptionTextColor = T.Background.TextColor;
  TGlowButtonAppearance* g = FGlowButtonAppearance.get();
  ClearGlowAppearance(g);
  g->SetColor(T.Background.BrushColor);
  g->SetColorTo(clNone);
  g->SetBorderColor(clNone);
  g->SetColorMirror(T.Background.BrushColor);
  g->SetColorMirrorTo(clNone);
  g->SetColorHot(T.Hover.BrushColor);
  g->SetColorHotTo(clNone);
  g->SetColorMirrorHot(T.Hover.BrushColor);
  g->SetColorMirrorHotTo(clNone);
  g->SetBorderColorHot(T.Hover.BorderColor);
  g->SetTextColorHot(T.Hover.TextColor);
  g->SetTextColorDown(T.Selected.TextColor);
  g->SetColorDown(T.Selected.BrushColor);
  g->SetColorDownTo(clNone);
  g->SetColorMirrorDown(T.Selected.BrushColor);
  g->SetColorMirrorDownTo(clNone);
  g->SetBorderColorDown(T.Selected.BorderColor);
  ClearGlowAppearance(FPageGlowButtonAppearance.get());
  FPageGlowButtonAppearance->Assign(g);
  TGroupAppearance* ga = FGroupAppearance.get();
  ga->SetColor(T.Selected.BrushColor);
  ga->SetColorTo(clNone);
  ga->SetColorMirror(clNone);
  ga->SetColorMirrorTo(clNone);
  ga->SetTextColor(T.Selected.TextColor);
  ga->ToolBarAppearance()->Color()->SetColor(T.Selected.BrushColor);
  ga->ToolBarAppearance()->Color()->SetColorTo(clNone);
  ga->ToolBarAppearance()->ColorHot()->SetColor(T.Hover.BrushColor);
  ga->ToolBarAppearance()->ColorHot()->SetColorTo(clNone);
  ga->ToolBarAppearance()->SetBorderColor(T.Selected.BorderColor);
  ga->ToolBarAppearance()->SetBorderColorHot(T.Hover.BorderColor);
  TCaptionAppearance* gc = ga->CaptionAppearance();
  gc->SetCaptionColor(T.Background.BrushColor);
  gc->SetCaptionColorTo(clNone);
  gc->SetCaptionColorHot(T.Hover.BrushColor);
  gc->SetCaptionColorHotTo(clNone);
  gc->SetCaptionBorderColor(T.Background.BorderColor);
  gc->SetCaptionBorderColorHot(T.Hover.BorderColor);
  TVistaPageBackground* gp = ga->PageAppearance();
  gp->SetColor(T.Background.BrushColor);
  gp->SetColorTo(clNone);
  gp->SetColorMirror(T.Background.BrushColor);
  gp->SetColorMirrorTo(clNone);
  gp->SetBorderColor(T.Background.BorderColor);
  gp->SetShadowColor(clNone);
  gp->SetHighLightColor(T.Hover.BrushColor);
  // The styler is shared with other controls: its button caption colour is
  // left alone; toolbars on the pages read the pager's own caption colour.
  UpdatePagesBounds();
  for (Integer i = 0; i < AdvPageCount(); ++i) AdvPages(i)->ApplyPagerTonesToToolBars();
  if (TAdvCustomQuickAccessToolBar* q = QuickAccessToolBarOf(this)) {
    q->SetColor(T.Background.BrushColor);
    q->ApplyColorTones(T);
    q->UpdateLayout();
    q->UpdateAppIcon();
  }
  SendToAppButton(toolbar::WM_TBSETMETRO, 1, 0);
  Invalidate();
  if (TAdvPage* a = ActivePage()) a->Invalidate();
  RestyleOwnButtons();
  FItonesBeingSet = false;
}

void TZadEdevAziPager::SetOfficeTones(const TOfficeTones& O, TGroupStyle G) {
  if (FItonesBeingSet) return;
  FItonesBeingSet = true;
  const TColorTones& B = O.Buttons;
  const TColorTones& Tb = O.Tab;
  const TColorTones& P = O.Pager;
  TAppColor defaults;
  const TAppColor* A = O.App != nullptr ? O.App : &defaults;
  FOffice2013 = true;
  const bool remeasure = (G == gsOffice2019 || FGroupStyle == gsOffice2019) && G != FGroupStyle;
  FGroupStyle = G;
  if (G != gsOffice2013 && G != gsOffice2019) {
    RevertMetroLook();
    FItones = true;
    FWin7ScenicRibbon = true;
    FShow3D = FShadow = false;
    SetDoubleBuffered(true);
  } else {
    FMetro = false;
    SetMetroLook();
  }
  MakeOwnAppearances();
  const bool o19 = G == gsOffice2019;
  TVistaBackground* pa = FPageAppearance.get();
  if (o19) {
    for (auto set : {&TVistaBackground::SetColor, &TVistaBackground::SetColorTo, &TVistaBackground::SetColorMirror,
                     &TVistaBackground::SetColorMirrorTo})
      (pa->*set)(P.Foreground.BrushColor);
    pa->SetBorderColor(P.Foreground.BorderColor);
    SetColor(B.Foreground.BrushColor);
  } else {
    pa->SetColor(Tb.Background.BrushColor);
    pa->SetBorderColor(B.Foreground.BorderColor);
    pa->SetColorTo(clNone);
    pa->SetColorMirror(clNone);
    pa->SetColorMirrorTo(clNone);
    SetColor(B.Background.BrushColor);
  }
  FCaptionAppearance->SetCaptionColor(P.Background.BrushColor);
  if (o19) {
    FCaptionAppearance->SetCaptionTextColor(A->TextColor());
    FCaptionAppearance->SetCaptionBorderColor(A->AppButtonColor());
  } else {
    FCaptionAppearance->SetCaptionTextColor(P.Background.TextColor);
  }
  TTabAppearance* ta = FTabAppearance.get();
  ta->ClearValues();
  if (o19) {
    ta->BackGround()->SetColor(P.Foreground.BrushColor);
    ta->BackGround()->SetColorTo(P.Foreground.BrushColor);
    ta->SetColor(P.Foreground.BrushColor);
    ta->SetTextColor(Tb.Background.TextColor);
    ta->SetColorSelected(Tb.Selected.BrushColor);
    ta->SetBorderColorSelected(Tb.Selected.BorderColor);
    ta->SetColorHot(Tb.Hover.BrushColor);
    ta->SetColorHotTo(clNone);
    ta->SetBorderColorHot(Tb.Hover.BorderColor);
    ta->SetTextColorHot(Tb.Hover.TextColor);
    ta->SetTextColorSelected(Tb.Selected.TextColor);
  } else {
    ta->BackGround()->SetColor(P.Background.BrushColor);
    ta->BackGround()->SetColorTo(clNone);
    ta->SetColor(P.Background.BrushColor);
    ta->SetTextColor(Tb.Background.TextColor);
    ta->SetColorSelected(Tb.Background.BrushColor);
    ta->SetBorderColorSelected(Tb.Selected.BorderColor);
    ta->SetColorHot(Tb.Hover.BrushColor);
    ta->SetColorHotTo(clNone);
    ta->SetBorderColorHot(Tb.Hover.BorderColor);
    ta->SetTextColorHot(G == gsOffice2013 ? A->AppButtonColor() : Tb.Hover.TextColor);
    ta->SetTextColorSelected(G == gsOffice2016 ? Tb.Selected.TextColor : ta->TextColorHot());
  }
  ta->SetColorDisabled(Tb.Disabled.BrushColor);
  ta->SetBorderColorDisabled(Tb.Disabled.BorderColor);
  ta->SetTextColorDisabled(Tb.Disabled.TextColor);
  ta->SetBorderColorSelectedHot(ta->BorderColorSelected());
  TToolBarAppearance* tb = FToolBarAppearance.get();
  if (o19) {
    tb->Color()->SetColor(Tb.Foreground.BrushColor);
    tb->Color()->SetColorTo(Tb.Foreground.BrushColor);
    tb->ColorHot()->SetColor(Tb.Foreground.BrushColor);
    tb->ColorHot()->SetColorTo(Tb.Foreground.BrushColor);
    tb->SetBorderColor(Tb.Foreground.BorderColor);
    FToolBarCaptionTextColor = Tb.Foreground.TextColor;
  } else {
    tb->Color()->SetColor(Tb.Background.BrushColor);
    tb->Color()->SetColorTo(clNone);
    tb->ColorHot()->SetColor(clNone);
    tb->ColorHot()->SetColorTo(clNone);
    tb->SetBorderColor(B.Foreground.BorderColor);
    FToolBarCaptionTextColor = 0x808080;
  }
  TGlowButtonAppearance* g = FGlowButtonAppearance.get();
  ClearGlowAppearance(g);
  if (o19) {
    g->SetColor(B.Background.BrushColor);
    g->SetColorTo(B.Background.BrushColor);
    g->SetColorMirror(B.Background.BrushColor);
    g->SetColorMirrorTo(B.Background.BrushColor);
    g->SetBorderColor(B.Background.BorderColor);
    g->SetTextColor(B.Background.TextColor);
    g->SetColorHot(B.Hover.BrushColor);
    g->SetColorHotTo(B.Hover.BrushColor);
    g->SetColorMirrorHot(B.Hover.BrushColor);
    g->SetColorMirrorHotTo(B.Hover.BrushColor);
    g->SetBorderColorHot(B.Hover.BorderColor);
    g->SetTextColorHot(B.Hover.TextColor);
    g->SetColorDown(B.Selected.BrushColor);
    g->SetColorDownTo(B.Selected.BrushColor);
    g->SetColorMirrorDown(B.Selected.BrushColor);
    g->SetColorMirrorDownTo(B.Selected.BrushColor);
    g->SetBorderColorDown(B.Selected.BorderColor);
    g->SetTextColorDown(B.Selected.TextColor);
    g->SetColorChecked(B.Foreground.BrushColor);
    g->SetColorCheckedTo(B.Foreground.BrushColor);
    g->SetColorMirrorChecked(B.Foreground.BrushColor);
    g->SetColorMirrorCheckedTo(B.Foreground.BrushColor);
    g->SetBorderColorChecked(B.Foreground.BorderColor);
    g->SetTextColorChecked(B.Foreground.TextColor);
  } else {
    g->SetColor(Tb.Background.BrushColor);
    g->SetTextColor(B.Background.TextColor);
    g->SetBorderColor(Tb.Background.BrushColor);
    g->SetColorHot(A->HoverColor());
    g->SetBorderColorHot(A->HoverBorderColor());
    g->SetTextColorHot(A->HoverTextColor());
    g->SetTextColorDown(A->SelectedTextColor());
    g->SetColorDown(A->SelectedColor());
    g->SetBorderColorDown(A->SelectedBorderColor());
    g->SetColorChecked(A->SelectedColor());
    g->SetColorDisabled(Tb.Disabled.BrushColor);
    g->SetBorderColorChecked(A->SelectedBorderColor());
  }
  ClearGlowAppearance(FPageGlowButtonAppearance.get());
  FPageGlowButtonAppearance->Assign(g);
  FTabRoundEdges = false;
  UpdatePagesBounds();
  TColorTones& gt = toolbar::GlobalColorTones;
  if (G == gsOffice2013 || G == gsOffice2016) {
    gt.Background.BrushColor = gt.Background.BorderColor = Tb.Background.BrushColor;
    gt.Background.TextColor = B.Background.TextColor;
    gt.Hover = {A->HoverColor(), A->HoverBorderColor(), A->HoverTextColor()};
    gt.Selected = {A->SelectedColor(), A->SelectedBorderColor(), A->SelectedTextColor()};
  } else if (o19) {
    gt.Background.BrushColor = gt.Background.BorderColor = B.Background.BrushColor;
    gt.Background.TextColor = B.Background.TextColor;
    gt.Hover = B.Hover;
    gt.Selected.BrushColor = gt.Selected.BorderColor = B.Selected.BrushColor;
    gt.Selected.TextColor = B.Selected.TextColor;
  }
  for (Integer i = 0; i < AdvPageCount(); ++i) AdvPages(i)->ApplyPagerTonesToToolBars();
  TColorTones& at = toolbar::GlobalAppButtonTones;
  at.Background.BrushColor = A->AppButtonColor();
  at.Background.TextColor = A->TextColor();
  at.Hover.BrushColor = A->AppButtonHoverColor();
  at.Hover.BorderColor = A->HoverBorderColor();
  at.Selected.BrushColor = A->AppButtonColor();
  at.Selected.TextColor = A->SelectedTextColor();
  at.Selected.BorderColor = A->SelectedBorderColor();
  if (TAdvCustomQuickAccessToolBar* q = QuickAccessToolBarOf(this)) {
    // The buttons' tones with the application colours for hover and press.
    TColorTones X = B;
    X.Hover = TColorTone{A->HoverColor(), A->HoverBorderColor(), A->HoverTextColor()};
    X.Selected = TColorTone{A->SelectedColor(), A->SelectedBorderColor(), A->SelectedTextColor()};
    q->SetColor(P.Background.BrushColor);
    q->ApplyColorTones(X);
    q->UpdateLayout();
    q->UpdateAppIcon();
  }
  SendToAppButton(toolbar::WM_TBSETOFFICE2013, 1, 0);
  if (TAdvPage* a = ActivePage()) a->Invalidate();
  if (remeasure) {
    ResetTabMetrics();
    TabsLayout();
  }
  Invalidate();
  RestyleOwnButtons();
  FItonesBeingSet = false;
}

void TZadEdevAziPager::ClearOfficeTones() {
  const bool was2019 = FGroupStyle == gsOffice2019;
  FOffice2013 = false;
  FGroupStyle = gsClassic;
  FItones = false;
  SendToAppButton(toolbar::WM_TBSETOFFICE2013, 0, 0);
  // Without the tones the flat look has nothing to draw with: back to the styler's look.
  RevertMetroLook();
  if (was2019) {
    ResetTabMetrics();
    TabsLayout();
  }
  RestyleOwnButtons();
}

}  // namespace ribbon
