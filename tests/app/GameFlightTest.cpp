// Whole flights in a fixed world with keys held by hand: a gentle landing, a take-off, a crash.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/GameFixture.h"

namespace {

class Flight : public GameFixture {
 protected:
  // Starts the ship at rest, nose up, `height` above the top of planet 0 of the seeded world.
  TPlanet& HoverOverPlanet(double height) {
    TPlanet& p = *Planets[0];
    ResetShip();
    Player.X = p.X;
    Player.Y = p.Y - p.Radius - height;
    return p;
  }
  static bool Logged(const std::string& line) {
    const auto& lines = Messages->Lines;
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
};

}  // namespace

TEST_F(Flight, AGentleLandingKeepsTheHullAndSlidesThePanelIn) {
  TPlanet& p = HoverOverPlanet(30);
  int firstContact = 0;
  for (int frame = 1; frame <= 200 && !firstContact; ++frame) {
    Frame();
    if (Player.Landed) firstContact = frame;
  }
  ASSERT_GT(firstContact, 0);
  EXPECT_EQ(Player.Hull, 100);
  EXPECT_EQ(Player.Heading, 0);
  EXPECT_EQ(p.PanelSlide, 5);
  Frames(94);
  EXPECT_TRUE(Player.Landed);
  EXPECT_EQ(p.PanelSlide, 475);
  EXPECT_EQ(Player.Hull, 100);
  EXPECT_EQ(Explosions[0]->Alpha, 0);
}

TEST_F(Flight, TakingOffLeavesThePlanetAndSlidesThePanelOut) {
  TPlanet& p = HoverOverPlanet(0);
  Frames(100);
  ASSERT_TRUE(Player.Landed);
  ASSERT_EQ(p.PanelSlide, 475);
  // Turning does nothing on the ground; thrust lifts the ship straight up. Within the contact
  // margin it is stopped again every frame, so it climbs 0.2 a frame until it is clear.
  Hold(KeyLeft);
  Hold(KeyUp);
  Frames(20);
  EXPECT_TRUE(Player.Landed);
  EXPECT_EQ(Player.Heading, 0);
  EXPECT_EQ(p.PanelSlide, 475);
  Frames(60);
  ReleaseAll();
  EXPECT_FALSE(Player.Landed);
  EXPECT_LT(Player.VY, 0);
  EXPECT_LT(Player.Y, p.Y - p.Radius - 12.1);
  EXPECT_EQ(Player.Hull, 100);
  EXPECT_LT(p.PanelSlide, 475);
  // Once off the ground, left turns the ship anticlockwise.
  std::uint8_t heading = Player.Heading;
  Hold(KeyLeft);
  Frame();
  EXPECT_EQ(Player.Heading, static_cast<std::uint8_t>(heading - 3));
}

TEST_F(Flight, AFastCrashExplodesAndWritesTheCrashMessage) {
  TPlanet& p = HoverOverPlanet(100);
  Player.VY = 12;  // an impact of 120 at least
  int frames = 0;
  while (Player.Hull > 0 && frames < 50) {
    Frame();
    ++frames;
  }
  ASSERT_EQ(Player.Hull, 0);
  EXPECT_TRUE(Player.Landed);
  // The explosion was started and drawn once in the frame of the crash.
  EXPECT_EQ(Explosions[0]->Alpha, 62);
  EXPECT_TRUE(Logged("You crashed on " + p.Name + ". Press ALT+F4 to quit..."));
  // The destroyed ship stays put and cannot be steered any more.
  Hold(KeyUp);
  Hold(KeyRight);
  std::uint8_t heading = Player.Heading;
  Frames(97);
  EXPECT_EQ(Player.Heading, heading);
  EXPECT_EQ(Player.VX, 0);
  EXPECT_EQ(Player.VY, 0);
  EXPECT_EQ(Explosions[0]->Alpha, 0);
  // The ticker reaches the crash message in time and shows it.
  ReleaseAll();
  bool shown = false;
  for (int i = 0; i < 2000 && !shown; ++i) {
    Frame();
    shown = Messages->Lines[0] == "You crashed on " + p.Name + ". Press ALT+F4 to quit...";
  }
  EXPECT_TRUE(shown);
}

TEST_F(Flight, ANoseDownTouchDownIsACrashEvenWhenSlow) {
  HoverOverPlanet(5);
  Player.Heading = 128;
  Frames(30);
  EXPECT_EQ(Player.Hull, 0);
  EXPECT_EQ(Player.Heading, 0);  // set upright all the same
  EXPECT_NE(Explosions[0]->Alpha, 0);
}
