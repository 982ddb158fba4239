// The browser build's PNG files, written without libpng (see PngEncoder.h).
#include <vector>

#include "system/FileReplacement.h"
#include "media/Png.h"
#include "media/PngEncoder.h"

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
  // Whole or not at all, as the desktop's files are written.
  TFileReplacement out(file);
  if (!out.Write(bytes.data(), bytes.size()) || !out.Commit()) {
    error = out.Error();
    return false;
  }
  return true;
}
