// The things that stand on a planet's rim (trees, rocks, radar, tower, flags) and the lights.
#include <vector>

#include "Pictures.h"
#include "Ramp.h"

namespace art {


// A fir: four tiers of dark needles on a short trunk, the lit side to the left.
void PaintPine(Canvas& c) {
  const Rgb bark = Hex(0x6a4226), needles = Hex(0x2e6a30);
  c.Paint(Rect(10.0, 21.0, 13.0, 29.0), [&](double x, double) { return Tone(bark, CylinderTone(x, 10, 13)); });
  struct Tier {
    double top, bottom, half;
  };
  const Tier tiers[] = {{11.0, 25.0, 11.3}, {7.0, 20.0, 8.8}, {3.5, 15.0, 6.6}, {0.2, 9.5, 4.0}};
  for (const auto& t : tiers) {
    auto inside = [=](double x, double y) {
      if (y < t.top || y >= t.bottom) return false;
      const double k = (y - t.top) / (t.bottom - t.top);
      const double jag = (t.bottom - y < 2.0) ? 0.9 * Noise2(x * 1.3, t.bottom, 3) : 0.0;
      return (x - 11.5 < 0 ? 11.5 - x : x - 11.5) < t.half * k + 0.6 && y < t.bottom - jag;
    };
    c.Paint(inside, [=](double x, double y) {
      const double k = (y - t.top) / (t.bottom - t.top);
      const double side = (x - 11.5) / (t.half * k + 0.7);
      const double tone = 0.35 - side * 0.55 - k * 0.35 + (Noise2(x * 1.1, y * 1.1, 9) - 0.5) * 0.5;
      return Tone(needles, Clamp(tone, -1, 1));
    });
  }
  c.Outline(Hex(0x0c200e), 0.45);
}

// A fruit tree: a round crown hung with red fruit on a forked trunk.
void PaintFruitTree(Canvas& c) {
  const Rgb bark = Hex(0x74482a), leaves = Hex(0x3a7a26);
  c.Paint(Union(Rect(10.2, 17.0, 12.8, 29.0), Union(Segment(11.5, 19.0, 7.5, 14.0, 0.9), Segment(11.5, 18.0, 15.5, 13.0, 0.9))),
          [&](double x, double) { return Tone(bark, CylinderTone(x, 9.0, 14.0)); });
  auto crown = Union(Union(Circle(11.5, 9.5, 7.6), Circle(6.0, 13.0, 5.0)), Union(Circle(17.0, 13.0, 5.0), Circle(11.5, 15.0, 4.5)));
  c.Paint(crown, [&](double x, double y) {
    const double t = SphereTone(x, y, 11.5, 11.0, 11.0) * 0.9 - 0.2 + (Noise2(x * 0.9, y * 0.9, 4) - 0.5) * 0.7;
    return Tone(leaves, Clamp(t, -1, 1));
  });
  const double fruit[][2] = {{7.5, 9.0}, {14.5, 7.0}, {11.0, 13.5}, {16.5, 14.5}, {5.5, 15.0}, {10.0, 4.5}, {18.0, 10.0}};
  for (const auto& f : fruit) {
    c.Paint(Circle(f[0], f[1], 1.25), [&](double x, double y) {
      return Tone(Hex(0xd8281e), SphereTone(x, y, f[0], f[1], 1.25) + 0.2);
    });
  }
  c.Outline(Hex(0x142a0c), 0.45);
}

// A radar: a lattice mast carrying a dish that looks up and to the left.
void PaintRadar(Canvas& c) {
  const Rgb metal = Hex(0xb0b8c4), dark = Hex(0x3a404c);
  // Mast legs and bracing.
  c.Paint(Segment(11.5, 36.5, 15.8, 19.0, 0.8), Flat(Tone(metal, 0.2)));
  c.Paint(Segment(22.5, 36.5, 18.2, 19.0, 0.8), Flat(Tone(metal, -0.35)));
  for (double y : {24.0, 30.0}) {
    const double l = 11.5 + (36.5 - y) * 4.3 / 17.5, r = 22.5 - (36.5 - y) * 4.3 / 17.5;
    c.Paint(Segment(l, y, r, y + 6.0, 0.45), Flat(Tone(metal, -0.2)));
    c.Paint(Segment(r, y, l, y + 6.0, 0.45), Flat(Tone(metal, -0.1)));
  }
  c.Paint(Rect(9.5, 35.0, 24.5, 37.0), Flat(Tone(dark, 0.3)));
  // The mount.
  c.Paint(Rect(14.5, 14.5, 19.5, 20.0), [&](double x, double) { return Tone(metal, CylinderTone(x, 14.5, 19.5)); });
  // The dish: its bright inner face, turned up-left, with a darker back rim.
  const double angle = -0.6;
  c.Paint(TurnedEllipse(15.5, 11.5, 13.0, 6.2, angle), [&](double x, double y) {
    return Tone(Hex(0x8a929e), -0.2 + (y - 11.5) * -0.05 + (x - 15.5) * -0.02);
  });
  c.Paint(TurnedEllipse(15.0, 10.6, 11.8, 5.0, angle), [&](double x, double y) {
    const double d = Sqrt((x - 13.0) * (x - 13.0) + (y - 8.5) * (y - 8.5));
    return Tone(Hex(0xdce2ea), 0.5 - d * 0.08);
  });
  // The feed: a strut from the dish centre to a small horn.
  const double ax = 15.0 + 6.5 * Sin(angle), ay = 10.6 - 6.5 * Cos(angle);
  c.Paint(Segment(15.0, 10.6, ax, ay, 0.5), Flat(dark));
  c.Paint(Circle(ax, ay, 1.3), Flat(Hex(0xe04a2a)));
  c.Outline(Hex(0x1a1e26), 0.5);
}

// A control tower: a slim shaft on a low base, a glazed cabin near the top and a lit antenna.
void PaintControlTower(Canvas& c) {
  const Rgb concrete = Hex(0xd4d0c8), dark = Hex(0x3a3a44);
  // Base hall with a door.
  c.Paint(Rect(6.0, 64.0, 32.0, 75.0), [&](double x, double y) { return Tone(concrete, -0.1 + CylinderToneH(y, 64, 75) * 0.3 - (x - 6) * 0.01); });
  c.Paint(Rect(6.0, 63.0, 32.0, 64.5), Flat(Tone(concrete, -0.6)));
  c.Paint(Rect(16.5, 68.0, 21.5, 75.0), Flat(Hex(0x2a3448)));
  for (double wx : {9.0, 26.0}) c.Paint(Rect(wx, 67.0, wx + 3.0, 70.0), Flat(Hex(0xf0d070)));
  // Shaft, narrowing upwards, with rings.
  auto shaft = [](double x, double y) {
    const double half = 3.0 + (y - 22.0) * 1.2 / 41.0;
    return y >= 21.0 && y < 64.0 && (x - 19.0 < 0 ? 19.0 - x : x - 19.0) < half;
  };
  c.Paint(shaft, [&](double x, double y) {
    const double half = 3.0 + (y - 22.0) * 1.2 / 41.0;
    const double ring = (static_cast<int>(y) % 8 == 0) ? -0.4 : 0.0;
    return Tone(concrete, CylinderTone(x, 19.0 - half, 19.0 + half) + ring);
  });
  // Cabin: a wide band of green-lit glass under a flat roof, wider at the top.
  const Polygon cabin{{{6.5, 11.0}, {31.5, 11.0}, {28.5, 22.0}, {9.5, 22.0}}};
  c.Paint(cabin, [&](double x, double y) {
    if (y < 13.0 || y >= 19.5) return Tone(Hex(0xe4e0d8), CylinderTone(x, 6.5, 31.5) * 0.8 - (y > 19 ? 0.3 : 0));
    const bool mullion = static_cast<int>(x + 0.5) % 4 == 0;
    return mullion ? Tone(dark, 0.2) : Mix(Hex(0x4ad8b0), Hex(0x0a4a4a), (y - 13.0) / 6.5 + (x - 6.5) * 0.01);
  });
  c.Paint(Rect(8.0, 8.5, 30.0, 11.0), [&](double x, double) { return Tone(Hex(0x8a909a), CylinderTone(x, 8, 30)); });
  // Antenna and its red light.
  c.Paint(Rect(18.4, 2.0, 19.6, 8.5), Flat(Tone(Hex(0xb0b8c4), -0.2)));
  c.Paint(Rect(15.0, 5.0, 23.0, 5.8), Flat(Tone(Hex(0xb0b8c4), -0.3)));
  c.Paint(Circle(19.0, 2.0, 1.6), Flat(Hex(0xff3a2a)));
  c.Outline(Hex(0x1c1c24), 0.45);
}

namespace {

// A round light: a white-hot middle, the light's own colour, a deep rim.
void PaintFlash(Canvas& c, std::uint32_t deep, std::uint32_t mid, std::uint32_t bright) {
  c.Paint(Circle(5.5, 5.5, 5.5), [&](double x, double y) {
    const double d = Sqrt((x - 5.0) * (x - 5.0) + (y - 5.0) * (y - 5.0)) / 5.5;
    return Ramp({{0.0, 0xffffff}, {0.25, bright}, {0.6, mid}, {1.0, deep}}, d);
  });
}

}  // namespace

void PaintFlashRed(Canvas& c) { PaintFlash(c, 0x6a0a0a, 0xe82a1a, 0xff9a7a); }
void PaintFlashGreen(Canvas& c) { PaintFlash(c, 0x0a5a14, 0x2ad83a, 0xa0ffa0); }
void PaintFlashBlue(Canvas& c) { PaintFlash(c, 0x0a1a6a, 0x2a6aff, 0x9ac8ff); }
void PaintFlashYellow(Canvas& c) { PaintFlash(c, 0x7a5a00, 0xf0c818, 0xfff08a); }

namespace {

// Rock shading: the stone breaks into flat facets (the cells around scattered seed points), each
// tilted its own way and lit by that tilt, with dark cracks where facets meet.
struct Facets {
  struct Cell {
    double x, y, tone;
  };
  std::vector<Cell> cells;
  Facets(double w, double h, int count, std::uint32_t seed) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
      const double x = rng.Range(0, w), y = rng.Range(0, h);
      // Facets on the left and top lean towards the light, those on the right away from it.
      const double nx = Clamp((x / w) * 2 - 1 + rng.Range(-0.5, 0.5), -0.95, 0.95);
      const double ny = Clamp(-0.5 + rng.Range(-0.4, 0.5), -0.9, 0.9);
      const double l = Lambert(nx, ny, Sqrt(Clamp(1 - nx * nx - ny * ny)));
      cells.push_back({x, y, Clamp(l * 1.2 - 0.75, -0.5, 0.3)});
    }
  }
  double Tone(double x, double y) const {
    double best = 1e9, second = 1e9, tone = 0;
    for (const auto& c : cells) {
      const double d = Sqrt((x - c.x) * (x - c.x) + (y - c.y) * (y - c.y));
      if (d < best) {
        second = best;
        best = d;
        tone = c.tone;
      } else if (d < second) {
        second = d;
      }
    }
    return second - best < 0.7 ? tone - 0.25 : tone;
  }
};

void PaintRock(Canvas& c, const Polygon& outline, double w, double h, int facets, std::uint32_t seed, Rgb stone) {
  const Facets f(w, h, facets, seed);
  c.Paint(outline, [&](double x, double y) {
    const double grain = (Noise2(x * 0.8, y * 0.8, seed + 3) - 0.5) * 0.3;
    return art::Tone(stone, Clamp(f.Tone(x, y) + grain - y / h * 0.15, -1, 1));
  });
  c.Outline(Hex(0x1a1614), 0.5);
}

}  // namespace

// A tall, leaning crag.
void PaintRock1(Canvas& c) {
  PaintRock(c, Polygon{{{0.5, 54}, {3.5, 41}, {2.5, 32}, {7.5, 23}, {9.5, 13}, {14.5, 4}, {18.5, 0.8}, {22, 7}, {26, 14},
                        {25, 23}, {30, 32}, {31.5, 43}, {34.5, 54}}},
            35, 54, 22, 31, Hex(0x7a6a5a));
}
// A low, flat boulder.
void PaintRock2(Canvas& c) {
  PaintRock(c, Polygon{{{0.2, 14}, {1.8, 8}, {6, 4}, {11.5, 1.2}, {18, 1.8}, {23, 5.5}, {25.8, 9.5}, {26.8, 14}}}, 27, 14, 8, 48,
            Hex(0x7a766e));
}
// Two boulders side by side.
void PaintRock3(Canvas& c) {
  PaintRock(c,
            Polygon{{{0.2, 15}, {1.5, 8}, {5, 3}, {10, 1}, {15, 3}, {17, 7}, {19.5, 5.5}, {24, 6.5}, {27, 10}, {27.8, 15}}},
            28, 15, 10, 55, Hex(0x7e6a56));
}

namespace {

// A flag on a pole: cloth of the faction's colour waving from the pole's top, and its emblem.
enum class Emblem { kStar, kCrown, kPick, kCoin, kFish };

void PaintFlag(Canvas& c, Rgb cloth, Emblem emblem, Rgb sign) {
  const Rgb metal = Hex(0xc0c4cc);
  // Plinth, pole and its gilt knob.
  c.Paint(Rect(0.5, 61.0, 8.5, 65.0), [&](double x, double) { return Tone(Hex(0x7a7a80), CylinderTone(x, 0.5, 8.5)); });
  c.Paint(Rect(3.0, 3.0, 5.4, 61.0), [&](double x, double) { return Tone(metal, CylinderTone(x, 3.0, 5.4)); });
  c.Paint(Circle(4.2, 2.4, 2.1), [&](double x, double y) { return Tone(Hex(0xe0b030), SphereTone(x, y, 4.2, 2.4, 2.1)); });
  // The cloth waves along x; its folds catch the light on one side.
  auto wave = [](double x) { return 1.3 * Sin((x - 5.4) * 0.42) * Clamp((x - 5.4) / 6.0); };
  auto cloth_shape = [&](double x, double y) { return x >= 5.4 && x < 29.5 && y >= 5.0 + wave(x) && y < 24.0 + wave(x); };
  c.Paint(cloth_shape, [&](double x, double) { return Tone(cloth, Cos((x - 5.4) * 0.42) * 0.35 * Clamp((x - 5.4) / 6.0) + 0.05); });
  // The emblem rides on the cloth's wave.
  auto onCloth = [&](auto shape) { return [=](double x, double y) { return shape(x, y - wave(x)) && cloth_shape(x, y); }; };
  auto signShade = [&](double x, double) { return Tone(sign, Cos((x - 5.4) * 0.42) * 0.3); };
  const double cx = 17.5, cy = 14.5;
  switch (emblem) {
    case Emblem::kStar:
      c.Paint(onCloth(Star(cx, cy, 6.5, 2.7, 5)), signShade);
      break;
    case Emblem::kCrown:
      c.Paint(onCloth(Polygon{{{cx - 6, cy + 4}, {cx - 6.5, cy - 4}, {cx - 3, cy - 0.5}, {cx, cy - 5.5}, {cx + 3, cy - 0.5},
                                {cx + 6.5, cy - 4}, {cx + 6, cy + 4}}}),
              signShade);
      c.Paint(onCloth(Rect(cx - 6, cy + 2.2, cx + 6, cy + 3.4)), Flat(Tone(sign, -0.5)));
      break;
    case Emblem::kPick: {
      // The miners' crossed hammers: two handles, each with a head across its upper end.
      auto hammer = [&](double bx, double by, double tx, double ty, double lift) {
        c.Paint(onCloth(Segment(bx, by, tx, ty, 0.75)), Flat(Tone(Hex(0x8a5a2a), lift)));
        const double len = Sqrt((tx - bx) * (tx - bx) + (ty - by) * (ty - by));
        const double dx = (tx - bx) / len, dy = (ty - by) / len, nx = -dy, ny = dx;
        auto corner = [&](double along, double across) {
          return std::pair<double, double>{tx + dx * along + nx * across, ty + dy * along + ny * across};
        };
        c.Paint(onCloth(Polygon{{corner(-1.3, -3.4), corner(1.3, -3.4), corner(1.3, 3.4), corner(-1.3, 3.4)}}),
                [&](double x, double y) { return Tone(signShade(x, y), lift); });
      };
      hammer(cx - 5.5, cy + 6.0, cx + 3.5, cy - 3.5, 0.0);
      hammer(cx + 5.5, cy + 6.0, cx - 3.5, cy - 3.5, -0.25);
      break;
    }
    case Emblem::kCoin:
      c.Paint(onCloth(Circle(cx, cy, 6.2)), signShade);
      c.Paint(onCloth(Minus(Circle(cx, cy, 4.8), Circle(cx, cy, 3.8))), Flat(Tone(sign, -0.45)));
      c.Paint(onCloth(Rect(cx - 0.7, cy - 2.8, cx + 0.7, cy + 2.8)), Flat(Tone(sign, -0.45)));
      break;
    case Emblem::kFish:
      c.Paint(onCloth(Union(Ellipse(cx - 1, cy, 5.8, 3.6), Polygon{{{cx + 3.5, cy}, {cx + 8.5, cy - 4}, {cx + 8.5, cy + 4}}})), signShade);
      c.Paint(onCloth(Circle(cx - 4, cy - 0.8, 0.9)), Flat(Hex(0xffffff)));
      break;
  }
  c.Outline(Hex(0x18181e), 0.45);
}

}  // namespace

void PaintFlagBlue(Canvas& c) { PaintFlag(c, Hex(0x2a52c8), Emblem::kStar, Hex(0xf4f0e0)); }
void PaintFlagGreen(Canvas& c) { PaintFlag(c, Hex(0x2a8a3a), Emblem::kCrown, Hex(0xf0c830)); }
void PaintFlagGray(Canvas& c) { PaintFlag(c, Hex(0x9a9ea6), Emblem::kPick, Hex(0x2e323c)); }
void PaintFlagPink(Canvas& c) { PaintFlag(c, Hex(0xe070a8), Emblem::kCoin, Hex(0xf8d848)); }
void PaintFlagYellow(Canvas& c) { PaintFlag(c, Hex(0xf0c828), Emblem::kFish, Hex(0x2a6ac8)); }

}  // namespace art
