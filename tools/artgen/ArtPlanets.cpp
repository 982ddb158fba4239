// The twelve worlds: spheres lit from the upper left, each with its own surface, relief and air.
#include <vector>

#include "Pictures.h"
#include "Ramp.h"

namespace art {

namespace {

struct Vec3 {
  double x, y, z;
};
inline Vec3 operator*(Vec3 v, double k) { return {v.x * k, v.y * k, v.z * k}; }
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Normalise(Vec3 v) { return v * (1.0 / Sqrt(Dot(v, v))); }

double Fbm(Vec3 p, double f, std::uint32_t seed, int octaves, double gain = 0.5) {
  return Fbm3(p.x * f + 11.3, p.y * f + 7.1, p.z * f + 3.7, seed, octaves, gain);
}
// Ridged noise: 1 on the crest lines of the noise, falling off to both sides.
double Ridge(Vec3 p, double f, std::uint32_t seed, int octaves) {
  const double n = Fbm(p, f, seed, octaves) - 0.5;
  return 1.0 - 2.0 * (n < 0 ? -n : n);
}

// What one point of a world's surface is: its colour, its height for the relief, how much it
// shines like water, and any light of its own (lava).
struct Ground {
  Rgb colour;
  double height = 0;
  double gloss = 0;
  Rgb glow{};
};

// Craters scattered over a sphere, seeded.
struct Crater {
  Vec3 centre;
  double radius;
  bool young;
};
std::vector<Crater> MakeCraters(std::uint32_t seed, int count, double rMin, double rMax) {
  Rng rng(seed);
  std::vector<Crater> out;
  for (int i = 0; i < count; ++i) {
    Vec3 v{rng.Range(-1, 1), rng.Range(-1, 1), rng.Range(-1, 1)};
    if (Dot(v, v) < 0.01) v = {0, 0, 1};
    const double u = rng.Uniform();
    out.push_back({Normalise(v), rMin + (rMax - rMin) * u * u * u, rng.Uniform() < 0.15});
  }
  return out;
}
// Height of the crater field at p, and a darkening of crater floors / brightening of rays.
double CraterHeight(const std::vector<Crater>& craters, Vec3 p, double* albedo) {
  double h = 0;
  for (const auto& c : craters) {
    const Vec3 d{p.x - c.centre.x, p.y - c.centre.y, p.z - c.centre.z};
    const double q = Sqrt(Dot(d, d)) / c.radius;
    if (q > 2.2) continue;
    if (q < 1.0) {
      h += (q * q - 1.0) * 0.55 * c.radius * 4;
      if (albedo) *albedo -= 0.05 * (1 - q);
    }
    const double rim = (q - 1.0) / 0.22;
    h += 0.3 * c.radius * 4 * Exp(-rim * rim);
    if (c.young && albedo && q > 1.0) *albedo += 0.12 * Exp(-(q - 1.0) * 2.5) * (0.6 + 0.4 * Sin(Atan2(d.y, d.x) * 9));
  }
  return h;
}

// How a world is made and lit.
struct World {
  std::uint32_t seed;
  double yaw, pitch;                // turns the globe so features sit at their own places
  Ground (*ground)(Vec3 p, std::uint32_t seed);
  double relief;                    // strength of the bump shading
  Rgb air;                          // colour of the atmosphere's rim
  double airStrength;
  double clouds;                    // cloud cover, 0 for none
  double cloudScale;
  Rgb cloudColour;
  double ambient = 0.2;
};

Vec3 Turn(Vec3 n, const World& w) {
  const double cy = Cos(w.yaw), sy = Sin(w.yaw), cp = Cos(w.pitch), sp = Sin(w.pitch);
  const Vec3 a{n.x, n.y * cp - n.z * sp, n.y * sp + n.z * cp};
  return {a.x * cy + a.z * sy, a.y, -a.x * sy + a.z * cy};
}

void PaintWorld(Canvas& c, const World& w) {
  const double side = c.Width() / c.Scale(), r = side / 2;
  const double e = 1.0 / r;  // one picture pixel in normalised units
  const Vec3 light{Light::x, Light::y, Light::z};
  const Vec3 half = Normalise({Light::x, Light::y, Light::z + 1.0});
  auto at = [&](double nx, double ny) {
    const double z2 = 1 - nx * nx - ny * ny;
    const Vec3 n{nx, ny, Sqrt(z2 < 0.0004 ? 0.0004 : z2)};
    return w.ground(Turn(Normalise(n), w), w.seed);
  };
  c.Paint(Circle(r, r, r), [&](double x, double y) {
    const double nx = (x - r) / r, ny = (y - r) / r;
    const double nz = Sqrt(1 - nx * nx - ny * ny);
    const Vec3 n{nx, ny, nz};
    const Ground g = at(nx, ny);
    Vec3 bumped = n;
    if (w.relief > 0) {
      const double hx = at(nx + e, ny).height - g.height, hy = at(nx, ny + e).height - g.height;
      bumped = Normalise({nx - hx * w.relief * r, ny - hy * w.relief * r, nz});
    }
    const double d0 = Clamp((Dot(n, light) + 0.12) / 1.12);
    const double d = Clamp((Dot(bumped, light) + 0.12) / 1.12);
    Rgb col = g.colour * (w.ambient + (1.05 - w.ambient) * d);
    const double hl = Clamp(Dot(n, half));
    col = col + Rgb{1, 0.97, 0.9} * (g.gloss * 0.55 * Pow(hl, 36));
    if (w.clouds > 0) {
      const Vec3 p = Turn(n, w);
      const double swirl = Fbm(p, 1.3, w.seed + 77, 3);
      const Vec3 q{p.x + swirl * 0.7, p.y * 1.6 + swirl * 0.4, p.z - swirl * 0.5};
      const double f = Fbm(q, w.cloudScale, w.seed + 91, 6, 0.55);
      const double cover = SmoothStep(0.62 - w.clouds * 0.25, 0.8 - w.clouds * 0.2, f);
      col = Mix(col, w.cloudColour * (0.18 + 0.92 * d0), cover * 0.92);
    }
    col = col + g.glow * (0.75 + 0.25 * (1 - d0));
    const double rim = Pow(1 - nz, 2.2);
    col = col + w.air * (w.airStrength * rim * (0.15 + d0));
    return col;
  });
}

// ---- The surfaces ----

Ground Moon(Vec3 p, std::uint32_t seed) {
  static const std::vector<Crater> craters = MakeCraters(seed, 90, 0.04, 0.34);
  const double base = Fbm(p, 3.0, seed, 6);
  const double maria = SmoothStep(0.42, 0.52, Fbm(p, 1.2, seed + 5, 4));
  double albedo = 0.62 - 0.2 * maria + 0.2 * (base - 0.5);
  const double h = CraterHeight(craters, p, &albedo) + 0.05 * base;
  Rgb col = Mix(Hex(0x8a8478), Hex(0xc8c0b0), Clamp((albedo - 0.3) * 1.9));
  col = Mix(col, Hex(0x6a6a70), maria * 0.35);
  return {col, h};
}

Ground Desert(Vec3 p, std::uint32_t seed) {
  const double warp = Fbm(p, 2.0, seed + 3, 4);
  const double dunes = 0.5 + 0.5 * Sin((p.x * 0.8 + p.y * 0.6) * 46 + warp * 14);
  const double mesa = Fbm(p, 2.2, seed, 6);
  const double terrace = Floor(SmoothStep(0.55, 0.75, mesa) * 4) / 4;
  // Canyons: the crests of ridged noise, broken up so they wander rather than tile the ground.
  const double canyon = Pow(Ridge(p, 2.8, seed + 9, 5), 18) * SmoothStep(0.45, 0.6, Fbm(p, 1.6, seed + 11, 3));
  Rgb col = Ramp({{0.0, 0xb86a32}, {0.4, 0xd89a52}, {0.7, 0xe8c07a}, {1.0, 0xf2d8a0}}, warp * 0.7 + dunes * 0.3);
  col = Mix(col, Ramp({{0, 0xa04a28}, {1, 0x7a3a22}}, terrace), terrace > 0 ? 0.75 : 0.0);
  col = Mix(col, Hex(0x5a2e1a), canyon * 0.8);
  return {col, dunes * 0.015 * (1 - terrace) + terrace * 0.08 - canyon * 0.05};
}

Ground Ice(Vec3 p, std::uint32_t seed) {
  const double sheet = Fbm(p, 2.0, seed, 6);
  const double cracks = Pow(Ridge(p, 3.2, seed + 4, 5), 14);
  const double fine = Pow(Ridge(p, 7.0, seed + 8, 3), 18);
  const double sea = SmoothStep(0.38, 0.34, Fbm(p, 1.4, seed + 2, 4));
  Rgb col = Ramp({{0.0, 0x9cc4dc}, {0.5, 0xd8ecf4}, {1.0, 0xf6fbff}}, sheet);
  col = Mix(col, Hex(0x5a9ac8), sea * 0.7);
  col = Mix(col, Hex(0x3a7ab0), Clamp(cracks * 0.9 + fine * 0.5));
  return {col, sheet * 0.04 - cracks * 0.03, sea * 0.8};
}

// Oceans and continents with climate by latitude; shared by the blue world and the garden world.
Ground Terran(Vec3 p, std::uint32_t seed, double seaLevel, double lushness) {
  const double elevation = Fbm(p, 1.7, seed, 8, 0.52);
  const double lat = p.y < 0 ? -p.y : p.y;
  const double moist = Fbm(p, 2.5, seed + 17, 5);
  if (elevation < seaLevel) {
    const double depth = (seaLevel - elevation) / seaLevel;
    Rgb sea = Ramp({{0.0, 0x3aa8c8}, {0.06, 0x1f78b8}, {0.3, 0x15509a}, {1.0, 0x0c2c66}}, depth * 3);
    if (lat > 0.86) sea = Mix(sea, Hex(0xe8f2fa), SmoothStep(0.86, 0.9, lat));
    return {sea, 0, lat > 0.88 ? 0.1 : 0.9};
  }
  const double up = (elevation - seaLevel) / (1 - seaLevel);
  const double mount = Pow(Ridge(p, 3.0, seed + 23, 6), 3) * SmoothStep(0.05, 0.4, up);
  const double dry = Clamp(1.0 - moist * 1.4 * lushness + (lat < 0.35 ? 0.25 - lat * 0.7 : 0) - 0.1);
  Rgb land = Ramp({{0.0, 0x2e7a2a}, {0.35, 0x4f8f34}, {0.6, 0x9a9a4a}, {0.8, 0xc8a862}, {1.0, 0xe0c888}}, dry);
  land = Mix(land, Hex(0x1f5a24), SmoothStep(0.55, 0.8, moist) * (1 - dry) * 0.8);
  land = Mix(land, Hex(0xd8cca0), SmoothStep(0.0, 0.03, -(up - 0.02)) * 0.7);  // beaches
  land = Mix(land, Ramp({{0, 0x7a6a52}, {0.7, 0x9a8e80}, {1, 0xf4f6fa}}, mount), SmoothStep(0.2, 0.55, mount));
  const double snow = Clamp(SmoothStep(0.8, 0.9, lat + mount * 0.15) + SmoothStep(0.75, 0.9, mount));
  land = Mix(land, Hex(0xf2f6fa), snow);
  return {land, up * 0.05 + mount * 0.09};
}
Ground Earthlike(Vec3 p, std::uint32_t seed) { return Terran(p, seed, 0.5, 1.0); }
Ground Garden(Vec3 p, std::uint32_t seed) { return Terran(p, seed, 0.47, 1.3); }

Ground Volcanic(Vec3 p, std::uint32_t seed) {
  static const std::vector<Crater> cones = MakeCraters(seed + 1, 14, 0.05, 0.16);
  const double rock = Fbm(p, 3.0, seed, 6);
  const double lava = Pow(Ridge(p, 2.2, seed + 5, 6), 40);
  const double fine = Pow(Ridge(p, 5.0, seed + 6, 4), 60);
  double albedo = 0;
  const double cone = -CraterHeight(cones, p, &albedo);
  Rgb col = Ramp({{0.0, 0x1e1a1c}, {0.5, 0x3a3232}, {1.0, 0x5a4a42}}, rock);
  const double hot = Clamp(lava * 1.2 + fine * 0.5 + (albedo < -0.03 ? 0.9 : 0));
  const Rgb glow = Ramp({{0.0, 0x000000}, {0.3, 0x7a1004}, {0.65, 0xe04a08}, {1.0, 0xffd040}}, hot);
  col = Mix(col, Hex(0x2a0c06), hot * 0.6);
  return {col, rock * 0.05 - cone * 0.2 - lava * 0.03, 0, glow};
}

Ground Jungle(Vec3 p, std::uint32_t seed) {
  const double canopy = Fbm(p, 6.0, seed, 6, 0.6);
  const double zones = Fbm(p, 1.5, seed + 3, 4);
  const double river = Pow(Ridge(p, 2.4, seed + 7, 5), 30) * SmoothStep(0.35, 0.5, Fbm(p, 1.4, seed + 12, 3));
  const double lake = SmoothStep(0.31, 0.28, zones);
  const double swamp = SmoothStep(0.36, 0.33, zones) * (1 - lake);
  // Tree crowns in clumps: the fine noise cut into bright tops and dark gaps.
  const double crowns = SmoothStep(0.35, 0.65, canopy);
  Rgb col = Ramp({{0.0, 0x0a2a12}, {0.35, 0x17521c}, {0.65, 0x2f7a24}, {1.0, 0x86a83a}}, Clamp(crowns * 0.6 + zones * 0.55 - 0.05));
  col = Mix(col, Hex(0x4a5a2a), swamp * 0.7);
  col = Mix(col, Hex(0x3a90a0), river * 0.9);
  col = Mix(col, Hex(0x1a5a6a), lake);
  return {col, crowns * 0.05 - river * 0.03, Clamp(river + lake) * 0.7};
}

Ground GasGiant(Vec3 p, std::uint32_t seed) {
  const double turbulence = Fbm(p, 3.5, seed, 5) - 0.5;
  double v = p.y + turbulence * 0.12;
  // A great storm: an oval that bends the bands around it.
  const double sx = (p.x - 0.45) / 0.26, sy = (p.y - 0.32) / 0.13;
  const double storm = p.z > 0 ? Clamp(1 - (sx * sx + sy * sy)) : 0.0;
  v += storm * 0.05 * Sin(Atan2(sy, sx) * 2);
  const double band = 0.5 + 0.5 * Sin(v * 19) * 0.7 + 0.3 * Sin(v * 43 + 1.3) * 0.5;
  Rgb col = Ramp({{0.0, 0x8a5a3a}, {0.3, 0xb88458}, {0.55, 0xe0c49a}, {0.8, 0xf4e4c4}, {1.0, 0xd8a878}}, Clamp(band));
  col = Mix(col, Ramp({{0, 0xe89a6a}, {1, 0xb84a2a}}, storm), SmoothStep(0.0, 0.35, storm));
  return {col, 0};
}

Ground Toxic(Vec3 p, std::uint32_t seed) {
  const double land = Fbm(p, 2.0, seed, 7);
  const double veins = Pow(Ridge(p, 4.0, seed + 2, 4), 16);
  if (land < 0.42) {
    const double depth = (0.42 - land) / 0.42;
    return {Ramp({{0, 0x8ac83a}, {0.12, 0x3a8a3a}, {1, 0x12402a}}, depth * 2.5), 0, 0.6, Hex(0x0a2000) * (1 - depth)};
  }
  Rgb col = Ramp({{0.45, 0x5a3a6a}, {0.6, 0x7a4a8a}, {0.8, 0x9a6aa0}, {1.0, 0xc8a0c0}}, land);
  col = Mix(col, Hex(0xb8e050), veins * 0.6);
  return {col, land * 0.08};
}

Ground Archipelago(Vec3 p, std::uint32_t seed) {
  const double elevation = Fbm(p, 2.6, seed, 8, 0.55);
  const double lat = p.y < 0 ? -p.y : p.y;
  if (elevation < 0.6) {
    const double depth = (0.6 - elevation) / 0.6;
    return {Ramp({{0.0, 0x6ad8d0}, {0.05, 0x2aa8c0}, {0.25, 0x1676b0}, {1.0, 0x0a3a7a}}, depth * 2.5), 0, 1.0};
  }
  const double up = (elevation - 0.6) / 0.4;
  Rgb col = Ramp({{0.0, 0xe8dca8}, {0.08, 0x6ab040}, {0.5, 0x2a7a2a}, {1.0, 0x6a6a4a}}, up);
  if (lat > 0.9) col = Hex(0xeef4f8);
  return {col, up * 0.1};
}

Ground Rust(Vec3 p, std::uint32_t seed) {
  static const std::vector<Crater> craters = MakeCraters(seed + 3, 40, 0.03, 0.14);
  const double base = Fbm(p, 2.4, seed, 7);
  const double dark = SmoothStep(0.5, 0.62, Fbm(p, 1.3, seed + 4, 5));
  const double canyon = Pow(Ridge({p.x, p.y * 3.0, p.z}, 1.5, seed + 8, 5), 14) * SmoothStep(0.5, 0.2, p.y < 0 ? -p.y : p.y);
  double albedo = 0;
  const double h = CraterHeight(craters, p, &albedo);
  Rgb col = Ramp({{0.0, 0x8a3a1e}, {0.5, 0xc0602e}, {1.0, 0xe0945a}}, base + albedo);
  col = Mix(col, Hex(0x5a2a1e), dark * 0.6);
  col = Mix(col, Hex(0x3a1a12), canyon * 0.8);
  const double lat = p.y < 0 ? -p.y : p.y;
  col = Mix(col, Hex(0xf4eee8), SmoothStep(0.84, 0.88, lat + (base - 0.5) * 0.1));
  return {col, base * 0.06 + h * 0.6 - canyon * 0.06};
}

Ground IceGiant(Vec3 p, std::uint32_t seed) {
  const double t = Fbm(p, 3.0, seed, 5) - 0.5;
  const double v = p.y + t * 0.06;
  const double band = 0.5 + 0.35 * Sin(v * 13) + 0.15 * Sin(v * 31 + 2);
  Rgb col = Ramp({{0.0, 0x1a4a9a}, {0.5, 0x2a78c8}, {0.8, 0x5aa8e0}, {1.0, 0x9ad0f0}}, Clamp(band));
  const double sx = (p.x + 0.3) / 0.18, sy = (p.y + 0.25) / 0.09;
  const double spot = p.z > 0 ? Clamp(1 - (sx * sx + sy * sy)) : 0.0;
  col = Mix(col, Hex(0x102a6a), SmoothStep(0.0, 0.3, spot));
  const double streak = Pow(Ridge({p.x * 0.3, p.y * 6, p.z * 0.3}, 2.0, seed + 5, 3), 20);
  col = Mix(col, Hex(0xe8f6ff), streak * 0.7);
  return {col, 0};
}

}  // namespace

void PaintPlanet100(Canvas& c) {
  PaintWorld(c, {101, 0.4, 0.2, Moon, 0.9, Hex(0x000000), 0, 0, 0, Rgb{}, 0.18});
}
void PaintPlanet110(Canvas& c) {
  PaintWorld(c, {110, 1.1, -0.3, Desert, 0.6, Hex(0xf0a060), 0.45, 0, 0, Rgb{}, 0.2});
}
void PaintPlanet120(Canvas& c) {
  PaintWorld(c, {120, 2.0, 0.5, Ice, 0.5, Hex(0xa0d8ff), 0.5, 0.3, 2.5, Hex(0xffffff), 0.22});
}
void PaintPlanet130(Canvas& c) {
  PaintWorld(c, {130, 0.3, 0.35, Earthlike, 0.5, Hex(0x6ab0ff), 0.8, 0.55, 2.2, Hex(0xffffff), 0.18});
}
void PaintPlanet140(Canvas& c) {
  PaintWorld(c, {140, 0.9, 0.1, Volcanic, 0.6, Hex(0xff5a20), 0.5, 0, 0, Rgb{}, 0.2});
}
void PaintPlanet150(Canvas& c) {
  PaintWorld(c, {150, 2.6, -0.2, Jungle, 0.6, Hex(0x9af0c0), 0.55, 0.4, 2.8, Hex(0xf0fff4), 0.2});
}
void PaintPlanet160(Canvas& c) {
  PaintWorld(c, {160, 0.0, 0.18, GasGiant, 0.0, Hex(0xffd8a0), 0.5, 0, 0, Rgb{}, 0.16});
}
void PaintPlanet170(Canvas& c) {
  PaintWorld(c, {170, 1.7, 0.4, Toxic, 0.5, Hex(0xc0ff60), 0.6, 0.35, 3.0, Hex(0xd8e8a0), 0.2});
}
void PaintPlanet180(Canvas& c) {
  PaintWorld(c, {180, 0.6, -0.4, Archipelago, 0.4, Hex(0x80d0ff), 0.8, 0.6, 2.0, Hex(0xffffff), 0.2});
}
void PaintPlanet190(Canvas& c) {
  PaintWorld(c, {190, 2.2, 0.3, Rust, 0.7, Hex(0xffa080), 0.45, 0, 0, Rgb{}, 0.2});
}
void PaintPlanet200(Canvas& c) {
  PaintWorld(c, {200, 0.2, 0.25, IceGiant, 0.0, Hex(0xa0e0ff), 0.7, 0, 0, Rgb{}, 0.18});
}
void PaintPlanet400(Canvas& c) {
  PaintWorld(c, {400, 1.4, 0.3, Garden, 0.45, Hex(0x7ab8ff), 0.8, 0.5, 2.6, Hex(0xffffff), 0.18});
}

}  // namespace art
