// The rotated rasterizer: geometry once in floating point, then rows in 16.16 fixed point.
#include "display/DXRender.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/AngleTable.h"
#include "framework/Extended.h"

namespace {

using Int128 = __int128;

// Truncation toward zero of a finite extended value, held within a range where the sums and
// products that follow cannot overflow 128 bits. Values that large never reach a surface anyway.
Int128 Trunc(Extended v) {
  const Extended limit = 0x1p62;
  return Int128(TruncToInt64(std::clamp(v, -limit, limit)));
}

template <class T>
T Max(T a, T b) { return a > b ? a : b; }
template <class T>
T Min(T a, T b) { return a < b ? a : b; }

// One row's work: where the first visible texel is (M pixels in) and how many follow (N).
struct TRowSpan {
  std::int64_t M = 0, N = 0;
};

// The skip M and count N of a row starting at texture position (u, v), stepping (du, dv) per
// pixel, against the source rectangle [L, R) x [T, B) and a destination row of destWidth pixels.
// A zero step cannot bring a position that starts outside the rectangle into it, so such a row
// is empty; everything else follows the 16.16 rules literally.
template <class I>
TRowSpan RowSpan(I u, I v, I du, I dv, I L, I R, I T, I B, I left, I destWidth) {
  TRowSpan s;
  if ((du == 0 && (u < L || u >= R)) || (dv == 0 && (v < T || v >= B))) return s;
  I M = 0;
  if (du > 0 && u < L) M = (L - u + du - 1) / du;
  if (du < 0 && u >= R) M = (R - u + du) / du;
  if (dv > 0 && v < T) M = Max<I>(M, (T - v + dv - 1) / dv);
  if (dv < 0 && v >= B) M = Max<I>(M, (B - v + dv) / dv);
  u += M * du;
  v += M * dv;
  I N = du >= 0 ? (R - u) / Max<I>(du, 1) : (u - L) / -du;
  N = dv >= 0 ? Min<I>(N, (B - v) / Max<I>(dv, 1)) : Min<I>(N, (v - T) / -dv);
  N = Min<I>(N, destWidth - (left + M));
  if (N < 1) return s;
  s.M = std::int64_t(M);
  s.N = std::int64_t(N);
  return s;
}

// Weight a of 255 for the texel, 255 - a for what is there, per 8-bit channel.
inline std::uint32_t Blend(std::uint32_t s, std::uint32_t d, std::uint32_t a) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t cs = (s >> shift) & 0xFF, cd = (d >> shift) & 0xFF;
    out |= ((cs * a + cd * (255 - a) + 127) / 255) << shift;
  }
  return out;
}

// Draws N texels of one row. The texture position (u, v) is inside the source rectangle for
// every one of them, which RowSpan guarantees.
struct TRowPainter {
  const std::uint8_t* Src;
  std::ptrdiff_t SrcPitch;
  bool Transparent;
  std::uint32_t Key;
  int Alpha;  // 255: copy

  void Row8(std::uint8_t* d, std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv, std::int64_t n) const {
    // Held in locals: stores through d may alias anything, which would reload members per pixel.
    const std::uint8_t key = std::uint8_t(Key);
    const std::uint8_t* const Src = this->Src;
    const std::ptrdiff_t SrcPitch = this->SrcPitch;
    if (dv == 0) {  // unrotated or half-turned: one source row for the whole span
      const std::uint8_t* row = Src + (v >> 16) * SrcPitch;
      if (Transparent) {
        for (std::int64_t k = 0; k < n; ++k, u += du) {
          const std::uint8_t t = row[u >> 16];
          if (t != key) d[k] = t;
        }
      } else {
        for (std::int64_t k = 0; k < n; ++k, u += du) d[k] = row[u >> 16];
      }
      return;
    }
    if (Transparent) {
      for (std::int64_t k = 0; k < n; ++k, u += du, v += dv) {
        const std::uint8_t t = Src[(v >> 16) * SrcPitch + (u >> 16)];
        if (t != key) d[k] = t;
      }
    } else {
      for (std::int64_t k = 0; k < n; ++k, u += du, v += dv) d[k] = Src[(v >> 16) * SrcPitch + (u >> 16)];
    }
  }

  void Row32(std::uint8_t* dBytes, std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv,
             std::int64_t n) const {
    auto* d = reinterpret_cast<std::uint32_t*>(dBytes);
    for (std::int64_t k = 0; k < n; ++k, u += du, v += dv) {
      const std::uint32_t t = reinterpret_cast<const std::uint32_t*>(Src + (v >> 16) * SrcPitch)[u >> 16];
      if (Transparent && t == Key) continue;
      d[k] = Alpha >= 255 ? t : Blend(t, d[k], std::uint32_t(Alpha));
    }
  }
};

}  // namespace

// The turned drawing reads the game's own angle table.
const double* const TurnCosines = AngleCosines;

void RenderTurned(const TRenderSurface& Dest, int X, int Y, int Width, int Height, const TRenderSurface& Source,
                  const RECT& SourceArea, double PivotX, double PivotY, bool Transparent, std::uint32_t Key,
                  int Angle, int Alpha) {
  if (Alpha <= 0) return;
  if (Dest.Width <= 0 || Dest.Height <= 0 || Width == 0 || Height == 0 || !Dest.Bits || !Source.Bits ||
      Source.Width <= 0 || Source.Height <= 0)
    return;
  if (SourceArea.left < 0 || SourceArea.top < 0 || SourceArea.right > Source.Width ||
      SourceArea.bottom > Source.Height || SourceArea.left >= SourceArea.right || SourceArea.top >= SourceArea.bottom)
    return;
  // Texels are copied as they are, so both sides must share a layout the painter knows.
  if (Dest.BitCount != Source.BitCount || (Dest.BitCount != 8 && Dest.BitCount != 32)) return;
  if (!std::isfinite(PivotX) || !std::isfinite(PivotY)) return;

  const std::int64_t SW = SourceArea.right - SourceArea.left, SH = SourceArea.bottom - SourceArea.top;
  const int a = Angle & 255;  // modulo 256, negative angles included
  const Extended cosA = TurnCosines[a], sinA = TurnCosines[(a + 192) & 255];

  // The bounding box of the four turned corners, clamped to the destination.
  Int128 minX = 0, maxX = 0, minY = 0, maxY = 0;
  for (int corner = 0; corner < 4; ++corner) {
    const Extended px = (corner & 1) ? Width : 0, py = (corner & 2) ? Height : 0;
    const Int128 c = Trunc(px - Width * Extended(PivotX));
    const Int128 d = Trunc(py - Height * Extended(PivotY));
    // Both within 2^62 (Trunc holds them there), so exact as extended values.
    const Extended cl = std::int64_t(c), dl = std::int64_t(d);
    const Int128 x = X + Trunc(cl * cosA - dl * sinA);
    const Int128 y = Y + Trunc(cl * sinA + dl * cosA);
    if (corner == 0 || x < minX) minX = x;
    if (corner == 0 || x > maxX) maxX = x;
    if (corner == 0 || y < minY) minY = y;
    if (corner == 0 || y > maxY) maxY = y;
  }
  const Int128 DW = Dest.Width, DH = Dest.Height;
  const Int128 Left = Max<Int128>(minX, 0), Top = Max<Int128>(minY, 0);
  const Int128 Right = Min<Int128>(maxX, DW), Bottom = Min<Int128>(maxY, DH);
  if (DW < Left || Right < 1 || Right - Left < 1 || DH < Top || Bottom < 1 || Bottom - Top < 1) return;

  // 16.16 steps along a row and from row to row.
  const int negA = (256 - a) & 255;
  const std::int64_t C = TruncToInt64(Extended(65536) * TurnCosines[negA]);
  const std::int64_t S = TruncToInt64(Extended(65536) * TurnCosines[(negA + 192) & 255]);
  const std::int64_t dudx = MulDivTrunc(SW, C, Width), dvdx = MulDivTrunc(SH, S, Height);
  const std::int64_t uRow = MulDivTrunc(SW, S, Width), vRow = MulDivTrunc(SH, C, Height);

  // The texture position at (Left, Top).
  Int128 u = Trunc(SW * Extended(PivotX) * 65536) + (Left - X) * dudx + (Y - Top) * uRow +
             Int128(SourceArea.left) * 65536;
  Int128 v = Trunc(SH * Extended(PivotY) * 65536) + (Left - X) * dvdx - (Y - Top) * vRow +
             Int128(SourceArea.top) * 65536;

  const std::int64_t L = std::int64_t(SourceArea.left) * 65536, R = std::int64_t(SourceArea.right) * 65536;
  const std::int64_t T = std::int64_t(SourceArea.top) * 65536, B = std::int64_t(SourceArea.bottom) * 65536;
  const int left = int(Left), top = int(Top), bottom = int(Bottom);
  const TRowPainter painter{Source.Bits, Source.Pitch, Transparent, Key, Dest.Indexed ? 255 : std::min(Alpha, 255)};
  const int bytesPerPixel = Dest.BitCount / 8;

  // Row starts far from the picture (a huge pivot, a centre far off the surface) need 128 bits;
  // the usual case, where every row start fits comfortably in 64, runs on 64-bit divisions.
  const Int128 rows = Bottom - Top;
  const Int128 uLast = u - (rows - 1) * uRow, vLast = v + (rows - 1) * vRow;
  constexpr Int128 limit = Int128(1) << 60;
  const bool narrow = u > -limit && u < limit && v > -limit && v < limit && uLast > -limit && uLast < limit &&
                      vLast > -limit && vLast < limit;

  std::uint8_t* rowStart = Dest.Bits + std::ptrdiff_t(top) * Dest.Pitch;
  for (int y = top; y < bottom; ++y, rowStart += Dest.Pitch, u -= uRow, v += vRow) {
    const TRowSpan s = narrow ? RowSpan<std::int64_t>(std::int64_t(u), std::int64_t(v), dudx, dvdx, L, R, T, B,
                                                      left, Dest.Width)
                              : RowSpan<Int128>(u, v, dudx, dvdx, L, R, T, B, left, Dest.Width);
    if (s.N < 1) continue;
    const std::int64_t su = std::int64_t(u + Int128(s.M) * dudx), sv = std::int64_t(v + Int128(s.M) * dvdx);
    std::uint8_t* d = rowStart + std::ptrdiff_t(left + s.M) * bytesPerPixel;
    if (bytesPerPixel == 1)
      painter.Row8(d, su, sv, dudx, dvdx, s.N);
    else
      painter.Row32(d, su, sv, dudx, dvdx, s.N);
  }
}

bool ClipCopyRects(RECT& D, RECT& S, int destWidth, int destHeight, int sourceWidth, int sourceHeight) {
  // Worked in 64 bits: a rectangle far off the surface must not overflow while it is moved in.
  std::int64_t d[4] = {D.left, D.top, D.right, D.bottom}, s[4] = {S.left, S.top, S.right, S.bottom};
  for (int i = 0; i < 2; ++i) {
    if (d[i] < 0) s[i] -= d[i], d[i] = 0;
    if (s[i] < 0) d[i] -= s[i], s[i] = 0;
  }
  const std::int64_t dLimit[2] = {destWidth, destHeight}, sLimit[2] = {sourceWidth, sourceHeight};
  for (int i = 2; i < 4; ++i) {
    if (d[i] > dLimit[i - 2]) s[i] -= d[i] - dLimit[i - 2], d[i] = dLimit[i - 2];
    if (s[i] > sLimit[i - 2]) d[i] -= s[i] - sLimit[i - 2], s[i] = sLimit[i - 2];
  }
  if (!(d[0] < d[2] && d[1] < d[3] && s[0] < s[2] && s[1] < s[3])) return false;
  D = {LONG(d[0]), LONG(d[1]), LONG(d[2]), LONG(d[3])};
  S = {LONG(s[0]), LONG(s[1]), LONG(s[2]), LONG(s[3])};
  return true;
}
