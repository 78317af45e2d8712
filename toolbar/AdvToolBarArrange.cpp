// The toolbar's side of arrangement and measuring: it describes itself and
// its controls to the rules of AdvToolBarLayout and applies their answers.
#include <algorithm>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/TypInfo.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {
TControl* ArrangedItem(const TDbgList* L, Integer I) { return static_cast<TControl*>(L->Items(I)); }
}  // namespace

bool TAdvCustomToolBar::GripShown() const {
  return Styler()->DragGripStyle() != dsNone && !OnPage() && !OnCompactWindow() && FToolBarState != tsFloating &&
         !FHideDragGrip;
}

bool TAdvCustomToolBar::IsArrangedControl(TControl* AControl) const {
  return AControl != nullptr && AControl->Visible() && AControl->ClassName() != u"TAdvBadge";
}

TToolBarItem TAdvCustomToolBar::LayoutItem(TControl* c) const {
  TToolBarItem it;
  it.Bounds = c->BoundsRect();
  it.Visible = c->Visible();
  it.Hidden = FLUHidedControls->IndexOf(c) >= 0;
  it.ParentedHere = c->Parent() == this;
  if (c->ClassName() == u"TAdvBadge") {
    it.Kind = TToolBarItemKind::Badge;
  } else if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(c)) {
    it.Kind = tc->IsSeparator()      ? TToolBarItemKind::Separator
              : tc->IsToolBarButton() ? TToolBarItemKind::ToolBarButton
                                      : TToolBarItemKind::Other;
  } else if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c)) {
    it.Kind = g->ButtonSizeState() == bsLarge ? TToolBarItemKind::LargeGlowButton : TToolBarItemKind::SmallGlowButton;
  }
  if (it.Kind == TToolBarItemKind::Other && IsPublishedProp(c, u"LabelMargin"))
    it.LabelMargin = Integer(GetOrdProp(c, u"LabelMargin"));
  return it;
}

std::vector<TToolBarItem> TAdvCustomToolBar::LayoutItems(std::vector<TControl*>& Controls) const {
  Controls.clear();
  std::vector<TToolBarItem> items;
  if (!FATBControls) return items;
  for (Integer i = 0; i < FATBControls->Count(); ++i) {
    TControl* c = ArrangedItem(FATBControls.get(), i);
    Controls.push_back(c);
    items.push_back(LayoutItem(c));
  }
  return items;
}

TToolBarFrame TAdvCustomToolBar::LayoutFrame() const {
  TToolBarFrame f;
  f.Floating = FToolBarState == tsFloating;
  f.Horizontal = FPosition == daTop || FPosition == daBottom;
  f.OnPage = OnPage();
  f.OnCompactWindow = OnCompactWindow();
  f.AutoSize = AutoSize();
  f.AutoPositionMultiRow = FAutoPositionMultiRow;
  f.ShowCaption = FShowCaption;
  f.CaptionPosition = FCaptionPosition;
  f.Width = Width();
  f.Height = Height();
  f.GripOffset = GripOffset(GripShown(), FDragGripWidth);
  f.CaptionHeight = FCaptionHeight;
  f.Scale = ToolBarDPIScale;
  f.FloatingRows = FFloatingRows;
  f.SizeAtDock = FSizeAtDock;
  f.MinLength = FMinLength;
  f.ShowPopupIndicator = FShowPopupIndicator;
  f.PopupIndicatorWidth = FPopupIndicatorWidth;
  f.Visible = Visible();
  f.HideOnEmpty = FHideOnEmpty;
  return f;
}

TToolBarParts TAdvCustomToolBar::PartsFrame() const {
  TToolBarParts p;
  p.Client = TRect{0, 0, Width(), Height()};
  p.Floating = FToolBarState == tsFloating;
  p.Horizontal = IsHorizontal();
  p.OnPage = OnPage();
  p.ShowCaption = FShowCaption;
  p.CaptionPosition = FCaptionPosition;
  p.CaptionHeight = FCaptionHeight;
  p.Scale = ToolBarDPIScale;
  p.ShowClose = FShowClose;
  p.ShowOptionIndicator = FShowOptionIndicator;
  p.ShowPopupIndicator = FShowPopupIndicator;
  p.ShowRightHandle = FShowRightHandle;
  p.FullSize = FFullSize;
  p.RoundEdges = Styler()->RoundEdges();
  p.ScenicRibbon = gdiplus::GetScenicRibbonFlag();
  p.PopupIndicatorWidth = FPopupIndicatorWidth;
  p.DragGripWidth = FDragGripWidth;
  return p;
}

TRect TAdvCustomToolBar::GetCaptionRect() { return CaptionRect(PartsFrame()); }
TRect TAdvCustomToolBar::GetControlsRect() { return ControlsRect(PartsFrame()); }
TRect TAdvCustomToolBar::GetCloseButtonRect() { return CloseButtonRect(PartsFrame()); }
TRect TAdvCustomToolBar::GetOptionButtonRect() { return OptionButtonRect(PartsFrame()); }
TRect TAdvCustomToolBar::GetCaptionOptionRect() { return CaptionOptionRect(PartsFrame()); }
TRect TAdvCustomToolBar::GetRightHandleRect() { return RightHandleRect(PartsFrame()); }
TRect TAdvCustomToolBar::GetDragGripRect() { return DragGripRect(PartsFrame()); }

void TAdvCustomToolBar::SetControlPos(TControl* AControl, Integer X, Integer Y) {
  if (AControl->Left() == X && AControl->Top() == Y) return;
  const bool old = FInternalControlPositioning;
  FInternalControlPositioning = true;
  AControl->SetLeft(X);
  AControl->SetTop(Y);
  FInternalControlPositioning = old;
}

void TAdvCustomToolBar::ArrangeControls(bool AMeasure) {
  if (ComponentState().Contains(csLoading) || FDestroying || FUpdateCount > 0 || !FATBControls) return;
  if (FToolBarState == tsFixed && !FAutoPositionControls) return;
  TToolBarFrame frame = LayoutFrame();
  if (frame.Floating && frame.FloatingRows > 1 && AMeasure) {
    UpdateSize();
    frame = LayoutFrame();
  }
  std::vector<TControl*> controls;
  std::vector<TToolBarItem> items = LayoutItems(controls);
  if (!frame.Floating && frame.Horizontal && frame.Ribbon())
    for (TControl* c : controls)
      if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(c)) g->SetIsOnRibbon(true);
  ArrangeToolBarItems(frame, items);
  for (std::size_t i = 0; i < controls.size(); ++i) SetControlPos(controls[i], items[i].Bounds.Left, items[i].Bounds.Top);
  const bool multiRowPage = frame.OnPage && !frame.AutoSize && frame.AutoPositionMultiRow;
  if (AMeasure && !multiRowPage && !(frame.Floating && frame.FloatingRows > 1)) UpdateSize();
}

void TAdvCustomToolBar::UpdateSize() {
  if (ComponentState().Contains(csLoading) || FDestroying || !FATBControls) return;
  std::vector<TControl*> controls;
  const std::vector<TToolBarItem> items = LayoutItems(controls);
  const TToolBarFrame frame = LayoutFrame();
  const bool oldAllow = FAllowBoundChange;
  if (frame.Floating) {
    Constraints()->SetMinWidth(0);
    Constraints()->SetMaxWidth(0);
    Constraints()->SetMinHeight(0);
    Constraints()->SetMaxHeight(0);
    if (FFloatingRows <= 1) {
      const TSize s = FloatingToolBarSize(frame, items);
      SetBounds(Left(), Top(), s.cx, s.cy);
    } else {
      Integer h = 0, l = 0;
      CalcFloatingSize(h, l);
      SetBounds(Left(), Top(), l, h);
    }
    if (FFloatingWindow != nullptr && FFloatingWindow->AdvCustomToolBar() == this) FFloatingWindow->SetWindowSize();
    return;
  }
  const TToolBarMeasure m = MeasureToolBar(frame, items);
  FMaxLength = m.FullLength;
  if (!AutoSize()) return;
  const Integer caption = FShowCaption ? ScaleToolBarSize(FCaptionHeight, ToolBarDPIScale) : 0;
  const bool horizontal = frame.Horizontal;
  const TToolBarSizing s =
      SizeToolBar(frame, m, horizontal ? Width() : Height(),
                  horizontal ? Constraints()->MaxWidth() : Constraints()->MaxHeight(), FDoCheckBoundChange, caption);
  FAllowBoundChange = !FDoCheckBoundChange;
  if (horizontal) {
    Constraints()->SetMinHeight(0);
    Constraints()->SetMaxHeight(0);
    Constraints()->SetMaxWidth(0);
    Constraints()->SetMinWidth(s.MinLength);
    Constraints()->SetMaxWidth(s.MaxLength);
    if (s.Length != Width() || s.Thickness != Height()) SetBounds(Left(), Top(), s.Length, s.Thickness);
  } else {
    Constraints()->SetMinWidth(0);
    Constraints()->SetMaxWidth(0);
    Constraints()->SetMaxHeight(0);
    Constraints()->SetMinHeight(s.MinLength);
    Constraints()->SetMaxHeight(s.MaxLength);
    if (s.Length != Height() || s.Thickness != Width()) SetBounds(Left(), Top(), s.Thickness, s.Length);
  }
  FAllowBoundChange = oldAllow;
}

void TAdvCustomToolBar::GetMaxControlSize(Integer& W, Integer& H) {
  W = H = 0;
  for (Integer i = 0; i < ToolBarControlCount(); ++i) {
    TControl* c = ArrangedItem(FATBControls.get(), i);
    if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(c); tc && tc->IsSeparator()) continue;
    W = std::max(W, c->Width());
    H = std::max(H, c->Height());
  }
}

void TAdvCustomToolBar::GetMaxOtherControlSize(Integer& W, Integer& H) {
  W = H = 0;
  for (Integer i = 0; i < ToolBarControlCount(); ++i) {
    TControl* c = ArrangedItem(FATBControls.get(), i);
    if (dynamic_cast<TAdvCustomToolBarControl*>(c) != nullptr) continue;
    W = std::max(W, c->Width());
    H = std::max(H, c->Height());
  }
}

void TAdvCustomToolBar::GetMaxButtonSize(Integer& L, Integer& T) {
  L = T = 0;
  for (Integer i = 0; i < ToolBarControlCount(); ++i) {
    auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(ArrangedItem(FATBControls.get(), i));
    if (tc == nullptr || !tc->IsToolBarButton()) continue;
    const bool along = IsHorizontal() || tc->CanRotate();
    L = std::max(L, along ? tc->Width() : tc->Height());
    T = std::max(T, along ? tc->Height() : tc->Width());
  }
}

Integer TAdvCustomToolBar::GetFloatingThickness(bool AFloating) {
  Integer w, h, l, t, ow, oh;
  GetMaxControlSize(w, h);
  GetMaxButtonSize(l, t);
  Integer v;
  if (AFloating || FToolBarState == tsFloating) {
    GetMaxOtherControlSize(ow, oh);
    v = IsHorizontal() ? h : std::max(l, oh);
  } else {
    v = IsHorizontal() ? h : w;
  }
  return std::max(26, v + 4);
}

void TAdvCustomToolBar::SetDockPosition(TDockAlign AValue) {
  if (FPosition == AValue) return;
  FPosition = AValue;
  const bool oldAllow = FAllowBoundChange;
  FAllowBoundChange = true;
  if (!IsHorizontal()) {
    Constraints()->SetMinWidth(0);
    Constraints()->SetMaxWidth(0);
    Constraints()->SetMinHeight(FMinLength);
    Constraints()->SetMaxHeight(FMaxLength);
    SetBounds(Left(), Top(), FSizeAtDock, FMaxLength);
  } else {
    Constraints()->SetMinHeight(0);
    Constraints()->SetMaxHeight(0);
    Constraints()->SetMinWidth(FMinLength);
    Constraints()->SetMaxWidth(FMaxLength);
    SetBounds(Left(), Top(), FMaxLength, FSizeAtDock);
  }
  FAllowBoundChange = oldAllow;
  const bool oldPos = FInternalControlPositioning;
  FInternalControlPositioning = true;
  for (Integer i = 0; i < ToolBarControlCount(); ++i)
    if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(ArrangedItem(FATBControls.get(), i))) tc->SetPosition(AValue);
  FInternalControlPositioning = oldPos;
  FMaxLength = GetFullLength();
  if (IsHorizontal()) {
    Constraints()->SetMinWidth(FMinLength);
    Constraints()->SetMaxWidth(FMaxLength);
    SetWidth(FMaxLength);
  } else {
    Constraints()->SetMinHeight(FMinLength);
    Constraints()->SetMaxHeight(FMaxLength);
    SetHeight(FMaxLength);
  }
  ArrangeControls(false);
  UpdateHiddenControls();
}

void TAdvCustomToolBar::UpdateSeparators() {
  if (!IsHorizontal() || FUpdateCount > 0 || ParentIsClass(u"TAdvDockPanel") || !FATBControls) return;
  // A fixed toolbar with its caption at the top keeps its separators level
  // with the controls, below the caption.
  Integer top = 2;
  if (FToolBarState == tsFloating || (FToolBarState == tsFixed && FShowCaption && FCaptionPosition == cpTop))
    top = GetCaptionRect().Bottom + 2;
  std::vector<TControl*> controls;
  std::vector<TToolBarItem> items = LayoutItems(controls);
  const std::vector<bool> shows = SeparatorVisibility(items);
  const bool old = FInternalControlPositioning;
  FInternalControlPositioning = true;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (items[i].Kind != TToolBarItemKind::Separator || !items[i].Visible) continue;
    if (controls[i]->Top() != top) controls[i]->SetTop(top);
    if (!shows[i]) controls[i]->SetVisible(false);
  }
  FInternalControlPositioning = old;
}

Integer TAdvCustomToolBar::GetShrinkRoom() const {
  return IsHorizontal() ? Width() - Constraints()->MinWidth() : Height() - Constraints()->MinHeight();
}

Integer TAdvCustomToolBar::GetGrowRoom() const {
  return IsHorizontal() ? Constraints()->MaxWidth() - Width() : Constraints()->MaxHeight() - Height();
}

void TAdvCustomToolBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  // A docked toolbar's moves go through its dock panel's row logic.
  if (FCurrentDock != nullptr && !FAllowBoundChange && !FDestroying)
    FCurrentDock->ToolBarBoundsChanging(this, ALeft, ATop, AWidth, AHeight);
  const Integer oldLength = IsHorizontal() ? Width() : Height();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FCurrentDock != nullptr && !FDestroying) FCurrentDock->ToolBarBoundsChanged(this);
  const Integer length = IsHorizontal() ? Width() : Height();
  if (!ComponentState().Contains(csLoading) && !FDestroying && length != oldLength) UpdateHiddenControls();
}

}  // namespace toolbar
