// PNG output through libpng.
#include "tools/headless/Png.h"

#include <png.h>

#include <cstdio>
#include <vector>

bool WritePalettizedPng(const std::string& file, const std::uint8_t* pixels, int pitch, int width, int height,
                        const std::uint32_t palette[256], std::string& error) {
  if (width <= 0 || height <= 0 || !pixels) {
    error = "no frame was presented";
    return false;
  }
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (!out) {
    error = "cannot write " + file;
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<png_byte> row(std::size_t(width) * 3);
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    // libpng reports its failures by jumping back here.
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    std::fclose(out);
    error = "cannot write " + file;
    return false;
  }
  png_init_io(png, out);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* from = pixels + std::ptrdiff_t(y) * pitch;
    for (int x = 0; x < width; ++x) {
      std::uint32_t c = palette[from[x]];
      row[std::size_t(x) * 3] = png_byte(c >> 16);
      row[std::size_t(x) * 3 + 1] = png_byte(c >> 8);
      row[std::size_t(x) * 3 + 2] = png_byte(c);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(out) != 0) {
    error = "cannot write " + file;
    return false;
  }
  return true;
}
