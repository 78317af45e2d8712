#include "ribbon/ZadEdevAziForm.h"

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Registry.h"
#include "platform/vcl/Monitors.h"
#include "platform/vcl/PopupWindows.h"
#include "platform/vcl/SystemMenu.h"
#include "platform/win/Clock.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"
#include "ribbon/AdvDWM.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

namespace {

bool IsMoveCommand(WPARAM W) {
  const WPARAM c = W & 0xFFF0;
  return c == SC_MOVE;
}

}  // namespace

TZadEdevAziForm::TZadEdevAziForm(TComponent* AOwner) : TForm(AOwner) { Init(true); }

TZadEdevAziForm::TZadEdevAziForm(TComponent* AOwner, Integer) : TForm(AOwner) { Init(false); }

void TZadEdevAziForm::Init(bool ReadSettings) {
  FSubClassAsRibbon = true;
  FIsAeroVista = advdwm::IsCompositionEnabled();
  if (ReadSettings) {
    FNoAutoMax = false;
    FLastClick = 0;
    FWinArrange = true;
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.OpenKeyReadOnly(u"Control Panel\\Desktop") && reg.ValueExists(u"WindowArrangementActive"))
      FWinArrange = reg.ReadString(u"WindowArrangementActive") == u"1";
    // The layer reports Windows 10.
    FIsWin10 = true;
    FIsWin11 = false;
    FBorderWidth = 2;
  }
  if (FIsAeroVista) SetDoubleBuffered(true);
  FIsWin7 = true;
  FOldWndState = wsNormal;
  FMaxX = FMaxY = 0;
  FNoDropShadow = false;
  InitColorTones();
}

void TZadEdevAziForm::AfterConstruction() {
  // Made: the components of the derived constructor are in place; focus
  // that arrives from now on is taken.
  FCreated = true;
  TForm::AfterConstruction();
}

TZadEdevAziPager* TZadEdevAziForm::FirstPager() const {
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* p = dynamic_cast<TZadEdevAziPager*>(Controls(i))) return p;
  return nullptr;
}

bool TZadEdevAziForm::IsScenicMaximized() const {
  TZadEdevAziPager* p = FirstPager();
  const bool scenic = p != nullptr ? p->Win7ScenicRibbon() : gdiplus::GetScenicRibbonFlag();
  return FIsAeroVista && WindowState() == wsMaximized && gdiplus::GetGlassFlag() && scenic && FIsWin7;
}

// The layer reports a modern system, never the one with the special border.
bool TZadEdevAziForm::UsesSingleBorder() const { return FSingleBorder && !FIsAeroVista; }

Integer TZadEdevAziForm::GetPagerCaptionHeight() const {
  TZadEdevAziPager* p = FirstPager();
  return p != nullptr ? p->ScaledPagerCaptionHeight() : -1;
}

Integer TZadEdevAziForm::GetGlassTabHeight() const {
  if (!FIsAeroVista || (WindowState() == wsMaximized && !IsScenicMaximized())) return -1;
  TZadEdevAziPager* p = FirstPager();
  if (p == nullptr || !p->IsOnGlass(true)) return -1;
  return p->TabSettings()->Height() - 1;
}

void TZadEdevAziForm::Loaded() {
  TForm::Loaded();
  FInitBorderStyle = BorderStyle();
  if (FIsAeroVista && (BorderStyle() == bsNone || FormStyle() == fsMDIChild)) UpdateGlassState();
  if (FIsAeroVista) {
    SetHeight(Height() - toolbar::ScaledCaptionHeight);
    SetWidth(Width() - 1);
    SetWidth(Width() + 1);
  }
  if (FActivated) {
    FActivated = false;
    if (OnActivate) OnActivate(this);
  }
  if (FDoSetMetro && toolbar::WM_TBSETMETRO != 0)
    PostMessage(Handle(), toolbar::WM_TBSETMETRO, 1, 0);
}

void TZadEdevAziForm::SetSubclassAsRibbon(bool Value) {
  FSubClassAsRibbon = Value;
  if (Value)
    UpdateGlassState();
  else
    FIsAeroVista = false;
  SetWidth(Width() + 1);
  SetWidth(Width() - 1);
}

void TZadEdevAziForm::ApplySingleBorder(bool Value) {
  if (FIsAeroVista)
    SetBorderStyle(bsSizeable);
  else if (Value)
    SetBorderStyle(bsNone);
}

void TZadEdevAziForm::SetSingleBorder(bool Value) {
  FSingleBorder = Value;
  ApplySingleBorder(Value);
}

void TZadEdevAziForm::SetThickBorder(bool Value) {
  if (FThickBorder == Value) return;
  FThickBorder = Value;
  Invalidate();
}

void TZadEdevAziForm::SetSizeGrip(bool Value) {
  if (FSizeGrip == Value) return;
  FSizeGrip = Value;
  Invalidate();
  SetWidth(Width() - 1);
  SetWidth(Width() + 1);
}

void TZadEdevAziForm::UpdateGlassState() {
  if (!FSubClassAsRibbon) return;
  const bool old = FIsAeroVista;
  FIsAeroVista = advdwm::IsCompositionEnabled() && FormStyle() != fsMDIChild;
  ApplySingleBorder(FIsAeroVista ? false : FSingleBorder);
  if (BorderStyle() == bsNone) FIsAeroVista = false;
  if (FIsAeroVista != old) SetDoubleBuffered(FIsAeroVista);
  if (TZadEdevAziPager* p = FirstPager()) p->SetIsAeroVista(FIsAeroVista);
  // A frame that just went to glass is redrawn in place; the window is not
  // minimized and restored to get there.
  if (FIsAeroVista && !old && HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TZadEdevAziForm::ExtendGlassFrame(Integer CaptionHeight) {
  const bool maximized = WindowState() == wsMaximized;
  FGlassFrameTop = RibbonGlassTopMargin(GetGlassTabHeight(), CaptionHeight, maximized, IsScenicMaximized());
  if (!HandleAllocated()) return;
  MARGINS m;
  m.cxLeftWidth = 1;
  m.cxRightWidth = 1;
  m.cyTopHeight = FGlassFrameTop;
  m.cyBottomHeight = 1;
  advdwm::DwmExtendFrameIntoClientArea(Handle(), &m);
}

void TZadEdevAziForm::Activate() {
  FActivated = true;
  if (FIsAeroVista && FSubClassAsRibbon && advdwm::IsCompositionEnabled())
    ExtendGlassFrame(toolbar::ScaledCaptionHeight);
  // The form's own activation (a window-state change seen while painting)
  // is not the user's: no OnActivate for it.
  if (!FInternalActivate) TForm::Activate();
  UpdateSysShadow();
}

void TZadEdevAziForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  if (FClassDropShadow) Params.WindowClass.style |= CS_DROPSHADOW;
  if (FItones) Params.Style |= WS_MINIMIZEBOX;
  if (UsesSingleBorder() || !FSubClassAsRibbon) return;
  if (FIsAeroVista) {
    if (FormStyle() == fsMDIChild) Params.Style &= ~WS_CAPTION;
    return;
  }
  if (!FOffice2013) {
    Params.Style &= ~WS_CAPTION;
    Params.Style |= WS_POPUP | WS_SYSMENU;
  }
  if (!FNoDropShadow && !toolbar::IsTaskBarAutoHide()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TZadEdevAziForm::AdjustClientRect(TRect& Rect) {
  TForm::AdjustClientRect(Rect);
  if (!FSubClassAsRibbon) return;
  TRibbonClientState s;
  s.Tones = FItones;
  s.SizeGrip = FSizeGrip;
  s.Vista = true;
  s.Glass = FIsAeroVista;
  s.Maximized = WindowState() == wsMaximized;
  s.ScenicMaximized = IsScenicMaximized();
  s.SingleBorder = UsesSingleBorder();
  s.ThickBorder = FThickBorder;
  s.Scale = toolbar::ToolBarDPIScale;
  Rect = RibbonAdjustClientRect(Rect, s);
}

void TZadEdevAziForm::UpdateSystemMenu() {
  if (!HandleAllocated()) return;
  HMENU menu = GetSystemMenu(Handle(), FALSE);
  if (menu == nullptr) return;
  const TWindowState st = WindowState();
  EnableMenuItem(menu, UINT(SC_RESTORE), st != wsNormal ? MF_ENABLED : MF_GRAYED);
  EnableMenuItem(menu, UINT(SC_MOVE), st != wsMaximized ? MF_ENABLED : MF_GRAYED);
  EnableMenuItem(menu, UINT(SC_SIZE), st == wsNormal ? MF_ENABLED : MF_GRAYED);
  EnableMenuItem(menu, UINT(SC_MINIMIZE),
                 st != wsMinimized && BorderIcons().Contains(biMinimize) ? MF_ENABLED : MF_GRAYED);
  EnableMenuItem(menu, UINT(SC_MAXIMIZE),
                 st != wsMaximized && BorderIcons().Contains(biMaximize) ? MF_ENABLED : MF_GRAYED);
}

bool TZadEdevAziForm::GlassBranch(TMessage& M) {
  // The glass frame procedure: the frame is extended on activation and the
  // whole window is client area but for the side and bottom borders.
  if (M.Msg == WM_NCCALCSIZE && M.WParam != 0) {
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(M.LParam);
    if (params != nullptr)
      params->rgrc[0] = RibbonNCCalcSize(params->rgrc[0], BorderStyle(), WindowState() == wsMaximized,
                                         IsScenicMaximized(), GetSystemMetrics(SM_CXFRAME));
    M.Result = 0;
    return true;
  }
  if (M.Msg == WM_ACTIVATE) {
    const Integer c = GetPagerCaptionHeight();
    const bool maximized = WindowState() == wsMaximized;
    FGlassFrameTop = RibbonGlassTopMargin(GetGlassTabHeight(), c, maximized, IsScenicMaximized());
    MARGINS m;
    m.cxLeftWidth = m.cxRightWidth = m.cyBottomHeight = 1;
    m.cyTopHeight = FGlassFrameTop;
    if (advdwm::DwmExtendFrameIntoClientArea(Handle(), &m) < 0) {
      M.Result = 1;
      return true;
    }
  }
  return false;
}

void TZadEdevAziForm::WndProc(TMessage& M) {
  // A move command starts the user's move with the mouse; the drop rule
  // waits for its end.
  if (M.Msg == WM_SYSCOMMAND && IsMoveCommand(M.WParam) && GetAsyncKeyState(VK_LBUTTON) < 0) {
    FUserMove = true;
    if (!FDropTimer) {
      FDropTimer = std::make_unique<TTimer>(nullptr);
      FDropTimer->SetInterval(50);
      FDropTimer->OnTimer = [this](TObject* Sender) { DropTimerTick(Sender); };
    }
    FDropTimer->SetEnabled(true);
  }
  if (ToneMessage(M)) return;
  if (!FSubClassAsRibbon || FItones) {
    TForm::WndProc(M);
    if (M.Msg == WM_WINDOWPOSCHANGED) WMWindowPosChanged(M);
    if (M.Msg == WM_SIZE || M.Msg == WM_WINDOWPOSCHANGED || M.Msg == WM_NCACTIVATE) UpdateSysShadow();
    if (M.Msg == WM_SIZE && FItones) Invalidate();
    return;
  }
  if (M.Msg == WM_DWMCOMPOSITIONCHANGED) {
    TForm::WndProc(M);
    UpdateGlassState();
    if (!FIsAeroVista && HandleAllocated()) RecreateWnd();
    SetBorderStyle(FInitBorderStyle);
    return;
  }
  if (FIsAeroVista) {
    if (M.Msg == WM_SETFOCUS && !Visible() && !FCreated) {
      // Put off until the form is made, a bounded number of times.
      if (FFocusReposts < FocusRepostLimit && HandleAllocated()) {
        ++FFocusReposts;
        PostMessage(Handle(), M.Msg, M.WParam, M.LParam);
      }
      return;
    }
    if (M.Msg == toolbar::WM_TBFUPDATECONTEXTMENU && M.Msg != 0) {
      UpdateSystemMenu();
      return;
    }
    if (M.Msg == WM_DESTROY || ComponentState().Contains(csDestroying)) FDestroying = true;
    if (!FDestroying && HandleAllocated() && GlassBranch(M)) return;
  }
  TForm::WndProc(M);
  if (M.Msg == WM_GETMINMAXINFO) WMGetMinMaxInfo(M);
  else if (M.Msg == WM_WINDOWPOSCHANGING) WMWindowPosChanging(M);
  else if (M.Msg == WM_SIZE) WMSizeRibbon();
  else if (M.Msg == WM_NCLBUTTONDOWN) WMNCLButtonDown(M);
  if (M.Msg == WM_SIZE || M.Msg == WM_WINDOWPOSCHANGED || M.Msg == WM_NCACTIVATE) UpdateSysShadow();
}

void TZadEdevAziForm::WMNCHitTest(TMessage& M) {
  TForm::WMNCHitTest(M);
  if (!RibbonHitTestApplies(FSubClassAsRibbon, BorderStyle(), WindowState())) return;
  const TPoint p = ScreenToClient(PointFromLParam(M.LParam));
  M.Result = RibbonHitTest(p, Width(), Height(), true, 0, M.Result);
}

void TZadEdevAziForm::WMNCLButtonDown(TMessage& M) {
  const Cardinal now = GetTickCount();
  const TPoint p = ScreenToClient(PointFromLParam(M.LParam));
  const bool maximized = WindowState() == wsMaximized;
  if (RibbonEdgeDoubleClick(now, FLastClick, GetDoubleClickTime(), p.Y, Height(), maximized)) {
    if (FDblClickMax) {
      SetBounds(Left(), FOldTop, Width(), FOldHeight);
      FDblClickMax = false;
    } else {
      FOldHeight = Height();
      FOldTop = Top();
      TRect work;
      if (TMonitor* m = Monitor())
        work = m->WorkareaRect();
      else
        SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
      SetBounds(Left(), work.Top, Width(), work.Height());
      FDblClickMax = true;
    }
    // The pair is used up: a third click starts a new one.
    FLastClick = 0;
    return;
  }
  FLastClick = now == 0 ? 1 : now;
}

void TZadEdevAziForm::WMGetMinMaxInfo(TMessage& M) {
  if (!FSubClassAsRibbon || FDestroying || FIsAeroVista || !HandleAllocated()) return;
  auto* info = reinterpret_cast<MINMAXINFO*>(M.LParam);
  if (info == nullptr) return;
  HMONITOR h = MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST);
  MONITORINFO mi;
  if (h == nullptr || !GetMonitorInfo(h, &mi)) return;
  TRibbonMinMaxInput in;
  in.MonitorRect = mi.rcMonitor;
  in.WorkRect = mi.rcWork;
  in.Primary = (mi.dwFlags & MONITORINFOF_PRIMARY) != 0;
  if (TMonitor* m = MonitorOfHandle(h)) in.MonitorPPI = m->PixelsPerInch();
  in.PerMonitorAware = true;  // the layer scales each form by its own monitor
  in.Maximized = WindowState() == wsMaximized;
  in.ScenicMaximized = IsScenicMaximized();
  in.Win10 = FIsWin10;
  in.BorderStyle = BorderStyle();
  in.TaskBarAutoHide = toolbar::IsTaskBarAutoHide();
  const TRibbonMinMaxResult r = RibbonMinMaxInfo(*info, in);
  if (r.RememberMax) {
    if (r.MaxX != 0) FMaxX = r.MaxX;
    FMaxY = r.MaxY;
  }
}

void TZadEdevAziForm::WMWindowPosChanging(TMessage& M) {
  auto* wp = reinterpret_cast<WINDOWPOS*>(M.LParam);
  if (wp == nullptr || (wp->flags & SWP_STATECHANGED) == 0) return;
  if (FIsAeroVista && WindowState() == wsMaximized && IsScenicMaximized() && toolbar::ToolBarDPIScale == 1.0f) {
    if (HandleAllocated() && toolbar::WM_TBFUPDATECONTEXTMENU != 0)
      PostMessage(Handle(), toolbar::WM_TBFUPDATECONTEXTMENU, 0, 0);
    return;
  }
  if (FIsAeroVista && WindowState() == wsNormal && !IsScenicMaximized() && HandleAllocated()) {
    if (HMENU menu = GetSystemMenu(Handle(), FALSE)) {
      EnableMenuItem(menu, UINT(SC_RESTORE), MF_GRAYED);
      EnableMenuItem(menu, UINT(SC_SIZE), MF_ENABLED);
      EnableMenuItem(menu, UINT(SC_MOVE), MF_ENABLED);
      if (BorderIcons().Contains(biMinimize)) EnableMenuItem(menu, UINT(SC_MINIMIZE), MF_ENABLED);
      if (BorderIcons().Contains(biMaximize)) EnableMenuItem(menu, UINT(SC_MAXIMIZE), MF_ENABLED);
    }
  }
}

void TZadEdevAziForm::DropTimerTick(TObject*) {
  if (GetAsyncKeyState(VK_LBUTTON) < 0) return;
  FDropTimer->SetEnabled(false);
  CheckDropAtTop();
}

void TZadEdevAziForm::WMWindowPosChanged(TMessage&) {
  if (GetAsyncKeyState(VK_LBUTTON) < 0) return;
  CheckDropAtTop();
}

void TZadEdevAziForm::CheckDropAtTop() {
  if (WindowState() != wsNormal) {
    FUserMove = false;
    return;
  }
  TDropAtTopInput in;
  in.UserMove = FUserMove;
  in.LeftButtonDown = false;
  TPoint cursor;
  GetCursorPos(&cursor);
  in.CursorClientX = ScreenToClient(cursor).X;
  in.Width = Width();
  in.FormTop = Top();
  TRect work;
  if (TMonitor* m = Monitor())
    work = m->WorkareaRect();
  else
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  in.WorkTop = work.Top;
  in.NoAutoMax = FNoAutoMax;
  in.WinArrange = FWinArrange;
  // The user's move ends with the button up.
  FUserMove = false;
  if (RibbonMaximizeOnDrop(in)) SetWindowState(wsMaximized);
}

void TZadEdevAziForm::WMSizeRibbon() {
  TZadEdevAziPager* p = FirstPager();
  if (p == nullptr) return;
  const bool glassTop = FIsAeroVista && gdiplus::GetGlassFlag() && p->Win7ScenicRibbon();
  // Too narrow a form shows only the pager's caption row (the hide state,
  // apart from the ribbon's own minimised state).
  if (Width() < 300 && !p->HideState()) {
    p->SetHideState(true);
    if (glassTop) FGlassFrameTop = toolbar::ScaledCaptionHeight + 1;
  } else if (Width() > 300 && p->HideState()) {
    p->SetHideState(false);
    if (glassTop) FGlassFrameTop = GetGlassTabHeight() + toolbar::ScaledCaptionHeight + 3;
  }
}

}  // namespace ribbon
