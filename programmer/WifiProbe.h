#pragma once
// TCheckWiFi: a short-lived thread that asks one serial-to-WiFi module, over
// UDP on its configuration port, whether it is there and how it is set up.
// The component starts one when WiFiActive is switched on; a module scan
// starts one per module that answered its broadcast.
#include <memory>
#include <mutex>
#include <vector>

#include "platform/rtl/Thread.h"
#include "platform/rtl/Types.h"
#include "platform/win/Messages.h"

class TUDPBlockSocket;

// The module type markers that end a probe result.
extern const String kWiFiMarkerKorvi;  // ":K1O2R3:" (the AT-dialogue type)
extern const String kWiFiMarkerExt;    // ":E1S2P3:" (the type that answers ":ext#info:")
// The result of a probe that found no usable module.
extern const String kWiFiProbeError;   // "error"

// The result slots of one scan and their lock. The scan and each of its
// probes hold a reference, so the slots live as long as the last writer,
// whichever ends first.
class TWiFiScanSlots {
 public:
  explicit TWiFiScanSlots(std::size_t Count) : FInfo(Count) {}
  // Writes slot Index; an index outside the slots is ignored.
  void Write(Integer Index, const String& Value);
  // A copy of every slot; an empty slot has not been written yet.
  std::vector<String> Snapshot() const;
  // True when every slot has been written (false for no slots at all).
  bool AllWritten() const;

 private:
  mutable std::mutex FLock;
  std::vector<String> FInfo;
};

class TCheckWiFi : public TThread {
 public:
  // Suspended. Slots and Idx >= 0: a scan probe writing slot Idx. Otherwise a
  // component probe that posts WM_QVBL_IS_ESP and WM_QVBL_WIFI_CONNECT to
  // Parent (a null or dead window just drops them).
  TCheckWiFi(std::shared_ptr<TWiFiScanSlots> Slots, Integer Idx, HWND Parent, const String& RemoteIP,
             const String& RemotePort, const String& WifiPassword);
  // Stops a running probe (it notices within about 100 ms) and joins it.
  ~TCheckWiFi() override;

  // The result once the thread has finished: settings ending in a type marker
  // and ",", or "error".
  const String& InfoString() const { return FinfoString; }

  // The text with every white-space character removed (the comparisons of
  // the dialogue ignore them).
  static String RemoveWhiteSpace(const String& Text);
  // True when one ","-separated field of Answer is Address exactly (so
  // "192.168.1.2" is not found in "192.168.1.20,...").
  static bool AnswerNamesAddress(const String& Answer, const String& Address);

 protected:
  void Execute() override;

 private:
  bool Probe(TUDPBlockSocket& Sock);
  // CanRead in short slices, so a stop request is seen while waiting.
  bool WaitRead(TUDPBlockSocket& Sock, Integer TimeoutMs);
  // One datagram within TimeoutMs, white space removed; false when none came.
  bool Answer(TUDPBlockSocket& Sock, Integer TimeoutMs, String& Text);
  void PostToParent(UINT Msg, LPARAM LParam);

  std::shared_ptr<TWiFiScanSlots> FSlots;
  Integer Fidx;
  HWND pParent;
  String RemoteIP;
  String RemotePort;
  String FWifiPassword;
  String FinfoString;
};
