// The font's glyphs from a table the build generates with FreeType (tools/fonttable), for builds
// without FreeType: the same strikes, the same runs, the same pixels.
#pragma once

#include <vector>

#include "media/Fonts.h"

// The layout of the generated table.
struct TFontTableStrike {
  int PixelHeight, CellHeight, Ascent;
};
struct TFontTableGlyph {
  signed char Advance;
  unsigned short RunCount;
};
extern const int FontTableStrikeCount;
extern const TFontTableStrike FontTableStrikes[];  // FontTableStrikeCount of them
extern const TFontTableGlyph FontTableGlyphs[];    // 256 for each strike, strike after strike
extern const signed char FontTableRuns[];          // Y, X, length of each run, glyph after glyph
extern const int FontTableRunCount;

// What FontStrikeFor and FontStrikeHeights give, read from the table.
const TFontStrike& TableFontStrikeFor(int pixelHeight);
std::vector<int> TableFontStrikeHeights();
