#include "platform/vcl/Application.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string_view>

#include "platform/vcl/Controls.h"
#include "platform/vcl/ControlsInternal.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Hooks.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"

TApplication* Application = nullptr;

namespace {

constexpr UINT_PTR kHintTimerId = 1;

// The text before "|" shows in the hint; the text after it is the long hint.
String ShortHint(const String& hint) {
  const auto bar = hint.find(u'|');
  return bar == String::npos ? hint : hint.substr(0, bar);
}
String LongHint(const String& hint) {
  const auto bar = hint.find(u'|');
  return bar == String::npos ? hint : hint.substr(bar + 1);
}

void WriteToStderr(const String& Title, const String& Message) {
  std::cerr << StringToUtf8(Title) << ": " << StringToUtf8(Message) << '\n';
}

String ReadExeName() {
  std::string path(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return {};
  path.resize(static_cast<std::size_t>(n));
  return Utf8ToString(path);
}

// The measuring switch of Run: once the main form has been painted on screen
// and nothing is left to paint or to show, the loop ends on its next turn
// (after the window system has been handed the pass's pixels).
class TApplicationFirstPaintExit {
 public:
  explicit TApplicationFirstPaintExit(TApplication* App) : FApp(App) {
    FWnd = AllocateHWnd([this](TMessage& Message) {
      if (Message.Msg != WM_USER) return;
      FCheckPosted = false;
      // Painting started again meanwhile: the next screen paint tries again.
      if (controls_internal::ScreenPaintPending()) return;
      TellMeasurer();
      FApp->Terminate();
    });
    FPrevious = controls_internal::SetScreenPaintObserver([this](HWND Wnd) { ScreenPainted(Wnd); });
  }
  ~TApplicationFirstPaintExit() {
    controls_internal::SetScreenPaintObserver(std::move(FPrevious));
    DeallocateHWnd(FWnd);
  }
  TApplicationFirstPaintExit(const TApplicationFirstPaintExit&) = delete;
  TApplicationFirstPaintExit& operator=(const TApplicationFirstPaintExit&) = delete;

  static bool Requested() {
    const char* value = std::getenv("RYX_EXIT_AFTER_FIRST_PAINT");
    return value != nullptr && std::string_view(value) == "1";
  }

 private:
  // A measuring program may pass down a descriptor to learn the moment (the
  // program's shut-down that follows is no part of its start-up).
  static void TellMeasurer() {
    const char* fd = std::getenv("RYX_FIRST_PAINT_FD");
    if (fd == nullptr || *fd == 0) return;
    char* end = nullptr;
    const long n = std::strtol(fd, &end, 10);
    if (*end != 0 || n < 0 || n > INT_MAX) return;
    static constexpr char kLine[] = "first paint\n";
    [[maybe_unused]] const ssize_t written = ::write(int(n), kLine, sizeof kLine - 1);
  }

  void ScreenPainted(HWND Wnd) {
    if (FPrevious) FPrevious(Wnd);
    TCustomForm* main = FApp->MainForm();
    if (main != nullptr && main->HandleAllocated() && main->Handle() == Wnd) FMainFormPainted = true;
    // Controls painted later than the form (or again) are waited for.
    if (!FMainFormPainted || FCheckPosted || controls_internal::ScreenPaintPending()) return;
    FCheckPosted = PostMessage(FWnd, WM_USER, 0, 0);
  }

  TApplication* FApp;
  HWND FWnd = nullptr;
  bool FCheckPosted = false;
  bool FMainFormPainted = false;
  std::function<void(HWND)> FPrevious;
};

std::unique_ptr<TApplication>& Owned() {
  static auto* owned = new std::unique_ptr<TApplication>;
  return *owned;
}

}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  String name = ExeName();
  if (auto slash = name.rfind(u'/'); slash != String::npos) name.erase(0, slash + 1);
  if (auto dot = name.rfind(u'.'); dot != String::npos && dot > 0) name.erase(dot);
  FTitle = name;
  FHandle = AllocateHWnd([this](TMessage& Message) {
    if (Message.Msg == WM_TIMER && Message.WParam == kHintTimerId) {
      HintTimerExpired();
      return;
    }
    Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
  });
}

TApplication::~TApplication() { DeallocateHWnd(FHandle); }

void TApplication::Initialize() { InitMessageLoop(0, nullptr); }

void TApplication::Run() {
  std::unique_ptr<TApplicationFirstPaintExit> firstPaintExit;
  if (TApplicationFirstPaintExit::Requested()) firstPaintExit = std::make_unique<TApplicationFirstPaintExit>(this);
  if (FMainForm != nullptr && FShowMainForm && !FTerminated) FMainForm->Show();
  while (!FTerminated) HandleMessage();
}

void TApplication::FormDestroyed(TCustomForm* Form) {
  if (FMainForm == Form) FMainForm = nullptr;
}

bool TApplication::DoMessage(TMsg& Msg) {
  const TMsg retrieved = Msg;
  CallGetMessageHooks(&Msg, PM_REMOVE);
  bool handled = false;
  if (OnMessage) OnMessage(Msg, handled);
  if (handled) return true;
  // A hook that re-addressed or replaced the message: it goes where the hook sent it.
  if (Msg.hwnd != retrieved.hwnd || Msg.message != retrieved.message) {
    if (Msg.message != WM_NULL) SendMessage(Msg.hwnd, Msg.message, Msg.wParam, Msg.lParam);
    return true;
  }
  return false;
}

void TApplication::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (!Value) CancelHint();
}

void TApplication::SetHint(const String& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (OnHint) OnHint(this);
}

void TApplication::StartHintTimer(Integer Pause, int Kind) {
  FHintTimerKind = Kind;
  SetTimer(FHandle, kHintTimerId, UINT(std::max(Pause, 1)));
}

void TApplication::StopHintTimer() {
  FHintTimerKind = 0;
  KillTimer(FHandle, kHintTimerId);
}

void TApplication::HideHint() {
  if (!FHintShowing) return;
  FHintShowing = false;
  if (FHintPresenter.Hide) FHintPresenter.Hide();
}

void TApplication::CancelHint() {
  HideHint();
  StopHintTimer();
  FHintControl = nullptr;
}

void TApplication::ControlDestroyed(TControl* Control) {
  if (FHintControl == Control) CancelHint();
}

void TApplication::HintMouseMessage(TControl* Control, TPoint CursorPos) {
  FHintCursorPos = CursorPos;
  if (Control == FHintControl) return;
  const bool wasShowing = FHintShowing;
  HideHint();
  StopHintTimer();
  FHintControl = Control;
  SetHint(Control != nullptr ? LongHint(Control->Hint()) : String());
  if (Control == nullptr || !FShowHint || !Control->ShowHint() || ShortHint(Control->Hint()).empty()) return;
  // Moving from one hint to the next shows the next one after the short pause.
  StartHintTimer(wasShowing ? FHintShortPause : FHintPause, 1);
}

void TApplication::ActivateHint(TPoint CursorPos) {
  FHintCursorPos = CursorPos;
  TControl* c = FindDragTarget(CursorPos, false);
  if (c != FHintControl) {
    HideHint();
    FHintControl = c;
  }
  if (c != nullptr) {
    FHintTimerKind = 1;
    HintTimerExpired();
  }
}

void TApplication::HintTimerExpired() {
  const int kind = FHintTimerKind;
  StopHintTimer();
  if (kind == 2) {
    HideHint();
    return;
  }
  TControl* c = FHintControl;
  if (kind != 1 || c == nullptr) return;
  THintInfo info;
  info.HintControl = c;
  info.CursorPos = c->ScreenToClient(FHintCursorPos);
  info.HintPos = {FHintCursorPos.X, FHintCursorPos.Y + 20};  // below the pointer's arrow
  info.HintMaxWidth = Screen != nullptr ? Screen->Width() : 800;
  info.HintColor = clInfoBk;
  info.CursorRect = c->ClientRect();
  info.HideTimeout = FHintHidePause;
  info.HintStr = ShortHint(c->Hint());
  bool canShow = c->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
  if (!canShow || info.HintStr.empty()) return;
  FHintShowing = true;
  if (FHintPresenter.Show) FHintPresenter.Show(info);
  if (info.HideTimeout > 0) StartHintTimer(info.HideTimeout, 2);
}

void TApplication::Terminate() {
  FTerminated = true;
  // Wakes a loop waiting for messages so that Run can see the flag.
  PostMessage(FHandle, WM_NULL, 0, 0);
}

void TApplication::ProcessMessages() { ProcessPendingMessages(); }

void TApplication::HandleMessage() {
  if (TakeQuitMessage(nullptr)) {  // WM_QUIT reached the outermost loop
    Terminate();
    return;
  }
  if (DispatchNextMessage()) return;
  ProcessPendingMessages();  // due timers and the platform's own events
  if (!FTerminated) WaitMessage();
}

void TApplication::HandleException(TObject* Sender) {
  const std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (EAbort&) {
    // Raised to end an operation quietly.
  } catch (Exception& e) {
    if (OnException)
      OnException(Sender, &e);
    else
      ShowException(&e);
  } catch (const std::exception& e) {
    Exception wrapped{std::string_view(e.what())};
    if (OnException)
      OnException(Sender, &wrapped);
    else
      ShowException(&wrapped);
  } catch (...) {
    Exception wrapped(u"Unknown exception");
    if (OnException)
      OnException(Sender, &wrapped);
    else
      ShowException(&wrapped);
  }
}

void TApplication::ShowException(Exception* E) {
  if (E == nullptr) return;
  if (FShowException)
    FShowException(FTitle, E->Message());
  else
    WriteToStderr(FTitle, E->Message());
}

void TApplication::SetShowExceptionProc(TShowExceptionProc Proc) { FShowException = std::move(Proc); }

String TApplication::ExeName() const { return ReadExeName(); }

void InitApplication(int argc, char** argv) {
  InitMessageLoop(argc, argv);
  if (Owned()) return;
  Owned() = std::make_unique<TApplication>();
  Application = Owned().get();
  // The screen object lives as long as the application object.
  if (Screen == nullptr) Screen = new TScreen(Application);
  SetMessageExceptionHandler([] {
    if (Application != nullptr) Application->HandleException(Application);
  });
}

void DoneApplication() {
  SetMessageExceptionHandler({});
  ReleaseCapture();
  Application = nullptr;
  Owned().reset();
  DoneMessageLoop();
}

namespace application_detail {

void AdoptForm(TApplication* App, TCustomForm* Form) {
  if (App->FMainForm == nullptr) App->FMainForm = Form;
}

void FinishForm(TCustomForm* Form) { Form->AfterConstruction(); }

}  // namespace application_detail
