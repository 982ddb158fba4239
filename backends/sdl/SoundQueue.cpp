// The queue of samples between the game and a sound device.
#include "backends/sdl/SoundQueue.h"

#include <algorithm>

TSoundQueue::TSoundQueue(int capacity, int resume)
    : FRing(static_cast<std::size_t>(std::max(capacity, 1))),
      FResume(std::clamp(resume, 1, std::max(capacity, 1))) {}

void TSoundQueue::Clear() {
  FRead = FSize = 0;
  FStarved = true;
  FLast = FTail = FTailFrom = 0;
  FTailStep = FadeSamples;
  FRamp = 0;
}

// The output from now on starts from the last sample put out and decays to silence.
void TSoundQueue::StartTail() {
  FTailFrom = FTail = FLast;
  FTailStep = 0;
  FRamp = 0;
}

void TSoundQueue::Push(const std::int16_t* samples, int count) {
  if (!samples || count <= 0) return;
  const int capacity = Capacity();
  // Only the newest samples fit in a queue shorter than the push.
  if (count > capacity) {
    FDropped += count - capacity;
    samples += count - capacity;
    count = capacity;
  }
  int excess = FSize + count - capacity;
  if (excess > 0) {
    // The oldest go; what was playing fades out under what comes after the gap.
    FDropped += excess;
    FRead = (FRead + excess) % capacity;
    FSize -= excess;
    if (!FStarved) StartTail();
  }
  int at = (FRead + FSize) % capacity;
  for (int i = 0; i < count; ++i) {
    FRing[static_cast<std::size_t>(at)] = samples[i];
    at = at + 1 == capacity ? 0 : at + 1;
  }
  FSize += count;
}

void TSoundQueue::Pull(std::int16_t* out, int count) {
  const int capacity = Capacity();
  for (int i = 0; i < count; ++i) {
    if (FStarved && FSize >= FResume) FStarved = false;
    if (!FStarved && FSize == 0) {
      // Dry while playing: fade out from where the sound was, and wait for Resume samples.
      FStarved = true;
      ++FUnderruns;
      StartTail();
    }
    // The tail, a straight line from FTailFrom to 0.
    if (FTailStep < FadeSamples) {
      ++FTailStep;
      FTail = FTailFrom - FTailFrom * FTailStep / FadeSamples;
    } else {
      FTail = 0;
    }
    std::int32_t value = FTail;
    if (!FStarved) {
      std::int32_t sample = FRing[static_cast<std::size_t>(FRead)];
      FRead = FRead + 1 == capacity ? 0 : FRead + 1;
      --FSize;
      if (FRamp < FadeSamples) {
        ++FRamp;
        value = (sample * FRamp + FTail * (FadeSamples - FRamp)) / FadeSamples;
      } else {
        value = sample;
      }
    }
    FLast = value;
    out[i] = static_cast<std::int16_t>(value);
  }
}
