// The block copies: a plain reference loop, and vector compare-and-select kernels for speed.
#include "media/Blitters.h"

#include <cstring>

// The vector paths need SSE2 (always there on x86-64) and pick AVX2 and wider at run time; any other
// machine (arm64) takes the plain loops, which the tests hold the vector paths to.
#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
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

// Rows of 8 to 15 pixels (the radar dots and lights are 11 wide): two 8-byte blocks, flush with
// each end, both selected before either is stored.
inline void KeyedRowShort(std::uint8_t* d, const std::uint8_t* s, int n, std::uint8_t key, __m128i k) {
  if (n < 8) {
    KeyedRowBytes(d, s, n, key);
    return;
  }
  auto selected = [&](int at) {
    const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + at));
    const __m128i eq = _mm_cmpeq_epi8(v, k);
    const __m128i old = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d + at));
    return _mm_or_si128(_mm_and_si128(eq, old), _mm_andnot_si128(eq, v));
  };
  const __m128i first = selected(0), last = selected(n - 8);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(d), first);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(d + n - 8), last);
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

// The selection of a block computed from what is there now, to be stored later.
inline __m128i Selected16(const std::uint8_t* d, const std::uint8_t* s, __m128i k) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const __m128i eq = _mm_cmpeq_epi8(v, k);
  const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
  return _mm_or_si128(_mm_and_si128(eq, old), _mm_andnot_si128(eq, v));
}

// Rows of 16 to 31 pixels (most pictures of things on a planet, the ship): two blocks flush with
// each end, both selected before either is stored, without a branch on what they hold.
inline void KeyedRow16To31(std::uint8_t* d, const std::uint8_t* s, int n, __m128i k) {
  const __m128i first = Selected16(d, s, k), last = Selected16(d + n - 16, s + n - 16, k);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), first);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d + n - 16), last);
}

// Each row in whole blocks; a row that does not end on a block boundary ends with one block
// taken flush with its end, overlapping the one before it. Selecting twice gives the same bytes
// as selecting once, so the overlap is harmless; but that last block is read before anything of
// the row is stored, because reading bytes just stored by a different-sized store stalls the
// processor for longer than the whole row takes.
void KeyedCopySSE2(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* src, std::ptrdiff_t srcPitch,
                   int width, int height, std::uint8_t key) {
  const __m128i k = _mm_set1_epi8(char(key));
  for (int y = 0; y < height; ++y, dst += dstPitch, src += srcPitch) {
    if (width < 32) {
      if (width < 16)
        KeyedRowShort(dst, src, width, key, k);
      else
        KeyedRow16To31(dst, src, width, k);
      continue;
    }
    const bool ragged = width % 16 != 0;
    const __m128i tail = ragged ? Selected16(dst + width - 16, src + width - 16, k) : __m128i();
    for (int x = 0; x + 16 <= width; x += 16) KeyedBlock16(dst + x, src + x, k);
    if (ragged) _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + width - 16), tail);
  }
}

__attribute__((target("avx2"))) inline bool AllKey32(const std::uint8_t* s, __m256i k) {
  const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
  return unsigned(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, k))) == 0xFFFFFFFFu;
}

__attribute__((target("avx2"))) inline void OpaqueOrMixed32(std::uint8_t* d, const std::uint8_t* s, __m256i k) {
  const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
  const __m256i eq = _mm256_cmpeq_epi8(v, k);
  if (_mm256_testz_si256(eq, eq)) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), v);
    return;
  }
  const __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), _mm256_blendv_epi8(v, old, eq));
}

__attribute__((target("avx2"))) inline __m256i Selected32(const std::uint8_t* d, const std::uint8_t* s, __m256i k) {
  const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
  const __m256i eq = _mm256_cmpeq_epi8(v, k);
  const __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d));
  return _mm256_blendv_epi8(v, old, eq);
}

__attribute__((target("avx2"))) void KeyedCopyAVX2(std::uint8_t* dst, std::ptrdiff_t dstPitch,
                                                    const std::uint8_t* src, std::ptrdiff_t srcPitch, int width,
                                                    int height, std::uint8_t key) {
  const __m256i k = _mm256_set1_epi8(char(key));
  const __m128i k16 = _mm_set1_epi8(char(key));
  for (int y = 0; y < height; ++y, dst += dstPitch, src += srcPitch) {
    if (width < 32) {
      if (width < 16)
        KeyedRowShort(dst, src, width, key, k16);
      else
        KeyedRow16To31(dst, src, width, k16);
      continue;
    }
    // The row's first and last 32 bytes are selected before anything is stored and written after
    // the blocks between them, which are aligned on the destination (a store that straddles two
    // cache lines costs twice). Blocks that are all key at either end are skipped with a tight
    // scan, so the edge of a round picture costs one mispredicted branch per side; the blocks
    // between are mostly opaque (stored without reading the destination) or mixed.
    const __m256i head = Selected32(dst, src, k);
    const __m256i tail = Selected32(dst + width - 32, src + width - 32, k);
    const int x0 = int((32 - (reinterpret_cast<std::uintptr_t>(dst) & 31)) & 31);
    int first = 0, last = (width - x0) / 32;
    while (first < last && AllKey32(src + x0 + 32 * first, k)) ++first;
    while (last > first && AllKey32(src + x0 + 32 * (last - 1), k)) --last;
    for (int b = first; b < last; ++b) OpaqueOrMixed32(dst + x0 + 32 * b, src + x0 + 32 * b, k);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), head);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + width - 32), tail);
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
