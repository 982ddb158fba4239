// TSoftExtended's conversions from and to the machine's float and double.
#include "framework/SoftExtended.h"

namespace {

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
constexpr TFormat DoubleFormat{52, 11};
constexpr TFormat FloatFormat{23, 8};

// The bits of a float or double as an unsigned word.
template <class T, class U>
U BitsOf(T v) {
  static_assert(sizeof(T) == sizeof(U));
  U bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

template <class T, class U>
T FromBitsOf(U bits) {
  static_assert(sizeof(T) == sizeof(U));
  T v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// Widening is exact: the integer bit is made explicit, subnormals are normalised (the extended
// range holds them all), and a signalling NaN is quietened, as loading one does on the hardware.
TSoftExtended Widen(std::uint64_t bits, const TFormat& f) {
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
std::uint64_t Narrow(TSoftExtended v, const TFormat& f) {
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

}  // namespace

TSoftExtended::TSoftExtended(double v) : TSoftExtended(Widen(BitsOf<double, std::uint64_t>(v), DoubleFormat)) {}

TSoftExtended::TSoftExtended(float v)
    : TSoftExtended(Widen(BitsOf<float, std::uint32_t>(v), FloatFormat)) {}

TSoftExtended::operator double() const { return FromBitsOf<double, std::uint64_t>(Narrow(*this, DoubleFormat)); }

TSoftExtended::operator float() const {
  return FromBitsOf<float, std::uint32_t>(static_cast<std::uint32_t>(Narrow(*this, FloatFormat)));
}
