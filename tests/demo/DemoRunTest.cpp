// The demo run every front end shares: what it refuses and how it says so, what an interrupted
// recording leaves, a name too long for its part file, and a playback stopped early.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "demo/DemoRun.h"
#include "tests/demo/DemoGameFixture.h"

namespace {

namespace fs = std::filesystem;
constexpr std::uint32_t Seed = 45296789;

// A demo run whose lines are kept.
struct TSaid {
  std::vector<std::string> Out, Err;
  TDemoRun Run{"tool", [this](const std::string& l) { Out.push_back(l); },
               [this](const std::string& l) { Err.push_back(l); }};
};

// Plays frames of a game of seed with the run hooked in; keys held in the first ten.
void Fly(TDemoRun& run, int frames) {
  TDemoTestGame game(run.Seed(), true);
  game.Form->OnFrameInput = [&run](TInputStates& s) { run.FrameInput(s); };
  game.Form->OnFrameEnd = [&run] { run.FrameEnd(); };
  for (int frame = 1; frame <= frames && !run.Done(); ++frame) {
    game.Keys(frame <= 10 ? std::initializer_list<std::pair<int, int>>{KeyUp, KeyLeft}
                          : std::initializer_list<std::pair<int, int>>{});
    game.Frame();
  }
}

class DemoRunFolder : public testing::Test {
 protected:
  void SetUp() override {
    // A folder of each test's own: ctest runs the tests side by side.
    Folder = testing::TempDir() + "tarnyx-demorun-" +
             testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    fs::remove_all(Folder);
    fs::create_directories(Folder);
  }
  void TearDown() override { fs::remove_all(Folder); }
  std::string Folder;
};

TEST_F(DemoRunFolder, OnlyANewNameOrARegularFileTakesARecording) {
  std::FILE* f = std::fopen((Folder + "old.tnxdemo").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  fs::create_directory(Folder + "sub");
  fs::create_directory_symlink(Folder + "sub", Folder + "link");
  EXPECT_EQ(TDemoRun::RecordTargetProblem(Folder + "new.tnxdemo"), "");
  EXPECT_EQ(TDemoRun::RecordTargetProblem(Folder + "old.tnxdemo"), "");
  EXPECT_EQ(TDemoRun::RecordTargetProblem(Folder + "sub"), "it is a folder, not a file");
  EXPECT_EQ(TDemoRun::RecordTargetProblem(Folder + "link"), "it is a folder, not a file");
  EXPECT_EQ(TDemoRun::RecordTargetProblem(Folder + "none/"), "the name ends in '/': it names a folder, not a file");
  EXPECT_EQ(TDemoRun::RecordTargetProblem(""), "no file is named");

  TSaid said;
  EXPECT_FALSE(said.Run.Record(Folder + "sub", Seed));
  EXPECT_EQ(said.Run.Status(), DemoStatusBadFile);
  EXPECT_EQ(said.Run.Refusal(), "it is a folder, not a file");
  EXPECT_EQ(said.Err, std::vector<std::string>{"tool: cannot record into " + Folder + "sub: it is a folder, not a file"});
  EXPECT_TRUE(fs::is_empty(Folder + "sub"));
  EXPECT_FALSE(fs::exists(Folder + "sub.part"));
  // A refused run ends with its refusal, saying nothing more.
  EXPECT_EQ(said.Run.Finish(), DemoStatusBadFile);
  EXPECT_EQ(said.Err.size(), 1u);
}

TEST_F(DemoRunFolder, AnInterruptedRecordingLeavesItsFramesInThePartFile) {
  TSaid said;
  const std::string path = Folder + "cut.tnxdemo";
  ASSERT_TRUE(said.Run.Record(path, Seed));
  Fly(said.Run, 75);  // one checkpoint written, 25 frames not yet
  EXPECT_EQ(said.Run.Interrupted("the display closed the connection"), DemoStatusCannotWrite);
  EXPECT_EQ(said.Err, std::vector<std::string>{"tool: the recording is incomplete (the display closed the "
                                                "connection): its 75 frames are in " + path +
                                                ".part, which plays as a truncated demo"});
  EXPECT_FALSE(fs::exists(path));
  TDemoReader kept = TDemoReader::FromFile(path + ".part");
  EXPECT_TRUE(kept.Truncated());
  EXPECT_EQ(kept.Frames(), 75u);
  // Nothing more is said or done at the end.
  EXPECT_EQ(said.Run.Finish(), DemoStatusCannotWrite);
  EXPECT_TRUE(said.Out.empty());
  EXPECT_TRUE(fs::exists(path + ".part"));
}

TEST_F(DemoRunFolder, ANameWithNoRoomForPartRecordsBesideIt) {
  const std::string path = Folder + std::string(251, 'n');
  TSaid said;
  ASSERT_TRUE(said.Run.Record(path, Seed)) << said.Err.front();
  const std::string part = said.Run.Recorder()->PartPath();
  EXPECT_EQ(part.substr(0, Folder.size() + 7), Folder + "tarnyx-");
  EXPECT_EQ(part.size(), Folder.size() + 28);
  Fly(said.Run, 60);
  EXPECT_EQ(said.Run.Finish(), DemoStatusOk);
  EXPECT_EQ(said.Out, std::vector<std::string>{"recorded 60 frames into " + path});
  EXPECT_EQ(TDemoReader::FromFile(path).Frames(), 60u);
  EXPECT_FALSE(fs::exists(part));

  // The same name again: the same part file beside it, which an interrupted recording's remains
  // keep from being overwritten.
  TSaid again;
  ASSERT_TRUE(again.Run.Record(path, Seed));
  EXPECT_EQ(again.Run.Recorder()->PartPath(), part);
  again.Run.Interrupted("stopped");
  TSaid third;
  EXPECT_FALSE(third.Run.Record(path, Seed));
  EXPECT_EQ(third.Run.Status(), DemoStatusCannotWrite);
  EXPECT_NE(third.Run.Refusal().find(part + " exists"), std::string::npos) << third.Run.Refusal();
}

TEST_F(DemoRunFolder, ARecordingIsNotRenamedOverWhatItsTargetBecame) {
  TSaid said;
  const std::string path = Folder + "became.tnxdemo";
  ASSERT_TRUE(said.Run.Record(path, Seed));
  Fly(said.Run, 20);
  fs::create_directory(path);  // meanwhile, something made a folder of the name
  EXPECT_EQ(said.Run.Finish(), DemoStatusCannotWrite);
  ASSERT_EQ(said.Err.size(), 1u);
  EXPECT_EQ(said.Err[0], "tool: the recording is incomplete: " + path + " is no longer a regular file: the demo stays in " +
                             path + ".part");
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_EQ(TDemoReader::FromFile(path + ".part").Frames(), 20u);
}

// A demo of 120 frames, whole and cut inside frame 101.
std::vector<std::uint8_t> Recorded120(const std::string& folder) {
  TSaid said;
  const std::string path = folder + "120.tnxdemo";
  EXPECT_TRUE(said.Run.Record(path, Seed));
  Fly(said.Run, 120);
  EXPECT_EQ(said.Run.Finish(), DemoStatusOk);
  std::vector<std::uint8_t> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  EXPECT_NE(f, nullptr);
  if (!f) return bytes;
  for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<std::uint8_t>(c));
  std::fclose(f);
  return bytes;
}

TEST_F(DemoRunFolder, APlaybackStoppedEarlyIsDoneThereAndACutDemoStaysABadFile) {
  const std::vector<std::uint8_t> whole = Recorded120(Folder);
  TSaid first;
  ASSERT_TRUE(first.Run.PlayBytes("whole", whole, false));
  first.Run.StopAfter(30);
  Fly(first.Run, 1000);
  EXPECT_TRUE(first.Run.Done());
  EXPECT_EQ(first.Run.Player()->FramesPlayed(), 30u);
  EXPECT_EQ(first.Run.Finish(), DemoStatusOk);
  EXPECT_TRUE(first.Err.empty());  // stopped where it was asked to: nothing to say
  ASSERT_EQ(first.Out.size(), 1u);
  EXPECT_EQ(first.Out[0].substr(0, 10), "30 frames,");

  TSaid cut;
  ASSERT_TRUE(cut.Run.PlayBytes("cut", std::vector<std::uint8_t>(whole.begin(), whole.end() - 14), true));
  EXPECT_EQ(cut.Run.Warnings(), std::vector<std::string>{"truncated at frame 101: replaying its 100 whole frames"});
  EXPECT_EQ(cut.Err, std::vector<std::string>{"tool: cut: truncated at frame 101: replaying its 100 whole frames"});
  cut.Run.StopAfter(10);
  Fly(cut.Run, 1000);
  EXPECT_EQ(cut.Run.Finish(), DemoStatusBadFile);
  ASSERT_EQ(cut.Out.size(), 1u);
  EXPECT_EQ(cut.Out[0].substr(0, 10), "10 frames,");  // the timedemo line
  EXPECT_NE(cut.Out[0].find(" fps"), std::string::npos);
}

TEST(DemoRun, RefusesWhatIsNoDemoInOneEscapedLine) {
  TSaid said;
  EXPECT_FALSE(said.Run.PlayBytes("odd\x1b[31m\xff.tnxdemo", {'G', 'I', 'F'}, false));
  EXPECT_EQ(said.Run.Status(), DemoStatusBadFile);
  EXPECT_EQ(said.Run.Refusal(), "not a demo");
  EXPECT_EQ(said.Err, std::vector<std::string>{"tool: odd\\x1b[31m\\xff.tnxdemo: not a demo"});
  EXPECT_FALSE(said.Run.Playing());
}

}  // namespace
