// Pixel kernels on raw 8-bit rows: the plain and the colour-keyed block copy.
#pragma once

#include <cstddef>
#include <cstdint>

// Copies a Width x Height block of 8-bit pixels from src to dst (each row Pitch bytes after the
// previous one). The keyed copy leaves out every source pixel equal to Key, so the destination
// shows through. The blocks must not overlap.
//
// KeyedCopy8 is the one to call: it compares and selects 16 or 32 bytes at a time (32 only when
// the processor reports AVX2 at run time), skips blocks that are wholly transparent and stores
// wholly opaque ones without reading the destination. KeyedCopy8Reference is the plain loop it
// must always agree with.
void KeyedCopy8(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* src, std::ptrdiff_t srcPitch,
                int width, int height, std::uint8_t key);
void KeyedCopy8Reference(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* src,
                         std::ptrdiff_t srcPitch, int width, int height, std::uint8_t key);
void Copy8(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* src, std::ptrdiff_t srcPitch, int width,
           int height);

// Which keyed-copy kernel runs: the wide one when the processor has it. Tests turn the wide one
// off to check the 16-byte kernel as well.
bool KeyedCopyUsesAVX2();
void SetKeyedCopyAVX2Allowed(bool allowed);
