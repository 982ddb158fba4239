// TSoundGain: the player's volume and mute, applied to the samples with a short ramp.
#pragma once

#include <cstdint>

#include "sound/SoundFormat.h"

// The volume (0..MaxVolume) and mute as one gain on the samples, from 0 to Unity (volume 100),
// proportional to the volume. A change of either glides to the new gain over at most
// RampSamples (5 ms) instead of jumping, so that muting, unmuting and every volume step are
// free of clicks. At gain 0 (muted, or volume 0) the samples become exact zeros.
class TSoundGain {
 public:
  static constexpr std::int32_t Unity = 1 << 16;
  static constexpr std::int32_t RampSamples = SamplesOf(5);

  // Starts at its gain already: a game that starts muted is silent from the first sample.
  explicit TSoundGain(int volume = DefaultVolume, bool muted = false);

  // The volume, kept within 0..MaxVolume.
  void SetVolume(int volume);
  int Volume() const { return FVolume; }
  void SetMuted(bool muted);
  bool Muted() const { return FMuted; }

  // Scales count samples in place.
  void Apply(std::int16_t* samples, int count);

  // The gain now and the gain it is gliding to.
  std::int32_t Gain() const { return FGain; }
  std::int32_t Target() const { return FTarget; }

 private:
  void Aim();

  int FVolume;
  bool FMuted;
  std::int32_t FGain = 0;
  std::int32_t FTarget = 0;
};
