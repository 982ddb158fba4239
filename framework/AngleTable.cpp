// The table of 256 cosines, built at program initialisation.
#include "framework/AngleTable.h"

#include <cmath>
#include <numbers>

double AngleCosines[256];

void BuildAngleTable() {
  // Every step in extended precision and in this order: i / 256, times 2, times pi. The
  // extended results round to the doubles the rest of the game has always seen.
  constexpr long double pi = std::numbers::pi_v<long double>;
  for (int i = 0; i < 256; ++i) {
    long double x = static_cast<long double>(i) / 256.0L * 2.0L * pi;
    AngleCosines[i] = static_cast<double>(std::cos(x));
  }
}

namespace {
// The table is part of the program's initialisation, like any unit's start-up code: it is ready
// before main runs, and so before any form or world is created.
const bool angleTableBuilt = (BuildAngleTable(), true);
}  // namespace
