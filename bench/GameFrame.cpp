// Whole game frames through the real form, flipped into the headless backend: a quiet frame in
// open space, and the busiest frame the game can make (the scenes the page's benchmark shares).
#include <benchmark/benchmark.h>

#include "bench/GameScenes.h"
#include "bench/RunningGame.h"

namespace {

void BM_QuietFrame(benchmark::State& state) {
  TRunningGame game;
  scenes::GoToOpenSpace();
  for (auto _ : state) game.Frame();
}
// Built a second time with the software extended type, its figures named apart.
#ifdef TARNYX_PORTABLE_EXTENDED
#define FRAME_BENCHMARK(f) BENCHMARK(f)->Name(#f "_Portable")->Unit(benchmark::kMicrosecond)
#else
#define FRAME_BENCHMARK(f) BENCHMARK(f)->Unit(benchmark::kMicrosecond)
#endif
FRAME_BENCHMARK(BM_QuietFrame);

void BM_WorstFrame(benchmark::State& state) {
  TRunningGame game;
  scenes::SetUpBusiestWorld();
  for (auto _ : state) {
    scenes::ArriveAtBusiestPlanet();
    game.Frame();
  }
}
FRAME_BENCHMARK(BM_WorstFrame);

}  // namespace

BENCHMARK_MAIN();
