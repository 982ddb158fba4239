// The SDL back end's sound device over SDL's dummy audio driver: opened by the first sound and not
// by silence, closed when SDL reports it removed, silent until SDL reports one added, and a
// driver that is not there leaves the game silent without failing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "backends/sdl/SdlAudio.h"

namespace {

// SDL reads its audio driver's name from the environment when its audio starts.
void SetDriver(const char* name) {
#ifdef _WIN32
  _putenv_s("SDL_AUDIODRIVER", name);
#else
  setenv("SDL_AUDIODRIVER", name, 1);
#endif
}

class SdlAudioTest : public testing::Test {
 protected:
  void SetUp() override { SetDriver("dummy"); }
  void TearDown() override { SetDriver(""); }

  std::vector<std::int16_t> silence = std::vector<std::int16_t>(960, 0);
  std::vector<std::int16_t> loud = std::vector<std::int16_t>(960, 3000);
};

TEST_F(SdlAudioTest, TheFirstSoundOpensTheDeviceNotSilence) {
  TSdlAudio audio;
  audio.Play(silence.data(), 960);
  EXPECT_FALSE(audio.Open());
  audio.Play(loud.data(), 960);
  ASSERT_TRUE(audio.Open());
  audio.Play(silence.data(), 960);  // once open, silence is played too
  EXPECT_TRUE(audio.Open());
  audio.Close();
  EXPECT_FALSE(audio.Open());
}

TEST_F(SdlAudioTest, ARemovedDeviceIsSilentUntilOneIsAdded) {
  TSdlAudio audio;
  audio.Play(loud.data(), 960);
  ASSERT_TRUE(audio.Open());
  const std::uint32_t device = audio.Device();
  // Another device going is not ours.
  audio.DeviceRemoved(device + 1);
  EXPECT_TRUE(audio.Open());
  audio.DeviceRemoved(device);
  EXPECT_FALSE(audio.Open());
  audio.Play(loud.data(), 960);
  EXPECT_FALSE(audio.Open());  // waits for a device to appear
  audio.DeviceAdded();
  EXPECT_FALSE(audio.Open());  // opened by the next sound, not by the event
  audio.Play(loud.data(), 960);
  EXPECT_TRUE(audio.Open());
  audio.Close();
}

TEST_F(SdlAudioTest, NoDriverLeavesTheGameSilent) {
  SetDriver("nosuch");
  TSdlAudio audio;
  for (int i = 0; i < 3; ++i) audio.Play(loud.data(), 960);
  EXPECT_FALSE(audio.Open());
  audio.DeviceAdded();
  audio.Play(loud.data(), 960);
  EXPECT_FALSE(audio.Open());
  audio.Close();
}

}  // namespace
