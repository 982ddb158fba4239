// The joystick: selection by ID on both paths, axis scaling, buttons, and the stored tables.
#include "InputFixture.h"

namespace {

using JoystickTest = InputFixture;

// The backend's raw value for a multimedia position 0..65535.
std::int32_t Raw(int position) { return position - 32768; }

TEST(ScaleAxis, DeadZoneBoundariesOfAStickReportingZeroTo65535) {
  EXPECT_EQ(ScaleAxis(0, 65535, 0, 1000, 50), -1000);
  EXPECT_EQ(ScaleAxis(65535, 65535, 0, 1000, 50), 1000);
  EXPECT_LT(ScaleAxis(16375, 65535, 0, 1000, 50), 0);
  EXPECT_EQ(ScaleAxis(16376, 65535, 0, 1000, 50), 0);
  EXPECT_EQ(ScaleAxis(32767, 65535, 0, 1000, 50), 0);
  EXPECT_EQ(ScaleAxis(49158, 65535, 0, 1000, 50), 0);
  EXPECT_GT(ScaleAxis(49159, 65535, 0, 1000, 50), 0);
  EXPECT_EQ(ScaleAxis(40000, 65535, 0, 1000, 100), 0);  // nothing left outside the dead zone
  EXPECT_EQ(ScaleAxis(5, 0, 0, 1000, 0), 0);            // no span at all
  EXPECT_EQ(ScaleAxis(INT32_MIN, INT32_MAX, INT32_MIN, 1000, 0), -1000);  // no overflow
}

class BothPaths : public InputFixture, public testing::WithParamInterface<bool> {};

TEST_P(BothPaths, IdOneWithOneJoystickGivesNothingAndIdZeroSelectsTheFirst) {
  backend.Joysticks.resize(1);
  backend.Joysticks[0].X = -32768;
  Start(GetParam(), 1);
  EXPECT_TRUE(Poll().Empty());
  input->Joystick->SetID(0);
  EXPECT_TRUE(input->Joystick->Initialized);
  EXPECT_EQ(input->Joystick->ButtonCount, 32);
  EXPECT_EQ(Poll(), (TInputStates{stLeft}));
}

TEST_P(BothPaths, IdOneReadsTheSecondJoystick) {
  backend.Joysticks.resize(2);
  backend.Joysticks[1].X = 32767;
  backend.Joysticks[0].Y = -32768;
  Start(GetParam(), 1);
  EXPECT_EQ(Poll(), (TInputStates{stRight}));
}

TEST_P(BothPaths, DiagonalAndButtonsOneAndThirtyTwo) {
  backend.Joysticks.resize(1);
  TBackendJoystick& js = backend.Joysticks[0];
  js.ButtonCount = 40;
  Start(GetParam(), 0);
  js.X = -32768;
  js.Y = -32768;
  EXPECT_EQ(Poll(), (TInputStates{stLeft, stUp}));
  js.X = 32767;
  js.Y = 32767;
  js.Buttons = 0x80000001u;
  EXPECT_EQ(Poll(), (TInputStates{stRight, stDown, stButton1, stButton32}));
  js.X = js.Y = 0;
  js.Buttons = 0xFFFFFFFFu;
  TInputStates all = Poll();
  EXPECT_EQ(all.Bytes[0], 0xF0);  // no direction, buttons 1..4
  EXPECT_EQ(all.Bytes[4], 0x0F);  // nothing beyond button 32
}

TEST_P(BothPaths, StickNearTheCentreGivesNoDirection) {
  backend.Joysticks.resize(1);
  TBackendJoystick& js = backend.Joysticks[0];
  Start(GetParam(), 0);
  for (int position : {16376, 32767, 49158}) {
    js.X = Raw(position);
    EXPECT_TRUE(Poll().Empty()) << position;
  }
  js.X = Raw(16375);
  EXPECT_EQ(Poll(), (TInputStates{stLeft}));
  js.X = Raw(49159);
  EXPECT_EQ(Poll(), (TInputStates{stRight}));
}

TEST_P(BothPaths, NegativeIdLeavesTheJoystickUninitialised) {
  backend.Joysticks.resize(1);
  backend.Joysticks[0].X = -32768;
  Start(GetParam(), -1);
  EXPECT_FALSE(input->Joystick->Initialized);
  EXPECT_EQ(input->Joystick->JoystickIndex, -1);
  EXPECT_TRUE(Poll().Empty());
}

TEST_P(BothPaths, JoystickPluggedInLaterWorksByTheSameIdRule) {
  backend.Joysticks.resize(1);
  Start(GetParam(), 1);
  backend.Joysticks.resize(2);
  backend.Joysticks[1].Y = -32768;
  EXPECT_TRUE(Poll().Empty());
  Send(WM_DEVICECHANGE);
  EXPECT_EQ(Poll(), (TInputStates{stUp}));
  backend.Joysticks.pop_back();
  Send(WM_DEVICECHANGE);
  EXPECT_TRUE(Poll().Empty());
  EXPECT_TRUE(input->Joystick->DeviceStates.Empty());
}

INSTANTIATE_TEST_SUITE_P(Joystick, BothPaths, testing::Values(true, false),
                         [](const auto& info) { return info.param ? "DirectInput" : "Multimedia"; });

TEST_F(JoystickTest, DirectInputPathAppliesDeadZoneAndRangeInThePlatform) {
  backend.Joysticks.resize(1);
  Start(true, 0);
  TJoystick& j = *input->Joystick;
  ASSERT_NE(j.Device(), nullptr);
  EXPECT_EQ(j.DeadZoneX(), 50);
  EXPECT_EQ(j.RangeY(), 1000);
  EXPECT_EQ(j.DeadZone(32), -1);  // the hat takes no dead zone
  EXPECT_EQ(j.DeadZone(12), -1);  // no object there: refused by the device
  EXPECT_EQ(j.Range(48), -1);     // a button is not an axis
  backend.Joysticks[0].X = -32768;
  Poll();
  EXPECT_EQ(j.JoyState.lX, -1000);
  backend.Joysticks[0].X = -16000;  // inside half the travel
  Poll();
  EXPECT_EQ(j.JoyState.lX, 0);
  j.SetDeadZone(TJoystick::AxisX, 0);
  Poll();
  EXPECT_NEAR(j.JoyState.lX, -488, 1);
}

TEST_F(JoystickTest, DeadZoneAndRangeSettersClampAndIgnoreBadIndexes) {
  input = std::make_unique<TDXInput>(form.get());
  TJoystick& j = *input->Joystick;
  j.SetDeadZone(TJoystick::AxisX, 150);
  EXPECT_EQ(j.DeadZoneX(), 100);
  j.SetRange(TJoystick::AxisX, -5);
  EXPECT_EQ(j.RangeX(), 0);
  j.SetDeadZone(TJoystick::AxisY, -3);
  EXPECT_EQ(j.DeadZoneY(), 0);
  j.SetRange(TJoystick::AxisPOV, 10);
  EXPECT_EQ(j.Range(TJoystick::AxisPOV), -1);
  for (int bad : {-1, 271, 272, 100000}) {
    j.SetDeadZone(bad, 10);
    j.SetRange(bad, 10);
    EXPECT_EQ(j.DeadZone(bad), 0);
    EXPECT_EQ(j.Range(bad), 0);
  }
  EXPECT_EQ(j.DeadZone(270), 0);
  j.SetDeadZone(270, 7);
  EXPECT_EQ(j.DeadZone(270), 7);

  // With an open device that accepts it, the clamped value is kept too.
  backend.Joysticks.resize(1);
  input.reset();
  Start(true, 0);
  input->Joystick->SetDeadZone(TJoystick::AxisX, 150);
  EXPECT_EQ(input->Joystick->DeadZoneX(), 100);
}

TEST_F(JoystickTest, MultimediaPathFindsNothingWithIdOneAndOneStickUnderDirectInput) {
  // With a DirectInput object and too few joysticks the multimedia search still runs, but the
  // joystick stays uninitialised and yields nothing.
  backend.Joysticks.resize(1);
  backend.Joysticks[0].X = -32768;
  Start(true, 1);
  EXPECT_FALSE(input->Joystick->Initialized);
  EXPECT_EQ(input->Joystick->JoystickIndex, -1);
  input->Joystick->SetID(0);
  EXPECT_EQ(input->Joystick->JoystickIndex, -1);  // opened through DirectInput instead
  EXPECT_NE(input->Joystick->Device(), nullptr);
}

TEST_F(JoystickTest, FailedPositionReadYieldsNoDirectionAndNoButton) {
  backend.Joysticks.resize(1);
  Start(false, 0);
  ASSERT_EQ(input->Joystick->JoystickIndex, 0);
  backend.Joysticks[0].X = -32768;
  backend.Joysticks[0].Buttons = 1;
  EXPECT_EQ(Poll(), (TInputStates{stLeft, stButton1}));
  backend.Joysticks.clear();  // pulled out without a notice: joyGetPosEx fails
  EXPECT_TRUE(Poll().Empty());
}

TEST_F(JoystickTest, FewerButtonsThanThirtyTwoReportOnlyTheirOwn) {
  backend.Joysticks.resize(1);
  backend.Joysticks[0].ButtonCount = 2;
  Start(false, 0);
  EXPECT_EQ(input->Joystick->ButtonCount, 2);
  backend.Joysticks[0].Buttons = 0x7u;
  EXPECT_EQ(Poll(), (TInputStates{stButton1, stButton2}));
}

}  // namespace
