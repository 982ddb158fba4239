// TSoundEvents: what happened in one frame of the game that can be heard.
#pragma once

#include <cstdint>

// How the ship's engine ran this frame: not at all, with fine control (a quarter of the push), or
// at full thrust.
enum TThrust : std::uint8_t { thNone, thGentle, thFull };

// The sound-worthy things of one frame. All are read from the game's state before and after the
// frame and from the input the frame consumed; none feeds back into the game.
struct TSoundEvents {
  TThrust Thrust = thNone;
  // The ship came to rest on a planet (it was not touching one the frame before) and survived.
  // Impact is the game's own measure of how hard: ten times the speed, in world units per frame,
  // that it came in at (1 or 2 for a gentle touch; over 10 the hull takes damage).
  bool TouchDown = false;
  std::int32_t Impact = 0;
  // The hull took damage but held.
  bool Damage = false;
  // The ship left a planet it was standing on, and is intact.
  bool TakeOff = false;
  // The ship was destroyed, and its explosion began.
  bool Crash = false;
  // The current planet's information panel began to slide in.
  bool PanelIn = false;
  // A new line took the message ticker.
  bool Message = false;

  bool operator==(const TSoundEvents&) const = default;
  // Nothing to hear: no new sound starts and no engine runs.
  bool Quiet() const { return *this == TSoundEvents{}; }
};
