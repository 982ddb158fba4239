// The one seam between the platform stand-ins and the machine: a window, its events, the
// keyboard, joysticks, the clocks, the presentation of finished frames and the playing of sound.
#pragma once

#include <cstdint>
#include <string>

// A joystick's raw state as the machine reports it: axes -32768..32767, the first hat in
// hundredths of a degree clockwise from up (-1 when centred), buttons 0..31 as bits.
struct TBackendJoystick {
  std::int32_t X = 0, Y = 0, Z = 0;
  std::int32_t Hat = -1;
  std::uint32_t Buttons = 0;
  std::int32_t AxisCount = 3;
  std::int32_t ButtonCount = 32;
  std::string Name;
};

// What happened at the window, in the order it happened.
struct TBackendEvent {
  enum Kind {
    beNone,
    beQuit,             // the user or the system asked the program to end
    beClose,            // the window's close button, or the window destroyed from outside
    beShown,            // the window became visible
    beActivate,         // the window gained the input focus
    beDeactivate,       // the window lost the input focus
    bePaint,            // the window's content must be drawn again
    beResize,           // the window's drawable size changed (Width, Height)
    beKeyDown,          // ScanCode: PC set-1 scan code, extended keys at 0x80 and up; Repeat
    beKeyUp,            // when the keyboard repeats a held key
    beJoystickAdded,    // a joystick was plugged in
    beJoystickRemoved,  // a joystick was removed
  };
  Kind Type = beNone;
  std::int32_t ScanCode = 0;
  std::int32_t VirtualKey = 0;
  bool Alt = false;
  bool Repeat = false;
  std::int32_t Width = 0, Height = 0;
};

// The machine behind the platform stand-ins. Exactly one is current at a time: the game's window
// uses the SDL one (backends/sdl), the page the web one (backends/web), the tests and the headless
// tool the headless one (backends/headless).
//
// A back end reports every key as it is, the program's own keys too (the screenshot key,
// Alt+Enter, Alt+F4): what those do is decided above it, once for every back end (TAppKeys),
// and the back end carries out the requests that come of them (ToggleFullScreen,
// SaveScreenshot).
class TBackend {
 public:
  virtual ~TBackend() = default;

  // Opens the one window. On failure returns false and says why in error.
  virtual bool CreateMainWindow(const std::string& title, int width, int height, bool borderless,
                                bool fullScreen, std::string& error) = 0;
  virtual void DestroyMainWindow() = 0;
  virtual bool HasWindow() const = 0;

  // The next event if one waits (PollEvent), or the next within timeoutMs (WaitEvent).
  virtual bool PollEvent(TBackendEvent& event) = 0;
  virtual bool WaitEvent(TBackendEvent& event, std::uint32_t timeoutMs) = 0;
  // Lets time pass until the millisecond clock (Milliseconds) reads time, wrap-safe, without
  // looking at events: those that come meanwhile wait for the next PollEvent. A time not ahead
  // returns at once. Wakes as the clock turns to that reading, not up to a millisecond later, so
  // that a timer ticking on the clock's readings keeps its rate.
  virtual void SleepUntil(std::uint32_t time) = 0;

  // Key states right now: 256 bytes each, bit 7 set while a key is down. By PC set-1 scan code
  // (extended keys at 0x80 and up), and by virtual-key code.
  virtual void ScanCodeState(std::uint8_t state[256]) = 0;
  virtual void VirtualKeyState(std::uint8_t state[256]) = 0;

  // Attached joysticks, in the machine's order.
  virtual int JoystickCount() = 0;
  virtual bool JoystickState(int index, TBackendJoystick& state) = 0;

  // Milliseconds since some start, wrapping at 2^32; and the UTC time of day.
  virtual std::uint32_t Milliseconds() = 0;
  virtual void TimeOfDay(int& hour, int& minute, int& second, int& millisecond) = 0;

  // Shows one finished 8-bit frame through its 256-entry palette.
  virtual void Present(const std::uint8_t* pixels, int pitch, int width, int height,
                       const std::uint32_t palette[256]) = 0;  // palette entries as 0x00RRGGBB

  virtual void ShowCursor(bool visible) = 0;

  // Plays count samples of sound (48,000 a second, 16-bit signed, mono): the game hands over one
  // frame's worth (960) after each frame it draws, and nothing while it stands still, which a
  // back end hears as silence. The samples are copied before the call returns. A back end
  // without sound ignores them.
  virtual void PlaySound(const std::int16_t* samples, int count) {
    (void)samples;
    (void)count;
  }

  // --- requests of the program's own keys ---
  // Between full screen and a window of the frame's size.
  virtual void ToggleFullScreen() = 0;
  // Saves a picture of the last presented frame where the player finds it: a file in the
  // player's folder for the game, say, or a download offered by a browser. shownAs then says
  // where, for the player. False with the reason in error when no frame has been presented yet
  // or the picture cannot be saved.
  virtual bool SaveScreenshot(std::string& shownAs, std::string& error) = 0;
  // Whether the quit key (Alt+F4) may end the program: not where something else owns the
  // program's life, as a browser owns a page's.
  virtual bool QuitByKey() const { return true; }
};

// The current backend. Set once at start-up (the game, the headless tool, each test).
TBackend& Backend();
void SetBackend(TBackend* backend);
bool HasBackend();
