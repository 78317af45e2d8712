#include "webupdate/restart_helper/RestartHelper.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/Files.h"
#include "platform/win/Shell.h"
#include "webupdate/UpdateLog.h"

namespace {

constexpr const char* kJournal = ".wupdate-journal";
constexpr const char* kNewSuffix = ".wupdate-new";
constexpr const char* kOldSuffix = ".wupdate-old";

bool PlainName(const String& name) {
  return !name.empty() && name != u"." && name != u".." && name.find_first_of(u"/\\") == String::npos &&
         name.find(u'\0') == String::npos;
}

// Test hook: RYX_UPD_KILL_AT=<n> kills the helper with SIGKILL at its n-th
// install step, so tests can interrupt the transaction anywhere.
void Step() {
  static const long killAt = [] {
    const char* v = std::getenv("RYX_UPD_KILL_AT");
    return v != nullptr ? std::strtol(v, nullptr, 10) : 0L;
  }();
  static long count = 0;
  if (killAt > 0 && ++count == killAt) ::raise(SIGKILL);
}

std::string Join(const std::string& dir, const std::string& name) { return dir + "/" + name; }

// True while the process runs. A process that has ended but that its parent
// has not reaped yet (a zombie) still answers kill(); it holds no files, so it
// counts as ended, or the helper would wait for a parent that never looks.
bool ProcessRunning(pid_t pid) {
  if (::kill(pid, 0) != 0 && errno != EPERM) return false;
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat;
  std::getline(in, stat);
  const std::size_t close = stat.rfind(')');  // the name in parentheses may hold anything
  return close == std::string::npos || close + 2 >= stat.size() || stat[close + 2] != 'Z';
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

bool SyncFolder(const std::string& dir) {
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

// Copies source to target (created new) and flushes it. The target takes the
// mode of the file it will replace (modeOf) when that exists, else the
// source's: a download is written private and not executable, and a program
// replaced with that mode could not be started again.
bool CopyFlushed(const std::string& source, const std::string& target, const std::string& modeOf,
                 std::string& error) {
  int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    error = "cannot read " + source + ": " + std::strerror(errno);
    return false;
  }
  struct stat st;
  ::fstat(in, &st);
  mode_t mode = st.st_mode & 0777;
  if (struct stat old; ::stat(modeOf.c_str(), &old) == 0 && S_ISREG(old.st_mode)) mode = old.st_mode & 0777;
  ::unlink(target.c_str());
  int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  if (out < 0) {
    error = "cannot write " + target + ": " + std::strerror(errno);
    ::close(in);
    return false;
  }
  char block[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(in, block, sizeof block);
    if (n < 0) ok = false;
    if (n <= 0) break;
    for (ssize_t done = 0; done < n && ok;) {
      ssize_t w = ::write(out, block + done, static_cast<std::size_t>(n - done));
      if (w <= 0) ok = false;
      else done += w;
    }
    if (!ok) break;
  }
  ::fchmod(out, mode);  // past the umask
  if (ok && ::fsync(out) != 0) ok = false;
  ::close(out);
  ::close(in);
  if (!ok) error = "cannot copy " + source + " to " + target;
  return ok;
}

struct TJournal {
  std::string State;  // staging, swapping, committed
  std::vector<std::pair<bool, std::string>> Files;  // existed before, name
};

bool WriteJournal(const std::string& dir, const TJournal& journal) {
  const std::string path = Join(dir, kJournal), temp = path + ".tmp";
  std::ostringstream text;
  text << journal.State << "\n";
  for (const auto& [existed, name] : journal.Files) text << (existed ? "1 " : "0 ") << name << "\n";
  const std::string bytes = text.str();
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) && ::fsync(fd) == 0;
  ::close(fd);
  ok = ok && ::rename(temp.c_str(), path.c_str()) == 0 && SyncFolder(dir);
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool ReadJournal(const std::string& dir, TJournal& journal) {
  std::ifstream in(Join(dir, kJournal));
  if (!in) return false;
  std::getline(in, journal.State);
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() < 3 || (line[0] != '0' && line[0] != '1') || line[1] != ' ') continue;
    std::string name = line.substr(2);
    if (!PlainName(Utf8ToString(name))) continue;  // never act outside the folder
    journal.Files.emplace_back(line[0] == '1', name);
  }
  return true;
}

void RemoveJournal(const std::string& dir) {
  ::unlink(Join(dir, kJournal).c_str());
  ::unlink((Join(dir, kJournal) + ".tmp").c_str());
  SyncFolder(dir);
}

// Puts every old file back and removes the new ones: the state before the install.
void RollBack(const std::string& dir, const TJournal& journal) {
  for (const auto& [existed, name] : journal.Files) {
    const std::string target = Join(dir, name), staged = target + kNewSuffix, old = target + kOldSuffix;
    if (existed) {
      // Renaming a hard link over its twin does nothing: the extra name is unlinked after.
      if (Exists(old)) ::rename(old.c_str(), target.c_str());
      ::unlink(old.c_str());
    } else if (!Exists(staged)) {
      ::unlink(target.c_str());  // it was swapped in
    }
    ::unlink(staged.c_str());
  }
  SyncFolder(dir);
}

void RemoveLeftovers(const std::string& dir, const TJournal& journal) {
  for (const auto& entry : journal.Files) {
    ::unlink((Join(dir, entry.second) + kOldSuffix).c_str());
    ::unlink((Join(dir, entry.second) + kNewSuffix).c_str());
  }
  SyncFolder(dir);
}

}  // namespace

bool ParseRestartArguments(const std::vector<String>& args, TRestartRequest& request, String& error) {
  request = TRestartRequest();
  if (args.size() < 5) {
    error = u"too few arguments";
    return false;
  }
  if (!TryStrToInt(args[0], request.Pid) || request.Pid <= 0) {
    error = u"bad process id: " + args[0];
    return false;
  }
  if (args[1] != u"L" && args[1] != u"X") {
    error = u"bad mode: " + args[1];
    return false;
  }
  request.Logging = args[1] == u"L";
  request.App = args[2];
  request.Params = args[3];
  request.TempDir = args[4];
  if (request.App.empty() || request.TempDir.empty()) {
    error = u"no program or temporary folder";
    return false;
  }
  for (std::size_t i = 5; i < args.size(); ++i) {
    if (!PlainName(args[i])) {
      error = u"component is not a plain file name: " + args[i];
      return false;
    }
    request.Components.push_back(args[i]);
  }
  return true;
}

String BuildRestartCommandLine(const TRestartRequest& request) {
  String line = IntToStr(request.Pid) + (request.Logging ? u" L " : u" X ") + AnsiQuotedStr(request.App, u'"') +
                u" " + AnsiQuotedStr(request.Params, u'"') + u" " + AnsiQuotedStr(request.TempDir, u'"');
  for (const String& c : request.Components) line += u" " + AnsiQuotedStr(c, u'"');
  return line;
}

bool RecoverInstall(const String& programDir) {
  const std::string dir = StringToUtf8(ExcludeTrailingPathDelimiter(programDir));
  TJournal journal;
  if (!ReadJournal(dir, journal)) return true;
  if (journal.State == "committed") RemoveLeftovers(dir, journal);
  else RollBack(dir, journal);  // staging, swapping, or a journal cut short
  RemoveJournal(dir);
  return true;
}

bool InstallComponents(const String& programDir, const String& tempDir, const std::vector<String>& names,
                       String& error) {
  const std::string dir = StringToUtf8(ExcludeTrailingPathDelimiter(programDir));
  const std::string from = StringToUtf8(ExcludeTrailingPathDelimiter(tempDir));
  RecoverInstall(programDir);
  TJournal journal;
  journal.State = "staging";
  for (const String& n : names) {
    if (!PlainName(n)) {
      error = u"component is not a plain file name: " + n;
      return false;
    }
    const std::string name = StringToUtf8(n);
    if (!Exists(Join(from, name))) {
      error = u"missing downloaded component " + n;
      return false;
    }
    journal.Files.emplace_back(Exists(Join(dir, name)), name);
  }
  std::string text;
  auto fail = [&](const std::string& why) {
    error = Utf8ToString(why);
    RollBack(dir, journal);
    RemoveJournal(dir);
    return false;
  };
  if (!WriteJournal(dir, journal)) {
    error = u"cannot write the install journal in " + programDir;
    return false;
  }
  Step();
  for (const auto& entry : journal.Files) {
    const std::string target = Join(dir, entry.second);
    if (!CopyFlushed(Join(from, entry.second), target + kNewSuffix, target, text)) return fail(text);
    Step();
  }
  journal.State = "swapping";
  if (!SyncFolder(dir) || !WriteJournal(dir, journal)) return fail("cannot write the install journal");
  Step();
  for (const auto& [existed, name] : journal.Files) {
    const std::string target = Join(dir, name);
    if (existed) {
      ::unlink((target + kOldSuffix).c_str());
      if (::link(target.c_str(), (target + kOldSuffix).c_str()) != 0)
        return fail("cannot keep the old " + name + ": " + std::strerror(errno));
      Step();
    }
    if (::rename((target + kNewSuffix).c_str(), target.c_str()) != 0)
      return fail("cannot replace " + name + ": " + std::strerror(errno));
    Step();
  }
  journal.State = "committed";
  if (!SyncFolder(dir) || !WriteJournal(dir, journal)) return fail("cannot write the install journal");
  Step();
  for (const auto& entry : journal.Files) {
    ::unlink((Join(dir, entry.second) + kOldSuffix).c_str());
    Step();
  }
  RemoveJournal(dir);
  return true;
}

int RunRestartHelper(const std::vector<String>& args) {
  if (args.size() == 2 && args[0] == u"--recover") return RecoverInstall(args[1]) ? 0 : 1;
  TRestartRequest request;
  String error;
  if (!ParseRestartArguments(args, request, error)) return 2;
  // The program's folder: the one of its file, or ours when it is not restarted.
  String programDir = request.App == u"null" ? Utf8ToString(std::filesystem::current_path().string())
                                             : ExtractFileDir(request.App);
  String logName = u"WUPDATE.LOG";
  try {
    TIniFile ini(IncludeTrailingPathDelimiter(GetShellFolderPath(CSIDL_PERSONAL)) + u"WUPDATE.INI");
    logName = ini.ReadString(u"CONFIG", u"LOGFILENAME", logName);
  } catch (...) {
    // No settings: the default name.
  }
  auto log = [&](const String& line) {
    if (request.Logging)
      WriteLogLine(logName, programDir,
                   FormatDateTime(u"dd/mm/yyyy hh:nn:ss", Now()) + u" : [upd] " + line);
  };
  log(u"Restart helper: " + BuildRestartCommandLine(request));
  // Wait for the program to end (it is closing when it starts us).
  for (int i = 0; i < 6000 && ProcessRunning(request.Pid); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (ProcessRunning(request.Pid)) {
    log(u"The program did not end: nothing installed");
    return 3;
  }
  if (!request.Components.empty()) {
    if (!InstallComponents(programDir, request.TempDir, request.Components, error)) {
      log(u"Install failed: " + error);
    } else {
      log(u"Installed " + IntToStr(static_cast<Integer>(request.Components.size())) + u" file(s) in " + programDir);
      for (const String& c : request.Components)
        DeleteFile(IncludeTrailingPathDelimiter(request.TempDir) + c);
    }
  }
  if (request.App == u"null") return error.empty() ? 0 : 4;
  TChildProcess child;
  String params = Trim(request.Params);
  if (!child.Start(request.App, params.empty() ? std::vector<String>{} : CommandLineToArgs(params), programDir)) {
    log(u"Cannot start " + request.App);
    return 5;
  }
  log(u"Started " + request.App);
  return error.empty() ? 0 : 4;
}
