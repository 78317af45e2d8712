#include "toolbar/AdvDockPanel.h"

#include <algorithm>
#include <set>
#include <utility>

#include "menus/AdvMenus.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Monitors.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/DockLayout.h"
#include "toolbar/ToolBarDraw.h"
#include "toolbar/ZadEdevAziStyler.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {

TAdvCustomToolBar* ToolBarAt(const TDbgList* L, Integer I) { return static_cast<TAdvCustomToolBar*>(L->Items(I)); }

}  // namespace

// ---------------------------------------------------------------------------
// A docked toolbar as the rows see it

class TAdvDockPanel::TDockedToolBar : public IDockBar {
 public:
  explicit TDockedToolBar(TAdvCustomToolBar* T) : FToolBar(T) {}
  TAdvCustomToolBar* ToolBar() const { return FToolBar; }
  // Set while the rows move the toolbar: its bound check stays quiet.
  bool Applying() const { return FApplying; }

  TRect BarBounds() const override { return FToolBar->BoundsRect(); }
  void SetBarBounds(const TRect& R) override {
    struct TDirect {
      TDockedToolBar& E;
      bool OldAllow, OldApplying;
      explicit TDirect(TDockedToolBar& AE)
          : E(AE), OldAllow(AE.FToolBar->AllowBoundChange()), OldApplying(AE.FApplying) {
        E.FToolBar->SetAllowBoundChange(true);
        E.FApplying = true;
      }
      ~TDirect() {
        E.FToolBar->SetAllowBoundChange(OldAllow);
        E.FApplying = OldApplying;
      }
    } direct(*this);
    FToolBar->SetBounds(R.Left, R.Top, R.Width(), R.Height());
  }
  Integer BarMinLength() const override {
    TSizeConstraints* c = FToolBar->Constraints();
    return FToolBar->IsHorizontal() ? c->MinWidth() : c->MinHeight();
  }
  Integer BarMaxLength() const override {
    TSizeConstraints* c = FToolBar->Constraints();
    return FToolBar->IsHorizontal() ? c->MaxWidth() : c->MaxHeight();
  }
  void SetBarLengthConstraints(Integer AMin, Integer AMax) override {
    TSizeConstraints* c = FToolBar->Constraints();
    if (FToolBar->IsHorizontal()) {
      c->SetMaxWidth(0);
      c->SetMinWidth(AMin);
      c->SetMaxWidth(AMax);
    } else {
      c->SetMaxHeight(0);
      c->SetMinHeight(AMin);
      c->SetMaxHeight(AMax);
    }
  }
  bool BarHorizontal() const override { return FToolBar->IsHorizontal(); }
  bool BarFullSize() const override { return FToolBar->FullSize(); }
  bool BarVisible() const override { return FToolBar->Visible(); }
  Integer BarRow() const override { return FToolBar->Row(); }
  void SetBarRow(Integer Value) override { FToolBar->SetRow(Value); }
  bool BarDesigning() const override { return FToolBar->ComponentState().Contains(csDesigning); }
  bool BarLoading() const override { return FToolBar->ComponentState().Contains(csLoading); }
  void BarLengthFitted() override { TAdvDockPanel::FitHiddenControls(FToolBar); }

 private:
  TAdvCustomToolBar* FToolBar;
  bool FApplying = false;
};

// ---------------------------------------------------------------------------
// Construction and destruction

TAdvDockPanel::TAdvDockPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  TControlStyle cs = ControlStyle();
  cs.Include(csAcceptsControls);
  cs.Exclude(csCaptureMouse);
  cs.Exclude(csClickEvents);
  cs.Exclude(csOpaque);
  SetControlStyle(cs);
  FMyImage = std::make_unique<TBitmap>();
  TCustomControl::SetAlign(alTop);
  FDockAlign = daTop;
  FInternalToolBarStyler = std::make_unique<TCustomZadEdevAziStyler>(nullptr);
  FInternalToolBarStyler->SetName(u"InternalStyler");
  FInternalToolBarStyler->AddControl(this);
  FCurrentToolBarStyler = FInternalToolBarStyler.get();
  FRows = std::make_unique<TRowCollection>(static_cast<IDockRowsHost*>(this));
  FToolBars = std::make_unique<TDbgList>();
  FHiddenToolBars = std::make_unique<TDbgList>();
  FMinimumSize = 3;
  FPersistence = std::make_unique<TPersistence>(this);
  FPersistence->OnChange = [this](TObject*) { PersistenceChanged(); };
  FUseRunTimeHeight = false;
  SetDoubleBuffered(true);
  FRows->UpdateDockSize();
}

TAdvDockPanel::~TAdvDockPanel() {
  FDestroying = true;
  Destroying();
  if (FPersistence->Enabled() && !ComponentState().Contains(csDesigning)) {
    // The store may fail; a destructor reports that and goes on.
    try {
      SaveToolBarsPosition();
    } catch (...) {
      try {
        if (Application != nullptr) Application->HandleException(this);
      } catch (...) {
      }
    }
  }
  if (FToolBarStyler != nullptr) FToolBarStyler->RemoveControl(this);
  FToolBarStyler = nullptr;
  // The toolbars go now, while the rows and lists they leave are whole.
  while (ControlCount() > 0) delete Controls(ControlCount() - 1);  // a control is freed by its parent
  FRows.reset();
  FEntries.clear();
  FCurrentToolBarStyler = FInternalToolBarStyler.get();
  FInternalToolBarStyler->RemoveControl(this);
  FCurrentToolBarStyler = nullptr;
  FInternalToolBarStyler.reset();
}

String TAdvDockPanel::Version() const {
  const Integer v = GetVersionNr();
  return IntToStr((v >> 24) & 0xFF) + u"." + IntToStr((v >> 16) & 0xFF) + u"." + IntToStr((v >> 8) & 0xFF) + u"." +
         IntToStr(v & 0xFF);
}

// ---------------------------------------------------------------------------
// The rows' view of the panel

bool TAdvDockPanel::HeightLocked() const { return FLockHeight && !DockDesigning() && FPropertiesLoaded; }

bool TAdvDockPanel::DockDesigning() const { return ComponentState().Contains(csDesigning); }

Single TAdvDockPanel::DockScale() const { return ToolBarDPIScale; }

void TAdvDockPanel::FitHiddenControls(TAdvCustomToolBar* ToolBar) { ToolBar->UpdateHiddenControls(); }

// ---------------------------------------------------------------------------
// Entries

TAdvDockPanel::TDockedToolBar* TAdvDockPanel::EntryOf(const TAdvCustomToolBar* ToolBar) const {
  for (const auto& e : FEntries)
    if (e->ToolBar() == ToolBar) return e.get();
  return nullptr;
}

TAdvDockPanel::TDockedToolBar* TAdvDockPanel::MakeEntry(TAdvCustomToolBar* ToolBar) {
  if (TDockedToolBar* e = EntryOf(ToolBar)) return e;
  FEntries.push_back(std::make_unique<TDockedToolBar>(ToolBar));
  return FEntries.back().get();
}

void TAdvDockPanel::DropEntry(TAdvCustomToolBar* ToolBar) {
  std::erase_if(FEntries, [ToolBar](const std::unique_ptr<TDockedToolBar>& e) { return e->ToolBar() == ToolBar; });
}

IDockBar* TAdvDockPanel::DockBarOf(const TAdvCustomToolBar* ToolBar) const { return EntryOf(ToolBar); }

TAdvCustomToolBar* TAdvDockPanel::ZadEdevAzis(Integer Index) const {
  return static_cast<TAdvCustomToolBar*>(FToolBars->GetItemsEx(Index));
}

TAdvCustomToolBar* TAdvDockPanel::HiddenToolBars(Integer Index) const {
  return static_cast<TAdvCustomToolBar*>(FHiddenToolBars->GetItemsEx(Index));
}

String TAdvDockPanel::CheckLayout() const {
  std::vector<IDockBar*> bars;
  std::set<const TAdvCustomToolBar*> seen;
  for (Integer i = 0; i < FToolBars->Count(); ++i) {
    TAdvCustomToolBar* tb = ToolBarAt(FToolBars.get(), i);
    if (!seen.insert(tb).second) return u"a toolbar is listed twice";
    TDockedToolBar* e = EntryOf(tb);
    if (e == nullptr) return u"a listed toolbar has no entry";
    if (tb->AdvDockPanel() != this) return u"a listed toolbar belongs to another panel";
    if (tb->Visible() == (FHiddenToolBars->IndexOf(tb) >= 0)) return u"the hidden list disagrees with a toolbar";
    bars.push_back(e);
  }
  for (Integer i = 0; i < FHiddenToolBars->Count(); ++i)
    if (FToolBars->IndexOf(FHiddenToolBars->Items(i)) < 0) return u"a hidden toolbar is not listed";
  if (static_cast<Integer>(FEntries.size()) != FToolBars->Count()) return u"an entry outlived its toolbar";
  return CheckDockRows(*FRows, bars);
}

// ---------------------------------------------------------------------------
// Toolbars joining and leaving

void TAdvDockPanel::TurnToolBar(TAdvCustomToolBar* ToolBar) {
  // Not through this panel's rows while it turns.
  TAdvDockPanel* dock = ToolBar->FCurrentDock;
  ToolBar->FCurrentDock = nullptr;
  ToolBar->SetDockPosition(FDockAlign);
  ToolBar->FCurrentDock = dock;
  ToolBar->SetButtonsRotated(FDockAlign == daLeft || FDockAlign == daRight);
}

Integer TAdvDockPanel::DockToolBar(TAdvCustomToolBar* ToolBar) {
  if (ToolBar == nullptr) return -1;
  if (ToolBar->FCurrentDock != nullptr && ToolBar->FCurrentDock != this) ToolBar->FCurrentDock->UndockToolBar(ToolBar);
  const bool loading = ComponentState().Contains(csLoading);
  TDockedToolBar* e = MakeEntry(ToolBar);
  Integer row = -1;
  if (HeightLocked()) {
    row = FindRowForToolBar(ToolBar);
    if (row < 0 && ToolBar->Visible()) {
      DropEntry(ToolBar);
      return -1;
    }
  }
  ToolBar->FCurrentDock = nullptr;
  TurnToolBar(ToolBar);
  ToolBar->FCurrentDock = this;
  if (FToolBars->IndexOf(ToolBar) < 0) FToolBars->Add(ToolBar);
  ToolBar->SetRow(-1);
  Integer result = 0;
  if (!ToolBar->Visible()) {
    // A hidden toolbar stands in no row until it is shown.
    if (FHiddenToolBars->IndexOf(ToolBar) < 0) FHiddenToolBars->Add(ToolBar);
  } else if (!loading) {
    TRowCollectionItem* r = row >= 0 ? FRows->Items(row) : FRows->Add();
    result = r->AddToolBar(e);
  }
  ToolBar->Persistence()->SetEnabled(FPersistence->Enabled());
  ToolBar->Persistence()->SetKey(FPersistence->Key());
  ToolBar->Persistence()->SetLocation(FPersistence->Location());
  return result;
}

void TAdvDockPanel::UndockToolBar(TAdvCustomToolBar* ToolBar) {
  TDockedToolBar* e = EntryOf(ToolBar);
  if (e != nullptr && FRows && !ComponentState().Contains(csLoading)) {
    // Wherever it stands: its remembered index may be stale.
    if (const Integer r = FRows->IsToolBarAlreadyAdded(e); r >= 0) FRows->Items(r)->RemoveToolBar(e, !FDestroying);
  }
  FToolBars->Remove(ToolBar);
  FHiddenToolBars->Remove(ToolBar);
  DropEntry(ToolBar);
  if (ToolBar != nullptr && ToolBar->FCurrentDock == this) ToolBar->FCurrentDock = nullptr;
}

void TAdvDockPanel::Dispatch(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (Message.Msg != CM_CONTROLCHANGE) return;
  auto* tb = dynamic_cast<TAdvCustomToolBar*>(reinterpret_cast<TControl*>(Message.WParam));
  if (Message.LParam != 0) {
    if (tb != nullptr && !FDestroying) DockToolBar(tb);
    return;
  }
  // A control leaving: a toolbar being destroyed is no longer one, so the
  // entry is found by address alone.
  auto* c = reinterpret_cast<TControl*>(Message.WParam);
  for (const auto& e : FEntries) {
    if (static_cast<TControl*>(e->ToolBar()) != c) continue;
    TAdvCustomToolBar* t = e->ToolBar();
    if (c->ComponentState().Contains(csDestroying)) {
      // Its toolbar part is gone: only the lists and rows are tidied.
      if (FRows) {
        if (const Integer r = FRows->IsToolBarAlreadyAdded(e.get()); r >= 0) FRows->Items(r)->ForgetToolBar(e.get());
        if (!FDestroying) FRows->DeleteEmptyRows();
      }
      FToolBars->Remove(t);
      FHiddenToolBars->Remove(t);
      DropEntry(t);
      if (!FDestroying && FRows) FRows->UpdateRowRects();
    } else {
      UndockToolBar(t);
    }
    return;
  }
}

void TAdvDockPanel::AlignControl(TControl* AControl) {
  TCustomControl::AlignControl(AControl);
  // A docked toolbar shown or hidden asks its parent to align it.
  auto* tb = dynamic_cast<TAdvCustomToolBar*>(AControl);
  if (tb == nullptr || FApplyingLayout || FDestroying || EntryOf(tb) == nullptr) return;
  if (tb->Visible() == (FHiddenToolBars->IndexOf(tb) >= 0)) ToolBarVisibleChanged(tb);
}

void TAdvDockPanel::ToolBarBoundsChanging(TAdvCustomToolBar* ToolBar, Integer& ALeft, Integer& ATop, Integer& AWidth,
                                          Integer& AHeight) {
  if (FDestroying || ComponentState().Contains(csLoading) || ToolBar == nullptr || !ToolBar->Visible() ||
      ToolBar->Row() < 0)
    return;
  TDockedToolBar* e = EntryOf(ToolBar);
  if (e == nullptr || e->Applying()) return;
  FRows->BoundsChanging(e, ALeft, ATop, AWidth, AHeight);
}

void TAdvDockPanel::ToolBarBoundsChanged(TAdvCustomToolBar* ToolBar) {
  if (FDestroying || FApplyingLayout || ComponentState().Contains(csLoading) || !FRows) return;
  TDockedToolBar* e = EntryOf(ToolBar);
  // A toolbar that sized itself directly (its controls changed): the rows
  // make room for it or take up what it gave back.
  if (e == nullptr || e->Applying() || FRows->IsToolBarAlreadyAdded(e) < 0) return;
  FRows->UpdateRowRects();
}

void TAdvDockPanel::ToolBarVisibleChanged(TAdvCustomToolBar* ToolBar) {
  TDockedToolBar* e = EntryOf(ToolBar);
  if (e == nullptr) return;
  if (ToolBar->Visible())
    FHiddenToolBars->Remove(ToolBar);
  else if (FHiddenToolBars->IndexOf(ToolBar) < 0)
    FHiddenToolBars->Add(ToolBar);
  FRows->ToolBarVisibleChanged(e);
}

void TAdvDockPanel::ToolBarFullSizeChanged(TAdvCustomToolBar* ToolBar) { FRows->MoveToolBarToOwnRow(EntryOf(ToolBar)); }

Integer TAdvDockPanel::FindRowForToolBar(TAdvCustomToolBar* ToolBar) {
  TDockedToolBar probe(ToolBar);
  const IDockBar* bar = EntryOf(ToolBar);
  if (bar == nullptr) bar = &probe;
  const Integer n = FRows->Count();
  // The row nearest the form's client area first.
  if (FDockAlign == daLeft || FDockAlign == daTop) {
    for (Integer i = n - 1; i >= 0; --i)
      if (FRows->Items(i)->IsAllowed(bar)) return i;
  } else {
    for (Integer i = 0; i < n; ++i)
      if (FRows->Items(i)->IsAllowed(bar)) return i;
  }
  return -1;
}

void TAdvDockPanel::ArrangeRowsIfNeeded() {
  for (Integer i = 0; i < FRows->Count(); ++i)
    if (FRows->Items(i)->NeedsArrange()) FRows->Items(i)->ArrangeToolBars();
}

void TAdvDockPanel::ArrangeToolBars() { FRows->PackToolBars(); }

void TAdvDockPanel::StackToolBars() {
  std::vector<TDockedToolBar*> visible;
  for (Integer i = 0; i < FToolBars->Count(); ++i) {
    TAdvCustomToolBar* tb = ToolBarAt(FToolBars.get(), i);
    if (tb->Visible())
      if (TDockedToolBar* e = EntryOf(tb)) visible.push_back(e);
  }
  for (const auto& e : FEntries)
    if (e->ToolBar()->Visible()) e->SetBarRow(-1);
  FRows->Clear();
  if (visible.empty() && HeightLocked()) return;
  if (visible.empty()) {
    FRows->UpdateRowRects();
    return;
  }
  TRowCollectionItem* row = FRows->Add();
  const bool h = FDockAlign == daTop || FDockAlign == daBottom;
  Integer at = 0;
  for (TDockedToolBar* e : visible) {
    row->AppendToolBar(e);
    e->SetBarRow(0);
    TRect r = e->BarBounds();
    r = h ? TRect{at, 0, at + r.Width(), r.Height()} : TRect{0, at, r.Width(), at + r.Height()};
    FRows->RequestBounds(e, r);
    at += h ? e->BarBounds().Width() : e->BarBounds().Height();
  }
  FRows->UpdateRowRects();
}

// ---------------------------------------------------------------------------
// Properties

void TAdvDockPanel::SetAlign(TDockAlign Value) {
  if (Value == FDockAlign) return;
  FDockAlign = Value;
  static constexpr TAlign aligns[] = {alLeft, alTop, alRight, alBottom};
  TCustomControl::SetAlign(aligns[Value]);
  for (Integer i = 0; i < FToolBars->Count(); ++i) TurnToolBar(ToolBarAt(FToolBars.get(), i));
  FRows->UpdateRowRects();
  Invalidate();
}

void TAdvDockPanel::SetMinimumSize(Integer Value) {
  if (Value == FMinimumSize || Value <= 0) return;
  FMinimumSize = Value;
  if (!DockDesigning()) FRows->UpdateDockSize();
}

void TAdvDockPanel::SetLockHeight(bool Value) {
  if (Value == FLockHeight) return;
  FLockHeight = Value;
  if (Value || !FPropertiesLoaded) return;
  // Unlocked: rows emptied meanwhile go, and shown toolbars that found no
  // row while it was locked get one.
  for (Integer i = FRows->Count() - 1; i >= 0; --i) FRows->DeleteRowIfEmpty(FRows->Items(i));
  for (Integer i = 0; i < FToolBars->Count(); ++i) {
    TAdvCustomToolBar* tb = ToolBarAt(FToolBars.get(), i);
    TDockedToolBar* e = EntryOf(tb);
    if (e != nullptr && tb->Visible() && FRows->IsToolBarAlreadyAdded(e) < 0) FRows->ToolBarVisibleChanged(e);
  }
  FRows->UpdateRowRects();
}

void TAdvDockPanel::SetUseRunTimeHeight(bool Value) {
  if (Value == FUseRunTimeHeight) return;
  FUseRunTimeHeight = Value;
  FRows->UpdateRowRects();
}

void TAdvDockPanel::SetPopupMenu(TPopupMenu* Value) {
  TCustomControl::SetPopupMenu(Value);
  if (auto* m = dynamic_cast<TAdvPopupMenu*>(Value); m != nullptr && FCurrentToolBarStyler != nullptr)
    m->SetMenuStyler(FCurrentToolBarStyler->CurrentAdvMenuStyler());
}

void TAdvDockPanel::PersistenceChanged() {
  for (const auto& e : FEntries) {
    if (FRows->IsToolBarAlreadyAdded(e.get()) < 0) continue;
    TPersistence* p = e->ToolBar()->Persistence();
    p->SetEnabled(FPersistence->Enabled());
    p->SetKey(FPersistence->Key());
    p->SetLocation(FPersistence->Location());
  }
}

// ---------------------------------------------------------------------------
// Styler

void TAdvDockPanel::SetToolBarStyler(TCustomZadEdevAziStyler* Value) {
  if (Value != nullptr && Value == FToolBarStyler) return;
  if (FToolBarStyler != nullptr) FToolBarStyler->RemoveControl(this);
  FToolBarStyler = Value;
  if (Value != nullptr) {
    FCurrentToolBarStyler = Value;
    Value->AddControl(this);
    Value->FreeNotification(this);
  } else {
    FCurrentToolBarStyler = FInternalToolBarStyler.get();
  }
  if (!FDestroying && !ComponentState().Contains(csLoading)) {
    for (Integer i = 0; i < FToolBars->Count(); ++i) {
      TAdvCustomToolBar* tb = ToolBarAt(FToolBars.get(), i);
      tb->SetParentStyler(tb->ParentStyler());
      tb->Invalidate();
    }
  }
  SetPopupMenu(PopupMenu());
  Invalidate();
}

void TAdvDockPanel::StylerChanged(Integer AKind) {
  if (FDestroying || FCurrentToolBarStyler == nullptr) return;
  SetColor(FCurrentToolBarStyler->DockColor()->Color());
  if (AKind == skMenuStyler) SetPopupMenu(PopupMenu());
  Invalidate();
}

void TAdvDockPanel::SetColorTones(const TColorTones&) { Invalidate(); }

void TAdvDockPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent == nullptr) return;
  if (static_cast<TComponent*>(FToolBarStyler) == AComponent) {
    if (FDestroying) {
      FToolBarStyler = nullptr;
      FCurrentToolBarStyler = FInternalToolBarStyler.get();
    } else {
      SetToolBarStyler(nullptr);
    }
  }
}

// ---------------------------------------------------------------------------
// Parent, bounds and loading

void TAdvDockPanel::SetParent(TWinControl* AParent) {
  if (dynamic_cast<TAdvDockPanel*>(AParent) != nullptr || dynamic_cast<TAdvCustomToolBar*>(AParent) != nullptr)
    throw Exception(u"Invalid Parent");
  TCustomControl::SetParent(AParent);
}

void TAdvDockPanel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (ToolBarScaleSet || !HandleAllocated()) return;
  if (TCustomForm* form = GetParentForm(this)) {
    FormScaled = form->Scaled();
    const TMonitor* m = form->Monitor();
    UpdateToolBarDPIScale(m != nullptr ? m->PixelsPerInch() : form->PixelsPerInch());
  }
}

void TAdvDockPanel::WMSize(TMessage& Message) {
  TCustomControl::WMSize(Message);
  if (FRows && !FDestroying) FRows->UpdateRowRects();
}

void TAdvDockPanel::Loaded() {
  TCustomControl::Loaded();
  const bool h = FDockAlign == daTop || FDockAlign == daBottom;
  std::vector<TAdvCustomToolBar*> sorted;
  for (Integer i = 0; i < FToolBars->Count(); ++i) {
    TAdvCustomToolBar* tb = ToolBarAt(FToolBars.get(), i);
    auto key = [h](const TAdvCustomToolBar* t) {
      return h ? std::pair{t->Top(), t->Left()} : std::pair{t->Left(), t->Top()};
    };
    // Before the first that is greater: ties keep their docking order.
    const auto at =
        std::upper_bound(sorted.begin(), sorted.end(), tb,
                         [&](const TAdvCustomToolBar* a, const TAdvCustomToolBar* b) { return key(a) < key(b); });
    sorted.insert(at, tb);
    tb->SetButtonsRotated(!h);
  }
  // The rows are built from the designed positions alone.
  struct TRowUpdateGuard {
    TRowCollection* Rows;
    explicit TRowUpdateGuard(TRowCollection* R) : Rows(R) { Rows->BeginRowUpdate(); }
    ~TRowUpdateGuard() {
      if (Rows != nullptr) Rows->EndRowUpdate();
    }
    void End() { std::exchange(Rows, nullptr)->EndRowUpdate(); }
  } rowUpdate(FRows.get());
  for (const auto& e : FEntries) e->SetBarRow(-1);
  FRows->Clear();
  for (TAdvCustomToolBar* tb : sorted) {
    TDockedToolBar* e = MakeEntry(tb);
    if (!tb->Visible()) {
      if (FHiddenToolBars->IndexOf(tb) < 0) FHiddenToolBars->Add(tb);
      continue;
    }
    const Integer left = tb->Left(), top = tb->Top();
    FRows->Add()->AddToolBar(e);
    // The designed positions bring toolbars of one row together again;
    // both axes are scaled alike.
    const Integer l = ScaleToolBarSize(left, ToolBarDPIScale), t = ScaleToolBarSize(top, ToolBarDPIScale);
    TRect r = tb->BoundsRect();
    FRows->RequestBounds(e, TRect{l, r.Top, l + r.Width(), r.Bottom});
    r = tb->BoundsRect();
    FRows->RequestBounds(e, TRect{r.Left, t, r.Right, t + r.Height()});
  }
  if (FPersistence->Enabled() && !DockDesigning()) LoadToolBarsPosition();
  FPropertiesLoaded = true;
}

// ---------------------------------------------------------------------------
// Painting

void TAdvDockPanel::Paint() {
  TCustomControl::Paint();
  FMyImage->SetSize(Width(), Height());
  TCanvas* c = FMyImage->Canvas();
  TCustomZadEdevAziStyler* s =
      FCurrentToolBarStyler != nullptr && !FCurrentToolBarStyler->ComponentState().Contains(csDestroying)
          ? FCurrentToolBarStyler
          : FInternalToolBarStyler.get();
  const TRect r = ClientRect();
  TGradientBackground* d = s->DockColor();
  if (d->ColorTo() == clNone) {
    if (d->Color() != clNone) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(d->Color());
      c->Pen()->SetColor(d->Color());
      c->Rectangle(r);
    }
  } else {
    toolbar::DrawGradient(c, d->Color(), d->ColorTo(), d->Steps(), r, d->Direction() == gdHorizontal);
  }
  TBitmap* bg = s->BackGround();
  if (bg != nullptr && !bg->Empty()) {
    switch (s->BackGroundDisplay()) {
      case bdTile:
        for (Integer x = 1; x < Width() - 2; x += std::max(1, bg->Width()))
          for (Integer y = 1; y < Height() - 2; y += std::max(1, bg->Height())) c->Draw(x, y, bg);
        break;
      case bdCenter: c->Draw((Width() - bg->Width()) / 2, (Height() - bg->Height()) / 2, bg); break;
      case bdStretch: c->StretchDraw(TRect{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2}, bg); break;
    }
  }
  Canvas()->Draw(0, 0, FMyImage.get());
}

// ---------------------------------------------------------------------------
// Layout store

void TAdvDockPanel::SaveToolBarsPosition() {
  if (DockDesigning()) return;
  std::unique_ptr<TCustomIniFile> ini = OpenPersistenceStore(*FPersistence);
  if (!ini) return;
  SaveToolBarsPosition(ini.get(), FPersistence->Section());
}

void TAdvDockPanel::SaveToolBarsPosition(TCustomIniFile* Ini, const String& Section) {
  if (Ini == nullptr) return;
  // Rows in order, then the hidden toolbars; toolbars without a name cannot
  // be told apart in the store.
  std::vector<TAdvCustomToolBar*> order;
  for (Integer i = 0; i < FRows->Count(); ++i)
    for (IDockBar* b : FRows->Items(i)->ToolBarList()) order.push_back(static_cast<TDockedToolBar*>(b)->ToolBar());
  for (Integer i = 0; i < FHiddenToolBars->Count(); ++i) order.push_back(ToolBarAt(FHiddenToolBars.get(), i));
  TStoredDockLayout layout;
  layout.RowCount = FRows->Count();
  for (TAdvCustomToolBar* tb : order) {
    if (tb->Name().empty()) continue;
    TStoredToolBar t;
    t.Name = tb->Name();
    t.Row = tb->Row();
    t.Left = tb->Left();
    t.Top = tb->Top();
    t.Width = tb->Width();
    t.Height = tb->Height();
    t.Visible = tb->Visible();
    layout.ToolBars.push_back(std::move(t));
  }
  WriteDockLayout(*Ini, Section, layout);
  // Written now, so that a failure reaches the caller.
  Ini->UpdateFile();
}

std::vector<TAdvDockPanel*> TAdvDockPanel::OtherDockPanels() {
  std::vector<TAdvDockPanel*> found;
  TWinControl* root = nullptr;
  for (TWinControl* p = Parent(); p != nullptr; p = p->Parent())
    if (dynamic_cast<TCustomForm*>(p) != nullptr) {
      root = p;
      break;
    }
  if (root == nullptr) return found;
  // Bounded by the controls that exist, each visited once.
  std::vector<TWinControl*> todo{root};
  while (!todo.empty()) {
    TWinControl* w = todo.back();
    todo.pop_back();
    for (Integer i = 0; i < w->ControlCount(); ++i) {
      auto* c = dynamic_cast<TWinControl*>(w->Controls(i));
      if (c == nullptr || c == this) continue;
      if (auto* p = dynamic_cast<TAdvDockPanel*>(c)) found.push_back(p);
      todo.push_back(c);
    }
  }
  return found;
}

void TAdvDockPanel::LoadToolBarsPosition() {
  if (DockDesigning()) return;
  std::unique_ptr<TCustomIniFile> ini = OpenPersistenceStore(*FPersistence);
  if (!ini) return;
  LoadToolBarsPosition(ini.get(), FPersistence->Section());
}

void TAdvDockPanel::LoadToolBarsPosition(TCustomIniFile* Ini, const String& Section) {
  if (Ini == nullptr) return;
  {
    // A toolbar whose own layout makes it float leaves the entries.
    std::vector<TAdvCustomToolBar*> pending;
    for (const auto& e : FEntries)
      if (FRows->IsToolBarAlreadyAdded(e.get()) >= 0 && !e->ToolBar()->FPersistSettingLoaded)
        pending.push_back(e->ToolBar());
    for (TAdvCustomToolBar* tb : pending)
      if (EntryOf(tb) != nullptr) tb->LoadPosition();
  }
  // Checked field by field before anything is applied.
  const TStoredDockLayout layout = ReadDockLayout(*Ini, Section);
  if (layout.ToolBars.empty()) return;

  // Every toolbar of this panel by name (a hidden one too, so that the
  // store can show it again); each is placed once at most.
  std::vector<TAdvCustomToolBar*> unplaced;
  for (Integer i = 0; i < FToolBars->Count(); ++i) unplaced.push_back(ToolBarAt(FToolBars.get(), i));
  auto takeByName = [&](const String& Name) -> TAdvCustomToolBar* {
    for (auto it = unplaced.begin(); it != unplaced.end(); ++it)
      if (!(*it)->Name().empty() && SameText((*it)->Name(), Name)) {
        TAdvCustomToolBar* tb = *it;
        unplaced.erase(it);
        return tb;
      }
    return nullptr;
  };
  struct TLayoutGuard {
    bool& Flag;
    explicit TLayoutGuard(bool& F) : Flag(F) { Flag = true; }
    ~TLayoutGuard() { Flag = false; }
  } guard(FApplyingLayout);

  const std::vector<TAdvDockPanel*> others = OtherDockPanels();
  // Rows: no more than toolbars that could fill them; without a believable
  // count the current number of rows.
  Integer available = FToolBars->Count();
  for (TAdvDockPanel* p : others) available += p->ZadEdevAziCount();
  const Integer r = std::min(layout.RowCount.value_or(FRows->Count()), available);
  struct TRowUpdateGuard {
    TRowCollection* Rows;
    explicit TRowUpdateGuard(TRowCollection* R) : Rows(R) { Rows->BeginRowUpdate(); }
    ~TRowUpdateGuard() {
      if (Rows != nullptr) Rows->EndRowUpdate();
    }
    void End() { std::exchange(Rows, nullptr)->EndRowUpdate(); }
  } rowUpdate(FRows.get());
  for (const auto& e : FEntries) e->SetBarRow(-1);
  FRows->Clear();
  for (Integer i = 0; i < r; ++i) FRows->Add();

  for (const TStoredToolBar& st : layout.ToolBars) {
    TAdvCustomToolBar* tb = takeByName(st.Name);
    if (tb == nullptr) {
      for (TAdvDockPanel* p : others) {
        for (Integer k = 0; k < p->ZadEdevAziCount() && tb == nullptr; ++k)
          if (!p->ZadEdevAzis(k)->Name().empty() && SameText(p->ZadEdevAzis(k)->Name(), st.Name))
            tb = p->ZadEdevAzis(k);
        if (tb != nullptr) break;
      }
      if (tb == nullptr) continue;
      // Taken from another panel: it joins this panel's list; the store
      // decides its row.
      tb->SetParent(this);
      if (EntryOf(tb) == nullptr) continue;
    }
    TDockedToolBar* e = EntryOf(tb);
    const Integer w = st.Width.value_or(tb->Width());
    const Integer l = st.Left.value_or(tb->Left());
    const Integer t = st.Top.value_or(tb->Top());
    const Integer hgt = st.Height.value_or(tb->Height());
    const bool visible = st.Visible.value_or(tb->Visible());
    const bool rowOk = st.Row >= 0 && st.Row < r;

    // Out of whatever row it stood in, then placed by the store.
    if (const Integer in = FRows->IsToolBarAlreadyAdded(e); in >= 0) FRows->Items(in)->ForgetToolBar(e);
    tb->SetRow(-1);
    if (visible && rowOk && FRows->Items(st.Row)->AppendToolBar(e)) {
      tb->SetRow(st.Row);
    } else if (visible) {
      // No usable row: placed as a toolbar the store does not name.
      unplaced.push_back(tb);
    } else {
      // Hidden: remembers its row for when it is shown (checked then; the
      // row may be gone already).
      tb->SetRow(st.Row);
    }
    const bool oldAllow = tb->AllowBoundChange();
    tb->SetAllowBoundChange(true);
    if (tb->Width() != w) tb->SetWidth(w);
    if (tb->Left() != l) tb->SetLeft(l);
    if (tb->Top() != t) tb->SetTop(t);
    if (tb->Height() != hgt) tb->SetHeight(hgt);
    tb->SetAllowBoundChange(oldAllow);
    if (visible)
      FHiddenToolBars->Remove(tb);
    else if (FHiddenToolBars->IndexOf(tb) < 0)
      FHiddenToolBars->Add(tb);
    if (tb->Visible() != visible) tb->SetVisible(visible);
  }
  FRows->DeleteEmptyRows();
  for (TAdvCustomToolBar* tb : unplaced) {
    TDockedToolBar* e = EntryOf(tb);
    if (e == nullptr || !tb->Visible() || FRows->IsToolBarAlreadyAdded(e) >= 0) continue;
    if (HeightLocked()) {
      if (const Integer at = FindRowForToolBar(tb); at >= 0) FRows->Items(at)->AddToolBar(e);
    } else {
      FRows->Add()->AddToolBar(e);
    }
  }
  // Places the rows and sizes the dock, once.
  rowUpdate.End();
  for (Integer i = 0; i < FToolBars->Count(); ++i) {
    TAdvCustomToolBar* tb = ToolBarAt(FToolBars.get(), i);
    if (!tb->Visible()) continue;
    tb->ArrangeControls(true);
    tb->UpdateHiddenControls();
  }
}

}  // namespace toolbar
