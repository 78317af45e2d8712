// GDI throughput on a 1024x768 surface: fills, blits and DrawText, each per
// call. The Reference* cases do the same pixel work with plain memory
// operations in the same run, so the layer's overhead reads as a ratio.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/BenchSurface.h"

namespace {

constexpr int W = 1024, H = 768;

struct Surface : BenchSurface {
  Surface() : BenchSurface(W, H) {}
};

void ReferenceFill(benchmark::State& state) {
  std::vector<uint32_t> pixels(size_t(W) * H);
  uint32_t v = 0;
  for (auto _ : state) {
    std::fill(pixels.begin(), pixels.end(), ++v);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ReferenceFill);

void FillRectFull(benchmark::State& state) {
  Surface s;
  HBRUSH b = CreateSolidBrush(RGB(10, 20, 30));
  RECT r{0, 0, W, H};
  for (auto _ : state) FillRect(s.DC, &r, b);
  DeleteObject(b);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FillRectFull);

void FillRectSmall(benchmark::State& state) {
  // Many small fills: the per-call cost of the layer.
  Surface s;
  HBRUSH b = CreateSolidBrush(RGB(10, 20, 30));
  int i = 0;
  for (auto _ : state) {
    RECT r{(i * 37) % (W - 16), (i * 11) % (H - 16), 0, 0};
    r.Right = r.Left + 16;
    r.Bottom = r.Top + 16;
    FillRect(s.DC, &r, b);
    ++i;
  }
  DeleteObject(b);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FillRectSmall);

void ReferenceCopy(benchmark::State& state) {
  std::vector<uint32_t> a(size_t(W) * H, 1), b(size_t(W) * H);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::DoNotOptimize(b.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ReferenceCopy);

void BitBltFull(benchmark::State& state) {
  Surface a, b;
  DWORD rop = DWORD(state.range(0));
  for (auto _ : state) BitBlt(b.DC, 0, 0, W, H, a.DC, 0, 0, rop);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BitBltFull)->Arg(SRCCOPY)->Arg(SRCINVERT);

void BitBltSmall(benchmark::State& state) {
  Surface a, b;
  int i = 0;
  for (auto _ : state) {
    BitBlt(b.DC, (i * 37) % (W - 32), (i * 11) % (H - 32), 32, 32, a.DC, 0, 0, SRCCOPY);
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BitBltSmall);

void StretchBltHalf(benchmark::State& state) {
  Surface a, b;
  for (auto _ : state) StretchBlt(b.DC, 0, 0, W / 2, H / 2, a.DC, 0, 0, W, H, SRCCOPY);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(StretchBltHalf);

void DrawTextLine(benchmark::State& state) {
  Surface s;
  LOGFONTW lf;
  lf.lfHeight = -11;
  const char16_t face[] = u"Tahoma";
  std::copy(std::begin(face), std::end(face), lf.lfFaceName);
  HFONT f = CreateFontIndirectW(&lf);
  SelectObject(s.DC, f);
  SetBkMode(s.DC, TRANSPARENT);
  const char16_t text[] = u"Firmware updated succesful";
  UINT flags = UINT(state.range(0));
  for (auto _ : state) {
    RECT r{10, 10, 300, 40};
    DrawTextW(s.DC, text, -1, &r, flags);
  }
  SelectObject(s.DC, GetStockObject(SYSTEM_FONT));
  DeleteObject(f);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DrawTextLine)
    ->Arg(DT_SINGLELINE | DT_VCENTER)
    ->Arg(DT_SINGLELINE | DT_CALCRECT)
    ->Arg(DT_WORDBREAK)
    ->Arg(DT_SINGLELINE | DT_END_ELLIPSIS);

}  // namespace
