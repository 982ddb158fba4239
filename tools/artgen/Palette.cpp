// The display palette: the static colours, the ramps and the clustering that fit it to the art.
#include "Palette.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace art {

namespace {

constexpr std::uint32_t kStaticLow[10] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                          0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0};
constexpr std::uint32_t kStaticHigh[10] = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                           0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

Rgb8 From(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

constexpr int kFirstFree = 10, kFreeCount = 236;

// Sum of a cluster while the centres move.
struct Accumulator {
  double r = 0, g = 0, b = 0, w = 0;
};

}  // namespace

Palette StaticPalette() {
  Palette p{};
  for (int i = 0; i < 10; ++i) {
    p[static_cast<size_t>(i)] = From(kStaticLow[i]);
    p[static_cast<size_t>(246 + i)] = From(kStaticHigh[i]);
  }
  return p;
}

Palette RampPalette() {
  Palette p = StaticPalette();
  // Dark-to-light ramps through a mid colour, 13 steps each, for the kinds of surface the art has.
  const std::uint32_t mids[18] = {0x2f6fc0, 0x3f9a3a, 0x8a5a32, 0xd8b070, 0x9ad8e8, 0xd03a1a,
                                  0xf08a20, 0xf0d040, 0x7a4ab0, 0xe070a0, 0x8a8a3a, 0x2a9a8a,
                                  0x6a80a0, 0x8a8078, 0xc09070, 0x2a6a30, 0xa06ad0, 0x808080};
  int e = kFirstFree;
  for (std::uint32_t mid : mids) {
    const Rgb m = Hex(mid);
    for (int s = 0; s < 13; ++s) {
      const double t = s / 12.0 * 2.0 - 1.0;
      p[static_cast<size_t>(e++)] = ToRgb8(Tone(m, t * 0.9));
    }
  }
  p[static_cast<size_t>(e++)] = {24, 24, 32};
  p[static_cast<size_t>(e++)] = {48, 44, 56};
  return p;
}

int Nearest(const Palette& palette, Rgb8 c, bool avoidFuchsia) {
  int best = 0, bestD = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    if (avoidFuchsia && i == kFuchsiaEntry) continue;
    const int d = Distance2(c, palette[static_cast<size_t>(i)]);
    if (d < bestD) {
      bestD = d;
      best = i;
    }
  }
  return best;
}

Palette BuildDisplayPalette(const std::vector<WeightedColour>& colours) {
  // Gather the colours into bins of 5 bits per channel, keeping each bin's exact mean, so the
  // clustering runs over tens of thousands of points rather than millions of pixels.
  std::vector<Accumulator> bins(32 * 32 * 32);
  for (const auto& wc : colours) {
    auto& a = bins[static_cast<size_t>((wc.colour.r >> 3) << 10 | (wc.colour.g >> 3) << 5 | (wc.colour.b >> 3))];
    a.r += wc.colour.r * wc.weight;
    a.g += wc.colour.g * wc.weight;
    a.b += wc.colour.b * wc.weight;
    a.w += wc.weight;
  }
  struct Point {
    double r, g, b, w;
  };
  std::vector<Point> points;
  for (const auto& a : bins)
    if (a.w > 0) points.push_back({a.r / a.w, a.g / a.w, a.b / a.w, a.w});
  if (points.empty()) return RampPalette();

  // Start from a weighted median cut: split the box with the largest weighted spread.
  struct Box {
    size_t begin, end;
    double score;
  };
  auto spreadOf = [&](size_t b, size_t e, int* axis) {
    double lo[3] = {1e9, 1e9, 1e9}, hi[3] = {-1e9, -1e9, -1e9}, w = 0;
    for (size_t i = b; i < e; ++i) {
      const double v[3] = {points[i].r, points[i].g, points[i].b};
      for (int k = 0; k < 3; ++k) {
        lo[k] = std::min(lo[k], v[k]);
        hi[k] = std::max(hi[k], v[k]);
      }
      w += points[i].w;
    }
    int best = 0;
    for (int k = 1; k < 3; ++k)
      if (hi[k] - lo[k] > hi[best] - lo[best]) best = k;
    if (axis) *axis = best;
    return (hi[best] - lo[best]) * Sqrt(w);
  };
  std::vector<Box> boxes{{0, points.size(), spreadOf(0, points.size(), nullptr)}};
  while (static_cast<int>(boxes.size()) < kFreeCount) {
    size_t pick = 0;
    for (size_t i = 1; i < boxes.size(); ++i)
      if (boxes[i].score > boxes[pick].score) pick = i;
    Box box = boxes[pick];
    if (box.end - box.begin < 2 || box.score <= 0) break;
    int axis = 0;
    spreadOf(box.begin, box.end, &axis);
    auto key = [axis](const Point& p) { return axis == 0 ? p.r : (axis == 1 ? p.g : p.b); };
    std::stable_sort(points.begin() + static_cast<long>(box.begin), points.begin() + static_cast<long>(box.end),
                     [&](const Point& a, const Point& b) { return key(a) < key(b); });
    double total = 0, run = 0;
    for (size_t i = box.begin; i < box.end; ++i) total += points[i].w;
    size_t cut = box.begin + 1;
    for (size_t i = box.begin; i < box.end - 1; ++i) {
      run += points[i].w;
      cut = i + 1;
      if (run >= total / 2) break;
    }
    boxes[pick] = {box.begin, cut, spreadOf(box.begin, cut, nullptr)};
    boxes.push_back({cut, box.end, spreadOf(cut, box.end, nullptr)});
  }

  Palette p = StaticPalette();
  std::vector<Point> centres;
  for (const auto& box : boxes) {
    Accumulator a;
    for (size_t i = box.begin; i < box.end; ++i) {
      a.r += points[i].r * points[i].w;
      a.g += points[i].g * points[i].w;
      a.b += points[i].b * points[i].w;
      a.w += points[i].w;
    }
    centres.push_back({a.r / a.w, a.g / a.w, a.b / a.w, a.w});
  }
  while (static_cast<int>(centres.size()) < kFreeCount) centres.push_back({0, 0, 0, 0});

  // Lloyd iterations: assign every point to the nearest entry (static ones stay put), move the
  // free centres to the means of their points.
  for (int iteration = 0; iteration < 24; ++iteration) {
    std::vector<Accumulator> sums(kFreeCount);
    std::vector<double> error(points.size());
    for (size_t k = 0; k < points.size(); ++k) {
      const auto& pt = points[k];
      int best = -1;
      double bestD = 1e30;
      for (int i = 0; i < 256; ++i) {
        if (i == kFuchsiaEntry) continue;
        double r, g, b;
        if (i >= kFirstFree && i < kFirstFree + kFreeCount) {
          const auto& c = centres[static_cast<size_t>(i - kFirstFree)];
          r = c.r, g = c.g, b = c.b;
        } else {
          r = p[static_cast<size_t>(i)].r, g = p[static_cast<size_t>(i)].g, b = p[static_cast<size_t>(i)].b;
        }
        const double d = (pt.r - r) * (pt.r - r) + (pt.g - g) * (pt.g - g) + (pt.b - b) * (pt.b - b);
        if (d < bestD) {
          bestD = d;
          best = i;
        }
      }
      error[k] = bestD * pt.w;
      if (best >= kFirstFree && best < kFirstFree + kFreeCount) {
        auto& s = sums[static_cast<size_t>(best - kFirstFree)];
        s.r += pt.r * pt.w;
        s.g += pt.g * pt.w;
        s.b += pt.b * pt.w;
        s.w += pt.w;
      }
    }
    for (int i = 0; i < kFreeCount; ++i) {
      const auto& s = sums[static_cast<size_t>(i)];
      if (s.w > 0) {
        centres[static_cast<size_t>(i)] = {s.r / s.w, s.g / s.w, s.b / s.w, s.w};
      } else {
        // An entry nobody uses (say, a duplicate of a static colour) moves to the worst-served
        // colour instead of going to waste.
        size_t worst = 0;
        for (size_t k = 1; k < points.size(); ++k)
          if (error[k] > error[worst]) worst = k;
        centres[static_cast<size_t>(i)] = points[worst];
        error[worst] = 0;
      }
    }
  }

  // Order the free entries dark to light within hue families, so the file reads as ramps.
  auto rgb8 = [](const Point& c) {
    auto b = [](double v) { return static_cast<std::uint8_t>(std::clamp(static_cast<int>(v + 0.5), 0, 255)); };
    return Rgb8{b(c.r), b(c.g), b(c.b)};
  };
  std::vector<Rgb8> chosen;
  for (const auto& c : centres) {
    Rgb8 v = rgb8(c);
    if (v == Rgb8{255, 0, 255}) v.g = 1;  // never a second fuchsia
    chosen.push_back(v);
  }
  auto family = [](Rgb8 c) {
    const int mx = std::max({c.r, c.g, c.b}), mn = std::min({c.r, c.g, c.b});
    if (mx - mn < 24) return 0;  // grays first
    double h;
    if (mx == c.r) h = 60.0 * (c.g - c.b) / (mx - mn);
    else if (mx == c.g) h = 60.0 * (c.b - c.r) / (mx - mn) + 120;
    else h = 60.0 * (c.r - c.g) / (mx - mn) + 240;
    if (h < 0) h += 360;
    return 1 + static_cast<int>(h / 30.0);
  };
  std::stable_sort(chosen.begin(), chosen.end(), [&](Rgb8 a, Rgb8 b) {
    const int fa = family(a), fb = family(b);
    if (fa != fb) return fa < fb;
    return a.r * 299 + a.g * 587 + a.b * 114 < b.r * 299 + b.g * 587 + b.b * 114;
  });
  for (int i = 0; i < kFreeCount; ++i) p[static_cast<size_t>(kFirstFree + i)] = chosen[static_cast<size_t>(i)];
  return p;
}

void WritePaletteHex(const Palette& palette, const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  for (const auto& c : palette) std::fprintf(f, "%02X%02X%02X\n", c.r, c.g, c.b);
  std::fclose(f);
}

}  // namespace art
