// Explosion slots: idle when new, and (re)started from their first frame.
#include <gtest/gtest.h>

#include "game/Main.h"

TEST(Explosion, NewSlotIsIdle) {
  TExplosion e;
  EXPECT_EQ(e.X, 0);
  EXPECT_EQ(e.Y, 0);
  EXPECT_EQ(e.VX, 0);
  EXPECT_EQ(e.VY, 0);
  EXPECT_EQ(e.Alpha, 0);
}

TEST(Explosion, StartingARunningExplosionRestartsIt) {
  TExplosion e;
  e.Start(12.5, -3, 0.25, -1);
  EXPECT_EQ(e.X, 12.5);
  EXPECT_EQ(e.Y, -3);
  EXPECT_EQ(e.VX, 0.25);
  EXPECT_EQ(e.VY, -1);
  EXPECT_EQ(e.Alpha, 60);
  e.Alpha = 200;
  e.Start(1, 2, 0, 0);
  EXPECT_EQ(e.X, 1);
  EXPECT_EQ(e.Y, 2);
  EXPECT_EQ(e.VX, 0);
  EXPECT_EQ(e.Alpha, 60);
}
