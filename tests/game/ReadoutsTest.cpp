// The readouts' texts and number formats.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "framework/Extended.h"
#include "game/Readouts.h"
#include "tests/framework/ResultDigest.h"

namespace {

std::string Shown(const std::string& number) {
  std::string s = number;
  for (char& c : s)
    if (c == '.') c = LocaleDecimalSeparator();
  return "Relative speed: " + s + " km/s";
}

TEST(Readouts, SpeedIsTenTimesToOneDecimalInGeneralFormat) {
  EXPECT_EQ(SpeedText(0), Shown("0"));
  EXPECT_EQ(SpeedText(0.04), Shown("0.4"));
  EXPECT_EQ(SpeedText(0.125), Shown("1.2"));  // 12.5 rounds to the even 12
  EXPECT_EQ(SpeedText(0.135), Shown("1.4"));  // 13.5 rounds to the even 14
  EXPECT_EQ(SpeedText(1), Shown("10"));
  EXPECT_EQ(SpeedText(0.2f), Shown("2"));  // single-precision 0.2 is a hair above 0.2
  EXPECT_EQ(SpeedText(123456.78), Shown("1234567.8"));
}

TEST(Readouts, HugeAndOddSpeedsStillReadAsNumbers) {
  EXPECT_EQ(SpeedText(1e17), Shown("1e+18"));  // beyond rounding to tenths: ten times, 15 digits
  EXPECT_EQ(SpeedText(123456789012.34567), Shown("1234567890123.5"));
  EXPECT_EQ(SpeedText(-0.25), Shown("-2.5"));
  EXPECT_EQ(SpeedText(std::numeric_limits<double>::infinity()), Shown("inf"));
  EXPECT_EQ(SpeedText(1.7976931348623157e308), Shown("1.79769313486232e+309"));
}

#ifdef TARNYX_X87_LONG_DOUBLE
// The readout as it was first written: the extended hundredfold speed rounded to whole tenths,
// then the C++ library's general format of that extended value with 15 digits.
std::string SpeedTextByTheLibrary(double speed) {
  const long double hundredfold = static_cast<long double>(speed) * 100;
  const long double shown = std::fabs(hundredfold) < 9.2e18L ? static_cast<long double>(std::llrint(hundredfold)) / 10
                                                             : static_cast<long double>(speed) * 10;
  char digits[64];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, shown, std::chars_format::general, 15);
  return Shown(std::string(digits, end));
}

// Every speed a ship reaches in tenths and hundredths (the halves among them), random speeds of
// every size, and the values whose shown tenths lie exactly half-way at the 16th digit.
TEST(Readouts, SpeedTextIsTheLibrarysGeneralFormatForEveryKindOfSpeed) {
  std::vector<double> speeds;
  for (int i = 0; i <= 100000; ++i) speeds.push_back(i / 1000.0), speeds.push_back(i * 0.005);
  std::mt19937_64 rng(9);
  for (int i = 0; i < 100000; ++i) {
    double d;
    const std::uint64_t bits = rng();
    std::memcpy(&d, &bits, sizeof d);
    speeds.push_back(d);
    speeds.push_back(std::ldexp(static_cast<double>(rng() >> 11), -static_cast<int>(rng() % 80)));
  }
  for (std::int64_t n = 0; n < 2000; ++n) speeds.push_back((1e15 + static_cast<double>(n)) / 100);
  for (double s : {0.0, -0.0, 9.2e16, 9.19999999999999e16, 1e308, -1e308, 5e-324, std::nan(""), -std::nan("")})
    speeds.push_back(s);
  int failures = 0;
  for (double s : speeds) {
    if (SpeedText(s) != SpeedTextByTheLibrary(s) && ++failures <= 10)
      ADD_FAILURE() << "speed " << std::hexfloat << s << ": " << SpeedText(s) << " against " << SpeedTextByTheLibrary(s);
  }
  EXPECT_EQ(failures, 0);
}

#endif

// The formatter on its own, for any extended value and precision: on x86-64 against the library,
// and everywhere to the digest of the texts there, so that every machine writes the same text.
TEST(Readouts, GeneralFormatOfAnyExtendedValueIsTheLibrarys) {
  std::mt19937_64 rng(10);
  int failures = 0;
  TResultDigest digest;
  for (int i = 0; i < 100000; ++i) {
    // Mostly ordinary sizes; a few from the whole range and the subnormals, whose digits are long
    // to work out.
    const bool wide = i % 400 == 0, subnormal = i % 2000 == 1;
    const int exponent = subnormal ? 0 : wide ? 1 + static_cast<int>(rng() % 0x7FFE) : 16383 - 80 + static_cast<int>(rng() % 160);
    const std::uint64_t bits = rng();  // drawn apart, so that every compiler draws in the same order
    const std::uint64_t significand = subnormal ? bits >> (1 + rng() % 63) : bits | TSoftExtended::IntegerBit;
    const TSoftExtended v = TSoftExtended::FromBits(static_cast<std::uint16_t>((rng() & 0x8000) | exponent), significand);
    const int precision = 1 + static_cast<int>(rng() % 40);
    char ours[80];
    const std::string a(ours, FormatGeneral(ours, v, precision));
    digest.Add(a);
#ifdef TARNYX_X87_LONG_DOUBLE
    char library[80];
    const auto [end, ec] = std::to_chars(library, library + sizeof library, ToHardware(v), std::chars_format::general, precision);
    if (a != std::string(library, end) && ++failures <= 10)
      ADD_FAILURE() << std::hexfloat << ToHardware(v) << " to " << precision << " digits: " << a << " against " << std::string(library, end);
#endif
  }
  EXPECT_EQ(failures, 0);
  // The library's texts, digested on x86-64.
  EXPECT_EQ(digest.Value(), 0xED6CCA61E0663F46u) << std::hex << std::uppercase << "digest 0x" << digest.Value();
}

TEST(Readouts, FrameRateAndHull) {
  EXPECT_EQ(FrameRateText(0), "0FPS");
  EXPECT_EQ(FrameRateText(50), "50FPS");
  EXPECT_EQ(HullText(100), "Hull Strength:  100%");
  EXPECT_EQ(HullText(0), "Hull Strength:  0%");
}

}  // namespace
