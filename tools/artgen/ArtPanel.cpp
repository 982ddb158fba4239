// The planet information panel: a framed viewer for the miniature and three labelled black fields.
#include <string>

#include "Font.h"
#include "Pictures.h"
#include "Ramp.h"

namespace art {

namespace {

// The text as a shape: each font pixel a block of sx by sy design units from (x, y).
auto TextShape(const std::string& text, double x, double y, double sx, double sy) {
  return [=](double px, double py) {
    const int gx = static_cast<int>(Floor((px - x) / sx)), gy = static_cast<int>(Floor((py - y) / sy));
    if (gx < 0 || gy < 0 || gy >= kGlyphHeight) return false;
    const size_t ch = static_cast<size_t>(gx / kGlyphAdvance);
    return ch < text.size() && GlyphPixel(text[ch], gx % kGlyphAdvance, gy);
  };
}

// A recessed rectangle: dark upper-left rim, light lower-right rim.
void Inset(Canvas& c, double x0, double y0, double x1, double y1, Rgb face) {
  c.Paint(Rect(x0 - 2, y0 - 2, x1 + 2, y1 + 2), [=](double x, double y) {
    return (x - x0) + (y - y0) < (x1 - x) + (y1 - y) ? Tone(face, -0.6) : Tone(face, 0.45);
  });
}

// A black field for the game's text, with an amber hairline and its printed label.
void Field(Canvas& c, double x0, double y0, double x1, double y1, Rgb face) {
  Inset(c, x0, y0, x1, y1, face);
  c.Paint(Rect(x0, y0, x1, y1), Flat(Hex(0x000000)));
  c.Paint(Minus(Rect(x0, y0, x1, y1), Rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1)), Flat(Hex(0x2a3a3a)));
}

void Label(Canvas& c, const std::string& text, double x, double y) {
  const double sx = 1.7, sy = 2.0;
  c.Paint(TextShape(text, x + 1, y + 1, sx, sy), Flat(Hex(0x10141a)), 0.8);
  c.Paint(TextShape(text, x, y, sx, sy), [=](double, double py) {
    return Mix(Hex(0xffd878), Hex(0xd89030), (py - y) / (kGlyphHeight * sy));
  });
}

}  // namespace

void PaintPlanetInfo(Canvas& c) {
  const Rgb plate = Hex(0x4a5666);
  // The plate: brushed metal with a raised bevel round its edge.
  c.Paint(Rect(0, 0, 475, 160), [=](double x, double y) {
    const double brushed = (Noise2(x * 0.05, y * 1.3, 5) - 0.5) * 0.12;
    Rgb col = Tone(plate, 0.05 - y * 0.0015 + brushed);
    if (x < 2 || y < 2) col = Tone(plate, 0.55);
    else if (x >= 473 || y >= 158) col = Tone(plate, -0.7);
    else if (x < 4 || y < 4) col = Tone(plate, 0.3);
    else if (x >= 471 || y >= 156) col = Tone(plate, -0.4);
    return col;
  });
  // The viewer: a framed square round the miniature area 15..144, starry backdrop over a grid.
  c.Paint(Rect(8, 8, 152, 152), [=](double x, double y) { return Tone(Hex(0x2a3038), 0.2 - (x + y) * 0.002); });
  Inset(c, 15, 15, 145, 145, Hex(0x2a3038));
  c.Paint(Rect(10, 10, 150, 11), Flat(Hex(0xd89a30)));
  c.Paint(Rect(10, 149, 150, 150), Flat(Hex(0x8a5a1a)));
  c.Paint(Rect(10, 10, 11, 150), Flat(Hex(0xd89a30)));
  c.Paint(Rect(149, 10, 150, 150), Flat(Hex(0x8a5a1a)));
  c.Paint(Rect(15, 15, 145, 145), [](double x, double y) {
    const double dx = x - 80, dy = y - 80;
    const double glow = Clamp(1.0 - Sqrt(dx * dx + dy * dy) / 95.0);
    Rgb col = Mix(Hex(0x02040c), Hex(0x0c1a34), glow);
    col = Mix(col, Hex(0x2a1a40), Clamp(Fbm2(x * 0.03, y * 0.03, 8, 4) - 0.45) * 1.2);
    const int gx = static_cast<int>(Floor(x - 15)) % 13, gy = static_cast<int>(Floor(y - 15)) % 13;
    if (gx == 0 || gy == 0) col = Mix(col, Hex(0x1e6a7a), 0.45);
    if (static_cast<int>(Floor(x)) == 80 || static_cast<int>(Floor(y)) == 80) col = Mix(col, Hex(0x3ac0d0), 0.35);
    return col;
  });
  Rng rng(160);
  for (int i = 0; i < 70; ++i) {
    const int x = 15 + rng.Below(130), y = 15 + rng.Below(130);
    const double b = rng.Uniform();
    const Rgb star = b > 0.9 ? Hex(0xffffff) : (b > 0.6 ? Hex(0xb8d0ff) : Hex(0x6a7a9a));
    c.Set(x, y, star);
    if (b > 0.96) {
      c.Set(x - 1, y, Mix(star, Hex(0x0c1a34), 0.5));
      c.Set(x + 1, y, Mix(star, Hex(0x0c1a34), 0.5));
      c.Set(x, y - 1, Mix(star, Hex(0x0c1a34), 0.5));
      c.Set(x, y + 1, Mix(star, Hex(0x0c1a34), 0.5));
    }
  }
  // The three fields: the game writes the name at (287, 13), the owner at (163, 70) and the
  // population at (270, 104), in text up to about 20 pixels high.
  Field(c, 281, 8, 466, 37, plate);
  Field(c, 157, 64, 466, 93, plate);
  Field(c, 264, 98, 466, 127, plate);
  Label(c, "PLANET", 170, 16);
  Label(c, "OWNER", 161, 44);
  Label(c, "POPULATION", 159, 106);
  // A strip of lamps and the panel's title along the bottom.
  for (int i = 0; i < 6; ++i) {
    const double x = 170 + i * 11.0;
    const std::uint32_t lamp = i < 4 ? 0x3ae05a : (i == 4 ? 0xf0c020 : 0xe03a2a);
    c.Paint(Circle(x, 142, 3.2), Flat(Hex(0x1a1e24)));
    c.Paint(Circle(x, 142, 2.3), [=](double px, double py) { return Tone(Hex(lamp), SphereTone(px, py, x, 142, 2.3) * 0.8 + 0.1); });
  }
  const std::string title = "SURVEY DATA";
  c.Paint(TextShape(title, 466 - TextWidth(title) * 1.7, 136, 1.7, 2.0), Flat(Hex(0x8a9aae)));
  for (double rx : {6.0, 469.0})
    for (double ry : {6.0, 154.0})
      c.Paint(Circle(rx, ry, 1.6), [=](double px, double py) { return Tone(Hex(0x9aa4b0), SphereTone(px, py, rx, ry, 1.6)); });
}

}  // namespace art
