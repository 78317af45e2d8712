#include "toolbar/AdvToolBarControl.h"

#include "toolbar/AdvToolBar.h"

namespace toolbar {

TAdvCustomToolBarControl::TAdvCustomToolBarControl(TComponent* AOwner) : TGraphicControl(AOwner) {}

// The toolbar forgets the control through the removal from its children or
// the free notification it asked for.
TAdvCustomToolBarControl::~TAdvCustomToolBarControl() = default;

void TAdvCustomToolBarControl::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent != nullptr && static_cast<TComponent*>(FZadEdevAzi) == AComponent)
    FZadEdevAzi = nullptr;
}

void TAdvCustomToolBarControl::SetZadEdevAzi(TAdvCustomToolBar* Value) {
  if (Value == FZadEdevAzi) return;
  if (FZadEdevAzi != nullptr) FZadEdevAzi->ControlRemoved(this);
  // Leaving the old toolbar may keep the reference (only buttons drop it);
  // the new parent's insertion sets it again.
  FZadEdevAzi = nullptr;
  SetParent(Value);
  if (Value != nullptr && FZadEdevAzi == nullptr) throw Exception(u"ZadEdevAzi not set");
}

// ---------------------------------------------------------------------------
// Separator

TZadEdevAziSeparator::TZadEdevAziSeparator(TComponent* AOwner) : TAdvCustomToolBarControl(AOwner) {
  FAutoSize = true;
  SetBounds(0, 0, 22, 10);
}

void TZadEdevAziSeparator::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TZadEdevAziSeparator*>(Source)) {
    SetSeparatorStyle(s->SeparatorStyle());
    SetLineColor(s->LineColor());
    return;
  }
  TAdvCustomToolBarControl::Assign(Source);
}

void TZadEdevAziSeparator::SetSeparatorStyle(TAdvSeparatorStyle Value) {
  if (FSeparatorStyle == Value) return;
  FSeparatorStyle = Value;
  Invalidate();
}

void TZadEdevAziSeparator::SetLineColor(TColor Value) {
  if (FLineColor == Value) return;
  FLineColor = Value;
  Invalidate();
}

void TZadEdevAziSeparator::AdjustSize() {
  if (!AutoSize()) return;
  TAdvCustomToolBar* tb = FZadEdevAzi;
  if (Horizontal()) {
    Integer h = Height();
    if (tb != nullptr && tb->AutoPositionControls())
      h = tb->Parent() != nullptr && tb->Parent()->ClassName() == u"TAdvPage"
              ? tb->Height() - tb->CaptionHeight() - 4
              : tb->Height() - 4;
    SetBounds(Left(), Top(), 10, h);
  } else {
    SetBounds(Left(), Top(), tb != nullptr ? tb->Width() - 4 : Width(), 10);
  }
}

void TZadEdevAziSeparator::DrawEtchedLine(TPoint P1, TPoint P2) {
  // clNone draws nothing rather than reaching the canvas as a colour.
  TCanvas* c = Canvas();
  if (FLineColor != clNone) {
    c->Pen()->SetColor(FLineColor);
    c->MoveTo(P1.X, P1.Y);
    c->LineTo(P2.X, P2.Y);
  }
  c->Pen()->SetColor(TColor(0xFFFFFF));
  c->MoveTo(P1.X + 1, P1.Y + 1);
  c->LineTo(P2.X + 1, P2.Y + 1);
}

void TZadEdevAziSeparator::Paint() {
  if (FSeparatorStyle == ssBlank) return;
  const TRect r = ClientRect();
  if (Horizontal()) {
    const Integer x = r.Left + (r.Right - r.Left) / 2;
    DrawEtchedLine(TPoint{x, r.Top + 3}, TPoint{x, r.Bottom - 3});
  } else {
    const Integer y = r.Top + (r.Bottom - r.Top) / 2;
    DrawEtchedLine(TPoint{r.Left + 3, y}, TPoint{r.Right - 3, y});
  }
}

}  // namespace toolbar
