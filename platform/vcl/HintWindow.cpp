// The hint window and its place in the application's hint machinery.
#include "platform/vcl/HintWindow.h"

#include <algorithm>

#include "platform/vcl/Application.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Window.h"

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  FColor = clInfoBk;
  FParentColor = false;
  FVisible = false;
  if (Screen != nullptr) Font()->Assign(Screen->HintFont());
  Font()->SetColor(clInfoText);
}

THintWindow::~THintWindow() = default;

void THintWindow::CreateParams(TCreateParams& P) {
  TCustomControl::CreateParams(P);
  P.Style = WS_POPUP | WS_BORDER;
  P.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  P.WndParent = nullptr;
}

TRect THintWindow::CalcHintRect(Integer MaxWidth, const String& AHint, void*) {
  TRect r{0, 0, std::max(MaxWidth, 1), 0};
  HDC dc = GetDC(nullptr);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.SetFont(Font());
  String text = AHint;
  DrawTextW(canvas.Handle(), text.data(), Integer(text.size()), &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  canvas.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  r.Right += 6;
  r.Bottom += 2;
  return r;
}

void THintWindow::ActivateHint(TRect Rect, const String& AHint) {
  SetCaption(AHint);
  if (Screen != nullptr) {
    // On the screen: moved left and up when it would run off.
    const Integer w = Rect.Width(), h = Rect.Height();
    Rect.Left = std::max(0, std::min(Rect.Left, Screen->Width() - w));
    Rect.Top = std::max(0, std::min(Rect.Top, Screen->Height() - h));
    Rect.Right = Rect.Left + w;
    Rect.Bottom = Rect.Top + h;
  }
  SetBoundsRect(Rect);
  HandleNeeded();
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  FShowing = true;
  Invalidate();
}

void THintWindow::ActivateHintData(TRect Rect, const String& AHint, void*) { ActivateHint(Rect, AHint); }

void THintWindow::ReleaseHandle() {
  FShowing = false;
  DestroyHandle();
}

void THintWindow::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(FColor);
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(r);
  c->SetFont(Font());
  c->Brush()->SetStyle(bsClear);
  r.Left += 2;
  r.Top += 1;
  String text = FText;
  DrawTextW(c->Handle(), text.data(), Integer(text.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

namespace {
std::unique_ptr<THintWindow>& Current() {
  static std::unique_ptr<THintWindow> w;
  return w;
}
}  // namespace

THintWindow* ActiveHintWindow() {
  THintWindow* w = Current().get();
  return w != nullptr && w->HandleAllocated() && IsWindowVisible(w->Handle()) ? w : nullptr;
}

void InstallHintWindow() {
  if (Application == nullptr) return;
  Application->SetHintPresenter(
      {[](const THintInfo& info) {
         auto& w = Current();
         if (!w) w = std::make_unique<THintWindow>(nullptr);
         if (info.HintColor != clNone) w->SetColor(info.HintColor);
         TRect r = w->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
         OffsetRect(&r, info.HintPos.X, info.HintPos.Y);
         w->ActivateHintData(r, info.HintStr, info.HintData);
       },
       [] {
         if (Current()) Current()->ReleaseHandle();
       }});
}
