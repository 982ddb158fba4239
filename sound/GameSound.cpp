// Making each frame's samples.
#include "sound/GameSound.h"

void TGameSound::FrameEnd() {
  FEvents = FWatch.FrameEnd();
  FSynth.Render(FEvents, FSamples.data());
  FGain.Apply(FSamples.data(), FrameSamples);
  if (OnFrame) OnFrame(FSamples);
}
