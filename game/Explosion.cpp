// Explosion slots: starting one, and drawing and advancing a running one.
#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "framework/Extended.h"
#include "framework/Random.h"
#include "game/Main.h"

void TExplosion::Start(double x, double y, double vx, double vy) {
  // No check for a running explosion: starting one again restarts it from its first frame.
  X = x;
  Y = y;
  VX = vx;
  VY = vy;
  Alpha = 60;
}

namespace {

// One of the two pictures, stretched to a random size from nothing up to twice (halfWidth,
// halfHeight) and turned to a random angle, anew on every frame. The draws go width, height, angle.
void DrawFlicker(TPictureCollectionItem& picture, TDirectDrawSurface* surface, int sx, int sy,
                 int halfWidth, int halfHeight, int alpha) {
  int w = RoundToInt(Extended(RandomBelow(100)) / 50 * halfWidth);
  int h = RoundToInt(Extended(RandomBelow(100)) / 50 * halfHeight);
  int angle = RandomBelow(255);
  picture.DrawTurnedBlended(surface, sx, sy, w, h, 0, 0.5, 0.5, angle, alpha);
}

}  // namespace

void TExplosion::DrawFrame(TDXDraw& DXDraw, TDXImageList& DXImageList) {
  TDirectDrawSurface* surface = DXDraw.Surface;
  // Fixed in the world: the view follows the ship.
  int sx = RoundToInt(Extended(X) - Player.X + ScreenCentreX);
  int sy = RoundToInt(Extended(Y) - Player.Y + ScreenCentreY);
  // The fire fades in as the smoke over it fades out.
  DrawFlicker(*DXImageList.Items().ImageByName("Explosion"), surface, sx, sy, 43, 51, Alpha);
  DrawFlicker(*DXImageList.Items().ImageByName("Explosion2"), surface, sx, sy, 96, 96, 255 - Alpha);
  // 60, 62, ..., 254, then 256 wraps to 0 and the slot is idle: 98 frames.
  Alpha = static_cast<std::uint8_t>(Alpha + 2);
  X = static_cast<double>(Extended(X) + VX);
  Y = static_cast<double>(Extended(Y) + VY);
}
