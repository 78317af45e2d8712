#include "programmer/WifiScan.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <mutex>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "programmer/UdpBootloadLink.h"
#include "programmer/WifiProbe.h"
#include "transport/UdpBlockSocket.h"

const String kFactoryWifiKeyword = u"QX-B27PLANKORDEFT";

namespace {

std::mutex gBroadcastLock;
String gBroadcastAddress = u"255.255.255.255";

}  // namespace

String WiFiBroadcastAddress() {
  std::lock_guard<std::mutex> guard(gBroadcastLock);
  return gBroadcastAddress;
}

void SetWiFiBroadcastAddress(const String& Address) {
  std::lock_guard<std::mutex> guard(gBroadcastLock);
  gBroadcastAddress = Address;
}

TWiFiScan::TWiFiScan(TUDPBlockSocket& Sock, TBootloadHost& Host, const String& Keyword)
    : FSock(Sock), FHost(Host), FKeyword(Trim(Keyword).empty() ? kFactoryWifiKeyword : Keyword) {}

bool TWiFiScan::ModuleLine(const std::string& Answer, String& IP, String& Line) {
  const String text = AnsiToString(Answer);
  std::vector<String> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(u',', start);
    fields.push_back(Trim(text.substr(start, at == String::npos ? String::npos : at - start)));
    if (at == String::npos) break;
    start = at + 1;
  }
  // Anything on the network may answer the broadcast: an answer that is not
  // "IP,MAC,Name" is not a module.
  if (fields.size() < 3 || fields[0].empty()) return false;
  // A line break inside the name would split the module's line in the list.
  for (Char c : fields[2]) {
    if (c == u'\r' || c == u'\n') return false;
  }
  IP = fields[0];
  Line = fields[0] + u"," + fields[2];
  return true;
}

std::vector<String> TWiFiScan::MergeResults(const std::vector<String>& Lines, const std::vector<String>& Results) {
  std::vector<String> out;
  for (std::size_t k = 0; k < Lines.size() && k < Results.size(); ++k) {
    if (Results[k] == kWiFiProbeError) continue;
    const std::size_t comma = Lines[k].find(u',');
    if (comma == String::npos) continue;
    out.push_back(Lines[k].substr(0, comma + 1) + Results[k] + Lines[k].substr(comma + 1));
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const String& a, const String& b) { return AnsiCompareText(a, b) < 0; });
  return out;
}

void TWiFiScan::Collect(std::vector<String>& IPs, std::vector<String>& Lines) {
  Integer idle = 0;
  // Datagrams that bring no new module (noise, repeats) keep the line busy;
  // past this many the collection stops, so a host that never stops talking
  // cannot keep the scan listening for ever.
  constexpr Integer kMaxIgnoredAnswers = 1024;
  Integer ignored = 0;
  while (!FHost.StopRequested() && IPs.size() < kMaxScannedModules) {
    if (!FSock.CanRead(100)) {
      if (++idle >= 6) break;
      continue;
    }
    const std::string packet = FSock.RecvPacket(1000);
    // An empty or failed read counts as an idle poll, so a datagram the
    // socket cannot take never keeps the scan going.
    if (packet.empty()) {
      if (++idle >= 6) break;
      continue;
    }
    idle = 0;
    String ip, line;
    // A module that answers twice is probed once.
    if (!ModuleLine(packet, ip, line) || std::find(IPs.begin(), IPs.end(), ip) != IPs.end()) {
      if (++ignored >= kMaxIgnoredAnswers) break;
      continue;
    }
    IPs.push_back(ip);
    Lines.push_back(line);
  }
}

void TWiFiScan::Scan() {
  FSock.Connect(WiFiBroadcastAddress(), kWiFiConfigPort);
  FSock.SendString(StringToAnsi(FKeyword));

  std::vector<String> ips, lines;
  Collect(ips, lines);

  // The probes share the slots with this scan; whichever ends last frees them.
  auto slots = std::make_shared<TWiFiScanSlots>(ips.size());
  std::vector<std::unique_ptr<TCheckWiFi>> probes;
  for (std::size_t j = 0; j < ips.size(); ++j) {
    probes.push_back(std::make_unique<TCheckWiFi>(slots, static_cast<Integer>(j), nullptr, ips[j], kWiFiConfigPort,
                                                  FKeyword));
    probes.back()->Start();
  }
  bool done = false;
  for (int pass = 1; pass <= 31 && !done && !FHost.StopRequested(); ++pass) {
    done = slots->AllWritten();
    if (!done) FHost.Delay(100);
  }
  // Probes still talking are stopped and joined: none outlives the scan. All
  // are told first, so they wind down together rather than one after another.
  for (auto& probe : probes) probe->Terminate();
  probes.clear();
  if (FHost.StopRequested()) return;
  if (!done) {
    const String text = u"Get WiFi modules list - Timeout";
    FHost.Post(WM_QVBL_STATUS, &text, QVBL_ERR_FAILED);
    FHost.Post(WM_QVBL_ACTION_STATUS, nullptr, -1);
    return;
  }
  const std::vector<String> modules = MergeResults(lines, slots->Snapshot());
  String text;
  for (const String& m : modules) text += m + u"\r\n";
  const auto count = static_cast<LPARAM>(modules.size());
  FHost.Post(WM_QVBL_WIFI_LIST, &text, count);
  FHost.Post(WM_QVBL_ACTION_STATUS, &text, count);
}

void TWiFiScan::Run() {
  try {
    Scan();
  } catch (...) {
    const String text = u"GetWiFiModulesList Thread exception error: " + CurrentExceptionMessage();
    FHost.Post(WM_QVBL_STATUS, &text, QVBL_ERR_SCAN);
    FHost.Post(WM_QVBL_ACTION_STATUS, nullptr, -1);
  }
}
