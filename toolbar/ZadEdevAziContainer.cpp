#include "toolbar/ZadEdevAziContainer.h"

#include "controls/AdvGlowButton.h"
#include "platform/rtl/TypInfo.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarControl.h"

namespace toolbar {

TZadEdevAziContainer::TZadEdevAziContainer(TComponent* AOwner) : TCustomControl(AOwner) {
  TControlStyle cs = ControlStyle();
  cs.Include(csAcceptsControls);
  cs.Exclude(csOpaque);
  SetControlStyle(cs);
  SetDoubleBuffered(true);
  FColor = std::make_unique<TGradientBackground>();
  FColor->OnChange = [this](TObject* Sender) { ColorChanged(Sender); };
  FOfficeHint = std::make_unique<TAdvHintInfo>();
}

TZadEdevAziContainer::~TZadEdevAziContainer() {
  if (FZadEdevAzi != nullptr) RemoveFreeNotification(FZadEdevAzi);
}

void TZadEdevAziContainer::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FZadEdevAzi) FZadEdevAzi = nullptr;
}

void TZadEdevAziContainer::ColorChanged(TObject*) {
  TControl::SetColor(FColor->Color());
  Invalidate();
}

void TZadEdevAziContainer::TieChild(TControl* C) {
  auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(C);
  if (tc == nullptr) return;
  tc->FZadEdevAzi = FZadEdevAzi;
  // The control forgets the toolbar when it is freed first.
  if (FZadEdevAzi != nullptr) tc->FreeNotification(FZadEdevAzi);
}

void TZadEdevAziContainer::SetZadEdevAzi(TAdvCustomToolBar* Value) {
  if (FZadEdevAzi == Value) return;
  if (FZadEdevAzi != nullptr) RemoveFreeNotification(FZadEdevAzi);
  FZadEdevAzi = Value;
  if (FZadEdevAzi != nullptr) FreeNotification(FZadEdevAzi);
  // The key handling of the glow buttons comes with the toolbar's
  // ribbon-page keyboard support; until then only the toolbar is tied.
  for (Integer i = 0; i < ControlCount(); ++i) TieChild(Controls(i));
  Invalidate();
}

void TZadEdevAziContainer::SetCaption(const String& Value) {
  FCaption = Value;
  Invalidate();
}

void TZadEdevAziContainer::SetColor(TGradientBackground* Value) {
  FColor->Assign(Value);
  Invalidate();
}

void TZadEdevAziContainer::SetOfficeHint(TAdvHintInfo* Value) { FOfficeHint->Assign(Value); }

void TZadEdevAziContainer::SetLineColor(TColor Value) {
  FLineColor = Value;
  Invalidate();
}

void TZadEdevAziContainer::SetParentStyler(bool Value) {
  FParentStyler = Value;
  Invalidate();
}

void TZadEdevAziContainer::SetLine3D(bool Value) {
  FLine3D = Value;
  Invalidate();
}

void TZadEdevAziContainer::SetMargins(Integer Value) {
  if (Value == FMargins || Value < 0 || Value >= 15) return;
  FMargins = Value;
  ClampChildren();
  Realign();
}

void TZadEdevAziContainer::SetShowBorder(bool Value) { FShowBorder = Value; }

void TZadEdevAziContainer::Loaded() {
  TCustomControl::Loaded();
  TCustomZadEdevAziStyler* styler = FZadEdevAzi != nullptr ? FZadEdevAzi->CurrentToolBarStyler() : nullptr;
  if (styler != nullptr) {
    for (Integer i = 0; i < ControlCount(); ++i)
      if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(Controls(i))) g->SetAppearance(styler->GlowButtonAppearance());
    if (styler->VornStyle() != tsCustom)
      for (Integer i = 0; i < ControlCount(); ++i)
        if (auto* v = dynamic_cast<IVornStyle*>(Controls(i))) v->SetComponentStyle(styler->VornStyle());
  }
  Invalidate();
}

void TZadEdevAziContainer::ClampChildren() {
  if (FInternalUpdating) return;
  FInternalUpdating = true;
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Left() < FMargins) c->SetLeft(FMargins);
    if (c->Top() < FMargins) c->SetTop(FMargins);
  }
  FInternalUpdating = false;
}

void TZadEdevAziContainer::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Rect = TRect{Rect.Left + FMargins, Rect.Top + FMargins, Rect.Right - FMargins, Rect.Bottom - FMargins};
}

void TZadEdevAziContainer::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomControl::AlignControls(AControl, Rect);
  ClampChildren();
}

void TZadEdevAziContainer::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      TCustomControl::Dispatch(Message);
      return;
    case CM_MOUSEENTER:
      TCustomControl::Dispatch(Message);
      Invalidate();
      return;
    case CM_CONTROLCHANGE: CMControlChange(Message); return;
    default: TCustomControl::Dispatch(Message);
  }
}

void TZadEdevAziContainer::CMControlChange(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  // A control put in later joins the toolbar too (the key handling of glow
  // buttons waits for the toolbar's ribbon-page keyboard support).
  if (Message.LParam != 0) TieChild(reinterpret_cast<TControl*>(Message.WParam));
}

void TZadEdevAziContainer::Paint() {
  TCanvas* cv = Canvas();
  // The toolbar's background shows through.
  if (Parent() != nullptr) PaintParentBackground(cv->Handle());

  const TRect R = ClientRect();
  bool line3D = FLine3D;
  TColor c = FLineColor;
  if (FZadEdevAzi != nullptr && FParentStyler && FZadEdevAzi->CurrentToolBarStyler() != nullptr) {
    TContainerAppearance* ap = FZadEdevAzi->CurrentToolBarStyler()->ContainerAppearance();
    line3D = ap->Line3D();
    c = ap->LineColor();
  }
  if (c == clNone || !FShowBorder) return;
  cv->Brush()->SetStyle(bsClear);
  const Integer y = R.Top + FMargin + 2;
  const Integer right = R.Right - FMargin, bottom = R.Bottom - FMargin;
  auto line = [cv](TColor col, Integer x1, Integer y1, Integer x2, Integer y2) {
    cv->Pen()->SetColor(col);
    cv->MoveTo(x1, y1);
    cv->LineTo(x2, y2);
  };

  if (!FCaption.empty()) {
    cv->Font()->SetColor(clBlack);
    RECT tr{R.Left + 10, R.Top, R.Right, R.Bottom};
    DrawText(cv->Handle(), reinterpret_cast<const WCHAR*>(FCaption.c_str()), Integer(FCaption.size()), &tr,
             DT_SINGLELINE);
    DrawText(cv->Handle(), reinterpret_cast<const WCHAR*>(FCaption.c_str()), Integer(FCaption.size()), &tr,
             DT_SINGLELINE | DT_CALCRECT);
    const Integer x = tr.Right;
    line(c, R.Left, y, R.Left + 9, y);
    line(c, R.Left + x + 1, y, right, y);
    if (line3D) {
      line(clWhite, R.Left, y + 1, R.Left + 9, y + 1);
      line(clWhite, R.Left + x + 1, y + 1, right, y + 1);
    }
  } else {
    line(c, R.Left, y, right, y);
    if (line3D) line(clWhite, R.Left, y + 1, right, y + 1);
  }
  cv->Pen()->SetColor(c);
  cv->MoveTo(R.Left, y);
  cv->LineTo(R.Left, bottom);
  cv->LineTo(right, bottom);
  cv->LineTo(right, y);
  if (line3D) {
    cv->Pen()->SetColor(clWhite);
    cv->MoveTo(R.Left + 1, y + 1);
    cv->LineTo(R.Left + 1, bottom);
    cv->MoveTo(R.Left + 1, bottom + 1);
    cv->LineTo(right + 1, bottom + 1);
    cv->LineTo(right + 1, y);
  }
}

void RegisterToolBarContainerClass() {
  TClassInfo::Of<TZadEdevAziContainer, TCustomControl>(u"TZadEdevAziContainer");
}

}  // namespace toolbar
