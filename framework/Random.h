// The game's one random number generator.
#pragma once

#include <cstdint>

// A 32-bit linear congruential generator (state * 134775813 + 1, modulo 2^32) behind every
// random choice of the game. All choices draw from it in a fixed order, so one seed always
// builds the same world. The state is 0 until SeedRandom runs.
extern std::uint32_t RandomState;

// Seeds the generator with the milliseconds since midnight UTC (0..86399999), read from the
// platform clock.
void SeedRandom();

// Advances the state by one step and returns floor(n * state / 2^32), n and the state both taken
// as unsigned 32-bit numbers. For positive n that is 0..n-1; RandomBelow(1) and RandomBelow(0)
// are 0, and still advance the state. Inline: world building makes thousands of draws.
inline std::int32_t RandomBelow(std::int32_t n) {
  RandomState = RandomState * 134775813u + 1u;  // unsigned: wraps modulo 2^32
  std::uint64_t scaled = static_cast<std::uint64_t>(static_cast<std::uint32_t>(n)) * RandomState;
  return static_cast<std::int32_t>(scaled >> 32);
}
