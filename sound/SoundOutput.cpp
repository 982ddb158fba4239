// Where a running program's sound goes.
#include "sound/SoundOutput.h"

#include "platform/Backend.h"

void PlayOnBackend(TGameSound& sound) {
  sound.OnFrame = [](std::span<const std::int16_t, FrameSamples> samples) {
    if (HasBackend()) Backend().PlaySound(samples.data(), static_cast<int>(samples.size()));
  };
}

void ApplySoundKey(TGameSound& sound, TAppKeys::TSoundKey key) {
  switch (key) {
    case TAppKeys::skMute:
      sound.SetMuted(!sound.Muted());
      break;
    case TAppKeys::skVolumeDown:
      sound.StepVolume(-1);
      break;
    case TAppKeys::skVolumeUp:
      sound.StepVolume(1);
      break;
  }
}

void ControlByKeys(TGameSound& sound, TAppKeys& keys, std::function<void()> changed) {
  keys.OnSoundKey = [&sound, changed = std::move(changed)](TAppKeys::TSoundKey key) {
    ApplySoundKey(sound, key);
    if (changed) changed();
  };
}
