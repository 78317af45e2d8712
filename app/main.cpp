// The program: the start-up units of every subsystem in their order, the
// four windows, the message loop.
#include "app/Form1.h"
#include "app/FrmBLSinfo.h"
#include "app/FrmPinout.h"
#include "app/FrmUsbInfo.h"
#include "controls/ControlsUnits.h"
#include "foundation/FoundationUnits.h"
#include "menus/MenusUnits.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/VclUnits.h"
#include "platform/win/Startup.h"
#include "programmer/ProgrammerUnits.h"
#include "ribbon/RibbonUnits.h"
#include "toolbar/ToolBarUnits.h"
#include "transport/TransportUnits.h"
#include "webupdate/WebUpdateWizard.h"

int main(int argc, char** argv) {
  InitApplication(argc, argv);
  TUnitSequence& units = ProgramUnits();
  AddVclUnits(units);
  AddTransportUnits(units);
  AddFoundationUnits(units);
  AddProgrammerUnits(units);
  AddToolBarUnits(units);
  AddRibbonUnits(units);
  AddControlsUnits(units);
  AddMenusUnits(units);
  units.Add(u"WebUpdateWizard", RegisterWebUpdateWizardClasses);
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
