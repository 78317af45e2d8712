#pragma once
// A real OpenSSH server with internal-sftp on 127.0.0.1 for the SFTP tests.
//
// sshd runs from a temporary folder with its own host key and configuration,
// in a private mount namespace (unshare) where /etc/passwd and /etc/shadow
// are copies that add one password user and /run is a fresh tmpfs for sshd's
// privilege-separation folder: the machine's own files stay untouched. The
// user is uid 0 inside the namespace (under an unprivileged user namespace
// when the test does not run as root), so it can read the test's files.
#include <sys/types.h>

#include <filesystem>
#include <string>

namespace test_support {

class TSshServer {
 public:
  // Starts sshd for user/password; Port() is 0 (and Failure() says why) when
  // sshd, unshare or ssh-keygen cannot run on this machine.
  TSshServer(const std::string& user, const std::string& password);
  // Stops sshd and removes its folder.
  ~TSshServer();
  TSshServer(const TSshServer&) = delete;
  TSshServer& operator=(const TSshServer&) = delete;

  int Port() const { return FPort; }
  const std::string& Failure() const { return FFailure; }
  // The server's host key line as a known-hosts file wants it ("[127.0.0.1]:port ssh-ed25519 AAAA...").
  std::string KnownHostsLine() const;

 private:
  std::filesystem::path FDir;
  pid_t FPid = -1;
  int FPort = 0;
  std::string FFailure;
};

}  // namespace test_support
