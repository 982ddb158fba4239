// The shape of the game's sound: its rate, its frame of samples and its volume scale.
#pragma once

#include <cstdint>

// One frame of the game (20 ms) sounds as FrameSamples mono samples, 16-bit signed, at
// SampleRate samples a second. Mono: the ship is always at the centre of the screen and nothing
// the game does has a side, so a second channel would carry the same samples.
constexpr int SampleRate = 48000;
constexpr int GameFramesPerSecond = 50;
constexpr int FrameSamples = SampleRate / GameFramesPerSecond;  // 960
static_assert(FrameSamples * GameFramesPerSecond == SampleRate);

// Volume is 0..100; the player changes it in steps of VolumeStep. A new game sounds at
// DefaultVolume: loud enough to hear, with room above it.
constexpr int MaxVolume = 100;
constexpr int VolumeStep = 10;
constexpr int DefaultVolume = 80;

// Milliseconds as a count of samples.
constexpr int SamplesOf(int milliseconds) { return milliseconds * (SampleRate / 1000); }
