// The synthesizer alone, driven by made-up events: silence, each sound's shape and loudness, the
// headroom, no clicks, and the same samples for the same events.
#include <gtest/gtest.h>

#include <functional>

#include "sound/SineTable.h"
#include "sound/Synth.h"
#include "tests/sound/SoundAnalysis.h"

namespace {

// The samples of frames rendered with the events that script gives for each frame number.
TSamples Render(int frames, const std::function<TSoundEvents(int frame)>& script, TSynth* synth = nullptr) {
  TSynth own;
  TSynth& s = synth ? *synth : own;
  TSamples out(static_cast<std::size_t>(frames) * FrameSamples);
  for (int f = 0; f < frames; ++f) s.Render(script(f), out.data() + static_cast<std::size_t>(f) * FrameSamples);
  return out;
}

// One event at frame 0, nothing after.
TSamples Once(int frames, const TSoundEvents& events) {
  return Render(frames, [&](int f) { return f == 0 ? events : TSoundEvents{}; });
}

TSoundEvents Thrust(TThrust t) {
  TSoundEvents e;
  e.Thrust = t;
  return e;
}
TSoundEvents TouchDown(int impact, bool damage = false) {
  TSoundEvents e;
  e.TouchDown = true;
  e.Impact = impact;
  e.Damage = damage;
  return e;
}
TSoundEvents Only(bool TSoundEvents::*which) {
  TSoundEvents e;
  e.*which = true;
  return e;
}

// Every start at once, and the full engine.
TSoundEvents Everything() {
  TSoundEvents e = TouchDown(100, true);
  e.Thrust = thFull;
  e.TakeOff = e.Crash = e.PanelIn = e.Message = true;
  return e;
}

}  // namespace

TEST(SineTable, HasTheShapeOfASine) {
  EXPECT_EQ(SineTable[0], 0);
  EXPECT_EQ(SineTable[SineEntries / 4], 32767);
  EXPECT_EQ(SineTable[SineEntries / 2], 0);
  EXPECT_EQ(SineTable[3 * SineEntries / 4], -32767);
  EXPECT_EQ(SineTable[SineEntries], 0);
  for (int i = 0; i < SineEntries; ++i) {
    const double exact = 32767 * std::sin(2 * std::numbers::pi * i / SineEntries);
    ASSERT_NEAR(SineTable[i], exact, 1.0) << "entry " << i;
  }
  // Between entries a phase reads the entry before it: off by at most one entry's step.
  const double step = 32767 * 2 * std::numbers::pi / SineEntries;
  for (std::uint32_t phase = 0x01234567; phase < 0xF0000000u; phase += 0x00F00F0F)
    ASSERT_NEAR(SineAt(phase), 32767 * std::sin(2 * std::numbers::pi * (phase / 4294967296.0)), step + 1);
}

TEST(Synth, IsSilentWithoutEvents) {
  EXPECT_TRUE(AllZero(Render(50, [](int) { return TSoundEvents{}; })));
}

TEST(Synth, EverySoundDiesAwayToExactSilence) {
  // The explosion is the longest: its tail is inaudible within about eight seconds.
  for (bool TSoundEvents::*which : {&TSoundEvents::TakeOff, &TSoundEvents::Crash, &TSoundEvents::PanelIn,
                                    &TSoundEvents::Message}) {
    TSamples s = Once(500, Only(which));
    EXPECT_GT(Peak(Frames(s, 0, 10)), 500);
    EXPECT_TRUE(AllZero(Frames(s, 450, 500)));
  }
  TSamples thump = Once(100, TouchDown(30, true));
  EXPECT_GT(Peak(Frames(thump, 0, 5)), 500);
  EXPECT_TRUE(AllZero(Frames(thump, 60, 100)));
  // The engine stops within a few frames of letting go.
  TSamples engine = Render(100, [](int f) { return Thrust(f < 50 ? thFull : thNone); });
  EXPECT_GT(Rms(Frames(engine, 10, 50)), 300);
  EXPECT_TRUE(AllZero(Frames(engine, 53, 100)));
}

TEST(Synth, FineControlRumblesSofterThanFullThrust) {
  const double full = Rms(Frames(Render(60, [](int) { return Thrust(thFull); }), 10, 60));
  const double gentle = Rms(Frames(Render(60, [](int) { return Thrust(thGentle); }), 10, 60));
  EXPECT_GT(gentle, 100);
  EXPECT_LT(gentle, full * 0.6);
  EXPECT_GT(gentle, full * 0.25);
  // A rumble: its energy lies low.
  TSamples s = Render(60, [](int) { return Thrust(thFull); });
  EXPECT_LT(CrossingsPerSecond(Frames(s, 10, 60)), 1200);
}

TEST(Synth, TheExplosionIsTheLoudestSoundAndFallsInPitch) {
  const TSamples boom = Once(200, Only(&TSoundEvents::Crash));
  const int explosion = Peak(boom);
  for (const TSoundEvents& other : {TouchDown(1000, true), Only(&TSoundEvents::TakeOff), Only(&TSoundEvents::PanelIn),
                                    Only(&TSoundEvents::Message)})
    EXPECT_GT(explosion, 1.5 * Peak(Once(200, other)));
  EXPECT_GT(explosion, 1.5 * Peak(Render(100, [](int) { return Thrust(thFull); })));
  // A burst, then a long decay: still clearly there a second and a half later.
  EXPECT_GT(Rms(Frames(boom, 0, 10)), 2 * Rms(Frames(boom, 50, 60)));
  EXPECT_GT(Rms(Frames(boom, 75, 80)), 100);
  EXPECT_GT(CrossingsPerSecond(Frames(boom, 0, 10)), 2 * CrossingsPerSecond(Frames(boom, 60, 80)));
}

TEST(Synth, AHarderTouchDownThumpsLouder) {
  const int soft = Peak(Once(30, TouchDown(2))), hard = Peak(Once(30, TouchDown(15)));
  EXPECT_GT(hard, soft + 800);
  // A low thump, with its pitch falling from about 110 Hz.
  const TSamples s = Once(30, TouchDown(2));
  EXPECT_GT(ToneAmplitude(Frames(s, 0, 4), 90), 5 * ToneAmplitude(Frames(s, 0, 4), 880));
}

TEST(Synth, TheChimeRingsTwoNotesOneAfterTheOther) {
  const TSamples s = Once(40, Only(&TSoundEvents::PanelIn));
  const auto first = Stretch(s, 0, SamplesOf(80)), later = Stretch(s, SamplesOf(100), SamplesOf(100));
  EXPECT_GT(ToneAmplitude(first, 880), 400);
  EXPECT_LT(ToneAmplitude(first, 1319), 50);
  EXPECT_GT(ToneAmplitude(later, 1319), 400);
}

TEST(Synth, TheChimeRingsOnceForAHop) {
  // The panel slides in again 300 ms after it first did: no second chime then; after two seconds,
  // one.
  const TSamples s = Render(150, [](int f) {
    return f == 0 || f == 15 || f == 100 ? Only(&TSoundEvents::PanelIn) : TSoundEvents{};
  });
  EXPECT_TRUE(AllZero(Frames(s, 70, 100)));
  EXPECT_LT(Peak(Frames(s, 15, 20)), Peak(Frames(s, 0, 5)) / 2);
  EXPECT_GT(ToneAmplitude(Frames(s, 100, 104), 880), 400);
}

TEST(Synth, TheTakeOffRisesAndTheBlipIsShortAndHigh) {
  const TSamples up = Once(40, Only(&TSoundEvents::TakeOff));
  EXPECT_LT(CrossingsPerSecond(Frames(up, 1, 4)), CrossingsPerSecond(Frames(up, 18, 21)));
  const TSamples blip = Once(20, Only(&TSoundEvents::Message));
  EXPECT_GT(ToneAmplitude(Frames(blip, 0, 3), 1568), 500);
  EXPECT_TRUE(AllZero(Frames(blip, 10, 20)));
}

TEST(Synth, NeverClipsAndKeepsItsHeadroom) {
  // Every sound started again on every frame keeps every voice near its peak.
  const TSamples s = Render(300, [](int) { return Everything(); });
  EXPECT_LE(Peak(s), TSynth::Peak);
  EXPECT_LT(TSynth::Peak, 32767);
  // A crash alone stays below half of full scale (-6 dBFS).
  EXPECT_LT(Peak(Once(200, Only(&TSoundEvents::Crash))), 16384);
}

TEST(Synth, StartsAndStopsWithoutClicks) {
  // The engine's own texture jumps a little from sample to sample; starting and stopping it must
  // add no step beyond that. A step to its level would jump by hundreds to thousands.
  const TSamples full = Render(200, [](int f) { return Thrust(f >= 10 && f < 100 ? thFull : thNone); });
  const int texture = MaxJump(Frames(full, 30, 90));
  EXPECT_GT(Peak(Frames(full, 30, 90)), 6 * texture);
  EXPECT_LE(MaxJump(Frames(full, 9, 13)), texture);
  EXPECT_LE(MaxJump(Frames(full, 99, 103)), texture);
  // From full to fine control and back.
  const TSamples change = Render(120, [](int f) { return Thrust(f < 40 || f >= 80 ? thFull : thGentle); });
  EXPECT_LE(MaxJump(Frames(change, 38, 42)), texture);
  EXPECT_LE(MaxJump(Frames(change, 78, 82)), texture);
  // A thump that starts again while it still sounds ramps from where it is.
  const TSamples thumps = Render(60, [](int f) { return f % 3 == 0 ? TouchDown(20) : TSoundEvents{}; });
  EXPECT_LE(MaxJump(thumps), 120);
  // The first sample of any sound starts near 0.
  for (bool TSoundEvents::*which : {&TSoundEvents::TakeOff, &TSoundEvents::Crash, &TSoundEvents::PanelIn,
                                    &TSoundEvents::Message})
    EXPECT_LE(std::abs(Once(1, Only(which))[0]), 200);
}

TEST(Synth, TheSameEventsGiveTheSameSamples) {
  auto script = [](int f) {
    TSoundEvents e;
    e.Thrust = static_cast<TThrust>((f / 7) % 3);
    e.TouchDown = f % 23 == 0;
    e.Impact = f % 17;
    e.Crash = f == 90;
    e.PanelIn = f % 31 == 0;
    e.Message = f % 13 == 0;
    e.TakeOff = f % 29 == 0;
    return e;
  };
  EXPECT_EQ(Render(200, script), Render(200, script));
  // One synthesizer going on differs from a fresh one: it keeps its own state between frames.
  TSynth used;
  Render(10, script, &used);
  EXPECT_NE(Render(50, script, &used), Render(50, script));
}
