// A PNG writer without a compression library: stored deflate blocks, CRC-32 and Adler-32.
#include "media/PngEncoder.h"

#include <array>

namespace {

// Larger pictures are refused: their file would not be worth making without compression.
constexpr std::uint64_t kLargestImageData = 1u << 28;
// A stored deflate block holds at most this many bytes.
constexpr std::size_t kLargestStoredBlock = 65535;

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(std::uint8_t(v >> 24));
  out.push_back(std::uint8_t(v >> 16));
  out.push_back(std::uint8_t(v >> 8));
  out.push_back(std::uint8_t(v));
}

// Appends a chunk: its length, type, data and the CRC of type and data.
void PutChunk(std::vector<std::uint8_t>& out, const char type[4], const std::uint8_t* data,
              std::size_t size) {
  PutBigEndian(out, std::uint32_t(size));
  std::size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  if (size) out.insert(out.end(), data, data + size);
  PutBigEndian(out, Crc32(out.data() + typeAt, 4 + size));
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
  const auto& table = CrcTable();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::uint32_t Adler32(const std::uint8_t* data, std::size_t size, std::uint32_t adler) {
  constexpr std::uint32_t mod = 65521;
  // 5552 bytes is the most that can be summed before the sums may pass 32 bits.
  std::uint32_t a = adler & 0xFFFF, b = adler >> 16;
  while (size > 0) {
    std::size_t n = size < 5552 ? size : 5552;
    size -= n;
    while (n--) {
      a += *data++;
      b += a;
    }
    a %= mod;
    b %= mod;
  }
  return (b << 16) | a;
}

std::vector<std::uint8_t> EncodeUncompressedPng(const std::uint8_t* pixels, int pitch, int width,
                                                int height, const std::uint32_t palette[256]) {
  if (!pixels || !palette || width <= 0 || height <= 0 || pitch < width) return {};
  const std::uint64_t rowBytes = 1 + 3 * std::uint64_t(width);  // the filter byte, then RGB
  const std::uint64_t imageBytes = rowBytes * std::uint64_t(height);
  if (imageBytes > kLargestImageData) return {};

  // The scan lines, each with filter type 0 (none).
  std::vector<std::uint8_t> image(static_cast<std::size_t>(imageBytes));
  std::uint8_t* to = image.data();
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* from = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    *to++ = 0;
    for (int x = 0; x < width; ++x) {
      std::uint32_t c = palette[from[x]];
      *to++ = std::uint8_t(c >> 16);
      *to++ = std::uint8_t(c >> 8);
      *to++ = std::uint8_t(c);
    }
  }

  // The zlib stream: its header (deflate, 32 KB window, no preset dictionary, check bits making
  // the pair a multiple of 31), the stored blocks, the Adler-32 of the uncompressed bytes.
  std::vector<std::uint8_t> zlib;
  const std::size_t blocks = (image.size() + kLargestStoredBlock - 1) / kLargestStoredBlock;
  zlib.reserve(2 + image.size() + 5 * blocks + 4);
  zlib.push_back(0x78);
  zlib.push_back(0x01);
  for (std::size_t at = 0; at < image.size(); at += kLargestStoredBlock) {
    std::size_t n = image.size() - at < kLargestStoredBlock ? image.size() - at : kLargestStoredBlock;
    bool last = at + n == image.size();
    zlib.push_back(last ? 1 : 0);  // BFINAL, and BTYPE 00: stored
    zlib.push_back(std::uint8_t(n));
    zlib.push_back(std::uint8_t(n >> 8));
    zlib.push_back(std::uint8_t(~n));
    zlib.push_back(std::uint8_t(~n >> 8));
    zlib.insert(zlib.end(), image.begin() + std::ptrdiff_t(at), image.begin() + std::ptrdiff_t(at + n));
  }
  PutBigEndian(zlib, Adler32(image.data(), image.size()));

  std::vector<std::uint8_t> file;
  file.reserve(8 + 25 + 12 + zlib.size() + 12);
  static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  file.insert(file.end(), signature, signature + 8);
  std::vector<std::uint8_t> header;
  PutBigEndian(header, std::uint32_t(width));
  PutBigEndian(header, std::uint32_t(height));
  // 8 bits a sample, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
  header.insert(header.end(), {8, 2, 0, 0, 0});
  PutChunk(file, "IHDR", header.data(), header.size());
  PutChunk(file, "IDAT", zlib.data(), zlib.size());
  PutChunk(file, "IEND", nullptr, 0);
  return file;
}
