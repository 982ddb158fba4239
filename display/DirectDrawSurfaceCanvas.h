// TDirectDrawSurfaceCanvas: the canvas of a surface, drawing through the surface's device context.
#pragma once

#include "display/Canvas.h"

class TDirectDrawSurface;

// Takes the surface's device context on the first drawing call; Release gives it back, keeping
// font, brush and pen for the next call. A surface must have its canvas released before it is
// flipped, blitted or locked.
class TDirectDrawSurfaceCanvas : public TCanvas {
 public:
  explicit TDirectDrawSurfaceCanvas(TDirectDrawSurface* surface) : surface_(surface) {}
  ~TDirectDrawSurfaceCanvas() override { Release(); }

  void Release() { DropHandle(); }

 protected:
  HDC CreateHandle() override;
  void FreeHandle(HDC dc) override;

 private:
  TDirectDrawSurface* surface_;
};
