#include "tests/support/PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/comm/SerialPorts.h"

namespace test_support {

namespace {

using SteadyClock = std::chrono::steady_clock;

int MsLeft(SteadyClock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

TPseudoTerminal::TPseudoTerminal() {
  FMaster = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (FMaster < 0) throw std::runtime_error("posix_openpt failed");
  char name[128] = {};
  if (::grantpt(FMaster) != 0 || ::unlockpt(FMaster) != 0 || ::ptsname_r(FMaster, name, sizeof name) != 0) {
    ::close(FMaster);
    throw std::runtime_error("pseudo-terminal setup failed");
  }
  FSlavePath = name;
  // Terminal settings made through the master apply to the slave: raw from the
  // start, so nothing is echoed or translated before the port opens.
  termios tio{};
  if (::tcgetattr(FMaster, &tio) == 0) {
    cfmakeraw(&tio);
    ::tcsetattr(FMaster, TCSANOW, &tio);
  }
  ::fcntl(FMaster, F_SETFL, ::fcntl(FMaster, F_GETFL) | O_NONBLOCK);
}

TPseudoTerminal::~TPseudoTerminal() { Close(); }

void TPseudoTerminal::Close() {
  if (FMaster >= 0) ::close(FMaster);
  FMaster = -1;
}

bool TPseudoTerminal::Write(std::string_view bytes) {
  const auto deadline = SteadyClock::now() + std::chrono::seconds(5);
  while (!bytes.empty()) {
    if (FMaster < 0) return false;
    const ssize_t n = ::write(FMaster, bytes.data(), bytes.size());
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) return false;
    if (SteadyClock::now() >= deadline) return false;
    pollfd p{FMaster, POLLOUT, 0};
    ::poll(&p, 1, 10);
    // EIO: the slave is not open yet; POLLOUT may not say so, hence the pause.
    if (n < 0 && errno == EIO) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

std::string TPseudoTerminal::Read(std::size_t count, int timeoutMs) {
  std::string result;
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
  char buffer[4096];
  while (result.size() < count && FMaster >= 0) {
    pollfd p{FMaster, POLLIN, 0};
    const int ready = ::poll(&p, 1, MsLeft(deadline));
    if (ready > 0 && (p.revents & POLLIN)) {
      const ssize_t n = ::read(FMaster, buffer, std::min(sizeof buffer, count - result.size()));
      if (n > 0) {
        result.append(buffer, static_cast<std::size_t>(n));
        continue;
      }
    }
    if (SteadyClock::now() >= deadline) break;
    if (ready > 0 && !(p.revents & POLLIN)) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return result;
}

std::string TPseudoTerminal::Drain(int quietMs) {
  std::string result;
  for (;;) {
    std::string more = Read(65536, quietMs);
    if (more.empty()) return result;
    result += more;
  }
}

TScopedSerialAlias::TScopedSerialAlias(String name, const std::string& device) : FName(std::move(name)) {
  FAdded = AddSerialPortAlias(FName, device);
}

TScopedSerialAlias::~TScopedSerialAlias() {
  if (FAdded) RemoveSerialPortAlias(FName);
}

}  // namespace test_support
