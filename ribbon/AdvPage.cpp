#include "ribbon/AdvPage.h"

#include <algorithm>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Bitmap.h"
#include "platform/win/Window.h"
#include "ribbon/MinimizedRibbonWindow.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/ToolBarDraw.h"
#include "toolbar/ToolBarFaces.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

using toolbar::TAdvCustomToolBar;
using toolbar::TZadEdevAzi;

TAdvPage::TAdvPage(TComponent* AOwner) : TCustomControl(AOwner) {
  TControlStyle cs = ControlStyle();
  cs.Include(csAcceptsControls);
  cs.Exclude(csOpaque);
  SetControlStyle(cs);
  FZadEdevAzis = std::make_unique<toolbar::TDbgList>();
  FOfficeHint = std::make_unique<TAdvHintInfo>();
  SetDoubleBuffered(true);
  FOldWidth = Width();
}

TAdvPage::~TAdvPage() {
  // A page going while the floating ribbon shows its clone takes the pop-up
  // with it first, so that its toolbars come home and nothing points at it.
  if (FSelfClone != nullptr && FZadEdevAziPager != nullptr && FZadEdevAziPager->IndexOfPage(this) >= 0)
    FZadEdevAziPager->DestroyMinimizedRibbonWindow();
  if (FTimer != nullptr) {
    delete FTimer;
    FTimer = nullptr;
  }
  if (FSelfClone != nullptr && FSelfClone->FSelfClone == this) FSelfClone->FSelfClone = nullptr;
  HideShortCutHint();
  if (FZadEdevAziPager != nullptr && FZadEdevAziPager->IndexOfPage(this) >= 0)
    FZadEdevAziPager->RemoveAdvPage(this);
  FZadEdevAziPager = nullptr;
  FCloning = true;  // the toolbars leave with the children; the list no longer follows
}

void TAdvPage::Loaded() {
  TCustomControl::Loaded();
  // The list in the order of the toolbars' left edges (ties after).
  FZadEdevAzis->Clear();
  for (Integer i = 0; i < ControlCount(); ++i) {
    auto* tb = dynamic_cast<TZadEdevAzi*>(Controls(i));
    if (tb == nullptr) continue;
    Integer at = FZadEdevAzis->Count();
    for (Integer j = 0; j < FZadEdevAzis->Count(); ++j)
      if (static_cast<TZadEdevAzi*>(FZadEdevAzis->Items(j))->Left() > tb->Left()) {
        at = j;
        break;
      }
    FZadEdevAzis->Insert(at, tb);
  }
  ArrangeToolBars();
  UpdateAllToolBars();
  FFittedWidth = Width();
  FShownToolBars.clear();
  for (Integer i = 0; i < ZadEdevAziCount(); ++i)
    if (TZadEdevAzi* tb = GetZadEdevAzis(i); tb != nullptr && tb->Visible()) FShownToolBars.push_back(tb);
}

void TAdvPage::SetParent(TWinControl* AParent) {
  if (AParent != nullptr && (AParent->ClassName() == u"TAdvDockPanel" ||
                             dynamic_cast<TAdvCustomToolBar*>(AParent) != nullptr))
    throw Exception(u"Invalid Parent");
  TWinControl* target = AParent;
  auto* toPage = dynamic_cast<TAdvPage*>(AParent);
  auto* toPager = dynamic_cast<TZadEdevAziPager*>(AParent);
  if ((toPage != nullptr || toPager != nullptr) && !FUpdatingParent) {
    TZadEdevAziPager* p = toPage != nullptr ? toPage->ZadEdevAziPager() : toPager;
    if (FZadEdevAziPager != nullptr && p != nullptr && p != FZadEdevAziPager) {
      FUpdatingParent = true;
      try {
        SetZadEdevAziPager(p);
      } catch (...) {
        FUpdatingParent = false;
        throw;
      }
      FUpdatingParent = false;
      if (FZadEdevAziPager != p) throw Exception(u"Invalid Parent");
    }
    if (toPage != nullptr && p != nullptr) {
      const Integer cur = p->IndexOfPage(this), dest = p->IndexOfPage(toPage);
      if (cur < 0 || dest < 0) throw Exception(u"Invalid Parent " + IntToStr(cur) + u":" + IntToStr(dest));
      p->MoveAdvPage(cur, dest);
    }
    if (p != nullptr) {
      target = p;
      p->Invalidate();
    }
    Invalidate();
  }
  TCustomControl::SetParent(target);
}

void TAdvPage::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (AWidth != Width()) FOldWidth = Width();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  ArrangeToolBars();
  WidthChanged();
}

void TAdvPage::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomControl::AlignControls(AControl, Rect);
  ArrangeToolBars();
  // A toolbar shown or hidden asks its parent to align it.
  ShownToolBarsChanged();
}

void TAdvPage::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_CONTROLCHANGE) {
    CMControlChange(Message);
    return;
  }
  TCustomControl::Dispatch(Message);
  if (Message.Msg == WM_SIZE) WidthChanged();
  // A press on the page ends the key tips of its toolbars.
  if (Message.Msg == WM_LBUTTONDOWN && (FToolBarShortCutShowing || ToolBarKeyTipsShowing())) HideToolBarsShortCutHint();
}

void TAdvPage::CMControlChange(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  auto* control = reinterpret_cast<TControl*>(Message.WParam);
  if (ComponentState().Contains(csDestroying)) return;
  // A toolbar being freed is no longer a toolbar to a cast: it leaves the
  // list by its address, so the list never keeps a dead toolbar.
  if (Message.LParam == 0 && control != nullptr && control->ComponentState().Contains(csDestroying)) {
    if (!FCloning) FZadEdevAzis->Remove(control);
    // The clone's toolbars are its page's: one freed inside the floating
    // ribbon leaves the page's list as well.
    if (FSelfClone != nullptr && !FSelfClone->FCloning) FSelfClone->FZadEdevAzis->Remove(control);
    ShownToolBarsChanged();
    return;
  }
  auto* tb = dynamic_cast<TZadEdevAzi*>(control);
  if (tb == nullptr) return;
  if (Message.LParam != 0)
    AddZadEdevAzi(tb);
  else
    RemoveZadEdevAzi(tb);
}

// ---------------------------------------------------------------------------
// Toolbars

TZadEdevAzi* TAdvPage::CreateZadEdevAzi() {
  auto* tb = new TZadEdevAzi(this);
  tb->SetAutoSize(false);
  // Its own sizing is off: the limits it measured for itself go too.
  tb->Constraints()->SetMinWidth(0);
  tb->Constraints()->SetMaxWidth(0);
  tb->SetShowRightHandle(false);
  tb->SetShowCaption(true);
  tb->SetCaptionPosition(toolbar::cpBottom);
  tb->SetCaptionAlignment(taCenter);
  tb->SetBounds(tb->Left(), tb->Top(), 120, 26);
  tb->SetCaption(u"Untitled");
  AddZadEdevAzi(tb);
  tb->SetParentStyler(true);
  return tb;
}

Integer TAdvPage::AddZadEdevAzi(TZadEdevAzi* ToolBar) {
  if (ToolBar == nullptr || FCloning || FZadEdevAzis->IndexOf(ToolBar) >= 0) return -1;
  const bool quiet = ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning);
  if (!quiet) {
    ToolBar->SetShowRightHandle(false);
    ToolBar->SetShowCaption(true);
    ToolBar->SetCaptionPosition(toolbar::cpBottom);
    ToolBar->SetCaptionAlignment(taCenter);
  }
  FZadEdevAzis->Add(ToolBar);
  const Integer index = FZadEdevAzis->Count() - 1;
  if (ToolBar->Parent() != this) ToolBar->SetParent(this);
  if (!quiet && ToolBar->ToolBarStyler() == nullptr) ToolBar->SetParentStyler(true);
  ArrangeToolBars();
  ToolBar->HookGlowButtons();
  ShownToolBarsChanged();
  return index;
}

void TAdvPage::InsertZadEdevAzi(Integer Index, TZadEdevAzi* ToolBar) {
  if (ToolBar == nullptr || FCloning || FZadEdevAzis->IndexOf(ToolBar) >= 0) return;
  Index = std::clamp<Integer>(Index, 0, FZadEdevAzis->Count());
  FZadEdevAzis->Insert(Index, ToolBar);
  if (ToolBar->Parent() != this) ToolBar->SetParent(this);
  ArrangeToolBars();
  ShownToolBarsChanged();
}

void TAdvPage::RemoveZadEdevAzi(TZadEdevAzi* ToolBar) {
  if (FCloning) return;
  const Integer i = FZadEdevAzis->IndexOf(ToolBar);
  if (i < 0) return;
  FZadEdevAzis->Delete(i);
  if (ToolBar->Parent() == this && !ToolBar->ComponentState().Contains(csDestroying)) ToolBar->SetParent(nullptr);
  // The others close up and take back the room.
  ArrangeToolBars();
  ShownToolBarsChanged();
}

Integer TAdvPage::IndexOfZadEdevAzi(TAdvCustomToolBar* ToolBar) const {
  return FZadEdevAzis->IndexOf(ToolBar);
}

Integer TAdvPage::ToolBarIndexOf(const TAdvCustomToolBar* ToolBar) const {
  return FZadEdevAzis->IndexOf(const_cast<TAdvCustomToolBar*>(ToolBar));
}

void TAdvPage::MoveZadEdevAzi(Integer CurIndex, Integer NewIndex) {
  const Integer n = FZadEdevAzis->Count();
  if (FCloning || CurIndex < 0 || CurIndex >= n || NewIndex < 0 || NewIndex >= n) return;
  FZadEdevAzis->Move(CurIndex, NewIndex);
  ArrangeToolBars();
}

TZadEdevAzi* TAdvPage::GetZadEdevAzis(Integer Index) const {
  if (Index < 0 || Index >= FZadEdevAzis->Count()) return nullptr;
  return static_cast<TZadEdevAzi*>(FZadEdevAzis->Items(Index));
}

TZadEdevAzi* TAdvPage::GetFirstToolBar(bool AVisibleOnly) const {
  for (Integer i = 0; i < FZadEdevAzis->Count(); ++i)
    if (TZadEdevAzi* tb = GetZadEdevAzis(i); tb != nullptr && (!AVisibleOnly || tb->Visible())) return tb;
  return nullptr;
}

// ArrangeToolBars and HideCompactWindowOfZadEdevAzis live with the fitting
// passes in AdvPageToolBars.cpp.

void TAdvPage::ApplyPagerTonesToToolBars() {
  for (Integer i = 0; i < FZadEdevAzis->Count(); ++i)
    if (TZadEdevAzi* tb = GetZadEdevAzis(i)) tb->ApplyPagerTones();
}

void TAdvPage::SetToolBarsGlowButtonsTransparent() {
  for (Integer i = 0; i < FZadEdevAzis->Count(); ++i)
    if (TZadEdevAzi* tb = GetZadEdevAzis(i)) tb->SetGlowButtonsTransparent();
}

void TAdvPage::InvalidateToolBars() {
  if (!Visible()) return;
  for (Integer i = 0; i < FZadEdevAzis->Count(); ++i)
    if (TZadEdevAzi* tb = GetZadEdevAzis(i)) tb->Invalidate();
}

// ---------------------------------------------------------------------------
// Pager

void TAdvPage::SetZadEdevAziPager(TZadEdevAziPager* Value) {
  if (FZadEdevAziPager == Value) {
    if (Value != nullptr && Value->IndexOfPage(this) < 0) Value->AddAdvPage(this);
    return;
  }
  if (FZadEdevAziPager != nullptr) FZadEdevAziPager->RemoveAdvPage(this);
  FZadEdevAziPager = nullptr;
  if (Value != nullptr) {
    const bool old = FUpdatingParent;
    FUpdatingParent = true;
    TCustomControl::SetParent(Value);
    FUpdatingParent = old;
    Value->AddAdvPage(this);
  }
}

Integer TAdvPage::PageIndex() const { return FZadEdevAziPager != nullptr ? FZadEdevAziPager->IndexOfPage(this) : -1; }

void TAdvPage::SetPageIndex(Integer Value) {
  if (FZadEdevAziPager != nullptr && Value >= 0 && Value < FZadEdevAziPager->AdvPageCount())
    FZadEdevAziPager->MoveAdvPage(PageIndex(), Value);
  Invalidate();
}

bool TAdvPage::InTabGroup() const { return FZadEdevAziPager != nullptr && FZadEdevAziPager->PageInTabGroup(this); }

Integer TAdvPage::GetPageInset() const {
  if (FZadEdevAziPager == nullptr || FZadEdevAziPager->UsesTones() || FZadEdevAziPager->Win7ScenicRibbon()) return 0;
  return 4;
}

Integer TAdvPage::GetTabExtent() const {
  TZadEdevAziPager* p = FZadEdevAziPager;
  if (p == nullptr) return FTabClientWidth;
  const TTabRowCurrent& c = p->CurrentTabMetrics();
  const Integer g = p->PageTabGroupIndex(this);
  if (g >= 0)
    return FTabClientWidth + 2 * p->TabGroups()->Items(g)->TabCurrentExtraXMargin + c.GroupLeftMargin +
           c.GroupRightMargin;
  return FTabClientWidth + c.LeftMargin + c.RightMargin;
}

void TAdvPage::PagerTabsChanged(bool Measure) {
  if (FZadEdevAziPager == nullptr) return;
  if (Measure) FZadEdevAziPager->ResetTabMetrics();
  FZadEdevAziPager->TabsLayout();
  FZadEdevAziPager->Invalidate();
}

void TAdvPage::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  PagerTabsChanged(true);
  Invalidate();
}

void TAdvPage::SetWideCaption(const String& Value) {
  if (FWideCaption == Value) return;
  FWideCaption = Value;
  PagerTabsChanged(true);
  Invalidate();
}

void TAdvPage::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  FTabVisible = Value;
  if (!Value) HideCompactWindowOfZadEdevAzis();
  PagerTabsChanged(false);
  Invalidate();
}

void TAdvPage::SetTabEnabled(bool Value) {
  if (FTabEnabled == Value) return;
  FTabEnabled = Value;
  Invalidate();
  if (FZadEdevAziPager != nullptr) FZadEdevAziPager->Invalidate();
}

void TAdvPage::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  PagerTabsChanged(true);
}

void TAdvPage::SetAutoPosition(bool Value) {
  if (FAutoPosition == Value) return;
  FAutoPosition = Value;
  ArrangeToolBars();
}

// ---------------------------------------------------------------------------
// Painting

void TAdvPage::Paint() {
  TZadEdevAziPager* p = FZadEdevAziPager;
  if (p == nullptr || p->CurrentToolBarStyler() == nullptr || FUpdateCount > 0) return;
  toolbar::TCustomZadEdevAziStyler* s = p->CurrentToolBarStyler();
  const bool tones = p->UsesTones() && p->OwnPageAppearance() != nullptr && p->OwnTabAppearance() != nullptr;
  TVistaBackground* pa = tones ? p->OwnPageAppearance() : s->PageAppearance();
  TCustomTabAppearance* ta = tones ? static_cast<TCustomTabAppearance*>(p->OwnTabAppearance()) : s->TabAppearance();
  if (Color() != pa->Color()) SetColor(pa->Color());
  TColor C = pa->Color(), S = clNone, H = clNone;
  if (auto* vp = dynamic_cast<TVistaPageBackground*>(pa)) {
    S = vp->ShadowColor();
    H = vp->HighLightColor();
  }
  (void)ta;
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  const Integer g = p->PageTabGroupIndex(this);
  TGroupAppearance* ga = g >= 0 && IsActivePage() ? p->GroupAppearanceOf(g) : nullptr;
  const bool scenic = p->Win7ScenicRibbon();
  if (ga != nullptr && p->GroupStyle() == gsClassic) {
    TVistaPageBackground* gp = ga->PageAppearance();
    C = gp->Color();
    S = gp->ShadowColor();
    toolbar::DrawGlowFace(c, r, gp->Color(), gp->ColorTo(), gp->ColorMirror(), gp->ColorMirrorTo(), gp->BorderColor(),
                          gp->Gradient(), gp->GradientMirror(), s->RoundEdges() && !scenic, false, Enabled(),
                          p->AntiAlias(), Font(), u"");
    if (scenic) {
      c->Pen()->SetColor(ga->BorderColor());
      c->MoveTo(r.Left, r.Top);
      c->LineTo(r.Right, r.Top);
    }
  } else if (tones) {
    toolbar::DrawVistaGradient(c, r, 22, pa->Color(), pa->ColorTo(), pa->ColorMirror(), pa->ColorMirrorTo(), clNone, 0);
    if (pa->BorderColor() != clNone) {
      c->Pen()->SetColor(pa->BorderColor());
      c->MoveTo(r.Left, r.Bottom - 1);
      c->LineTo(r.Right, r.Bottom - 1);
      c->MoveTo(r.Left, r.Top);
      c->LineTo(r.Right, r.Top);
    }
  } else {
    toolbar::DrawVistaGradient(c, r, 22, pa->Color(), pa->ColorTo(), pa->ColorMirror(), pa->ColorMirrorTo(),
                               pa->BorderColor(), toolbar::GetCornerRadius());
  }
  if (ga != nullptr && p->GroupStyle() == gsWindows8) {
    c->Pen()->SetColor(ga->BorderColor());
    c->MoveTo(r.Left, r.Top);
    c->LineTo(r.Right, r.Top);
  }
  if (!tones) {
    if (!p->IsOnGlass(false) && S != clNone) {
      c->Pen()->SetColor(S);
      c->MoveTo(r.Left + 2, r.Bottom - 1);
      c->LineTo(r.Right - 2, r.Bottom - 1);
    }
    if (!scenic && H != clNone) {
      c->Pen()->SetColor(H);
      c->MoveTo(r.Left + 1, r.Top + 10);
      c->LineTo(r.Left + 1, r.Bottom - 2);
      c->MoveTo(r.Right - 2, r.Top + 10);
      c->LineTo(r.Right - 2, r.Bottom - 2);
      c->MoveTo(r.Left + 3, r.Bottom - 2);
      c->LineTo(r.Right - 2, r.Bottom - 2);
    }
  }
  // The active tab joins the body: its bottom edge takes the body's colour.
  const TRect tab = IsActivePage() ? p->GetVisibleTabRect(p->IndexOfPage(this)) : TRect{-1, -1, -1, -1};
  const bool topOrBottom = p->DockAlign() == toolbar::daTop || p->DockAlign() == toolbar::daBottom;
  if (IsActivePage() && topOrBottom && tab.Left > 0 && tab.Right > 0) {
    if (p->TabSettings()->Height() > 0 && C != clNone) {
      const Integer shift = Left();
      c->Pen()->SetColor(C);
      c->MoveTo(tab.Left - shift + 1, 0);
      c->LineTo(tab.Right - shift - 1, 0);
    }
    // Round corners: each two-pixel corner takes what the pager shows just
    // outside it, so the body's rounding blends into the tab area.
    if (s->RoundEdges() && !p->UsesTones() && !scenic) {
      TCanvas* pc = p->Canvas();
      const Integer L = Left(), T = Top(), W = Width(), H = Height();
      auto take = [&](Integer x, Integer y, Integer px, Integer py) {
        const TColor col = pc->Pixels(px, py);
        if (col != TColor(-1)) c->SetPixels(x, y, col);
      };
      take(0, 0, L - 1, T - 1);
      take(1, 0, L + 1, T - 1);
      take(0, 1, L - 1, T);
      for (const TPoint q : {TPoint{0, H - 1}, TPoint{1, H - 1}, TPoint{0, H - 2}}) take(q.X, q.Y, L - 1, T + H);
      for (const TPoint q : {TPoint{W - 1, 0}, TPoint{W - 2, 0}, TPoint{W - 1, 1}}) take(q.X, q.Y, L + W + 1, T);
      for (const TPoint q : {TPoint{W - 1, H - 1}, TPoint{W - 2, H - 1}, TPoint{W - 1, H - 2}})
        take(q.X, q.Y, L + W + 1, T + H);
    }
  }
  TGDIPPicture* brand = p->BrandingPicture();
  if (brand != nullptr && !brand->Empty()) {
    const Integer y = (r.Bottom - brand->Height()) / 2;
    const Integer x = r.Right - brand->Width() - y;
    TZadEdevAzi* last = GetZadEdevAzis(ZadEdevAziCount() - 1);
    if (last == nullptr || last->Left() + last->Width() < x) c->Draw(x, y, brand);
  }
}

// ---------------------------------------------------------------------------
// Tab glow

void TAdvPage::TabGlowTimerTick(TObject*) {
  // The timer stops and stays for the next fade: it is running this handler.
  auto endFade = [this] {
    if (FTimer != nullptr) FTimer->SetEnabled(false);
  };
  switch (FGlowState) {
    case gsPush:
      FStepPush += FTimeInc;
      if ((FStepPush > 100 && FTimeInc > 0) || (FStepPush < 0 && FTimeInc < 0)) {
        endFade();
        FGlowState = gsNone;
        FStepPush = 0;
        return;
      }
      break;
    case gsHover:
      FStepHover += FTimeInc;
      if (FStepHover > 100 && FTimeInc > 0) {
        bool over = false;
        if (FZadEdevAziPager != nullptr) {
          const TRect r = FZadEdevAziPager->GetTabRect(this);
          over = r.Contains(FZadEdevAziPager->ScreenToClient(Mouse->CursorPos()));
          if (!over) {
            FStepHover = 120;
            FTimeInc = -20;
            FZadEdevAziPager->FHotPageIndex = -1;
            return;
          }
        }
        FStepHover = 120;
        FStepPush = 0;
        return;
      }
      if (FStepHover < 0 && FTimeInc < 0) {
        endFade();
        FGlowState = gsNone;
        if (FZadEdevAziPager != nullptr) FZadEdevAziPager->InvalidateTab(-1);
        FStepPush = 0;
        FStepHover = -20;
        return;
      }
      break;
    case gsNone: return;
  }
  if (FZadEdevAziPager != nullptr) FZadEdevAziPager->InvalidateTab(-1);
}

// ---------------------------------------------------------------------------
// Update nesting

void TAdvPage::BeginUpdate() {
  // Counted on hidden pages as on visible ones, so that every EndUpdate
  // finds its BeginUpdate.
  ++FUpdateCount;
}

void TAdvPage::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) {
    ArrangeToolBars();
    ShownToolBarsChanged();
    Invalidate();
  }
}

// ---------------------------------------------------------------------------
// Clone for the minimized ribbon

TAdvPage* TAdvPage::CreateSelfClone(TWinControl* AOwner) {
  if (AOwner == nullptr || FZadEdevAziPager == nullptr) return nullptr;
  FreeSelfClone();
  FOldAutoPosition = FAutoPosition;
  FAutoPosition = false;
  auto* clone = new TAdvPage(AOwner);
  clone->FUpdatingParent = true;
  clone->TCustomControl::SetParent(AOwner);
  clone->FUpdatingParent = false;
  FSelfClone = clone;
  clone->FSelfClone = this;
  clone->FZadEdevAziPager = FZadEdevAziPager;
  clone->FAutoPosition = false;
  clone->FCaption = FCaption;
  clone->FWideCaption = FWideCaption;
  clone->Font()->Assign(Font());
  clone->SetShowHint(ShowHint());
  clone->FOfficeHint->Assign(FOfficeHint.get());
  clone->FShortCutHintPos = FShortCutHintPos;
  clone->OnMouseDown = OnMouseDown;
  clone->OnMouseMove = OnMouseMove;
  clone->OnMouseUp = OnMouseUp;
  TZadEdevAziPager* p = FZadEdevAziPager;
  const Integer h = p->FExpandedHeight - (p->Caption()->Visible() ? p->ScaledPagerCaptionHeight() : 0) -
                    p->TabSettings()->Height() - GetPageInset() - 1;
  clone->SetBounds(0, 0, Width(), std::max<Integer>(h, 0));
  // The toolbars move into the clone; neither list follows the re-parenting.
  clone->FCloning = true;
  FCloning = true;
  clone->FZadEdevAzis->AssignList(FZadEdevAzis.get());
  for (Integer i = 0; i < FZadEdevAzis->Count(); ++i) GetZadEdevAzis(i)->SetParent(clone);
  FCloning = false;
  clone->FCloning = false;
  clone->FAutoPosition = true;
  clone->ArrangeToolBars();
  return clone;
}

void TAdvPage::FreeSelfClone() {
  if (FSelfClone == nullptr) return;
  TAdvPage* clone = FSelfClone;
  FCloning = true;
  clone->FCloning = true;
  for (Integer i = 0; i < FZadEdevAzis->Count(); ++i) GetZadEdevAzis(i)->SetParent(this);
  FCloning = false;
  clone->FSelfClone = nullptr;
  clone->FZadEdevAziPager = nullptr;
  FSelfClone = nullptr;
  delete clone;
  FAutoPosition = FOldAutoPosition;
  SetWidth(Width() - 1);
  SetWidth(Width() + 1);
}

// ---------------------------------------------------------------------------
// What a toolbar asks of its page

toolbar::TCustomZadEdevAziStyler* TAdvPage::PagerToolBarStyler() const {
  return FZadEdevAziPager != nullptr ? FZadEdevAziPager->CurrentToolBarStyler() : nullptr;
}
bool TAdvPage::PagerHasToolBarStyler() const {
  return FZadEdevAziPager != nullptr && FZadEdevAziPager->ToolBarStyler() != nullptr;
}
TVornStyle TAdvPage::PagerUIStyle() const {
  return FZadEdevAziPager != nullptr ? FZadEdevAziPager->UIStyle() : tsCustom;
}
bool TAdvPage::PagerUsesTones() const { return FZadEdevAziPager != nullptr && FZadEdevAziPager->UsesTones(); }
Integer TAdvPage::PagerPPI() const { return FZadEdevAziPager != nullptr ? FZadEdevAziPager->InitPPI() : 96; }
bool TAdvPage::IsActivePage() const {
  if (FZadEdevAziPager == nullptr) return false;
  // A clone answers for the page it shows.
  const TAdvPage* self = FSelfClone != nullptr && FZadEdevAziPager->IndexOfPage(this) < 0 ? FSelfClone : this;
  return FZadEdevAziPager->ActivePage() == self;
}
bool TAdvPage::PagerIsOnGlass() const { return FZadEdevAziPager != nullptr && FZadEdevAziPager->IsOnGlass(true); }
TGroupAppearance* TAdvPage::TabGroupAppearance() const {
  TZadEdevAziPager* p = FZadEdevAziPager;
  if (p == nullptr || p->GroupStyle() == gsOffice2013 || !IsActivePage()) return nullptr;
  return p->GroupAppearanceOf(p->PageTabGroupIndex(this));
}
TToolBarAppearance* TAdvPage::PagerToolBarAppearance() const {
  return FZadEdevAziPager != nullptr ? FZadEdevAziPager->OwnToolBarAppearance() : nullptr;
}
TColor TAdvPage::PagerToolBarCaptionTextColor() const {
  return FZadEdevAziPager != nullptr ? FZadEdevAziPager->ToolBarCaptionTextColor() : clNone;
}
TGlowButtonAppearance* TAdvPage::PagerGlowButtonAppearance() const {
  return FZadEdevAziPager != nullptr ? FZadEdevAziPager->OwnGlowButtonAppearance() : nullptr;
}
TGDIPPicture* TAdvPage::PagerOptionPicture(bool Disabled) const {
  if (FZadEdevAziPager == nullptr) return nullptr;
  return Disabled ? FZadEdevAziPager->OptionDisabledPicture() : FZadEdevAziPager->OptionPicture();
}
bool TAdvPage::InFloatingRibbon() const { return dynamic_cast<TMinimizedRibbonWindow*>(Parent()) != nullptr; }
bool TAdvPage::FloatingRibbonCanHide() {
  auto* w = dynamic_cast<TMinimizedRibbonWindow*>(Parent());
  return w != nullptr && w->CanHideOnDeactivate();
}
void TAdvPage::SetFloatingRibbonHideOnDeActivate(bool Value) {
  if (auto* w = dynamic_cast<TMinimizedRibbonWindow*>(Parent())) w->SetHideOnDeActivate(Value);
}
TColor TAdvPage::PageCanvasPixel(Integer X, Integer Y) const {
  if (!const_cast<TAdvPage*>(this)->HandleAllocated()) return clNone;
  return Canvas()->Pixels(X, Y);
}

// ---------------------------------------------------------------------------
// Key tips

void TAdvPage::ShowShortCutHint(const String& Text) {
  TZadEdevAziPager* p = FZadEdevAziPager;
  if (p == nullptr || !FTabEnabled || !FTabVisible) return;
  const String text = Text.empty() ? FShortCutHintText : Text;
  if (text.empty()) return;
  if (FShortCutHint == nullptr) FShortCutHint = p->CreateShortCutHintWindow();
  FShortCutHint->SetVisible(false);
  FShortCutHint->SetCaption(text);
  FShortCutHint->SetColor(TColor(0x00FFFFFF));
  TGlowButtonAppearance* ga = p->UsesTones() ? p->OwnGlowButtonAppearance()
                              : p->CurrentToolBarStyler() != nullptr ? p->CurrentToolBarStyler()->GlowButtonAppearance()
                                                                     : nullptr;
  if (ga != nullptr) FShortCutHint->SetColorTo(ga->Color());
  // Measured before the window has a handle (it gets one when shown).
  TBitmap measure;
  measure.SetSize(1, 1);
  measure.Canvas()->Font()->Assign(FShortCutHint->Font());
  const Integer w = std::max(measure.Canvas()->TextWidth(text) + 8, measure.Canvas()->TextWidth(u"O") + 8);
  const Integer h = measure.Canvas()->TextHeight(u"Og") + 4;
  const TRect T = p->GetTabRect(this);
  const TPoint S = p->ClientToScreen(TPoint{T.Left, T.Top});
  Integer x = FShortCutHint->Left(), y = FShortCutHint->Top();
  switch (FShortCutHintPos) {
    case shpLeft:
      x = S.X - w / 2;
      y = S.Y + (T.Height() - h) / 2;
      break;
    case shpTop:
      x = S.X + (T.Width() - w) / 2;
      y = S.Y - h / 2;
      break;
    case shpRight:
      x = S.X + T.Width() - w / 2;
      y = S.Y + (T.Height() - h) / 2;
      break;
    case shpBottom:
      x = S.X + (T.Width() - w) / 2;
      y = S.Y + T.Height() - h / 2;
      break;
  }
  FShortCutHint->SetBounds(x, y, w, h);
  FShortCutHint->SetVisible(true);
}

void TAdvPage::HideShortCutHint() {
  if (FShortCutHint == nullptr || FZadEdevAziPager == nullptr) return;
  FShortCutHint->SetVisible(false);
  FZadEdevAziPager->FreeShortCutHintWindow(FShortCutHint);
  FShortCutHint = nullptr;
}

void TAdvPage::ShowToolBarsShortCutHint() {
  if (FZadEdevAziPager != nullptr) FZadEdevAziPager->ShowToolBarKeyTips(this);
  FShortCutChars.clear();
}

void TAdvPage::HideToolBarsShortCutHint() {
  for (Integer i = 0; i < ZadEdevAziCount(); ++i)
    if (TZadEdevAzi* tb = GetZadEdevAzis(i); tb != nullptr && tb->Visible()) tb->HideShortCutHints();
  if (ToolBarKeyTipsShowing()) FZadEdevAziPager->HideToolBarKeyTips();
  FToolBarShortCutShowing = false;
  FShortCutChars.clear();
}

bool TAdvPage::MatchToolBarsShortCutHint(const String& Text) {
  FShortCutChars = Text;
  Integer partial = 0;
  for (Integer i = 0; i < ZadEdevAziCount(); ++i)
    if (TZadEdevAzi* tb = GetZadEdevAzis(i); tb != nullptr && tb->Visible())
      if (tb->HandleShortCutHintKey(Text, partial)) return true;
  if (partial == 0) {
    FToolBarShortCutShowing = false;
    MessageBeep(0);
  }
  return false;
}

TAdvGlowButton* TAdvPage::FindCompactButton(HWND Handle) const {
  for (Integer i = 0; i < ZadEdevAziCount(); ++i)
    if (TZadEdevAzi* tb = GetZadEdevAzis(i); tb != nullptr && tb->IsCompact())
      if (TAdvGlowButton* b = tb->CompactButton(); b != nullptr && b->HandleAllocated() && b->Handle() == Handle)
        return b;
  return nullptr;
}

bool TAdvPage::ToolBarKeyTipsShowing() const {
  TZadEdevAziPager* p = FZadEdevAziPager;
  return p != nullptr && p->KeyTips().State() == TKeyTipState::Showing &&
         p->KeyTips().Level() != TKeyTipLevel::Tabs && p->FKeyTipPage == this;
}

bool TAdvPage::ToolBarKeyTipKey(Word Key) {
  return ToolBarKeyTipsShowing() && FZadEdevAziPager->ToolBarKeyTipKey(Key);
}

void TAdvPage::ShowCloneKeyTips(toolbar::TAdvCustomToolBar* Clone) {
  if (FZadEdevAziPager == nullptr) return;
  FZadEdevAziPager->FKeyTipPage = this;
  FZadEdevAziPager->ShowCloneKeyTips(Clone);
  FZadEdevAziPager->FKeyTipPage = this;
}

void TAdvPage::KeyTipUsed() {
  if (FZadEdevAziPager != nullptr) FZadEdevAziPager->RestoreFocusedControl();
}

void TAdvPage::FocusPagerTabs() {
  TZadEdevAziPager* p = FZadEdevAziPager;
  if (p == nullptr) return;
  p->SetChangeByKeyPress(true);
  if (p->CanFocus()) p->SetFocus();
}

void TAdvPage::HideFloatingRibbon() {
  // Safe from a key handler inside the pop-up: the pager frees it later.
  if (FZadEdevAziPager != nullptr) FZadEdevAziPager->HideFloatingRibbon();
}

void TAdvPage::CompactWindowClosed(TAdvGlowButton* Button) {
  if (FZadEdevAziPager == nullptr) return;
  FZadEdevAziPager->SetLastDroppedCompactBtn(Button);
  FZadEdevAziPager->DropDownCompactButtonAtCursor();
}


}  // namespace ribbon
