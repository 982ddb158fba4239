// The starfield: drift, wrap, pixels and streaks.
#include <gtest/gtest.h>

#include "game/Main.h"
#include "tests/DisplayFixture.h"

namespace {

class StarsTest : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    saved = Stars;
    savedCount = StarCount;
    savedPlayer = Player;
    StarCount = 0;
    Player.VX = 0;
    Player.VY = 0;
    draw->Surface->Fill(0);
  }
  void TearDown() override {
    Stars = saved;
    StarCount = savedCount;
    Player = savedPlayer;
    DisplayFixture::TearDown();
  }
  decltype(Stars) saved;
  std::uint8_t savedCount = 0;
  TPlayer savedPlayer{};
};

TEST_F(StarsTest, AtRestEveryStarIsOnePixelOfIndex255) {
  StarCount = 2;
  Stars[0] = {0, 0, 10, 20, -0.1};
  Stars[1] = {0, 0, 1023, 767, -0.1999};
  Stars[2] = {0, 0, 500.5, 300.5, 0};  // halves round to even: 500, 300
  for (int frame = 0; frame < 3; ++frame) {
    draw->Surface->Fill(0);
    DoStars(*draw);
  }
  EXPECT_EQ(Stars[0].X, 10);
  EXPECT_EQ(At(10, 20), 255u);
  EXPECT_EQ(At(1023, 767), 255u);
  EXPECT_EQ(At(500, 300), 255u);
  EXPECT_EQ(CountOnSurface(255), 3);
}

TEST_F(StarsTest, ExactlyOneAndAHalfPixelsIsStillAPixel) {
  Stars[0] = {0, 0, 100, 100, -0.1};
  Player.VX = -15;  // moves the star by +1.5
  DoStars(*draw);   // first frame: the previous position is where it stood
  draw->Surface->Fill(0);
  DoStars(*draw);
  EXPECT_DOUBLE_EQ(Stars[0].X, 103);
  EXPECT_EQ(CountOnSurface(255), 1);
  EXPECT_EQ(At(103, 100), 255u);
  // A little more makes a streak from the previous position, without its end point.
  Player.VX = -16;
  draw->Surface->Fill(0);
  DoStars(*draw);
  EXPECT_DOUBLE_EQ(Stars[0].X, 104.6);
  EXPECT_EQ(At(103, 100), 255u);
  EXPECT_EQ(At(104, 100), 255u);
  EXPECT_EQ(At(105, 100), 0u);
  EXPECT_EQ(CountOnSurface(255), 2);
}

TEST_F(StarsTest, AWrappingStarIsNotDrawnAndNoLineCrossesTheScreen) {
  Stars[0] = {0, 0, 1.5, 400, -0.1999};
  Player.VX = 20;  // -3.998 pixels a frame
  DoStars(*draw);  // below -1: wraps to 1025, where it is not drawn
  EXPECT_EQ(Stars[0].X, 1025);
  EXPECT_EQ(Stars[0].PrevX, 1.5);  // the wrap leaves the previous position alone
  EXPECT_EQ(CountOnSurface(255), 0);
  draw->Surface->Fill(0);
  DoStars(*draw);  // the next streak starts from the wrapped position, at the right edge
  EXPECT_NEAR(Stars[0].X, 1021.002, 1e-9);
  EXPECT_EQ(At(1023, 400), 255u);
  EXPECT_EQ(At(1022, 400), 255u);
  EXPECT_EQ(At(1021, 400), 0u);  // the end point
  EXPECT_EQ(CountOnSurface(255), 2);
}

TEST_F(StarsTest, AStarAtTheFarEdgesPassesTheTestButDrawsNothing) {
  StarCount = 1;
  Stars[0] = {0, 0, 1024, 100, 0};
  Stars[1] = {0, 0, 100, 768, 0};
  DoStars(*draw);
  EXPECT_EQ(CountOnSurface(255), 0);
  // A streak ending there is cut at the surface's edge.
  Stars[0] = {0, 0, 1020, 100, -0.1};
  Player.VX = -40;
  DoStars(*draw);
  EXPECT_EQ(Stars[0].X, 1024);
  EXPECT_EQ(At(1023, 100), 255u);
  EXPECT_EQ(At(1020, 100), 255u);
}

}  // namespace
