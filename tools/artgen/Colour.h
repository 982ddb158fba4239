// Colours of the art generator: a real-valued RGB for painting and an 8-bit RGB for the files.
#pragma once

#include <cstdint>

#include "ArtMath.h"

namespace art {

// A painting colour, each channel 0..1 (values outside are clamped when written out).
struct Rgb {
  double r = 0, g = 0, b = 0;
};

inline Rgb Hex(std::uint32_t v) {
  return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0};
}
inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb Mix(Rgb a, Rgb b, double t) { return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t)}; }
inline double Luma(Rgb c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }

// The colour of a surface lit to a tone t in -1..1: shadows sink towards a cool dark, highlights
// rise towards a warm white, the way a painter shades rather than plain scaling.
inline Rgb Tone(Rgb base, double t) {
  if (t < 0) {
    const Rgb deep = Rgb{base.r * 0.22 + 0.02, base.g * 0.22 + 0.02, base.b * 0.3 + 0.06};
    return Mix(base, deep, Clamp(-t));
  }
  const Rgb bright = Mix(base, Rgb{1.0, 0.98, 0.9}, 0.65);
  return Mix(base, bright, Clamp(t));
}

// An 8-bit colour as stored in the bitmap files and the palette.
struct Rgb8 {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb8&) const = default;
};

inline std::uint8_t ToByte(double v) {
  const double c = Clamp(v) * 255.0 + 0.5;
  return static_cast<std::uint8_t>(static_cast<int>(c));
}
inline Rgb8 ToRgb8(Rgb c) { return {ToByte(c.r), ToByte(c.g), ToByte(c.b)}; }
inline Rgb ToRgb(Rgb8 c) { return {c.r / 255.0, c.g / 255.0, c.b / 255.0}; }

inline int Distance2(Rgb8 a, Rgb8 b) {
  const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

}  // namespace art
