// The volume and mute as a gliding gain.
#include "sound/SoundGain.h"

#include <algorithm>

namespace {
// The most the gain moves in one sample: silence to full volume in RampSamples.
constexpr std::int32_t GainStep = (TSoundGain::Unity + TSoundGain::RampSamples - 1) / TSoundGain::RampSamples;
}  // namespace

TSoundGain::TSoundGain(int volume, bool muted) : FVolume(std::clamp(volume, 0, MaxVolume)), FMuted(muted) {
  Aim();
  FGain = FTarget;
}

void TSoundGain::SetVolume(int volume) {
  FVolume = std::clamp(volume, 0, MaxVolume);
  Aim();
}

void TSoundGain::SetMuted(bool muted) {
  FMuted = muted;
  Aim();
}

void TSoundGain::Aim() { FTarget = FMuted ? 0 : FVolume * Unity / MaxVolume; }

void TSoundGain::Apply(std::int16_t* samples, int count) {
  int i = 0;
  for (; i < count && FGain != FTarget; ++i) {
    FGain = FGain < FTarget ? std::min(FGain + GainStep, FTarget) : std::max(FGain - GainStep, FTarget);
    // At most Unity times a 16-bit sample: within 32 bits, and the result within 16.
    samples[i] = static_cast<std::int16_t>((std::int32_t{samples[i]} * FGain) >> 16);
  }
  // The rest at a steady gain: one multiply a sample, or nothing at all at full volume.
  if (FGain == Unity) return;
  for (; i < count; ++i) samples[i] = static_cast<std::int16_t>((std::int32_t{samples[i]} * FGain) >> 16);
}
