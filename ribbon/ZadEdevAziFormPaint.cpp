// The ribbon form's painting (border, frame and size grip in each look), the
// colour-tones look with its shadow window, and the switching between a
// dock panel and a ribbon.
#include <vector>

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Math.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Monitors.h"
#include "platform/vcl/PopupWindows.h"
#include "platform/vcl/WindowRegion.h"
#include "platform/win/Window.h"
#include "ribbon/AdvDWM.h"
#include "ribbon/ZadEdevAziForm.h"
#include "ribbon/ZadEdevAziPager.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/ToolBarText.h"
#include "toolbar/ZadEdevAziStyler.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

namespace {

// The program's top-level windows but Self: the windows of this thread the
// shadow search may look at.
std::vector<TShadowCandidate> ThreadWindows(const TCustomForm* Self) {
  std::vector<TShadowCandidate> list;
  if (Screen == nullptr) return list;
  for (Integer i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f == Self || !f->HandleAllocated()) continue;
    TShadowCandidate c;
    c.Handle = f->Handle();
    c.Visible = IsWindowVisible(c.Handle) != FALSE;
    c.ClassName = f->ClassName();
    GetWindowRect(c.Handle, &c.WindowRect);
    list.push_back(c);
  }
  return list;
}

}  // namespace

// ---------------------------------------------------------------------------
// Colour tones

void TZadEdevAziForm::InitColorTones() {
  FSizeGripColor = 0x00F2BC00;
  if (!IsColorTonesEmpty(toolbar::GlobalColorTones) && !FOffice2013) SetColorTones(toolbar::GlobalColorTones);
}

void TZadEdevAziForm::SetSizeGripColor(TColor Value) {
  if (FSizeGripColor == Value) return;
  FSizeGripColor = Value;
  Invalidate();
}

void TZadEdevAziForm::SetColorTones(const TColorTones& ATones) {
  if (FItonesBeingSet) return;
  const TColorTones tones = ATones;  // ATones may be the global record itself
  FOffice2013 = false;
  FItonesBeingSet = true;
  toolbar::GlobalColorTones = tones;
  FBorderClr = tones.Selected.BrushColor;
  FSizeGripColor = tones.Selected.BrushColor;
  if (ComponentState().Contains(csLoading) || FDoSetMetro) {
    // Applied once the form has loaded (the posted tone message).
    FItonesBeingSet = false;
    FDoSetMetro = true;
    return;
  }
  EnterColorTonesMode();
  if (TZadEdevAziPager* p = FirstPager()) p->SetColorTones(tones);
  Invalidate();
  FItonesBeingSet = false;
  if (FActivated) BringToFront();
}

void TZadEdevAziForm::ApplyGlassFrame(bool Enabled) {
  if (Enabled) {
    if (FIsAeroVista) ExtendGlassFrame(toolbar::ScaledCaptionHeight);
    return;
  }
  FGlassFrameTop = -1;
  if (!HandleAllocated()) return;
  MARGINS none;
  none.cxLeftWidth = none.cxRightWidth = none.cyTopHeight = none.cyBottomHeight = 0;
  advdwm::DwmExtendFrameIntoClientArea(Handle(), &none);
}

void TZadEdevAziForm::EnterColorTonesMode() {
  if (FItones) return;
  FOldAeroVista = FIsAeroVista;
  FIsAeroVista = false;
  FItones = true;
  FOldGlassFrameEnble = FGlassFrameTop >= 0;
  ApplyGlassFrame(false);
  FOldBorderStyle = BorderStyle();
  FClassDropShadow = true;
  // A shown form makes its window again here, with the drop-shadow class
  // and the minimize box (CreateParams).
  SetBorderStyle(bsNone);
  // The new frame is drawn in place: minimizing and restoring the whole
  // application to get there would flash every window of the program.
  if (Visible() && HandleAllocated())
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TZadEdevAziForm::RevertColorTones() {
  if (!FItones) return;
  FItones = false;
  FIsAeroVista = false;
  FClassDropShadow = false;
  FSysShadowHandle = nullptr;
  SetBorderStyle(FOldBorderStyle);
  UpdateGlassState();
  if (FOldGlassFrameEnble) ApplyGlassFrame(true);
  Resize();
  if (HandleAllocated()) {
    PostMessage(Handle(), WM_ACTIVATE, 0, 0);
    PostMessage(Handle(), WM_ACTIVATE, 1, 1);
  }
}

bool TZadEdevAziForm::ToneMessage(TMessage& M) {
  if (M.Msg == 0) return false;
  if (M.Msg == toolbar::WM_TBSETMETRO) {
    FDoSetMetro = false;
    SetColorTones(toolbar::GlobalColorTones);
  } else if (M.Msg == toolbar::WM_TBSETOFFICE2013) {
    FDoSetMetro = false;
    SetColorTones(toolbar::GlobalAppButtonTones);
  } else if (M.Msg == toolbar::WM_TBREVERTMETRO) {
    if (HandleAllocated()) RecreateWnd();
  }
  // The message goes on through the usual handling.
  return false;
}

void TZadEdevAziForm::UpdateSysShadow() {
  if (!FItones || ComponentState().Contains(csDesigning) || !FClassDropShadow || !HandleAllocated() ||
      !IsWindowVisible(Handle()))
    return;
  const std::vector<TShadowCandidate> windows = ThreadWindows(this);
  // A remembered handle is checked again each time: the shadow is ours or nothing.
  FSysShadowHandle = KeepSysShadow(FSysShadowHandle, windows);
  if (FSysShadowHandle == nullptr) FSysShadowHandle = FindSysShadow(windows, TPoint{Left(), Top()});
  if (FSysShadowHandle != nullptr)
    SetWindowPos(FSysShadowHandle, Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

// ---------------------------------------------------------------------------
// Painting

Integer TZadEdevAziForm::SideLineLength() const {
  TZadEdevAziPager* p = FirstPager();
  if (p == nullptr) return 0;
  return RibbonSideLineLength(toolbar::ToolBarDPIScale, p->Caption()->Height());
}

bool TZadEdevAziForm::IsMaxSizeConstrained() const {
  if (WindowState() != wsMaximized) return false;
  TSizeConstraints* c = Constraints();
  if (c->MaxHeight() == 0 && c->MaxWidth() == 0) return true;
  TRect work;
  if (TMonitor* m = Monitor())
    work = m->WorkareaRect();
  else
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  return Width() >= work.Width() - 10 && Height() >= work.Height() - 30;
}

void TZadEdevAziForm::CheckWindowStateChange() {
  if (WindowState() == FOldWndState) return;
  FOldWndState = WindowState();
  if (!HandleAllocated()) return;
  FInternalActivate = true;
  Perform(WM_ACTIVATE, 1, 0);
  FInternalActivate = false;
}

void TZadEdevAziForm::Paint() {
  TForm::Paint();
  if (!FSubClassAsRibbon) return;
  const bool designing = ComponentState().Contains(csDesigning);
  const bool maximized = WindowState() == wsMaximized;
  TColor border = 0x00808080;
  Integer sideLength = 0;
  if (TZadEdevAziPager* p = FirstPager()) {
    if (toolbar::TCustomZadEdevAziStyler* s = p->CurrentToolBarStyler()) border = s->FormBorderColor();
    sideLength = SideLineLength();
  }
  TCanvas* c = Canvas();
  const Integer w = Width(), h = Height();
  if (FIsAeroVista) {
    CheckWindowStateChange();
    Integer band = toolbar::ScaledCaptionHeight;
    if (maximized && !IsScenicMaximized()) band += 6;
    // Composition just went off: the system's caption buttons are gone
    // from the glass until the form hears of the change.
    if (!advdwm::IsCompositionEnabled())
      toolbar::DrawGlassText(this, u"", false, clNone, TRect{}, false, TRect{w - 150, 0, w, band});
    TRect r = ClientRect();
    r.Top = band;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(1);
    c->Rectangle(r);
    return;
  }
  if (BorderStyle() != bsNone && maximized && !IsScenicMaximized() && IsMaxSizeConstrained()) {
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(border);
    c->Pen()->SetWidth(1);
    c->Rectangle(0, 0, w - 6, h - 6);
  }
  if (UsesSingleBorder() || (FItones && !designing)) {
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(FItones ? FBorderClr : border);
    if (FThickBorder && !maximized) {
      // A band of round(4 x scale) pixels along every edge. The layer's wide
      // pens draw inside a rectangle's bounds (not centred on them), so the
      // bounds are the whole window.
      const Integer pw = Integer(Round(4.0 * toolbar::ToolBarDPIScale));
      c->Pen()->SetWidth(pw);
      c->Rectangle(0, 0, w, h);
    } else {
      c->Pen()->SetWidth(1);
      c->Rectangle(0, 0, w, h);
      if (FItones) {
        c->Pen()->SetWidth(FBorderWidth);
        for (Integer x : {w - 1, 0, 1}) {
          c->MoveTo(x, 0);
          c->LineTo(x, sideLength);
        }
      }
    }
  }
  DrawSizeGrip();
}

void TZadEdevAziForm::DrawSizeGrip() {
  if (ComponentState().Contains(csDesigning) || !FSizeGrip || WindowState() == wsMaximized || !FItones) return;
  const TRect client = ClientRect();
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FSizeGripColor);
  for (const TRect& r : RibbonSizeGripSquares(client.Right - 3, client.Bottom - 3)) c->FillRect(r);
}

// ---------------------------------------------------------------------------
// Switching between a dock panel and a ribbon

TWinControl* TZadEdevAziForm::SwitchedOutParent(TControl* Control) const {
  // The owner keeps the control out of sight; an owner that is this form
  // (or lies in it, or in the control itself) would leave both on show, so
  // the control then simply has no parent until it comes back.
  auto* owner = dynamic_cast<TWinControl*>(Control->Owner());
  if (owner == nullptr || owner == this || ContainsControl(owner)) return nullptr;
  if (auto* wc = dynamic_cast<TWinControl*>(Control); wc != nullptr && wc->ContainsControl(owner)) return nullptr;
  return owner;
}

void TZadEdevAziForm::SwitchFromDockPanelToRibbon(toolbar::TAdvDockPanel* ADockPanel, TZadEdevAziPager* ARibbon) {
  if (ADockPanel != nullptr) ADockPanel->SetParent(SwitchedOutParent(ADockPanel));
  FDoNotSizeWindow = false;
  if (ARibbon != nullptr) ARibbon->SetParent(this);
  SetSubclassAsRibbon(true);
  if (FSwitchingOnXP && HandleAllocated()) RecreateWnd();
  if (ARibbon != nullptr) ARibbon->Update();
}

void TZadEdevAziForm::SwitchFromRibbonToDockPanel(TZadEdevAziPager* ARibbon, toolbar::TAdvDockPanel* ADockPanel) {
  if (ARibbon != nullptr) ARibbon->SetParent(SwitchedOutParent(ARibbon));
  FDoNotSizeWindow = true;
  SetSubclassAsRibbon(false);
  if (FSwitchingOnXP && HandleAllocated()) RecreateWnd();
  if (ADockPanel != nullptr) ADockPanel->SetParent(this);
}

void TZadEdevAziForm::InitRibbonAndDockPanel(TZadEdevAziPager* ARibbon, toolbar::TAdvDockPanel* ADockPanel) {
  // The layer reports a modern system: the border is handled as without glass.
  FSwitchingOnXP = !FIsAeroVista;
  SwitchFromDockPanelToRibbon(ADockPanel, ARibbon);
  if (Application != nullptr) Application->ProcessMessages();
}

void TZadEdevAziForm::InitDockPanelAndRibbon(toolbar::TAdvDockPanel* ADockPanel, TZadEdevAziPager* ARibbon) {
  FSwitchingOnXP = !FIsAeroVista;
  SwitchFromDockPanelToRibbon(ADockPanel, ARibbon);
  if (Application != nullptr) Application->ProcessMessages();
  SwitchFromRibbonToDockPanel(ARibbon, ADockPanel);
}

}  // namespace ribbon
