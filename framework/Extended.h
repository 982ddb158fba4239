// Extended: the type of the game's 80-bit intermediates, with its rounding and its functions.
#pragma once

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "framework/SoftExtended.h"

// Every intermediate the game forms in extended precision has this type, so that it is the same
// 80-bit number on every machine. Where long double is the x87's own 80-bit type (x86-64), that is
// the type, and the hardware does the work at no cost. Elsewhere, or when the build asks for it
// (TARNYX_PORTABLE_EXTENDED), it is TSoftExtended, which gives the same bits in software: on
// arm64 and WebAssembly long double is a 128-bit type (LDBL_MANT_DIG 113), on other machines
// it may be double, and no choice is needed from the build.
#if defined(__x86_64__) && LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384
#define TARNYX_X87_LONG_DOUBLE 1
#endif

#if defined(TARNYX_X87_LONG_DOUBLE) && !defined(TARNYX_PORTABLE_EXTENDED)
#define TARNYX_HARDWARE_EXTENDED 1
using Extended = long double;
#else
using Extended = TSoftExtended;
#endif

// Rounding a software extended value to a whole number, halves to even (round) or toward zero
// (truncate). Values beyond the 64-bit range saturate to its ends, and NaN gives 0, so that every
// machine gives the same answer where the hardware instructions differ.
constexpr std::int64_t ToInt64(TSoftExtended v, bool round) {
  if (v.IsNaN() || v.IsZero()) return 0;
  const bool negative = v.SignBit();
  if (v.IsInf()) return negative ? INT64_MIN : INT64_MAX;
  const TSoftExtended::TParts x = v.Parts();
  if (x.Exp >= 63) return negative ? INT64_MIN : INT64_MAX;
  if (x.Exp < -1) return 0;
  const int fractionBits = 63 - x.Exp;  // 1..64
  std::uint64_t whole = fractionBits == 64 ? 0 : x.Mant >> fractionBits;
  const std::uint64_t rest = x.Mant << (64 - fractionBits);
  constexpr std::uint64_t half = std::uint64_t(1) << 63;
  if (round && (rest > half || (rest == half && (whole & 1)))) ++whole;
  if (!negative) return whole > std::uint64_t(INT64_MAX) ? INT64_MAX : static_cast<std::int64_t>(whole);
  return whole >= half ? INT64_MIN : -static_cast<std::int64_t>(whole);
}

constexpr TSoftExtended Sqrt(TSoftExtended v) { return TSoftExtended::Sqrt(v); }
constexpr TSoftExtended Abs(TSoftExtended v) { return v.SignBit() ? -v : v; }
constexpr std::int64_t RoundToInt64(TSoftExtended v) { return ToInt64(v, true); }
constexpr std::int64_t TruncToInt64(TSoftExtended v) { return ToInt64(v, false); }

constexpr int ClampToInt(std::int64_t v) { return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : static_cast<int>(v); }
// To the nearest int, halves to even, held within int's range (NaN gives 0): how every position
// the game works out reaches the screen.
constexpr int RoundToInt(TSoftExtended v) { return ClampToInt(RoundToInt64(v)); }

#ifdef TARNYX_X87_LONG_DOUBLE
// The hardware type and the software one hold the same ten bytes.
inline TSoftExtended ToSoft(long double v) {
  std::uint64_t significand;
  std::uint16_t signExponent;
  std::memcpy(&significand, &v, sizeof significand);
  std::memcpy(&signExponent, reinterpret_cast<const unsigned char*>(&v) + 8, sizeof signExponent);
  return TSoftExtended::FromBits(signExponent, significand);
}
inline long double ToHardware(TSoftExtended v) {
  long double r = 0;
  const std::uint64_t significand = v.Significand();
  const std::uint16_t signExponent = v.SignExponent();
  std::memcpy(&r, &significand, sizeof significand);
  std::memcpy(reinterpret_cast<unsigned char*>(&r) + 8, &signExponent, sizeof signExponent);
  return r;
}

// The same functions on the hardware type, by the same rules: within the 64-bit range, the
// hardware's own rounding to integers.
namespace X87 {
inline long double Sqrt(long double v) { return std::sqrt(v); }
inline long double Abs(long double v) { return std::fabs(v); }
// v rounded in the unit's current mode (to nearest, halves to even, as the game runs), stored by
// the unit itself: the C library's llrint is a call that does the same, a cast to an integer
// switches the mode to truncation and back (two control-word loads, which stall the unit). v must
// round to within the 64-bit range.
inline std::int64_t StoreRounded(long double v) {
  std::int64_t r;
  __asm__("fistpll %0" : "=m"(r) : "t"(v) : "st");
  return r;
}
inline std::int64_t RoundToInt64(long double v) {
  if (v != v) return 0;
  if (v >= 0x1p63L - 0.5L) return INT64_MAX;  // rounds to 2^63 or beyond
  if (v < -0x1p63L) return INT64_MIN;
  return StoreRounded(v);
}
inline std::int64_t TruncToInt64(long double v) {
  if (v != v) return 0;
  if (v >= 0x1p63L - 1) return INT64_MAX;  // also 2^63 - 1/2, which rounds to 2^63
  if (v < -0x1p63L) return INT64_MIN;
  // Rounded in the unit's mode, the integer is within one of v; one step toward zero where it
  // went past v makes it the truncation, in every mode. int64 values convert back exactly.
  std::int64_t r = StoreRounded(v);
  if (v >= 0 ? static_cast<long double>(r) > v : static_cast<long double>(r) < v)
    r += v >= 0 ? -1 : 1;
  return r;
}
inline int RoundToInt(long double v) { return ClampToInt(RoundToInt64(v)); }
}  // namespace X87
#endif

#ifdef TARNYX_HARDWARE_EXTENDED
using X87::Abs;
using X87::RoundToInt;
using X87::RoundToInt64;
using X87::Sqrt;
using X87::TruncToInt64;
#endif

// The angle of (x, y) from the positive x axis, in radians, -pi..pi: atan2 as the C library has it,
// rounded once from a result good to far more than the 64 bits kept. One implementation on every
// machine, so the angle does not depend on a C library.
TSoftExtended Atan2(TSoftExtended y, TSoftExtended x);
#ifdef TARNYX_HARDWARE_EXTENDED
inline long double Atan2(long double y, long double x) { return ToHardware(Atan2(ToSoft(y), ToSoft(x))); }
#endif

// v in the general number format with `precision` significant digits (1..40): fixed notation when
// the decimal exponent is at least -4 and below the precision, otherwise d.ddde+XX; no trailing
// zeros and no point when nothing follows it; "inf", "nan", with a minus for a negative sign.
// Rounded once from the exact value, halves to even. Writes at most 64 characters and returns the
// end.
char* FormatGeneral(char* out, TSoftExtended v, int precision);
#ifdef TARNYX_HARDWARE_EXTENDED
inline char* FormatGeneral(char* out, long double v, int precision) { return FormatGeneral(out, ToSoft(v), precision); }
#endif
