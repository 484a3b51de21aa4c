// One ordinary match through the matching process (a condition's pattern, compiled there
// already, against a camera's version): the median of 10,000 matches timed one by one.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "core/libstatic_fwupdate/pattern_match.h"

static void OrdinaryMatch(benchmark::State& state) {
  quarx::core::fwupdate::PatternMatcher matcher;
  std::vector<double> microseconds(10000);
  for (auto _ : state) {
    for (double& spent : microseconds) {
      const auto start = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(matcher.Match("1.0.7", "1\\.0\\.[0-9]+"));
      spent = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    }
  }
  std::nth_element(microseconds.begin(), microseconds.begin() + 5000, microseconds.end());
  state.counters["median_us"] = microseconds[5000];
}
BENCHMARK(OrdinaryMatch)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
