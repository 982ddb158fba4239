// The game's sound on its way out: every frame's samples handed to the back end as they are made,
// and the program's sound keys muting and stepping the volume.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "sound/AttachSound.h"
#include "sound/SoundOutput.h"
#include "tests/app/GameFixture.h"

namespace {

class SoundOutputTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    PlayOnBackend(sound);
    ControlByKeys(sound, Application->AppKeys(), [this] { ++changes; });
    AttachSound(*form, sound);
  }
  void TearDown() override {
    Application->AppKeys().OnSoundKey = nullptr;
    GameFixture::TearDown();
  }

  // Presses and releases a key, and lets the loop handle it.
  void Press(int scanCode, int virtualKey) {
    backend.PushKey(scanCode, virtualKey, true);
    backend.PushKey(scanCode, virtualKey, false);
    Application->ProcessMessages();
  }

  // The loudest of the back end's last n frames.
  int Loudest(int frames) const {
    int loudest = 0;
    for (auto at = backend.Sound.end() - frames * FrameSamples; at != backend.Sound.end(); ++at)
      loudest = std::max(loudest, std::abs(static_cast<int>(*at)));
    return loudest;
  }

  TGameSound sound;
  int changes = 0;
};

TEST_F(SoundOutputTest, EveryFrameReachesTheBackEndAsItIsMade) {
  ClearSky();
  ResetShip();
  Hold(KeyUp);
  for (int f = 1; f <= 25; ++f) {
    Frame();
    ASSERT_EQ(backend.Sound.size(), static_cast<std::size_t>(f) * FrameSamples);
    auto samples = sound.Samples();
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), backend.Sound.end() - FrameSamples))
        << "frame " << f;
  }
  EXPECT_GT(Loudest(10), 1000);  // the engine
}

TEST_F(SoundOutputTest, TheSoundKeysMuteAndStepTheVolume) {
  ClearSky();
  ResetShip();
  Hold(KeyUp);
  Frames(25);
  Press(0x32, 'M');
  EXPECT_TRUE(sound.Muted());
  Frames(3);
  EXPECT_EQ(Loudest(2), 0);  // exact silence once the 5 ms glide is over
  Press(0x32, 'M');
  EXPECT_FALSE(sound.Muted());
  Frames(3);
  EXPECT_GT(Loudest(2), 1000);
  Press(0x0C, 0xBD);  // -
  Press(0x4A, 0x6D);  // the keypad's -
  EXPECT_EQ(sound.Volume(), DefaultVolume - 2 * VolumeStep);
  Press(0x0D, 0xBB);  // =
  EXPECT_EQ(sound.Volume(), DefaultVolume - VolumeStep);
  for (int i = 0; i < 5; ++i) Press(0x4E, 0x6B);  // the keypad's +, past the top
  EXPECT_EQ(sound.Volume(), MaxVolume);
  EXPECT_EQ(changes, 2 + 3 + 5);
}

}  // namespace
