// The surface canvas.
#include "display/DirectDrawSurfaceCanvas.h"

#include "display/DirectDrawSurface.h"

HDC TDirectDrawSurfaceCanvas::CreateHandle() {
  if (!surface_->HasSurface()) return nullptr;
  HDC dc = nullptr;
  surface_->DXResult = surface_->ISurface4()->GetDC(&dc);
  return surface_->DXResult == DD_OK ? dc : nullptr;
}

void TDirectDrawSurfaceCanvas::FreeHandle(HDC dc) {
  if (surface_->HasSurface()) surface_->DXResult = surface_->ISurface4()->ReleaseDC(dc);
}
