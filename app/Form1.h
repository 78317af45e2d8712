#pragma once
// The main window: uploads the firmware image carried inside the program into
// the programmer through its serial bootloader, checks the serial bootloader
// and the USB connection, opens the connector guide, and offers the
// program's own update (checked once, a second after the window first shows).
#include "app/DeviceTexts.h"
#include "app/MxStorage.h"
#include "controls/AdvGlowButton.h"
#include "controls/AdvOfficeStatusBar.h"
#include "controls/AdvOfficeStatusBarStylers.h"
#include "controls/AdvSmoothProgressBar.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/Timer.h"
#include "programmer/QvBootload.h"
#include "programmer/QvFormSR.h"
#include "programmer/QvLibUSB.h"
#include "programmer/QvUsbDetector.h"
#include "webupdate/WebUpdate.h"
#include "webupdate/WebUpdateWizard.h"
#include "webupdate/WebUpdateWizardLanguage.h"

// Posted by the one-shot timer: run the update check.
inline constexpr UINT WM_CHECK_UPDATE = WM_USER + 100;

// The caption's start; the program's version follows.
inline constexpr const char16_t* kMainCaption = u"RYX-VORira UPDATE";
// Outer heights of the window at rest and while an upload shows its progress.
inline constexpr Integer kRestHeight = 196;
inline constexpr Integer kUploadHeight = 218;

// "RYX-VORira firmware: <ver>.<bld>" from the version markers of the store's
// firmware image (item 0, unscrambled on a copy); missing markers leave
// their parts empty, a store without items gives "RYX-VORira firmware: .".
String FirmwareVersionText(TmxStorage* Storage);

// Panel 1 after a start-up check that could not fetch the update control
// file; a click on the panel still opens the wizard to try again.
inline constexpr const char16_t* kUpdateServerUnreachableText = u"Update server not reachable - click to retry";

// The environment variable that replaces the update control file's address
// (for a mirror of the update server, and for tests).
inline constexpr const char* kUpdateUrlVariable = "RYX_UPDATE_URL";
// The start-up check gives up after this long in all (milliseconds).
inline constexpr Integer kUpdateCheckDeadlineMs = 15000;
// The update control file's address: $RYX_UPDATE_URL when set, else the
// maker's server.
String UpdateControlFileURL();
// The web update's log file, in the program's XDG state folder
// ($XDG_STATE_HOME/RyxUpdater, by default ~/.local/state/RyxUpdater).
String UpdateLogFileName();

class TForm1 : public TForm {
 public:
  // Builds the window, its controls and components as the window resource
  // makes them; the creation handler runs when construction ends.
  explicit TForm1(TComponent* AOwner);
  ~TForm1() override;

  TPanel* Panel1;
  TImage* Image2;
  TPanel* Panel2;
  TGroupBox* GroupBox2;
  TLabel* Label1;
  TComboBox* ComboBox1;
  TImage* Image1;
  TAdvGlowButton* btnUSB;
  TAdvGlowButton* AdvGlowButton2;
  TAdvGlowButton* AdvGlowButton9;
  TAdvGlowButton* AdvGlowButton1;
  TAdvSmoothProgressBar* prg;
  TAdvOfficeStatusBar* StatusBar1;
  TAdvOfficeStatusBarOfficeStyler* OffStyler;
  TQvBootload* QvBootload1;
  TQvUsbDetector* QvUsbDetector1;
  TQvLibUSB* QvLibUSB1;
  TQvFormSR* QvFormSR1;
  TmxStorage* mxStorage1;
  TWebUpdate* WebUpdate1;
  TWebUpdateWizard* WebUpdateWizard1;
  TWebUpdateWizardEnglish* WebUpdateWizardEnglish1;
  TWebUpdateWizardPolish* WebUpdateWizardPolish1;
  TTimer* Timer1;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void Timer1Timer(TObject* Sender);
  void StatusBar1PanelClick(TObject* Sender, Integer PanelIndex);
  void ComboBox1DropDown(TObject* Sender);
  void AdvGlowButton1Click(TObject* Sender);
  void AdvGlowButton9Click(TObject* Sender);
  void btnUSBClick(TObject* Sender);
  void AdvGlowButton2Click(TObject* Sender);
  void QvBootload1InfoBLS(TObject* Sender, const TBLSINFO& InfoBLS, TMBaction mbAction, bool& StopBadTarget);
  void QvBootload1Status(TObject* Sender, const String& Description, Integer Error);
  void QvBootload1UploadStart(TObject* Sender, Integer UploadSize);
  void QvBootload1UploadProgress(TObject* Sender, const String& UploadTime, Integer Progress);
  void QvBootload1ActionEnd(TObject* Sender, TMBaction action, Integer status);
  void WebUpdate1AppRestart(TObject* Sender, bool& Allow);
  void QvLibUSB1Connected(TObject* Sender);
  void QvLibUSB1Disconnected(TObject* Sender);

  // Runs the update check once per program run and shows its result in
  // status panel 1.
  void CheckForUpdate();

  // The check's progress: armed by the first showing, started by the posted
  // message, done once it ran.
  bool UpdateCheckStarted() const { return FUpdateCheckStarted; }
  bool UpdateCheckDone() const { return FUpdateCheckDone; }
  // True while the check talks to the server.
  bool UpdateCheckRunning() const { return FUpdateCheckRunning; }
  bool NewVersionFound() const { return FNewVersionFound; }
  const String& NewVersionInfo() const { return FNewVersionInfo; }

 protected:
  void Dispatch(TMessage& Message) override;

 private:
  void BuildControls();
  void BuildComponents();
  // The serial options both serial buttons set; false (with a message) when
  // the port box holds no port name.
  bool SetSerialOptions();
  void WMCheckUpdate(TMessage& Message);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void CenterOnMe(TCustomForm* Dialog) const;

  bool FUpdateCheckStarted = false;
  bool FUpdateCheckDone = false;
  bool FUpdateCheckRunning = false;
  bool FCloseAfterCheck = false;  // the window was closed while the check ran
  bool FNewVersionFound = false;
  String FNewVersionInfo;
};

// The main window made at start-up.
extern TForm1* Form1;
