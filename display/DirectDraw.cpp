// The display object wrapper.
#include "display/DirectDraw.h"

#include "display/DirectDrawClipper.h"
#include "display/DirectDrawLibrary.h"
#include "display/DirectDrawPalette.h"
#include "display/DirectDrawSurface.h"

TDirectDraw::TDirectDraw(GUID* device) {
  using TCreate = HRESULT (*)(GUID*, IDirectDraw**, IUnknown*);
  auto create = reinterpret_cast<TCreate>(DirectDrawProc("DirectDrawCreate"));
  DXResult = create(device, &draw_, nullptr);
  if (DXResult != DD_OK || !draw_) {
    draw_ = nullptr;
    throw EDirectDrawError(SCannotInitialized("DirectDraw"));
  }
  void* second = nullptr;
  if (draw_->QueryInterface(IID_IDirectDraw4, &second) != DD_OK || !second) {
    draw_->Release();
    draw_ = nullptr;
    throw EDirectDrawError(SSinceDirectX6);
  }
  draw4_ = static_cast<IDirectDraw4*>(second);
  DriverCaps.dwSize = sizeof(DDCAPS);
  HELCaps.dwSize = sizeof(DDCAPS);
  draw4_->GetCaps(&DriverCaps, &HELCaps);
}

TDirectDraw::~TDirectDraw() {
  // Each wrapper takes itself off its list as it goes.
  while (!Surfaces.empty()) delete Surfaces.back();
  while (!Palettes.empty()) delete Palettes.back();
  while (!Clippers.empty()) delete Clippers.back();
  if (draw4_) draw4_->Release();
  if (draw_) draw_->Release();
}

IDirectDraw* TDirectDraw::IDraw() const {
  if (!draw_) throw EDirectDrawError(SNotMade("IDirectDraw"));
  return draw_;
}

IDirectDraw4* TDirectDraw::IDraw4() const {
  if (!draw4_) throw EDirectDrawError(SNotMade("IDirectDraw4"));
  return draw4_;
}
