// TWebUpdate: connection, control file, version check and the update run.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/Files.h"
#include "platform/win/Module.h"
#include "platform/win/Shell.h"
#include "platform/win/WinError.h"
#include "webupdate/Checksums.h"
#include "webupdate/ControlFile.h"
#include "webupdate/InetThread.h"
#include "webupdate/ProgressForm.h"
#include "platform/vcl/Application.h"
#include "webupdate/SftpSession.h"
#include "webupdate/StatusTexts.h"
#include "webupdate/WebUpdate.h"

namespace {

bool TryWord(const String& text, Integer& value) { return TryStrToInt(Trim(text), value); }

void ChangeToProgramFolder() {
  std::error_code ec;
  std::filesystem::current_path(StringToUtf8(ExtractFileDir(GetModuleFileName())), ec);
}

// The scheme of a URL in lower case ("" when it has none).
String SchemeOf(const String& url) {
  const std::size_t colon = url.find(u':');
  if (colon == String::npos || colon == 0) return {};
  for (std::size_t i = 0; i < colon; ++i) {
    const Char c = url[i];
    if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'+' ||
          c == u'-' || c == u'.'))
      return {};
  }
  return LowerCase(url.substr(0, colon));
}

bool IsInside(const std::filesystem::path& dir, const std::filesystem::path& root) {
  if (root.empty()) return false;
  auto d = dir.begin();
  for (auto r = root.begin(); r != root.end(); ++r, ++d) {
    if (r->empty()) continue;  // a trailing separator
    if (d == dir.end() || *d != *r) return false;
  }
  return true;
}

}  // namespace

tfvi StrToVersion(const String& Text) {
  tfvi v;
  Char sep = Text.find(u',') != String::npos ? u',' : (Text.find(u'.') != String::npos ? u'.' : 0);
  Integer a = 0, b = 0, c = 0, d = 0;
  if (sep == 0) {
    if (TryWord(Text, a)) {
      v.versionms = static_cast<Integer>(static_cast<std::uint32_t>(a & 0xFFFF) << 16);
      v.versionls = 0;
    }
    return v;
  }
  std::size_t p1 = Text.find(sep);
  String rest = Text.substr(p1 + 1);
  bool aOk = TryWord(Text.substr(0, p1), a);
  std::size_t p2 = rest.find(sep);
  if (p2 == String::npos || !aOk) {
    Integer r = 0;
    TryWord(rest, r);
    v.versionms = static_cast<Integer>((static_cast<std::uint32_t>(a & 0xFFFF) << 16) | (r & 0xFFFF));
    v.versionls = 0;
    return v;
  }
  bool bOk = TryWord(rest.substr(0, p2), b);
  v.versionms = static_cast<Integer>((static_cast<std::uint32_t>(a & 0xFFFF) << 16) | (b & 0xFFFF));
  rest = rest.substr(p2 + 1);
  std::size_t p3 = rest.find(sep);
  if (p3 == String::npos || !bOk) {
    Integer r = 0;
    TryWord(rest, r);
    v.versionls = static_cast<Integer>(static_cast<std::uint32_t>(r & 0xFFFF) << 16);
    return v;
  }
  TryWord(rest.substr(0, p3), c);
  if (TryWord(rest.substr(p3 + 1), d))
    v.versionls = static_cast<Integer>((static_cast<std::uint32_t>(c & 0xFFFF) << 16) | (d & 0xFFFF));
  return v;
}

String VersionToStr(const tfvi& V) {
  auto ms = static_cast<std::uint32_t>(V.versionms);
  auto ls = static_cast<std::uint32_t>(V.versionls);
  return IntToStr(ms >> 16) + u"." + IntToStr(ms & 0xFFFF) + u"." + IntToStr(ls >> 16) + u"." + IntToStr(ls & 0xFFFF);
}

bool TWebUpdate::EnterRun() {
  bool expected = false;
  if (FRunning.compare_exchange_strong(expected, true)) return true;
  DoStatus(wsSystemError, u"Update already running", 1, static_cast<Integer>(ERROR_BUSY));
  return false;
}

void TWebUpdate::LeaveRun() { FRunning = false; }

Integer TWebUpdate::StartConnection() {
  // A new connection begins a new run (the wizard's included): an earlier
  // run's cancel or failure does not carry over.
  FCancelled = false;
  FDownloadFailed = false;
  FTargetRefused = false;
  FPatcherWritten = false;
  FControlVerified = false;
  FSession = nullptr;
  FHintConnect = nullptr;
  if (UpdateType == fileUpdate) return 0;
  DoStatus(wsCheckingConnection, {}, 3, 0);
  if (UpdateConnect == wucNone) return 0;
  // No dial-up here: a connection is always taken as present.
  DoStatus(wsFoundConnection, {}, 3, 0);
  FSession = InternetOpen(Agent, Proxy.empty() ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_PROXY, Proxy, u"", 0);
  if (FSession == nullptr) {
    Error();
    DoStatus(wsCannotOpenConnection, {}, 1, 0);
    return 2;
  }
  auto setDword = [&](DWORD option, DWORD value) { InternetSetOption(FSession, option, &value, sizeof value); };
  if (TimeOut > 0) setDword(INTERNET_OPTION_CONNECT_TIMEOUT, static_cast<DWORD>(TimeOut));
  if (ReceiveTimeOut > 0) setDword(INTERNET_OPTION_RECEIVE_TIMEOUT, static_cast<DWORD>(ReceiveTimeOut));
  if (CertCheck == ccDisable)
    setDword(INTERNET_OPTION_SECURITY_FLAGS, SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
                                                 SECURITY_FLAG_IGNORE_CERT_DATE_INVALID);
  // Proxy credentials go to the session, never into a URL.
  if (!ProxyUserID.empty()) {
    InternetSetOption(FSession, INTERNET_OPTION_PROXY_USERNAME, ProxyUserID.data(),
                      static_cast<DWORD>(ProxyUserID.size()));
    InternetSetOption(FSession, INTERNET_OPTION_PROXY_PASSWORD, ProxyPassword.data(),
                      static_cast<DWORD>(ProxyPassword.size()));
  }
  std::uint64_t limit = static_cast<std::uint64_t>(std::max<Int64>(MaxDownloadSize, 0));
  InternetSetOption(FSession, INTERNET_OPTION_MAX_BODY_SIZE, &limit, sizeof limit);
  if (UpdateType == httpUpdate) FHintConnect = FSession;
  FInProgress = true;
  return 0;
}

Integer TWebUpdate::StopConnection() {
  if (UpdateType != fileUpdate) {
    if (FSftp) FSftp.reset();
    if (UpdateType == ftpUpdate && FHintConnect != nullptr) {
      InternetCloseHandle(FHintConnect);
      DoStatus(wsClosedFtp, {}, 3, 0);
    }
    FHintConnect = nullptr;
    if (FSession != nullptr) {
      InternetCloseHandle(FSession);
      DoStatus(wsClosedConnection, {}, 3, 0);
      FSession = nullptr;
    }
    DoStatus(wsClosedConnection, {}, 3, 0);
  }
  if (!FControlFileName.empty()) DeleteFile(FControlFileName);
  DropPrivateDir();
  FInProgress = false;
  return 0;
}

bool TWebUpdate::DeadlinePassed() const {
  return FDeadline != std::chrono::steady_clock::time_point{} && std::chrono::steady_clock::now() >= FDeadline;
}

bool TWebUpdate::ChannelVerified(const String& url) const {
  switch (UpdateType) {
    case fileUpdate: return true;
    case sftpUpdate: return FSftp && FSftp->HostKeyKnown();
    case ftpUpdate: return false;
    case httpUpdate: {
      const String scheme = SchemeOf(url);
      // Redirects never lead from https down to http, so the first scheme is the channel's.
      return scheme == u"file" || (scheme == u"https" && CertCheck == ccEnable);
    }
  }
  return false;
}

bool TWebUpdate::Refuse(Integer Ident, const String& What, const String& Why) {
  DoStatus(Ident, What, 11, 4);
  AddToLog(u"Refused " + What + u": " + Why);
  return false;
}

String TWebUpdate::PrivateDir() {
  if (FPrivateDir.empty()) {
    std::string path = StringToUtf8(IncludeTrailingPathDelimiter(GetTempPath())) + "wupd-XXXXXX";
    if (::mkdtemp(path.data()) != nullptr) FPrivateDir = IncludeTrailingPathDelimiter(Utf8ToString(path));
  }
  return FPrivateDir;
}

void TWebUpdate::DropPrivateDir() {
  if (FPrivateDir.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(StringToUtf8(FPrivateDir), ec);
  FPrivateDir.clear();
}

String TWebUpdate::GetControlFileURL() {
  String url = URLGet();
  if (url.empty()) url = URL;
  return ExpandPath(url);
}

std::unique_ptr<TControlFile> TWebUpdate::OpenControlFile() { return std::make_unique<TControlFile>(FControlFileName); }

Integer TWebUpdate::GetControlFile() {
  FCancelled = false;
  FControlVerified = false;
  String url = GetControlFileURL();
  FTransferLimit = kMaxControlFileSize;
  const bool got = !url.empty() && URLGetFile(FHintConnect, url, WinTempDir(), false);
  FTransferLimit = 0;
  if (!got) {
    DoStatus(wsControlFileNotFound, {}, 2, 0);
    return 4;
  }
  FControlVerified = ChannelVerified(url);
  DoStatus(wsControlFileFound, {}, 3, 0);
  FControlFileName = WinTempDir() + URLtoFile(url);
  std::unique_ptr<TControlFile> ini = OpenControlFile();
  // A control file can start programs and place files: unless both the
  // signature check and certificate checks are off, a wrong signature stops
  // it before anything of it is used.
  if ((SignatureCheck || CertCheck == ccEnable) && ini->ReadString(u"update", u"signature") != Signature) {
    DoStatus(wsInvalidSignature, {}, 11, 4);
    FAppUpdate = false;
    return 5;
  }
  FAppUpdate = ini->ReadInteger(u"application", u"appupdate", 0) == 1;
  FAppName = ExpandPath(ini->ReadString(u"application", u"appname"));
  FAppParams = ini->ReadString(u"application", u"appparam");
  if (FAppName.empty()) FAppUpdate = false;
  if (OnSetAppParams) Raise([&] { OnSetAppParams(this, FAppParams); });
  if (FAppParams.empty()) FAppParams = u" ";
  FAppComps = ExpandPath(ini->ReadString(u"application", u"appcomps"));
  FAppSilentRestart = ini->ReadInteger(u"application", u"silentrestart", 0) == 1;
  // Starting programs and replacing the program are for a control file whose
  // source is proven; from any other the whole run stops here.
  if (!FControlVerified) {
    static constexpr std::pair<const Char*, const Char*> kSteps[] = {
        {u"application", u"appupdate"}, {u"application", u"appcomps"}, {u"action", u"runbefore"}, {u"action", u"runafter"}};
    for (const auto& [section, key] : kSteps) {
      const String value = ini->ReadString(section, key);
      if (value.empty() || (String(key) == u"appupdate" && !FAppUpdate)) continue;
      FAppUpdate = false;
      FAppComps.clear();
      Refuse(wsUnverifiedRefused, key, u"the update control file came over a channel that does not prove its source");
      return 5;
    }
  }
  // The program the helper starts lives where files may be placed, like any target folder.
  if (FAppUpdate) {
    if (!TargetDirAllowed(ExtractFilePath(AppPath()))) {
      FAppUpdate = false;
      FAppComps.clear();
      Refuse(wsTargetRefused, FAppName, u"the program is outside the folders updates may write");
      return 5;
    }
  }
  return 0;
}

Integer TWebUpdate::DoVersionCheck() {
  Integer result = 7;
  std::unique_ptr<TControlFile> ini = OpenControlFile();
  FUpdateDescription = ini->ReadLines(u"update", u"descr");
  String date = ini->ReadString(u"update", u"date");
  if (!date.empty()) {
    DoStatus(wsDateUpdateFound, {}, 3, 0);
    FNewVersionDate = ParseDateTime(date, ini->ReadString(u"update", u"time"));
    FDateCheckFile = ExpandPath(ini->ReadString(u"update", u"localversion"));
    FCurVersionDate = UpdateDateGet();
    if (!(FNewVersionDate <= FCurVersionDate)) {  // also when either is not a number
      DoStatus(wsNewVersionFound, DateToStr(FNewVersionDate), 5, 0);
      result = 6;
    } else {
      DoStatus(wsNoNewVersion, {}, 4, 0);
    }
  }
  if (!ini->ReadString(u"update", u"unconditional").empty() && result == 7) result = 8;
  if (result == 7) {
    String newVer = ini->ReadString(u"update", u"newversion");
    Int64 size = ini->ReadInt64(u"update", u"newsize", 0);
    String local = ExpandPath(ini->ReadString(u"update", u"localversion"));
    Integer checksum = ini->ReadInteger(u"update", u"newchecksum", -1);
    if ((!newVer.empty() || size > 0 || checksum != -1) && !local.empty()) {
      if (checksum != -1) {
        result = 10;
        DoStatus(wsChecksumUpdateFound, {}, 3, 0);
      } else if (size > 0) {
        result = 9;
        DoStatus(wsSizeUpdateFound, {}, 3, 0);
      } else {
        result = 11;
        DoStatus(wsVersionUpdateFound, {}, 3, 0);
      }
      if (CompareFile(newVer, local, size, checksum)) {
        DoStatus(wsNewVersionFound, newVer, 5, 0);
      } else {
        DoStatus(wsNoNewVersion, {}, 4, 0);
        result = 7;
      }
    }
    FNewVersionInfo = newVer;
    FCurVersionInfo = local;
  }
  if (OnCustomValidate) {
    bool allow = result != 7;
    String msg = ini->ReadString(u"custom", u"validatemsg");
    String param = ini->ReadString(u"custom", u"validateparam");
    Raise([&] { OnCustomValidate(this, msg, param, allow); });
    result = allow ? 12 : 7;
  }
  return result;
}

bool TWebUpdate::CompareFile(String& NewVersion, String& LocalFile, Int64 Size, Integer Checksum) {
  DoStatus(wsCheckVersions, u"Version compare:" + NewVersion + u" to local:" + LocalFile, 3, 0);
  if (NewVersion.empty() && Size == 0 && Checksum == -1) return true;
  if (LocalFile.empty() && VersionCheck == vcUpdateOnly) return true;
  if (!FileExists(LocalFile)) return VersionCheck == vcAlways;
  // A local copy that is empty or cannot be read is broken: it is replaced.
  if (FileSizeOf(LocalFile) <= 0 || ::access(StringToUtf8(LocalFile).c_str(), R_OK) != 0) return true;
  if (Checksum != -1) {
    Integer c = UseCRC32 ? CRC32OfFile(LocalFile) : ByteSumOfFile(LocalFile);
    DoStatus(wsVersionCheck, u"Checksum compare of " + LocalFile + u":" + IntToStr(c) + u":" + IntToStr(Checksum), 3, 0);
    // A checksum that could not be taken is no proof of equality.
    return c != Checksum;
  }
  if (Size > 0) {
    return FileSizeOf(LocalFile) != Size;
  }
  tfvi l = GetFileVersion(LocalFile);
  tfvi n = StrToVersion(NewVersion);
  DoStatus(wsVersionCheck,
           u"Version compare of " + LocalFile + u":" + VersionToStr(l) + u" with " + NewVersion + u":" +
               VersionToStr(n),
           3, 0);
  if (n.versionms == -1 || n.versionls == -1) return false;
  if ((l.versionms == -1 || l.versionls == -1) && VersionCheck == vcUpdateOnly) return false;
  LocalFile = VersionToStr(l);
  NewVersion = VersionToStr(n);
  return n.versionms > l.versionms || (n.versionms == l.versionms && n.versionls > l.versionls);
}

bool TWebUpdate::NewVersionAvailable(bool InitPath) {
  if (!EnterRun()) return false;
  struct TLeave {
    TWebUpdate* W;
    ~TLeave() { W->LeaveRun(); }
  } leave{this};
  if (InitPath) ChangeToProgramFolder();
  FCancelled = false;
  // The whole check is bounded: the time-outs of its connection and of the
  // wait for an answer fit in the deadline, and transfers stop at it.
  struct TDeadline {
    TWebUpdate* W;
    Integer TimeOut, ReceiveTimeOut;
    ~TDeadline() {
      W->FDeadline = {};
      W->TimeOut = TimeOut;
      W->ReceiveTimeOut = ReceiveTimeOut;
    }
  } deadline{this, TimeOut, ReceiveTimeOut};
  if (CheckDeadline > 0) {
    FDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(CheckDeadline);
    const Integer share = std::max<Integer>(1, CheckDeadline / 3);
    if (TimeOut <= 0 || TimeOut > share) TimeOut = share;
    if (ReceiveTimeOut <= 0 || ReceiveTimeOut > share) ReceiveTimeOut = share;
  }
  // Named again only when this check fetches it: callers tell "nothing newer" from "not reached".
  FControlFileName.clear();
  if (StartConnection() != 0) return false;
  if (UpdateType == ftpUpdate || UpdateType == sftpUpdate) {
    if (Host.empty()) throw Exception(u"No host specified");
    if (FTPConnect() == -1) Error();
  }
  bool answer = false;
  // A cancel that came while connecting (the window closing) ends the check here.
  if (!FCancelled && (FHintConnect != nullptr || FSftp || UpdateType == fileUpdate) && GetControlFile() == 0) {
    Integer v = DoVersionCheck();
    answer = v != 7;
    if (v == 8) answer = GetFileDetails() > 0 && ProcessFileDetails() == 0 && FFileList->Count() > 0;
    if (answer && OnDownloadedWhatsNew) {
      std::unique_ptr<TStringList> list = GetWhatsNew();
      if (list) {
        Integer res = 1;
        Raise([&] { OnDownloadedWhatsNew(this, list.get(), res); });
      }
    }
  }
  StopConnection();
  return answer;
}

std::unique_ptr<TStringList> TWebUpdate::NewWhatsNew(bool showdialog) {
  if (!EnterRun()) return nullptr;
  struct TLeave {
    TWebUpdate* W;
    ~TLeave() { W->LeaveRun(); }
  } leave{this};
  if (StartConnection() != 0) return nullptr;
  if (UpdateType == ftpUpdate && FTPConnect() == -1) Error();
  std::unique_ptr<TStringList> list;
  if ((FHintConnect != nullptr || UpdateType == fileUpdate) && GetControlFile() == 0 && DoVersionCheck() != 7) {
    std::unique_ptr<TMemoryStream> stream = GetWhatsNewStream();
    if (stream && stream->Size() > 0) {
      char head[5] = {};
      stream->SetPosition(0);
      Integer n = stream->Read(head, 5);
      stream->SetPosition(0);
      bool rtf = n == 5 && UpperCase(Utf8ToString(std::string(head, 5))).starts_with(u"{\\RTF");
      if (!rtf) {
        list = std::make_unique<TStringList>();
        list->LoadFromStream(stream.get());
        if (OnDownloadedWhatsNew && !showdialog) {
          Integer res = 1;
          Raise([&] { OnDownloadedWhatsNew(this, list.get(), res); });
        }
        stream->Clear();
        list->SaveToStream(stream.get());
        stream->SetPosition(0);
      }
      if (showdialog) WhatsNewDialog(stream.get());
    }
  }
  StopConnection();
  return list;
}

void TWebUpdate::DoUpdate(bool InitPath) {
  if (!EnterRun()) return;
  struct TLeave {
    TWebUpdate* W;
    ~TLeave() { W->LeaveRun(); }
  } leave{this};
  RunUpdate(InitPath);
}

void TWebUpdate::RunUpdate(bool InitPath) {
  FCancelled = false;
  // The progress window is a window: only a run on the user-interface thread shows one.
  if (ShowDownloadProgress && !FThreaded && IsUIThread() && Application != nullptr)
    FProgressForm = std::make_unique<TProgressForm>(Application);
  struct TDropProgress {
    TWebUpdate* W;
    ~TDropProgress() { W->FProgressForm.reset(); }
  } dropProgress{this};
  if (InitPath) ChangeToProgramFolder();
  DoStatus(wsStartUpdate, FThreaded ? u"Threaded update" : u"Non threaded update", 0, 0);
  DoStatus(wsOSVersion, GetOSVersion(), 0, 0);
  DoStatus(wsIEVersion, GetIEVersion(), 0, 0);
  DoStatus(wsCompiler, GetIDE(), 0, 0);
  DoStatus(wsInstalledIDEs, GetInstalledIDEs(), 0, 0);
  FAppCompIncluded = false;
  FDownloadFailed = false;
  FFTPDirSet = false;
  FControlFileName.clear();
  DoStatus(wsStartProcess, Version(), 0, 0);
  if (StartConnection() != 0) return;
  if (UpdateType == ftpUpdate || UpdateType == sftpUpdate) {
    if (Host.empty()) throw Exception(u"No host specified");
    if (FTPConnect() == -1) Error();
  }
  auto stop = [&] { StopConnection(); };
  if (FHintConnect == nullptr && !FSftp && UpdateType != fileUpdate) return stop();
  if (GetControlFile() != 0) return stop();
  if (!(ForceUpdate || DoVersionCheck() != 7)) {
    FAppUpdate = false;
    return stop();
  }
  if (HandleActions() != 0) return stop();
  Integer answer = 0;
  if (std::unique_ptr<TMemoryStream> s = GetWhatsNewStream()) answer = WhatsNewDialog(s.get());
  if (std::unique_ptr<TMemoryStream> s = GetEULAStream())
    if (answer == 0) answer = EULADialog(s.get());
  if (answer != 0 || GetFileDetails() <= 0) {
    FAppUpdate = false;
    return stop();
  }
  answer = ProcessFileDetails();
  if (answer == 0) {
    answer = GetFileUpdates();
    UpdateActions();
  }
  StopConnection();
  if (answer == 0 && !FCancelled) DoSuccess();
  if (AppNeedsRestart() && !FThreaded) DoRestart();
}

bool TWebUpdate::DoThreadUpdate(bool InitPath) {
  if (!EnterRun()) return false;
  if (FThread) FThread.reset();  // the last run's thread has ended: EnterRun succeeded
  FThreaded = true;
  FThread = std::make_unique<TInetThread>(this, InitPath);
  FThread->OnTerminate = [this](TObject*) {
    FThreaded = false;
    LeaveRun();
    if (OnThreadUpdateDone) OnThreadUpdateDone(this);
    DoStatus(wsThreadDone, {}, 0, 0);
    if (AppNeedsRestart()) {
      DoStatus(wsRestartAfterThread, {}, 0, 0);
      DoRestart();
    }
  };
  FThread->Start();
  return true;
}


bool TWebUpdate::StartProgram(const String& Program, const String& Params) {
  // Only absolute paths: a name from a downloaded file is never looked up in
  // the current folder (or PATH).
  if (Program.empty() || Program[0] != u'/') {
    DoStatus(wsCannotSpawn, Program, 0, 0);
    return false;
  }
  return ShellExecute(nullptr, u"open", Program, Params, u"", SW_SHOWNORMAL) > 32;
}

Integer TWebUpdate::HandleActions() {
  Integer result = 0;
  std::unique_ptr<TControlFile> ini = OpenControlFile();
  String msg = ini->ReadLines(u"action", u"msg");
  if (!msg.empty()) {
    DoStatus(wsMessageFound, {}, 3, 0);
    int answer = 0;
    Ask(msg, MB_OK | MB_ICONINFORMATION, answer);
  }
  String html = ExpandPath(ini->ReadString(u"action", u"htmldlg"));
  if (!html.empty()) {
    DoStatus(wsHtmlDialogFound, {}, 7, 0);
    ShowHTMLDialog(html);
  }
  String before = ExpandPath(ini->ReadString(u"action", u"runbefore"));
  String beforeParams = ini->ReadString(u"action", u"runbeforeparam");
  DoSetAppParamBefore(beforeParams);
  if (!before.empty()) StartProgram(before, beforeParams);
  if (OnCustomProcess) {
    String pm = ini->ReadString(u"custom", u"processmsg");
    String pp = ini->ReadString(u"custom", u"processparam");
    Raise([&] { OnCustomProcess(this, pm, pp); });
  }
  String show = ExpandPath(ini->ReadString(u"action", u"showURL"));
  if (!show.empty()) {
    DoStatus(wsShowURLFound, {}, 3, 0);
    // Only web and mail addresses go to the desktop's opener: a path or a
    // bare name would be run or opened as a local file.
    const String scheme = SchemeOf(show);
    if (scheme == u"http" || scheme == u"https" || scheme == u"mailto") {
      ShellExecute(nullptr, u"open", show, u"", u"", SW_SHOWDEFAULT);
    } else {
      Refuse(wsUnverifiedRefused, show, u"showURL opens only http, https and mailto addresses");
      FAppUpdate = false;
      return -1;
    }
  }
  String query = ini->ReadLines(u"action", u"query");
  if (!query.empty()) {
    DoStatus(wsQueryFound, {}, 3, 0);
    int answer = IDNO;
    Ask(query, MB_YESNO | MB_ICONQUESTION, answer);
    if (answer != IDYES) {
      FAppUpdate = false;
      result = -1;
    }
  }
  if (FCancelled) result = -1;
  return result;
}

namespace {

std::unique_ptr<TMemoryStream> LoadAndDelete(const String& file) {
  auto stream = std::make_unique<TMemoryStream>();
  try {
    stream->LoadFromFile(file);
  } catch (const Exception&) {
    stream.reset();
  }
  DeleteFile(file);
  return stream;
}

}  // namespace

std::unique_ptr<TMemoryStream> TWebUpdate::GetWhatsNewStream() {
  String url = OpenControlFile()->ReadString(u"whatsnew" + LanguageID, u"file");
  if (url.empty()) return nullptr;
  if (OnBeforeFileDownload) Raise([&] { OnBeforeFileDownload(this, 0, url, url); });
  DoStatus(wsWhatsNewFound, {}, 12, 0);
  const String dir = PrivateDir();
  if (dir.empty() || !URLGetFile(FHintConnect, url, dir, false)) return nullptr;
  return LoadAndDelete(dir + URLtoFile(url));
}

std::unique_ptr<TMemoryStream> TWebUpdate::GetEULAStream() {
  String url = OpenControlFile()->ReadString(u"eula" + LanguageID, u"file");
  if (url.empty()) return nullptr;
  DoStatus(wsLicenseFound, {}, 13, 0);
  const String dir = PrivateDir();
  if (dir.empty() || !URLGetFile(FHintConnect, url, dir, false)) return nullptr;
  return LoadAndDelete(dir + URLtoFile(url));
}

std::unique_ptr<TStringList> TWebUpdate::GetWhatsNew() {
  std::unique_ptr<TMemoryStream> stream = GetWhatsNewStream();
  if (!stream) return nullptr;
  auto list = std::make_unique<TStringList>();
  list->LoadFromStream(stream.get());
  return list;
}

std::unique_ptr<TStringList> TWebUpdate::GetEULA() {
  std::unique_ptr<TMemoryStream> stream = GetEULAStream();
  if (!stream) return nullptr;
  auto list = std::make_unique<TStringList>();
  list->LoadFromStream(stream.get());
  return list;
}

bool TWebUpdate::TargetDirAllowed(const String& Dir) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path dir = fs::weakly_canonical(fs::absolute(StringToUtf8(Dir), ec), ec);
  if (ec) return false;
  auto root = [](const String& folder) {
    std::error_code e;
    return folder.empty() ? fs::path() : fs::weakly_canonical(StringToUtf8(folder), e);
  };
  const char* home = std::getenv("HOME");
  return IsInside(dir, root(ExtractFileDir(GetModuleFileName()))) ||
         (home != nullptr && *home != 0 && IsInside(dir, fs::weakly_canonical(home, ec))) ||
         IsInside(dir, root(GetTempPath()));
}

Integer TWebUpdate::GetFileDetails() {
  FFileList->Clear();
  FTargetRefused = false;
  std::unique_ptr<TControlFile> ini = OpenControlFile();
  Integer count = ini->ReadInteger(u"files", u"count", 0);
  // A count far beyond the sections a control file of this size can hold is hostile.
  count = std::clamp<Integer>(count, 0, 10000);
  if (count > 0) DoStatus(wsFileUpdateFound, {}, 3, 0);
  for (Integer n = 1; n <= count; ++n) {
    String section = u"file" + IntToStr(n);
    String target = ExpandPath(ini->ReadString(section, u"targetdir"));
    if (!target.empty()) target = IncludeTrailingPathDelimiter(target);
    // Files may only land in the program's, the user's or the temporary folders.
    if (!target.empty() && !TargetDirAllowed(target)) {
      // The run cannot place what it was told to: it fails rather than
      // install a part and record the update as done.
      FTargetRefused = true;
      Refuse(wsTargetRefused, target, u"the folder is outside those updates may write");
      continue;
    }
    TFileDescription* f = FFileList->Add();
    f->URL = ExpandPath(ini->ReadString(section, u"url"));
    f->LocalVersion = ExpandPath(ini->ReadString(section, u"localversion"));
    f->TargetDir = target;
    f->NewVersion = ini->ReadString(section, u"newversion");
    f->NewSize = ini->ReadInteger(section, u"newsize", 0);
    f->NewCheckSum = ini->ReadInteger(section, u"newchecksum", -1);
    f->NewCustomVer = ini->ReadString(section, u"customversion");
    f->NewDate = ini->ReadString(section, u"date");
    f->NewTime = ini->ReadString(section, u"time");
    f->Description = ini->ReadString(section, u"descr");
    f->Compressed = ini->ReadInteger(section, u"compressed", 0) != 0;
    f->FileSize = std::max<Int64>(0, ini->ReadInt64(section, u"filesize", 0));
    f->Mandatory = ini->ReadInteger(section, u"mandatory", 0) == 1;
    f->Preselect = ini->ReadInteger(section, u"preselect", 1) == 1;
    f->Hidden = ini->ReadInteger(section, u"hidden", 0) == 1;
  }
  return count;
}
