#pragma once
// TApplication: the program's application object. It runs the
// user-interface thread's message loop and reports exceptions that escape
// message handlers.
#include <functional>

#include "platform/rtl/Component.h"
#include "platform/win/Messages.h"

// Handles an exception instead of the default report.
using TExceptionEvent = std::function<void(TObject* Sender, Exception* E)>;
// Shows an exception's message to the user; the default writes it to stderr.
using TShowExceptionProc = std::function<void(const String& Title, const String& Message)>;

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* AOwner = nullptr);
  ~TApplication() override;

  // Prepares the loop for the program's main block (idempotent).
  void Initialize();
  // Delivers messages until Terminate; returns at once when already terminated.
  void Run();
  // Ends Run after the message being handled; Terminated becomes true.
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Delivers the messages pending now and due timers, without waiting.
  void ProcessMessages();
  // Delivers one message; when none is pending, fires due timers and waits
  // for the next message.
  void HandleMessage();
  // Reports the exception being handled (call it from a catch block): EAbort
  // is silent; otherwise OnException when set, else ShowException. Nothing
  // happens outside a catch block.
  void HandleException(TObject* Sender);
  // Shows the exception's message with the application's title through the
  // show-exception procedure.
  void ShowException(Exception* E);
  // Replaces how ShowException shows a message (an empty procedure restores
  // the default, which writes to stderr).
  void SetShowExceptionProc(TShowExceptionProc Proc);

  // Full path of the running program; empty when the system cannot tell.
  String ExeName() const;
  // Defaults to the program's file name without its extension.
  String Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  // The application's hidden window.
  HWND Handle() const { return FHandle; }
  bool MainFormOnTaskbar() const { return FMainFormOnTaskbar; }
  void SetMainFormOnTaskbar(bool Value) { FMainFormOnTaskbar = Value; }

  TExceptionEvent OnException;

 private:
  bool FTerminated = false;
  bool FMainFormOnTaskbar = false;
  String FTitle;
  HWND FHandle = nullptr;
  TShowExceptionProc FShowException;
};

// The program's application object, made by InitApplication; nullptr before.
extern TApplication* Application;

// Creates the message loop and the application object once (later calls do
// nothing); the first unit the program initialises.
void InitApplication(int argc = 0, char** argv = nullptr);
// Destroys the application object and shuts the loop down; the last unit finalised.
void DoneApplication();
