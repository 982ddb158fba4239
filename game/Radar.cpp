// The radar: one dot per planet, at the planet's place scaled down about the screen centre.
#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "framework/Extended.h"
#include "game/Main.h"

void DrawRadarDot(const TPlanet& Planet, TDXDraw& DXDraw, TDXImageList& DXImageList) {
  const Extended x = (Extended(Planet.X) - Player.X) / RadarScale + ScreenCentreX;
  const Extended y = (Extended(Planet.Y) - Player.Y) / RadarScale + ScreenCentreY;
  DXImageList.Items().ImageByName("FlashYellow")->Draw(DXDraw.Surface, RoundToInt(x), RoundToInt(y), 0);
}
