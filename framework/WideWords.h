// Two-word unsigned arithmetic that the software extended type is built from.
#pragma once

#include <bit>
#include <cstdint>

// A 128-bit unsigned number as two 64-bit words, and the few operations on it that need more
// than one word: a full 64 x 64 product and a 128 / 64 division. Where the compiler has a 128-bit
// integer these use it; the word-by-word versions stand beside them for compilers that have none,
// and the tests hold the two to the same results.
struct TWideWords {
  std::uint64_t Hi = 0;
  std::uint64_t Lo = 0;
};

constexpr TWideWords MulWordsPortable(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
  const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const std::uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (mid << 32) | (p00 & 0xFFFFFFFFu)};
}

// (hi:lo) / d and its remainder, for hi < d (so the quotient fits one word): long division in
// 32-bit digits on a normalised divisor, each digit estimated from the top digits and corrected.
constexpr std::uint64_t DivWordsPortable(std::uint64_t hi, std::uint64_t lo, std::uint64_t d, std::uint64_t& rem) {
  constexpr std::uint64_t base = std::uint64_t(1) << 32;
  const int s = std::countl_zero(d);
  d <<= s;
  if (s != 0) hi = (hi << s) | (lo >> (64 - s));
  lo <<= s;
  const std::uint64_t dh = d >> 32, dl = d & 0xFFFFFFFFu, l1 = lo >> 32, l0 = lo & 0xFFFFFFFFu;
  std::uint64_t q1 = hi / dh, rhat = hi - q1 * dh;
  while (q1 >= base || q1 * dl > ((rhat << 32) | l1)) {
    --q1;
    rhat += dh;
    if (rhat >= base) break;
  }
  const std::uint64_t mid = (hi << 32) + l1 - q1 * d;  // the partial remainder, below d
  std::uint64_t q0 = mid / dh;
  rhat = mid - q0 * dh;
  while (q0 >= base || q0 * dl > ((rhat << 32) | l0)) {
    --q0;
    rhat += dh;
    if (rhat >= base) break;
  }
  rem = ((mid << 32) + l0 - q0 * d) >> s;
  return (q1 << 32) | q0;
}

constexpr TWideWords MulWords(std::uint64_t a, std::uint64_t b) {
#ifdef __SIZEOF_INT128__
  const unsigned __int128 p = static_cast<unsigned __int128>(a) * b;
  return {static_cast<std::uint64_t>(p >> 64), static_cast<std::uint64_t>(p)};
#else
  return MulWordsPortable(a, b);
#endif
}

constexpr std::uint64_t DivWords(std::uint64_t hi, std::uint64_t lo, std::uint64_t d, std::uint64_t& rem) {
#ifdef __SIZEOF_INT128__
  const unsigned __int128 n = (static_cast<unsigned __int128>(hi) << 64) | lo;
  const auto q = static_cast<std::uint64_t>(n / d);
  rem = lo - q * d;  // the true remainder is below d, so the low word alone holds it
  return q;
#else
  return DivWordsPortable(hi, lo, d, rem);
#endif
}

constexpr TWideWords AddWords(TWideWords a, TWideWords b, bool& carry) {
  const std::uint64_t lo = a.Lo + b.Lo;
  const std::uint64_t c = lo < a.Lo;
  const std::uint64_t hi = a.Hi + b.Hi + c;
  carry = hi < a.Hi || (hi == a.Hi && c);
  return {hi, lo};
}

// a - b for a >= b.
constexpr TWideWords SubWords(TWideWords a, TWideWords b) {
  return {a.Hi - b.Hi - (a.Lo < b.Lo), a.Lo - b.Lo};
}

constexpr bool LessWords(TWideWords a, TWideWords b) { return a.Hi < b.Hi || (a.Hi == b.Hi && a.Lo < b.Lo); }

constexpr TWideWords ShiftLeftWords(TWideWords a, int n) {
  if (n == 0) return a;
  if (n >= 128) return {};
  if (n >= 64) return {a.Lo << (n - 64), 0};
  return {(a.Hi << n) | (a.Lo >> (64 - n)), a.Lo << n};
}

// Shifts right and ORs every bit shifted out into the lowest bit, so that rounding can still tell
// "exactly representable" from "a little more".
constexpr TWideWords ShiftRightJam(TWideWords a, int n) {
  if (n <= 0) return a;
  if (n < 64) return {a.Hi >> n, (a.Hi << (64 - n)) | (a.Lo >> n) | ((a.Lo << (64 - n)) != 0)};
  if (n == 64) return {0, a.Hi | (a.Lo != 0)};
  if (n < 128) return {0, (a.Hi >> (n - 64)) | ((a.Hi << (128 - n)) != 0) | (a.Lo != 0)};
  return {0, (a.Hi | a.Lo) != 0};
}

constexpr int CountLeadingZeros(TWideWords a) {
  return a.Hi != 0 ? std::countl_zero(a.Hi) : 64 + std::countl_zero(a.Lo);
}
