// The page's program: the game's form on the web back end, and the functions the page calls to
// feed it events and to run its loop one step at a time.
#include <emscripten.h>

#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Form1.h"
#include "app/GameSettings.h"
#include "demo/DemoReader.h"
#include "demo/DemoRun.h"
#include "demo/DemoTape.h"
#include "framework/DXTimer.h"
#include "game/Main.h"
#include "game/Readouts.h"
#include "game/Ship.h"
#include "platform/SystemTime.h"
#include "backends/web/WebBackend.h"
#include "backends/web/WebInputMap.h"
#include "shell/Application.h"
#include "report/Json.h"
#include "report/StateReport.h"
#include "settings/InputSettings.h"
#include "settings/KeyNames.h"
#include "sound/AttachSound.h"
#include "sound/SoundOutput.h"

namespace {

// What the settings' messages call the page's local storage.
constexpr const char* SettingsPlace = "the page's settings";

// Made before the page first calls in (the page may set the seed before main runs).
TWebBackend web;
TWebBackend* backend = &web;
bool started = false;
long ticks = 0;  // frame timer ticks so far
std::vector<TGamepadReading> readings;  // the gamepads being read by the page

// Demos. Every flight is recorded from its first frame, so that the player can take it as a demo
// at any time (tarnyx_demo_take); or, given a demo before the game starts, the game plays it
// instead, ignoring the live input, and stops after its last frame.
std::unique_ptr<TDemoTape> tape;
std::unique_ptr<TDemoRun> playback;  // the demo being played; its lines go to the console
bool demoDone = false;
std::string demoEnding;  // the played demo's summary, as the headless tool prints it
std::uint32_t demoDesync = 0;
std::vector<std::uint8_t> taken;  // the last demo taken of the recording

// The game's sound, handed to the page's audio; a timedemo is silent.
TGameSound sound;

// The player's settings, kept as text in the page's local storage, which the page hands over
// before main runs (tarnyx_settings_load); without it, the defaults.
std::unique_ptr<TGameSettings> settings;
std::int32_t storedJoystickId = 0;  // the stored form's joystick, for the choice `stored`

// Tells the page about each tick: how long it took, and how long of it went to the present.
// clang-format off
EM_JS(void, WebTicked, (double tickMs, double presentMs, int presented), {
  if (Module.onTick) Module.onTick(tickMs, presentMs, presented !== 0);
});

// Tells the page the sound's volume and whether it is muted, after the player changed either.
EM_JS(void, WebSoundChanged, (int volume, int muted), {
  if (Module.onSoundChanged) Module.onSoundChanged(volume, muted !== 0);
});

// Keeps the settings' text in the page's local storage; 0 when the browser refused it.
EM_JS(int, WebStoreSettings, (const char* text), {
  try {
    localStorage.setItem('tarnyx-settings', UTF8ToString(text));
    return 1;
  } catch (e) {
    return 0;
  }
});

// Tells the page that a setting changed (the panel shows it anew), or a line about the settings.
EM_JS(void, WebSettingsChanged, (), {
  if (Module.onSettingsChanged) Module.onSettingsChanged();
});
EM_JS(void, WebSettingsSaid, (const char* line), {
  if (Module.onSettingsSaid) Module.onSettingsSaid(UTF8ToString(line));
});
// A gamepad is connected that the game does not read: count connected, the game reads index.
EM_JS(void, WebJoystickHint, (int count, int index), {
  if (Module.onJoystickHint) Module.onJoystickHint(count, index);
});

EM_JS(void, WebFailed, (const char* message), {
  if (Module.onFailure) Module.onFailure(UTF8ToString(message));
});

EM_JS(void, WebDemoEnded, (const char* summary, int desyncFrame, double seconds, const char* notes), {
  if (Module.onDemoEnded) Module.onDemoEnded(UTF8ToString(summary), desyncFrame, seconds, UTF8ToString(notes));
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

// After the demo's last frame: the state now is the demo's, and no frame comes after it.
void EndDemo() {
  if (demoDone) return;
  demoDone = true;
  playback->Finish();
  demoDesync = playback->Player()->DesyncFrame();
  demoEnding = playback->Player()->Summary();
  if (Form1 && Form1->DXTimer) Form1->DXTimer->SetEnabled(false);
  // What the desktop game warns of besides the summary.
  const TDemoReader& demo = *playback->Demo();
  std::string notes;
  if (demo.Truncated()) notes += "The file was cut short: " + demo.TruncationWarning() + ". ";
  if (demo.Header().GameVersion != GameVersionText)
    notes += "It was recorded by " + demo.Header().GameVersion + ", and may play differently here. ";
  WebDemoEnded(demoEnding.c_str(), static_cast<int>(demoDesync), playback->Seconds(), notes.c_str());
}

// Hooks the demo being played, or else the recording, into the form's frames.
void HookDemo(TForm1& form) {
  if (playback) {
    form.OnFrameInput = [](TInputStates& states) { playback->FrameInput(states); };
    form.OnFrameEnd = [] { playback->FrameEnd(); };
    playback->OnDone = EndDemo;
    // A tick on every turn of the loop.
    if (playback->Fast() && form.DXTimer) form.DXTimer->SetInterval(0);
    // Nothing to play (a file cut right after its header): no frame would ever end it.
    if (playback->Done()) EndDemo();
    return;
  }
  // The world was made from the time of day, held since: the recording's seed.
  tape = std::make_unique<TDemoTape>(backend->TimeOfDayMs(), GameVersionText);
  form.OnFrameInput = [](TInputStates& states) { tape->FrameInput(states); };
  form.OnFrameEnd = [] { tape->FrameEnd(); };
}

// The settings of the page: those handed over, or else the defaults.
TGameSettings& Settings() {
  if (!settings) {
    settings = std::make_unique<TGameSettings>(TSettingsFile(SettingsPlace), TSettingsOverlay{},
                                               [](const std::string& line) { WebSettingsSaid(line.c_str()); });
  }
  return *settings;
}

// The settings that act on the running game, put into it anew.
void ApplySettings() {
  const TSettings& s = Settings().Effective();
  sound.SetVolume(s.Volume);
  sound.SetMuted(s.Mute);
  if (!Form1 || !Form1->DXInput) return;
  ApplyKeys(*Form1->DXInput, s);
  if (s.Joystick.Kind == TJoystickChoice::jcStored)
    Form1->DXInput->Joystick->SetID(storedJoystickId);
  else
    ApplyJoystick(*Form1->DXInput, s);
}

}  // namespace

int main() {
  SetBackend(backend);
  RegisterAppClasses();
  try {
    Application->Initialize();
    Application->SetTitle("Tarnyx");
    // The time of day the world is made from, held from now on: a recording's seed.
    if (!playback) backend->FixTimeOfDay(backend->TimeOfDayMs());
    Application->CreateForm(Form1);
    if (!Form1) throw std::runtime_error("the main form was not made");
    TGameSettings& chosen = Settings();
    chosen.Writer = [](const std::string& text, std::string& error) {
      if (WebStoreSettings(text.c_str())) return true;
      error = "the browser keeps no local storage for this page";
      return false;
    };
    chosen.OnChanged = [] {
      ApplySettings();
      WebSettingsChanged();
    };
    if (Form1->DXInput) storedJoystickId = Form1->DXInput->Joystick->ID();
    ApplySettings();
    HookDemo(*Form1);
    // Behind the demo's hooks, so that a demo's sound is that of its input; a timedemo is silent.
    if (!playback || !playback->Fast()) {
      PlayOnBackend(sound);
      ControlByKeys(sound, Application->AppKeys(), [] {
        Settings().SoundChanged(sound);
        WebSoundChanged(sound.Volume(), sound.Muted() ? 1 : 0);
      });
      AttachSound(*Form1, sound);
    }
    if (!playback) WatchJoysticks(*Form1, chosen, [](int count, int index) { WebJoystickHint(count, index); });
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
// next due, -1 when nothing is due until an event arrives, -2 once the game has ended, -3 once
// the demo being played has ended.
EMSCRIPTEN_KEEPALIVE double tarnyx_step() {
  if (demoDone) return -3;
  if (!started || !Application) return -2;
  // A step that comes late for the timer's tick (the page's thread was busy elsewhere) ticks as
  // if on time, so that the lateness does not slow every tick after it.
  const TDXTimer* waiting = Application->OnIdle && Form1 ? Form1->DXTimer : nullptr;
  backend->BeginStep(waiting != nullptr, waiting ? waiting->TickTime() : 0,
                     waiting ? waiting->Interval() : 0);
  const bool going = Application->ProcessMessagesAndIdle();
  backend->EndStep();
  if (!going) return -2;
  if (!Application->OnIdle || !Form1 || !Form1->DXTimer) return -1;
  const TDXTimer& timer = *Form1->DXTimer;
  // Unsigned like the timer's own arithmetic, so that the clock's wrap-around does no harm. The
  // page's clock itself: a reading through timeGetTime here, after a tick's due time, would be
  // the earliest the next step could read, and a late tick could not keep its due time.
  const DWORD now = TWebBackend::PageMilliseconds();
  const DWORD waited = now - timer.TickTime();
  const DWORD left = waited >= timer.Interval() ? 0 : timer.Interval() - waited;
  return static_cast<double>(now) + left;
}

// The world by its number (ms past midnight UTC) rather than by the clock; before main runs.
// Returns 0 for a number that is not in the day.
EMSCRIPTEN_KEEPALIVE int tarnyx_seed(double ms) {
  return ms == std::floor(ms) && backend->FixTimeOfDay(static_cast<long long>(ms)) ? 1 : 0;
}

// A demo to play instead of the live game, as the bytes of the file name, at the game's pace or
// as fast as it goes (fast); before main runs. Its world is made from its seed. Returns "" when
// it will play, else why not, in one line.
EMSCRIPTEN_KEEPALIVE const char* tarnyx_demo_play(const std::uint8_t* bytes, int size, int fast, const char* name) {
  static std::string error;
  error.clear();
  if (started || playback) return (error = "the game has already started").c_str();
  const auto console = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
  auto run = std::make_unique<TDemoRun>("tarnyx", nullptr, console);
  if (!run->PlayBytes(name ? name : "", std::vector<std::uint8_t>(bytes, bytes + (size > 0 ? size : 0)), fast != 0))
    return (error = run->Refusal()).c_str();
  backend->FixTimeOfDay(run->Seed());
  playback = std::move(run);
  return error.c_str();
}

// Whether bytes are a demo this game plays, without playing it: "" when they are, else why not,
// in one line. For a file dropped on the page, which is looked at before the page starts anew.
EMSCRIPTEN_KEEPALIVE const char* tarnyx_demo_check(const std::uint8_t* bytes, int size) {
  static std::string error;
  error.clear();
  try {
    TDemoReader check(std::vector<std::uint8_t>(bytes, bytes + (size > 0 ? size : 0)));
  } catch (const EDemoError& e) {
    error = e.what();
  }
  return error.c_str();
}

// The flight so far as a demo file: its size in bytes (0 while a demo plays or before the first
// frame), and the bytes, valid until the next call.
EMSCRIPTEN_KEEPALIVE int tarnyx_demo_take() {
  taken = tape && tape->Frames() > 0 ? tape->Take() : std::vector<std::uint8_t>{};
  return static_cast<int>(taken.size());
}
EMSCRIPTEN_KEEPALIVE const std::uint8_t* tarnyx_demo_bytes() { return taken.data(); }

// The page's sound controls, as the sound keys (M, - and =): 0 asks only, 1 mutes or unmutes, 2
// turns the volume down a step, 3 up. Returns the volume (0..100), plus 1000 while muted.
EMSCRIPTEN_KEEPALIVE int tarnyx_sound_control(int request) {
  if (request >= 1 && request <= 3) {
    ApplySoundKey(sound, request == 1   ? TAppKeys::skMute
                         : request == 2 ? TAppKeys::skVolumeDown
                                        : TAppKeys::skVolumeUp);
    Settings().SoundChanged(sound);
  }
  return sound.Volume() + (sound.Muted() ? 1000 : 0);
}

// The settings' text from the page's local storage (null: none kept), read by the game's own
// reader; before main runs. Each fault of the text is told to the page in one line.
EMSCRIPTEN_KEEPALIVE void tarnyx_settings_load(const char* text) {
  TSettingsFile file = text ? TSettingsFile::Parse(text, SettingsPlace) : TSettingsFile(SettingsPlace);
  settings = std::make_unique<TGameSettings>(std::move(file), TSettingsOverlay{},
                                             [](const std::string& line) { WebSettingsSaid(line.c_str()); });
  settings->SayFaults();
  // Heard so from the first frame, and shown so on the card before the game starts.
  sound.SetVolume(settings->Effective().Volume);
  sound.SetMuted(settings->Effective().Mute);
}

// The settings as the page's panel shows them: one JSON object with every setting's value as the
// file writes it, the keys of each action by name, and the text kept.
EMSCRIPTEN_KEEPALIVE const char* tarnyx_settings_state() {
  static std::string text;
  text.clear();
  const TSettings& s = Settings().Effective();
  TJsonWriter json(text);
  json.BeginObject();
  for (int k = 0; k < SettingKeyCount; ++k) {
    auto key = static_cast<TSettingKey>(k);
    json.Key(SettingName(key)).String(SettingValueText(s, key));
  }
  json.Key("text").String(Settings().File().Text());
  json.EndObject();
  return text.c_str();
}

// The player set a setting in the panel: name as in the file, value as the file writes it ("60",
// "yes", "first", "Space"). Returns "" once it is kept (and stored), else why not, in one line.
// A key that another action already has is refused, naming that action.
EMSCRIPTEN_KEEPALIVE const char* tarnyx_settings_set(const char* name, const char* value) {
  static std::string error;
  error.clear();
  TSettingKey key;
  if (!name || !value || !SettingKeyOf(name, key)) return (error = "no such setting").c_str();
  TSettings values = Settings().Effective();
  if (!ParseSettingValue(key, value, values, error)) return error.c_str();
  if (key >= skThrust) {
    for (int other = skThrust; other < skThrust + KeyActionCount; ++other) {
      if (other == key) continue;
      for (std::uint8_t mine : values.Keys[key - skThrust])
        for (std::uint8_t theirs : values.Keys[static_cast<std::size_t>(other - skThrust)])
          if (KeyboardCodeFor(mine, true) == KeyboardCodeFor(theirs, true))
            return (error = std::string(KeyNameOf(mine)) + " is already a key of " +
                            SettingName(static_cast<TSettingKey>(other)) +
                            ": give that action another key first")
                .c_str();
    }
  }
  Settings().PlayerChanged(key, values);
  return error.c_str();
}

// Every setting back to its default; the page's own text keeps its other lines.
EMSCRIPTEN_KEEPALIVE void tarnyx_settings_defaults() { Settings().RestoreDefaults(); }

// The settings' name of the key with this KeyboardEvent.code, or "" for a key that cannot steer
// (it has no name, or the game's keyboard does not see it).
EMSCRIPTEN_KEEPALIVE const char* tarnyx_key_name(const char* code) {
  static std::string name;
  name.clear();
  if (!code) return name.c_str();
  int vk = SidedVirtualKeyFromWeb(code);
  if (vk == 0) vk = VirtualKeyFromWeb(code);
  TSettings check;
  std::string why;
  std::string_view found = KeyNameOf(vk);
  if (!found.empty() && ParseSettingValue(skThrust, found, check, why)) name = found;
  return name.c_str();
}

// A key of the page's keyboard, by its KeyboardEvent.code. Returns 1 when the game took it (the
// page then keeps the browser from acting on it too).
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

// The world as the headless tool writes it (report/StateReport.h), with the speed readout's
// text and the ticks so far: how the page's tests look at the game.
EMSCRIPTEN_KEEPALIVE const char* tarnyx_state() {
  static std::string text;
  text.clear();
  TJsonWriter json(text);
  json.BeginObject();
  WriteGameStateMembers(json);
  json.Key("SpeedText").String(SpeedText(Speed(Player)));
  json.Key("Ticks").Integer(ticks);
  // The demo: the one playing (its frames played, whether it ended and how), or the recording.
  json.Key("Demo").BeginObject();
  json.Key("Playing").Bool(playback != nullptr);
  json.Key("Frames").Integer(playback ? playback->Player()->FramesPlayed() : tape ? tape->Frames() : 0);
  json.Key("Done").Bool(demoDone);
  json.Key("Summary").String(demoEnding);
  json.Key("Desync").Integer(demoDesync);
  // What the demo tools would exit with (DemoStatus*), once it ended.
  json.Key("Status").Integer(demoDone ? playback->Status() : 0);
  json.EndObject();
  json.EndObject();
  return text.c_str();
}

}  // extern "C"
