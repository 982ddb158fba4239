// Recording real frames and playing them back: the same final state on every input path and
// device, drift found at the right checkpoint, and a recording cut short still plays.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/CommandLine.h"
#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "demo/DemoRecorder.h"
#include "demo/DemoTape.h"
#include "demo/GameChecksum.h"
#include "framework/Random.h"
#include "game/Main.h"
#include "tests/demo/DemoGameFixture.h"

namespace {

constexpr std::uint32_t Seed = 45296789;

// What a flight leaves behind, to compare a replay with its recording.
struct TOutcome {
  double X, Y;
  float VX, VY;
  int Heading, Hull;
  std::uint32_t Random;
  bool operator==(const TOutcome&) const = default;
};
TOutcome Outcome() { return {Player.X, Player.Y, Player.VX, Player.VY, Player.Heading, Player.Hull, RandomState}; }

void Hook(TForm1& form, TDemoRecorder& recorder) {
  form.OnFrameInput = [&recorder](TInputStates& s) { recorder.FrameInput(s); };
  form.OnFrameEnd = [&recorder] { recorder.FrameEnd(); };
}
void Hook(TForm1& form, TDemoPlayer& player) {
  form.OnFrameInput = [&player](TInputStates& s) { player.FrameInput(s); };
  form.OnFrameEnd = [&player] { player.FrameEnd(); };
}

// Plays a demo in a new game on the given path, with live input that must make no difference.
struct TReplay {
  TOutcome Outcome;
  std::uint32_t Desync;
  std::uint32_t Frames;
  std::uint64_t Checksum;
};
TReplay Replay(TDemoReader& demo, bool directInput) {
  TDemoTestGame game(demo.Header().Seed, directInput);
  TDemoPlayer player(demo);
  Hook(*game.Form, player);
  game.Keys({KeyRight, KeyUp});
  game.Stick(32767, -32768, 0x80000000u);
  for (int turn = 0; !player.Done() && turn < 100000; ++turn) game.Frame();
  player.Conclude();
  return {Outcome(), player.DesyncFrame(), player.FramesPlayed(), player.Checksum()};
}

enum TDevice { dvKeyboard, dvJoystick };

// A flight on one device: turns, thrust, fine control, and frames with nothing held.
void Fly(TDemoTestGame& game, TDevice device, int frame) {
  bool left = frame <= 20, up = frame > 20 && frame <= 70, right = frame > 90 && frame <= 110,
       fine = frame > 100 && frame <= 160, fineUp = frame > 140 && frame <= 160;
  if (device == dvKeyboard) {
    std::vector<std::pair<int, int>> keys;
    if (left) keys.push_back(KeyLeft);
    if (up || fineUp) keys.push_back(KeyUp);
    if (right) keys.push_back(KeyRight);
    if (fine) keys.push_back(KeyShift);
    game.Keys({});
    for (auto [scan, vk] : keys) game.Backend.ScanCodes[scan] = 0x80, game.Backend.VirtualKeys[vk] = 0x80;
  } else {
    game.Stick(left ? -32768 : right ? 32767 : 0, up || fineUp ? -32768 : 0, fine ? 0x80000000u : 0);
  }
}

class DemoRoundTrip : public testing::TestWithParam<std::tuple<bool, TDevice>> {};

TEST_P(DemoRoundTrip, ReplayEndsInTheRecordedState) {
  auto [directInput, device] = GetParam();
  TScratchFile file(std::string("roundtrip-") + (directInput ? "di" : "fb") + (device ? "-joy" : "-keys"));
  TOutcome recorded;
  {
    TDemoTestGame game(Seed, directInput);
    TDemoRecorder recorder(file.Path, Seed, GameVersionText);
    Hook(*game.Form, recorder);
    for (int frame = 1; frame <= 237; ++frame) {
      Fly(game, device, frame);
      game.Frame();
    }
    std::string error;
    ASSERT_TRUE(recorder.Finish(error)) << error;
    recorded = Outcome();
  }
  // The flight did steer: a replay without its input could not end in the same place.
  ASSERT_NE(recorded.Heading, 0);
  ASSERT_NE(recorded.VX, 0.0f);
  TDemoReader demo = TDemoReader::FromFile(file.Path);
  EXPECT_EQ(demo.Frames(), 237u);
  EXPECT_EQ(demo.Header().Seed, Seed);
  // On the path it was recorded on, and on the other one.
  for (bool path : {directInput, !directInput}) {
    SCOPED_TRACE(path ? "replayed with DirectInput" : "replayed on the fall-back path");
    TDemoReader again = TDemoReader::FromFile(file.Path);
    TReplay replay = Replay(again, path);
    EXPECT_EQ(replay.Desync, 0u);
    EXPECT_EQ(replay.Frames, 237u);
    EXPECT_EQ(replay.Outcome, recorded);
    EXPECT_EQ(replay.Checksum, *demo.FinalChecksum());
  }
}

INSTANTIATE_TEST_SUITE_P(PathsAndDevices, DemoRoundTrip,
                         testing::Combine(testing::Bool(), testing::Values(dvKeyboard, dvJoystick)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) ? "DirectInput" : "FallBack") +
                                  (std::get<1>(info.param) == dvKeyboard ? "Keyboard" : "Joystick");
                         });

// A flight recorded in memory gives, whenever asked, a demo of the flight so far that replays to
// the state the game was in when it was asked, and goes on recording; taken at the end, it is
// the file the recorder writes of the same flight, byte for byte.
TEST(DemoTape, GivesTheFlightSoFarWhileItGoesOn) {
  TScratchFile file("tape");
  struct TTaken {
    std::vector<std::uint8_t> Bytes;
    TOutcome Outcome;
  };
  std::vector<TTaken> taken;
  {
    TDemoTestGame game(Seed, true);
    TDemoRecorder recorder(file.Path, Seed, GameVersionText);
    TDemoTape tape(Seed, GameVersionText);
    game.Form->OnFrameInput = [&](TInputStates& s) {
      recorder.FrameInput(s);
      tape.FrameInput(s);
    };
    game.Form->OnFrameEnd = [&] {
      recorder.FrameEnd();
      tape.FrameEnd();
    };
    // Taken between checkpoints, right at one and one frame after.
    for (int frame = 1; frame <= 237; ++frame) {
      Fly(game, dvKeyboard, frame);
      game.Frame();
      if (frame == 120 || frame == 150 || frame == 151) taken.push_back({tape.Take(), Outcome()});
    }
    EXPECT_EQ(tape.Frames(), 237u);
    EXPECT_FALSE(tape.Full());
    taken.push_back({tape.Take(), Outcome()});
    std::string error;
    ASSERT_TRUE(recorder.Finish(error)) << error;
  }
  EXPECT_EQ(taken.back().Bytes, file.Bytes());
  for (std::uint32_t want : {120u, 150u, 151u, 237u}) {
    SCOPED_TRACE("taken after frame " + std::to_string(want));
    const TTaken& t = *std::find_if(taken.begin(), taken.end(), [&](const TTaken& t) {
      return TDemoReader(t.Bytes).Frames() == want;
    });
    TDemoReader demo(t.Bytes);
    EXPECT_FALSE(demo.Truncated());
    EXPECT_EQ(demo.Header().FrameCount, want);
    TReplay replay = Replay(demo, false);
    EXPECT_EQ(replay.Desync, 0u);
    EXPECT_EQ(replay.Frames, want);
    EXPECT_EQ(replay.Outcome, t.Outcome);
    EXPECT_EQ(replay.Checksum, *demo.FinalChecksum());
  }
}

// Records 200 frames on the keyboard: Left held for frames 61-80 and Up for 131-140.
void RecordKeys(const std::string& path) {
  TDemoTestGame game(Seed, true);
  TDemoRecorder recorder(path, Seed, GameVersionText);
  Hook(*game.Form, recorder);
  for (int frame = 1; frame <= 200; ++frame) {
    if (frame >= 61 && frame <= 80) game.Keys({KeyLeft});
    else if (frame >= 131 && frame <= 140) game.Keys({KeyUp});
    else game.Keys({});
    game.Frame();
  }
  std::string error;
  ASSERT_TRUE(recorder.Finish(error)) << error;
}

// The offset of the first input byte's new value in the record of frame `frame`, which must be
// a frame record that changes that byte; walks the records as the format lays them out.
std::size_t ValueOfFrame(const std::vector<std::uint8_t>& demo, std::uint32_t frame) {
  std::size_t at = DemoGameVersionAt + 1 + demo[DemoGameVersionAt];
  std::uint32_t frames = 0;
  while (at < demo.size()) {
    std::uint8_t tag = demo[at];
    if (tag <= DemoLastMask) {
      if (++frames == frame) {
        EXPECT_TRUE(tag & 1) << "frame " << frame << " does not change the first byte";
        return at + 1;
      }
      at += 1 + static_cast<std::size_t>(__builtin_popcount(tag));
    } else if (tag >= DemoRunTag && tag < DemoRunTag + 50) {
      frames += tag - DemoRunTag + 1u;
      ++at;
    } else {
      at += DemoChecksumRecordSize;
    }
    EXPECT_LT(frames, frame) << "frame " << frame << " lies in a run";
  }
  ADD_FAILURE() << "no frame " << frame;
  return 0;
}

struct TFlip {
  const char* Name;
  std::uint32_t Frame;
  std::uint8_t Value;
  std::uint32_t Desync;  // 0: none expected
};

class DemoFlip : public testing::TestWithParam<TFlip> {};

TEST_P(DemoFlip, IsFoundAtTheNextCheckpoint) {
  TScratchFile file(std::string("flip-") + GetParam().Name);
  RecordKeys(file.Path);
  std::vector<std::uint8_t> bytes = file.Bytes();
  bytes[ValueOfFrame(bytes, GetParam().Frame)] = GetParam().Value;
  TDemoReader demo(bytes);
  TReplay replay = Replay(demo, true);
  EXPECT_EQ(replay.Desync, GetParam().Desync);
  EXPECT_EQ(replay.Frames, 200u);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, DemoFlip,
    testing::Values(TFlip{"Unchanged", 61, 0x04, 0},
                    // Up besides Left: the ship thrusts where it did not.
                    TFlip{"ThrustAdded", 61, 0x05, 100},
                    // Down besides Left: the game ignores Down, the input digest does not.
                    TFlip{"IgnoredStateAdded", 61, 0x06, 100},
                    // No Up at frame 131: the thrust of frames 131-140 is lost.
                    TFlip{"ThrustLost", 131, 0x00, 150}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DemoRecorder, APartFileKeepsEveryFlushedSecond) {
  TScratchFile file("cut");
  std::vector<std::uint8_t> part;
  {
    TDemoTestGame game(Seed, true);
    TDemoRecorder recorder(file.Path, Seed, GameVersionText);
    Hook(*game.Form, recorder);
    for (int frame = 1; frame <= 175; ++frame) {
      game.Keys(frame % 30 < 10 ? std::initializer_list<std::pair<int, int>>{KeyRight} : std::initializer_list<std::pair<int, int>>{});
      game.Frame();
    }
    // What a crash now would leave: everything up to the checkpoint of frame 150.
    part = file.Bytes(".part");
    EXPECT_TRUE(file.Bytes().empty());
    std::string error;
    ASSERT_TRUE(recorder.Finish(error)) << error;
  }
  EXPECT_TRUE(file.Bytes(".part").empty());
  TDemoReader whole = TDemoReader::FromFile(file.Path);
  EXPECT_EQ(whole.Header().FrameCount, 175u);

  TDemoReader cut(part);
  EXPECT_TRUE(cut.Truncated());
  EXPECT_EQ(cut.Frames(), 150u);
  EXPECT_EQ(cut.Header().FrameCount, DemoFramesUnfinished);
  TReplay replay = Replay(cut, false);
  EXPECT_EQ(replay.Frames, 150u);
  EXPECT_EQ(replay.Desync, 0u);
}

TEST(DemoRecorder, NeverOverwritesAnotherRecordingsRemains) {
  TScratchFile file("remains");
  TScratchFile part("remains.part");
  part.Write({1, 2, 3});
  THeadlessBackend backend;
  SetBackend(&backend);
  try {
    TDemoRecorder recorder(file.Path, Seed, GameVersionText);
    FAIL() << "recorded over " << part.Path;
  } catch (const EDemoError& e) {
    EXPECT_NE(std::string(e.what()).find("exists"), std::string::npos) << e.what();
  }
  EXPECT_EQ(part.Bytes(), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_THROW(TDemoRecorder(testing::TempDir() + "no/such/folder/x", Seed, GameVersionText), EDemoError);
  SetBackend(nullptr);
}

TEST(DemoRecorder, ADiscardedRecordingLeavesNothing) {
  TScratchFile file("discarded");
  TDemoRecorder recorder(file.Path, Seed, GameVersionText);
  EXPECT_FALSE(file.Bytes(".part").empty());
  recorder.Discard();
  EXPECT_TRUE(file.Bytes(".part").empty());
  EXPECT_TRUE(file.Bytes().empty());
}

}  // namespace
