// Strikes of the font read from the generated glyph table, each once, on first use.
#include "media/glyphtable/FontTable.h"

#include <map>
#include <memory>

std::vector<int> TableFontStrikeHeights() {
  std::vector<int> heights;
  for (int i = 0; i < FontTableStrikeCount; ++i) heights.push_back(FontTableStrikes[i].PixelHeight);
  return heights;
}

const TFontStrike& TableFontStrikeFor(int pixelHeight) {
  static const TFontStrike empty;
  static std::map<int, std::unique_ptr<TFontStrike>> strikes;  // by strike index
  const int best = NearestFontStrike(TableFontStrikeHeights(), pixelHeight);
  if (best < 0) return empty;
  auto& slot = strikes[best];
  if (slot) return *slot;
  slot = std::make_unique<TFontStrike>();
  TFontStrike& strike = *slot;
  const TFontTableStrike& s = FontTableStrikes[best];
  strike.PixelHeight = s.PixelHeight;
  strike.CellHeight = s.CellHeight;
  strike.Ascent = s.Ascent;
  // The runs of the strikes before this one come first.
  int run = 0;
  for (int i = 0; i < best * 256; ++i) run += FontTableGlyphs[i].RunCount;
  for (int c = 0; c < 256; ++c) {
    const TFontTableGlyph& g = FontTableGlyphs[best * 256 + c];
    TGlyph& glyph = strike.Glyphs[std::size_t(c)];
    glyph.Advance = g.Advance;
    for (int k = 0; k < g.RunCount && run < FontTableRunCount; ++k, ++run) {
      const signed char* r = FontTableRuns + 3 * run;
      glyph.Runs.push_back({std::int16_t(r[0]), std::int16_t(r[1]), std::int16_t(r[2])});
    }
  }
  return strike;
}
