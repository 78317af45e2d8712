// Compact mode: a toolbar on a ribbon page collapses into one large glow
// button whose click opens the compact window with a clone holding the
// toolbar's controls; expanding brings the controls back.
#include <algorithm>

#include "controls/AdvGlowButton.h"
#include "platform/vcl/Monitors.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/CompactWindow.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

TControl* CompactItemAt(TDbgList* L, Integer i) { return static_cast<TControl*>(L->Items(i)); }

std::vector<TControl*> ListOf(TDbgList* L) {
  std::vector<TControl*> v;
  if (L != nullptr)
    for (Integer i = 0; i < L->Count(); ++i) v.push_back(CompactItemAt(L, i));
  return v;
}

void AssignOrder(TDbgList* L, const std::vector<TControl*>& Order) {
  L->Clear();
  for (TControl* c : Order) L->Add(c);
}

TCustomForm* ParentFormOf(TControl* C) {
  for (TWinControl* p = C->Parent(); p != nullptr; p = p->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(p); f != nullptr && p->ClassName() != u"TCompactWindow") return f;
  return nullptr;
}

// Sets fields for the life of the scope and gives them back.
struct TTempTrue {
  bool& A;
  bool& B;
  bool OldA, OldB;
  TTempTrue(bool& a, bool& b) : A(a), B(b), OldA(a), OldB(b) { A = B = true; }
  ~TTempTrue() {
    A = OldA;
    B = OldB;
  }
};

}  // namespace

Integer TAdvCustomToolBar::GetCompactWidth() {
  if (!OnPage()) return Width();
  if (FCompactBtn == nullptr || FCompactCaption.empty()) return FCompactMinWidth;
  TPoint size{0, 0};
  FCompactBtn->CalcSizeForState(bsLarge, size);
  return std::max(size.X, FCompactMinWidth);
}

Integer TAdvCustomToolBar::GetExpandedWidth() {
  if (!FCompact || !OnPage() || FSelfClone == nullptr) return Width();
  if (FOldAutoPosition && FOldAutoSize && !FCompactSmallest) {
    // The clone measures itself while it shrinks, as the expanded toolbar would.
    TTempTrue measure(FSelfClone->FAutoPositionControls, FSelfClone->FAutoSize);
    FSelfClone->ShrinkAllButtons();
    FCompactSmallest = true;
  }
  return FSelfClone->Width();
}

void TAdvCustomToolBar::SetCompactCaption(const String& Value) {
  if (FCompactCaption == Value) return;
  FCompactCaption = Value;
  if (FCompactBtn != nullptr && FCompactBtn->Caption() != Value) FCompactBtn->SetCaption(Value);
}

void TAdvCustomToolBar::UpdateCompactButtonAppearance() {
  if (!FCompact || FCompactBtn == nullptr) return;
  if (TCustomZadEdevAziStyler* s = Styler()) FCompactBtn->Appearance()->Assign(s->CompactGlowButtonAppearance());
}

void TAdvCustomToolBar::ChangeCompact(bool Compact) {
  if (Compact == FCompact || !OnPage() || !FPropertiesLoaded || FCompactMode) return;
  if (Compact) {
    FCompactChanging = true;
    FOrderBeforeCompact = ListOf(FATBControls.get());
    FOldAutoPosition = FAutoPositionControls;
    FOldAutoSize = FAutoSize;
    FOldAutoArrangeButtons = FAutoArrangeButtons;
    SetAutoPositionControls(false);
    SetAutoSize(false);
    SetAutoArrangeButtons(false);

    if (FCompactWindow == nullptr) {
      auto* w = new TCompactWindow(this);
      w->AfterConstruction();
      if (!Name().empty()) w->SetName(Name() + u"_CompactWindow");
      w->SetBorderIcons({});
      w->SetBorderStyle(bsNone);
      w->SetFormStyle(fsStayOnTop);
      w->SetVisible(false);
      w->SetBounds(0, 0, 30, 30);
      w->SetParent(this);
      w->OnCloseQuery = OnCompactCloseQuery;
      if (TCustomForm* f = ParentFormOf(this)) w->Font()->Assign(f->Font());
      FCompactWindow = w;
    }
    if (FSelfClone == nullptr) {
      auto* clone = new TAdvCustomToolBar(FCompactWindow);
      if (!Name().empty()) clone->SetName(Name() + u"_SelfClone");
      clone->SetParent(FCompactWindow);
      clone->FSelfClone = this;
      FSelfClone = clone;
      if (OnDblClick) clone->OnDblClick = OnDblClick;
      if (OnKeyPress) clone->OnKeyPress = OnKeyPress;
      if (OnKeyDown) clone->OnKeyDown = OnKeyDown;
      if (OnKeyUp) clone->OnKeyUp = OnKeyUp;
    }
    FCompactWindow->SetZadEdevAzi(FSelfClone);
    FCompactWindow->SetWindowSize();
    UpdateSelfClone(true);
    SetBounds(Left(), Top(), GetCompactWidth(), Height());

    auto* b = new TAdvGlowButton(this);
    FCompactBtn = b;
    b->SetFocusType(ftNone);
    b->SetPicture(FICompactPicture.get());
    if (FICompactPicture->Empty() && FImages != nullptr && FCompactImageIndex >= 0) {
      b->SetImages(FImages);
      b->SetImageIndex(FCompactImageIndex);
    }
    b->SetCaption(FCompactCaption);
    b->SetWideCaption(FWideCompactCaption);
    b->SetLayout(blGlyphTop);
    b->SetParent(this);
    b->SetBounds(0, 0, GetCompactWidth(), Height());
    b->SetVisible(true);
    if (TCustomZadEdevAziStyler* s = Styler()) b->Appearance()->Assign(s->CompactGlowButtonAppearance());
    if (PagerUsesTones())
      if (IToolBarPage* page = GetPage())
        if (TGlowButtonAppearance* a = page->PagerGlowButtonAppearance()) {
          TGlowButtonAppearance* c = b->Appearance();
          c->SetColor(a->Color());
          c->SetColorTo(clNone);
          c->SetColorMirror(clNone);
          c->SetColorMirrorTo(clNone);
          c->SetColorHot(a->ColorHot());
          c->SetColorHotTo(a->ColorHotTo());
          c->SetColorMirrorHot(a->ColorMirrorHot());
          c->SetColorMirrorHotTo(a->ColorMirrorHotTo());
          c->SetBorderColorHot(a->BorderColorHot());
          c->SetColorCheckedTo(clNone);
          c->SetColorMirrorChecked(clNone);
          c->SetColorMirrorCheckedTo(clNone);
          if (!a->SystemFont()) b->Font()->SetColor(a->TextColor());
        }
    b->SetDropDownButton(true);
    b->SetDropDownPosition(dpBottom);
    b->SetDropDownSplit(false);
    b->OfficeHint()->Assign(FOfficeHint.get());
    b->OnClick = [this](TObject* Sender) { CompactButtonClick(Sender); };
    b->SetStyle(bsCheck);
    b->SetShortCutHint(FCompactShortCutHint);
    b->SetShortCutHintPos(shpBelowBottomCenter);
    SetBounds(Left(), Top(), GetCompactWidth(), Height());
    FCompactChanging = false;
    FCompact = true;
    Invalidate();
    return;
  }

  HideCompactWindow();
  FCompactChanging = true;
  const std::vector<TControl*> cloneOrder = ListOf(FSelfClone != nullptr ? FSelfClone->FATBControls.get() : nullptr);
  SetBounds(Left(), Top(), GetExpandedWidth(), Height());
  if (FSelfClone != nullptr) SetShowCaption(FSelfClone->ShowCaption());
  SetAutoPositionControls(false);
  SetAutoSize(false);
  SetAutoArrangeButtons(false);
  if (FCompactBtn != nullptr) {
    FCompactBtn->SetVisible(false);
    TAdvGlowButton* b = FCompactBtn;
    FCompactBtn = nullptr;
    delete b;  // a control is freed by its parent
  }
  if (FSelfClone != nullptr) {
    TCustomZadEdevAziStyler* external = FToolBarStyler;
    while (FSelfClone->ControlCount() > 0) {
      TControl* c = FSelfClone->Controls(0);
      auto* glow = dynamic_cast<TAdvGlowButton*>(c);
      const bool down = glow != nullptr && glow->Down();
      const Integer l = c->Left(), t = c->Top();
      c->SetParent(this);
      if (glow != nullptr) {
        if (external != nullptr) {
          glow->Appearance()->SetSystemFont(external->GlowButtonAppearance()->SystemFont());
          glow->Font()->SetColor(glow->Appearance()->SystemFont() ? clWindowText : glow->Appearance()->TextColor());
        }
        glow->SetDown(false);
        if (down) glow->SetDown(true);
      }
      c->SetBounds(l, t, c->Width(), c->Height());
    }
  }
  // The order from before compacting, then what joined the clone meanwhile
  // in the clone's order; a control freed meanwhile is not in the list and
  // is passed over by address.
  std::vector<TControl*> order;
  auto listed = [this](TControl* c) { return FATBControls->IndexOf(c) >= 0; };
  for (TControl* c : FOrderBeforeCompact)
    if (listed(c) && std::find(order.begin(), order.end(), c) == order.end()) order.push_back(c);
  for (TControl* c : cloneOrder)
    if (listed(c) && std::find(order.begin(), order.end(), c) == order.end()) order.push_back(c);
  if (Integer(order.size()) == FATBControls->Count()) AssignOrder(FATBControls.get(), order);
  FOrderBeforeCompact.clear();
  if (FCompactWindow != nullptr) {
    if (FSelfClone != nullptr) {
      FSelfClone->SetToolBarStyler(nullptr);
      FSelfClone->FSelfClone = nullptr;
    }
    TCompactWindow* w = FCompactWindow;
    FCompactWindow = nullptr;
    FSelfClone = nullptr;
    delete w;  // frees the clone with it
  }
  FCompact = false;
  SetAutoArrangeButtons(FOldAutoArrangeButtons);
  SetAutoSize(FOldAutoSize);
  SetAutoPositionControls(FOldAutoPosition);
  FCompactChanging = false;
  ArrangeControls(true);
  Invalidate();
}

void TAdvCustomToolBar::UpdateSelfClone(bool AMoveControls) {
  TAdvCustomToolBar* clone = FSelfClone;
  if (clone == nullptr) return;
  clone->SetToolBarStyler(FToolBarStyler);
  clone->FAutoPositionControls = false;
  clone->FAutoSize = false;
  clone->SetAutoArrangeButtons(false);
  clone->SetAllowFloating(FAllowFloating);
  clone->SetAutoOptionMenu(FAutoOptionMenu);
  clone->SetCaption(FCaption);
  clone->SetCaptionFont(FCaptionFont.get());
  clone->SetCaptionHeight(FCaptionHeight);
  clone->SetCaptionPosition(FCaptionPosition);
  clone->SetCaptionAlignment(FCaptionAlignment);
  clone->SetShowRightHandle(FShowRightHandle);
  clone->SetShowClose(FShowClose);
  clone->SetShowOptionIndicator(FShowOptionIndicator);
  clone->SetEnabled(Enabled());
  clone->SetImages(FImages);
  clone->SetDisabledImages(FDisabledImages);
  clone->SetMenu(FMenu);
  clone->SetShowHint(ShowHint());
  clone->Font()->Assign(Font());
  clone->FOptionMenu = FOptionMenu;
  IToolBarPage* page = GetPage();
  if (FParentOptionPicture && page != nullptr && page->HasPager()) {
    clone->SetOptionPicture(page->PagerOptionPicture(false));
    clone->SetOptionDisabledPicture(page->PagerOptionPicture(true));
  } else {
    clone->SetOptionPicture(FIOptionPicture.get());
    clone->SetOptionDisabledPicture(FIOptionDisabledPicture.get());
  }
  clone->SetParentOptionPicture(false);
  clone->OnOptionClick = OnOptionClick;
  if (!AMoveControls) return;

  const std::vector<TControl*> order = ListOf(FATBControls.get());
  clone->SetBounds(clone->Left(), clone->Top(), Width(), Height());
  clone->SetShowCaption(FShowCaption);
  SetShowCaption(false);
  std::vector<TControl*> children;
  for (Integer i = 0; i < ControlCount(); ++i)
    if (Controls(i)->ClassName() != u"TCompactWindow") children.push_back(Controls(i));
  for (TControl* c : children) {
    auto* glow = dynamic_cast<TAdvGlowButton*>(c);
    const bool styled = glow != nullptr && FToolBarStyler != nullptr;
    const bool down = styled && glow->Down();
    const Integer l = c->Left(), t = c->Top();
    c->SetParent(clone);
    c->SetTop(t);
    c->SetLeft(l);
    if (styled) {
      const bool sys = FToolBarStyler->GlowButtonAppearance()->SystemFont();
      glow->Appearance()->SetSystemFont(sys);
      glow->Font()->SetColor(sys ? clWindowText : FToolBarStyler->GlowButtonAppearance()->TextColor());
      glow->SetDown(down);
    }
  }
  if (clone->FATBControls->Count() == Integer(order.size())) AssignOrder(clone->FATBControls.get(), order);
  if (!clone->FCtrlVisList) clone->FCtrlVisList = std::make_unique<TDbgList>();
  clone->FCtrlVisList->Clear();
  // One entry per control: non-null for a visible one.
  for (Integer i = 0; i < clone->ToolBarControlCount(); ++i)
    clone->FCtrlVisList->Add(clone->GetToolBarControls(i)->Visible() ? clone : nullptr);
}

void TAdvCustomToolBar::CompactButtonClick(TObject* Sender) {
  if (!FCompact || FCompactWindow == nullptr || FSelfClone == nullptr) return;
  TCompactWindow* w = FCompactWindow;
  TAdvCustomToolBar* clone = FSelfClone;
  w->SetScaled(false);
  w->SetPixelsPerInch(ToolBarPPI);
  bool sizesChanged = false;
  if (FOldAutoPosition && FOldAutoSize && OnPage() && FCompactSmallest) {
    clone->BuildSequenceList(clone->FSeqControlList.get(), true);
    clone->SetAutoPositionControls(FOldAutoPosition);
    clone->SetAutoSize(FOldAutoSize);
    clone->GrowAllButtons();
    FCompactSmallest = false;
    sizesChanged = true;
  }
  if (FOldAutoPosition && OnPage() && clone->FCtrlVisList) {
    bool same = clone->FCtrlVisList->Count() == clone->ToolBarControlCount();
    for (Integer i = 0; same && i < clone->ToolBarControlCount(); ++i)
      same = (clone->FCtrlVisList->Items(i) != nullptr) == clone->GetToolBarControls(i)->Visible();
    if (!same) {
      clone->FCtrlVisList->Clear();
      for (Integer i = 0; i < clone->ToolBarControlCount(); ++i)
        clone->FCtrlVisList->Add(clone->GetToolBarControls(i)->Visible() ? clone : nullptr);
      const bool old = clone->FAutoPositionControls;
      clone->FAutoPositionControls = true;
      clone->ArrangeControls(FOldAutoSize);
      clone->FAutoPositionControls = old;
    }
  }
  const TPoint at = Parent() != nullptr ? Parent()->ClientToScreen(TPoint{Left(), Top() + Height() + 1})
                                        : TPoint{Left(), Top() + Height() + 1};
  TRect work = Screen != nullptr ? Screen->WorkAreaRect() : TRect{};
  if (HMONITOR m = MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST)) {
    MONITORINFO info;
    if (GetMonitorInfo(m, &info)) work = info.rcWork;
  }
  if (TCustomForm* f = ParentFormOf(this)) w->Font()->Assign(f->Font());
  w->SetDropDownButton(dynamic_cast<TAdvGlowButton*>(Sender));
  auto size = [&] {
    const bool old = clone->FAutoSize;
    clone->FAutoSize = true;
    clone->UpdateGlowButtonSizes();
    clone->UpdateSize();
    clone->FAutoSize = old;
    w->SetWindowSize();
  };
  size();
  TPoint p = at;
  if (p.X + w->Width() > work.Right && p.X >= work.Left && p.X < work.Right) p.X = work.Right - w->Width();
  w->SetLeft(p.X);
  w->SetTop(p.Y);
  const Integer width = w->Width(), height = w->Height();
  // In the floating ribbon, the compact window taking the activation must
  // not make the pop-up that holds the toolbar hide.
  IToolBarPage* page = GetPage();
  const bool floating = page != nullptr && page->InFloatingRibbon();
  const bool hideAfter = floating && page->FloatingRibbonCanHide();
  if (floating) page->SetFloatingRibbonHideOnDeActivate(false);
  w->SetBounds(w->Left(), w->Top(), 1, 1);
  DoCompactShow();
  w->SetVisible(true);
  w->SetBounds(p.X, p.Y, width, height);
  if (sizesChanged) size();
  w->SetRoundRegion();
  if (floating) page->SetFloatingRibbonHideOnDeActivate(hideAfter);
}

void TAdvCustomToolBar::HideCompactWindow() {
  if (FCompactWindow != nullptr && FCompact && FCompactWindow->Visible()) FCompactWindow->Hide();
}

void TAdvCustomToolBar::PostCompactWinHide() {
  if (HandleAllocated() && WM_TBCOMPACTWINHIDE != 0) PostMessage(Handle(), WM_TBCOMPACTWINHIDE, 0, 0);
}

void TAdvCustomToolBar::CompactWindowClosed() {
  if (ComponentState().Contains(csDesigning) || Parent() == nullptr) return;
  // On the clone: the page toolbar's compact button opened the window.
  TAdvCustomToolBar* pageToolBar = OnCompactWindow() && FSelfClone != nullptr ? FSelfClone : this;
  if (IToolBarPage* page = pageToolBar->GetPage(); page != nullptr && page->HasPager())
    page->CompactWindowClosed(pageToolBar->FCompactBtn);
}

void TAdvCustomToolBar::UpdateControlsVisibility() {
  if (FInternalControlPositioning || !FCompact || FSelfClone == nullptr || IsLoadingOrDestroying() ||
      !FOldAutoPosition || !FOldAutoSize || !OnPage() || FCompactChanging || FSelfClone->FCompactChanging ||
      !FCompactSmallest)
    return;
  FSelfClone->BuildSequenceList(FSelfClone->FSeqControlList.get(), true);
  FSelfClone->SetAutoPositionControls(FOldAutoPosition);
  FSelfClone->SetAutoSize(FOldAutoSize);
  if (Parent() != nullptr) Parent()->Perform(WM_SIZE, 0, 0);
}

void TZadEdevAzi::SetCompact(bool Value) {
  if (Value == FCompact || !OnPage()) return;
  if (Value) {
    ChangeCompact(true);
    // Held only when it did collapse (a toolbar not loaded yet stays free).
    FCompactMode = FCompact;
  } else {
    FCompactMode = false;
    ChangeCompact(false);
  }
  if (IToolBarPage* page = GetPage()) page->UpdateAllToolBars();
}

}  // namespace toolbar
