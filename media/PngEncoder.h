// A PNG writer that needs no compression library, for builds without libpng (the browser's).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The whole file of an 8-bit RGB PNG of width x height palette indices (rows pitch bytes apart)
// seen through palette (entries 0x00RRGGBB): the same picture WritePalettizedPng writes, with
// the image data in stored deflate blocks (no compression: a 1024x768 frame takes 2.3 MB).
// Empty for a null pointer, a size that is not positive, a pitch shorter than a row or a picture
// whose file would not fit in memory.
std::vector<std::uint8_t> EncodeUncompressedPng(const std::uint8_t* pixels, int pitch, int width,
                                                int height, const std::uint32_t palette[256]);

// The checksums the format uses, each continued from the value of the bytes before (the
// starting value for none: 0 for Crc32, 1 for Adler32).
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size, std::uint32_t adler = 1);
