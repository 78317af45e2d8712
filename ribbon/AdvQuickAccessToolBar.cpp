#include "ribbon/AdvQuickAccessToolBar.h"

#include <algorithm>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Monitors.h"
#include "ribbon/AdvDWM.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/ToolBarDraw.h"
#include "toolbar/ToolBarText.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

namespace {

toolbar::IQuickAccessButtonHost* ResolveHost(TAdvQuickAccessToolBar* Q) { return Q; }

template <typename T>
void Erase(std::vector<T*>& V, const TControl* C) {
  V.erase(std::remove(V.begin(), V.end(), C), V.end());
}

template <typename T>
bool Has(const std::vector<T*>& V, const TControl* C) {
  return std::find(V.begin(), V.end(), C) != V.end();
}

}  // namespace

TRect QuickAccessReservedRect(const TZadEdevAziPager* Pager, bool FullSize) {
  // The pager decides the place (caption row or the strip below).
  if (Pager == nullptr) return TRect{-1, -1, -1, -1};
  return Pager->GetQATRect(FullSize);
}

TAdvCustomQuickAccessToolBar::TAdvCustomQuickAccessToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
  toolbar::SetQuickAccessHostResolver(&ResolveHost);
  FIsAeroVista = advdwm::IsCompositionEnabled();
  TControlStyle cs = ControlStyle();
  cs.Exclude(csOpaque);
  cs.Include(csAcceptsControls);
  if (FIsAeroVista) cs.Include(csParentBackground);
  SetControlStyle(cs);
  FAppIconAlphaBlended = !FIsWin7;
  if (!FIsAeroVista) {
    SetDoubleBuffered(true);
  } else {
    FRefGlowButton = new TAdvGlowButton(this);
    FRefGlowButton->SetParent(this);
    FRefGlowButton->SetAlign(alNone);
    FRefGlowButton->SetBounds(1, 1, 1, 1);
    FRefGlowButton->SetTabStop(false);
    FRefGlowButton->SetTransparent(true);
  }
}

TAdvCustomQuickAccessToolBar::~TAdvCustomQuickAccessToolBar() {
  // Components go with the owner; nothing is laid out while they do.
  FInternalUpdatingControlPos = true;
  FInternalUpdatingSize = true;
}

TZadEdevAziPager* TAdvCustomQuickAccessToolBar::Pager() const { return dynamic_cast<TZadEdevAziPager*>(Parent()); }

bool TAdvCustomQuickAccessToolBar::Scenic() const {
  TZadEdevAziPager* p = Pager();
  return p != nullptr ? p->Win7ScenicRibbon() : gdiplus::GetScenicRibbonFlag();
}

toolbar::TCustomZadEdevAziStyler* TAdvCustomQuickAccessToolBar::GetToolBarStyler() {
  TZadEdevAziPager* p = Pager();
  return p != nullptr ? p->CurrentToolBarStyler() : nullptr;
}

bool TAdvCustomQuickAccessToolBar::IsOffice2013Style() const {
  TZadEdevAziPager* p = Pager();
  if (p == nullptr || !p->UsesTones()) return false;
  const TGroupStyle g = p->GroupStyle();
  return g == gsOffice2013 || g == gsOffice2016 || g == gsOffice2019;
}

TQATLook TAdvCustomQuickAccessToolBar::Look() const {
  TQATLook l;
  l.FullSize = FFullSize;
  l.Scenic = Scenic();
  l.GlassFlag = gdiplus::GetGlassFlag();
  l.Office2013 = IsOffice2013Style();
  l.Scale = toolbar::ToolBarDPIScale;
  return l;
}

TRect TAdvCustomQuickAccessToolBar::GetBaseRect() const { return QATBaseRect(Look(), Width(), Height()); }
TRect TAdvCustomQuickAccessToolBar::GetButtonsRect() const { return QATButtonsRect(Look(), Width(), Height()); }
TRect TAdvCustomQuickAccessToolBar::GetCustomizeButtonRect() const {
  return QATCustomizeButtonRect(toolbar::ToolBarDPIScale, Width(), Height());
}
Integer TAdvCustomQuickAccessToolBar::GetMinWidth() const { return QATMinWidth(toolbar::ToolBarDPIScale); }

bool TAdvCustomQuickAccessToolBar::IsSpecial(const TControl* C) const {
  return C == FScrollButton || C == FCustomizeButton || C == FRefGlowButton || C == FOverflowWindow ||
         C == FOverflowWindowPanel || C == FAppIconButton || dynamic_cast<const TAppIconGlowButton*>(C) != nullptr;
}

Integer TAdvCustomQuickAccessToolBar::GetNeededWidth() const {
  Integer w = 0;
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Visible() && !IsSpecial(c) && !Has(FHiddenCtrlList, c)) w += c->Width();
  }
  for (TControl* c : FHiddenCtrlList)
    if (!IsSpecial(c)) w += c->Width();
  return QATNeededWidth(Look(), Height(), w);
}

void TAdvCustomQuickAccessToolBar::SetParent(TWinControl* AParent) {
  if (AParent != nullptr && dynamic_cast<TZadEdevAziPager*>(AParent) == nullptr) throw Exception(u"Invalid Parent");
  if (AParent != nullptr && (AParent->Parent() == nullptr || AParent->Parent()->ClassName() != u"TZadEdevAziForm"))
    SetIsAeroVista(false), FNoGlass = true;
  TCustomControl::SetParent(AParent);
}

void TAdvCustomQuickAccessToolBar::SetIsAeroVista(bool Value) {
  if (FNoGlass) Value = false;
  if (Value == FIsAeroVista || (Value && ComponentState().Contains(csDesigning))) return;
  FIsAeroVista = Value;
  TControlStyle cs = ControlStyle();
  if (Value)
    cs.Include(csParentBackground);
  else
    cs.Exclude(csParentBackground);
  SetControlStyle(cs);
  SetDoubleBuffered(!Value);
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* g = dynamic_cast<TAdvGlowButton*>(Controls(i))) g->FInternalIsOnGlassQAT = Value;
  Invalidate();
}

bool TAdvCustomQuickAccessToolBar::AppliesLayout() const {
  return Pager() != nullptr && FUpdateCount == 0 && !FInternalUpdatingControlPos && !FInternalUpdatingSize &&
         !ComponentState().Contains(csLoading) && !ComponentState().Contains(csDestroying);
}

void TAdvCustomQuickAccessToolBar::RemoveStaleHiddenControls() {
  for (Integer i = Integer(FHiddenCtrlList.size()) - 1; i >= 0; --i) {
    TControl* c = FHiddenCtrlList[i];
    const bool mine = c->Parent() == this;
    const bool inPanel = FOverflowWindowPanel != nullptr && c->Parent() == FOverflowWindowPanel;
    if (!mine && !inPanel) FHiddenCtrlList.erase(FHiddenCtrlList.begin() + i);
  }
}

void TAdvCustomQuickAccessToolBar::BuildControlList() {
  FCtrlList.clear();
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c == nullptr || !c->Visible() || IsSpecial(c) || Has(FHiddenCtrlList, c)) continue;
    auto pos = std::find_if(FCtrlList.begin(), FCtrlList.end(), [&](TControl* o) { return o->Left() > c->Left(); });
    FCtrlList.insert(pos, c);
  }
  RemoveStaleHiddenControls();
}

void TAdvCustomQuickAccessToolBar::UpdateControlPos(bool Resize) {
  if (FInternalUpdatingControlPos || ComponentState().Contains(csLoading) || FUpdateCount > 0) return;
  FInternalUpdatingControlPos = true;
  // The same arithmetic the layout model runs, applied to the controls.
  TQATLayout L;
  L.Look = Look();
  L.Width = Width();
  L.Height = Height();
  for (TControl* c : FCtrlList) {
    L.Shown.push_back(int(L.Items.size()));
    L.Items.push_back(TQATItem{c->Left(), c->Top(), c->Width(), c->Height(), true, true});
  }
  for (TControl* c : FHiddenCtrlList) {
    L.Hidden.push_back(int(L.Items.size()));
    L.Items.push_back(TQATItem{c->Left(), c->Top(), c->Width(), c->Height(), true, c->Parent() == this});
  }
  auto small = [](TAdvVistaButton* b) {
    TQATSmallButton s;
    if (b == nullptr) return s;
    s.Exists = true;
    s.Visible = b->Visible() && b->Parent() != nullptr;
    s.Left = b->Left(), s.Top = b->Top(), s.Width = b->Width(), s.Height = b->Height();
    return s;
  };
  L.Customize = small(FCustomizeButton);
  L.Scroll = small(FScrollButton);
  QATPlaceControls(L);
  const size_t shown = FCtrlList.size();
  for (size_t k = 0; k < L.Items.size(); ++k) {
    TControl* c = k < shown ? FCtrlList[k] : FHiddenCtrlList[k - shown];
    if (c->Parent() == this) c->SetBounds(L.Items[k].Left, L.Items[k].Top, c->Width(), c->Height());
  }
  if (FCustomizeButton != nullptr && L.Customize.Visible && FHiddenCtrlList.empty())
    FCustomizeButton->SetBounds(L.Customize.Left, L.Customize.Top, FCustomizeButton->Width(), L.Customize.Height);
  if (FScrollButton != nullptr && L.Scroll.Visible && !FHiddenCtrlList.empty())
    FScrollButton->SetBounds(L.Scroll.Left, L.Scroll.Top, FScrollButton->Width(), L.Scroll.Height);
  FInternalUpdatingControlPos = false;
  if (Resize) UpdateSize();
}

void TAdvCustomQuickAccessToolBar::UpdateSize() {
  TZadEdevAziPager* p = Pager();
  if (p == nullptr || FInternalUpdatingSize) return;
  FInternalUpdatingSize = true;
  const TRect R = QuickAccessReservedRect(p, FFullSize);
  if (FFullSize) {
    TCustomControl::SetBounds(R.Left, R.Top, std::max(R.Width(), GetMinWidth()), R.Height());
  } else if (p->Caption()->Visible()) {
    const Integer w = std::max(GetMinWidth(), std::min(GetNeededWidth(), R.Width()));
    TCustomControl::SetBounds(R.Left, R.Top, w, R.Height());
  }
  FInternalUpdatingSize = false;
}

void TAdvCustomQuickAccessToolBar::SetScrollButtonVisible(bool Value) {
  if (FScrollButton != nullptr && FScrollButton->Visible() == Value) return;
  if (!Value) {
    if (FScrollButton != nullptr) FScrollButton->SetVisible(false);
    return;
  }
  const Integer bw = QATScaledButtonWidth(toolbar::ToolBarDPIScale, FButtonWidth);
  if (FScrollButton == nullptr) {
    FScrollButton = new TAdvVistaButton(this);
    FScrollButton->SetVisible(false);
    FScrollButton->SetParent(this);
    FScrollButton->SetArrowStyle(asDouble);
    FScrollButton->SetScrollArrow(saRight);
    FScrollButton->SetBounds(0, 0, bw, Height());
    FScrollButton->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
      ScrollButtonMouseDown(S, B, Sh, X, Y);
    };
  }
  const TRect cr = GetCustomizeButtonRect();
  FScrollButton->SetBounds(cr.Left, cr.Top, FScrollButton->Width(), FScrollButton->Height());
  if (auto* s = GetToolBarStyler()) FScrollButton->Appearance()->Assign(s->GlowButtonAppearance());
  FScrollButton->SetVisible(true);
}

void TAdvCustomQuickAccessToolBar::UpdateHiddenControls() {
  if (!AppliesLayout()) return;
  TZadEdevAziPager* p = Pager();
  // The application icon button shows exactly with the caption.
  if (Look().IconLook())
    for (Integer i = 0; i < ControlCount(); ++i)
      if (dynamic_cast<TAppIconGlowButton*>(Controls(i)) != nullptr) Controls(i)->SetVisible(p->Caption()->Visible());

  TQATLayout L;
  L.Look = Look();
  L.Width = Width();
  L.Height = Height();
  for (TControl* c : FCtrlList) {
    L.Shown.push_back(int(L.Items.size()));
    L.Items.push_back(TQATItem{c->Left(), c->Top(), c->Width(), c->Height(), true, true});
  }
  for (TControl* c : FHiddenCtrlList) {
    L.Hidden.push_back(int(L.Items.size()));
    L.Items.push_back(TQATItem{c->Left(), c->Top(), c->Width(), c->Height(), true, c->Parent() == this});
  }
  std::vector<TControl*> byIndex = FCtrlList;
  byIndex.insert(byIndex.end(), FHiddenCtrlList.begin(), FHiddenCtrlList.end());
  L.Scroll.Exists = FScrollButton != nullptr;
  L.Scroll.Visible = FScrollButton != nullptr && FScrollButton->Visible();
  L.Customize.Exists = FCustomizeButton != nullptr;
  L.Customize.Visible = FCustomizeButton != nullptr && FCustomizeButton->Visible() && FCustomizeButton->Parent() == this;
  L.ShowCustomizeOption = FShowCustomizeOption;
  const bool hadHidden = !FHiddenCtrlList.empty();
  // The model keeps its own copy of the lists; the controls follow it.
  TQATLayout before = L;
  QATUpdateHiddenControls(L);
  (void)before;

  const bool old = FInternalUpdatingControlPos;
  FInternalUpdatingControlPos = true;
  std::vector<TControl*> hidden;
  for (int i : L.Hidden) hidden.push_back(byIndex[i]);
  // Controls back from the overflow panel come home to the toolbar.
  for (size_t k = 0; k < byIndex.size(); ++k) {
    TControl* c = byIndex[k];
    if (L.Items[k].OnToolBar && c->Parent() != this) {
      c->SetParent(this);
      c->SetBounds(L.Items[k].Left, c->Top(), c->Width(), c->Height());
    }
  }
  FHiddenCtrlList = hidden;
  // A hidden control may be freed while it waits in the overflow panel,
  // where the toolbar does not see it leave: its free notification takes
  // it off the list.
  for (TControl* c : FHiddenCtrlList) c->FreeNotification(this);
  if (!FHiddenCtrlList.empty()) {
    SetScrollButtonVisible(true);
    if (FCustomizeButton != nullptr && FCustomizeButton->Visible() && FCustomizeButton->Parent() == this)
      FCustomizeButton->SetVisible(false);
  } else {
    SetScrollButtonVisible(false);
    if (hadHidden && FShowCustomizeOption &&
        (FCustomizeButton == nullptr || FCustomizeButton->Parent() != this || !FCustomizeButton->Visible())) {
      FShowCustomizeOption = false;
      FInternalUpdatingControlPos = old;
      SetShowCustomizeOption(true);
      FInternalUpdatingControlPos = true;
    }
  }
  FInternalUpdatingControlPos = old;
  BuildControlList();
  // Place the controls by the new lists at once, so that none is left in
  // sight after it was hidden.
  UpdateControlPos(false);
}

void TAdvCustomQuickAccessToolBar::Relayout() {
  if (ComponentState().Contains(csDestroying)) return;
  BuildControlList();
  UpdateSize();
  UpdateControlPos(false);
  UpdateHiddenControls();
}

void TAdvCustomQuickAccessToolBar::SetFullSize(bool Value) {
  if (FFullSize == Value) return;
  FFullSize = Value;
  Relayout();
  UpdateControlPos(false);
  UpdateAppIcon();
}

void TAdvCustomQuickAccessToolBar::SetShowCustomizeOption(bool Value) {
  if (FShowCustomizeOption == Value) return;
  FShowCustomizeOption = Value;
  const Integer bw = QATScaledButtonWidth(toolbar::ToolBarDPIScale, FButtonWidth);
  if (Value) {
    if (FCustomizeButton != nullptr) {
      FCustomizeButton->SetVisible(false);
      FCustomizeButton->SetBounds(FCustomizeButton->Left(), FCustomizeButton->Top(), bw, Height());
    } else {
      FCustomizeButton = new TAdvVistaButton(this);
      FCustomizeButton->SetVisible(false);
      FCustomizeButton->SetParent(this);
      FCustomizeButton->SetArrowStyle(asWithLine);
      FCustomizeButton->SetScrollArrow(saBottom);
      FCustomizeButton->SetBounds(0, 0, bw, Height());
      FCustomizeButton->OnClick = [this](TObject* S) { CustomizeButtonClick(S); };
      FCustomizeButton->SetHint(FCustomizeHint);
    }
    if (FCustomizeButton->Parent() != this) FCustomizeButton->SetParent(this);
    if (auto* s = GetToolBarStyler()) FCustomizeButton->Appearance()->Assign(s->GlowButtonAppearance());
    FCustomizeButton->SetVisible(true);
  } else if (FCustomizeButton != nullptr) {
    FCustomizeButton->SetVisible(false);
    FCustomizeButton->SetBounds(FCustomizeButton->Left(), FCustomizeButton->Top(), 0, 0);
  }
  UpdateSize();
  UpdateControlPos(false);
  UpdateHiddenControls();
}

void TAdvCustomQuickAccessToolBar::SetCustomizeHint(const String& Value) {
  FCustomizeHint = Value;
  if (FCustomizeButton != nullptr) FCustomizeButton->SetHint(Value);
}

void TAdvCustomQuickAccessToolBar::CustomizeButtonClick(TObject*) {
  if (OnCustomizeClick) OnCustomizeClick(this);
  if (FDropDownPopupMenu == nullptr || FCustomizeButton == nullptr) return;
  const TPoint p =
      ClientToScreen(TPoint{FCustomizeButton->Left(), FCustomizeButton->Top() + FCustomizeButton->Height()});
  FCustomizeButton->SetDown(true);
  FDropDownPopupMenu->Popup(p.X, p.Y);
  FCustomizeButton->SetDown(false);
  FCustomizeButton->Invalidate();
}

void TAdvCustomQuickAccessToolBar::ScrollButtonMouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) {
  if (FScrollButton != nullptr) FScrollButton->SetDown(true);
  ShowOverflowWindow(0, 0, false);
}

void TAdvCustomQuickAccessToolBar::BuildOverflowWindow() {
  if (FOverflowWindow == nullptr) {
    FOverflowWindow = new toolbar::TOptionSelectorWindow(this);
    FOverflowWindow->AfterConstruction();
    FOverflowWindow->SetParent(this);
    FOverflowWindow->SetBorderIcons({});
    FOverflowWindow->SetBorderStyle(bsNone);
    FOverflowWindow->SetFormStyle(fsStayOnTop);
    FOverflowWindow->SetVisible(false);
    FOverflowWindow->SetBounds(FOverflowWindow->Left(), FOverflowWindow->Top(), 10, 10);
    FOverflowWindow->OnHide = [this](TObject* S) { OverflowWindowHide(S); };
    FOverflowWindow->SetZadEdevAzi(nullptr);
  }
  if (FOverflowWindowPanel == nullptr) {
    FOverflowWindowPanel = new toolbar::TControlSelectorPanel(FOverflowWindow);
    FOverflowWindowPanel->SetParent(FOverflowWindow);
  }
  toolbar::TControlSelectorPanel* P = FOverflowWindowPanel;
  P->SetShowAddAndRemoveBtn(false);
  P->SetOptionsMenu(nullptr);
  P->SetTextAutoOptionMenu(u"");
  P->SetTextOptionMenu(u"");
  P->SetCustomizer(nullptr);
  P->SetZadEdevAzi(nullptr);
  if (auto* s = GetToolBarStyler()) {
    auto* a = s->ButtonAppearance();
    P->SetItemColorHot(a->ColorHot());
    P->SetItemColorHotTo(a->ColorHotTo());
    P->SetItemColorDown(a->ColorDown());
    P->SetItemColorDownTo(a->ColorDownTo());
    P->SetItemTextColor(a->CaptionTextColor());
    P->SetItemTextColorHot(a->CaptionTextColorHot());
    P->SetItemTextColorDown(a->CaptionTextColorDown());
    P->SetWindowBorderColor(s->QATAppearance()->FullSizeBorderColor());
    P->SetColor(s->TabAppearance()->BackGround()->Color());
    P->SetColorTo(s->TabAppearance()->BackGround()->Color());
  }
  FOverflowWindow->SetOptionsPanel(P);
  P->ClearControlList();
  const bool old = FInternalUpdatingControlPos;
  FInternalUpdatingControlPos = true;
  for (TControl* c : FHiddenCtrlList) P->AddControl(c);
  if (FShowCustomizeOption && FCustomizeButton != nullptr) {
    FCustomizeButton->SetVisible(true);
    P->AddControl(FCustomizeButton);
  }
  FInternalUpdatingControlPos = old;
  P->ArrangeControls();
  FOverflowWindow->SetWindowSize();
}

void TAdvCustomQuickAccessToolBar::ShowOverflowWindow(Integer X, Integer Y, bool AtPosition) {
  BuildOverflowWindow();
  if (FOverflowWindow == nullptr || FOverflowWindowPanel == nullptr) return;
  const Integer w = FOverflowWindow->Width(), h = FOverflowWindow->Height();
  if (!AtPosition && Parent() != nullptr) {
    const TPoint p = Parent()->ClientToScreen(TPoint{Left() + Width() - 12, Top() + Height() + 1});
    X = p.X;
    Y = p.Y;
    TRect work;
    if (TMonitor* m = Screen->MonitorFromPoint(p))
      work = m->WorkareaRect();
    else
      SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    if (work.Bottom < h + Y + 2) Y = work.Bottom - h - 2;
    if (work.Right < w + X) X = work.Right - w;
  }
  if (FOverflowWindowPanel->IsEmpty()) return;
  FOverflowWindow->SetBounds(X, Y, w, h);
  FOverflowWindow->Show();
}

void TAdvCustomQuickAccessToolBar::OverflowWindowHide(TObject*) {
  if (FScrollButton != nullptr) FScrollButton->SetDown(false);
}

void TAdvCustomQuickAccessToolBar::HideOverflowWindow() {
  if (FOverflowWindow != nullptr && FOverflowWindow->Visible()) FOverflowWindow->Hide();
}

void TAdvCustomQuickAccessToolBar::AddToolBarControl(TControl* AControl) {
  if (AControl != nullptr && AControl->Parent() != this) AControl->SetParent(this);
}

void TAdvCustomQuickAccessToolBar::RemoveControl(TControl* AControl) {
  if (AControl == nullptr) return;
  if (AControl->Parent() == this) AControl->SetParent(nullptr);
  if (Has(FHiddenCtrlList, AControl)) {
    Erase(FHiddenCtrlList, AControl);
    if (FOverflowWindowPanel != nullptr && AControl->Parent() == FOverflowWindowPanel) AControl->SetParent(nullptr);
  }
  Erase(FCtrlList, AControl);
}

std::vector<TControl*> TAdvCustomQuickAccessToolBar::Clear() {
  std::vector<TControl*> left;
  if (ComponentState().Contains(csDestroying)) return left;
  const bool old = FInternalUpdatingControlPos;
  FInternalUpdatingControlPos = true;
  // A control already on its way out is its destroyer's to finish.
  auto dying = [](const TControl* c) { return c->ComponentState().Contains(csDestroying); };
  for (Integer i = ControlCount() - 1; i >= 0; --i) {
    TControl* c = Controls(i);
    if (IsSpecial(c)) continue;
    Erase(FHiddenCtrlList, c);
    Erase(FCtrlList, c);
    if (!dying(c)) delete c;
  }
  FCtrlList.clear();
  // What is left of the hidden list waits in the overflow panel, unless the
  // application took it out since (another parent, or none): that one is
  // not the toolbar's to free and goes back to the caller.
  while (!FHiddenCtrlList.empty()) {
    TControl* c = FHiddenCtrlList.back();
    FHiddenCtrlList.pop_back();
    if (IsSpecial(c) || dying(c)) continue;
    const bool inPanel = FOverflowWindowPanel != nullptr && c->Parent() == FOverflowWindowPanel;
    if (inPanel) {
      delete c;
    } else {
      c->RemoveFreeNotification(this);
      left.push_back(c);
    }
  }
  FInternalUpdatingControlPos = old;
  if (FShowCustomizeOption) {
    FShowCustomizeOption = false;
    SetShowCustomizeOption(true);
  }
  Relayout();
  return left;
}

void TAdvCustomQuickAccessToolBar::BeginUpdate() {
  // Counted whatever the visibility, so that every EndUpdate finds its
  // BeginUpdate even when the toolbar was shown or hidden in between.
  ++FUpdateCount;
  if (HandleAllocated()) Perform(WM_SETREDRAW, 0, 0);
}

void TAdvCustomQuickAccessToolBar::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount > 0) return;
  if (HandleAllocated()) Perform(WM_SETREDRAW, 1, 0);
  Invalidate();
  Relayout();
}

void TAdvCustomQuickAccessToolBar::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages != nullptr) {
    const Integer newH = Value != nullptr ? Value->Height() : 0;
    SetHeight(Height() + newH - FImages->Height());
  }
  FImages = Value;
  const bool old = FInternalUpdatingControlPos;
  FInternalUpdatingControlPos = true;
  for (TControl* c : FCtrlList)
    if (auto* b = dynamic_cast<toolbar::TAdvCustomToolBarControl*>(c)) b->AdjustSize();
  FInternalUpdatingControlPos = old;
  UpdateControlPos(true);
  Invalidate();
}

void TAdvCustomQuickAccessToolBar::SetDisabledImages(TCustomImageList* Value) {
  FDisabledImages = Value;
  for (TControl* c : FCtrlList)
    if (auto* b = dynamic_cast<toolbar::TAdvCustomToolBarControl*>(c)) b->AdjustSize();
  Invalidate();
}

void TAdvCustomQuickAccessToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FDisabledImages) FDisabledImages = nullptr;
  if (AComponent == FDropDownPopupMenu) FDropDownPopupMenu = nullptr;
  if (AComponent == FCustomizeButton) FCustomizeButton = nullptr;
  if (AComponent == FScrollButton) FScrollButton = nullptr;
  if (AComponent == FOverflowWindow) FOverflowWindow = nullptr, FOverflowWindowPanel = nullptr;
  if (AComponent == FRefGlowButton) FRefGlowButton = nullptr;
  if (AComponent == FAppIconButton) FAppIconButton = nullptr;
  if (AComponent == FHintCtrl) FHintCtrl = nullptr;
  // A control freed is told as a bare component (its control part is gone
  // by then): the lists are searched by the component's address.
  auto gone = [AComponent](const TControl* c) { return static_cast<const TComponent*>(c) == AComponent; };
  std::erase_if(FCtrlList, gone);
  std::erase_if(FHiddenCtrlList, gone);
}

void TAdvCustomQuickAccessToolBar::Loaded() {
  TCustomControl::Loaded();
  Relayout();
  UpdateAppIcon();
  ApplyStyler();
}

void TAdvCustomQuickAccessToolBar::Update() {
  TCustomControl::Update();
  Relayout();
  UpdateAppIcon();
  ApplyStyler();
}

void TAdvCustomQuickAccessToolBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  UpdateSize();
  UpdateHiddenControls();
}

void TAdvCustomQuickAccessToolBar::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomControl::AlignControls(AControl, Rect);
  if (!FInternalUpdatingControlPos) Relayout();
}

void TAdvCustomQuickAccessToolBar::RequestAlign() {
  TCustomControl::RequestAlign();
  if (Parent() == nullptr) return;
  if (FVisibleChanged) {
    FVisibleChanged = false;
    if (FUpdateCount == 0 && Pager() != nullptr)
      for (Integer i = 0; i < ControlCount(); ++i)
        if (auto* g = dynamic_cast<TAdvGlowButton*>(Controls(i)); g != nullptr && g->Visible()) g->Invalidate();
  }
  Parent()->Invalidate();
}

void TAdvCustomQuickAccessToolBar::CMControlChange(TMessage& Message) {
  auto* c = reinterpret_cast<TControl*>(Message.WParam);
  if (FInternalUpdatingControlPos || c == nullptr || c == FOverflowWindow || c == FOverflowWindowPanel ||
      c == FRefGlowButton)
    return;
  if (Message.LParam == 0) {  // leaving
    if (c == FHintCtrl) FHintCtrl = nullptr;
    Erase(FCtrlList, c);
    if (Has(FHiddenCtrlList, c) && c->Parent() == this) Erase(FHiddenCtrlList, c);
    return;
  }
  if (auto* b = dynamic_cast<toolbar::TAdvCustomToolBarControl*>(c))
    if (auto* q = dynamic_cast<TAdvQuickAccessToolBar*>(this)) b->SetAdvQuickAccessToolBar(q);
  if (auto* g = dynamic_cast<TAdvGlowButton*>(c)) {
    if (auto* s = GetToolBarStyler(); s != nullptr && !ComponentState().Contains(csLoading))
      g->Appearance()->Assign(s->GlowButtonAppearance());
    g->FOnInternalClick = [this](TObject*) { HideOverflowWindow(); };
    g->FOnInternalDropDown = [this](TObject*) { HideOverflowWindow(); };
    g->FInternalIsOnGlassQAT = FIsAeroVista;
  }
  Relayout();
}

void TAdvCustomQuickAccessToolBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_CONTROLCHANGE:
      TCustomControl::Dispatch(Message);
      CMControlChange(Message);
      return;
    case CM_VISIBLECHANGED:
      TCustomControl::Dispatch(Message);
      if (Visible()) {
        FVisibleChanged = true;
        BeginUpdate();
        EndUpdate();
      }
      // Below the ribbon the pager makes or gives back the toolbar's room.
      if (TZadEdevAziPager* p = Pager(); p != nullptr && !ComponentState().Contains(csDesigning))
        p->QATVisibilityChanged();
      return;
    case CM_HINTSHOW:
      TCustomControl::Dispatch(Message);
      CMHintShow(Message);
      return;
    case WM_ERASEBKGND:
      if (!(FIsAeroVista && !FFullSize)) TCustomControl::Dispatch(Message);
      Message.Result = 1;
      return;
    default:
      TCustomControl::Dispatch(Message);
  }
}

void TAdvCustomQuickAccessToolBar::InvalidateGlassChildren() {
  if (!FIsAeroVista) return;
  if (FRefGlowButton != nullptr) {
    FRefGlowButton->Invalidate();
    return;
  }
  for (Integer i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TAdvVistaButton*>(Controls(i)) == nullptr) {
      Controls(i)->Invalidate();
      return;
    }
}

// ---------------------------------------------------------------------------
// Painting

void TAdvCustomQuickAccessToolBar::Paint() {
  TCanvas* C = Canvas();
  const Integer bw = QATScaledButtonWidth(toolbar::ToolBarDPIScale, FButtonWidth);
  if (IsOffice2013Style()) {
    C->Brush()->SetColor(Color());
    C->FillRect(ClientRect());
    TRect R = GetBaseRect();
    R.Top = 0;
    R.Bottom -= 1;
    R.Right -= bw + 2;
    const Integer x = Integer(Round(22.0 * toolbar::ToolBarDPIScale)) + R.Left;
    C->Pen()->SetColor(TColor(0x00808080));
    C->MoveTo(x, R.Top + 7);
    C->LineTo(x, R.Bottom - 4);
    if (ControlCount() >= 3) {
      C->Pen()->SetColor(TColor(0x00C0C0C0));
      C->MoveTo(R.Right - 3, R.Top + 7);
      C->LineTo(R.Right - 3, R.Bottom - 4);
    }
    return;
  }
  if ((!FIsAeroVista || FFullSize) && Pager() != nullptr && FUpdateCount == 0) {
    if (FFullSize)
      PaintFullSize(C);
    else
      PaintCaption(C);
    return;
  }
  if (FIsAeroVista && !FFullSize) PaintGlass(C);
}

void TAdvCustomQuickAccessToolBar::PaintFullSize(TCanvas* C) {
  toolbar::TCustomZadEdevAziStyler* s = GetToolBarStyler();
  if (s == nullptr) return;
  const TQATAppearance* Q = s->QATAppearance();
  const TRect R = ClientRect();
  C->Brush()->SetColor(Q->FullSizeColor());
  C->Pen()->SetColor(Q->BorderColor());
  if (Q->FullSizeColorTo() == clNone) {
    C->Rectangle(R);
    return;
  }
  toolbar::DrawGradient(C, Q->FullSizeColor(), Q->FullSizeColorTo(), 80, R, false);
  const Integer L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom;
  auto seg = [C](Integer x0, Integer y0, Integer x1, Integer y1) {
    C->MoveTo(x0, y0);
    C->LineTo(x1, y1);
  };
  const bool scenic = Scenic();
  C->Pen()->SetColor(Q->FullSizeBorderColor());
  if (scenic) {
    seg(L, T, Rt, T), seg(Rt, T + 1, Rt, B - 2), seg(L, B - 2, Rt, B - 2), seg(L, T + 1, L, B - 2);
  } else {
    seg(L + 1, T, Rt - 1, T), seg(Rt - 1, T + 1, Rt - 1, B - 2), seg(L + 1, B - 2, Rt - 1, B - 2),
        seg(L, T + 1, L, B - 2);
  }
  C->Pen()->SetColor(toolbar::BlendColor(TColor(0x00FFFFFF), Q->FullSizeColor(), 50));
  if (scenic) {
    seg(L, T + 1, Rt, T + 1), seg(Rt, T, Rt, B - 1), seg(L, B - 1, Rt, B - 1), seg(L, T + 1, L, B - 2);
  } else {
    seg(L + 1, T + 1, Rt - 1, T + 1), seg(Rt, T, Rt, B - 1), seg(L + 1, B - 1, Rt, B - 1),
        seg(L + 1, T + 1, L + 1, B - 2);
  }
}

void TAdvCustomQuickAccessToolBar::PaintCaption(TCanvas* C) {
  toolbar::TCustomZadEdevAziStyler* s = GetToolBarStyler();
  if (s == nullptr) return;
  const TQATAppearance* Q = s->QATAppearance();
  TRect R = GetBaseRect();
  R.Bottom -= 1;
  if (Scenic()) {
    R.Right -= QATScaledButtonWidth(toolbar::ToolBarDPIScale, FButtonWidth) + 2;
    if (!FCtrlList.empty() || !FHiddenCtrlList.empty()) toolbar::DrawQATFrame(C->Handle(), R);
    return;
  }
  // The classic pill: a vertical gradient between a hollow left end that
  // hugs the application button and a round right end.
  const Integer H = Height();
  TRect fill{R.Left + 1, R.Top, R.Right - H / 2, R.Bottom};
  toolbar::DrawGradient(C, Q->Color(), Q->ColorTo(), 64, fill, false);
  C->Brush()->SetColor(Q->ColorTo());
  C->Pen()->SetColor(Q->BorderColor());
  C->Ellipse(R.Right - H - 6, R.Top - 2, R.Right - 3, R.Top + H - 3);
  C->Pen()->SetColor(toolbar::BlendColor(s->PagerCaption()->Color(), Q->BorderColor(), 60));
  C->MoveTo(R.Left, R.Top - 1);
  C->LineTo(R.Right - 10, R.Top - 1);
}

void TAdvCustomQuickAccessToolBar::PaintGlass(TCanvas* C) {
  TRect R = ClientRect();
  R.Top = 0;
  R.Bottom -= 1;
  if (Scenic()) R.Right -= QATScaledButtonWidth(toolbar::ToolBarDPIScale, FButtonWidth) + 2;
  toolbar::DrawGlassText(this, u"", gdiplus::GetGlassFlag() && Scenic(), clNone, R,
                         !FCtrlList.empty(), ClientRect());
  (void)C;
  // The small buttons and the children paint themselves through the usual
  // paint of the children; the toolbar does not re-invalidate them from its
  // own paint, which would keep the window repainting for ever.
}

}  // namespace ribbon
