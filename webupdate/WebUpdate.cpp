// TWebUpdate: properties, registry records, folders, dates, status reports.
#include "webupdate/WebUpdate.h"

#include <cstdlib>
#include <fstream>
#include <mutex>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Thread.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/Files.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Module.h"
#include "platform/win/Resources.h"
#include "platform/win/WinError.h"
#include "webupdate/ControlFile.h"
#include "webupdate/InetThread.h"
#include "webupdate/ProgressForm.h"
#include "webupdate/SftpSession.h"
#include "webupdate/StatusTexts.h"
#include "webupdate/UpdateLog.h"
#include "webupdate/VornLoginForm.h"

namespace {

// The log file name last given to any instance.
std::mutex gLogLock;
String gLogFileName = u"WUPDATE.LOG";

String LogFileNameNow() {
  std::lock_guard lock(gLogLock);
  return gLogFileName;
}

String ProgramFolder() { return ExtractFilePath(GetModuleFileName()); }

// A folder as placeholders give it: with the delimiter, then "." appended
// (a drive root "C:\" keeps its form "C:\."); "" gives ".".
String NormaliseFolder(const String& folder) {
  if (folder.empty()) return u".";
  String s = IncludeTrailingPathDelimiter(folder);
  if (s.size() > 3 && s[1] == u':') return s.substr(0, s.size() - 1);
  return s + u".";
}

HKEY RootKeyOf(TLastURLReg reg) { return reg == lurLOCALMACHINE ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

TFormatSettings RegistryDateSettings() {
  TFormatSettings fs = FormatSettings;
  fs.ShortDateFormat = u"dd/mm/yyyy";
  return fs;
}

}  // namespace

TWebUpdatePrompts& WebUpdatePrompts() {
  static TWebUpdatePrompts prompts{
      [](const String& Caption, String& UserName, String& Password) {
        return ShowLoginDialog(Caption, UserName, Password);
      },
      [](const String& Text, UINT Type) { return MessageBox(nullptr, Text, String(), Type); },
  };
  return prompts;
}

TWebUpdate::TWebUpdate(TComponent* AOwner)
    : TComponent(AOwner),
      FLastURLEntry(std::make_unique<TLastURLEntry>()),
      FPostUpdateInfo(std::make_unique<TPostUpdateInfo>()),
      FFileList(std::make_unique<TFileList>()) {}

TWebUpdate::~TWebUpdate() {
  // A worker still running holds this object: wait for it.
  if (FThread) FThread->WaitForRun();
  if (FInProgress) {
    try {
      StopConnection();
    } catch (...) {
      // Nothing leaves a destructor.
    }
  }
  DropPrivateDir();
}

String WebUpdateLogFileName() { return LogFileNameNow(); }

void TWebUpdate::SetLogFileName(const String& Value) {
  FLogFileName = Value;
  std::lock_guard lock(gLogLock);
  gLogFileName = Value;
}

void TWebUpdate::SetUtility(TWebUpdateUtility* Value) {
  if (FUtility == Value) return;
  if (FUtility != nullptr) FUtility->RemoveFreeNotification(this);
  FUtility = Value;
  if (FUtility != nullptr) FUtility->FreeNotification(this);
}

void TWebUpdate::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FUtility) FUtility = nullptr;
}

String TWebUpdate::Version() const {
  const std::uint32_t packed = 0x02060400;
  return Format(u"%d.%d.%d.%d", {packed >> 24, (packed >> 16) & 0xFF, (packed >> 8) & 0xFF, packed & 0xFF});
}

String TWebUpdate::URLGet() {
  if (FLastURLEntry->Key.empty() || FLastURLEntry->Section.empty() || !FLastURLEntry->Save) return {};
  try {
    TRegistry reg;
    reg.SetRootKey(RootKeyOf(FLastURLEntry->RegRoot));
    if (!reg.OpenKeyReadOnly(FLastURLEntry->Key + u"\\" + FLastURLEntry->Section)) return {};
    return reg.ReadString(u"LastURL");
  } catch (const Exception&) {
    return {};  // a value of another type reads as none
  }
}

void TWebUpdate::URLPut(const String& AURL) {
  if (FLastURLEntry->Key.empty() || FLastURLEntry->Section.empty() || !FLastURLEntry->Save) return;
  try {
    TRegistry reg;
    reg.SetRootKey(RootKeyOf(FLastURLEntry->RegRoot));
    if (reg.OpenKey(FLastURLEntry->Key + u"\\" + FLastURLEntry->Section, true)) reg.WriteString(u"LastURL", AURL);
  } catch (const Exception& e) {
    DoStatus(wsSystemError, e.Message(), 1, 0);
  }
}

TDateTime TWebUpdate::UpdateDateGet() {
  TDateTime result = EncodeDate(1980, 1, 1);
  if (!FLastURLEntry->Key.empty() && !FLastURLEntry->Section.empty()) {
    FSaveUpdateDate = true;
    try {
      TRegistry reg;
      reg.SetRootKey(RootKeyOf(FLastURLEntry->RegRoot));
      if (reg.OpenKeyReadOnly(FLastURLEntry->Key + u"\\" + FLastURLEntry->Section)) {
        TDateTime date = 0;
        if (TryStrToDate(reg.ReadString(u"LastDate"), date, RegistryDateSettings())) {
          result = date;
          TDateTime time = 0;
          String t = reg.ReadString(u"LastTime");
          TFormatSettings fs = FormatSettings;
          fs.ShortTimeFormat = fs.LongTimeFormat;
          if (!t.empty() && TryStrToTime(t, time, fs)) result += time;
        }
      }
    } catch (const Exception&) {
      // Unreadable values keep what was read so far.
    }
    return result;
  }
  TDateTime age = 0;
  if (!FDateCheckFile.empty() && FileAge(FDateCheckFile, age)) return age;
  return result;
}

void TWebUpdate::UpdateDatePut(TDateTime DateTime) {
  if (FLastURLEntry->Key.empty() || FLastURLEntry->Section.empty() || !FLastURLEntry->Save) return;
  try {
    TRegistry reg;
    reg.SetRootKey(RootKeyOf(FLastURLEntry->RegRoot));
    if (!reg.OpenKey(FLastURLEntry->Key + u"\\" + FLastURLEntry->Section, true)) return;
    reg.WriteString(u"LastDate", FormatDateTime(u"dd/mm/yyyy", DateTime, RegistryDateSettings()));
    TDateTime time = DateTime - static_cast<double>(static_cast<long long>(DateTime));
    if (time != 0) reg.WriteString(u"LastTime", FormatDateTime(FormatSettings.LongTimeFormat, DateTime));
  } catch (const Exception& e) {
    DoStatus(wsSystemError, e.Message(), 1, 0);
  }
}

String TWebUpdate::WinTempDir() {
  String dir = UseWinTempDir ? GetTempPath() : TempDirectory;
  if (dir.size() > MAX_PATH && UseWinTempDir) dir.resize(MAX_PATH);
  return dir.empty() ? dir : IncludeTrailingPathDelimiter(dir);
}

String TWebUpdate::ConvertPrefix(const String& Prefix) {
  String folder;
  if (Prefix == u"WIN") folder = GetShellFolderPath(CSIDL_WINDOWS);
  else if (Prefix == u"SYS") folder = GetShellFolderPath(CSIDL_SYSTEM);
  else if (Prefix == u"SYSWOW64") folder = GetShellFolderPath(CSIDL_WINDOWS) + u"/SysWOW64";
  else if (Prefix == u"APP") folder = ProgramFolder();
  else if (Prefix == u"TMP") folder = WinTempDir();
  else if (Prefix == u"DOC") folder = GetShellFolderPath(CSIDL_PERSONAL);
  else if (Prefix == u"PF") {
    const char* pf = std::getenv("ProgramFiles");
    folder = pf != nullptr ? Utf8ToString(pf) : GetShellFolderPath(CSIDL_PROGRAM_FILES);
  } else if (Prefix == u"LAD") folder = GetShellFolderPath(CSIDL_LOCAL_APPDATA);
  else if (Prefix == u"ADR") {
    folder = GetShellFolderPath(CSIDL_APPDATA);
    if (folder.empty()) throw Exception(u"Could not find Application Data folder location.");
  } else if (Prefix == u"APPDATA") folder = GetShellFolderPath(CSIDL_COMMON_APPDATA);
  return NormaliseFolder(folder);
}

String TWebUpdate::ExpandPath(const String& Path) {
  String path = Path;
  if (OnConvertPrefix) Raise([&] { OnConvertPrefix(this, path); });
  return ExpandPlaceholders(path, [&](const String& name) { return ConvertPrefix(name); });
}

TDateTime TWebUpdate::ParseDateTime(const String& ADate, const String& ATime) const {
  // A private copy of the settings: other threads keep theirs.
  TFormatSettings fs = FormatSettings;
  fs.ShortDateFormat = DateFormat;
  fs.DateSeparator = DateSeparator;
  fs.ShortTimeFormat = TimeFormat;
  fs.TimeSeparator = TimeSeparator;
  TDateTime result = EncodeDate(1980, 1, 1);
  TDateTime date = 0;
  if (TryStrToDate(Trim(ADate), date, fs)) result = date;
  TDateTime time = 0;
  if (!ATime.empty() && TryStrToTime(Trim(ATime), time, fs)) result += time;
  return result;
}

tfvi TWebUpdate::GetFileVersion(const String& FileName) {
  tfvi v;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSize(FileName, &handle);
  if (size == 0 || size > 1024 * 1024) return v;
  std::vector<std::uint8_t> block(size);
  if (!GetFileVersionInfo(FileName, handle, size, block.data())) return v;
  const void* data = nullptr;
  UINT len = 0;
  if (!VerQueryValue(block.data(), u"\\", &data, &len) || len < sizeof(VS_FIXEDFILEINFO)) return v;
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(data);
  if (info->dwSignature != 0xFEEF04BD) return v;
  v.versionms = static_cast<Integer>(info->dwFileVersionMS);
  v.versionls = static_cast<Integer>(info->dwFileVersionLS);
  return v;
}

// No dial-up exists here: the connected-state query always answers connected.
bool TWebUpdate::Connected() const { return true; }

Integer TWebUpdate::ConnectionType() const { return 0; }

void TWebUpdate::AddToLog(const String& s) { WriteLogLine(LogFileNameNow(), ProgramFolder(), s); }

void TWebUpdate::DoStatus(Integer Ident, const String& Text, Integer StatusCode, Integer ErrCode) {
  String message = WebUpdateStatusMessage(Ident, Text);
  if (Logging) {
    TFormatSettings fs = FormatSettings;
    AddToLog(FormatDateTime(u"dd/mm/yyyy hh:nn:ss", Now(), fs) + u" : [" + IntToStr(Ident) + u"] " + message +
             u" (Status:" + IntToStr(StatusCode) + u") (Error:" + IntToStr(ErrCode) + u")");
  }
  if (OnStatus) Raise([&] { OnStatus(this, message, StatusCode, ErrCode); });
}

// Runs an event or a question on the user-interface thread: directly there,
// else through the worker's Synchronize.
void TWebUpdate::Raise(const std::function<void()>& fn) {
  if (FThread && !IsUIThread()) {
    TThread::Synchronize(FThread.get(), fn);
    return;
  }
  fn();
}

bool TWebUpdate::Ask(const String& Text, UINT Type, int& Answer) {
  Answer = IDCANCEL;
  Raise([&] {
    if (WebUpdatePrompts().Message) Answer = WebUpdatePrompts().Message(Text, Type);
  });
  return true;
}

bool TWebUpdate::AskLogin(const String& Caption) {
  String user, password;  // the dialog starts with empty fields
  bool ok = false;
  Raise([&] {
    if (WebUpdatePrompts().Login) ok = WebUpdatePrompts().Login(Caption, user, password);
  });
  if (!ok) return false;
  UserID = user;
  Password = password;
  return true;
}

void TWebUpdate::DoFileProgress(const String& FileName, Int64 Pos, Int64 Size) {
  if (FProgressForm && IsUIThread()) FProgressForm->ShowProgress(FileName, Pos, Size);
  if (OnFileProgress) Raise([&] { OnFileProgress(this, FileName, Pos, Size); });
}

void TWebUpdate::DoProgressCancel(bool& ACancel) {
  if (OnProgressCancel) Raise([&] { OnProgressCancel(this, ACancel); });
  if (ACancel) DoStatus(wsProcessCancelled, {}, 0, 0);
}

void TWebUpdate::DoSetAppParamBefore(String& AppParams) {
  if (OnSetAppParamBefore) Raise([&] { OnSetAppParamBefore(this, AppParams); });
}

void TWebUpdate::DoSetAppParamAfter(String& AppParams) {
  if (OnSetAppParamAfter) Raise([&] { OnSetAppParamAfter(this, AppParams); });
}

void TWebUpdate::CustomProcess(const String& FileName) {
  if (OnFileDownloaded) Raise([&] { OnFileDownloaded(this, FileName); });
}

void TWebUpdate::DoSuccess() {
  if (OnSuccess) Raise([&] { OnSuccess(this); });
}

