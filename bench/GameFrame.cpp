// Whole game frames through the real form, flipped into the headless backend: a quiet frame in
// open space, and the busiest frame the game can make.
#include <benchmark/benchmark.h>

#include "bench/RunningGame.h"

namespace {

// Turns planet i into a radius-400 planet with all 31 things: tower, twelve lights and the rest.
void MakeBusiestPlanet(TPlanet& p, double x, double y) {
  p.X = x;
  p.Y = y;
  p.Radius = 400;
  p.ImageName = "Planet400";
  p.Things.resize(31);
  const char* kinds[] = {"B_Castle", "B_Ship", "Pine", "Rock1", "B_Power", "Radar", "B_Res_M"};
  for (int i = 0; i < 31; ++i) {
    TPlanetThing& t = p.Things[static_cast<std::size_t>(i)];
    t.Angle = static_cast<std::uint8_t>(8 * i);
    t.ImageName = kinds[i % 7];
    t.Glow = 0;
    t.GlowStep = 1;
  }
  p.Things[0].ImageName = "ControlTower";
  const char* lights[] = {"FlashYellow", "FlashRed", "FlashGreen", "FlashBlue"};
  for (int i = 1; i <= 12; ++i) {
    p.Things[static_cast<std::size_t>(i)].ImageName = lights[(i - 1) / 3];
    p.Things[static_cast<std::size_t>(i)].Glow = 100;
  }
  p.Things[30].ImageName = "FlagBlue";
}

void BM_QuietFrame(benchmark::State& state) {
  TRunningGame game;
  GoToOpenSpace();
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
  // Two big planets near, the ship standing on the top of the second, whose panel is fully in.
  MakeBusiestPlanet(*Planets[0], -900, 500);
  MakeBusiestPlanet(*Planets[1], 0, 412);
  Planets[1]->PanelSlide = 475;
  for (auto _ : state) {
    // Arriving fast enough for the stars to streak, upright, with an explosion running.
    Player.X = 0;
    Player.Y = 0;
    Player.VX = 0;
    Player.VY = 8;
    Player.Heading = 0;
    Player.Hull = 100;
    Explosions[0]->Start(0, 0, 0, 0);
    game.Frame();
  }
}
FRAME_BENCHMARK(BM_WorstFrame);

}  // namespace

BENCHMARK_MAIN();
