// The block copies: a plain reference loop, and vector compare-and-select kernels for speed.
#include "platform/Blitters.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TARNYX_X86 1
#endif

void KeyedCopy8Reference(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* src,
                         std::ptrdiff_t srcPitch, int width, int height, std::uint8_t key) {
  for (int y = 0; y < height; ++y, dst += dstPitch, src += srcPitch)
    for (int x = 0; x < width; ++x)
      if (src[x] != key) dst[x] = src[x];
}

void Copy8(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* src, std::ptrdiff_t srcPitch, int width,
           int height) {
  if (width <= 0) return;
  for (int y = 0; y < height; ++y, dst += dstPitch, src += srcPitch) std::memcpy(dst, src, std::size_t(width));
}

#ifdef TARNYX_X86

namespace {

// Rows narrower than one vector: plain bytes.
inline void KeyedRowBytes(std::uint8_t* d, const std::uint8_t* s, int n, std::uint8_t key) {
  for (int x = 0; x < n; ++x)
    if (s[x] != key) d[x] = s[x];
}

// An 8-byte block, for rows of 8 to 15 pixels (the radar dots and lights are 11 wide).
inline void KeyedBlock8(std::uint8_t* d, const std::uint8_t* s, __m128i k) {
  const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s));
  const __m128i eq = _mm_cmpeq_epi8(v, k);
  const int mask = _mm_movemask_epi8(eq) & 0xFF;
  if (mask == 0xFF) return;
  const __m128i old = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(d), _mm_or_si128(_mm_and_si128(eq, old), _mm_andnot_si128(eq, v)));
}

// A row of fewer than 16 pixels.
inline void KeyedRowShort(std::uint8_t* d, const std::uint8_t* s, int n, std::uint8_t key, __m128i k) {
  if (n < 8) {
    KeyedRowBytes(d, s, n, key);
  } else {
    KeyedBlock8(d, s, k);
    KeyedBlock8(d + n - 8, s + n - 8, k);
  }
}

// One 16-byte block: nothing to do when all of it is key, a plain store when none of it is,
// otherwise select between source and destination by the comparison mask.
inline void KeyedBlock16(std::uint8_t* d, const std::uint8_t* s, __m128i k) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i eq = _mm_cmpeq_epi8(v, k);
  const int mask = _mm_movemask_epi8(eq);
  if (mask == 0xFFFF) return;
  if (mask == 0) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), v);
    return;
  }
  const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_or_si128(_mm_and_si128(eq, old), _mm_andnot_si128(eq, v)));
}

// Each row in whole blocks; the row's last block is taken flush with its end, overlapping the one
// before it. That is safe because selecting twice gives the same bytes as selecting once.
void KeyedCopySSE2(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* src, std::ptrdiff_t srcPitch,
                   int width, int height, std::uint8_t key) {
  const __m128i k = _mm_set1_epi8(char(key));
  for (int y = 0; y < height; ++y, dst += dstPitch, src += srcPitch) {
    if (width < 16) {
      KeyedRowShort(dst, src, width, key, k);
      continue;
    }
    int x = 0;
    for (; x + 16 <= width; x += 16) KeyedBlock16(dst + x, src + x, k);
    if (x < width) KeyedBlock16(dst + width - 16, src + width - 16, k);
  }
}

__attribute__((target("avx2"))) inline void KeyedBlock32(std::uint8_t* d, const std::uint8_t* s, __m256i k) {
  const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
  const __m256i eq = _mm256_cmpeq_epi8(v, k);
  const unsigned mask = unsigned(_mm256_movemask_epi8(eq));
  if (mask == 0xFFFFFFFFu) return;
  if (mask == 0) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), v);
    return;
  }
  const __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), _mm256_blendv_epi8(v, old, eq));
}

__attribute__((target("avx2"))) void KeyedCopyAVX2(std::uint8_t* dst, std::ptrdiff_t dstPitch,
                                                    const std::uint8_t* src, std::ptrdiff_t srcPitch, int width,
                                                    int height, std::uint8_t key) {
  const __m256i k = _mm256_set1_epi8(char(key));
  const __m128i k16 = _mm_set1_epi8(char(key));
  for (int y = 0; y < height; ++y, dst += dstPitch, src += srcPitch) {
    if (width < 32) {
      if (width < 16) {
        KeyedRowShort(dst, src, width, key, k16);
      } else {
        KeyedBlock16(dst, src, k16);
        KeyedBlock16(dst + width - 16, src + width - 16, k16);
      }
      continue;
    }
    int x = 0;
    for (; x + 32 <= width; x += 32) KeyedBlock32(dst + x, src + x, k);
    if (x < width) KeyedBlock32(dst + width - 32, src + width - 32, k);
  }
}

bool HasAVX2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

bool AVX2Allowed = true;

}  // namespace

bool KeyedCopyUsesAVX2() { return AVX2Allowed && HasAVX2(); }
void SetKeyedCopyAVX2Allowed(bool allowed) { AVX2Allowed = allowed; }

void KeyedCopy8(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* src, std::ptrdiff_t srcPitch,
                int width, int height, std::uint8_t key) {
  if (width <= 0 || height <= 0) return;
  if (KeyedCopyUsesAVX2())
    KeyedCopyAVX2(dst, dstPitch, src, srcPitch, width, height, key);
  else
    KeyedCopySSE2(dst, dstPitch, src, srcPitch, width, height, key);
}

#else

bool KeyedCopyUsesAVX2() { return false; }
void SetKeyedCopyAVX2Allowed(bool) {}

void KeyedCopy8(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* src, std::ptrdiff_t srcPitch,
                int width, int height, std::uint8_t key) {
  KeyedCopy8Reference(dst, dstPitch, src, srcPitch, width, height, key);
}

#endif
