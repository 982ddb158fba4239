// The generator's sheets for people: the preview of all pictures with a scene, and close-ups.
#pragma once

#include <string>
#include <vector>

#include "Palette.h"

namespace art {

// A picture matched to the display palette: a display entry per pixel, -1 where transparent.
struct Matched {
  int width, height;
  std::vector<int> entry;
};

// Writes the preview sheet: every picture as the display shows it, named, and a scene of worlds.
void WritePreview(const std::string& path, const std::vector<std::string>& names, const std::vector<Matched>& pictures,
                  const Palette& palette);

// Writes one picture enlarged on its own, for a close look while painting.
void WriteCloseUp(const std::string& path, const Matched& p, const Palette& palette);

}  // namespace art
