// TEnvelope: the loudness of one voice over time, moved a sample at a time.
#pragma once

#include <cstdint>

// How loud a voice is, as a gain from 0 to Unity, changed one sample at a time so that nothing
// ever jumps: a straight ramp to a target over a given number of samples, an optional hold there,
// then (when a decay is set) a fall by a constant factor per sample until it is 60 dB down, and
// from there a short straight fade to exactly 0. Starting it again ramps from wherever it is,
// never from 0. The level is kept to 2^-30 so that slow decays stay smooth; Gain gives it to
// 2^-16.
class TEnvelope {
 public:
  static constexpr std::int32_t Unity = 1 << 16;

  // Ramp from the present level to peak (0..Unity) over rampSamples (at least 1), hold it for
  // holdSamples, then decay by decayFactor (2^-24 units per sample; 0 keeps the level).
  void Start(std::int32_t peak, std::int32_t rampSamples, std::int32_t holdSamples = 0,
             std::uint32_t decayFactor = 0) {
    FTarget = std::int64_t{peak} << 14;
    const std::int64_t rampLength = rampSamples > 0 ? rampSamples : 1;
    FStep = (FTarget - FLevel) / rampLength;
    if (FStep == 0) FStep = FTarget > FLevel ? 1 : -1;
    FHold = holdSamples;
    FDecay = decayFactor;
  }
  // Ramp to a new level and stay there (a sustained voice); 0 ends the voice.
  void RampTo(std::int32_t level, std::int32_t rampSamples) { Start(level, rampSamples); }

  // The gains of the next count samples, 0..Unity each, a stretch of equal steps at a time.
  void Fill(std::int32_t* gains, int count) {
    int i = 0;
    while (i < count) {
      if (FLevel != FTarget) {
        // The ramp reaches its target (or passes it, and stops there) on its steps-th sample.
        const std::int64_t diff = FTarget - FLevel;
        const std::int64_t steps = FStep > 0 ? (diff + FStep - 1) / FStep : (diff + FStep + 1) / FStep;
        const int n = steps < count - i ? static_cast<int>(steps) : count - i;
        for (int k = 0; k < n; ++k) {
          FLevel += FStep;
          gains[i++] = static_cast<std::int32_t>(FLevel >> 14);
        }
        if (n == steps) {
          FLevel = FTarget;
          gains[i - 1] = static_cast<std::int32_t>(FLevel >> 14);
        }
      } else if (FHold > 0) {
        const int n = FHold < count - i ? FHold : count - i;
        for (int k = 0; k < n; ++k) gains[i++] = static_cast<std::int32_t>(FLevel >> 14);
        FHold -= n;
      } else if (FDecay != 0) {
        while (i < count) {
          FLevel = (FLevel * FDecay) >> 24;
          gains[i++] = static_cast<std::int32_t>(FLevel >> 14);
          if (FLevel < Faint) {
            // The last stretch, 60 dB down, fades out in a straight line rather than taking as
            // long again as the whole decay.
            FStep = -(FLevel / FadeSamples + 1);
            FDecay = 0;
            break;
          }
        }
        FTarget = FDecay != 0 ? FLevel : 0;
      } else {
        for (; i < count; ++i) gains[i] = static_cast<std::int32_t>(FLevel >> 14);
      }
    }
  }

  // Silent now and for good, until started again.
  bool Idle() const { return FLevel == 0 && FTarget == 0; }
  std::int32_t Gain() const { return static_cast<std::int32_t>(FLevel >> 14); }

 private:
  // 60 dB below the peak, a decay ends in a straight fade of 5 ms (at 48 kHz).
  static constexpr std::int64_t Faint = (std::int64_t{1} << 30) / 1024;
  static constexpr std::int64_t FadeSamples = 240;

  std::int64_t FLevel = 0;   // 2^-30 units
  std::int64_t FTarget = 0;  // 2^-30 units
  std::int64_t FStep = 0;    // per sample while ramping
  std::int32_t FHold = 0;    // samples left at the peak
  std::uint32_t FDecay = 0;  // 2^-24 units per sample; 0 for none
};

// The per-sample decay factor, in 2^-24 units, that takes a level down by e in about
// timeSamples: 1 - 1/timeSamples.
constexpr std::uint32_t DecayOver(std::int32_t timeSamples) {
  return static_cast<std::uint32_t>((std::int64_t{1} << 24) - (std::int64_t{1} << 24) / timeSamples);
}
