// Explosion slots: starting one.
#include "game/Main.h"

void TExplosion::Start(double x, double y, double vx, double vy) {
  // No check for a running explosion: starting one again restarts it from its first frame.
  X = x;
  Y = y;
  VX = vx;
  VY = vy;
  Alpha = 60;
}
