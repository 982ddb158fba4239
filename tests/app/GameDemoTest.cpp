// Demos around the game's message loop: a recording ended by a signal is complete, a timedemo
// plays every frame and reports its rate, and bad or drifting demos give their exit statuses.
#include <gtest/gtest.h>

#include <cctype>
#include <csignal>
#include <filesystem>
#include <functional>
#include <sstream>

#include "app/Form1.h"
#include "app/GameDemo.h"
#include "demo/DemoReader.h"
#include "game/Main.h"
#include "backends/headless/HeadlessBackend.h"
#include "shell/Application.h"
#include "tests/demo/DemoGameFixture.h"
#include "system/FileSizeLimit.h"

namespace {

constexpr std::uint32_t Seed = 45296789;

// Time passes while the loop waits or sleeps, as on a real machine; once it reaches StopAt, the
// backend sends the process Signal, as a user or a system would.
class TSignallingBackend : public THeadlessBackend {
 public:
  TSignallingBackend() { WaitingPassesTime = true; }
  bool WaitEvent(TBackendEvent& event, std::uint32_t timeoutMs) override {
    bool got = THeadlessBackend::WaitEvent(event, timeoutMs);
    SignalWhenDue();
    return got;
  }
  void SleepUntil(std::uint32_t time) override {
    THeadlessBackend::SleepUntil(time);
    SignalWhenDue();
  }
  int Signal = 0;
  std::uint32_t StopAt = 0;
  std::function<void()> BeforeSignal;  // a look at the game just before the signal

 private:
  void SignalWhenDue() {
    if (Signal && Clock >= StopAt) {
      int signal = Signal;
      Signal = 0;
      if (BeforeSignal) BeforeSignal();
      std::raise(signal);
    }
  }
};

// Whether text is pattern, where '#' stands for one digit and '+' for one or more.
bool MatchesDigits(const std::string& text, const std::string& pattern) {
  std::size_t t = 0;
  auto digit = [&] { return t < text.size() && std::isdigit(static_cast<unsigned char>(text[t])); };
  for (char p : pattern) {
    if (p == '#' || p == '+') {
      if (!digit()) return false;
      ++t;
      while (p == '+' && digit()) ++t;
    } else if (t >= text.size() || text[t++] != p) {
      return false;
    }
  }
  return t == text.size();
}

// What a demo run in the game's loop printed and returned.
struct TRun {
  int Status;
  std::string Out, Err;
};

// Runs the game with the demo options as the process entry does, on backend; beforeRun is called
// once the demo is prepared, with what it said so far.
TRun RunGame(TDemoOptions options, TSignallingBackend& backend, std::uint32_t clock = Seed,
             const std::function<void(std::ostringstream& err)>& beforeRun = nullptr) {
  std::ostringstream out, err;
  TGameDemo demo(options, out, err);
  int status = 0;
  if (!demo.Prepare(clock, status)) return {status, out.str(), err.str()};
  if (beforeRun) beforeRun(err);
  Player = TPlayer{};
  Stars = {};
  backend.TimeOfDayMs = demo.Seed();
  SetBackend(&backend);
  ResetApplication();
  RegisterAppClasses();
  TForm1* form = nullptr;
  Application->CreateForm(form);
  demo.Run(*form);
  status = demo.Finish();
  ResetApplication();
  SetBackend(nullptr);
  return {status, out.str(), err.str()};
}

class GameDemoSignal : public testing::TestWithParam<int> {};

TEST_P(GameDemoSignal, EndsTheRecordingWithACompleteFile) {
  TScratchFile file(GetParam() == SIGTERM ? "sigterm" : "sigint");
  TSignallingBackend backend;
  backend.Signal = GetParam();
  backend.StopAt = 3000;  // about 150 frames of 20 ms
  TRun run = RunGame({TDemoOptions::dmRecord, file.Path}, backend);
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  TDemoReader demo = TDemoReader::FromFile(file.Path);
  EXPECT_FALSE(demo.Truncated());
  EXPECT_GT(demo.Frames(), 100u);
  EXPECT_EQ(demo.Header().Seed, Seed);
  EXPECT_EQ(run.Out, "recorded " + std::to_string(demo.Frames()) + " frames into " + file.Path + "\n");
  EXPECT_TRUE(file.Bytes(".part").empty());
  // The handlers are gone with the loop.
  EXPECT_EQ(std::signal(GetParam(), SIG_DFL), SIG_DFL);

  // And it plays back to the same state, as fast as it goes.
  TSignallingBackend again;
  TRun timed = RunGame({TDemoOptions::dmTime, file.Path}, again, 0);
  EXPECT_EQ(timed.Status, 0) << timed.Err;
  EXPECT_TRUE(MatchesDigits(timed.Out, std::to_string(demo.Frames()) + " frames, +.## seconds, +.# fps\n"))
      << timed.Out;
}

INSTANTIATE_TEST_SUITE_P(Signals, GameDemoSignal, testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) { return info.param == SIGTERM ? "Term" : "Int"; });

// A 120-frame demo recorded headless, for the playback cases.
void Record120(const TScratchFile& file) {
  TDemoTestGame game(Seed, true);
  TDemoRecorder recorder(file.Path, Seed, GameVersionText);
  game.Form->OnFrameInput = [&](TInputStates& s) { recorder.FrameInput(s); };
  game.Form->OnFrameEnd = [&] { recorder.FrameEnd(); };
  for (int frame = 1; frame <= 120; ++frame) {
    game.Keys(frame < 30 ? std::initializer_list<std::pair<int, int>>{KeyUp, KeyLeft}
                         : std::initializer_list<std::pair<int, int>>{});
    game.Frame();
  }
  std::string error;
  ASSERT_TRUE(recorder.Finish(error)) << error;
}

TEST(GameDemo, PlaybackReportsItsEndAndItsFaults) {
  TScratchFile file("playback");
  Record120(file);
  const std::vector<std::uint8_t> good = file.Bytes();

  TSignallingBackend backend;
  TRun played = RunGame({TDemoOptions::dmTime, file.Path}, backend);
  EXPECT_EQ(played.Status, 0) << played.Err;
  EXPECT_EQ(played.Err, "");
  EXPECT_EQ(played.Out.substr(0, 12), "120 frames, ");

  // The checksum of frame 100 damaged: found there, played to the end, status 3.
  std::vector<std::uint8_t> drifted = good;
  drifted[good.size() - 13 - 1 - 1] ^= 1;  // the end, the run of 20, the checksum's last byte
  file.Write(drifted);
  TRun drift = RunGame({TDemoOptions::dmTime, file.Path}, backend);
  EXPECT_EQ(drift.Status, DemoStatusDesync);
  EXPECT_EQ(drift.Err, "tarnyx: " + file.Path + ": demo desynchronised at frame 100\n");
  EXPECT_EQ(drift.Out.substr(0, 12), "120 frames, ");

  // Cut in frame 101's records: the 100 whole frames play, with a warning and status 2.
  file.Write(std::vector<std::uint8_t>(good.begin(), good.end() - 14));
  TRun cut = RunGame({TDemoOptions::dmTime, file.Path}, backend);
  EXPECT_EQ(cut.Status, DemoStatusBadFile);
  EXPECT_EQ(cut.Err, "tarnyx: " + file.Path + ": truncated at frame 101: replaying its 100 whole frames\n");
  EXPECT_EQ(cut.Out.substr(0, 12), "100 frames, ");

  // Not a demo at all: one line, status 2, no game.
  file.Write({'G', 'I', 'F', '8', '9', 'a'});
  TRun bad = RunGame({TDemoOptions::dmPlay, file.Path}, backend);
  EXPECT_EQ(bad.Status, DemoStatusBadFile);
  EXPECT_EQ(bad.Err, "tarnyx: " + file.Path + ": not a demo\n");
  EXPECT_EQ(bad.Out, "");
  file.Remove();
  TRun missing = RunGame({TDemoOptions::dmPlay, file.Path}, backend);
  EXPECT_EQ(missing.Status, DemoStatusBadFile);
  EXPECT_NE(missing.Err.find("cannot be read"), std::string::npos) << missing.Err;
}

TEST(GameDemo, ARecordingNeverReplacesAnInterruptedOnesRemains) {
  TScratchFile file("blocked");
  TScratchFile part("blocked.part");
  part.Write({0});
  TSignallingBackend backend;
  TRun run = RunGame({TDemoOptions::dmRecord, file.Path}, backend);
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("exists"), std::string::npos) << run.Err;
  EXPECT_EQ(part.Bytes(), std::vector<std::uint8_t>{0});
}

TEST(GameDemo, ARecordingThatCannotStartLeavesNothingBehind) {
  TScratchFile file("full");
  TSignallingBackend backend;
  TRun run;
  {
    TFileSizeLimit full(0);
    if (!full.Active()) GTEST_SKIP() << "no file size limit on this system";
    run = RunGame({TDemoOptions::dmRecord, file.Path}, backend);
  }
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("File too large"), std::string::npos) << run.Err;
  EXPECT_FALSE(std::filesystem::exists(file.Path + ".part"));
  // And the next recording to that name is not refused for what the first left.
  backend.Signal = SIGTERM;
  backend.StopAt = 1000;
  TRun next = RunGame({TDemoOptions::dmRecord, file.Path}, backend);
  EXPECT_EQ(next.Status, 0) << next.Err;
}

TEST(GameDemo, ADiskFillingUpIsSaidOnceWhenTheRecordingStops) {
  if (!TFileSizeLimit(~std::uint64_t{0}).Active()) GTEST_SKIP() << "no file size limit on this system";
  TScratchFile file("filling");
  TSignallingBackend backend;
  backend.Signal = SIGTERM;
  backend.StopAt = 30000;  // 1500 frames; the limit stops the recording at about 1000
  std::ostringstream* said = nullptr;
  std::string saidBeforeTheEnd;
  backend.BeforeSignal = [&] { saidBeforeTheEnd = said->str(); };
  std::unique_ptr<TFileSizeLimit> limit;
  TRun run = RunGame({TDemoOptions::dmRecord, file.Path}, backend, Seed, [&](std::ostringstream& err) {
    said = &err;
    limit = std::make_unique<TFileSizeLimit>(file.Bytes(".part").size() + 300);
  });
  limit.reset();
  EXPECT_EQ(run.Status, 1);
  // Said while the flight went on, once, with the frame the demo file keeps.
  EXPECT_TRUE(MatchesDigits(saidBeforeTheEnd, "tarnyx: cannot write " + file.Path + ".part: File too large: "
                                              "the recording stopped at frame +; the flight goes on\n"))
      << saidBeforeTheEnd;
  EXPECT_EQ(run.Err.rfind(saidBeforeTheEnd, 0), 0u) << run.Err;
  const std::string rest = run.Err.substr(saidBeforeTheEnd.size());
  EXPECT_EQ(rest.find("stopped"), std::string::npos) << rest;
  EXPECT_NE(rest.find("incomplete"), std::string::npos) << rest;
}

TEST(GameDemo, FileNamesAreShownEscaped) {
  TScratchFile file("odd\x1b[31m\x07\xff");
  TSignallingBackend backend;
  backend.Signal = SIGTERM;
  backend.StopAt = 1000;
  TRun run = RunGame({TDemoOptions::dmRecord, file.Path}, backend);
  EXPECT_EQ(run.Status, 0) << run.Err;
  const std::string shown = testing::TempDir() + "tarnyx-odd" + "\\x1b[31m\\x07\\xff";
  EXPECT_TRUE(MatchesDigits(run.Out, "recorded + frames into " + shown + "\n")) << run.Out;

  // The refusals of a recording and of a playback alike.
  TRun again = RunGame({TDemoOptions::dmRecord, file.Path + "/x"}, backend);
  EXPECT_NE(again.Err.find(shown + "/x.part"), std::string::npos) << again.Err;
  EXPECT_EQ(again.Err.find('\x1b'), std::string::npos) << again.Err;
  TRun missing = RunGame({TDemoOptions::dmPlay, file.Path + ".none"}, backend);
  EXPECT_EQ(missing.Err.rfind("tarnyx: " + shown + ".none: cannot be read", 0), 0u) << missing.Err;
}

}  // namespace
