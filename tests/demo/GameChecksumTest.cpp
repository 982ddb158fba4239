// The state checksum: every part of the state a frame carries over changes it, by its exact bits.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "demo/DemoChecksum.h"
#include "demo/GameChecksum.h"
#include "framework/Random.h"
#include "game/Main.h"
#include "backends/headless/HeadlessBackend.h"

namespace {

struct TChange {
  const char* Name;
  std::function<void()> Apply;
};

const TChange Changes[] = {
    {"Generator", [] { ++RandomState; }},
    {"CurrentPlanet", [] { CurrentPlanet = 3; }},
    {"PlayerX", [] { Player.X = std::nextafter(Player.X, 1.0); }},
    {"PlayerYSignOfZero", [] { Player.Y = -0.0; }},  // the world starts the ship at +0.0
    {"PlayerVX", [] { Player.VX = std::nextafter(Player.VX, 1.0f); }},
    {"PlayerVY", [] { Player.VY = 1e-30f; }},
    {"Heading", [] { Player.Heading = 1; }},
    {"Hull", [] { Player.Hull = 99; }},
    {"Landed", [] { Player.Landed = true; }},
    {"ShipThrust", [] { Player.Ship.Thrust = 0.25f; }},
    {"ShipTurnStep", [] { Player.Ship.TurnStep = 1; }},
    {"ShipImage", [] { Player.Ship.Image = "Ship1"; }},
    {"StarPosition", [] { Stars[100].X += 1; }},
    {"StarTrail", [] { Stars[0].PrevY = 7; }},
    {"ExplosionAlpha", [] { Explosions[3]->Alpha = 1; }},
    {"ExplosionVelocity", [] { Explosions[0]->VY = 0.5; }},
    {"MessageQueued", [] { Messages->AddMessage("x"); }},
    {"MessageLine", [] { Messages->Lines.back() += "."; }},
    {"MessageShowTime", [] { --Messages->ShowTime; }},
    {"MessageTextX", [] { ++Messages->TextX; }},
    {"PanelSlide", [] { Planets[99]->PanelSlide = 5; }},
    {"Glow", [] { Planets[50]->Things.back().Glow ^= 4; }},
    {"GlowStep", [] { Planets[0]->Things.front().GlowStep ^= 254; }},
    {"ThingAngle", [] { ++Planets[7]->Things.front().Angle; }},
    {"PlanetPopulation", [] { ++Planets[1]->Population; }},
    {"PlanetName", [] { Planets[2]->Name += "a"; }},
    {"PlanetThingsCount", [] { Planets[4]->Things.pop_back(); }},
};

class GameChecksum : public testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    backend.TimeOfDayMs = 45296789;
    CreateWorld();
  }
  void TearDown() override { SetBackend(nullptr); }
  THeadlessBackend backend;
};

class GameChecksumChange : public GameChecksum, public testing::WithParamInterface<TChange> {};

TEST_P(GameChecksumChange, IsSeen) {
  const std::uint64_t before = GameStateChecksum(0);
  EXPECT_EQ(GameStateChecksum(0), before);
  GetParam().Apply();
  EXPECT_NE(GameStateChecksum(0), before);
}

INSTANTIATE_TEST_SUITE_P(State, GameChecksumChange, testing::ValuesIn(Changes),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GameChecksum, SeesTheInputDigestAndTheSameWorldTwice) {
  const std::uint64_t first = GameStateChecksum(0);
  EXPECT_NE(GameStateChecksum(1), first);
  CreateWorld();
  EXPECT_EQ(GameStateChecksum(0), first);
  backend.TimeOfDayMs = 45296790;
  CreateWorld();
  EXPECT_NE(GameStateChecksum(0), first);
}

TEST(DemoChecksum, IsFnv1aOverLittleEndianBitPatterns) {
  // FNV-1a of the empty input and of "a", as published.
  EXPECT_EQ(TDemoChecksum{}.Value, 0xCBF29CE484222325ull);
  TDemoChecksum a;
  a.Byte('a');
  EXPECT_EQ(a.Value, 0xAF63DC4C8601EC8Cull);
  // 1.0 is 3FF0000000000000: the same as its bytes low first; a float 1.0 is 3F800000.
  TDemoChecksum d, bytes;
  d.Double(1.0);
  for (std::uint8_t b : {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}) bytes.Byte(b);
  EXPECT_EQ(d.Value, bytes.Value);
  TDemoChecksum f, fbytes;
  f.Single(1.0f);
  for (std::uint8_t b : {0, 0, 0x80, 0x3F}) fbytes.Byte(b);
  EXPECT_EQ(f.Value, fbytes.Value);
  // Lengths keep strings apart.
  TDemoChecksum ab_c, a_bc;
  ab_c.String("ab"), ab_c.String("c");
  a_bc.String("a"), a_bc.String("bc");
  EXPECT_NE(ab_c.Value, a_bc.Value);
}

}  // namespace
