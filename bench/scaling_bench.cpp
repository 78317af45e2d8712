// Work that must grow linearly (or n log n) with its input: loading a hive
// key with n values, DrawText's ellipses and word breaks over n characters,
// an INI section of n keys, and refusing crafted pictures. Google Benchmark
// fits the complexity of each series (BigO in the output): quadratic work
// shows as oNSquared or as a time per item that grows with n.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <fstream>
#include <string>

#include "bench/BenchSurface.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Strings.h"
#include "platform/testing/GuiTestApp.h"
#include "platform/testing/TempHome.h"
#include "platform/vcl/Graphic.h"
#include "platform/win/WinReg.h"
#include "tests/support/PictureBombs.h"

namespace {

// A hive file with n values in one key, in two config folders: switching
// between them makes the store read its file again.
void RegistryLoad(benchmark::State& state) {
  TTempHome home;
  const int n = int(state.range(0));
  std::string hive = "RYXREG 1\nK Software\\Bench\n";
  for (int i = 0; i < n; ++i) hive += "V 4 Value" + std::to_string(i) + " 01000000\n";
  std::string dirs[2];
  for (int i = 0; i < 2; ++i) {
    dirs[i] = home.Path() + "/cfg" + std::to_string(i);
    std::string folder = dirs[i] + "/RyxUpdater/registry";
    (void)std::system(("mkdir -p '" + folder + "'").c_str());
    std::ofstream(folder + "/HKEY_CURRENT_USER.reg") << hive;
  }
  int flip = 0;
  for (auto _ : state) {
    setenv("XDG_CONFIG_HOME", dirs[flip ^= 1].c_str(), 1);
    HKEY key = nullptr;
    RegOpenKeyEx(HKEY_CURRENT_USER, u"Software\\Bench", 0, KEY_READ, &key);
    DWORD type = 0;
    benchmark::DoNotOptimize(RegQueryValueEx(key, u"Value0", nullptr, &type, nullptr, nullptr));
    RegCloseKey(key);
  }
  state.SetComplexityN(n);
}
BENCHMARK(RegistryLoad)->RangeMultiplier(4)->Range(1000, 16000)->Complexity()->Unit(benchmark::kMillisecond);

// n characters of words, measured into a 300-pixel rectangle.
void DrawTextScaling(benchmark::State& state, UINT format, const std::u16string& word) {
  BenchSurface s(400, 300);
  const size_t n = size_t(state.range(0));
  std::u16string text;
  while (text.size() < n) text += word;
  text.resize(n);
  for (auto _ : state) {
    RECT r{0, 0, 300, 300};
    benchmark::DoNotOptimize(DrawTextW(s.DC, text.data(), int(text.size()), &r, format | DT_CALCRECT));
  }
  state.SetComplexityN(state.range(0));
}
void DrawTextEndEllipsis(benchmark::State& state) { DrawTextScaling(state, DT_SINGLELINE | DT_END_ELLIPSIS, u"firmware "); }
void DrawTextPathEllipsis(benchmark::State& state) { DrawTextScaling(state, DT_SINGLELINE | DT_PATH_ELLIPSIS, u"folder\\"); }
void DrawTextWordBreak(benchmark::State& state) { DrawTextScaling(state, DT_WORDBREAK, u"firmware "); }
void DrawTextPrefixes(benchmark::State& state) { DrawTextScaling(state, DT_SINGLELINE, u"&a"); }
BENCHMARK(DrawTextEndEllipsis)->RangeMultiplier(4)->Range(2000, 32000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(DrawTextPathEllipsis)->RangeMultiplier(4)->Range(2000, 32000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(DrawTextWordBreak)->RangeMultiplier(4)->Range(2000, 32000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(DrawTextPrefixes)->RangeMultiplier(4)->Range(2000, 32000)->Complexity()->Unit(benchmark::kMillisecond);

// A section of n distinct keys.
void IniReadSection(benchmark::State& state) {
  TTempHome home;
  const int n = int(state.range(0));
  TMemIniFile ini(Utf8ToString(home.Path() + "/bench.ini"));
  TStringList lines;
  lines.Add(u"[Main]");
  for (int i = 0; i < n; ++i) lines.Add(u"Key" + IntToStr(i) + u"=value");
  ini.SetStrings(&lines);
  TStringList keys;
  for (auto _ : state) {
    ini.ReadSection(u"Main", &keys);
    benchmark::DoNotOptimize(keys.Count());
  }
  state.SetComplexityN(n);
}
BENCHMARK(IniReadSection)->RangeMultiplier(4)->Range(2500, 40000)->Complexity()->Unit(benchmark::kMillisecond);

// Crafted pictures of a few dozen bytes are refused without decoding.
void PictureBombRefused(benchmark::State& state) {
  EnsureGuiApplication();
  const auto bombs = picture_bombs::All();
  const auto& [name, data] = bombs[size_t(state.range(0))];
  state.SetLabel(name);
  for (auto _ : state) {
    TPicture pic;
    try {
      pic.LoadFromBytes(data);
    } catch (const Exception&) {
    }
  }
}
BENCHMARK(PictureBombRefused)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

}  // namespace
