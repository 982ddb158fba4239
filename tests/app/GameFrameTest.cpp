// Whole frames of the game: where the ship, its flame, the planets, the radar and the panel are
// drawn, and the order in which near planets act on the ship.
#include <gtest/gtest.h>

#include "framework/Random.h"
#include "tests/app/GameFixture.h"

namespace {

// The rows between the readouts and the ticker, where the changes under test show.
std::vector<std::uint8_t> Middle(const std::vector<std::uint8_t>& frame) {
  return {frame.begin() + 80 * 1024, frame.begin() + 748 * 1024};
}

TBox Changed(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  TBox box = Difference(Middle(a), Middle(b), 1024);
  box.Top += 80;
  box.Bottom += 80;
  return box;
}

class GameFrame : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    ClearSky();
    ResetShip();
  }
  // Puts planet i with its centre at (x, y) and the given size.
  static TPlanet& PlacePlanet(int i, double x, double y, int radius) {
    TPlanet& p = *Planets[i];
    p.X = x;
    p.Y = y;
    p.Radius = static_cast<std::uint16_t>(radius);
    p.ImageName = "Planet" + std::to_string(radius);
    return p;
  }
};

}  // namespace

TEST_F(GameFrame, ShipAndFlameAtTheCentre) {
  Frame();
  std::vector<std::uint8_t> ship = Shown();
  Player.Hull = 0;
  Frame();
  std::vector<std::uint8_t> none = Shown();
  // A 31 x 31 picture turned about its middle covers x 497..526, y 369..398.
  TBox box = Changed(ship, none);
  ASSERT_FALSE(box.Empty());
  EXPECT_GE(box.Left, 497);
  EXPECT_LE(box.Right, 526);
  EXPECT_GE(box.Top, 369);
  EXPECT_LE(box.Bottom, 398);

  // Thrust with no hull draws nothing either, and does not push.
  Hold(KeyUp);
  Frame();
  EXPECT_EQ(Changed(Shown(), none).Count, 0);
  EXPECT_EQ(Player.VY, 0);

  // With the hull, the flame hangs under the ship: x 505..518, y up to 411.
  Player.Hull = 100;
  Player.Y = 0;
  Frame();
  std::vector<std::uint8_t> flame = Shown();
  EXPECT_EQ(Player.VY, -0.2f);
  Player.VY = 0;
  ReleaseAll();
  Player.Y = 0;
  Frame();
  TBox f = Changed(flame, Shown());
  ASSERT_FALSE(f.Empty());
  EXPECT_GE(f.Left, 505);
  EXPECT_LE(f.Right, 518);
  EXPECT_GT(f.Bottom, 398);  // below the ship
  EXPECT_LE(f.Bottom, 411);
}

TEST_F(GameFrame, FineFlameHangsCloserThanTheNormalOne) {
  Hold(KeyUp);
  Frame();
  std::vector<std::uint8_t> normal = Shown();
  Hold(KeyShift);
  Frame();
  std::vector<std::uint8_t> fine = Shown();
  ReleaseAll();
  Player.VX = Player.VY = 0;
  Frame();
  std::vector<std::uint8_t> none = Shown();
  TBox n = Changed(normal, none), f = Changed(fine, none);
  ASSERT_FALSE(n.Empty());
  ASSERT_FALSE(f.Empty());
  // Pivot 0.2 above the top edge instead of 0.5: the tip ends about 6 pixels higher.
  EXPECT_LT(f.Bottom, n.Bottom);
}

TEST_F(GameFrame, ANearPlanetIsDrawnAroundItsCentreAndItsRadarDotFollows) {
  // A planet 300 below the ship: its body spans y 584..783 less the things' reach above it.
  TPlanet& p = PlacePlanet(3, 0, 300, 100);
  Frame();
  std::vector<std::uint8_t> with = Shown();
  EXPECT_EQ(CurrentPlanet, 3);
  p.X = 1e6;
  Frame();
  EXPECT_EQ(CurrentPlanet, 255);
  TBox box = Changed(with, Shown());
  ASSERT_FALSE(box.Empty());
  EXPECT_GE(box.Left, 512 - 100 - 80);
  EXPECT_LE(box.Right, 512 + 100 + 80);
  EXPECT_LE(box.Bottom, 747);
  // The body's middle shows the planet: something other than black sky.
  EXPECT_NE(with[684 * 1024 + 512], 0);
  // Its radar dot sits at (0, 300) / 20 from the centre: top-left (512, 399), 11 x 11.
  bool dot = false;
  for (int y = 399; y < 410; ++y)
    for (int x = 512; x < 523; ++x) dot |= with[y * 1024 + x] != 0;
  EXPECT_TRUE(dot);
}

TEST_F(GameFrame, PlanetsExactlyAtTheNearDistanceAreNeitherDrawnNorPull) {
  PlacePlanet(4, 0, 1500, 200);
  Frame();
  EXPECT_EQ(CurrentPlanet, 255);
  EXPECT_EQ(Player.VY, 0);
  Planets[4]->Y = 1499;
  Frame();
  EXPECT_EQ(CurrentPlanet, 4);
  EXPECT_GT(Player.VY, 0);
}

TEST_F(GameFrame, TwoNearPlanetsActInIndexOrderAndTheHigherOneIsCurrent) {
  // The ship rests on planet 2; planet 9 is near too, so its panel is the one that slides in.
  TPlanet& low = PlacePlanet(2, 0, 112, 100);
  TPlanet& high = PlacePlanet(9, 1200, 0, 400);
  for (int i = 0; i < 10; ++i) Frame();
  EXPECT_EQ(CurrentPlanet, 9);
  EXPECT_TRUE(Player.Landed);
  EXPECT_EQ(Player.Hull, 100);
  EXPECT_EQ(high.PanelSlide, 50);
  EXPECT_EQ(low.PanelSlide, 0);
  // Planet 9 pulls the resting ship after planet 2 stopped it, so it drifts towards planet 9.
  EXPECT_GT(Player.X, 0);
}

TEST_F(GameFrame, TheInformationPanelSlidesInAtTheBottomLeft) {
  TPlanet& p = PlacePlanet(6, 0, 110, 100);
  p.Population = 747;
  Frame();
  EXPECT_TRUE(Player.Landed);
  EXPECT_EQ(p.PanelSlide, 5);
  Frames(94);
  EXPECT_EQ(p.PanelSlide, 475);
  std::vector<std::uint8_t> in = Shown();
  // The same frame with only a sliver of the panel shown: the difference is the panel's place.
  p.PanelSlide = 5;
  Frame();
  EXPECT_EQ(p.PanelSlide, 10);
  TBox box = Changed(in, Shown());
  ASSERT_FALSE(box.Empty());
  EXPECT_GE(box.Left, 0);
  EXPECT_LE(box.Right, 474);
  EXPECT_GE(box.Top, 585);
  EXPECT_LE(box.Bottom, 744);
  EXPECT_GT(box.Right - box.Left, 300);
}

TEST_F(GameFrame, AnExplosionLastsNinetyEightFrames) {
  Explosions[0]->Start(0, 0, 0, 0);
  Player.Hull = 0;
  for (int i = 0; i < 97; ++i) {
    Frame();
    EXPECT_EQ(Explosions[0]->Alpha, 62 + 2 * i);
  }
  Frame();
  EXPECT_EQ(Explosions[0]->Alpha, 0);
  std::uint32_t state = RandomState;
  Frame();
  EXPECT_EQ(RandomState, state);  // an idle slot draws nothing and draws no numbers
}

TEST_F(GameFrame, AnExplosionDrawsSixNumbersAFrameAndShowsAroundItsPlace) {
  Player.Hull = 0;
  Frame();
  std::vector<std::uint8_t> calm = Shown();
  Explosions[0]->Start(100, 50, 0, 0);
  std::uint32_t state = RandomState;
  Frame();
  std::uint32_t expected = state;
  for (int i = 0; i < 6; ++i) expected = expected * 134775813u + 1;
  EXPECT_EQ(RandomState, expected);
  TBox box = Changed(calm, Shown());
  ASSERT_FALSE(box.Empty());
  // Centred on (612, 434), at most 190 wide and high.
  EXPECT_GE(box.Left, 612 - 96);
  EXPECT_LE(box.Right, 612 + 96);
  EXPECT_GE(box.Top, 434 - 96);
  EXPECT_LE(box.Bottom, 434 + 96);
}
