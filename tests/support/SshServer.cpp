#include "tests/support/SshServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace test_support {

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

// A port nobody listens on right now (sshd needs it before it starts).
int FreePort() {
  int s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return 0;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  int port = 0;
  if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  ::close(s);
  return port;
}

bool Accepts(int port) {
  int s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return false;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  ::close(s);
  return ok;
}

}  // namespace

TSshServer::TSshServer(const std::string& user, const std::string& password) {
  if (!fs::exists("/usr/sbin/sshd") || !fs::exists("/usr/bin/unshare")) {
    FFailure = "sshd or unshare is not installed";
    return;
  }
  std::string pattern = (fs::temp_directory_path() / "ryx_sshd_XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    FFailure = "no temporary folder";
    return;
  }
  FDir = pattern;
  const std::string dir = FDir.string();
  if (!Run("ssh-keygen -q -t ed25519 -N '' -f " + dir + "/host_key >/dev/null 2>&1")) {
    FFailure = "ssh-keygen failed";
    return;
  }
  // Single quotes keep the hash's "$" from the shell.
  if (!Run("openssl passwd -6 '" + password + "' > " + dir + "/hash 2>/dev/null")) {
    FFailure = "openssl passwd failed";
    return;
  }
  std::string hash = ReadAll(FDir / "hash");
  while (!hash.empty() && (hash.back() == '\n' || hash.back() == '\r')) hash.pop_back();
  {
    std::ofstream passwd(FDir / "passwd");
    passwd << ReadAll("/etc/passwd") << user << ":x:0:0:sftp test:" << dir << ":/bin/sh\n";
    std::ofstream shadow(FDir / "shadow");
    shadow << user << ":" << hash << ":19000:0:99999:7:::\n";
    std::ofstream config(FDir / "sshd_config");
    FPort = FreePort();
    config << "ListenAddress 127.0.0.1\nPort " << FPort << "\nHostKey " << dir << "/host_key\n"
           << "PidFile none\nUsePAM no\nStrictModes no\nPasswordAuthentication yes\n"
           << "KbdInteractiveAuthentication no\nPubkeyAuthentication no\nPermitRootLogin yes\n"
           << "AllowUsers " << user << "\nSubsystem sftp internal-sftp\nForceCommand internal-sftp\n"
           << "MaxAuthTries 30\nLogLevel ERROR\n";
  }
  const std::string script = "mount --bind " + dir + "/passwd /etc/passwd && mount --bind " + dir +
                             "/shadow /etc/shadow && mount -t tmpfs tmpfs /run && mkdir -m 755 /run/sshd && "
                             "exec /usr/sbin/sshd -D -e -f " + dir + "/sshd_config >/dev/null 2>>" + dir + "/sshd.log";
  FPid = ::fork();
  if (FPid == 0) {
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // a test that dies takes its server along
    if (::geteuid() == 0)
      ::execl("/usr/bin/unshare", "unshare", "-m", "--propagation", "private", "/bin/sh", "-c", script.c_str(),
              static_cast<char*>(nullptr));
    else
      ::execl("/usr/bin/unshare", "unshare", "-r", "-m", "--propagation", "private", "/bin/sh", "-c",
              script.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  for (int i = 0; i < 100; ++i) {
    if (Accepts(FPort)) return;
    if (::waitpid(FPid, nullptr, WNOHANG) == FPid) {
      FPid = -1;
      break;
    }
    ::usleep(50000);
  }
  FFailure = "sshd did not start: " + ReadAll(FDir / "sshd.log");
  FPort = 0;
}

TSshServer::~TSshServer() {
  if (FPid > 0) {
    ::kill(-FPid, SIGTERM);
    ::kill(FPid, SIGTERM);
    for (int i = 0; i < 50 && ::waitpid(FPid, nullptr, WNOHANG) != FPid; ++i) ::usleep(20000);
    ::kill(-FPid, SIGKILL);
    ::waitpid(FPid, nullptr, WNOHANG);
  }
  std::error_code ec;
  if (!FDir.empty()) fs::remove_all(FDir, ec);
}

std::string TSshServer::KnownHostsLine() const {
  std::string key = ReadAll(FDir / "host_key.pub");
  if (std::size_t p = key.find(' ', key.find(' ') + 1); p != std::string::npos) key.resize(p);
  return "[127.0.0.1]:" + std::to_string(FPort) + " " + key;
}

}  // namespace test_support
