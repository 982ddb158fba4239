// The multimedia joystick functions over the headless backend.
#include <gtest/gtest.h>

#include "platform/MultimediaJoystick.h"
#include "backends/headless/HeadlessBackend.h"

TEST(MultimediaJoystick, AnswersForAttachedNumbersOnly) {
  THeadlessBackend backend;
  SetBackend(&backend);
  backend.Joysticks.resize(1);
  backend.Joysticks[0].ButtonCount = 12;
  JOYCAPSA caps;
  EXPECT_EQ(joyGetDevCapsA(0, &caps, sizeof caps - 1), MMSYSERR_INVALPARAM);
  EXPECT_EQ(joyGetDevCapsA(0, nullptr, sizeof caps), MMSYSERR_INVALPARAM);
  ASSERT_EQ(joyGetDevCapsA(0, &caps, sizeof caps), JOYERR_NOERROR);
  EXPECT_EQ(caps.wXmin, 0u);
  EXPECT_EQ(caps.wXmax, 65535u);
  EXPECT_EQ(caps.wNumButtons, 12u);
  EXPECT_EQ(joyGetDevCapsA(1, &caps, sizeof caps), JOYERR_UNPLUGGED);
  EXPECT_EQ(joyGetDevCapsA(16, &caps, sizeof caps), JOYERR_PARMS);
  EXPECT_EQ(joyGetDevCapsA(255, &caps, sizeof caps), JOYERR_PARMS);
  SetBackend(nullptr);
}

TEST(MultimediaJoystick, PositionsAreRawZeroTo65535WithAButtonMask) {
  THeadlessBackend backend;
  SetBackend(&backend);
  backend.Joysticks.resize(1);
  TBackendJoystick& js = backend.Joysticks[0];
  js.X = -32768;
  js.Y = 32767;
  js.Z = 0;
  js.Hat = 27000;
  js.ButtonCount = 4;
  js.Buttons = 0x11u;  // button 1, and button 5 which this stick does not have
  JOYINFOEX info{};
  info.dwSize = sizeof info;
  info.dwFlags = 0x4C7;
  ASSERT_EQ(joyGetPosEx(0, &info), JOYERR_NOERROR);
  EXPECT_EQ(info.dwXpos, 0u);
  EXPECT_EQ(info.dwYpos, 65535u);
  EXPECT_EQ(info.dwZpos, 32768u);
  EXPECT_EQ(info.dwPOV, 27000u);
  EXPECT_EQ(info.dwButtons, 0x1u);
  EXPECT_EQ(info.dwButtonNumber, 1u);
  js.Hat = -1;
  joyGetPosEx(0, &info);
  EXPECT_EQ(info.dwPOV, JOY_POVCENTERED);
  info.dwSize = 40;
  EXPECT_EQ(joyGetPosEx(0, &info), MMSYSERR_INVALPARAM);
  info.dwSize = sizeof info;
  backend.Joysticks.clear();
  EXPECT_EQ(joyGetPosEx(0, &info), JOYERR_UNPLUGGED);
  SetBackend(nullptr);
}
