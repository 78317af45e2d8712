#include "ribbon/AdvVistaButton.h"

#include "foundation/gdiplus/LookFlags.h"
#include "platform/rtl/Math.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "toolbar/ToolBarFaces.h"
#include "toolbar/shared/ToolBarShared.h"

namespace ribbon {

TAdvVistaButton::TAdvVistaButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  FAppearance = std::make_unique<TGlowButtonAppearance>();
  FAppearance->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
  SetBounds(0, 0, 23, 22);
  SetControlStyle(TControlStyle{csCaptureMouse, csDoubleClicks});
  SetParentFont(true);
  Font()->SetName(u"Tahoma");
  SetShowHint(false);
}

TAdvVistaButton::~TAdvVistaButton() = default;

void TAdvVistaButton::AppearanceChanged(TObject*) { Invalidate(); }

void TAdvVistaButton::SetScrollArrow(TScrollArrow Value) {
  FScrollArrow = Value;
  Invalidate();
}

void TAdvVistaButton::SetArrowStyle(TArrowStyle Value) {
  if (FArrowStyle == Value) return;
  FArrowStyle = Value;
  Invalidate();
}

void TAdvVistaButton::SetDown(bool Value) {
  if (FDown == Value) return;
  FDown = Value;
  Invalidate();
}

void TAdvVistaButton::SetTransparent(bool Value) {
  FTransparent = Value;
  Invalidate();
}

void TAdvVistaButton::SetButtonPosition(TButtonPosition Value) {
  FButtonPosition = Value;
  Invalidate();
}

bool TAdvVistaButton::IsGlassDrawn() const {
  if (auto* q = dynamic_cast<TAdvCustomQuickAccessToolBar*>(Parent())) return q->IsAeroVista();
  return gdiplus::GetGlassFlag() && gdiplus::GetScenicRibbonFlag();
}

void TAdvVistaButton::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  TGraphicControl::Dispatch(Message);
}

void TAdvVistaButton::CMMouseEnter(TMessage& Message) {
  TGraphicControl::CMMouseEnter(Message);
  if (FMouseEnter) return;
  FMouseEnter = true;
  if (Enabled() && !FDown) Invalidate();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TAdvVistaButton::CMMouseLeave(TMessage& Message) {
  TGraphicControl::CMMouseLeave(Message);
  if (FMouseEnter) {
    FMouseEnter = false;
    if (Enabled() && !FDown) Invalidate();
    if (OnMouseLeave) OnMouseLeave(this);
  }
  if (auto* q = dynamic_cast<TAdvCustomQuickAccessToolBar*>(Parent()); q != nullptr && q->IsAeroVista())
    q->InvalidateGlassChildren();
}

void TAdvVistaButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  FMouseDown = true;
  Invalidate();
}

void TAdvVistaButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  Invalidate();
  // Only the left button that pressed the button clicks it, and only when
  // it is released over the button: another button or a release elsewhere
  // (the user changed their mind) does nothing.
  const bool pressed = FMouseDown;
  FMouseDown = false;
  if (Button == mbLeft && pressed && Enabled() && ClientRect().Contains(TPoint{X, Y})) Click();
}

void TAdvVistaButton::Paint() {
  TCanvas* c = Canvas();
  const TGlowButtonAppearance& a = *FAppearance;
  TColor clr, clrTo, mir, mirTo, border;
  TGDIPGradient grad, gradMirror;
  const bool normal = Enabled() && !(FMouseDown || FDown) && !FMouseEnter;
  if (!Enabled()) {
    clr = a.ColorDisabled(), clrTo = a.ColorDisabledTo(), mir = a.ColorMirrorDisabled(),
    mirTo = a.ColorMirrorDisabledTo(), border = a.BorderColorDisabled(), grad = a.GradientDisabled(),
    gradMirror = a.GradientMirrorDisabled();
  } else if (FMouseDown || FDown) {
    clr = a.ColorDown(), clrTo = a.ColorDownTo(), mir = a.ColorMirrorDown(), mirTo = a.ColorMirrorDownTo(),
    border = a.BorderColorDown(), grad = a.GradientDown(), gradMirror = a.GradientMirrorDown();
    if (FMouseDown && FButtonPosition != bpStandalone) border = a.BorderColor();
  } else if (FMouseEnter) {
    clr = a.ColorHot(), clrTo = a.ColorHotTo(), mir = a.ColorMirrorHot(), mirTo = a.ColorMirrorHotTo(),
    border = a.BorderColorHot(), grad = a.GradientHot(), gradMirror = a.GradientMirrorHot();
  } else {
    clr = a.Color(), clrTo = a.ColorTo(), mir = a.ColorMirror(), mirTo = a.ColorMirrorTo(), border = a.BorderColor(),
    grad = a.Gradient(), gradMirror = a.GradientMirror();
  }
  // The face is painted on every paint, the normal one included: a paint
  // draws the whole button, whatever was painted before.
  FDPIScale = toolbar::ToolBarDPIScale;
  const TRect r = ClientRect();
  toolbar::DrawVistaButtonFace(c, r, clr, clrTo, mir, mirTo, border, grad, gradMirror, FButtonPosition, FMouseEnter,
                               FTransparent && normal, Enabled(), true, true, false);

  const Integer cx = Width() / 2, cy = Height() / 2;
  c->Pen()->SetColor(toolbar::BlendColor(clBlack, border, 50));
  auto stroke = [c](Integer x, Integer y0, Integer y1) {
    c->MoveTo(x, y0);
    c->LineTo(x, y1);
  };
  switch (FScrollArrow) {
    case saLeft:
      c->SetPixels(cx - 1, cy, c->Pen()->Color());
      stroke(cx, cy - 1, cy + 2);
      stroke(cx + 1, cy - 2, cy + 3);
      break;
    case saRight:
      if (FArrowStyle == asSingle) {
        stroke(cx - 1, cy - 2, cy + 3);
        stroke(cx, cy - 1, cy + 2);
        c->SetPixels(cx + 1, cy, c->Pen()->Color());
      } else if (FArrowStyle == asDouble) {
        TRect ar = r;
        ar.Top += 6;
        ar.Left += 1;
        DrawDoubleRightArrow(c, ar, IsGlassDrawn());
      }
      break;
    case saBottom: {
      TRect gr = r;
      gr.Bottom -= 4;
      DrawCustomizeGlyph(c, gr, a.TextColor());
      break;
    }
    default:
      break;
  }
}

void DrawDoubleRightArrow(TCanvas* Canvas, const TRect& R, bool Glass) {
  const Integer e = Integer(Round(toolbar::ToolBarPPI * 3 / 96.0));
  const Integer x0 = Integer(Round((R.Right - R.Left - 2 * e - 1) / 2.0 + e));
  const Integer y0 = Integer(Round((R.Bottom - R.Top - 2 * e + 1) / 2.0 + (2 * e - 1) / 2.0));
  if (Glass) {
    Canvas->Brush()->SetColor(clBlack);
    Canvas->Pen()->SetColor(clBlack);
    Canvas->Polygon({TPoint{x0 - e, y0 - e + 1}, TPoint{x0 - e, y0 + e}, TPoint{x0, y0}});
    Canvas->Polygon({TPoint{x0 + 1, y0 - e + 1}, TPoint{x0 + 1, y0 + e}, TPoint{x0 + e + 1, y0}});
    return;
  }
  Canvas->Pen()->SetColor(clBlack);
  for (Integer k = 0; k < e; ++k) {
    for (Integer x : {x0 + k - e + 1, x0 + k + 2}) {
      Canvas->MoveTo(x, y0 + k - e + 1);
      Canvas->LineTo(x, y0 + e - k);
    }
  }
}

void DrawCustomizeGlyph(TCanvas* Canvas, const TRect& R, TColor C) {
  const Integer L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  const Integer mid = (B - T) / 2;
  const double s = toolbar::ToolBarDPIScale;
  Canvas->Pen()->SetColor(C);
  Canvas->Brush()->SetColor(C);
  if (s > 1.1) {
    auto sc = [s](double v) { return Integer(Round(v * s)); };
    Canvas->MoveTo(L + sc(3), mid);
    Canvas->LineTo(L + sc(9), mid);
    Canvas->Polygon({TPoint{L + sc(3), mid + sc(2)}, TPoint{L + sc(9) + 1, mid + sc(2)},
                     TPoint{(Rt - L) / 2, mid + sc(5)}});
    return;
  }
  Canvas->MoveTo(Rt - 10, B - 9);
  Canvas->LineTo(Rt - 5, B - 9);
  Canvas->Polygon({TPoint{Rt - 10, B - 6}, TPoint{Rt - 4, B - 6}, TPoint{Rt - 7, B - 3}});
  // A light edge below the bar and the triangle.
  Canvas->Pen()->SetColor(toolbar::BlendColor(clWhite, C, 78));
  Canvas->MoveTo(Rt - 10, B - 8);
  Canvas->LineTo(Rt - 5, B - 8);
  Canvas->MoveTo(Rt - 10, B - 5);
  Canvas->LineTo(Rt - 7, B - 2);
  Canvas->LineTo(Rt - 5, B - 5);
}

}  // namespace ribbon
