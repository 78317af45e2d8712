// Where a toolbar lives and how it moves: docked in a dock panel, floating
// in its own window or fixed on another parent; the drag loop that moves it
// along its rows, tears it off and docks it again; the floating window's
// making and closing; and the pointer over the toolbar's own parts.
#include <algorithm>

#include "platform/win/Window.h"  // before the monitors, which name windows
#include "platform/vcl/Application.h"
#include "platform/vcl/Monitors.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/shared/ToolBarShared.h"

namespace toolbar {

namespace {
// How far beyond its dock panel the pointer tears a toolbar off.
constexpr Integer TearOffDistance = 26;
// How far a dock panel reaches out on its inner side for a dragged toolbar.
constexpr Integer DockReach = 15;
// The floating window's visibility timer.
constexpr UINT_PTR FloatingTimerId = 500;
constexpr UINT FloatingTimerInterval = 40;

bool HasClass(const TObject* O, StringView Name) { return O != nullptr && O->ClassName() == Name; }

TRect ScreenRectOf(const TControl* C) {
  const TPoint o = C->ClientToScreen(TPoint{0, 0});
  return TRect{o.X, o.Y, o.X + C->Width(), o.Y + C->Height()};
}
}  // namespace

// What the destructor tells a drag loop that runs below it.
struct TAdvCustomToolBar::TDragLoop {
  bool Alive = true;
  // A window of the loop's own, so that the loop wakes to see the news.
  HWND Wake = nullptr;
};

// ---------------------------------------------------------------------------
// Placement

void TAdvCustomToolBar::SetParent(TWinControl* AParent) {
  if (AParent == Parent()) {
    TCustomControl::SetParent(AParent);
    return;
  }
  auto* panel = dynamic_cast<TAdvDockPanel*>(AParent);
  auto* window = dynamic_cast<TFloatingWindow*>(AParent);
  const bool fromFloating = dynamic_cast<TFloatingWindow*>(Parent()) != nullptr;
  const bool loading = IsLoadingOrDestroying();
  FChangingParent = true;
  FOldState = FToolBarState;
  if (panel != nullptr && fromFloating) {
    KillFloatingTimer();
    if (FFloatingWindow != nullptr) FFloatingWindow->SetAdvCustomToolBar(nullptr);
    // Back to one docked row: the caption goes.
    if (IsHorizontal()) {
      Constraints()->SetMinHeight(0);
      Constraints()->SetMaxHeight(0);
      const bool old = FAllowBoundChange;
      FAllowBoundChange = true;
      SetHeight(FSizeAtDock);
      FAllowBoundChange = old;
    }
  }
  // The rows see the state the toolbar takes.
  if (panel != nullptr) FToolBarState = tsDocked;
  else if (window != nullptr) FToolBarState = tsFloating;
  else if (AParent != nullptr) FToolBarState = tsFixed;
  try {
    // The dock panels take and release the toolbar as it becomes and ceases
    // to be their child.
    TCustomControl::SetParent(AParent);
  } catch (...) {
    FToolBarState = FOldState;
    FChangingParent = false;
    throw;
  }
  if (AParent == nullptr) {
    FChangingParent = false;
    return;
  }
  bool docked = false, undocked = false;
  if (panel != nullptr) {
    if (FCurrentDock != panel) {
      // Refused: the toolbar keeps its state and counts as nothing.
      FToolBarState = FOldState;
    } else {
      if (FLastDock != nullptr && FLastDock != panel) FLastDock->RemoveFreeNotification(this);
      FLastDock = panel;
      panel->FreeNotification(this);
      SetParentStyler(FParentStyler);
      if (FFloatingWindow != nullptr) FFloatingWindow->SetVisible(false);
      docked = true;
    }
  } else if (window != nullptr) {
    FCurrentDock = nullptr;
    if (!IsHorizontal()) SetDockPosition(daTop);
    undocked = true;
  } else {
    if (!HasClass(AParent, u"TAdvPage") && !HasClass(AParent, u"TMinimizedRibbonWindow")) SetParentStyler(false);
    FCurrentDock = nullptr;
  }
  if (!loading) {
    ArrangeControls(true);
    if (docked && OnDocked) OnDocked(this, panel);
    if (undocked && OnUnDocked) OnUnDocked(this);
  }
  FChangingParent = false;
}

void TAdvCustomToolBar::Dock(TAdvDockPanel* NewDockSite) {
  if (NewDockSite == nullptr) return;
  SetParent(NewDockSite);
  if (FCurrentDock == NewDockSite) FreeFloatingWindow();
}

bool TAdvCustomToolBar::CanDockTo(TAdvDockPanel* APanel) {
  if (APanel == nullptr || !FDockableTo.Contains(APanel->Align())) return false;
  if (APanel->LockHeight() && APanel->PropertiesLoaded() && !APanel->ComponentState().Contains(csDesigning))
    return APanel->FindRowForToolBar(this) >= 0;
  return true;
}

void TAdvCustomToolBar::SetFullSize(bool Value) {
  if (FFullSize == Value) return;
  FFullSize = Value;
  if (FToolBarState != tsDocked || FCurrentDock == nullptr) return;
  if (Value) {
    SetParentStyler(true);
    FCurrentDock->ToolBarFullSizeChanged(this);
    UpdateHiddenControls();
    ArrangeControls(false);
  } else {
    UpdateSize();
  }
}

// ---------------------------------------------------------------------------
// Floating

TCustomForm* TAdvCustomToolBar::GetDockForm() const {
  for (TWinControl* p = FLastDock != nullptr ? FLastDock->Parent() : nullptr; p != nullptr; p = p->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(p)) return f;
  // Never docked: the form the toolbar stands on, else the form that owns it.
  for (TWinControl* p = Parent(); p != nullptr; p = p->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(p); f != nullptr && dynamic_cast<TFloatingWindow*>(f) == nullptr) return f;
  if (FParentForm != nullptr) return FParentForm;
  return dynamic_cast<TCustomForm*>(FOwner);
}

void TAdvCustomToolBar::MakeFloating(Integer X, Integer Y, bool AUsePoint) {
  if (OnPage() || OnCompactWindow()) return;
  if (FFloatingWindow != nullptr || FToolBarState == tsFloating) return;
  TCustomZadEdevAziStyler* s = Styler();
  auto* w = new TFloatingWindow(FOwner);
  w->AfterConstruction();
  w->SetBorderIcons({});
  w->SetBorderStyle(bsNone);
  w->SetFormStyle(fsStayOnTop);
  w->SetPosition(poDesigned);
  w->SetScaled(true);
  w->SetBorderWidth(s->FloatingWindowBorderWidth());
  w->SetBorderColor(s->FloatingWindowBorderColor());
  const TColor to = s->Color()->ColorTo();
  w->SetColor(to != clNone ? to : s->Color()->Color());
  FFloatingWindow = w;
  w->FreeNotification(this);

  TPoint pt{X, Y};
  if (!AUsePoint) GetCursorPos(&pt);
  FSizeAtDock = GetFloatingThickness(true);
  FParentForm = GetDockForm();
  SetParent(w);
  w->SetAdvCustomToolBar(this);
  w->SetWindowSize();
  w->SetLeft(pt.X);
  w->SetTop(pt.Y);
  if (FParentForm == nullptr || FParentForm->Visible()) {
    if (!w->Visible()) w->SetVisible(true);
    FAutoHiding = false;
  } else {
    w->SetVisible(false);
    FAutoHiding = true;
  }
  w->SetWindowSize();
  w->SetLeft(pt.X);
  w->SetTop(pt.Y);
  w->SetSizeInit(true);
  FTimerID = Integer(SetTimer(Handle(), FloatingTimerId, FloatingTimerInterval));
}

void TAdvCustomToolBar::SetToolBarFloating(TPoint P) {
  if (FFloatingWindow != nullptr || FToolBarState == tsFloating) {
    if (FFloatingWindow != nullptr) {
      FFloatingWindow->SetLeft(P.X);
      FFloatingWindow->SetTop(P.Y);
    }
    return;
  }
  MakeFloating(P.X, P.Y, true);
}

void TAdvCustomToolBar::CloseFloating() {
  if (FToolBarState != tsFloating) return;
  if (FAutoDockOnClose && FLastDock != nullptr) {
    SetParent(FLastDock);
    if (FCurrentDock == FLastDock) FreeFloatingWindow();
    return;
  }
  if (FFloatingWindow != nullptr) FFloatingWindow->SetVisible(false);
  SetVisible(false);
  if (OnClose) OnClose(this);
}

void TAdvCustomToolBar::FreeFloatingWindow() {
  TFloatingWindow* w = FFloatingWindow;
  if (w == nullptr) return;
  FFloatingWindow = nullptr;
  w->RemoveFreeNotification(this);
  w->SetAdvCustomToolBar(nullptr);
  // A window being destroyed takes its children with it; the toolbar is
  // one of them then.
  if (w->ComponentState().Contains(csDestroying)) return;
  if (Parent() == w) TCustomControl::SetParent(nullptr);
  delete w;
}

void TAdvCustomToolBar::KillFloatingTimer() {
  if (FTimerID != 0 && HandleAllocated()) KillTimer(Handle(), FloatingTimerId);
  FTimerID = 0;
}

void TAdvCustomToolBar::WMTimer(TMessage&) {
  // The floating window shows and hides with the form the toolbar belongs to.
  if (FFloatingWindow == nullptr || FParentForm == nullptr) return;
  if (FParentForm->Visible()) {
    if (FAutoHiding && !FFloatingWindow->Visible() && Visible()) FFloatingWindow->SetVisible(true);
    FAutoHiding = false;
  } else if (FFloatingWindow->Visible()) {
    FFloatingWindow->SetVisible(false);
    FAutoHiding = true;
  }
}

TPoint TAdvCustomToolBar::PlaceOnMonitor(const TRect& Window, Integer CaptionStrip) {
  const Integer w = Window.Width(), h = Window.Height();
  const Integer strip = std::clamp(CaptionStrip, 0, h);
  for (Integer i = 0; i < MonitorCount(); ++i) {
    const TRect work = MonitorAt(i)->WorkareaRect();
    if (Window.Top < work.Top || Window.Top + strip > work.Bottom) continue;
    const Integer overlap = std::min(Window.Right, work.Right) - std::max(Window.Left, work.Left);
    if (overlap > 0 && 2 * Int64(overlap) >= Int64(w)) return TPoint{Window.Left, Window.Top};
  }
  MONITORINFO info;
  HMONITOR m = MonitorFromRect(&Window, MONITOR_DEFAULTTONEAREST);
  if (m == nullptr || !GetMonitorInfo(m, &info)) return TPoint{Window.Left, Window.Top};
  const TRect& work = info.rcWork;
  const Integer x = w >= work.Width() ? work.Left : std::clamp(Window.Left, work.Left, work.Right - w);
  const Integer y = h >= work.Height() ? work.Top : std::clamp(Window.Top, work.Top, work.Bottom - h);
  return TPoint{x, y};
}

// ---------------------------------------------------------------------------
// The drag loop

void TAdvCustomToolBar::CollectDockPanels(TWinControl* AControl) {
  if (AControl == nullptr || AControl == this || ContainsControl(AControl) || !AControl->Showing()) return;
  if (auto* p = dynamic_cast<TAdvDockPanel*>(AControl)) {
    if (CanDockTo(p)) FDockList->push_back(TDockTarget{p, TRect{}});
    return;
  }
  for (Integer i = 0; i < AControl->ControlCount(); ++i) {
    auto* c = dynamic_cast<TWinControl*>(AControl->Controls(i));
    if (c == nullptr) continue;
    if (FDockMode == dmAllParentDockPanels && dynamic_cast<TAdvDockPanel*>(c) == nullptr) continue;
    CollectDockPanels(c);
  }
}

void TAdvCustomToolBar::BuildDockList() {
  FDockList->clear();
  if (FDockMode == dmParentDockPanelOnly && FLastDock != nullptr) {
    if (FLastDock->Showing() && CanDockTo(FLastDock)) FDockList->push_back(TDockTarget{FLastDock, TRect{}});
  } else if (FDockMode == dmAllParentDockPanels && FLastDock != nullptr && FLastDock->Parent() != nullptr) {
    CollectDockPanels(FLastDock->Parent());
  } else {
    CollectDockPanels(GetDockForm());
  }
  UpdateDockRects();
}

void TAdvCustomToolBar::UpdateDockRects() {
  if (!FDockList) return;
  for (TDockTarget& t : *FDockList) {
    TRect r = ScreenRectOf(t.Panel);
    switch (t.Panel->Align()) {
      case daLeft: r.Right += DockReach; break;
      case daTop: r.Bottom += DockReach; break;
      case daRight: r.Left -= DockReach; break;
      case daBottom: r.Top -= DockReach; break;
    }
    t.Rect = r;
  }
}

void TAdvCustomToolBar::DragToolBar(TShiftState, Integer X, Integer Y) {
  FDockList = std::make_unique<std::vector<TDockTarget>>();
  BuildDockList();
  FOldMouseX = X;
  FOldMouseY = Y;
  TDragLoop loop;
  loop.Wake = AllocateHWnd([](TMessage&) {});
  FDragLoop = &loop;
  SetCapture(Handle());
  FDragging = true;
  MSG m;
  while (FDragging && GetCapture() == Handle()) {
    const BOOL r = GetMessage(&m, nullptr, 0, 0);
    if (!loop.Alive) break;
    if (r == -1) break;
    if (r == 0) {
      PostQuitMessage(int(m.wParam));
      break;
    }
    if (m.message == WM_MOUSEMOVE) {
      const TPoint p = ScreenToClient(m.pt);
      DragMove(p.X, p.Y);
    } else if (m.message == WM_LBUTTONUP) {
      break;
    } else if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
      // The toolbar stays where the drag took it.
      break;
    } else {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
    if (!loop.Alive) break;
  }
  DeallocateHWnd(loop.Wake);
  // Freed meanwhile: its destructor has ended the drag already.
  if (!loop.Alive) return;
  FDragLoop = nullptr;
  EndDragging();
}

void TAdvCustomToolBar::EndDragging() {
  if (Screen != nullptr && Screen->Cursor() == crSizeAll) Screen->SetCursor(crDefault);
  FDragging = false;
  if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
  FDockList.reset();
  if (FDragLoop != nullptr) {
    FDragLoop->Alive = !FDestroying;
    if (FDestroying) PostMessage(FDragLoop->Wake, WM_NULL, 0, 0);
    FDragLoop = nullptr;
  }
}

void TAdvCustomToolBar::DragMove(Integer X, Integer Y) {
  if (!FDragging) return;
  bool tornOff = false;
  if (FToolBarState == tsDocked && FCurrentDock != nullptr) {
    TAdvDockPanel* dock = FCurrentDock;
    const Integer rowBefore = FRow;
    // The pointer in the panel's coordinates: what the tear-off measures.
    const TPoint inPanel = dock->ScreenToClient(ClientToScreen(TPoint{X, Y}));
    if (IsHorizontal()) {
      const Integer asked = X - FOldMouseX + Left();
      SetLeft(asked);
      if (Y > Height())
        SetTop(Top() + Y - Height());
      else if (Y < 0)
        SetTop(Top() + Y);
      if (FCurrentDock == dock && FRow == rowBefore &&
          (inPanel.Y > dock->Height() + TearOffDistance || inPanel.Y < -TearOffDistance))
        tornOff = true;
      else if (FCurrentDock == dock && Left() != asked &&
               (inPanel.X > dock->Width() + TearOffDistance || inPanel.X < -TearOffDistance))
        tornOff = true;
    } else {
      const Integer asked = Y - FOldMouseY + Top();
      SetTop(asked);
      if (X > Width())
        SetLeft(Left() + X - Width());
      else if (X < 0)
        SetLeft(Left() + X);
      if (FCurrentDock == dock && FRow == rowBefore &&
          (inPanel.X > dock->Width() + TearOffDistance || inPanel.X < -TearOffDistance))
        tornOff = true;
      else if (FCurrentDock == dock && Top() != asked &&
               (inPanel.Y > dock->Height() + TearOffDistance || inPanel.Y < -TearOffDistance))
        tornOff = true;
    }
    // The far-end corners show the panel behind them.
    if (HandleAllocated()) {
      const TRect a = IsHorizontal() ? TRect{Width() - 2, 0, Width(), 2} : TRect{0, Height() - 3, 3, Height()};
      const TRect b = IsHorizontal() ? TRect{Width() - 2, Height() - 2, Width(), Height()}
                                     : TRect{Width() - 3, Height() - 3, Width(), Height()};
      InvalidateRect(Handle(), &a, false);
      InvalidateRect(Handle(), &b, false);
    }
  } else if (FToolBarState == tsFloating && FFloatingWindow != nullptr) {
    // The grab point is in the window's coordinates.
    const TPoint p = ClientToScreen(TPoint{X, Y});
    FFloatingWindow->SetBounds(p.X - FOldMouseX, p.Y - FOldMouseY, FFloatingWindow->Width(), FFloatingWindow->Height());
  }
  if (!FAllowFloating) tornOff = false;
  if (!tornOff && FToolBarState != tsFloating) return;

  TPoint pointer;
  GetCursorPos(&pointer);
  if (FDockList) {
    for (const TDockTarget& t : *FDockList) {
      if (!t.Rect.Contains(pointer) || t.Panel == Parent()) continue;
      TAdvDockPanel* panel = t.Panel;
      SetParent(panel);
      if (FCurrentDock != panel) continue;
      FOldMouseX = 1;
      FreeFloatingWindow();
      // The window went with the old parent: the drag keeps the pointer.
      SetCapture(Handle());
      return;
    }
  }
  if (!tornOff || FToolBarState != tsDocked) return;
  bool allow = true;
  if (OnCanFloat) OnCanFloat(this, allow);
  if (!allow) return;
  // The grabbed point stays under the pointer, in the window's coordinates.
  const TPoint grab{FOldMouseX, FOldMouseY};
  FreeFloatingWindow();
  MakeFloating(pointer.X, pointer.Y, true);
  if (FFloatingWindow == nullptr) return;
  FOldMouseX = std::clamp(grab.X, 0, std::max(0, Width() - 1)) + Left();
  FOldMouseY = std::clamp(grab.Y, 0, std::max(0, Height() - 1)) + Top();
  FFloatingWindow->SetBounds(pointer.X - FOldMouseX, pointer.Y - FOldMouseY, FFloatingWindow->Width(),
                             FFloatingWindow->Height());
  SetCapture(Handle());
  UpdateDockRects();
}

// ---------------------------------------------------------------------------
// Hit tests

bool TAdvCustomToolBar::PtInDragGrip(TPoint P) {
  if (!GripShown() || FToolBarState == tsFloating) return false;
  const TRect r = IsHorizontal() ? TRect{0, 0, FDragGripWidth, Height()} : TRect{0, 0, Width(), FDragGripWidth};
  return r.Contains(P);
}

bool TAdvCustomToolBar::PtInRightHandle(TPoint P) {
  // A full-size bar shows no handle (its far end holds an MDI child's buttons).
  if (!FShowPopupIndicator || !FShowRightHandle || FFullSize) return false;
  const Integer n = ScaleToolBarSize(FPopupIndicatorWidth, ToolBarDPIScale);
  const TRect r = IsHorizontal() ? TRect{Width() - n, 0, Width(), Height()} : TRect{0, Height() - n, Width(), Height()};
  return r.Contains(P);
}

bool TAdvCustomToolBar::PtInFloatingCaption(TPoint P) {
  if (FToolBarState != tsFloating) return false;
  TRect r = GetCaptionRect();
  if (FShowOptionIndicator)
    r.Right = GetOptionButtonRect().Left;
  else if (FShowClose)
    r.Right = GetCloseButtonRect().Left;
  return r.Contains(P);
}

bool TAdvCustomToolBar::PtInCloseButton(TPoint P) {
  return FToolBarState == tsFloating && GetCloseButtonRect().Contains(P);
}

bool TAdvCustomToolBar::PtInOptionButton(TPoint P) {
  return FToolBarState == tsFloating && GetOptionButtonRect().Contains(P);
}

TAdvCustomToolBarButton* TAdvCustomToolBar::GetButtonAtPos(Integer X, Integer Y) {
  for (Integer i = 0; i < FATBControls->Count(); ++i) {
    auto* b = dynamic_cast<TAdvCustomToolBarButton*>(static_cast<TControl*>(FATBControls->Items(i)));
    if (b == nullptr || !b->Visible() || !b->Enabled()) continue;
    if (FToolBarState == tsDocked && FLUHidedControls->IndexOf(b) >= 0) continue;
    const TRect r = b->BoundsRect();
    if (X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom) return b;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Pointer handling

void TAdvCustomToolBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (FDragging || Button != mbLeft) return;
  const TPoint p{X, Y};
  if (FToolBarState == tsDocked) {
    if (PtInDragGrip(p)) {
      // Last: the toolbar may be gone when the drag returns.
      if (!FLocked) DragToolBar(Shift, X, Y);
      return;
    }
    if (PtInRightHandle(p)) {
      SetDownPopupIndicator(true);
      OptionIndicatorClick();
      return;
    }
    if (MDIButtonsMouseDown(p)) return;
  } else if (FToolBarState == tsFloating) {
    if (PtInFloatingCaption(p)) {
      if (Screen != nullptr) Screen->SetCursor(crSizeAll);
      DragToolBar(Shift, X + Left(), Y + Top());
      return;
    }
    if (PtInOptionButton(p)) {
      if (!FDownCustomizedBtn) {
        SetOptionButtonState(FHotCustomizedBtn, true);
        OptionIndicatorClick();
      }
    } else if (PtInCloseButton(p)) {
      SetCloseButtonState(FHotCloseBtn, true);
    }
    return;
  }
  // Docked or fixed: the caption's own option indicator (no right handle).
  if (FShowOptionIndicator && !FShowRightHandle && FShowCaption && GetCaptionOptionRect().Contains(p)) {
    SetCaptionOptionState(FCapOptIndicatorHot, true);
    CaptionOptionClick();
  }
}

void TAdvCustomToolBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FDragging) return;
  const TPoint p{X, Y};
  if (!Shift.Contains(ssLeft) && !FLocked) {
    const TCursor c = PtInDragGrip(p) ? crSizeAll : FOldCursor;
    if (Cursor() != c) SetCursor(c);
  }
  if (FToolBarState != tsFloating) SetHotPopupIndicator(PtInRightHandle(p));
  MDIButtonsMouseMove(p);
  // A disabled child takes no pointer messages: the toolbar remembers it for its hint.
  if (PagerShowsDisabledHints()) {
    TControl* under = ControlAtPos(p, true, true);
    if (under != FHintCtrl) {
      FHintCtrl = under;
      if (Application != nullptr) Application->CancelHint();
    }
  }
  if (FToolBarState == tsFloating) {
    const bool optHot = PtInOptionButton(p), closeHot = PtInCloseButton(p);
    if (optHot != FHotCustomizedBtn) SetOptionButtonState(optHot, FDownCustomizedBtn);
    if (closeHot != FHotCloseBtn) SetCloseButtonState(closeHot, FDownCloseBtn);
  }
}

void TAdvCustomToolBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (FDownPopupIndicator) SetDownPopupIndicator(false);
  if (FCapOptIndicatorDown) SetCaptionOptionState(FCapOptIndicatorHot, false);
  // A docked bar's MDI buttons act on release.
  if (FToolBarState != tsFloating) {
    MDIButtonsMouseUp(TPoint{X, Y});
    return;
  }
  if (FDownCustomizedBtn) SetOptionButtonState(FHotCustomizedBtn, false);
  if (FDownCloseBtn) {
    SetCloseButtonState(false, false);
    // Last: the toolbar may dock back and lose its window.
    CloseFloating();
  }
}

void TAdvCustomToolBar::WMLButtonUp(TMessage& Message) {
  const TPoint p = PointFromLParam(Message.LParam);
  if (FToolBarState == tsDocked)
    FSupressClick = PtInDragGrip(p) || PtInRightHandle(p) || PtInMDIButtons(p);
  else if (FToolBarState == tsFloating)
    FSupressClick = PtInFloatingCaption(p) || PtInOptionButton(p) || PtInCloseButton(p);
  TCustomControl::WMLButtonUp(Message);
}

void TAdvCustomToolBar::Click() {
  if (FSupressClick) {
    FSupressClick = false;
    return;
  }
  TCustomControl::Click();
}

void TAdvCustomToolBar::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  if (FDragging) return;
  if (Cursor() != FOldCursor) SetCursor(FOldCursor);
  SetHotPopupIndicator(false);
  SetDownPopupIndicator(false);
  if (FToolBarState == tsFloating) {
    if (FHotCustomizedBtn || FDownCustomizedBtn) SetOptionButtonState(false, false);
    if (FHotCloseBtn || FDownCloseBtn) SetCloseButtonState(false, false);
  } else {
    MDIButtonsMouseLeave();
  }
}

}  // namespace toolbar
