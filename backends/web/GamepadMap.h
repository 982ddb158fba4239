// How a gamepad of the browser's Gamepad API becomes one of the platform's joysticks.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Backend.h"

// One gamepad as the page reads it: its first three axes (-1 left or up .. 1 right or down),
// which of its first 32 buttons are pressed, and whether the browser lays it out in the
// "standard" mapping (buttons 12..15 then are the directional pad: up, down, left, right).
struct TGamepadReading {
  std::string Name;
  bool Standard = false;
  int AxisCount = 0;
  double Axes[3] = {};
  int ButtonCount = 0;
  std::uint32_t Pressed = 0;  // bit n: button n
};

// The raw axis value of a position -1..1: -32768 at -1, 0 at 0, 32767 at 1. Positions beyond the
// ends count as the ends; a position that is not a number as the centre.
std::int32_t AxisFromGamepad(double position);

// The joystick state: axes X, Y, Z from the first three axes, the buttons as they are, and the
// directional pad of a standard gamepad as its hat (-1 when centred, or when opposite directions
// are pressed at once; none for other layouts).
TBackendJoystick JoystickFromGamepad(const TGamepadReading& pad);
