// The backend in a web browser (WebAssembly): a canvas, the page's keyboard, the Gamepad API, the
// page's clocks, and the page's focus and visibility as the window's activation.
#pragma once

#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "backends/web/CanvasFrame.h"
#include "backends/web/GamepadMap.h"
#include "backends/web/TickClock.h"

// TWebBackend is fed by the page (web/tarnyx-page.js, through the exported functions of
// web/main.cpp): each key press and release by its KeyboardEvent.code, the page's focus and
// visibility, gamepads coming and going and their readings before each step of the loop. The
// window is the canvas: it is shown at once and is active while the page is both visible and
// focused, so that a hidden tab or a page in the background stops the game's timer. Frames are
// converted through their palette into the canvas's RGBA pixels where they changed, and those
// rows are put into the canvas; the page scales the canvas to the browser window. Nothing here
// blocks: WaitEvent and SleepUntil return at once, since the page, not this loop, decides when
// the next step runs.
class TWebBackend : public TBackend {
 public:
  TWebBackend();

  // --- what the page reports ---
  // A key pressed or released, by its KeyboardEvent.code: false when the key has no code here
  // (the page then lets the browser have it).
  bool Key(const std::string& code, bool down, bool alt, bool repeat);
  void SetPageVisible(bool visible);
  void SetPageFocused(bool focused);
  void GamepadConnected();
  void GamepadDisconnected();
  // The connected gamepads, in the browser's order, as read just now.
  void SetGamepads(std::vector<TGamepadReading> pads);
  // From now on the time of day reads as ms past midnight UTC (0..86399999), the one thing the
  // world is made from: a page asked for a world by its number, as the headless tool's --seed.
  // False (and nothing changes) for a time that is not in the day.
  bool FixTimeOfDay(long long ms);
  // The time of day as TimeOfDay gives it, in ms past midnight UTC.
  std::uint32_t TimeOfDayMs() const;

  // Around each step of the page's loop: where the frame timer stands (whether it waits to tick,
  // its last tick's clock reading and its interval), so that a step late for a tick reads the
  // time it was due (TTickClock).
  void BeginStep(bool timerDue, std::uint32_t tickTime, std::uint32_t interval);
  void EndStep() { FClock.EndStep(); }
  // The page's own clock, as timeGetTime counts (wrapping), for the page's planning of its next
  // step: read past the tick clock, so that a step planned early does not stop the next tick
  // from keeping its due time (the program's readings never go back).
  static std::uint32_t PageMilliseconds();

  bool Active() const { return FVisible && FFocused; }
  long PresentCount() const { return FPresentCount; }
  double LastPresentMs() const { return FLastPresentMs; }  // the conversion and the canvas put

  // --- TBackend ---
  bool CreateMainWindow(const std::string& title, int width, int height, bool borderless,
                        bool fullScreen, std::string& error) override;
  void DestroyMainWindow() override;
  bool HasWindow() const override { return FWindowOpen; }
  bool PollEvent(TBackendEvent& event) override;
  bool WaitEvent(TBackendEvent& event, std::uint32_t timeoutMs) override;
  void SleepUntil(std::uint32_t) override {}
  void ScanCodeState(std::uint8_t state[256]) override;
  void VirtualKeyState(std::uint8_t state[256]) override;
  int JoystickCount() override;
  bool JoystickState(int index, TBackendJoystick& state) override;
  std::uint32_t Milliseconds() override;
  void TimeOfDay(int& hour, int& minute, int& second, int& millisecond) override;
  void Present(const std::uint8_t* pixels, int pitch, int width, int height,
               const std::uint32_t palette[256]) override;
  void ShowCursor(bool visible) override;
  // Handed to the page's audio (Module.onSound), which plays it through Web Audio once the player
  // has clicked, tapped or pressed a key.
  void PlaySound(const std::int16_t* samples, int count) override;
  // Through the page's Fullscreen API (the page must have had a gesture, as a key press is).
  void ToggleFullScreen() override;
  // A PNG of the canvas offered as a download.
  bool SaveScreenshot(std::string& shownAs, std::string& error) override;
  // The browser owns the page's life: Alt+F4 ends nothing here (a tab is closed by the browser).
  bool QuitByKey() const override { return false; }

 private:
  void Push(TBackendEvent::Kind kind);
  void UpdateActivation(bool wasActive);
  void ReleaseAllKeys();

  std::deque<TBackendEvent> FEvents;
  bool FWindowOpen = false;
  bool FVisible = true;
  bool FFocused = true;
  long long FFixedTimeOfDay = -1;  // -1: the clock's
  TTickClock FClock;
  std::set<std::string> FDown;  // the keys held, by KeyboardEvent.code
  std::vector<TGamepadReading> FPads;
  TCanvasFrame FCanvas;              // the frame as the canvas takes it
  std::uint32_t FPalette[256] = {};  // the palette the table was made from
  std::uint32_t FTable[256] = {};    // palette entries as canvas pixels
  bool FTableMade = false;
  long FPresentCount = 0;
  double FLastPresentMs = 0;
};
