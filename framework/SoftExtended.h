// TSoftExtended: the 80-bit extended float of the x87 in software, bit for bit.
#pragma once

#include <bit>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "framework/WideWords.h"

// An 80-bit extended number as the x87 keeps it: a sign, a 15-bit exponent biased by 16383 and a
// 64-bit significand whose top bit, the integer bit, is stored (it is 0 only in subnormals and
// zeros). Every operation rounds its exact result once, to nearest with ties to even, over the
// full exponent range with gradual underflow, exactly as the hardware does with its default
// control word (64-bit precision, every exception masked). Infinities and NaN behave as on the
// hardware too, down to which NaN an operation passes on: the one with the larger significand,
// quietened, the positive one on a tie; invalid operations give the negative quiet NaN with only
// the two top significand bits set.
//
// Conversions from integers, float and double are exact and implicit, so formulas mixing them with
// extended values read as they would with the built-in type. Conversions to float and double round
// once, and are explicit. There is deliberately no conversion from long double: on most machines
// that type is not this one. Rounding to integers is in Extended.h.
class TSoftExtended {
 public:
  static constexpr int Bias = 16383;
  static constexpr std::uint16_t MaxExponent = 0x7FFF;
  static constexpr std::uint64_t IntegerBit = std::uint64_t(1) << 63;
  static constexpr std::uint64_t QuietBit = std::uint64_t(1) << 62;

  constexpr TSoftExtended() = default;

  template <std::integral I>
  constexpr TSoftExtended(I v) {  // exact, like the built-in conversion
    bool negative = false;
    std::uint64_t magnitude = 0;
    if constexpr (std::is_signed_v<I>) {
      negative = v < 0;
      magnitude = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    } else {
      magnitude = static_cast<std::uint64_t>(v);
    }
    if (magnitude == 0) return;
    const int shift = std::countl_zero(magnitude);
    Significand_ = magnitude << shift;
    SignExponent_ = static_cast<std::uint16_t>((negative ? 0x8000 : 0) | (Bias + 63 - shift));
  }

  TSoftExtended(double v);  // exact
  TSoftExtended(float v);   // exact
  TSoftExtended(long double) = delete;

  explicit operator double() const;
  explicit operator float() const;

  // The stored fields, as the hardware lays them out in its ten bytes.
  static constexpr TSoftExtended FromBits(std::uint16_t signExponent, std::uint64_t significand) {
    TSoftExtended r;
    r.SignExponent_ = signExponent;
    r.Significand_ = significand;
    return r;
  }
  constexpr std::uint16_t SignExponent() const { return SignExponent_; }
  constexpr std::uint64_t Significand() const { return Significand_; }

  constexpr bool SignBit() const { return (SignExponent_ & 0x8000) != 0; }
  constexpr std::uint16_t Exponent() const { return SignExponent_ & MaxExponent; }
  constexpr bool IsNaN() const { return Exponent() == MaxExponent && (Significand_ << 1) != 0; }
  constexpr bool IsInf() const { return Exponent() == MaxExponent && (Significand_ << 1) == 0; }
  constexpr bool IsZero() const { return Exponent() == 0 && Significand_ == 0; }
  constexpr bool IsFinite() const { return Exponent() != MaxExponent; }

  static constexpr TSoftExtended Infinity(bool negative) {
    return FromBits(static_cast<std::uint16_t>((negative ? 0x8000 : 0) | MaxExponent), IntegerBit);
  }
  static constexpr TSoftExtended Zero(bool negative) { return FromBits(negative ? 0x8000 : 0, 0); }
  // What an invalid operation gives (the "indefinite" value).
  static constexpr TSoftExtended DefaultNaN() { return FromBits(0xFFFF, IntegerBit | QuietBit); }

  constexpr TSoftExtended operator-() const { return FromBits(SignExponent_ ^ 0x8000, Significand_); }
  constexpr TSoftExtended operator+() const { return *this; }

  friend constexpr TSoftExtended operator+(TSoftExtended a, TSoftExtended b) { return Add(a, b, false); }
  friend constexpr TSoftExtended operator-(TSoftExtended a, TSoftExtended b) { return Add(a, b, true); }
  friend constexpr TSoftExtended operator*(TSoftExtended a, TSoftExtended b) { return Multiply(a, b); }
  friend constexpr TSoftExtended operator/(TSoftExtended a, TSoftExtended b) { return Divide(a, b); }
  constexpr TSoftExtended& operator+=(TSoftExtended b) { return *this = *this + b; }
  constexpr TSoftExtended& operator-=(TSoftExtended b) { return *this = *this - b; }
  constexpr TSoftExtended& operator*=(TSoftExtended b) { return *this = *this * b; }
  constexpr TSoftExtended& operator/=(TSoftExtended b) { return *this = *this / b; }

  // Ordered comparisons are false when either side is NaN; != is then true. The zeros are equal.
  friend constexpr bool operator==(TSoftExtended a, TSoftExtended b) { return Compare(a, b) == 0; }
  friend constexpr bool operator<(TSoftExtended a, TSoftExtended b) { return Compare(a, b) == -1; }
  friend constexpr bool operator>(TSoftExtended a, TSoftExtended b) { return Compare(a, b) == 1; }
  friend constexpr bool operator<=(TSoftExtended a, TSoftExtended b) {
    const int c = Compare(a, b);
    return c == -1 || c == 0;
  }
  friend constexpr bool operator>=(TSoftExtended a, TSoftExtended b) {
    const int c = Compare(a, b);
    return c == 1 || c == 0;
  }

  static constexpr TSoftExtended Sqrt(TSoftExtended a);
  // Rounded halves to even to a whole number, kept as an extended value (the sign of a zero stays).
  static constexpr TSoftExtended RoundToIntegral(TSoftExtended a);
  // -1, 0 or 1 for less, equal and greater; 2 when unordered (a NaN on either side).
  static constexpr int Compare(TSoftExtended a, TSoftExtended b);

  // A finite nonzero value as sign, unbiased exponent of the top significand bit and a significand
  // with that bit set; subnormals come out normalised, with an exponent below the format's range.
  struct TParts {
    bool Negative;
    int Exp;
    std::uint64_t Mant;
  };
  constexpr TParts Parts() const {
    const int e = Exponent();
    if (e != 0) return {SignBit(), e - Bias, Significand_};
    const int shift = std::countl_zero(Significand_);
    return {SignBit(), 1 - Bias - shift, Significand_ << shift};
  }

  // Rounds (hi + lo / 2^64) * 2^(exp - 63), hi with its top bit set, to the nearest representable
  // value: into the subnormals below the range, to infinity above it.
  static constexpr TSoftExtended RoundAndPack(bool negative, int exp, TWideWords sig);

  // The NaN an operation on a and b passes on (at least one of them is NaN).
  static constexpr TSoftExtended PropagateNaN(TSoftExtended a, TSoftExtended b) {
    TSoftExtended r = a;
    if (!a.IsNaN()) {
      r = b;
    } else if (b.IsNaN()) {
      if (b.Significand_ > a.Significand_) r = b;
      else if (b.Significand_ == a.Significand_ && !b.SignBit()) r = b;
    }
    r.Significand_ |= QuietBit;
    return r;
  }

 private:
  static constexpr TSoftExtended Add(TSoftExtended a, TSoftExtended b, bool subtract);
  static constexpr TSoftExtended Multiply(TSoftExtended a, TSoftExtended b);
  static constexpr TSoftExtended Divide(TSoftExtended a, TSoftExtended b);

  std::uint64_t Significand_ = 0;
  std::uint16_t SignExponent_ = 0;
};

constexpr TSoftExtended TSoftExtended::RoundAndPack(bool negative, int exp, TWideWords sig) {
  const std::uint16_t sign = negative ? 0x8000 : 0;
  int biased = exp + Bias;
  if (biased >= MaxExponent) return Infinity(negative);
  if (biased <= 0) {
    // Below the normal range the significand loses bits from its bottom: shift it down to the
    // fixed exponent of the subnormals and round there.
    sig = ShiftRightJam(sig, 1 - biased);
    biased = 0;
  }
  constexpr std::uint64_t half = std::uint64_t(1) << 63;
  if (sig.Lo > half || (sig.Lo == half && (sig.Hi & 1))) {
    ++sig.Hi;
    if (sig.Hi == 0) {  // carried out of the top: 1.111... rounded up to 10.000...
      sig.Hi = IntegerBit;
      if (++biased >= MaxExponent) return Infinity(negative);
    } else if (biased == 0 && sig.Hi == IntegerBit) {
      biased = 1;  // the largest subnormal rounded up to the smallest normal
    }
  }
  return FromBits(static_cast<std::uint16_t>(sign | biased), sig.Hi);
}

constexpr TSoftExtended TSoftExtended::Add(TSoftExtended a, TSoftExtended b, bool subtract) {
  if (a.IsNaN() || b.IsNaN()) return PropagateNaN(a, b);
  if (subtract) b = -b;
  if (a.IsInf()) return b.IsInf() && a.SignBit() != b.SignBit() ? DefaultNaN() : a;
  if (b.IsInf()) return b;
  if (b.IsZero()) return a.IsZero() ? Zero(a.SignBit() && b.SignBit()) : a;
  if (a.IsZero()) return b;

  TParts x = a.Parts(), y = b.Parts();
  if (y.Exp > x.Exp || (y.Exp == x.Exp && y.Mant > x.Mant)) {
    const TParts t = x;
    x = y;
    y = t;
  }
  const TWideWords big{x.Mant, 0};
  const TWideWords small = ShiftRightJam({y.Mant, 0}, x.Exp - y.Exp);
  if (x.Negative == y.Negative) {
    bool carry = false;
    TWideWords sum = AddWords(big, small, carry);
    int exp = x.Exp;
    if (carry) {
      sum = ShiftRightJam(sum, 1);
      sum.Hi |= IntegerBit;
      ++exp;
    }
    return RoundAndPack(x.Negative, exp, sum);
  }
  TWideWords diff = SubWords(big, small);
  if (diff.Hi == 0 && diff.Lo == 0) return Zero(false);  // x - x is +0 when rounding to nearest
  const int shift = CountLeadingZeros(diff);
  return RoundAndPack(x.Negative, x.Exp - shift, ShiftLeftWords(diff, shift));
}

constexpr TSoftExtended TSoftExtended::Multiply(TSoftExtended a, TSoftExtended b) {
  if (a.IsNaN() || b.IsNaN()) return PropagateNaN(a, b);
  const bool negative = a.SignBit() != b.SignBit();
  if (a.IsInf() || b.IsInf()) return a.IsZero() || b.IsZero() ? DefaultNaN() : Infinity(negative);
  if (a.IsZero() || b.IsZero()) return Zero(negative);
  const TParts x = a.Parts(), y = b.Parts();
  TWideWords p = MulWords(x.Mant, y.Mant);  // in [2^126, 2^128)
  int exp = x.Exp + y.Exp + 1;
  if ((p.Hi & IntegerBit) == 0) {
    p = ShiftLeftWords(p, 1);
    --exp;
  }
  return RoundAndPack(negative, exp, p);
}

constexpr TSoftExtended TSoftExtended::Divide(TSoftExtended a, TSoftExtended b) {
  if (a.IsNaN() || b.IsNaN()) return PropagateNaN(a, b);
  const bool negative = a.SignBit() != b.SignBit();
  if (a.IsInf()) return b.IsInf() ? DefaultNaN() : Infinity(negative);
  if (b.IsInf()) return Zero(negative);
  if (b.IsZero()) return a.IsZero() ? DefaultNaN() : Infinity(negative);
  if (a.IsZero()) return Zero(negative);
  const TParts x = a.Parts(), y = b.Parts();
  // The quotient of the significands lies in (1/2, 2): shift the dividend so that its 64-bit
  // integer quotient has its top bit set.
  int exp = x.Exp - y.Exp;
  TWideWords n{x.Mant, 0};
  if (x.Mant >= y.Mant) {
    n = {x.Mant >> 1, x.Mant << 63};
  } else {
    --exp;
  }
  std::uint64_t rem = 0;
  const std::uint64_t q = DivWords(n.Hi, n.Lo, y.Mant, rem);
  // Only where the rest lies against a half matters: below, at or above it.
  std::uint64_t rest = 0;
  if (rem != 0) rest = rem > y.Mant - rem ? 0xC000000000000000u : rem == y.Mant - rem ? 0x8000000000000000u : 0x4000000000000000u;
  return RoundAndPack(negative, exp, {q, rest});
}

constexpr TSoftExtended TSoftExtended::Sqrt(TSoftExtended a) {
  if (a.IsNaN()) return PropagateNaN(a, a);
  if (a.IsZero()) return a;
  if (a.SignBit()) return DefaultNaN();
  if (a.IsInf()) return a;
  const TParts x = a.Parts();
  // The root of the significand times 2^63 or 2^64, whichever leaves an even exponent, has its
  // top bit at 2^63: r = floor(sqrt(R)), found by Newton steps on the integers.
  const bool odd = (x.Exp & 1) != 0;
  const TWideWords R = odd ? TWideWords{x.Mant, 0} : TWideWords{x.Mant >> 1, x.Mant << 63};
  // A first guess: the double root of the top word, good to some 50 bits (where that cannot run,
  // in constant expressions, bisection of it to 32). One Newton step r + (R - r^2) / 2r takes it to
  // within a few units of the root, and whole-number checks settle on r = floor(sqrt(R)).
  std::uint64_t r = 0;
  if (std::is_constant_evaluated()) {
    std::uint64_t lo = std::uint64_t(1) << 31, hi = (std::uint64_t(1) << 32) - 1;
    while (lo < hi) {
      const std::uint64_t mid = (lo + hi + 1) / 2;
      if (mid * mid <= R.Hi) lo = mid;
      else hi = mid - 1;
    }
    r = lo << 32;
  } else {
    const double guess = std::sqrt(static_cast<double>(R.Hi)) * 0x1p32;
    r = guess >= 0x1p64 ? ~std::uint64_t(0) : static_cast<std::uint64_t>(guess);
  }
  {
    const TWideWords square = MulWords(r, r);
    const bool low = LessWords(square, R);
    const TWideWords gap = low ? SubWords(R, square) : SubWords(square, R);  // well below r * 2^64
    std::uint64_t rem = 0;
    const std::uint64_t step = DivWords(gap.Hi, gap.Lo, r, rem) / 2;
    r = low ? (step > ~r ? ~std::uint64_t(0) : r + step) : r - step;
  }
  while (LessWords(R, MulWords(r, r))) --r;
  for (;;) {  // (r + 1)^2 <= R exactly when R - r^2 > 2r
    const TWideWords rest = SubWords(R, MulWords(r, r));
    if (!LessWords({r >> 63, r << 1}, rest)) break;
    ++r;
  }
  // r = floor(sqrt(R)); the rest R - r^2 decides the rounding: above half exactly when it
  // exceeds r (the root is never exactly half-way).
  const TWideWords rest = SubWords(R, MulWords(r, r));
  std::uint64_t bits = 0;
  if (rest.Hi != 0 || rest.Lo != 0) bits = (rest.Hi != 0 || rest.Lo > r) ? 0xC000000000000000u : 0x4000000000000000u;
  return RoundAndPack(false, x.Exp >> 1, {r, bits});
}

constexpr TSoftExtended TSoftExtended::RoundToIntegral(TSoftExtended a) {
  if (a.IsNaN()) return PropagateNaN(a, a);
  if (!a.IsFinite() || a.IsZero()) return a;
  const TParts x = a.Parts();
  if (x.Exp >= 63) return a;  // no fraction bits left
  if (x.Exp < -1) return Zero(x.Negative);
  const int fractionBits = 63 - x.Exp;  // 1..64
  std::uint64_t whole = fractionBits == 64 ? 0 : x.Mant >> fractionBits;
  const std::uint64_t rest = x.Mant << (64 - fractionBits);
  constexpr std::uint64_t half = std::uint64_t(1) << 63;
  if (rest > half || (rest == half && (whole & 1))) ++whole;
  if (whole == 0) return Zero(x.Negative);
  const TSoftExtended r(whole);
  return x.Negative ? -r : r;
}

constexpr int TSoftExtended::Compare(TSoftExtended a, TSoftExtended b) {
  if (a.IsNaN() || b.IsNaN()) return 2;
  if (a.IsZero() && b.IsZero()) return 0;
  if (a.SignBit() != b.SignBit()) return a.SignBit() ? -1 : 1;
  // Same sign: the encodings order the magnitudes (exponent first, then significand).
  int c = 0;
  if (a.Exponent() != b.Exponent()) c = a.Exponent() < b.Exponent() ? -1 : 1;
  else if (a.Significand_ != b.Significand_) c = a.Significand_ < b.Significand_ ? -1 : 1;
  return a.SignBit() ? -c : c;
}

// Conversions from and to the machine's float and double.
namespace SoftExtendedFormats {

// The binary formats the extended type converts to and from: fraction bits below the hidden
// integer bit, and exponent bits above them (the all-ones exponent holds infinities and NaN),
// then the sign.
struct TFormat {
  int FractionBits;
  int ExponentBits;
  int Bias = (1 << (ExponentBits - 1)) - 1;
  int MaxExponent = (1 << ExponentBits) - 1;
  int SignShift = FractionBits + ExponentBits;
};
inline constexpr TFormat DoubleFormat{52, 11};
inline constexpr TFormat FloatFormat{23, 8};

// The same bytes as another type of the same size: a float or double as its bits, and back.
template <class To, class From>
inline To Reinterpret(From v) {
  static_assert(sizeof(To) == sizeof(From));
  To r;
  std::memcpy(&r, &v, sizeof r);
  return r;
}

// Widening is exact: the integer bit is made explicit, subnormals are normalised (the extended
// range holds them all), and a signalling NaN is quietened, as loading one does on the hardware.
inline TSoftExtended Widen(std::uint64_t bits, const TFormat& f) {
  const bool negative = (bits >> f.SignShift) & 1;
  const int exponent = static_cast<int>((bits >> f.FractionBits) & static_cast<std::uint64_t>(f.MaxExponent));
  const std::uint64_t fraction = bits & ((std::uint64_t(1) << f.FractionBits) - 1);
  const std::uint16_t sign = negative ? 0x8000 : 0;
  const int toTop = 63 - f.FractionBits;
  if (exponent == f.MaxExponent) {
    if (fraction == 0) return TSoftExtended::Infinity(negative);
    return TSoftExtended::FromBits(sign | TSoftExtended::MaxExponent,
                                   TSoftExtended::IntegerBit | TSoftExtended::QuietBit | (fraction << toTop));
  }
  if (exponent == 0) {
    if (fraction == 0) return TSoftExtended::Zero(negative);
    const int shift = std::countl_zero(fraction);
    // fraction * 2^(1 - bias - fractionBits), its top bit moved to bit 63.
    const int top = 1 - f.Bias - f.FractionBits + (63 - shift);
    return TSoftExtended::FromBits(static_cast<std::uint16_t>(sign | (top + TSoftExtended::Bias)), fraction << shift);
  }
  return TSoftExtended::FromBits(static_cast<std::uint16_t>(sign | (exponent - f.Bias + TSoftExtended::Bias)),
                                 TSoftExtended::IntegerBit | (fraction << toTop));
}

// Narrowing rounds once, to nearest with ties to even, into the narrower format's normals and
// subnormals; NaN keeps the top of its significand and stays quiet.
inline std::uint64_t Narrow(TSoftExtended v, const TFormat& f) {
  const std::uint64_t sign = std::uint64_t(v.SignBit()) << f.SignShift;
  const std::uint64_t infinity = sign | (std::uint64_t(f.MaxExponent) << f.FractionBits);
  const int toTop = 63 - f.FractionBits;
  if (v.IsNaN()) {
    const std::uint64_t quiet = std::uint64_t(1) << (f.FractionBits - 1);
    return infinity | quiet | ((v.Significand() << 1) >> (toTop + 1));
  }
  if (v.IsInf()) return infinity;
  if (v.IsZero()) return sign;
  const TSoftExtended::TParts x = v.Parts();
  int exponent = x.Exp + f.Bias;
  int drop = toTop;  // bits of the 64-bit significand that do not fit
  if (exponent <= 0) {
    drop += 1 - exponent;
    exponent = 0;
  }
  if (drop > 64) return sign;  // below half the smallest subnormal
  std::uint64_t kept = drop == 64 ? 0 : x.Mant >> drop;
  const std::uint64_t rest = drop == 64 ? x.Mant : x.Mant << (64 - drop);
  constexpr std::uint64_t half = std::uint64_t(1) << 63;
  if (rest > half || (rest == half && (kept & 1))) ++kept;
  const std::uint64_t hidden = std::uint64_t(1) << f.FractionBits;
  if (kept == hidden << 1) {  // rounded up into the next binade
    kept >>= 1;
    ++exponent;
  } else if (exponent == 0 && (kept & hidden)) {
    exponent = 1;  // the largest subnormal rounded up to the smallest normal
  }
  if (exponent >= f.MaxExponent) return infinity;
  return sign | (std::uint64_t(exponent) << f.FractionBits) | (kept & (hidden - 1));
}

}  // namespace SoftExtendedFormats

inline TSoftExtended::TSoftExtended(double v) {
  using namespace SoftExtendedFormats;
  *this = Widen(Reinterpret<std::uint64_t>(v), DoubleFormat);
}

inline TSoftExtended::TSoftExtended(float v) {
  using namespace SoftExtendedFormats;
  *this = Widen(Reinterpret<std::uint32_t>(v), FloatFormat);
}

inline TSoftExtended::operator double() const {
  using namespace SoftExtendedFormats;
  return Reinterpret<double>(Narrow(*this, DoubleFormat));
}

inline TSoftExtended::operator float() const {
  using namespace SoftExtendedFormats;
  return Reinterpret<float>(static_cast<std::uint32_t>(Narrow(*this, FloatFormat)));
}
