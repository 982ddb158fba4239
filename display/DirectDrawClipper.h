// TDirectDrawClipper: a clipper made on a display object.
#pragma once

#include <vector>

#include "display/DirectX.h"
#include "platform/DirectDraw.h"

class TDirectDraw;

// What a blit through Blt may touch on the surface it is attached to: a window's area, or a
// list of rectangles.
class TDirectDrawClipper : public TDirectX {
 public:
  // Makes the platform clipper; throws EDirectDrawClipperError "Clipper cannot be made".
  explicit TDirectDrawClipper(TDirectDraw* owner);
  ~TDirectDrawClipper() override;
  TDirectDrawClipper(const TDirectDrawClipper&) = delete;
  TDirectDrawClipper& operator=(const TDirectDrawClipper&) = delete;

  void SetHandle(HWND window);
  // Hands the platform a region record: a 32-byte header, then the rectangles.
  void SetClipRects(const std::vector<RECT>& rects);

  // Throws EDirectDrawClipperError "IDirectDrawClipper not made" when absent.
  IDirectDrawClipper* IClipper() const;
  TDirectDraw* DDraw() const { return owner_; }

 private:
  TDirectDraw* owner_;
  IDirectDrawClipper* clipper_ = nullptr;
};
