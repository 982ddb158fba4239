// The game's random number generator, seeded from the time of day.
#include "framework/Random.h"

#include "platform/SystemTime.h"

std::uint32_t RandomState = 0;

void SeedRandom() {
  SYSTEMTIME t;
  GetSystemTime(&t);
  RandomState = ((static_cast<std::uint32_t>(t.wHour) * 60u + t.wMinute) * 60u + t.wSecond) * 1000u +
                t.wMilliseconds;
}

std::int32_t RandomBelow(std::int32_t n) {
  RandomState = RandomState * 134775813u + 1u;  // unsigned: wraps modulo 2^32
  std::uint64_t scaled = static_cast<std::uint64_t>(static_cast<std::uint32_t>(n)) * RandomState;
  return static_cast<std::int32_t>(scaled >> 32);
}
