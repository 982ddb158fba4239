// Planet names: syllables, letter case, and exactly how many draws each name takes.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "framework/Random.h"
#include "game/Main.h"
#include "tests/game/GeneratorModel.h"

TEST(PlanetName, HasFourToFifteenLettersAndOnlyTheFirstIsACapital) {
  RandomState = 4242;
  TPlanet planet;
  for (int i = 0; i < 20000; ++i) {
    planet.MakeName();
    const std::string& name = planet.Name;
    ASSERT_GE(name.size(), 4u) << name;
    ASSERT_LE(name.size(), 15u) << name;
    EXPECT_TRUE(std::isupper(static_cast<unsigned char>(name[0]))) << name;
    for (std::size_t c = 1; c < name.size(); ++c)
      EXPECT_TRUE(std::islower(static_cast<unsigned char>(name[c]))) << name;
  }
}

TEST(PlanetName, DrawsThreeFiveOrSixTimesForTwoThreeOrFourSyllables) {
  RandomState = 1;
  TPlanet planet;
  const TPlanet before = planet;
  int seen[5] = {};  // by syllable count
  for (std::uint32_t start = 0; start < 50000; ++start) {
    // What the draws from this state must give.
    std::uint32_t s[7];
    s[0] = start;
    for (int i = 1; i < 7; ++i) s[i] = model::Next(s[i - 1]);
    std::string expected(FirstSyllables[model::Value(40, s[1])]);
    expected += SecondSyllables[model::Value(20, s[2])];
    int draws = 3;
    if (model::Value(4, s[3]) == 1) {
      expected += ThirdSyllables[model::Value(10, s[4])];
      draws = 5;
      if (model::Value(20, s[5]) == 1) {
        expected += FourthSyllables[model::Value(10, s[6])];
        draws = 6;
      }
    }
    int syllables = draws == 3 ? 2 : draws == 5 ? 3 : 4;

    RandomState = start;
    planet.MakeName();
    ASSERT_EQ(planet.Name, expected) << "start " << start;
    ASSERT_EQ(RandomState, s[draws]) << "start " << start;
    ++seen[syllables];
  }
  // All three lengths came up, roughly as often as 3/4, 19/80 and 1/80 of the time.
  EXPECT_NEAR(seen[2] / 50000.0, 0.75, 0.01);
  EXPECT_NEAR(seen[3] / 50000.0, 19 / 80.0, 0.01);
  EXPECT_NEAR(seen[4] / 50000.0, 1 / 80.0, 0.003);
  // Nothing but the name changes.
  EXPECT_EQ(planet.X, before.X);
  EXPECT_EQ(planet.Radius, before.Radius);
  EXPECT_EQ(planet.Population, before.Population);
  EXPECT_EQ(planet.Things.size(), before.Things.size());
}
