// TWebUpdate: unpacking, running tools, the environment lines and the
// hand-over to the restart helper.
#include <sys/utsname.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/archive/Archive.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/Files.h"
#include "platform/win/Resources.h"
#include "platform/win/Shell.h"
#include "platform/win/WinError.h"
#include "webupdate/CabFDI.h"
#include "webupdate/StatusTexts.h"
#include "webupdate/WebUpdate.h"
#include "webupdate/restart_helper/RestartHelper.h"

namespace {

String CurrentFolder() {
  std::error_code ec;
  return Utf8ToString(std::filesystem::current_path(ec).string());
}

// "KEY=value" or KEY="value" from an os-release file.
String OsReleaseValue(const std::string& text, const std::string& key) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.rfind(key + "=", 0) != 0) continue;
    std::string value = line.substr(key.size() + 1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return Utf8ToString(value);
  }
  return {};
}

}  // namespace

Integer ZipExtract(const String& ZipFile, const String& TargetDir) {
  if (!FileExists(ZipFile)) return -1;
  String dir = TargetDir.empty() ? ExtractFilePath(ZipFile) : TargetDir;
  if (dir.empty()) dir = u"./";
  if (!DirectoryExists(dir) && !ForceDirectories(dir)) return -1;
  String error;
  return ArchiveExtractZip(ZipFile, dir, error) ? 0 : -1;
}

bool LZExpandFile(const String& FileName) {
  char stored = 0;
  if (ArchiveProbeSzdd(FileName, stored) != TSzddResult::Expanded) return false;
  // The expanded name: the stored last character replaces the "_" of the
  // extension; without one the "_" is dropped ("a.txt_" -> "a.txt").
  String expanded = FileName;
  if (!expanded.empty() && expanded.back() == u'_') {
    if (stored != 0) expanded.back() = static_cast<Char>(static_cast<unsigned char>(stored));
    else expanded.pop_back();
  }
  if (ArchiveExpandSzdd(FileName, expanded, stored) != TSzddResult::Expanded) return false;
  if (expanded != FileName) DeleteFile(FileName);
  return true;
}

bool TWebUpdate::ExtractDownloaded(const String& FileName, const String& TargetDir, bool ByName) {
  const String upper = UpperCase(ByName ? ExtractFileName(FileName) : ExtractFileExt(FileName));
  const bool cab = ByName ? upper.find(u".CAB") != String::npos : upper == u".CAB";
  const bool zip = ByName ? upper.find(u".ZIP") != String::npos : upper == u".ZIP";
  if (cab && ExtractCAB) {
    DoStatus(wsExtractArchive, FileName, 3, 0);
    if (CabExtract(FileName, TargetDir) != 0) {
      DoStatus(wsCannotExtract, FileName, 8, 0);
      return false;
    }
  } else if (zip && ExtractZIP) {
    DoStatus(wsExtractArchive, FileName, 3, 0);
    if (ZipExtract(FileName, TargetDir) != 0) {
      DoStatus(wsCannotExtract, FileName, 21, 0);
      return false;
    }
  }
  return true;
}

bool TWebUpdate::RunAndWait(const String& CommandLine, bool ShowWindow, bool ShowAnimation, const String& Caption,
                            const String& Message) {
  (void)ShowWindow;  // programs start without a console window either way
  (void)ShowAnimation;  // no copy-files animation exists here
  (void)Caption;
  (void)Message;
  DoStatus(wsExec, u"Exec: " + CommandLine, 18, 0);
  std::vector<String> args = CommandLineToArgs(CommandLine);
  if (args.empty()) return false;
  const String program = args.front();
  args.erase(args.begin());
  TChildProcess child;
  if (!child.Start(program, args)) return false;
  child.WaitFor();
  DWORD code = 0;
  child.GetExitCode(code);
  if (code != 0) SetLastError(code + 8192);
  return code == 0;
}

bool TWebUpdate::ExtractPatcher() { return false; }

bool TWebUpdate::ExtractUpdater() {
  HRSRC resource = FindResource(nullptr, u"UPD", RT_RCDATA);
  if (resource == nullptr) return false;
  const void* data = LockResource(LoadResource(nullptr, resource));
  const DWORD size = SizeofResource(nullptr, resource);
  // A private folder: nobody else can put a helper of their own in its place.
  const String dir = PrivateDir();
  if (dir.empty()) return false;
  const String cab = dir + u"wusetup.cab";
  {
    std::ofstream out(StringToUtf8(cab), std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), size);
    if (!out) {
      DeleteFile(cab);
      return false;
    }
  }
  const bool ok = CabExtract(cab, dir) == 0;
  DeleteFile(cab);
  if (!ok) return false;
  // Cabinets keep no modes: the helper must be runnable.
  std::error_code ec;
  std::filesystem::permissions(StringToUtf8(dir + u"upd.exe"),
                               std::filesystem::perms::owner_exec | std::filesystem::perms::owner_read,
                               std::filesystem::perm_options::add, ec);
  return !ec && FileExists(dir + u"upd.exe");
}

String TWebUpdate::GetOSVersion() {
  std::string text;
  for (const char* file : {"/etc/os-release", "/usr/lib/os-release"}) {
    std::ifstream in(file);
    if (!in) continue;
    char buffer[16384];
    in.read(buffer, sizeof buffer);  // os-release files are small; more is not read
    text.assign(buffer, static_cast<std::size_t>(in.gcount()));
    break;
  }
  String name = OsReleaseValue(text, "PRETTY_NAME");
  if (name.empty()) name = OsReleaseValue(text, "NAME");
  struct utsname uts;
  if (::uname(&uts) == 0) {
    String kernel = Utf8ToString(uts.sysname) + u" " + Utf8ToString(uts.release) + u" " + Utf8ToString(uts.machine);
    return name.empty() ? kernel : name + u" (" + kernel + u")";
  }
  return name.empty() ? String(u"Unknown") : name;
}

// No browser registry exists here.
String TWebUpdate::GetIEVersion() { return u"(not found)"; }
String TWebUpdate::GetIDE() { return {}; }
// No development environments are registered here.
String TWebUpdate::GetInstalledIDEs() { return {}; }

String TWebUpdate::AppPath() const {
  if (FAppName.empty() || FAppName[0] == u'/') return FAppName;
  return IncludeTrailingPathDelimiter(CurrentFolder()) + FAppName;
}

String TWebUpdate::RestartCommandLine() {
  TRestartRequest request;
  request.Pid = static_cast<Integer>(::getpid());
  request.Logging = Logging;
  if (!AutoRestart) {
    request.App = u"null";
  } else {
    request.App = AppPath();
  }
  request.Params = FAppParams.empty() ? String(u" ") : FAppParams;
  request.TempDir = UseWinTempDir ? WinTempDir() : TempDirectory;
  // The files as they were downloaded (the list matches them without regard to case).
  request.Components = FAppCompFiles;
  if (request.Components.empty()) {
    String comps = FAppComps;
    for (Char& c : comps)
      if (c == u',' || c == u';') c = u' ';
    for (const String& c : CommandLineToArgs(comps)) request.Components.push_back(ExtractFileName(c));
  }
  return BuildRestartCommandLine(request);
}

void TWebUpdate::DiscardRestartFiles() {
  for (const String& path : FAppCompPlaced) DeleteFile(path);
  FAppCompFiles.clear();
  FAppCompPlaced.clear();
  FAppCompIncluded = false;
}

void TWebUpdate::DoRestart() {
  FRestartStarted = false;
  DoStatus(wsRestartIn, CurrentFolder(), 0, 0);
  bool cancel = false;
  DoProgressCancel(cancel);
  if (cancel) return;
  bool allow = true;
  if (OnAppRestart) {
    Raise([&] { OnAppRestart(this, allow); });
  } else if (!FAppSilentRestart) {
    int answer = IDNO;
    Ask(WebUpdateStatusText(wsAskShutdown), MB_YESNO | MB_ICONQUESTION, answer);
    allow = answer == IDYES;
  }
  if (!allow) return;
  // The helper runs from the private folder, which goes when the helper has started (or failed to).
  struct TDrop {
    TWebUpdate* W;
    ~TDrop() { W->DropPrivateDir(); }
  } drop{this};
  const String request = RestartCommandLine();
  // The helper installs into the program's folder: that folder must be one updates may write.
  const String programDir = AutoRestart ? ExtractFileDir(AppPath()) : CurrentFolder();
  if (!TargetDirAllowed(IncludeTrailingPathDelimiter(programDir))) {
    Refuse(wsTargetRefused, programDir, u"the program's folder is outside the folders updates may write");
    return;
  }
  const String helper = PrivateDir() + u"upd.exe";
  if (!ExtractUpdater()) {
    DoStatus(wsCannotSpawn, helper, 0, 0);
    return;
  }
  try {
    TIniFile ini(IncludeTrailingPathDelimiter(GetShellFolderPath(CSIDL_PERSONAL | CSIDL_FLAG_CREATE)) +
                 u"WUPDATE.INI");
    ini.WriteString(u"CONFIG", u"LOGFILENAME", WebUpdateLogFileName());
    ini.UpdateFile();
  } catch (const Exception& e) {
    DoStatus(wsSystemError, e.Message(), 1, 0);
  }
  const String& line = request;
  DoStatus(wsSpawn, line, 0, 0);
  // A helper that cannot start would leave the update half done: the program keeps running.
  TChildProcess child;
  if (!child.Start(helper, CommandLineToArgs(line))) {
    DoStatus(wsCannotSpawn, helper, 0, 0);
    return;
  }
  FRestartStarted = true;
  if (OnAppDoClose) Raise([&] { OnAppDoClose(this); });
  else if (Application != nullptr) Raise([&] { Application->Terminate(); });
}
