// The picture-drawing operations of a surface: keyed copies with software clipping, scaled
// copies through a clipper, turned drawing through the rasterizer, and colour-key set-up.
#include <cstring>

#include "display/DXRender.h"
#include "display/DirectDrawClipper.h"
#include "display/DirectDrawSurface.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "platform/Gdi.h"

namespace {

// The blit flags for an opaque (index 0) and a keyed (index 1) copy.
constexpr DWORD BltFastFlags[2] = {DDBLTFAST_WAIT, DDBLTFAST_WAIT | DDBLTFAST_SRCCOLORKEY};
constexpr DWORD BltFlags[2] = {DDBLT_WAIT, DDBLT_WAIT | DDBLT_KEYSRC};

DDBLTFX EmptyEffects() {
  DDBLTFX fx;
  std::memset(&fx, 0, sizeof fx);
  fx.dwSize = sizeof fx;
  return fx;
}

// A locked surface described for the rasterizer.
TRenderSurface RenderView(const DDSURFACEDESC& d) {
  TRenderSurface s;
  s.Bits = static_cast<std::uint8_t*>(d.lpSurface);
  s.Pitch = d.lPitch;
  s.Width = int(d.dwWidth);
  s.Height = int(d.dwHeight);
  s.BitCount = int(d.ddpfPixelFormat.dwRGBBitCount);
  s.Indexed = d.ddpfPixelFormat.dwFlags &
              (DDPF_PALETTEINDEXED1 | DDPF_PALETTEINDEXED2 | DDPF_PALETTEINDEXED4 | DDPF_PALETTEINDEXED8);
  s.RedMask = d.ddpfPixelFormat.dwRBitMask;
  s.GreenMask = d.ddpfPixelFormat.dwGBitMask;
  s.BlueMask = d.ddpfPixelFormat.dwBBitMask;
  if (d.ddpfPixelFormat.dwFlags & DDPF_ALPHAPIXELS) s.AlphaMask = d.ddpfPixelFormat.dwRGBAlphaBitMask;
  return s;
}

}  // namespace

void TDirectDrawSurface::Draw(int X, int Y, const RECT& SourceArea, TDirectDrawSurface* Source, bool Transparent) {
  if (!Source || X > Width() || Y > Height()) return;
  RECT S = SourceArea;
  DDBLTFX fx = EmptyEffects();
  if (S.left <= S.right && S.top <= S.bottom) {
    RECT D{X, Y, LONG(std::int64_t(X) + S.right - S.left), LONG(std::int64_t(Y) + S.bottom - S.top)};
    if (!ClipCopyRects(D, S, Width(), Height(), Source->Width(), Source->Height())) return;
    if (HasClipper) {
      Blt(D, S, BltFlags[Transparent], fx, Source);
      return;
    }
    if (BltFast(D.left, D.top, S, BltFastFlags[Transparent], Source) || DXResult != DDERR_BLTFASTCANTCLIP) return;
    // The surface has a clipper after all: note it and copy through it.
    IDirectDrawClipper* clipper = nullptr;
    if (HasSurface() && ISurface4()->GetClipper(&clipper) == DD_OK && clipper) {
      HasClipper = true;
      clipper->Release();
    }
    Blt(D, S, BltFlags[Transparent], fx, Source);
    return;
  }
  // Reversed: mirrored left to right and/or upside down.
  const std::int64_t w = std::abs(std::int64_t(S.right) - S.left), h = std::abs(std::int64_t(S.bottom) - S.top);
  if (X + w <= 0 || Y + h <= 0) return;
  if (S.left > S.right) {
    std::swap(S.left, S.right);
    fx.dwDDFX |= DDBLTFX_MIRRORLEFTRIGHT;
  }
  if (S.top > S.bottom) {
    std::swap(S.top, S.bottom);
    fx.dwDDFX |= DDBLTFX_MIRRORUPDOWN;
  }
  RECT D{X, Y, LONG(X + w), LONG(Y + h)};
  if (!ClipCopyRects(D, S, Width(), Height(), Source->Width(), Source->Height())) return;
  if (fx.dwDDFX & DDBLTFX_MIRRORLEFTRIGHT) {
    const LONG left = Source->Width() - S.right, right = Source->Width() - S.left;
    S.left = left, S.right = right;
  }
  if (fx.dwDDFX & DDBLTFX_MIRRORUPDOWN) {
    const LONG top = Source->Height() - S.bottom, bottom = Source->Height() - S.top;
    S.top = top, S.bottom = bottom;
  }
  Blt(D, S, BltFlags[Transparent] | DDBLT_DDFX, fx, Source);
}

void TDirectDrawSurface::DrawScaled(const RECT& TargetArea, const RECT& SourceArea, TDirectDrawSurface* Source,
                                    bool Transparent) {
  if (!Source || TargetArea.top >= TargetArea.bottom || TargetArea.left >= TargetArea.right ||
      SourceArea.top >= SourceArea.bottom || SourceArea.left >= SourceArea.right)
    return;
  DDBLTFX fx = EmptyEffects();
  if (HasClipper) {
    Blt(TargetArea, SourceArea, BltFlags[Transparent], fx, Source);
    return;
  }
  // The platform scales and clips to the surface only through a clipper: one holding the whole
  // surface, made on first use and attached for the copy alone.
  if (!StretchDrawClipper) {
    StretchDrawClipper = new TDirectDrawClipper(DDraw());
    StretchDrawClipper->SetClipRects({RECT{0, 0, Width(), Height()}});
  }
  SetClipper(StretchDrawClipper);
  Blt(TargetArea, SourceArea, BltFlags[Transparent], fx, Source);
  SetClipper(nullptr);
}

void TDirectDrawSurface::DrawTurned(int X, int Y, int Width, int Height, const RECT& SourceArea,
                                    TDirectDrawSurface* Source, double PivotX, double PivotY, bool Transparent,
                                    int Angle) {
  DrawTurnedBlended(X, Y, Width, Height, SourceArea, Source, PivotX, PivotY, Transparent, Angle, 255);
}

void TDirectDrawSurface::DrawTurnedBlended(int X, int Y, int Width, int Height, const RECT& SourceArea,
                                           TDirectDrawSurface* Source, double PivotX, double PivotY,
                                           bool Transparent, int Angle, int Alpha) {
  if (Alpha <= 0) return;
  if (this->Width() == 0 || this->Height() == 0 || Width == 0 || Height == 0 || !Source || Source->Width() == 0 ||
      Source->Height() == 0)
    return;
  if (!Lock()) return;
  if (!Source->Lock()) {
    Unlock();
    return;
  }
  struct TUnlock {
    TDirectDrawSurface* A;
    TDirectDrawSurface* B;
    ~TUnlock() {
      B->Unlock();
      A->Unlock();
    }
  } unlock{this, Source};
  const TRenderSurface dest = RenderView(LockSurfaceDesc), source = RenderView(Source->LockSurfaceDesc);
  const DWORD key = Source->LockSurfaceDesc.ddckCKSrcBlt.dwColorSpaceLowValue;
  RenderTurned(dest, X, Y, Width, Height, source, SourceArea, PivotX, PivotY, Transparent, key, Angle, Alpha);
}

DWORD TDirectDrawSurface::NearestPixelValue(std::int32_t Color) {
  if (!HasSurface()) return 0;
  const DWORD remembered = Pixels(0, 0);
  // A 1 x 1 picture of that one colour, drawn at (0, 0) the way pictures are loaded.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 1;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 8;
  info.bmiHeader.biClrUsed = 1;
  // System colours (negative values) are not used by this program; they resolve to black.
  const DWORD rgb = Color < 0 ? 0 : DWORD(Color);
  info.bmiColors[0] = {GetBValue(rgb), GetGValue(rgb), GetRValue(rgb), 0};
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) {
    static_cast<std::uint8_t*>(bits)[0] = 0;
    HGDIOBJ old = SelectObject(memory, bitmap);
    StretchBlt(Canvas().Handle(), 0, 0, 1, 1, memory, 0, 0, 1, 1, SRCCOPY);
    Canvas().Release();
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  const DWORD value = Pixels(0, 0);
  SetPixels(0, 0, remembered);
  return value;
}

void TDirectDrawSurface::SetTransparentKey(DWORD Value) {
  if (!HasSurface()) return;
  DDCOLORKEY key{Value, Value};
  DXResult = ISurface4()->SetColorKey(DDCKEY_SRCBLT, &key);
}
