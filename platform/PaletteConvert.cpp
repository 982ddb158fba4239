// Turning 8-bit palettized rows into 32-bit pixels through a 256-entry lookup table.
#include "platform/PaletteConvert.h"

#include <cstddef>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TARNYX_HAVE_GATHER 1
#endif

namespace {

using Row = void (*)(const std::uint8_t*, std::uint32_t*, int, const std::uint32_t*);

void ReferenceRow(const std::uint8_t* source, std::uint32_t* target, int width,
                  const std::uint32_t* table) {
  for (int x = 0; x < width; ++x) target[x] = table[source[x]];
}

// Eight indices come in one 64-bit load and are taken apart in registers: that halves the loads
// of the plain loop, which is what limits it (one index load and one table load per pixel).
void EightAtATimeRow(const std::uint8_t* source, std::uint32_t* target, int width,
                     const std::uint32_t* table) {
  int x = 0;
  for (; x + 8 <= width; x += 8) {
    std::uint64_t v;
    std::memcpy(&v, source + x, 8);
    target[x + 0] = table[v & 0xFF];
    target[x + 1] = table[(v >> 8) & 0xFF];
    target[x + 2] = table[(v >> 16) & 0xFF];
    target[x + 3] = table[(v >> 24) & 0xFF];
    target[x + 4] = table[(v >> 32) & 0xFF];
    target[x + 5] = table[(v >> 40) & 0xFF];
    target[x + 6] = table[(v >> 48) & 0xFF];
    target[x + 7] = table[v >> 56];
  }
  for (; x < width; ++x) target[x] = table[source[x]];
}

#ifdef TARNYX_HAVE_GATHER
// Where the processor can gather, sixteen pixels take two gathers of eight table entries each and
// two 32-byte stores: no per-pixel index arithmetic and a quarter of the stores.
__attribute__((target("avx2"))) void GatherRow(const std::uint8_t* source,
                                               std::uint32_t* target, int width,
                                               const std::uint32_t* table) {
  const int* entries = reinterpret_cast<const int*>(table);
  int x = 0;
  for (; x + 16 <= width; x += 16) {
    __m128i indices = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + x));
    __m256i low = _mm256_cvtepu8_epi32(indices);
    __m256i high = _mm256_cvtepu8_epi32(_mm_srli_si128(indices, 8));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + x),
                        _mm256_i32gather_epi32(entries, low, 4));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + x + 8),
                        _mm256_i32gather_epi32(entries, high, 4));
  }
  EightAtATimeRow(source + x, target + x, width - x, table);
}
#endif

Row FastestRow() {
#ifdef TARNYX_HAVE_GATHER
  if (__builtin_cpu_supports("avx2")) return GatherRow;
#endif
  return EightAtATimeRow;
}

Row ChosenRow() {
  static const Row row = FastestRow();
  return row;
}

bool Drawable(int sourcePitch, int targetPitch, int width, int height) {
  return width > 0 && height > 0 && sourcePitch >= width && targetPitch % 4 == 0 &&
         static_cast<long long>(targetPitch) >= 4LL * width;
}

void ConvertRows(Row row, const std::uint8_t* source, int sourcePitch, std::uint32_t* target,
                 int targetPitch, int width, int height, const std::uint32_t table[256]) {
  if (!source || !target || !table || !Drawable(sourcePitch, targetPitch, width, height)) return;
  auto* out = reinterpret_cast<std::uint8_t*>(target);
  for (int y = 0; y < height; ++y) {
    row(source + static_cast<std::ptrdiff_t>(y) * sourcePitch,
        reinterpret_cast<std::uint32_t*>(out + static_cast<std::ptrdiff_t>(y) * targetPitch), width,
        table);
  }
}

}  // namespace

void ConvertPalettedFrame(const std::uint8_t* source, int sourcePitch, std::uint32_t* target,
                          int targetPitch, int width, int height, const std::uint32_t table[256]) {
  ConvertRows(ChosenRow(), source, sourcePitch, target, targetPitch, width, height, table);
}

void ConvertPalettedFrameEightAtATime(const std::uint8_t* source, int sourcePitch,
                                      std::uint32_t* target, int targetPitch, int width,
                                      int height, const std::uint32_t table[256]) {
  ConvertRows(EightAtATimeRow, source, sourcePitch, target, targetPitch, width, height, table);
}

void ConvertPalettedFrameReference(const std::uint8_t* source, int sourcePitch,
                                   std::uint32_t* target, int targetPitch, int width, int height,
                                   const std::uint32_t table[256]) {
  ConvertRows(ReferenceRow, source, sourcePitch, target, targetPitch, width, height, table);
}

void ConvertPalettedFrameScaled(const std::uint8_t* source, int sourcePitch, int width, int height,
                                std::uint32_t* target, int targetPitch, int targetWidth,
                                int targetHeight, const std::uint32_t table[256],
                                std::vector<std::uint32_t>& scratch) {
  if (targetWidth == width && targetHeight == height) {
    ConvertPalettedFrame(source, sourcePitch, target, targetPitch, width, height, table);
    return;
  }
  if (!source || !target || !table || width <= 0 || height <= 0 || sourcePitch < width ||
      !Drawable(targetWidth, targetPitch, targetWidth, targetHeight))
    return;
  // At a whole multiple a row is converted once at the frame's width and each pixel repeated;
  // otherwise scratch maps each target column to its frame column.
  const int multiple = targetWidth % width == 0 ? targetWidth / width : 0;
  scratch.resize(static_cast<std::size_t>(multiple ? width : targetWidth));
  if (!multiple) {
    for (int x = 0; x < targetWidth; ++x)
      scratch[x] = static_cast<std::uint32_t>(static_cast<long long>(x) * width / targetWidth);
  }
  const Row convertRow = ChosenRow();
  auto* out = reinterpret_cast<std::uint8_t*>(target);
  const std::uint32_t* previous = nullptr;
  int previousRow = -1;
  for (int y = 0; y < targetHeight; ++y) {
    int row = static_cast<int>(static_cast<long long>(y) * height / targetHeight);
    auto* line =
        reinterpret_cast<std::uint32_t*>(out + static_cast<std::ptrdiff_t>(y) * targetPitch);
    if (row == previousRow) {
      std::memcpy(line, previous, static_cast<std::size_t>(targetWidth) * 4);
      continue;
    }
    const std::uint8_t* in = source + static_cast<std::ptrdiff_t>(row) * sourcePitch;
    if (multiple) {
      convertRow(in, scratch.data(), width, table);
      for (int x = 0; x < width; ++x) {
        for (int k = 0; k < multiple; ++k) line[x * multiple + k] = scratch[x];
      }
    } else {
      for (int x = 0; x < targetWidth; ++x) line[x] = table[in[scratch[x]]];
    }
    previous = line;
    previousRow = row;
  }
}
