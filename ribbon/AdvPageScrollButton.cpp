#include "ribbon/AdvPageScrollButton.h"

#include "foundation/gdiplus/LookFlags.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Math.h"
#include "toolbar/ToolBarFaces.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

TAdvPageScrollButton::TAdvPageScrollButton(TComponent* AOwner) : TCustomControl(AOwner) {
  FAppearance = std::make_unique<TGlowButtonAppearance>();
  FAppearance->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
  SetBounds(0, 0, 23, 22);
  // No csClickEvents: the release itself decides whether the button clicks.
  SetControlStyle(TControlStyle{csCaptureMouse, csDoubleClicks});
  SetParentFont(true);
  Font()->SetName(u"Tahoma");
  SetShowHint(false);
}

TAdvPageScrollButton::~TAdvPageScrollButton() {
  // The timer is an owned component; stop it before the button goes.
  if (FRepeatTimer != nullptr) FRepeatTimer->SetEnabled(false);
}

void TAdvPageScrollButton::AppearanceChanged(TObject*) { Invalidate(); }

void TAdvPageScrollButton::SetScrollArrow(TScrollArrow Value) {
  FScrollArrow = Value;
  Invalidate();
}

void TAdvPageScrollButton::SetTransparent(bool Value) {
  FTransparent = Value;
  Invalidate();
}

void TAdvPageScrollButton::Click() { TCustomControl::Click(); }

void TAdvPageScrollButton::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TAdvPageScrollButton::CMMouseEnter(TMessage& Message) {
  TCustomControl::CMMouseEnter(Message);
  if (ComponentState().Contains(csDesigning) || FMouseEnter) return;
  FMouseEnter = true;
  if (Enabled()) Invalidate();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TAdvPageScrollButton::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  if (ComponentState().Contains(csDesigning) || !FMouseEnter) return;
  FMouseEnter = false;
  if (Enabled()) Invalidate();
  if (OnMouseLeave) OnMouseLeave(this);
}

void TAdvPageScrollButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled() || ComponentState().Contains(csDesigning)) return;
  FRepeated = false;
  if (FRepeatClick) {
    if (FRepeatTimer == nullptr) {
      FRepeatTimer = new TTimer(this);
      FRepeatTimer->SetEnabled(false);
      FRepeatTimer->OnTimer = [this](TObject* S) { RepeatTimerTick(S); };
    }
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetInterval(Cardinal(FInitRepeatPause));
    FRepeatTimer->SetEnabled(true);
  }
  FMouseDown = true;
  Invalidate();
}

void TAdvPageScrollButton::StopRepeat() {
  if (FRepeatTimer != nullptr) FRepeatTimer->SetEnabled(false);
}

void TAdvPageScrollButton::RepeatTimerTick(TObject*) {
  if (FRepeatTimer == nullptr) return;
  FRepeatTimer->SetInterval(Cardinal(FRepeatPause));
  // Only while the press that started the repeat still holds the mouse.
  if (!FMouseDown || !MouseCapture() || !Enabled()) {
    StopRepeat();
    return;
  }
  try {
    FRepeated = true;
    Click();
  } catch (...) {
    StopRepeat();
    throw;
  }
}

void TAdvPageScrollButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (ComponentState().Contains(csDesigning)) return;
  Invalidate();
  // Only the left button that pressed the button clicks it, released over
  // it, and only when the repeat has not clicked for this press already.
  const bool pressed = FMouseDown && Button == mbLeft;
  if (Button == mbLeft) {
    FMouseDown = false;
    StopRepeat();
  }
  const bool repeated = FRepeated;
  if (Button == mbLeft) FRepeated = false;
  if (pressed && !repeated && Enabled() && ClientRect().Contains(TPoint{X, Y})) Click();
}

void DrawPageScrollArrow(TCanvas* Canvas, Integer Width, Integer Height, TScrollArrow Arrow, TColor Color) {
  if (Arrow != saLeft && Arrow != saRight) return;
  const Integer c = Integer(Round(toolbar::ToolBarPPI * 3 / 96.0));
  const Integer d = c / 2;
  const Integer x0 = Width / 2, y0 = Height / 2 - c + 1;
  Canvas->Pen()->SetColor(Color);
  for (Integer i = 0; i < c; ++i) {
    const Integer x = Arrow == saLeft ? x0 + d - i : x0 + i - d;
    Canvas->MoveTo(x, y0 + i);
    Canvas->LineTo(x, y0 + 2 * c - 1 - i);
  }
}

void TAdvPageScrollButton::Paint() {
  TCanvas* c = Canvas();
  const bool hot = FMouseEnter;
  if (FTransparent && !hot && Parent() != nullptr) {
    const int saved = SaveDC(c->Handle());
    IntersectClipRect(c->Handle(), 0, 0, Width(), Height());
    PaintParentBackground(c->Handle());
    RestoreDC(c->Handle(), saved);
  }
  const TGlowButtonAppearance& a = *FAppearance;
  TColor clr, clrTo, mir, mirTo, border;
  TGDIPGradient grad, gradMirror;
  if (!Enabled()) {
    clr = a.ColorDisabled(), clrTo = a.ColorDisabledTo(), mir = a.ColorMirrorDisabled(),
    mirTo = a.ColorMirrorDisabledTo(), border = a.BorderColorDisabled(), grad = a.GradientDisabled(),
    gradMirror = a.GradientMirrorDisabled();
  } else if (FMouseDown) {
    clr = a.ColorDown(), clrTo = a.ColorDownTo(), mir = a.ColorMirrorDown(), mirTo = a.ColorMirrorDownTo(),
    border = FButtonPosition != bpStandalone ? a.BorderColor() : a.BorderColorDown(), grad = a.GradientDown(),
    gradMirror = a.GradientMirrorDown();
  } else if (hot) {
    clr = a.ColorHot(), clrTo = a.ColorHotTo(), mir = a.ColorMirrorHot(), mirTo = a.ColorMirrorHotTo(),
    border = a.BorderColorHot(), grad = a.GradientHot(), gradMirror = a.GradientMirrorHot();
  } else {
    clr = a.Color(), clrTo = a.ColorTo(), mir = a.ColorMirror(), mirTo = a.ColorMirrorTo(), border = a.BorderColor(),
    grad = a.Gradient(), gradMirror = a.GradientMirror();
  }
  // On glass the corners are square and the button stands alone.
  const bool glass = gdiplus::GetGlassFlag();
  toolbar::DrawVistaButtonFace(c, ClientRect(), clr, clrTo, mir, mirTo, border, grad, gradMirror,
                               glass ? bpStandalone : FButtonPosition, hot, FTransparent && !hot && !FMouseDown,
                               Enabled(), !glass, true, false);
  DrawPageScrollArrow(c, Width(), Height(), FScrollArrow, toolbar::BlendColor(clBlack, border, 50));

  // The rounded corners' outer pixels show the parent.
  if (Parent() == nullptr || (FTransparent && !hot) || FButtonPosition == bpMiddle || glass) return;
  const Integer w = Width() - 1, h = Height() - 1;
  std::vector<TPoint> corners;
  if (FButtonPosition != bpRight) corners.insert(corners.end(), {TPoint{0, 0}, TPoint{0, h}});
  if (FButtonPosition != bpLeft) corners.insert(corners.end(), {TPoint{w, 0}, TPoint{w, h}});
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  for (const TPoint& p : corners) {
    HRGN px = CreateRectRgn(p.X, p.Y, p.X + 1, p.Y + 1);
    CombineRgn(rgn, rgn, px, RGN_OR);
    DeleteObject(px);
  }
  const int saved = SaveDC(c->Handle());
  SelectClipRgn(c->Handle(), rgn);
  PaintParentBackground(c->Handle());
  RestoreDC(c->Handle(), saved);
  DeleteObject(rgn);
}

}  // namespace ribbon
