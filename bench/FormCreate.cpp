// How long building a whole world at start-up takes (seeding, placing 100 planets, the starfield).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "game/Main.h"
#include "backends/headless/HeadlessBackend.h"

namespace {

// Every clock reading builds a different world with a different number of placement retries, so
// the benchmark walks through many of them.
void BM_CreateWorld(benchmark::State& state) {
  THeadlessBackend backend;
  SetBackend(&backend);
  std::uint32_t timeOfDay = 0;
  for (auto _ : state) {
    backend.TimeOfDayMs = timeOfDay;
    timeOfDay = (timeOfDay + 7919) % 86400000u;
    CreateWorld([] {});
    benchmark::DoNotOptimize(Planets[99]->X);
  }
  SetBackend(nullptr);
}
BENCHMARK(BM_CreateWorld)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
