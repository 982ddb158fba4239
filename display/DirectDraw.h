// TDirectDraw: the display object of one running display, which makes and owns every surface,
// palette and clipper created on it.
#pragma once

#include <vector>

#include "display/DirectX.h"
#include "platform/DirectDraw.h"

class TDirectDrawSurface;
class TDirectDrawPalette;
class TDirectDrawClipper;

// The display object for the default (or a given) display device, reached through both of its
// interfaces. Every wrapper made on it adds itself to one of the three lists and leaves it when
// freed; freeing the display object frees whatever is still listed, surfaces first, then
// palettes, then clippers.
class TDirectDraw : public TDirectX {
 public:
  // Creates the platform object. Throws EDirectDrawError "DirectDraw cannot be initialized" when
  // that fails and "Necessary since DirectX 6" without the second interface.
  explicit TDirectDraw(GUID* device = nullptr);
  ~TDirectDraw() override;
  TDirectDraw(const TDirectDraw&) = delete;
  TDirectDraw& operator=(const TDirectDraw&) = delete;

  // The interfaces; throw EDirectDrawError "%s not made" when absent.
  IDirectDraw* IDraw() const;
  IDirectDraw4* IDraw4() const;

  DDCAPS DriverCaps{};
  DDCAPS HELCaps{};
  std::vector<TDirectDrawClipper*> Clippers;
  std::vector<TDirectDrawPalette*> Palettes;
  std::vector<TDirectDrawSurface*> Surfaces;

 private:
  IDirectDraw* draw_ = nullptr;
  IDirectDraw4* draw4_ = nullptr;
};
