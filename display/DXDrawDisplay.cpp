// The display mode search.
#include "display/DXDrawDisplay.h"

#include <algorithm>
#include <climits>

#include "display/DXDraw.h"

void TDXDrawDisplay::SetBitCount(int value) {
  if (value != 8 && value != 16 && value != 24 && value != 32)
    throw EDirectDrawError(SInvalidDisplayBitCount);
  FBitCount = value;
}

const std::vector<TDXDrawDisplayMode>& TDXDrawDisplay::Modes() {
  if (FModes.empty() && FOwner->DDraw) {
    FOwner->DDraw->IDraw4()->EnumDisplayModes(0, nullptr, &FModes, [](DDSURFACEDESC* d, void* c) -> HRESULT {
      TDXDrawDisplayMode mode;
      mode.SurfaceDesc = *d;
      static_cast<std::vector<TDXDrawDisplayMode>*>(c)->push_back(mode);
      return HRESULT(DDENUMRET_OK);
    });
    std::stable_sort(FModes.begin(), FModes.end(), [](const TDXDrawDisplayMode& a, const TDXDrawDisplayMode& b) {
      if (a.Width() != b.Width()) return a.Width() < b.Width();
      if (a.Height() != b.Height()) return a.Height() < b.Height();
      return a.BitCount() < b.BitCount();
    });
  }
  return FModes;
}

bool TDXDrawDisplay::SetMode(int width, int height, int bitCount) {
  if (!FOwner->DDraw) return false;
  TDirectDraw& dd = *FOwner->DDraw;
  dd.DXResult = dd.IDraw4()->SetDisplayMode(DWORD(width), DWORD(height), DWORD(bitCount));
  if (dd.DXResult != DD_OK) return false;
  FWidth = width;
  FHeight = height;
  FBitCount = bitCount;
  return true;
}

bool TDXDrawDisplay::SetDisplayModeFit(int width, int height, int bitCount) {
  if (width <= 0 || height <= 0) return false;
  if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) return false;
  if (SetMode(width, height, bitCount)) return true;
  if (FixedRatio && Search(width, height, bitCount, true)) return true;
  return Search(width, height, bitCount, false);
}

// Walks the sorted modes keeping a best one: a mode is a candidate only if it is no wider and no
// higher than the best so far, has the requested ratio (when asked), the requested size (with
// FixedSize) or at least it, and a fitting bit count; each candidate replaces the best. A best
// mode of another bit count gives way to the same size at the requested one, if listed.
bool TDXDrawDisplay::Search(int width, int height, int bitCount, bool ratio) {
  const std::vector<TDXDrawDisplayMode>& modes = Modes();
  const TDXDrawDisplayMode* best = nullptr;
  int bestWidth = INT_MAX, bestHeight = INT_MAX;
  const double wanted = double(width) / double(height);
  for (const TDXDrawDisplayMode& m : modes) {
    if (m.Width() > bestWidth || m.Height() > bestHeight || m.Height() == 0) continue;
    if (ratio && double(m.Width()) / double(m.Height()) != wanted) continue;
    if (FixedSize ? (m.Width() != width || m.Height() != height) : (m.Width() < width || m.Height() < height))
      continue;
    if (FixedBitCount) {
      if (m.BitCount() != bitCount) continue;
    } else if ((m.BitCount() < 9 || bitCount < 9) && m.BitCount() < bitCount) {
      continue;
    }
    best = &m;
    bestWidth = m.Width();
    bestHeight = m.Height();
  }
  if (!best) return false;
  int bits = best->BitCount();
  if (bits != bitCount)
    for (const TDXDrawDisplayMode& m : modes)
      if (m.Width() == bestWidth && m.Height() == bestHeight && m.BitCount() == bitCount) bits = bitCount;
  return SetMode(bestWidth, bestHeight, bits);
}
