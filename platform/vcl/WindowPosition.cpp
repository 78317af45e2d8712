// The window-position and min-max messages of top-level forms: every change
// of a form's bounds is offered to its window first and reported after.
#include <algorithm>

#include "platform/rtl/DestroyWatch.h"
#include "platform/vcl/ControlsInternal.h"
#include "platform/vcl/FormWindowInternal.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Monitors.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Window.h"

namespace forms_internal {

namespace {

// No limit of the system's own: larger than any desktop the layer sees.
constexpr Integer NoTrackLimit = 32767;

// The form whose next SetBounds is a window-state change.
TCustomForm* StateChangeForm = nullptr;

bool HasFormWindow(TCustomForm* Form) {
  return Form != nullptr && Form->Parent() == nullptr && Form->HandleAllocated() &&
         !Form->ComponentState().Contains(csDestroying);
}

}  // namespace

MINMAXINFO QueryMinMaxInfo(TCustomForm* Form, const TMonitor* Monitor) {
  MINMAXINFO info;
  if (Monitor == nullptr && Form != nullptr) Monitor = Form->Monitor();
  const TRect monitor = Monitor != nullptr ? Monitor->BoundsRect() : Bounds(0, 0, 800, 600);
  const TRect work = Monitor != nullptr ? Monitor->WorkareaRect() : monitor;
  info.ptMaxSize = TPoint{work.Width(), work.Height()};
  info.ptMaxPosition = TPoint{work.Left - monitor.Left, work.Top - monitor.Top};
  const TRect frame = Form != nullptr ? Form->FrameInsets() : TRect{};
  info.ptMinTrackSize = TPoint{frame.Left + frame.Right, frame.Top + frame.Bottom};
  info.ptMaxTrackSize = TPoint{NoTrackLimit, NoTrackLimit};
  if (HasFormWindow(Form)) SendMessage(Form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return info;
}

void ClampToTrackSize(const MINMAXINFO& Info, Integer& Width, Integer& Height) {
  // A minimum above the maximum wins, as the system lets it.
  Width = std::max(std::min(Width, Info.ptMaxTrackSize.X), Info.ptMinTrackSize.X);
  Height = std::max(std::min(Height, Info.ptMaxTrackSize.Y), Info.ptMinTrackSize.Y);
}

TRect MaximizedBounds(TCustomForm* Form) {
  const TMonitor* monitor = Form->Monitor();
  const TRect origin = monitor != nullptr ? monitor->BoundsRect() : Bounds(0, 0, 800, 600);
  const MINMAXINFO info = QueryMinMaxInfo(Form, monitor);
  Integer width = info.ptMaxSize.X, height = info.ptMaxSize.Y;
  ClampToTrackSize(info, width, height);
  return Bounds(origin.Left + info.ptMaxPosition.X, origin.Top + info.ptMaxPosition.Y, width, height);
}

void SetBoundsForState(TCustomForm* Form, TRect R) {
  TCustomForm* const outer = StateChangeForm;
  StateChangeForm = Form;
  try {
    Form->SetBounds(R.Left, R.Top, R.Width(), R.Height());
  } catch (...) {
    StateChangeForm = outer;
    throw;
  }
  StateChangeForm = outer;
}

UINT TakeBoundsFlags(TCustomForm* Form) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (StateChangeForm == Form) {
    // Only the state change's own move carries the flag, not what its handlers move.
    StateChangeForm = nullptr;
    flags |= SWP_STATECHANGED;
  }
  return flags;
}

void PositionForm(TCustomForm* Form, TRect Wanted, UINT Flags) {
  auto take = [Form](const TRect& R) {
    Form->TWinControl::SetBounds(R.Left, R.Top, R.Width(), R.Height());
    Form->MonitorsChanged();
  };
  if (!HasFormWindow(Form)) {
    take(Wanted);
    return;
  }
  const TRect before = Form->BoundsRect();
  if (Wanted.Left == before.Left && Wanted.Top == before.Top) Flags |= SWP_NOMOVE;
  if (Wanted.Width() == before.Width() && Wanted.Height() == before.Height()) Flags |= SWP_NOSIZE;
  if ((Flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE) && !(Flags & SWP_STATECHANGED)) return;
  const HWND h = Form->Handle();
  TDestroyWatch watch(Form);
  if (Flags & SWP_STATECHANGED) systemmenu_internal::WindowStateChanged(h);
  WINDOWPOS pos{h, nullptr, Wanted.Left, Wanted.Top, Wanted.Width(), Wanted.Height(), Flags};
  SendMessage(h, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  // A handler may have destroyed the form or its window, or moved it itself.
  if (watch.Gone() || !Form->HandleAllocated() || Form->Handle() != h) return;
  TRect next = Form->BoundsRect();
  if (!(pos.flags & SWP_NOMOVE)) next = Bounds(pos.x, pos.y, next.Width(), next.Height());
  if (!(pos.flags & SWP_NOSIZE)) next = Bounds(next.Left, next.Top, std::max(pos.cx, 0), std::max(pos.cy, 0));
  take(next);
  if (watch.Gone() || !Form->HandleAllocated() || Form->Handle() != h) return;
  WINDOWPOS done{h, nullptr, Form->Left(), Form->Top(), Form->Width(), Form->Height(), pos.flags};
  SendMessage(h, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
}

void DefWindowPosChanging(TWinControl* Control, TMessage& Message) {
  Message.Result = 0;
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  auto* form = dynamic_cast<TCustomForm*>(Control);
  if (pos == nullptr || (pos->flags & SWP_NOSIZE) || !HasFormWindow(form)) return;
  const TWindowBridge* bridge = controls_internal::BridgeOf(form->Handle());
  const DWORD style = bridge != nullptr ? bridge->Style() : 0;
  if (!(style & WS_THICKFRAME) && (style & WS_POPUP)) return;
  const MINMAXINFO info = QueryMinMaxInfo(form);
  ClampToTrackSize(info, pos->cx, pos->cy);
}

void FormMinMaxInfo(TCustomForm* Form, TMessage& Message) {
  Message.Result = 0;
  auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
  if (info == nullptr) return;
  const TSizeConstraints* c = Form->Constraints();
  if (c->MinWidth() > 0) info->ptMinTrackSize.X = c->MinWidth();
  if (c->MinHeight() > 0) info->ptMinTrackSize.Y = c->MinHeight();
  if (c->MaxWidth() > 0) info->ptMaxTrackSize.X = c->MaxWidth();
  if (c->MaxHeight() > 0) info->ptMaxTrackSize.Y = c->MaxHeight();
}

}  // namespace forms_internal
