// How a gamepad of the browser's Gamepad API becomes one of the platform's joysticks.
#include "backends/web/GamepadMap.h"

#include <algorithm>
#include <cmath>

namespace {

// The buttons of the directional pad in the standard layout.
constexpr int kPadUp = 12, kPadDown = 13, kPadLeft = 14, kPadRight = 15;

int HatFromPad(std::uint32_t pressed) {
  const bool up = pressed >> kPadUp & 1, down = pressed >> kPadDown & 1;
  const bool left = pressed >> kPadLeft & 1, right = pressed >> kPadRight & 1;
  if ((up && down) || (left && right)) return -1;
  if (up) return right ? 4500 : left ? 31500 : 0;
  if (down) return right ? 13500 : left ? 22500 : 18000;
  if (right) return 9000;
  if (left) return 27000;
  return -1;
}

}  // namespace

std::int32_t AxisFromGamepad(double position) {
  if (std::isnan(position)) return 0;
  position = std::clamp(position, -1.0, 1.0);
  // -1..1 spread over the 65536 raw values; halves round up, so 0 lands on 0.
  return static_cast<std::int32_t>(std::floor((position + 1) * 32767.5 + 0.5)) - 32768;
}

TBackendJoystick JoystickFromGamepad(const TGamepadReading& pad) {
  TBackendJoystick j;
  j.Name = pad.Name;
  j.AxisCount = std::clamp(pad.AxisCount, 0, 64);
  j.ButtonCount = std::clamp(pad.ButtonCount, 0, 128);
  const int axes = std::min(j.AxisCount, 3);
  if (axes > 0) j.X = AxisFromGamepad(pad.Axes[0]);
  if (axes > 1) j.Y = AxisFromGamepad(pad.Axes[1]);
  if (axes > 2) j.Z = AxisFromGamepad(pad.Axes[2]);
  const int buttons = std::min(j.ButtonCount, 32);
  j.Buttons = buttons == 32 ? pad.Pressed : pad.Pressed & ((1u << buttons) - 1);
  j.Hat = pad.Standard ? HatFromPad(j.Buttons) : -1;
  return j;
}
