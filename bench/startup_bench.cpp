// Start-up of the program against a minimal Qt Widgets program built with the
// same Qt: wall time from spawn to the main window's first paint and to exit,
// and peak resident memory, with both programs ending right after that paint
// (RYX_EXIT_AFTER_FIRST_PAINT=1). The paint's moment comes down a pipe
// (RYX_FIRST_PAINT_FD), so the program's shut-down (saving its settings) is
// timed apart. Runs alternate, a warm-up run of each is discarded. The bench
// reports; its exit status says only whether it could run.
//   startup_bench [--runs N] [--display] [--program PATH] [--reference PATH]
//                 [--timeout-ms N]
// Headless (QT_QPA_PLATFORM=offscreen) unless --display asks for the window
// system named by DISPLAY.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

constexpr double kTimeRatioTarget = 1.25;
constexpr double kPeakRssTargetMB = 36.0;

struct TOptions {
  int Runs = 21;
  bool Display = false;
  std::string Program = RYX_STARTUP_PROGRAM;
  std::string Reference = RYX_STARTUP_REFERENCE;
  int TimeoutMs = 20000;
};

// The descriptor the measured program writes "first paint" to.
constexpr int kTellFd = 100;

struct TSample {
  double PaintMs = 0;  // NaN when the program did not tell
  double ExitMs = 0;
  double CpuMs = 0;  // user and system time of the whole run
  double PeakMB = 0;
};

// One program's runs and the folders it runs in (kept across its runs, as a
// returning user's would be).
struct TSubject {
  std::string Name;
  std::string Path;
  std::filesystem::path Home;
  std::vector<TSample> Samples;
  int Failures = 0;
};

double MB(long kib) { return double(kib) / 1024.0; }

// The environment of a measured run: this one's, with the window system,
// home and XDG folders replaced.
std::vector<std::string> RunEnvironment(const TSubject& s, bool display) {
  static const std::vector<std::string_view> replaced = {
      "HOME=", "XDG_CONFIG_HOME=", "XDG_CACHE_HOME=", "XDG_DATA_HOME=", "XDG_STATE_HOME=", "XDG_RUNTIME_DIR=",
      "QT_QPA_PLATFORM=", "RYX_UPDATE_URL=", "RYX_EXIT_AFTER_FIRST_PAINT=", "RYX_FIRST_PAINT_FD="};
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string_view v(*e);
    if (std::none_of(replaced.begin(), replaced.end(), [&](std::string_view p) { return v.starts_with(p); }))
      env.emplace_back(v);
  }
  const std::string h = s.Home.string();
  env.push_back("HOME=" + h);
  env.push_back("XDG_CONFIG_HOME=" + h + "/.config");
  env.push_back("XDG_CACHE_HOME=" + h + "/.cache");
  env.push_back("XDG_DATA_HOME=" + h + "/.local/share");
  env.push_back("XDG_STATE_HOME=" + h + "/.local/state");
  env.push_back("XDG_RUNTIME_DIR=" + h + "/runtime");
  if (!display) env.push_back("QT_QPA_PLATFORM=offscreen");
  // The update check (a second after the window shows) finds nothing listening.
  env.push_back("RYX_UPDATE_URL=http://127.0.0.1:9/none.inf");
  env.push_back("RYX_EXIT_AFTER_FIRST_PAINT=1");
  env.push_back("RYX_FIRST_PAINT_FD=" + std::to_string(kTellFd));
  return env;
}

bool MakeFolders(const std::filesystem::path& home) {
  std::error_code ec;
  for (const char* sub : {".config", ".cache", ".local/share", ".local/state", "runtime"})
    std::filesystem::create_directories(home / sub, ec);
  // Qt wants its runtime folder private.
  return !ec && ::chmod((home / "runtime").c_str(), 0700) == 0;
}

using TClock = std::chrono::steady_clock;

double MsSince(TClock::time_point start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

// Waits for the child at most timeoutMs (then kills it), noting when the
// first paint is told on `tell`; answers its status and resource use, or
// nullopt when it had to be killed.
std::optional<int> WaitChild(pid_t pid, int tell, int timeoutMs, TClock::time_point start, double& paintMs,
                             rusage& usage) {
  paintMs = std::nan("");
  const int pidfd = int(::syscall(SYS_pidfd_open, pid, 0));
  bool killed = false;
  if (pidfd >= 0) {
    for (bool ended = false; !ended;) {
      pollfd p[2] = {{pidfd, POLLIN, 0}, {tell, POLLIN, 0}};
      const int left = timeoutMs - int(MsSince(start));
      const int r = left > 0 ? ::poll(p, tell >= 0 ? 2 : 1, left) : 0;
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) {
        ::kill(pid, SIGKILL);
        killed = true;
        break;
      }
      if (tell >= 0 && (p[1].revents & (POLLIN | POLLHUP))) {
        char line[64];
        if (::read(tell, line, sizeof line) > 0 && std::isnan(paintMs)) paintMs = MsSince(start);
        else tell = -1;  // closed without a word
      }
      ended = (p[0].revents & POLLIN) != 0;
    }
    ::close(pidfd);
  }
  int status = 0;
  while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  if (killed) return std::nullopt;
  return status;
}

// Runs the subject once; a failed run is counted and reported, not measured.
void RunOnce(TSubject& s, const TOptions& o, bool keep) {
  std::vector<std::string> env = RunEnvironment(s, o.Display);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string path = s.Path;
  char* argv[] = {path.data(), nullptr};
  int tell[2];
  if (::pipe2(tell, O_CLOEXEC) != 0) {
    std::perror("startup_bench: pipe");
    ++s.Failures;
    return;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const std::string errLog = (s.Home / "stderr.log").string();
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, tell[1], kTellFd);  // the copy keeps no close-on-exec
  posix_spawn_file_actions_addchdir_np(&actions, s.Home.c_str());

  pid_t pid = 0;
  const auto start = TClock::now();
  const int rc = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(tell[1]);
  if (rc != 0) {
    ::close(tell[0]);
    std::fprintf(stderr, "startup_bench: cannot start %s: %s\n", path.c_str(), std::strerror(rc));
    ++s.Failures;
    return;
  }
  rusage usage{};
  double paintMs = 0;
  const std::optional<int> status = WaitChild(pid, tell[0], o.TimeoutMs, start, paintMs, usage);
  const double exitMs = MsSince(start);
  ::close(tell[0]);
  if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
    if (!status)
      std::fprintf(stderr, "startup_bench: %s did not end within %d ms (killed)\n", s.Name.c_str(), o.TimeoutMs);
    else
      std::fprintf(stderr, "startup_bench: %s ended with status 0x%x (see %s)\n", s.Name.c_str(), *status,
                   errLog.c_str());
    ++s.Failures;
    return;
  }
  auto ms = [](const timeval& t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
  if (keep) s.Samples.push_back({paintMs, exitMs, ms(usage.ru_utime) + ms(usage.ru_stime), MB(usage.ru_maxrss)});
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct TSummary {
  double Median = 0, Min = 0, Max = 0, Mad = 0;  // median absolute deviation
};

TSummary Summarize(const std::vector<double>& v) {
  TSummary s;
  s.Median = Median(v);
  s.Min = *std::min_element(v.begin(), v.end());
  s.Max = *std::max_element(v.begin(), v.end());
  std::vector<double> dev;
  for (double x : v) dev.push_back(std::abs(x - s.Median));
  s.Mad = Median(dev);
  return s;
}

std::vector<double> Column(const TSubject& s, double TSample::*field) {
  std::vector<double> v;
  for (const TSample& x : s.Samples) v.push_back(x.*field);
  return v;
}

// True when every run told its first paint.
bool Told(const TSubject& s) {
  return std::none_of(s.Samples.begin(), s.Samples.end(), [](const TSample& x) { return std::isnan(x.PaintMs); });
}

void PrintSubject(const TSubject& s) {
  std::printf("%s (%zu runs): %s\n", s.Name.c_str(), s.Samples.size(), s.Path.c_str());
  auto line = [](const char* what, const TSummary& t, const char* unit) {
    std::printf("  %-14s median %7.1f %s  (min %.1f, max %.1f, MAD %.1f)\n", what, t.Median, unit, t.Min, t.Max, t.Mad);
  };
  if (Told(s))
    line("to first paint", Summarize(Column(s, &TSample::PaintMs)), "ms");
  else
    std::printf("  %-14s not told by every run\n", "to first paint");
  line("to exit", Summarize(Column(s, &TSample::ExitMs)), "ms");
  line("CPU time", Summarize(Column(s, &TSample::CpuMs)), "ms");
  line("peak RSS", Summarize(Column(s, &TSample::PeakMB)), "MB");
}

bool ParseOptions(int argc, char** argv, TOptions& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a(argv[i]);
    const bool hasValue = i + 1 < argc;
    if (a == "--display")
      o.Display = true;
    else if (a == "--runs" && hasValue)
      o.Runs = std::atoi(argv[++i]);
    else if (a == "--program" && hasValue)
      o.Program = argv[++i];
    else if (a == "--reference" && hasValue)
      o.Reference = argv[++i];
    else if (a == "--timeout-ms" && hasValue)
      o.TimeoutMs = std::atoi(argv[++i]);
    else {
      std::fprintf(stderr,
                   "usage: startup_bench [--runs N] [--display] [--program PATH] [--reference PATH] "
                   "[--timeout-ms N]\n");
      return false;
    }
  }
  if (o.Runs < 1 || o.Runs > 10000 || o.TimeoutMs < 1) {
    std::fprintf(stderr, "startup_bench: --runs must be 1..10000 and --timeout-ms positive\n");
    return false;
  }
  // The runs start in their own folders: paths are made absolute first.
  for (std::string* path : {&o.Program, &o.Reference}) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(*path, ec);
    if (ec || ::access(full.c_str(), X_OK) != 0) {
      std::fprintf(stderr, "startup_bench: %s is no program that can be started\n", path->c_str());
      return false;
    }
    *path = full.string();
  }
  if (o.Display && std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "startup_bench: --display given but DISPLAY is not set\n");
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions o;
  if (!ParseOptions(argc, argv, o)) return 2;
  std::string rootTemplate = (std::filesystem::temp_directory_path() / "ryx-startup-XXXXXX").string();
  if (::mkdtemp(rootTemplate.data()) == nullptr) {
    std::perror("startup_bench: mkdtemp");
    return 2;
  }
  const std::filesystem::path root(rootTemplate);
  TSubject program{"program", o.Program, root / "program", {}, 0};
  TSubject reference{"minimal Qt", o.Reference, root / "reference", {}, 0};
  if (!MakeFolders(program.Home) || !MakeFolders(reference.Home)) {
    std::fprintf(stderr, "startup_bench: cannot make folders under %s\n", root.c_str());
    return 2;
  }

  std::printf("start-up to first paint, %s, %d runs each (after a warm-up run)\n",
              o.Display ? "on the display" : "offscreen", o.Runs);
  std::fflush(stdout);
  RunOnce(program, o, false);
  RunOnce(reference, o, false);
  for (int i = 0; i < o.Runs; ++i) {
    // Alternating which goes first evens out what one run leaves the next.
    if (i % 2 == 0) {
      RunOnce(program, o, true);
      RunOnce(reference, o, true);
    } else {
      RunOnce(reference, o, true);
      RunOnce(program, o, true);
    }
  }

  const bool measured = !program.Samples.empty() && !reference.Samples.empty();
  if (measured) {
    PrintSubject(program);
    PrintSubject(reference);
    // The goal is the time to the first paint; a program that cannot tell it is timed to its exit.
    const bool told = Told(program) && Told(reference);
    double TSample::*timed = told ? &TSample::PaintMs : &TSample::ExitMs;
    const double ratio = Median(Column(program, timed)) / Median(Column(reference, timed));
    const double exitRatio = Median(Column(program, &TSample::ExitMs)) / Median(Column(reference, &TSample::ExitMs));
    const double cpuRatio = Median(Column(program, &TSample::CpuMs)) / Median(Column(reference, &TSample::CpuMs));
    const double peak = Median(Column(program, &TSample::PeakMB));
    const double rssRatio = peak / Median(Column(reference, &TSample::PeakMB));
    std::printf("time ratio   %.2f to %s (to exit %.2f, CPU %.2f; target <= %.2f): %s\n", ratio,
                told ? "first paint" : "exit", exitRatio, cpuRatio, kTimeRatioTarget,
                ratio <= kTimeRatioTarget ? "PASS" : "over target");
    std::printf("peak RSS MiB %.1f (%.2fx the minimal program; target < %.0f MiB): %s\n", peak, rssRatio,
                kPeakRssTargetMB, peak < kPeakRssTargetMB ? "PASS" : "over target");
  }
  if (program.Failures + reference.Failures > 0)
    std::printf("failed runs: program %d, minimal Qt %d\n", program.Failures, reference.Failures);
  // The folders of failed runs hold their error output.
  if (program.Failures + reference.Failures > 0) {
    std::printf("their output is kept in %s\n", root.c_str());
  } else {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  if (!measured) {
    std::fprintf(stderr, "startup_bench: no successful runs of both programs\n");
    return 1;
  }
  return 0;
}
