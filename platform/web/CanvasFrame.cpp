// The frame as a canvas takes it, converted only where it changed.
#include "platform/web/CanvasFrame.h"

#include <bit>
#include <cstring>

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

// Pixels are taken apart from 64-bit loads, the first in the lowest byte.
static_assert(std::endian::native == std::endian::little);

namespace {

// Whether the 16 bytes at a and b differ: one comparison where the machine has 16-byte vectors.
bool Differ16(const std::uint8_t* a, const std::uint8_t* b) {
#if defined(__wasm_simd128__)
  return wasm_v128_any_true(wasm_v128_xor(wasm_v128_load(a), wasm_v128_load(b)));
#elif defined(__SSE2__)
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
  const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
  return _mm_movemask_epi8(_mm_cmpeq_epi8(x, y)) != 0xFFFF;
#else
  return std::memcmp(a, b, 16) != 0;
#endif
}

// Eight pixels through the table.
void Convert8(const std::uint8_t* from, std::uint32_t* to, const std::uint32_t* table) {
  std::uint64_t v;
  std::memcpy(&v, from, 8);
  for (int i = 0; i < 8; ++i) to[i] = table[(v >> (8 * i)) & 0xFF];
}

}  // namespace

TCanvasFrame::TRows TCanvasFrame::Update(const std::uint8_t* source, int pitch, int width,
                                         int height, const std::uint32_t table[256]) {
  if (!source || !table || width <= 0 || height <= 0 || pitch < width) {
    Last_.clear();
    Pixels_.clear();
    Width_ = Height_ = 0;
    return {};
  }
  const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  bool all = width != Width_ || height != Height_ || std::memcmp(table, Table_, sizeof Table_) != 0;
  if (all) {
    Last_.assign(size, 0);
    Pixels_.assign(size, 0);
    Width_ = width;
    Height_ = height;
    std::memcpy(Table_, table, sizeof Table_);
  }
  TRows rows{height, 0};
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* from = source + static_cast<std::ptrdiff_t>(y) * pitch;
    std::uint8_t* last = Last_.data() + static_cast<std::size_t>(y) * width;
    std::uint32_t* to = Pixels_.data() + static_cast<std::size_t>(y) * width;
    bool changed = false;
    int x = 0;
    for (; x + 16 <= width; x += 16) {
      if (!all && !Differ16(from + x, last + x)) continue;
      std::memcpy(last + x, from + x, 16);
      Convert8(from + x, to + x, table);
      Convert8(from + x + 8, to + x + 8, table);
      changed = true;
    }
    for (; x < width; ++x) {
      if (from[x] == last[x] && !all) continue;
      last[x] = from[x];
      to[x] = table[from[x]];
      changed = true;
    }
    if (changed) {
      if (y < rows.First) rows.First = y;
      rows.Last = y + 1;
    }
  }
  if (rows.Last == 0) rows.First = 0;
  return rows;
}
