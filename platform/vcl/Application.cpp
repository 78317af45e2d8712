#include "platform/vcl/Application.h"

#include <unistd.h>

#include <iostream>
#include <memory>

#include "platform/win/MessageLoop.h"

TApplication* Application = nullptr;

namespace {

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
    Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
  });
}

TApplication::~TApplication() { DeallocateHWnd(FHandle); }

void TApplication::Initialize() { InitMessageLoop(0, nullptr); }

void TApplication::Run() {
  while (!FTerminated) HandleMessage();
}

void TApplication::Terminate() {
  FTerminated = true;
  // Wakes a loop waiting for messages so that Run can see the flag.
  PostMessage(FHandle, WM_NULL, 0, 0);
}

void TApplication::ProcessMessages() { ProcessPendingMessages(); }

void TApplication::HandleMessage() {
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
  SetMessageExceptionHandler([] {
    if (Application != nullptr) Application->HandleException(Application);
  });
}

void DoneApplication() {
  SetMessageExceptionHandler({});
  Application = nullptr;
  Owned().reset();
  DoneMessageLoop();
}
