// TDIB, the device-independent bitmap every stored picture is, and the errors of reading one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/Exception.h"

// A picture's data does not follow the bitmap format (short, malformed or absurdly large).
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

// A well-formed bitmap whose depth or channel layout this reader does not take.
class EInvalidGraphicOperation : public Exception {
 public:
  using Exception::Exception;
};

// One entry of a bitmap's colour table, in the file's byte order.
struct TRGBQuad {
  std::uint8_t rgbBlue = 0, rgbGreen = 0, rgbRed = 0, rgbReserved = 0;
  friend bool operator==(const TRGBQuad&, const TRGBQuad&) = default;
};

// A device-independent bitmap as read from a stored picture: its size, depth, 256-entry colour
// table and pixel rows. Rows are always held bottom row first (row 0 of the memory is the bottom
// of the picture), each padded to Stride bytes, whatever order the data stored them in.
// Run-length encoded data is kept as read and expanded the first time pixels are asked for.
class TDIB {
 public:
  // Largest picture the reader accepts: a side and the pixel memory. Anything bigger is taken
  // for corrupt data rather than allocated. Run-length data is held to the pixel memory limit
  // too, so no picture the reader takes is longer than a header and that limit.
  static constexpr int MaxSide = 16384;
  static constexpr std::size_t MaxPixelBytes = 64u << 20;
  // The longest part of the data before the pixels: an information header, three channel masks
  // and a full colour table.
  static constexpr std::size_t MaxHeaderBytes = 40 + 12 + 256 * 4;

  // Reads the bitmap data (header, masks, colour table, pixels; no 14-byte file header).
  // No bytes at all give an empty picture. Throws EInvalidGraphic or EInvalidGraphicOperation.
  // maxPixelBytes lowers the memory limit (the fuzz target keeps its pictures small with it).
  void LoadFromData(const std::uint8_t* data, std::size_t size, std::size_t maxPixelBytes = MaxPixelBytes);

  // How many bytes the data starting with these occupies (header, masks, colour table, pixels),
  // judged from the part before the pixels alone (the first MaxHeaderBytes are always enough),
  // so that a file can be judged before more of it is read. Throws as LoadFromData does when that part is
  // already refused; no bytes at all take none.
  static std::size_t DataSize(const std::uint8_t* data, std::size_t size);

  bool Empty() const { return Width == 0 || Height == 0; }

  int Width = 0;
  int Height = 0;          // always positive once read
  int BitCount = 0;        // 1, 4, 8, 16, 24 or 32
  int Stride = 0;          // bytes per row, a multiple of 4
  int Compression = 0;     // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
  int ColorCount = 0;      // colour-table entries read from the data
  bool TopDown = false;    // the data stored the top row first (negative height)
  std::uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0;
  TRGBQuad ColorTable[256] = {};

  // The pixel rows, bottom row first (expanding run-length data on first use).
  const std::vector<std::uint8_t>& Bits() const;
  // Row y counted from the top of the picture.
  const std::uint8_t* ScanLine(int y) const { return Bits().data() + std::size_t(Height - 1 - y) * Stride; }
  // The colour of pixel (x, y), y from the top, as 0x00RRGGBB.
  std::uint32_t PixelColor(int x, int y) const;

  // Run-length data as read (empty unless Compression is 1 or 2).
  const std::vector<std::uint8_t>& CompressedBits() const { return Compressed; }

 private:
  void Expand() const;

  std::vector<std::uint8_t> Compressed;
  mutable std::vector<std::uint8_t> Pixels;
  mutable bool Expanded = false;
};

// Stride of a row: bits x width rounded up to whole 32-bit words.
inline int DIBStride(int bitCount, int width) { return int((std::int64_t(bitCount) * width + 31) / 32 * 4); }

// Expands run-length data into bottom-first rows of the given size; runs that pass the end of
// a row are cut there and data that passes the last row is ignored.
void ExpandRLE8(const std::uint8_t* data, std::size_t size, std::uint8_t* bits, int width, int height, int stride);
void ExpandRLE4(const std::uint8_t* data, std::size_t size, std::uint8_t* bits, int width, int height, int stride);
