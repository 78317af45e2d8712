// A 32 KiB upload through the bootloader client into the simulator paced at
// 115200 baud 8N1 (11,520 bytes/s), measured from the operation's call to its
// end event. Reported against the wire time of every byte both ways plus the
// pauses the road prescribes; the counters name where the rest goes.
#include <benchmark/benchmark.h>

#include <chrono>

#include "platform/testing/GuiTestApp.h"
#include "platform/testing/Pump.h"
#include "platform/testing/TempHome.h"
#include "programmer/QvBootload.h"
#include "tests/support/BootloaderSimulator.h"
#include "tests/support/PseudoTerminal.h"

namespace {

constexpr double kBytesPerSecond = 115200.0 / 10.0;
// The road's own pauses: 50 before opening, 50 + 50 around 'u', the 1000 ms
// read that empties the line before 'w', 400 after 'w', 250 + 25 + 25 at the end.
constexpr double kPrescribedPauses = (50 + 50 + 50 + 1000 + 400 + 250 + 25 + 25) / 1000.0;

void BM_Upload32KiB(benchmark::State& state) {
  // The component's hidden window needs the application object, made as the
  // tests make it: headless unless a display platform is named.
  EnsureGuiApplication();
  TTempHome home;
  test_support::TBootloaderOptions options;
  options.BaudRate = 115200;
  options.PageSize = 128;
  test_support::TBootloaderSimulator sim(options);
  test_support::TScopedSerialAlias alias(u"COM42", sim.SlavePath());
  TQvBootload boot(nullptr);
  boot.SetComPort(u"COM42");
  boot.SetBaudrate(u"115200");
  std::string image(32 * 1024, '\0');
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 31 + 7);
  boot.SetWsadBIN(image);
  int ends = 0, failures = 0;
  double firstPage = 0;
  std::chrono::steady_clock::time_point started;
  boot.OnActionEnd = [&](TObject*, TMBaction, Integer status) {
    ++ends;
    if (status != 0) ++failures;
  };
  boot.OnUploadStart = [&](TObject*, Integer) {
    firstPage = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  };

  double total = 0, wire = 0, beforePages = 0;
  for (auto _ : state) {
    const int target = ends + 1;
    const std::size_t receivedBefore = sim.Received().size();
    started = std::chrono::steady_clock::now();
    boot.UploadBIN();
    PumpUntil([&] { return ends >= target; }, 60000);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    state.SetIterationTime(seconds);
    total += seconds;
    beforePages += firstPage;
    // Host to target: everything the simulator received; target to host: the
    // description with its end mark and one '@' per page plus the first.
    const double hostBytes = static_cast<double>(sim.Received().size() - receivedBefore);
    const double targetBytes = static_cast<double>(sim.DescriptionText().size() + 1 + image.size() / 128 + 1);
    wire += (hostBytes + targetBytes) / kBytesPerSecond;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["upload_s"] = total / n;
  state.counters["wire_s"] = wire / n;
  state.counters["pauses_s"] = kPrescribedPauses;
  state.counters["ratio"] = (total / n) / (wire / n + kPrescribedPauses);
  state.counters["until_first_page_s"] = beforePages / n;
  state.counters["failures"] = failures;
  if (failures > 0 || sim.Image() != image) state.SkipWithError("the upload did not arrive intact");
}

BENCHMARK(BM_Upload32KiB)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
