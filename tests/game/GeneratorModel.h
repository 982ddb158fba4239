// A second, independent reading of the generator's arithmetic, so that tests can say which value
// each draw must give and how many draws an operation may make.
#pragma once

#include <cstdint>

namespace model {

constexpr std::uint32_t Multiplier = 134775813u;

inline std::uint32_t Next(std::uint32_t s) { return s * Multiplier + 1u; }

// The inverse of the multiplier modulo 2^32 (it is odd), by Newton's iteration.
inline std::uint32_t InverseMultiplier() {
  std::uint32_t x = Multiplier;  // correct to 3 bits; each round doubles that
  for (int i = 0; i < 5; ++i) x *= 2u - Multiplier * x;
  return x;
}

inline std::uint32_t Previous(std::uint32_t s) { return (s - 1u) * InverseMultiplier(); }

// The value a draw below n gives when it leaves the generator at state s.
inline std::int32_t Value(std::int32_t n, std::uint32_t s) {
  return static_cast<std::int32_t>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(n)) * s >> 32);
}

// How many draws lead from one state to another (up to a limit; -1 when not within it).
inline int StepsBetween(std::uint32_t from, std::uint32_t to, int limit = 100000) {
  for (int i = 0; i <= limit; ++i, from = Next(from))
    if (from == to) return i;
  return -1;
}

}  // namespace model
