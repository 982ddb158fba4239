// The software drawing of turned pictures (DXRender): locked-surface views, the cosine table,
// the rotated rasterizer and the clipping of unrotated copies.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/WinTypes.h"

// cos(2 pi i / 256) for the 256 angle steps, the angle table's own entries (AngleCosines);
// sine(a) is TurnCosines[(a + 192) mod 256].
extern const double* const TurnCosines;

// A locked surface as the rasterizer sees it: where its pixels are and how they are laid out.
// Indexed surfaces hold palette indices (1, 2, 4 or 8 bits); direct-colour ones hold red, green
// and blue (and perhaps alpha) under their masks. The rasterizer draws on 8-bit indexed and
// 32-bit direct-colour surfaces, the two layouts the display makes.
struct TRenderSurface {
  std::uint8_t* Bits = nullptr;
  std::ptrdiff_t Pitch = 0;
  int Width = 0;
  int Height = 0;
  int BitCount = 8;
  bool Indexed = true;
  std::uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0, AlphaMask = 0;
};

// Draws SourceArea of Source turned by Angle (256 steps a turn, clockwise on screen, taken
// modulo 256) and scaled to Width x Height, with the point (PivotX * Width, PivotY * Height) of
// the scaled picture landing on (X, Y) of Dest. Geometry is worked out once in floating point;
// rows then step in 16.16 fixed point with a precomputed skip and count, so no pixel outside the
// source rectangle is read and none outside Dest is written. Texels equal to Key are left out
// when Transparent. Alpha 255 copies; below 255 a direct-colour Dest is blended (an indexed Dest
// is copied); 0 or less draws nothing.
void RenderTurned(const TRenderSurface& Dest, int X, int Y, int Width, int Height, const TRenderSurface& Source,
                  const RECT& SourceArea, double PivotX, double PivotY, bool Transparent, std::uint32_t Key,
                  int Angle, int Alpha = 255);

// Clips a copy of source rectangle S to destination rectangle D (same size) against both
// surfaces: edges outside a surface move in, and the other rectangle's matching edge moves with
// them. Returns whether anything is left to copy.
bool ClipCopyRects(RECT& D, RECT& S, int destWidth, int destHeight, int sourceWidth, int sourceHeight);

// a * b / c with a 64-bit product and the quotient truncated toward zero (0 when c is 0).
inline std::int64_t MulDivTrunc(std::int64_t a, std::int64_t b, std::int64_t c) { return c ? a * b / c : 0; }
