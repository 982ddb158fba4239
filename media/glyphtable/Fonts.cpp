// The browser build's text: the font's strikes come from the generated glyph table.
#include "media/Fonts.h"
#include "media/glyphtable/FontTable.h"

const TFontStrike& FontStrikeFor(int pixelHeight) { return TableFontStrikeFor(pixelHeight); }

std::vector<int> FontStrikeHeights() { return TableFontStrikeHeights(); }
