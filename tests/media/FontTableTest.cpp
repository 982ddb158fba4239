// The glyph table that builds without FreeType draw their text from: every strike, every
// character, the same metrics and the same set pixels as FreeType renders from the font itself.
#include "media/glyphtable/FontTable.h"

#include <gtest/gtest.h>

#include <vector>

#include "media/Fonts.h"

namespace {

// The set pixels of a glyph as a picture of its cell (rows top to bottom, columns from the pen
// position; generous margins so that glyphs reaching out of their cell show too).
std::vector<std::vector<bool>> Pixels(const TFontStrike& strike, const TGlyph& glyph) {
  const int margin = 16;
  std::vector<std::vector<bool>> rows(std::size_t(strike.CellHeight + 2 * margin),
                                      std::vector<bool>(std::size_t(glyph.Advance + 2 * margin)));
  for (const TGlyphRun& r : glyph.Runs)
    for (int x = r.X; x < r.X + r.Length; ++x) {
      int row = r.Y + margin, col = x + margin;
      if (row < 0 || col < 0 || row >= int(rows.size()) || col >= int(rows[0].size())) {
        ADD_FAILURE() << "a run far outside its cell";
        continue;
      }
      rows[std::size_t(row)][std::size_t(col)] = true;
    }
  return rows;
}

TEST(FontTable, HoldsTheSameStrikesAsTheFont) {
  ASSERT_FALSE(FontStrikeHeights().empty()) << "the embedded font did not load";
  EXPECT_EQ(TableFontStrikeHeights(), FontStrikeHeights());
  // Every size asked for picks the same strike, the game's two (16 pixels for the system font,
  // 19 for its 14-point "Terminal") among them.
  for (int height = 0; height <= 64; ++height)
    EXPECT_EQ(TableFontStrikeFor(height).PixelHeight, FontStrikeFor(height).PixelHeight) << height;
}

TEST(FontTable, EveryGlyphOfEveryStrikeHasTheSamePixels) {
  for (int height : FontStrikeHeights()) {
    const TFontStrike& font = FontStrikeFor(height);
    const TFontStrike& table = TableFontStrikeFor(height);
    ASSERT_EQ(table.CellHeight, font.CellHeight) << height;
    ASSERT_EQ(table.Ascent, font.Ascent) << height;
    int inked = 0;
    for (int c = 0; c < 256; ++c) {
      const TGlyph& f = font.Glyphs[std::size_t(c)];
      const TGlyph& t = table.Glyphs[std::size_t(c)];
      ASSERT_EQ(t.Advance, f.Advance) << "character " << c << " at " << height << " pixels";
      ASSERT_EQ(Pixels(table, t), Pixels(font, f)) << "character " << c << " at " << height << " pixels";
      inked += !f.Runs.empty();
    }
    // Not two empty fonts agreeing: the printable ASCII characters other than the space have ink.
    EXPECT_GE(inked, 94) << height;
  }
}

}  // namespace
