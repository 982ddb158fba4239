// A backend without a machine: a fake clock and time of day, scripted keys and joysticks, queued
// events, and the presented frames kept in memory. Tests and the headless tool run every layer on it.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/Backend.h"

class THeadlessBackend : public TBackend {
 public:
  THeadlessBackend();

  // --- what the tests and the headless tool script ---
  std::uint32_t Clock = 0;           // the fake millisecond clock; advance it by hand
  std::uint32_t TimeOfDayMs = 0;     // milliseconds since midnight UTC, 0..86399999
  bool WindowAllowed = true;         // false: CreateMainWindow fails, as without a display
  std::uint8_t ScanCodes[256] = {};  // bit 7 set = key down
  std::uint8_t VirtualKeys[256] = {};
  std::vector<TBackendJoystick> Joysticks;
  std::deque<TBackendEvent> Events;  // handed out by PollEvent/WaitEvent in order

  std::string ScreenshotFolder;      // where SaveScreenshot writes; empty: it fails
  bool QuitKeyAllowed = true;        // what QuitByKey answers
  bool WaitingPassesTime = false;    // true: SleepUntil, and a WaitEvent without an event, move
                                     // Clock on by their time, as a real wait would

  void PushEvent(TBackendEvent::Kind kind);
  // A key press (down) or release as the keyboard reports it: PC set-1 scan code, virtual key.
  void PushKey(int scanCode, int virtualKey, bool down, bool alt = false, bool repeat = false);

  // --- what it keeps ---
  bool WindowOpen = false;
  std::string WindowTitle;
  bool CursorVisible = true;
  long PresentCount = 0;
  int FrameWidth = 0, FrameHeight = 0;
  std::vector<std::uint8_t> Frame;  // the last presented frame, width*height bytes
  std::uint32_t FramePalette[256] = {};
  std::uint32_t WaitedMs = 0;       // total time WaitEvent was asked to wait without an event
  long WaitCount = 0;               // WaitEvent calls that found no event
  std::uint32_t SleptMs = 0;        // total time the SleepUntil calls slept
  long SleepCount = 0;
  bool FullScreen = false;          // switched by ToggleFullScreen
  std::vector<std::string> Screenshots;  // the files SaveScreenshot wrote, in order
  std::vector<std::int16_t> Sound;  // every sample PlaySound was given, in order; tests clear it

  // --- TBackend ---
  bool CreateMainWindow(const std::string& title, int width, int height, bool borderless,
                        bool fullScreen, std::string& error) override;
  void DestroyMainWindow() override;
  bool HasWindow() const override { return WindowOpen; }
  bool PollEvent(TBackendEvent& event) override;
  bool WaitEvent(TBackendEvent& event, std::uint32_t timeoutMs) override;
  void SleepUntil(std::uint32_t time) override;
  void ScanCodeState(std::uint8_t state[256]) override;
  void VirtualKeyState(std::uint8_t state[256]) override;
  int JoystickCount() override;
  bool JoystickState(int index, TBackendJoystick& state) override;
  std::uint32_t Milliseconds() override { return Clock; }
  void TimeOfDay(int& hour, int& minute, int& second, int& millisecond) override;
  void Present(const std::uint8_t* pixels, int pitch, int width, int height,
               const std::uint32_t palette[256]) override;
  void ShowCursor(bool visible) override { CursorVisible = visible; }
  void PlaySound(const std::int16_t* samples, int count) override;
  void ToggleFullScreen() override { FullScreen = !FullScreen; }
  bool SaveScreenshot(std::string& shownAs, std::string& error) override;
  bool QuitByKey() const override { return QuitKeyAllowed; }
};
