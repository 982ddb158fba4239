// How the lights on a planet's rim pulse from frame to frame.
#include <gtest/gtest.h>

#include <vector>

#include "game/Main.h"

namespace {

// The glow values drawn on successive frames from a start: rising or falling by 4 and turning
// back at the ends low and high.
std::vector<int> Bounce(int start, int direction, int low, int high, int frames) {
  std::vector<int> v;
  int g = start;
  for (int i = 0; i < frames; ++i) {
    v.push_back(g);
    if (g + 4 * direction > high || g + 4 * direction < low) direction = -direction;
    g += 4 * direction;
  }
  return v;
}

std::vector<int> Drawn(std::uint8_t glow, std::uint8_t step, int frames) {
  TPlanetThing light{0, "FlashRed", glow, step};
  std::vector<int> v;
  for (int i = 0; i < frames; ++i) {
    v.push_back(light.Glow);  // drawn first, stepped after
    StepGlow(light);
  }
  return v;
}

}  // namespace

TEST(PlanetLights, EachStartingGlowPulsesBetweenItsEnds) {
  struct Case {
    std::uint8_t glow, step;
    int low, high;
  };
  const Case cases[] = {{1, 1, 1, 253},     {50, 1, 2, 254},  {50, 255, 2, 254},
                        {100, 1, 4, 252},   {100, 255, 4, 252}, {150, 1, 2, 254},
                        {150, 255, 2, 254}};
  for (const Case& c : cases) {
    int dir = c.step == 1 ? 1 : -1;
    EXPECT_EQ(Drawn(c.glow, c.step, 300), Bounce(c.glow, dir, c.low, c.high, 300))
        << int(c.glow) << "/" << int(c.step);
  }
}

TEST(PlanetLights, TheMiddleYellowLightWrapsToTheTopAtOnce) {
  // Starting at 1 and dimming, the first step wraps round to 253 and turns to dim from there.
  std::vector<int> v = Drawn(1, 255, 5);
  EXPECT_EQ(v, (std::vector<int>{1, 253, 249, 245, 241}));
  std::vector<int> later = Drawn(1, 255, 66);
  EXPECT_EQ(later[64], 1);
  EXPECT_EQ(later[65], 5);
}

TEST(PlanetLights, ALightNeverGoesOut) {
  for (std::uint8_t glow : {1, 50, 100, 150}) {
    for (std::uint8_t step : {1, 255}) {
      TPlanetThing light{0, "FlashBlue", glow, step};
      for (int i = 0; i < 2000; ++i) {
        StepGlow(light);
        ASSERT_GE(light.Glow, 1);
        ASSERT_LE(light.Glow, 254);
      }
    }
  }
}
