// The synthesizer's voices, sample by sample.
#include "sound/Voices.h"

#include <array>

#include "sound/SineTable.h"
#include "sound/SoundFormat.h"

namespace {

// The envelope's gains for one stretch of samples (at most a frame).
using TGains = std::array<std::int32_t, FrameSamples>;

std::int32_t Limit(std::int32_t v, std::int32_t peak) { return v > peak ? peak : v < -peak ? -peak : v; }

// An envelope's gains (0..Unity) turned into amplitudes of up to peak (at most 32767), in place.
void ScaleTo(std::int32_t peak, std::int32_t* gains, int count) {
  for (int i = 0; i < count; ++i) gains[i] = (gains[i] * peak) >> 16;
}

// The per-sample change of a phase step that moves from one frequency to another over samples.
std::int32_t StepChange(std::uint32_t fromHertz, std::uint32_t toHertz, std::int32_t samples) {
  return static_cast<std::int32_t>((static_cast<std::int64_t>(PhaseStep(toHertz)) - PhaseStep(fromHertz)) / samples);
}

}  // namespace

// --- The engine --------------------------------------------------------------------------------

namespace {
// The low-passed noise swings up to about 7500 and averages about 2000; full thrust takes 46% of
// it, fine control 40% of that: soft enough to hold down for a long flight.
constexpr std::int32_t FullThrustGain = 30000, GentleThrustGain = 12000;
constexpr std::int32_t ThrustRampIn = SamplesOf(15), ThrustRampOut = SamplesOf(40);
}  // namespace

void TThrustVoice::Set(TThrust thrust) {
  if (thrust == FThrust) return;
  FThrust = thrust;
  if (thrust == thNone) FLevel.RampTo(0, ThrustRampOut);
  else FLevel.RampTo(thrust == thFull ? FullThrustGain : GentleThrustGain, ThrustRampIn);
}

void TThrustVoice::Render(std::int32_t* mix, int count) {
  if (FLevel.Idle()) return;
  TGains gains, noise;
  FLevel.Fill(gains.data(), count);
  FNoise.Fill(noise.data(), count);
  for (int i = 0; i < count; ++i) {
    FLow1 += (noise[i] - FLow1) >> 5;
    FLow2 += (FLow1 - FLow2) >> 4;
    mix[i] += Limit((FLow2 * gains[i]) >> 16, Peak);
  }
}

// --- The touch-down ----------------------------------------------------------------------------

namespace {
constexpr std::int32_t ThumpBase = 2200, ThumpPerImpact = 120, ThumpMost = 4500, CrunchPeak = 2000;
constexpr std::uint32_t ThumpFromHertz = 110, ThumpToHertz = 45;
constexpr std::int32_t ThumpFall = SamplesOf(160);
}  // namespace

void TThumpVoice::Trigger(std::int32_t impact, bool damage) {
  std::int32_t amplitude = ThumpBase + ThumpPerImpact * (impact < 0 ? 0 : impact > 100 ? 100 : impact);
  FAmplitude = amplitude > ThumpMost ? ThumpMost : amplitude;
  FStep = PhaseStep(ThumpFromHertz);
  FStepChange = StepChange(ThumpFromHertz, ThumpToHertz, ThumpFall);
  FFallLeft = ThumpFall;
  FLevel.Start(TEnvelope::Unity, SamplesOf(3), SamplesOf(15), DecayOver(SamplesOf(70)));
  if (damage) FCrunch.Start(TEnvelope::Unity, SamplesOf(2), SamplesOf(20), DecayOver(SamplesOf(45)));
}

void TThumpVoice::Render(std::int32_t* mix, int count) {
  if (FLevel.Idle() && FCrunch.Idle()) return;
  TGains gains;
  if (!FLevel.Idle()) {
    FLevel.Fill(gains.data(), count);
    ScaleTo(FAmplitude, gains.data(), count);
    for (int i = 0; i < count; ++i) {
      if (FFallLeft > 0) {
        FStep += FStepChange;
        --FFallLeft;
      }
      FPhase += FStep;
      mix[i] += (SineAt(FPhase) * gains[i]) >> 15;
    }
  }
  if (!FCrunch.Idle()) {
    FCrunch.Fill(gains.data(), count);
    ScaleTo(CrunchPeak, gains.data(), count);
    TGains noise;
    FNoise.Fill(noise.data(), count);
    for (int i = 0; i < count; ++i) {
      FLow += (noise[i] - FLow) >> 2;
      mix[i] += Limit((FLow * gains[i]) >> 15, CrunchPeak);
    }
  }
}

// --- The panel's chime ----------------------------------------------------------------------------

namespace {
constexpr std::int32_t ChimeNote = 1700;
constexpr std::uint32_t ChimeFirstStep = PhaseStep(880), ChimeSecondStep = PhaseStep(1319);  // A5, E6
constexpr std::int32_t ChimeGap = SamplesOf(90);
constexpr std::int32_t ChimeRest = SamplesOf(1500);  // the least time from one chime to the next
constexpr std::uint32_t ChimeDecay = DecayOver(SamplesOf(160));
}  // namespace

void TChimeVoice::Trigger() {
  // A ship that hops off and lands again at once slides the panel out and in again: one chime
  // is enough for that.
  if (FRest > 0) return;
  FFirst.Start(TEnvelope::Unity, SamplesOf(4), 0, ChimeDecay);
  FDelay = ChimeGap;
  FRest = ChimeRest;
}

void TChimeVoice::Render(std::int32_t* mix, int count) {
  FRest = FRest > count ? FRest - count : 0;
  if (FFirst.Idle() && FSecond.Idle() && FDelay < 0) return;
  TGains gains;
  if (!FFirst.Idle()) {
    FFirst.Fill(gains.data(), count);
    ScaleTo(ChimeNote, gains.data(), count);
    for (int i = 0; i < count; ++i) mix[i] += (SineAt(FPhase1 += ChimeFirstStep) * gains[i]) >> 15;
  } else {
    FPhase1 += ChimeFirstStep * static_cast<std::uint32_t>(count);
  }
  // The second note waits its turn: it starts (again) within this stretch if its time comes.
  int start = count;
  if (FDelay >= 0 && FDelay < count) {
    start = FDelay;
    FDelay = -1;
  } else if (FDelay >= 0) {
    FDelay -= count;
  }
  RenderSecond(mix, gains.data(), 0, start);
  if (start < count) {
    FSecond.Start(TEnvelope::Unity, SamplesOf(4), 0, ChimeDecay);
    RenderSecond(mix, gains.data(), start, count);
  }
}

void TChimeVoice::RenderSecond(std::int32_t* mix, std::int32_t* gains, int from, int to) {
  if (FSecond.Idle()) {
    FPhase2 += ChimeSecondStep * static_cast<std::uint32_t>(to - from);
    return;
  }
  FSecond.Fill(gains + from, to - from);
  ScaleTo(ChimeNote, gains + from, to - from);
  for (int i = from; i < to; ++i) mix[i] += (SineAt(FPhase2 += ChimeSecondStep) * gains[i]) >> 15;
}

// --- The take-off ------------------------------------------------------------------------------

namespace {
constexpr std::uint32_t TakeOffFromHertz = 180, TakeOffToHertz = 540;
constexpr std::int32_t TakeOffRise = SamplesOf(450);
}  // namespace

void TTakeOffVoice::Trigger() {
  FStep = PhaseStep(TakeOffFromHertz);
  FRiseLeft = TakeOffRise;
  FLevel.Start(TEnvelope::Unity, SamplesOf(25), SamplesOf(220), DecayOver(SamplesOf(110)));
}

void TTakeOffVoice::Render(std::int32_t* mix, int count) {
  if (FLevel.Idle()) return;
  const std::int32_t change = StepChange(TakeOffFromHertz, TakeOffToHertz, TakeOffRise);
  TGains gains;
  FLevel.Fill(gains.data(), count);
  ScaleTo(Peak, gains.data(), count);
  for (int i = 0; i < count; ++i) {
    if (FRiseLeft > 0) {
      FStep += change;
      --FRiseLeft;
    }
    FPhase += FStep;
    mix[i] += (SineAt(FPhase) * gains[i]) >> 15;
  }
}

// --- The ticker's blip ---------------------------------------------------------------------------

namespace {
constexpr std::uint32_t BlipStep = PhaseStep(1568);  // G6
}  // namespace

void TBlipVoice::Trigger() { FLevel.Start(TEnvelope::Unity, SamplesOf(3), SamplesOf(30), DecayOver(SamplesOf(20))); }

void TBlipVoice::Render(std::int32_t* mix, int count) {
  if (FLevel.Idle()) return;
  TGains gains;
  FLevel.Fill(gains.data(), count);
  ScaleTo(Peak, gains.data(), count);
  for (int i = 0; i < count; ++i) mix[i] += (SineAt(FPhase += BlipStep) * gains[i]) >> 15;
}

// --- The explosion -----------------------------------------------------------------------------

namespace {
constexpr std::uint32_t BoomFromHertz = 80, BoomToHertz = 30;
constexpr std::int32_t BoomFall = SamplesOf(700);
// The noise is drawn every few samples at first (a bright crack) and ever more slowly after (a
// falling roar): Period frames after the start.
constexpr std::int32_t NoisePeriod(std::int32_t age) { return 3 + age / 2 + age * age / 80; }
}  // namespace

void TExplosionVoice::Trigger() {
  FAge = 0;
  FPeriod = NoisePeriod(0);
  FLeft = 0;
  FStep = PhaseStep(BoomFromHertz);
  FStepChange = StepChange(BoomFromHertz, BoomToHertz, BoomFall);
  FFallLeft = BoomFall;
  FLevel.Start(TEnvelope::Unity, SamplesOf(3), SamplesOf(80), DecayOver(SamplesOf(650)));
  FBoomLevel.Start(TEnvelope::Unity, SamplesOf(4), SamplesOf(60), DecayOver(SamplesOf(300)));
}

void TExplosionVoice::Render(std::int32_t* mix, int count) {
  if (FLevel.Idle() && FBoomLevel.Idle()) return;
  TGains gains;
  FLevel.Fill(gains.data(), count);
  ScaleTo(NoisePeak, gains.data(), count);
  // 2^24 / the period: a multiply in place of a division at every point of the noise.
  const std::int64_t inverse = (std::int64_t{1} << 24) / FPeriod;
  for (int i = 0; i < count; ++i) {
    if (--FLeft <= 0) {
      // The next point of the noise, reached by a straight line over the period.
      FLeft = FPeriod;
      FSlope = static_cast<std::int32_t>(((std::int64_t{FNoise.Next()} * 256 - FValue) * inverse) >> 24);
    }
    FValue += FSlope;
    FLow += ((FValue >> 8) - FLow) >> 1;
    mix[i] += Limit((FLow * gains[i]) >> 15, NoisePeak);
  }
  FBoomLevel.Fill(gains.data(), count);
  ScaleTo(BoomPeak, gains.data(), count);
  for (int i = 0; i < count; ++i) {
    if (FFallLeft > 0) {
      FStep += FStepChange;
      --FFallLeft;
    }
    FPhase += FStep;
    mix[i] += (SineAt(FPhase) * gains[i]) >> 15;
  }
  ++FAge;
  FPeriod = NoisePeriod(FAge < 200 ? FAge : 200);
}
