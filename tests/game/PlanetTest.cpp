// Planet generation: size, centre, things, lights, owner and population, draw by draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "framework/Random.h"
#include "game/Main.h"
#include "tests/game/GeneratorModel.h"

namespace {

bool IsFlag(const std::string& picture) { return picture.rfind("Flag", 0) == 0; }
bool IsLight(const std::string& picture) { return picture.rfind("Flash", 0) == 0; }

int FromBase(std::uint8_t angle, std::uint8_t base) {
  return static_cast<std::uint8_t>(angle - base);
}

// Many planets, both fresh and generated again over their old things, as world building makes
// them.
std::vector<TPlanet> ManyPlanets(int count) {
  RandomState = 20240611;
  std::vector<TPlanet> planets;
  for (int i = 0; i < count; ++i) {
    planets.emplace_back();
    if (i % 2) planets.back().Generate(40000);
  }
  return planets;
}

}  // namespace

TEST(PlanetGenerate, DrawsSizeThenCentreThenName) {
  for (std::uint32_t start = 0; start < 200; ++start) {
    std::uint32_t s1 = model::Next(start), s2 = model::Next(s1), s3 = model::Next(s2),
                  s4 = model::Next(s3);
    int k = model::Value(12, s1);
    RandomState = start;
    TPlanet planet;
    ASSERT_EQ(planet.Radius, k == 11 ? 400 : 100 + 10 * k);
    EXPECT_EQ(planet.X, model::Value(5000, s2) - 2500.0);
    EXPECT_EQ(planet.Y, model::Value(5000, s3) - 2500.0);
    EXPECT_EQ(planet.Name.rfind(FirstSyllables[model::Value(40, s4)], 0), 0u) << planet.Name;
  }
}

TEST(PlanetGenerate, CentreIsAWholeNumberPointOfTheSquare) {
  RandomState = 99;
  TPlanet planet;
  double lowest = 0, highest = 0;
  for (int i = 0; i < 20000; ++i) {
    planet.Generate(40000);
    for (double v : {planet.X, planet.Y}) {
      ASSERT_EQ(v, static_cast<double>(static_cast<long long>(v)));
      ASSERT_GE(v, -20000);
      ASSERT_LE(v, 19999);
      lowest = std::min(lowest, v);
      highest = std::max(highest, v);
    }
  }
  EXPECT_LT(lowest, -19900);
  EXPECT_GT(highest, 19900);
}

TEST(PlanetGenerate, RadiusIsOneOfTwelveAndNamesItsPicture) {
  std::set<int> radii;
  for (const TPlanet& p : ManyPlanets(2000)) {
    radii.insert(p.Radius);
    EXPECT_EQ(p.ImageName, "Planet" + std::to_string(p.Radius));
  }
  EXPECT_EQ(radii, (std::set<int>{100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200, 400}));
}

TEST(PlanetGenerate, TheOwnersFlagStandsLast) {
  std::set<std::size_t> counts;
  for (const TPlanet& p : ManyPlanets(2000)) {
    ASSERT_GE(p.Things.size(), 1u);
    ASSERT_LE(p.Things.size(), 31u);
    counts.insert(p.Things.size());
    auto faction = std::find_if(Factions.begin(), Factions.end(), [&](const TFaction& f) {
      return p.Things.back().ImageName == f.Flag;
    });
    ASSERT_NE(faction, Factions.end()) << p.Things.back().ImageName;
    EXPECT_EQ(p.Owner, faction->Owner);
    for (std::size_t i = 0; i + 1 < p.Things.size(); ++i)
      EXPECT_FALSE(IsFlag(p.Things[i].ImageName));
  }
  EXPECT_EQ(counts.size(), 31u);
}

TEST(PlanetGenerate, SmallPlanetsHaveNoLightsAndDistinctEvenAngles) {
  RandomState = 7;
  int checked = 0;
  for (int i = 0; i < 3000; ++i) {
    TPlanet fresh;
    if (fresh.Things.size() > 10) continue;
    ++checked;
    std::set<int> angles;
    for (std::size_t r = 0; r < fresh.Things.size(); ++r) {
      const TPlanetThing& t = fresh.Things[r];
      EXPECT_EQ(t.Angle % 2, 0);
      EXPECT_TRUE(angles.insert(t.Angle).second) << "angle " << int(t.Angle) << " twice";
      EXPECT_NE(t.ImageName, "ControlTower");
      EXPECT_FALSE(IsLight(t.ImageName));
      EXPECT_EQ(t.Glow, 0);
      EXPECT_EQ(t.GlowStep, 1);
      // The entries after r still stood at angle 0 when r was drawn, so 0 was refused.
      if (r + 1 < fresh.Things.size()) {
        EXPECT_NE(t.Angle, 0);
      }
    }
  }
  EXPECT_GT(checked, 500);
}

TEST(PlanetGenerate, AnglesLeftByTheLastGenerationAreRefused) {
  RandomState = 31337;
  TPlanet planet;
  int grown = 0, shrunk = 0;
  for (int i = 0; i < 20000; ++i) {
    std::vector<TPlanetThing> old = planet.Things;
    planet.Generate(40000);
    const std::vector<TPlanetThing>& now = planet.Things;
    if (now.size() > 10) continue;  // the tower and the spread overwrite the drawn angles
    if (now.size() > old.size()) ++grown;
    if (now.size() < old.size()) ++shrunk;
    for (std::size_t r = 0; r < now.size(); ++r)
      for (std::size_t j = r + 1; j < now.size(); ++j) {
        std::uint8_t left = j < old.size() ? old[j].Angle : 0;  // new entries start at 0
        ASSERT_NE(now[r].Angle, left) << "entry " << r << " took the angle entry " << j << " held";
      }
  }
  EXPECT_GT(grown, 100);
  EXPECT_GT(shrunk, 100);
}

TEST(PlanetGenerate, TowerAndLightRowsFollowTheBaseAngle) {
  struct Row {
    std::size_t above, first;
    const char* picture;
    int offsets[2][3];  // for q = 1 and q = 2
    int glow;
    int spreadFrom[2];  // least offset of the things after the row
  };
  const Row rows[] = {
      {10, 1, "FlashYellow", {{15, 25, 35}, {7, 12, 17}}, 1, {40, 22}},
      {18, 4, "FlashRed", {{40, 50, 60}, {20, 25, 30}}, 50, {65, 35}},
      {25, 7, "FlashGreen", {{65, 75, 85}, {32, 37, 42}}, 100, {90, 47}},
      {30, 10, "FlashBlue", {{90, 100, 110}, {45, 50, 55}}, 150, {115, 60}},
  };
  std::set<std::pair<std::size_t, int>> seen;  // (count, q)
  for (const TPlanet& p : ManyPlanets(6000)) {
    const std::vector<TPlanetThing>& t = p.Things;
    if (t.size() <= 10) continue;
    int q = p.Radius < 200 ? 1 : 2;
    seen.insert({t.size(), q});
    std::uint8_t base = t[0].Angle;
    EXPECT_EQ(t[0].ImageName, "ControlTower");
    EXPECT_EQ(t[0].Glow, 0);
    EXPECT_EQ(t[0].GlowStep, 1);
    std::size_t spreadStart = 4;
    int spreadLeast = 0;
    for (const Row& row : rows) {
      if (t.size() <= row.above) {
        for (std::size_t e = row.first; e < row.first + 3 && e < t.size(); ++e)
          EXPECT_FALSE(IsLight(t[e].ImageName)) << "count " << t.size() << " entry " << e;
        continue;
      }
      for (std::size_t e = 0; e < 3; ++e) {
        const TPlanetThing& light = t[row.first + e];
        EXPECT_EQ(light.ImageName, row.picture);
        EXPECT_EQ(FromBase(light.Angle, base), row.offsets[q - 1][e]) << row.picture << " q " << q;
        EXPECT_EQ(light.Glow, row.glow);
        EXPECT_EQ(light.GlowStep, e == 1 ? 255 : 1);
      }
      spreadStart = row.first + 3;
      spreadLeast = row.spreadFrom[q - 1];
    }
    for (std::size_t i = spreadStart; i < t.size(); ++i) {
      EXPECT_GE(FromBase(t[i].Angle, base), spreadLeast) << "count " << t.size() << " entry " << i;
      EXPECT_LE(FromBase(t[i].Angle, base), 249);
      EXPECT_FALSE(IsLight(t[i].ImageName));
    }
  }
  // Every row came up on both sizes of planet, including the edges of each count.
  for (std::size_t count : {11u, 18u, 19u, 25u, 26u, 30u, 31u})
    for (int q : {1, 2}) EXPECT_TRUE(seen.count({count, q})) << count << " things, q " << q;
}

TEST(PlanetGenerate, PopulationStaysInBoundsAndCountsTheResidences) {
  int highest = 0;
  for (const TPlanet& p : ManyPlanets(4000)) {
    int big = 0, small = 0;
    for (const TPlanetThing& t : p.Things) {
      big += t.ImageName == "B_Res_M";
      small += t.ImageName == "B_Res_S";
    }
    // Residences the flag or a light replaced still counted, so these are only lower bounds.
    EXPECT_GE(p.Population, 1 + 20 * big + 5 * small);
    EXPECT_LE(p.Population, 3 + 24 * static_cast<int>(p.Things.size()));
    EXPECT_LE(p.Population, 747);
    highest = std::max(highest, p.Population);
  }
  EXPECT_GT(highest, 100);
}

TEST(PlanetGenerate, NewPlanetsHaveTheirPanelHidden) {
  RandomState = 5;
  TPlanet planet;
  EXPECT_EQ(planet.PanelSlide, 0);
  planet.PanelSlide = 475;
  planet.Generate(40000);
  EXPECT_EQ(planet.PanelSlide, 475);  // generating again leaves the panel alone
}
