// A backend whose time of day can be fixed, so that a demo's world is built from its seed.
#pragma once

#include <cstdint>
#include <optional>

// The world is seeded from the backend's time of day. TFixedTimeOfDay<B> is backend B, except
// that while FixedMs holds a value (milliseconds since midnight UTC) the time of day is that
// value: a demo recorded or played in the window builds its world from the demo's seed.
template <class TBase>
class TFixedTimeOfDay : public TBase {
 public:
  std::optional<std::uint32_t> FixedMs;

  void TimeOfDay(int& hour, int& minute, int& second, int& millisecond) override {
    if (!FixedMs) return TBase::TimeOfDay(hour, minute, second, millisecond);
    std::uint32_t ms = *FixedMs;
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    millisecond = static_cast<int>(ms % 1000);
  }

  // The backend's own time of day, in milliseconds since midnight UTC.
  std::uint32_t ClockMs() {
    int h = 0, m = 0, s = 0, ms = 0;
    TBase::TimeOfDay(h, m, s, ms);
    return static_cast<std::uint32_t>(((h * 60 + m) * 60 + s) * 1000 + ms);
  }
};
