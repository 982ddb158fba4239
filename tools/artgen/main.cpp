// Entry of the art generator: writes the display palette (the pictures follow).
#include <cstdio>
#include <exception>
#include <string>

#include "Palette.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tarnyx-artgen REPOSITORY-ROOT\n");
    return 2;
  }
  try {
    const std::string root = argv[1];
    art::WritePaletteHex(art::RampPalette(), root + "/assets/palette.hex");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tarnyx-artgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
