// What the sound costs a frame: the synthesizer making one frame of samples when nothing sounds,
// and at its busiest (the engine, a crash, the panel's chime and the ticker's blip together),
// with the volume applied as the game applies it.
#include <benchmark/benchmark.h>

#include <array>

#include "sound/SoundGain.h"
#include "sound/Synth.h"

namespace {

void BM_SoundQuietFrame(benchmark::State& state) {
  TSynth synth;
  TSoundGain gain;
  std::array<std::int16_t, FrameSamples> out{};
  const TSoundEvents quiet;
  for (auto _ : state) {
    synth.Render(quiet, out.data());
    gain.Apply(out.data(), FrameSamples);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_SoundQuietFrame)->Unit(benchmark::kMicrosecond);

// Sounds started again every 10 frames so that none dies away while the loop runs, over the
// engine at full thrust.
void Sounding(benchmark::State& state, const TSoundEvents& starts) {
  TSynth synth;
  TSoundGain gain;
  std::array<std::int16_t, FrameSamples> out{};
  TSoundEvents holding;
  holding.Thrust = thFull;
  long n = 0;
  for (auto _ : state) {
    synth.Render(n++ % 10 == 0 ? starts : holding, out.data());
    gain.Apply(out.data(), FrameSamples);
    benchmark::DoNotOptimize(out.data());
  }
}

// The busiest a frame of the game gets: the engine, a crash, the panel's chime and the ticker's
// blip together.
void BM_SoundBusiestFrame(benchmark::State& state) {
  TSoundEvents busy;
  busy.Thrust = thFull;
  busy.Crash = busy.PanelIn = busy.Message = true;
  Sounding(state, busy);
}
BENCHMARK(BM_SoundBusiestFrame)->Unit(benchmark::kMicrosecond);

// Every voice at once, the touch-down's crunch and the take-off too (which the game never sounds
// together with a crash): the synthesizer's worst case.
void BM_SoundEveryVoiceFrame(benchmark::State& state) {
  TSoundEvents all;
  all.Thrust = thFull;
  all.Crash = all.PanelIn = all.Message = all.TouchDown = all.TakeOff = all.Damage = true;
  all.Impact = 20;
  Sounding(state, all);
}
BENCHMARK(BM_SoundEveryVoiceFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
