// Drawing a near planet: its body, and every thing on its rim standing upright, lights pulsing.
#include <cmath>

#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "framework/AngleTable.h"
#include "game/Main.h"

namespace {

// How deep a thing's foot sinks into the body, so that it stands on the rim, not above it.
constexpr int SunkenPixels = 4;

int Round(long double v) { return static_cast<int>(std::llrint(v)); }

}  // namespace

void StepGlow(TPlanetThing& Thing) {
  // A GlowStep of 255 is -1: four times it takes 4 away, modulo 256.
  Thing.Glow = static_cast<std::uint8_t>(Thing.Glow + 4 * Thing.GlowStep);
  if (Thing.Glow >= 252) Thing.GlowStep = 255;
  if (Thing.Glow <= 4) Thing.GlowStep = 1;
}

void TPlanet::DrawPlanet(TDXDraw& DXDraw, TDXImageList& DXImageList, double ShipX, double ShipY) {
  TDirectDrawSurface* surface = DXDraw.Surface;
  // The ship sits at the screen centre; everything else is placed relative to it.
  long double left = static_cast<long double>(X) - ShipX + ScreenCentreX - Radius;
  long double top = static_cast<long double>(Y) - ShipY + ScreenCentreY - Radius;
  DXImageList.Items().ImageByName(ImageName)->Draw(surface, Round(left), Round(top), 0);

  for (TPlanetThing& thing : Things) {
    TPictureCollectionItem& picture = *DXImageList.Items().ImageByName(thing.ImageName);
    int w = picture.Width();
    int h = picture.Height();
    // From the centre out to the middle of the thing.
    int d = Radius + h / 2 - SunkenPixels;
    long double cos = AngleCos(thing.Angle);
    long double sin = AngleSin(thing.Angle);
    int sx = Round(X - cos * d - ShipX + ScreenCentreX);
    int sy = Round(Y - sin * d - ShipY + ScreenCentreY);
    // Upright at the top of the rim (64), turned with the rim elsewhere: always pointing out.
    int rotation = thing.Angle - 64;
    if (thing.Glow == 0) {
      picture.DrawTurned(surface, sx, sy, w, h, 0, 0.5, 0.5, rotation);
    } else {
      picture.DrawTurnedBlended(surface, sx, sy, w, h, 0, 0.5, 0.5, rotation, thing.Glow);
      StepGlow(thing);
    }
  }
}
