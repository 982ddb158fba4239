// Writing a palettized frame as a PNG picture.
#pragma once

#include <cstdint>
#include <string>

// Writes width x height 8-bit pixels (rows a pitch apart) through the palette (0x00RRGGBB) as an
// RGB PNG. Returns false with the reason in error.
bool WritePalettizedPng(const std::string& file, const std::uint8_t* pixels, int pitch, int width, int height,
                        const std::uint32_t palette[256], std::string& error);
