#pragma once
// The module scan: the discovery keyword broadcast to the modules'
// configuration port, the answers collected, one probe per module, and the
// sorted module list posted to the component.
#include <string>
#include <vector>

#include "platform/rtl/Types.h"
#include "programmer/BootloadProtocol.h"

class TUDPBlockSocket;

// The modules' factory discovery keyword.
extern const String kFactoryWifiKeyword;  // "QX-B27PLANKORDEFT"
// A scan probes at most this many modules (a network segment's worth); later answers are ignored.
constexpr std::size_t kMaxScannedModules = 254;

// Where a scan sends its discovery datagram; "255.255.255.255" unless
// changed. Process-wide, read when a scan starts; tests point it at the
// loopback broadcast address "127.255.255.255".
String WiFiBroadcastAddress();
void SetWiFiBroadcastAddress(const String& Address);

class TWiFiScan {
 public:
  // Sock: bound, broadcast on. Keyword blank: the factory keyword.
  TWiFiScan(TUDPBlockSocket& Sock, TBootloadHost& Host, const String& Keyword);

  // Broadcast, collect, probe, wait and report: WM_QVBL_WIFI_LIST and
  // WM_QVBL_ACTION_STATUS with the module count, or a failure status and -1.
  // Exceptions are reported (-201), never raised.
  void Run();

  // One line "IP,name" per usable discovery answer ("IP,MAC,Name"); an
  // answer with fewer than three fields or no address gives none.
  static bool ModuleLine(const std::string& Answer, String& IP, String& Line);
  // The lines with the probe results put in, "error" modules dropped, sorted
  // without regard to case.
  static std::vector<String> MergeResults(const std::vector<String>& Lines, const std::vector<String>& Results);

 private:
  void Collect(std::vector<String>& IPs, std::vector<String>& Lines);
  void Scan();

  TUDPBlockSocket& FSock;
  TBootloadHost& FHost;
  String FKeyword;
};
