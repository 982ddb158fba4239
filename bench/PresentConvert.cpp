// The present's 8-bit to 32-bit conversion of a 1024x768 frame, the path the game takes and every
// path on its own, against SDL's own blit from an 8-bit palettized surface to a 32-bit one, and
// against the one-pixel-at-a-time table loop.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "media/PaletteConvert.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;

struct TFrame {
  std::vector<std::uint8_t> Pixels = std::vector<std::uint8_t>(kWidth * kHeight);
  std::vector<std::uint32_t> Target = std::vector<std::uint32_t>(kWidth * kHeight);
  std::uint32_t Palette[256];

  TFrame() {
    std::mt19937 random(2026);
    for (auto& p : Pixels) p = static_cast<std::uint8_t>(random());
    for (auto& c : Palette) c = random() & 0x00FFFFFFu;
  }
};

TFrame& Frame() {
  static TFrame frame;
  return frame;
}

void Run(benchmark::State& state, TConvertFrame convert) {
  TFrame& f = Frame();
  for (auto _ : state) {
    convert(f.Pixels.data(), kWidth, f.Target.data(), kWidth * 4, kWidth, kHeight, f.Palette);
    benchmark::DoNotOptimize(f.Target.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// The path the game takes, as it takes it (chosen by measurement on its first call).
void BM_Convert(benchmark::State& state) {
  Run(state, ConvertPalettedFrame);
  state.SetLabel(ChosenConvertPath().Name);
}

void BM_Peer_SdlBlitSurface(benchmark::State& state) {
  TFrame& f = Frame();
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(f.Pixels.data(), kWidth, kHeight, 8,
                                                           kWidth, SDL_PIXELFORMAT_INDEX8);
  SDL_Surface* target = SDL_CreateRGBSurfaceWithFormatFrom(
      f.Target.data(), kWidth, kHeight, 32, kWidth * 4, SDL_PIXELFORMAT_XRGB8888);
  if (!source || !target) {
    state.SkipWithError(SDL_GetError());
    return;
  }
  SDL_Color colors[256];
  for (int i = 0; i < 256; ++i) {
    colors[i] = SDL_Color{static_cast<Uint8>(f.Palette[i] >> 16),
                          static_cast<Uint8>(f.Palette[i] >> 8),
                          static_cast<Uint8>(f.Palette[i]), 255};
  }
  SDL_SetPaletteColors(source->format->palette, colors, 0, 256);
  for (auto _ : state) {
    SDL_BlitSurface(source, nullptr, target, nullptr);
    benchmark::DoNotOptimize(f.Target.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  SDL_FreeSurface(target);
  SDL_FreeSurface(source);
}

}  // namespace

BENCHMARK(BM_Convert);
BENCHMARK(BM_Peer_SdlBlitSurface);

// Every path this processor can run, each on its own (BM_Convert_permute, ...); the plain
// one-pixel loop is the peer BM_Peer_OnePixelAtATime.
int main(int argc, char** argv) {
  for (const TConvertPath& path : ConvertPaths()) {
    std::string name = std::string(path.Name) == "reference"
                           ? "BM_Peer_OnePixelAtATime"
                           : "BM_Convert_" + std::string(path.Name);
    benchmark::RegisterBenchmark(name.c_str(), Run, path.Convert);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ChosenConvertPath();  // the game's choice, made now rather than in BM_Convert's first run
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
