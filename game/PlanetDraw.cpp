// Drawing a near planet: its body, and every thing on its rim standing upright, lights glowing.
#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "framework/AngleTable.h"
#include "framework/Extended.h"
#include "game/Main.h"

namespace {

// How deep a thing's foot sinks into the body, so that it stands on the rim, not above it.
constexpr int SunkenPixels = 4;

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
  Extended left = Extended(X) - ShipX + ScreenCentreX - Radius;
  Extended top = Extended(Y) - ShipY + ScreenCentreY - Radius;
  DXImageList.Items().ImageByName(ImageName)->Draw(surface, RoundToInt(left), RoundToInt(top), 0);

  for (TPlanetThing& thing : Things) {
    TPictureCollectionItem& picture = *DXImageList.Items().ImageByName(thing.ImageName);
    int w = picture.Width();
    int h = picture.Height();
    // From the centre out to the middle of the thing.
    int d = Radius + h / 2 - SunkenPixels;
    Extended cos = AngleCos(thing.Angle);
    Extended sin = AngleSin(thing.Angle);
    int sx = RoundToInt(X - cos * d - ShipX + ScreenCentreX);
    int sy = RoundToInt(Y - sin * d - ShipY + ScreenCentreY);
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
