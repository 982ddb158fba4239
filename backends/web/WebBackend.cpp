// The backend in a web browser.
#include "backends/web/WebBackend.h"

#include <emscripten.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstring>

#include "backends/web/WebInputMap.h"
#include "system/LocalTime.h"

// What the backend asks of the page. The page's canvas is Module.canvas; web/tarnyx-page.js
// scales it to the browser window and offers its pictures for download.
// clang-format off
EM_JS(void, WebSetTitle, (const char* title), {
  document.title = UTF8ToString(title);
});

EM_JS(void, WebSetCanvasSize, (int width, int height), {
  const canvas = Module.canvas;
  if (canvas.width !== width) canvas.width = width;
  if (canvas.height !== height) canvas.height = height;
  if (Module.onCanvasResized) Module.onCanvasResized(width, height);
});

// Puts count areas (x, y, width, height: four ints each, at areas) of width x height RGBA pixels
// from the program's memory into the canvas. The view on the memory is made again whenever the
// memory has grown (which replaces its buffer) or the pixels moved.
EM_JS(void, WebPutPixels, (const void* rgba, int width, int height, const int* areas, int count), {
  const canvas = Module.canvas;
  let put = Module.tarnyxPut;
  if (!put || put.buffer !== HEAPU8.buffer || put.address !== rgba || put.width !== width ||
      put.height !== height) {
    put = Module.tarnyxPut = {
      buffer: HEAPU8.buffer, address: rgba, width: width, height: height,
      image: new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width, height),
      context: canvas.getContext('2d', {alpha: false}),
    };
  }
  for (let i = 0, a = areas >> 2; i < count; ++i, a += 4)
    put.context.putImageData(put.image, 0, 0, HEAP32[a], HEAP32[a + 1], HEAP32[a + 2], HEAP32[a + 3]);
  if (Module.onFramePresented) Module.onFramePresented(count > 0);
});

EM_JS(void, WebSetCursorVisible, (int visible), {
  Module.canvas.style.cursor = visible ? 'default' : 'none';
});

EM_JS(void, WebToggleFullScreen, (), {
  if (Module.toggleFullScreen) Module.toggleFullScreen();
});

// Hands count 16-bit samples at samples to the page's audio, as a view on the program's memory
// that the page copies before it returns.
EM_JS(void, WebPlaySound, (const std::int16_t* samples, int count), {
  if (Module.onSound) Module.onSound(HEAP16.subarray(samples >> 1, (samples >> 1) + count));
});

// Offers the canvas's picture as a download of that name.
EM_JS(void, WebOfferScreenshot, (const char* name), {
  if (Module.saveScreenshot) Module.saveScreenshot(UTF8ToString(name));
});
// clang-format on

TWebBackend::TWebBackend() = default;

void TWebBackend::Push(TBackendEvent::Kind kind) {
  TBackendEvent e;
  e.Type = kind;
  FEvents.push_back(e);
}

bool TWebBackend::Key(const std::string& code, bool down, bool alt, bool repeat) {
  const int scanCode = PcScanCodeFromWeb(code);
  if (scanCode == 0) return false;
  // Every key is reported, the program's own keys too: what they do is decided above.
  if (down)
    FDown.insert(code);
  else
    FDown.erase(code);
  TBackendEvent e;
  e.Type = down ? TBackendEvent::beKeyDown : TBackendEvent::beKeyUp;
  e.ScanCode = scanCode;
  e.VirtualKey = VirtualKeyFromWeb(code);
  e.Alt = alt;
  e.Repeat = down && repeat;
  FEvents.push_back(e);
  return true;
}

void TWebBackend::ReleaseAllKeys() {
  // The page hears of no release while it lacks the focus: every key counts as let go.
  for (const std::string& code : FDown) {
    TBackendEvent e;
    e.Type = TBackendEvent::beKeyUp;
    e.ScanCode = PcScanCodeFromWeb(code);
    e.VirtualKey = VirtualKeyFromWeb(code);
    FEvents.push_back(e);
  }
  FDown.clear();
}

void TWebBackend::UpdateActivation(bool wasActive) {
  if (Active() == wasActive || !FWindowOpen) return;
  if (!Active()) ReleaseAllKeys();
  Push(Active() ? TBackendEvent::beActivate : TBackendEvent::beDeactivate);
}

void TWebBackend::SetPageVisible(bool visible) {
  bool was = Active();
  FVisible = visible;
  UpdateActivation(was);
  if (visible && FWindowOpen) Push(TBackendEvent::bePaint);
}

void TWebBackend::SetPageFocused(bool focused) {
  bool was = Active();
  FFocused = focused;
  UpdateActivation(was);
}

void TWebBackend::GamepadConnected() { Push(TBackendEvent::beJoystickAdded); }

void TWebBackend::GamepadDisconnected() { Push(TBackendEvent::beJoystickRemoved); }

void TWebBackend::SetGamepads(std::vector<TGamepadReading> pads) { FPads = std::move(pads); }

bool TWebBackend::FixTimeOfDay(long long ms) {
  if (ms < 0 || ms >= 86400000) return false;
  FFixedTimeOfDay = ms;
  return true;
}

bool TWebBackend::CreateMainWindow(const std::string& title, int width, int height, bool, bool,
                                   std::string& error) {
  if (width <= 0 || height <= 0) {
    error = "bad window size";
    return false;
  }
  WebSetTitle(title.c_str());
  WebSetCanvasSize(width, height);
  FWindowOpen = true;
  // The canvas is on the page from the start; if the page is not in front, the program learns
  // so right after it has shown its window.
  Push(TBackendEvent::beShown);
  if (!Active()) Push(TBackendEvent::beDeactivate);
  return true;
}

void TWebBackend::DestroyMainWindow() {
  FWindowOpen = false;
  FDown.clear();
}

bool TWebBackend::PollEvent(TBackendEvent& event) {
  if (FEvents.empty()) return false;
  event = FEvents.front();
  FEvents.pop_front();
  return true;
}

bool TWebBackend::WaitEvent(TBackendEvent& event, std::uint32_t) { return PollEvent(event); }

void TWebBackend::ScanCodeState(std::uint8_t state[256]) {
  std::fill(state, state + 256, 0);
  for (const std::string& code : FDown)
    if (int c = PcScanCodeFromWeb(code)) state[c] = 0x80;
}

void TWebBackend::VirtualKeyState(std::uint8_t state[256]) {
  std::fill(state, state + 256, 0);
  for (const std::string& code : FDown) {
    // A modifier is down under both its names: VK_SHIFT and VK_LSHIFT, say.
    if (int c = VirtualKeyFromWeb(code)) state[c] = 0x80;
    if (int c = SidedVirtualKeyFromWeb(code)) state[c] = 0x80;
  }
}

int TWebBackend::JoystickCount() { return static_cast<int>(FPads.size()); }

bool TWebBackend::JoystickState(int index, TBackendJoystick& state) {
  if (index < 0 || index >= JoystickCount()) return false;
  state = JoystickFromGamepad(FPads[static_cast<std::size_t>(index)]);
  return true;
}

std::uint32_t TWebBackend::PageMilliseconds() {
  // performance.now(): milliseconds since the page started, never going back.
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(emscripten_get_now()));
}

std::uint32_t TWebBackend::Milliseconds() { return FClock.Read(PageMilliseconds()); }

void TWebBackend::BeginStep(bool timerDue, std::uint32_t tickTime, std::uint32_t interval) {
  FClock.BeginStep(PageMilliseconds(), timerDue, tickTime, interval);
}

std::uint32_t TWebBackend::TimeOfDayMs() const {
  if (FFixedTimeOfDay >= 0) return static_cast<std::uint32_t>(FFixedTimeOfDay);
  // The system clock is the page's Date.now(): UTC without leap seconds, so whole days are
  // exact multiples.
  using namespace std::chrono;
  constexpr long long msPerDay = 24LL * 60 * 60 * 1000;
  long long ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() % msPerDay;
  if (ms < 0) ms += msPerDay;
  return static_cast<std::uint32_t>(ms);
}

void TWebBackend::TimeOfDay(int& hour, int& minute, int& second, int& millisecond) {
  const std::uint32_t t = TimeOfDayMs();
  hour = static_cast<int>(t / 3600000u);
  minute = static_cast<int>(t / 60000u % 60u);
  second = static_cast<int>(t / 1000u % 60u);
  millisecond = static_cast<int>(t % 1000u);
}

void TWebBackend::Present(const std::uint8_t* pixels, int pitch, int width, int height,
                          const std::uint32_t palette[256]) {
  if (!FWindowOpen || !pixels || !palette || width <= 0 || height <= 0 || pitch < width) return;
  const double start = emscripten_get_now();
  // The canvas takes bytes red, green, blue, alpha: on this little-endian machine that is
  // 0xAABBGGRR, where the palette holds 0x00RRGGBB.
  if (!FTableMade || std::memcmp(palette, FPalette, sizeof FPalette) != 0) {
    std::memcpy(FPalette, palette, sizeof FPalette);
    for (int i = 0; i < 256; ++i) {
      std::uint32_t c = palette[i];
      FTable[i] = 0xFF000000u | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
    }
    FTableMade = true;
  }
  if (width != FCanvas.Width() || height != FCanvas.Height()) WebSetCanvasSize(width, height);
  FCanvas.Update(pixels, pitch, width, height, FTable);
  const std::vector<TCanvasFrame::TArea>& areas = FCanvas.Areas();
  static_assert(sizeof(TCanvasFrame::TArea) == 4 * sizeof(int), "the page reads areas as four ints");
  WebPutPixels(FCanvas.Pixels(), width, height, areas.empty() ? nullptr : &areas[0].X,
               static_cast<int>(areas.size()));
  ++FPresentCount;
  FLastPresentMs = emscripten_get_now() - start;
}

void TWebBackend::ShowCursor(bool visible) { WebSetCursorVisible(visible ? 1 : 0); }

void TWebBackend::ToggleFullScreen() { WebToggleFullScreen(); }

bool TWebBackend::SaveScreenshot(std::string& shownAs, std::string& error) {
  if (FPresentCount == 0) {
    error = "no frame has been shown yet";
    return false;
  }
  // The canvas holds the last presented frame; the browser makes the PNG and offers it, named
  // as the desktop names its screenshots (local time).
  std::time_t now = std::time(nullptr);
  std::tm local{};
  char name[48] = "";
  if (!LocalCalendarTime(now, local) ||
      std::strftime(name, sizeof name, "tarnyx-%Y%m%d-%H%M%S.png", &local) == 0) {
    error = "no time of day";
    return false;
  }
  WebOfferScreenshot(name);
  shownAs = std::string(name) + " (a download)";
  return true;
}

void TWebBackend::PlaySound(const std::int16_t* samples, int count) {
  if (samples && count > 0) WebPlaySound(samples, count);
}
