// TSynth: one frame of the game's sound from the frame's events.
#pragma once

#include <array>
#include <cstdint>

#include "sound/SoundEvents.h"
#include "sound/SoundFormat.h"
#include "sound/Voices.h"

// The synthesizer: six voices that the events start (and the thrust holds), mixed into one
// frame of FrameSamples mono 16-bit samples at full volume. Integers only, so that the same
// events give the same samples on every machine. The loudest all voices can be together stays
// below full scale, so nothing ever clips; alone, the explosion is the loudest.
class TSynth {
 public:
  // The peak of all voices sounding at once: below full scale, so nothing clips.
  static constexpr std::int32_t Peak = TThrustVoice::Peak + TThumpVoice::Peak + TChimeVoice::Peak +
                                       TTakeOffVoice::Peak + TBlipVoice::Peak + TExplosionVoice::Peak;
  static_assert(Peak < 32767);

  // Starts what the events start, then writes the next FrameSamples samples to out.
  void Render(const TSoundEvents& events, std::int16_t* out);

 private:
  TThrustVoice FThrust;
  TThumpVoice FThump;
  TChimeVoice FChime;
  TTakeOffVoice FTakeOff;
  TBlipVoice FBlip;
  TExplosionVoice FExplosion;
  std::array<std::int32_t, FrameSamples> FMix{};
};
