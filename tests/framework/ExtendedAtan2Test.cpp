// Atan2 against the C library's long double atan2 on x86-64, over the arguments the game passes
// (the offsets of a near planet's centre from the ship) and its special values; and the rim angle
// step the game keeps from it, which must not change.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "framework/Extended.h"
#include "tests/framework/ResultDigest.h"

namespace {

#ifdef TARNYX_X87_LONG_DOUBLE

std::string Hex(TSoftExtended v) {
  char text[40];
  std::snprintf(text, sizeof text, "%04x:%016llx", v.SignExponent(), static_cast<unsigned long long>(v.Significand()));
  return text;
}

// How many units in the last place apart two results are (NaN and infinities only as equals).
long double UlpsApart(long double a, long double b) {
  if (a == b || (a != a && b != b)) return 0;
  int e = 0;
  std::frexp(std::fmax(std::fabs(a), std::fabs(b)), &e);
  return std::ldexp(std::fabs(a - b), 64 - e);
}

// The rim angle step the game keeps: Landing's e, from the angle b.
std::uint8_t RimStep(long double b) {
  return static_cast<std::uint8_t>(0 - static_cast<std::uint64_t>(X87::RoundToInt64(b * 40.58451049L - 64)));
}

struct TSweepResult {
  long Count = 0;
  long OneUlp = 0;
  long double WorstUlps = 0;
  long StepsDiffering = 0;
  std::string Worst;
};

void Compare(TSweepResult& r, long double dx, long double dy) {
  const long double ours = ToHardware(Atan2(ToSoft(dx), ToSoft(dy)));
  const long double libc = std::atan2(dx, dy);
  const long double ulps = UlpsApart(ours, libc);
  ++r.Count;
  if (ulps > 0) ++r.OneUlp;
  if (ulps > r.WorstUlps) {
    r.WorstUlps = ulps;
    r.Worst = Hex(ToSoft(dx)) + ", " + Hex(ToSoft(dy));
  }
  if (RimStep(ours) != RimStep(libc)) ++r.StepsDiffering;
}

void Report(const TSweepResult& r, const char* what) {
  std::printf("%s: %ld arguments, %ld one ulp apart, worst %.2Lf ulp, %ld rim steps differ\n", what, r.Count,
              r.OneUlp, r.WorstUlps, r.StepsDiffering);
  EXPECT_LE(r.WorstUlps, 1.0L) << what << ": worst at " << r.Worst;
  EXPECT_EQ(r.StepsDiffering, 0) << what;
}

// The pull and the landing act within 1500 of a planet's centre (NearDistance), so that is where
// the game takes the angle. The grid walks that whole disc every 3 units; the random offsets are
// what a planet at a whole-number place minus a ship anywhere near it gives.
TEST(ExtendedAtan2, AgreesWithTheCLibraryWhereverAPlanetIsNear) {
  TSweepResult grid;
  for (int dy = -1500; dy <= 1500; dy += 3)
    for (int dx = -1500; dx <= 1500; dx += 3)
      if (dx * dx + dy * dy < 1500 * 1500) Compare(grid, dx, dy);
  Report(grid, "grid of the near disc");

  TSweepResult offsets;
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> near(-1500, 1500);
  for (int i = 0; i < 600000; ++i) {
    const double planetX = static_cast<double>(static_cast<int>(rng() % 40001) - 20000);
    const double planetY = static_cast<double>(static_cast<int>(rng() % 40001) - 20000);
    const double shipX = planetX + near(rng), shipY = planetY + near(rng);
    Compare(offsets, static_cast<long double>(planetX) - shipX, static_cast<long double>(planetY) - shipY);
  }
  Report(offsets, "planet minus ship");
}

// The directions the game meets exactly: the axes (one offset 0 or a few units in the last place
// of the other), the diagonals and their neighbours, tiny offsets far below a unit, and every
// ratio k/32 and nearby, where the function's own table takes over.
TEST(ExtendedAtan2, AgreesWithTheCLibraryOnAxesDiagonalsAndTinyOffsets) {
  TSweepResult r;
  std::mt19937_64 rng(5);
  std::uniform_real_distribution<double> size(1, 1500);
  for (int i = 0; i < 20000; ++i) {
    const long double a = size(rng);
    const long double tiny = std::ldexp(static_cast<long double>(size(rng)), -static_cast<int>(rng() % 1100));
    for (int sx : {-1, 1})
      for (int sy : {-1, 1}) {
        Compare(r, sx * a, 0.0L);
        Compare(r, 0.0L, sy * a);
        Compare(r, sx * a, sy * a);
        Compare(r, sx * a, sy * std::nextafter(a, 2 * a));
        Compare(r, sx * tiny, sy * a);
        Compare(r, sx * a, sy * tiny);
        Compare(r, sx * tiny, sy * tiny * 3);
      }
  }
  for (int k = 0; k <= 32; ++k)
    for (int n = 1; n <= 200; ++n) {
      const long double x = 32.0L * n, y = static_cast<long double>(k) * n;
      for (long double dy : {y, std::nextafter(y, 0.0L), std::nextafter(y, 1e9L)}) {
        Compare(r, dy, x);
        Compare(r, -x, -dy);
      }
    }
  Report(r, "axes, diagonals, tiny offsets and table points");
}

// Zeros of both signs, infinities and NaN, as the C library (and the x87) treat them.
TEST(ExtendedAtan2, SpecialValuesAreTheCLibrarys) {
  const long double inf = INFINITY;
  const std::vector<long double> values = {0.0L, -0.0L, inf, -inf, NAN, -NAN, 1.0L, -1.0L, 1e-4000L, -3e4000L, 5.5L};
  for (long double y : values)
    for (long double x : values) {
      const TSoftExtended ours = Atan2(ToSoft(y), ToSoft(x)), libc = ToSoft(std::atan2(y, x));
      EXPECT_TRUE(ours.SignExponent() == libc.SignExponent() && ours.Significand() == libc.Significand())
          << "atan2(" << Hex(ToSoft(y)) << ", " << Hex(ToSoft(x)) << ") = " << Hex(ours) << ", the C library gives " << Hex(libc);
    }
}

#endif  // TARNYX_X87_LONG_DOUBLE

// What holds on any machine: the quadrants, and pi and its fractions rounded to 64 bits.
TEST(ExtendedAtan2, QuadrantsAndRoundedPi) {
  const TSoftExtended pi = TSoftExtended::FromBits(0x4000, 0xC90FDAA22168C235u);  // pi, rounded up
  const TSoftExtended halfPi = TSoftExtended::FromBits(0x3FFF, 0xC90FDAA22168C235u);
  const TSoftExtended quarterPi = TSoftExtended::FromBits(0x3FFE, 0xC90FDAA22168C235u);
  auto same = [](TSoftExtended a, TSoftExtended b) { return a.SignExponent() == b.SignExponent() && a.Significand() == b.Significand(); };
  EXPECT_TRUE(same(Atan2(TSoftExtended(0), TSoftExtended(-1)), pi));
  EXPECT_TRUE(same(Atan2(TSoftExtended(1), TSoftExtended(0)), halfPi));
  EXPECT_TRUE(same(Atan2(TSoftExtended(-7), TSoftExtended(0)), -halfPi));
  EXPECT_TRUE(same(Atan2(TSoftExtended(3), TSoftExtended(3)), quarterPi));
  EXPECT_TRUE(same(Atan2(TSoftExtended(0), TSoftExtended(5)), TSoftExtended(0)));
  EXPECT_TRUE(Atan2(TSoftExtended(-1), TSoftExtended(-1)) < -halfPi);
  EXPECT_TRUE(Atan2(TSoftExtended(-1), TSoftExtended(-1)) > -pi);
  EXPECT_TRUE(Atan2(TSoftExtended::DefaultNaN(), TSoftExtended(1)).IsNaN());
}

// The angles the game takes near a planet, the same bits on every machine: the grid of the near
// disc and offsets of a planet at a whole-number place from a ship anywhere near it, digested.
// The digest is the x86-64 build's, whose results the sweeps above hold to the C library's.
TEST(ExtendedAtan2, NearAPlanetEveryMachineTakesTheSameAngles) {
  TResultDigest digest;
  for (int dy = -1500; dy <= 1500; dy += 7)
    for (int dx = -1500; dx <= 1500; dx += 7)
      if (dx * dx + dy * dy < 1500 * 1500) digest.Add(Atan2(TSoftExtended(dx), TSoftExtended(dy)));
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> near(-1500, 1500);
  for (int i = 0; i < 100000; ++i) {
    const double planetX = static_cast<double>(static_cast<int>(rng() % 40001) - 20000);
    const double planetY = static_cast<double>(static_cast<int>(rng() % 40001) - 20000);
    const double shipX = planetX + near(rng), shipY = planetY + near(rng);
    digest.Add(Atan2(TSoftExtended(planetX) - TSoftExtended(shipX), TSoftExtended(planetY) - TSoftExtended(shipY)));
  }
  EXPECT_EQ(digest.Value(), 0xC6990A9B9BFAEAA9u) << std::hex << std::uppercase << "digest 0x" << digest.Value();
}

}  // namespace
