// Measuring stretches of samples in the sound tests: loudness, peaks, jumps, and tones.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <span>
#include <vector>

#include "sound/SoundFormat.h"

using TSamples = std::vector<std::int16_t>;

// Samples [first, first + count) of a sound, cut to what it has.
inline std::span<const std::int16_t> Stretch(const TSamples& s, std::size_t first, std::size_t count) {
  first = std::min(first, s.size());
  return {s.data() + first, std::min(count, s.size() - first)};
}
// Frames [first, last) of a sound, frame k being samples from k * FrameSamples.
inline std::span<const std::int16_t> Frames(const TSamples& s, std::size_t first, std::size_t last) {
  return Stretch(s, first * FrameSamples, (last - first) * FrameSamples);
}

inline double Rms(std::span<const std::int16_t> s) {
  double sum = 0;
  for (std::int16_t v : s) sum += double(v) * v;
  return s.empty() ? 0 : std::sqrt(sum / s.size());
}
inline int Peak(std::span<const std::int16_t> s) {
  int peak = 0;
  for (std::int16_t v : s) peak = std::max(peak, std::abs(int(v)));
  return peak;
}
// The largest step between neighbouring samples: a click shows as a step far beyond the sound's own.
inline int MaxJump(std::span<const std::int16_t> s) {
  int jump = 0;
  for (std::size_t i = 1; i < s.size(); ++i) jump = std::max(jump, std::abs(int(s[i]) - int(s[i - 1])));
  return jump;
}
inline bool AllZero(std::span<const std::int16_t> s) {
  return std::all_of(s.begin(), s.end(), [](std::int16_t v) { return v == 0; });
}
// The amplitude of one frequency in a stretch (Goertzel): a sine of amplitude A there gives about A.
inline double ToneAmplitude(std::span<const std::int16_t> s, double hertz) {
  const double w = 2 * std::numbers::pi * hertz / SampleRate, c = 2 * std::cos(w);
  double a = 0, b = 0;
  for (std::int16_t v : s) {
    const double next = v + c * a - b;
    b = a;
    a = next;
  }
  const double power = a * a + b * b - c * a * b;
  return s.empty() ? 0 : 2 * std::sqrt(std::max(power, 0.0)) / s.size();
}
// Sign changes per second: a falling pitch makes fewer.
inline double CrossingsPerSecond(std::span<const std::int16_t> s) {
  int n = 0;
  for (std::size_t i = 1; i < s.size(); ++i) n += (s[i - 1] < 0) != (s[i] < 0);
  return s.empty() ? 0 : double(n) * SampleRate / s.size();
}
