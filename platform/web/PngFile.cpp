// The browser build's PNG files, written without libpng (see PngEncoder.h).
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Png.h"
#include "platform/PngEncoder.h"

bool WritePalettizedPng(const std::string& file, const std::uint8_t* pixels, int pitch, int width,
                        int height, const std::uint32_t palette[256], std::string& error) {
  if (!pixels || !palette || width <= 0 || height <= 0 || pitch < width) {
    error = "no frame to write";
    return false;
  }
  std::vector<std::uint8_t> bytes = EncodeUncompressedPng(pixels, pitch, width, height, palette);
  if (bytes.empty()) {
    error = "cannot write " + file + ": the picture is too large";
    return false;
  }
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (!out) {
    error = "cannot write " + file + ": " + std::strerror(errno);
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  ok = std::fclose(out) == 0 && ok;
  if (!ok) {
    std::remove(file.c_str());
    error = "cannot write " + file;
  }
  return ok;
}
