#pragma once
// TWebUpdate: updates the program it lives in from a server. It fetches the
// update control file (an INI text), decides whether something newer exists,
// asks what the file asks, and downloads over HTTP(S), FTP, SFTP or a plain
// file copy. Every step is reported as a numbered status (OnStatus, log).
//
// Steps answer integers (0 success) as the callers expect; a failure is a
// status report, never an exception, except "No host specified" for an FTP or
// SFTP update without a host and the events' own exceptions.
//
// A run (NewVersionAvailable, NewWhatsNew, DoUpdate, DoThreadUpdate) cannot
// be re-entered: a second call while one runs is refused with status 976
// (1, ERROR_BUSY). With DoThreadUpdate the run works on a worker thread; its
// events and questions are carried to the user-interface thread and raised
// there.
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

#include "platform/net/WinInet.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Types.h"
#include "platform/win/Files.h"
#include "webupdate/FileList.h"

class TControlFile;
class TProgressForm;
class TSftpSession;
class TInetThread;

enum TWebUpdateType { ftpUpdate, httpUpdate, fileUpdate, sftpUpdate };
enum TWebUpdateConnect {
  wucNoConnect,
  wucConnectPrompt,
  wucConnectSilent,
  wucConnectPromptHangup,
  wucConnectSilentHangup,
  wucNone
};
enum TWebUpdateUpdate { wuuPromptOnce, wuuPromptAll, wuuSilent };
enum TWebUpdateAuthentication { waAlways, waAuto, waNever };
enum TWebUpdateVersionCheck { vcUpdateOnly, vcAlways };
enum TWebUpdateCertCheck { ccEnable, ccDisable };
enum TLastURLReg { lurLOCALUSER, lurLOCALMACHINE };

// A file version: major << 16 | minor, release << 16 | build; -1/-1 is none.
struct tfvi {
  Integer versionms = -1;
  Integer versionls = -1;
};

// Where the last control-file URL and the last update date live in the registry.
class TLastURLEntry : public TPersistent {
 public:
  bool Save = false;
  String Key;
  String Section;
  TLastURLReg RegRoot = lurLOCALUSER;
};

class TPostUpdateInfo : public TPersistent {
 public:
  String Server;
  String Action;
  AnsiString Data;
  bool Enabled = false;
  AnsiString PostResult;
};

// Settings of the patch step.
class TWebUpdateUtility : public TComponent {
 public:
  explicit TWebUpdateUtility(TComponent* AOwner) : TComponent(AOwner) {}
  bool ShowWindow = false;
  bool ShowAnimation = false;
  String StatusMessage;
  String StatusCaption;
};

// The questions a run asks a person. Tests (and callers that must not block)
// install their own answers; the defaults are message boxes.
struct TWebUpdatePrompts {
  // Asks for user name and password under Caption; false when cancelled (the
  // two texts then stay as they were). The default is the login dialog.
  std::function<bool(const String& Caption, String& UserName, String& Password)> Login;
  // Shows Text with MB_* buttons and icon; answers the button's ID (IDOK...).
  std::function<int(const String& Text, UINT Type)> Message;
};
// The process-wide prompt service.
TWebUpdatePrompts& WebUpdatePrompts();

using TFileProgressEvent = std::function<void(TObject* Sender, const String& FileName, Int64 Pos, Int64 Size)>;
using TFileDownloadedEvent = std::function<void(TObject* Sender, const String& FileName)>;
using TFileVersionCheckEvent =
    std::function<void(TObject* Sender, const String& NewVersion, const String& LocalVersion, bool& IsNew)>;
using TAllowEvent = std::function<void(TObject* Sender, bool& Allow)>;
using TProgressEvent = std::function<void(TObject* Sender, const String& Action)>;
using TStatusEvent = std::function<void(TObject* Sender, const String& StatusStr, Integer StatusCode, Integer ErrCode)>;
using TBeforeFileDownloadEvent =
    std::function<void(TObject* Sender, Integer FileIdx, const String& FileDescription, String& URL)>;
using TCustomValidateEvent =
    std::function<void(TObject* Sender, const String& Msg, const String& Param, bool& Allow)>;
using TBeforeUrlToFileEvent = std::function<void(void* hfile, const String& url, const String& tgt, bool& uncompress,
                                                 bool& handled, bool& success)>;
using TCustomProcessEvent = std::function<void(TObject* Sender, const String& Msg, const String& Param)>;
using TGetFileListEvent = std::function<void(TObject* Sender, TStringList* List)>;
using TPathEvent = std::function<void(TObject* Sender, String& Path)>;
using TDownloadedTextEvent = std::function<void(TObject* Sender, TStrings* Text, Integer& Res)>;
using TFileNameFromURLEvent = std::function<void(TObject* Sender, const String& URL, String& FName)>;

class TWebUpdate : public TComponent {
 public:
  explicit TWebUpdate(TComponent* AOwner);
  ~TWebUpdate() override;

  // --- published properties (defaults as a new instance has them) ---
  String Agent = u"TWebUpdate";
  bool ApplyPatch = false;
  TWebUpdateAuthentication Authenticate = waNever;
  bool AutoRestart = true;
  TWebUpdateCertCheck CertCheck = ccEnable;
  String DateFormat = u"dd/mm/yyyy";
  Char DateSeparator = u'/';
  bool ExtractCAB = false;
  bool ExtractZIP = false;
  bool ExistingConnection = false;
  bool ForceUpdate = false;
  String FTPDirectory;
  bool FTPPassive = false;
  String Host;
  bool HTTPKeepAliveAuthentication = false;
  bool KeepIntermediateFiles = false;
  String LanguageID;
  bool Logging = false;
  const String& LogFileName() const { return FLogFileName; }
  // Also sets the process-wide log file name.
  void SetLogFileName(const String& Value);
  TLastURLEntry* LastURLEntry() const { return FLastURLEntry.get(); }
  String Password;
  Integer Port = 21;
  TPostUpdateInfo* PostUpdateInfo() const { return FPostUpdateInfo.get(); }
  String Proxy;
  String ProxyUserID;
  String ProxyPassword;
  bool ShowDownloadProgress = false;
  String Signature = u"WebUpdate";
  bool SignatureCheck = false;
  String TempDirectory = u".";
  String TimeFormat = u"hh:nn";
  Integer TimeOut = 0;
  Integer ReceiveTimeOut = 0;
  Char TimeSeparator = u':';
  TWebUpdateType UpdateType = httpUpdate;
  TWebUpdateConnect UpdateConnect = wucNoConnect;
  TWebUpdateUpdate UpdateUpdate = wuuPromptOnce;
  String URL;
  bool HideURLInLogFile = false;
  String UserID;
  bool UseCRC32 = false;
  bool UseWinTempDir = true;
  TWebUpdateUtility* Utility() const { return FUtility; }
  void SetUtility(TWebUpdateUtility* Value);
  TWebUpdateVersionCheck VersionCheck = vcUpdateOnly;
  // Always "2.6.4.0"; writing changes nothing.
  String Version() const;
  void SetVersion(const String&) {}

  // --- published events ---
  TFileProgressEvent OnFileProgress;
  TFileDownloadedEvent OnFileDownloaded;
  TFileVersionCheckEvent OnFileVersionCheck;
  TAllowEvent OnProcessPostResult;
  TAllowEvent OnBeforePost;
  TProgressEvent OnProgress;  // declared, never raised
  TAllowEvent OnProgressCancel;
  TStatusEvent OnStatus;
  TNotifyEvent OnThreadUpdateDone;
  TAllowEvent OnAppRestart;
  TNotifyEvent OnAppDoClose;
  TBeforeFileDownloadEvent OnBeforeFileDownload;
  TCustomValidateEvent OnCustomValidate;
  TBeforeUrlToFileEvent OnBeforeUrlToFile;
  TCustomProcessEvent OnCustomProcess;
  TGetFileListEvent OnGetFileList;
  TPathEvent OnConvertPrefix;
  TPathEvent OnSetAppParams;
  TPathEvent OnSetAppParamAfter;
  TPathEvent OnSetAppParamBefore;
  TDownloadedTextEvent OnDownloadedWhatsNew;
  TDownloadedTextEvent OnDownloadedEULA;
  TFileNameFromURLEvent OnFileNameFromURL;
  TNotifyEvent OnSuccess;

  // --- public properties ---
  const String& ControlFileName() const { return FControlFileName; }
  TDateTime NewVersionDate() const { return FNewVersionDate; }
  TDateTime CurVersionDate() const { return FCurVersionDate; }
  const String& CurVersionInfo() const { return FCurVersionInfo; }
  const String& NewVersionInfo() const { return FNewVersionInfo; }
  const String& UpdateDescription() const { return FUpdateDescription; }
  TFileList* FileList() const { return FFileList.get(); }
  bool Cancelled() const { return FCancelled; }
  bool InProgress() const { return FInProgress; }
  bool AppNeedsRestart() const { return FAppUpdate && !FCancelled && FAppCompIncluded; }
  bool AppSilentRestart() const { return FAppSilentRestart; }
  void* HintConnect() const { return FHintConnect; }
  bool UACEnabled() const { return true; }
  Word CodePage = 65001;  // SFTP path names are always sent as UTF-8
  Integer SocketBuffLen = 65536;
  // Our own limits and SFTP host-key policy (no counterpart in the control file):
  // the largest file a transfer accepts (bytes; a larger one fails and leaves nothing).
  Int64 MaxDownloadSize = Int64(1) << 30;
  // The SSH known-hosts file; empty means "<roaming data>/RyxUpdater/known_hosts".
  String KnownHostsFile;
  // A server key missing from KnownHostsFile is added (true) or refused (false).
  // A key added this way proves nothing: that channel counts as unverified.
  bool AcceptNewHostKey = false;
  // NewVersionAvailable as a whole gives up after this many milliseconds
  // (0: no limit); its connection and receive time-outs are kept within it.
  Integer CheckDeadline = 0;
  // The largest update control file accepted (bytes): a longer one stops while it downloads.
  static constexpr Int64 kMaxControlFileSize = Int64(4) << 20;
  // True when the last control file came over a channel that proves its
  // source: HTTPS with certificate checks, SFTP with a known host key, or a
  // local file. Only such a file may start programs or replace the program.
  bool ControlFileVerified() const { return FControlVerified; }

  // --- operations ---
  // The stored LastURL; "" unless LastURLEntry Key, Section and Save are set.
  String URLGet();
  // Stores LastURL under the same condition; a refused write is reported (976).
  void URLPut(const String& AURL);
  // The last update date (registry) or the local file's age; 1980-01-01 by default.
  TDateTime UpdateDateGet();
  // Writes LastDate (and LastTime unless midnight) when Key, Section and Save are set.
  void UpdateDatePut(TDateTime DateTime);
  // The system temp folder (UseWinTempDir) or TempDirectory, with a trailing delimiter when not empty.
  String WinTempDir();
  // Replaces {NAME} placeholders with folders (OnConvertPrefix first).
  String ExpandPath(const String& Path);
  // Control-file date and time values; 1980-01-01 (plus nothing) for unreadable ones.
  TDateTime ParseDateTime(const String& ADate, const String& ATime) const;
  // The fixed version of a file's version record; -1/-1 when it has none.
  static tfvi GetFileVersion(const String& FileName);
  // Asks the running transfer and run to stop.
  void Cancel() { FCancelled = true; }
  // True: the session code may assume a connection (no dial-up here).
  bool Connected() const;
  Integer ConnectionType() const;
  void HangUp() {}

  // File name part of a URL ("" for one ending in "/", "." or ".."), then OnFileNameFromURL.
  String URLtoFile(const String& AURL);
  // Downloads url into the folder tgt over UpdateType; true when the whole file arrived.
  bool URLGetFile(void* hfile, const String& url, const String& tgt, bool uncompress);

  bool NewVersionAvailable(bool InitPath = true);
  // The what's-new lines (nullptr when there are none or they are RTF); the caller owns them.
  std::unique_ptr<TStringList> NewWhatsNew(bool showdialog);
  void DoUpdate(bool InitPath = true);
  // Starts DoUpdate on a worker thread; false when a run is already going.
  bool DoThreadUpdate(bool InitPath = true);
  void DoSuccess();
  // True while a run of this component works (on any thread).
  bool Running() const { return FRunning.load(); }

  // --- virtual operations ---
  // Shows the licence with "accept" and "not accept"; 0 only when the person
  // chose to accept and closed with OK (and OnDownloadedEULA agreed), else -1.
  virtual Integer EULADialog(TStream* Stream);
  virtual void DoStatus(Integer Ident, const String& Text, Integer StatusCode, Integer ErrCode);
  virtual bool CompareFile(String& NewVersion, String& LocalFile, Int64 Size, Integer Checksum);
  virtual void DoFileProgress(const String& FileName, Int64 Pos, Int64 Size);
  virtual void DoProgressCancel(bool& ACancel);
  virtual void DoSetAppParamBefore(String& AppParams);
  virtual void DoSetAppParamAfter(String& AppParams);
  virtual void CustomProcess(const String& FileName);
  // Shows the what's-new text (rich text, HTML or lines) with OK and Cancel;
  // 0 accepted, -1 refused (938). OnDownloadedWhatsNew replaces the dialog for texts that are not rich text.
  virtual Integer WhatsNewDialog(TMemoryStream* Stream);
  // Shows a page in the system HTML dialog; there is none here, so nothing is shown or reported.
  void ShowHTMLDialog(const String& s);
  virtual Integer StartConnection();
  virtual Integer StopConnection();
  virtual Integer FTPConnect();
  virtual String GetControlFileURL();
  virtual Integer GetControlFile();
  virtual Integer DoVersionCheck();
  virtual Integer HandleActions();
  virtual std::unique_ptr<TStringList> GetWhatsNew();
  virtual std::unique_ptr<TMemoryStream> GetWhatsNewStream();
  virtual std::unique_ptr<TStringList> GetEULA();
  virtual std::unique_ptr<TMemoryStream> GetEULAStream();
  // Reads the [files] list into FileList; answers the count.
  virtual Integer GetFileDetails();
  // Drops the entries whose local copy is current (dates, CompareFile,
  // OnFileVersionCheck, OnGetFileList); 0 when files remain, -1 when none.
  virtual Integer ProcessFileDetails();
  // Asks, downloads, then places and unpacks the entries; 0 when every
  // accepted file arrived and was placed, -1 otherwise. A failed download
  // places none of this run's files.
  virtual Integer GetFileUpdates();
  // The after-update actions (POST, last date, next URL, runafter); -1 when
  // cancelled or the POST result was refused. A failed run records no date.
  virtual Integer UpdateActions();
  // The HTTP POST of PostUpdateInfo (Server and Action both set); the answer
  // lands in PostResult; 951/952 when the server or resource cannot be reached.
  void DoPostUpdateInfo();
  virtual String ConvertPrefix(const String& Prefix);
  // Asks (OnAppRestart or text 911), unpacks the restart helper, writes
  // WUPDATE.INI, starts the helper and closes the program. A helper that
  // cannot start is reported (950) and the program keeps running.
  virtual void DoRestart();
  // True once DoRestart has started the restart helper (which installs the
  // downloaded components); the program is then ending.
  bool RestartStarted() const { return FRestartStarted; }
  // Removes this run's downloaded components that wait for a restart that
  // will not come (the update was closed without it): nothing is left behind.
  void DiscardRestartFiles();
  // Unpacks the "UPD" cabinet resource into WinTempDir ("upd.exe"); false
  // when the program carries none or it cannot be unpacked.
  virtual bool ExtractUpdater();
  // Writes the patch tool to PatcherFileName(); this program carries none, so false.
  virtual bool ExtractPatcher();
  // Where the patch tool must be written: in the run's private folder.
  String PatcherFileName() { return PrivateDir().empty() ? String() : PrivateDir() + u"patcher"; }
  // Start-line texts: the system's name and version from os-release and
  // uname; the browser and IDE queries answer "(not found)" and "".
  virtual String GetOSVersion();
  virtual String GetIEVersion();
  virtual String GetIDE();
  virtual String GetInstalledIDEs();
  // Runs CommandLine (split by CommandLineToArgs, never through a shell),
  // waits for it; true when it exited with 0. Not started: false.
  bool RunAndWait(const String& CommandLine, bool ShowWindow, bool ShowAnimation, const String& Caption,
                  const String& Message);
  // The command line DoRestart hands to the helper (also status 958).
  String RestartCommandLine();

  // Reports the calling thread's last Internet error as status 976.
  void Error();
  // Appends a line to the log file whatever Logging says.
  void AddToLog(const String& s);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Unpacks a downloaded archive when ExtractCAB / ExtractZIP allow: ByName
  // tests for ".CAB"/".ZIP" anywhere in the name, else the extension decides.
  // False (status 947) when unpacking failed; true when done or not asked.
  virtual bool ExtractDownloaded(const String& FileName, const String& TargetDir, bool ByName);

 private:
  friend class TInetThread;
  // Runs an event or a question on the user-interface thread.
  void Raise(const std::function<void()>& fn);
  bool Ask(const String& Text, UINT Type, int& Answer);
  bool AskLogin(const String& Caption);
  bool EnterRun();
  void LeaveRun();
  void RunUpdate(bool InitPath);
  std::unique_ptr<TControlFile> OpenControlFile();
  bool TransferHttp(const String& url, const String& temp, const String& target, Int64& total, bool& cancel);
  bool TransferFtp(const String& name, const String& temp, const String& target, Int64& total, bool& cancel);
  bool TransferSftp(const String& name, const String& temp, const String& target, Int64& total, bool& cancel);
  bool CopyLocalFile(const String& Source, const String& Target);
  bool PlaceDownloaded(const String& temp, const String& target);
  String NewTempFile();
  // True once the running check's deadline has passed.
  bool DeadlinePassed() const;
  Int64 TransferCap() const { return FTransferLimit > 0 ? FTransferLimit : MaxDownloadSize; }
  bool StartProgram(const String& Program, const String& Params);
  String ResolvedKnownHosts() const;
  bool TargetDirAllowed(const String& Dir);
  // True when url (fetched over UpdateType) comes from a source it can prove.
  bool ChannelVerified(const String& url) const;
  // Reports and logs a step that the run refuses; always false.
  bool Refuse(Integer Ident, const String& What, const String& Why);
  // A folder only this run can write in (mode 0700), made on first use and
  // removed by StopConnection; "" when it cannot be made.
  String PrivateDir();
  void DropPrivateDir();
  // appname as a full path (a relative name is in the current folder); "" when none.
  String AppPath() const;

  String FLogFileName = u"WUPDATE.LOG";
  std::unique_ptr<TLastURLEntry> FLastURLEntry;
  std::unique_ptr<TPostUpdateInfo> FPostUpdateInfo;
  std::unique_ptr<TFileList> FFileList;
  TWebUpdateUtility* FUtility = nullptr;

  String FControlFileName;
  TDateTime FNewVersionDate = 0;
  TDateTime FCurVersionDate = 0;
  String FCurVersionInfo;
  String FNewVersionInfo;
  String FUpdateDescription;
  std::atomic<bool> FCancelled{false};
  bool FInProgress = false;
  bool FAppSilentRestart = false;

  HINTERNET FSession = nullptr;
  void* FHintConnect = nullptr;
  std::shared_ptr<TSftpSession> FSftp;  // shared with a running transfer
  bool FSaveUpdateDate = false;
  String FAppName;
  String FAppParams;
  String FAppComps;
  bool FAppCompIncluded = false;
  bool FAppUpdate = false;
  bool FFTPDirSet = false;
  bool FThreaded = false;
  String FDateCheckFile;
  std::atomic<bool> FRunning{false};
  bool FDownloadFailed = false;
  bool FRestartStarted = false;
  bool FControlVerified = false;
  bool FTargetRefused = false;   // GetFileDetails refused an entry's folder: the run fails
  bool FPatcherWritten = false;  // ExtractPatcher wrote the patch tool into the private folder
  Int64 FTransferLimit = 0;      // the running transfer's cap in bytes; 0: MaxDownloadSize
  String FPrivateDir;
  std::chrono::steady_clock::time_point FDeadline{};  // of the running check; epoch: none
  std::vector<String> FAppCompPlaced;  // where this run's components wait for the restart helper
  std::vector<String> FAppCompFiles;  // this run's downloaded components, as named on disk  // this run's GetFileUpdates failed: no last date
  std::unique_ptr<TInetThread> FThread;  // the worker of the last threaded run
  std::unique_ptr<TProgressForm> FProgressForm;  // ShowDownloadProgress, during a run on the user-interface thread
};

// The process-wide log file name (the last one any instance was given).
String WebUpdateLogFileName();
// Unpacks every file of a ZIP archive into TargetDir (names confined to it); 0 or -1.
Integer ZipExtract(const String& ZipFile, const String& TargetDir);
// Expands an SZDD-compressed file next to itself under its expanded name
// and then removes the compressed file. A file that is not compressed, or a
// damaged one, is left exactly as it is (false).
bool LZExpandFile(const String& FileName);

// True when the stream begins with "{\rtf" (any case); the position goes back to 0.
bool IsRTFStream(TStream* Stream);
// True when the stream's text contains "</" (any case); the position goes back to 0.
bool IsHTMLStream(TStream* Stream);

// "a.b.c.d" / "a,b" / "a" -> version words (-1/-1 when unreadable).
tfvi StrToVersion(const String& Text);
// The four 16-bit parts joined with "."; -1/-1 gives "65535.65535.65535.65535".
String VersionToStr(const tfvi& V);
// The authority part of a URL: after "://", up to the first "/" or "\".
String URLToDomain(const String& AURL);
// Inserts proxy credentials into an "http://" URL (kept for callers; the
// component itself hands them to the session and never to a URL).
String MakeProxyUrl(const String& AURL, const String& ProxyUser, const String& ProxyPwd);
