// Finding the opaque runs of a keyed picture, and copying by them.
#include "media/OpaqueRuns.h"

#include "media/Blitters.h"

#include <algorithm>
#include <cstring>

// The vector paths need SSE2 (always there on x86-64) and pick AVX2 and wider at run time; any other
// machine (arm64) takes the plain loops, which the tests hold the vector paths to.
#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define TARNYX_X86 1
#endif

namespace {

// The first column from x on whose pixel is (IsKey) or is not (!IsKey) the key; width if none.
template <bool IsKey>
int NextWhere(const std::uint8_t* row, int x, int width, std::uint8_t key) {
#ifdef TARNYX_X86
  const __m128i k = _mm_set1_epi8(char(key));
  for (; x + 16 <= width; x += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
    unsigned keys = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, k)));
    const unsigned wanted = IsKey ? keys : ~keys & 0xFFFFu;
    if (wanted) return x + __builtin_ctz(wanted);
  }
#endif
  for (; x < width; ++x)
    if ((row[x] == key) == IsKey) return x;
  return width;
}

}  // namespace

void TOpaqueRuns::Clear() {
  FRowFirst.clear();
  FRuns.clear();
}

bool TOpaqueRuns::Build(const std::uint8_t* pixels, std::ptrdiff_t pitch, int width, int height,
                        std::uint8_t key) {
  Clear();
  if (width <= 0 || height <= 0) return false;
  // More runs than this cannot average MinAverageRun pixels, so the scan stops there; it also
  // bounds what the lists may take to a sixteenth of the picture.
  const std::size_t mostRuns = std::size_t(width) * std::size_t(height) / MinAverageRun;
  std::size_t opaque = 0;
  FRowFirst.reserve(std::size_t(height) + 1);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = pixels + std::ptrdiff_t(y) * pitch;
    FRowFirst.push_back(std::uint32_t(FRuns.size()));
    for (int x = NextWhere<false>(row, 0, width, key); x < width;) {
      const int end = NextWhere<true>(row, x, width, key);
      if (FRuns.size() >= mostRuns) {
        Clear();
        return false;
      }
      FRuns.push_back({std::uint32_t(x), std::uint32_t(end)});
      opaque += std::size_t(end - x);
      x = NextWhere<false>(row, end, width, key);
    }
  }
  FRowFirst.push_back(std::uint32_t(FRuns.size()));
  if (FRuns.size() * MinAverageRun > opaque) {
    Clear();
    return false;
  }
  return true;
}

namespace {

// Copies one run of n bytes.
inline void CopyRunBytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n) { std::memcpy(d, s, n); }

#ifdef TARNYX_X86
// The vector copies of a run. The stores between the first and the last vector are aligned on
// the destination: a store that straddles two cache lines costs twice, and on a row-by-row copy
// into the frame that is most of them. The first and last vectors are loaded before anything is
// stored and may overlap the aligned ones.
void CopyRunSSE2(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
  if (n < 32) return CopyRunBytes(d, s, n);
  auto load = [&](std::size_t i) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)); };
  auto store = [&](std::size_t i, __m128i v) { _mm_store_si128(reinterpret_cast<__m128i*>(d + i), v); };
  const __m128i head = load(0), tail = load(n - 16);
  std::size_t i = 16 - (reinterpret_cast<std::uintptr_t>(d) & 15);
  for (; i + 64 <= n; i += 64) {
    const __m128i a = load(i), b = load(i + 16), c = load(i + 32), e = load(i + 48);
    store(i, a);
    store(i + 16, b);
    store(i + 32, c);
    store(i + 48, e);
  }
  for (; i + 16 <= n; i += 16) store(i, load(i));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), head);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d + n - 16), tail);
}

__attribute__((target("avx2"))) void CopyRunAVX2(std::uint8_t* d, const std::uint8_t* s, std::size_t n) {
  if (n < 64) return CopyRunBytes(d, s, n);
  const __m256i head = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
  const __m256i tail = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + n - 32));
  for (std::size_t i = 32 - (reinterpret_cast<std::uintptr_t>(d) & 31); i + 32 <= n; i += 32)
    _mm256_store_si256(reinterpret_cast<__m256i*>(d + i),
                       _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i)));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), head);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + n - 32), tail);
}
#endif

}  // namespace

template <class F>
void TOpaqueRuns::ForEachClippedRun(int y, std::uint32_t from, std::uint32_t to, F f) const {
  const TRun* end = FRuns.data() + FRowFirst[std::size_t(y) + 1];
  for (const TRun* run = FRuns.data() + FRowFirst[std::size_t(y)]; run < end; ++run) {
    const std::uint32_t b = std::max(run->Begin, from), e = std::min(run->End, to);
    if (b < e) f(b, e);
  }
}

// Each row's source and destination lines are asked for while the row before is copied: a new
// row starts a new stream the processor's own prefetching picks up late, and on a large picture
// that wait is a tenth of the time.
template <void (*CopyRun)(std::uint8_t*, const std::uint8_t*, std::size_t)>
void TOpaqueRuns::CopyWith(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* pixels,
                           std::ptrdiff_t pitch, int left, int top, int width, int height) const {
  const std::uint32_t from = std::uint32_t(left), to = std::uint32_t(left + width);
  for (int y = top; y < top + height; ++y, dst += dstPitch) {
    const std::uint8_t* row = pixels + std::ptrdiff_t(y) * pitch;
    if (y + 1 < top + height) {
      const std::uint8_t* nextRow = row + pitch;
      std::uint8_t* nextDst = dst + dstPitch;
      ForEachClippedRun(y + 1, from, to, [&](std::uint32_t b, std::uint32_t e) {
        for (std::uint32_t x = b; x < e; x += 64) {
          __builtin_prefetch(nextRow + x, 0);
          __builtin_prefetch(nextDst + (x - from), 1);
        }
      });
    }
    ForEachClippedRun(y, from, to,
                      [&](std::uint32_t b, std::uint32_t e) { CopyRun(dst + (b - from), row + b, e - b); });
  }
}

void TOpaqueRuns::Copy(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* pixels, std::ptrdiff_t pitch,
                       int left, int top, int width, int height) const {
#ifdef TARNYX_X86
  if (KeyedCopyUsesAVX2())
    CopyWith<CopyRunAVX2>(dst, dstPitch, pixels, pitch, left, top, width, height);
  else
    CopyWith<CopyRunSSE2>(dst, dstPitch, pixels, pitch, left, top, width, height);
#else
  CopyWith<CopyRunBytes>(dst, dstPitch, pixels, pitch, left, top, width, height);
#endif
}
