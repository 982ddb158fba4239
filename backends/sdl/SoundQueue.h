// TSoundQueue: samples between the game, which makes a frame's worth at a time, and a sound
// device, which takes them at its own pace.
#pragma once

#include <cstdint>
#include <vector>

// A queue of 16-bit mono samples with a bounded length, so that what is heard is at most
// Capacity samples behind the game. Push adds a frame's samples at the back; a full queue drops
// its oldest samples to make room. Pull takes samples from the front for the device. Nothing in
// the output jumps: when the queue runs dry (a frame late, or the game paused) the output fades
// from its last sample to silence over FadeSamples; when samples come again it waits until the
// queue holds Resume samples (room for the next frame to be late by a little) and fades them in
// over FadeSamples; where a full queue dropped samples, the old and new sound are crossfaded
// over FadeSamples. Not thread-safe: the caller locks (SDL_LockAudioDevice).
class TSoundQueue {
 public:
  static constexpr int FadeSamples = 240;  // 5 ms at 48 kHz

  // capacity >= 1 samples; resume in 1..capacity.
  TSoundQueue(int capacity, int resume);

  void Push(const std::int16_t* samples, int count);
  void Pull(std::int16_t* out, int count);
  // Forgets what is queued and starts again from silence (a device closed and opened anew).
  void Clear();

  int Size() const { return FSize; }
  int Capacity() const { return static_cast<int>(FRing.size()); }
  // Whether the output is waiting for samples (dry, or filling up to Resume).
  bool Starved() const { return FStarved; }
  long Underruns() const { return FUnderruns; }  // times the queue ran dry while playing
  long Dropped() const { return FDropped; }      // samples dropped for room

 private:
  void StartTail();

  std::vector<std::int16_t> FRing;
  int FResume;
  int FRead = 0;  // index of the oldest sample
  int FSize = 0;
  bool FStarved = true;
  std::int32_t FLast = 0;  // the last sample put out
  // The tail: where the output would go without new samples, decaying to 0 in FadeSamples steps.
  std::int32_t FTail = 0;
  std::int32_t FTailFrom = 0;
  int FTailStep = FadeSamples;  // FadeSamples: the tail has reached 0
  // The fade-in of the queued samples over the tail: 0..FadeSamples (FadeSamples: fully in).
  int FRamp = 0;
  long FUnderruns = 0;
  long FDropped = 0;
};
