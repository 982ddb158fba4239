// The synthesizer's voices: the engine, the touch-down, the panel's chime, the take-off, the
// ticker's blip and the explosion, each made from integer oscillators, noise and envelopes.
#pragma once

#include <cstdint>

#include "sound/Envelope.h"
#include "sound/SoundEvents.h"

// Each voice adds its samples into a mix of 32-bit sums, where 32767 is full scale. A voice never
// adds more than its stated peak, so that the peaks of all voices together stay below full scale
// and the mix never clips. Render does nothing once a voice has died away; it makes at most
// FrameSamples samples a call.

// White noise from a 64-bit xorshift generator, four 16-bit samples per step: -32768..32767 each,
// the same on every machine.
class TNoise {
 public:
  explicit TNoise(std::uint64_t seed) : FState(seed) {}
  // The next sample.
  std::int32_t Next() {
    if (FLeft == 0) {
      Step();
      FBits = FState;
      FLeft = 4;
    }
    --FLeft;
    const std::int32_t v = static_cast<std::int32_t>(FBits & 0xFFFF) - 32768;
    FBits >>= 16;
    return v;
  }
  // The next count samples: the same as count calls of Next, four at a time where it can.
  void Fill(std::int32_t* out, int count) {
    int i = 0;
    for (; i < count && FLeft > 0; ++i) out[i] = Next();
    for (; i + 4 <= count; i += 4) {
      Step();
      for (int k = 0; k < 4; ++k) out[i + k] = static_cast<std::int32_t>((FState >> (16 * k)) & 0xFFFF) - 32768;
    }
    for (; i < count; ++i) out[i] = Next();
  }

 private:
  void Step() {
    FState ^= FState << 13;
    FState ^= FState >> 7;
    FState ^= FState << 17;
  }

  std::uint64_t FState;
  std::uint64_t FBits = 0;  // the samples of the last step not given out yet
  int FLeft = 0;
};

// The engine: low rumbling noise (white noise through two gentle low passes) for as long as the
// thrust is held, softer with fine control. It ramps in, between strengths and out.
class TThrustVoice {
 public:
  static constexpr std::int32_t Peak = 3600;
  void Set(TThrust thrust);
  void Render(std::int32_t* mix, int count);

 private:
  TNoise FNoise{0x2545F4914F6CDD1Dull};
  TEnvelope FLevel;
  TThrust FThrust = thNone;
  std::int32_t FLow1 = 0, FLow2 = 0;  // the two low passes
};

// The touch-down: a short low thump whose pitch drops as it dies, louder for a harder landing,
// with a burst of crunching noise when the hull took damage.
class TThumpVoice {
 public:
  static constexpr std::int32_t Peak = 4500 + 2000;
  void Trigger(std::int32_t impact, bool damage);
  void Render(std::int32_t* mix, int count);

 private:
  TEnvelope FLevel, FCrunch;
  TNoise FNoise{0x9E3779B97F4A7C15ull};
  std::uint32_t FPhase = 0, FStep = 0;
  std::int32_t FStepChange = 0;  // per sample, while the pitch falls
  std::int32_t FFallLeft = 0;    // samples of falling pitch left
  std::int32_t FAmplitude = 0;   // the thump's peak, up to 4500
  std::int32_t FLow = 0;
};

// The panel's chime: two bell-like notes a fifth apart, the second a moment after the first. It
// rings at most once in a second and a half.
class TChimeVoice {
 public:
  static constexpr std::int32_t Peak = 2 * 1700;
  void Trigger();
  void Render(std::int32_t* mix, int count);

 private:
  void RenderSecond(std::int32_t* mix, std::int32_t* gains, int from, int to);

  TEnvelope FFirst, FSecond;
  std::uint32_t FPhase1 = 0, FPhase2 = 0;
  std::int32_t FDelay = -1;  // samples until the second note; -1 when it is not waiting
  std::int32_t FRest = 0;    // samples until it may ring again
};

// The take-off: a soft tone rising by an octave and a half as the ship lifts away.
class TTakeOffVoice {
 public:
  static constexpr std::int32_t Peak = 1800;
  void Trigger();
  void Render(std::int32_t* mix, int count);

 private:
  TEnvelope FLevel;
  std::uint32_t FPhase = 0, FStep = 0;
  std::int32_t FRiseLeft = 0;
};

// The ticker's blip: one short high note.
class TBlipVoice {
 public:
  static constexpr std::int32_t Peak = 1400;
  void Trigger();
  void Render(std::int32_t* mix, int count);

 private:
  TEnvelope FLevel;
  std::uint32_t FPhase = 0;
};

// The explosion: a noise burst whose pitch falls (the noise is drawn ever more slowly and joined by
// straight lines) over a deep boom that drops in pitch, with a long decay; the loudest voice.
class TExplosionVoice {
 public:
  static constexpr std::int32_t NoisePeak = 8000, BoomPeak = 3500;
  static constexpr std::int32_t Peak = NoisePeak + BoomPeak;
  void Trigger();
  void Render(std::int32_t* mix, int count);

 private:
  TEnvelope FLevel, FBoomLevel;
  TNoise FNoise{0x6A09E667F3BCC908ull};
  std::int32_t FAge = 0;         // frames since the start
  std::int32_t FPeriod = 3;      // samples between noise draws
  std::int32_t FLeft = 0;        // samples to the next draw
  std::int32_t FValue = 0;       // the noise between draws, 2^-8 units
  std::int32_t FSlope = 0;       // per sample, 2^-8 units
  std::int32_t FLow = 0;
  std::uint32_t FPhase = 0, FStep = 0;
  std::int32_t FStepChange = 0;
  std::int32_t FFallLeft = 0;
};
