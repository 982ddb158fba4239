// Writing the generator's files: 4- and 8-bit bitmaps and PNG images.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Colour.h"

namespace art {

// Writes a bottom-up, uncompressed bitmap with a 40-byte information header. `table` holds 16
// (4 bits) or 256 (8 bits) colours; `indices` are the pixels, top row first.
void WriteBmp(const std::string& path, int width, int height, int bits, const std::vector<Rgb8>& table,
              const std::vector<std::uint8_t>& indices);

// Writes an RGBA PNG; `rgba` is 4 bytes per pixel, top row first.
void WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba);

}  // namespace art
