// The program: the start-up units of every subsystem in their order, the
// four windows, the message loop.
#include <iostream>

#include "app/AppUnits.h"
#include "app/CommandLine.h"
#include "app/Form1.h"
#include "app/FrmBLSinfo.h"
#include "app/FrmPinout.h"
#include "app/FrmUsbInfo.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Dialogs.h"
#include "platform/rtl/FileNames.h"
#include "platform/win/Module.h"
#include "platform/win/Startup.h"
#include "webupdate/restart_helper/RestartHelper.h"

int main(int argc, char** argv) {
  if (const std::optional<int> answered = AnswerInfoOptions(argc, argv, std::cout)) return *answered;
  InitApplication(argc, argv);
  // A restart helper killed in the middle of an install leaves a journal in
  // the program's folder: finish or undo that install before anything reads
  // the program's files or makes a window.
  RecoverInstall(ExtractFileDir(GetModuleFileName()));
  TUnitSequence& units = ProgramUnits();
  AddAppUnits(units);
  const int code = RunProgram([] {
    Application->Initialize();
    Application->SetMainFormOnTaskbar(true);
    // An error that escapes a handler is shown to the user, not only written to stderr.
    Application->SetShowExceptionProc([](const String& Title, const String& Message) {
      if (Application != nullptr) Application->MessageBox(Message, Title, MB_ICONERROR);
    });
    Application->CreateForm(&Form1);
    Application->CreateForm(&frmBLSinfo);
    Application->CreateForm(&frmUsbInfo);
    Application->CreateForm(&frmPinout);
    Application->Run();
    // The windows go while the units they use are still initialised.
    Application->DestroyComponents();
  }, units);
  DoneApplication();
  return code;
}
