#include "programmer/WifiProbe.h"

#include <algorithm>

#include "platform/rtl/StrUtils.h"
#include "platform/win/MessageLoop.h"
#include "programmer/BootloadProtocol.h"
#include "transport/TransportUtils.h"
#include "transport/UdpBlockSocket.h"

const String kWiFiMarkerKorvi = u":K1O2R3:";
const String kWiFiMarkerExt = u":E1S2P3:";
const String kWiFiProbeError = u"error";

namespace {

const String kExtInfo = u":ext#info:";
// Every wait of the dialogue.
constexpr Integer kAnswerTimeoutMs = 2000;

bool IsWhiteSpace(Char c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

std::vector<String> Split(const String& text, Char delimiter) {
  std::vector<String> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(delimiter, start);
    parts.push_back(text.substr(start, at == String::npos ? String::npos : at - start));
    if (at == String::npos) return parts;
    start = at + 1;
  }
}

// The ","-separated fields after the first "=" of a "+ok=..." answer; empty
// when the answer does not begin with "+ok=".
std::vector<String> OkFields(const String& answer) {
  if (answer.rfind(u"+ok=", 0) != 0) return {};
  return Split(answer.substr(4), u',');
}

}  // namespace

void TWiFiScanSlots::Write(Integer Index, const String& Value) {
  std::lock_guard<std::mutex> guard(FLock);
  if (Index < 0 || static_cast<std::size_t>(Index) >= FInfo.size()) return;
  FInfo[static_cast<std::size_t>(Index)] = Value;
}

std::vector<String> TWiFiScanSlots::Snapshot() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FInfo;
}

bool TWiFiScanSlots::AllWritten() const {
  std::lock_guard<std::mutex> guard(FLock);
  if (FInfo.empty()) return false;
  for (const String& s : FInfo) {
    if (s.empty()) return false;
  }
  return true;
}

TCheckWiFi::TCheckWiFi(std::shared_ptr<TWiFiScanSlots> Slots, Integer Idx, HWND Parent, const String& RemoteIP,
                       const String& RemotePort, const String& WifiPassword)
    : TThread(true),
      FSlots(std::move(Slots)),
      Fidx(Idx),
      pParent(Parent),
      RemoteIP(RemoteIP),
      RemotePort(RemotePort),
      FWifiPassword(WifiPassword) {}

TCheckWiFi::~TCheckWiFi() {
  // Execute uses this object's members: stop it before they go.
  if (Started() && !Finished()) {
    Terminate();
    try {
      WaitFor();
    } catch (...) {
      // Nothing may leave a destructor.
    }
  }
}

String TCheckWiFi::RemoveWhiteSpace(const String& Text) {
  String out;
  out.reserve(Text.size());
  for (Char c : Text) {
    if (!IsWhiteSpace(c)) out += c;
  }
  return out;
}

bool TCheckWiFi::AnswerNamesAddress(const String& Answer, const String& Address) {
  const String address = RemoveWhiteSpace(Address);
  if (address.empty()) return false;
  for (const String& field : Split(RemoveWhiteSpace(Answer), u',')) {
    if (field == address) return true;
  }
  return false;
}

void TCheckWiFi::PostToParent(UINT Msg, LPARAM LParam) {
  if (pParent != nullptr) PostMessage(pParent, Msg, 0, LParam);
}

bool TCheckWiFi::WaitRead(TUDPBlockSocket& Sock, Integer TimeoutMs) {
  constexpr Integer kSlice = 100;
  for (Integer waited = 0; waited < TimeoutMs && !Terminated(); waited += kSlice) {
    if (Sock.CanRead(std::min(kSlice, TimeoutMs - waited))) return true;
  }
  return false;
}

bool TCheckWiFi::Answer(TUDPBlockSocket& Sock, Integer TimeoutMs, String& Text) {
  if (!WaitRead(Sock, TimeoutMs)) return false;
  const std::string packet = Sock.RecvPacket(TimeoutMs);
  if (Sock.LastError() != 0 || packet.empty()) return false;
  Text = AnsiToString(packet);
  return true;
}

bool TCheckWiFi::Probe(TUDPBlockSocket& Sock) {
  Sock.Connect(RemoteIP, RemotePort);
  Sock.SendString(StringToAnsi(FWifiPassword));
  if (Sock.LastError() != 0) return false;
  String raw;
  if (!Answer(Sock, kAnswerTimeoutMs, raw)) return false;
  const String hello = RemoveWhiteSpace(raw);

  if (hello.find(kExtInfo) != String::npos) {
    // The other module type describes itself at once; its settings are copied as they are.
    String rest = raw.find(kExtInfo) != String::npos ? raw : hello;
    Fetch(rest, kExtInfo);
    FinfoString = TrimSpaces(rest) + kWiFiMarkerExt + u",";
    PostToParent(WM_QVBL_IS_ESP, 1);
    return true;
  }
  if (!AnswerNamesAddress(hello, RemoteIP)) return false;
  PostToParent(WM_QVBL_IS_ESP, 0);

  // Command mode; the module may or may not acknowledge it.
  String answer;
  Sock.SendString("+ok");
  Answer(Sock, kAnswerTimeoutMs, answer);

  auto ask = [&](const char* command, String& reply) {
    if (Terminated()) return false;
    Sock.SendString(std::string(command) + '\r');
    if (Sock.LastError() != 0 || !Answer(Sock, kAnswerTimeoutMs, reply)) return false;
    reply = RemoveWhiteSpace(reply);
    return true;
  };
  if (!ask("AT+", answer) || answer != u"+ok") return false;
  if (!ask("AT+CID", answer) || answer != u"+ok=KORVI") return false;
  if (!ask("AT+NETP=?", answer)) return false;
  const std::vector<String> netp = OkFields(answer);  // protocol, mode, port, address
  if (netp.size() < 3) return false;
  if (!ask("AT+UART", answer)) return false;
  const std::vector<String> uart = OkFields(answer);  // baud rate first
  if (uart.empty()) return false;
  FinfoString = netp[2] + u"," + netp[0] + u"," + netp[1] + u"," + uart[0] + u"," + kWiFiMarkerKorvi + u",";
  return true;
}

void TCheckWiFi::Execute() {
  TUDPBlockSocket sock;
  sock.Bind(u"0.0.0.0", u"0");
  sock.SetTimeout(20000);
  sock.SetMulticastTTL(64);
  sock.EnableBroadcast(true);
  FinfoString.clear();
  bool success = false;
  try {
    success = Probe(sock);
  } catch (...) {
    // A probe that fails in any way has found no usable module.
    success = false;
  }
  if (!success) FinfoString = kWiFiProbeError;
  // Reported only now, once the module has answered (or not): a probe that
  // has just started has connected to nothing yet.
  if (FSlots && Fidx >= 0) {
    if (!Terminated()) FSlots->Write(Fidx, FinfoString);
  } else {
    PostToParent(WM_QVBL_WIFI_CONNECT, success ? 1 : 0);
  }
  sock.CloseSocket();
}
