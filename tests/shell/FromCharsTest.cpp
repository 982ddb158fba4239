// The locale-independent reading of doubles agrees with std::from_chars of this build's library:
// how much it reads, whether it fails and why, and the value to the last bit.
#include "shell/FromChars.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

void ExpectSameAsTheLibrary(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  double ours = 12345.0, theirs = 12345.0;
  auto a = FromChars(first, last, ours);
  auto b = std::from_chars(first, last, theirs);
  ASSERT_EQ(a.ptr - first, b.ptr - first) << '"' << text << '"';
  ASSERT_EQ(a.ec, b.ec) << '"' << text << '"';
  if (a.ec != std::errc()) {
    EXPECT_EQ(ours, 12345.0) << "a failed read leaves the value alone: \"" << text << '"';
    return;
  }
  if (std::isnan(theirs)) {
    EXPECT_TRUE(std::isnan(ours)) << text;
    EXPECT_EQ(std::signbit(ours), std::signbit(theirs)) << text;
  } else {
    EXPECT_EQ(std::memcmp(&ours, &theirs, sizeof ours), 0) << '"' << text << "\": " << ours << " vs " << theirs;
  }
}

TEST(FromChars, EdgesAgreeWithTheLibrary) {
  const std::vector<std::string> cases = {
      "", "-", ".", "-.", "5.", ".5", "-.5", "0", "-0", "007", "1e", "1e+", "1e-x", "1E5", "1e5x",
      "+1", " 1", "1 ", "1.2.3", "1..2", "e5", "-e5", "0x1p3", "inf", "-inf", "INF", "Infinity",
      "-infinityX", "infinit", "nan", "-NaN", "nan(123)", "nan(", "nan(a b)", "nan()", "nan(_x9)",
      "0.1", "2.5e1", "9007199254740993", "9007199254740993.00000000000001", "9007199254740995",
      "1.7976931348623157e308", "1.7976931348623159e308", "2.2250738585072011e-308",
      "4.9406564584124654e-324", "2e-324", "3e-324", "1e-310", "1e-400", "1e400", "-1e400",
      "0e999999", "00000.000001e-320", "1e999999999999999999", "1e-99999999999999999999",
      "0.000000000000000000000000000000000000000000000000001e-300", std::string(800, '9'),
      "0." + std::string(400, '0') + "1", "1" + std::string(308, '0'), "1" + std::string(309, '0'),
  };
  for (const std::string& text : cases) ExpectSameAsTheLibrary(text);
}

TEST(FromChars, RandomTextAgreesWithTheLibrary) {
  std::mt19937 random(20261209);
  const std::string alphabet = "0123456789.eE+-";
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    int length = int(random() % 12);
    for (int k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
    ExpectSameAsTheLibrary(text);
  }
}

TEST(FromChars, RandomNumbersReadToTheLastBit) {
  std::mt19937_64 random(42);
  for (int i = 0; i < 20000; ++i) {
    // Digits enough to fall between two doubles, at every scale including the subnormal one.
    std::string text = std::to_string(random() % 1000000000000000000ull) + "." +
                       std::to_string(random() % 1000000000ull) + "e" +
                       std::to_string(int(random() % 660) - 340);
    ExpectSameAsTheLibrary(text);
  }
}

}  // namespace
