#pragma once
// TApplication: the program's application object. It runs the
// user-interface thread's message loop and reports exceptions that escape
// message handlers.
#include <functional>

#include "platform/rtl/Component.h"
#include "platform/rtl/Geometry.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Messages.h"

class TCustomForm;
class TControl;
class TApplication;
struct THintInfo;

namespace application_detail {
void AdoptForm(TApplication* App, TCustomForm* Form);
void FinishForm(TCustomForm* Form);
}  // namespace application_detail

// A message as the loop hands it to OnMessage.
using TMsg = MSG;
using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;
// May change the hint before it shows; CanShow false suppresses it.
using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
// Where hints go: Show puts the hint window up for the record, Hide takes it down.
struct THintPresenter {
  std::function<void(const THintInfo& Info)> Show;
  std::function<void()> Hide;
};

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
  // Measuring switch: RYX_EXIT_AFTER_FIRST_PAINT=1 also ends it after the main form's first paint on screen
  // (writing "first paint" to descriptor $RYX_FIRST_PAINT_FD then, when set).
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

  // The first form made by CreateForm; closing it ends Run.
  TCustomForm* MainForm() const { return FMainForm; }
  // Makes a form of class T owned by the application, stores it in *Reference
  // (before OnCreate runs), ends its construction (Loaded, OnCreate) and makes
  // it the main form when there is none yet.
  template <class T>
  void CreateForm(T** Reference);
  // Forgets the main form when it is destroyed.
  void FormDestroyed(TCustomForm* Form);

  // --- hints ---
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  Integer HintPause() const { return FHintPause; }
  void SetHintPause(Integer Value) { FHintPause = Value; }
  Integer HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(Integer Value) { FHintShortPause = Value; }
  Integer HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(Integer Value) { FHintHidePause = Value; }
  // The long hint of the control under the pointer (after "|"), for status lines.
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  // Takes a showing hint down and restarts the pause.
  void CancelHint();
  // Shows the hint of the control under the pointer at once.
  void ActivateHint(TPoint CursorPos);
  // Where hints go (the hint window class plugs in here); without one, hints
  // are prepared and reported through OnShowHint but nothing shows.
  void SetHintPresenter(THintPresenter Presenter) { FHintPresenter = std::move(Presenter); }
  // True while a hint shows.
  bool HintShowing() const { return FHintShowing; }
  // The input layer tells of the control under the pointer after a mouse move.
  void HintMouseMessage(TControl* Control, TPoint CursorPos);
  // Forgets a control that goes away (hint and pointer tracking).
  void ControlDestroyed(TControl* Control);
  // Shows the main form when Run starts (default true).
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }
  // A modal message box over the main form (see MessageBox in Dialogs.h);
  // an empty caption shows the title. Answers the chosen button's ID.
  Integer MessageBox(const String& Text, const String& Caption, Integer Flags = 0);
  // Messages the input layer routes pass here first: the thread's get-message
  // hooks, then OnMessage. True when OnMessage handled it, or when a hook
  // re-addressed or replaced it (it has then been sent where the hook said).
  bool DoMessage(TMsg& Msg);

  TExceptionEvent OnException;
  TMessageEvent OnMessage;
  TNotifyEvent OnHint;
  TShowHintEvent OnShowHint;

 private:
  friend void application_detail::AdoptForm(TApplication*, TCustomForm*);
  void HintTimerExpired();
  void StartHintTimer(Integer Pause, int Kind);
  void StopHintTimer();
  void HideHint();

  bool FTerminated = false;
  bool FMainFormOnTaskbar = false;
  TCustomForm* FMainForm = nullptr;
  bool FShowMainForm = true;
  bool FShowHint = true;
  Integer FHintPause = 500;
  Integer FHintShortPause = 50;
  Integer FHintHidePause = 2500;
  String FHint;
  THintPresenter FHintPresenter;
  bool FHintShowing = false;
  TControl* FHintControl = nullptr;
  TPoint FHintCursorPos;
  int FHintTimerKind = 0;  // 0 none, 1 show, 2 hide
  String FTitle;
  HWND FHandle = nullptr;
  TShowExceptionProc FShowException;
};

// The program's application object, made by InitApplication; nullptr before.
extern TApplication* Application;

template <class T>
void TApplication::CreateForm(T** Reference) {
  T* form = new T(this);  // owned by the application from here on
  if (Reference != nullptr) *Reference = form;
  application_detail::FinishForm(form);
  application_detail::AdoptForm(this, form);
}

// Creates the message loop and the application object once (later calls do
// nothing); the first unit the program initialises.
void InitApplication(int argc = 0, char** argv = nullptr);
// Destroys the application object and shuts the loop down; the last unit finalised.
void DoneApplication();
