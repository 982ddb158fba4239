// Mixing the voices into one frame.
#include "sound/Synth.h"

#include <algorithm>

void TSynth::Render(const TSoundEvents& events, std::int16_t* out) {
  FThrust.Set(events.Thrust);
  if (events.TouchDown || events.Damage) FThump.Trigger(events.TouchDown ? events.Impact : 0, events.Damage);
  if (events.PanelIn) FChime.Trigger();
  if (events.TakeOff) FTakeOff.Trigger();
  if (events.Message) FBlip.Trigger();
  if (events.Crash) FExplosion.Trigger();

  FMix.fill(0);
  std::int32_t* mix = FMix.data();
  FThrust.Render(mix, FrameSamples);
  FThump.Render(mix, FrameSamples);
  FChime.Render(mix, FrameSamples);
  FTakeOff.Render(mix, FrameSamples);
  FBlip.Render(mix, FrameSamples);
  FExplosion.Render(mix, FrameSamples);
  // The voices' peaks add up to less than full scale (Peak): the limit only keeps the type.
  for (int i = 0; i < FrameSamples; ++i) out[i] = static_cast<std::int16_t>(std::clamp(mix[i], -32767, 32767));
}
