// What recording a demo costs a frame: the same whole game frame with and without the recorder,
// and the recorder's own work per frame (encoding, the state checksum and a flush every 50th
// frame, a request to its thread to put the file on the disk every 250th).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "app/CommandLine.h"
#include "bench/GameScenes.h"
#include "bench/RunningGame.h"
#include "demo/DemoRecorder.h"

namespace {

constexpr std::uint32_t Seed = 45296789;

// A recording into the scratch folder, given up (and its file removed) at the end.
struct TScratchRecording {
  std::string Path = "/tmp/tarnyx-bench-" +
                     std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".tnxdemo";
  TDemoRecorder Recorder{Path, Seed, GameVersionText};
  ~TScratchRecording() { Recorder.Discard(); }
};

// The keys of frame n: a pilot's pattern of turns and thrust, changing every few frames, so that
// the recorder encodes changes as well as runs.
void HoldKeys(THeadlessBackend& backend, long n) {
  backend.ScanCodes[0xCB] = (n / 7) % 3 == 0 ? 0x80 : 0;   // Left
  backend.ScanCodes[0xC8] = (n / 11) % 2 == 0 ? 0x80 : 0;  // Up
  backend.ScanCodes[0x2A] = (n / 50) % 2 == 0 ? 0x80 : 0;  // Shift
}

void GameFrames(benchmark::State& state, bool record) {
  TRunningGame game(Seed);
  std::unique_ptr<TScratchRecording> recording;
  if (record) {
    recording = std::make_unique<TScratchRecording>();
    TDemoRecorder& recorder = recording->Recorder;
    game.Form->OnFrameInput = [&recorder](TInputStates& s) { recorder.FrameInput(s); };
    game.Form->OnFrameEnd = [&recorder] { recorder.FrameEnd(); };
  }
  scenes::GoToOpenSpace();
  const double x = Player.X;
  long n = 0;
  for (auto _ : state) {
    HoldKeys(game.Backend, n++);
    Player.X = x;
    Player.Y = 0;
    Player.VX = Player.VY = 0;
    game.Frame();
  }
  game.Form->OnFrameInput = nullptr;
  game.Form->OnFrameEnd = nullptr;
}

void BM_FrameNotRecording(benchmark::State& state) { GameFrames(state, false); }
void BM_FrameRecording(benchmark::State& state) { GameFrames(state, true); }
BENCHMARK(BM_FrameNotRecording)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameRecording)->Unit(benchmark::kMicrosecond);

// The recorder alone, as a frame calls it: the input, then the frame's end.
void BM_RecorderPerFrame(benchmark::State& state) {
  THeadlessBackend backend;
  backend.TimeOfDayMs = Seed;
  SetBackend(&backend);
  CreateWorld();
  TScratchRecording recording;
  TInputStates states;
  long n = 0;
  for (auto _ : state) {
    states.Bytes[0] = static_cast<std::uint8_t>((n / 7) % 3 == 0 ? 0x04 : 0) | static_cast<std::uint8_t>((n / 11) % 2);
    ++n;
    recording.Recorder.FrameInput(states);
    recording.Recorder.FrameEnd();
  }
  SetBackend(nullptr);
}
BENCHMARK(BM_RecorderPerFrame)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
