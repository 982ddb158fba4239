// The page's program: the game's form on the web back end, and the functions the page calls to
// feed it events and to run its loop one step at a time.
#include <emscripten.h>

#include <cmath>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "framework/DXTimer.h"
#include "game/Main.h"
#include "game/Readouts.h"
#include "game/Ship.h"
#include "platform/SystemTime.h"
#include "platform/web/WebBackend.h"
#include "shell/Application.h"
#include "tools/headless/Json.h"
#include "tools/headless/WorldJson.h"

namespace {

// Made before the page first calls in (the page may set the seed before main runs).
TWebBackend web;
TWebBackend* backend = &web;
bool started = false;
long ticks = 0;  // frame timer ticks so far
std::vector<TGamepadReading> readings;  // the gamepads being read by the page

// Tells the page about each tick: how long it took, and how long of it went to the present.
// clang-format off
EM_JS(void, WebTicked, (double tickMs, double presentMs, int presented), {
  if (Module.onTick) Module.onTick(tickMs, presentMs, presented !== 0);
});

EM_JS(void, WebFailed, (const char* message), {
  if (Module.onFailure) Module.onFailure(UTF8ToString(message));
});
// clang-format on

// Times every tick of the form's frame timer, around the game's own handler.
void WatchTicks() {
  TDXTimerEvent tick = Form1->DXTimer->OnTimer;
  Form1->DXTimer->OnTimer = [tick](TObject* sender, int lagCount) {
    const long presents = backend->PresentCount();
    const double start = emscripten_get_now();
    if (tick) tick(sender, lagCount);
    ++ticks;
    const bool presented = backend->PresentCount() != presents;
    WebTicked(emscripten_get_now() - start, presented ? backend->LastPresentMs() : 0, presented);
  };
}

}  // namespace

int main() {
  SetBackend(backend);
  RegisterAppClasses();
  try {
    Application->Initialize();
    Application->SetTitle("Tarnyx");
    Application->CreateForm(Form1);
    if (!Form1) throw std::runtime_error("the main form was not made");
    WatchTicks();
    Application->BeginRun();
  } catch (const std::exception& e) {
    std::string message = std::string("Tarnyx cannot start: ") + e.what();
    std::fprintf(stderr, "%s\n", message.c_str());
    WebFailed(message.c_str());
    return 1;
  }
  started = true;
  // The runtime stays: the page calls tarnyx_step from now on.
  return 0;
}

extern "C" {

// One turn of the loop: every waiting message, then the idle phase once. Returns when the next
// turn is wanted: the clock reading (in timeGetTime's milliseconds) at which the frame timer is
// next due, -1 when nothing is due until an event arrives, -2 once the game has ended.
EMSCRIPTEN_KEEPALIVE double tarnyx_step() {
  if (!started || !Application || !Application->ProcessMessagesAndIdle()) return -2;
  if (!Application->OnIdle || !Form1 || !Form1->DXTimer) return -1;
  const TDXTimer& timer = *Form1->DXTimer;
  // Unsigned like the timer's own arithmetic, so that the clock's wrap-around does no harm.
  const DWORD now = timeGetTime();
  const DWORD waited = now - timer.TickTime();
  const DWORD left = waited >= timer.Interval() ? 0 : timer.Interval() - waited;
  return static_cast<double>(now) + left;
}

// A key of the page's keyboard, by its KeyboardEvent.code. Returns 1 when the game took it (the
// page then keeps the browser from acting on it too).
// The world by its number (ms past midnight UTC) rather than by the clock; before main runs.
// Returns 0 for a number that is not in the day.
EMSCRIPTEN_KEEPALIVE int tarnyx_seed(double ms) {
  return ms == std::floor(ms) && backend->FixTimeOfDay(static_cast<long long>(ms)) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int tarnyx_key(const char* code, int down, int alt, int repeat) {
  if (!backend || !code) return 0;
  return backend->Key(code, down != 0, alt != 0, repeat != 0) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void tarnyx_page_visible(int visible) {
  if (backend) backend->SetPageVisible(visible != 0);
}

EMSCRIPTEN_KEEPALIVE void tarnyx_page_focused(int focused) {
  if (backend) backend->SetPageFocused(focused != 0);
}

EMSCRIPTEN_KEEPALIVE void tarnyx_gamepad_plugged(int connected) {
  if (!backend) return;
  if (connected)
    backend->GamepadConnected();
  else
    backend->GamepadDisconnected();
}

// The page's gamepads as read just now, in the browser's order: begin, one reading each, end.
EMSCRIPTEN_KEEPALIVE void tarnyx_gamepads_begin() { readings.clear(); }

EMSCRIPTEN_KEEPALIVE void tarnyx_gamepad_reading(const char* name, int standard, int axisCount,
                                                 double x, double y, double z, int buttonCount,
                                                 unsigned pressed) {
  TGamepadReading pad;
  pad.Name = name ? name : "";
  pad.Standard = standard != 0;
  pad.AxisCount = axisCount;
  pad.Axes[0] = x;
  pad.Axes[1] = y;
  pad.Axes[2] = z;
  pad.ButtonCount = buttonCount;
  pad.Pressed = pressed;
  readings.push_back(pad);
}

EMSCRIPTEN_KEEPALIVE void tarnyx_gamepads_end() {
  if (backend) backend->SetGamepads(readings);
}

// The world as the headless tool writes it (tools/headless/WorldJson.h), with the speed readout's
// text and the ticks so far: how the page's tests look at the game.
EMSCRIPTEN_KEEPALIVE const char* tarnyx_state() {
  static std::string text;
  text.clear();
  TJsonWriter json(text);
  WriteWorldState(json);
  text.pop_back();  // the world's closing brace: more members follow
  std::string speed;
  TJsonWriter(speed).String(SpeedText(Speed(Player)));
  text += ",\"SpeedText\":" + speed + ",\"Ticks\":" + std::to_string(ticks) + "}";
  return text.c_str();
}

}  // extern "C"
