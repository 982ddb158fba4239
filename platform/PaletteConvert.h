// Turning 8-bit palettized rows into 32-bit pixels through a 256-entry lookup table.
#pragma once

#include <cstdint>

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
