// The backend on a real machine, through SDL2.
#include "platform/sdl/SdlBackend.h"

#include <SDL.h>

#include <algorithm>
#include <bitset>
#include <chrono>
#include <climits>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <vector>

#include "platform/PaletteConvert.h"
#include "platform/Png.h"
#include "platform/sdl/PresentLayout.h"
#include "platform/sdl/SdlInputMap.h"

struct TSdlBackend::TState {
  bool VideoStarted = false;
  SDL_Window* Window = nullptr;
  SDL_Renderer* Renderer = nullptr;
  SDL_Texture* Frame = nullptr;     // the converted frame, streaming, frame-sized
  SDL_Texture* Enlarged = nullptr;  // the frame enlarged by a whole number, a render target
  int FrameWidth = 0, FrameHeight = 0;
  int EnlargedWidth = 0, EnlargedHeight = 0;
  int WindowedWidth = 1024, WindowedHeight = 768;  // the size Alt+Enter gives the window
  bool Borderless = false;
  bool WindowShown = false;  // the program was told that this window is shown
  std::vector<SDL_Joystick*> Joysticks;  // by SDL's device index; null where opening failed
  std::bitset<SDL_NUM_SCANCODES> Consumed;  // keys whose press was consumed, so is their release
  std::vector<std::uint32_t> Icon;  // RGBA, kept for the window; empty when none was given
  int IconWidth = 0, IconHeight = 0;
  // The last presented frame as it was handed over, rows packed, for screenshots.
  std::vector<std::uint8_t> Shown;
  std::uint32_t ShownPalette[256] = {};
  int ShownWidth = 0, ShownHeight = 0;

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

  bool Accept(TSdlBackend& backend, const SDL_Event& e, TBackendEvent& event);

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

TSdlBackend::TSdlBackend() : S(std::make_unique<TState>()) {}

TSdlBackend::~TSdlBackend() {
  DestroyMainWindow();
  S->CloseJoysticks();
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
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      error = SDL_GetError();
      return false;
    }
    // Where no display answers, SDL falls back to drawing into memory; a game nobody can see
    // must say so instead, unless that driver was asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!SDL_GetHint(SDL_HINT_VIDEODRIVER) && driver &&
        (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
      SDL_Quit();
      error = "no display found";
      return false;
    }
    S->VideoStarted = true;
    // Without joysticks the game still runs on the keyboard.
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0) S->OpenJoysticks();
  }

  Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI;
  if (borderless) flags |= SDL_WINDOW_BORDERLESS;
  S->Window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               width, height, flags);
  if (!S->Window) {
    error = SDL_GetError();
    return false;
  }
  S->WindowedWidth = width;
  S->WindowedHeight = height;
  S->Borderless = borderless;
  S->ApplyIcon();

  S->Renderer = SDL_CreateRenderer(S->Window, -1,
                                   SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!S->Renderer) {
    S->Renderer = SDL_CreateRenderer(S->Window, -1,
                                     SDL_RENDERER_SOFTWARE | SDL_RENDERER_PRESENTVSYNC);
  }
  if (!S->Renderer) S->Renderer = SDL_CreateRenderer(S->Window, -1, SDL_RENDERER_SOFTWARE);
  if (!S->Renderer || !S->MakeFrameTexture(width, height)) {
    error = SDL_GetError();
    DestroyMainWindow();
    return false;
  }
  // Only now: making the renderer may make the window anew, at its windowed place.
  if (fullScreen) S->EnterFullScreen();
  // Keys are read as keys; no text input, no input-method window.
  SDL_StopTextInput();
  return true;
}

void TSdlBackend::DestroyMainWindow() {
  S->DestroyTextures();
  if (S->Renderer) SDL_DestroyRenderer(S->Renderer);
  if (S->Window) SDL_DestroyWindow(S->Window);
  S->Renderer = nullptr;
  S->Window = nullptr;
  S->WindowShown = false;
  S->Consumed.reset();
  S->Shown.clear();
  S->ShownWidth = S->ShownHeight = 0;
}

bool TSdlBackend::HasWindow() const { return S->Window != nullptr; }

bool TSdlBackend::TranslateKey(int sdlScancode, bool down, bool alt, bool repeat,
                               TBackendEvent& event) {
  bool known = sdlScancode >= 0 && sdlScancode < SDL_NUM_SCANCODES;
  if (known && !down && S->Consumed.test(sdlScancode)) {
    S->Consumed.reset(sdlScancode);
    return false;
  }
  if (known && down &&
      (sdlScancode == SDL_SCANCODE_PRINTSCREEN || sdlScancode == SDL_SCANCODE_F12)) {
    S->Consumed.set(sdlScancode);
    if (repeat) return false;
    std::string path, error;
    if (SaveScreenshot(path, error)) {
      std::printf("%s\n", path.c_str());
      std::fflush(stdout);
    } else {
      std::fprintf(stderr, "tarnyx: no screenshot: %s\n", error.c_str());
    }
    return false;
  }
  if (known && down && alt) {
    if (sdlScancode == SDL_SCANCODE_F4) {
      S->Consumed.set(sdlScancode);
      if (repeat) return false;
      event = TBackendEvent{};
      event.Type = TBackendEvent::beClose;
      return true;
    }
    if (sdlScancode == SDL_SCANCODE_RETURN || sdlScancode == SDL_SCANCODE_KP_ENTER) {
      S->Consumed.set(sdlScancode);
      if (!repeat) ToggleFullScreen();
      return false;
    }
  }
  // A press of its own means the key's release belongs to that press, even if the release of a
  // consumed press never came (the focus went elsewhere in between).
  if (known && down) S->Consumed.reset(sdlScancode);
  event = TBackendEvent{};
  event.Type = down ? TBackendEvent::beKeyDown : TBackendEvent::beKeyUp;
  event.ScanCode = PcScanCodeFromSdl(sdlScancode);
  event.VirtualKey = VirtualKeyFromSdl(sdlScancode);
  event.Alt = alt;
  return true;
}

namespace {

// One SDL event as the backend's event; false for events the program does not hear about.
bool Translate(TSdlBackend& backend, const SDL_Event& e, SDL_Renderer* renderer,
               TBackendEvent& event) {
  event = TBackendEvent{};
  switch (e.type) {
    case SDL_QUIT:
      event.Type = TBackendEvent::beQuit;
      return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return backend.TranslateKey(e.key.keysym.scancode, e.type == SDL_KEYDOWN,
                                  (e.key.keysym.mod & KMOD_ALT) != 0, e.key.repeat != 0, event);
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
bool TSdlBackend::TState::Accept(TSdlBackend& backend, const SDL_Event& e, TBackendEvent& event) {
  if (e.type == SDL_WINDOWEVENT) {
    if (!OurWindow(e.window.windowID)) return false;
    // Making the renderer may hide the new window and show it once more; the program hears
    // of its first showing only.
    if (e.window.event == SDL_WINDOWEVENT_SHOWN) {
      if (WindowShown) return false;
      WindowShown = true;
    }
  }
  if (e.type == SDL_JOYDEVICEADDED || e.type == SDL_JOYDEVICEREMOVED) OpenJoysticks();
  if (e.type == SDL_RENDER_DEVICE_RESET) DestroyTextures();  // made again by the next frame
  return Translate(backend, e, Renderer, event);
}

bool TSdlBackend::PollEvent(TBackendEvent& event) {
  if (!S->VideoStarted) return false;
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (S->Accept(*this, e, event)) return true;
  }
  return false;
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
    if (S->Accept(*this, e, event)) return true;
  }
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

std::uint32_t TSdlBackend::Milliseconds() { return SDL_GetTicks(); }

void TSdlBackend::TimeOfDay(int& hour, int& minute, int& second, int& millisecond) {
  // The system clock counts UTC without leap seconds, so whole days are exact multiples.
  using namespace std::chrono;
  constexpr long long msPerDay = 24LL * 60 * 60 * 1000;
  long long ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  ms %= msPerDay;
  if (ms < 0) ms += msPerDay;
  hour = static_cast<int>(ms / 3600000);
  minute = static_cast<int>(ms / 60000 % 60);
  second = static_cast<int>(ms / 1000 % 60);
  millisecond = static_cast<int>(ms % 1000);
}

void TSdlBackend::Present(const std::uint8_t* pixels, int pitch, int width, int height,
                          const std::uint32_t palette[256]) {
  if (!S->Renderer || !pixels || !palette || width <= 0 || height <= 0 || pitch < width) return;
  if (!S->MakeFrameTexture(width, height)) return;
  void* locked = nullptr;
  int lockedPitch = 0;
  if (SDL_LockTexture(S->Frame, nullptr, &locked, &lockedPitch) != 0) return;
  // The palette's 0x00RRGGBB entries are already XRGB8888 pixels: they are the lookup table.
  ConvertPalettedFrame(pixels, pitch, static_cast<std::uint32_t*>(locked), lockedPitch, width,
                       height, palette);
  SDL_UnlockTexture(S->Frame);
  S->Draw();

  // Kept for a screenshot: the key may come at any time, between frames or while none is drawn.
  S->Shown.resize(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    std::copy_n(pixels + static_cast<std::ptrdiff_t>(y) * pitch, width,
                S->Shown.data() + static_cast<std::size_t>(y) * width);
  }
  std::copy_n(palette, 256, S->ShownPalette);
  S->ShownWidth = width;
  S->ShownHeight = height;
}

std::string TSdlBackend::LibraryVersion() {
  SDL_version v;
  SDL_GetVersion(&v);
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.patch);
}

bool TSdlBackend::SaveScreenshot(std::string& path, std::string& error,
                                 const std::string& folder) {
  if (S->Shown.empty()) {
    error = "no frame has been shown yet";
    return false;
  }
  std::string where = folder;
  if (where.empty()) {
    // Made by SDL if missing: ~/.local/share/tarnyx/ on Linux.
    char* pref = SDL_GetPrefPath("", "tarnyx");
    if (!pref) {
      error = std::string("no folder for the game: ") + SDL_GetError();
      return false;
    }
    where = pref;
    SDL_free(pref);
  }
  if (where.back() != '/') where += '/';

  std::time_t now = std::time(nullptr);
  std::tm local{};
  char stamp[32] = "";
  if (!localtime_r(&now, &local) ||
      std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local) == 0) {
    error = "no time of day";
    return false;
  }
  std::string base = where + "tarnyx-" + stamp;
  path = base + ".png";
  std::error_code ignored;
  for (int n = 2; std::filesystem::exists(path, ignored); ++n) {
    if (n > 999) {
      error = "too many screenshots in one second";
      return false;
    }
    path = base + "-" + std::to_string(n) + ".png";
  }
  return WritePalettizedPng(path, S->Shown.data(), S->ShownWidth, S->ShownWidth, S->ShownHeight,
                            S->ShownPalette, error);
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

void TSdlBackend::ToggleFullScreen() {
  if (!S->Window) return;
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

void TSdlBackend::DisableVsync() { SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0"); }
