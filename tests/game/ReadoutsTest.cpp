// The readouts' texts and number formats.
#include <gtest/gtest.h>

#include "game/Readouts.h"

namespace {

std::string Shown(const std::string& number) {
  std::string s = number;
  for (char& c : s)
    if (c == '.') c = LocaleDecimalSeparator();
  return "Relative speed: " + s + " km/s";
}

TEST(Readouts, SpeedIsTenTimesToOneDecimalInGeneralFormat) {
  EXPECT_EQ(SpeedText(0), Shown("0"));
  EXPECT_EQ(SpeedText(0.04), Shown("0.4"));
  EXPECT_EQ(SpeedText(0.125), Shown("1.2"));  // 12.5 rounds to the even 12
  EXPECT_EQ(SpeedText(0.135), Shown("1.4"));  // 13.5 rounds to the even 14
  EXPECT_EQ(SpeedText(1), Shown("10"));
  EXPECT_EQ(SpeedText(0.2f), Shown("2"));  // single-precision 0.2 is a hair above 0.2
  EXPECT_EQ(SpeedText(123456.78), Shown("1234567.8"));
}

TEST(Readouts, FrameRateAndHull) {
  EXPECT_EQ(FrameRateText(0), "0FPS");
  EXPECT_EQ(FrameRateText(50), "50FPS");
  EXPECT_EQ(HullText(100), "Hull Strength:  100%");
  EXPECT_EQ(HullText(0), "Hull Strength:  0%");
}

}  // namespace
