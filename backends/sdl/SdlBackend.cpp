// The backend on a real machine, through SDL2.
#include "backends/sdl/SdlBackend.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <thread>
#include <vector>

#include "backends/sdl/PresentLayout.h"
#include "backends/sdl/Direct3DAdapter.h"
#include "backends/sdl/PresentRoute.h"
#include "backends/sdl/SdlAudio.h"
#include "backends/sdl/SdlInputMap.h"
#include "backends/sdl/X11WindowWatch.h"
#include "media/FrameChanges.h"
#include "media/PaletteConvert.h"
#include "media/Screenshot.h"
#include "system/Signals.h"
#include "system/TimeOfDay.h"
#include "system/UserFolders.h"

namespace {

// The OpenGL renderer string of the context current on this thread (the one the renderer just
// made), or empty where the renderer draws through something else.
std::string CurrentGlRenderer(const std::string& rendererName) {
  if (rendererName.rfind("opengl", 0) != 0 || !SDL_GL_GetCurrentContext()) return "";
  using TGetString = const GLubyte*(APIENTRY*)(GLenum);
  auto getString = reinterpret_cast<TGetString>(SDL_GL_GetProcAddress("glGetString"));
  const GLubyte* name = getString ? getString(GL_RENDERER) : nullptr;
  return name ? reinterpret_cast<const char*>(name) : "";
}

// Where no Wayland display is named, trying SDL's Wayland driver can only fail, and where
// XDG_RUNTIME_DIR is unset the Wayland library says so on stderr, before the game's own line that
// no display was found. So SDL is given the list of its drivers without it (and without the two
// that draw into memory, which a game nobody sees must not fall back to).
void SkipUnnamedWayland() {
  if (SDL_getenv("WAYLAND_DISPLAY") || SDL_getenv("WAYLAND_SOCKET")) return;
  std::string drivers;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const char* name = SDL_GetVideoDriver(i);
    if (!name || SDL_strcmp(name, "wayland") == 0 || SDL_strcmp(name, "offscreen") == 0 ||
        SDL_strcmp(name, "dummy") == 0)
      continue;
    drivers += (drivers.empty() ? "" : ",") + std::string(name);
  }
  if (!drivers.empty()) SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
}

// What one rectangle sent to the window costs beside the pixels it takes in: an X server's put of
// a rectangle costs about as much as copying this many pixels.
constexpr long kWindowRectCostInPixels = 4096;
// For a texture, each rectangle is a lock, a conversion and an upload of its own.
constexpr long kTextureRectCostInPixels = 16384;

// Whether the player asked for the log of what the game chose (TARNYX_VERBOSE=1).
bool Verbose() {
  const char* value = SDL_getenv("TARNYX_VERBOSE");
  return value && *value && SDL_strcmp(value, "0") != 0;
}

}  // namespace

struct TSdlBackend::TState {
  std::chrono::steady_clock::time_point ClockStart = std::chrono::steady_clock::now();
  bool VideoStarted = false;
  SDL_Window* Window = nullptr;
  TPresentRoute Route = TPresentRoute::Texture;
  SDL_Renderer* Renderer = nullptr;  // the texture route's
  SDL_Texture* Frame = nullptr;     // the converted frame, streaming, frame-sized
  SDL_Texture* Enlarged = nullptr;  // the frame enlarged by a whole number, a render target
  int FrameWidth = 0, FrameHeight = 0;
  bool FrameFresh = false;  // the frame texture was just made and holds nothing yet
  int EnlargedWidth = 0, EnlargedHeight = 0;
  int WindowedWidth = 1024, WindowedHeight = 768;  // the size Alt+Enter gives the window
  // The player's choice of window (SetPlayerWindow), when one was made.
  bool PlayerWindowGiven = false;
  bool PlayerFullScreen = true;
  // When full screen was last switched: the window manager's own resizes that follow for a
  // moment are not the player's.
  std::uint32_t SwitchedAt = 0;
  std::function<void()> PlayerResized;
  bool Borderless = false;
  bool WindowShown = false;  // the program was told that this window is shown
  std::vector<SDL_Joystick*> Joysticks;  // by SDL's device index; null where opening failed
  std::vector<std::uint32_t> Icon;  // RGBA, kept for the window; empty when none was given
  int IconWidth = 0, IconHeight = 0;
  // The last presented frame as it was handed over, rows packed (also for screenshots), and
  // what changed in it: only that is converted and sent. Anything that loses what the window
  // shows (an expose, a resize, full screen, the focus back, a failed present) makes the next
  // present whole.
  TFrameChanges Changes;
  std::vector<SDL_Rect> Rects;  // the changed rectangles in window pixels, for the window surface
  std::vector<std::uint32_t> RunScratch;  // a changed run, converted, before it is enlarged
  // The window surface route: the palette as pixels of the surface's format, the surface last
  // drawn into (a new one, or one shown again after being covered, is cleared and sent whole),
  // and the scaler's scratch.
  std::uint32_t SurfaceTable[256] = {};
  std::uint32_t SurfaceTablePalette[256] = {};
  std::uint32_t SurfaceTableFormat = SDL_PIXELFORMAT_UNKNOWN;
  SDL_Surface* LastSurface = nullptr;
  int LastSurfaceWidth = 0, LastSurfaceHeight = 0;
  bool SurfaceWhole = true;
  std::vector<std::uint32_t> Scratch;
  SDL_Surface* Converted = nullptr;  // the frame in 32 bits, for displays of fewer
  TSdlAudio Audio;

  void DestroyTextures() {
    if (Enlarged) SDL_DestroyTexture(Enlarged);
    if (Frame) SDL_DestroyTexture(Frame);
    Enlarged = Frame = nullptr;
    FrameWidth = FrameHeight = EnlargedWidth = EnlargedHeight = 0;
  }

  bool MakeFrameTexture(int width, int height) {
    if (Frame && FrameWidth == width && FrameHeight == height) return true;
    DestroyTextures();
    Frame = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                              width, height);
    if (!Frame) return false;
    FrameFresh = true;
    FrameWidth = width;
    FrameHeight = height;
    return true;
  }

  bool MakeEnlargedTexture(int width, int height) {
    if (Enlarged && EnlargedWidth == width && EnlargedHeight == height) return true;
    if (Enlarged) SDL_DestroyTexture(Enlarged);
    EnlargedWidth = EnlargedHeight = 0;
    Enlarged = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_TARGET,
                                 width, height);
    if (!Enlarged) return false;
    EnlargedWidth = width;
    EnlargedHeight = height;
    SDL_SetTextureScaleMode(Enlarged, SDL_ScaleModeLinear);
    return true;
  }

  // Draws the frame texture into the window and shows it at the next vertical blank.
  void Draw() {
    int outputWidth = 0, outputHeight = 0;
    if (SDL_GetRendererOutputSize(Renderer, &outputWidth, &outputHeight) != 0) return;
    TPresentLayout layout =
        ComputePresentLayout(FrameWidth, FrameHeight, outputWidth, outputHeight);
    SDL_Rect target{layout.X, layout.Y, layout.Width, layout.Height};

    SDL_Texture* source = Frame;
    SDL_SetTextureScaleMode(Frame, layout.Exact ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    if (!layout.Exact && layout.Multiple > 1 && SDL_RenderTargetSupported(Renderer) &&
        MakeEnlargedTexture(layout.Multiple * FrameWidth, layout.Multiple * FrameHeight) &&
        SDL_SetRenderTarget(Renderer, Enlarged) == 0) {
      SDL_SetTextureScaleMode(Frame, SDL_ScaleModeNearest);
      SDL_RenderCopy(Renderer, Frame, nullptr, nullptr);
      SDL_SetRenderTarget(Renderer, nullptr);
      source = Enlarged;
    }
    SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
    SDL_RenderClear(Renderer);
    SDL_RenderCopy(Renderer, source, nullptr, &target);
    SDL_RenderPresent(Renderer);
  }

  // Makes the renderer for the texture route: accelerated with vsync if there is one, else
  // SDL's software renderer.
  bool MakeRenderer() {
    if (!Renderer)
      Renderer =
          SDL_CreateRenderer(Window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!Renderer)
      Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_PRESENTVSYNC);
    if (!Renderer) Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
    return Renderer != nullptr;
  }

  // Tries the accelerated renderer, learns what it is, and keeps it only where it is a GPU's
  // (or the player named it); otherwise frames go to the window surface.
  void ChooseRoute() {
    TRendererFacts facts;
    facts.AskedFor = SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr;
    facts.GraphicsDevice = GraphicsDeviceListed();
    if (facts.AskedFor || facts.GraphicsDevice)
      Renderer =
          SDL_CreateRenderer(Window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    SDL_RendererInfo info;
    if (Renderer && SDL_GetRendererInfo(Renderer, &info) == 0) {
      facts.Made = true;
      facts.Name = info.name ? info.name : "";
      facts.Accelerated = (info.flags & SDL_RENDERER_ACCELERATED) != 0;
      facts.GlRenderer = CurrentGlRenderer(facts.Name);
      facts.Adapter = Direct3DAdapterDescription(Renderer, facts.Name);
    }
    Route = ChoosePresentRoute(facts);
    if (Route == TPresentRoute::WindowSurface) {
      if (Renderer) SDL_DestroyRenderer(Renderer);
      Renderer = nullptr;
      // SDL would otherwise draw the window surface through an OpenGL texture itself (unless
      // the player set SDL_FRAMEBUFFER_ACCELERATION, which wins over this).
      SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
      if (!SDL_GetWindowSurface(Window)) Route = TPresentRoute::Texture;
    }
    Changes.SetAreaCost(Route == TPresentRoute::WindowSurface ? kWindowRectCostInPixels
                                                              : kTextureRectCostInPixels);
    // The conversion is chosen by measuring, best done now rather than in the first frame.
    ChosenConvertPath();
    if (Verbose()) {
      std::fprintf(stderr, "tarnyx: present: %s\ntarnyx: 8-bit to 32-bit conversion: %s\n",
                   DescribePresentRoute(Route, facts).c_str(), ConvertChoiceReport().c_str());
    }
  }

  // Straight into the window's pixels: the frame at a whole multiple, centred on black, or
  // shrunk into the window where it does not fit. Only what changed is converted, and only the
  // rectangles around it are sent, unless the surface is new or was covered (then all of it), the
  // frame is all new or shrunk (then the frame's rectangle).
  bool PresentToSurface(const std::uint8_t* pixels, int pitch, int width, int height,
                        const std::uint32_t palette[256]) {
    SDL_Surface* surface = SDL_GetWindowSurface(Window);
    if (!surface) return false;
    if (surface != LastSurface || surface->w != LastSurfaceWidth ||
        surface->h != LastSurfaceHeight) {
      LastSurface = surface;
      LastSurfaceWidth = surface->w;
      LastSurfaceHeight = surface->h;
      SurfaceWhole = true;
    }
    if (SurfaceTableFormat != surface->format->format ||
        std::memcmp(SurfaceTablePalette, palette, sizeof SurfaceTablePalette) != 0) {
      std::memcpy(SurfaceTablePalette, palette, sizeof SurfaceTablePalette);
      SurfaceTableFormat = surface->format->format;
      for (int i = 0; i < 256; ++i) {
        SurfaceTable[i] = SDL_MapRGB(surface->format, (palette[i] >> 16) & 0xFF,
                                     (palette[i] >> 8) & 0xFF, palette[i] & 0xFF);
      }
    }
    TPresentLayout layout = ComputePresentLayout(width, height, surface->w, surface->h);
    SDL_Rect target{layout.X, layout.Y, layout.Width, layout.Height};
    int multiple = 0;  // the frame's enlargement; 0 where it is shrunk
    if (layout.Width >= width && layout.Height >= height) {
      multiple = layout.Multiple;
      target.w = multiple * width;
      target.h = multiple * height;
      target.x = (surface->w - target.w) / 2;
      target.y = (surface->h - target.h) / 2;
    }
    const bool whole =
        SurfaceWhole || Changes.All() || multiple == 0 || surface->format->BytesPerPixel != 4;
    if (!whole && Changes.Runs().empty()) return true;  // nothing changed: nothing to send
    if (SurfaceWhole) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    if (surface->format->BytesPerPixel == 4) {
      if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
      auto* origin = static_cast<std::uint8_t*>(surface->pixels) +
                     static_cast<std::ptrdiff_t>(target.y) * surface->pitch +
                     static_cast<std::ptrdiff_t>(target.x) * 4;
      if (whole) {
        ConvertPalettedFrameScaled(pixels, pitch, width, height,
                                   reinterpret_cast<std::uint32_t*>(origin), surface->pitch,
                                   target.w, target.h, SurfaceTable, Scratch);
      } else {
        ConvertRuns(pixels, pitch, origin, surface->pitch, multiple);
      }
      if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    } else if (!PresentThroughCopy(pixels, pitch, width, height, palette, surface, target)) {
      return false;
    }
    int sent = 0;
    if (SurfaceWhole) {
      sent = SDL_UpdateWindowSurface(Window);
    } else if (whole) {
      sent = SDL_UpdateWindowSurfaceRects(Window, &target, 1);
    } else {
      Rects.clear();
      for (const TFrameChanges::TArea& a : Changes.Areas()) {
        Rects.push_back({target.x + a.X * multiple, target.y + a.Y * multiple, a.Width * multiple,
                         a.Height * multiple});
      }
      sent = SDL_UpdateWindowSurfaceRects(Window, Rects.data(), static_cast<int>(Rects.size()));
    }
    SurfaceWhole = sent != 0;
    return sent == 0;
  }

  // Converts the changed runs of the frame into the window's pixels at origin (the frame's top
  // left corner there), each frame pixel a multiple x multiple square.
  void ConvertRuns(const std::uint8_t* pixels, int pitch, std::uint8_t* origin, int targetPitch,
                   int multiple) {
    for (const TFrameChanges::TRun& run : Changes.Runs()) {
      const std::uint8_t* from = pixels + static_cast<std::ptrdiff_t>(run.Y) * pitch + run.Left;
      const int n = run.Right - run.Left;
      std::uint8_t* row = origin + static_cast<std::ptrdiff_t>(run.Y) * multiple * targetPitch;
      auto* to =
          reinterpret_cast<std::uint32_t*>(row) + static_cast<std::ptrdiff_t>(run.Left) * multiple;
      if (multiple == 1) {
        ConvertPalettedRun(from, to, n, SurfaceTable);
        continue;
      }
      RunScratch.resize(static_cast<std::size_t>(n));
      ConvertPalettedRun(from, RunScratch.data(), n, SurfaceTable);
      for (int x = 0; x < n; ++x) std::fill_n(to + x * multiple, multiple, RunScratch[x]);
      for (int k = 1; k < multiple; ++k) {
        std::memcpy(row + static_cast<std::ptrdiff_t>(k) * targetPitch +
                        static_cast<std::ptrdiff_t>(run.Left) * multiple * 4,
                    to, static_cast<std::size_t>(n) * multiple * 4);
      }
    }
  }

  // A display of fewer bits: the frame is converted at its size and SDL's blit scales it and
  // reduces its colours.
  bool PresentThroughCopy(const std::uint8_t* pixels, int pitch, int width, int height,
                          const std::uint32_t palette[256], SDL_Surface* surface,
                          SDL_Rect& target) {
    if (!Converted || Converted->w != width || Converted->h != height) {
      SDL_FreeSurface(Converted);
      Converted = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_XRGB8888);
      if (!Converted) return false;
    }
    ConvertPalettedFrame(pixels, pitch, static_cast<std::uint32_t*>(Converted->pixels),
                         Converted->pitch, width, height, palette);
    return SDL_BlitScaled(Converted, nullptr, surface, &target) == 0;
  }

  // Only the changed rectangles of the texture are updated (a locked rectangle's old pixels are
  // not kept by every renderer, so each is converted whole); then the texture is drawn, unless
  // nothing changed.
  bool PresentToTexture(const std::uint8_t* pixels, int pitch, int width, int height,
                        const std::uint32_t palette[256]) {
    if (!Renderer || !MakeFrameTexture(width, height)) return false;
    const bool whole = FrameFresh || Changes.All();
    if (!whole && Changes.Areas().empty()) return true;
    const TFrameChanges::TArea all{0, 0, width, height};
    const TFrameChanges::TArea* areas = whole ? &all : Changes.Areas().data();
    const std::size_t count = whole ? 1 : Changes.Areas().size();
    for (std::size_t i = 0; i < count; ++i) {
      const TFrameChanges::TArea& a = areas[i];
      SDL_Rect rect{a.X, a.Y, a.Width, a.Height};
      void* locked = nullptr;
      int lockedPitch = 0;
      if (SDL_LockTexture(Frame, &rect, &locked, &lockedPitch) != 0) return false;
      // The palette's 0x00RRGGBB entries are already XRGB8888 pixels: they are the lookup table.
      ConvertPalettedFrame(pixels + static_cast<std::ptrdiff_t>(a.Y) * pitch + a.X, pitch,
                           static_cast<std::uint32_t*>(locked), lockedPitch, a.Width, a.Height,
                           palette);
      SDL_UnlockTexture(Frame);
    }
    FrameFresh = false;
    Draw();
    return true;
  }

  void CloseJoysticks() {
    for (SDL_Joystick* j : Joysticks) {
      if (j) SDL_JoystickClose(j);
    }
    Joysticks.clear();
  }

  // Joysticks come and go; their device indices shift when one goes, so all are opened afresh.
  void OpenJoysticks() {
    CloseJoysticks();
    if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return;
    int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) Joysticks.push_back(SDL_JoystickOpen(i));
  }

  void ApplyIcon() {
    if (!Window || Icon.empty()) return;
    // SDL only reads the pixels while setting the icon, so they may stay where they are.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        Icon.data(), IconWidth, IconHeight, 32, IconWidth * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return;
    SDL_SetWindowIcon(Window, surface);
    SDL_FreeSurface(surface);
  }

  bool OurWindow(std::uint32_t windowId) const {
    return Window && windowId == SDL_GetWindowID(Window);
  }

  bool Accept(const SDL_Event& e, TBackendEvent& event);

  // A window (not full screen) whose size is no longer the one it was given was resized by the
  // player: that size is the window's from now on. For a second after full screen was switched
  // the sizes come from the switch itself.
  static constexpr std::uint32_t SwitchSettleMs = 1000;
  void NoteSize() {
    if (!Window || (SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN) != 0) return;
    if (SDL_GetTicks() - SwitchedAt < SwitchSettleMs) return;
    int width = 0, height = 0;
    SDL_GetWindowSize(Window, &width, &height);
    if (width <= 0 || height <= 0 || (width == WindowedWidth && height == WindowedHeight)) return;
    WindowedWidth = width;
    WindowedHeight = height;
    if (PlayerResized) PlayerResized();
  }

  // A window destroyed by another program is the window's close, told once.
  bool LossReported = false;
  bool ReportLoss(TBackendEvent& event) {
    if (!Window || LossReported || !X11WindowLost()) return false;
    LossReported = true;
    event = TBackendEvent{};
    event.Type = TBackendEvent::beClose;
    return true;
  }

  // Desktop full screen is a request to the window manager. Where there is none (a bare X
  // server) the window would keep its size while SDL takes it for the whole display, and frames
  // would land off the window; so the window is made to cover its display first.
  void EnterFullScreen() {
    SDL_Rect bounds;
    int display = SDL_GetWindowDisplayIndex(Window);
    if (display >= 0 && SDL_GetDisplayBounds(display, &bounds) == 0) {
      SDL_SetWindowPosition(Window, bounds.x, bounds.y);
      SDL_SetWindowSize(Window, bounds.w, bounds.h);
    }
    SDL_SetWindowFullscreen(Window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
};

TSdlBackend::TSdlBackend() : S(std::make_unique<TState>()) {
  // The game's output may go to a program that ends before the game does (tarnyx | head): a
  // write to it must fail, not end the game.
  IgnoreBrokenPipe();
}

TSdlBackend::~TSdlBackend() {
  DestroyMainWindow();
  S->CloseJoysticks();
  S->Audio.Close();
  if (S->VideoStarted) SDL_Quit();
}

bool TSdlBackend::CreateMainWindow(const std::string& title, int width, int height,
                                   bool borderless, bool fullScreen, std::string& error) {
  DestroyMainWindow();
  if (width <= 0 || height <= 0) {
    error = "bad window size";
    return false;
  }
  if (!S->VideoStarted) {
    // The program answers a close itself; SDL must not turn it into a quit as well.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    bool driverAskedFor = SDL_getenv("SDL_VIDEODRIVER") != nullptr;
    if (!driverAskedFor) SkipUnnamedWayland();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      // Every driver tried and none found its display, unless one was asked for by name.
      error = driverAskedFor ? SDL_GetError() : "no display found";
      return false;
    }
    // Where no display answers, SDL falls back to drawing into memory; a game nobody can see
    // must say so instead, unless that driver was asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driverAskedFor && driver &&
        (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
      SDL_Quit();
      error = "no display found";
      return false;
    }
    S->VideoStarted = true;
    // Joysticks are read when events are polled (PollEvent), not by SDL itself: with a joystick
    // attached, SDL's own updates would turn every wait for an event into a poll each millisecond.
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    // Without joysticks the game still runs on the keyboard.
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0) S->OpenJoysticks();
  }

  // The player's window instead of the full screen the program asks for: framed, at its size.
  int windowWidth = width, windowHeight = height;
  if (S->PlayerWindowGiven) {
    if (fullScreen && !S->PlayerFullScreen) {
      fullScreen = false;
      borderless = false;
    }
    if (!fullScreen) {
      windowWidth = S->WindowedWidth;
      windowHeight = S->WindowedHeight;
    }
  }
  // A window the player can resize; the frame is scaled into whatever size it has.
  Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
  if (borderless) flags |= SDL_WINDOW_BORDERLESS;
  S->Window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               windowWidth, windowHeight, flags);
  if (!S->Window) {
    error = SDL_GetError();
    return false;
  }
  if (!S->PlayerWindowGiven) {
    S->WindowedWidth = width;
    S->WindowedHeight = height;
  }
  S->SwitchedAt = SDL_GetTicks();
  S->Borderless = borderless;
  S->ApplyIcon();

  S->ChooseRoute();
  if (S->Route == TPresentRoute::Texture &&
      (!S->MakeRenderer() || !S->MakeFrameTexture(width, height))) {
    error = SDL_GetError();
    DestroyMainWindow();
    return false;
  }
  // Only now: making the renderer may make the window anew, at its windowed place.
  if (fullScreen) S->EnterFullScreen();
  WatchX11Window(S->Window);
  S->LossReported = false;
  // Keys are read as keys; no text input, no input-method window.
  SDL_StopTextInput();
  return true;
}

void TSdlBackend::DestroyMainWindow() {
  S->DestroyTextures();
  if (S->Renderer) SDL_DestroyRenderer(S->Renderer);
  if (S->Window) {
    SDL_DestroyWindow(S->Window);
    ForgetX11Window();
  }
  S->Renderer = nullptr;
  S->Window = nullptr;
  S->WindowShown = false;
  S->LastSurface = nullptr;
  SDL_FreeSurface(S->Converted);
  S->Converted = nullptr;
  S->Changes.Clear();
}

bool TSdlBackend::HasWindow() const { return S->Window != nullptr; }

namespace {

// One SDL event as the backend's event; false for events the program does not hear about.
bool Translate(const SDL_Event& e, SDL_Renderer* renderer, TBackendEvent& event) {
  event = TBackendEvent{};
  switch (e.type) {
    case SDL_QUIT:
      event.Type = TBackendEvent::beQuit;
      return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      event = KeyEventFromSdl(e.key.keysym.scancode, e.type == SDL_KEYDOWN,
                              (e.key.keysym.mod & KMOD_ALT) != 0, e.key.repeat != 0);
      return true;
    case SDL_JOYDEVICEADDED:
      event.Type = TBackendEvent::beJoystickAdded;
      return true;
    case SDL_JOYDEVICEREMOVED:
      event.Type = TBackendEvent::beJoystickRemoved;
      return true;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      event.Type = TBackendEvent::bePaint;
      return true;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_SHOWN: event.Type = TBackendEvent::beShown; return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED: event.Type = TBackendEvent::beActivate; return true;
        case SDL_WINDOWEVENT_FOCUS_LOST: event.Type = TBackendEvent::beDeactivate; return true;
        case SDL_WINDOWEVENT_EXPOSED: event.Type = TBackendEvent::bePaint; return true;
        case SDL_WINDOWEVENT_CLOSE: event.Type = TBackendEvent::beClose; return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          event.Type = TBackendEvent::beResize;
          event.Width = e.window.data1;
          event.Height = e.window.data2;
          // With high-DPI output the drawable has more pixels than the window has points.
          if (renderer) SDL_GetRendererOutputSize(renderer, &event.Width, &event.Height);
          return true;
        default:
          return false;
      }
    default:
      return false;
  }
}

}  // namespace

// Does what the backend itself does with an event, then translates it.
bool TSdlBackend::TState::Accept(const SDL_Event& e, TBackendEvent& event) {
  if (e.type == SDL_WINDOWEVENT) {
    if (!OurWindow(e.window.windowID)) return false;
    // Making the renderer may hide the new window and show it once more; the program hears
    // of its first showing only.
    if (e.window.event == SDL_WINDOWEVENT_SHOWN) {
      if (WindowShown) return false;
      WindowShown = true;
    }
  }
  if (e.type == SDL_SYSWMEVENT) {
    NoteX11Event(e);
    return ReportLoss(event);
  }
  if (e.type == SDL_JOYDEVICEADDED || e.type == SDL_JOYDEVICEREMOVED) OpenJoysticks();
  if (e.type == SDL_AUDIODEVICEADDED || e.type == SDL_AUDIODEVICEREMOVED) Audio.Accept(e);
  if (e.type == SDL_RENDER_DEVICE_RESET) DestroyTextures();  // made again by the next frame
  // A window that was covered or changed size has lost what it showed around the frame, and
  // maybe the frame too; so may one that comes back to the front, or a renderer that was reset.
  if (e.type == SDL_WINDOWEVENT && (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                    e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED))
    SurfaceWhole = true;
  if ((e.type == SDL_WINDOWEVENT && (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                     e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                                     e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)) ||
      e.type == SDL_RENDER_TARGETS_RESET || e.type == SDL_RENDER_DEVICE_RESET)
    Changes.ChangeAll();
  if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) NoteSize();
  return Translate(e, Renderer, event);
}

bool TSdlBackend::PollEvent(TBackendEvent& event) {
  if (!S->VideoStarted) return false;
  if (SDL_WasInit(SDL_INIT_JOYSTICK)) SDL_JoystickUpdate();
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (S->Accept(e, event)) return true;
  }
  return S->ReportLoss(event);
}

bool TSdlBackend::WaitEvent(TBackendEvent& event, std::uint32_t timeoutMs) {
  if (PollEvent(event)) return true;
  if (!S->VideoStarted || timeoutMs == 0) return false;
  // Events the program does not hear about (the mouse moving) must not cut the wait short.
  std::uint32_t start = SDL_GetTicks();
  for (;;) {
    std::uint32_t waited = SDL_GetTicks() - start;
    if (waited >= timeoutMs) return false;
    std::uint32_t left = std::min<std::uint32_t>(timeoutMs - waited, INT_MAX);
    SDL_Event e;
    if (!SDL_WaitEventTimeout(&e, static_cast<int>(left))) return false;
    if (S->Accept(e, event)) return true;
  }
}

void TSdlBackend::SleepUntil(std::uint32_t time) {
  using std::chrono::milliseconds;
  auto elapsed =
      std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - S->ClockStart);
  auto left = static_cast<std::int32_t>(time - static_cast<std::uint32_t>(elapsed.count()));
  if (left <= 0) return;
  // The clock reads time from the start of that millisecond on.
  std::this_thread::sleep_until(S->ClockStart + elapsed + milliseconds(left));
}

void TSdlBackend::ScanCodeState(std::uint8_t state[256]) {
  std::fill(state, state + 256, 0);
  if (!S->VideoStarted) return;
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  for (int i = 0; i < count; ++i) {
    int code = keys[i] ? PcScanCodeFromSdl(i) : 0;
    if (code) state[code] = 0x80;
  }
}

void TSdlBackend::VirtualKeyState(std::uint8_t state[256]) {
  std::fill(state, state + 256, 0);
  if (!S->VideoStarted) return;
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  for (int i = 0; i < count; ++i) {
    if (!keys[i]) continue;
    // A modifier is down under both its names: VK_SHIFT and VK_LSHIFT, say.
    if (int code = VirtualKeyFromSdl(i)) state[code] = 0x80;
    if (int sided = SidedVirtualKeyFromSdl(i)) state[sided] = 0x80;
  }
}

int TSdlBackend::JoystickCount() { return static_cast<int>(S->Joysticks.size()); }

bool TSdlBackend::JoystickState(int index, TBackendJoystick& state) {
  if (index < 0 || index >= JoystickCount()) return false;
  SDL_Joystick* j = S->Joysticks[index];
  if (!j || !SDL_JoystickGetAttached(j)) return false;
  state = TBackendJoystick{};
  state.AxisCount = std::max(SDL_JoystickNumAxes(j), 0);
  state.ButtonCount = std::max(SDL_JoystickNumButtons(j), 0);
  if (state.AxisCount > 0) state.X = SDL_JoystickGetAxis(j, 0);
  if (state.AxisCount > 1) state.Y = SDL_JoystickGetAxis(j, 1);
  if (state.AxisCount > 2) state.Z = SDL_JoystickGetAxis(j, 2);
  state.Hat = SDL_JoystickNumHats(j) > 0 ? HatToHundredthsOfDegree(SDL_JoystickGetHat(j, 0)) : -1;
  for (int b = 0; b < std::min(state.ButtonCount, 32); ++b) {
    if (SDL_JoystickGetButton(j, b)) state.Buttons |= 1u << b;
  }
  const char* name = SDL_JoystickName(j);
  state.Name = name ? name : "";
  return true;
}

// The millisecond clock is kept here, on the steady clock, rather than taken from SDL, so that
// SleepUntil knows the instant each reading begins.
std::uint32_t TSdlBackend::Milliseconds() {
  auto elapsed = std::chrono::steady_clock::now() - S->ClockStart;
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void TSdlBackend::TimeOfDay(int& hour, int& minute, int& second, int& millisecond) {
  UtcTimeOfDay(hour, minute, second, millisecond);
}

void TSdlBackend::Present(const std::uint8_t* pixels, int pitch, int width, int height,
                          const std::uint32_t palette[256]) {
  if (!S->Window || !pixels || !palette || width <= 0 || height <= 0 || pitch < width) return;
  // The frame is kept (also for a screenshot: the key may come at any time, between frames or
  // while none is drawn), and what changed in it is all that is presented.
  S->Changes.Update(pixels, pitch, width, height, palette);
  bool shown = S->Route == TPresentRoute::WindowSurface
                   ? S->PresentToSurface(pixels, pitch, width, height, palette)
                   : S->PresentToTexture(pixels, pitch, width, height, palette);
  // The window may hold part of the frame, or none of it: the next one goes whole.
  if (!shown) S->Changes.ChangeAll();
}

void TSdlBackend::PresentWholeNext() { S->Changes.ChangeAll(); }

bool TSdlBackend::ReadWindowPixels(std::vector<std::uint32_t>& pixels, int& width, int& height) {
  pixels.clear();
  width = height = 0;
  if (!S->Window) return false;
  if (S->Route == TPresentRoute::Texture) {
    if (!S->Renderer || SDL_GetRendererOutputSize(S->Renderer, &width, &height) != 0) return false;
    pixels.resize(static_cast<std::size_t>(width) * height);
    if (SDL_RenderReadPixels(S->Renderer, nullptr, SDL_PIXELFORMAT_XRGB8888, pixels.data(),
                             width * 4) == 0) {
      for (std::uint32_t& p : pixels) p &= 0x00FFFFFFu;
      return true;
    }
    pixels.clear();
    width = height = 0;
    return false;
  }
  SDL_Surface* surface = SDL_GetWindowSurface(S->Window);
  if (!surface || (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)) return false;
  width = surface->w;
  height = surface->h;
  pixels.resize(static_cast<std::size_t>(width) * height);
  const int bytes = surface->format->BytesPerPixel;
  const bool xrgb = surface->format->format == SDL_PIXELFORMAT_XRGB8888 ||
                    surface->format->format == SDL_PIXELFORMAT_ARGB8888;
  for (int y = 0; y < height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(surface->pixels) +
                      static_cast<std::ptrdiff_t>(y) * surface->pitch;
    std::uint32_t* out = pixels.data() + static_cast<std::size_t>(y) * width;
    if (xrgb) {  // the usual case, read as it is
      std::memcpy(out, row, static_cast<std::size_t>(width) * 4);
      for (int x = 0; x < width; ++x) out[x] &= 0x00FFFFFFu;
      continue;
    }
    for (int x = 0; x < width; ++x) {
      Uint32 value = 0;
      std::memcpy(&value, row + static_cast<std::ptrdiff_t>(x) * bytes,
                  static_cast<std::size_t>(bytes));
      Uint8 r = 0, g = 0, b = 0;
      SDL_GetRGB(value, surface->format, &r, &g, &b);
      out[x] = static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | b;
    }
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  return true;
}

std::string TSdlBackend::LibraryVersion() {
  SDL_version v;
  SDL_GetVersion(&v);
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.patch);
}

bool TSdlBackend::SaveScreenshot(std::string& shownAs, std::string& error) {
  const TFrameChanges& shown = S->Changes;
  if (shown.Empty()) {
    error = "no frame has been shown yet";
    return false;
  }
  std::string folder = GameDataFolder(error);
  return !folder.empty() &&
         SaveScreenshotFile(folder, std::time(nullptr), shown.Pixels(), shown.Width(),
                            shown.Width(), shown.Height(), shown.Palette(), shownAs, error);
}

void TSdlBackend::ShowCursor(bool visible) {
  if (S->VideoStarted) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

bool TSdlBackend::SetWindowIcon(const std::uint32_t* rgba, int width, int height) {
  constexpr int largest = 1024;
  if (!rgba || width <= 0 || height <= 0 || width > largest || height > largest) return false;
  S->Icon.assign(rgba, rgba + static_cast<std::size_t>(width) * height);
  S->IconWidth = width;
  S->IconHeight = height;
  S->ApplyIcon();
  return true;
}

bool TSdlBackend::IsFullScreen() const {
  return S->Window && (SDL_GetWindowFlags(S->Window) & SDL_WINDOW_FULLSCREEN) != 0;
}

void TSdlBackend::SetPlayerWindow(bool fullScreen, int width, int height) {
  S->PlayerWindowGiven = true;
  S->PlayerFullScreen = fullScreen;
  if (width > 0 && height > 0) {
    S->WindowedWidth = width;
    S->WindowedHeight = height;
  }
  S->PlayerResized = [this] {
    if (OnPlayerWindow) OnPlayerWindow(false, S->WindowedWidth, S->WindowedHeight);
  };
}

void TSdlBackend::ToggleFullScreen() {
  if (!S->Window) return;
  S->SwitchedAt = SDL_GetTicks();
  bool toWindow = IsFullScreen();
  SwitchFullScreen();
  if (OnPlayerWindow) OnPlayerWindow(!toWindow, S->WindowedWidth, S->WindowedHeight);
}

void TSdlBackend::SwitchFullScreen() {
  S->SurfaceWhole = true;
  PresentWholeNext();
  if (IsFullScreen()) {
    SDL_SetWindowFullscreen(S->Window, 0);
    // A window on the desktop gets a frame to move it by.
    SDL_SetWindowBordered(S->Window, SDL_TRUE);
    SDL_SetWindowSize(S->Window, S->WindowedWidth, S->WindowedHeight);
    SDL_SetWindowPosition(S->Window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  } else {
    SDL_SetWindowBordered(S->Window, S->Borderless ? SDL_FALSE : SDL_TRUE);
    S->EnterFullScreen();
  }
}

void TSdlBackend::WhenDisplayLost(std::function<int()> lastWords) { WhenX11ConnectionLost(std::move(lastWords)); }

void TSdlBackend::DisableVsync() { SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0"); }

void TSdlBackend::PlaySound(const std::int16_t* samples, int count) { S->Audio.Play(samples, count); }
