// Drawing a near planet: its body, and every thing on its rim standing upright, lights pulsing.
#include "game/Main.h"

void StepGlow(TPlanetThing& Thing) {
  // A GlowStep of 255 is -1: four times it takes 4 away, modulo 256.
  Thing.Glow = static_cast<std::uint8_t>(Thing.Glow + 4 * Thing.GlowStep);
  if (Thing.Glow >= 252) Thing.GlowStep = 255;
  if (Thing.Glow <= 4) Thing.GlowStep = 1;
}
