// Reading a frame's sound events from the game's state.
#include "sound/SoundWatch.h"

#include <cmath>

namespace {

// An explosion's slot after the frame that started it: Start sets 60 and the same frame's drawing
// adds 2. Its later frames pass 64, 66, ...: 62 is only ever seen once per start.
constexpr std::uint8_t FreshExplosionAlpha = 62;
// The ticker right after a new line took it (MessageLog.cpp): drawn next frame from the right edge.
constexpr std::uint16_t NewLineShowTime = 500;
constexpr std::uint16_t NewLineTextX = 1024;

// The game's measure of an impact: ten times the speed, rounded as the landing rounds it. Float
// products and their sum and square root are exact or correctly rounded alike on every target.
std::int32_t ImpactOf(float vx, float vy) {
  const double speed = std::sqrt(double{vx} * vx + double{vy} * vy);
  const double impact = std::nearbyint(speed * 10);
  return impact > 1000 ? 1000 : static_cast<std::int32_t>(impact);
}

}  // namespace

TGameSnapshot TakeSnapshot() {
  TGameSnapshot s;
  s.Landed = Player.Landed;
  s.Hull = Player.Hull;
  s.VX = Player.VX;
  s.VY = Player.VY;
  s.CurrentPlanet = CurrentPlanet;
  for (int i = 0; i < PlanetCount; ++i) s.PanelSlide[i] = Planets[i] ? Planets[i]->PanelSlide : 0;
  for (std::size_t i = 0; i < Explosions.size(); ++i) s.ExplosionAlpha[i] = Explosions[i] ? Explosions[i]->Alpha : 0;
  if (Messages) {
    s.ShowTime = Messages->ShowTime;
    s.TextX = Messages->TextX;
    s.LineCount = Messages->Lines.size();
  }
  return s;
}

TSoundEvents SoundEventsOf(const TGameSnapshot& before, const TInputStates* input, const TGameSnapshot& after) {
  TSoundEvents e;
  // The engine runs only for an intact ship: a destroyed one is no longer steered.
  if (input && after.Hull > 0 && input->Contains(stUp)) e.Thrust = input->Contains(stButton32) ? thGentle : thFull;

  bool exploded = false;
  for (std::size_t i = 0; i < after.ExplosionAlpha.size(); ++i)
    exploded |= after.ExplosionAlpha[i] == FreshExplosionAlpha && before.ExplosionAlpha[i] != FreshExplosionAlpha;
  e.Crash = exploded || (before.Hull > 0 && after.Hull == 0);

  // A wreck lies still and makes no more landing sounds.
  if (after.Hull > 0) {
    e.TouchDown = after.Landed && !before.Landed;
    if (e.TouchDown) e.Impact = ImpactOf(before.VX, before.VY);
    e.Damage = after.Hull < before.Hull;
    e.TakeOff = before.Landed && !after.Landed;
    if (after.CurrentPlanet < PlanetCount)
      e.PanelIn = before.PanelSlide[after.CurrentPlanet] == 0 && after.PanelSlide[after.CurrentPlanet] > 0;
  }
  const bool newLine = after.ShowTime == NewLineShowTime && after.TextX == NewLineTextX;
  const bool sameAsBefore = before.ShowTime == after.ShowTime && before.TextX == after.TextX &&
                            before.LineCount == after.LineCount;
  e.Message = newLine && !sameAsBefore;
  return e;
}

void TSoundWatch::Begin() {
  FBefore = TakeSnapshot();
  FHasInput = false;
}

void TSoundWatch::FrameInput(const TInputStates& states) {
  FInput = states;
  FHasInput = true;
}

TSoundEvents TSoundWatch::FrameEnd() {
  TGameSnapshot after = TakeSnapshot();
  TSoundEvents events = SoundEventsOf(FBefore, FHasInput ? &FInput : nullptr, after);
  FBefore = after;
  FHasInput = false;
  return events;
}
