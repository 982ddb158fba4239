// The WAV writer: the header's fields and sizes, the samples' byte order, and no half file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sound/SoundFormat.h"
#include "sound/WavFile.h"
#include "tests/demo/DemoGameFixture.h"

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t{b[at + 3]} << 24;
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::string Text(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t n) {
  return std::string(b.begin() + at, b.begin() + at + n);
}

}  // namespace

TEST(WavFile, WritesAPlainPcmHeaderWithTheSizesFilledIn) {
  TScratchFile file("sound.wav");
  TWavWriter wav(file.Path);
  const std::vector<std::int16_t> first = {0, 1, -1, 32767}, second = {-32768, -2, 258};
  ASSERT_TRUE(wav.Write(first));
  ASSERT_TRUE(wav.Write(second));
  EXPECT_EQ(wav.SamplesWritten(), 7u);
  EXPECT_TRUE(file.Bytes().empty());  // nothing in place before the end
  ASSERT_TRUE(wav.Finish()) << wav.Error();

  const auto b = file.Bytes();
  ASSERT_EQ(b.size(), 44u + 14u);
  EXPECT_EQ(Text(b, 0, 4), "RIFF");
  EXPECT_EQ(U32(b, 4), b.size() - 8);
  EXPECT_EQ(Text(b, 8, 8), "WAVEfmt ");
  EXPECT_EQ(U32(b, 16), 16u);
  EXPECT_EQ(U16(b, 20), 1);  // PCM
  EXPECT_EQ(U16(b, 22), 1);  // mono
  EXPECT_EQ(U32(b, 24), 48000u);
  EXPECT_EQ(U32(b, 28), 96000u);
  EXPECT_EQ(U16(b, 32), 2);
  EXPECT_EQ(U16(b, 34), 16);
  EXPECT_EQ(Text(b, 36, 4), "data");
  EXPECT_EQ(U32(b, 40), 14u);
  // Little-endian samples, in the order written.
  const std::vector<std::uint8_t> samples(b.begin() + 44, b.end());
  EXPECT_EQ(samples, (std::vector<std::uint8_t>{0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0x80, 0xFE, 0xFF, 2, 1}));
}

TEST(WavFile, AFileWithoutSamplesIsAValidEmptySound) {
  TScratchFile file("empty.wav");
  TWavWriter wav(file.Path);
  ASSERT_TRUE(wav.Finish());
  const auto b = file.Bytes();
  ASSERT_EQ(b.size(), 44u);
  EXPECT_EQ(U32(b, 4), 36u);
  EXPECT_EQ(U32(b, 40), 0u);
  // Finished is finished: nothing more goes in.
  EXPECT_FALSE(wav.Write(std::vector<std::int16_t>{1}));
  EXPECT_FALSE(wav.Finish());
  EXPECT_NE(wav.Error().find("already finished"), std::string::npos);
  EXPECT_EQ(file.Bytes().size(), 44u);
}

TEST(WavFile, AWriteThatFailsOrStopsEarlyLeavesNoHalfFile) {
  // Never finished: no file, and an older one stays as it was.
  TScratchFile file("kept.wav");
  file.Write({'o', 'l', 'd'});
  {
    TWavWriter wav(file.Path);
    ASSERT_TRUE(wav.Write(std::vector<std::int16_t>(960, 5)));
  }
  EXPECT_EQ(file.Bytes(), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  // A folder that is not there: every step fails, with the file named, and nothing is made.
  const std::string missing = testing::TempDir() + "tarnyx-no-such-folder/sound.wav";
  TWavWriter bad(missing);
  EXPECT_FALSE(bad.Good());
  EXPECT_FALSE(bad.Write(std::vector<std::int16_t>(960, 5)));
  EXPECT_FALSE(bad.Finish());
  EXPECT_NE(bad.Error().find(missing), std::string::npos);
  EXPECT_EQ(std::fopen(missing.c_str(), "rb"), nullptr);
}

TEST(WavFile, AFullDiskIsAFailureNotAShortFile) {
  // /dev/full takes no bytes: the failure shows by the end at the latest.
  if (std::FILE* probe = std::fopen("/dev/full", "wb")) std::fclose(probe);
  else GTEST_SKIP() << "no /dev/full here";
  TWavWriter wav("/dev/full");
  wav.Write(std::vector<std::int16_t>(FrameSamples * 50, 7));
  EXPECT_FALSE(wav.Finish());
  EXPECT_FALSE(wav.Error().empty());
}
