// The display's share of a frame: clearing the frame surface against memset and SDL's fill, and
// a whole frame of stars, ticker and readouts flipped into the headless backend.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstring>
#include <vector>

#include "display/DXDraw.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "game/Main.h"
#include "game/Readouts.h"
#include "game/Ship.h"
#include "backends/headless/HeadlessBackend.h"
#include "shell/Application.h"

namespace {

constexpr int W = 1024, H = 768;

// A running 1024x768x8 display on a shown form, as the game has it.
struct TRunningDisplay {
  THeadlessBackend Backend;
  TForm* Form = nullptr;
  TDXDraw* Draw = nullptr;
  TRunningDisplay() {
    SetBackend(&Backend);
    ResetApplication();
    Form = new TForm(Application);
    Form->BorderStyle = bsNone;
    Form->SetBounds(0, 0, W, H);
    Draw = new TDXDraw(Form);
    Draw->SetParent(Form);
    Draw->SetOptions(0x018D);
    Draw->Display().SetWidth(W);
    Draw->Display().SetHeight(H);
    Draw->SetBounds(0, 0, W, H);
    Form->Show();
  }
  ~TRunningDisplay() {
    ResetApplication();
    SetBackend(nullptr);
  }
};

void BM_SurfaceFill(benchmark::State& state) {
  TRunningDisplay d;
  for (auto _ : state) {
    d.Draw->Surface->Fill(0);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * W * H);
}
BENCHMARK(BM_SurfaceFill);

void BM_Memset(benchmark::State& state) {
  std::vector<std::uint8_t> pixels(W * H);
  for (auto _ : state) {
    std::memset(pixels.data(), 0, pixels.size());
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * W * H);
}
BENCHMARK(BM_Memset);

void BM_SDLFillRect8(benchmark::State& state) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, W, H, 8, SDL_PIXELFORMAT_INDEX8);
  for (auto _ : state) {
    SDL_FillRect(s, nullptr, 0);
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(s);
  state.SetBytesProcessed(int64_t(state.iterations()) * W * H);
}
BENCHMARK(BM_SDLFillRect8);

// Clear, 101 stars drifting (a few streaks among them), the ticker and the three readouts,
// release, flip: everything of a frame that is not a picture.
void BM_FrameWithoutPictures(benchmark::State& state) {
  TRunningDisplay d;
  for (int i = 0; i <= 100; ++i) {
    Stars[size_t(i)] = {0, 0, double((i * 97) % W), double((i * 61) % H), -0.0001 * (i * 19 % 2000)};
  }
  StarCount = 100;
  Player.VX = 3.0f;
  Player.VY = -1.0f;
  Player.Hull = 100;
  TMessageThing log;
  log.AddMessage("Welcome to Tarnyx version 0.06 Beta (8 bit edition).");
  log.ShowTime = 0;
  TDirectDrawSurface& surface = *d.Draw->Surface;
  TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
  canvas.Brush.Style = bsClear;
  canvas.Font.Color = clWhite;
  canvas.Font.Name = "Terminal";
  canvas.Font.Size = 14;
  for (auto _ : state) {
    surface.Fill(0);
    DoStars(*d.Draw);
    log.DrawLog(*d.Draw);
    if (log.Lines.size() < 2) log.AddMessage("A line that keeps the ticker sliding.");
    canvas.TextOut(0, 0, FrameRateText(50));
    canvas.TextOut(0, 40, SpeedText(Speed(Player)));
    canvas.TextOut(0, 60, HullText(Player.Hull));
    canvas.Release();
    d.Draw->Flip();
  }
}
BENCHMARK(BM_FrameWithoutPictures);

}  // namespace

BENCHMARK_MAIN();
