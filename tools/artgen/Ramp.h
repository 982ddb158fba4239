// Colour ramps shared by the painters: stops along 0..1, and the colours of fire.
#pragma once

#include <vector>

#include "Colour.h"

namespace art {

struct Stop {
  double at;
  std::uint32_t colour;
};

// The colour at t along stops given at increasing positions.
inline Rgb Ramp(const std::vector<Stop>& stops, double t) {
  if (t <= stops.front().at) return Hex(stops.front().colour);
  for (size_t i = 1; i < stops.size(); ++i)
    if (t <= stops[i].at)
      return Mix(Hex(stops[i - 1].colour), Hex(stops[i].colour), (t - stops[i - 1].at) / (stops[i].at - stops[i - 1].at));
  return Hex(stops.back().colour);
}

// Fire by heat 0..1: smouldering red through orange and yellow to a white core.
inline Rgb FireColour(double heat) {
  return Ramp({{0.0, 0x5a0a04}, {0.2, 0xa01808}, {0.42, 0xe04a0a}, {0.62, 0xf89a1a}, {0.82, 0xffe050}, {1.0, 0xfffce8}},
              heat);
}

}  // namespace art
