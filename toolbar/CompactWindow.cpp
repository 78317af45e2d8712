// The compact window: its frame, size and round corners, and hiding when
// it loses the activation.
#include "toolbar/CompactWindow.h"

#include "controls/AdvGlowButton.h"
#include "platform/gdi/Gdi.h"
#include "platform/vcl/PopupWindows.h"
#include "platform/vcl/WindowRegion.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"
#include "toolbar/AdvToolBar.h"

namespace toolbar {

TCompactWindow::TCompactWindow(TComponent* AOwner) : TCustomForm(AOwner), FOwner(AOwner) {
  FHideTimer = new TTimer(this);
  FHideTimer->SetEnabled(false);
  FHideTimer->SetInterval(1);
  FHideTimer->OnTimer = [this](TObject* Sender) { HideTimerTick(Sender); };
}

TCompactWindow::~TCompactWindow() {
  FHideTimer->SetEnabled(false);
  FZadEdevAzi = nullptr;
}

void TCompactWindow::CreateParams(TCreateParams& Params) {
  TCustomForm::CreateParams(Params);
  Params.Style = (Params.Style | WS_POPUP) & ~DWORD(WS_CHILD);
  Params.WindowClass.style |= CS_DROPSHADOW;
}

void TCompactWindow::SetWindowSize() {
  if (FZadEdevAzi == nullptr) return;
  SetBounds(Left(), Top(), FZadEdevAzi->Width() + 2, FZadEdevAzi->Height() + 2);
  FZadEdevAzi->SetBounds(1, 1, FZadEdevAzi->Width(), FZadEdevAzi->Height());
  if (TCustomZadEdevAziStyler* s = FZadEdevAzi->CurrentToolBarStyler()) SetColor(s->Color()->Color());
}

void TCompactWindow::SetRoundRegion() {
  if (!HandleAllocated()) return;
  // The window owns the region from here on.
  SetWindowRgn(Handle(), CreateRoundRectRgn(0, 0, ClientWidth() + 1, ClientHeight() + 1, 4, 4), TRUE);
}

void TCompactWindow::Paint() {
  TCustomForm::Paint();
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->Pen()->SetColor(Color());
  c->Rectangle(-4, -4, ClientWidth() + 4, ClientHeight() + 4);
}

void TCompactWindow::DoHide() {
  TCustomForm::DoHide();
  if (FDropDownButton != nullptr) FDropDownButton->SetDown(false);
  if (FZadEdevAzi != nullptr) FZadEdevAzi->PostCompactWinHide();
}

void TCompactWindow::HideTimerTick(TObject*) {
  FHideTimer->SetEnabled(false);
  if (Visible()) Hide();
  if (FZadEdevAzi != nullptr) FZadEdevAzi->HideShortCutHints();
  if (FZadEdevAzi != nullptr) FZadEdevAzi->CompactWindowClosed();
}

bool TCompactWindow::CloneHasDroppedDown() const {
  if (FZadEdevAzi == nullptr) return false;
  for (Integer i = 0; i < FZadEdevAzi->ControlCount(); ++i)
    if (auto* g = dynamic_cast<TAdvCustomGlowButton*>(FZadEdevAzi->Controls(i)); g != nullptr && g->DroppedDown())
      return true;
  return false;
}

void TCompactWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_KEYDOWN && FZadEdevAzi != nullptr) {
    // The window itself holds the focus: its clone answers the keys (key
    // tips, Escape and the arrows).
    Message.Result = FZadEdevAzi->Perform(WM_KEYDOWN, Message.WParam, Message.LParam);
    return;
  }
  if (Message.Msg == WM_NCHITTEST) {
    // Only the bottom-right corner sizes the window; elsewhere nothing.
    const TPoint p = ScreenToClient(TPoint{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
    Message.Result = (p.X > Width() - 10 && p.Y > Height() - 10) ? HTBOTTOMRIGHT : HTNOWHERE;
    return;
  }
  TCustomForm::Dispatch(Message);
}

void TCompactWindow::WMActivate(TMessage& Message) {
  TCustomForm::WMActivate(Message);
  TAdvCustomToolBar* pageToolBar = FZadEdevAzi != nullptr ? FZadEdevAzi->SelfClone() : nullptr;
  if (!Visible()) {
    if (LOWORD(Message.WParam) != WA_INACTIVE && pageToolBar != nullptr && pageToolBar->HandleAllocated() &&
        pageToolBar->CanFocus())
      pageToolBar->SetFocus();
    return;
  }
  if (LOWORD(Message.WParam) != WA_INACTIVE) {
    if (FZadEdevAzi != nullptr && FZadEdevAzi->Visible() && FZadEdevAzi->Enabled() && FZadEdevAzi->CanFocus())
      FZadEdevAzi->SetFocus();
    // The application's caption stays active while the popup is up.
    HWND top = GetParent(Handle());
    while (HWND up = GetParent(top)) top = up;
    if (top != nullptr) SendMessage(top, WM_NCACTIVATE, TRUE, 0);
    return;
  }
  // An open drop-down menu of the clone keeps the window up.
  if (pageToolBar != nullptr && pageToolBar->Visible() && CloneHasDroppedDown()) return;
  if (CloseQuery() && FHideOnDeActivate) FHideTimer->SetEnabled(true);
}

}  // namespace toolbar
