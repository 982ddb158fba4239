// The demo file: what the writer encodes reads back the same, and the reader refuses every kind
// of damage with one line, or keeps the whole frames of a cut recording.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "demo/DemoFormat.h"
#include "demo/DemoReader.h"
#include "demo/DemoWriter.h"

namespace {

const char* const Version = "Tarnyx 0.06 Beta (8 bit edition)";

// The checksum the tests give frame f's checkpoint: any value that differs per frame will do.
std::uint64_t FakeChecksum(std::uint32_t frame) { return 0x9E3779B97F4A7C15ull * (frame + 1); }

// A demo of these frames, its checkpoints and end written as the recorder writes them.
std::vector<std::uint8_t> Encode(const std::vector<TInputStates>& frames, std::uint32_t seed = 45296789) {
  TDemoWriter writer(seed, Version);
  for (const TInputStates& s : frames) {
    writer.Frame(s);
    if (writer.CheckpointDue()) writer.Checkpoint(FakeChecksum(writer.Frames()));
  }
  writer.End(FakeChecksum(0xFFFF));
  std::vector<std::uint8_t> bytes = writer.Bytes;
  PutLittleEndian(&bytes[DemoFrameCountAt], frames.size(), 4);  // as the recorder patches it
  return bytes;
}

// Random input: long stretches without change, and changes in any byte.
std::vector<TInputStates> RandomFrames(std::mt19937& rng, std::size_t count) {
  std::vector<TInputStates> frames;
  TInputStates s;
  for (std::size_t i = 0; i < count; ++i) {
    if (rng() % 4 == 0) {
      int byte = static_cast<int>(rng() % 5);
      s.Bytes[byte] = static_cast<std::uint8_t>(rng() & (byte == 4 ? 0x0F : 0xFF));
    }
    frames.push_back(s);
  }
  return frames;
}

std::vector<TInputStates> ReadFrames(TDemoReader& reader) {
  std::vector<TInputStates> frames;
  TInputStates s;
  while (reader.NextFrame(s)) frames.push_back(s);
  return frames;
}

std::size_t RecordsAt() { return DemoGameVersionAt + 1 + std::char_traits<char>::length(Version); }

TEST(DemoFile, WhatIsWrittenReadsBack) {
  std::mt19937 rng(7);
  for (std::size_t count : {0u, 1u, 49u, 50u, 51u, 100u, 137u, 1000u}) {
    SCOPED_TRACE(count);
    std::vector<TInputStates> frames = RandomFrames(rng, count);
    TDemoReader reader(Encode(frames, 86399999));
    EXPECT_EQ(reader.Header().Seed, 86399999u);
    EXPECT_EQ(reader.Header().GameVersion, Version);
    EXPECT_EQ(reader.Header().FormatVersion, DemoFormatVersion);
    EXPECT_EQ(reader.Frames(), count);
    EXPECT_FALSE(reader.Truncated());
    EXPECT_EQ(reader.FinalChecksum(), FakeChecksum(0xFFFF));
    ASSERT_EQ(reader.Checkpoints().size(), count / 50);
    for (std::size_t i = 0; i < reader.Checkpoints().size(); ++i) {
      EXPECT_EQ(reader.Checkpoints()[i].Frame, 50 * (i + 1));
      EXPECT_EQ(reader.Checkpoints()[i].Checksum, FakeChecksum(50 * (i + 1)));
    }
    EXPECT_EQ(ReadFrames(reader), frames);
    EXPECT_EQ(reader.FramesPlayed(), count);
  }
}

TEST(DemoFile, IdleFramesCostOneByteASecond) {
  // 50 frames with nothing held: one run and the checkpoint; then one change is two bytes.
  std::vector<TInputStates> frames(100);
  for (std::size_t i = 50; i < 100; ++i) frames[i] = TInputStates{stUp};
  std::vector<std::uint8_t> bytes = Encode(frames);
  EXPECT_EQ(bytes.size(), RecordsAt() + 1 + 13 + 2 + 1 + 13 + 13);
  EXPECT_EQ(bytes[RecordsAt()], DemoRunTag + 49);
}

TEST(DemoFile, WriterKeepsTheFormatsOrder) {
  TDemoWriter writer(0, Version);
  for (int i = 0; i < 50; ++i) writer.Frame({});
  EXPECT_THROW(writer.Frame({}), std::logic_error);  // the checkpoint comes first
  EXPECT_THROW(writer.End(0), std::logic_error);
  writer.Checkpoint(1);
  EXPECT_THROW(writer.Checkpoint(1), std::logic_error);
  writer.End(2);
  EXPECT_THROW(writer.Frame({}), std::logic_error);
  EXPECT_THROW(TDemoWriter(86400000, Version), std::invalid_argument);
  EXPECT_THROW(TDemoWriter(0, ""), std::invalid_argument);
  EXPECT_THROW(TDemoWriter(0, "tab\there"), std::invalid_argument);
  EXPECT_THROW(TDemoWriter(0, std::string(65, 'v')), std::invalid_argument);
}

// A valid demo of 120 frames, changed by Damage, and the one line the reader must refuse it with.
struct TDamage {
  const char* Name;
  std::function<void(std::vector<std::uint8_t>&)> Damage;
  std::string Message;
};

// The demo the damage is done to: frames 1-40 idle, 41 Up, 42-120 idle.
std::vector<std::uint8_t> Sample() {
  std::vector<TInputStates> frames(120);
  for (std::size_t i = 40; i < 120; ++i) frames[i] = TInputStates{stUp};
  return Encode(frames);
}
// Where its records lie: the run of 40, the frame of Up (mask, value), the run of 9, the
// checkpoint of frame 50, ...
const std::size_t R = RecordsAt();
const std::size_t FirstCheckpoint = R + 1 + 2 + 1;

std::string Corrupt(std::size_t at) { return "corrupt at byte " + std::to_string(at); }

const TDamage Damages[] = {
    {"Empty", [](auto& b) { b.clear(); }, "not a demo: the file is empty"},
    {"Text", [](auto& b) { b.assign({'h', 'e', 'l', 'l', 'o', '\n'}); }, "not a demo"},
    {"Png", [](auto& b) { b.assign({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}); }, "not a demo"},
    {"OneWrongMagicByte", [](auto& b) { b[7] = 0; }, "not a demo"},
    {"OnlyTheMagicsStart", [](auto& b) { b.resize(4); }, "truncated in its header"},
    {"CutInTheVersionString", [](auto& b) { b.resize(DemoGameVersionAt + 5); }, "truncated in its header"},
    {"NewerFormat", [](auto& b) { b[DemoFormatVersionAt] = 2; },
     "made by a newer version (demo format 2; this game reads format 1)"},
    {"NewerFormatWithAShorterHeader", [](auto& b) { b[DemoFormatVersionAt] = 2, b.resize(DemoFormatVersionAt + 2); },
     "made by a newer version (demo format 2; this game reads format 1)"},
    {"MuchNewerFormat", [](auto& b) { b[DemoFormatVersionAt + 1] = 1; },
     "made by a newer version (demo format 257; this game reads format 1)"},
    {"FormatZero", [](auto& b) { b[DemoFormatVersionAt] = 0; }, Corrupt(DemoFormatVersionAt)},
    {"SeedPastMidnight", [](auto& b) { PutLittleEndian(&b[DemoSeedAt], 86400000, 4); }, Corrupt(DemoSeedAt)},
    {"NoVersion", [](auto& b) { b[DemoGameVersionAt] = 0; }, Corrupt(DemoGameVersionAt)},
    {"LongVersion", [](auto& b) { b[DemoGameVersionAt] = 65; }, Corrupt(DemoGameVersionAt)},
    {"ControlCharacterInVersion", [](auto& b) { b[DemoGameVersionAt + 3] = '\n'; }, Corrupt(DemoGameVersionAt + 3)},
    {"UnknownTag", [](auto& b) { b[R] = 0x20; }, Corrupt(R)},
    {"RunOfFiftyOne", [](auto& b) { b[R] = DemoRunTag + 50; }, Corrupt(R)},
    // The run after frame 41 made 30 frames long crosses the checkpoint of frame 50.
    {"RunCrossesACheckpoint", [](auto& b) { b[R + 3] = DemoRunTag + 29; }, Corrupt(R + 3)},
    // The checkpoint of frame 50 turned into an empty frame: frame 51 passes a due checkpoint.
    {"MissingCheckpoint", [](auto& b) { b[FirstCheckpoint] = 0; }, Corrupt(FirstCheckpoint)},
    {"CheckpointOfAnotherFrame", [](auto& b) { b[FirstCheckpoint + 1] = 49; }, Corrupt(FirstCheckpoint + 1)},
    // The run before the checkpoint one shorter: the checkpoint comes after frame 49.
    {"CheckpointNotDue", [](auto& b) { b[R + 3] = DemoRunTag + 7; }, Corrupt(FirstCheckpoint + 1)},
    {"HighNibbleOfTheLastByte", [](auto& b) { b[R + 1] = 0x10, b[R + 2] = 0x80; }, Corrupt(R + 2)},
    {"BytesAfterTheEnd", [](auto& b) { b.push_back(0); }, Corrupt(Sample().size())},
    {"HeaderCountDisagrees", [](auto& b) { b[DemoFrameCountAt] = 119; }, Corrupt(DemoFrameCountAt)},
    {"EndOfAnotherFrame", [](auto& b) { b[b.size() - 12] = 121; }, Corrupt(Sample().size() - 12)},
    {"EndWhereACheckpointIsDue", [](auto& b) {
       // The last run (frames 101-120) made 50 long: frame 150 ends without its checkpoint.
       b[b.size() - 14] = DemoRunTag + 49;
       PutLittleEndian(&b[b.size() - 12], 150, 4);
       PutLittleEndian(&b[DemoFrameCountAt], 150, 4);
     },
     Corrupt(Sample().size() - 13)},
    {"TooLarge", [](auto& b) { b.resize(DemoMaxBytes + 1); }, "larger than 64 MiB: not a demo"},
};

class DemoRefusal : public testing::TestWithParam<TDamage> {};

TEST_P(DemoRefusal, IsOneClearLine) {
  std::vector<std::uint8_t> bytes = Sample();
  ASSERT_NO_THROW(TDemoReader{bytes});
  GetParam().Damage(bytes);
  try {
    TDemoReader reader(bytes);
    FAIL() << "read " << reader.Frames() << " frames";
  } catch (const EDemoError& e) {
    EXPECT_EQ(std::string(e.what()), GetParam().Message);
  }
}

INSTANTIATE_TEST_SUITE_P(Damages, DemoRefusal, testing::ValuesIn(Damages),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(DemoFile, ACutRecordingKeepsItsWholeFrames) {
  std::mt19937 rng(11);
  std::vector<TInputStates> frames = RandomFrames(rng, 260);
  std::vector<std::uint8_t> whole = Encode(frames);
  whole[DemoFrameCountAt] = 0xFF;  // as a recording in progress has it
  std::uint32_t before = 0;
  for (std::size_t size = RecordsAt(); size < whole.size(); ++size) {
    SCOPED_TRACE(size);
    TDemoReader reader(std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<long>(size)));
    ASSERT_TRUE(reader.Truncated());
    EXPECT_FALSE(reader.FinalChecksum());
    // One more byte never loses a frame, and the frames kept are the recorded ones.
    EXPECT_GE(reader.Frames(), before);
    before = reader.Frames();
    std::vector<TInputStates> kept = ReadFrames(reader);
    ASSERT_EQ(kept.size(), reader.Frames());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), frames.begin()));
    // A checkpoint cut in half is lost, but no other.
    std::size_t due = reader.Frames() / 50;
    EXPECT_TRUE(reader.Checkpoints().size() == due || reader.Checkpoints().size() + 1 == due);
    EXPECT_EQ(reader.TruncationWarning(), "truncated at frame " + std::to_string(reader.Frames() + 1) +
                                              ": replaying its " + std::to_string(reader.Frames()) + " whole frames");
  }
  // Cut inside the end marker: every frame is there.
  EXPECT_EQ(before, 260u);
  EXPECT_THROW(TDemoReader(std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<long>(RecordsAt() - 1))),
               EDemoError);
}

TEST(DemoFile, AFinishedRecordingWhoseCountWasNotPatchedReads) {
  // The end marker was written but the process ended before the header's count was.
  std::vector<std::uint8_t> bytes = Sample();
  PutLittleEndian(&bytes[DemoFrameCountAt], DemoFramesUnfinished, 4);
  TDemoReader reader(bytes);
  EXPECT_FALSE(reader.Truncated());
  EXPECT_EQ(reader.Frames(), 120u);
}

TEST(DemoFile, ChecksumFieldsAreLittleEndianOnEveryMachine) {
  std::uint8_t b[8];
  PutLittleEndian(b, 0x0102030405060708ull, 8);
  EXPECT_EQ(b[0], 0x08);
  EXPECT_EQ(b[7], 0x01);
  EXPECT_EQ(GetLittleEndian(b, 8), 0x0102030405060708ull);
  EXPECT_EQ(GetLittleEndian(b, 2), 0x0708u);
}

}  // namespace
