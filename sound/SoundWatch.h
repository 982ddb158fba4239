// TSoundWatch: finds what happened in each frame of the game that can be heard.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "game/Main.h"
#include "input/InputStates.h"
#include "sound/SoundEvents.h"

// The part of the game's state that its sounds are read from, copied at the end of a frame (or
// before the first). Velocity in world units per frame; PanelSlide per planet in pixels (0..475);
// ExplosionAlpha per slot (0 idle); the ticker's ShowTime (frames) and TextX (pixels).
struct TGameSnapshot {
  bool Landed = false;
  std::uint8_t Hull = 0;
  float VX = 0, VY = 0;
  std::uint8_t CurrentPlanet = 255;
  std::array<std::uint16_t, PlanetCount> PanelSlide{};
  std::array<std::uint8_t, 4> ExplosionAlpha{};
  std::uint16_t ShowTime = 0;
  std::uint16_t TextX = 0;
  std::size_t LineCount = 0;
};

// The game's state now. Reads the globals only; tables not made yet read as empty.
TGameSnapshot TakeSnapshot();

// The events of one frame: a pure function of the state before it, the input states it consumed
// (null when it consumed none) and the state after it.
TSoundEvents SoundEventsOf(const TGameSnapshot& before, const TInputStates* input, const TGameSnapshot& after);

// Watches the game's frames from outside: Begin copies the state to compare the first frame with,
// FrameInput keeps the input states the frame consumes, FrameEnd reads the state after the frame
// and gives the frame's events. It only reads the game.
class TSoundWatch {
 public:
  void Begin();
  void FrameInput(const TInputStates& states);
  TSoundEvents FrameEnd();

 private:
  TGameSnapshot FBefore;
  TInputStates FInput;
  bool FHasInput = false;
};
