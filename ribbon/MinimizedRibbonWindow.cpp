// The floating ribbon's window: its frame and size, and hiding when it
// loses the activation.
#include "ribbon/MinimizedRibbonWindow.h"

#include "platform/vcl/PopupWindows.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Window.h"
#include "ribbon/AdvPage.h"
#include "ribbon/ZadEdevAziPager.h"

namespace ribbon {

TMinimizedRibbonWindow::TMinimizedRibbonWindow(TComponent* AOwner) : TCustomForm(AOwner), FOwner(AOwner) {
  FHideTimer = new TTimer(this);
  FHideTimer->SetEnabled(false);
  FHideTimer->SetInterval(1);
  FHideTimer->OnTimer = [this](TObject* Sender) { HideTimerTick(Sender); };
  SetBounds(Left(), Top(), 0, 0);
}

TMinimizedRibbonWindow::~TMinimizedRibbonWindow() {
  // The timer goes first: nothing may tick into a window being taken apart.
  FHideTimer->SetEnabled(false);
  delete FHideTimer;
  FHideTimer = nullptr;
  FZadEdevAziPager = nullptr;
}

void TMinimizedRibbonWindow::CreateParams(TCreateParams& Params) {
  TCustomForm::CreateParams(Params);
  // The pager is the window's parent, which would make it a child window.
  Params.Style = (Params.Style | WS_POPUP) & ~DWORD(WS_CHILD);
  Params.WindowClass.style |= CS_DROPSHADOW;
}

void TMinimizedRibbonWindow::SetWindowSize() {
  if (FZadEdevAziPager == nullptr || FAdvPage == nullptr) return;
  SetBounds(Left(), Top(), FAdvPage->Width() + 3, FAdvPage->Height() + 3);
  FAdvPage->SetBounds(2, 0, FAdvPage->Width(), FAdvPage->Height());
}

void TMinimizedRibbonWindow::Paint() {
  TCustomForm::Paint();
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->Pen()->SetColor(Color());
  c->Rectangle(-4, -4, ClientWidth() + 4, ClientHeight() + 4);
}

bool TMinimizedRibbonWindow::CanHideOnDeactivate() {
  return CloseQuery() && FHideOnDeActivate && (FZadEdevAziPager == nullptr || !FZadEdevAziPager->BlockHide());
}

void TMinimizedRibbonWindow::WMActivate(TMessage& Message) {
  // The layer's own bookkeeping of the active form and its focus.
  TCustomForm::WMActivate(Message);
  if (!Visible()) return;
  if (LOWORD(Message.WParam) != WA_INACTIVE) {
    if (FAdvPage != nullptr)
      if (toolbar::TZadEdevAzi* tb = FAdvPage->GetFirstToolBar(true); tb != nullptr && tb->CanFocus()) tb->SetFocus();
    return;
  }
  if (!CanHideOnDeactivate()) return;
  // A press on the pager decides itself (a tab click shows the next page).
  if (FZadEdevAziPager != nullptr && FZadEdevAziPager->HandleAllocated() && GetFocus() == FZadEdevAziPager->Handle())
    return;
  FHideTimer->SetInterval(1);
  FHideTimer->SetEnabled(true);
}

void TMinimizedRibbonWindow::HideTimerTick(TObject*) {
  bool canHide = true;
  if (FZadEdevAziPager != nullptr && FZadEdevAziPager->OnFloatingRibbonHide)
    FZadEdevAziPager->OnFloatingRibbonHide(this, canHide);
  if (!canHide) {
    // Vetoed: ask again, but at a pace that leaves the machine alone.
    FHideTimer->SetInterval(VetoedHideRetryMs);
    return;
  }
  FHideTimer->SetEnabled(false);
  if (Visible()) Hide();
  // This runs inside the window's own timer event: the pager frees the
  // window only once the event has returned.
  if (FZadEdevAziPager != nullptr) FZadEdevAziPager->DestroyMinimizedRibbonWindow();
}

void TMinimizedRibbonWindow::KeyDown(Word& Key, TShiftState Shift) {
  TCustomForm::KeyDown(Key, Shift);
  // The window itself holds the focus while its page's key tips show: the
  // typed keys are theirs (Escape goes back a level there).
  if (FZadEdevAziPager != nullptr && FZadEdevAziPager->KeyTips().State() == TKeyTipState::Showing &&
      FZadEdevAziPager->KeyTips().Level() != TKeyTipLevel::Tabs && FZadEdevAziPager->ToolBarKeyTipKey(Key)) {
    Key = 0;
    return;
  }
  if (Key == VK_ESCAPE && FZadEdevAziPager != nullptr) {
    Key = 0;
    FZadEdevAziPager->HideFloatingRibbon();
  }
}

void TMinimizedRibbonWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_DIALOGKEY && Message.WParam == VK_ESCAPE && FZadEdevAziPager != nullptr) {
    Message.Result = 1;
    FZadEdevAziPager->HideFloatingRibbon();
    return;
  }
  TCustomForm::Dispatch(Message);
}

}  // namespace ribbon
