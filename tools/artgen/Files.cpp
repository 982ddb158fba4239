// Writing the generator's files: 4- and 8-bit bitmaps and PNG images.
#include "Files.h"

#include <png.h>

#include <cstdio>
#include <stdexcept>

namespace art {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xffff);
  Put16(out, v >> 16);
}

}  // namespace

void WriteBmp(const std::string& path, int width, int height, int bits, const std::vector<Rgb8>& table,
              const std::vector<std::uint8_t>& indices) {
  const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
  const std::uint32_t stride = ((static_cast<std::uint32_t>(bits) * w + 31) / 32) * 4;
  const auto colours = static_cast<std::uint32_t>(table.size());
  const std::uint32_t offset = 14 + 40 + 4 * colours;
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + stride * h);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, w);
  Put32(out, h);  // positive: rows bottom first
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(bits));
  Put32(out, 0);  // no compression
  Put32(out, stride * h);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (const auto& c : table) {
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
  for (std::uint32_t row = 0; row < h; ++row) {
    const std::uint32_t y = h - 1 - row;
    std::vector<std::uint8_t> line(stride, 0);
    for (std::uint32_t x = 0; x < w; ++x) {
      const std::uint8_t v = indices[y * w + x];
      if (bits == 8) {
        line[x] = v;
      } else {
        line[x / 2] |= static_cast<std::uint8_t>((x % 2 == 0) ? (v << 4) : (v & 15));
      }
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  std::fclose(f);
  if (!ok) throw std::runtime_error("cannot write " + path);
}

void WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    throw std::runtime_error("cannot encode " + path);
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
    png_write_row(png, rgba.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
}

}  // namespace art
