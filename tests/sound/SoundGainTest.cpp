// The volume and mute: exact zeros when muted, proportional volume, glides instead of clicks.
#include <gtest/gtest.h>

#include "sound/GameSound.h"
#include "sound/SineTable.h"
#include "sound/SoundGain.h"
#include "tests/sound/SoundAnalysis.h"

namespace {

// A steady loud tone to scale: a full-scale square would hide nothing, so a sine of 3000 at 441 Hz.
TSamples Tone(int frames) {
  TSamples s(static_cast<std::size_t>(frames) * FrameSamples);
  std::uint32_t phase = 0;
  for (auto& v : s) v = static_cast<std::int16_t>((SineAt(phase += PhaseStep(441)) * 3000) >> 15);
  return s;
}

TSamples Apply(TSoundGain& gain, TSamples s, int framesPerCall = 1) {
  for (std::size_t at = 0; at < s.size(); at += static_cast<std::size_t>(framesPerCall) * FrameSamples)
    gain.Apply(s.data() + at, framesPerCall * FrameSamples);
  return s;
}

}  // namespace

TEST(SoundGain, StartsAtItsVolumeAndScalesInProportion) {
  const TSamples tone = Tone(5);
  TSoundGain full(100), half(50), none(0), muted(100, true), fresh;
  EXPECT_EQ(fresh.Volume(), DefaultVolume);
  EXPECT_EQ(Apply(full, tone), tone);
  const TSamples halved = Apply(half, tone);
  for (std::size_t i = 0; i < tone.size(); ++i) ASSERT_EQ(halved[i], tone[i] >> 1) << i;
  EXPECT_TRUE(AllZero(Apply(none, tone)));
  EXPECT_TRUE(AllZero(Apply(muted, tone)));
  // Each step of the player's scale takes a tenth of the full level.
  for (int volume = 0; volume <= 100; volume += 10) {
    TSoundGain g(volume);
    EXPECT_NEAR(Peak(Apply(g, tone)), 3000 * volume / 100, 2) << volume;
  }
}

TEST(SoundGain, KeepsTheVolumeWithinItsScale) {
  TSoundGain g(150);
  EXPECT_EQ(g.Volume(), 100);
  g.SetVolume(-5);
  EXPECT_EQ(g.Volume(), 0);
  TGameSound sound(95);
  sound.StepVolume(1);
  EXPECT_EQ(sound.Volume(), 100);
  sound.StepVolume(-3);
  EXPECT_EQ(sound.Volume(), 70);
}

TEST(SoundGain, MutingAndUnmutingGlideWithoutAClickAndMuteIsExactSilence) {
  const TSamples tone = Tone(12);
  const int ownJump = MaxJump(tone);
  TSoundGain g(100);
  TSamples out = tone;
  for (int f = 0; f < 12; ++f) {
    if (f == 3) g.SetMuted(true);
    if (f == 8) g.SetMuted(false);
    g.Apply(out.data() + f * FrameSamples, FrameSamples);
  }
  // A cut would jump by up to 3000; the glide adds at most 3000 / RampSamples to the tone's own steps.
  EXPECT_LE(MaxJump(out), ownJump + 20);
  EXPECT_NE(Frames(out, 3, 4)[0], 0);
  const std::size_t silent = 3 * FrameSamples + TSoundGain::RampSamples;
  EXPECT_TRUE(AllZero(Stretch(out, silent, 8 * FrameSamples - silent)));
  for (std::size_t i = 9 * FrameSamples; i < out.size(); ++i) ASSERT_EQ(out[i], tone[i]);
  // A volume step glides too.
  TSoundGain v(20);
  TSamples stepped = tone;
  for (int f = 0; f < 12; ++f) {
    if (f == 4) v.SetVolume(100);
    v.Apply(stepped.data() + f * FrameSamples, FrameSamples);
  }
  EXPECT_LE(MaxJump(stepped), ownJump + 20);
}
