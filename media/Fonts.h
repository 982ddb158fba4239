// The one fixed-pitch font compiled into the program, rendered once per size into runs of set
// pixels, so that text costs a few short fills per character.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

// One horizontal run of set pixels of a glyph, relative to the top-left of its character cell.
struct TGlyphRun {
  std::int16_t Y, X, Length;
};

struct TGlyph {
  int Advance = 0;
  std::vector<TGlyphRun> Runs;
};

// One size of the font: the character cell height, the distance from the cell top to the
// baseline, and the glyphs of the 256 single-byte characters (read as Latin-1).
struct TFontStrike {
  int PixelHeight = 0;
  int CellHeight = 0;
  int Ascent = 0;
  std::array<TGlyph, 256> Glyphs;
};

// The strike whose size is nearest to pixelHeight (ties to the smaller), rendered on first use
// and kept. Never null: without a usable font every glyph is empty.
const TFontStrike& FontStrikeFor(int pixelHeight);

// The sizes the font has, in pixels, smallest first.
std::vector<int> FontStrikeHeights();

// Which of the strikes of the given heights serves pixelHeight: the nearest, ties to the smaller;
// -1 when there are none. Every source of glyphs chooses the same way.
inline int NearestFontStrike(const std::vector<int>& heights, int pixelHeight) {
  int best = -1;
  for (std::size_t i = 0; i < heights.size(); ++i) {
    if (best < 0) {
      best = int(i);
      continue;
    }
    int d = std::abs(heights[i] - pixelHeight);
    int bestD = std::abs(heights[std::size_t(best)] - pixelHeight);
    if (d < bestD || (d == bestD && heights[i] < heights[std::size_t(best)])) best = int(i);
  }
  return best;
}
