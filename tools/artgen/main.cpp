// Entry of the art generator: paints the catalogue, fits the display palette to it, and writes the
// bitmaps, the palette, the preview and the icons.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "Files.h"
#include "Palette.h"
#include "Pictures.h"
#include "Preview.h"

namespace art {
namespace {

// One picture of the catalogue: its name, size and depth, whether it is cut out by the transparent
// colour, how much its colours weigh when the palette is chosen, and whether its gradients are
// dithered into the palette.
struct Entry {
  const char* name;
  int width, height, bits;
  bool transparent;
  Painter paint;
  double weight;
  bool dither;
};

const Entry kCatalogue[] = {
    {"Ship1", 31, 31, 8, true, PaintShip1, 0.8, false},
    {"Ship2", 31, 31, 8, true, PaintShip2, 1.5, false},
    {"Flame", 15, 19, 8, true, PaintFlame, 0.8, false},
    {"Planet100", 200, 200, 8, true, PaintPlanet100, 1.0, true},
    {"Planet110", 220, 220, 8, true, PaintPlanet110, 1.0, true},
    {"Planet120", 240, 240, 8, true, PaintPlanet120, 1.0, true},
    {"Planet130", 260, 260, 8, true, PaintPlanet130, 1.0, true},
    {"Planet140", 280, 280, 8, true, PaintPlanet140, 1.0, true},
    {"Planet150", 300, 300, 8, true, PaintPlanet150, 1.0, true},
    {"Planet160", 320, 320, 8, true, PaintPlanet160, 1.0, true},
    {"Planet170", 340, 340, 8, true, PaintPlanet170, 1.0, true},
    {"Planet180", 360, 360, 8, true, PaintPlanet180, 1.0, true},
    {"Planet190", 380, 380, 8, true, PaintPlanet190, 1.0, true},
    {"Planet200", 400, 400, 8, true, PaintPlanet200, 1.0, true},
    {"Planet400", 800, 800, 8, true, PaintPlanet400, 1.4, true},
    {"Pine", 23, 29, 8, true, PaintPine, 0.4, false},
    {"FruitTree", 23, 29, 8, true, PaintFruitTree, 0.4, false},
    {"Radar", 34, 37, 8, true, PaintRadar, 0.4, false},
    {"ControlTower", 38, 75, 8, true, PaintControlTower, 0.5, false},
    {"FlashRed", 11, 11, 4, true, PaintFlashRed, 0.15, false},
    {"FlashGreen", 11, 11, 4, true, PaintFlashGreen, 0.15, false},
    {"FlashBlue", 11, 11, 4, true, PaintFlashBlue, 0.15, false},
    {"FlashYellow", 11, 11, 4, true, PaintFlashYellow, 0.15, false},
    {"Explosion", 43, 51, 8, true, PaintExplosion, 0.6, false},
    {"Explosion2", 96, 96, 8, true, PaintExplosion2, 0.8, false},
    {"Rock1", 35, 54, 8, true, PaintRock1, 0.3, false},
    {"Rock2", 27, 14, 8, true, PaintRock2, 0.2, false},
    {"Rock3", 28, 15, 8, true, PaintRock3, 0.2, false},
    {"FlagBlue", 30, 65, 8, true, PaintFlagBlue, 0.3, false},
    {"FlagGreen", 30, 65, 8, true, PaintFlagGreen, 0.3, false},
    {"FlagGray", 30, 65, 8, true, PaintFlagGray, 0.3, false},
    {"FlagPink", 30, 65, 8, true, PaintFlagPink, 0.3, false},
    {"FlagYellow", 30, 65, 8, true, PaintFlagYellow, 0.3, false},
    {"PlanetInfo", 475, 160, 8, false, PaintPlanetInfo, 1.2, false},
    {"B_Res_S", 22, 25, 8, true, PaintResS, 0.3, false},
    {"B_Res_M", 33, 57, 8, false, PaintResM, 0.3, false},
    {"B_Vitamin", 39, 61, 8, true, PaintVitamin, 0.3, false},
    {"B_Marmalade", 36, 60, 8, true, PaintMarmalade, 0.3, false},
    {"B_Mineral", 36, 48, 8, true, PaintMineral, 0.3, false},
    {"B_Furniture", 49, 25, 8, true, PaintFurniture, 0.3, false},
    {"B_Weapons", 36, 35, 8, true, PaintWeapons, 0.3, false},
    {"B_Water", 29, 50, 8, true, PaintWater, 0.3, false},
    {"B_Ship", 56, 55, 8, true, PaintShipyard, 0.3, false},
    {"B_Robot", 45, 57, 8, true, PaintRobot, 0.3, false},
    {"B_Soldier", 41, 38, 8, true, PaintSoldier, 0.3, false},
    {"B_Castle", 58, 69, 8, true, PaintCastle, 0.3, false},
    {"B_Power", 36, 60, 8, true, PaintPower, 0.3, false},
};

// Matches every figure pixel to the nearest display entry other than fuchsia, optionally with
// serpentine Floyd-Steinberg error diffusion confined to the figure. `allowed`, when not empty,
// restricts the entries that may be chosen.
Matched Match(const Canvas& c, const Palette& palette, bool dither, const std::vector<int>& allowed) {
  const int w = c.Width(), h = c.Height();
  Matched m{w, h, std::vector<int>(static_cast<size_t>(w * h), -1)};
  std::vector<Rgb> error(static_cast<size_t>(w * h));
  auto nearest = [&](Rgb8 v) {
    if (allowed.empty()) return Nearest(palette, v, true);
    int best = allowed[0], bestD = 1 << 30;
    for (int e : allowed) {
      const int d = Distance2(v, palette[static_cast<size_t>(e)]);
      if (d < bestD || (d == bestD && e < best)) best = e, bestD = d;
    }
    return best;
  };
  for (int y = 0; y < h; ++y) {
    const bool reverse = dither && (y % 2 == 1);
    for (int i = 0; i < w; ++i) {
      const int x = reverse ? w - 1 - i : i;
      if (!c.Opaque(x, y)) continue;
      const size_t k = static_cast<size_t>(y * w + x);
      // Clamped error keeps the diffusion from reaching for far-off colours (speckles of a
      // foreign hue) where the palette has a gap.
      auto limit = [](double v) { return Clamp(v, -0.07, 0.07); };
      const Rgb carried{limit(error[k].r), limit(error[k].g), limit(error[k].b)};
      const Rgb want = c.Colour(x, y) + carried;
      const int e = nearest(ToRgb8(want));
      m.entry[k] = e;
      if (!dither) continue;
      const Rgb got = ToRgb(palette[static_cast<size_t>(e)]);
      Rgb err{want.r - got.r, want.g - got.g, want.b - got.b};
      err = err * 0.8;  // a little less than full diffusion keeps flat areas calm
      const int dir = reverse ? -1 : 1;
      auto spread = [&](int dx, int dy, double f) {
        const int nx = x + dx * dir, ny = y + dy;
        if (c.Opaque(nx, ny)) {
          auto& t = error[static_cast<size_t>(ny * w + nx)];
          t = t + err * f;
        }
      };
      spread(1, 0, 7.0 / 16);
      spread(-1, 1, 3.0 / 16);
      spread(0, 1, 5.0 / 16);
      spread(1, 1, 1.0 / 16);
    }
  }
  return m;
}

// The picture's own colour table and its pixels as indices into it: fuchsia first for a
// cut-out picture, then the display colours it uses in entry order, the rest black.
void WritePicture(const std::string& path, const Entry& e, const Matched& m, const Palette& palette,
                  std::vector<std::vector<Rgb8>>& tablesSoFar) {
  std::vector<int> used;
  for (int v : m.entry)
    if (v >= 0) used.push_back(v);
  std::sort(used.begin(), used.end());
  used.erase(std::unique(used.begin(), used.end()), used.end());
  const size_t size = e.bits == 8 ? 256 : 16;
  std::vector<Rgb8> table;
  std::map<int, std::uint8_t> slot;
  if (e.transparent) table.push_back({255, 0, 255});
  for (int v : used) {
    slot[v] = static_cast<std::uint8_t>(table.size());
    table.push_back(palette[static_cast<size_t>(v)]);
  }
  if (table.size() > size) throw std::runtime_error(std::string(e.name) + ": too many colours");
  table.resize(size, Rgb8{0, 0, 0});
  for (const auto& other : tablesSoFar)
    if (other == table) throw std::runtime_error(std::string(e.name) + ": colour table equals another picture's");
  tablesSoFar.push_back(table);
  std::vector<std::uint8_t> indices;
  for (int v : m.entry) {
    if (v < 0 && !e.transparent) throw std::runtime_error(std::string(e.name) + ": an opaque picture has a hole");
    indices.push_back(v < 0 ? 0 : slot[v]);
  }
  WriteBmp(path, e.width, e.height, e.bits, table, indices);
}

// The program's icons: the player's ship painted afresh at each size, with soft edges in alpha.
void WriteIcon(const std::string& path, int size) {
  Canvas c(size, size, size / 31.0);
  PaintShip2(c);
  std::vector<std::uint8_t> rgba;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const Rgb8 v = ToRgb8(c.Colour(x, y));
      rgba.insert(rgba.end(), {v.r, v.g, v.b, ToByte(c.Alpha(x, y))});
    }
  WritePng(path, size, size, rgba);
}

void Generate(const std::string& root, const std::string& closeUps) {
  std::vector<Canvas> canvases;
  std::vector<WeightedColour> colours;
  for (const auto& e : kCatalogue) {
    canvases.emplace_back(e.width, e.height);
    e.paint(canvases.back());
    const Canvas& c = canvases.back();
    int figure = 0;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) figure += c.Opaque(x, y);
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x)
        if (c.Opaque(x, y)) colours.push_back({ToRgb8(c.Colour(x, y)), e.weight / std::max(figure, 1)});
  }
  const Palette palette = BuildDisplayPalette(colours);
  WritePaletteHex(palette, root + "/assets/palette.hex");

  std::vector<Matched> matched;
  std::vector<std::vector<Rgb8>> tables;
  for (size_t i = 0; i < canvases.size(); ++i) {
    const Entry& e = kCatalogue[i];
    Matched m = Match(canvases[i], palette, e.dither, {});
    if (e.bits == 4) {
      // Fifteen colours and the transparent one: keep the most used entries and match again.
      std::map<int, int> count;
      for (int v : m.entry)
        if (v >= 0) ++count[v];
      std::vector<std::pair<int, int>> byUse;
      for (auto [v, n] : count) byUse.emplace_back(-n, v);
      std::sort(byUse.begin(), byUse.end());
      std::vector<int> keep;
      for (size_t k = 0; k < byUse.size() && k < 15; ++k) keep.push_back(byUse[k].second);
      m = Match(canvases[i], palette, false, keep);
    }
    WritePicture(root + "/assets/images/" + e.name + ".bmp", e, m, palette, tables);
    if (!closeUps.empty()) WriteCloseUp(closeUps + "/" + e.name + ".png", m, palette);
    matched.push_back(std::move(m));
  }
  std::vector<std::string> names;
  for (const auto& e : kCatalogue) names.emplace_back(e.name);
  WritePreview(root + "/assets/images/preview.png", names, matched, palette);
  for (int size : {32, 64, 128, 256}) WriteIcon(root + "/assets/icons/tarnyx-" + std::to_string(size) + ".png", size);
}

}  // namespace
}  // namespace art

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: tarnyx-artgen REPOSITORY-ROOT [CLOSE-UP-FOLDER]\n");
    return 2;
  }
  try {
    art::Generate(argv[1], argc == 3 ? argv[2] : "");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tarnyx-artgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
