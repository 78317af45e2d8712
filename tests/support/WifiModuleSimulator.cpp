#include "tests/support/WifiModuleSimulator.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace test_support {

using SteadyClock = std::chrono::steady_clock;

struct TWifiModuleSimulator::TPending {
  SteadyClock::time_point Due;
  std::vector<unsigned char> To;
  std::string Text;
};

namespace {

bool IsLoopback(const std::string& ip) { return ip.rfind("127.", 0) == 0; }

// A UDP socket bound to ip:port; -1 with error set on failure.
int BoundSocket(const std::string& ip, int port, bool shared, std::string& error) {
  sockaddr_in sin{};
  sin.sin_family = AF_INET;
  sin.sin_port = htons(static_cast<uint16_t>(port));
  if (!IsLoopback(ip) || inet_pton(AF_INET, ip.c_str(), &sin.sin_addr) != 1) {
    error = "not a loopback address: " + ip;
    return -1;
  }
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = std::string("socket: ") + std::strerror(errno);
    return -1;
  }
  const int on = 1;
  // Every simulated module listens on the broadcast address; each gets its copy.
  if (shared) ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&sin), sizeof sin) != 0) {
    error = "UDP " + ip + ":" + std::to_string(port) + " is not available (" + std::strerror(errno) + ")";
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string Strip(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c != '\r' && c != '\n' && c != ' ' && c != '\t') out += c;
  }
  return out;
}

}  // namespace

TWifiModuleSimulator::TWifiModuleSimulator(TWifiModuleOptions options) : FOptions(std::move(options)) {
  FConfigFd = BoundSocket(FOptions.IP, kWifiConfigPort, false, FError);
  if (FConfigFd >= 0) FBroadcastFd = BoundSocket(FOptions.BroadcastIP, kWifiConfigPort, true, FError);
  if (FBroadcastFd >= 0) FDataFd = BoundSocket(FOptions.IP, FOptions.DataPort, false, FError);
  if (FDataFd >= 0) {
    sockaddr_in sin{};
    socklen_t len = sizeof sin;
    ::getsockname(FDataFd, reinterpret_cast<sockaddr*>(&sin), &len);
    FDataPort = ntohs(sin.sin_port);
  }
  if (Ok() && !FOptions.SerialDevice.empty()) {
    FSerialFd = ::open(FOptions.SerialDevice.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios tio{};
    if (FSerialFd < 0 || ::tcgetattr(FSerialFd, &tio) != 0) {
      FError = "cannot open " + FOptions.SerialDevice + ": " + std::strerror(errno);
    } else {
      ::cfmakeraw(&tio);
      ::tcsetattr(FSerialFd, TCSANOW, &tio);
    }
  }
  if (Ok()) FThread = std::thread([this] { Run(); });
}

TWifiModuleSimulator::~TWifiModuleSimulator() {
  FStop = true;
  if (FThread.joinable()) FThread.join();
  for (int fd : {FConfigFd, FBroadcastFd, FDataFd, FSerialFd}) {
    if (fd >= 0) ::close(fd);
  }
}

std::vector<std::string> TWifiModuleSimulator::ConfigReceived() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FConfigReceived;
}

int TWifiModuleSimulator::DiscoveryCount() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FDiscoveries;
}

int TWifiModuleSimulator::ResetCommands() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FResets;
}

std::string TWifiModuleSimulator::DataReceived() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FData;
}

void TWifiModuleSimulator::Answer(const std::string& text, const void* to, unsigned toLen, int delayMs) {
  if (FOptions.Silent) return;
  TPending p;
  p.Due = SteadyClock::now() + std::chrono::milliseconds(delayMs);
  p.To.assign(static_cast<const unsigned char*>(to), static_cast<const unsigned char*>(to) + toLen);
  p.Text = text;
  FPending.push_back(std::move(p));
}

// Answers leave from the module's own address, as a real module's do.
void TWifiModuleSimulator::FlushDue(bool all) {
  const auto now = SteadyClock::now();
  for (auto it = FPending.begin(); it != FPending.end();) {
    if (!all && it->Due > now) {
      ++it;
      continue;
    }
    if (!all) {
      ::sendto(FConfigFd, it->Text.data(), it->Text.size(), 0, reinterpret_cast<const sockaddr*>(it->To.data()),
               static_cast<socklen_t>(it->To.size()));
    }
    it = FPending.erase(it);
  }
}

void TWifiModuleSimulator::OnConfig(int, const std::string& datagram, const void* from, unsigned fromLen,
                                    bool broadcast) {
  {
    std::lock_guard<std::mutex> guard(FLock);
    FConfigReceived.push_back(datagram);
  }
  if (!broadcast && FOptions.IgnoreProbe) return;
  const std::string command = Strip(datagram);
  if (datagram == FOptions.Keyword) {
    if (broadcast) {
      std::lock_guard<std::mutex> guard(FLock);
      ++FDiscoveries;
    }
    FCommandMode = false;
    Answer(FOptions.DiscoveryAnswer.empty() ? FOptions.IP + "," + FOptions.Mac + "," + FOptions.Name
                                            : FOptions.DiscoveryAnswer,
           from, fromLen, broadcast ? FOptions.DiscoveryDelayMs : FOptions.AnswerDelayMs);
    return;
  }
  if (broadcast) return;  // the dialogue goes to the module's own address
  if (command == "AT+RST?") {
    std::lock_guard<std::mutex> guard(FLock);
    ++FResets;
    FCommandMode = false;
    return;
  }
  if (command == "+ok") {
    FCommandMode = true;
    return;
  }
  if (!FCommandMode) return;
  if (command == "AT+") {
    Answer("+ok", from, fromLen, FOptions.AnswerDelayMs);
  } else if (command == "AT+CID") {
    Answer(FOptions.CidAnswer, from, fromLen, FOptions.AnswerDelayMs);
  } else if (command == "AT+NETP=?") {
    Answer(FOptions.NetpAnswer.empty() ? "+ok=" + FOptions.Protocol + "," + FOptions.Mode + "," +
                                             std::to_string(FDataPort) + "," + FOptions.IP
                                       : FOptions.NetpAnswer,
           from, fromLen, FOptions.AnswerDelayMs);
  } else if (command == "AT+UART") {
    Answer(FOptions.UartAnswer.empty() ? "+ok=" + FOptions.Baud + ",8,1,None,NFC" : FOptions.UartAnswer, from,
           fromLen, FOptions.AnswerDelayMs);
  } else {
    Answer("+ERR=-2", from, fromLen, FOptions.AnswerDelayMs);
  }
}

void TWifiModuleSimulator::Run() {
  char buffer[65536];
  while (!FStop) {
    std::vector<pollfd> fds = {{FConfigFd, POLLIN, 0}, {FBroadcastFd, POLLIN, 0}, {FDataFd, POLLIN, 0}};
    if (FSerialFd >= 0) fds.push_back({FSerialFd, POLLIN, 0});
    ::poll(fds.data(), fds.size(), 5);
    FlushDue(false);
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if ((fds[i].revents & POLLIN) == 0) continue;
      if (i == 3) {
        const ssize_t n = ::read(FSerialFd, buffer, sizeof buffer);
        if (n > 0 && !FDataPeer.empty()) {
          ::sendto(FDataFd, buffer, static_cast<size_t>(n), 0, reinterpret_cast<const sockaddr*>(FDataPeer.data()),
                   static_cast<socklen_t>(FDataPeer.size()));
        }
        continue;
      }
      sockaddr_storage from{};
      socklen_t fromLen = sizeof from;
      const ssize_t n =
          ::recvfrom(fds[i].fd, buffer, sizeof buffer, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromLen);
      if (n < 0) continue;
      const std::string datagram(buffer, static_cast<size_t>(n));
      if (i == 2) {
        {
          std::lock_guard<std::mutex> guard(FLock);
          FData += datagram;
        }
        const auto* p = reinterpret_cast<const unsigned char*>(&from);
        FDataPeer.assign(p, p + fromLen);
        if (FSerialFd >= 0) {
          // A pseudo-terminal takes a page at once; wait briefly if it is full.
          std::size_t done = 0;
          for (int tries = 0; done < datagram.size() && tries < 500 && !FStop; ++tries) {
            const ssize_t w = ::write(FSerialFd, datagram.data() + done, datagram.size() - done);
            if (w > 0) {
              done += static_cast<std::size_t>(w);
            } else {
              pollfd out{FSerialFd, POLLOUT, 0};
              ::poll(&out, 1, 10);
            }
          }
        }
        continue;
      }
      OnConfig(fds[i].fd, datagram, &from, fromLen, i == 1);
    }
  }
  FlushDue(true);
}

TWifiPortLock::TWifiPortLock(int timeoutMs) {
  FFd = ::open("/tmp/ryx-wifi-module-48899.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (FFd < 0) return;
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
  while (!(FHeld = ::flock(FFd, LOCK_EX | LOCK_NB) == 0) && SteadyClock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

TWifiPortLock::~TWifiPortLock() {
  if (FFd < 0) return;
  if (FHeld) ::flock(FFd, LOCK_UN);
  ::close(FFd);
}

}  // namespace test_support
