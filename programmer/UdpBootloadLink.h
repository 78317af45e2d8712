#pragma once
// The WiFi road: the bootloader protocol over UDP datagrams through a
// serial-to-WiFi module, whose data port passes datagrams to the programmer's
// serial line and whose configuration port (48899) takes reset and AT
// commands. RunUdpRoad is the upload thread's body on this road, the module
// scan included.
#include <functional>
#include <string>

#include "programmer/BootloadProtocol.h"
#include "transport/UdpBlockSocket.h"

// The modules' configuration port.
extern const String kWiFiConfigPort;  // "48899"
// Send and receive time-out of the road's socket (ms).
constexpr Integer kUdpLineTimeout = 20000;

class TUdpBootloadLink : public TBootloadLink {
 public:
  // The socket must outlive the link and be connected to the module's data
  // port; RemoteIP and RemotePort name the module in failure texts.
  TUdpBootloadLink(TUDPBlockSocket& Sock, String RemoteIP, String RemotePort);

  bool CanRead(Integer TimeoutMs) override { return FSock.CanRead(TimeoutMs); }
  Byte RecvByte(Integer TimeoutMs) override { return FSock.RecvByte(TimeoutMs); }
  std::string RecvPacket(Integer TimeoutMs) override { return FSock.RecvPacket(TimeoutMs); }
  void SendString(const std::string& Data) override { FSock.SendString(Data); }
  Integer LastError() const override { return FSock.LastError(); }
  String LastErrorDesc() const override { return FSock.LastErrorDesc(); }
  bool LastErrorIsTimeout() const override;

  // "192.168.4.1:8899"
  String PeerName() const override { return FRemoteIP + u":" + FRemotePort; }
  // The socket's time-out (kUdpLineTimeout).
  Integer AnswerTimeout() const override { return kUdpLineTimeout; }
  // A module adds its own latency: more attempts and more patience than a serial line.
  Integer ReadyCounter() const override { return 200; }
  Integer ReadyIdleLimit() const override { return 100; }
  // 'u' and the info command at once; up to 2 s for the first datagram and
  // 1 s for the whole reply, at most kMaxDescriptionLength bytes.
  std::string ExchangeDescription(TBootloadHost& Host, char InfoCommand, const std::string& Stop) override;
  // No pauses and no line signals on this road.
  void AfterWriteCommand(TBootloadHost&) override {}
  void AfterEndByte(TBootloadHost&) override {}
  // "WiFi error # <socket text>"
  String LineErrorText() const override;

 private:
  TUDPBlockSocket& FSock;
  String FRemoteIP;
  String FRemotePort;
};

// What the road takes from the thread.
struct TUdpRoadSettings {
  String LocalIP;  // blank: any address
  String RemoteIP;
  String RemotePort;
  bool UseSoftReset = true;
  String SoftResetCmd;
  bool UseCRinRSTcommand = true;
  bool CheckBLS = false;
  bool GetWiFiList = false;  // scan mode
  String WifiPassword;       // the discovery keyword of a scan; blank: the factory keyword
  TBootloadHeader Header;
};

// One run over UDP: a module scan in scan mode, else reset through the module
// and the bootloader protocol. GetImage may raise (a bad hex text); every
// outcome is posted through Host, ending with exactly one
// WM_QVBL_ACTION_STATUS unless the run was asked to stop. Never raises.
void RunUdpRoad(const TUdpRoadSettings& Settings, const std::function<std::string()>& GetImage, TBootloadHost& Host);
