// The explosion pictures: a ragged fireball, and a larger cloud of fire and smoke.
#include <vector>

#include "Pictures.h"
#include "Ramp.h"

namespace art {

namespace {

// A billow of the cloud: where it is, how big, and how hot (0 smoke .. 1 fire).
struct Puff {
  double x, y, r, heat;
};

// Paints the billows in order; each is a lit ball of smoke whose fire shows through from inside.
void PaintPuffs(Canvas& c, const std::vector<Puff>& puffs, std::uint32_t seed) {
  for (const auto& p : puffs) {
    auto ragged = [=](double x, double y) {
      const double a = Atan2(y - p.y, x - p.x);
      const double edge = p.r * (0.82 + 0.3 * Noise2(Cos(a) * 1.6 + p.x, Sin(a) * 1.6 + p.y, seed));
      return (x - p.x) * (x - p.x) + (y - p.y) * (y - p.y) < edge * edge;
    };
    c.Paint(ragged, [=](double x, double y) {
      const double d = Sqrt((x - p.x) * (x - p.x) + (y - p.y) * (y - p.y)) / p.r;
      const double n = Fbm2(x * 0.22, y * 0.22, seed + 7, 3);
      const double lit = Clamp(SphereTone(x, y, p.x, p.y, p.r * 1.05), -1, 1);
      const Rgb smoke = Tone(Mix(Hex(0x4a403a), Hex(0x7a6a5a), n), lit * 0.7);
      const double fire = Clamp(p.heat * (1.25 - d) + (n - 0.5) * 0.6);
      return Mix(smoke, FireColour(Clamp(fire * 1.1)), SmoothStep(0.05, 0.45, fire));
    });
  }
}

}  // namespace

// The fireball: a ragged, lumpy ball, white-hot inside, with tongues and sparks.
void PaintExplosion(Canvas& c) {
  const double cx = 21.5, cy = 25.5;
  Rng rng(23);
  for (int i = 0; i < 10; ++i) {  // burning fragments flung out
    const double a = rng.Range(0, 2 * kPi), r = rng.Range(15, 20.5), size = rng.Range(0.8, 1.6);
    const double x = cx + r * Cos(a), y = cy + r * Sin(a) * 1.15;
    c.Paint(Circle(x, y, size), [=](double px, double py) { return FireColour(0.9 - Sqrt((px - x) * (px - x) + (py - y) * (py - y)) / size * 0.5); });
  }
  auto ball = [=](double x, double y) {
    const double a = Atan2(y - cy, x - cx);
    const double edge = 15.5 * (0.7 + 0.45 * Noise2(Cos(a) * 2.2 + 3, Sin(a) * 2.2 + 3, 41) + 0.12 * Noise2(Cos(a) * 6, Sin(a) * 6, 43));
    const double dx = x - cx, dy = (y - cy) / 1.15;
    return dx * dx + dy * dy < edge * edge;
  };
  c.Paint(ball, [=](double x, double y) {
    const double dx = x - cx, dy = (y - cy) / 1.15;
    const double d = Sqrt(dx * dx + dy * dy) / 17.0;
    const double n = Fbm2(x * 0.18, y * 0.18, 44, 4);
    return FireColour(Clamp(1.15 - d * 1.1 + (n - 0.5) * 0.9 - dy * 0.008));
  });
}

// The big cloud: billows of smoke around a fiery heart, lit from the upper left.
void PaintExplosion2(Canvas& c) {
  Rng rng(96);
  std::vector<Puff> puffs;
  for (int i = 0; i < 22; ++i) {  // the smoky rim first, then ever hotter billows inwards
    const double t = static_cast<double>(i) / 22.0;
    const double a = rng.Range(0, 2 * kPi), reach = (1.0 - t) * 30.0 + rng.Range(0, 6);
    puffs.push_back({48 + reach * Cos(a), 48 + reach * Sin(a), 9.0 + 7.0 * t + rng.Range(0, 4), 0.15 + t * 0.9});
  }
  puffs.push_back({48, 48, 15, 1.15});
  PaintPuffs(c, puffs, 61);
}

}  // namespace art
