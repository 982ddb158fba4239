// The desktop's present of a game frame, sending only what changed against sending it whole, on
// a quiet flying frame and on the busiest frame, through both routes (the window surface and SDL's
// software renderer's texture); and the change detector alone, on its fast and plain comparisons.
// The window is on SDL's display-less driver, so an X server's share is not in these figures.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "backends/sdl/SdlBackend.h"
#include "bench/GameScenes.h"
#include "bench/RunningGame.h"
#include "media/FrameChanges.h"

namespace {

// Two frames in a row of one scene, as the game presented them, and their palette.
struct TFramePair {
  std::vector<std::uint8_t> Frames[2];
  std::uint32_t Palette[256] = {};
  int Width = 0, Height = 0;
};

TFramePair Capture(bool busiest) {
  TFramePair pair;
  TRunningGame game;
  if (busiest) {
    scenes::SetUpBusiestWorld();
  } else {
    // Flying in open space, turning: the stars drift, the ship and its flame turn.
    scenes::GoToOpenSpace();
    Player.VX = 3.0f;
    Player.VY = -1.0f;
    game.Backend.ScanCodes[0xCB] = 0x80;  // Left
    game.Backend.VirtualKeys[37] = 0x80;
    game.Backend.ScanCodes[0xC8] = 0x80;  // Up
    game.Backend.VirtualKeys[38] = 0x80;
  }
  for (int i = 0; i < 12; ++i) {
    if (busiest) scenes::ArriveAtBusiestPlanet();
    game.Frame();
    if (i >= 10) pair.Frames[i - 10] = game.Backend.Frame;
  }
  std::memcpy(pair.Palette, game.Backend.FramePalette, sizeof pair.Palette);
  pair.Width = game.Backend.FrameWidth;
  pair.Height = game.Backend.FrameHeight;
  return pair;
}

const TFramePair& Scene(bool busiest) {
  static const TFramePair quiet = Capture(false), busy = Capture(true);
  return busiest ? busy : quiet;
}

// Presents the scene's two frames in turn; whole: as every present did before only changes were
// sent.
void Present(benchmark::State& state, bool busiest, bool texture, bool whole) {
  const TFramePair& scene = Scene(busiest);
  if (texture) {
    setenv("SDL_RENDER_DRIVER", "software", 1);
  } else {
    unsetenv("SDL_RENDER_DRIVER");
  }
  TSdlBackend backend;
  std::string error;
  if (!backend.CreateMainWindow("Tarnyx", scene.Width, scene.Height, true, false, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  long i = 0;
  for (auto _ : state) {
    if (whole) backend.PresentWholeNext();
    backend.Present(scene.Frames[i++ & 1].data(), scene.Width, scene.Width, scene.Height,
                    scene.Palette);
  }
  state.SetItemsProcessed(state.iterations());
}

void Detect(benchmark::State& state, bool busiest, TFrameChanges::TCompare compare) {
  const TFramePair& scene = Scene(busiest);
  TFrameChanges changes(TFrameChanges::DefaultAreaCost, compare);
  long i = 0;
  std::size_t runs = 0;
  for (auto _ : state) {
    changes.Update(scene.Frames[i++ & 1].data(), scene.Width, scene.Width, scene.Height,
                   scene.Palette);
    runs = changes.Runs().size();
  }
  state.counters["runs"] = static_cast<double>(runs);
  state.counters["areas"] = static_cast<double>(changes.Areas().size());
}

// As in the game: the kept frame last touched a frame ago, with the machine's other work between
// (here, 32 MB written), and the new frame just drawn.
void DetectCold(benchmark::State& state, bool busiest) {
  const TFramePair& scene = Scene(busiest);
  TFrameChanges changes;
  std::vector<std::uint8_t> drawn(scene.Frames[0].size());
  std::vector<std::uint8_t> other(32u << 20);
  long i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::memset(other.data(), int(i), other.size());
    std::memset(drawn.data(), 0, drawn.size());
    std::memcpy(drawn.data(), scene.Frames[i++ & 1].data(), drawn.size());
    state.ResumeTiming();
    changes.Update(drawn.data(), scene.Width, scene.Width, scene.Height, scene.Palette);
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The window is made on the driver that needs no display.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  for (bool busiest : {false, true}) {
    const std::string scene = busiest ? "Busiest" : "Quiet";
    for (bool texture : {false, true}) {
      const std::string route = texture ? "Texture" : "Surface";
      benchmark::RegisterBenchmark(("BM_PresentChanged_" + scene + route).c_str(), Present, busiest,
                                   texture, false)
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(("BM_PresentWhole_" + scene + route).c_str(), Present, busiest,
                                   texture, true)
          ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark(("BM_FrameChanges_" + scene).c_str(), Detect, busiest,
                                 TFrameChanges::TCompare::Fast)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("BM_FrameChangesPlain_" + scene).c_str(), Detect, busiest,
                                 TFrameChanges::TCompare::Plain)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("BM_FrameChangesCold_" + scene).c_str(), DetectCold, busiest)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
