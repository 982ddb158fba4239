// The frame as a canvas takes it, converted only where it changed.
#include "platform/web/CanvasFrame.h"

#include <cstring>

#include "platform/PaletteConvert.h"

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

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
  if (all) {
    for (int y = 0; y < height; ++y)
      std::memcpy(Last_.data() + static_cast<std::size_t>(y) * width,
                  source + static_cast<std::ptrdiff_t>(y) * pitch, static_cast<std::size_t>(width));
    ConvertPalettedFrame(source, pitch, Pixels_.data(), width * 4, width, height, table);
    return {0, height};
  }
  TRows rows{height, 0};
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* from = source + static_cast<std::ptrdiff_t>(y) * pitch;
    std::uint8_t* last = Last_.data() + static_cast<std::size_t>(y) * width;
    std::uint32_t* to = Pixels_.data() + static_cast<std::size_t>(y) * width;
    // Runs of differing 16-pixel pieces (the row's last piece may be shorter) are taken over and
    // converted together.
    bool changed = false;
    auto take = [&](int begin, int end) {
      std::memcpy(last + begin, from + begin, static_cast<std::size_t>(end - begin));
      ConvertPalettedFrame(from + begin, width, to + begin, width * 4, end - begin, 1, table);
      changed = true;
    };
    int start = -1;  // where the run of differing pieces being passed began
    for (int x = 0; x < width; x += 16) {
      const int n = width - x < 16 ? width - x : 16;
      const bool differs = n == 16 ? Differ16(from + x, last + x)
                                   : std::memcmp(from + x, last + x, static_cast<std::size_t>(n)) != 0;
      if (differs && start < 0) start = x;
      if (!differs && start >= 0) {
        take(start, x);
        start = -1;
      }
    }
    if (start >= 0) take(start, width);
    if (changed) {
      if (y < rows.First) rows.First = y;
      rows.Last = y + 1;
    }
  }
  if (rows.Last == 0) rows.First = 0;
  return rows;
}
