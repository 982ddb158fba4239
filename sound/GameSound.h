// TGameSound: the game's sound, one frame of samples after each frame of the game.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "input/InputStates.h"
#include "sound/SoundEvents.h"
#include "sound/SoundGain.h"
#include "sound/SoundWatch.h"
#include "sound/Synth.h"

// The sound of a running game: watches its frames (FrameInput with the input states each frame
// consumes, FrameEnd when it is done; AttachSound hooks both into a form), makes FrameSamples
// samples for each frame at the player's volume, and hands them to OnFrame: a back end plays them
// or queues them, a recorder writes them. It only reads the game, so a game with sound plays
// exactly as one without. Begin marks where the watching starts (the state before the first
// frame); AttachSound calls it.
class TGameSound {
 public:
  explicit TGameSound(int volume = DefaultVolume, bool muted = false) : FGain(volume, muted) {}

  void Begin() { FWatch.Begin(); }
  void FrameInput(const TInputStates& states) { FWatch.FrameInput(states); }
  void FrameEnd();

  // The player's controls: the volume 0..MaxVolume (StepVolume moves it by steps of VolumeStep)
  // and mute. Either takes effect within 5 ms of the next frame's samples, without a click.
  void SetVolume(int volume) { FGain.SetVolume(volume); }
  void StepVolume(int steps) { FGain.SetVolume(FGain.Volume() + steps * VolumeStep); }
  int Volume() const { return FGain.Volume(); }
  void SetMuted(bool muted) { FGain.SetMuted(muted); }
  bool Muted() const { return FGain.Muted(); }

  // The last frame's samples and events.
  std::span<const std::int16_t, FrameSamples> Samples() const { return FSamples; }
  const TSoundEvents& Events() const { return FEvents; }

  // Called with each frame's samples as soon as they are made.
  std::function<void(std::span<const std::int16_t, FrameSamples> samples)> OnFrame;

 private:
  TSoundWatch FWatch;
  TSynth FSynth;
  TSoundGain FGain;
  TSoundEvents FEvents;
  std::array<std::int16_t, FrameSamples> FSamples{};
};
