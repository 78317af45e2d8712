// The floating window: its border, its size around the toolbar, and the
// edge drags that flow the toolbar's controls into more or fewer rows.
#include "toolbar/FloatingWindow.h"

#include "platform/rtl/Math.h"
#include "platform/win/Window.h"  // before the monitors, which name windows
#include "platform/vcl/Monitors.h"
#include "toolbar/AdvToolBar.h"

namespace toolbar {

namespace {
// How near an edge (inside the window) a press starts an edge drag.
constexpr Integer EdgeZone = 5;
// The first step of an edge drag needs more than this; later steps in the
// same direction need at least FollowStep.
constexpr Integer FirstStep = 5;
constexpr Integer FollowStep = 3;
}  // namespace

TFloatingWindow::TFloatingWindow(TComponent* AOwner) : TCustomForm(AOwner) {
  FOwner = AOwner;
  FBorderWidth = 2;
  FBorderColor = TColor(0x006D6D6D);
}

void TFloatingWindow::Loaded() {
  TCustomForm::Loaded();
  FOldCursor = Cursor();
}

void TFloatingWindow::SetBorderWidth(Integer Value) {
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  SetWindowSize();
}

Integer TFloatingWindow::Margin() const {
  const TMonitor* m = Monitor();
  const Integer ppi = m != nullptr && m->PixelsPerInch() > 0 ? m->PixelsPerInch() : 96;
  // Scaled as a whole: 3 at 96 pixels per inch with a border of 2, 4 at 144.
  return Integer(Round(double(FBorderWidth + 1) * ppi / 96.0));
}

void TFloatingWindow::SetWindowSize() {
  if (FAdvCustomToolBar == nullptr) return;
  const Integer m = Margin();
  SetBounds(Left(), Top(), 2 * m + FAdvCustomToolBar->Width(), 2 * m + FAdvCustomToolBar->Height());
  if (FAdvCustomToolBar->Left() != m || FAdvCustomToolBar->Top() != m) {
    const bool old = FAdvCustomToolBar->AllowBoundChange();
    FAdvCustomToolBar->SetAllowBoundChange(true);
    FAdvCustomToolBar->SetBounds(m, m, FAdvCustomToolBar->Width(), FAdvCustomToolBar->Height());
    FAdvCustomToolBar->SetAllowBoundChange(old);
  }
  Invalidate();
}

void TFloatingWindow::Paint() {
  TCustomForm::Paint();
  if (FBorderColor == clNone) return;
  TCanvas* c = Canvas();
  c->Pen()->SetColor(FBorderColor);
  c->Pen()->SetWidth(FBorderWidth);
  c->Rectangle(1, 1, Width(), Height());
  // The wide pen rounds the inner corners; they are squared again.
  const Integer b = FBorderWidth;
  c->SetPixels(b, b, FBorderColor);
  c->SetPixels(Width() - b - 1, b, FBorderColor);
  c->SetPixels(b, Height() - b - 1, FBorderColor);
  c->SetPixels(Width() - b - 1, Height() - b - 1, FBorderColor);
}

void TFloatingWindow::WMClose(TMessage& Message) {
  TCustomForm::WMClose(Message);
  if (FAdvCustomToolBar != nullptr) FAdvCustomToolBar->SetVisible(false);
}

void TFloatingWindow::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomForm::MouseDown(Button, Shift, X, Y);
  if (!Shift.Contains(ssLeft)) return;
  if (X >= Width() - EdgeZone && X <= Width()) {
    FResizingClip = rcRight;
    FMouseX = Width();
    FMouseY = Y;
  } else if (Y >= Height() - EdgeZone && Y <= Height()) {
    FResizingClip = rcBottom;
    FMouseY = Height();
    FMouseX = X;
  } else if (X >= 0 && X <= EdgeZone) {
    FResizingClip = rcLeft;
    FMouseX = 0;
    FMouseY = Y;
  } else if (Y >= 0 && Y <= EdgeZone) {
    FResizingClip = rcTop;
    FMouseY = 0;
    FMouseX = X;
  } else {
    return;
  }
  FResizing = true;
  FResizingDir = 0;
}

bool TFloatingWindow::TakeRows(Integer ARows, bool KeepRight, bool KeepBottom) {
  TAdvCustomToolBar* tb = FAdvCustomToolBar;
  const Integer before = tb->FloatingRows();
  const Integer oldRight = Left() + Width(), oldBottom = Top() + Height();
  tb->SetFloatingRows(ARows);
  if (tb->FloatingRows() == before) return false;
  if (KeepRight) SetLeft(oldRight - Width());
  if (KeepBottom) SetTop(oldBottom - Height());
  Invalidate();
  return true;
}

void TFloatingWindow::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomForm::MouseMove(Shift, X, Y);
  TCursor cur = FOldCursor;
  if ((X >= 0 && X <= EdgeZone) || (X >= Width() - EdgeZone && X <= Width()))
    cur = crSizeWE;
  else if ((Y >= 0 && Y <= EdgeZone) || (Y >= Height() - EdgeZone && Y <= Height()))
    cur = crSizeNS;
  if (Cursor() != cur) SetCursor(cur);
  if (!Shift.Contains(ssLeft) || !FResizing || FAdvCustomToolBar == nullptr) return;

  TAdvCustomToolBar* tb = FAdvCustomToolBar;
  const Integer R = tb->FloatingRows();
  const Integer B = FBorderWidth;
  const bool horizontalEdge = FResizingClip == rcTop || FResizingClip == rcBottom;
  const Integer d = horizontalEdge ? Y - FMouseY : X - FMouseX;
  // The sign of a move in direction 1: outwards on every edge.
  const Integer s1 = FResizingClip == rcLeft || FResizingClip == rcTop ? -1 : 1;
  const bool step1 = (FResizingDir == 0 && d * s1 > FirstStep) || (FResizingDir == 1 && d * s1 >= FollowStep);
  const bool step2 = (FResizingDir == 0 && -d * s1 > FirstStep) || (FResizingDir == 2 && -d * s1 >= FollowStep);
  // Outwards widens a left or right edge (fewer rows) and heightens a top or
  // bottom edge (more rows).
  const Integer outwards = horizontalEdge ? 1 : -1;
  Integer h = 0, l = 0;

  switch (FResizingClip) {
    case rcLeft:
      if (step1 || step2) {
        FResizingDir = step1 ? 1 : 2;
        TakeRows(R + (step1 ? outwards : -outwards), true, false);
        FMouseX = 0;
      } else if (FResizingDir == 1) {
        if (tb->CalcSizeForRows(R + 1, h, l) && X >= Width() - 2 * B - l) TakeRows(R + 1, true, false);
      } else if (FResizingDir == 2) {
        if (tb->CalcSizeForRows(R - 1, h, l) && Width() - 2 * B - l >= X) TakeRows(R - 1, true, false);
      }
      break;
    case rcTop:
      if (step1 || step2) {
        FResizingDir = step1 ? 1 : 2;
        TakeRows(R + (step1 ? outwards : -outwards), false, true);
        FMouseY = 0;
      } else if (FResizingDir == 1) {
        if (tb->CalcSizeForRows(R - 1, h, l) && Y >= Height() - 2 * B - h - 2) TakeRows(R - 1, false, true);
      } else if (FResizingDir == 2) {
        if (tb->CalcSizeForRows(R + 1, h, l) && Height() - 2 * B - h >= Y) TakeRows(R + 1, false, true);
      }
      break;
    case rcRight:
      if (step1 || step2) {
        FResizingDir = step1 ? 1 : 2;
        TakeRows(R + (step1 ? outwards : -outwards), false, false);
        FMouseX = Width();
      } else {
        if (FResizingDir == 1) {
          if (tb->CalcSizeForRows(R + 1, h, l) && 2 * B + l >= X) TakeRows(R + 1, false, false);
        } else if (FResizingDir == 2) {
          if (tb->CalcSizeForRows(R - 1, h, l) && X >= 2 * B + l) TakeRows(R - 1, false, false);
        }
        FMouseX = Width();
      }
      break;
    case rcBottom:
      if (step1 || step2) {
        FResizingDir = step1 ? 1 : 2;
        TakeRows(R + (step1 ? outwards : -outwards), false, false);
        FMouseY = Height();
      } else {
        if (FResizingDir == 1) {
          if (tb->CalcSizeForRows(R - 1, h, l) && 2 * B + h + 2 >= Y) TakeRows(R - 1, false, false);
        } else if (FResizingDir == 2) {
          if (tb->CalcSizeForRows(R + 1, h, l) && Y >= 2 * B + h) TakeRows(R + 1, false, false);
        }
        FMouseY = Height();
      }
      break;
  }
}

void TFloatingWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomForm::MouseUp(Button, Shift, X, Y);
  if (!FResizing) return;
  FResizing = false;
  FResizingDir = 0;
  FMouseX = 0;
  FMouseY = 0;
}

}  // namespace toolbar
