#pragma once
// Starting programs and opening documents. Programs start through
// posix_spawn with an argument vector: no command line ever passes through a
// shell. Command-line texts (as the Windows calls take them) are split by
// CommandLineToArgs first.
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Types.h"
#include "platform/win/Files.h"
#include "platform/win/Window.h"

constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWDEFAULT = 10;

// ShellExecute's answers of 32 or less.
constexpr NativeInt SE_ERR_FNF = 2;
constexpr NativeInt SE_ERR_PNF = 3;
constexpr NativeInt SE_ERR_ACCESSDENIED = 5;
constexpr NativeInt SE_ERR_NOASSOC = 31;

// Splits a command line into arguments: blanks and tabs separate them; double
// quotes group blanks into one argument and are removed; "" inside quotes is
// one literal quote; a backslash is an ordinary character (so a quoted folder
// that ends in a backslash stays whole). "a \"b c\" \" \"" gives a, b c, " ".
std::vector<String> CommandLineToArgs(const String& commandLine);

// A started program.
class TChildProcess {
 public:
  static constexpr DWORD Infinite = 0xFFFFFFFF;
  static constexpr DWORD StillActive = 259;

  TChildProcess();
  // A child still running is left running; it is reaped in the background.
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  // Starts program with the arguments after its name. A program name without
  // "/" is searched in PATH. directory "" keeps the current folder. False
  // with the last error (ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED,
  // ERROR_BAD_EXE_FORMAT, ERROR_DIRECTORY...) when it cannot start, or when
  // this object already holds a process (ERROR_BUSY).
  bool Start(const String& program, const std::vector<String>& arguments, const String& directory = {});
  // 0 before a successful Start.
  DWORD ProcessId() const;
  // Waits up to timeoutMs real milliseconds for the end; true when it ended
  // (also when it had ended before). False at once when nothing was started.
  bool WaitFor(DWORD timeoutMs = Infinite);
  // The exit code once ended (128 + signal number when a signal ended it);
  // StillActive while it runs. False when nothing was started.
  bool GetExitCode(DWORD& exitCode);

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

// Opens a document or URL with the desktop's opener; false when that could
// not be started. Tests replace it so nothing is ever opened.
using TShellOpener = std::function<bool(const String& target)>;
// Installs an opener and answers the previous one; an empty one restores the
// default, which runs "xdg-open <target>" without waiting.
TShellOpener SetShellOpener(TShellOpener opener);

// operation "" or "open" (any case): a URL ("scheme://...", "mailto:") or an
// existing non-program file goes to the opener; an executable file (by path,
// or by name in PATH) is started with parameters split by CommandLineToArgs,
// in directory when given, and not waited for. Answers a value above 32 on
// success, else SE_ERR_FNF (nothing of that name), SE_ERR_ACCESSDENIED,
// SE_ERR_NOASSOC (other operations, or the opener failed). ownerWindow is
// accepted and ignored.
NativeInt ShellExecute(const void* ownerWindow, const String& operation, const String& file, const String& parameters,
                       const String& directory, int showCmd);

// Starts the program named by the first argument of the 8-bit command line
// without waiting. Answers 33 on success, 0 for an empty line, else the error
// number (ERROR_FILE_NOT_FOUND...).
UINT WinExec(const AnsiString& cmdLine, UINT showCmd);
