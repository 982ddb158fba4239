// The surface wrapper.
#include "display/DirectDrawSurface.h"

#include <algorithm>
#include <cstring>

#include "display/DirectDraw.h"
#include "display/DirectDrawClipper.h"
#include "display/DirectDrawPalette.h"
#include "display/DirectDrawSurfaceCanvas.h"

namespace {
DDSURFACEDESC EmptyDesc() {
  DDSURFACEDESC d;
  std::memset(&d, 0, sizeof d);
  d.dwSize = sizeof d;
  return d;
}
}  // namespace

TDirectDrawSurface::TDirectDrawSurface(TDirectDraw* owner) : owner_(owner) {
  SurfaceDesc = EmptyDesc();
  LockSurfaceDesc = EmptyDesc();
  owner_->Surfaces.push_back(this);
}

TDirectDrawSurface::~TDirectDrawSurface() {
  canvas_.reset();  // gives back a context still held
  SetIDDSurface(nullptr);
  delete StretchDrawClipper;
  auto& list = owner_->Surfaces;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TDirectDrawSurface::SetIDDSurface(IDirectDrawSurface* surface) {
  if (canvas_) canvas_->Release();
  if (surface) surface->AddRef();
  if (surface_) surface_->Release();
  if (surface4_) surface4_->Release();
  surface_ = nullptr;
  surface4_ = nullptr;
  HasClipper = false;
  LockCount = 0;
  SurfaceDesc = EmptyDesc();
  if (!surface) return;
  void* second = nullptr;
  if (surface->QueryInterface(IID_IDirectDrawSurface4, &second) == DD_OK && second) {
    surface4_ = static_cast<IDirectDrawSurface4*>(second);
    surface_ = surface;
  } else {
    surface->Release();
    return;
  }
  IDirectDrawClipper* clipper = nullptr;
  HasClipper = surface4_->GetClipper(&clipper) == DD_OK && clipper;
  if (clipper) clipper->Release();
  DXResult = surface4_->GetSurfaceDesc(&SurfaceDesc);
}

IDirectDrawSurface* TDirectDrawSurface::ISurface() const {
  if (!surface_) throw EDirectDrawSurfaceError(SNotMade("IDirectDrawSurface"));
  return surface_;
}

IDirectDrawSurface4* TDirectDrawSurface::ISurface4() const {
  if (!surface4_) throw EDirectDrawSurfaceError(SNotMade("IDirectDrawSurface4"));
  return surface4_;
}

bool TDirectDrawSurface::CreateSurface(DDSURFACEDESC& desc) {
  IDirectDrawSurface* made = nullptr;
  DXResult = owner_->IDraw4()->CreateSurface(&desc, &made, nullptr);
  if (DXResult != DD_OK || !made) {
    SetIDDSurface(nullptr);
    return false;
  }
  SetIDDSurface(made);
  made->Release();  // SetIDDSurface took its own reference
  return true;
}

void TDirectDrawSurface::MakeOffscreen(int width, int height) {
  if (width <= 0 || height <= 0) {
    SetIDDSurface(nullptr);
    return;
  }
  DDSURFACEDESC d = EmptyDesc();
  d.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  d.dwWidth = DWORD(width);
  d.dwHeight = DWORD(height);
  d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | (SystemMemory ? DDSCAPS_SYSTEMMEMORY : 0);
  if (CreateSurface(d)) {
    // A new surface starts with colour key 0.
    DDCOLORKEY key{0, 0};
    ISurface4()->SetColorKey(DDCKEY_SRCBLT, &key);
    return;
  }
  if (!SystemMemory) {
    d.ddsCaps.dwCaps = (d.ddsCaps.dwCaps & ~DDSCAPS_VIDEOMEMORY) | DDSCAPS_SYSTEMMEMORY;
    if (CreateSurface(d)) {
      SystemMemory = true;
      DDCOLORKEY key{0, 0};
      ISurface4()->SetColorKey(DDCKEY_SRCBLT, &key);
      return;
    }
  }
  throw EDirectDrawSurfaceError(SCannotMade("Surface"));
}

void TDirectDrawSurface::Fill(DWORD value) {
  if (!HasSurface()) return;
  DDBLTFX fx;
  std::memset(&fx, 0, sizeof fx);
  fx.dwSize = sizeof fx;
  fx.dwFillColor = value;
  DXResult = surface4_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

bool TDirectDrawSurface::Lock() {
  if (!HasSurface() || LockCount > 0) return false;
  DDSURFACEDESC d = EmptyDesc();
  DXResult = surface4_->Lock(nullptr, &d, DDLOCK_WAIT, nullptr);
  if (DXResult != DD_OK) return false;
  LockSurfaceDesc = d;
  LockCount = 1;
  return true;
}

void TDirectDrawSurface::Unlock() {
  if (!HasSurface() || LockCount == 0) return;
  if (--LockCount == 0) DXResult = surface4_->Unlock(LockSurfaceDesc.lpSurface);
}

DWORD TDirectDrawSurface::Pixels(int x, int y) {
  if (!HasSurface() || x < 0 || y < 0 || x >= Width() || y >= Height() || !Lock()) return 0;
  const auto* row = static_cast<const BYTE*>(LockSurfaceDesc.lpSurface) +
                    std::ptrdiff_t(y) * LockSurfaceDesc.lPitch;
  DWORD v = 0;
  switch (LockSurfaceDesc.ddpfPixelFormat.dwRGBBitCount) {
    case 1: v = (row[x / 8] >> (7 - x % 8)) & 1; break;
    case 4: v = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F; break;
    case 8: v = row[x]; break;
    case 16: v = DWORD(row[2 * x]) | DWORD(row[2 * x + 1]) << 8; break;
    case 24: v = DWORD(row[3 * x]) | DWORD(row[3 * x + 1]) << 8 | DWORD(row[3 * x + 2]) << 16; break;
    case 32: std::memcpy(&v, row + 4 * x, 4); break;
    default: break;
  }
  Unlock();
  return v;
}

void TDirectDrawSurface::SetPixels(int x, int y, DWORD value) {
  if (!HasSurface() || x < 0 || y < 0 || x >= Width() || y >= Height() || !Lock()) return;
  auto* row = static_cast<BYTE*>(LockSurfaceDesc.lpSurface) + std::ptrdiff_t(y) * LockSurfaceDesc.lPitch;
  switch (LockSurfaceDesc.ddpfPixelFormat.dwRGBBitCount) {
    case 1:
      if (value) row[x / 8] = BYTE(row[x / 8] | (0x80 >> (x % 8)));
      else row[x / 8] = BYTE(row[x / 8] & ~(0x80 >> (x % 8)));
      break;
    case 4:
      row[x / 2] = (x % 2 == 0) ? BYTE((row[x / 2] & 0x0F) | ((value & 0x0F) << 4))
                                : BYTE((row[x / 2] & 0xF0) | (value & 0x0F));
      break;
    case 8: row[x] = BYTE(value); break;
    case 16:
      row[2 * x] = BYTE(value);
      row[2 * x + 1] = BYTE(value >> 8);
      break;
    case 24:
      row[3 * x] = BYTE(value);
      row[3 * x + 1] = BYTE(value >> 8);
      row[3 * x + 2] = BYTE(value >> 16);
      break;
    case 32: std::memcpy(row + 4 * x, &value, 4); break;
    default: break;
  }
  Unlock();
}

bool TDirectDrawSurface::Blt(const RECT& dest, const RECT& source, DWORD flags, DDBLTFX& fx,
                             TDirectDrawSurface* from) {
  if (!HasSurface() || !from || !from->HasSurface()) return false;
  RECT d = dest, s = source;
  DXResult = surface4_->Blt(&d, from->surface4_, &s, flags, &fx);
  return DXResult == DD_OK;
}

bool TDirectDrawSurface::BltFast(int x, int y, const RECT& source, DWORD flags,
                                 TDirectDrawSurface* from) {
  if (!HasSurface() || !from || !from->HasSurface()) return false;
  RECT s = source;
  DXResult = surface4_->BltFast(DWORD(x), DWORD(y), from->surface4_, &s, flags);
  return DXResult == DD_OK;
}

bool TDirectDrawSurface::Restore() {
  if (!HasSurface()) return false;
  DXResult = surface4_->Restore();
  return DXResult == DD_OK;
}

void TDirectDrawSurface::SetPalette(TDirectDrawPalette* palette) {
  if (!HasSurface()) return;
  DXResult = surface4_->SetPalette(palette && palette->HasPalette() ? palette->IPalette() : nullptr);
}

void TDirectDrawSurface::SetClipper(TDirectDrawClipper* clipper) {
  if (!HasSurface()) return;
  DXResult = surface4_->SetClipper(clipper ? clipper->IClipper() : nullptr);
  HasClipper = clipper && DXResult == DD_OK;
}

TDirectDrawSurfaceCanvas& TDirectDrawSurface::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TDirectDrawSurfaceCanvas>(this);
  return *canvas_;
}
