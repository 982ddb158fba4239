// A tiny 5 x 7 capital-letter bitmap font for the panel's labels and the preview's names.
#pragma once

#include <string>

namespace art {

constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kGlyphAdvance = 6;

// Whether pixel (gx, gy) of the glyph for ch is set; lower case shows as capitals and unknown
// characters as blanks.
bool GlyphPixel(char ch, int gx, int gy);

// Width in font pixels of a line of text (no trailing gap).
inline int TextWidth(const std::string& text) {
  return text.empty() ? 0 : static_cast<int>(text.size()) * kGlyphAdvance - 1;
}

}  // namespace art
