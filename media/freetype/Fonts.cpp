// Rendering the embedded bitmap font through FreeType, once per size.
#include "media/Fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <memory>

// The font file's bytes, compiled in by the build (see media/CMakeLists.txt).
extern const unsigned char EmbeddedFontData[];
extern const unsigned long EmbeddedFontSize;

namespace {

struct TFontLibrary {
  FT_Library Library = nullptr;
  FT_Face Face = nullptr;
  std::map<int, std::unique_ptr<TFontStrike>> Strikes;  // by strike index

  TFontLibrary() {
    if (FT_Init_FreeType(&Library) != 0) return;
    if (FT_New_Memory_Face(Library, EmbeddedFontData, FT_Long(EmbeddedFontSize), 0, &Face) != 0)
      Face = nullptr;
  }
  ~TFontLibrary() {
    if (Face) FT_Done_Face(Face);
    if (Library) FT_Done_FreeType(Library);
  }
};

TFontLibrary& Fonts() {
  static TFontLibrary fonts;
  return fonts;
}

int StrikeHeight(FT_Face face, int i) { return int(face->available_sizes[i].height); }

void Render(FT_Face face, int index, TFontStrike& strike) {
  strike.PixelHeight = StrikeHeight(face, index);
  if (FT_Select_Size(face, index) != 0) return;
  strike.CellHeight = int(face->size->metrics.height >> 6);
  strike.Ascent = int(face->size->metrics.ascender >> 6);
  for (int c = 0; c < 256; ++c) {
    TGlyph& g = strike.Glyphs[std::size_t(c)];
    if (FT_Load_Char(face, FT_ULong(c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
    FT_GlyphSlot slot = face->glyph;
    g.Advance = int(slot->advance.x >> 6);
    const FT_Bitmap& b = slot->bitmap;
    for (unsigned row = 0; row < b.rows; ++row) {
      const unsigned char* bits = b.buffer + std::ptrdiff_t(row) * b.pitch;
      int y = strike.Ascent - slot->bitmap_top + int(row);
      int start = -1;
      for (unsigned col = 0; col <= b.width; ++col) {
        bool on = false;
        if (col < b.width) {
          on = b.pixel_mode == FT_PIXEL_MODE_MONO ? (bits[col / 8] >> (7 - col % 8)) & 1
                                                   : bits[col] >= 128;
        }
        if (on && start < 0) start = int(col);
        if (!on && start >= 0) {
          g.Runs.push_back({std::int16_t(y), std::int16_t(slot->bitmap_left + start),
                            std::int16_t(int(col) - start)});
          start = -1;
        }
      }
    }
  }
}

}  // namespace

std::vector<int> FontStrikeHeights() {
  std::vector<int> heights;
  FT_Face face = Fonts().Face;
  if (!face) return heights;
  for (int i = 0; i < face->num_fixed_sizes; ++i) heights.push_back(StrikeHeight(face, i));
  return heights;
}

const TFontStrike& FontStrikeFor(int pixelHeight) {
  static const TFontStrike empty;
  TFontLibrary& fonts = Fonts();
  FT_Face face = fonts.Face;
  int best = NearestFontStrike(FontStrikeHeights(), pixelHeight);
  if (best < 0) return empty;
  auto& slot = fonts.Strikes[best];
  if (!slot) {
    slot = std::make_unique<TFontStrike>();
    Render(face, best, *slot);
  }
  return *slot;
}
