// Deterministic arithmetic for the art generator: math functions, a random generator and value noise.
#pragma once

#include <cmath>
#include <cstdint>

namespace art {

// The generator must write the same bytes on every machine, so it does not lean on the C library's
// transcendental functions (whose last bits differ between versions); these use only +, *, / and
// sqrt, which IEEE arithmetic fixes exactly.

constexpr double kPi = 3.14159265358979323846;

inline double Clamp(double v, double lo = 0.0, double hi = 1.0) { return v < lo ? lo : (v > hi ? hi : v); }
inline double Lerp(double a, double b, double t) { return a + (b - a) * t; }
inline double SmoothStep(double e0, double e1, double x) {
  const double t = Clamp((x - e0) / (e1 - e0));
  return t * t * (3.0 - 2.0 * t);
}
inline double Sqrt(double x) { return x <= 0.0 ? 0.0 : std::sqrt(x); }
inline double Floor(double x) { return std::floor(x); }

// Sine by reduction to [-pi/2, pi/2] and a Taylor series good to double precision there.
inline double Sin(double x) {
  const double twoPi = 2.0 * kPi;
  x -= twoPi * Floor(x / twoPi + 0.5);  // now in [-pi, pi]
  if (x > kPi / 2) x = kPi - x;
  if (x < -kPi / 2) x = -kPi - x;
  const double x2 = x * x;
  double term = x, sum = x;
  for (int n = 1; n < 12; ++n) {
    term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
    sum += term;
  }
  return sum;
}
inline double Cos(double x) { return Sin(x + kPi / 2); }

// e^x by splitting off powers of two.
inline double Exp(double x) {
  if (x < -700) return 0.0;
  const double ln2 = 0.69314718055994530942;
  const double k = Floor(x / ln2 + 0.5);
  const double r = x - k * ln2;
  double term = 1.0, sum = 1.0;
  for (int n = 1; n < 20; ++n) {
    term *= r / n;
    sum += term;
  }
  return std::ldexp(sum, static_cast<int>(k));
}

// Natural logarithm through the series of atanh on the mantissa.
inline double Log(double x) {
  if (x <= 0.0) return -1e300;
  int e = 0;
  const double m = std::frexp(x, &e);  // exact: x = m * 2^e, m in [0.5, 1)
  const double s = (m - 1.0) / (m + 1.0);
  const double s2 = s * s;
  double term = s, sum = s;
  for (int n = 1; n < 40; ++n) {
    term *= s2;
    sum += term / (2.0 * n + 1.0);
  }
  return 2.0 * sum + e * 0.69314718055994530942;
}
inline double Pow(double a, double b) { return a <= 0.0 ? 0.0 : Exp(b * Log(a)); }

// Arc tangent by halving the angle twice and a series.
inline double Atan(double x) {
  if (x < 0) return -Atan(-x);
  if (x > 1.0) return kPi / 2 - Atan(1.0 / x);
  for (int i = 0; i < 2; ++i) x = x / (1.0 + Sqrt(1.0 + x * x));
  const double x2 = x * x;
  double term = x, sum = x;
  for (int n = 1; n < 30; ++n) {
    term *= -x2;
    sum += term / (2.0 * n + 1.0);
  }
  return 4.0 * sum;
}
inline double Atan2(double y, double x) {
  if (x > 0) return Atan(y / x);
  if (x < 0) return y >= 0 ? Atan(y / x) + kPi : Atan(y / x) - kPi;
  return y > 0 ? kPi / 2 : (y < 0 ? -kPi / 2 : 0.0);
}

// A small integer hash, the root of all randomness here.
inline std::uint32_t Hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}
inline std::uint32_t Hash3(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
  return Hash(static_cast<std::uint32_t>(x) * 0x8da6b343U ^ Hash(static_cast<std::uint32_t>(y) * 0xd8163841U ^
              Hash(static_cast<std::uint32_t>(z) * 0xcb1ab31fU ^ seed)));
}

// A seeded random sequence (splitmix64), so each picture draws the same numbers every run.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }  // [0, 1)
  double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

 private:
  std::uint64_t state_;
};

// Value noise on an integer lattice in three dimensions, smoothly interpolated, in [0, 1].
inline double Noise3(double x, double y, double z, std::uint32_t seed) {
  const double fx = Floor(x), fy = Floor(y), fz = Floor(z);
  const auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy), iz = static_cast<std::int32_t>(fz);
  auto s = [](double t) { return t * t * t * (t * (t * 6 - 15) + 10); };
  const double tx = s(x - fx), ty = s(y - fy), tz = s(z - fz);
  auto v = [&](int dx, int dy, int dz) {
    return static_cast<double>(Hash3(ix + dx, iy + dy, iz + dz, seed) & 0xffffff) / 16777215.0;
  };
  const double x00 = Lerp(v(0, 0, 0), v(1, 0, 0), tx), x10 = Lerp(v(0, 1, 0), v(1, 1, 0), tx);
  const double x01 = Lerp(v(0, 0, 1), v(1, 0, 1), tx), x11 = Lerp(v(0, 1, 1), v(1, 1, 1), tx);
  return Lerp(Lerp(x00, x10, ty), Lerp(x01, x11, ty), tz);
}
inline double Noise2(double x, double y, std::uint32_t seed) { return Noise3(x, y, 0.5, seed); }

// Fractal sum of octaves, normalised back to [0, 1].
inline double Fbm3(double x, double y, double z, std::uint32_t seed, int octaves, double gain = 0.5) {
  double sum = 0, amp = 1, norm = 0, f = 1;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * Noise3(x * f, y * f, z * f, seed + 1013U * static_cast<std::uint32_t>(o));
    norm += amp;
    amp *= gain;
    f *= 2.03;
  }
  return sum / norm;
}
inline double Fbm2(double x, double y, std::uint32_t seed, int octaves, double gain = 0.5) {
  return Fbm3(x, y, 0.37, seed, octaves, gain);
}

}  // namespace art
