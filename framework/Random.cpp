// The game's random number generator, seeded from the time of day.
#include "framework/Random.h"

#include "platform/SystemTime.h"

std::uint32_t RandomState = 0;

void SeedRandom() {
  SYSTEMTIME t;
  GetSystemTime(&t);
  RandomState =
      ((static_cast<std::uint32_t>(t.wHour) * 60u + t.wMinute) * 60u + t.wSecond) * 1000u +
      t.wMilliseconds;
}
