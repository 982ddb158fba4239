// Reading a device-independent bitmap from stored bytes, and expanding its run-length data.
#include "display/DIB.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const DIBInvalid = "DIB is invalid";

// A cursor over the picture's bytes that refuses to read past their end.
class TByteReader {
 public:
  TByteReader(const std::uint8_t* data, std::size_t size) : Data(data), Size(size) {}

  std::size_t Left() const { return Size - Pos; }
  std::size_t Position() const { return Pos; }

  void Read(void* to, std::size_t n) {
    if (n > Left()) throw EInvalidGraphic(DIBInvalid);
    if (n) std::memcpy(to, Data + Pos, n);
    Pos += n;
  }
  std::uint32_t U32() {
    std::uint8_t b[4];
    Read(b, 4);
    return b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t(b[3]) << 24;
  }
  std::uint16_t U16() {
    std::uint8_t b[2];
    Read(b, 2);
    return std::uint16_t(b[0] | b[1] << 8);
  }

 private:
  const std::uint8_t* Data;
  std::size_t Size;
  std::size_t Pos = 0;
};

bool IsLayout(const TDIB& d, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return d.RedMask == r && d.GreenMask == g && d.BlueMask == b;
}

// Widens a channel of a 16-bit pixel to 8 bits, repeating its top bits in the low ones.
std::uint32_t Channel(std::uint32_t v, std::uint32_t mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!(mask & 1)) mask >>= 1, ++shift;
  int bits = 0;
  while (mask & 1) mask >>= 1, ++bits;
  std::uint32_t c = (v >> shift) & ((1u << bits) - 1);
  if (bits >= 8) return c >> (bits - 8);
  std::uint32_t wide = c << (8 - bits);
  for (int filled = bits; filled < 8; filled += bits) wide |= (c << (8 - bits)) >> filled;
  return wide & 0xFF;
}

// Reads everything before the pixels into d (header, channel layout, colour table) and judges the
// picture's shape; returns how many bytes of pixel data follow, which may be more than are left.
std::size_t ReadHeader(TDIB& d, TByteReader& in, std::size_t maxPixelBytes) {
  // 1-2. The header: information (40 bytes) or core (12 bytes).
  const std::uint32_t headerSize = in.U32();
  std::int64_t width, height;
  std::uint32_t colorsUsed = 0, imageSize = 0;
  bool core = false;
  if (headerSize == 40) {
    width = std::int32_t(in.U32());
    height = std::int32_t(in.U32());
    in.U16();  // planes
    d.BitCount = in.U16();
    d.Compression = int(std::min<std::uint32_t>(in.U32(), 0x7FFFFFFF));
    imageSize = in.U32();
    in.U32();  // resolutions
    in.U32();
    colorsUsed = in.U32();
    in.U32();  // important colours
  } else if (headerSize == 12) {
    core = true;
    width = in.U16();
    height = in.U16();
    in.U16();  // planes
    d.BitCount = in.U16();
  } else {
    throw EInvalidGraphic(DIBInvalid);
  }

  // 3. Channel layout.
  if (d.Compression == 3) {
    d.RedMask = in.U32();
    d.GreenMask = in.U32();
    d.BlueMask = in.U32();
  } else if (d.BitCount == 16) {
    d.RedMask = 0x7C00, d.GreenMask = 0x3E0, d.BlueMask = 0x1F;
  } else {
    d.RedMask = 0xFF0000, d.GreenMask = 0xFF00, d.BlueMask = 0xFF;
  }

  // 4. Colour table. A count beyond the 256 entries the table holds would leave the rest of the
  // table to be read as pixels, so it is refused rather than cut.
  std::uint32_t c = colorsUsed;
  if (c == 0 && d.BitCount <= 8) c = 1u << d.BitCount;
  if (c > 256) throw EInvalidGraphic(DIBInvalid);
  d.ColorCount = int(c);
  for (std::uint32_t i = 0; i < c; ++i) {
    std::uint8_t e[4] = {};
    in.Read(e, core ? 3 : 4);
    d.ColorTable[i] = {e[0], e[1], e[2], 0};
  }

  // 5. Depth and layout.
  switch (d.BitCount) {
    case 1: case 4: case 8: case 24: case 32:
      if (!IsLayout(d, 0xFF0000, 0xFF00, 0xFF))
        throw EInvalidGraphicOperation("PixelFormat in invalid");
      break;
    case 16:
      if (!IsLayout(d, 0x7C00, 0x3E0, 0x1F) && !IsLayout(d, 0xF800, 0x7E0, 0x1F))
        throw EInvalidGraphicOperation("PixelFormat in invalid");
      break;
    default:
      throw EInvalidGraphicOperation("Bitcount in invalid (" + std::to_string(d.BitCount) + ")");
  }

  // 6. The bitmap's shape. Sizes that cannot be real are refused before anything is allocated.
  d.TopDown = height < 0;
  if (d.TopDown) height = -height;
  if (width <= 0 || height <= 0 || width > TDIB::MaxSide || height > TDIB::MaxSide)
    throw EInvalidGraphic(DIBInvalid);
  d.Width = int(width);
  d.Height = int(height);
  d.Stride = DIBStride(d.BitCount, d.Width);
  const std::size_t bytes = std::size_t(d.Stride) * std::size_t(d.Height);
  if (bytes > maxPixelBytes) throw EInvalidGraphic(DIBInvalid);

  // 7. How the pixels are stored.
  if (d.Compression == 0 || d.Compression == 3) return bytes;
  // Run-length codes only exist for their own depth; any other pairing would expand into rows of
  // the wrong size.
  if (!(d.Compression == 1 && d.BitCount == 8) && !(d.Compression == 2 && d.BitCount == 4))
    throw EInvalidGraphic(DIBInvalid);
  if (imageSize > maxPixelBytes) throw EInvalidGraphic(DIBInvalid);
  return imageSize;
}

}  // namespace

void TDIB::LoadFromData(const std::uint8_t* data, std::size_t size, std::size_t maxPixelBytes) {
  *this = TDIB();
  if (size == 0) return;  // an empty picture
  TByteReader in(data, size);
  const std::size_t bytes = ReadHeader(*this, in, maxPixelBytes);
  if (bytes > in.Left()) throw EInvalidGraphic(DIBInvalid);
  if (Compression == 0 || Compression == 3) {
    Pixels.resize(bytes);
    if (!TopDown) {
      in.Read(Pixels.data(), bytes);
    } else {
      for (int row = Height - 1; row >= 0; --row) in.Read(Pixels.data() + std::size_t(row) * Stride, Stride);
    }
    Expanded = true;
  } else {
    Compressed.resize(bytes);
    in.Read(Compressed.data(), bytes);
  }
}

std::size_t TDIB::DataSize(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  TDIB header;
  TByteReader in(data, size);
  const std::size_t pixels = ReadHeader(header, in, MaxPixelBytes);
  return in.Position() + pixels;
}

const std::vector<std::uint8_t>& TDIB::Bits() const {
  if (!Expanded) Expand();
  return Pixels;
}

void TDIB::Expand() const {
  Pixels.assign(std::size_t(Stride) * Height, 0);
  if (Compression == 1)
    ExpandRLE8(Compressed.data(), Compressed.size(), Pixels.data(), Width, Height, Stride);
  else if (Compression == 2)
    ExpandRLE4(Compressed.data(), Compressed.size(), Pixels.data(), Width, Height, Stride);
  // Run-length rows run bottom up in the stored order; a top-down picture's first row is its top.
  if (TopDown && Compression != 0 && Compression != 3) {
    for (int a = 0, b = Height - 1; a < b; ++a, --b)
      std::swap_ranges(Pixels.begin() + std::ptrdiff_t(a) * Stride, Pixels.begin() + std::ptrdiff_t(a + 1) * Stride,
                       Pixels.begin() + std::ptrdiff_t(b) * Stride);
  }
  Expanded = true;
}

std::uint32_t TDIB::PixelColor(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width || y >= Height) return 0;
  const std::uint8_t* row = ScanLine(y);
  auto entry = [&](unsigned i) {
    const TRGBQuad& q = ColorTable[i & 0xFF];
    return std::uint32_t(q.rgbRed) << 16 | std::uint32_t(q.rgbGreen) << 8 | q.rgbBlue;
  };
  switch (BitCount) {
    case 1: return entry((row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4: return entry((x & 1) ? row[x >> 1] & 0xF : row[x >> 1] >> 4);
    case 8: return entry(row[x]);
    case 16: {
      std::uint32_t v = row[2 * x] | row[2 * x + 1] << 8;
      return Channel(v, RedMask) << 16 | Channel(v, GreenMask) << 8 | Channel(v, BlueMask);
    }
    case 24: return std::uint32_t(row[3 * x + 2]) << 16 | row[3 * x + 1] << 8 | row[3 * x];
    case 32: return std::uint32_t(row[4 * x + 2]) << 16 | row[4 * x + 1] << 8 | row[4 * x];
  }
  return 0;
}

// The run-length codes of the bitmap format: a pair (n > 0, v) repeats v n times; (0, 0) ends the
// row, (0, 1) ends the picture, (0, 2, dx, dy) moves the pen, (0, n >= 3) is followed by n
// literal pixels padded to a 16-bit boundary. The two depths differ only in how a pixel is
// stored, so one walker serves both.
namespace {

template <class Put>
void WalkRLE(const std::uint8_t* data, std::size_t size, int width, int height, bool fourBit, Put put) {
  std::size_t p = 0;
  int x = 0, y = 0;
  while (p + 2 <= size && y < height) {
    const int n = data[p], v = data[p + 1];
    p += 2;
    if (n > 0) {
      for (int i = 0; i < n && x < width; ++i, ++x)
        put(x, y, fourBit ? ((i & 1) ? v & 0xF : v >> 4) : v);
      continue;
    }
    if (v == 0) {
      x = 0, ++y;
    } else if (v == 1) {
      return;
    } else if (v == 2) {
      if (p + 2 > size) return;
      x += data[p];
      y += data[p + 1];
      p += 2;
      if (x > width) x = width;  // a pen beyond the row's end draws nothing until the next row
    } else {
      const std::size_t bytes = fourBit ? (std::size_t(v) + 1) / 2 : std::size_t(v);
      const std::size_t padded = (bytes + 1) & ~std::size_t(1);
      for (int i = 0; i < v; ++i) {
        const std::size_t at = p + (fourBit ? std::size_t(i) / 2 : std::size_t(i));
        if (at >= size) return;
        const int pixel = fourBit ? ((i & 1) ? data[at] & 0xF : data[at] >> 4) : data[at];
        if (x < width) put(x++, y, pixel);
      }
      p += padded;
    }
  }
}

}  // namespace

void ExpandRLE8(const std::uint8_t* data, std::size_t size, std::uint8_t* bits, int width, int height, int stride) {
  WalkRLE(data, size, width, height, false,
          [&](int x, int y, int v) { bits[std::size_t(y) * stride + x] = std::uint8_t(v); });
}

void ExpandRLE4(const std::uint8_t* data, std::size_t size, std::uint8_t* bits, int width, int height, int stride) {
  WalkRLE(data, size, width, height, true, [&](int x, int y, int v) {
    std::uint8_t& b = bits[std::size_t(y) * stride + x / 2];
    b = (x & 1) ? std::uint8_t((b & 0xF0) | v) : std::uint8_t((b & 0x0F) | v << 4);
  });
}
