// The MDI client window of a frame form and the frames of its child forms.
#include "platform/vcl/MDI.h"

#include <algorithm>

#include "platform/vcl/Application.h"
#include "platform/vcl/ControlsInternal.h"
#include "platform/vcl/Icon.h"
#include "platform/vcl/MenuBar.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/WindowRegion.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

namespace {

// Posted by the client to itself: the window list is due for a refresh.
// Private to the client; a hook that answers WM_MDIREFRESHMENU itself still gets the next one.
constexpr UINT CM_MDIREFRESHDUE = CM_BASE + 0x200;

// Width of a minimised child's caption bar.
constexpr Integer kMinimizedChildWidth = 160;

// The parts of a child's frame in its window coordinates; empty parts are absent.
struct TChildFrameParts {
  TRect Caption, Icon, Close, Max, Min;
};

TChildFrameParts ChildFrameParts(const TCustomForm* Child) {
  TChildFrameParts parts;
  const TRect in = Child->FrameInsets();
  const Integer captionHeight = in.Top - in.Bottom;
  if (captionHeight <= 0) return parts;
  parts.Caption = TRect{in.Left, in.Bottom, Child->Width() - in.Right, in.Top};
  if (!Child->BorderIcons().Contains(biSystemMenu)) return parts;
  const Integer h = std::max(captionHeight - 4, 1), w = h + 2, y = parts.Caption.Top + 2;
  Integer x = parts.Caption.Right - 2;
  parts.Close = TRect{x - w, y, x, y + h};
  x = parts.Close.Left - 2;
  if (Child->BorderIcons().Contains(biMaximize)) {
    parts.Max = TRect{x - w, y, x, y + h};
    x = parts.Max.Left;
  }
  if (Child->BorderIcons().Contains(biMinimize)) parts.Min = TRect{x - w, y, x, y + h};
  const Integer iconSize = GetSystemMetrics(SM_CXSMICON);
  const Integer iconTop = parts.Caption.Top + (captionHeight - iconSize) / 2;
  parts.Icon = TRect{parts.Caption.Left + 2, iconTop, parts.Caption.Left + 2 + iconSize, iconTop + iconSize};
  return parts;
}

// A caption button: a raised face with its glyph (close, maximise, restore or minimise).
enum class TChildButton { Close, Maximize, Restore, Minimize };

void DrawChildButton(TCanvas& Canvas, const TRect& R, TChildButton Kind) {
  Canvas.Brush()->SetStyle(bsSolid);
  Canvas.Brush()->SetColor(clBtnFace);
  Canvas.FillRect(R);
  TRect edge = R;
  DrawEdge(Canvas.Handle(), &edge, EDGE_RAISED, BF_RECT);
  Canvas.Pen()->SetColor(clBtnText);
  Canvas.Pen()->SetWidth(1);
  const Integer cx = R.Left + R.Width() / 2, cy = R.Top + R.Height() / 2;
  switch (Kind) {
    case TChildButton::Close:
      for (Integer d = 0; d < 2; ++d) {
        Canvas.MoveTo(cx - 4 + d, cy - 4);
        Canvas.LineTo(cx + 4 + d, cy + 4);
        Canvas.MoveTo(cx + 3 + d, cy - 4);
        Canvas.LineTo(cx - 5 + d, cy + 4);
      }
      break;
    case TChildButton::Maximize:
      Canvas.Brush()->SetStyle(bsClear);
      Canvas.Rectangle(cx - 5, cy - 4, cx + 4, cy + 4);
      Canvas.MoveTo(cx - 5, cy - 3);
      Canvas.LineTo(cx + 4, cy - 3);
      break;
    case TChildButton::Restore:
      Canvas.Brush()->SetStyle(bsClear);
      Canvas.Rectangle(cx - 2, cy - 5, cx + 5, cy + 1);
      Canvas.Brush()->SetStyle(bsSolid);
      Canvas.Rectangle(cx - 5, cy - 2, cx + 2, cy + 4);
      break;
    case TChildButton::Minimize:
      Canvas.MoveTo(cx - 4, cy + 3);
      Canvas.LineTo(cx + 3, cy + 3);
      Canvas.MoveTo(cx - 4, cy + 2);
      Canvas.LineTo(cx + 3, cy + 2);
      break;
  }
}

bool IsMDIChildForm(const TControl* Control) {
  const auto* f = dynamic_cast<const TCustomForm*>(Control);
  return f != nullptr && f->FormStyle() == fsMDIChild;
}

}  // namespace

// ---------------------------------------------------------------------------

TCustomForm* FindMDIFrame() {
  if (Application != nullptr)
    if (TCustomForm* main = Application->MainForm(); main != nullptr && main->FormStyle() == fsMDIForm) return main;
  if (Screen == nullptr) return nullptr;
  for (Integer i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->FormStyle() == fsMDIForm && !f->ComponentState().Contains(csDestroying)) return f;
  }
  return nullptr;
}

TMDIClient* MDIClientOf(const TCustomForm* Child) {
  if (Child == nullptr || Child->FormStyle() != fsMDIChild) return nullptr;
  return dynamic_cast<TMDIClient*>(Child->Parent());
}

TMDIClient::TMDIClient(TCustomForm* Frame) : TWinControl(nullptr), FFrame(Frame) {
  FParentColor = false;
  SetColor(clAppWorkSpace);
  FControlStyle.Include(csAcceptsControls);
  SetAlign(alClient);
  SetParent(Frame);
  SendToBack();
}

TMDIClient::~TMDIClient() {
  Destroying();
  FActive = nullptr;
  // The children go while the client is whole (they leave its list on the way).
  while (!FWinControls.empty()) delete FWinControls.back();
}

std::vector<TCustomForm*> TMDIClient::Children() const {
  std::vector<TCustomForm*> list;
  for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it) {
    if (!IsMDIChildForm(*it) || *it == FLeaving || !(*it)->Visible()) continue;
    if ((*it)->ComponentState().Contains(csDestroying)) continue;
    list.push_back(static_cast<TCustomForm*>(*it));
  }
  return list;
}

String TMDIClient::FrameTitle() const {
  String title = FFrame->Caption();
  if (FActive != nullptr && FActive->WindowState() == wsMaximized) title += u" - [" + FActive->Caption() + u"]";
  return title;
}

void TMDIClient::UpdateFrame() {
  if (ComponentState().Contains(csDestroying) || FFrame->ComponentState().Contains(csDestroying)) return;
  if (FFrame->HandleAllocated())
    if (TWindowBridge* b = controls_internal::BridgeOf(FFrame->Handle())) b->SetTitle(FrameTitle());
  // The bar shows a maximised child's icon and buttons.
  if (TMenuBar* bar = FFrame->MenuBar()) bar->Changed();
  // The frame hears of a change of what it shows of its children as of a
  // change of its frame (as when the system redraws a frame's bar for a
  // maximised child), so that code drawing child buttons of its own redraws.
  const bool maximized = FActive != nullptr && FActive->WindowState() == wsMaximized;
  const HWND active = FActive != nullptr && FActive->HandleAllocated() ? FActive->Handle() : nullptr;
  if ((active == FShownChild && maximized == FShownMaximized) || !FFrame->HandleAllocated()) return;
  FShownChild = active;
  FShownMaximized = maximized;
  WINDOWPOS pos{FFrame->Handle(), nullptr, FFrame->Left(), FFrame->Top(), FFrame->Width(), FFrame->Height(),
                SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED};
  SendMessage(FFrame->Handle(), WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

void TMDIClient::RefreshLater() {
  if (FRefreshPosted || ComponentState().Contains(csDestroying) || !HandleAllocated()) return;
  FRefreshPosted = true;
  PostMessage(Handle(), CM_MDIREFRESHDUE, 0, 0);
}

void TMDIClient::Activate(TCustomForm* Child) {
  if (Child == nullptr || Child->Parent() != this || !Child->Visible() || Child == FLeaving) return;
  Child->BringToFront();
  if (Child == FActive) return;
  TCustomForm* old = FActive;
  FActive = Child;
  // A maximised child hands its state on to the one that takes its place.
  if (old != nullptr && old->WindowState() == wsMaximized) {
    if (Child->WindowState() != wsMaximized) Child->SetWindowState(wsMaximized);
    old->SetWindowState(wsNormal);
  }
  const HWND oldWnd = old != nullptr && old->HandleAllocated() ? old->Handle() : nullptr;
  const HWND newWnd = Child->Handle();
  if (oldWnd != nullptr)
    SendMessage(oldWnd, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(oldWnd), reinterpret_cast<LPARAM>(newWnd));
  if (FActive == Child && IsWindow(newWnd))
    SendMessage(newWnd, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(oldWnd), reinterpret_cast<LPARAM>(newWnd));
  UpdateFrame();
  RefreshLater();
}

void TMDIClient::PickNextActive() {
  const bool maximized = FActive != nullptr && FActive->WindowState() == wsMaximized;
  TCustomForm* gone = FActive;
  FActive = nullptr;
  if (gone != nullptr && gone->HandleAllocated() && !gone->ComponentState().Contains(csDestroying))
    SendMessage(gone->Handle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(gone->Handle()), 0);
  else if (gone != nullptr)
    gone->FActive = false;
  const std::vector<TCustomForm*> rest = Children();
  if (!rest.empty()) {
    if (maximized) rest.front()->SetWindowState(wsMaximized);
    Activate(rest.front());
    return;
  }
  UpdateFrame();
  RefreshLater();
}

void TMDIClient::ActivateOnPress(TCustomForm* Child) {
  if (Child == nullptr || Child->Parent() != this) return;
  // The frame comes forward first, then the child.
  if (FFrame->HandleAllocated() && FFrame->Visible() && controls_internal::ActiveWindow() != FFrame->Handle())
    if (TWindowBridge* b = controls_internal::BridgeOf(FFrame->Handle()); b != nullptr && b->TopLevel())
      controls_internal::SetActiveWindow(FFrame->Handle());
  if (Child->Visible()) SendMessage(Handle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Child->Handle()), 0);
}

void TMDIClient::ChildShowingChanged(TCustomForm* Child) {
  if (ComponentState().Contains(csDestroying)) return;
  if (Child->Visible()) {
    PlaceChild(Child);
    // A child shown becomes the active one.
    Activate(Child);
    return;
  }
  if (Child == FActive) PickNextActive();
  else RefreshLater();
}

void TMDIClient::ChildGone(TCustomForm* Child) {
  if (FPressedChild == Child) FPressedChild = nullptr;
  if (ComponentState().Contains(csDestroying)) {
    if (FActive == Child) FActive = nullptr;
    return;
  }
  FLeaving = Child;
  try {
    if (Child == FActive) PickNextActive();
    else RefreshLater();
  } catch (...) {
    FLeaving = nullptr;
    throw;
  }
  FLeaving = nullptr;
}

void TMDIClient::ChildStateChanged(TCustomForm* Child) {
  PlaceChild(Child);
  Child->Invalidate();
  if (Child->Visible() && Child->WindowState() == wsMaximized && Child != FActive) Activate(Child);
  else if (Child == FActive) UpdateFrame();
}

void TMDIClient::ChildTextChanged(TCustomForm* Child) {
  Child->Invalidate();
  if (Child == FActive) UpdateFrame();
  RefreshLater();
}

void TMDIClient::FrameChanged() {
  UpdateFrame();
  if (FActive != nullptr) FActive->Invalidate();
}

void TMDIClient::PlaceChild(TCustomForm* Child) {
  const TRect in = Child->FrameInsets();
  switch (Child->WindowState()) {
    case wsMaximized:
      // The client area fills the client window; the frame lies outside it.
      Child->SetBounds(-in.Left, -in.Top, ClientWidth() + in.Left + in.Right, ClientHeight() + in.Top + in.Bottom);
      break;
    case wsMinimized: {
      // A caption bar along the bottom, in the order the children came.
      Integer index = 0;
      for (TWinControl* w : FWinControls) {
        if (w == Child) break;
        if (IsMDIChildForm(w) && static_cast<TCustomForm*>(w)->WindowState() == wsMinimized && w->Visible()) ++index;
      }
      const Integer h = in.Top + in.Bottom;
      const Integer perRow = std::max<Integer>(1, ClientWidth() / kMinimizedChildWidth);
      Child->SetBounds((index % perRow) * kMinimizedChildWidth, ClientHeight() - h * (index / perRow + 1),
                       kMinimizedChildWidth, h);
      break;
    }
    case wsNormal: {
      const TRect r = Child->FRestoreBounds;
      if (!r.IsEmpty()) Child->SetBounds(r.Left, r.Top, r.Width(), r.Height());
      break;
    }
  }
}

void TMDIClient::Resize() {
  TWinControl::Resize();
  for (TWinControl* w : std::vector<TWinControl*>(FWinControls))
    if (IsMDIChildForm(w) && static_cast<TCustomForm*>(w)->WindowState() != wsNormal)
      PlaceChild(static_cast<TCustomForm*>(w));
}

void TMDIClient::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_MDIACTIVATE: {
      TWinControl* target = FindControl(reinterpret_cast<HWND>(M.WParam));
      auto* child = dynamic_cast<TCustomForm*>(target);
      if (child != nullptr && child->Parent() == this && child->Visible()) Activate(child);
      M.Result = 0;
      return;
    }
    case WM_MDIGETACTIVE:
      M.Result = FActive != nullptr && FActive->HandleAllocated() ? reinterpret_cast<LRESULT>(FActive->Handle()) : 0;
      if (M.LParam != 0) *reinterpret_cast<BOOL*>(M.LParam) = FActive != nullptr && FActive->WindowState() == wsMaximized;
      return;
    case WM_MDINEXT: {
      const std::vector<TCustomForm*> list = Children();
      M.Result = 0;
      if (list.size() < 2) return;
      TCustomForm* from = M.WParam != 0 ? dynamic_cast<TCustomForm*>(FindControl(reinterpret_cast<HWND>(M.WParam))) : FActive;
      auto at = std::find(list.begin(), list.end(), from);
      if (at == list.end()) return;
      if (M.LParam != 0) {
        Activate(list.back());
      } else {
        TCustomForm* next = std::next(at) != list.end() ? *std::next(at) : list.front();
        Activate(next);
        if (from != next) from->SendToBack();
      }
      return;
    }
    case WM_MDIREFRESHMENU:
      M.Result = FFrame->Menu() != nullptr ? reinterpret_cast<LRESULT>(FFrame->Menu()->Handle()) : 0;
      return;
    case CM_MDIREFRESHDUE:
      FRefreshPosted = false;
      if (HandleAllocated()) SendMessage(Handle(), WM_MDIREFRESHMENU, 0, 0);
      return;
    default: TWinControl::Dispatch(M); return;
  }
}

// ---------------------------------------------------------------------------
// Child frames

LRESULT TMDIClient::ChildHitTest(TCustomForm* Child, TPoint Screen) const {
  const TRect in = Child->FrameInsets();
  const TPoint o = Child->ClientOrigin();
  const TPoint p{Screen.X - (o.X - in.Left), Screen.Y - (o.Y - in.Top)};
  if (p.X < 0 || p.Y < 0 || p.X >= Child->Width() || p.Y >= Child->Height()) return HTNOWHERE;
  if (TRect{in.Left, in.Top, Child->Width() - in.Right, Child->Height() - in.Bottom}.Contains(p)) return HTCLIENT;
  const TChildFrameParts parts = ChildFrameParts(Child);
  if (!parts.Caption.Contains(p)) return HTBORDER;
  if (parts.Close.Contains(p)) return HTCLOSE;
  if (parts.Max.Contains(p)) return HTMAXBUTTON;
  if (parts.Min.Contains(p)) return HTMINBUTTON;
  if (parts.Icon.Contains(p)) return HTSYSMENU;
  return HTCAPTION;
}

void TMDIClient::PaintChildFrame(TCustomForm* Child) {
  if (!Child->HandleAllocated()) return;
  const HWND wnd = Child->Handle();
  HDC dc = GetWindowDC(wnd);
  if (dc == nullptr) return;
  const TRect in = Child->FrameInsets();
  const Integer w = Child->Width(), h = Child->Height();
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(clBtnFace);
  canvas.FillRect(TRect{0, 0, w, in.Top});
  canvas.FillRect(TRect{0, h - in.Bottom, w, h});
  canvas.FillRect(TRect{0, in.Top, in.Left, h - in.Bottom});
  canvas.FillRect(TRect{w - in.Right, in.Top, w, h - in.Bottom});
  if (in.Left > 0) {
    TRect edge{0, 0, w, h};
    DrawEdge(canvas.Handle(), &edge, EDGE_RAISED, BF_RECT);
  }
  const TChildFrameParts parts = ChildFrameParts(Child);
  if (!parts.Caption.IsEmpty()) {
    const bool active = Child == FActive && FFrame->Active();
    canvas.Brush()->SetColor(active ? clActiveCaption : clInactiveCaption);
    canvas.FillRect(parts.Caption);
    Integer textLeft = parts.Caption.Left + 4;
    if (!parts.Icon.IsEmpty()) {
      if (HICON icon = Child->Icon()->Handle())
        DrawIconEx(canvas.Handle(), parts.Icon.Left, parts.Icon.Top, icon, parts.Icon.Width(), parts.Icon.Height(), 0,
                   nullptr, DI_NORMAL);
      textLeft = parts.Icon.Right + 4;
    }
    Integer textRight = parts.Caption.Right - 2;
    for (const TRect* b : {&parts.Close, &parts.Max, &parts.Min})
      if (!b->IsEmpty()) textRight = std::min(textRight, b->Left - 2);
    if (Screen != nullptr) canvas.SetFont(Screen->MenuFont());
    canvas.Font()->SetStyle(TFontStyles{fsBold});
    canvas.Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
    canvas.Brush()->SetStyle(bsClear);
    TRect text{textLeft, parts.Caption.Top, textRight, parts.Caption.Bottom};
    String caption = Child->Caption();
    if (text.Right > text.Left)
      canvas.TextRect(text, caption, tfSingleLine | tfVerticalCenter | tfEndEllipsis | tfNoPrefix);
    if (!parts.Close.IsEmpty()) DrawChildButton(canvas, parts.Close, TChildButton::Close);
    if (!parts.Max.IsEmpty())
      DrawChildButton(canvas, parts.Max,
                      Child->WindowState() == wsMaximized ? TChildButton::Restore : TChildButton::Maximize);
    if (!parts.Min.IsEmpty())
      DrawChildButton(canvas, parts.Min,
                      Child->WindowState() == wsMinimized ? TChildButton::Restore : TChildButton::Minimize);
  }
  canvas.SetHandle(nullptr);
  ReleaseDC(wnd, dc);
}

bool TMDIClient::ChildMessage(TCustomForm* Child, TMessage& M) {
  switch (M.Msg) {
    case WM_NCPAINT:
      PaintChildFrame(Child);
      M.Result = 0;
      return true;
    case WM_NCHITTEST:
      M.Result = ChildHitTest(Child, PointFromLParam(M.LParam));
      return true;
    case WM_MDIACTIVATE: {
      const bool on = reinterpret_cast<HWND>(M.LParam) == Child->Handle();
      Child->FActive = on;
      if (on) {
        if (Child->FActiveControl == nullptr) Child->FActiveControl = Child->FindNextControl(nullptr, true, true, false);
        if (FFrame->Active()) Child->SetWindowFocus();
      } else if (Child->FFormState.Contains(fsActivated)) {
        Child->FFormState.Exclude(fsActivated);
        Child->Perform(CM_DEACTIVATE, 0, 0);
      }
      // The frame's menu merges the active child's menu (and hears of the change).
      if (TMainMenu* menu = FFrame->Menu()) {
        if (on) menu->Merge(Child->Menu());
        else menu->Unmerge(Child->Menu());
      }
      Child->Invalidate();
      M.Result = 0;
      return true;
    }
    case WM_NCLBUTTONDOWN: {
      const LRESULT hit = LRESULT(M.WParam);
      FPressedChild = nullptr;
      if (hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON) {
        FPressedChild = Child;
        FPressedHit = hit;
      } else if (hit == HTCAPTION && Child->WindowState() == wsNormal) {
        SendMessage(Child->Handle(), WM_SYSCOMMAND, SC_MOVE | WPARAM(HTCAPTION), M.LParam);
      }
      M.Result = 0;
      return true;
    }
    case WM_NCLBUTTONUP: {
      const LRESULT hit = LRESULT(M.WParam);
      const bool pressed = FPressedChild == Child && FPressedHit == hit;
      FPressedChild = nullptr;
      M.Result = 0;
      if (!pressed) return true;
      WPARAM command = 0;
      if (hit == HTCLOSE) command = SC_CLOSE;
      else if (hit == HTMAXBUTTON) command = Child->WindowState() == wsMaximized ? SC_RESTORE : SC_MAXIMIZE;
      else if (hit == HTMINBUTTON) command = Child->WindowState() == wsMinimized ? SC_RESTORE : SC_MINIMIZE;
      if (command != 0) SendMessage(Child->Handle(), WM_SYSCOMMAND, command, M.LParam);
      return true;
    }
    case WM_NCLBUTTONDBLCLK:
      if (LRESULT(M.WParam) == HTCAPTION) {
        const bool normal = Child->WindowState() == wsNormal;
        if (!normal || Child->BorderIcons().Contains(biMaximize))
          SendMessage(Child->Handle(), WM_SYSCOMMAND, normal ? SC_MAXIMIZE : SC_RESTORE, M.LParam);
      }
      M.Result = 0;
      return true;
    default: return false;
  }
}
