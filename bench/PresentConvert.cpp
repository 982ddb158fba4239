// The present's 8-bit to 32-bit conversion of a 1024x768 frame, against SDL's own blit from an
// 8-bit palettized surface to a 32-bit one, and against the one-pixel-at-a-time table loop.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/PaletteConvert.h"

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

template <void (*Convert)(const std::uint8_t*, int, std::uint32_t*, int, int, int,
                          const std::uint32_t*)>
void Ours(benchmark::State& state) {
  TFrame& f = Frame();
  for (auto _ : state) {
    Convert(f.Pixels.data(), kWidth, f.Target.data(), kWidth * 4, kWidth, kHeight, f.Palette);
    benchmark::DoNotOptimize(f.Target.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_Convert(benchmark::State& state) { Ours<ConvertPalettedFrame>(state); }
void BM_Convert_EightAtATime(benchmark::State& state) {
  Ours<ConvertPalettedFrameEightAtATime>(state);
}
void BM_Peer_OnePixelAtATime(benchmark::State& state) {
  Ours<ConvertPalettedFrameReference>(state);
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
BENCHMARK(BM_Convert_EightAtATime);
BENCHMARK(BM_Peer_OnePixelAtATime);
BENCHMARK(BM_Peer_SdlBlitSurface);

BENCHMARK_MAIN();
