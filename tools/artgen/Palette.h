// The display palette: the desktop's 20 static colours and 236 colours chosen from the art.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "Colour.h"

namespace art {

using Palette = std::array<Rgb8, 256>;

// The entry of the static fuchsia, the transparent colour of the pictures.
constexpr int kFuchsiaEntry = 253;

// Entries 0-9 and 246-255 hold the classic desktop's static colours; the rest are black.
Palette StaticPalette();

// A colour the art uses, with how much it matters.
struct WeightedColour {
  Rgb8 colour;
  double weight;
};

// Chooses entries 10-245 by weighted k-means clustering of the art's colours (in the same squared
// RGB distance that the display uses to match colours), around the fixed static entries.
Palette BuildDisplayPalette(const std::vector<WeightedColour>& colours);

// A first palette of hand-made ramps, used when there is no art to learn from.
Palette RampPalette();

// The nearest entry by squared RGB distance, ties to the lowest index, as the display matches.
// With `avoidFuchsia` the fuchsia entry is never chosen (for the colours of a figure).
int Nearest(const Palette& palette, Rgb8 c, bool avoidFuchsia);

// Writes 256 lines of RRGGBB in index order.
void WritePaletteHex(const Palette& palette, const std::string& path);

}  // namespace art
