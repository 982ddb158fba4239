// The headless backend.
#include "backends/headless/HeadlessBackend.h"

#include <cstring>
#include <ctime>

#include "media/Screenshot.h"

THeadlessBackend::THeadlessBackend() = default;

void THeadlessBackend::PushEvent(TBackendEvent::Kind kind) {
  TBackendEvent e;
  e.Type = kind;
  Events.push_back(e);
}

void THeadlessBackend::PushKey(int scanCode, int virtualKey, bool down, bool alt, bool repeat) {
  TBackendEvent e;
  e.Type = down ? TBackendEvent::beKeyDown : TBackendEvent::beKeyUp;
  e.ScanCode = scanCode;
  e.VirtualKey = virtualKey;
  e.Alt = alt;
  e.Repeat = down && repeat;
  Events.push_back(e);
}

bool THeadlessBackend::CreateMainWindow(const std::string& title, int width, int height, bool,
                                        bool, std::string& error) {
  if (!WindowAllowed) {
    error = "no display in this headless run";
    return false;
  }
  WindowOpen = true;
  WindowTitle = title;
  FrameWidth = width;
  FrameHeight = height;
  return true;
}

void THeadlessBackend::DestroyMainWindow() { WindowOpen = false; }

bool THeadlessBackend::PollEvent(TBackendEvent& event) {
  if (Events.empty()) return false;
  event = Events.front();
  Events.pop_front();
  return true;
}

bool THeadlessBackend::WaitEvent(TBackendEvent& event, std::uint32_t timeoutMs) {
  if (PollEvent(event)) return true;
  // Nothing will ever arrive by itself: the fake time passes instead.
  WaitedMs += timeoutMs;
  ++WaitCount;
  if (WaitingPassesTime) Clock += timeoutMs;
  return false;
}

void THeadlessBackend::SleepUntil(std::uint32_t time) {
  auto ms = static_cast<std::int32_t>(time - Clock);
  if (ms <= 0) return;
  SleptMs += static_cast<std::uint32_t>(ms);
  ++SleepCount;
  if (WaitingPassesTime) Clock = time;
}

void THeadlessBackend::ScanCodeState(std::uint8_t state[256]) { std::memcpy(state, ScanCodes, 256); }

void THeadlessBackend::VirtualKeyState(std::uint8_t state[256]) {
  std::memcpy(state, VirtualKeys, 256);
}

int THeadlessBackend::JoystickCount() { return static_cast<int>(Joysticks.size()); }

bool THeadlessBackend::JoystickState(int index, TBackendJoystick& state) {
  if (index < 0 || index >= JoystickCount()) return false;
  state = Joysticks[static_cast<size_t>(index)];
  return true;
}

void THeadlessBackend::TimeOfDay(int& hour, int& minute, int& second, int& millisecond) {
  std::uint32_t t = TimeOfDayMs % 86400000u;
  hour = static_cast<int>(t / 3600000u);
  minute = static_cast<int>(t / 60000u % 60u);
  second = static_cast<int>(t / 1000u % 60u);
  millisecond = static_cast<int>(t % 1000u);
}

void THeadlessBackend::Present(const std::uint8_t* pixels, int pitch, int width, int height,
                               const std::uint32_t palette[256]) {
  ++PresentCount;
  FrameWidth = width;
  FrameHeight = height;
  Frame.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    std::memcpy(&Frame[static_cast<size_t>(y) * static_cast<size_t>(width)],
                pixels + static_cast<std::ptrdiff_t>(y) * pitch, static_cast<size_t>(width));
  std::memcpy(FramePalette, palette, sizeof FramePalette);
}

void THeadlessBackend::PlaySound(const std::int16_t* samples, int count) {
  if (samples && count > 0) Sound.insert(Sound.end(), samples, samples + count);
}

bool THeadlessBackend::SaveScreenshot(std::string& shownAs, std::string& error) {
  if (PresentCount == 0) {
    error = "no frame has been shown yet";
    return false;
  }
  if (!SaveScreenshotFile(ScreenshotFolder, std::time(nullptr), Frame.data(), FrameWidth,
                          FrameWidth, FrameHeight, FramePalette, shownAs, error))
    return false;
  Screenshots.push_back(shownAs);
  return true;
}
