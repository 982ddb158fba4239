// The ship's flight model and controls: turning, thrust, the flame and the ship picture.
#include "game/Ship.h"

#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "framework/AngleTable.h"
#include "framework/Extended.h"

namespace {

constexpr int FineTurnStep = 1;
// Held in extended precision (0.05), unlike the ship's own single-precision thrust.
constexpr Extended FineThrust = Extended(5) / 100;
constexpr double FineFlamePivotY = -0.2;
constexpr double NormalFlamePivotY = -0.5;
// The size the flame and the ship are drawn at: their pictures' own.
constexpr int FlameWidth = 15;
constexpr int FlameHeight = 19;
constexpr int ShipSize = 31;

}  // namespace

TShipControls ShipControlsFrom(const TInputStates& States) {
  return {States.Contains(stUp), States.Contains(stLeft), States.Contains(stRight),
          States.Contains(stButton32)};
}

TShipMode ShipMode(const TShip& Ship, bool Fine) {
  if (Fine) return {FineTurnStep, FineThrust, FineFlamePivotY};
  return {Ship.TurnStep, Ship.Thrust, NormalFlamePivotY};
}

double Speed(TPlayer Player) {
  Extended vx = Player.VX;
  Extended vy = Player.VY;
  return static_cast<double>(Sqrt(vx * vx + vy * vy));
}

double DistToPlanet(std::uint16_t Index) {
  const TPlanet& planet = *Planets[Index];
  Extended dx = Extended(Player.X) - planet.X;
  Extended dy = Extended(Player.Y) - planet.Y;
  return static_cast<double>(Sqrt(dx * dx + dy * dy));
}

bool SteerShip(TPlayer& Player, const TShipControls& Controls) {
  TShipMode mode = ShipMode(Player.Ship, Controls.Fine);
  if (!Player.Landed) {
    // Both keys may be held: the two turns then cancel.
    if (Controls.Left) Player.Heading = static_cast<std::uint8_t>(Player.Heading - mode.TurnStep);
    if (Controls.Right) Player.Heading = static_cast<std::uint8_t>(Player.Heading + mode.TurnStep);
  }
  if (!Controls.Thrust) return false;
  // Turned back a quarter, the table's cosine and sine point along the nose: (sin, -cos).
  int along = Player.Heading - 64;
  Player.VX = static_cast<float>(Player.VX + AngleCos(along) * mode.Thrust);
  Player.VY = static_cast<float>(Player.VY + AngleSin(along) * mode.Thrust);
  return true;
}

void ControlShip(TDXDraw& DXDraw, TDXImageList& DXImageList, TPlayer& Player,
                 const TShipControls& Controls) {
  if (!SteerShip(Player, Controls)) return;
  double pivotY = ShipMode(Player.Ship, Controls.Fine).FlamePivotY;
  DXImageList.Items().ImageByName("Flame")->DrawTurned(DXDraw.Surface, ScreenCentreX, ScreenCentreY,
                                                     FlameWidth, FlameHeight, 0, 0.5, pivotY,
                                                     Player.Heading);
}

void DrawShip(TDXDraw& DXDraw, TDXImageList& DXImageList, const TPlayer& Player) {
  DXImageList.Items().ImageByName(Player.Ship.Image)
      ->DrawTurned(DXDraw.Surface, ScreenCentreX, ScreenCentreY, ShipSize, ShipSize, 0, 0.5, 0.5,
                  Player.Heading);
}
