#pragma once
// Starts a loopback server program for a test and stops it again: the program
// prints "PORT <n>" on its first line and runs until its stdin closes.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace test_support {

class TServerProcess {
 public:
  // Runs argv; Port() is 0 when the program did not start or report a port within 10 s.
  explicit TServerProcess(const std::vector<std::string>& argv) {
    int in[2], out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0) return;
    FPid = ::fork();
    if (FPid == 0) {
      ::dup2(in[0], 0);
      ::dup2(out[1], 1);
      ::close(in[1]);
      ::close(out[0]);
      std::vector<char*> args;
      for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execvp(args[0], args.data());
      ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    FStdin = in[1];
    std::string line;
    char c;
    pollfd p{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&p, 1, 10000) > 0 && ::read(out[0], &c, 1) == 1)
      line.push_back(c);
    ::close(out[0]);
    if (line.rfind("PORT ", 0) == 0) FPort = std::stoi(line.substr(5));
  }
  ~TServerProcess() {
    if (FStdin >= 0) ::close(FStdin);
    if (FPid > 0) {
      for (int i = 0; i < 50; ++i) {
        if (::waitpid(FPid, nullptr, WNOHANG) == FPid) return;
        ::usleep(100000);
      }
      ::kill(FPid, SIGKILL);
      ::waitpid(FPid, nullptr, 0);
    }
  }
  TServerProcess(const TServerProcess&) = delete;
  TServerProcess& operator=(const TServerProcess&) = delete;

  int Port() const { return FPort; }

 private:
  pid_t FPid = -1;
  int FStdin = -1;
  int FPort = 0;
};

}  // namespace test_support
