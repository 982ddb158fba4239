// Reading a decimal number as the nearest double, whatever the locale.
#include "shell/FromChars.h"

#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace {

bool Digit(const char* p, const char* last) { return p != last && *p >= '0' && *p <= '9'; }

// True when [p, last) starts with word, in any case; p then moves past it.
bool Word(const char*& p, const char* last, const char* word) {
  const char* q = p;
  for (; *word; ++word, ++q)
    if (q == last || std::tolower(static_cast<unsigned char>(*q)) != *word) return false;
  p = q;
  return true;
}

}  // namespace

std::from_chars_result FromChars(const char* first, const char* last, double& value) {
  const char* p = first;
  const bool negative = p != last && *p == '-';
  if (negative) ++p;

  if (Word(p, last, "inf")) {
    Word(p, last, "inity");
    value = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    return {p, std::errc()};
  }
  if (Word(p, last, "nan")) {
    // An optional "(chars)" of letters, digits and underscores belongs to it when closed.
    if (p != last && *p == '(') {
      const char* q = p + 1;
      while (q != last && (std::isalnum(static_cast<unsigned char>(*q)) || *q == '_')) ++q;
      if (q != last && *q == ')') p = q + 1;
    }
    value = negative ? -std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::quiet_NaN();
    return {p, std::errc()};
  }

  bool anyDigit = false, nonZero = false;
  for (; Digit(p, last); ++p) {
    anyDigit = true;
    nonZero = nonZero || *p != '0';
  }
  if (p != last && *p == '.') {
    const char* afterPoint = p + 1;
    if (anyDigit || Digit(afterPoint, last)) {
      p = afterPoint;
      for (; Digit(p, last); ++p) {
        anyDigit = true;
        nonZero = nonZero || *p != '0';
      }
    }
  }
  if (!anyDigit) return {first, std::errc::invalid_argument};
  if (p != last && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    if (q != last && (*q == '+' || *q == '-')) ++q;
    if (Digit(q, last)) {
      while (Digit(q, last)) ++q;
      p = q;
    }
  }

#ifdef LC_ALL_MASK
  // The "C" locale's rules, asked for by name: the global locale may have any decimal separator.
  // Without that locale object (only when memory ran out) the global one must do.
  static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
  const std::string text(first, p);
  const double v = c ? strtod_l(text.c_str(), nullptr, c) : std::strtod(text.c_str(), nullptr);
#else
  // No POSIX locale objects (Windows' C library, whose strtod is not correctly rounded either):
  // the standard library's own conversion, which no locale touches and which reads the checked
  // text whole. It says out of range for the same numbers as the test below.
  double v = 0;
  if (std::from_chars(first, p, v, std::chars_format::general).ec != std::errc())
    return {p, std::errc::result_out_of_range};
#endif
  if (std::isinf(v) || (v == 0 && nonZero)) return {p, std::errc::result_out_of_range};
  value = v;
  return {p, std::errc()};
}
