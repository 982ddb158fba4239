// Turning 8-bit palettized rows into 32-bit pixels through a 256-entry lookup table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Each function converts a width x height block of palette indices into 32-bit pixels: every
// target pixel becomes table[index]. Pitches are in bytes and may exceed the rows (the source's by
// any amount, the target's by a multiple of 4). A non-positive size, a pitch shorter than its row,
// a target pitch that is not a multiple of 4 or a null pointer draws nothing.
using TConvertFrame = void (*)(const std::uint8_t* source, int sourcePitch, std::uint32_t* target,
                               int targetPitch, int width, int height,
                               const std::uint32_t table[256]);

// One way of converting, by name.
struct TConvertPath {
  const char* Name;
  TConvertFrame Convert;
};

// Every way this processor can run, the plain one-pixel loop ("reference") first; the others
// must agree with it:
//   "eight-at-a-time"  eight indices in one 64-bit load, taken apart in registers;
//   "pairs"            sixteen indices in two loads, two pixels in each 64-bit store;
//   "gather"           AVX2's gather of eight table entries at a time;
//   "permute"          AVX-512 VBMI: the table held in registers as four byte planes, 64 pixels
//                      looked up by byte permutes at a time.
const std::vector<TConvertPath>& ConvertPaths();

// The path ConvertPalettedFrame takes: on first use every path converts a frame of the game's
// size (1024x768) a few times in turn, and the fastest is kept for the life of the process. Which
// instructions are fastest differs between processors (a gather is slower than plain loads on
// some), so the choice is measured, not read off the processor's features.
const TConvertPath& ChosenConvertPath();
// The choice and the times it was made from, for the log: "permute (permute 61 us, ...)".
std::string ConvertChoiceReport();

void ConvertPalettedFrame(const std::uint8_t* source, int sourcePitch, std::uint32_t* target,
                          int targetPitch, int width, int height, const std::uint32_t table[256]);
// Converts one run of width indices, as the changed runs of a frame come (see FrameChanges.h).
// The fastest path for whole frames may first set itself up (the permute path loads the table
// into registers), which a run of a few dozen pixels does not repay: short runs take the
// eight-at-a-time loop, long ones the chosen path. A null pointer or a width that is not positive
// draws nothing.
void ConvertPalettedRun(const std::uint8_t* source, std::uint32_t* target, int width,
                        const std::uint32_t table[256]);
void ConvertPalettedFrameReference(const std::uint8_t* source, int sourcePitch,
                                   std::uint32_t* target, int targetPitch, int width, int height,
                                   const std::uint32_t table[256]);

// Converts a width x height frame into a targetWidth x targetHeight block of 32-bit pixels,
// scaled by nearest neighbour: at a whole multiple every frame pixel becomes an even square, and
// rows that repeat a frame row are copied rather than converted again. The same size is a plain
// conversion (ConvertPalettedFrame). scratch is kept by the caller, so that nothing is allocated
// per frame. Bad sizes, pitches or pointers draw nothing, as above.
void ConvertPalettedFrameScaled(const std::uint8_t* source, int sourcePitch, int width, int height,
                                std::uint32_t* target, int targetPitch, int targetWidth,
                                int targetHeight, const std::uint32_t table[256],
                                std::vector<std::uint32_t>& scratch);
