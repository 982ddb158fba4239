// Gamepads of the browser as the platform's joysticks: axis positions to raw values, buttons,
// and the standard layout's directional pad as the hat.
#include "backends/web/GamepadMap.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct TAxisCase {
  double Position;
  std::int32_t Raw;
};

class GamepadAxis : public testing::TestWithParam<TAxisCase> {};

TEST_P(GamepadAxis, SpreadsMinusOneToOneOverTheRawRange) {
  EXPECT_EQ(AxisFromGamepad(GetParam().Position), GetParam().Raw) << GetParam().Position;
}

INSTANTIATE_TEST_SUITE_P(
    Positions, GamepadAxis,
    testing::Values(TAxisCase{-1.0, -32768}, TAxisCase{0.0, 0}, TAxisCase{1.0, 32767},
                    TAxisCase{-0.5, -16384}, TAxisCase{0.5, 16383}, TAxisCase{-2.0, -32768},
                    TAxisCase{7.0, 32767}, TAxisCase{std::numeric_limits<double>::quiet_NaN(), 0},
                    TAxisCase{std::numeric_limits<double>::infinity(), 32767},
                    TAxisCase{-std::numeric_limits<double>::infinity(), -32768},
                    TAxisCase{1.0 / 65535, 0}, TAxisCase{2.0 / 65535, 1}));

TEST(GamepadMap, AxesAndButtonsAsTheyAre) {
  TGamepadReading pad;
  pad.Name = "Pad";
  pad.AxisCount = 4;
  pad.Axes[0] = -1;
  pad.Axes[1] = 1;
  pad.Axes[2] = 0.5;
  pad.ButtonCount = 17;
  pad.Pressed = 1u << 0 | 1u << 16 | 1u << 20;  // button 20 does not exist
  TBackendJoystick j = JoystickFromGamepad(pad);
  EXPECT_EQ(j.Name, "Pad");
  EXPECT_EQ(j.X, -32768);
  EXPECT_EQ(j.Y, 32767);
  EXPECT_EQ(j.Z, 16383);
  EXPECT_EQ(j.AxisCount, 4);
  EXPECT_EQ(j.ButtonCount, 17);
  EXPECT_EQ(j.Buttons, 1u << 0 | 1u << 16);
  EXPECT_EQ(j.Hat, -1) << "not the standard layout: no hat";

  // Fewer axes than three: the missing ones stay centred; all 32 buttons may be pressed.
  pad.AxisCount = 1;
  pad.ButtonCount = 40;
  pad.Pressed = 0xFFFFFFFFu;
  j = JoystickFromGamepad(pad);
  EXPECT_EQ(j.X, -32768);
  EXPECT_EQ(j.Y, 0);
  EXPECT_EQ(j.Z, 0);
  EXPECT_EQ(j.Buttons, 0xFFFFFFFFu);

  pad.AxisCount = -3;
  pad.ButtonCount = -1;
  j = JoystickFromGamepad(pad);
  EXPECT_EQ(j.AxisCount, 0);
  EXPECT_EQ(j.X, 0);
  EXPECT_EQ(j.Buttons, 0u);
}

TEST(GamepadMap, TheStandardPadIsTheHat) {
  constexpr std::uint32_t up = 1u << 12, down = 1u << 13, left = 1u << 14, right = 1u << 15;
  struct {
    std::uint32_t Pressed;
    int Hat;
  } cases[] = {{0, -1},          {up, 0},           {up | right, 4500},   {right, 9000},
               {down | right, 13500}, {down, 18000}, {down | left, 22500}, {left, 27000},
               {up | left, 31500}, {up | down, -1},  {left | right, -1},   {up | down | left, -1},
               {1u << 0, -1}};
  TGamepadReading pad;
  pad.Standard = true;
  pad.ButtonCount = 17;
  for (const auto& c : cases) {
    pad.Pressed = c.Pressed;
    EXPECT_EQ(JoystickFromGamepad(pad).Hat, c.Hat) << std::hex << c.Pressed;
  }
}

}  // namespace
