// The ship's flight model and controls: turning, thrust, the flame and the ship picture.
#pragma once

#include <cstdint>

#include "framework/Extended.h"
#include "game/Main.h"
#include "input/InputStates.h"

class TDXDraw;
class TDXImageList;

// What the pilot asks of the ship in one frame, read from the input states: thrust (Up), turn
// left and right, and fine control (Shift, or joystick button 32) for small steps.
struct TShipControls {
  bool Thrust = false;
  bool Left = false;
  bool Right = false;
  bool Fine = false;
};

// The two ways of flying. Fine control turns one step a frame and pushes a quarter as hard;
// its flame hangs closer under the ship (the pivot, as a fraction of the flame's height, lies
// above the picture's top edge). The fine thrust is kept in extended precision.
struct TShipMode {
  int TurnStep;
  Extended Thrust;
  double FlamePivotY;
};

// The controls as the input states hold them: Up thrusts, Left and Right turn, and button 32
// (Shift on the keyboard) asks for fine control. No other state steers the ship.
TShipControls ShipControlsFrom(const TInputStates& States);

TShipMode ShipMode(const TShip& Ship, bool Fine);

// The ship's speed in world units per frame. Planets never move, so this is also its speed
// relative to any planet.
double Speed(TPlayer Player);

// The distance from the ship's centre to the centre of Planets[Index], in world units.
double DistToPlanet(std::uint16_t Index);

// Turns (only while not Landed: on a planet the planet sets the heading) and thrusts along the
// nose (also while Landed, which is how a ship takes off). Returns whether it thrust, that is,
// whether the flame shows. The position is not changed: the next frame moves the ship.
bool SteerShip(TPlayer& Player, const TShipControls& Controls);

// The controls of one frame: steers and thrusts, and draws the flame while thrusting.
void ControlShip(TDXDraw& DXDraw, TDXImageList& DXImageList, TPlayer& Player,
                 const TShipControls& Controls);

// Draws the ship at the screen centre, turned to its heading.
void DrawShip(TDXDraw& DXDraw, TDXImageList& DXImageList, const TPlayer& Player);
