// TDirectDrawPalette: a palette made on a display object.
#pragma once

#include "display/DirectX.h"
#include "platform/DirectDraw.h"

class TDirectDraw;

// A palette of 256 (or 16) colour entries on the owner's display object.
class TDirectDrawPalette : public TDirectX {
 public:
  explicit TDirectDrawPalette(TDirectDraw* owner);
  ~TDirectDrawPalette() override;
  TDirectDrawPalette(const TDirectDrawPalette&) = delete;
  TDirectDrawPalette& operator=(const TDirectDrawPalette&) = delete;

  // Makes the platform palette with its capabilities and initial entries (256, or 16 with
  // DDPCAPS_4BIT). Returns whether that succeeded.
  bool CreatePalette(DWORD caps, const PALETTEENTRY* entries);
  bool GetEntries(DWORD start, DWORD count, PALETTEENTRY* entries);
  bool SetEntries(DWORD start, DWORD count, const PALETTEENTRY* entries);

  bool HasPalette() const { return palette_ != nullptr; }
  // Throws EDirectDrawPaletteError "IDirectDrawPalette not made" when absent.
  IDirectDrawPalette* IPalette() const;
  TDirectDraw* DDraw() const { return owner_; }

 private:
  TDirectDraw* owner_;
  IDirectDrawPalette* palette_ = nullptr;
};
