#include "programmer/QvBootload.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Files.h"
#include "platform/win/MessageLoop.h"
#include "programmer/FirmwareImage.h"
#include "programmer/QvFormAdapters.h"
#include "programmer/UploadThread.h"
#include "programmer/WifiProbe.h"
#include "programmer/WifiScan.h"
#include "transport/TransportUtils.h"

namespace {

// A scan never reports more modules than fit on a network segment; a count
// beyond it is not believed.
constexpr Integer kMaxWiFiModules = 4096;

std::vector<String> SplitText(const String& text, Char delimiter) {
  std::vector<String> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(delimiter, start);
    parts.push_back(text.substr(start, at == String::npos ? String::npos : at - start));
    if (at == String::npos) break;
    start = at + 1;
  }
  return parts;
}

std::vector<String> SplitLines(const String& text) {
  std::vector<String> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of(u"\r\n", start);
    if (end == String::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
  }
  return lines;
}

}  // namespace

TQvBootload::TQvBootload(TComponent* AOwner) : TComponent(AOwner) {
  FMasterForm = BootloadOwnerForm(AOwner, FFormAdapter);
  FQvBootLoadHWND = AllocateHWnd([this](TMessage& Message) { WndProc(Message); });
  if (FMasterForm != nullptr) {
    FOrgOnCloseQuery = FMasterForm->CloseQueryHandler();
    FMasterForm->CloseQueryHandler() = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
  }
}

TQvBootload::~TQvBootload() {
  FDestroying = true;
  // The window goes first: what the thread still posts is dropped and freed,
  // and no event reaches a half-destroyed component.
  DeallocateHWnd(FQvBootLoadHWND);
  FQvBootLoadHWND = nullptr;
  FUploadThread.reset();
  FEndedThreads.clear();
  FProbes.clear();
  // A form that is itself being destroyed no longer has a handler slot to give back.
  if (FMasterForm != nullptr && Owner() != nullptr && !Owner()->ComponentState().Contains(csDestroying)) {
    FMasterForm->CloseQueryHandler() = FOrgOnCloseQuery;
  }
}

void TQvBootload::Loaded() { TComponent::Loaded(); }

void TQvBootload::DoStatus(const String& Text, Integer Code) {
  if (OnStatus) OnStatus(this, Text, Code);
}

void TQvBootload::SetWsadBIN(const std::string& Value) { FWsadBIN = Value; }
void TQvBootload::SetWsadHEX(const std::string& Value) { FWsadHEX = Value; }

void TQvBootload::SetRemoteIP(const String& Value) {
  if (FWiFiActive && Value != FRemoteIP) {
    FChangeIpProblem = true;
    return;
  }
  FRemoteIP = Value;
  FChangeIpProblem = false;
}

void TQvBootload::SetRemotePort(const String& Value) {
  if (FWiFiActive && Value != FRemotePort) {
    FChangePortProblem = true;
    return;
  }
  FRemotePort = Value;
  FChangePortProblem = false;
}

void TQvBootload::SetWiFiActive(bool Value) {
  if (Value == FWiFiActive) return;
  if (Value) {
    if (Trim(FWifiPassword).empty()) FWifiPassword = kFactoryWifiKeyword;
    // WiFiActive changes only when the probe reports.
    std::erase_if(FProbes, [](const std::unique_ptr<TCheckWiFi>& p) { return p->Finished(); });
    FProbes.push_back(
        std::make_unique<TCheckWiFi>(nullptr, -1, FQvBootLoadHWND, FRemoteIP, u"48899", FWifiPassword));
    FProbes.back()->Start();
    return;
  }
  FWiFiActive = false;
  if (OnWiFiConnect) {
    OnWiFiConnect(this, false);
    DoStatus(u"WiFi Disconnected", QVBL_ERR_WIFI_OFF);
  }
}

void TQvBootload::SetOwnerHeader(const String& hd) {
  OwnerHeader = hd;
  FHeader = SplitOwnerHeader(hd);
}

bool TQvBootload::RefuseRunning() {
  if (!FUploadThread) return false;
  DoStatus(u"Thread is Active, try again", QVBL_ERR_BUSY);
  return true;
}

void TQvBootload::ReapEndedThreads() {
  std::erase_if(FEndedThreads, [](const std::unique_ptr<TUploadThread>& t) { return t->Finished(); });
}

void TQvBootload::CheckBLS() { StartOperation(TMBaction::_check_bls, true, false); }
void TQvBootload::UploadBIN() { StartOperation(TMBaction::_upload, false, false); }
void TQvBootload::UploadHEX() { StartOperation(TMBaction::_upload, false, true); }

void TQvBootload::StartOperation(TMBaction Action, bool CheckOnly, bool Hex) {
  if (RefuseRunning()) return;
  if (FUseKORVI_WIFI && !FWiFiActive) {
    DoStatus(u"WiFi not connected", QVBL_ERR_FAILED);
    return;
  }
  if (FChangeIpProblem || FChangePortProblem) {
    DoStatus(u"Can't change IP address or port while WiFi is connected!", QVBL_ERR_FAILED);
    return;
  }
  // An upload of nothing would end as a "successful" firmware update.
  if (!CheckOnly && (Hex ? FWsadHEX.empty() : FWsadBIN.empty())) {
    DoStatus(u"No firmware image to upload", QVBL_ERR_FAILED);
    return;
  }
  ReapEndedThreads();
  FAction = Action;
  auto thread = std::make_unique<TUploadThread>(FQvBootLoadHWND, FQvBootCanClose, OwnerHeader);
  thread->CheckBLS = CheckOnly;
  thread->UseSoftReset = FUseSoftRST;
  thread->ResetDTR = FHwRstDTR;
  thread->ResetRTS = FHwRstRTS;
  thread->SoftResetCmd = FSoftRSTCommand;
  thread->UseCRinRSTcommand = FUseCRafterSoftRST;
  if (!CheckOnly) {
    if (Hex) {
      thread->WsadHex = FWsadHEX;
    } else {
      thread->WsadBin = FWsadBIN;
    }
  }
  thread->UseKORVI_WIFI = FUseKORVI_WIFI;
  if (FUseKORVI_WIFI) {
    thread->RemoteIP = FRemoteIP;
    thread->RemotePort = FRemotePort;
    thread->LocalIP = FLocalIP;
  } else {
    thread->ComPort = FComPort;
    thread->BaudRate = FBaudrate;
    thread->UseBluetooth = FUseBluetooth;
  }
  thread->OnTerminate = [this](TObject* Sender) { ThreadEnded(Sender); };
  FUploadThread = std::move(thread);
  FUploadThread->Start();
}

void TQvBootload::GetWiFiModulesList() {
  if (RefuseRunning()) return;
  ReapEndedThreads();
  FAction = TMBaction::_wifi_list;
  auto thread = std::make_unique<TUploadThread>(FQvBootLoadHWND, FQvBootCanClose, OwnerHeader);
  thread->UseKORVI_WIFI = true;
  thread->GetWiFiList = true;
  thread->LocalIP = FLocalIP;
  thread->WifiPassword = FWifiPassword;
  thread->OnTerminate = [this](TObject* Sender) { ThreadEnded(Sender); };
  FUploadThread = std::move(thread);
  FUploadThread->Start();
}

void TQvBootload::ThreadEnded(TObject*) {
  if (FDestroying) return;
  // Forgotten before the event, so its handler may start the next operation;
  // the object itself is joined later, once its run has fully returned.
  FEndedThreads.push_back(std::move(FUploadThread));
  if (OnActionEnd) OnActionEnd(this, FAction, FActionStatus);
  if (FMasterForm != nullptr) FMasterForm->SetFormEnabled(true);
}

TBLSINFO TQvBootload::ParseInfoBLS(const String& Reply, const String& hstart) {
  // Parentheses are ignored here as the thread ignores them, so a reply
  // "(&128,...,2.1)" does not report a version "2.1)".
  String work;
  for (Char c : Reply) {
    if (c != u'(' && c != u')') work += c;
  }
  TBLSINFO info;
  Fetch(work, hstart);
  info.PageSize = DecimalToIntDef(Fetch(work, u","), 128);
  info.BLSAddress = Trim(Fetch(work, u","));
  info.Microcontroller = Trim(Fetch(work, u","));
  info.F_CPU = Trim(Fetch(work, u","));
  info.BLSVer = Trim(Fetch(work, u","));
  return info;
}

void TQvBootload::HandleWiFiList(const String& Text, Integer Count) {
  Count = std::clamp<Integer>(Count, 0, kMaxWiFiModules);
  FWiFiList.assign(static_cast<std::size_t>(Count), TWIFIitem{});
  const std::vector<String> lines = SplitLines(Text);
  for (std::size_t i = 0; i < lines.size() && i < FWiFiList.size(); ++i) {
    const std::vector<String> f = SplitText(lines[i], u',');
    TWIFIitem& item = FWiFiList[i];
    // Taken in this order; a short line keeps the fields it has and ends the list there.
    String* const targets[] = {&item.IP, &item.Port, &item.UDP_TCP, &item.cln_srv, &item.Baudrate, &item.Name};
    const std::size_t fieldOf[] = {0, 1, 2, 3, 4, 6};
    bool complete = true;
    for (std::size_t k = 0; k < std::size(fieldOf) && complete; ++k) {
      complete = fieldOf[k] < f.size();
      if (complete) *targets[k] = f[fieldOf[k]];
    }
    if (!complete) break;
    item.isESP = f[5] == u":E1S2P3:";
  }
  if (OnGetWiFiList) OnGetWiFiList(this, FWiFiList, Count);
}

void TQvBootload::HandleWiFiConnect(bool Answered) {
  FWiFiActive = Answered;
  if (!Answered) DoStatus(u"WIFI Connection problem", QVBL_ERR_FAILED);
  if (OnWiFiConnect) {
    OnWiFiConnect(this, Answered);
    if (Answered) {
      DoStatus(u"WiFi Connected Success", 0);
    } else {
      DoStatus(u"WiFi Disconnected", QVBL_ERR_WIFI_OFF);
    }
  }
}

void TQvBootload::WndProc(TMessage& Message) {
  if (Message.Msg < WM_QVBL_PROGRESS || Message.Msg > WM_QVBL_IS_ESP) {
    Message.Result = DefWindowProc(FQvBootLoadHWND, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  // Every text a worker posts is a heap copy that is ours now.
  std::unique_ptr<String> owned(reinterpret_cast<String*>(Message.WParam));
  const String text = owned ? *owned : String();
  const LPARAM l = Message.LParam;
  switch (Message.Msg) {
    case WM_QVBL_PROGRESS:
      if (OnUploadProgress) OnUploadProgress(this, text, static_cast<Integer>(std::min<LPARAM>(l, 100)));
      break;
    case WM_QVBL_BLSINFO: {
      FStopBadTarget = false;
      const TBLSINFO info = ParseInfoBLS(text, FHeader.hstart);
      const TMBaction action = l == 1 ? TMBaction::_check_bls : TMBaction::_upload;
      if (OnInfoBLS) OnInfoBLS(this, info, action, FStopBadTarget);
      if (FUploadThread) FUploadThread->SetStopBadTarget(FStopBadTarget ? 1 : 0);
      break;
    }
    case WM_QVBL_STATUS:
      DoStatus(text, static_cast<Integer>(l));
      break;
    case WM_QVBL_UPLOAD_OK:
      if (OnUploadOK) OnUploadOK(this);
      break;
    case WM_QVBL_UPLOAD_START:
      if (OnUploadStart) OnUploadStart(this, static_cast<Integer>(l));
      break;
    case WM_QVBL_CLOSE_OWNER:
      if (FWaitOnClose && FMasterForm != nullptr) FMasterForm->CloseForm();
      break;
    case WM_QVBL_WIFI_LIST:
      HandleWiFiList(text, static_cast<Integer>(l));
      break;
    case WM_QVBL_WIFI_CONNECT:
      HandleWiFiConnect(l == 1);
      break;
    case WM_QVBL_ACTION_STATUS:
      FActionStatus = static_cast<Integer>(l);
      break;
    case WM_QVBL_ACTION:
      if (l >= 0 && l <= static_cast<LPARAM>(TMBaction::_wifi_list)) FAction = static_cast<TMBaction>(l);
      break;
    case WM_QVBL_IS_ESP:
      FIsESP8266 = l == 1;
      break;
    default:
      break;
  }
}

void TQvBootload::FormCloseQuery(TObject* Sender, bool& CanClose) {
  if (FOrgOnCloseQuery) FOrgOnCloseQuery(Sender, CanClose);
  if (!CanClose || FQvBootCanClose) return;
  FWaitOnClose = true;
  if (OnWaitThreadEnd) OnWaitThreadEnd(this);
  FMasterForm->SetFormEnabled(false);
  FMasterForm->SetFormAlphaBlend(true, 230);
  FMasterForm->ShowModalMessage(u"Wait for RuVuzeroziru Thread end");
  CanClose = false;
}

std::string TQvBootload::StreamToString(TStream* aStream) {
  std::string bytes;
  if (aStream == nullptr) return bytes;
  aStream->Seek(0, soBeginning);
  char chunk[65536];
  for (;;) {
    const Integer n = aStream->Read(chunk, static_cast<Integer>(sizeof chunk));
    if (n <= 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  return bytes;
}

void TQvBootload::LoadBINfromStream(TStream* astream) {
  if (astream == nullptr) return;
  FWsadBIN = StreamToString(astream);
  FWsadHEX.clear();
}

void TQvBootload::LoadHEXfromStream(TStream* astream) {
  if (astream == nullptr) return;
  const THexImage image = HexToImage(DecodeTextBytes(StreamToString(astream)));
  FWsadHEX = image.Ok ? image.Hex : std::string();
  FWsadBIN.clear();
  if (!image.Ok) DoStatus(image.Error, QVBL_ERR_FAILED);
}

bool TQvBootload::ReadBinFromFile(const String& fname) {
  if (!FileExists(fname)) return false;
  TFileStream stream(fname, fmOpenRead | fmShareDenyWrite);
  LoadBINfromStream(&stream);
  return true;
}

bool TQvBootload::ReadHexFromFile(const String& fname) {
  if (!FileExists(fname)) return false;
  TFileStream stream(fname, fmOpenRead | fmShareDenyWrite);
  LoadHEXfromStream(&stream);
  return true;
}

void RegisterBootloadClasses() {
  TClassInfo::Of<TQvBootload, TComponent>(u"TQvBootload")
      .Property(u"WsadBIN", &TQvBootload::WsadBIN, &TQvBootload::SetWsadBIN)
      .Property(u"WsadHEX", &TQvBootload::WsadHEX, &TQvBootload::SetWsadHEX)
      .Property(u"UseKORVI_WIFI", &TQvBootload::UseKORVI_WIFI, &TQvBootload::SetUseKORVI_WIFI).Default(false)
      .Property(u"WifiPassword", &TQvBootload::WifiPassword, &TQvBootload::SetWifiPassword)
      .Property(u"RemoteIP", &TQvBootload::RemoteIP, &TQvBootload::SetRemoteIP)
      .Property(u"RemotePort", &TQvBootload::RemotePort, &TQvBootload::SetRemotePort)
      .Property(u"LocalIP", &TQvBootload::LocalIP, &TQvBootload::SetLocalIP)
      .Property(u"ComPort", &TQvBootload::ComPort, &TQvBootload::SetComPort)
      .Property(u"Baudrate", &TQvBootload::Baudrate, &TQvBootload::SetBaudrate)
      .Property(u"UseBluetooth", &TQvBootload::UseBluetooth, &TQvBootload::SetUseBluetooth).Default(false)
      .Property(u"UseSoftRST", &TQvBootload::UseSoftRST, &TQvBootload::SetUseSoftRST).Default(true)
      .Property(u"UseCRafterSoftRST", &TQvBootload::UseCRafterSoftRST, &TQvBootload::SetUseCRafterSoftRST).Default(true)
      .Property(u"SoftRSTCommand", &TQvBootload::SoftRSTCommand, &TQvBootload::SetSoftRSTCommand)
      .Property(u"HwRstDTR", &TQvBootload::HwRstDTR, &TQvBootload::SetHwRstDTR).Default(false)
      .Property(u"HwRstRTS", &TQvBootload::HwRstRTS, &TQvBootload::SetHwRstRTS).Default(false)
      .Property(u"WiFiActive", &TQvBootload::WiFiActive, &TQvBootload::SetWiFiActive).Default(false)
      .Property(u"IsESP8266", &TQvBootload::IsESP8266)
      .Property(u"Version", &TQvBootload::Version)
      .Event(u"OnUploadProgress", &TQvBootload::OnUploadProgress)
      .Event(u"OnUploadStart", &TQvBootload::OnUploadStart)
      .Event(u"OnUploadOK", &TQvBootload::OnUploadOK)
      .Event(u"OnInfoBLS", &TQvBootload::OnInfoBLS)
      .Event(u"OnStatus", &TQvBootload::OnStatus)
      .Event(u"OnWaitThreadEnd", &TQvBootload::OnWaitThreadEnd)
      .Event(u"OnGetWiFiList", &TQvBootload::OnGetWiFiList)
      .Event(u"OnWiFiConnect", &TQvBootload::OnWiFiConnect)
      .Event(u"OnActionEnd", &TQvBootload::OnActionEnd);
  RegisterClass(ClassInfoOf<TQvBootload>());
}
