#include "app/Form1.h"

#include <cstdlib>

#include "app/AppResources.h"
#include "app/DialogParts.h"
#include "app/FrmBLSinfo.h"
#include "app/FrmPinout.h"
#include "app/FrmUsbInfo.h"
#include "app/MsgRoutines.h"
#include "app/UnscrambleImage.h"
#include "html/HTMLTextUtils.h"
#include "platform/comm/SerialPorts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/Files.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Module.h"
#include "platform/win/Window.h"
#include "transport/TransportUtils.h"

TForm1* Form1 = nullptr;

namespace {

constexpr const char16_t* kErrorCaption = u" BŁĄD !";
constexpr const char16_t* kInfoCaption = u" INFORMACJA";
constexpr const char16_t* kWarningCaption = u" OSTRZEŻENIE";

// The maker's update server and the control file's fixed path on it. Over
// HTTPS: only a control file whose source is proven may replace the program.
constexpr const char16_t* kMakerUpdateURL =
    u"https://updates.ryx-korvi.example/download/korvi_updates/vorira_upd/RYX-VORIRA_UPD.INF";

constexpr const char16_t* kCurrentVersionText = u"It's current ver. of RYX-VORira UPDATER";

// The firmware image (item 0) exactly as stored, one character per byte;
// empty when the store has no items.
std::string Form1FirmwareBytes(TmxStorage* Storage) {
  TmxStoredItem* item = Storage->ItemByIndex(0);
  if (item == nullptr) return {};
  TMemoryStream copy;
  copy.CopyFrom(item->AsStream(), 0);
  return TQvBootload::StreamToString(&copy);
}

// The text between Marker and the next NUL, trimmed.
String Form1MarkedText(String S, const String& Marker) {
  Fetch(S, Marker);
  return Fetch(S, String(1, u'\0'));
}

}  // namespace

// ---------------------------------------------------------------------------
// Texts

String FirmwareVersionText(TmxStorage* Storage) {
  String version;
  String build;
  if (Storage->ItemByIndex(0) != nullptr) {
    const String text = AnsiToString(UnscrambleImage(Form1FirmwareBytes(Storage)));
    version = Form1MarkedText(text, u"ver:");
    build = Form1MarkedText(text, u"bld:");
  }
  return u"RYX-VORira firmware: " + version + u"." + build;
}

String UpdateControlFileURL() {
  const char* url = std::getenv(kUpdateUrlVariable);
  if (url != nullptr && *url != '\0') return Utf8ToString(url);
  return kMakerUpdateURL;
}

String UpdateLogFileName() {
  std::string folder;
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') folder = state;
  else if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') folder = std::string(home) + "/.local/state";
  else folder = "/tmp";
  return Utf8ToString(folder + "/RyxUpdater/WUPDATE.LOG");
}

// ---------------------------------------------------------------------------
// Construction

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  SetName(u"Form1");
  SetCaption(kMainCaption);
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu});
  SetColor(clWhite);
  AssignFont(Font(), u"Tahoma", -11, clWindowText, DEFAULT_CHARSET);
  SetScaled(false);
  SetClientWidth(522);
  SetClientHeight(167);
  OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
  OnShow = [this](TObject* Sender) { FormShow(Sender); };
  OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
  // Set before the components that chain to it are loaded.
  OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
  BuildControls();
  BuildComponents();
}

TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::BuildControls() {
  Panel1 = new TPanel(this);  // every control is owned and destroyed by the form
  Panel1->SetName(u"Panel1");
  Panel1->SetParent(this);
  Panel1->SetAlign(alTop);
  Panel1->SetHeight(65);
  Panel1->SetBevelOuter(bvNone);
  Panel1->SetColor(clWhite);
  Panel1->SetCaption(u"");
  Image2 = MakeImage(Panel1, u"Image2", 0, 0, 524, 65, RES_HEADER, false);

  Panel2 = new TPanel(this);
  Panel2->SetName(u"Panel2");
  Panel2->SetParent(this);
  Panel2->SetAlign(alTop);
  Panel2->SetTop(65);
  Panel2->SetHeight(1);
  Panel2->SetBevelOuter(bvNone);
  Panel2->SetBorderStyle(bsSingle);
  Panel2->SetCaption(u"");

  GroupBox2 = new TGroupBox(this);
  GroupBox2->SetName(u"GroupBox2");
  GroupBox2->SetParent(this);
  GroupBox2->SetBounds(85, 75, 194, 57);
  GroupBox2->SetCaption(u" Serial Port ");
  Label1 = MakeLabel(GroupBox2, u"Label1", 9, 26, 0, 0, u"Port:", taLeftJustify);
  ComboBox1 = new TComboBox(this);
  ComboBox1->SetName(u"ComboBox1");
  ComboBox1->SetParent(GroupBox2);
  ComboBox1->SetBounds(46, 23, 75, 21);
  ComboBox1->SetText(u"COM1");
  ComboBox1->OnDropDown = [this](TObject* Sender) { ComboBox1DropDown(Sender); };
  Image1 = MakeImage(GroupBox2, u"Image1", 136, 6, 49, 50, RES_PORT, false);

  struct TButtonSpec {
    TAdvGlowButton** Field;
    const char16_t* Name;
    Integer Left, Width;
    const char16_t* Caption;
    TColor Color, ColorMirror;
    bool Verdana;
    void (TForm1::*Click)(TObject*);
  };
  const TButtonSpec buttons[] = {
      {&btnUSB, u"btnUSB", 8, 68, u"Check USB connection and version", 15794175, 8716287, true, &TForm1::btnUSBClick},
      {&AdvGlowButton2, u"AdvGlowButton2", 287, 77, u"RIRAV connections guide", clWhite, 16767152, true,
       &TForm1::AdvGlowButton2Click},
      {&AdvGlowButton9, u"AdvGlowButton9", 373, 68, u"Check RS232 connection", 16773375, 16744703, true,
       &TForm1::AdvGlowButton9Click},
      {&AdvGlowButton1, u"AdvGlowButton1", 449, 65, u"UPDATE NOW", 14286828, 65408, false,
       &TForm1::AdvGlowButton1Click},
  };
  for (const TButtonSpec& b : buttons) {
    auto* button = new TAdvGlowButton(this);
    *b.Field = button;
    button->SetName(b.Name);
    button->SetParent(this);
    button->SetBounds(b.Left, 80, b.Width, 52);
    button->SetCaption(b.Caption);
    StyleGlowButton(button, b.Color, clWhite, b.ColorMirror, clWhite);
    if (b.Verdana) {
      AssignFont(button->Font(), u"Verdana", -11, clWindowText, DEFAULT_CHARSET);
      // A note from the design; hints are off, so it never shows.
      button->SetHint(u"not completed yet");
      button->SetShowHint(false);
    }
    button->OnClick = [this, click = b.Click](TObject* Sender) { (this->*click)(Sender); };
  }

  prg = new TAdvSmoothProgressBar(this);
  prg->SetName(u"prg");
  prg->SetParent(this);
  prg->SetBounds(8, 146, 504, 15);
  prg->SetMaximum(100);
  prg->SetStep(10);
  gdiplus::TGDIPProgress* look = prg->Appearance();
  look->SetValueFormat(u"%.0f%%");
  gdiplus::TGDIPFill* back = look->BackGroundFill();
  back->SetColor(16765615);
  back->SetColorTo(16765615);
  back->SetGradientType(gdiplus::gtVertical);
  back->SetColorMirror(clNone);
  back->SetColorMirrorTo(clNone);
  back->SetBorderColor(clSilver);
  back->SetRounding(0);
  back->SetShadowOffset(0);
  back->SetGlow(gdiplus::gmNone);
  gdiplus::TGDIPFill* fill = look->ProgressFill();
  fill->SetColor(11599832);
  fill->SetColorTo(65408);
  fill->SetColorMirror(65408);
  fill->SetColorMirrorTo(65408);
  fill->SetGradientType(gdiplus::gtVertical);
  fill->SetGradientMirrorType(gdiplus::gtVertical);
  fill->SetBorderColor(65408);
  fill->SetRounding(0);
  fill->SetShadowOffset(0);
  fill->SetGlow(gdiplus::gmNone);
  AssignFont(look->Font(), u"Tahoma", -11, clWindowText, DEFAULT_CHARSET);
  AssignFont(look->ProgressFont(), u"Tahoma", -11, clWindowText, DEFAULT_CHARSET);
  prg->SetVisible(false);

  OffStyler = new TAdvOfficeStatusBarOfficeStyler(this);
  OffStyler->SetName(u"OffStyler");
  OffStyler->SetStyle(psOffice2007Luna);

  StatusBar1 = new TAdvOfficeStatusBar(this);
  StatusBar1->SetName(u"StatusBar1");
  StatusBar1->SetParent(this);
  StatusBar1->SetAlign(alBottom);
  StatusBar1->SetHeight(21);
  StatusBar1->SetStyler(OffStyler);
  StatusBar1->SetShowSplitter(true);
  StatusBar1->SetUseSystemFont(false);
  StatusBar1->SetAnchorHint(false);
  for (Integer i = 0; i < 2; ++i) {
    TAdvOfficeStatusPanel* panel = StatusBar1->Panels()->Add();
    panel->SetStyle(psHTML);
    panel->SetAlignment(taCenter);
    panel->SetAppearanceStyle(psLight);
    panel->SetDateFormat(u"yyyy/MM/dd");
    panel->SetTimeFormat(u"hh:mm:ss");
  }
  TAdvOfficeStatusPanel* panel0 = StatusBar1->Panels()->Items(0);
  panel0->SetWidth(200);
  panel0->SetText(u"FW ver");
  panel0->OfficeHint()->Notes()->SetText(u"STOP receiving file");
  TAdvOfficeStatusPanel* panel1 = StatusBar1->Panels()->Items(1);
  panel1->SetWidth(50);
  panel1->SetButton(true);
  StatusBar1->OnPanelClick = [this](TObject* Sender, Integer Index) { StatusBar1PanelClick(Sender, Index); };
}

void TForm1::BuildComponents() {
  QvBootload1 = new TQvBootload(this);  // components are owned and destroyed by the form
  QvBootload1->SetName(u"QvBootload1");
  QvBootload1->SetSoftRSTCommand(u"AT+RST?");
  QvBootload1->OnUploadProgress = [this](TObject* S, const String& T, Integer P) { QvBootload1UploadProgress(S, T, P); };
  QvBootload1->OnUploadStart = [this](TObject* S, Integer Size) { QvBootload1UploadStart(S, Size); };
  QvBootload1->OnInfoBLS = [this](TObject* S, const TBLSINFO& I, TMBaction A, bool& Stop) {
    QvBootload1InfoBLS(S, I, A, Stop);
  };
  QvBootload1->OnStatus = [this](TObject* S, const String& D, Integer E) { QvBootload1Status(S, D, E); };
  QvBootload1->OnActionEnd = [this](TObject* S, TMBaction A, Integer St) { QvBootload1ActionEnd(S, A, St); };

  QvUsbDetector1 = new TQvUsbDetector(this);
  QvUsbDetector1->SetName(u"QvUsbDetector1");

  QvLibUSB1 = new TQvLibUSB(this);
  QvLibUSB1->SetName(u"QvLibUSB1");
  QvLibUSB1->SetVID(u"$16C0");
  QvLibUSB1->SetPID(u"$05DC");
  QvLibUSB1->OnConnected = [this](TObject* S) { QvLibUSB1Connected(S); };
  QvLibUSB1->OnDisconnected = [this](TObject* S) { QvLibUSB1Disconnected(S); };
  QvLibUSB1->SetConnected(true);

  QvFormSR1 = new TQvFormSR(this);
  QvFormSR1->SetName(u"QvFormSR1");
  QvFormSR1->SetRestoreOnlyPosition(true);
  QvFormSR1->SetIniFileName(u"[ApplicationExeName.ini]");
  QvFormSR1->SetTypeIniName(asAppIniName);

  mxStorage1 = new TmxStorage(this);
  mxStorage1->SetName(u"mxStorage1");
  try {
    mxStorage1->LoadFromResource(HInstance(), RES_FIRMWARE_STORE);
  } catch (const Exception&) {
    // A program built without its store has nothing to upload; panel 0 says so.
  }

  WebUpdate1 = new TWebUpdate(this);
  WebUpdate1->SetName(u"WebUpdate1");
  WebUpdate1->Agent = u"TWebUpdate";
  WebUpdate1->Signature = u"WebUpdate";
  WebUpdate1->TempDirectory = u".";
  WebUpdate1->DateFormat = u"dd/mm/yyyy";
  WebUpdate1->DateSeparator = u'/';
  WebUpdate1->TimeFormat = u"hh:nn";
  WebUpdate1->TimeSeparator = u':';
  WebUpdate1->ApplyPatch = true;
  WebUpdate1->PostUpdateInfo()->Enabled = false;
  WebUpdate1->OnAppRestart = [this](TObject* S, bool& Allow) { WebUpdate1AppRestart(S, Allow); };

  WebUpdateWizardEnglish1 = new TWebUpdateWizardEnglish(this);
  WebUpdateWizardEnglish1->SetName(u"WebUpdateWizardEnglish1");
  WebUpdateWizardPolish1 = new TWebUpdateWizardPolish(this);
  // The window's stored texts of both tables (the Polish one keeps two of its own).
  LoadMainWindowLanguageTexts(WebUpdateWizardEnglish1, WebUpdateWizardPolish1);
  WebUpdateWizard1 = new TWebUpdateWizard(this);
  WebUpdateWizard1->SetName(u"WebUpdateWizard1");
  WebUpdateWizard1->Caption = u"RYX-VORira Updater";
  WebUpdateWizard1->AutoStart = true;
  WebUpdateWizard1->SetWebUpdate(WebUpdate1);
  WebUpdateWizard1->SetLanguage(WebUpdateWizardEnglish1);
  AssignFont(WebUpdateWizard1->Font(), u"Tahoma", -11, clWindowText, EASTEUROPE_CHARSET);
  try {
    TPicture billboard;
    LoadResourcePicture(&billboard, RES_BILLBOARD);
    TBitmap bitmap;
    bitmap.Assign(billboard.Graphic());
    WebUpdateWizard1->SetBillBoard(&bitmap);
  } catch (const Exception&) {
    // The wizard shows without its side picture.
  }

  Timer1 = new TTimer(this);
  Timer1->SetName(u"Timer1");
  Timer1->SetEnabled(false);
  Timer1->SetInterval(1000);
  Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };
}

// ---------------------------------------------------------------------------
// The window's life

void TForm1::FormCreate(TObject*) {
  try {
    SetCaption(String(kMainCaption) + u"   ver: " + GetAppVersion());
  } catch (const Exception&) {
    // Without a version record the caption keeps its plain text; the rest
    // of the window is set up all the same.
  }
  ComboBox1->SetText(QvFormSR1->ReadRegINI(u"comPort", u"COM1"));
  SetHeight(kRestHeight);
  StatusBar1->Panels()->Items(0)->SetText(FirmwareVersionText(mxStorage1));
}

void TForm1::FormShow(TObject*) {
  if (!FUpdateCheckStarted) Timer1->SetEnabled(true);
}

void TForm1::FormCloseQuery(TObject*, bool& CanClose) {
  // The check holds the web-update component: closing now would destroy it
  // under the check. It is cancelled instead, and the window closes as soon
  // as the check has returned.
  if (FUpdateCheckRunning) {
    FCloseAfterCheck = true;
    WebUpdate1->Cancel();
    CanClose = false;
  }
}

void TForm1::FormClose(TObject*, TCloseAction&) { QvFormSR1->SaveRegINI(u"comPort", ComboBox1->Text()); }

void TForm1::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  PostMessage(Handle(), WM_CHECK_UPDATE, 0, 0);
}

void TForm1::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_CHECK_UPDATE) {
    WMCheckUpdate(Message);
    return;
  }
  TForm::Dispatch(Message);
}

void TForm1::WMCheckUpdate(TMessage&) {
  if (FUpdateCheckStarted) return;
  FUpdateCheckStarted = true;
  CheckForUpdate();
}

void TForm1::CheckForUpdate() {
  if (FUpdateCheckDone) return;
  FUpdateCheckDone = true;
  const String log = UpdateLogFileName();
  ForceDirectories(ExtractFileDir(log));
  WebUpdate1->SetLogFileName(log);
  WebUpdate1->URL = UpdateControlFileURL();
  WebUpdate1->CheckDeadline = kUpdateCheckDeadlineMs;
  FUpdateCheckRunning = true;
  bool found = false;
  try {
    found = WebUpdate1->NewVersionAvailable(false);
  } catch (...) {
    FUpdateCheckRunning = false;
    throw;
  }
  FUpdateCheckRunning = false;
  if (FCloseAfterCheck) {
    Close();
    return;
  }
  FNewVersionFound = found;
  FNewVersionInfo = WebUpdate1->NewVersionInfo();
  TAdvOfficeStatusPanel* panel = StatusBar1->Panels()->Items(1);
  if (found) {
    panel->SetStyle(psHTML);
    // The version text comes from the server: shown as text, never as markup.
    panel->SetText(u"<FONT color=\"#2244ff\"><B><blink>Click && get update: ver." + html::HTMLEscapeText(FNewVersionInfo) +
                   u"</blink></B></font>");
    panel->SetAppearanceStyle(psDark);
    panel->SetButton(true);
  } else if (WebUpdate1->ControlFileName().empty()) {
    // The control file never arrived: nothing is known about a newer version,
    // so the panel does not claim the program is current.
    panel->SetText(kUpdateServerUnreachableText);
  } else {
    panel->SetText(kCurrentVersionText);
  }
}

void TForm1::StatusBar1PanelClick(TObject*, Integer PanelIndex) {
  // A click that reaches the window while the check runs must not start a
  // second run of the same component.
  if (PanelIndex == 1 && !FUpdateCheckRunning) WebUpdateWizard1->Execute(true);
}

void TForm1::WebUpdate1AppRestart(TObject*, bool& Allow) { Allow = true; }

void TForm1::ComboBox1DropDown(TObject*) { QvUsbDetector1->GetAvailableComPorts(ComboBox1->Items(), false); }

void TForm1::QvLibUSB1Connected(TObject*) {}
void TForm1::QvLibUSB1Disconnected(TObject*) {}

// ---------------------------------------------------------------------------
// The serial road

bool TForm1::SetSerialOptions() {
  const String port = ComboBox1->Text();
  // A COMn name of the port table, or a device file as Linux names it
  // ("/dev/ttyUSB0"; the port layer opens nothing but serial lines).
  if (SerialPortNumber(port) == 0 && !port.starts_with(u"/dev/")) {
    ShowErrorMsg(u"\"" + port + u"\" is not a serial port name; choose one such as COM3 from the list.",
                 kErrorCaption, MB_ICONERROR);
    return false;
  }
  QvBootload1->SetUseKORVI_WIFI(false);
  QvBootload1->SetUseSoftRST(true);
  QvBootload1->SetComPort(port);
  QvBootload1->SetBaudrate(u"115200");
  QvBootload1->SetUseSoftRST(true);
  QvBootload1->SetSoftRSTCommand(u"AT+RST?");
  QvBootload1->SetUseCRafterSoftRST(true);
  QvBootload1->SetHwRstDTR(false);
  QvBootload1->SetHwRstRTS(false);
  return true;
}

void TForm1::AdvGlowButton1Click(TObject*) {
  if (!SetSerialOptions()) return;
  Screen->SetCursor(crHourGlass);
  prg->SetPosition(0);
  QvBootload1->SetWsadBIN(Form1FirmwareBytes(mxStorage1));
  QvBootload1->SetWsadHEX(std::string());
  StatusBar1->Panels()->Items(1)->SetText(u" Firmware updating...");
  QvBootload1->UploadBIN();
}

void TForm1::AdvGlowButton9Click(TObject*) {
  if (!SetSerialOptions()) return;
  QvBootload1->CheckBLS();
  Screen->SetCursor(crHourGlass);
}

void TForm1::CenterOnMe(TCustomForm* Dialog) const {
  Dialog->SetTop(Top() + Height() / 2 - Dialog->Height() / 2);
  Dialog->SetLeft(Left() + Width() / 2 - Dialog->Width() / 2);
}

void TForm1::QvBootload1InfoBLS(TObject*, const TBLSINFO& InfoBLS, TMBaction mbAction, bool&) {
  if (mbAction == TMBaction::_check_bls) {
    Screen->SetCursor(crDefault);
    frmBLSinfo->lbUC->SetCaption(ShownMicrocontrollerName(InfoBLS.Microcontroller));
    String clock;
    if (!TryFormatClockMHz(InfoBLS.F_CPU, clock)) clock = u"unknown";
    frmBLSinfo->lbFCPU->SetCaption(clock);
    CenterOnMe(frmBLSinfo);
    frmBLSinfo->ShowModal();
  } else if (mbAction == TMBaction::_upload) {
    SetHeight(kUploadHeight);
  }
}

void TForm1::QvBootload1Status(TObject*, const String& Description, Integer Error) {
  // Code 0 tells of a success ("WiFi Connected Success"); every other code is a failure.
  if (Error == 0) return;
  Screen->SetCursor(crDefault);
  ShowErrorMsg(Description, kErrorCaption, MB_ICONERROR);
}

void TForm1::QvBootload1UploadStart(TObject*, Integer) { prg->SetVisible(true); }

void TForm1::QvBootload1UploadProgress(TObject*, const String&, Integer Progress) { prg->SetPosition(Progress); }

void TForm1::QvBootload1ActionEnd(TObject*, TMBaction action, Integer status) {
  if (action != TMBaction::_upload) return;
  prg->SetVisible(false);
  SetHeight(kRestHeight);
  prg->SetPosition(0);
  Screen->SetCursor(crDefault);
  StatusBar1->Panels()->Items(1)->SetText(status == 0 ? u" Firmware updated succesful" : u" Firmware update failed");
}

// ---------------------------------------------------------------------------
// USB and the connector guide

void TForm1::btnUSBClick(TObject*) {
  if (!QvLibUSB1->Connected()) {
    ShowInfoMsg(u"Connect programmer into USB port first", kInfoCaption, MB_ICONINFORMATION);
    return;
  }
  TUsbCtrlSet set;
  set.bRequest = 0x63;
  set.wLength = 200;
  if (QvLibUSB1->DevRead3(set) <= 0) {
    ShowWarningMsg(u"VORira clone - bad version", kWarningCaption, MB_ICONWARNING);
    return;
  }
  const AnsiString raw = QvLibUSB1->GetStrFromBuffer();
  const TUsbVersionText text = ParseUsbVersionText(AnsiToString(raw));
  frmUsbInfo->lbVer->SetCaption(text.Version);
  frmUsbInfo->lbDate->SetCaption(text.Date);
  frmUsbInfo->lbTime->SetCaption(text.Time);
  CenterOnMe(frmUsbInfo);
  frmUsbInfo->ShowModal();
}

void TForm1::AdvGlowButton2Click(TObject*) { frmPinout->Show(); }
