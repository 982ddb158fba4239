// The UTC time of day from the standard clock, the same on every system.
#include "system/TimeOfDay.h"

#include <chrono>

void UtcTimeOfDay(int& hour, int& minute, int& second, int& millisecond) {
  // The system clock counts UTC without leap seconds, so whole days are exact multiples.
  using namespace std::chrono;
  constexpr long long msPerDay = 24LL * 60 * 60 * 1000;
  long long ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  ms %= msPerDay;
  if (ms < 0) ms += msPerDay;
  hour = static_cast<int>(ms / 3600000);
  minute = static_cast<int>(ms / 60000 % 60);
  second = static_cast<int>(ms / 1000 % 60);
  millisecond = static_cast<int>(ms % 1000);
}
