// The texts of the three readouts at the top left of the screen.
#pragma once

#include <cstdint>
#include <string>

// "50FPS": the timer's frames per second, then FPS.
std::string FrameRateText(int FramesPerSecond);
// "Relative speed: 1.2 km/s": ten times the speed in world units per frame, to one decimal
// (the hundredfold speed rounded halves to even, then divided by ten), in the general number
// format with up to 15 significant digits and the locale's decimal separator.
std::string SpeedText(double Speed);
// "Hull Strength:  100%" (two spaces).
std::string HullText(std::uint8_t Hull);

// The locale's decimal separator ('.' when the environment names no usable locale).
char LocaleDecimalSeparator();
