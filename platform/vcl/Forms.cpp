#include "platform/vcl/Forms.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "platform/gdi/GdiInternal.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/QtString.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/ControlsInternal.h"
#include "platform/vcl/MenuBar.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Monitors.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

TScreen* Screen = nullptr;

namespace {

TRect InsetsFor(TFormBorderStyle Style) {
  TRect r{0, 0, 0, 0};
  DWORD style = 0, ex = 0;
  switch (Style) {
    case bsNone: return r;
    case bsSingle: style = WS_CAPTION | WS_BORDER; break;
    case bsSizeable: style = WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: style = WS_CAPTION; ex = WS_EX_DLGMODALFRAME; break;
    case bsToolWindow: style = WS_CAPTION; ex = WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin: style = WS_CAPTION | WS_THICKFRAME; ex = WS_EX_TOOLWINDOW; break;
  }
  AdjustWindowRectEx(&r, style, false, ex);
  return {-r.Left, -r.Top, r.Right, r.Bottom};
}

// Sends a focus message; false when a handler moved the focus meanwhile.
bool SendFocusMessage(TCustomForm* Form, TWinControl* Target, UINT Msg, const Integer& FocusCount) {
  const Integer before = FocusCount;
  Target->Perform(Msg, 0, 0);
  (void)Form;
  return FocusCount == before;
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FFormState.Include(fsCreating);
  FVisible = false;
  FParentColor = false;
  FParentFont = false;
  FParentShowHint = false;
  FShowHint = false;
  FColor = clBtnFace;
  Brush()->SetColor(FColor);
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FWidth = 320;
  FHeight = 240;
  FCanvas->SetControl(this);
  // Components made by a derived constructor count as loaded with the form.
  Loading();
  if (Screen != nullptr) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (!FFormState.Contains(fsCreating)) DoDestroy();
  Destroying();
  if (Application != nullptr) Application->FormDestroyed(this);
  if (Screen != nullptr) Screen->RemoveForm(this);
  if (FMenu != nullptr) FMenu->RemoveFreeNotification(this);
  FMenuBar.reset();
  FCanvas->FreeHandle();
  DestroyHandle();
}

void TCustomForm::AfterConstruction() {
  if (ComponentState().Contains(csLoading)) {
    Loaded();
    for (Integer i = 0; i < ComponentCount(); ++i) {
      TComponent* c = Components(i);
      if (c->ComponentState().Contains(csLoading)) c->Loaded();
    }
  }
  FFormState.Exclude(fsCreating);
  DoCreate();
  // Visible asked for while the form was being made takes effect now.
  if (FFormState.Contains(fsVisible)) {
    FFormState.Exclude(fsVisible);
    SetVisible(true);
  }
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}
void TCustomForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}
void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}
void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}
void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}
void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}
void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}
void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

TRect TCustomForm::FrameInsets() const {
  if (FParent != nullptr) return {};
  TRect r = InsetsFor(FBorderStyle);
  // The menu bar is part of the frame, between the caption and the client area.
  if (FMenuBar) r.Top += FMenuBar->Height();
  return r;
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (FMenu != nullptr) {
    FMenu->RemoveFreeNotification(this);
    if (HandleAllocated() && FMenu->WindowHandle() == FHandle) FMenu->SetWindowHandle(nullptr);
  }
  FMenu = Value;
  if (Value != nullptr) {
    Value->FreeNotification(this);
    if (HandleAllocated()) Value->SetWindowHandle(FHandle);
    if (!FMenuBar) FMenuBar = std::make_unique<TMenuBar>(this);
  }
  if (FMenuBar) FMenuBar->SetMenu(Value);
}

void TCustomForm::MenuBarResized(Integer Delta) {
  if (Delta != 0) SetBounds(FLeft, FTop, FWidth, FHeight + Delta);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent != nullptr && AComponent == FMenu) {
    FMenu = nullptr;
    if (FMenuBar) FMenuBar->SetMenu(nullptr);
  }
}

TPoint TCustomForm::ClientOrigin() const { return TWinControl::ClientOrigin(); }

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  const TRect cr = ClientRect();
  FBorderStyle = Value;
  if (FBorderStyle == bsDialog) FBorderIcons.Exclude(biMinimize).Exclude(biMaximize);
  const TRect in = FrameInsets();
  // The client area keeps its size; the frame grows or shrinks around it.
  FWidth = cr.Width() + in.Left + in.Right;
  FHeight = cr.Height() + in.Top + in.Bottom;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  FFormStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  const TWindowState old = FWindowState;
  if (old == wsNormal) FRestoreBounds = BoundsRect();
  FWindowState = Value;
  if (FParent != nullptr) return;
  TWindowBridge* bridge = HandleAllocated() ? controls_internal::BridgeOf(Handle()) : nullptr;
  if (bridge != nullptr) bridge->SetMinimized(Value == wsMinimized);
  if (Value == wsMaximized) {
    const TRect work = Monitor() != nullptr ? Monitor()->WorkareaRect() : Bounds(0, 0, 800, 600);
    SetBounds(work.Left, work.Top, work.Width(), work.Height());
  } else if (Value == wsNormal && old == wsMaximized) {
    SetBounds(FRestoreBounds.Left, FRestoreBounds.Top, FRestoreBounds.Width(), FRestoreBounds.Height());
  }
}

void TCustomForm::SetPixelsPerInch(Integer Value) {
  if (Value > 0) FPixelsPerInch = Value;
}

void TCustomForm::SetAlphaBlend(bool Value) {
  if (FAlphaBlend == Value) return;
  FAlphaBlend = Value;
  RecreateWnd();
  ApplyAlpha();
}

void TCustomForm::SetAlphaBlendValue(Byte Value) {
  FAlphaBlendValue = Value;
  ApplyAlpha();
}

void TCustomForm::ApplyAlpha() {
  if (HandleAllocated() && FAlphaBlend) SetLayeredWindowAttributes(FHandle, 0, FAlphaBlendValue, LWA_ALPHA);
}

void TCustomForm::CreateParams(TCreateParams& P) {
  TWinControl::CreateParams(P);
  if (FParent != nullptr) {
    // A form inside a control; made a pop-up by its CreateParams, it stays on top when asked.
    if (FFormStyle == fsStayOnTop) P.ExStyle |= WS_EX_TOPMOST;
    return;
  }
  P.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
  P.WndParent = FParentWindow != nullptr ? FParentWindow : (Application != nullptr ? Application->Handle() : nullptr);
  if (FParentWindow != nullptr) P.Style |= WS_CHILD;
  switch (FBorderStyle) {
    case bsNone: P.Style |= WS_POPUP; break;
    case bsSingle: P.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: P.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      P.Style |= WS_POPUP | WS_CAPTION;
      P.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      P.Style |= WS_CAPTION;
      P.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      P.Style |= WS_CAPTION | WS_THICKFRAME;
      P.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (FBorderStyle != bsNone) {
    if (FBorderIcons.Contains(biSystemMenu)) P.Style |= WS_SYSMENU;
    if (FBorderIcons.Contains(biMinimize)) P.Style |= WS_MINIMIZEBOX;
    if (FBorderIcons.Contains(biMaximize)) P.Style |= WS_MAXIMIZEBOX;
  }
  if (FFormStyle == fsStayOnTop) P.ExStyle |= WS_EX_TOPMOST;
  if (FAlphaBlend) P.ExStyle |= WS_EX_LAYERED;
  if (Application != nullptr && Application->MainForm() == this && Application->MainFormOnTaskbar())
    P.ExStyle |= WS_EX_APPWINDOW;
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyAlpha();
  if (FMenu != nullptr) FMenu->SetWindowHandle(FHandle);
}

void TCustomForm::PlaceForm() {
  if (FParent != nullptr) return;
  TRect area = Screen != nullptr ? Screen->WorkAreaRect() : Bounds(0, 0, 800, 600);
  TCustomForm* around = nullptr;
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter: break;
    case poMainFormCenter: around = Application != nullptr ? Application->MainForm() : nullptr; break;
    case poOwnerFormCenter: around = dynamic_cast<TCustomForm*>(Owner()); break;
    default: return;
  }
  if (around == this) around = nullptr;
  if (around != nullptr) area = around->BoundsRect();
  SetBounds(area.Left + (area.Width() - FWidth) / 2, area.Top + (area.Height() - FHeight) / 2, FWidth, FHeight);
}

void TCustomForm::SetVisible(bool Value) {
  if (Value && FFormState.Contains(fsCreating)) {
    FFormState.Include(fsVisible);
    return;
  }
  TWinControl::SetVisible(Value);
}

void TCustomForm::CMShowingChanged(TMessage&) {
  if (FShowing) {
    FFormState.Include(fsShowing);
    try {
      DoShow();
    } catch (...) {
      FFormState.Exclude(fsShowing);
      throw;
    }
    FFormState.Exclude(fsShowing);
    PlaceForm();
    if (FParent != nullptr && !controls_internal::IsPopupWindow(this)) {
      ShowWindow(FHandle, SW_SHOWNOACTIVATE);
    } else {
      ShowWindow(FHandle, SW_SHOWNORMAL);
    }
  } else {
    FFormState.Include(fsShowing);
    try {
      DoHide();
    } catch (...) {
      FFormState.Exclude(fsShowing);
      throw;
    }
    FFormState.Exclude(fsShowing);
    ShowWindow(FHandle, SW_HIDE);
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

bool TCustomForm::CanFocus() const { return FVisible && FEnabled; }

void TCustomForm::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
  if ((FParent == nullptr || controls_internal::IsPopupWindow(this)) && HandleAllocated())
    controls_internal::SetActiveWindow(FHandle);
  else TWinControl::SetFocus();
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  if (!(Control == nullptr ||
        (Control != this && GetParentForm(Control) == this &&
         (ComponentState().Contains(csLoading) || !FShowing || Control->CanFocus()))))
    throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (!ComponentState().Contains(csLoading)) {
    if (FActive) SetWindowFocus();
    if (Screen != nullptr && Screen->ActiveForm() == this) Screen->SetActiveControl(Control);
  }
}

void TCustomForm::FocusControl(TWinControl* Control) {
  const bool wasActive = FActive;
  SetActiveControl(Control);
  if (wasActive && Control != nullptr && Control->HandleAllocated() && GetFocus() != Control->Handle())
    SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  if (!FShowing) return;
  TWinControl* target = FActiveControl != nullptr && FActiveControl->HandleAllocated() ? FActiveControl : this;
  // A control on a pop-up of this form lies in another window: focusing it would not activate this one.
  if (target != this && controls_internal::TopLevelBridgeOf(target) != controls_internal::TopLevelBridgeOf(this))
    target = this;
  if (target->HandleAllocated()) ::SetFocus(target->Handle());
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  ++FFocusCount;
  const Integer count = FFocusCount;
  FActiveControl = Control != this ? Control : nullptr;
  if (Screen != nullptr) {
    Screen->SetActiveForm(this);
    Screen->SetActiveControl(Control);
  }
  if (Control->ControlState().Contains(csFocusing)) return false;
  Control->FControlState.Include(csFocusing);
  struct TUnmark {
    TWinControl* C;
    ~TUnmark() { C->FControlState.Exclude(csFocusing); }
  } unmark{Control};
  if (!FFormState.Contains(fsActivated)) {
    FFormState.Include(fsActivated);
    if (!SendFocusMessage(this, this, CM_ACTIVATE, FFocusCount) || FFocusCount != count) return false;
  }
  if (FFocusedControl == nullptr) FFocusedControl = this;
  if (FFocusedControl != Control) {
    while (FFocusedControl != nullptr && !FFocusedControl->ContainsControl(Control)) {
      TWinControl* leaving = FFocusedControl;
      FFocusedControl = FFocusedControl->Parent();
      if (!SendFocusMessage(this, leaving, CM_EXIT, FFocusCount) || FFocusCount != count) return false;
    }
    while (FFocusedControl != Control) {
      TWinControl* step = Control;
      while (step->Parent() != FFocusedControl) step = step->Parent();
      FFocusedControl = step;
      if (!SendFocusMessage(this, step, CM_ENTER, FFocusCount) || FFocusCount != count) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  }
  return true;
}

void TCustomForm::ForgetFocus(TWinControl* Control) {
  if (Control == nullptr || Control == this) return;
  const bool hadFocus = FFocusedControl != nullptr && Control->ContainsControl(FFocusedControl);
  if (FActiveControl != nullptr && Control->ContainsControl(FActiveControl)) FActiveControl = nullptr;
  if (hadFocus) {
    FFocusedControl = Control->Parent();
    if (FFocusedControl == nullptr) FFocusedControl = this;
  }
  const HWND focus = GetFocus();
  if (focus != nullptr)
    if (TWinControl* f = FindControl(focus); f != nullptr && Control->ContainsControl(f))
      controls_internal::SetFocusWindow(HandleAllocated() && FShowing ? FHandle : nullptr);
  if (Screen != nullptr && Screen->ActiveControl() != nullptr && Control->ContainsControl(Screen->ActiveControl()))
    Screen->SetActiveControl(nullptr);
}

void TCustomForm::WMActivate(TMessage& M) {
  const bool active = LOWORD(M.WParam) != WA_INACTIVE;
  if (FActive == active) return;
  FActive = active;
  if (active) {
    if (FActiveControl == nullptr) FActiveControl = FindNextControl(nullptr, true, true, false);
    SetWindowFocus();
    if (Screen != nullptr) Screen->SetActiveForm(this);
  } else {
    if (FMenuBar) FMenuBar->CancelMode();
    if (FFormState.Contains(fsActivated)) {
      FFormState.Exclude(fsActivated);
      Perform(CM_DEACTIVATE, 0, 0);
    }
    if (HandleAllocated()) {
      const HWND focus = GetFocus();
      if (focus != nullptr)
        if (TWinControl* f = FindControl(focus); f != nullptr && ContainsControl(f))
          controls_internal::SetFocusWindow(nullptr);
    }
  }
}

void TCustomForm::CMActivate(TMessage&) { Activate(); }
void TCustomForm::CMDeactivate(TMessage&) { Deactivate(); }

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::ChangeScale(Integer M, Integer D, bool IsDpiChange) {
  if (M <= 0 || D <= 0) return;
  TWinControl::ChangeScale(M, D, IsDpiChange);
  if (IsDpiChange) FPixelsPerInch = MulDiv(FPixelsPerInch, M, D);
}

void TCustomForm::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  MonitorsChanged();
}

void TCustomForm::MonitorsChanged() {
  if (FDpiChanging || !FScaled || FParent != nullptr || !HandleAllocated() || Screen == nullptr) return;
  TMonitor* monitor = Monitor();
  if (monitor == nullptr || monitor->PixelsPerInch() == FPixelsPerInch) return;
  const Integer ppi = monitor->PixelsPerInch();
  TRect suggested = Bounds(Left(), Top(), MulDiv(Width(), ppi, FPixelsPerInch), MulDiv(Height(), ppi, FPixelsPerInch));
  SendMessage(Handle(), WM_DPICHANGED, MAKEWPARAM(ppi, ppi), reinterpret_cast<LPARAM>(&suggested));
}

void TCustomForm::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_DPICHANGED: {
      const Integer ppi = LOWORD(M.WParam);
      if (FScaled && ppi > 0 && ppi != FPixelsPerInch && !FDpiChanging) {
        FDpiChanging = true;
        try {
          ChangeScale(ppi, FPixelsPerInch, true);
        } catch (...) {
          FDpiChanging = false;
          throw;
        }
        FDpiChanging = false;
      }
      M.Result = 0;
      break;
    }
    case WM_ACTIVATE: WMActivate(M); break;
    case WM_CLOSE: WMClose(M); break;
    case WM_SYSCOMMAND: WMSysCommand(M); break;
    case WM_NCPAINT:
      // A top-level form's frame is the window manager's but for the menu bar.
      if (FParent != nullptr) TWinControl::Dispatch(M);
      else if (FMenuBar) FMenuBar->Paint();
      break;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSELEAVE:
      if (FMenuBar && (M.WParam == WPARAM(HTMENU) || M.Msg == WM_NCMOUSELEAVE)) {
        const TPoint at = PointFromLParam(M.LParam);
        if (M.Msg == WM_NCMOUSEMOVE) FMenuBar->MouseMove(at);
        else if (M.Msg == WM_NCLBUTTONUP) FMenuBar->MouseUp(at);
        else if (M.Msg == WM_NCMOUSELEAVE) FMenuBar->MouseLeave();
        else FMenuBar->MouseDown(at);
      } else {
        TWinControl::Dispatch(M);
      }
      break;
    case CM_ACTIVATE: CMActivate(M); break;
    case CM_DEACTIVATE: CMDeactivate(M); break;
    case CM_RELEASE:
      // The form asked to go once its pending messages were delivered.
      delete this;
      return;
    default: TWinControl::Dispatch(M); break;
  }
}

void TCustomForm::WMSysCommand(TMessage& M) {
  if ((M.WParam & 0xFFF0) == SC_KEYMENU) {
    // F10, Alt alone (0) or Alt with a letter: the menu bar's keys.
    if (FMenuBar) FMenuBar->KeyMenu(Char(M.LParam));
    M.Result = 0;
    return;
  }
  if ((M.WParam & 0xFFF0) == SC_MOVE && HandleAllocated()) {
    controls_internal::BeginWindowMove(this);
    M.Result = 0;
    return;
  }
  switch (M.WParam & 0xFFF0) {
    case SC_SIZE:
      if (HandleAllocated()) controls_internal::BeginWindowSize(this, int(M.WParam & 0xF));
      M.Result = 0;
      return;
    case SC_MINIMIZE: SetWindowState(wsMinimized); M.Result = 0; return;
    case SC_MAXIMIZE: SetWindowState(wsMaximized); M.Result = 0; return;
    case SC_RESTORE: SetWindowState(wsNormal); M.Result = 0; return;
    case SC_CLOSE: Close(); M.Result = 0; return;
    default: break;
  }
  DefaultHandler(M);
}

void TCustomForm::CMDialogKey(TMessage& M) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (M.WParam) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
          M.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl != nullptr && FActiveControl->Parent() != nullptr) {
          FActiveControl->Parent()->SelectNext(FActiveControl, M.WParam == VK_RIGHT || M.WParam == VK_DOWN, false);
          M.Result = 1;
        }
        return;
      default: break;
    }
  }
  TWinControl::CMDialogKey(M);
}

void TCustomForm::PaintWindow(HDC DC) {
  controls_internal::PaintOnCanvas(*FCanvas, DC, [this] { Paint(); });
}

void TCustomForm::WMPaint(TMessage& M) {
  controls_internal::WithControlState(FControlState, csCustomPaint, [&] { TWinControl::WMPaint(M); });
}

TModalResult TCustomForm::ShowModal() {
  if (FVisible || !FEnabled || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation(u"Cannot make a visible window modal");
  if (GetCapture() != nullptr) {
    SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
  }
  FFormState.Include(fsModal);
  const HWND previousActive = GetActiveWindow();
  // Every other shown window is disabled while this one is modal.
  std::vector<HWND> disabled;
  if (Screen != nullptr)
    for (Integer i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (f == this || !f->HandleAllocated() || !IsWindowEnabled(f->Handle())) continue;
      EnableWindow(f->Handle(), FALSE);
      disabled.push_back(f->Handle());
    }
  auto restore = [&] {
    for (HWND h : disabled)
      if (IsWindow(h)) EnableWindow(h, TRUE);
    FFormState.Exclude(fsModal);
  };
  try {
    Show();
    FModalResult = mrNone;
    do {
      Application->HandleMessage();
      if (Application->Terminated()) FModalResult = mrCancel;
      else if (FModalResult != mrNone) CloseModal();
    } while (FModalResult == mrNone);
    Hide();
  } catch (...) {
    restore();
    throw;
  }
  restore();
  if (previousActive != nullptr && IsWindow(previousActive) && IsWindowVisible(previousActive))
    controls_internal::SetActiveWindow(previousActive);
  return FModalResult;
}

void TCustomForm::CloseModal() {
  TCloseAction action = caHide;
  if (CloseQuery()) DoClose(action);
  else action = caNone;
  switch (action) {
    case caNone: FModalResult = mrNone; break;
    case caFree: Release(); break;
    default: break;
  }
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application != nullptr && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    default: Release(); break;
  }
}

void TCustomForm::Release() { PostMessage(Handle(), CM_RELEASE, 0, 0); }

// ---------------------------------------------------------------------------
// TScreen

TScreen::TScreen(TComponent* AOwner)
    : TComponent(AOwner),
      FHintFont(std::make_unique<TFont>()),
      FIconFont(std::make_unique<TFont>()),
      FMenuFont(std::make_unique<TFont>()) {
  // The system's fonts: Segoe UI 9 as the desktop of the supported systems sets them.
  for (TFont* f : {FHintFont.get(), FIconFont.get(), FMenuFont.get()}) {
    f->SetName(u"Segoe UI");
    f->SetHeight(-12);
  }
  FHintFont->SetColor(clInfoText);
}

TScreen::~TScreen() {
  if (Screen == this) Screen = nullptr;
}

TCustomForm* TScreen::Forms(Integer Index) const {
  if (Index < 0 || Index >= FormCount()) throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  return FForms[std::size_t(Index)];
}

void TScreen::AddForm(TCustomForm* Form) { FForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  std::erase(FForms, Form);
  if (FActiveForm == Form) FActiveForm = nullptr;
  if (FActiveControl != nullptr && Form->ContainsControl(FActiveControl)) FActiveControl = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* Form) {
  if (FActiveForm == Form) return;
  FActiveForm = Form;
  if (OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  FActiveControl = Control;
  if (OnActiveControlChange) OnActiveControlChange(this);
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  controls_internal::ApplyScreenCursor(Value);
  // Back to the windows' own cursors: the window under the pointer shows its own at once.
  if (Value == crDefault) controls_internal::RefreshCursorAtPointer();
}

TStrings* TScreen::Fonts() {
  if (!FFonts) {
    FFonts = std::make_unique<TStringList>();
    if (QGuiApplication::instance() != nullptr)
      for (const QString& family : QFontDatabase::families()) FFonts->Add(FromQString(family));
    FFonts->SetSorted(true);
  }
  return FFonts.get();
}

Integer TScreen::PixelsPerInch() const { return gdi_internal::ScreenPixelsPerInch(); }

Integer TScreen::Width() const { return PrimaryMonitor()->Width(); }

Integer TScreen::Height() const { return PrimaryMonitor()->Height(); }

TRect TScreen::WorkAreaRect() const { return PrimaryMonitor()->WorkareaRect(); }

TRect TScreen::DesktopRect() const {
  TRect r = PrimaryMonitor()->BoundsRect();
  for (Integer i = 0; i < MonitorCount(); ++i) {
    const TRect b = Monitors(i)->BoundsRect();
    r = TRect{std::min(r.Left, b.Left), std::min(r.Top, b.Top), std::max(r.Right, b.Right), std::max(r.Bottom, b.Bottom)};
  }
  return r;
}

Integer TScreen::MonitorCount() const { return ::MonitorCount(); }

TMonitor* TScreen::Monitors(Integer Index) const { return MonitorAt(Index); }

TMonitor* TScreen::MonitorFromPoint(TPoint Point, DWORD Default) const {
  return MonitorOfHandle(::MonitorFromPoint(Point, Default));
}

TMonitor* TScreen::MonitorFromRect(const TRect& Rect, DWORD Default) const {
  return MonitorOfHandle(::MonitorFromRect(&Rect, Default));
}

TMonitor* TScreen::MonitorFromWindow(HWND Wnd, DWORD Default) const {
  return MonitorOfHandle(::MonitorFromWindow(Wnd, Default));
}

TMonitor* TScreen::PrimaryMonitor() const {
  for (Integer i = 0; i < MonitorCount(); ++i)
    if (Monitors(i)->Primary()) return Monitors(i);
  return Monitors(0);
}

TMonitor* TCustomForm::Monitor() const {
  const TRect r = Bounds(Left(), Top(), Width(), Height());
  return MonitorOfHandle(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST));
}

// ---------------------------------------------------------------------------
// Type information

void RegisterFormClasses() {
  RegisterControlClasses();
  RegisterEnum<TFormBorderStyle>(u"TFormBorderStyle",
                                 {u"bsNone", u"bsSingle", u"bsSizeable", u"bsDialog", u"bsToolWindow", u"bsSizeToolWin"});
  RegisterEnum<TBorderIcon>(u"TBorderIcon", {u"biSystemMenu", u"biMinimize", u"biMaximize", u"biHelp"});
  RegisterEnum<TPosition>(u"TPosition", {u"poDesigned", u"poDefault", u"poDefaultPosOnly", u"poDefaultSizeOnly",
                                         u"poScreenCenter", u"poDesktopCenter", u"poMainFormCenter",
                                         u"poOwnerFormCenter"});
  RegisterEnum<TFormStyle>(u"TFormStyle", {u"fsNormal", u"fsMDIChild", u"fsMDIForm", u"fsStayOnTop"});
  RegisterEnum<TWindowState>(u"TWindowState", {u"wsNormal", u"wsMinimized", u"wsMaximized"});
  TClassInfo::Of<TCustomForm, TWinControl>(u"TCustomForm")
      .Property(u"ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
      .Property(u"AlphaBlend", &TCustomForm::AlphaBlend, &TCustomForm::SetAlphaBlend).Default(false)
      .Property(u"AlphaBlendValue", &TCustomForm::AlphaBlendValue, &TCustomForm::SetAlphaBlendValue).Default(255)
      .Property(u"BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons).TypeName(u"TBorderIcons")
      .Property(u"BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle).Default(bsSizeable)
      .Property(u"ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
      .Property(u"ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
      .Property(u"FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal)
      .Property(u"KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false)
      .Property(u"Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
      .Property(u"PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch)
      .Property(u"Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDefaultPosOnly)
      .Property(u"Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled).Default(true)
      .Property(u"WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState).Default(wsNormal)
      .Event(u"OnActivate", &TCustomForm::OnActivate)
      .Event(u"OnClose", &TCustomForm::OnClose).TypeName(u"TCloseEvent")
      .Event(u"OnCloseQuery", &TCustomForm::OnCloseQuery).TypeName(u"TCloseQueryEvent")
      .Event(u"OnCreate", &TCustomForm::OnCreate)
      .Event(u"OnDeactivate", &TCustomForm::OnDeactivate)
      .Event(u"OnDestroy", &TCustomForm::OnDestroy)
      .Event(u"OnHide", &TCustomForm::OnHide)
      .Event(u"OnPaint", &TCustomForm::OnPaint)
      .Event(u"OnShow", &TCustomForm::OnShow);
  TClassInfo::Of<TForm, TCustomForm>(u"TForm");
  RegisterClasses({ClassInfoOf<TCustomForm>(), ClassInfoOf<TForm>()});
}

void TCustomForm::MouseWheelHandler(TMessage& M) {
  if (FFocusedControl != nullptr && FFocusedControl != this) {
    M.Result = FFocusedControl->Perform(CM_MOUSEWHEEL, M.WParam, M.LParam);
    return;
  }
  TWinControl::MouseWheelHandler(M);
}
