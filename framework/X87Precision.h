// The x87's precision and rounding on the calling thread: read, and set to what the game needs.
#pragma once

#include <cstdint>

// The x87 control word, as fnstcw stores it. Bits 8-9 choose the precision of every result
// (0b11: 64-bit significands, the 80-bit type's own; 0b10: 53 bits, double's), bits 10-11 the
// rounding (0b00: to nearest, halves to even), bits 0-5 mask the exceptions. The game's extended
// intermediates are x87 long doubles where TARNYX_HARDWARE_EXTENDED is set, and they are the same
// numbers on every machine only at 64-bit precision with rounding to nearest. Linux starts every
// thread so; Microsoft's x64 convention starts threads at 53 bits, and mingw's start-up corrects
// only the threads it starts itself.
struct TX87Precision {
  static constexpr std::uint16_t PrecisionMask = 0x0300;
  static constexpr std::uint16_t Precision64 = 0x0300;
  static constexpr std::uint16_t Precision53 = 0x0200;
  static constexpr std::uint16_t RoundingMask = 0x0C00;
  static constexpr std::uint16_t RoundToNearest = 0x0000;

  // The control word with the game's precision and rounding, every other bit (the exception
  // masks) kept.
  static constexpr std::uint16_t ForGame(std::uint16_t word) {
    return static_cast<std::uint16_t>((word & ~(PrecisionMask | RoundingMask)) | Precision64 |
                                      RoundToNearest);
  }
  static constexpr bool IsForGame(std::uint16_t word) { return ForGame(word) == word; }

  // True where the game computes with the x87 (otherwise the functions below do nothing).
  static bool InUse();
  // The calling thread's control word; 0 where the x87 is not in use.
  static std::uint16_t Read();
  // Loads word into the calling thread's x87 (nothing where it is not in use).
  static void Write(std::uint16_t word);
  // Puts the calling thread's x87 at the game's precision and rounding, and reads it back: false
  // when it did not take. Call it on the thread that runs the game, before the first frame.
  static bool SetForGame();
};
