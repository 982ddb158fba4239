// The page's clock as the frame timer reads it: a step late for a tick by less than three
// intervals reads the due time, anything else reads the page's clock, and readings never go back.
#include "backends/web/TickClock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

constexpr std::uint32_t Interval = 20;

TEST(TickClock, ReadsThePageClockOutsideLateSteps) {
  TTickClock clock;
  EXPECT_EQ(clock.Read(5), 5u);
  // Before the due time (100 + 20), on it, with no timer waiting, and with a timer that ticks on
  // every step (a timedemo): the page's clock.
  clock.BeginStep(119, true, 100, Interval);
  EXPECT_EQ(clock.Read(119), 119u);
  clock.BeginStep(120, true, 100, Interval);
  EXPECT_EQ(clock.Read(120), 120u);
  clock.BeginStep(130, false, 100, Interval);
  EXPECT_EQ(clock.Read(130), 130u);
  clock.BeginStep(140, true, 100, 0);
  EXPECT_EQ(clock.Read(140), 140u);
  EXPECT_FALSE(clock.Held());
}

TEST(TickClock, ALateStepReadsTheDueTimeUntilItEnds) {
  TTickClock clock;
  clock.BeginStep(131, true, 100, Interval);
  EXPECT_TRUE(clock.Held());
  EXPECT_EQ(clock.Read(131), 120u);
  EXPECT_EQ(clock.Read(133), 120u);  // the whole step
  clock.EndStep();
  EXPECT_EQ(clock.Read(134), 134u);
  // Late by 59: still held; by three intervals or more: not made up.
  clock.BeginStep(199, true, 120, Interval);
  EXPECT_EQ(clock.Read(199), 140u);
  clock.EndStep();
  clock.BeginStep(220, true, 140, Interval);
  EXPECT_EQ(clock.Read(220), 220u);
  clock.BeginStep(5000, true, 220, Interval);
  EXPECT_EQ(clock.Read(5000), 5000u);
}

TEST(TickClock, ReadingsNeverGoBack) {
  TTickClock clock;
  EXPECT_EQ(clock.Read(126), 126u);  // read after the due time, before the late step
  clock.BeginStep(127, true, 100, Interval);
  EXPECT_EQ(clock.Read(127), 126u);
  clock.EndStep();
  EXPECT_EQ(clock.Read(128), 128u);
}

TEST(TickClock, HoldsAcrossTheClocksWrapAround) {
  TTickClock clock;
  EXPECT_EQ(clock.Read(0xFFFFFFF0u), 0xFFFFFFF0u);
  clock.BeginStep(0xFFFFFFF8u, true, 0xFFFFFFF0u, Interval);  // due at 4, after the wrap
  EXPECT_EQ(clock.Read(0xFFFFFFF8u), 0xFFFFFFF8u);
  clock.BeginStep(9, true, 0xFFFFFFF0u, Interval);
  EXPECT_EQ(clock.Read(9), 4u);
  clock.EndStep();
  EXPECT_EQ(clock.Read(10), 10u);
}

// Catching up: ticks late by more than an interval come one after the other, each reading the
// time it was due, as long as nothing reads the clock between the steps.
TEST(TickClock, TicksLateByIntervalsCatchUpOneAfterTheOther) {
  TTickClock clock;
  std::uint32_t tickTime = 100;
  for (std::uint32_t step = 0; step < 3; ++step) {
    clock.BeginStep(165 + step, true, tickTime, Interval);  // 45 ms late, then less
    tickTime = clock.Read(165 + step);
    EXPECT_EQ(tickTime, 120 + 20 * step);
    clock.EndStep();
  }
  clock.BeginStep(168, true, tickTime, Interval);  // due at 180: on time again
  EXPECT_EQ(clock.Read(168), 168u);
}

// The frame timer's rule (a tick once the interval has passed since the reading at the last tick,
// which the tick then keeps), driven by a page that wakes for each tick late by up to lateMax ms,
// but never before the last step's time: the ticks in ten seconds of the page's clock.
int TicksInTenSeconds(bool throughTheClock, std::uint32_t lateMax) {
  TTickClock clock;
  std::mt19937 random(7);
  std::uint32_t tickTime = 1000;
  int ticks = 0;
  for (std::uint32_t now = 1000; now < 11000;) {
    const std::uint32_t wake = tickTime + Interval + random() % (lateMax + 1);
    now = wake > now ? wake : now + 1;
    clock.BeginStep(now, true, tickTime, Interval);
    const std::uint32_t reading = throughTheClock ? clock.Read(now) : now;
    if (reading - tickTime >= Interval) {
      tickTime = reading;
      ++ticks;
    }
    clock.EndStep();
  }
  return ticks;
}

TEST(TickClock, KeepsTheTimersRateWhenThePageWakesLate) {
  EXPECT_EQ(TicksInTenSeconds(true, 0), 500);
  EXPECT_EQ(TicksInTenSeconds(false, 0), 500);
  // Late by up to 15 ms each time: the page's clock alone loses about a quarter of the ticks.
  EXPECT_EQ(TicksInTenSeconds(true, 15), 500);
  EXPECT_LT(TicksInTenSeconds(false, 15), 420);
  // Now and then late by more than an interval: made up by the ticks that follow.
  EXPECT_GE(TicksInTenSeconds(true, 35), 499);
  // Always late by a great deal (a machine too slow for the game): the rate drops, and no
  // catching up runs away with it.
  const int slow = TicksInTenSeconds(true, 200);
  EXPECT_LT(slow, 200);
  EXPECT_GT(slow, 50);
}

}  // namespace
