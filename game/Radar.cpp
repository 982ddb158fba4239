// The radar: one dot per planet, at the planet's place scaled down about the screen centre.
#include <algorithm>
#include <cmath>

#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "game/Main.h"

namespace {

// Rounds an extended value to the nearest integer, halves to even, kept within int's range.
int RoundToInt(long double v) {
  return static_cast<int>(std::clamp<long double>(std::nearbyint(v), -2147483648.0L, 2147483647.0L));
}

}  // namespace

void DrawRadarDot(const TPlanet& Planet, TDXDraw& DXDraw, TDXImageList& DXImageList) {
  const long double x = (static_cast<long double>(Planet.X) - Player.X) / RadarScale + 512;
  const long double y = (static_cast<long double>(Planet.Y) - Player.Y) / RadarScale + 384;
  DXImageList.Items().ImageByName("FlashYellow")->Draw(DXDraw.Surface, RoundToInt(x), RoundToInt(y), 0);
}
