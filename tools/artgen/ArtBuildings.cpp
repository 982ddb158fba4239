// The thirteen buildings, each standing on the bottom edge (its lowest rows sink into the ground).
#include "Pictures.h"
#include "Ramp.h"

namespace art {

namespace {

const Rgb kInk = Hex(0x16161c);

// A wall lit from the left: a gentle fall-off across it and a little towards the ground.
auto WallShade(Rgb base, double x0, double x1, double y0, double y1) {
  return [=](double x, double y) { return Tone(base, 0.15 - 0.35 * (x - x0) / (x1 - x0) - 0.15 * (y - y0) / (y1 - y0)); };
}
// A vertical cylinder's shade.
auto RoundShade(Rgb base, double x0, double x1, double lift = 0) {
  return [=](double x, double) { return Tone(base, Clamp(CylinderTone(x, x0, x1) + lift, -1, 1)); };
}
// Brick courses: mortar lines between staggered bricks.
bool Mortar(double x, double y, double bw = 4.0, double bh = 2.0) {
  const int row = static_cast<int>(Floor(y / bh));
  const double off = (row % 2) ? bw / 2 : 0;
  return y - row * bh < 0.5 || (x + off) - Floor((x + off) / bw) * bw < 0.5;
}
// A window: a frame with a lit (warm) or dark (sky-reflecting) pane.
void Window(Canvas& c, double x0, double y0, double x1, double y1, bool lit) {
  c.Paint(Rect(x0 - 0.5, y0 - 0.5, x1 + 0.5, y1 + 0.5), Flat(Hex(0x3a3a44)));
  c.Paint(Rect(x0, y0, x1, y1), [=](double x, double y) {
    return lit ? Mix(Hex(0xffe890), Hex(0xe8a040), (y - y0) / (y1 - y0 + 0.01))
               : Mix(Hex(0x5a8ac0), Hex(0x1a2a4a), Clamp((y - y0) / (y1 - y0 + 0.01) + (x - x0) * 0.05));
  });
}
// A pitched roof from (x0, base) over a ridge at (peakX, top) to (x1, base): the left slope lit.
void PitchedRoof(Canvas& c, double x0, double x1, double base, double peakX, double top, Rgb tiles) {
  c.Paint(Polygon{{{x0, base}, {peakX, top}, {x1, base}}}, [=](double x, double y) {
    const double courses = (static_cast<int>(Floor(y * 0.8)) % 2) ? -0.12 : 0.0;
    return Tone(tiles, (x < peakX ? 0.25 : -0.35) + courses);
  });
}
// A foundation strip along the bottom (the part that sinks into the ground).
void Footing(Canvas& c, double x0, double x1, double h) {
  c.Paint(Rect(x0, h - 4.0, x1, h), WallShade(Hex(0x5a5450), x0, x1, h - 4, h));
}
// A lattice of two legs and cross braces from (lx0, ly0)-(rx0, ly0) at the top to (lx1, ly1)-(rx1, ly1).
void Lattice(Canvas& c, double lx0, double rx0, double y0, double lx1, double rx1, double y1, int bays, Rgb metal, double w = 0.6) {
  c.Paint(Segment(lx0, y0, lx1, y1, w), Flat(Tone(metal, 0.2)));
  c.Paint(Segment(rx0, y0, rx1, y1, w), Flat(Tone(metal, -0.3)));
  for (int i = 0; i < bays; ++i) {
    const double t0 = static_cast<double>(i) / bays, t1 = static_cast<double>(i + 1) / bays;
    const double ya = Lerp(y0, y1, t0), yb = Lerp(y0, y1, t1);
    const double la = Lerp(lx0, lx1, t0), ra = Lerp(rx0, rx1, t0), lb = Lerp(lx0, lx1, t1), rb = Lerp(rx0, rx1, t1);
    c.Paint(Segment(la, ya, rb, yb, w * 0.6), Flat(Tone(metal, -0.15)));
    c.Paint(Segment(ra, ya, lb, yb, w * 0.6), Flat(Tone(metal, -0.05)));
    c.Paint(Segment(la, ya, ra, ya, w * 0.6), Flat(Tone(metal, 0.0)));
  }
}

}  // namespace

// A small house: white walls, a red-tiled roof, a chimney, a door and two windows.
void PaintResS(Canvas& c) {
  c.Paint(Rect(15.0, 3.5, 17.5, 10.0), WallShade(Hex(0x9a5a3a), 15, 17.5, 3, 10));
  c.Paint(Rect(3.0, 11.5, 19.0, 25.0), WallShade(Hex(0xece2cc), 3, 19, 11.5, 25));
  PitchedRoof(c, 0.5, 21.5, 13.0, 11.0, 2.5, Hex(0xc0402a));
  c.Paint(Rect(9.0, 17.5, 12.8, 25.0), Flat(Hex(0x6a3a1e)));
  c.Paint(Circle(12.0, 21.5, 0.45), Flat(Hex(0xf0d060)));
  Window(c, 4.8, 15.5, 7.6, 18.6, true);
  Window(c, 14.3, 15.5, 17.1, 18.6, false);
  Footing(c, 3.0, 19.0, 25.0);
  c.Outline(kInk, 0.5);
}

// A block of flats filling its whole rectangle: panel facade, rows of windows, balconies and an
// entrance with a canopy.
void PaintResM(Canvas& c) {
  c.Paint(Rect(0, 0, 33, 57), [](double x, double y) {
    const bool seam = static_cast<int>(Floor(x)) % 8 == 0;
    return Tone(Hex(0xc8c4b8), 0.25 - 0.4 * x / 33.0 - 0.1 * y / 57.0 - (seam ? 0.1 : 0));
  });
  c.Paint(Rect(0, 0, 33, 3.0), [](double x, double) { return Tone(Hex(0x7a7670), 0.2 - x / 40.0); });
  c.Paint(Rect(0, 3.0, 33, 4.0), Flat(Hex(0x4a4844)));
  Rng rng(35);
  for (int row = 0; row < 8; ++row) {
    for (int col = 0; col < 4; ++col) {
      const double x = 2.5 + col * 7.5, y = 6.5 + row * 5.6;
      Window(c, x, y, x + 4.5, y + 3.2, rng.Uniform() < 0.4);
    }
    c.Paint(Rect(1.5, 6.5 + row * 5.6 + 3.7, 31.5, 6.5 + row * 5.6 + 4.5), Flat(Hex(0x8a8680)));
  }
  c.Paint(Rect(11.0, 47.0, 22.0, 48.5), Flat(Hex(0x3a5a8a)));
  c.Paint(Rect(13.0, 48.5, 20.0, 57.0), Flat(Hex(0x24303e)));
  c.Paint(Rect(13.8, 49.5, 19.2, 53.0), Flat(Hex(0xe8c060)));
  c.Paint(Rect(0, 53.0, 33, 57), [](double x, double) { return Tone(Hex(0x5a5450), 0.1 - x / 40.0); });
  c.Paint(Rect(13.0, 53.0, 20.0, 57.0), Flat(Hex(0x24303e)));
}

// A vitamin factory: a hall with a big orange "C", a striped chimney and a huge capsule-shaped tank.
void PaintVitamin(Canvas& c) {
  c.Paint(Rect(5.0, 12.0, 9.0, 36.0), [](double x, double y) {
    const bool stripe = static_cast<int>(Floor(y / 4.0)) % 2 == 0;
    return Tone(stripe ? Hex(0xd83a2a) : Hex(0xf0ece4), CylinderTone(x, 5.0, 9.0));
  });
  c.Paint(Rect(1.5, 32.0, 27.0, 61.0), WallShade(Hex(0x9ab0c0), 1.5, 27, 32, 61));
  // Sawtooth roof.
  for (int i = 0; i < 3; ++i) {
    const double x = 1.5 + i * 8.5;
    c.Paint(Polygon{{{x, 33.0}, {x, 27.5}, {x + 8.5, 33.0}}}, Flat(Tone(Hex(0x6a7a8a), 0.1)));
    c.Paint(Rect(x, 27.5, x + 0.8, 33.0), Flat(Hex(0x8ac8f0)));
  }
  c.Paint(Circle(11.0, 43.0, 6.0), [](double x, double y) { return Tone(Hex(0xf08a1a), SphereTone(x, y, 11, 43, 6) * 0.6); });
  c.Paint(Minus(Minus(Circle(11.0, 43.0, 4.2), Circle(11.0, 43.0, 2.6)), Rect(11.8, 41.0, 16, 45.0)), Flat(Hex(0xfff8e8)));
  Window(c, 19.0, 38.0, 24.0, 42.0, true);
  c.Paint(Rect(17.5, 50.0, 25.0, 61.0), Flat(Hex(0x3a4a5a)));
  // The capsule tank: half orange, half white, on a short stand.
  auto capsule = Union(Rect(26.0, 8.0, 37.0, 48.0), Union(Circle(31.5, 8.0, 5.5), Circle(31.5, 48.0, 5.5)));
  c.Paint(capsule, [](double x, double y) {
    return Tone(y < 28.0 ? Hex(0xf07a1a) : Hex(0xf4f0e8), CylinderTone(x, 26.0, 37.0) + (y > 27.0 && y < 29.0 ? -0.4 : 0));
  });
  c.Paint(Rect(28.0, 52.0, 35.0, 61.0), RoundShade(Hex(0x7a8088), 28, 35));
  Footing(c, 1.5, 37.0, 61.0);
  c.Outline(kInk, 0.5);
}

// A marmalade works: a brick works under a giant jar of marmalade with a gingham lid.
void PaintMarmalade(Canvas& c) {
  c.Paint(Rect(28.5, 14.0, 33.0, 38.0), [](double x, double y) {
    return Tone(Mortar(x, y) ? Hex(0x5a2a1e) : Hex(0xa04a32), CylinderTone(x, 28.5, 33.0));
  });
  c.Paint(Rect(1.0, 36.0, 35.0, 60.0), [](double x, double y) {
    return Tone(Mortar(x, y) ? Hex(0x6a3020) : Hex(0xb85a3a), 0.1 - 0.4 * x / 35.0);
  });
  c.Paint(Rect(0.5, 35.0, 35.5, 37.5), Flat(Hex(0x5a4a42)));
  for (double wx : {4.0, 11.0, 25.0}) Window(c, wx, 41.0, wx + 4.0, 46.0, wx < 10);
  c.Paint(Rect(15.5, 48.0, 22.5, 60.0), Flat(Hex(0x4a2a1a)));
  // The jar: glass full of orange marmalade, a highlight down its left, a label and a lid.
  auto jar = Union(Rect(6.0, 12.0, 28.0, 35.0), Ellipse(17.0, 12.0, 9.0, 3.0));
  c.Paint(jar, [](double x, double y) {
    const double t = CylinderTone(x, 6.0, 28.0);
    const Rgb fill = Mix(Hex(0xf08a10), Hex(0xb84a06), Clamp((y - 12) / 26));
    return Tone(fill, t * 0.8);
  });
  c.Paint(Rect(8.5, 14.0, 10.0, 32.0), Flat(Hex(0xffe0a0)), 0.8);
  c.Paint(Rect(10.0, 20.0, 24.0, 28.0), Flat(Hex(0xf8f0d8)));
  c.Paint(Circle(17.0, 24.0, 2.6), [](double x, double y) { return Tone(Hex(0xf08010), SphereTone(x, y, 17, 24, 2.6)); });
  c.Paint(Rect(16.6, 20.6, 17.4, 22.0), Flat(Hex(0x3a8a2a)));
  c.Paint(Polygon{{{4.5, 11.5}, {29.5, 11.5}, {27.0, 6.0}, {7.0, 6.0}}}, [](double x, double y) {
    const bool check = (static_cast<int>(Floor(x / 2.5)) + static_cast<int>(Floor(y / 2.0))) % 2 == 0;
    return Tone(check ? Hex(0xd82a2a) : Hex(0xf4eeea), 0.1 - (x - 4.5) * 0.02);
  });
  c.Paint(Rect(6.5, 11.0, 27.5, 12.2), Flat(Hex(0xc8a040)));
  Footing(c, 1.0, 35.0, 60.0);
  c.Outline(kInk, 0.5);
}

// A mine head: a lattice headframe with its winding wheel over the shaft house, and a loaded cart.
void PaintMineral(Canvas& c) {
  const Rgb steel = Hex(0x9a6a4a);
  Lattice(c, 13.0, 17.0, 10.0, 4.0, 26.0, 36.0, 4, steel, 0.8);
  c.Paint(Segment(24.0, 8.0, 32.0, 36.0, 0.8), Flat(Tone(steel, -0.3)));  // back stay
  c.Paint(Segment(15.0, 8.0, 15.0, 34.0, 0.35), Flat(Hex(0x2a2a2a)));     // cable
  c.Paint(Minus(Circle(15.0, 8.0, 5.0), Circle(15.0, 8.0, 3.6)), Flat(Hex(0x4a4a52)));
  c.Paint(Union(Segment(11.0, 8.0, 19.0, 8.0, 0.4), Segment(15.0, 4.0, 15.0, 12.0, 0.4)), Flat(Hex(0x4a4a52)));
  c.Paint(Circle(15.0, 8.0, 1.0), Flat(Hex(0xd0b040)));
  // Shaft house with a corrugated roof.
  c.Paint(Rect(2.0, 34.0, 26.0, 48.0), WallShade(Hex(0x9a8a6a), 2, 26, 34, 48));
  c.Paint(Polygon{{{0.5, 34.5}, {27.5, 34.5}, {26.0, 31.0}, {2.0, 31.0}}}, [](double x, double) {
    return Tone(Hex(0x8a8e96), (static_cast<int>(Floor(x)) % 2 ? -0.2 : 0.1) - x * 0.01);
  });
  c.Paint(Rect(10.0, 39.0, 17.0, 48.0), Flat(Hex(0x2a2220)));
  Window(c, 4.0, 37.0, 7.5, 40.0, true);
  Window(c, 19.5, 37.0, 23.0, 40.0, false);
  // Ore cart on rails with a heap of ore.
  c.Paint(Rect(26.0, 43.5, 36.0, 44.5), Flat(Hex(0x5a5a60)));
  c.Paint(Polygon{{{27.0, 38.0}, {35.0, 38.0}, {34.0, 43.0}, {28.0, 43.0}}}, WallShade(Hex(0x8a5a3a), 27, 35, 38, 43));
  c.Paint(Ellipse(31.0, 38.0, 3.8, 2.2), [](double x, double y) {
    return Tone(Noise2(x * 1.5, y * 1.5, 3) > 0.55 ? Hex(0x9ad0e0) : Hex(0x5a5a66), 0.1);
  });
  c.Paint(Circle(29.0, 44.0, 1.1), Flat(Hex(0x2a2a2a)));
  c.Paint(Circle(33.0, 44.0, 1.1), Flat(Hex(0x2a2a2a)));
  Footing(c, 0.5, 36.0, 48.0);
  c.Outline(kInk, 0.5);
}

// A furniture workshop: a long hall under a sawtooth roof, a chair on its sign, planks stacked.
void PaintFurniture(Canvas& c) {
  c.Paint(Rect(1.0, 10.0, 39.0, 25.0), [](double x, double y) {
    const bool board = static_cast<int>(Floor(x / 2.0)) % 2 == 0;
    return Tone(Hex(0xb88a5a), 0.15 - 0.35 * x / 39.0 - 0.1 * (y - 10) / 15.0 + (board ? 0.05 : -0.05));
  });
  for (int i = 0; i < 4; ++i) {
    const double x = 1.0 + i * 9.5;
    c.Paint(Polygon{{{x, 10.5}, {x, 5.0}, {x + 9.5, 10.5}}}, Flat(Tone(Hex(0x7a4a2a), 0.05 - i * 0.05)));
    c.Paint(Rect(x, 5.0, x + 1.0, 10.5), Flat(Hex(0xa0d8f0)));
  }
  c.Paint(Rect(0.5, 9.8, 39.5, 11.0), Flat(Hex(0x5a3a22)));
  // Sign with a chair.
  c.Paint(Rect(4.0, 12.5, 13.0, 19.5), Flat(Hex(0xf0e0b0)));
  c.Paint(Union(Union(Rect(6.5, 13.5, 7.5, 18.5), Rect(6.5, 16.0, 10.5, 17.0)), Rect(9.5, 16.0, 10.5, 18.5)), Flat(Hex(0x6a3a1a)));
  c.Paint(Rect(17.0, 14.0, 27.0, 25.0), Flat(Hex(0x4a3020)));
  c.Paint(Rect(21.8, 14.0, 22.2, 25.0), Flat(Hex(0x2a1a10)));
  Window(c, 30.0, 14.0, 35.5, 18.0, true);
  // Planks.
  for (int i = 0; i < 4; ++i) {
    const double y = 23.5 - i * 1.6;
    c.Paint(Rect(40.0 + (i % 2) * 0.8, y - 1.5, 48.5 - (i % 2) * 0.5, y), Flat(Tone(Hex(0xd8a86a), 0.1 - i * 0.1)));
  }
  Footing(c, 1.0, 39.0, 25.0);
  c.Outline(kInk, 0.5);
}

// An armoury: a camouflaged bunker with a striped blast door and a gun turret on top.
void PaintWeapons(Canvas& c) {
  c.Paint(Segment(20.0, 10.0, 31.0, 2.5, 1.0), Flat(Hex(0x4a4e46)));
  c.Paint(Ellipse(18.0, 12.0, 7.0, 4.2), [](double x, double y) { return Tone(Hex(0x5a6a3a), SphereTone(x, y, 18, 12, 7)); });
  auto bunker = Intersect(Ellipse(18.0, 35.0, 17.5, 22.0), Rect(0, 12.0, 36, 35));
  c.Paint(bunker, [](double x, double y) {
    const double camo = Fbm2(x * 0.18, y * 0.18, 12, 3);
    const Rgb base = camo < 0.42 ? Hex(0x3e4a2a) : (camo < 0.56 ? Hex(0x6a7a42) : Hex(0x8a8058));
    return Tone(base, SphereTone(x, y, 18.0, 35.0, 22.0) * 0.7);
  });
  c.Paint(Rect(11.0, 22.0, 25.0, 35.0), [](double x, double y) {
    const bool stripe = static_cast<int>(Floor((x + y) / 2.5)) % 2 == 0;
    return (y < 24.0) ? (stripe ? Hex(0xf0c020) : Hex(0x202020)) : Tone(Hex(0x6a6e74), 0.1 - (x - 11) * 0.03);
  });
  c.Paint(Rect(17.8, 24.0, 18.2, 35.0), Flat(Hex(0x2a2a2e)));
  Footing(c, 0.5, 35.5, 35.0);
  c.Outline(kInk, 0.5);
}

// A water tower: a blue tank with a cone roof on braced legs.
void PaintWater(Canvas& c) {
  const Rgb steel = Hex(0x8a929c);
  Lattice(c, 7.0, 22.0, 24.0, 4.0, 25.0, 49.5, 3, steel, 0.8);
  c.Paint(Rect(13.6, 24.0, 15.4, 50.0), RoundShade(Hex(0x6a7a8a), 13.6, 15.4));
  c.Paint(Union(Rect(3.0, 8.0, 26.0, 23.0), Ellipse(14.5, 23.0, 11.5, 2.5)), [](double x, double y) {
    const bool rib = static_cast<int>(Floor(y)) % 5 == 0;
    return Tone(Hex(0x3a7ac8), CylinderTone(x, 3.0, 26.0) - (rib ? 0.25 : 0));
  });
  c.Paint(Polygon{{{2.0, 8.5}, {14.5, 1.0}, {27.0, 8.5}}}, [](double x, double) {
    return Tone(Hex(0x9aa2ae), x < 14.5 ? 0.3 : -0.3);
  });
  c.Paint(Circle(14.5, 1.5, 1.0), Flat(Hex(0xe04030)));
  c.Paint(Rect(20.0, 9.0, 21.0, 23.0), Flat(Hex(0x2a4a7a)));
  for (double y = 10.0; y < 23; y += 2.0) c.Paint(Rect(19.5, y, 21.5, y + 0.5), Flat(Hex(0x8a9aae)));
  c.Paint(Rect(4.0, 46.0, 25.0, 50.0), WallShade(Hex(0x6a6660), 4, 25, 46, 50));
  c.Outline(kInk, 0.5);
}

// A shipyard: two gantry towers and a bridge crane around a rocket standing nose up.
void PaintShipyard(Canvas& c) {
  const Rgb yellow = Hex(0xe0b030);
  c.Paint(Rect(0.0, 50.0, 56.0, 55.0), WallShade(Hex(0x7a7670), 0, 56, 50, 55));
  for (double x : {2.0, 47.0}) {
    Lattice(c, x, x + 7.0, 5.0, x, x + 7.0, 50.0, 6, yellow, 0.7);
  }
  c.Paint(Rect(1.0, 3.0, 55.0, 6.5), [&](double x, double y) { return Tone(yellow, CylinderToneH(y, 3, 6.5) * 0.8 - x * 0.005); });
  for (double x = 3.0; x < 54; x += 3.0) c.Paint(Segment(x, 3.2, x + 1.5, 6.3, 0.3), Flat(Hex(0x8a6a1a)));
  c.Paint(Rect(26.0, 6.5, 30.0, 8.0), Flat(Hex(0x4a4a50)));
  // Service arms reaching the rocket.
  for (double y : {22.0, 36.0}) {
    c.Paint(Rect(9.0, y, 22.0, y + 1.5), Flat(Tone(yellow, -0.2)));
    c.Paint(Rect(34.0, y, 47.0, y + 1.5), Flat(Tone(yellow, -0.4)));
  }
  // The rocket: white body, red nose, fins, a window.
  c.Paint(Polygon{{{22.0, 42.0}, {17.5, 50.0}, {22.0, 48.5}}}, Flat(Tone(Hex(0xc83a2a), 0.1)));
  c.Paint(Polygon{{{34.0, 42.0}, {38.5, 50.0}, {34.0, 48.5}}}, Flat(Tone(Hex(0xc83a2a), -0.4)));
  auto body = Union(Rect(22.0, 20.0, 34.0, 49.0), Intersect(Ellipse(28.0, 20.0, 6.0, 12.0), Rect(22, 8, 34, 21)));
  c.Paint(body, [](double x, double y) {
    const Rgb paint = y < 18.0 ? Hex(0xd03a2a) : (y > 44.0 ? Hex(0x4a4e58) : Hex(0xecece8));
    return Tone(paint, CylinderTone(x, 22.0, 34.0));
  });
  c.Paint(Rect(27.3, 24.0, 28.7, 44.0), Flat(Hex(0x2a3a6a)), 0.8);
  c.Paint(Circle(28.0, 26.0, 1.8), [](double x, double y) { return Mix(Hex(0x1a2a4a), Hex(0x8ad0ff), Clamp(SphereTone(x, y, 28, 26, 1.8) + 0.4)); });
  c.Paint(Rect(24.0, 49.0, 32.0, 50.5), Flat(Hex(0x2a2a30)));
  c.Outline(kInk, 0.5);
}

// A robot factory: a hall with a gear on its front, and a robot's head and shoulders on the roof.
void PaintRobot(Canvas& c) {
  c.Paint(Rect(1.0, 30.0, 44.0, 57.0), WallShade(Hex(0x8a9aae), 1, 44, 30, 57));
  for (int i = 0; i < 4; ++i) {
    const double x = 1.0 + i * 10.75;
    c.Paint(Polygon{{{x, 30.5}, {x, 26.0}, {x + 10.75, 30.5}}}, Flat(Tone(Hex(0x5a6a7e), 0.05 - i * 0.06)));
    c.Paint(Rect(x, 26.0, x + 0.9, 30.5), Flat(Hex(0x9ae0ff)));
  }
  // The gear sign.
  auto gear = Minus(Union(Circle(10.0, 41.0, 4.2), Star(10.0, 41.0, 5.6, 4.2, 8)), Circle(10.0, 41.0, 1.6));
  c.Paint(gear, [](double x, double y) { return Tone(Hex(0xe8c040), SphereTone(x, y, 10, 41, 5.6) * 0.5); });
  c.Paint(Rect(19.0, 45.0, 30.0, 57.0), [](double, double y) { return (static_cast<int>(Floor(y)) % 2) ? Hex(0x4a525e) : Hex(0x3a424c); });
  Window(c, 34.0, 36.0, 40.0, 41.0, true);
  // The robot: shoulders, a neck, a square head with glowing eyes and an antenna.
  c.Paint(Rect(12.0, 22.0, 33.0, 27.0), RoundShade(Hex(0xb8c0cc), 12, 33));
  c.Paint(Rect(20.0, 18.0, 25.0, 22.0), RoundShade(Hex(0x6a727e), 20, 25));
  c.Paint(Rect(14.0, 5.0, 31.0, 18.5), [](double x, double y) { return Tone(Hex(0xc8d0dc), CylinderTone(x, 14, 31) * 0.8 - (y - 5) * 0.01); });
  c.Paint(Rect(12.5, 9.0, 14.0, 14.0), Flat(Hex(0x8a929e)));
  c.Paint(Rect(31.0, 9.0, 32.5, 14.0), Flat(Hex(0x5a626e)));
  for (double ex : {18.5, 26.5}) {
    c.Paint(Circle(ex, 10.5, 2.2), Flat(Hex(0x1a2a3a)));
    c.Paint(Circle(ex, 10.5, 1.4), Flat(Hex(0x6af0ff)));
  }
  c.Paint(Rect(17.5, 14.5, 27.5, 16.5), [](double x, double) { return static_cast<int>(Floor(x)) % 2 ? Hex(0x2a323e) : Hex(0x8a929e); });
  c.Paint(Rect(22.0, 1.0, 23.0, 5.0), Flat(Hex(0x6a727e)));
  c.Paint(Circle(22.5, 1.3, 1.2), Flat(Hex(0xff4a3a)));
  Footing(c, 1.0, 44.0, 57.0);
  c.Outline(kInk, 0.5);
}

// Barracks: a corrugated half-round hut with a star on its front, sandbags, and a flag.
void PaintSoldier(Canvas& c) {
  c.Paint(Rect(35.5, 2.0, 36.5, 20.0), Flat(Hex(0xb0b4ba)));
  c.Paint(Polygon{{{36.5, 2.5}, {40.5, 4.5}, {36.5, 6.5}}}, Flat(Hex(0xd83a2a)));
  auto hut = Intersect(Ellipse(19.0, 38.0, 18.0, 26.0), Rect(0, 12.0, 41, 38));
  c.Paint(hut, [](double x, double y) {
    const bool rib = static_cast<int>(Floor(x * 0.8)) % 2 == 0;
    return Tone(Hex(0x7a7a4a), SphereTone(x, y, 19.0, 38.0, 26.0) * 0.8 + (rib ? 0.06 : -0.06));
  });
  c.Paint(Circle(19.0, 21.0, 4.2), Flat(Hex(0xf0ece0)));
  c.Paint(Star(19.0, 21.3, 3.3, 1.4, 5), Flat(Hex(0x3a4a2a)));
  c.Paint(Rect(15.5, 27.0, 22.5, 38.0), Flat(Hex(0x3a3424)));
  c.Paint(Rect(18.8, 27.0, 19.2, 38.0), Flat(Hex(0x1a1810)));
  Window(c, 6.0, 26.0, 10.0, 29.5, true);
  Window(c, 28.0, 26.0, 32.0, 29.5, false);
  for (int row = 0; row < 2; ++row)
    for (int i = 0; i < 4; ++i) {
      const double x = (row ? 25.5 : 24.0) + i * 3.4, y = 35.5 - row * 2.2;
      if (x + 3.0 > 40.5) continue;
      c.Paint(Ellipse(x + 1.6, y, 1.8, 1.2), [=](double px, double py) { return Tone(Hex(0xb8a070), SphereTone(px, py, x + 1.6, y, 1.8) * 0.6); });
    }
  Footing(c, 1.0, 37.0, 38.0);
  c.Outline(kInk, 0.5);
}

// A castle: a keep and two round towers with blue cones and pennants, walls and a gate.
void PaintCastle(Canvas& c) {
  const Rgb stone = Hex(0xa8a49a);
  auto stoneShade = [&](double x0, double x1, double lift) {
    return [=](double x, double y) {
      return Tone(Mortar(x, y, 5.0, 2.5) ? Tone(stone, -0.5) : stone, CylinderTone(x, x0, x1) * 0.6 + lift);
    };
  };
  auto battlements = [](double x0, double x1, double top) {
    return [=](double x, double y) {
      return x >= x0 && x < x1 && y >= top && (y >= top + 2.5 || static_cast<int>(Floor((x - x0) / 2.5)) % 2 == 0);
    };
  };
  // Curtain wall and keep.
  c.Paint(Union(Rect(14.0, 41.0, 44.0, 69.0), battlements(14.0, 44.0, 38.5)), stoneShade(14, 44, -0.1));
  c.Paint(Union(Rect(20.0, 17.0, 38.0, 41.0), battlements(19.0, 39.5, 12.5)), stoneShade(20, 38, 0.05));
  for (double wx : {24.0, 32.0}) c.Paint(Rect(wx, 22.0, wx + 2.0, 28.0), Flat(Hex(0x1a1a22)));
  c.Paint(Rect(27.5, 30.0, 30.5, 34.0), Flat(Hex(0xf0c860)));
  // Gate with a portcullis.
  auto gate = Union(Rect(23.0, 55.0, 35.0, 69.0), Circle(29.0, 55.0, 6.0));
  c.Paint(gate, [](double x, double y) {
    const bool bar = static_cast<int>(Floor(x - 23.0)) % 3 == 0 || static_cast<int>(Floor(y)) % 4 == 0;
    return bar ? Hex(0x5a4a3a) : Hex(0x14121a);
  });
  // Two towers.
  for (double tx : {1.0, 44.0}) {
    const double x0 = tx, x1 = tx + 13.0;
    c.Paint(Rect(x0, 24.0, x1, 69.0), stoneShade(x0, x1, tx < 10 ? 0.1 : -0.1));
    c.Paint(Polygon{{{x0 - 1.0, 24.5}, {(x0 + x1) / 2, 6.0}, {x1 + 1.0, 24.5}}}, [=](double x, double) {
      return Tone(Hex(0x3a5ab0), CylinderTone(x, x0 - 1.0, x1 + 1.0) * 0.8);
    });
    c.Paint(Rect((x0 + x1) / 2 - 0.4, 1.0, (x0 + x1) / 2 + 0.4, 6.5), Flat(Hex(0x5a5a60)));
    c.Paint(Polygon{{{(x0 + x1) / 2 + 0.4, 1.0}, {(x0 + x1) / 2 + 5.5, 2.5}, {(x0 + x1) / 2 + 0.4, 4.0}}}, Flat(Hex(0xe0302a)));
    c.Paint(Rect((x0 + x1) / 2 - 1.0, 32.0, (x0 + x1) / 2 + 1.0, 38.0), Flat(Hex(0x1a1a22)));
    c.Paint(Rect((x0 + x1) / 2 - 1.0, 46.0, (x0 + x1) / 2 + 1.0, 52.0), Flat(Hex(0x1a1a22)));
  }
  c.Outline(kInk, 0.5);
}

// A power plant: a cooling tower breathing steam, a turbine hall with a lightning sign and a stack.
void PaintPower(Canvas& c) {
  // Steam first, so the tower's lip covers its foot.
  // Steam rises from the lip and drifts off to the right, its billows growing as they go.
  const double puffs[][3] = {{12.5, 18.5, 5.5}, {10.0, 14.5, 4.6}, {14.5, 13.0, 4.8}, {13.0, 9.0, 4.2},
                             {18.0, 8.0, 4.4}, {22.5, 5.0, 3.8}, {17.0, 4.0, 3.4}, {27.0, 3.5, 2.8}};
  for (const auto& p : puffs)
    c.Paint(Circle(p[0], p[1], p[2]), [&](double x, double y) {
      return Tone(Hex(0xe4e8ee), SphereTone(x, y, p[0], p[1], p[2]) * 0.5 - 0.05);
    });
  // The hyperbolic cooling tower.
  auto halfWidth = [](double y) {
    const double t = (y - 40.0) / 20.0;
    return 6.5 + 4.5 * t * t * (t > 0 ? 1.1 : 0.8);
  };
  auto tower = [&](double x, double y) { return y >= 20.0 && y < 60.0 && (x - 12.5 < 0 ? 12.5 - x : x - 12.5) < halfWidth(y); };
  c.Paint(tower, [&](double x, double y) {
    const double hw = halfWidth(y);
    const bool band = y > 23.0 && y < 25.0;
    return Tone(band ? Hex(0xc83a2a) : Hex(0xc8c4bc), CylinderTone(x, 12.5 - hw, 12.5 + hw));
  });
  // Turbine hall and stack.
  c.Paint(Rect(29.0, 20.0, 32.5, 44.0), [](double x, double y) {
    return Tone(static_cast<int>(Floor(y / 4.0)) % 2 ? Hex(0xd83a2a) : Hex(0xf0ece4), CylinderTone(x, 29, 32.5));
  });
  c.Paint(Rect(21.0, 40.0, 36.0, 60.0), WallShade(Hex(0x8a9aa8), 21, 36, 40, 60));
  c.Paint(Rect(20.5, 39.0, 36.0, 41.0), Flat(Hex(0x4a5260)));
  c.Paint(Polygon{{{29.5, 42.5}, {25.5, 50.0}, {28.5, 50.0}, {26.5, 56.0}, {32.0, 47.5}, {29.0, 47.5}, {31.5, 42.5}}}, Flat(Hex(0xf8d820)));
  Footing(c, 1.0, 36.0, 60.0);
  c.Outline(kInk, 0.5);
}

}  // namespace art
