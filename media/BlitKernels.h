// The inner loops of the software blitter: rectangle fills and copies, plain and colour-keyed,
// on rows of raw pixels a pitch apart.
#pragma once

#include <cstdint>

// Every kernel works on a width x height block; pitches are in bytes and may be negative.
// Source and destination blocks of one call never overlap.

// Fills each row with one raw pixel value of bytesPerPixel (1 to 4) bytes, little-endian.
void FillPixels(std::uint8_t* dest, int destPitch, int width, int height, int bytesPerPixel,
                std::uint32_t value);

// Copies bytesPerPixel-byte pixels unchanged.
void CopyPixels(const std::uint8_t* source, int sourcePitch, std::uint8_t* dest, int destPitch,
                int width, int height, int bytesPerPixel);

// Copies 8-bit pixels, leaving out every source pixel equal to key. This is the hot path of the
// game's picture drawing; CopyPixelsKeyed8Reference is the plain loop any faster version must
// agree with.
void CopyPixelsKeyed8(const std::uint8_t* source, int sourcePitch, std::uint8_t* dest,
                      int destPitch, int width, int height, std::uint8_t key);
void CopyPixelsKeyed8Reference(const std::uint8_t* source, int sourcePitch, std::uint8_t* dest,
                               int destPitch, int width, int height, std::uint8_t key);

// Copies 16-, 24- or 32-bit pixels, leaving out every source pixel equal to key.
void CopyPixelsKeyed(const std::uint8_t* source, int sourcePitch, std::uint8_t* dest,
                     int destPitch, int width, int height, int bytesPerPixel, std::uint32_t key);

// Reads and writes one raw pixel of bytesPerPixel bytes, little-endian.
inline std::uint32_t ReadPixel(const std::uint8_t* p, int bytesPerPixel) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytesPerPixel; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
  return v;
}
inline void WritePixel(std::uint8_t* p, int bytesPerPixel, std::uint32_t v) {
  for (int i = 0; i < bytesPerPixel; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
