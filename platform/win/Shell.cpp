#include "platform/win/Shell.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "platform/rtl/StrUtils.h"
#include "platform/win/WinError.h"

extern char** environ;

namespace {

std::mutex gOpenerMutex;
TShellOpener gOpener;

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string SearchPath(const std::string& name) {
  const char* env = std::getenv("PATH");
  const std::string path = env != nullptr ? env : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    std::string dir = path.substr(start, end - start);
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return {};
}

bool IsUrl(const String& text) {
  const auto colon = text.find(u"://");
  if (colon != String::npos && colon > 0) {
    for (size_t i = 0; i < colon; ++i) {
      const Char c = text[i];
      const bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'+' ||
                      c == u'-' || c == u'.';
      if (!ok) return false;
    }
    return true;
  }
  return LowerCase(text.substr(0, 7)) == u"mailto:";
}

void ReapInBackground(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

bool DefaultOpener(const String& target) {
  TChildProcess p;
  return p.Start(u"xdg-open", {target});
}

}  // namespace

std::vector<String> CommandLineToArgs(const String& commandLine) {
  std::vector<String> args;
  String current;
  bool inArg = false, quoted = false;
  for (size_t i = 0; i < commandLine.size(); ++i) {
    const Char c = commandLine[i];
    if (quoted) {
      if (c == u'"') {
        if (i + 1 < commandLine.size() && commandLine[i + 1] == u'"') {
          current.push_back(u'"');
          ++i;
        } else {
          quoted = false;
        }
      } else {
        current.push_back(c);
      }
    } else if (c == u' ' || c == u'\t') {
      if (inArg) args.push_back(std::move(current));
      current.clear();
      inArg = false;
    } else if (c == u'"') {
      quoted = true;
      inArg = true;
    } else {
      current.push_back(c);
      inArg = true;
    }
  }
  if (inArg) args.push_back(std::move(current));
  return args;
}

struct TChildProcess::Impl {
  pid_t Pid = 0;
  bool Reaped = false;
  int Status = 0;
};

TChildProcess::TChildProcess() : FImpl(std::make_unique<Impl>()) {}

TChildProcess::~TChildProcess() {
  if (FImpl->Pid > 0 && !FImpl->Reaped) {
    int status = 0;
    if (waitpid(FImpl->Pid, &status, WNOHANG) == 0) ReapInBackground(FImpl->Pid);
  }
}

bool TChildProcess::Start(const String& program, const std::vector<String>& arguments, const String& directory) {
  if (FImpl->Pid > 0) {
    SetLastError(ERROR_BUSY);
    return false;
  }
  const std::string prog = StringToUtf8(program);
  if (prog.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  const std::string dir = StringToUtf8(directory);
  if (!dir.empty()) {
    struct stat st {};
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      SetLastError(ERROR_DIRECTORY);
      return false;
    }
  }
  std::vector<std::string> argv8{prog};
  for (const auto& a : arguments) argv8.push_back(StringToUtf8(a));
  std::vector<char*> argv;
  for (auto& a : argv8) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  // The child starts with default signal handling and an empty mask.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  const bool search = prog.find('/') == std::string::npos;
  const int rc = search ? posix_spawnp(&pid, prog.c_str(), &actions, &attr, argv.data(), environ)
                        : posix_spawn(&pid, prog.c_str(), &actions, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    SetLastErrorFromErrno(rc);
    return false;
  }
  FImpl->Pid = pid;
  FImpl->Reaped = false;
  SetLastError(ERROR_SUCCESS);
  return true;
}

DWORD TChildProcess::ProcessId() const { return FImpl->Pid > 0 ? static_cast<DWORD>(FImpl->Pid) : 0; }

bool TChildProcess::WaitFor(DWORD timeoutMs) {
  if (FImpl->Pid <= 0) return false;
  if (FImpl->Reaped) return true;
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    const pid_t r = waitpid(FImpl->Pid, &status, timeoutMs == Infinite ? 0 : WNOHANG);
    if (r == FImpl->Pid) {
      FImpl->Reaped = true;
      FImpl->Status = status;
      return true;
    }
    if (r < 0 && errno != EINTR) return false;
    if (timeoutMs == Infinite) continue;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

bool TChildProcess::GetExitCode(DWORD& exitCode) {
  if (FImpl->Pid <= 0) return false;
  if (!FImpl->Reaped) WaitFor(0);
  if (!FImpl->Reaped) {
    exitCode = StillActive;
    return true;
  }
  const int s = FImpl->Status;
  exitCode = WIFEXITED(s) ? static_cast<DWORD>(WEXITSTATUS(s)) : WIFSIGNALED(s) ? 128u + static_cast<DWORD>(WTERMSIG(s)) : 1u;
  return true;
}

TShellOpener SetShellOpener(TShellOpener opener) {
  std::lock_guard lock(gOpenerMutex);
  TShellOpener previous = std::move(gOpener);
  gOpener = std::move(opener);
  return previous;
}

NativeInt ShellExecute(const void*, const String& operation, const String& file, const String& parameters,
                       const String& directory, int) {
  if (!operation.empty() && LowerCase(operation) != u"open") return SE_ERR_NOASSOC;
  auto open = [&](const String& target) -> NativeInt {
    TShellOpener opener;
    {
      std::lock_guard lock(gOpenerMutex);
      opener = gOpener;
    }
    const bool ok = opener ? opener(target) : DefaultOpener(target);
    return ok ? 42 : SE_ERR_NOASSOC;
  };
  if (file.empty()) return SE_ERR_FNF;
  if (IsUrl(file)) return open(file);
  std::string path = StringToUtf8(file);
  if (path.find('/') == std::string::npos) {
    const std::string inDir = directory.empty() ? path : StringToUtf8(directory) + "/" + path;
    struct stat st {};
    if (stat(inDir.c_str(), &st) == 0) {
      path = inDir;
    } else {
      const std::string found = SearchPath(path);
      if (found.empty()) return SE_ERR_FNF;
      path = found;
    }
  }
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return errno == ENOTDIR ? SE_ERR_PNF : SE_ERR_FNF;
  if (!IsExecutableFile(path)) return open(Utf8ToString(path));
  TChildProcess child;
  if (!child.Start(Utf8ToString(path), CommandLineToArgs(parameters), directory)) {
    return GetLastError() == ERROR_ACCESS_DENIED ? SE_ERR_ACCESSDENIED : SE_ERR_FNF;
  }
  return 42;
}

UINT WinExec(const AnsiString& cmdLine, UINT) {
  const auto args = CommandLineToArgs(AnsiToString(cmdLine));
  if (args.empty()) return 0;
  TChildProcess child;
  if (!child.Start(args[0], std::vector<String>(args.begin() + 1, args.end()))) return GetLastError();
  return 33;
}
