// The table of cosines and the angle unit.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "framework/AngleTable.h"
#include "framework/Extended.h"

TEST(AngleTable, QuarterTurnsReadTheirExactEntries) {
  EXPECT_EQ(AngleCos(0), 1.0);
  EXPECT_EQ(AngleCos(128), -1.0);
  EXPECT_EQ(AngleSin(64), 1.0);
  EXPECT_EQ(AngleSin(192), -1.0);
  // The extended pi is not quite pi, so the cosines of a quarter and three quarters of a turn are
  // tiny numbers, not 0; that is what makes a ship thrusting straight up drift a hair sideways.
  EXPECT_NE(AngleCosines[64], 0.0);
  EXPECT_NE(AngleCosines[192], 0.0);
  EXPECT_LT(std::fabs(AngleCosines[64]), 1e-18);
  EXPECT_LT(std::fabs(AngleCosines[192]), 1e-18);
  // Their signs decide an edge of turned drawings: a quarter turn's is negative, three quarters' positive.
  EXPECT_LT(AngleCosines[64], 0.0);
  EXPECT_GT(AngleCosines[192], 0.0);
}

TEST(AngleTable, AnglesWrapToTheirLowEightBits) {
  EXPECT_EQ(AngleCos(-64), AngleCos(192));
  EXPECT_EQ(AngleCos(256 + 5), AngleCos(5));
  EXPECT_EQ(AngleCos(-1), AngleCosines[255]);
  EXPECT_EQ(AngleSin(-256), AngleSin(0));
  for (int a = -300; a < 300; ++a) EXPECT_EQ(AngleSin(a), AngleCos(a + 192)) << a;
}

TEST(AngleTable, EntriesFollowTheCircle) {
  // The cosine is the same on mirrored angles (but for the two tiny ones, whose size
  // depends on how pi was rounded), and each entry is the cosine of its angle to within a hair.
  for (int i = 0; i < 256; ++i) {
    if (i != 64 && i != 192) {
      EXPECT_EQ(AngleCosines[i], AngleCosines[(256 - i) % 256]) << i;
    }
    EXPECT_NEAR(AngleCosines[i], std::cos(i * 2 * M_PI / 256), 1e-15) << i;
  }
  EXPECT_EQ(AngleCosines[32], 0.70710678118654757);  // cos 45 degrees, rounded to a double
}

TEST(AngleTable, EveryEntryIsTheExtendedCosineRoundedToADouble) {
#if defined(TARNYX_X87_LONG_DOUBLE) && defined(_WIN32)
  // mingw's cosl is a library of its own, not the x87's fcos that glibc's is: near the zeros of
  // the cosine (entries 64 and 192) its results differ in the low bits. The game's own functions,
  // the same in every build, are what the table and the flights use.
  GTEST_SKIP() << "the C library's cosl is not the x87's here";
#elif defined(TARNYX_X87_LONG_DOUBLE)
  // The x87 works out what the table holds: i / 256, times 2, times the extended pi, its extended
  // cosine, rounded to a double.
  constexpr long double pi = std::numbers::pi_v<long double>;
  for (int i = 0; i < 256; ++i) {
    const long double x = static_cast<long double>(i) / 256.0L * 2.0L * pi;
    EXPECT_EQ(AngleCosines[i], static_cast<double>(std::cos(x))) << i;
  }
#else
  GTEST_SKIP() << "needs the x87's extended type";
#endif
}
