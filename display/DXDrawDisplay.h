// TDXDrawDisplay: the display mode the display component asks for, and the search for the
// mode that fits best.
#pragma once

#include <vector>

#include "platform/DirectDraw.h"

class TCustomDXDraw;

// One display mode the platform reports: a copy of its description.
struct TDXDrawDisplayMode {
  DDSURFACEDESC SurfaceDesc{};
  int Width() const { return int(SurfaceDesc.dwWidth); }
  int Height() const { return int(SurfaceDesc.dwHeight); }
  int BitCount() const { return int(SurfaceDesc.ddpfPixelFormat.dwRGBBitCount); }
};

// The requested width, height and bit count of the full-screen mode, how strictly they must be
// met, and the platform's list of modes (read on first use, emptied when the display stops).
class TDXDrawDisplay {
 public:
  explicit TDXDrawDisplay(TCustomDXDraw* owner) : FOwner(owner) {}

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int BitCount() const { return FBitCount; }
  void SetWidth(int value) { FWidth = value < 0 ? 0 : value; }
  void SetHeight(int value) { FHeight = value < 0 ? 0 : value; }
  // Only 8, 16, 24 and 32: anything else throws EDirectDrawError and keeps the old value.
  void SetBitCount(int value);
  bool FixedBitCount = true;
  bool FixedRatio = true;
  bool FixedSize = false;

  // The modes, sorted by width, then height, then bit count; read from the owner's display
  // object on first use.
  const std::vector<TDXDrawDisplayMode>& Modes();
  void ClearModes() { FModes.clear(); }

  // Switches to the requested mode, or failing that to the best fitting one (see the .cpp).
  // Records the mode set and returns whether one was.
  bool SetDisplayModeFit(int width, int height, int bitCount);

 private:
  bool Search(int width, int height, int bitCount, bool ratio);
  bool SetMode(int width, int height, int bitCount);

  TCustomDXDraw* FOwner;
  int FWidth = 640, FHeight = 480, FBitCount = 8;
  std::vector<TDXDrawDisplayMode> FModes;
};
