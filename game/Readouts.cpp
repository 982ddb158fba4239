// Formatting the readouts.
#include "game/Readouts.h"

#include <charconv>
#include <cmath>
#include <locale>

char LocaleDecimalSeparator() {
  static const char separator = [] {
    try {
      return std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
    } catch (const std::exception&) {
      return '.';
    }
  }();
  return separator;
}

std::string FrameRateText(int FramesPerSecond) { return std::to_string(FramesPerSecond) + "FPS"; }

std::string SpeedText(double Speed) {
  const long double hundredfold = static_cast<long double>(Speed) * 100;
  // Beyond the 64-bit range (or not a number at all) there is nothing left to round.
  const long double shown = std::fabs(hundredfold) < 9.2e18L
                                ? static_cast<long double>(std::llrint(hundredfold)) / 10
                                : static_cast<long double>(Speed) * 10;
  // General format: fixed notation for ordinary values, no trailing zeros, no point when whole.
  char digits[64];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, shown, std::chars_format::general, 15);
  std::string number = ec == std::errc() ? std::string(digits, end) : std::string("0");
  for (char& c : number)
    if (c == '.') c = LocaleDecimalSeparator();
  return "Relative speed: " + number + " km/s";
}

std::string HullText(std::uint8_t Hull) { return "Hull Strength:  " + std::to_string(Hull) + "%"; }
