// The backend on a real machine, through SDL2: the window, its events, the keyboard, joysticks,
// the clocks and the presentation of frames.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Backend.h"

// TSdlBackend owns SDL for the whole process: it starts SDL's video and joystick parts when the
// window is made and shuts SDL down when it is destroyed. Keys arrive as PC set-1 scan codes and
// virtual-key codes (see SdlInputMap.h); joysticks in SDL's device order. Frames are 8-bit and
// shown through their palette, scaled to the window with their aspect kept and pixels crisp (see
// PresentLayout.h). Some key presses never reach the program: Alt+F4 becomes a close request (a
// bare X server has no window manager that would do it), Alt+Enter switches between desktop full
// screen and a window of the frame's size, and PrintScreen or F12 saves the last presented frame
// as a PNG picture in the player's folder for the game (see SaveScreenshot).
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
  void ScanCodeState(std::uint8_t state[256]) override;
  void VirtualKeyState(std::uint8_t state[256]) override;
  int JoystickCount() override;
  bool JoystickState(int index, TBackendJoystick& state) override;
  std::uint32_t Milliseconds() override;
  void TimeOfDay(int& hour, int& minute, int& second, int& millisecond) override;
  void Present(const std::uint8_t* pixels, int pitch, int width, int height,
               const std::uint32_t palette[256]) override;
  void ShowCursor(bool visible) override;

  // The window's icon from width x height pixels, each four bytes red, green, blue, alpha in that
  // order in memory. Given before the window exists, it is kept for the window when it is made.
  // False (and nothing changes) for a bad size.
  bool SetWindowIcon(const std::uint32_t* rgba, int width, int height);

  // Frames are shown as soon as they are presented, not at the display's next refresh (for
  // --timedemo, which measures how fast the game goes). Call before the window is made.
  static void DisableVsync();

  // The version of the SDL library the program runs with, as "2.30.0"; needs no window.
  static std::string LibraryVersion();

  // Writes the last presented frame as tarnyx-YYYYMMDD-HHMMSS.png (local time) into folder, or,
  // when folder is empty, into the player's folder for the game (SDL's preference path, made if
  // missing); a second picture within the same second gets "-2", "-3"... before the extension.
  // Returns false with the reason in error when no frame has been presented yet or the picture
  // cannot be written; path gets the file written.
  bool SaveScreenshot(std::string& path, std::string& error, const std::string& folder = "");

  // Desktop full screen, or a window of the frame's size.
  bool IsFullScreen() const;
  void ToggleFullScreen();

  // What one key press or release becomes: false when it is consumed here (Alt+Enter, the
  // screenshot keys, and the release of a key whose press was consumed), true with event filled in otherwise. sdlScancode is
  // SDL's scancode of the key; alt tells whether an Alt key is held. Needs no window.
  bool TranslateKey(int sdlScancode, bool down, bool alt, bool repeat, TBackendEvent& event);

 private:
  struct TState;
  std::unique_ptr<TState> S;
};
