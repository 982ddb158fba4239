// The angle unit of the whole game and its table of cosines.
#pragma once

#include <cstdint>

// Angles are unsigned 8-bit counts of 256ths of a full turn: 0 points up the screen, 64 right,
// 128 down, 192 left, growing clockwise and wrapping at 256. Their cosines come from one table
// of 256 doubles, fixed in the program, that the game and the turned drawing share.
//
// Entry i is cos(2 pi i / 256), worked out in 80-bit extended precision and stored as a double.
// Entries 0 and 128 are exactly 1 and -1; entries 64 and 192 are tiny numbers, not exactly 0,
// because the extended pi is not quite pi: 64 is slightly negative and 192 slightly positive.
extern const double AngleCosines[256];

// The cosine and sine of any integer angle; only its low 8 bits count, so -64 is 192.
inline double AngleCos(std::int32_t a) { return AngleCosines[static_cast<std::uint8_t>(a)]; }
// sin x = cos(x + 3/4 turn), so the sine reads the same table 192 steps further on.
inline double AngleSin(std::int32_t a) {
  return AngleCosines[static_cast<std::uint8_t>(a + 192)];
}
