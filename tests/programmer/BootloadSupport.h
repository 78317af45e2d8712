#pragma once
// A bootloader client wired to a simulator over a pseudo-terminal, with every
// event written down in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/StrUtils.h"
#include "platform/testing/Pump.h"
#include "platform/win/MessageLoop.h"
#include "programmer/QvBootload.h"
#include "tests/support/BootloaderSimulator.h"

namespace bootload_test {

inline std::string Utf8(const String& s) { return StringToUtf8(s); }

inline int ActionNumber(TMBaction a) { return static_cast<int>(a); }

// Every event as one line: "info 2 64 atmega88 12000000 1E00 2.1", "start 7040",
// "progress 50", "ok", "status -100 COM42 - no response from BLS", "end 1 -1",
// "wait".
struct TRecorder {
  std::vector<std::string> Events;
  std::vector<int> Progress;
  std::vector<TBLSINFO> Infos;
  int Ends = 0;
  bool OffUIThread = false;
  bool StopTarget = false;
  std::function<void()> OnEnd;

  void Note(std::string line) {
    if (!IsUIThread()) OffUIThread = true;
    Events.push_back(std::move(line));
  }

  void Attach(TQvBootload& b) {
    b.OnInfoBLS = [this](TObject*, const TBLSINFO& i, TMBaction a, bool& stop) {
      Infos.push_back(i);
      Note("info " + std::to_string(ActionNumber(a)) + " " + std::to_string(i.PageSize) + " " + Utf8(i.Microcontroller) +
           " " + Utf8(i.F_CPU) + " " + Utf8(i.BLSAddress) + " " + Utf8(i.BLSVer));
      stop = StopTarget;
    };
    b.OnUploadStart = [this](TObject*, Integer size) { Note("start " + std::to_string(size)); };
    b.OnUploadProgress = [this](TObject*, const String& time, Integer p) {
      Progress.push_back(p);
      Note("progress " + std::to_string(p));
      if (time.size() != 16) Note("bad time text " + Utf8(time));
    };
    b.OnUploadOK = [this](TObject*) { Note("ok"); };
    b.OnStatus = [this](TObject*, const String& text, Integer code) {
      Note("status " + std::to_string(code) + " " + Utf8(text));
    };
    b.OnWaitThreadEnd = [this](TObject*) { Note("wait"); };
    b.OnActionEnd = [this](TObject*, TMBaction a, Integer status) {
      Note("end " + std::to_string(ActionNumber(a)) + " " + std::to_string(status));
      ++Ends;
      if (OnEnd) OnEnd();
    };
  }

  // The events without the progress lines.
  std::vector<std::string> Milestones() const {
    std::vector<std::string> out;
    for (const auto& e : Events) {
      if (e.rfind("progress ", 0) != 0) out.push_back(e);
    }
    return out;
  }
};

// A simulator aliased as COM42 and a client set up as the main window sets it up.
struct TRig {
  explicit TRig(test_support::TBootloaderOptions options = {})
      : Sim(std::move(options)), Alias(u"COM42", Sim.SlavePath()), Boot(nullptr) {
    Boot.SetComPort(u"COM42");
    Boot.SetBaudrate(u"115200");
    Rec.Attach(Boot);
  }
  // Pumps the user-interface thread until `ends` operations have ended.
  bool WaitEnds(int ends = 1, Cardinal timeoutMs = 30000) {
    return PumpUntil([&] { return Rec.Ends >= ends; }, timeoutMs);
  }

  test_support::TBootloaderSimulator Sim;
  test_support::TScopedSerialAlias Alias;
  TQvBootload Boot;
  TRecorder Rec;
};

inline std::string Pattern(std::size_t n, unsigned seed = 7) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    s[i] = static_cast<char>(seed >> 16);
  }
  return s;
}

inline std::string Padded(std::string image, std::size_t page) {
  if (image.size() % page) image.append(page - image.size() % page, '\xFF');
  return image;
}

}  // namespace bootload_test
