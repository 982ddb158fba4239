// Turning 8-bit palettized rows into 32-bit pixels through a 256-entry lookup table.
#pragma once

#include <cstdint>
#include <vector>

// Each function converts a width x height block of palette indices into 32-bit pixels: every
// target pixel becomes table[index]. Pitches are in bytes and may exceed the rows (the source's by
// any amount, the target's by a multiple of 4). A non-positive size, a pitch shorter than its row,
// a target pitch that is not a multiple of 4 or a null pointer draws nothing.
//
// ConvertPalettedFrame is the one the present uses: sixteen pixels at a time through the
// processor's gather where it has one, otherwise ConvertPalettedFrameEightAtATime. Both must agree
// with ConvertPalettedFrameReference, the plain one-pixel loop.
void ConvertPalettedFrame(const std::uint8_t* source, int sourcePitch, std::uint32_t* target,
                          int targetPitch, int width, int height, const std::uint32_t table[256]);
void ConvertPalettedFrameEightAtATime(const std::uint8_t* source, int sourcePitch,
                                      std::uint32_t* target, int targetPitch, int width,
                                      int height, const std::uint32_t table[256]);
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
