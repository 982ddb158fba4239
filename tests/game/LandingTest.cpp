// A near planet acting on the ship: pull, contact, damage, alignment and the crash.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>
#include <string>

#include "framework/AngleTable.h"
#include "framework/Extended.h"
#include "framework/Random.h"
#include "game/Main.h"

namespace {

constexpr long double StepsPerRadian = 40.58451049L;

class Landing : public ::testing::Test {
 protected:
  void SetUp() override {
    Messages = std::make_unique<TMessageThing>();
    for (auto& e : Explosions) e = std::make_unique<TExplosion>();
    RandomState = 12345;
    planet.X = 0;
    planet.Y = 0;
    planet.Radius = 100;
    planet.Name = "Xyol";
    player = TPlayer{};
    player.Hull = 100;
  }

  // Puts the ship at distance `dist` from the centre, over the rim point whose angle comes out
  // as e, and heads it `off` steps away from upright.
  void PlaceOver(int e, long double dist, int off = 0) {
    long double b = static_cast<std::int8_t>(64 - e) / StepsPerRadian;
    player.X = static_cast<double>(planet.X - dist * std::sin(b));
    player.Y = static_cast<double>(planet.Y - dist * std::cos(b));
    player.Heading = static_cast<std::uint8_t>(e - 64 + off);
  }

  TPlanet planet;
  TPlayer player;
};

}  // namespace

TEST_F(Landing, ContactAtExactlyTheMarginAndNotBeyond) {
  player.Y = -112.1;  // the radius plus the margin, straight above the centre
  planet.GravityAndLanding(player);
  EXPECT_TRUE(player.Landed);
  EXPECT_EQ(player.VX, 0);
  EXPECT_EQ(player.VY, 0);
  EXPECT_EQ(player.Heading, 0);  // the top of the rim: nose up
  EXPECT_EQ(player.Hull, 100);

  player = TPlayer{};
  player.Hull = 100;
  player.Y = std::nextafter(-112.1, -200.0);
  planet.GravityAndLanding(player);
  EXPECT_FALSE(player.Landed);
  // Only pulled, down towards the centre, by radius / (distance * 50).
  EXPECT_FLOAT_EQ(player.VY, static_cast<float>(100 / (112.1L * 50)));
  EXPECT_LT(std::fabs(player.VX), 1e-10f);
}

TEST_F(Landing, PullFallsOffWithTheDistanceAlongTheWholeStepAngle) {
  planet.Radius = 400;
  player.X = -1000;  // left of the planet: pulled right
  player.Y = 0;
  planet.GravityAndLanding(player);
  EXPECT_FLOAT_EQ(player.VX, static_cast<float>(400 / (1000 * 50.0L)));
  // Straight right is b = pi/2, 63.75 steps, rounded to 64: e is 0, the left-most rim point.
  player = TPlayer{};
  player.X = -1000;
  player.Y = -3;  // a little above: the exact direction leans down, the pull does not
  planet.GravityAndLanding(player);
  const Extended dist = Sqrt(Extended(1000) * 1000 + Extended(3) * 3);
  EXPECT_EQ(player.VY, static_cast<float>(Extended(AngleSin(0)) * 400 / (dist * 50)));
}

TEST_F(Landing, NoPullAtTheVeryCentreButStillAContact) {
  player.VY = 0.5f;
  planet.GravityAndLanding(player);
  EXPECT_TRUE(player.Landed);
  EXPECT_EQ(player.VX, 0);
  EXPECT_EQ(player.VY, 0);
  EXPECT_EQ(player.Heading, 0);
  EXPECT_EQ(player.Hull, 100);

  // Farther out nothing checks the velocity, so a NaN would show: there is none.
  player = TPlayer{};
  player.Hull = 100;
  planet.Radius = 0;
  planet.X = 5000;  // far away, only pulled
  planet.GravityAndLanding(player);
  EXPECT_FALSE(std::isnan(player.VX));
}

TEST_F(Landing, ImpactRoundsHalvesToEvenAndHurtsAboveTen) {
  struct Case {
    float vy;
    int hull;
  };
  // 1.0 is an impact of 10 and harmless; 1.1 is 11. 1.25 is 12.5, rounded to 12; 1.75 is 17.5,
  // rounded to 18. (An impact of exactly 10.5 cannot come from a single-precision speed.)
  for (Case c : {Case{1.0f, 100}, Case{1.1f, 89}, Case{1.05f, 100}, Case{1.25f, 88},
                 Case{1.75f, 82}}) {
    SetUp();
    PlaceOver(64, 105);
    player.VY = c.vy;
    planet.GravityAndLanding(player);
    EXPECT_EQ(player.Hull, c.hull) << c.vy;
    EXPECT_TRUE(player.Landed);
  }
}

TEST_F(Landing, AHardImpactDestroysEvenAnAlignedShip) {
  PlaceOver(64, 105);
  player.X = 3.5;
  player.VY = 12;  // impact 120 on a full hull
  std::uint32_t before = RandomState;
  planet.GravityAndLanding(player);
  EXPECT_EQ(player.Hull, 0);
  EXPECT_EQ(RandomState, before);  // aligned: no crash text is drawn
  ASSERT_EQ(Messages->Lines.size(), 2u);
  EXPECT_EQ(Messages->Lines[1], "You crashed on Xyol. Press ALT+F4 to quit...");
  EXPECT_EQ(Explosions[0]->Alpha, 60);
  EXPECT_EQ(Explosions[0]->X, 3.5);
  EXPECT_EQ(Explosions[0]->Y, player.Y);
  EXPECT_EQ(Explosions[0]->VX, 0);
  EXPECT_EQ(Explosions[1]->Alpha, 0);

  // Resting there afterwards writes nothing more and starts nothing.
  Explosions[0]->Alpha = 100;
  planet.GravityAndLanding(player);
  EXPECT_EQ(Messages->Lines.size(), 2u);
  EXPECT_EQ(Explosions[0]->Alpha, 100);
  EXPECT_TRUE(player.Landed);
}

TEST_F(Landing, HullNeverGoesBelowZero) {
  player.Hull = 30;
  PlaceOver(64, 105);
  player.VY = 3.5f;  // impact 35
  planet.GravityAndLanding(player);
  EXPECT_EQ(player.Hull, 0);
  player.Hull = 30;
  player.VY = 3.0f;  // impact exactly the hull
  planet.GravityAndLanding(player);
  EXPECT_EQ(player.Hull, 0);
}

TEST_F(Landing, ImpactsBeyondEveryCounterStillWreckTheShip) {
  // Ten times these speeds is beyond the 64-bit range: the impact is the largest there is, not a
  // wrapped-round negative number that would let the ship land unharmed.
  for (float vy : {1e18f, 3e38f, std::numeric_limits<float>::infinity()}) {
    SetUp();
    PlaceOver(64, 105);
    player.VY = vy;
    planet.GravityAndLanding(player);
    EXPECT_EQ(player.Hull, 0) << vy;
    EXPECT_TRUE(player.Landed) << vy;
  }
}

TEST_F(Landing, AlignmentToleranceIsTenStepsEitherWay) {
  for (int e : {64, 128, 200, 0, 255, 2, 250}) {
    for (int off = -12; off <= 12; ++off) {
      SetUp();
      PlaceOver(e, 105, off);
      planet.GravityAndLanding(player);
      bool crashed = std::abs(off) > 10;
      EXPECT_EQ(player.Hull, crashed ? 0 : 100) << "e " << e << " off " << off;
      // Whatever happened, the ship now stands upright on the rim.
      EXPECT_EQ(player.Heading, static_cast<std::uint8_t>(e - 64)) << "e " << e;
      EXPECT_TRUE(player.Landed);
    }
  }
}

TEST_F(Landing, ToleranceReachesAcrossTheSeamAtTheLeftmostPoint) {
  // The nose (heading + 64 = 253) is five steps anticlockwise of upright at e = 2.
  PlaceOver(2, 105);
  player.Heading = 253 - 64;
  planet.GravityAndLanding(player);
  EXPECT_EQ(player.Hull, 100);
  EXPECT_EQ(player.Heading, static_cast<std::uint8_t>(2 - 64));

  // Lifting off at e = 255 and touching down again past the seam is still a landing.
  SetUp();
  PlaceOver(255, 105);
  planet.GravityAndLanding(player);
  PlaceOver(1, 105);
  player.Heading = static_cast<std::uint8_t>(255 - 64);
  planet.GravityAndLanding(player);
  EXPECT_EQ(player.Hull, 100);
}

TEST_F(Landing, AMisalignedTouchDownDrawsACrashTextThenTheCrashMessage) {
  int texts = 0;
  for (std::uint32_t seed = 0; seed < 40; ++seed) {
    SetUp();
    RandomState = seed;
    std::uint32_t copy = RandomState;
    int t = RandomBelow(10);
    RandomState = copy;
    PlaceOver(64, 105, 40);
    planet.GravityAndLanding(player);
    EXPECT_EQ(player.Hull, 0);
    const auto& lines = Messages->Lines;
    ASSERT_EQ(lines.size(), t < 4 ? 3u : 2u);
    if (t < 4) {
      ++texts;
      EXPECT_FALSE(lines[1].empty());
    }
    EXPECT_EQ(lines.back(), "You crashed on Xyol. Press ALT+F4 to quit...");
    EXPECT_EQ(Explosions[0]->Alpha, 60);
  }
  EXPECT_GT(texts, 0);
  EXPECT_LT(texts, 40);
}

TEST_F(Landing, CrashTextsAreTheFourOfTheTable) {
  std::set<std::string> seen;
  for (std::uint32_t seed = 0; seed < 200; ++seed) {
    SetUp();
    RandomState = seed;
    PlaceOver(64, 105, 128);
    planet.GravityAndLanding(player);
    if (Messages->Lines.size() == 3) seen.insert(Messages->Lines[1]);
  }
  EXPECT_EQ(seen, (std::set<std::string>{
                      "What an unfortunate landing...",
                      "You should try to practice your landing skills a bit...",
                      "Maybe you should try to focus a bit more when you are landing!",
                      "Did you do that on purpose?"}));
}

TEST_F(Landing, ARestingShipStopsEveryFrameAndThrustLiftsIt) {
  PlaceOver(64, 100);
  for (int i = 0; i < 5; ++i) {
    player.Landed = false;
    planet.GravityAndLanding(player);
    EXPECT_TRUE(player.Landed);
    EXPECT_EQ(player.VX, 0);
    EXPECT_EQ(player.VY, 0);
  }
  // Normal thrust of 0.2 then touches down with an impact of 2: harmless.
  player.VY = -0.2f;
  planet.GravityAndLanding(player);
  EXPECT_EQ(player.Hull, 100);
}

TEST_F(Landing, TheSecondOfTwoPlanetsSeesTheFirstsPull) {
  // Arriving at 1.04 per frame is an impact of 10, harmless; the first planet's pull of
  // 200 / (250 * 50) = 0.016 makes it 11 by the time the second one judges it.
  TPlanet first;
  first.X = 0;
  first.Y = 150;
  first.Radius = 200;
  first.Name = "First";
  player.Y = -100;
  player.VY = 1.04f;
  TPlayer alone = player;
  first.GravityAndLanding(player);
  EXPECT_FALSE(player.Landed);
  planet.GravityAndLanding(player);
  EXPECT_EQ(player.Hull, 89);
  planet.GravityAndLanding(alone);
  EXPECT_EQ(alone.Hull, 100);
}
