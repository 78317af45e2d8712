// Markup entities back to characters: the time per entity must not grow with
// the text (the fitted complexity should read N, not N^2).
#include <benchmark/benchmark.h>

#include "foundation/utils/AdvUtils.h"

namespace {

void BM_UnFixMarkup(benchmark::State& state) {
  const auto entities = static_cast<int>(state.range(0));
  String text;
  // Four entities per round: a special character in two letter cases, a
  // nested "&amp;" and a basic one.
  for (int i = 0; i < entities / 4; ++i) text += u"caf&eacute; &EACUTE;&amp;amp;&lt;x ";
  for (auto _ : state) benchmark::DoNotOptimize(TAdvUtils::UnFixMarkup(text, true, false));
  state.SetComplexityN(entities);
}
BENCHMARK(BM_UnFixMarkup)->RangeMultiplier(4)->Range(2000, 32000)->Complexity()->Unit(benchmark::kMillisecond);

}  // namespace
