#include "programmer/UdpBootloadLink.h"

#include <exception>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "programmer/WifiScan.h"

const String kWiFiConfigPort = u"48899";

namespace {

void Fail(TBootloadHost& Host, const String& Text, Integer Code) {
  Host.Post(WM_QVBL_STATUS, &Text, Code);
  Host.Post(WM_QVBL_ACTION_STATUS, nullptr, -1);
}

// Reset through the module, then the soft-reset command to the running
// firmware; false (reported) when the run cannot go on.
bool ResetThroughModule(TUDPBlockSocket& Sock, const TUdpRoadSettings& S, TBootloadHost& Host) {
  Sock.Connect(S.RemoteIP, kWiFiConfigPort);
  Sock.SendString("AT+RST?\r");
  Sock.Connect(S.RemoteIP, S.RemotePort);
  Sock.SendString("\r");

  if (Trim(S.RemotePort).empty()) {
    Fail(Host, u"Missing or bad Port", QVBL_ERR_FAILED);
    return false;
  }
  if (Trim(S.RemoteIP).empty()) {
    Fail(Host, u"Missing or bad IP address", QVBL_ERR_FAILED);
    return false;
  }
  if (S.UseSoftReset) {
    std::string command = StringToAnsi(Trim(S.SoftResetCmd));
    if (S.UseCRinRSTcommand) command += '\r';
    Sock.Connect(S.RemoteIP, S.RemotePort);
    Sock.SendString("\r");
    Host.Delay(100);
    Sock.SendString(command);
  } else {
    Sock.SendString("\r");
    if (Sock.LastError() == 0) Host.Delay(100);
  }
  if (Sock.LastError() != 0) {
    Fail(Host, Sock.LastErrorDesc(), Sock.LastError());
    return false;
  }
  return true;
}

}  // namespace

TUdpBootloadLink::TUdpBootloadLink(TUDPBlockSocket& Sock, String RemoteIP, String RemotePort)
    : FSock(Sock), FRemoteIP(std::move(RemoteIP)), FRemotePort(std::move(RemotePort)) {}

bool TUdpBootloadLink::LastErrorIsTimeout() const { return FSock.LastError() == winsock::WSAETIMEDOUT; }

std::string TUdpBootloadLink::ExchangeDescription(TBootloadHost&, char InfoCommand, const std::string& Stop) {
  FSock.SendString(std::string(1, BL_CMD_PREFIX));
  FSock.SendString(std::string(1, InfoCommand));
  if (FSock.CanRead(2000)) FSock.SetInterPacketTimeout(false);
  // 1 s for the whole reply and a length no real description reaches: a
  // target that talks without end is cut off in time and in memory.
  FSock.SetMaxLineLength(kMaxDescriptionLength);
  std::string reply = FSock.RecvTerminated(1000, Stop);
  FSock.SetMaxLineLength(0);
  if (FSock.LastError() != 0) return {};
  return reply;
}

String TUdpBootloadLink::LineErrorText() const { return u"WiFi error # " + FSock.LastErrorDesc(); }

void RunUdpRoad(const TUdpRoadSettings& Settings, const std::function<std::string()>& GetImage, TBootloadHost& Host) {
  TUDPBlockSocket sock;
  try {
    std::string image = Settings.CheckBLS || Settings.GetWiFiList ? std::string() : GetImage();
    const String local = Trim(Settings.LocalIP);
    sock.Bind(local.empty() ? String(u"0.0.0.0") : local, u"0");
    // The settings below clear LastError; a local address that cannot be
    // bound must not pass unnoticed (the datagrams would leave from another one).
    const Integer bindError = sock.LastError();
    const String bindErrorText = sock.LastErrorDesc();
    sock.SetTimeout(kUdpLineTimeout);
    sock.SetMulticastTTL(64);
    sock.EnableBroadcast(true);
    // A scan has no module address yet: only the binding is checked.
    if (!Settings.GetWiFiList) sock.Connect(Settings.RemoteIP, Settings.RemotePort);
    if (bindError != 0) {
      Fail(Host, u"WiFi error # " + bindErrorText, bindError);
    } else if (sock.LastError() != 0) {
      Fail(Host, u"WiFi error # " + sock.LastErrorDesc(), sock.LastError());
    } else if (Settings.GetWiFiList) {
      TWiFiScan(sock, Host, Settings.WifiPassword).Run();
    } else if (ResetThroughModule(sock, Settings, Host)) {
      TUdpBootloadLink link(sock, Settings.RemoteIP, Settings.RemotePort);
      TBootloadEngine engine(link, Host, Settings.Header);
      engine.Run(Settings.CheckBLS, std::move(image));
    }
  } catch (...) {
    Fail(Host, u"UDP Thread exception error: " + CurrentExceptionMessage(), QVBL_ERR_UDP);
  }
  sock.CloseSocket();
}
