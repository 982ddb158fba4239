// The random generator: seeding from the time of day, and scaling each draw by multiplication.
#include <gtest/gtest.h>

#include <cstdint>

#include "framework/Random.h"
#include "backends/headless/HeadlessBackend.h"

namespace {

class RandomTest : public ::testing::Test {
 protected:
  void SetUp() override { SetBackend(&backend); }
  void TearDown() override { SetBackend(nullptr); }
  THeadlessBackend backend;
};

}  // namespace

TEST_F(RandomTest, SeededAtMidnightGivesTheKnownSequence) {
  RandomState = 12345;
  backend.TimeOfDayMs = 0;
  SeedRandom();
  EXPECT_EQ(RandomState, 0u);
  const std::int32_t values[5] = {0, 3, 86, 20, 27};
  const std::uint32_t states[5] = {1u, 134775814u, 3698175007u, 870078620u, 1172187917u};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(RandomBelow(100), values[i]) << i;
    EXPECT_EQ(RandomState, states[i]) << i;
  }
}

TEST_F(RandomTest, SeedIsTheMillisecondsSinceMidnight) {
  backend.TimeOfDayMs = 45296789;  // 12:34:56.789
  SeedRandom();
  EXPECT_EQ(RandomState, 45296789u);
  backend.TimeOfDayMs = 86399999;  // the last millisecond of the day
  SeedRandom();
  EXPECT_EQ(RandomState, 86399999u);
}

TEST_F(RandomTest, OneAndZeroAlwaysGiveZeroAndStillAdvance) {
  RandomState = 0xFFFFFFFFu;  // the largest state: n * state / 2^32 is as close to n as it gets
  EXPECT_EQ(RandomBelow(1), 0);
  EXPECT_EQ(RandomState, 0xFFFFFFFFu * 134775813u + 1u);
  for (int i = 0; i < 1000; ++i) {
    std::uint32_t before = RandomState;
    EXPECT_EQ(RandomBelow(1), 0);
    EXPECT_EQ(RandomBelow(0), 0);
    EXPECT_EQ(RandomState, (before * 134775813u + 1u) * 134775813u + 1u);
  }
}

TEST_F(RandomTest, DrawsScaleTheNewStateAndStayBelowN) {
  // The draw is the upper half of n * state, not state modulo n.
  RandomState = 0;
  RandomBelow(7);  // state 1
  EXPECT_EQ(RandomBelow(1000), static_cast<std::int32_t>(1000ull * 134775814u >> 32));
  const std::int32_t big = 0x7FFFFFFF;
  for (int i = 0; i < 10000; ++i) {
    std::int32_t v = RandomBelow(big);
    EXPECT_GE(v, 0);
    EXPECT_LT(v, big);
    std::int32_t s = RandomBelow(12);
    EXPECT_GE(s, 0);
    EXPECT_LT(s, 12);
  }
}
