// The painting surface of the art generator: shapes painted with supersampled coverage.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "Colour.h"

namespace art {

// A picture being painted: premultiplied colour and coverage per pixel. Shapes are given in design
// units, which are pixels of the catalogue picture; Scale() pixels make one unit, so the same
// painting renders larger for the icons. The figure is whatever ends with coverage of one half or
// more; everything else becomes the transparent colour.
class Canvas {
 public:
  Canvas(int width, int height, double scale = 1.0)
      : width_(width), height_(height), scale_(scale), colour_(static_cast<size_t>(width * height)),
        alpha_(static_cast<size_t>(width * height), 0.0) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  double Scale() const { return scale_; }

  // Paints the shape `inside(x, y)` with the colour `shade(x, y)`, both in design units. Each pixel
  // takes 4 x 4 samples; the colour is taken at the centre of the samples that fall inside, so
  // edges keep their own colour. `bounds` (x0, y0, x1, y1, design units) limits the work.
  template <class Inside, class Shade>
  void Paint(Inside inside, Shade shade, double opacity = 1.0, double x0 = -1e9, double y0 = -1e9,
             double x1 = 1e9, double y1 = 1e9) {
    auto pixel = [](double v, int limit) { return static_cast<int>(Clamp(v, 0.0, static_cast<double>(limit))); };
    const int px0 = pixel(Floor(x0 * scale_) - 1, width_), py0 = pixel(Floor(y0 * scale_) - 1, height_);
    const int px1 = pixel(x1 * scale_ + 2, width_), py1 = pixel(y1 * scale_ + 2, height_);
    for (int py = py0; py < py1; ++py) {
      for (int px = px0; px < px1; ++px) {
        int n = 0;
        double sx = 0, sy = 0;
        for (int j = 0; j < 4; ++j) {
          for (int i = 0; i < 4; ++i) {
            const double x = (px + (i + 0.5) / 4.0) / scale_, y = (py + (j + 0.5) / 4.0) / scale_;
            if (inside(x, y)) {
              ++n;
              sx += x;
              sy += y;
            }
          }
        }
        if (n == 0) continue;
        const Rgb c = shade(sx / n, sy / n);
        Blend(px, py, c, opacity * n / 16.0);
      }
    }
  }

  // Lays colour c with coverage k over pixel (x, y).
  void Blend(int x, int y, Rgb c, double k) {
    const size_t i = Index(x, y);
    colour_[i] = colour_[i] * (1.0 - k) + c * k;
    alpha_[i] = alpha_[i] * (1.0 - k) + k;
  }

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  double Alpha(int x, int y) const { return alpha_[Index(x, y)]; }
  bool Opaque(int x, int y) const { return Inside(x, y) && alpha_[Index(x, y)] >= 0.5; }
  // The pixel's own colour (coverage divided out).
  Rgb Colour(int x, int y) const {
    const size_t i = Index(x, y);
    return alpha_[i] > 0 ? colour_[i] * (1.0 / alpha_[i]) : Rgb{};
  }
  void Set(int x, int y, Rgb c, double a = 1.0) {
    colour_[Index(x, y)] = c * a;
    alpha_[Index(x, y)] = a;
  }

  // Darkens the figure's border pixels towards `ink` so small figures read against any ground.
  void Outline(Rgb ink, double amount) {
    std::vector<std::pair<int, int>> edge;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (Opaque(x, y) && (!Opaque(x - 1, y) || !Opaque(x + 1, y) || !Opaque(x, y - 1) || !Opaque(x, y + 1)))
          edge.emplace_back(x, y);
    for (auto [x, y] : edge) Set(x, y, Mix(Colour(x, y), ink, amount), 1.0);
  }

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x); }

  int width_, height_;
  double scale_;
  std::vector<Rgb> colour_;
  std::vector<double> alpha_;
};

// Shapes: predicates on design coordinates (x right, y down).
inline auto Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r; };
}
inline auto Ellipse(double cx, double cy, double rx, double ry) {
  return [=](double x, double y) {
    const double u = (x - cx) / rx, v = (y - cy) / ry;
    return u * u + v * v < 1.0;
  };
}
inline auto Rect(double x0, double y0, double x1, double y1) {
  return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}
// A stroke of half-width w from (ax, ay) to (bx, by), with round ends.
inline auto Segment(double ax, double ay, double bx, double by, double w) {
  return [=](double x, double y) {
    const double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? Clamp(((x - ax) * dx + (y - ay) * dy) / l2) : 0.0;
    const double ex = x - (ax + t * dx), ey = y - (ay + t * dy);
    return ex * ex + ey * ey < w * w;
  };
}
// A polygon by the even-odd rule.
struct Polygon {
  std::vector<std::pair<double, double>> p;
  bool operator()(double x, double y) const {
    bool in = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
      const auto [xi, yi] = p[i];
      const auto [xj, yj] = p[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  }
};
// An ellipse turned by `angle` radians (clockwise on screen).
inline auto TurnedEllipse(double cx, double cy, double rx, double ry, double angle) {
  const double cs = Cos(angle), sn = Sin(angle);
  return [=](double x, double y) {
    const double dx = x - cx, dy = y - cy;
    const double u = (dx * cs + dy * sn) / rx, v = (-dx * sn + dy * cs) / ry;
    return u * u + v * v < 1.0;
  };
}

// A regular star of `points` points around (cx, cy).
inline Polygon Star(double cx, double cy, double outer, double inner, int points, double turn = 0) {
  Polygon p;
  for (int i = 0; i < points * 2; ++i) {
    const double a = turn + kPi * i / points - kPi / 2, r = i % 2 ? inner : outer;
    p.p.emplace_back(cx + r * Cos(a), cy + r * Sin(a));
  }
  return p;
}

template <class A, class B>
auto Union(A a, B b) {
  return [=](double x, double y) { return a(x, y) || b(x, y); };
}
template <class A, class B>
auto Minus(A a, B b) {
  return [=](double x, double y) { return a(x, y) && !b(x, y); };
}
template <class A, class B>
auto Intersect(A a, B b) {
  return [=](double x, double y) { return a(x, y) && b(x, y); };
}
// A flat colour as a shade function.
inline auto Flat(Rgb c) {
  return [=](double, double) { return c; };
}

// The light comes from the upper left and a little towards the viewer.
struct Light {
  static constexpr double x = -0.539, y = -0.539, z = 0.647;
};
// Diffuse light 0..1 on a unit normal.
inline double Lambert(double nx, double ny, double nz) { return Clamp(nx * Light::x + ny * Light::y + nz * Light::z); }
// Tone -1..1 across a vertical cylinder spanning x0..x1 (bright on the left, dark on the right).
inline double CylinderTone(double x, double x0, double x1) {
  const double nx = Clamp((x - x0) / (x1 - x0)) * 2.0 - 1.0;
  const double l = Lambert(nx * 0.95, -0.15, Sqrt(1 - nx * nx * 0.9));
  return Clamp(l * 2.2 - 1.3, -1.0, 1.0);
}
// Tone across a horizontal cylinder spanning y0..y1 (bright at the top).
inline double CylinderToneH(double y, double y0, double y1) {
  const double ny = Clamp((y - y0) / (y1 - y0)) * 2.0 - 1.0;
  const double l = Lambert(-0.15, ny * 0.95, Sqrt(1 - ny * ny * 0.9));
  return Clamp(l * 2.2 - 1.3, -1.0, 1.0);
}
// Tone on a sphere of radius r around (cx, cy), for a point inside it.
inline double SphereTone(double x, double y, double cx, double cy, double r) {
  const double nx = (x - cx) / r, ny = (y - cy) / r, nz = Sqrt(1 - nx * nx - ny * ny);
  return Clamp(Lambert(nx, ny, nz) * 2.2 - 1.2, -1.0, 1.0);
}

}  // namespace art
