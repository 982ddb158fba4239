// Picture drawing against SDL: the colour-keyed copy (SDL_BlitSurface with and without its
// run-length acceleration) and the turned drawing (SDL2_gfx rotozoomSurface plus the blit of
// its result), on 8-bit palettized pictures shaped like the game's.
#include <SDL.h>
#include <SDL2_rotozoom.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "display/DXRender.h"
#include "display/PictureCollection.h"
#include "media/Blitters.h"
#include "platform/DirectDraw.h"
#include "media/OpaqueRuns.h"

namespace {

constexpr int FrameWidth = 1024, FrameHeight = 768;
constexpr std::uint8_t Key = 253;

TRenderSurface View(std::uint8_t* bits, int width, int height) {
  TRenderSurface s;
  s.Bits = bits;
  s.Pitch = width;
  s.Width = width;
  s.Height = height;
  return s;
}

// An 8-bit picture with a round opaque body on a keyed background, like a planet or a ship, and
// some texture so that runs are not trivially long.
struct TPicture {
  int Width, Height;
  std::vector<std::uint8_t> Pixels;
  TPicture(int w, int h) : Width(w), Height(h), Pixels(std::size_t(w) * h, Key) {
    std::mt19937 rng(w * 31 + h);
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0, r = std::min(w, h) / 2.0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (std::hypot(x - cx, y - cy) < r) Pixels[std::size_t(y) * w + x] = std::uint8_t(10 + rng() % 230);
  }
};

// The software display objects the game draws with: an 8-bit frame and pictures in ordinary
// surfaces, copied with BltFast as the display's Draw does after clipping.
struct TSoftScene {
  IDirectDraw* DD = nullptr;
  IDirectDrawSurface* Frame = nullptr;
  TSoftScene() {
    DirectDrawCreate(nullptr, &DD, nullptr);
    DD->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    Frame = Make(FrameWidth, FrameHeight);
  }
  IDirectDrawSurface* Make(int w, int h) {
    DDSURFACEDESC d{};
    d.dwSize = sizeof d;
    d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    d.dwWidth = DWORD(w);
    d.dwHeight = DWORD(h);
    d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    d.ddpfPixelFormat.dwRGBBitCount = 8;
    IDirectDrawSurface* s = nullptr;
    DD->CreateSurface(&d, &s, nullptr);
    return s;
  }
  IDirectDrawSurface* Picture(const TPicture& p) {
    IDirectDrawSurface* s = Make(p.Width, p.Height);
    DDSURFACEDESC d{};
    d.dwSize = sizeof d;
    s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr);
    for (int y = 0; y < p.Height; ++y)
      std::copy_n(&p.Pixels[std::size_t(y) * p.Width], p.Width, static_cast<std::uint8_t*>(d.lpSurface) + y * d.lPitch);
    s->Unlock(d.lpSurface);
    DDCOLORKEY key{Key, Key};
    s->SetColorKey(DDCKEY_SRCBLT, &key);
    return s;
  }
};

TSoftScene& Soft() {
  static TSoftScene scene;
  return scene;
}

// The frame's pixels, which every keyed copy here writes: ours through the surface, the kernels
// directly, and SDL through a surface made over the same memory.
std::uint8_t* FramePixels() {
  static std::uint8_t* const pixels = [] {
    DDSURFACEDESC d{};
    d.dwSize = sizeof d;
    Soft().Frame->Lock(nullptr, &d, DDLOCK_WAIT, nullptr);
    Soft().Frame->Unlock(d.lpSurface);
    return static_cast<std::uint8_t*>(d.lpSurface);
  }();
  return pixels;
}

// SDL surfaces of the same pixels, sharing one palette so that the blit copies indices.
struct TSdlScene {
  SDL_Palette* Palette;
  SDL_Surface* Frame;
  TSdlScene() {
    Palette = SDL_AllocPalette(256);
    SDL_Color colors[256];
    for (int i = 0; i < 256; ++i) colors[i] = {Uint8(i), Uint8(255 - i), Uint8(i * 7), 255};
    SDL_SetPaletteColors(Palette, colors, 0, 256);
    // SDL draws into the very memory of our frame, so that where the frame happens to lie in the
    // caches favours neither side.
    Frame = SDL_CreateRGBSurfaceWithFormatFrom(FramePixels(), FrameWidth, FrameHeight, 8, FrameWidth,
                                               SDL_PIXELFORMAT_INDEX8);
    SDL_SetSurfacePalette(Frame, Palette);
  }
  SDL_Surface* Make(const TPicture& p, bool rle) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, p.Width, p.Height, 8, SDL_PIXELFORMAT_INDEX8);
    SDL_SetSurfacePalette(s, Palette);
    for (int y = 0; y < p.Height; ++y)
      std::copy_n(&p.Pixels[std::size_t(y) * p.Width], p.Width, static_cast<Uint8*>(s->pixels) + y * s->pitch);
    SDL_SetColorKey(s, SDL_TRUE, Key);
    SDL_SetSurfaceRLE(s, rle ? 1 : 0);
    return s;
  }
};

TSdlScene& Scene() {
  static TSdlScene scene;
  return scene;
}

// Where each copy lands: the 800x800 planet at (112, 0) is cut only at the frame's bottom edge
// ("inside"); at (-300, -200) it is cut on two sides ("clipped"); smaller pictures lie wholly
// inside at (500, 300).
struct TPlacement {
  int X, Y;
};
const TPlacement Inside{112, 0}, Clipped{-300, -200}, Small{500, 300};

// Clips the copy of a side x side picture placed at `at` to the frame, as the display's Draw
// does, and hands the clipped destination and source rectangles to copy.
template <class F>
void ClippedCopies(benchmark::State& state, int side, TPlacement at, F copy) {
  std::int64_t pixels = 0;
  for (auto _ : state) {
    RECT D{at.X, at.Y, at.X + side, at.Y + side}, S{0, 0, side, side};
    if (ClipCopyRects(D, S, FrameWidth, FrameHeight, side, side)) {
      copy(D, S);
      pixels += std::int64_t(D.right - D.left) * (D.bottom - D.top);
    }
    benchmark::ClobberMemory();
  }
  state.counters["Mpix/s"] = benchmark::Counter(double(pixels) / 1e6 / double(state.iterations()),
                                                benchmark::Counter::kIsIterationInvariantRate);
}

// What the game does: BltFast between software surfaces. Wide pictures go by their opaque runs
// (found at the second copy and kept), narrow ones through the compare-and-select kernel.
void SurfaceCopy(benchmark::State& state, int side, TPlacement at) {
  TPicture p(side, side);
  IDirectDrawSurface* picture = Soft().Picture(p);
  ClippedCopies(state, side, at, [&](const RECT& D, RECT& S) {
    Soft().Frame->BltFast(DWORD(D.left), DWORD(D.top), picture, &S, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
  });
  picture->Release();
}

// The two kernels on their own: compare-and-select over every pixel, and copying by runs.
void KernelCopy(benchmark::State& state, int side, TPlacement at) {
  TPicture p(side, side);
  ClippedCopies(state, side, at, [&](const RECT& D, const RECT& S) {
    KeyedCopy8(FramePixels() + std::ptrdiff_t(D.top) * FrameWidth + D.left, FrameWidth,
               p.Pixels.data() + std::ptrdiff_t(S.top) * side + S.left, side, D.right - D.left, D.bottom - D.top, Key);
  });
}

void RunsCopy(benchmark::State& state, int side, TPlacement at) {
  TPicture p(side, side);
  TOpaqueRuns runs;
  if (!runs.Build(p.Pixels.data(), side, side, side, Key)) {
    state.SkipWithError("the picture has no runs worth keeping");
    return;
  }
  ClippedCopies(state, side, at, [&](const RECT& D, const RECT& S) {
    runs.Copy(FramePixels() + std::ptrdiff_t(D.top) * FrameWidth + D.left, FrameWidth, p.Pixels.data(), side,
              S.left, S.top, D.right - D.left, D.bottom - D.top);
  });
}

void SdlKeyedCopy(benchmark::State& state, int side, TPlacement at, bool rle) {
  TPicture p(side, side);
  SDL_Surface* s = Scene().Make(p, rle);
  for (auto _ : state) {
    SDL_Rect d{at.X, at.Y, side, side};
    SDL_BlitSurface(s, nullptr, Scene().Frame, &d);
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(s);
}

// Every way of copying, for each picture and placement: Planet400 (800x800) nearly and partly
// on screen, a middling planet, and a 31x31 ship.
const bool KeyedCopiesRegistered = [] {
  struct TCase {
    const char* Name;
    int Side;
    TPlacement At;
  };
  const TCase cases[] = {
      {"Planet800_Inside", 800, Inside}, {"Planet800_Clipped", 800, Clipped}, {"Planet200", 200, Small}, {"Ship31", 31, Small}};
  for (const TCase& c : cases) {
    const std::string name = c.Name;
    const int side = c.Side;
    const TPlacement at = c.At;
    benchmark::RegisterBenchmark(("BM_SurfaceCopy_" + name).c_str(), [=](benchmark::State& s) { SurfaceCopy(s, side, at); });
    benchmark::RegisterBenchmark(("BM_SurfaceCopySSE2_" + name).c_str(), [=](benchmark::State& s) {
      SetKeyedCopyAVX2Allowed(false);  // as on a processor without AVX2
      SurfaceCopy(s, side, at);
      SetKeyedCopyAVX2Allowed(true);
    });
    benchmark::RegisterBenchmark(("BM_KeyedKernel_" + name).c_str(), [=](benchmark::State& s) { KernelCopy(s, side, at); });
    benchmark::RegisterBenchmark(("BM_RunsKernel_" + name).c_str(), [=](benchmark::State& s) { RunsCopy(s, side, at); });
    benchmark::RegisterBenchmark(("BM_SdlBlit_" + name).c_str(), [=](benchmark::State& s) { SdlKeyedCopy(s, side, at, false); });
    benchmark::RegisterBenchmark(("BM_SdlBlitRLE_" + name).c_str(), [=](benchmark::State& s) { SdlKeyedCopy(s, side, at, true); });
  }
  return true;
}();

// Turned drawing at a third of a right angle (21 of 256 steps, about 29.5 degrees).
constexpr int TurnSteps = 21;

void OurTurned(benchmark::State& state, int side, int size) {
  TPicture p(side, side);
  for (auto _ : state) {
    RenderTurned(View(FramePixels(), FrameWidth, FrameHeight), 512, 384, size, size,
                 View(p.Pixels.data(), side, side), RECT{0, 0, side, side}, 0.5, 0.5, true, Key, TurnSteps);
    benchmark::ClobberMemory();
  }
  // Pixels of the picture at its drawn size: the work asked for, whatever the angle.
  state.counters["Mpix/s"] =
      benchmark::Counter(double(size) * size / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void SdlTurned(benchmark::State& state, int side, int size) {
  TPicture p(side, side);
  SDL_Surface* s = Scene().Make(p, false);
  const double degrees = -TurnSteps * 360.0 / 256, zoom = double(size) / side;
  for (auto _ : state) {
    SDL_Surface* turned = rotozoomSurface(s, degrees, zoom, SMOOTHING_OFF);
    SDL_SetColorKey(turned, SDL_TRUE, Key);
    SDL_Rect d{512 - turned->w / 2, 384 - turned->h / 2, turned->w, turned->h};
    SDL_BlitSurface(turned, nullptr, Scene().Frame, &d);
    SDL_FreeSurface(turned);
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(s);
  state.counters["Mpix/s"] =
      benchmark::Counter(double(size) * size / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_DrawTurned_Ship31(benchmark::State& s) { OurTurned(s, 31, 31); }
void BM_DrawTurned_Explosion96(benchmark::State& s) { OurTurned(s, 96, 96); }
void BM_DrawTurned_Explosion96At190(benchmark::State& s) { OurTurned(s, 96, 190); }
void BM_Rotozoom_Ship31(benchmark::State& s) { SdlTurned(s, 31, 31); }
void BM_Rotozoom_Explosion96(benchmark::State& s) { SdlTurned(s, 96, 96); }
void BM_Rotozoom_Explosion96At190(benchmark::State& s) { SdlTurned(s, 96, 190); }
BENCHMARK(BM_DrawTurned_Ship31);
BENCHMARK(BM_Rotozoom_Ship31);
BENCHMARK(BM_DrawTurned_Explosion96);
BENCHMARK(BM_Rotozoom_Explosion96);
BENCHMARK(BM_DrawTurned_Explosion96At190);
BENCHMARK(BM_Rotozoom_Explosion96At190);

// Look-up by name among the game's 47 pictures, as every frame does a few hundred times.
void BM_ImageByName(benchmark::State& state) {
  static const char* const names[] = {
      "Ship1", "Ship2", "Flame", "Planet100", "Planet110", "Planet120", "Planet130", "Planet140", "Planet150",
      "Planet160", "Planet170", "Planet180", "Planet190", "Planet200", "Planet400", "Pine", "FruitTree", "Radar",
      "ControlTower", "FlashRed", "FlashGreen", "FlashBlue", "FlashYellow", "Explosion", "Explosion2", "Rock1",
      "Rock2", "Rock3", "FlagBlue", "FlagGreen", "FlagGray", "FlagPink", "FlagYellow", "PlanetInfo", "B_Res_S",
      "B_Res_M", "B_Vitamin", "B_Marmalade", "B_Mineral", "B_Furniture", "B_Weapons", "B_Water", "B_Ship",
      "B_Robot", "B_Soldier", "B_Castle", "B_Power"};
  TPictureCollection pictures;
  for (const char* n : names) pictures.Add()->SetName(n);
  const std::string wanted[] = {"FlashYellow", "Planet200", "B_Castle", "Flame"};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(pictures.ImageByName(wanted[i++ & 3]));
  }
}
BENCHMARK(BM_ImageByName);

}  // namespace

BENCHMARK_MAIN();
