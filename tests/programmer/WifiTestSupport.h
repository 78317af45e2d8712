#pragma once
// Shared by the WiFi tests: an event recorder for the bootloader client.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/Types.h"
#include "platform/testing/Pump.h"
#include "programmer/QvBootload.h"

namespace wifi_test {

// Everything the component reports, in order.
struct TEvents {
  std::vector<std::pair<std::string, Integer>> Statuses;  // text as UTF-8
  std::vector<std::pair<TMBaction, Integer>> Ends;
  std::vector<bool> Connects;
  std::vector<TWIFIitem> List;
  Integer ListCount = -1;
  std::vector<Integer> Progress;
  Integer UploadSize = -1;
  TBLSINFO Info;
  int InfoCount = 0;
  // Runs inside OnActionEnd, after the end was recorded.
  std::function<void(TMBaction, Integer)> AfterEnd;

  void Attach(TQvBootload& b) {
    b.OnStatus = [this](TObject*, const String& text, Integer code) { Statuses.emplace_back(StringToUtf8(text), code); };
    b.OnActionEnd = [this](TObject*, TMBaction action, Integer status) {
      Ends.emplace_back(action, status);
      if (AfterEnd) AfterEnd(action, status);
    };
    b.OnWiFiConnect = [this](TObject*, bool ok) { Connects.push_back(ok); };
    b.OnGetWiFiList = [this](TObject*, const std::vector<TWIFIitem>& list, Integer cnt) {
      List = list;
      ListCount = cnt;
    };
    b.OnUploadProgress = [this](TObject*, const String&, Integer p) { Progress.push_back(p); };
    b.OnUploadStart = [this](TObject*, Integer size) { UploadSize = size; };
    b.OnInfoBLS = [this](TObject*, const TBLSINFO& info, TMBaction, bool&) {
      Info = info;
      ++InfoCount;
    };
  }
  bool WaitEnds(std::size_t n, int timeoutMs) {
    return ::PumpUntil([&] { return Ends.size() >= n; }, static_cast<Cardinal>(timeoutMs));
  }
};

}  // namespace wifi_test
