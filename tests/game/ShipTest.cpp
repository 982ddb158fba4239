// The ship's controls: turning in both modes, thrust along the nose, and what a landed ship may do.
#include <gtest/gtest.h>

#include <cmath>

#include "framework/AngleTable.h"
#include "framework/Extended.h"
#include "game/Ship.h"

namespace {

TPlayer ShipAtRest(std::uint8_t heading) {
  TPlayer p{};
  p.Heading = heading;
  p.Ship.TurnStep = 3;
  p.Ship.Thrust = 0.2f;
  p.Ship.Image = "Ship2";
  p.Hull = 100;
  return p;
}

std::uint8_t HeadingAfter(std::uint8_t heading, TShipControls c) {
  TPlayer p = ShipAtRest(heading);
  SteerShip(p, c);
  return p.Heading;
}

}  // namespace

TEST(ShipControls, TurningWrapsAroundTheCircle) {
  EXPECT_EQ(HeadingAfter(0, {.Left = true}), 253);
  EXPECT_EQ(HeadingAfter(254, {.Right = true}), 1);
  EXPECT_EQ(HeadingAfter(0, {.Left = true, .Fine = true}), 255);
  EXPECT_EQ(HeadingAfter(255, {.Right = true, .Fine = true}), 0);
}

TEST(ShipControls, LeftAndRightTogetherCancelInEitherMode) {
  for (std::uint8_t h : {0, 1, 2, 128, 254, 255}) {
    EXPECT_EQ(HeadingAfter(h, {.Left = true, .Right = true}), h);
    EXPECT_EQ(HeadingAfter(h, {.Left = true, .Right = true, .Fine = true}), h);
  }
}

TEST(ShipControls, NormalThrustFromRestPushesAlongTheNose) {
  TPlayer up = ShipAtRest(0);
  EXPECT_TRUE(SteerShip(up, {.Thrust = true}));
  EXPECT_EQ(up.VY, -0.2f);
  // The table's cosine of three quarters of a turn is tiny but not zero.
  EXPECT_NE(up.VX, 0.0f);
  EXPECT_LT(std::fabs(up.VX), 1e-15f);

  TPlayer right = ShipAtRest(64);
  SteerShip(right, {.Thrust = true});
  EXPECT_EQ(right.VX, 0.2f);
  EXPECT_LT(std::fabs(right.VY), 1e-15f);

  TPlayer down = ShipAtRest(128);
  SteerShip(down, {.Thrust = true});
  EXPECT_EQ(down.VY, 0.2f);
}

TEST(ShipControls, FineModeTurnsOneStepAndPushesAQuarter) {
  TPlayer p = ShipAtRest(192);
  SteerShip(p, {.Thrust = true, .Left = true, .Fine = true});
  EXPECT_EQ(p.Heading, 191);
  // The push uses the heading just turned to; at 191 it is almost straight left.
  const Extended fine = Extended(5) / 100;
  const Extended along = AngleCos(191 - 64) * fine;
  EXPECT_EQ(p.VX, static_cast<float>(along));
  EXPECT_NEAR(p.VX, -0.05f, 1e-4f);
  TPlayer q = ShipAtRest(0);
  SteerShip(q, {.Thrust = true, .Fine = true});
  EXPECT_EQ(q.VY, static_cast<float>(-fine));
}

TEST(ShipControls, ThrustAddsToTheVelocityItHas) {
  TPlayer p = ShipAtRest(0);
  p.VX = 1.5f;
  p.VY = -0.5f;
  SteerShip(p, {.Thrust = true});
  EXPECT_FLOAT_EQ(p.VY, -0.7f);
  EXPECT_FLOAT_EQ(p.VX, 1.5f);
  // Without thrust the velocity never changes.
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(SteerShip(p, {.Left = true}));
  EXPECT_FLOAT_EQ(p.VY, -0.7f);
}

TEST(ShipControls, ALandedShipTurnsNothingButThrusts) {
  TPlayer p = ShipAtRest(10);
  p.Landed = true;
  EXPECT_TRUE(SteerShip(p, {.Thrust = true, .Left = true}));
  EXPECT_EQ(p.Heading, 10);
  EXPECT_LT(p.VY, -0.19f);
  SteerShip(p, {.Right = true, .Fine = true});
  EXPECT_EQ(p.Heading, 10);
}

TEST(ShipMeasures, SpeedAndDistance) {
  TPlayer p = ShipAtRest(0);
  EXPECT_EQ(Speed(p), 0);
  p.VX = 3;
  p.VY = -4;
  EXPECT_EQ(Speed(p), 5);

  auto saved = std::move(Planets[7]);
  Planets[7] = std::make_unique<TPlanet>();
  Planets[7]->X = 300;
  Planets[7]->Y = -400;
  Player.X = 300;
  Player.Y = -400;
  EXPECT_EQ(DistToPlanet(7), 0);
  Player.X = 0;
  Player.Y = 0;
  EXPECT_EQ(DistToPlanet(7), 500);
  Planets[7] = std::move(saved);
}

TEST(ShipControls, ReadFromTheFourInputStatesOnly) {
  TShipControls c = ShipControlsFrom(TInputStates{stUp, stRight, stButton32});
  EXPECT_TRUE(c.Thrust);
  EXPECT_FALSE(c.Left);
  EXPECT_TRUE(c.Right);
  EXPECT_TRUE(c.Fine);
  // Down and the other buttons (the key map binds Down, D, I and F2) do nothing.
  TShipControls none = ShipControlsFrom(TInputStates{stDown, stButton1, stButton31});
  EXPECT_FALSE(none.Thrust || none.Left || none.Right || none.Fine);
  EXPECT_TRUE(ShipControlsFrom(TInputStates{stLeft}).Left);
}
