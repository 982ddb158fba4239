// A sine wave as a table of whole numbers made by the compiler, and oscillator phases.
#pragma once

#include <array>
#include <cstdint>

#include "sound/SoundFormat.h"

namespace sine_detail {

// sin(x) for x from 0 to pi/2 given in units of 2^-30, as a Taylor series in 64-bit integers
// (the terms up to x^13 leave less than one unit of 2^-15); the result in units of 2^-30.
constexpr std::int64_t QuarterSine(std::int64_t x) {
  const std::int64_t x2 = (x * x) >> 30;
  std::int64_t term = x, sum = x;
  for (int n = 1; n <= 6; ++n) {
    term = -((term * x2) >> 30) / ((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

constexpr std::int64_t HalfPiQ30 = 1686629713;  // pi/2 in units of 2^-30

// The table's entry i of SineEntries per turn, with 32767 for a full swing.
constexpr std::int16_t Entry(int i, int entries) {
  const int quarter = entries / 4;
  const int q = i % entries / quarter, j = i % quarter;
  const int along = q % 2 == 0 ? j : quarter - j;
  const std::int64_t v = QuarterSine(HalfPiQ30 * along / quarter);
  const std::int64_t s = (v * 32767 + (std::int64_t{1} << 29)) >> 30;
  return static_cast<std::int16_t>(q < 2 ? s : -s);
}

}  // namespace sine_detail

// One turn of a sine wave in SineEntries steps, plus the first entry again at the end; 32767 is
// the peak. Fine enough to read without interpolating: the steps' error lies some 70 dB below the
// tone.
constexpr int SineBits = 12;
constexpr int SineEntries = 1 << SineBits;
inline constexpr std::array<std::int16_t, SineEntries + 1> SineTable = [] {
  std::array<std::int16_t, SineEntries + 1> t{};
  for (int i = 0; i <= SineEntries; ++i) t[i] = sine_detail::Entry(i, SineEntries);
  return t;
}();

// A phase is a 32-bit fraction of a turn. The sine at a phase, from the entry at or before it:
// -32767..32767.
inline std::int32_t SineAt(std::uint32_t phase) { return SineTable[phase >> (32 - SineBits)]; }

// The phase step per sample of a tone of the given frequency in hertz.
constexpr std::uint32_t PhaseStep(std::uint32_t hertz) {
  return static_cast<std::uint32_t>((std::uint64_t{hertz} << 32) / SampleRate);
}
