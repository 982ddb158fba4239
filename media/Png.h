// PNG pictures in and out: a palettized frame written as an RGB file, and a PNG decoded to RGBA.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Writes width x height 8-bit pixels (rows pitch bytes apart) through the palette (entries
// 0x00RRGGBB) as an 8-bit RGB PNG in file, replacing it only once the whole picture is written
// (a failure leaves any old file as it was and no new one). Screenshots and the headless tool's
// pictures of frames both come through here. Returns false with the file and the reason in error.
bool WritePalettizedPng(const std::string& file, const std::uint8_t* pixels, int pitch, int width,
                        int height, const std::uint32_t palette[256], std::string& error);

// A decoded picture: Width x Height pixels, each four bytes red, green, blue, alpha in that order
// in memory, rows packed.
struct TRgbaPicture {
  int Width = 0, Height = 0;
  std::vector<std::uint32_t> Pixels;
};

// Decodes a whole PNG held in memory, whatever its colour type and depth, to 8-bit RGBA (opaque
// where the file has no alpha). Refuses pictures wider or higher than maxSide. Returns false with
// the reason in error for anything that is not a sound PNG.
bool DecodePng(const std::uint8_t* data, std::size_t size, TRgbaPicture& picture,
               std::string& error, int maxSide = 4096);
