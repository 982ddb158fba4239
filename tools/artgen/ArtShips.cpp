// The two ships (nose up, lit from the upper left) and the exhaust flame (wide end up).
#include "Pictures.h"
#include "Ramp.h"

namespace art {

namespace {

// A ship's hull plate: tone falls from the lit left to the shaded right across x0..x1, and from
// the nose towards the tail a little.
auto HullShade(Rgb base, double x0, double x1, double lift = 0.0) {
  return [=](double x, double y) { return Tone(base, CylinderTone(x, x0, x1) + lift - y * 0.006); };
}

}  // namespace

// The player's ship: a swept-wing fighter with a silver fuselage, red wings and a blue canopy.
void PaintShip2(Canvas& c) {
  const Rgb steel = Hex(0xc4cad6), red = Hex(0xc83a2a), dark = Hex(0x2a2e3a);
  // Engines first, so the hull overlaps them.
  for (double ex : {12.6, 16.4}) {
    c.Paint(Rect(ex, 24.5, ex + 2.2, 30.2), HullShade(Hex(0x5a5e6a), ex, ex + 2.2), 1.0, ex - 1, 24, ex + 3, 31);
    c.Paint(Rect(ex + 0.3, 29.0, ex + 1.9, 30.2), Flat(Hex(0xff9a3a)), 1.0, ex - 1, 28, ex + 3, 31);
  }
  // Wings: swept back from the fuselage, each lit by its own angle to the light.
  const Polygon leftWing{{{13.0, 11.0}, {2.2, 23.5}, {2.0, 27.2}, {6.0, 26.2}, {13.0, 24.0}}};
  const Polygon rightWing{{{18.0, 11.0}, {28.8, 23.5}, {29.0, 27.2}, {25.0, 26.2}, {18.0, 24.0}}};
  c.Paint(leftWing, [&](double x, double y) { return Tone(red, 0.25 - (y - 11) * 0.02 + (13 - x) * 0.01); });
  c.Paint(rightWing, [&](double x, double y) { return Tone(red, -0.15 - (y - 11) * 0.02 - (x - 18) * 0.02); });
  // Wing stripes and tip pods.
  c.Paint(Segment(11.5, 16.0, 4.2, 24.6, 0.55), Flat(Hex(0xf0e8d8)));
  c.Paint(Segment(19.5, 16.0, 26.8, 24.6, 0.55), Flat(Tone(Hex(0xf0e8d8), -0.25)));
  c.Paint(Rect(1.6, 20.0, 3.6, 28.0), HullShade(steel, 1.6, 3.6, 0.1));
  c.Paint(Rect(27.4, 20.0, 29.4, 28.0), HullShade(steel, 27.4, 29.4, -0.2));
  // Fuselage: a long pointed body.
  const Polygon body{{{15.5, 0.6}, {17.2, 5.0}, {18.8, 12.0}, {19.4, 22.0}, {18.8, 26.5}, {12.2, 26.5},
                      {11.6, 22.0}, {12.2, 12.0}, {13.8, 5.0}}};
  c.Paint(body, HullShade(steel, 11.4, 19.6, 0.1));
  // Panel lines and the spine.
  c.Paint(Rect(11.8, 19.0, 19.2, 19.6), [&](double x, double) { return Tone(steel, CylinderTone(x, 11.4, 19.6) - 0.45); });
  c.Paint(Rect(15.3, 14.5, 15.9, 24.5), Flat(Tone(steel, -0.2)));
  // Canopy: dark glass with a highlight to the upper left.
  c.Paint(Ellipse(15.5, 9.2, 1.9, 3.6), [&](double x, double y) {
    const double t = SphereTone(x, y, 15.5, 9.2, 3.6);
    return Mix(Hex(0x0c1a3a), Hex(0x5ab0f0), Clamp(t * 0.8 + 0.35));
  });
  c.Paint(Ellipse(14.8, 7.9, 0.6, 1.2), Flat(Hex(0xe8f8ff)), 0.9);
  c.Outline(dark, 0.55);
}

// The stored second ship: a twin-boom hauler, olive and cream, with a round cockpit pod.
void PaintShip1(Canvas& c) {
  const Rgb olive = Hex(0x7a8a4a), cream = Hex(0xe0d8b8), dark = Hex(0x23281c);
  for (double bx : {3.0, 23.0}) {
    c.Paint(Rect(bx + 1.2, 26.0, bx + 3.8, 30.3), HullShade(Hex(0x4a4a50), bx + 1.2, bx + 3.8));
  }
  // The cross wing joining the booms.
  c.Paint(Rect(6.0, 15.0, 25.0, 21.5), [&](double x, double y) {
    return Tone(cream, CylinderToneH(y, 15.0, 21.5) * 0.6 + (15.5 - x) * 0.012);
  });
  // Two booms with rounded noses.
  for (double bx : {3.0, 23.0}) {
    const double x0 = bx, x1 = bx + 5.0;
    c.Paint(Union(Rect(x0, 9.0, x1, 27.0), Ellipse(bx + 2.5, 9.0, 2.5, 5.0)), HullShade(olive, x0, x1, bx < 10 ? 0.1 : -0.05));
    c.Paint(Rect(x0 + 0.4, 18.0, x1 - 0.4, 19.0), Flat(Tone(olive, -0.6)));
    c.Paint(Circle(bx + 2.5, 7.0, 0.9), Flat(bx < 10 ? Hex(0xff4a3a) : Hex(0x3aff6a)));
  }
  // The central pod and its cockpit.
  c.Paint(Union(Ellipse(15.5, 13.0, 5.2, 8.0), Rect(11.5, 13.0, 19.5, 25.0)), [&](double x, double y) {
    return Tone(cream, CylinderTone(x, 10.3, 20.7) + 0.05 - y * 0.01);
  });
  c.Paint(Ellipse(15.5, 10.0, 3.0, 3.4), [&](double x, double y) {
    return Mix(Hex(0x0a2a2a), Hex(0x6ad8c8), Clamp(SphereTone(x, y, 15.5, 10.0, 3.4) * 0.8 + 0.3));
  });
  c.Paint(Ellipse(14.5, 9.0, 0.8, 1.0), Flat(Hex(0xf0fff8)), 0.9);
  c.Paint(Rect(13.0, 22.0, 18.0, 25.0), Flat(Tone(olive, -0.3)));
  c.Paint(Rect(13.5, 25.0, 17.5, 28.2), HullShade(Hex(0x4a4a50), 13.5, 17.5));
  c.Outline(dark, 0.55);
}

// The exhaust flame: widest and hottest at the top where it leaves the nozzle, narrowing to a
// flickering red tip at the bottom.
void PaintFlame(Canvas& c) {
  const double w = 15.0, h = 19.0, cx = w / 2;
  auto halfWidth = [&](double y) {
    const double t = Clamp(y / h);
    const double wobble = 0.6 * Sin(y * 1.7) * t;
    return (cx - 0.7) * Sqrt(1 - Pow(t, 1.6)) * (0.82 + 0.18 * (1 - t)) + wobble;
  };
  auto inside = [&](double x, double y) { return y >= 0 && y < h && (x - cx < 0 ? cx - x : x - cx) < halfWidth(y); };
  c.Paint(inside, [&](double x, double y) {
    const double across = (x - cx < 0 ? cx - x : x - cx) / (halfWidth(y) + 0.001);
    const double heat = Clamp(1.0 - 0.75 * across - 0.7 * (y / h) + 0.25 * Noise2(x * 0.6, y * 0.5, 7));
    return FireColour(heat);
  });
}

}  // namespace art
