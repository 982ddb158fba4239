// Reading a frame's events from the game's state before and after it and the input it consumed.
#include <gtest/gtest.h>

#include "sound/SoundWatch.h"

namespace {

// An intact ship in flight, the ticker idle, no panel out, no explosion.
TGameSnapshot Flying() {
  TGameSnapshot s;
  s.Hull = 100;
  s.ShowTime = 0;
  s.TextX = 0;
  s.LineCount = 1;
  return s;
}
TGameSnapshot Standing(std::uint8_t planet, std::uint16_t slide) {
  TGameSnapshot s = Flying();
  s.Landed = true;
  s.CurrentPlanet = planet;
  s.PanelSlide[planet] = slide;
  return s;
}

}  // namespace

TEST(SoundWatch, TheEngineRunsWhileThrustIsHeldByAnIntactShip) {
  const TGameSnapshot s = Flying();
  const TInputStates up{stUp}, fine{stUp, stButton32}, turning{stLeft, stButton32};
  EXPECT_EQ(SoundEventsOf(s, &up, s).Thrust, thFull);
  EXPECT_EQ(SoundEventsOf(s, &fine, s).Thrust, thGentle);
  EXPECT_EQ(SoundEventsOf(s, &turning, s).Thrust, thNone);
  EXPECT_EQ(SoundEventsOf(s, nullptr, s).Thrust, thNone);
  TGameSnapshot wreck = s;
  wreck.Hull = 0;
  EXPECT_EQ(SoundEventsOf(wreck, &up, wreck).Thrust, thNone);
  EXPECT_TRUE(SoundEventsOf(s, nullptr, s).Quiet());
}

TEST(SoundWatch, ATouchDownIsTheFirstFrameOnAPlanetAndCarriesItsImpact) {
  TGameSnapshot before = Flying();
  before.VX = 0.3f;
  before.VY = -0.4f;  // speed 0.5: the game's impact 5
  const TGameSnapshot down = Standing(7, 5);
  TSoundEvents e = SoundEventsOf(before, nullptr, down);
  EXPECT_TRUE(e.TouchDown);
  EXPECT_EQ(e.Impact, 5);
  EXPECT_TRUE(e.PanelIn);
  EXPECT_FALSE(e.TakeOff || e.Crash || e.Damage);
  // Standing on from then on is quiet, the panel going on sliding too.
  e = SoundEventsOf(down, nullptr, Standing(7, 10));
  EXPECT_TRUE(e.Quiet());
  // A hard landing that damages the hull.
  TGameSnapshot hurt = Standing(7, 5);
  hurt.Hull = 85;
  e = SoundEventsOf(before, nullptr, hurt);
  EXPECT_TRUE(e.TouchDown && e.Damage);
}

TEST(SoundWatch, TakingOffIsLeavingThePlanetIntact) {
  const TSoundEvents e = SoundEventsOf(Standing(3, 475), nullptr, Flying());
  EXPECT_TRUE(e.TakeOff);
  EXPECT_FALSE(e.TouchDown || e.PanelIn);
  // Lifting within the touching distance keeps the ship landed: nothing yet.
  EXPECT_FALSE(SoundEventsOf(Standing(3, 475), nullptr, Standing(3, 475)).TakeOff);
}

TEST(SoundWatch, ACrashIsTheHullGoneAndTheExplosionStarted) {
  TGameSnapshot before = Flying();
  before.VX = 3;
  TGameSnapshot after = Standing(4, 5);
  after.Hull = 0;
  after.ExplosionAlpha[0] = 62;
  TSoundEvents e = SoundEventsOf(before, nullptr, after);
  EXPECT_TRUE(e.Crash);
  // The wreck makes no landing sounds, and the panel's chime does not welcome it.
  EXPECT_FALSE(e.TouchDown || e.Damage || e.PanelIn || e.TakeOff);
  // The explosion's later frames are not new crashes.
  TGameSnapshot later = after;
  later.ExplosionAlpha[0] = 64;
  EXPECT_FALSE(SoundEventsOf(after, nullptr, later).Crash);
  // Either sign alone is enough.
  TGameSnapshot exploding = Flying();
  exploding.ExplosionAlpha[2] = 62;
  EXPECT_TRUE(SoundEventsOf(Flying(), nullptr, exploding).Crash);
}

TEST(SoundWatch, OnlyTheCurrentPlanetsPanelStartingToSlideChimes) {
  TGameSnapshot before = Standing(9, 0), after = Standing(9, 0);
  after.PanelSlide[2] = 5;  // another planet's: not shown
  EXPECT_FALSE(SoundEventsOf(before, nullptr, after).PanelIn);
  after.PanelSlide[9] = 5;
  EXPECT_TRUE(SoundEventsOf(before, nullptr, after).PanelIn);
  TGameSnapshot none = after;
  none.CurrentPlanet = 255;
  EXPECT_FALSE(SoundEventsOf(before, nullptr, none).PanelIn);
}

TEST(SoundWatch, ANewLineOnTheTickerBlipsOnce) {
  TGameSnapshot before = Flying(), after = Flying();
  before.ShowTime = 1;
  before.TextX = 0;
  before.LineCount = 2;
  after.ShowTime = 500;
  after.TextX = 1024;
  after.LineCount = 1;
  EXPECT_TRUE(SoundEventsOf(before, nullptr, after).Message);
  TGameSnapshot next = after;
  next.ShowTime = 499;
  next.TextX = 1020;
  EXPECT_FALSE(SoundEventsOf(after, nullptr, next).Message);
  // A line added while one is shown waits, silently.
  TGameSnapshot queued = next;
  queued.LineCount = 2;
  EXPECT_FALSE(SoundEventsOf(next, nullptr, queued).Message);
}
