#include "toolbar/AdvToolBar.h"
#include "toolbar/ZadEdevAziCustomizer.h"

#include <algorithm>

#include "controls/DBAdvGlowButton.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/HintWindow.h"
#include "toolbar/AdvGlowMenuButton.h"
#include "toolbar/CompactWindow.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/OptionSelector.h"
#include "toolbar/ZadEdevAziOfficeStyler.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

TControl* Item(const TDbgList* L, Integer I) { return static_cast<TControl*>(L->Items(I)); }

bool ClassIs(const TObject* O, StringView Name) { return O != nullptr && O->ClassName() == Name; }

}  // namespace

// ---------------------------------------------------------------------------
// Construction and destruction

TAdvCustomToolBar::TAdvCustomToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
  TControlStyle cs = ControlStyle();
  cs.Include(csAcceptsControls);
  cs.Exclude(csOpaque);
  SetControlStyle(cs);
  FAutoSize = true;
  FAutoPositionControls = true;
  SetHeight(26);
  FMinLength = 60;
  Constraints()->SetMinWidth(60);
  FOwner = AOwner;
  FAntiAlias = aaClearType;

  FInternalToolBarStyler = std::make_unique<TCustomZadEdevAziStyler>(nullptr);
  FInternalToolBarStyler->SetName(u"InternalStyler");
  FInternalToolBarStyler->CaptionFont()->SetHeight(-11);
  FToolBarStyler = nullptr;
  FCurrentToolBarStyler = FInternalToolBarStyler.get();
  FInternalToolBarStyler->AddControl(this);

  FInitPPI = 96;
  FATBControls = std::make_unique<TDbgList>();
  FRUControls = std::make_unique<TDbgList>();
  FLUHidedControls = std::make_unique<TDbgList>();
  FAutoRUL = true;
  FSeqControlList = std::make_unique<TDbgList>();

  FParentStyler = true;
  FDragGripWidth = 7;
  FPopupIndicatorWidth = 14;
  FPosition = daTop;
  FRow = -1;
  FToolBarState = tsDocked;
  FCaptionFont = std::make_unique<TFont>();
  FCaptionFont->OnChange = [this](TObject*) { Invalidate(); };

  FShowPopupIndicator = true;
  FShowOptionIndicator = true;
  FShowClose = true;
  FCaptionHeight = ScaledSize16;
  FFloatingRows = 1;
  FSizeAtDock = Height();
  FShowRightHandle = true;
  FMaxLength = Constraints()->MinWidth();

  FPersistence = std::make_unique<TPersistence>(this);
  FPersistence->SetSection(u"UnDockedZadEdevAzis");

  Constraints()->SetMaxWidth(Constraints()->MinWidth());
  SetShowHint(true);
  SetDoubleBuffered(true);

  FMenuItemTimer = new TTimer(this);  // owned as a component
  FMenuItemTimer->SetEnabled(false);
  FMenuItemTimer->SetInterval(1);

  FIOptionPicture = std::make_unique<TGDIPPicture>();
  FIOptionPicture->OnChange = [this](TObject*) { Invalidate(); };
  FIOptionDisabledPicture = std::make_unique<TGDIPPicture>();
  FIOptionDisabledPicture->OnChange = [this](TObject*) { Invalidate(); };
  FMDIChildMenuSL = std::make_unique<TStringList>();
  FMDIChildMenuList = std::make_unique<TList>();
  FICompactPicture = std::make_unique<TGDIPPicture>();
  FICompactPicture->OnChange = [this](TObject*) { Invalidate(); };
  FCompactMinWidth = Integer(Round(45 * double(ToolBarDPIScale)));
  FOfficeHint = std::make_unique<TAdvHintInfo>();
  FVornStyle = tsCustom;
}

TAdvCustomToolBar::~TAdvCustomToolBar() {
  FDestroying = true;
  Destroying();
  MenuBarDestroying();
  // A drag running below this destructor ends here; its loop sees that the
  // toolbar is gone.
  if (FDragging) EndDragging();
  KillFloatingTimer();
  // Saving the layout talks to a store that may fail; a destructor reports
  // that and goes on.
  if (FPersistence->Enabled()) {
    try {
      SavePosition();
    } catch (...) {
      try {
        if (Application != nullptr) Application->HandleException(this);
      } catch (...) {
      }
    }
  }
  UnregisterExternalStyler();
  FToolBarStyler = nullptr;
  FreeFloatingWindow();
  // The children go now, while the lists and the stylers they may read are
  // still whole (the window base would free them only after this body).
  // Each leaves this toolbar (and its owner's list) in its own destructor.
  // Hidden controls shown in the option popup go back first: they are the
  // toolbar's, not the popup's.
  if (FOptionWindow != nullptr) {
    RestoreAllHiddenControls();
    delete FOptionWindow;  // frees its panel
    FOptionWindow = nullptr;
    FOptionWindowPanel = nullptr;
  }
  while (ControlCount() > 0) delete Controls(ControlCount() - 1);  // a control is freed by its parent
  FATBControls->Clear();
  FRUControls->Clear();
  FLUHidedControls->Clear();
  // The stylers go last of all that may paint.
  FCurrentToolBarStyler = FInternalToolBarStyler.get();
  if (FStyleStyler) {
    FStyleStyler->RemoveControl(this);
    RemoveFreeNotification(FStyleStyler.get());
    FStyleStyler.reset();
  }
  FInternalToolBarStyler->RemoveControl(this);
  RemoveFreeNotification(FInternalToolBarStyler.get());
  FCurrentToolBarStyler = nullptr;
  FInternalToolBarStyler.reset();
}

String TAdvCustomToolBar::Version() const {
  const Integer v = GetVersionNr();
  return IntToStr((v >> 24) & 0xFF) + u"." + IntToStr((v >> 16) & 0xFF) + u"." + IntToStr((v >> 8) & 0xFF) + u"." +
         IntToStr(v & 0xFF);
}

bool TAdvCustomToolBar::IsLoadingOrDestroying() const {
  return ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying);
}

bool TAdvCustomToolBar::ParentIsClass(StringView Name) const {
  return Parent() != nullptr && Parent()->ClassName() == Name;
}

void TAdvCustomToolBar::Loaded() {
  TCustomControl::Loaded();
  FOldCursor = Cursor();
  BuildControlList();
  ArrangeControls(true);
  BuildSequenceList(FSeqControlList.get(), true);
  if (FPersistence->Enabled()) LoadPosition();
  if (FMenu != nullptr) {
    for (Integer i = 0; i < FATBControls->Count(); ++i)
      if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(Item(FATBControls.get(), i)); tc && tc->IsMenuButton())
        tc->AdjustSize();
    UpdateMenu();
  }
  // The link in the MDI form's window procedure is made now that the parents are known.
  if (FAutoMDIButtons) {
    FAutoMDIButtons = false;
    SetAutoMDIButtons(true);
  }
  ApplyStylerToControls();
  FPropertiesLoaded = true;
  if (IToolBarPage* page = GetPage(); page != nullptr && page->HasPager()) {
    FInitPPI = page->PagerPPI();
    SetParentStyler(FParentStyler);
    UpdateButtonRows();
  }
}

void TAdvCustomToolBar::CreateWnd() {
  TCustomControl::CreateWnd();
  SetUIStyle(FVornStyle);
}

// ---------------------------------------------------------------------------
// Styler

TCustomZadEdevAziStyler* TAdvCustomToolBar::Styler() const {
  TCustomZadEdevAziStyler* s = FCurrentToolBarStyler;
  if (s == nullptr || s->ComponentState().Contains(csDestroying)) s = FInternalToolBarStyler.get();
  return s;
}

void TAdvCustomToolBar::SetInternalStylerCurrent() { FCurrentToolBarStyler = FInternalToolBarStyler.get(); }

void TAdvCustomToolBar::UnregisterExternalStyler() {
  if (FToolBarStyler != nullptr && FToolBarStyler != FInternalToolBarStyler.get() &&
      FToolBarStyler != FStyleStyler.get())
    FToolBarStyler->RemoveControl(this);
}

IStyledControl* TAdvCustomToolBar::CompactClone() { return FCompact ? FSelfClone : nullptr; }

IToolBarPage* TAdvCustomToolBar::GetPage() const { return dynamic_cast<IToolBarPage*>(Parent()); }

bool TAdvCustomToolBar::PagerUsesTones() const {
  IToolBarPage* page = GetPage();
  return page != nullptr && page->HasPager() && page->PagerUsesTones();
}

void TAdvCustomToolBar::SetToolBarStyler(TCustomZadEdevAziStyler* Value) {
  if (Value != nullptr && Value == FToolBarStyler) return;
  UnregisterExternalStyler();
  FToolBarStyler = Value;
  // With ParentStyler the last dock panel's styler comes first; that step
  // belongs to the dock panel, which sets it when a toolbar docks.
  if (FParentStyler) {
    if (IToolBarPage* page = GetPage(); page != nullptr && page->HasPager())
      if (TCustomZadEdevAziStyler* s = page->PagerToolBarStyler()) FToolBarStyler = s;
  }
  if (FToolBarStyler != nullptr && FToolBarStyler->ComponentState().Contains(csDestroying)) FToolBarStyler = nullptr;
  if (FToolBarStyler != nullptr) {
    FCurrentToolBarStyler = FToolBarStyler;
    FToolBarStyler->AddControl(this);
    FToolBarStyler->FreeNotification(this);
  } else {
    SetInternalStylerCurrent();
  }
  if (Parent() != nullptr && !FDestroying) {
    AdjustMenuButtons(false);
    ApplyStylerToControls();
  }
}

void TAdvCustomToolBar::SetParentStyler(bool Value) {
  if (Value || Value != FParentStyler) {
    FParentStyler = Value;
    SetToolBarStyler(nullptr);
  }
}

void TAdvCustomToolBar::StylerChanged(Integer AKind) {
  TCustomZadEdevAziStyler* s = Styler();
  if (s == nullptr || FDestroying) return;
  SetColor(s->Color()->Color());
  switch (AKind) {
    case skGeneral:
    case skGlowButtons:
      ApplyStylerToControls();
      UpdateCompactButtonAppearance();
      break;
    case skDragGrip:
      ArrangeControls(true);
      UpdateHiddenControls();
      break;
    case skMenuStyler:
      if (!ComponentState().Contains(csLoading)) AdjustMenuButtons(true);
      break;
    default: break;
  }
  InvalidateContainers();
  Invalidate();
}

void TAdvCustomToolBar::ApplyStylerToControls() {
  TCustomZadEdevAziStyler* s = FCurrentToolBarStyler;
  if (s == nullptr || s == FInternalToolBarStyler.get() || s->ComponentState().Contains(csDestroying)) return;
  auto takeAppearance = [](TAdvCustomGlowButton* b, TGlowButtonAppearance* a) {
    b->Appearance()->Assign(a);
    if (a->TextColor() != clNone) b->Font()->SetColor(a->TextColor());
  };
  for (Integer i = 0; i < FATBControls->Count(); ++i) {
    TControl* c = Item(FATBControls.get(), i);
    auto* glow = dynamic_cast<TAdvCustomGlowButton*>(c);
    const bool menuOrDb = dynamic_cast<TAdvGlowMenuButton*>(c) != nullptr || dynamic_cast<TDBAdvGlowButton*>(c) != nullptr;
    if (glow != nullptr && !glow->UseAppearance()) {
      if (!menuOrDb) {
        takeAppearance(glow, FCompact ? s->CompactGlowButtonAppearance() : s->GlowButtonAppearance());
        if (!glow->IsDropDown()) continue;
      } else {
        takeAppearance(glow, s->GlowButtonAppearance());
        continue;
      }
    }
    const TVornStyle style = s->VornStyle();
    auto* sEx = dynamic_cast<IVornStyleEx*>(s);
    if (sEx != nullptr && style != tsCustom) {
      if (auto* cEx = dynamic_cast<IVornStyleEx*>(c)) cEx->SetComponentStyleAndAppColor(style, clNone);
      else if (auto* cs = dynamic_cast<IVornStyle*>(c)) cs->SetComponentStyle(style);
    } else if (dynamic_cast<IVornStyle*>(s) != nullptr && style != tsCustom) {
      if (auto* cs = dynamic_cast<IVornStyle*>(c)) cs->SetComponentStyle(style);
    }
  }
}

void TAdvCustomToolBar::HookGlowButtons() {
  if (!OnPage()) return;
  // The handlers (key navigation, button sizes, key tips) come with the
  // ribbon-page keyboard support; the glow buttons keep theirs until then.
}

void TAdvCustomToolBar::ApplyPagerTones() {
  if (!PagerUsesTones() || IsColorTonesEmpty(GlobalColorTones)) return;
  auto tone = [](TControl* c) {
    if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c)) g->SetColorTones(GlobalColorTones);
  };
  for (Integer i = 0; i < FATBControls->Count(); ++i) {
    TControl* c = Item(FATBControls.get(), i);
    if (!FCompact) tone(c);
    if (auto* w = dynamic_cast<TWinControl*>(c); w != nullptr && ClassIs(c, u"TZadEdevAziContainer"))
      for (Integer j = 0; j < w->ControlCount(); ++j)
        if (dynamic_cast<TAdvGlowButton*>(w->Controls(j)) != nullptr) tone(w->Controls(j));
  }
}

void TAdvCustomToolBar::SetGlowButtonsTransparent() {
  UpdateCompactButtonAppearance();
  auto clear = [](TControl* c) {
    if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c)) g->SetTransparent(true);
  };
  for (Integer i = 0; i < FATBControls->Count(); ++i) {
    TControl* c = Item(FATBControls.get(), i);
    if (!FCompact) clear(c);
    if (auto* w = dynamic_cast<TWinControl*>(c); w != nullptr && ClassIs(c, u"TZadEdevAziContainer"))
      for (Integer j = 0; j < w->ControlCount(); ++j)
        if (dynamic_cast<TAdvGlowButton*>(w->Controls(j)) != nullptr) clear(w->Controls(j));
  }
}

void TAdvCustomToolBar::UpdateGlowButtonSizes() {
  for (Integer i = 0; i < FATBControls->Count(); ++i)
    if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(Item(FATBControls.get(), i)); g && g->Visible())
      g->UpdateAutoSize();
}

void TAdvCustomToolBar::InvalidateContainers() {
  if (FCurrentToolBarStyler == nullptr) return;
  for (Integer i = 0; i < FATBControls->Count(); ++i)
    if (TControl* c = Item(FATBControls.get(), i); ClassIs(c, u"TZadEdevAziContainer")) c->Invalidate();
}

TDragGripStyle TAdvCustomToolBar::DragGripStyle() const { return Styler()->DragGripStyle(); }

void TAdvCustomToolBar::SetDragGripStyle(TDragGripStyle Value) { Styler()->SetDragGripStyle(Value); }

void TAdvCustomToolBar::SetUIStyle(TVornStyle Value) {
  FVornStyle = Value;
  SetComponentStyle(Value);
}

void TAdvCustomToolBar::SetComponentStyle(TVornStyle AStyle) { ApplyOfficeStyle(AStyle, clNone, false); }

void TAdvCustomToolBar::SetComponentStyleAndAppColor(TVornStyle AStyle, TColor AAppColor) {
  ApplyOfficeStyle(AStyle, AAppColor, true);
}

void TAdvCustomToolBar::ApplyOfficeStyle(TVornStyle AStyle, TColor AAppColor, bool WithAppColor) {
  if (FToolBarStyler != nullptr || FDestroying) return;
  if (IToolBarPage* page = GetPage(); page != nullptr && page->HasPager() && !page->PagerHasToolBarStyler())
    AStyle = page->PagerUIStyle();
  FVornStyle = AStyle;
  if (AStyle == tsCustom) return;
  // One office styler per toolbar: a second style reuses it.
  if (!FStyleStyler) {
    FStyleStyler = std::make_unique<TZadEdevAziOfficeStyler>(nullptr);
    FStyleStyler->AddControl(this);
  }
  auto* office = static_cast<TZadEdevAziOfficeStyler*>(FStyleStyler.get());
  if (WithAppColor)
    office->SetComponentStyleAndAppColor(AStyle, AAppColor);
  else
    office->SetComponentStyle(AStyle);
  if (FCurrentToolBarStyler != office) FCurrentToolBarStyler->Assign(office);
  FCurrentToolBarStyler = office;
  StylerChanged(skGlowButtons);
}

// ---------------------------------------------------------------------------
// Notifications

void TAdvCustomToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent == nullptr) return;
  // Places the toolbar has stood in or floats in.
  if (static_cast<void*>(AComponent) == static_cast<void*>(FFloatingWindow)) FFloatingWindow = nullptr;
  if (static_cast<void*>(AComponent) == static_cast<void*>(FLastDock)) FLastDock = nullptr;
  // A registered MDI child leaves the window list even while the toolbar goes.
  ForgetMDIChild(AComponent);
  if (ComponentState().Contains(csDestroying)) {
    if (AComponent == FToolBarStyler) {
      FToolBarStyler = nullptr;
      SetInternalStylerCurrent();
    }
    return;
  }
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FDisabledImages) SetDisabledImages(nullptr);
  if (AComponent == FMenu) SetMenu(nullptr);
  if (AComponent == FToolBarStyler) SetToolBarStyler(nullptr);
  if (AComponent == FCurrentToolBarStyler) SetInternalStylerCurrent();
  if (AComponent == FOptionMenu) FOptionMenu = nullptr;
  ForgetComponent(AComponent);
  if (AComponent == FMergedMenu) {
    // The buttons bound to the merged menu's items go with it; the bar's own come back.
    FMergedMenu = nullptr;
    UnmergeMenuButtons();
  }
  if (static_cast<void*>(AComponent) == static_cast<void*>(FCustomizer)) FCustomizer = nullptr;
}

void TAdvCustomToolBar::Dispatch(TMessage& Message) {
  if (MenuBarMessage(Message)) return;
  switch (Message.Msg) {
    case CM_CONTROLCHANGE: CMControlChange(Message); return;
    case WM_TIMER:
      if (Message.WParam == 500) {
        WMTimer(Message);
        return;
      }
      break;
    default: break;
  }
  if (Message.Msg == WM_ATBRESTOREHIDDEN) {
    WMRestoreHidden(Message);
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TAdvCustomToolBar::CMControlChange(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  auto* c = reinterpret_cast<TControl*>(Message.WParam);
  if (c == nullptr || FInternalControlUpdation) return;
  if (ClassIs(c, u"TOptionSelectorWindow") || ClassIs(c, u"TCompactWindow")) return;
  if (Message.LParam != 0)
    ControlInserted(c);
  else
    ControlRemoved(c);
}

void TAdvCustomToolBar::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TAdvCustomToolBar::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomControl::AlignControls(AControl, Rect);
  if (AControl != nullptr && !FInternalControlPositioning) ControlRepositioned(AControl);
}

void TAdvCustomToolBar::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  if (FToolBarState != tsFloating && IsHorizontal() && OnPage() && FShowCaption && !FAutoPositionControls)
    Rect = GetControlsRect();
  if (FAutoPositionControls) UpdateSeparators();
}

void TAdvCustomToolBar::Resize() { TCustomControl::Resize(); }

// ---------------------------------------------------------------------------
// Control lists

namespace {

// After the last entry whose key is not greater (equal keys keep the child order).
Integer SortedPlace(const TDbgList* L, TControl* C, bool ByLeftThenTop, bool Horizontal) {
  Integer at = L->Count();
  while (at > 0) {
    TControl* e = Item(L, at - 1);
    bool after;
    if (ByLeftThenTop)
      after = e->Left() < C->Left() || (e->Left() == C->Left() && e->Top() <= C->Top());
    else
      after = Horizontal ? e->Left() <= C->Left() : e->Top() <= C->Top();
    if (after) break;
    --at;
  }
  return at;
}

}  // namespace

void TAdvCustomToolBar::BuildControlList() {
  if (!FATBControls) FATBControls = std::make_unique<TDbgList>();
  FATBControls->Clear();
  const bool page = OnPage();
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (ClassIs(c, u"TCompactWindow")) continue;  // the compact window is no control of the bar
    FATBControls->Insert(SortedPlace(FATBControls.get(), c, page, IsHorizontal()), c);
  }
  if (FAutoRUL) FRUControls->AssignList(FATBControls.get());
}

void TAdvCustomToolBar::BuildSequenceList(TDbgList* AList, bool AVisibleOnly) {
  if (AList == nullptr) return;
  AList->Clear();
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if ((AVisibleOnly && !c->Visible()) || ClassIs(c, u"TCompactWindow")) continue;
    AList->Insert(SortedPlace(AList, c, IsHorizontal(), false), c);
  }
}

Integer TAdvCustomToolBar::ToolBarControlCount() const { return FATBControls ? FATBControls->Count() : 0; }

TControl* TAdvCustomToolBar::GetToolBarControls(Integer Index) const {
  if (!FATBControls || Index < 0 || Index >= FATBControls->Count()) return nullptr;
  return Item(FATBControls.get(), Index);
}

Integer TAdvCustomToolBar::IndexOfToolBarControl(TControl* AControl) const {
  return FATBControls ? FATBControls->IndexOf(AControl) : -1;
}

Integer TAdvCustomToolBar::FindControlInsertIndex(Integer Index, Integer X, Integer Y) {
  const Integer n = FATBControls->Count();
  if (Index >= 0 && n <= 1) return Index;
  if (X == 0 || Y == 0) return n;
  for (Integer p = 0; p < n; ++p) {
    if (p == Index) continue;
    TControl* e = Item(FATBControls.get(), p);
    if (IsHorizontal() ? e->Left() >= X : e->Top() >= Y) return p;
  }
  return n;
}

Integer TAdvCustomToolBar::ReorderControl(Integer Index, Integer X, Integer Y) {
  if (Index < 0 || Index >= FATBControls->Count()) return Index;
  Integer to = FindControlInsertIndex(Index, X, Y);
  if (to > Index) --to;
  to = std::clamp(to, 0, FATBControls->Count() - 1);
  if (to != Index) FATBControls->Move(Index, to);
  return to;
}

void TAdvCustomToolBar::ControlInserted(TControl* AControl) {
  if (AControl == nullptr || FDestroying) return;
  if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(AControl)) {
    tc->FZadEdevAzi = this;
    tc->SetPosition(FPosition);
    if (!ComponentState().Contains(csLoading)) tc->AdjustSize();
  }
  auto* glow = dynamic_cast<TAdvCustomGlowButton*>(AControl);
  if (glow != nullptr && FCurrentToolBarStyler != nullptr &&
      (dynamic_cast<TAdvGlowButton*>(AControl) || dynamic_cast<TDBAdvGlowButton*>(AControl) ||
       dynamic_cast<TAdvGlowMenuButton*>(AControl))) {
    if (PagerUsesTones() && !IsColorTonesEmpty(GlobalColorTones))
      glow->SetColorTones(GlobalColorTones);
    else
      glow->Appearance()->Assign(Styler()->GlowButtonAppearance());
  }
  if (glow != nullptr && ParentIsClass(u"TAdvDockPanel"))
    glow->FOnInternalClick = [this](TObject*) { UpdateOptionWindow(); };
  const Integer at = FATBControls->IndexOf(AControl);
  if (at < 0)
    FATBControls->Insert(FindControlInsertIndex(-1, AControl->Left(), AControl->Top()), AControl);
  else
    ReorderControl(at, AControl->Left(), AControl->Top());
  if (FRUControls->IndexOf(AControl) < 0) FRUControls->Add(AControl);
  // Each side hears of the other's end: the lists never keep a dead control,
  // nor a control a dead toolbar.
  AControl->FreeNotification(this);
  ArrangeControls(true);
}

void TAdvCustomToolBar::ForgetComponent(TComponent* AComponent) {
  // A component being freed is past its control part: find it by address.
  for (Integer i = 0; i < ToolBarControlCount(); ++i)
    if (TControl* c = Item(FATBControls.get(), i); static_cast<TComponent*>(c) == AComponent) {
      ControlRemoved(c);
      return;
    }
}

void TAdvCustomToolBar::ControlRemoved(TControl* AControl) {
  if (!FATBControls || FATBControls->IndexOf(AControl) < 0) return;
  FATBControls->Remove(AControl);
  FRUControls->Remove(AControl);
  FLUHidedControls->Remove(AControl);
  FSeqControlList->Remove(AControl);
  if (FHintCtrl == AControl) FHintCtrl = nullptr;
  std::erase_if(FToolBarMenuButtons, [AControl](TAdvCustomToolBarButton* b) { return static_cast<TControl*>(b) == AControl; });
  if (FDestroying) return;
  if (!AControl->ComponentState().Contains(csDestroying))
    if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(AControl); tc && tc->IsToolBarButton())
      tc->FZadEdevAzi = nullptr;
  ArrangeControls(true);
}

void TAdvCustomToolBar::ControlRepositioned(TControl* AControl) {
  const Integer at = IndexOfToolBarControl(AControl);
  if (at < 0 || AControl->ClassName() == u"TAdvBadge") return;
  if (ComponentState().Contains(csLoading)) ReorderControl(at, AControl->Left(), AControl->Top());
  const bool docked = InDockPanel() && !ComponentState().Contains(csLoading);
  FDoCheckBoundChange = docked;
  ArrangeControls(true);
  UpdateHiddenControls();
  FDoCheckBoundChange = false;
  if (FAutoOptionMenu) UpdateOptionWindow();
}

Integer TAdvCustomToolBar::AddToolBarControl(TControl* AControl) {
  if (AControl == nullptr || IndexOfToolBarControl(AControl) >= 0 || AControl->Parent() == this) return -1;
  struct TRuntimeCreate {
    bool& Flag;
    explicit TRuntimeCreate(bool& F) : Flag(F) { Flag = true; }
    ~TRuntimeCreate() { Flag = false; }
  } guard(FRuntimeCreate);
  const Integer h = AControl->Height();
  AControl->SetParent(this);
  AControl->SetHeight(h);
  Integer result = -1;
  if (const Integer at = IndexOfToolBarControl(AControl); at >= 0) {
    // Straight to the end of the control list: the recently-used order
    // keeps the control (unlike a user's move), so the hiding of rarely
    // used controls goes on seeing it.
    if (at != FATBControls->Count() - 1) FATBControls->Move(at, FATBControls->Count() - 1);
    result = FATBControls->Count() - 1;
    ArrangeControls(true);
  }
  if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(AControl); tc && tc->IsToolBarButton()) tc->AdjustSize();
  return result;
}

void TAdvCustomToolBar::InsertToolBarControl(Integer Index, TControl* AControl) {
  if (AControl == nullptr || IndexOfToolBarControl(AControl) >= 0 || AControl->Parent() == this) return;
  const Integer from = AddToolBarControl(AControl);
  FRuntimeCreate = true;
  if (from >= 0 && Index >= 0 && Index < FATBControls->Count() && Index != from) {
    FATBControls->Move(from, Index);
    ArrangeControls(true);
  }
  FRuntimeCreate = false;
}

void TAdvCustomToolBar::MoveToolBarControl(Integer FromIndex, Integer ToIndex) {
  const Integer n = ToolBarControlCount();
  if (FromIndex < 0 || FromIndex >= n || ToIndex < 0 || ToIndex >= n || FromIndex == ToIndex) return;
  TControl* c = Item(FATBControls.get(), FromIndex);
  FRUControls->Remove(c);
  FLUHidedControls->Remove(c);
  FATBControls->Move(FromIndex, ToIndex);
  ArrangeControls(true);
}

void TAdvCustomToolBar::EnableAllControls(bool Value) {
  for (Integer i = 0; i < ToolBarControlCount(); ++i) {
    TControl* c = Item(FATBControls.get(), i);
    auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(c);
    if (c->Visible() && !(tc && tc->IsSeparator())) c->SetEnabled(Value);
  }
}

void TAdvCustomToolBar::UpdateImagesShade() {
  if (FImages == nullptr) return;
  for (Integer i = 0; i < ToolBarControlCount(); ++i)
    if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(Item(FATBControls.get(), i))) {
      tc->AdjustSize();
      if (tc->IsToolBarButton()) tc->CreateGlyphShade();
    }
}

void TAdvCustomToolBar::SetButtonsRotated(bool ARotated) {
  for (Integer i = 0; i < ToolBarControlCount(); ++i)
    if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(Item(FATBControls.get(), i))) g->SetIsRotated(ARotated);
}

void TAdvCustomToolBar::AdjustMenuButtons(bool MenuButtonsOnly) {
  for (Integer i = 0; i < ToolBarControlCount(); ++i)
    if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(Item(FATBControls.get(), i)))
      if (MenuButtonsOnly ? tc->IsMenuButton() : tc->IsToolBarButton()) tc->AdjustSize();
}

void TAdvCustomToolBar::ShowCustomizer() {
  if (FCustomizer != nullptr) FCustomizer->ShowDialog();
}

void TAdvCustomToolBar::DoCompactShow() {
  if (OnCompactShow) OnCompactShow(this);
}

// ---------------------------------------------------------------------------
// Update nesting

void TAdvCustomToolBar::BeginUpdate() {
  // Counted whatever the visibility: a toolbar hidden between the two calls
  // must still come back to painting and arranging.
  ++FUpdateCount;
  if (HandleAllocated()) Perform(WM_SETREDRAW, 0, 0);
}

void TAdvCustomToolBar::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount > 0) return;
  if (HandleAllocated()) Perform(WM_SETREDRAW, 1, 0);
  Invalidate();
  ArrangeControls(true);
  UpdateHiddenControls();
}

void TAdvCustomToolBar::Update() {
  TCustomControl::Update();
  if (InDockPanel()) UpdateHiddenControls();
  ArrangeControls(true);
}

// ---------------------------------------------------------------------------
// Ribbon button sizing

namespace {

// The width in State: applied (the button changes at once) or calculated.
Integer WidthIn(TControl* C, TButtonSizeState State, bool Apply) {
  auto* g = static_cast<TAdvCustomGlowButton*>(C);
  if (Apply) {
    g->SetButtonSizeState(State);
    return g->Width();
  }
  if (auto* b = dynamic_cast<TAdvGlowButton*>(C)) {
    TPoint size{0, 0};
    b->CalcSizeForState(State, size);
    return size.X;
  }
  return g->Width();
}

struct TFlags {
  bool& A;
  bool& B;
  bool OldA, OldB;
  TFlags(bool& a, bool& b) : A(a), B(b), OldA(a), OldB(b) { A = B = true; }
  ~TFlags() {
    A = OldA;
    B = OldB;
  }
};

}  // namespace

Integer TAdvCustomToolBar::StepButtonSizes(bool AReduce, TButtonSizeState& ANewState, bool AApply) {
  if (!FAutoPositionControls || !AutoSize() || !(OnPage() || OnCompactWindow()) || FCompact) return 0;
  Integer result = 0;
  bool changed = false;
  {
    TFlags flags(FInternalControlPositioning, FInternalControlUpdation);
    BuildSequenceList(FSeqControlList.get(), true);
    TDbgList* L = FSeqControlList.get();
    std::vector<TSizableButton> buttons;
    for (Integer i = 0; i < L->Count(); ++i) {
      TControl* c = Item(L, i);
      TSizableButton b;
      b.Left = c->Left();
      b.Width = c->Width();
      if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c)) {
        b.AutoSized = g->AutoSize();
        b.State = g->ButtonSizeState();
        b.MinState = g->MinButtonSizeState();
        b.MaxState = g->MaxButtonSizeState();
      }
      buttons.push_back(b);
    }
    const TButtonSizeStep step = AReduce ? FindReduceStep(buttons) : FindEnlargeStep(buttons);
    if (step.Found) {
      std::vector<Integer> oldW, newW;
      for (Integer k : step.Indexes) {
        oldW.push_back(buttons[k].Width);
        newW.push_back(WidthIn(Item(L, k), TButtonSizeState(step.NewState), AApply));
      }
      ANewState = TButtonSizeState(step.NewState);
      result = StepWidth(step, oldW, newW);
      changed = AApply;
    }
  }
  if (changed) ArrangeControls(true);
  return result;
}

Integer TAdvCustomToolBar::ReduceButtonSizes(TButtonSizeState& ANewState, bool AApply) {
  return StepButtonSizes(true, ANewState, AApply);
}

Integer TAdvCustomToolBar::EnlargeButtonSizes(TButtonSizeState& ANewState, bool AApply) {
  return StepButtonSizes(false, ANewState, AApply);
}

void TAdvCustomToolBar::ShrinkAllButtons() {
  TButtonSizeState s = bsLarge;
  // Each round shrinks at least one button one state; the states bound it.
  for (Integer guard = 0; guard < 3 * (ToolBarControlCount() + 1) && ReduceButtonSizes(s, true) > 0; ++guard) {
  }
}

void TAdvCustomToolBar::GrowAllButtons() {
  TButtonSizeState s = bsGlyph;
  for (Integer guard = 0; guard < 3 * (ToolBarControlCount() + 1) && EnlargeButtonSizes(s, true) > 0; ++guard) {
  }
}

// ---------------------------------------------------------------------------
// Property setters

void TAdvCustomToolBar::SetAllowFloating(bool Value) {
  if (FToolBarState == tsFloating) Value = true;
  FAllowFloating = Value;
}

void TAdvCustomToolBar::SetLocked(bool Value) {
  if (FToolBarState == tsFloating) Value = false;
  FLocked = Value;
}

void TAdvCustomToolBar::SetAntiAlias(TAntiAlias Value) {
  FAntiAlias = Value;
  Invalidate();
}

void TAdvCustomToolBar::SetAutoArrangeButtons(bool Value) {
  if (FAutoArrangeButtons == Value) return;
  FAutoArrangeButtons = Value;
  if (!Value && !ComponentState().Contains(csLoading) && FAutoRUL) FRUControls->AssignList(FATBControls.get());
}

void TAdvCustomToolBar::SetAutoPositionControls(bool Value) {
  if (FAutoPositionControls == Value) return;
  if (!Value && (FToolBarState != tsFixed || ParentIsClass(u"TAdvDockPanel"))) return;
  FAutoPositionControls = Value;
  if (Value)
    ArrangeControls(true);
  else
    SetAutoSize(false);
}

void TAdvCustomToolBar::SetAutoPositionMultiRow(bool Value) {
  FAutoPositionMultiRow = Value;
  ArrangeControls(true);
}

void TAdvCustomToolBar::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  if (Value) {
    FAutoSize = true;
    ArrangeControls(true);
    return;
  }
  FAutoSize = false;
  if (FToolBarState == tsFixed && !ParentIsClass(u"TAdvDockPanel")) {
    ArrangeControls(true);
    Constraints()->SetMinWidth(0);
    Constraints()->SetMaxWidth(0);
    Constraints()->SetMinHeight(0);
    Constraints()->SetMaxHeight(0);
  }
}

void TAdvCustomToolBar::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  SetText(Value);
  Invalidate();
}

void TAdvCustomToolBar::SetWideCaption(const String& Value) {
  if (FWideCaption == Value) return;
  FWideCaption = Value;
  Invalidate();
}

void TAdvCustomToolBar::SetCaptionFont(TFont* Value) {
  FCaptionFont->Assign(Value);
  Invalidate();
}

void TAdvCustomToolBar::SetCaptionHeight(Integer Value) {
  if (FCaptionHeight == Value) return;
  FCaptionHeight = Value;
  if (FShowCaption) {
    ArrangeControls(false);
    Invalidate();
  }
}

void TAdvCustomToolBar::SetCaptionPosition(TCaptionPosition Value) {
  if (FCaptionPosition == Value) return;
  FCaptionPosition = Value;
  if (FShowCaption) {
    ArrangeControls(false);
    Invalidate();
  }
}

void TAdvCustomToolBar::SetCaptionAlignment(TAlignment Value) {
  if (FCaptionAlignment == Value) return;
  FCaptionAlignment = Value;
  Invalidate();
}

void TAdvCustomToolBar::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  ArrangeControls(true);
  Invalidate();
}

void TAdvCustomToolBar::SetShowRightHandle(bool Value) {
  if (FShowRightHandle == Value) return;
  FShowRightHandle = Value;
  FPopupIndicatorWidth = Value ? 14 : 4;
  if (Visible()) {
    ArrangeControls(true);
    Invalidate();
  }
}

void TAdvCustomToolBar::SetShowOptionIndicator(bool Value) {
  if (FShowOptionIndicator == Value) return;
  FShowOptionIndicator = Value;
  Invalidate();
}

void TAdvCustomToolBar::SetShowPopupIndicator(bool Value) {
  if (FShowPopupIndicator == Value) return;
  FShowPopupIndicator = Value;
  Invalidate();
}

void TAdvCustomToolBar::SetParentOptionPicture(bool Value) {
  if (FParentOptionPicture == Value) return;
  FParentOptionPicture = Value;
  Invalidate();
}

void TAdvCustomToolBar::SetOptionMenu(TPopupMenu* Value) {
  FOptionMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TAdvCustomToolBar::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages != nullptr) {
    const Integer oldW = FImagesSize.X, oldH = FImagesSize.Y;
    const Integer d = Value != nullptr ? (IsHorizontal() ? Value->Height() - oldH : Value->Width() - oldW)
                                       : -(IsHorizontal() ? oldH : oldW);
    if (IsHorizontal()) SetHeight(Height() + d);
    else SetWidth(Width() + d);
    if (FToolBarState == tsFloating && !ComponentState().Contains(csLoading))
      FSizeAtDock += Value != nullptr ? Value->Height() - oldH : -oldH;
    RemoveFreeNotification(FImages);
  }
  FImages = Value;
  FImagesSize = Value != nullptr ? TPoint{Value->Width(), Value->Height()} : TPoint{0, 0};
  if (Value != nullptr) Value->FreeNotification(this);
  FInternalControlPositioning = true;
  for (Integer i = 0; i < ToolBarControlCount(); ++i)
    if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(Item(FATBControls.get(), i))) tc->AdjustSize();
  FInternalControlPositioning = false;
  ArrangeControls(true);
  if (Value != nullptr) {
    for (Integer i = 0; i < ToolBarControlCount(); ++i)
      if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(Item(FATBControls.get(), i))) {
        tc->AdjustSize();
        if (tc->IsToolBarButton()) tc->CreateGlyphShade();
      }
  }
  if (FToolBarState == tsFloating && !ComponentState().Contains(csLoading)) {
    FSizeAtDock = GetFloatingThickness(true);
    ArrangeControls(true);
  }
  Invalidate();
}

void TAdvCustomToolBar::SetDisabledImages(TCustomImageList* Value) {
  if (FDisabledImages == Value) return;
  if (FDisabledImages != nullptr) RemoveFreeNotification(FDisabledImages);
  FDisabledImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  for (Integer i = 0; i < ToolBarControlCount(); ++i)
    if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(Item(FATBControls.get(), i))) tc->AdjustSize();
  Invalidate();
}

void TAdvCustomToolBar::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (ControlStyle().Contains(csAcceptsControls)) {
    // A menu bar takes no other controls.
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csMenuEvents});
    if (HandleAllocated()) RecreateWnd();
  }
  // The buttons made for the old menu go.
  const std::vector<TAdvCustomToolBarButton*> made = std::move(FToolBarMenuButtons);
  FToolBarMenuButtons.clear();
  for (TAdvCustomToolBarButton* b : made) delete b;  // a control is freed by its owner, the toolbar
  if (FMenu != nullptr) RemoveFreeNotification(FMenu);
  FMenu = Value;
  if (Value == nullptr) {
    ArrangeControls(true);
    return;
  }
  Value->FreeNotification(this);
  if (!ComponentState().Contains(csLoading) || Value->Images() != nullptr) {
    FImages = Value->Images();
    FImagesSize = FImages != nullptr ? TPoint{FImages->Width(), FImages->Height()} : TPoint{0, 0};
  }
  TMenuItem* items = Value->Items();
  for (Integer i = 0; i < items->Count(); ++i) {
    auto* b = new TZadEdevAziMenuButton(this);
    try {
      b->SetGrouped(true);
      b->SetParent(this);
      b->SetShowCaption(true);
      b->SetMenuItem(items->Items(i));
      FToolBarMenuButtons.push_back(b);
      b->SetAutoSize(true);
    } catch (...) {
      std::erase(FToolBarMenuButtons, static_cast<TAdvCustomToolBarButton*>(b));
      delete b;
      throw;
    }
  }
  // The made buttons are bound again in list order to the items.
  Integer next = 0;
  for (Integer i = 0; i < ToolBarControlCount() && next < items->Count(); ++i) {
    auto* b = dynamic_cast<TAdvCustomToolBarButton*>(Item(FATBControls.get(), i));
    if (b != nullptr && std::find(FToolBarMenuButtons.begin(), FToolBarMenuButtons.end(), b) != FToolBarMenuButtons.end())
      b->SetMenuItem(items->Items(next++));
  }
}

Integer TAdvCustomToolBar::ToolBarIndex() const {
  IToolBarPage* page = GetPage();
  return page != nullptr ? page->ToolBarIndexOf(this) : -1;
}

void TAdvCustomToolBar::SetToolBarIndex(Integer Value) {
  IToolBarPage* page = GetPage();
  if (page == nullptr || page->ToolBarCount() <= 0) return;
  const Integer to = std::clamp(Value, 0, page->ToolBarCount() - 1);
  const Integer from = page->ToolBarIndexOf(this);
  if (from >= 0 && from != to) page->MoveToolBar(from, to);
  SetTabOrder(to);
}

// ---------------------------------------------------------------------------

void RemoveUnfocusableControls(TDbgList* List) {
  if (List == nullptr) return;
  for (Integer i = List->Count() - 1; i >= 0; --i) {
    auto* c = static_cast<TControl*>(List->Items(i));
    auto* w = dynamic_cast<TWinControl*>(c);
    if (dynamic_cast<THintWindow*>(c) != nullptr || ClassIs(c, u"TZadEdevAziContainer") ||
        (w != nullptr && !w->CanFocus()))
      List->Delete(i);
  }
}

void RegisterToolBarClasses() {
  TClassInfo::Of<TAdvCustomToolBar, TCustomControl>(u"TAdvCustomToolBar");
  TClassInfo::Of<TZadEdevAzi, TAdvCustomToolBar>(u"TZadEdevAzi");
  TClassInfo::Of<TAdvCustomToolBarControl, TGraphicControl>(u"TAdvCustomToolBarControl");
  TClassInfo::Of<TZadEdevAziSeparator, TAdvCustomToolBarControl>(u"TZadEdevAziSeparator");
  TClassInfo::Of<TAdvGlowMenuButton, TAdvCustomGlowButton>(u"TAdvGlowMenuButton");
  TClassInfo::Of<TOptionSelectorWindow, TCustomForm>(u"TOptionSelectorWindow");
  TClassInfo::Of<TCompactWindow, TCustomForm>(u"TCompactWindow");
  TClassInfo::Of<TOptionSelectorPanel, TCustomPanel>(u"TOptionSelectorPanel");
  TClassInfo::Of<TControlSelectorPanel, TOptionSelectorPanel>(u"TControlSelectorPanel");
}

}  // namespace toolbar
