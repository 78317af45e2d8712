#include "controls/ShortCutHintWindow.h"

#include "controls/GlowButtonPainter.h"
#include "platform/vcl/Bitmap.h"
#include "platform/win/Window.h"

TShortCutHintWindow::TShortCutHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void TShortCutHintWindow::SetColor(TColor Value) {
  FColor = Value;
  Invalidate();
}

void TShortCutHintWindow::SetColorTo(TColor Value) {
  FColorTo = Value;
  Invalidate();
}

void TShortCutHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~DWORD(WS_BORDER);
  Params.ExStyle |= WS_EX_TOPMOST;
  FColor = clInfoBk;
  FColorTo = clInfoBk;
}

void TShortCutHintWindow::Paint() {
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  glowpaint::DrawGradient(c, FColor, FColorTo, 16, r, false);
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(Font());
  TRect tr = r;
  String text = Caption();
  c->TextRect(tr, text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  c->Pen()->SetColor(0x808080);
  c->RoundRect(r, 3, 3);
}

void TShortCutHintWindow::Resize() {
  THintWindow::Resize();
  // Measured on a bitmap: the window may not have its handle yet.
  TBitmap measure;
  measure.SetSize(1, 1);
  measure.Canvas()->Font()->Assign(Font());
  const Integer minWidth = measure.Canvas()->TextWidth(u"O") + 8;
  if (Width() < minWidth) SetWidth(minWidth);
}

void TShortCutHintWindow::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }
