#pragma once
// A serial-to-WiFi module on loopback, for tests, benchmarks and manual runs.
// It listens like the real thing:
//
//   configuration port 48899 on its own address (e.g. 127.0.0.2), and the
//   same port on the broadcast address (127.255.255.255), shared with other
//   simulated modules:
//     the discovery keyword -> "IP,MAC,Name" (from the configuration port)
//     "+ok"                 -> command mode, no answer
//     "AT+" CR              -> "+ok"            (command mode only)
//     "AT+CID" CR           -> "+ok=KORVI"
//     "AT+NETP=?" CR        -> "+ok=UDP,Server,<data port>,<IP>"
//     "AT+UART" CR          -> "+ok=115200,8,1,None,NFC"
//     "AT+RST?" CR          -> counted, no answer (the module restarts)
//   data port: every datagram goes to the serial line (a bootloader
//   simulator's device) and every byte from the line goes back, as one
//   datagram per read, to the last sender.
//
// Fault options make it silent, slow or malformed. Nothing leaves loopback:
// the simulator binds only the addresses it is given, which must be 127.x.
//
// Typical use:
//   TWifiPortLock lock;                    // one user of port 48899 at a time
//   TBootloaderSimulator bls;
//   TWifiModuleOptions o; o.SerialDevice = bls.SlavePath();
//   TWifiModuleSimulator module(o);
//   if (!module.Ok()) GTEST_SKIP() << module.Error();
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace test_support {

// The modules' configuration port.
constexpr int kWifiConfigPort = 48899;

struct TWifiModuleOptions {
  std::string IP = "127.0.0.2";
  std::string BroadcastIP = "127.255.255.255";
  std::string Keyword = "QX-B27PLANKORDEFT";
  std::string Mac = "ACCF23A0B1C2";
  std::string Name = "KORVI-M1";
  int DataPort = 0;  // 0: a free port, reported by DataPort()
  std::string Protocol = "UDP";
  std::string Mode = "Server";
  std::string Baud = "115200";
  // Answers; an empty text means the default built from the fields above.
  std::string DiscoveryAnswer;
  std::string CidAnswer = "+ok=KORVI";
  std::string NetpAnswer;
  std::string UartAnswer;
  // The bootloader's device to bridge the data port to; empty: no bridge.
  std::string SerialDevice;

  // ---- faults ----
  bool Silent = false;           // answers nothing on the configuration port
  bool IgnoreProbe = false;      // answers the broadcast, not the dialogue sent to its own address
  int DiscoveryDelayMs = 0;      // the answer to the broadcast leaves this late
  int AnswerDelayMs = 0;         // every answer to the dialogue leaves this late
};

class TWifiModuleSimulator {
 public:
  // Binds and starts serving; on failure (a port in use, no such address)
  // Ok() is false and Error() says why.
  explicit TWifiModuleSimulator(TWifiModuleOptions options = {});
  ~TWifiModuleSimulator();
  TWifiModuleSimulator(const TWifiModuleSimulator&) = delete;
  TWifiModuleSimulator& operator=(const TWifiModuleSimulator&) = delete;

  bool Ok() const { return FError.empty(); }
  const std::string& Error() const { return FError; }
  const TWifiModuleOptions& Options() const { return FOptions; }
  int DataPort() const { return FDataPort; }

  // Datagrams that reached the configuration port (broadcast and own
  // address), in order.
  std::vector<std::string> ConfigReceived() const;
  // Discovery keywords that came by broadcast.
  int DiscoveryCount() const;
  int ResetCommands() const;
  // Every byte that came in on the data port.
  std::string DataReceived() const;

 private:
  struct TPending;
  void Run();
  void OnConfig(int fd, const std::string& datagram, const void* from, unsigned fromLen, bool broadcast);
  void Answer(const std::string& text, const void* to, unsigned toLen, int delayMs);
  void FlushDue(bool all);

  TWifiModuleOptions FOptions;
  std::string FError;
  int FConfigFd = -1;
  int FBroadcastFd = -1;
  int FDataFd = -1;
  int FSerialFd = -1;
  int FDataPort = 0;
  std::atomic<bool> FStop{false};
  std::thread FThread;

  mutable std::mutex FLock;
  std::vector<std::string> FConfigReceived;
  int FDiscoveries = 0;
  int FResets = 0;
  std::string FData;

  // thread-only state
  bool FCommandMode = false;
  std::vector<TPending> FPending;
  std::vector<unsigned char> FDataPeer;  // sockaddr of the last data sender
};

// Holds an exclusive lock shared by every test process, so only one at a
// time runs modules on port 48899 (tests run in parallel processes).
class TWifiPortLock {
 public:
  // Waits up to timeoutMs; Held() tells whether it got the lock.
  explicit TWifiPortLock(int timeoutMs = 120000);
  ~TWifiPortLock();
  TWifiPortLock(const TWifiPortLock&) = delete;
  TWifiPortLock& operator=(const TWifiPortLock&) = delete;
  bool Held() const { return FHeld; }

 private:
  int FFd = -1;
  bool FHeld = false;
};

}  // namespace test_support
