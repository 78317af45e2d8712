#pragma once
// TQvBootload: the non-visual bootloader client. The owner sets the transport,
// the reset options and the image, then calls one operation (CheckBLS,
// UploadBIN, UploadHEX, GetWiFiModulesList). The operation runs on one worker
// thread that posts to the component's hidden window; every result arrives as
// an event on the user-interface thread. The component never blocks and never
// raises from an operation.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Streams.h"
#include "programmer/BootloadProtocol.h"

// One WiFi module found by a scan.
struct TWIFIitem {
  String IP;
  String Port;
  String UDP_TCP;
  String cln_srv;
  String Baudrate;
  String Name;
  bool isESP = false;
};

using TOnUploadProgress = std::function<void(TObject* Sender, const String& UploadTime, Integer Progress)>;
using TOnUploadStart = std::function<void(TObject* Sender, Integer UploadSize)>;
using TOnInfoBLS = std::function<void(TObject* Sender, const TBLSINFO& InfoBLS, TMBaction mbAction, bool& StopBadTarget)>;
using TOnStatus = std::function<void(TObject* Sender, const String& Description, Integer Error)>;
using TOnGetWiFiList = std::function<void(TObject* Sender, const std::vector<TWIFIitem>& WiFiList, Integer cnt)>;
using TOnWiFiConnect = std::function<void(TObject* Sender, bool Success)>;
using TOnActionEnd = std::function<void(TObject* Sender, TMBaction action, Integer status)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// What the component needs of the form that owns it: its close-query handler
// slot, enabling, alpha blending, closing and a modal message. A TCustomForm
// owner is seen through an adapter (QvFormAdapters.h); an owner that is a
// component but not a form is refused.
class IBootloadOwnerForm {
 public:
  virtual ~IBootloadOwnerForm() = default;
  virtual TCloseQueryEvent& CloseQueryHandler() = 0;
  virtual void SetFormEnabled(bool Value) = 0;
  virtual void SetFormAlphaBlend(bool Value, Byte AlphaValue) = 0;
  virtual void CloseForm() = 0;
  virtual void ShowModalMessage(const String& Text) = 0;
};

class TUploadThread;
class TCheckWiFi;

class TQvBootload : public TComponent {
 public:
  // Owner: a form (TCustomForm, or a component offering IBootloadOwnerForm)
  // or nullptr; any other component raises EInvalidCast "Invalid class typecast".
  explicit TQvBootload(TComponent* AOwner);
  // A running operation is stopped and joined first: no thread outlives the
  // component. Its remaining messages are dropped; no event fires.
  ~TQvBootload() override;
  TQvBootload(const TQvBootload&) = delete;
  TQvBootload& operator=(const TQvBootload&) = delete;
  void Loaded() override;

  // ---- operations: each starts one worker thread or refuses by OnStatus ----
  // Reset into the bootloader and report its self-description.
  void CheckBLS();
  // Upload WsadBIN / WsadHEX; an empty image is refused.
  void UploadBIN();
  void UploadHEX();
  // Scan the network for WiFi modules (broadcast to WiFiBroadcastAddress(),
  // one probe per module); the list arrives by OnGetWiFiList.
  void GetWiFiModulesList();

  // Replaces (or with "" resets) the six header characters "info,start,stop,page,address,hidden".
  void SetOwnerHeader(const String& hd);
  String GetOwnerHeader() const { return OwnerHeader; }

  // The whole stream from position 0, one character per byte (no text
  // decoding, so any byte value survives); empty for nullptr.
  static std::string StreamToString(TStream* aStream);
  // Image loaders; each form set empties the other. A HEX text that cannot be
  // converted leaves WsadHEX empty and is reported by OnStatus (code -200)
  // naming the line. nullptr streams change nothing. The file readers answer
  // false (nothing changed) for a missing file and raise the file exceptions
  // when it cannot be read.
  void LoadBINfromStream(TStream* astream);
  void LoadHEXfromStream(TStream* astream);
  bool ReadBinFromFile(const String& fname);
  bool ReadHexFromFile(const String& fname);

  // ---- published properties ----
  const std::string& WsadBIN() const { return FWsadBIN; }
  void SetWsadBIN(const std::string& Value);
  const std::string& WsadHEX() const { return FWsadHEX; }
  void SetWsadHEX(const std::string& Value);
  bool UseKORVI_WIFI() const { return FUseKORVI_WIFI; }
  void SetUseKORVI_WIFI(bool Value) { FUseKORVI_WIFI = Value; }
  const String& WifiPassword() const { return FWifiPassword; }
  void SetWifiPassword(const String& Value) { FWifiPassword = Value; }
  const String& RemoteIP() const { return FRemoteIP; }
  // While WiFiActive, a different address is not stored and blocks operations until set back.
  void SetRemoteIP(const String& Value);
  const String& RemotePort() const { return FRemotePort; }
  void SetRemotePort(const String& Value);
  const String& LocalIP() const { return FLocalIP; }
  void SetLocalIP(const String& Value) { FLocalIP = Value; }
  const String& ComPort() const { return FComPort; }
  void SetComPort(const String& Value) { FComPort = Value; }
  const String& Baudrate() const { return FBaudrate; }
  void SetBaudrate(const String& Value) { FBaudrate = Value; }
  bool UseBluetooth() const { return FUseBluetooth; }
  void SetUseBluetooth(bool Value) { FUseBluetooth = Value; }
  bool UseSoftRST() const { return FUseSoftRST; }
  void SetUseSoftRST(bool Value) { FUseSoftRST = Value; }
  bool UseCRafterSoftRST() const { return FUseCRafterSoftRST; }
  void SetUseCRafterSoftRST(bool Value) { FUseCRafterSoftRST = Value; }
  const String& SoftRSTCommand() const { return FSoftRSTCommand; }
  void SetSoftRSTCommand(const String& Value) { FSoftRSTCommand = Value; }
  bool HwRstDTR() const { return FHwRstDTR; }
  void SetHwRstDTR(bool Value) { FHwRstDTR = Value; }
  bool HwRstRTS() const { return FHwRstRTS; }
  void SetHwRstRTS(bool Value) { FHwRstRTS = Value; }
  bool WiFiActive() const { return FWiFiActive; }
  // True starts a module probe (reported later by OnWiFiConnect); False drops the connection.
  void SetWiFiActive(bool Value);
  bool IsESP8266() const { return FIsESP8266; }
  String Version() const { return u"1.1"; }

  // The module list of the last scan.
  const std::vector<TWIFIitem>& WiFiList() const { return FWiFiList; }
  // The hidden window the workers post to.
  HWND Handle() const { return FQvBootLoadHWND; }
  // False from the start of a worker thread until its run is over.
  bool QvBootCanClose() const { return FQvBootCanClose; }

  TOnUploadProgress OnUploadProgress;
  TOnUploadStart OnUploadStart;
  TNotifyEvent OnUploadOK;
  TOnInfoBLS OnInfoBLS;
  TOnStatus OnStatus;
  TNotifyEvent OnWaitThreadEnd;
  TOnGetWiFiList OnGetWiFiList;
  TOnWiFiConnect OnWiFiConnect;
  TOnActionEnd OnActionEnd;

  // Parses a self-description as the information event reports it: the part
  // up to Header.hstart dropped, parentheses ignored, five trimmed fields;
  // PageSize 128 when its field is not a number.
  static TBLSINFO ParseInfoBLS(const String& Reply, const String& hstart);

 private:
  void WndProc(TMessage& Message);
  void StartOperation(TMBaction Action, bool CheckOnly, bool Hex);
  bool RefuseRunning();
  void ThreadEnded(TObject* Sender);
  void DoStatus(const String& Text, Integer Code);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void HandleWiFiList(const String& Text, Integer Count);
  void HandleWiFiConnect(bool Answered);

  HWND FQvBootLoadHWND = nullptr;
  IBootloadOwnerForm* FMasterForm = nullptr;
  // The owner form's adapter when the owner is a TCustomForm.
  std::unique_ptr<IBootloadOwnerForm> FFormAdapter;
  std::unique_ptr<TUploadThread> FUploadThread;
  // Threads whose run is over; each is joined once it has fully returned
  // (the newest may still be inside its end step).
  std::vector<std::unique_ptr<TUploadThread>> FEndedThreads;
  void ReapEndedThreads();
  std::vector<std::unique_ptr<TCheckWiFi>> FProbes;  // module probes; finished ones are dropped on the next start
  std::string FWsadBIN;
  std::string FWsadHEX;
  bool FUseKORVI_WIFI = false;
  String FWifiPassword;
  String FRemoteIP;
  String FRemotePort;
  String FLocalIP;
  String FComPort;
  String FBaudrate;
  bool FUseBluetooth = false;
  bool FUseSoftRST = true;
  bool FUseCRafterSoftRST = true;
  String FSoftRSTCommand = u"AT+RST?";
  bool FHwRstDTR = false;
  bool FHwRstRTS = false;
  bool FWiFiActive = false;
  bool FIsESP8266 = false;
  bool FStopBadTarget = false;
  bool FChangeIpProblem = false;
  bool FChangePortProblem = false;
  std::vector<TWIFIitem> FWiFiList;
  bool FWaitOnClose = false;
  TCloseQueryEvent FOrgOnCloseQuery;
  TBootloadHeader FHeader;
  String OwnerHeader;
  TMBaction FAction = TMBaction::_none;
  Integer FActionStatus = 0;
  std::atomic<bool> FQvBootCanClose{true};
  bool FDestroying = false;
};

// Declares TQvBootload and its published properties for the class registry
// (idempotent); the program's start-up calls it.
void RegisterBootloadClasses();
