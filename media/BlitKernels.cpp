// The software blitter's inner loops.
#include "media/BlitKernels.h"

#include "media/Blitters.h"

#include <cstring>

void FillPixels(std::uint8_t* dest, int destPitch, int width, int height, int bytesPerPixel,
                std::uint32_t value) {
  if (width <= 0 || height <= 0) return;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
  if (bytesPerPixel == 1) {
    for (int y = 0; y < height; ++y, dest += destPitch)
      std::memset(dest, static_cast<int>(value & 0xFF), rowBytes);
    return;
  }
  // Build the first row pixel by pixel, then copy it down.
  std::uint8_t* first = dest;
  for (int x = 0; x < width; ++x) WritePixel(first + x * bytesPerPixel, bytesPerPixel, value);
  dest += destPitch;
  for (int y = 1; y < height; ++y, dest += destPitch) std::memcpy(dest, first, rowBytes);
}

void CopyPixels(const std::uint8_t* source, int sourcePitch, std::uint8_t* dest, int destPitch,
                int width, int height, int bytesPerPixel) {
  if (width <= 0 || height <= 0) return;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
  for (int y = 0; y < height; ++y, source += sourcePitch, dest += destPitch)
    std::memcpy(dest, source, rowBytes);
}

void CopyPixelsKeyed8Reference(const std::uint8_t* source, int sourcePitch, std::uint8_t* dest,
                               int destPitch, int width, int height, std::uint8_t key) {
  for (int y = 0; y < height; ++y, source += sourcePitch, dest += destPitch)
    for (int x = 0; x < width; ++x)
      if (source[x] != key) dest[x] = source[x];
}

void CopyPixelsKeyed8(const std::uint8_t* source, int sourcePitch, std::uint8_t* dest,
                      int destPitch, int width, int height, std::uint8_t key) {
  KeyedCopy8(dest, destPitch, source, sourcePitch, width, height, key);  // the vector kernel
}

void CopyPixelsKeyed(const std::uint8_t* source, int sourcePitch, std::uint8_t* dest,
                     int destPitch, int width, int height, int bytesPerPixel, std::uint32_t key) {
  for (int y = 0; y < height; ++y, source += sourcePitch, dest += destPitch)
    for (int x = 0; x < width; ++x) {
      std::uint32_t v = ReadPixel(source + x * bytesPerPixel, bytesPerPixel);
      if (v != key) WritePixel(dest + x * bytesPerPixel, bytesPerPixel, v);
    }
}
