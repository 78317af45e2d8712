// The pager's own glow buttons: the form's caption buttons on a caption not
// drawn on glass, the maximized MDI child's buttons after the tab row, the
// help button, their hints, clicks and pictures; the caption's hit test.
#include <algorithm>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Bitmap.h"
#include "ribbon/AdvPage.h"
#include "ribbon/ZadEdevAziForm.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/ToolBarFaces.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

namespace {

const TRect NoButtonRect{-1, -1, -1, -1};

// The one pager whose MDI buttons follow its MDI frame.
TZadEdevAziPager*& MDIPagerRef() {
  static TZadEdevAziPager* p = nullptr;
  return p;
}

constexpr TColor MaskColor = 0x00FF00FF;

// A picture of W x H holding Draw's glyph on the mask colour, which shows
// as transparent.
void DrawIntoPicture(TGDIPPicture* Picture, Integer W, Integer H, const std::function<void(TCanvas*, const TRect&)>& Draw) {
  TBitmap bmp;
  bmp.SetSize(std::max<Integer>(W - 2, 1), std::max<Integer>(H - 2, 1));
  bmp.SetTransparent(true);
  bmp.SetTransparentColor(MaskColor);
  TCanvas* c = bmp.Canvas();
  const TRect r{0, 0, W, H};
  c->Brush()->SetColor(MaskColor);
  c->Pen()->SetColor(MaskColor);
  c->FillRect(r);
  Draw(c, r);
  TMemoryStream ms;
  bmp.SaveToStream(&ms);
  ms.SetPosition(0);
  Picture->LoadFromStream(&ms);
  Picture->SetTransparentBitmap(true);
}

// The close button's red hover and press colours.
void ColorCloseButtonRed(TGlowButtonAppearance* A, TGroupStyle Style) {
  if (Style == gsOffice2019) {
    for (auto set : {&TGlowButtonAppearance::SetColorHot, &TGlowButtonAppearance::SetColorHotTo,
                     &TGlowButtonAppearance::SetBorderColorHot, &TGlowButtonAppearance::SetColorMirrorHot,
                     &TGlowButtonAppearance::SetColorMirrorHotTo})
      (A->*set)(0x002311E8);
    A->SetTextColorHot(0x00FFFFFF);
    for (auto set : {&TGlowButtonAppearance::SetColorDown, &TGlowButtonAppearance::SetColorDownTo,
                     &TGlowButtonAppearance::SetColorMirrorDown, &TGlowButtonAppearance::SetColorMirrorDownTo,
                     &TGlowButtonAppearance::SetBorderColorDown})
      (A->*set)(0x007A70F1);
    return;
  }
  A->SetColorHot(0x008384FF);
  A->SetColorHotTo(0x008384FF);
  A->SetColorMirrorHot(0x007373F1);
  A->SetColorMirrorHotTo(0x006261E3);
  A->SetBorderColorHot(0x003D3D9B);
  for (auto set : {&TGlowButtonAppearance::SetColorDown, &TGlowButtonAppearance::SetColorDownTo,
                   &TGlowButtonAppearance::SetColorMirrorDown, &TGlowButtonAppearance::SetColorMirrorDownTo})
    (A->*set)(0x006666FF);
  A->SetBorderColorDown(0x00363689);
}

void SetButtonHint(TAdvGlowButton* B, const String& Text) {
  if (B == nullptr) return;
  B->SetHint(Text);
  B->SetShowHint(!Text.empty());
}

}  // namespace

TZadEdevAziPager* TZadEdevAziPager::MDIPager() { return MDIPagerRef(); }

TPagerButtonLook TZadEdevAziPager::ButtonLook() const {
  return TPagerButtonLook{toolbar::ToolBarDPIScale, FItones, FWin7ScenicRibbon, FGroupStyle};
}

// ---------------------------------------------------------------------------
// Common steps

TAdvGlowButton* TZadEdevAziPager::MakeGlowButton(TNotifyEvent Click, const String& Hint) {
  auto* b = new TAdvGlowButton(this);
  b->SetParent(this);
  b->SetCaption(u"");
  b->SetTransparent(true);
  b->OnClick = std::move(Click);
  SetButtonHint(b, Hint);
  return b;
}

void TZadEdevAziPager::StyleButton(TAdvGlowButton* B) {
  if (B == nullptr) return;
  if (FItones && FGlowButtonAppearance) {
    B->Appearance()->Assign(FGlowButtonAppearance.get());
    B->SetRounded(false);
    B->Font()->SetName(GetDefaultFontName());
  } else if (FCurrentToolBarStyler != nullptr) {
    B->Appearance()->Assign(FCurrentToolBarStyler->GlowButtonAppearance());
  }
}

void TZadEdevAziPager::FreeCaptionButton(TAdvGlowButton*& B) {
  TAdvGlowButton* b = B;
  B = nullptr;
  delete b;
}

void TZadEdevAziPager::HintsChanged(TObject*) {
  const TPagerHints& h = *FHints;
  SetButtonHint(FMDICloseBtn, h.MDICloseBtnHint());
  SetButtonHint(FMDIMinBtn, h.MDIMinimizeBtnHint());
  SetButtonHint(FMDIMaxBtn, h.MDIMaximizeBtnHint());
  SetButtonHint(FCaptionCloseBtn, h.MDICloseBtnHint());
  SetButtonHint(FCaptionMinBtn, h.MDIMinimizeBtnHint());
  SetButtonHint(FCaptionMaxBtn, h.MDIMaximizeBtnHint());
  SetButtonHint(FHelpBtn, h.HelpBtnHint());
}

void TZadEdevAziPager::RestyleOwnButtons() {
  if (!FPropertiesLoaded || FDestroying) return;
  UpdateCaptionButtons(true);
  UpdateMDIButtons(true);
  UpdateHelpButton();
  UpdateTabScroller();
}

// ---------------------------------------------------------------------------
// Caption buttons

void TZadEdevAziPager::UpdateCaptionButtons(bool RebuildPictures) {
  if (FDestroying) return;
  if (!FCaption->Visible() || FCaptionButtons.Empty()) {
    if (FCaptionCloseBtn != nullptr || FCaptionMinBtn != nullptr || FCaptionMaxBtn != nullptr)
      FCaption->SetRightIndent(FOldCapRightIndent);
    FreeCaptionButton(FCaptionCloseBtn);
    FreeCaptionButton(FCaptionMinBtn);
    FreeCaptionButton(FCaptionMaxBtn);
    return;
  }
  const TPagerButtonLook look = ButtonLook();
  const TRect cap = GetCaptionRect();
  const TCaptionButtonsPlacement p = PlaceCaptionButtons(Width(), cap.Top, FCaption->Height(), look);
  if (FCaptionCloseBtn == nullptr) {
    FCaptionCloseBtn = MakeGlowButton([this](TObject* s) { CaptionCloseClick(s); }, FHints->MDICloseBtnHint());
    FOldCapRightIndent = FCaption->RightIndent();
  }
  if (FCaptionMinBtn == nullptr)
    FCaptionMinBtn = MakeGlowButton([this](TObject* s) { CaptionMinClick(s); }, FHints->MDIMinimizeBtnHint());
  if (FCaptionMaxBtn == nullptr) {
    FCaptionMaxBtn = MakeGlowButton([this](TObject* s) { CaptionMaxClick(s); }, FHints->MDIMaximizeBtnHint());
    RebuildPictures = true;
  }
  for (TAdvGlowButton* b : {FCaptionCloseBtn, FCaptionMinBtn, FCaptionMaxBtn})
    b->SetRounded(FGroupStyle != gsOffice2019);
  // Colours: the close button turns red under the pointer.
  const bool redClose = !FIsAeroVista;
  if (FItones && FGlowButtonAppearance) {
    StyleButton(FCaptionCloseBtn);
    if (redClose) ColorCloseButtonRed(FCaptionCloseBtn->Appearance(), FGroupStyle);
    StyleButton(FCaptionMinBtn);
    StyleButton(FCaptionMaxBtn);
  } else if (FCurrentToolBarStyler != nullptr) {
    FCaptionCloseBtn->Appearance()->Assign(FCurrentToolBarStyler->GlowButtonAppearance());
    if (redClose) ColorCloseButtonRed(FCaptionCloseBtn->Appearance(), FGroupStyle);
    if (FGroupStyle == gsOffice2019 && FCaptionAppearance)
      FCaptionCloseBtn->Appearance()->SetTextColor(FCaptionAppearance->CaptionTextColor());
    FCaptionMinBtn->Appearance()->Assign(FCurrentToolBarStyler->GlowButtonAppearance());
    FCaptionMaxBtn->Appearance()->Assign(FCurrentToolBarStyler->GlowButtonAppearance());
  }
  // Rounded again: styling under tones squares them.
  for (TAdvGlowButton* b : {FCaptionCloseBtn, FCaptionMinBtn, FCaptionMaxBtn})
    b->SetRounded(FGroupStyle != gsOffice2019 && !(FItones && FGlowButtonAppearance));
  FCaptionCloseBtn->SetBounds(p.Close.Left, p.Close.Top, p.Close.Width(), p.Close.Height());
  FCaptionMaxBtn->SetBounds(p.Max.Left, p.Max.Top, p.Max.Width(), p.Max.Height());
  FCaptionMinBtn->SetBounds(p.Min.Left, p.Min.Top, p.Min.Width(), p.Min.Height());
  if (FGroupStyle == gsOffice2019)
    FCaption->SetRightIndent(0);
  else if (FIsAeroVista)
    FCaption->SetRightIndent(GetCaptionButtonsRect().Width());
  else
    FCaption->SetRightIndent(std::max(FCaption->RightIndent(), Width() - p.Min.Left));

  TCustomForm* form = GetParentForm(this);
  const bool restore = form != nullptr && form->WindowState() != wsNormal;
  if (restore != FCaptionMaxShowsRestore) RebuildPictures = true;
  FCaptionMaxShowsRestore = restore;
  if (RebuildPictures && FCurrentToolBarStyler != nullptr) BuildCaptionPictures();

  const bool glass = FIsAeroVista;
  FCaptionCloseBtn->SetVisible(!glass && FCaptionButtons.Contains(cbClose));
  FCaptionMinBtn->SetVisible(!glass && FCaptionButtons.Contains(cbMinimize));
  FCaptionMaxBtn->SetVisible(!glass && (FCaptionButtons.Contains(cbMaximize) || FCaptionMinBtn->Visible()));
  FCaptionCloseBtn->SetEnabled(FCaptionButtons.Contains(cbClose));
  FCaptionMinBtn->SetEnabled(FCaptionButtons.Contains(cbMinimize));
  FCaptionMaxBtn->SetEnabled(FCaptionButtons.Contains(cbMaximize));
  if (!ComponentState().Contains(csDesigning))
    for (TAdvGlowButton* b : {FCaptionCloseBtn, FCaptionMinBtn, FCaptionMaxBtn}) b->BringToFront();
}

void TZadEdevAziPager::BuildCaptionPictures() {
  TColor glyph = FCurrentToolBarStyler->SysButtonColor();
  if (FItones && FTabAppearance) {
    glyph = FTabAppearance->TextColor();
    if (FGroupStyle == gsOffice2019 && FCaptionAppearance) glyph = FCaptionAppearance->CaptionTextColor();
  }
  for (TAdvGlowButton* b : {FCaptionCloseBtn, FCaptionMinBtn, FCaptionMaxBtn}) b->Appearance()->SetTextColor(glyph);
  const TGroupStyle gs = FGroupStyle;
  // Each button's glyph in its text colour (normal picture) and its hot
  // text colour (hot picture), drawn at the button's size.
  auto build = [](TAdvGlowButton* B, const std::function<void(TCanvas*, const TRect&, TColor)>& Glyph) {
    const TColor normal = B->Appearance()->TextColor();
    TColor hot = B->Appearance()->TextColorHot();
    if (hot == clNone) hot = normal;
    DrawIntoPicture(B->Picture(), B->Width(), B->Height(), [&](TCanvas* C, const TRect& R) { Glyph(C, R, normal); });
    DrawIntoPicture(B->HotPicture(), B->Width(), B->Height(), [&](TCanvas* C, const TRect& R) { Glyph(C, R, hot); });
  };
  build(FCaptionCloseBtn, [gs](TCanvas* C, const TRect& R, TColor Col) { toolbar::DrawCloseGlyph(C, R, Col, 2, gs); });
  if (GetParentForm(this) != nullptr) {
    const bool restore = FCaptionMaxShowsRestore;
    build(FCaptionMaxBtn, [gs, restore](TCanvas* C, const TRect& R, TColor Col) {
      if (restore)
        toolbar::DrawRestoreGlyph(C, R, Col, true, gs);
      else
        toolbar::DrawMaximizeGlyph(C, R, Col, true, gs);
    });
  }
  build(FCaptionMinBtn, [gs](TCanvas* C, const TRect& R, TColor Col) { toolbar::DrawMinimizeGlyph(C, R, Col, true, gs); });
}

TRect TZadEdevAziPager::GetCaptionButtonsRect() {
  if (FIsAeroVista) {
    TGlassButtonsInput in;
    in.Designing = ComponentState().Contains(csDesigning);
    // The layer reports Windows 10.
    in.Win7 = in.Win10 = true;
    in.ByScreen = dynamic_cast<TZadEdevAziForm*>(GetParentForm(this)) != nullptr && HandleAllocated();
    in.ScreenPPI = toolbar::ScreenPPI;
    in.ShadedGlassTabs = IsShadedGlassTabs();
    in.ScaledCaptionHeight = FScaledPagerCaptionHeight;
    return GlassCaptionButtonsRect(Width(), in);
  }
  if (!FCaption->Visible() || FCaptionButtons.Empty()) return NoButtonRect;
  if (FCaptionCloseBtn == nullptr || FCaptionMinBtn == nullptr || FCaptionMaxBtn == nullptr) UpdateCaptionButtons(false);
  if (FCaptionCloseBtn == nullptr || FCaptionMinBtn == nullptr || FCaptionMaxBtn == nullptr) return NoButtonRect;
  return TRect{FCaptionMinBtn->Left(), FCaptionMaxBtn->Top(), FCaptionCloseBtn->Left() + FCaptionCloseBtn->Width(),
               FCaptionMaxBtn->Top() + FCaptionMaxBtn->Height()};
}

void TZadEdevAziPager::CaptionCloseClick(TObject*) {
  if (OnCloseButtonClick) {
    OnCloseButtonClick(FCaptionCloseBtn);
    return;
  }
  if (TCustomForm* f = GetParentForm(this)) f->Close();
}

// Changes the form's window state with a ribbon form's auto-maximize guard set.
static void SetFormState(TCustomForm* F, TWindowState State) {
  auto* rf = dynamic_cast<TZadEdevAziForm*>(F);
  const bool old = rf != nullptr && rf->NoAutoMax();
  if (rf != nullptr) rf->SetNoAutoMax(true);
  F->SetWindowState(State);
  if (rf != nullptr) rf->SetNoAutoMax(old);
}

void TZadEdevAziPager::CaptionMaxClick(TObject*) {
  if (OnMaxButtonClick) {
    OnMaxButtonClick(FCaptionMaxBtn);
    return;
  }
  TCustomForm* f = GetParentForm(this);
  if (f == nullptr) return;
  if (f->WindowState() != wsNormal) {
    SetFormState(f, wsNormal);
  } else {
    FCaptionClickXY = TPoint{-1, -1};
    f->SetWindowState(wsMaximized);
  }
  UpdateCaptionButtons(true);
}

void TZadEdevAziPager::CaptionMinClick(TObject*) {
  if (OnMinButtonClick) {
    OnMinButtonClick(FCaptionMinBtn);
    return;
  }
  if (FMinimizeApp) {
    Application->Minimize();
    return;
  }
  if (TCustomForm* f = GetParentForm(this)) SetFormState(f, wsMinimized);
}

void TZadEdevAziPager::CaptionHitTest(TMessage& Message) {
  if (ComponentState().Contains(csDesigning)) return;
  const TPoint p = ScreenToClient(PointFromLParam(Message.LParam));
  // The form's sizing border lies under the pager's edges.
  if (p.Y < 3 || p.X < 3 || p.X > Width() - 6) Message.Result = HTTRANSPARENT;
}

// ---------------------------------------------------------------------------
// MDI buttons

void TZadEdevAziPager::SetAutoMDIButtons(bool Value) {
  if (FAutoMDIButtons == Value) return;
  FAutoMDIButtons = Value;
  const TComponentState st = ComponentState();
  if (st.Contains(csDesigning) || st.Contains(csLoading)) return;
  TCustomForm* form = GetParentForm(this);
  if (Value) {
    if (form != nullptr && FMDIHookInstance == 0) {
      // One pager at a time follows an MDI frame.
      if (TZadEdevAziPager* other = MDIPagerRef(); other != nullptr && other != this) other->SetAutoMDIButtons(false);
      MDIPagerRef() = this;
      FMDIChildForm = nullptr;
      FMDIHookInstance = MakeObjectInstance([this](TMessage& M) { MDIFormWndProc(M); });
      FMDIHookedForm = form;
      FMDIOldProc = SetWindowLong(form->Handle(), GWL_WNDPROC, FMDIHookInstance);
      form->FreeNotification(this);
    }
  } else {
    RemoveMDIHook();
    Invalidate();
  }
  FullLayout();
  UpdateMDIButtons(true);
}

void TZadEdevAziPager::RemoveMDIHook() {
  if (MDIPagerRef() == this) MDIPagerRef() = nullptr;
  FMDIChildForm = nullptr;
  FMDIButtonsVisible = false;
  if (FMDIHookInstance == 0) return;
  // Setting back what our link replaced takes only our link out of the
  // chain, wherever it stands; the form's region is not ours to remove.
  if (FMDIHookedForm != nullptr && FMDIHookedForm->HandleAllocated())
    SetWindowLong(FMDIHookedForm->Handle(), GWL_WNDPROC, FMDIOldProc);
  FreeObjectInstance(FMDIHookInstance);
  FMDIHookInstance = FMDIOldProc = 0;
  FMDIHookedForm = nullptr;
}

void TZadEdevAziPager::MDIFormWndProc(TMessage& Message) {
  // The frame moved or changed state: the next paint checks the MDI child.
  if (Message.Msg == WM_WINDOWPOSCHANGED && MDIPagerRef() == this) Invalidate();
  if (FMDIHookedForm != nullptr)
    Message.Result = CallWindowProc(FMDIOldProc, FMDIHookedForm->Handle(), Message.Msg, Message.WParam, Message.LParam);
}

void TZadEdevAziPager::UpdateMDIButtonsState() {
  TCustomForm* form = GetParentForm(this);
  FMDIChildForm = FAutoMDIButtons && form != nullptr ? form->ActiveMDIChild() : nullptr;
  const bool visible = FAutoMDIButtons && FMDIChildForm != nullptr && FMDIChildForm->WindowState() == wsMaximized;
  // A click may have hidden the buttons since the last paint (a restore)
  // while the child is maximized again now: the buttons follow the child,
  // not only a change of the remembered state.
  const bool shown = FMDICloseBtn != nullptr && FMDICloseBtn->Visible();
  const bool wanted = visible && form != nullptr && !form->BorderIcons().Empty();
  if (visible == FMDIButtonsVisible && shown == wanted) return;
  FMDIButtonsVisible = visible;
  UpdateMDIButtons(true);
  UpdateHelpButton();
}

TRect TZadEdevAziPager::GetMDIButtonsRect() const {
  if (!FMDIButtonsVisible || !FAutoMDIButtons) return NoButtonRect;
  return MDIButtonsRect(TabRowBounds(), FMDIButtonsWidth, FMDIButtonsSpace);
}

void TZadEdevAziPager::UpdateMDIButtons(bool RebuildPictures) {
  if (FDestroying || ComponentState().Contains(csDesigning)) return;
  TCustomForm* form = GetParentForm(this);
  TCustomForm* child = form != nullptr ? form->ActiveMDIChild() : nullptr;
  const bool show = FMDIButtonsVisible && FAutoMDIButtons && form != nullptr && !form->BorderIcons().Empty() &&
                    (child == nullptr || child->WindowState() == wsMaximized);
  if (!show) {
    for (TAdvGlowButton* b : {FMDICloseBtn, FMDIMinBtn, FMDIMaxBtn})
      if (b != nullptr) b->SetVisible(false);
    return;
  }
  auto make = [this](TAdvGlowButton*& B, TNotifyEvent Click, const String& Hint) {
    if (B != nullptr) return;
    B = MakeGlowButton(std::move(Click), Hint);
    B->SetBounds(0, 0, FMDIButtonsWidth, FMDIButtonsWidth);
  };
  make(FMDICloseBtn, [this](TObject* s) { MDICloseClick(s); }, FHints->MDICloseBtnHint());
  make(FMDIMinBtn, [this](TObject* s) { MDIMinimizeClick(s); }, FHints->MDIMinimizeBtnHint());
  make(FMDIMaxBtn, [this](TObject* s) { MDIRestoreClick(s); }, FHints->MDIMaximizeBtnHint());
  for (TAdvGlowButton* b : {FMDICloseBtn, FMDIMinBtn, FMDIMaxBtn}) StyleButton(b);
  const TMDIButtonsPlacement p = PlaceMDIButtons(GetMDIButtonsRect(), FMDIButtonsWidth, FMDIButtonsSpace);
  FMDIMinBtn->SetBounds(p.Min.Left, p.Min.Top, FMDIButtonsWidth, FMDIButtonsWidth);
  FMDIMaxBtn->SetBounds(p.Restore.Left, p.Restore.Top, FMDIButtonsWidth, FMDIButtonsWidth);
  FMDICloseBtn->SetBounds(p.Close.Left, p.Close.Top, FMDIButtonsWidth, FMDIButtonsWidth);
  if (RebuildPictures && FCurrentToolBarStyler != nullptr) BuildMDIPictures();
  for (TAdvGlowButton* b : {FMDICloseBtn, FMDIMinBtn, FMDIMaxBtn}) {
    b->SetVisible(true);
    b->BringToFront();
  }
  const TBorderIcons icons = child != nullptr ? child->BorderIcons() : TBorderIcons{};
  FMDICloseBtn->SetEnabled(icons.Contains(biSystemMenu));
  FMDIMinBtn->SetEnabled(icons.Contains(biMinimize));
  FMDIMaxBtn->SetEnabled(icons.Contains(biMaximize));
}

void TZadEdevAziPager::BuildMDIPictures() {
  // On the scenic glass caption the glyphs are the program's pictures.
  if (FWin7ScenicRibbon && IsOnGlass(true)) {
    bool all = true;
    for (auto [b, res] : {std::pair{FMDICloseBtn, u"ATBECCLOSE"}, std::pair{FMDIMaxBtn, u"ATBECMAX"},
                          std::pair{FMDIMinBtn, u"ATBECMIN"}}) {
      b->Picture()->LoadFromResourceName(HInstance(), res);
      all = all && !b->Picture()->Empty();
    }
    if (all) {
      for (TAdvGlowButton* b : {FMDICloseBtn, FMDIMaxBtn, FMDIMinBtn}) b->SetImages(nullptr);
      return;
    }
    for (TAdvGlowButton* b : {FMDICloseBtn, FMDIMaxBtn, FMDIMinBtn}) b->Picture()->Assign(nullptr);
  }
  if (FMDIBtnImages == nullptr) {
    FMDIBtnImages = new TCustomImageList(this, 14, 14);
    FMDIBtnImages->SetDrawingStyle(dsTransparent);
  }
  FMDIBtnImages->Clear();
  const TColor col = FCurrentToolBarStyler->PagerCaption()->TextColor();
  const TGroupStyle gs = FGroupStyle;
  const Integer w = FMDIButtonsWidth;
  // Close, restore and minimize always take indexes 0, 1 and 2, so that a
  // missing active child shifts nothing.
  const std::function<void(TCanvas*, const TRect&)> glyphs[3] = {
      [&](TCanvas* C, const TRect& R) { toolbar::DrawCloseGlyph(C, R, col, 2, gs); },
      [&](TCanvas* C, const TRect& R) { toolbar::DrawRestoreGlyph(C, R, col, true, gs); },
      [&](TCanvas* C, const TRect& R) { toolbar::DrawMinimizeGlyph(C, R, col, true, gs); },
  };
  for (const auto& g : glyphs) {
    TBitmap bmp;
    bmp.SetSize(14, 14);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(MaskColor);
    c->Pen()->SetColor(MaskColor);
    c->FillRect(TRect{0, 0, w, w});
    g(c, TRect{0, 0, w, w});
    FMDIBtnImages->AddMasked(&bmp, MaskColor);
  }
  FMDICloseBtn->SetImages(FMDIBtnImages);
  FMDICloseBtn->SetImageIndex(0);
  FMDIMaxBtn->SetImages(FMDIBtnImages);
  FMDIMaxBtn->SetImageIndex(1);
  FMDIMinBtn->SetImages(FMDIBtnImages);
  FMDIMinBtn->SetImageIndex(2);
}

// The maximized active child while the MDI buttons show; nullptr otherwise.
static TCustomForm* ButtonChild(TZadEdevAziPager* P, TCustomForm*& Field) {
  TCustomForm* form = GetParentForm(P);
  Field = form != nullptr ? form->ActiveMDIChild() : nullptr;
  if (!P->AutoMDIButtons() || Field == nullptr || Field->WindowState() != wsMaximized || !P->MDIButtonsVisible())
    return nullptr;
  return Field;
}

void TZadEdevAziPager::MDICloseClick(TObject*) {
  if (TCustomForm* c = ButtonChild(this, FMDIChildForm)) c->Close();
  UpdateMDIButtons(true);
}

void TZadEdevAziPager::MDIRestoreClick(TObject*) {
  if (TCustomForm* c = ButtonChild(this, FMDIChildForm); c != nullptr && c->BorderIcons().Contains(biMaximize))
    c->SetWindowState(wsNormal);
  UpdateMDIButtons(true);
}

void TZadEdevAziPager::MDIMinimizeClick(TObject*) {
  if (TCustomForm* c = ButtonChild(this, FMDIChildForm); c != nullptr && c->BorderIcons().Contains(biMinimize))
    c->SetWindowState(wsMinimized);
}

// ---------------------------------------------------------------------------
// Help button

void TZadEdevAziPager::SetShowHelpButton(bool Value) {
  if (FShowHelpButton == Value) return;
  FShowHelpButton = Value;
  UpdateHelpButton();
  // The expand/collapse button stands beside it, or takes its place.
  if (FShowExpandCollapsButton) UpdateExpandCollapseButton();
}

void TZadEdevAziPager::SetHelpButtonPicture(TGDIPPicture* Value) {
  FHelpButtonPicture->Assign(Value);
  UpdateHelpButton();
}

void TZadEdevAziPager::UpdateHelpButton() {
  if (FDestroying) return;
  if (!FShowHelpButton) {
    if (FHelpBtn == nullptr) return;
    FreeCaptionButton(FHelpBtn);
    // The tab row takes the room back.
    if (FPropertiesLoaded) TabsLayout();
    return;
  }
  const bool made = FHelpBtn == nullptr;
  if (made) {
    FHelpBtn = MakeGlowButton(
        [this](TObject*) {
          if (OnHelpClick) OnHelpClick(this);
        },
        FHints->HelpBtnHint());
    FUpdateHelpButtonRes = true;
  }
  if (FUpdateHelpButtonRes) {
    if (FHelpButtonPicture->Empty()) {
      String res = u"ATBHELP_BTN";
      if (toolbar::ToolBarDPIScale >= 2)
        res = u"ATBHELPHD_BTN";
      else if ((FWin7ScenicRibbon && IsOnGlass(true)) || FGroupStyle != gsClassic)
        res = u"ATBHELP_BTN2";
      FHelpBtn->Picture()->LoadFromResourceName(HInstance(), res);
    } else {
      FHelpBtn->Picture()->Assign(FHelpButtonPicture.get());
    }
  }
  StyleButton(FHelpBtn);
  const TRect r = GetHelpButtonRect();
  FHelpBtn->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  if (!ComponentState().Contains(csDesigning)) FHelpBtn->BringToFront();
  // The tab row now ends before the button.
  if (made && FPropertiesLoaded) TabsLayout();
}

TRect TZadEdevAziPager::GetHelpButtonRect() const {
  if (!FShowHelpButton) return NoButtonRect;
  Integer mdiLeft = -1;
  if (TZadEdevAziPager* p = MDIPagerRef(); p != nullptr && FMDIButtonsVisible && FAutoMDIButtons)
    mdiLeft = p->GetMDIButtonsRect().Left;
  return HelpButtonRect(GetTabsArea(), ButtonLook(), mdiLeft);
}

}  // namespace ribbon
