// The generator's sheets for people: the preview of all pictures with a scene, and close-ups.
#include "Preview.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>

#include "Files.h"
#include "Font.h"

namespace art {

// The preview sheet: every picture as the display shows it, over a dark ground, named. Small
// pictures are also shown three times enlarged so their pixels can be judged.
void WritePreview(const std::string& path, const std::vector<std::string>& names, const std::vector<Matched>& pictures,
                  const Palette& palette) {
  const int sheetWidth = 1720, gap = 14;
  struct Placed {
    size_t picture;
    int x, y, zoom;
  };
  std::vector<Placed> placed;
  int x = gap, y = gap, shelf = 0;
  for (size_t i = 0; i < pictures.size(); ++i) {
    const auto& p = pictures[i];
    const int zoom = std::max(p.width, p.height) <= 100 ? 3 : 1;
    const int cellW = std::max(p.width * zoom, TextWidth(names[i])) + gap;
    const int cellH = p.height * zoom + 12 + gap;
    if (x + cellW > sheetWidth) {
      x = gap;
      y += shelf;
      shelf = 0;
    }
    placed.push_back({i, x, y, zoom});
    x += cellW;
    shelf = std::max(shelf, cellH);
  }
  // Below the sheet, a scene as the game draws it: a world on black with things standing round
  // its rim, each turned to point away from the centre.
  const int sceneTop = y + shelf + gap, sceneHeight = 560;
  const int sheetHeight = sceneTop + sceneHeight + gap;
  std::vector<std::uint8_t> rgba(static_cast<size_t>(sheetWidth * sheetHeight) * 4);
  auto put = [&](int px, int py, Rgb8 c) {
    if (px < 0 || py < 0 || px >= sheetWidth || py >= sheetHeight) return;
    auto* d = &rgba[static_cast<size_t>(py * sheetWidth + px) * 4];
    d[0] = c.r, d[1] = c.g, d[2] = c.b, d[3] = 255;
  };
  for (int py = 0; py < sheetHeight; ++py)
    for (int px = 0; px < sheetWidth; ++px) put(px, py, Rgb8{18, 20, 32});
  for (const auto& pl : placed) {
    const auto& p = pictures[pl.picture];
    for (int py = 0; py < p.height * pl.zoom; ++py)
      for (int px = 0; px < p.width * pl.zoom; ++px) {
        const int v = p.entry[static_cast<size_t>((py / pl.zoom) * p.width + px / pl.zoom)];
        if (v >= 0) put(pl.x + px, pl.y + py, palette[static_cast<size_t>(v)]);
      }
    const std::string name = names[pl.picture];
    for (size_t ci = 0; ci < name.size(); ++ci)
      for (int gy = 0; gy < kGlyphHeight; ++gy)
        for (int gx = 0; gx < kGlyphWidth; ++gx)
          if (GlyphPixel(name[ci], gx, gy))
            put(pl.x + static_cast<int>(ci) * kGlyphAdvance + gx, pl.y + p.height * pl.zoom + 4 + gy, Rgb8{200, 205, 220});
  }
  for (int py = sceneTop; py < sceneTop + sceneHeight; ++py)
    for (int px = gap; px < sheetWidth - gap; ++px) put(px, py, palette[0]);
  auto find = [&](const std::string& name) {
    for (size_t i = 0; i < pictures.size(); ++i)
      if (name == names[i]) return i;
    throw std::runtime_error("no picture " + name);
  };
  // Draws a picture centred on (cx, cy), turned clockwise by `turn` 256ths, sampling the nearest
  // source pixel like the game's rotated drawing.
  auto drawTurned = [&](size_t index, double cx, double cy, int turn) {
    const auto& p = pictures[index];
    const double a = 2 * kPi * turn / 256.0, cs = Cos(a), sn = Sin(a);
    const int reach = static_cast<int>(Sqrt(p.width * p.width + p.height * p.height) / 2) + 2;
    for (int dy = -reach; dy <= reach; ++dy)
      for (int dx = -reach; dx <= reach; ++dx) {
        const double u = dx * cs + dy * sn + p.width / 2.0, v = -dx * sn + dy * cs + p.height / 2.0;
        const int sx = static_cast<int>(Floor(u)), sy = static_cast<int>(Floor(v));
        if (sx < 0 || sy < 0 || sx >= p.width || sy >= p.height) continue;
        const int e = p.entry[static_cast<size_t>(sy * p.width + sx)];
        if (e >= 0) put(static_cast<int>(cx) + dx, static_cast<int>(cy) + dy, palette[static_cast<size_t>(e)]);
      }
  };
  Rng rng(2024);
  for (int i = 0; i < 160; ++i) put(gap + rng.Below(sheetWidth - 2 * gap), sceneTop + rng.Below(sceneHeight), palette[255]);
  struct Standing {
    const char* name;
    int angle;
  };
  auto world = [&](const char* planet, int radius, double cx, double cy, std::initializer_list<Standing> things) {
    const size_t body = find(planet);
    for (int py = 0; py < pictures[body].height; ++py)
      for (int px = 0; px < pictures[body].width; ++px) {
        const int e = pictures[body].entry[static_cast<size_t>(py * pictures[body].width + px)];
        if (e >= 0) put(static_cast<int>(cx) - radius + px, static_cast<int>(cy) - radius + py, palette[static_cast<size_t>(e)]);
      }
    for (const auto& t : things) {
      const size_t k = find(t.name);
      const double d = radius + pictures[k].height / 2 - 4, a = 2 * kPi * t.angle / 256.0;
      drawTurned(k, cx - Cos(a) * d, cy - Sin(a) * d, t.angle - 64);
    }
  };
  world("Planet150", 150, 330, sceneTop + 270,
        {{"ControlTower", 40}, {"FlashYellow", 55}, {"FlashYellow", 65}, {"FlashYellow", 75}, {"FlashRed", 80},
         {"FlashRed", 90}, {"FlashRed", 100}, {"Pine", 108}, {"FruitTree", 114}, {"B_Res_S", 122}, {"B_Res_M", 130},
         {"Radar", 142}, {"B_Castle", 156}, {"Rock1", 172}, {"B_Power", 188}, {"B_Ship", 204}, {"Rock3", 218},
         {"B_Vitamin", 230}, {"FlagYellow", 244}, {"B_Robot", 10}, {"Pine", 22}, {"B_Soldier", 30}});
  world("Planet110", 110, 900, sceneTop + 290,
        {{"B_Mineral", 20}, {"Rock2", 40}, {"B_Water", 60}, {"B_Furniture", 82}, {"B_Weapons", 104}, {"FlagGray", 126},
         {"B_Marmalade", 150}, {"Rock1", 180}, {"FruitTree", 210}, {"B_Res_S", 232}});
  drawTurned(find("Flame"), 1380 - 19 * Sin(2 * kPi * 40 / 256.0), sceneTop + 160 + 19 * Cos(2 * kPi * 40 / 256.0), 40);
  drawTurned(find("Ship2"), 1380, sceneTop + 160, 40);
  drawTurned(find("Explosion2"), 1450, sceneTop + 400, 30);
  drawTurned(find("Explosion"), 1450, sceneTop + 400, 100);
  WritePng(path, sheetWidth, sheetHeight, rgba);
}

// One picture enlarged on its own, for a close look while painting.
void WriteCloseUp(const std::string& path, const Matched& p, const Palette& palette) {
  const int zoom = std::clamp(320 / std::max(p.width, p.height), 1, 10);
  const int w = p.width * zoom, h = p.height * zoom;
  std::vector<std::uint8_t> rgba;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int v = p.entry[static_cast<size_t>((y / zoom) * p.width + x / zoom)];
      const Rgb8 c = v >= 0 ? palette[static_cast<size_t>(v)] : Rgb8{40, 44, 64};
      rgba.insert(rgba.end(), {c.r, c.g, c.b, 255});
    }
  WritePng(path, w, h, rgba);
}

}  // namespace art
