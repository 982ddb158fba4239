// Atan2 on extended values, worked out with 128-bit significands and rounded once.
#include <array>

#include "framework/Extended.h"

namespace {

// A float with a 128-bit significand for the inside of the function: value = Sig * 2^(Exp - 127),
// Sig with its top bit set, or all zero for 0. Its operations truncate; a few of their errors of
// 2^-127 each leave the result some 60 bits more precise than the 64 that are kept, so that
// rounding it once gives the correctly rounded angle for all but a vanishing few arguments.
struct TWide {
  bool Negative = false;
  int Exp = 0;
  TWideWords Sig;

  bool IsZero() const { return Sig.Hi == 0 && Sig.Lo == 0; }
};

TWide Normalize(bool negative, int exp, TWideWords sig) {
  if (sig.Hi == 0 && sig.Lo == 0) return {};
  const int shift = CountLeadingZeros(sig);
  return {negative, exp - shift, ShiftLeftWords(sig, shift)};
}

TWide FromInt(std::uint64_t n, int exp2 = 0) { return Normalize(false, 127 + exp2, {0, n}); }

// a 128-bit fraction f / 2^128, as most constants below are stored
TWide FromFraction(TWideWords f) { return Normalize(false, -1, f); }

TWide Negate(TWide a) {
  if (!a.IsZero()) a.Negative = !a.Negative;
  return a;
}

TWide Add(TWide a, TWide b) {
  if (a.IsZero()) return b;
  if (b.IsZero()) return a;
  if (b.Exp > a.Exp || (b.Exp == a.Exp && LessWords(a.Sig, b.Sig))) {
    const TWide t = a;
    a = b;
    b = t;
  }
  const int shift = a.Exp - b.Exp;
  const TWideWords small = shift >= 128 ? TWideWords{} : shift >= 64 ? TWideWords{0, b.Sig.Hi >> (shift - 64)}
                                                                     : shift == 0 ? b.Sig
                                                                                  : TWideWords{b.Sig.Hi >> shift, (b.Sig.Hi << (64 - shift)) | (b.Sig.Lo >> shift)};
  if (a.Negative == b.Negative) {
    bool carry = false;
    TWideWords sum = AddWords(a.Sig, small, carry);
    if (!carry) return {a.Negative, a.Exp, sum};
    return {a.Negative, a.Exp + 1, {TSoftExtended::IntegerBit | (sum.Hi >> 1), (sum.Hi << 63) | (sum.Lo >> 1)}};
  }
  return Normalize(a.Negative, a.Exp, SubWords(a.Sig, small));
}

TWide Multiply(TWide a, TWide b) {
  if (a.IsZero() || b.IsZero()) return {};
  // The top 128 bits of the 256-bit product of the significands.
  const TWideWords hh = MulWords(a.Sig.Hi, b.Sig.Hi), hl = MulWords(a.Sig.Hi, b.Sig.Lo);
  const TWideWords lh = MulWords(a.Sig.Lo, b.Sig.Hi), ll = MulWords(a.Sig.Lo, b.Sig.Lo);
  bool carry = false;
  TWideWords mid = AddWords({0, hl.Lo}, {0, lh.Lo}, carry);
  mid = AddWords(mid, {0, ll.Hi}, carry);
  TWideWords top = AddWords(hh, {0, hl.Hi}, carry);
  top = AddWords(top, {0, lh.Hi}, carry);
  top = AddWords(top, {0, mid.Hi}, carry);
  int exp = a.Exp + b.Exp + 1;
  if ((top.Hi & TSoftExtended::IntegerBit) == 0) {
    top = {(top.Hi << 1) | (top.Lo >> 63), (top.Lo << 1) | (mid.Lo >> 63)};
    --exp;
  }
  return {a.Negative != b.Negative, exp, top};
}

// a / n for a small whole n: long division a word at a time, the bits shifted in by the
// normalisation taken from one more word of quotient.
TWide DivideBySmall(TWide a, std::uint64_t n) {
  if (a.IsZero()) return {};
  std::uint64_t rem = 0;
  const std::uint64_t hi = a.Sig.Hi / n;
  const std::uint64_t lo = DivWords(a.Sig.Hi % n, a.Sig.Lo, n, rem);
  const std::uint64_t next = DivWords(rem, 0, n, rem);
  const int shift = CountLeadingZeros({hi, lo});
  TWideWords sig = ShiftLeftWords({hi, lo}, shift);
  if (shift > 0) sig.Lo |= next >> (64 - shift);
  return {a.Negative, a.Exp - shift, sig};
}

// 1 / b: a 64-bit first guess, then one Newton step x (2 - b x), which doubles its bits.
TWide Reciprocal(TWide b) {
  std::uint64_t rem = 0;
  // (2^127 - 1) / top word: about 2^127 / top word, in [2^63, 2^64).
  const std::uint64_t guess = DivWords((std::uint64_t(1) << 63) - 1, ~std::uint64_t(0), b.Sig.Hi, rem);
  const TWide x{b.Negative, -b.Exp - 1, {guess, 0}};
  const TWide correction = Add(FromInt(2), Negate(Multiply(b, x)));
  return Multiply(x, correction);
}

// y / x of two finite nonzero extended values, both positive: a long division of the significands
// two words deep, truncated.
TWide Quotient(const TSoftExtended::TParts& y, const TSoftExtended::TParts& x) {
  const bool atLeastOne = y.Mant >= x.Mant;
  std::uint64_t rem = atLeastOne ? y.Mant - x.Mant : y.Mant;
  const std::uint64_t w1 = DivWords(rem, 0, x.Mant, rem);
  const std::uint64_t w2 = DivWords(rem, 0, x.Mant, rem);
  if (!atLeastOne) return {false, y.Exp - x.Exp - 1, {w1, w2}};
  return {false, y.Exp - x.Exp, {TSoftExtended::IntegerBit | (w1 >> 1), (w1 << 63) | (w2 >> 1)}};
}

// atan(k / 32) for k = 1..32, as fractions of 2^128 rounded to nearest.
constexpr std::array<TWideWords, 32> AtanOfSteps = {{
    {0x07ff556eea5d892au, 0x13bcebbb6ed46311u}, {0x0ffaaddb967ef4e3u, 0x6cb2792dc0e2e0d5u},
    {0x17ee182602f10e8cu, 0x126acfcf099f06cfu}, {0x1fd5ba9aac2f6dc6u, 0x5912f313e7d111dfu},
    {0x27adddd18cc4d8b0u, 0xd1d8674940d83fa1u}, {0x2f72f6979cb6044du, 0x1ec2d3e207271d22u},
    {0x3721aea524c14408u, 0xbd88697072d54bc1u}, {0x3eb6ebf25901bac5u, 0x5b71e7bd7de885f9u},
    {0x462fd68c2fc5e098u, 0x6523a458dfc414c7u}, {0x4d89dcdc1faf2f34u, 0xe2d5da4c693d7994u},
    {0x54c2b6654735276du, 0x4cdbfbbdfbecf461u}, {0x5bd86507937bc239u, 0xc55190916e7f2242u},
    {0x62c934e5286c95b6u, 0xd0ba3748fa85146fu}, {0x6993bb0f308ff2dbu, 0x213e4af4800f389bu},
    {0x7036d3253b27be33u, 0xe318f6cb3cc65c02u}, {0x76b19c1586ed3da2u, 0xb7f222f65e1d4682u},
    {0x7d03742d50505f2eu, 0x33691e3eaee47661u}, {0x832bf4a6d9867e2au, 0x4b6a09cb61a515c1u},
    {0x892aecdfde9547b5u, 0x094478fc472b4afcu}, {0x8f005d5ef7f59f9bu, 0x5c835e1665c43748u},
    {0x94ac72c9847186f6u, 0x18c4f393f78a32f9u}, {0x9a2f80e671bdda20u, 0x4226f8e2204ff3bdu},
    {0x9f89fdc4f4b7a1ecu, 0xf8b492644f0701e0u}, {0xa4bc7d1934f70924u, 0x19a87f2a457dac9fu},
    {0xa9c7abdc4830f5c8u, 0x916a84b5be7933f6u}, {0xaeac4c38b4d8c080u, 0x14725e2f3e52070au},
    {0xb36b31c91f043691u, 0x590141744462f93au}, {0xb8053e2bc2319e73u, 0xcb2da55210a4443du},
    {0xbc7b5deae98af280u, 0xd4113006e80fb290u}, {0xc0ce85b8ac526640u, 0x89dd62c46e92fa25u},
    {0xc4ffaffabf8fbd54u, 0x8cb43d10bc9e0221u}, {0xc90fdaa22168c234u, 0xc4c6628b80dc1cd1u},
}};

// pi, its top bit at 2^1.
constexpr TWide Pi{false, 1, {0xc90fdaa22168c234u, 0xc4c6628b80dc1cd1u}};

TWide Scaled(TWide a, int exp2) {
  if (!a.IsZero()) a.Exp += exp2;
  return a;
}

// atan(t) for 0 <= t <= 1: t is taken to the nearest k / 32, whose angle is in the table, and
// the rest, atan((t - c) / (1 + t c)) with |argument| <= 1/64, is the odd series to 11 terms.
TWide AtanOfRatio(TWide t) {
  // floor(64 t), from the top bits; t < 1/64 has none.
  const int top = t.IsZero() || t.Exp < -6 ? 0 : static_cast<int>(t.Sig.Hi >> (63 - (t.Exp + 6)));
  const int k = (top + 1) >> 1;
  TWide u = t, base;
  if (k != 0) {
    const TWide c = FromInt(static_cast<std::uint64_t>(k), -5);
    u = Multiply(Add(t, Negate(c)), Reciprocal(Add(FromInt(1), Multiply(t, c))));
    base = FromFraction(AtanOfSteps[static_cast<std::size_t>(k - 1)]);
  }
  // atan u = u (1 - u^2 (1/3 - u^2 (1/5 - ...))), |u|^2 <= 2^-12, so 11 terms reach 2^-132.
  static const std::array<TWide, 11> inverseOdd = [] {
    std::array<TWide, 11> r;
    for (std::size_t n = 0; n < r.size(); ++n) r[n] = DivideBySmall(FromInt(1), 2 * n + 1);
    return r;
  }();
  const TWide u2 = Multiply(u, u);
  TWide sum = inverseOdd.back();
  for (std::size_t n = inverseOdd.size() - 1; n-- > 0;) sum = Add(inverseOdd[n], Negate(Multiply(u2, sum)));
  return Add(base, Multiply(u, sum));
}

TSoftExtended Round(TWide a) {
  if (a.IsZero()) return TSoftExtended::Zero(a.Negative);
  return TSoftExtended::RoundAndPack(a.Negative, a.Exp, a.Sig);
}

}  // namespace

TSoftExtended Atan2(TSoftExtended y, TSoftExtended x) {
  if (y.IsNaN() || x.IsNaN()) return TSoftExtended::PropagateNaN(y, x);
  const bool below = y.SignBit(), left = x.SignBit();
  TWide angle;  // of (|x|, |y|), 0..pi/2
  bool fromLeft = left;
  if (y.IsZero()) {
    // atan2(+-0, +0) is +-0 and atan2(+-0, -0) is +-pi, as for any x on that side.
  } else if (x.IsZero()) {
    angle = Scaled(Pi, -1);
    fromLeft = false;
  } else if (y.IsInf()) {
    angle = x.IsInf() ? Scaled(Pi, -2) : Scaled(Pi, -1);
    fromLeft = left && x.IsInf();
  } else if (x.IsInf()) {
    // finite over infinite: the angle of the axis
  } else {
    TSoftExtended::TParts py = Abs(y).Parts(), px = Abs(x).Parts();
    const bool steep = py.Exp > px.Exp || (py.Exp == px.Exp && py.Mant > px.Mant);
    if (steep) {
      angle = Add(Scaled(Pi, -1), Negate(AtanOfRatio(Quotient(px, py))));
    } else {
      angle = AtanOfRatio(Quotient(py, px));
    }
  }
  if (fromLeft) angle = Add(Pi, Negate(angle));
  angle.Negative = below;
  return Round(angle);
}
