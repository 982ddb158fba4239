// Formatting the readouts.
#include "game/Readouts.h"

#include <locale>

#include "framework/Extended.h"

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
  const Extended hundredfold = Extended(Speed) * 100;
  // Beyond the 64-bit range (or not a number at all) there is nothing left to round.
  const Extended shown = Abs(hundredfold) < Extended(9.2e18) ? Extended(RoundToInt64(hundredfold)) / 10
                                                             : Extended(Speed) * 10;
  // General format: fixed notation for ordinary values, no trailing zeros, no point when whole.
  char digits[64];
  std::string number(digits, FormatGeneral(digits, shown, 15));
  for (char& c : number)
    if (c == '.') c = LocaleDecimalSeparator();
  return "Relative speed: " + number + " km/s";
}

std::string HullText(std::uint8_t Hull) { return "Hull Strength:  " + std::to_string(Hull) + "%"; }
