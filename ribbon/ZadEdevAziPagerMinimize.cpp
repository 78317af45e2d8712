// The pager minimised and expanded: the expand/collapse button, the
// floating ribbon that shows the active page while minimised, the place of
// the quick-access toolbar (caption row or below the ribbon), the ribbon
// form's hide state and the saved state.
#include <algorithm>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/Application.h"
#include "platform/win/Module.h"
#include "ribbon/AdvPage.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "ribbon/MinimizedRibbonWindow.h"
#include "ribbon/PagerButtonLayout.h"
#include "ribbon/ZadEdevAziForm.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

namespace {

const TRect NoPlaceRect{-1, -1, -1, -1};

// A stored flag: only 0 and 1 are believed.
bool StoredFlagIsSet(Integer V) { return V == 1; }

}  // namespace

// ---------------------------------------------------------------------------
// Minimising and expanding

void TZadEdevAziPager::Collaps() { SetExpandedState(false); }
void TZadEdevAziPager::Expand() { SetExpandedState(true); }

void TZadEdevAziPager::SetExpandedState(bool Expand) {
  if (Expand && !FExpanded) {
    HideFloatingRibbon();
    // Expanded, the page shows its own toolbars: a pop-up kept by a veto
    // would hold them, so it goes regardless.
    DestroyMinimizedRibbonWindow();
    Integer h = FExpandedHeight;
    if (ShowQATBelow()) h += GetQATHeight();
    FExpanded = true;
    SetBounds(Left(), Top(), Width(), h);
    if (OnExpand) OnExpand(this);
  } else if (!Expand && FExpanded) {
    FExpandedHeight = Height();
    Integer h = GetPageRect().Top;
    if (ShowQATBelow()) {
      h += GetQATHeight();
      FExpandedHeight -= GetQATHeight();
    }
    FExpanded = false;
    SetBounds(Left(), Top(), Width(), h);
    if (OnCollaps) OnCollaps(this);
  }
  // Everything placed afresh for the new height.
  if (Expand) {
    FullLayout();
    if (TAdvPage* a = ActivePage()) a->Invalidate();
  }
  LoadExpandCollapsPicture();
  Invalidate();
}

// ---------------------------------------------------------------------------
// The floating ribbon

void TZadEdevAziPager::CreateMinimizedRibbonWindow() {
  TAdvPage* active = ActivePage();
  if (active == nullptr) return;
  if (FMinimizedRibbonWindow == nullptr) {
    auto* w = new TMinimizedRibbonWindow(this);
    w->AfterConstruction();
    if (!Name().empty()) w->SetName(Name() + u"_RibbonWindow");
    w->SetBorderIcons({});
    w->SetBorderStyle(bsNone);
    w->SetFormStyle(fsStayOnTop);
    w->SetVisible(false);
    w->SetBounds(0, 0, 0, 0);
    // The window stays a pop-up (see its CreateParams).
    w->SetParent(this);
    w->SetZadEdevAziPager(this);
    w->SetDoubleBuffered(true);
    w->OnCloseQuery = [](TObject*, bool& CanClose) { CanClose = true; };
    w->OnHide = [this](TObject* Sender) { RibbonWindowHidden(Sender); };
    w->OnClose = [](TObject*, TCloseAction&) {};
    if (FCurrentToolBarStyler != nullptr) w->SetColor(FCurrentToolBarStyler->PagerCaption()->BorderColor());
    FMinimizedRibbonWindow = w;
  }
  if (FMinimizedRibbonWindow->AdvPage() == nullptr)
    FMinimizedRibbonWindow->SetAdvPage(active->CreateSelfClone(FMinimizedRibbonWindow));
}

void TZadEdevAziPager::DestroyMinimizedRibbonWindow() {
  TMinimizedRibbonWindow* w = FMinimizedRibbonWindow;
  if (w == nullptr) return;
  FMinimizedRibbonWindow = nullptr;
  w->HideTimer()->SetEnabled(false);
  // The toolbars go back to the page the clone stands for, their compact
  // windows closed (they would stay open over nothing).
  if (TAdvPage* clone = w->AdvPage())
    if (TAdvPage* page = clone->SelfClone(); page != nullptr && page->SelfClone() == clone) {
      page->HideCompactWindowOfZadEdevAzis();
      page->FreeSelfClone();
    }
  w->SetAdvPage(nullptr);
  w->SetZadEdevAziPager(nullptr);
  w->OnHide = nullptr;
  // The name is free at once for the next pop-up, though this one lives on
  // until its release.
  w->SetName(u"");
  if (FDestroying || !w->HandleAllocated()) {
    delete w;
  } else {
    // The request may come from inside the window's own timer or key
    // event: it is hidden now and freed once that event has returned.
    if (w->Visible()) w->Hide();
    w->Release();
  }
  if (!FDestroying) LoadExpandCollapsPicture();
}

void TZadEdevAziPager::ShowFloatingRibbon() {
  // Only a minimised ribbon floats its page.
  if (ActivePage() == nullptr || FExpanded || FDestroying) return;
  CreateMinimizedRibbonWindow();
  TMinimizedRibbonWindow* w = FMinimizedRibbonWindow;
  if (w == nullptr) return;
  w->SetWindowSize();
  const Integer width = w->Width(), height = w->Height();
  w->SetBounds(w->Left(), w->Top(), 1, 1);
  w->SetVisible(true);
  const TPoint p = ClientToScreen(TPoint{GetPageRect().Left - 2, GetTabsArea().Bottom});
  w->SetBounds(p.X, p.Y, width, height);
  LoadExpandCollapsPicture();
}

void TZadEdevAziPager::HideFloatingRibbon() {
  if (FMinimizedRibbonWindow == nullptr) return;
  bool canHide = true;
  if (OnFloatingRibbonHide) OnFloatingRibbonHide(this, canHide);
  if (!canHide) return;
  DestroyMinimizedRibbonWindow();
}

bool TZadEdevAziPager::IsFloatingRibbonShowing() const {
  return FMinimizedRibbonWindow != nullptr && FMinimizedRibbonWindow->Visible() && !FExpanded;
}

void TZadEdevAziPager::RibbonWindowHidden(TObject*) { LoadExpandCollapsPicture(); }

// ---------------------------------------------------------------------------
// The expand/collapse button

void TZadEdevAziPager::SetShowExpandCollapsButton(bool Value) {
  if (FShowExpandCollapsButton == Value) return;
  FShowExpandCollapsButton = Value;
  UpdateExpandCollapseButton();
}

void TZadEdevAziPager::UpdateExpandCollapseButton() {
  if (!FShowExpandCollapsButton) {
    if (TAdvGlowButton* b = FExpCollapsBtn) {
      FExpCollapsBtn = nullptr;
      delete b;
    }
    return;
  }
  if (FExpCollapsBtn == nullptr) {
    auto* b = new TAdvGlowButton(this);
    b->SetParent(this);
    b->SetCaption(u"");
    b->SetTransparent(true);
    b->OnClick = [](TObject*) {};
    b->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
      ExpandCollapseMouseUp(S, B, Sh, X, Y);
    };
    FExpCollapsBtn = b;
  }
  if (FCurrentToolBarStyler != nullptr) FExpCollapsBtn->Appearance()->Assign(FCurrentToolBarStyler->GlowButtonAppearance());
  LoadExpandCollapsPicture();
  const TRect r = GetExpandCollapseButtonRect();
  FExpCollapsBtn->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  FExpCollapsBtn->BringToFront();
}

TRect TZadEdevAziPager::GetExpandCollapseButtonRect() const {
  if (!FShowExpandCollapsButton) return NoPlaceRect;
  // The help button's square at the right end of the tab area (left of the
  // MDI buttons when they show): the button stands just left of it, or in
  // its place when there is no help button.
  Integer mdiLeft = -1;
  if (TZadEdevAziPager* p = MDIPager(); p != nullptr && FMDIButtonsVisible && FAutoMDIButtons)
    mdiLeft = p->GetMDIButtonsRect().Left;
  const TRect help = HelpButtonRect(GetTabsArea(), ButtonLook(), mdiLeft);
  if (!FShowHelpButton) return help;
  const Integer right = help.Left - 1;
  return TRect{right - help.Width(), help.Top, right, help.Bottom};
}

void TZadEdevAziPager::ExpandCollapseMouseUp(TObject*, TMouseButton, TShiftState, Integer, Integer) {
  // While the page floats, the click only takes the activation away from
  // the pop-up, which then hides; the next click expands.
  if (!FExpanded && IsFloatingRibbonShowing()) return;
  SetExpandedState(!FExpanded);
}

String TZadEdevAziPager::ExpandCollapsPictureName() const {
  String row = !FExpanded && IsFloatingRibbonShowing() ? u"NCH" : (FExpanded ? u"UP" : u"DOWN");
  String column = toolbar::ToolBarDPIScale >= 2 ? u"HD" : (FGroupStyle != gsClassic ? u"F" : u"");
  return u"ATBEC" + row + column + u"_BTN";
}

void TZadEdevAziPager::LoadExpandCollapsPicture() {
  if (!FShowExpandCollapsButton || FExpCollapsBtn == nullptr || FDestroying) return;
  FExpCollapsBtn->Picture()->LoadFromResourceName(HInstance(), ExpandCollapsPictureName());
  FExpCollapsBtn->Invalidate();
}

// ---------------------------------------------------------------------------
// The quick-access toolbar's place

TAdvQuickAccessToolBar* TZadEdevAziPager::QuickAccessToolBar() const {
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* q = dynamic_cast<TAdvQuickAccessToolBar*>(Controls(i)))
      if (!q->ComponentState().Contains(csDestroying)) return q;
  return nullptr;
}

Integer TZadEdevAziPager::GetQATHeight() const {
  if (Parent() != nullptr && dynamic_cast<TZadEdevAziForm*>(Parent()) != nullptr) return FCaption->Height() - 2;
  TAdvQuickAccessToolBar* q = QuickAccessToolBar();
  if (q == nullptr) return 32;
  // A toolbar made in code has no height until it is first placed: it
  // starts as on a ribbon form.
  return q->Height() > 0 ? q->Height() : FCaption->Height() - 2;
}

bool TZadEdevAziPager::ShowQATBelow() const {
  TAdvQuickAccessToolBar* q = QuickAccessToolBar();
  return q != nullptr && q->FullSize() && q->Visible();
}

void TZadEdevAziPager::SetShowQATBelow(bool Value) {
  TAdvQuickAccessToolBar* q = QuickAccessToolBar();
  if (q == nullptr || Value == ShowQATBelow()) return;
  if (q->Visible() && FQATRoom != Value) {
    const Integer h = GetQATHeight();
    FQATRoom = Value;
    SetBounds(Left(), Top(), Width(), Height() + (Value ? h : -h));
  }
  q->SetFullSize(Value);
  FLastQATBelow = ShowQATBelow();
  UpdatePagesBounds();
  if (FIsAeroVista && Parent() != nullptr) {
    // The glass frame is drawn again for the new height.
    TWinControl* p = Parent();
    p->SetBounds(p->Left(), p->Top(), p->Width() - 1, p->Height());
    p->SetBounds(p->Left(), p->Top(), p->Width() + 1, p->Height());
  }
}

void TZadEdevAziPager::QATVisibilityChanged() {
  TAdvQuickAccessToolBar* q = QuickAccessToolBar();
  if (q == nullptr || FDestroying) return;
  // Hidden by the form's hide state, it comes back where it was.
  if (!FHideState) FLastQATBelow = ShowQATBelow();
  if (!q->FullSize()) return;
  const bool room = q->Visible();
  if (room == FQATRoom) return;
  FQATRoom = room;
  const Integer h = GetQATHeight();
  SetBounds(Left(), Top(), Width(), Height() + (room ? h : -h));
}

TRect TZadEdevAziPager::GetQATRect() const {
  TAdvQuickAccessToolBar* q = QuickAccessToolBar();
  return GetQATRect(q != nullptr && q->FullSize());
}

TRect TZadEdevAziPager::GetQATRect(bool Below) const {
  if (QuickAccessToolBar() == nullptr) return NoPlaceRect;
  const Integer q = GetQATHeight();
  const bool scenic = FWin7ScenicRibbon;
  if (Below) {
    const TRect C = ClientRect();
    if (IsOnGlass(false) && scenic) return TRect{C.Left, C.Bottom - q, C.Right, C.Bottom};
    return TRect{C.Left + 2, C.Bottom - q, C.Right - 2, C.Bottom};
  }
  if (!FCaption->Visible()) return NoPlaceRect;
  // The room kept free on the right: the caption text's, and the caption
  // buttons' (made with the layout; on glass the form's own buttons).
  Integer f = FCaption->MinWidth();
  if (!FCaptionButtons.Empty() &&
      (FIsAeroVista || (FCaptionCloseBtn != nullptr && FCaptionMinBtn != nullptr && FCaptionMaxBtn != nullptr))) {
    // The buttons exist, so the query makes nothing.
    const TRect b = const_cast<TZadEdevAziPager*>(this)->GetCaptionButtonsRect();
    if (b.Left >= 0) f += Width() - b.Left + 2;
  }
  f = std::min<Integer>(f, Width());
  const TRect K = GetCaptionRect();
  TRect r;
  if (!scenic && !FItones)
    r = TRect{FDefTabMargin - 6, K.Bottom - q, Width() - f, K.Bottom};
  else if (IsShadedGlassTabs())
    r = TRect{7, K.Bottom - q + 5, Width() - f, K.Bottom};
  else
    r = TRect{5, K.Bottom - q, Width() - f, K.Bottom};
  if (!ComponentState().Contains(csDesigning) && !FHideState) {
    // The tab groups past the first two tabs rise into the caption row: the
    // toolbar ends where the first of them begins, keeping 60 pixels.
    Integer g = -1;
    for (Integer i = 0; i < FTabGroups->Count(); ++i) {
      if (FTabGroups->Items(i)->TabIndexStart() <= 1) continue;
      bool shown = true, whole = true;
      const TRect gr = GetTabGroupRect(i, shown, whole);
      if (!shown) continue;
      if (g < 0 || gr.Left < g) g = gr.Left;
    }
    if (g > 0 && g < r.Right) r.Right = g - r.Left < 60 ? r.Left + 60 : g;
  }
  return r;
}

// ---------------------------------------------------------------------------
// The ribbon form's hide state

void TZadEdevAziPager::SetHideState(bool Hide) {
  if (Hide == FHideState) return;
  FHideState = Hide;
  if (Hide) {
    // The tab row goes: a page floating under it would be left behind.
    DestroyMinimizedRibbonWindow();
    FOldHeight = Height();
    if (TAdvQuickAccessToolBar* q = QuickAccessToolBar()) {
      FQATOldVisible = q->Visible() ? 1 : 0;
      q->SetVisible(false);
    }
    SetBounds(Left(), Top(), Width(), FCaption->Height());
    if (TControl* b = FindAppButton()) {
      FShapeBtnOldVisible = b->Visible() ? 1 : 0;
      b->SetVisible(false);
    }
  } else {
    if (TAdvQuickAccessToolBar* q = QuickAccessToolBar(); q != nullptr && (FQATOldVisible == 0 || FQATOldVisible == 1))
      q->SetVisible(FQATOldVisible == 1);
    SetBounds(Left(), Top(), Width(), FOldHeight);
    if (TControl* b = FindAppButton(); b != nullptr && (FShapeBtnOldVisible == 0 || FShapeBtnOldVisible == 1))
      b->SetVisible(FShapeBtnOldVisible == 1);
  }
  Invalidate();
}

// ---------------------------------------------------------------------------
// Saved state

void TZadEdevAziPager::SaveState() {
  if (!FPersistence->Enabled() || ComponentState().Contains(csDesigning)) return;
  std::unique_ptr<TCustomIniFile> ini = toolbar::OpenPersistenceStore(*FPersistence);
  if (!ini) return;
  const String& sec = FPersistence->Section();
  ini->WriteInteger(sec, u"Minimized", FExpanded ? 0 : 1);
  // The toolbar may have gone before the pager (the form frees it first):
  // then its last placement is what the user left.
  const bool below = QuickAccessToolBar() != nullptr ? ShowQATBelow() : FLastQATBelow;
  ini->WriteInteger(sec, u"ShowQATBelow", below ? 1 : 0);
  // Written now, so that a failure reaches the caller rather than vanishing
  // in the store's own destructor.
  ini->UpdateFile();
}

void TZadEdevAziPager::LoadState() {
  if (!FPersistence->Enabled() || ComponentState().Contains(csDesigning)) return;
  std::unique_ptr<TCustomIniFile> ini = toolbar::OpenPersistenceStore(*FPersistence);
  if (!ini) return;
  const String& sec = FPersistence->Section();
  // A stored layout is outside data: only 1 changes anything (0 never
  // expands or moves the toolbar up; other numbers are not believed).
  if (StoredFlagIsSet(ini->ReadInteger(sec, u"Minimized", FExpanded ? 0 : 1))) Collaps();
  if (StoredFlagIsSet(ini->ReadInteger(sec, u"ShowQATBelow", ShowQATBelow() ? 1 : 0))) SetShowQATBelow(true);
}

}  // namespace ribbon
