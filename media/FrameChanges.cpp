// What changed from one presented 8-bit frame to the next.
#include "media/FrameChanges.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TARNYX_X86 1
#endif

namespace {

// Whether the 16 bytes at a and b differ: one comparison where the machine has 16-byte vectors.
template <bool Vectors>
bool Differ16(const std::uint8_t* a, const std::uint8_t* b) {
#if defined(__wasm_simd128__)
  if constexpr (Vectors)
    return wasm_v128_any_true(wasm_v128_xor(wasm_v128_load(a), wasm_v128_load(b)));
#elif defined(__SSE2__)
  if constexpr (Vectors) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(x, y)) != 0xFFFF;
  }
#endif
  return std::memcmp(a, b, 16) != 0;
}

// Whether the first n bytes at a and b differ. Most rows of a frame are as they were, so this is
// the loop an update spends its time in. In WebAssembly four 16-byte pieces are compared at once
// and the answer taken once per 64 bytes; with SSE2 the answer of each piece is taken at once,
// which measured faster there than gathering four (and than the C library's memcmp).
template <bool Vectors>
bool Differ(const std::uint8_t* a, const std::uint8_t* b, int n) {
  int x = 0;
#if defined(__wasm_simd128__)
  if constexpr (Vectors) {
    v128_t any = wasm_i64x2_splat(0);
    for (; x + 64 <= n; x += 64) {
      const v128_t d0 = wasm_v128_xor(wasm_v128_load(a + x), wasm_v128_load(b + x));
      const v128_t d1 = wasm_v128_xor(wasm_v128_load(a + x + 16), wasm_v128_load(b + x + 16));
      const v128_t d2 = wasm_v128_xor(wasm_v128_load(a + x + 32), wasm_v128_load(b + x + 32));
      const v128_t d3 = wasm_v128_xor(wasm_v128_load(a + x + 48), wasm_v128_load(b + x + 48));
      any = wasm_v128_or(any, wasm_v128_or(wasm_v128_or(d0, d1), wasm_v128_or(d2, d3)));
    }
    if (wasm_v128_any_true(any)) return true;
  }
#endif
  for (; x + 16 <= n; x += 16)
    if (Differ16<Vectors>(a + x, b + x)) return true;
  return x < n && std::memcmp(a + x, b + x, static_cast<std::size_t>(n - x)) != 0;
}

using TDiffer = bool (*)(const std::uint8_t* a, const std::uint8_t* b, int n);

#ifdef TARNYX_X86
// Differ with AVX2: 64 bytes a step, in instructions of the AVX encoding. Besides doing twice as
// much a step, that spares the SSE2 loop a penalty: after code that leaves the upper halves of
// the vector registers in use (the C library's, SDL's), every SSE2 instruction waits on them,
// which measured twice as slow.
__attribute__((target("avx2"))) bool DifferAvx2(const std::uint8_t* a, const std::uint8_t* b,
                                                int n) {
  using V = __m256i;
  int x = 0;
  for (; x + 64 <= n; x += 64) {
    const V a0 = _mm256_loadu_si256(reinterpret_cast<const V*>(a + x));
    const V b0 = _mm256_loadu_si256(reinterpret_cast<const V*>(b + x));
    const V a1 = _mm256_loadu_si256(reinterpret_cast<const V*>(a + x + 32));
    const V b1 = _mm256_loadu_si256(reinterpret_cast<const V*>(b + x + 32));
    const V d = _mm256_or_si256(_mm256_xor_si256(a0, b0), _mm256_xor_si256(a1, b1));
    if (!_mm256_testz_si256(d, d)) return true;
  }
  for (; x + 16 <= n; x += 16) {
    const __m128i d = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x)),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x)));
    if (!_mm_testz_si128(d, d)) return true;
  }
  return x < n && std::memcmp(a + x, b + x, static_cast<std::size_t>(n - x)) != 0;
}
#endif

// The fast comparison this processor runs.
TDiffer FastDiffer() {
#ifdef TARNYX_X86
  static const TDiffer chosen = __builtin_cpu_supports("avx2") ? DifferAvx2 : Differ<true>;
  return chosen;
#else
  return Differ<true>;
#endif
}

}  // namespace

TFrameChanges::TFrameChanges(long areaCost, TCompare compare)
    : FAreaCost(areaCost), FCompare(compare) {}

void TFrameChanges::Clear() {
  FLast.clear();
  FWidth = FHeight = 0;
  FStale = true;
  FAll = false;
  FRuns.clear();
  FAreas.clear();
  FRows = {};
}

void TFrameChanges::Update(const std::uint8_t* pixels, int pitch, int width, int height,
                           const std::uint32_t palette[256]) {
  if (!pixels || !palette || width <= 0 || height <= 0 || pitch < width) {
    Clear();
    return;
  }
  FRuns.clear();
  FAreas.clear();
  FRows = {};
  FAll = FStale || width != FWidth || height != FHeight ||
         std::memcmp(palette, FPalette, sizeof FPalette) != 0;
  FStale = false;
  if (FAll) {
    FLast.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    FWidth = width;
    FHeight = height;
    std::memcpy(FPalette, palette, sizeof FPalette);
    for (int y = 0; y < height; ++y)
      std::memcpy(FLast.data() + static_cast<std::size_t>(y) * width,
                  pixels + static_cast<std::ptrdiff_t>(y) * pitch, static_cast<std::size_t>(width));
    FAreas.push_back({0, 0, width, height});
    FRows = {0, height};
    return;
  }
  if (FCompare == TCompare::Fast) {
    Compare<true>(pixels, pitch, FastDiffer());
  } else if (FCompare == TCompare::Vectors) {
    Compare<true>(pixels, pitch, Differ<true>);
  } else {
    Compare<false>(pixels, pitch, Differ<false>);
  }
}

template <bool Vectors>
void TFrameChanges::Compare(const std::uint8_t* pixels, int pitch, TDiffer differ) {
  const int width = FWidth;
  TRows rows{FHeight, 0};
  for (int y = 0; y < FHeight; ++y) {
    const std::uint8_t* from = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    std::uint8_t* last = FLast.data() + static_cast<std::size_t>(y) * width;
    if (!differ(from, last, width)) continue;
    // Runs of differing 16-pixel pieces are taken over together.
    int left = width, right = 0;  // the row's changed columns
    auto take = [&](int begin, int end) {
      std::memcpy(last + begin, from + begin, static_cast<std::size_t>(end - begin));
      FRuns.push_back({y, begin, end});
      left = std::min(left, begin);
      right = end;
    };
    int start = -1;  // where the run of differing pieces being passed began
    for (int x = 0; x < width; x += 16) {
      // Most of a changed row is still as it was: 64 unchanged pixels are passed at once.
      if (x % 64 == 0 && x + 64 <= width && !differ(from + x, last + x, 64)) {
        if (start >= 0) take(start, x);
        start = -1;
        x += 48;
        continue;
      }
      const int n = std::min(width - x, 16);
      const bool differs = n == 16
                               ? Differ16<Vectors>(from + x, last + x)
                               : std::memcmp(from + x, last + x, static_cast<std::size_t>(n)) != 0;
      if (differs && start < 0) start = x;
      if (!differs && start >= 0) {
        take(start, x);
        start = -1;
      }
    }
    if (start >= 0) take(start, width);
    rows.First = std::min(rows.First, y);
    rows.Last = y + 1;
    Extend(left, right, y);
  }
  if (rows.Last == 0) rows.First = 0;
  FRows = rows;
}

void TFrameChanges::Extend(int left, int right, int y) {
  // The row joins the last area (down to it, across the rows between) where the unchanged pixels
  // that takes in cost less than a put of its own.
  if (!FAreas.empty()) {
    TArea& a = FAreas.back();
    const int x0 = std::min(a.X, left), x1 = std::max(a.X + a.Width, right);
    const long joined = static_cast<long>(x1 - x0) * (y + 1 - a.Y);
    const long apart = static_cast<long>(a.Width) * a.Height + (right - left);
    if (joined - apart <= FAreaCost) {
      a = {x0, a.Y, x1 - x0, y + 1 - a.Y};
      return;
    }
  }
  FAreas.push_back({left, y, right - left, 1});
}
