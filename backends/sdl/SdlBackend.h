// The backend on a real machine, through SDL2: the window, its events, the keyboard, joysticks,
// the clocks and the presentation of frames.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Backend.h"

// TSdlBackend owns SDL for the whole process: it starts SDL's video and joystick parts when the
// window is made and shuts SDL down when it is destroyed. Keys arrive as PC set-1 scan codes and
// virtual-key codes (see SdlInputMap.h); joysticks in SDL's device order. Frames are 8-bit and
// shown through their palette, scaled to the window with their aspect kept and pixels crisp (see
// PresentLayout.h and PresentRoute.h); only what changed since the last frame is converted and
// sent (see FrameChanges.h), and the frame kept for that is the screenshot's. Full screen is the
// desktop's, and a screenshot is a PNG file in the player's folder for the game (see
// GameDataFolder). A window that another program destroys is reported as closed (see
// X11WindowWatch.h), and a write to a closed stdout or stderr fails rather than ending the process. Sound goes to SDL's audio (see SdlAudio.h).
class TSdlBackend : public TBackend {
 public:
  TSdlBackend();
  ~TSdlBackend() override;
  TSdlBackend(const TSdlBackend&) = delete;
  TSdlBackend& operator=(const TSdlBackend&) = delete;

  // --- TBackend ---
  bool CreateMainWindow(const std::string& title, int width, int height, bool borderless,
                        bool fullScreen, std::string& error) override;
  void DestroyMainWindow() override;
  bool HasWindow() const override;
  bool PollEvent(TBackendEvent& event) override;
  bool WaitEvent(TBackendEvent& event, std::uint32_t timeoutMs) override;
  void SleepUntil(std::uint32_t time) override;
  void ScanCodeState(std::uint8_t state[256]) override;
  void VirtualKeyState(std::uint8_t state[256]) override;
  int JoystickCount() override;
  bool JoystickState(int index, TBackendJoystick& state) override;
  std::uint32_t Milliseconds() override;
  void TimeOfDay(int& hour, int& minute, int& second, int& millisecond) override;
  void Present(const std::uint8_t* pixels, int pitch, int width, int height,
               const std::uint32_t palette[256]) override;
  void ShowCursor(bool visible) override;
  // Through SDL's audio (see SdlAudio.h).
  void PlaySound(const std::int16_t* samples, int count) override;

  // The next present converts and sends the whole frame, not only what changed since the frame
  // before: for whoever knows that the window lost what it showed, and for measuring what a
  // whole present costs.
  void PresentWholeNext();

  // What the window holds now, width x height pixels 0x00RRGGBB by rows from the top: its surface
  // on the window surface route, the renderer's output read back on the texture route (where a
  // GPU draws, that may be slow, and what it reads after a present is up to the driver). For
  // tests; false without a window or where nothing can be read.
  bool ReadWindowPixels(std::vector<std::uint32_t>& pixels, int& width, int& height);

  // The window's icon from width x height pixels, each four bytes red, green, blue, alpha in that
  // order in memory. Given before the window exists, it is kept for the window when it is made.
  // False (and nothing changes) for a bad size.
  bool SetWindowIcon(const std::uint32_t* rgba, int width, int height);

  // Frames are shown as soon as they are presented, not at the display's next refresh (for
  // --timedemo, which measures how fast the game goes). Call before the window is made.
  static void DisableVsync();

  // What the program does before it ends because the display went away (its connection lost):
  // lastWords returns the exit status. Without it the status is 0, as for a close.
  static void WhenDisplayLost(std::function<int()> lastWords);

  // The version of the SDL library the program runs with, as "2.30.0"; needs no window.
  static std::string LibraryVersion();

  // The last presented frame as tarnyx-YYYYMMDD-HHMMSS.png (see SaveScreenshotFile) in the
  // player's folder for the game; shownAs gets the file's path.
  bool SaveScreenshot(std::string& shownAs, std::string& error) override;

  // Desktop full screen, or a window (of the frame's size unless the player chose another).
  bool IsFullScreen() const;
  void ToggleFullScreen() override;

  // The player's window: full screen, or a window of width x height pixels, which is also the
  // size Alt+Enter gives the window. Given before the window is made, it decides how the window
  // opens: the program's request for full screen then opens this window instead.
  void SetPlayerWindow(bool fullScreen, int width, int height);
  // Called when the player switched between full screen and a window (Alt+Enter) or changed the
  // window's size: whether the window is now full screen, and its size when it is not.
  std::function<void(bool fullScreen, int width, int height)> OnPlayerWindow;

 private:
  void SwitchFullScreen();

  struct TState;
  std::unique_ptr<TState> S;
};
