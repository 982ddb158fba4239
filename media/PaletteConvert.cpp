// Turning 8-bit palettized rows into 32-bit pixels through a 256-entry lookup table.
#include "media/PaletteConvert.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <limits>

// The vector paths need SSE2 (always there on x86-64) and pick AVX2 and wider at run time; any other
// machine (arm64) takes the plain loops, which the tests hold the vector paths to.
#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define TARNYX_X86 1
#endif

namespace {

bool Drawable(int sourcePitch, int targetPitch, int width, int height) {
  return width > 0 && height > 0 && sourcePitch >= width && targetPitch % 4 == 0 &&
         static_cast<long long>(targetPitch) >= 4LL * width;
}

bool Valid(const std::uint8_t* source, int sourcePitch, const std::uint32_t* target,
           int targetPitch, int width, int height, const std::uint32_t* table) {
  return source && target && table && Drawable(sourcePitch, targetPitch, width, height);
}

std::uint32_t* TargetRow(std::uint32_t* target, int targetPitch, int y) {
  return reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(target) +
                                          static_cast<std::ptrdiff_t>(y) * targetPitch);
}

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
  ReferenceRow(source + x, target + x, width - x, table);
}

// Two pixels of the table go into one 64-bit store: half the stores of the loop above, which
// then has table loads and shifts left to do.
void PairsRow(const std::uint8_t* source, std::uint32_t* target, int width,
              const std::uint32_t* table) {
  auto pair = [table](std::uint64_t v, int shift) {
    return table[(v >> shift) & 0xFF] |
           static_cast<std::uint64_t>(table[(v >> (shift + 8)) & 0xFF]) << 32;
  };
  int x = 0;
  for (; x + 16 <= width; x += 16) {
    std::uint64_t low, high;
    std::memcpy(&low, source + x, 8);
    std::memcpy(&high, source + x + 8, 8);
    for (int i = 0; i < 4; ++i) {
      std::uint64_t first = pair(low, 16 * i), second = pair(high, 16 * i);
      std::memcpy(target + x + 2 * i, &first, 8);
      std::memcpy(target + x + 8 + 2 * i, &second, 8);
    }
  }
  EightAtATimeRow(source + x, target + x, width - x, table);
}

template <Row row>
void ByRows(const std::uint8_t* source, int sourcePitch, std::uint32_t* target, int targetPitch,
            int width, int height, const std::uint32_t table[256]) {
  if (!Valid(source, sourcePitch, target, targetPitch, width, height, table)) return;
  for (int y = 0; y < height; ++y) {
    row(source + static_cast<std::ptrdiff_t>(y) * sourcePitch, TargetRow(target, targetPitch, y),
        width, table);
  }
}

#ifdef TARNYX_X86
// Sixteen pixels take two gathers of eight table entries each and two 32-byte stores.
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

// 64 bytes of one plane of the table (four registers, 256 bytes) for 64 indices: the low 128
// entries by one two-register byte permute, the high 128 by another, and each index's top bit
// (high) picks between them.
__attribute__((target("avx512f,avx512bw,avx512vbmi"), always_inline)) inline __m512i PlaneBytes(
    __m512i q0, __m512i q1, __m512i q2, __m512i q3, __m512i indices, __mmask64 high) {
  return _mm512_mask_blend_epi8(high, _mm512_permutex2var_epi8(q0, indices, q1),
                                _mm512_permutex2var_epi8(q2, indices, q3));
}

__attribute__((target("avx512f"), always_inline)) inline __m512i PlaneQuarter(
    const std::uint8_t* plane, int quarter) {
  return _mm512_load_si512(plane + 64 * quarter);
}

// The whole table sits in sixteen registers as four planes, one per byte of the entries, so that
// 64 pixels take twelve instructions of lookup (see PlaneBytes) and no memory is touched but the
// indices and the pixels. Interleaving the four planes' bytes then makes the 32-bit pixels; as the
// interleaving instructions work within 16-byte lanes, the indices are first put in the order
// that makes the pixels come out in theirs.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void PermuteFrame(
    const std::uint8_t* source, int sourcePitch, std::uint32_t* target, int targetPitch,
    int width, int height, const std::uint32_t table[256]) {
  if (!Valid(source, sourcePitch, target, targetPitch, width, height, table)) return;
  alignas(64) std::uint8_t planes[4][256];
  for (int i = 0; i < 256; ++i) {
    for (int k = 0; k < 4; ++k) planes[k][i] = static_cast<std::uint8_t>(table[i] >> (8 * k));
  }
  const __m512i p00 = PlaneQuarter(planes[0], 0), p01 = PlaneQuarter(planes[0], 1),
                p02 = PlaneQuarter(planes[0], 2), p03 = PlaneQuarter(planes[0], 3),
                p10 = PlaneQuarter(planes[1], 0), p11 = PlaneQuarter(planes[1], 1),
                p12 = PlaneQuarter(planes[1], 2), p13 = PlaneQuarter(planes[1], 3),
                p20 = PlaneQuarter(planes[2], 0), p21 = PlaneQuarter(planes[2], 1),
                p22 = PlaneQuarter(planes[2], 2), p23 = PlaneQuarter(planes[2], 3),
                p30 = PlaneQuarter(planes[3], 0), p31 = PlaneQuarter(planes[3], 1),
                p32 = PlaneQuarter(planes[3], 2), p33 = PlaneQuarter(planes[3], 3);
  // Position 16 * lane + 4 * quarter + byte takes the index 16 * quarter + 4 * lane + byte.
  alignas(64) std::uint8_t orderBytes[64];
  for (int lane = 0; lane < 4; ++lane) {
    for (int quarter = 0; quarter < 4; ++quarter) {
      for (int byte = 0; byte < 4; ++byte)
        orderBytes[16 * lane + 4 * quarter + byte] =
            static_cast<std::uint8_t>(16 * quarter + 4 * lane + byte);
    }
  }
  const __m512i order = _mm512_load_si512(orderBytes);

  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = source + static_cast<std::ptrdiff_t>(y) * sourcePitch;
    std::uint32_t* out = TargetRow(target, targetPitch, y);
    int x = 0;
    for (; x + 64 <= width; x += 64) {
      // (Zero-masked with every lane kept: the plain form reads an undefined register in
      // GCC's header, which its flow analysis takes for an uninitialised value.)
      __m512i indices = _mm512_maskz_permutexvar_epi8(~__mmask64{0}, order,
                                                      _mm512_loadu_si512(in + x));
      __mmask64 high = _mm512_movepi8_mask(indices);
      __m512i b0 = PlaneBytes(p00, p01, p02, p03, indices, high);
      __m512i b1 = PlaneBytes(p10, p11, p12, p13, indices, high);
      __m512i b2 = PlaneBytes(p20, p21, p22, p23, indices, high);
      __m512i b3 = PlaneBytes(p30, p31, p32, p33, indices, high);
      __m512i low01 = _mm512_unpacklo_epi8(b0, b1), high01 = _mm512_unpackhi_epi8(b0, b1);
      __m512i low23 = _mm512_unpacklo_epi8(b2, b3), high23 = _mm512_unpackhi_epi8(b2, b3);
      _mm512_storeu_si512(out + x, _mm512_unpacklo_epi16(low01, low23));
      _mm512_storeu_si512(out + x + 16, _mm512_unpackhi_epi16(low01, low23));
      _mm512_storeu_si512(out + x + 32, _mm512_unpacklo_epi16(high01, high23));
      _mm512_storeu_si512(out + x + 48, _mm512_unpackhi_epi16(high01, high23));
    }
    EightAtATimeRow(in + x, out + x, width - x, table);
  }
}
#endif

std::vector<TConvertPath> AvailablePaths() {
  std::vector<TConvertPath> paths = {{"reference", ByRows<ReferenceRow>},
                                     {"eight-at-a-time", ByRows<EightAtATimeRow>},
                                     {"pairs", ByRows<PairsRow>}};
#ifdef TARNYX_X86
  if (__builtin_cpu_supports("avx2")) paths.push_back({"gather", ByRows<GatherRow>});
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
      __builtin_cpu_supports("avx512vbmi"))
    paths.push_back({"permute", PermuteFrame});
#endif
  return paths;
}

struct TChoice {
  std::size_t Chosen = 0;
  std::vector<double> Microseconds;  // the best time of each path
};

// Every path converts the same random frame three times, taking turns, so that a slow spell of
// the machine does not fall on one path only; each keeps its best time.
TChoice Measure() {
  constexpr int kWidth = 1024, kHeight = 768, kRounds = 3;
  std::vector<std::uint8_t> source(static_cast<std::size_t>(kWidth) * kHeight);
  std::vector<std::uint32_t> target(source.size());  // zeroed: its pages are there already
  std::uint32_t table[256];
  std::uint32_t state = 2463534242u;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  for (auto& index : source) index = static_cast<std::uint8_t>(next());
  for (auto& entry : table) entry = next();

  const auto& paths = ConvertPaths();
  TChoice choice;
  choice.Microseconds.assign(paths.size(), std::numeric_limits<double>::infinity());
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
      auto start = std::chrono::steady_clock::now();
      paths[i].Convert(source.data(), kWidth, target.data(), kWidth * 4, kWidth, kHeight, table);
      std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
      choice.Microseconds[i] = std::min(choice.Microseconds[i], took.count());
    }
  }
  choice.Chosen = static_cast<std::size_t>(
      std::min_element(choice.Microseconds.begin(), choice.Microseconds.end()) -
      choice.Microseconds.begin());
  return choice;
}

const TChoice& Choice() {
  static const TChoice choice = Measure();
  return choice;
}

}  // namespace

const std::vector<TConvertPath>& ConvertPaths() {
  static const std::vector<TConvertPath> paths = AvailablePaths();
  return paths;
}

const TConvertPath& ChosenConvertPath() { return ConvertPaths()[Choice().Chosen]; }

std::string ConvertChoiceReport() {
  const TChoice& choice = Choice();
  std::string report = std::string(ChosenConvertPath().Name) + " (";
  for (std::size_t i = 0; i < choice.Microseconds.size(); ++i) {
    if (i) report += ", ";
    report += std::string(ConvertPaths()[i].Name) + " " +
              std::to_string(static_cast<long>(choice.Microseconds[i] + 0.5)) + " us";
  }
  return report + " for a 1024x768 frame)";
}

void ConvertPalettedFrame(const std::uint8_t* source, int sourcePitch, std::uint32_t* target,
                          int targetPitch, int width, int height, const std::uint32_t table[256]) {
  static const TConvertFrame convert = ChosenConvertPath().Convert;
  convert(source, sourcePitch, target, targetPitch, width, height, table);
}

void ConvertPalettedRun(const std::uint8_t* source, std::uint32_t* target, int width,
                        const std::uint32_t table[256]) {
  // Past this many pixels a run repays the chosen path's setting up (measured with the permute
  // path, whose set-up costs most).
  constexpr int kLongRun = 256;
  if (!source || !target || !table || width <= 0) return;
  if (width >= kLongRun && width <= std::numeric_limits<int>::max() / 4) {
    ConvertPalettedFrame(source, width, target, width * 4, width, 1, table);
  } else {
    EightAtATimeRow(source, target, width, table);
  }
}

void ConvertPalettedFrameReference(const std::uint8_t* source, int sourcePitch,
                                   std::uint32_t* target, int targetPitch, int width, int height,
                                   const std::uint32_t table[256]) {
  ByRows<ReferenceRow>(source, sourcePitch, target, targetPitch, width, height, table);
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
  // At a whole multiple the frame is converted once at its size, into scratch, and each pixel
  // repeated; otherwise scratch maps each target column to its frame column.
  const int multiple = targetWidth % width == 0 ? targetWidth / width : 0;
  if (multiple) {
    scratch.resize(static_cast<std::size_t>(width) * height);
    ConvertPalettedFrame(source, sourcePitch, scratch.data(), width * 4, width, height, table);
  } else {
    scratch.resize(static_cast<std::size_t>(targetWidth));
    for (int x = 0; x < targetWidth; ++x)
      scratch[x] = static_cast<std::uint32_t>(static_cast<long long>(x) * width / targetWidth);
  }
  const std::uint32_t* previous = nullptr;
  int previousRow = -1;
  for (int y = 0; y < targetHeight; ++y) {
    int row = static_cast<int>(static_cast<long long>(y) * height / targetHeight);
    std::uint32_t* line = TargetRow(target, targetPitch, y);
    if (row == previousRow) {
      std::memcpy(line, previous, static_cast<std::size_t>(targetWidth) * 4);
      continue;
    }
    if (multiple) {
      const std::uint32_t* converted = scratch.data() + static_cast<std::size_t>(row) * width;
      for (int x = 0; x < width; ++x) {
        for (int k = 0; k < multiple; ++k) line[x * multiple + k] = converted[x];
      }
    } else {
      const std::uint8_t* in = source + static_cast<std::ptrdiff_t>(row) * sourcePitch;
      for (int x = 0; x < targetWidth; ++x) line[x] = table[in[scratch[x]]];
    }
    previous = line;
    previousRow = row;
  }
}
