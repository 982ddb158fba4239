// The page's clock as the frame timer reads it.
#include "backends/web/TickClock.h"

namespace {

// Whether a comes after b on the wrapping clock.
bool After(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) > 0; }

}  // namespace

void TTickClock::BeginStep(std::uint32_t now, bool timerDue, std::uint32_t tickTime,
                           std::uint32_t interval) {
  FHeld = false;
  if (!timerDue || interval == 0) return;
  const std::uint32_t due = tickTime + interval;
  // Unsigned: a step before the due time is "late" by nearly 2^32 and holds nothing.
  if (now - due < MakeUpIntervals * interval) {
    FHeld = true;
    FHeldAt = due;
  }
}

std::uint32_t TTickClock::Read(std::uint32_t now) {
  std::uint32_t reading = FHeld ? FHeldAt : now;
  if (FRead && After(FLast, reading)) reading = FLast;
  FRead = true;
  FLast = reading;
  return reading;
}
