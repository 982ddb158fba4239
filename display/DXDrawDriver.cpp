// The flipping and the copying presentation drivers.
#include "display/DXDrawDriver.h"

#include <algorithm>
#include <cstring>

#include "display/DXDraw.h"

namespace {

DDSURFACEDESC EmptyDesc() {
  DDSURFACEDESC d;
  std::memset(&d, 0, sizeof d);
  d.dwSize = sizeof d;
  return d;
}

// The control's client origin in screen coordinates: its offsets through every parent.
POINT ClientOrigin(TControl* control) {
  POINT p{0, 0};
  for (TControl* c = control; c; c = c->Parent()) {
    p.x += c->Left;
    p.y += c->Top;
  }
  return p;
}

}  // namespace

TDXDrawDriver::TDXDrawDriver(TCustomDXDraw* owner) : FOwner(owner) {
  // A device chosen among 3-D drivers would go here; this program always uses the default one.
  FOwner->DDraw = new TDirectDraw(nullptr);
}

TDXDrawDriver::~TDXDrawDriver() {
  delete FOwner->Clipper;
  FOwner->Clipper = nullptr;
  delete FOwner->Palette;
  FOwner->Palette = nullptr;
  delete FOwner->Surface;
  FOwner->Surface = nullptr;
  delete FOwner->Primary;
  FOwner->Primary = nullptr;
  delete FOwner->DDraw;
  FOwner->DDraw = nullptr;
}

void TDXDrawDriverFlip::Initialize() {
  TCustomDXDraw& o = *FOwner;
  o.Primary = new TDirectDrawSurface(o.DDraw);
  DDSURFACEDESC d = EmptyDesc();
  d.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  d.dwBackBufferCount = 1;
  d.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  if (o.HasActiveOption(do3D)) d.ddsCaps.dwCaps |= DDSCAPS_3DDEVICE;
  if (!o.Primary->CreateSurface(d)) throw EDXDrawError(SCannotMade("Primary Surface"));

  // The back buffer is the frame surface; without it the surface stays empty and draws nothing.
  o.Surface = new TDirectDrawSurface(o.DDraw);
  DDSCAPS caps{DDSCAPS_BACKBUFFER};
  IDirectDrawSurface* back = nullptr;
  o.Primary->DXResult = o.Primary->ISurface4()->GetAttachedSurface(&caps, &back);
  if (o.Primary->DXResult == DD_OK && back) {
    o.Surface->SetIDDSurface(back);
    back->Release();
  }

  o.FActiveOptions &= TDXDrawOptions(~OptionBit(doSystemMemory));
  if (o.Surface->SurfaceDesc.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY) o.FActiveOptions |= OptionBit(doSystemMemory);

  o.Clipper = new TDirectDrawClipper(o.DDraw);

  o.Palette = new TDirectDrawPalette(o.DDraw);
  PALETTEENTRY entries[256];
  o.BuildPaletteEntries(o.ColorTable, entries);
  DWORD paletteCaps = (o.Options() & OptionBit(doAllowPalette256)) ? DDPCAPS_8BIT | DDPCAPS_ALLOW256 : DDPCAPS_8BIT;
  o.Palette->CreatePalette(paletteCaps, entries);
  o.Primary->SetPalette(o.Palette);
  o.Surface->SetPalette(o.Palette);
}

void TDXDrawDriverFlip::Flip() {
  TCustomDXDraw& o = *FOwner;
  TForm* form = o.ParentForm();
  if (form && form->Active())
    o.Primary->DXResult = o.Primary->ISurface4()->Flip(nullptr, DDFLIP_WAIT);
  else
    o.Primary->DXResult = DD_OK;  // nothing to show while another window is in front
}

void TDXDrawDriverBlt::Initialize() {
  TCustomDXDraw& o = *FOwner;
  o.Primary = new TDirectDrawSurface(o.DDraw);
  DDSURFACEDESC d = EmptyDesc();
  d.dwFlags = DDSD_CAPS;
  d.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  if (!o.Primary->CreateSurface(d)) throw EDXDrawError(SCannotMade("Primary Surface"));

  o.Clipper = new TDirectDrawClipper(o.DDraw);
  o.Clipper->SetHandle(o.Handle());
  o.Primary->SetClipper(o.Clipper);

  o.Palette = new TDirectDrawPalette(o.DDraw);
  PALETTEENTRY entries[256];
  o.BuildPaletteEntries(o.ColorTable, entries);
  DWORD paletteCaps = DDPCAPS_8BIT | DDPCAPS_INITIALIZE;
  if (o.HasActiveOption(doAllowPalette256)) paletteCaps |= DDPCAPS_ALLOW256;
  o.Palette->CreatePalette(paletteCaps, entries);
  o.Primary->SetPalette(o.Palette);

  MakeFrameSurface();
}

void TDXDrawDriverBlt::MakeFrameSurface() {
  TCustomDXDraw& o = *FOwner;
  if (!o.Surface) o.Surface = new TDirectDrawSurface(o.DDraw);
  DDSURFACEDESC d = EmptyDesc();
  d.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  d.dwWidth = DWORD(std::max(o.FSurfaceWidth, 1));
  d.dwHeight = DWORD(std::max(o.FSurfaceHeight, 1));
  d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  if (o.Options() & OptionBit(doSystemMemory)) d.ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY;
  if (o.HasActiveOption(do3D)) d.ddsCaps.dwCaps |= DDSCAPS_3DDEVICE;
  if (!o.Surface->CreateSurface(d)) {
    d.ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY;
    if (!o.Surface->CreateSurface(d)) throw EDXDrawError(SCannotMade("Surface"));
  }
  if (o.Surface->SurfaceDesc.ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY)
    o.FActiveOptions &= TDXDrawOptions(~OptionBit(doSystemMemory));
  else
    o.FActiveOptions |= OptionBit(doSystemMemory);
  o.Surface->SetPalette(o.Palette);
  o.Surface->Fill(0);
}

void TDXDrawDriverBlt::SetSurfaceSize(int width, int height) {
  TCustomDXDraw& o = *FOwner;
  o.FSurfaceWidth = std::max(width, 1);
  o.FSurfaceHeight = std::max(height, 1);
  ++o.FNotifyNesting;
  try {
    o.Notify(dnFinalizeSurface);
    if (o.FSurfaceInitialized) o.FireEvent(o.OnFinalizeSurface);
    MakeFrameSurface();
    o.Notify(dnInitializeSurface);
    o.FireEvent(o.OnInitializeSurface);
  } catch (...) {
    --o.FNotifyNesting;
    throw;
  }
  --o.FNotifyNesting;
}

void TDXDrawDriverBlt::Flip() {
  TCustomDXDraw& o = *FOwner;
  POINT origin = ClientOrigin(&o);
  RECT dest;
  if (o.HasActiveOption(doStretch)) {
    dest = {origin.x, origin.y, origin.x + o.Width(), origin.y + o.Height()};
  } else {
    if (o.HasActiveOption(doCenter)) {
      origin.x += (o.Width() - o.Surface->Width()) / 2;
      origin.y += (o.Height() - o.Surface->Height()) / 2;
    }
    dest = {origin.x, origin.y, origin.x + o.Surface->Width(), origin.y + o.Surface->Height()};
  }
  if (o.HasActiveOption(doWaitVBlank)) o.DDraw->DXResult = o.DDraw->IDraw()->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
  DDBLTFX fx;
  std::memset(&fx, 0, sizeof fx);
  fx.dwSize = sizeof fx;
  RECT source{0, 0, o.Surface->Width(), o.Surface->Height()};
  o.Primary->Blt(dest, source, DDBLT_WAIT, fx, o.Surface);
}
