// Start-up cost of the firmware store: reading the program's store from its
// resources and getting the firmware's version text (inflate item 0, copy,
// unscramble, find the markers). It must stay well under a millisecond so
// the main window does not wait on it. The reference is a plain copy of the
// same number of bytes, measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "app/AppResources.h"
#include "app/MxStorage.h"
#include "app/UnscrambleImage.h"

namespace {

std::string VersionText(const std::string& image) {
  const auto at = image.find("ver:");
  if (at == std::string::npos) return {};
  return image.substr(at + 4, image.find('\0', at + 4) - at - 4);
}

void BM_StoreLoad(benchmark::State& state) {
  for (auto _ : state) {
    TmxStorage store(nullptr);
    store.LoadFromResource(nullptr, RES_FIRMWARE_STORE);
    benchmark::DoNotOptimize(store.StoredItems()->Count());
  }
}
BENCHMARK(BM_StoreLoad);

void BM_StartupFirmwareVersion(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    TmxStorage store(nullptr);
    store.LoadFromResource(nullptr, RES_FIRMWARE_STORE);
    TStream* s = store.ItemByIndex(0)->AsStream();
    std::string image(static_cast<std::size_t>(s->Size()), '\0');
    s->ReadBuffer(image.data(), static_cast<Integer>(image.size()));
    const std::string version = VersionText(UnscrambleImage(image));
    benchmark::DoNotOptimize(version.data());
    bytes = image.size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_StartupFirmwareVersion)->Unit(benchmark::kMicrosecond);

// Reference: copying the firmware's bytes twice, as start-up does at the least.
void BM_ReferenceCopy(benchmark::State& state) {
  const std::string source(7664, '\x5a');
  std::string a(source.size(), '\0'), b(source.size(), '\0');
  for (auto _ : state) {
    std::memcpy(a.data(), source.data(), source.size());
    std::memcpy(b.data(), a.data(), a.size());
    benchmark::DoNotOptimize(b.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_ReferenceCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
