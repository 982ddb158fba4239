// The software extended type against the x87 itself: every operation and conversion the game
// uses, bit for bit, over a million random operands each and the hard cases.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstring>
#include <functional>
#include <utility>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Extended.h"
#include "tests/framework/ResultDigest.h"

namespace {

std::string Hex(TSoftExtended v) {
  char text[40];
  std::snprintf(text, sizeof text, "%04x:%016llx", v.SignExponent(), static_cast<unsigned long long>(v.Significand()));
  return text;
}

bool SameBits(TSoftExtended a, TSoftExtended b) {
  return a.SignExponent() == b.SignExponent() && a.Significand() == b.Significand();
}

constexpr std::uint64_t Top = TSoftExtended::IntegerBit;

TSoftExtended Make(bool negative, int exponent, std::uint64_t significand) {
  return TSoftExtended::FromBits(static_cast<std::uint16_t>((negative ? 0x8000 : 0) | exponent), significand);
}

// Values where rounding, ranges and special cases are decided: zeros, infinities and NaN (quiet
// and signalling, either sign); the ends of the extended range and of the subnormals; the ends of
// double's and float's ranges and their subnormals, with the halves between them; halves and
// near-halves around whole numbers and the 64-bit integer range; significands of all ones.
std::vector<TSoftExtended> HardValues() {
  std::vector<TSoftExtended> v;
  const int bias = TSoftExtended::Bias;
  for (bool neg : {false, true}) {
    v.push_back(TSoftExtended::Zero(neg));
    v.push_back(TSoftExtended::Infinity(neg));
    v.push_back(Make(neg, 0x7FFF, Top | TSoftExtended::QuietBit | 0x1234));  // quiet NaN
    v.push_back(Make(neg, 0x7FFF, Top | 0x5678));                             // signalling NaN
    v.push_back(Make(neg, 0x7FFF, Top | TSoftExtended::QuietBit));
    v.push_back(Make(neg, 0x7FFE, ~std::uint64_t(0)));  // the largest finite
    v.push_back(Make(neg, 0x7FFE, Top));
    v.push_back(Make(neg, 1, Top));                    // the smallest normal
    v.push_back(Make(neg, 0, Top - 1));                // the largest subnormal
    v.push_back(Make(neg, 0, 1));                      // the smallest subnormal
    v.push_back(Make(neg, 0, 3));
    v.push_back(Make(neg, bias, Top));                 // 1
    v.push_back(Make(neg, bias, Top | 1));             // 1 + ulp
    v.push_back(Make(neg, bias - 1, ~std::uint64_t(0)));  // 1 - ulp/2
    v.push_back(Make(neg, bias + 1, Top | (Top >> 1)));   // 3
    v.push_back(Make(neg, bias - 1, Top));             // 0.5
    v.push_back(Make(neg, bias, Top | (Top >> 1)));    // 1.5
    v.push_back(Make(neg, bias + 1, Top | (Top >> 2)));   // 2.5
    v.push_back(Make(neg, bias + 63, Top));            // 2^63
    v.push_back(Make(neg, bias + 62, ~std::uint64_t(0)));      // 2^63 - 0.5
    v.push_back(Make(neg, bias + 62, ~std::uint64_t(0) - 1));  // 2^63 - 1
    v.push_back(Make(neg, bias + 63, Top | 1));        // 2^63 + 1
    v.push_back(Make(neg, bias + 31, Top | (Top >> 32)));      // 2^31 + 0.5
    for (double d : {1e300, 0.1, 1.0 / 3, 9.2e18, 5e-324, 2.2250738585072014e-308, 1.7976931348623157e308})
      v.push_back(neg ? -TSoftExtended(d) : TSoftExtended(d));
    // Around double's and float's largest finite (rounding up to infinity or not) and below
    // their smallest subnormals (rounding to it or to zero), each with its half-way point.
    for (int e : {1023, -1075, -1074, -1022, 127, -150, -149, -126}) {
      v.push_back(Make(neg, bias + e, Top));
      v.push_back(Make(neg, bias + e, ~std::uint64_t(0)));
      v.push_back(Make(neg, bias + e, Top | (Top >> 1)));
      v.push_back(Make(neg, bias + e, 0xFFFFFFFFFFFFF800u));  // all 53 bits of a double set
      v.push_back(Make(neg, bias + e, 0xFFFFFFFFFFFFFC00u));  // and the half below them
      v.push_back(Make(neg, bias + e, 0xFFFFFF8000000000u));  // likewise for float's 24
    }
  }
  return v;
}

// Random operands of many kinds, weighted towards where faults hide. Each draw is a statement of
// its own (never two in one call's arguments, whose order each compiler picks), so that every
// machine and compiler draws the same stream.
class TOperands {
 public:
  explicit TOperands(std::uint64_t seed) : rng_(seed), hard_(HardValues()) {}

  TSoftExtended Next() {
    const int bias = TSoftExtended::Bias;
    const bool neg = Bit();
    const std::uint64_t r = rng_();
    switch (Below(20)) {
      case 0: case 1: case 2: case 3: case 4: case 5: case 6:  // ordinary numbers
        return Make(neg, bias - 70 + Below(140), Top | r);
      case 7: case 8:  // short significands: exact products and quotients, ties
        return Make(neg, bias - 40 + Below(80), Top | (r & 0xFFFFFFFF00000000u));
      case 9: {  // all ones, or one bit above the integer bit: carries into the exponent
        const int e = bias - 40 + Below(80);
        return Make(neg, e, Bit() ? ~std::uint64_t(0) >> Below(3) | Top : Top | (r & 7));
      }
      case 10:  // the whole exponent range
        return Make(neg, 1 + Below(0x7FFE), Top | r);
      case 11:  // subnormals of every length
        return Make(neg, 0, r >> (1 + Below(63)));
      case 12:  // near the ends of the range
        return Make(neg, Bit() ? 1 + Below(70) : 0x7FFE - Below(70), Top | r);
      case 13: {  // near double's and float's range ends, where narrowing overflows or underflows
        static constexpr int edges[] = {1024, 1023, -1022, -1074, -1075, 128, 127, -126, -149, -150};
        const int edge = edges[Below(10)];
        const int e = edge - 2 + Below(5);
        return Make(neg, bias + e, Top | (Bit() ? r : r & 0xFFFFFFFFFFFFF800u));
      }
      case 14: {  // whole numbers, halves and quarters, up to and beyond the 64-bit range
        const int e = Bit() ? Below(64) : 60 + Below(6);
        std::uint64_t sig = Top | r;
        const int below = 63 - e - 2;  // the bits below a quarter
        if (below > 0) sig = (sig >> below) << below;
        return Make(neg, bias + e, sig);
      }
      case 15:  // NaN of every kind, infinities, zeros
        switch (Below(4)) {
          case 0: return Make(neg, 0x7FFF, Top | TSoftExtended::QuietBit | (r >> 2));
          case 1: return Make(neg, 0x7FFF, Top | ((r >> 2) | 1));
          case 2: return TSoftExtended::Infinity(neg);
          default: return TSoftExtended::Zero(neg);
        }
      default:
        return hard_[Below(static_cast<int>(hard_.size()))];
    }
  }

  // A second operand, often made from the first so that the two interact: the same magnitude a
  // few units in the last place away (cancellation), an opposite, or the same bits 63 to 66
  // places lower (ties and near-ties when adding).
  TSoftExtended Partner(TSoftExtended a) {
    if (!a.IsFinite() || a.IsZero() || Below(3) != 0) return Next();
    const int e = a.Exponent();
    switch (Below(4)) {
      case 0: {
        const std::uint64_t sig = a.Significand() + Below(9) - 4;
        return Make(Bit(), e, e ? sig | Top : sig);
      }
      case 1:
        return -a;
      case 2: {
        const int lower = e - 63 - Below(4);
        if (lower < 1) return Next();
        const bool negative = Bit();
        return Make(negative, lower, Bit() ? Top : Top | rng_());
      }
      default: {
        const bool negative = Bit();
        return Make(negative, e, Top | (rng_() & 0xFFFFFFFF00000000u));
      }
    }
  }

  std::uint64_t Bits() { return rng_(); }
  int Below(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
  bool Bit() { return rng_() & 1; }

 private:
  std::mt19937_64 rng_;
  std::vector<TSoftExtended> hard_;
};

#ifdef TARNYX_X87_LONG_DOUBLE

struct TBinaryCase {
  const char* Name;
  TSoftExtended (*Soft)(TSoftExtended, TSoftExtended);
  long double (*Hard)(long double, long double);
};

void PrintTo(const TBinaryCase& c, std::ostream* os) { *os << c.Name; }

class SoftExtendedArithmetic : public testing::TestWithParam<TBinaryCase> {};

// Every pair of hard values, then a million random pairs.
TEST_P(SoftExtendedArithmetic, MatchesTheX87BitForBit) {
  const TBinaryCase& op = GetParam();
  const std::vector<TSoftExtended> hard = HardValues();
  int failures = 0;
  auto check = [&](TSoftExtended a, TSoftExtended b) {
    const TSoftExtended soft = op.Soft(a, b);
    const TSoftExtended hw = ToSoft(op.Hard(ToHardware(a), ToHardware(b)));
    if (!SameBits(soft, hw) && ++failures <= 10)
      ADD_FAILURE() << op.Name << "(" << Hex(a) << ", " << Hex(b) << ") = " << Hex(soft) << ", the x87 gives " << Hex(hw);
  };
  for (TSoftExtended a : hard)
    for (TSoftExtended b : hard) check(a, b);
  TOperands operands(std::hash<std::string>{}(op.Name));
  for (int i = 0; i < 1000000; ++i) {
    const TSoftExtended a = operands.Next();
    check(a, operands.Partner(a));
  }
  EXPECT_EQ(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, SoftExtendedArithmetic,
    testing::Values(TBinaryCase{"add", [](TSoftExtended a, TSoftExtended b) { return a + b; },
                                [](long double a, long double b) { return a + b; }},
                    TBinaryCase{"subtract", [](TSoftExtended a, TSoftExtended b) { return a - b; },
                                [](long double a, long double b) { return a - b; }},
                    TBinaryCase{"multiply", [](TSoftExtended a, TSoftExtended b) { return a * b; },
                                [](long double a, long double b) { return a * b; }},
                    TBinaryCase{"divide", [](TSoftExtended a, TSoftExtended b) { return a / b; },
                                [](long double a, long double b) { return a / b; }}),
    [](const testing::TestParamInfo<TBinaryCase>& info) { return std::string(info.param.Name); });

// One-operand operations and conversions: each gives a description of its result on both sides.
// An outcome of any type as two words: the bits of an extended, double or float result, an
// integer, or the answers of the six comparisons.
using TOutcome = std::pair<std::uint64_t, std::uint64_t>;

TOutcome Of(TSoftExtended v) { return {v.SignExponent(), v.Significand()}; }
TOutcome Of(long double v) { return Of(ToSoft(v)); }
template <class T>
TOutcome Of(T v) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof v);
  return {bits, sizeof v};
}

template <class T>
TOutcome Order(T a, T b) {
  return {std::uint64_t(a < b) | std::uint64_t(a <= b) << 1 | std::uint64_t(a == b) << 2 |
              std::uint64_t(a != b) << 3 | std::uint64_t(a >= b) << 4 | std::uint64_t(a > b) << 5,
          0};
}

std::string Hex(TOutcome o) {
  char text[40];
  std::snprintf(text, sizeof text, "%llx:%016llx", static_cast<unsigned long long>(o.first),
                static_cast<unsigned long long>(o.second));
  return text;
}

struct TUnaryCase {
  const char* Name;
  TOutcome (*Soft)(TSoftExtended);
  TOutcome (*Hard)(long double);
};

void PrintTo(const TUnaryCase& c, std::ostream* os) { *os << c.Name; }

class SoftExtendedOneOperand : public testing::TestWithParam<TUnaryCase> {};

TEST_P(SoftExtendedOneOperand, MatchesTheX87) {
  const TUnaryCase& op = GetParam();
  int failures = 0;
  auto check = [&](TSoftExtended a) {
    const TOutcome soft = op.Soft(a), hw = op.Hard(ToHardware(a));
    if (soft != hw && ++failures <= 10)
      ADD_FAILURE() << op.Name << "(" << Hex(a) << ") = " << Hex(soft) << ", the x87 gives " << Hex(hw);
  };
  for (TSoftExtended a : HardValues()) check(a);
  TOperands operands(std::hash<std::string>{}(op.Name));
  for (int i = 0; i < 1000000; ++i) check(operands.Next());
  EXPECT_EQ(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, SoftExtendedOneOperand,
    testing::Values(
        TUnaryCase{"sqrt", [](TSoftExtended a) { return Of(Sqrt(a)); }, [](long double a) { return Of(X87::Sqrt(a)); }},
        TUnaryCase{"sqrt_of_square",  // exact roots, and the roots of their neighbours
                   [](TSoftExtended a) { return Of(Sqrt(a * a)); }, [](long double a) { return Of(X87::Sqrt(a * a)); }},
        TUnaryCase{"to_double", [](TSoftExtended a) { return Of(static_cast<double>(a)); },
                   [](long double a) { return Of(static_cast<double>(a)); }},
        TUnaryCase{"to_float", [](TSoftExtended a) { return Of(static_cast<float>(a)); },
                   [](long double a) { return Of(static_cast<float>(a)); }},
        TUnaryCase{"round_to_int64", [](TSoftExtended a) { return Of(RoundToInt64(a)); },
                   [](long double a) { return Of(X87::RoundToInt64(a)); }},
        TUnaryCase{"truncate_to_int64", [](TSoftExtended a) { return Of(TruncToInt64(a)); },
                   [](long double a) { return Of(X87::TruncToInt64(a)); }},
        TUnaryCase{"round_to_integral", [](TSoftExtended a) { return Of(TSoftExtended::RoundToIntegral(a)); },
                   [](long double a) { return Of(std::nearbyint(a)); }},
        TUnaryCase{"round_to_int", [](TSoftExtended a) { return Of(RoundToInt(a)); },
                   [](long double a) { return Of(X87::RoundToInt(a)); }},
        TUnaryCase{"negate", [](TSoftExtended a) { return Of(-a); }, [](long double a) { return Of(-a); }},
        TUnaryCase{"abs", [](TSoftExtended a) { return Of(Abs(a)); }, [](long double a) { return Of(std::fabs(a)); }},
        TUnaryCase{"compare_with_itself_and_its_opposite",
                   [](TSoftExtended a) { return TOutcome{Order(a, a).first, Order(a, -a).first}; },
                   [](long double a) { return TOutcome{Order(a, a).first, Order(a, -a).first}; }},
        TUnaryCase{"compare_with_neighbours",
                   [](TSoftExtended a) {
                     return TOutcome{Order(a, TSoftExtended(1.5)).first | Order(a, TSoftExtended::Zero(true)).first << 8,
                                     Order(a, a * TSoftExtended(1.0000000000000002)).first};
                   },
                   [](long double a) {
                     return TOutcome{Order(a, 1.5L).first | Order(a, -0.0L).first << 8,
                                     Order(a, a * static_cast<long double>(1.0000000000000002)).first};
                   }}),
    [](const testing::TestParamInfo<TUnaryCase>& info) { return std::string(info.param.Name); });

// Comparisons of unrelated pairs, and the conversions into the type from every source the game
// widens: double and float of any bit pattern, integers of every width.
TEST(SoftExtendedConversions, FromDoubleFloatAndIntegersMatchTheX87) {
  TOperands operands(7);
  int failures = 0;
  auto expect = [&](const char* from, TOutcome input, TSoftExtended soft, long double hw) {
    if (!SameBits(soft, ToSoft(hw)) && ++failures <= 10)
      ADD_FAILURE() << "from " << from << " " << Hex(input) << ": " << Hex(soft) << ", the x87 gives " << Hex(ToSoft(hw));
  };
  for (int i = 0; i < 1000000; ++i) {
    const std::uint64_t bits = operands.Bits();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    expect("double", Of(d), TSoftExtended(d), static_cast<long double>(d));
    const auto fbits = static_cast<std::uint32_t>(bits >> 17);
    float f;
    std::memcpy(&f, &fbits, sizeof f);
    expect("float", Of(f), TSoftExtended(f), static_cast<long double>(f));
    const auto i64 = static_cast<std::int64_t>(bits >> operands.Below(64));
    expect("int64", Of(i64), TSoftExtended(i64), static_cast<long double>(i64));
    expect("int64", Of(-i64), TSoftExtended(-i64), static_cast<long double>(-i64));
    const auto i32 = static_cast<std::int32_t>(bits);
    expect("int32", Of(i32), TSoftExtended(i32), static_cast<long double>(i32));
    expect("uint64", Of(bits), TSoftExtended(bits), static_cast<long double>(bits));
    const TSoftExtended a = operands.Next(), b = operands.Next();
    if (Order(a, b) != Order(ToHardware(a), ToHardware(b)) && ++failures <= 10)
      ADD_FAILURE() << "order of " << Hex(a) << " and " << Hex(b);
  }
  for (std::int64_t i : {INT64_MIN, INT64_MAX, std::int64_t(0), std::int64_t(-1)})
    expect("int64", Of(i), TSoftExtended(i), static_cast<long double>(i));
  EXPECT_EQ(failures, 0);
}

// The game's constants are written as quotients of whole numbers; they are the decimals.
TEST(SoftExtendedConversions, QuotientsOfWholeNumbersAreTheDecimals) {
  EXPECT_TRUE(SameBits(TSoftExtended(4058451049) / 100000000, ToSoft(40.58451049L)));
  EXPECT_TRUE(SameBits(TSoftExtended(121) / 10, ToSoft(12.1L)));
  EXPECT_TRUE(SameBits(TSoftExtended(5) / 100, ToSoft(0.05L)));
  EXPECT_TRUE(SameBits(TSoftExtended(9.2e18), ToSoft(9.2e18L)));
}

// The hardware truncation rounds in the unit's mode and steps back toward zero: exact in every
// mode, at the halves (where rounding to even goes either way) and just below 2^63 (where it
// would round out of the range).
TEST(X87Truncation, IsTowardZeroInEveryRoundingModeAndAtTheRangesEnds) {
  const long double values[] = {0.0L, -0.0L, 0.5L, -0.5L, 1.5L, -1.5L, 2.5L, -2.5L, 2.9L, -2.9L,
                                0x1p62L + 0.5L, -0x1p62L - 0.5L, 0x1p63L - 1, 0x1p63L - 0.5L,
                                -0x1p63L + 0.5L, -0x1p63L, 0x1p63L, -0x1p63L - 1, 1e30L, -1e30L};
  const std::int64_t expected[] = {0, 0, 0, 0, 1, -1, 2, -2, 2, -2,
                                   std::int64_t(1) << 62, -(std::int64_t(1) << 62), INT64_MAX,
                                   INT64_MAX, INT64_MIN + 1, INT64_MIN, INT64_MAX, INT64_MIN,
                                   INT64_MAX, INT64_MIN};
  const int before = std::fegetround();
  for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    std::fesetround(mode);
    for (std::size_t i = 0; i < std::size(values); ++i) {
      const long double v = values[i];
      EXPECT_EQ(X87::TruncToInt64(v), expected[i]) << "mode " << mode << ", value " << double(v);
    }
  }
  std::fesetround(before);
}

#endif  // TARNYX_X87_LONG_DOUBLE

// What holds without the hardware to compare with: the rules every machine must follow.
TEST(SoftExtendedRules, RoundingToIntegersSaturatesAndHalvesGoToEven) {
  EXPECT_EQ(RoundToInt64(TSoftExtended(2.5)), 2);
  EXPECT_EQ(RoundToInt64(TSoftExtended(3.5)), 4);
  EXPECT_EQ(RoundToInt64(TSoftExtended(-2.5)), -2);
  EXPECT_EQ(RoundToInt64(TSoftExtended(0.5)), 0);
  EXPECT_EQ(RoundToInt64(TSoftExtended(1e30)), INT64_MAX);
  EXPECT_EQ(RoundToInt64(TSoftExtended(-1e30)), INT64_MIN);
  EXPECT_EQ(RoundToInt64(TSoftExtended::DefaultNaN()), 0);
  EXPECT_EQ(RoundToInt64(TSoftExtended::Infinity(false)), INT64_MAX);
  EXPECT_EQ(TruncToInt64(TSoftExtended(-2.9)), -2);
  EXPECT_EQ(RoundToInt(TSoftExtended(3e9)), INT_MAX);
  EXPECT_EQ(RoundToInt(TSoftExtended(-3e9)), INT_MIN);
  EXPECT_EQ(RoundToInt(TSoftExtended(-0.5)), 0);
  EXPECT_EQ(RoundToInt(TSoftExtended(1023.5)), 1024);
}

// The hardware type only where long double is the x87's 80-bit one, and not when the build asks for
// the software type; on arm64 (a 128-bit long double) the software one without being asked.
#if LDBL_MANT_DIG != 64 || defined(TARNYX_PORTABLE_EXTENDED)
static_assert(std::is_same_v<Extended, TSoftExtended>);
#endif

// The game's constants are worked out while compiling; square roots too, by their own path.
static_assert(TSoftExtended(4058451049) / 100000000 > 40);
static_assert(Sqrt(TSoftExtended(16)) == TSoftExtended(4));
static_assert(Sqrt(TSoftExtended(2)) > TSoftExtended(14142135623) / 10000000000 &&
              Sqrt(TSoftExtended(2)) < TSoftExtended(14142135624) / 10000000000);
static_assert(Sqrt(TSoftExtended(0xFFFFFFFFFFFFFFFFu) * TSoftExtended(0xFFFFFFFFFFFFFFFFu)) == TSoftExtended(0xFFFFFFFFFFFFFFFFu));

TEST(SoftExtendedRules, InvalidOperationsGiveTheDefaultNaN) {
  const TSoftExtended inf = TSoftExtended::Infinity(false), zero;
  for (TSoftExtended r : {inf - inf, zero / zero, inf * zero, inf / inf, Sqrt(TSoftExtended(-1))})
    EXPECT_TRUE(SameBits(r, TSoftExtended::DefaultNaN())) << Hex(r);
  EXPECT_TRUE(SameBits(TSoftExtended(1) / zero, inf));
  EXPECT_TRUE(SameBits(Sqrt(TSoftExtended::Zero(true)), TSoftExtended::Zero(true)));
}

// Where the compiler has no 128-bit integer the word-by-word versions do the work: they must give
// the same products, quotients and remainders.
TEST(WideWords, WordByWordVersionsMatchTheCompilers) {
  std::mt19937_64 rng(11);
  for (int i = 0; i < 1000000; ++i) {
    const std::uint64_t a = rng() >> (rng() % 64), b = rng() >> (rng() % 64);
    const TWideWords p = MulWords(a, b), q = MulWordsPortable(a, b);
    ASSERT_EQ(p.Hi, q.Hi) << a << " * " << b;
    ASSERT_EQ(p.Lo, q.Lo) << a << " * " << b;
    const std::uint64_t d = b | (i % 2 ? TSoftExtended::IntegerBit : 1);
    const std::uint64_t hi = i % 3 == 0 ? d - 1 : a % d, lo = rng();
    std::uint64_t r1 = 0, r2 = 0;
    ASSERT_EQ(DivWords(hi, lo, d, r1), DivWordsPortable(hi, lo, d, r2)) << hi << ":" << lo << " / " << d;
    ASSERT_EQ(r1, r2) << hi << ":" << lo << " % " << d;
  }
}

// One stream of operands through every operation and conversion, each operation's results
// digested. The x87 build checks every result against the hardware, so the digests below are the
// x87's; a machine without it (arm64, WebAssembly) must reach the same digests, which proves its
// software type gives the x87's bits there too.
using TWords = std::pair<std::uint64_t, std::uint64_t>;
TWords WordsOf(TSoftExtended v) { return {v.SignExponent(), v.Significand()}; }
TWords WordsOf(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return {bits, 8};
}
TWords WordsOf(float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return {bits, 4};
}
TWords WordsOf(std::int64_t v) { return {static_cast<std::uint64_t>(v), 0}; }
template <class T>
TWords OrderOf(T a, T b) {
  return {std::uint64_t(a < b) | std::uint64_t(a <= b) << 1 | std::uint64_t(a == b) << 2 | std::uint64_t(a != b) << 3 |
              std::uint64_t(a >= b) << 4 | std::uint64_t(a > b) << 5,
          0};
}

TEST(SoftExtendedDigest, EveryOperationGivesTheSameBitsOnEveryMachine) {
  const char* const names[] = {"add", "subtract", "multiply", "divide", "sqrt", "to_double", "to_float",
                               "round_to_int64", "truncate_to_int64", "round_to_integral", "from_double",
                               "from_int64", "order"};
  constexpr int Operations = sizeof names / sizeof names[0];
  // The x87's: regenerate by running this test on x86-64, where it checks each result first.
  const std::uint64_t expected[Operations] = {
      0x8CB6D53E36608A43u, 0xE1F7AE3254C5E588u, 0xA16330B0DB4383E3u, 0xE6C3F2F2773A8E4Au,
      0xC660332CC8C26621u, 0x5E2A8657BE04B8DDu, 0x3B5CAD30CE7F5368u, 0xEE3F9BDEC3D7A9CCu,
      0x693768571C64ABF4u, 0x78D6CAD14EA071EFu, 0x8F85F0DFB66047A1u, 0x3FE9F722CA6E55FAu,
      0x84CE9D40169DDAD5u};
  TResultDigest digests[Operations];
  int mismatches[Operations] = {};
  TOperands operands(2718);
  for (int i = 0; i < 500000; ++i) {
    const TSoftExtended a = operands.Next(), b = operands.Partner(a);
    const std::uint64_t bits = operands.Bits();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    const auto magnitude = static_cast<std::int64_t>(bits >> operands.Below(64));
    const std::int64_t i64 = operands.Bit() ? -magnitude : magnitude;
    const TWords soft[Operations] = {
        WordsOf(a + b), WordsOf(a - b), WordsOf(a * b), WordsOf(a / b), WordsOf(Sqrt(a)),
        WordsOf(static_cast<double>(a)), WordsOf(static_cast<float>(a)), WordsOf(RoundToInt64(a)),
        WordsOf(TruncToInt64(a)), WordsOf(TSoftExtended::RoundToIntegral(a)), WordsOf(TSoftExtended(d)),
        WordsOf(TSoftExtended(i64)), OrderOf(a, b)};
    for (int op = 0; op < Operations; ++op) {
      digests[op].Add(soft[op].first);
      digests[op].Add(soft[op].second);
    }
#ifdef TARNYX_X87_LONG_DOUBLE
    const long double x = ToHardware(a), y = ToHardware(b);
    const TWords hard[Operations] = {
        WordsOf(ToSoft(x + y)), WordsOf(ToSoft(x - y)), WordsOf(ToSoft(x * y)), WordsOf(ToSoft(x / y)),
        WordsOf(ToSoft(X87::Sqrt(x))), WordsOf(static_cast<double>(x)), WordsOf(static_cast<float>(x)),
        WordsOf(X87::RoundToInt64(x)), WordsOf(X87::TruncToInt64(x)), WordsOf(ToSoft(std::nearbyint(x))),
        WordsOf(ToSoft(static_cast<long double>(d))), WordsOf(ToSoft(static_cast<long double>(i64))), OrderOf(x, y)};
    for (int op = 0; op < Operations; ++op)
      if (soft[op] != hard[op] && ++mismatches[op] <= 3)
        ADD_FAILURE() << names[op] << "(" << Hex(a) << ", " << Hex(b) << "): not the x87's result";
#endif
  }
  for (int op = 0; op < Operations; ++op) {
    EXPECT_EQ(mismatches[op], 0) << names[op];
    char digest[20];
    std::snprintf(digest, sizeof digest, "0x%016llX", static_cast<unsigned long long>(digests[op].Value()));
    EXPECT_EQ(digests[op].Value(), expected[op]) << names[op] << ": digest " << digest;
  }
}

}  // namespace
