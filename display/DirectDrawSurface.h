// TDirectDrawSurface: a surface made on a display object, with fill, pixel access, locking and
// a canvas for text and lines.
#pragma once

#include <cstdint>
#include <memory>

#include "display/DirectX.h"
#include "platform/DirectDraw.h"

class TDirectDraw;
class TDirectDrawPalette;
class TDirectDrawClipper;
class TDirectDrawSurfaceCanvas;

// One surface of the owner's display object: the frame surface, the screen, or a picture's
// off-screen surface. Without a platform surface every operation does nothing (reads give 0).
// Pixel values are raw: palette indices on an 8-bit surface.
class TDirectDrawSurface : public TDirectX {
 public:
  explicit TDirectDrawSurface(TDirectDraw* owner);
  ~TDirectDrawSurface() override;
  TDirectDrawSurface(const TDirectDrawSurface&) = delete;
  TDirectDrawSurface& operator=(const TDirectDrawSurface&) = delete;

  // Makes a platform surface from a description and attaches it. Returns whether that worked.
  bool CreateSurface(DDSURFACEDESC& desc);
  // Makes an off-screen surface of the given size, in video memory unless SystemMemory asks for
  // system memory (and there when video memory fails, which then sets SystemMemory). A size of
  // 0 or less drops the platform surface. Throws EDirectDrawSurfaceError "Surface cannot be
  // made" when nothing can be made.
  void MakeOffscreen(int width, int height);
  // Attaches a platform surface (or none), taking a reference of its own: clears the clipper
  // reference, description, HasClipper and LockCount, then reads them from the new surface.
  void SetIDDSurface(IDirectDrawSurface* surface);

  bool HasSurface() const { return surface4_ != nullptr; }
  // The interfaces; throw EDirectDrawSurfaceError "%s not made" when absent.
  IDirectDrawSurface* ISurface() const;
  IDirectDrawSurface4* ISurface4() const;

  int Width() const { return HasSurface() ? int(SurfaceDesc.dwWidth) : 0; }
  int Height() const { return HasSurface() ? int(SurfaceDesc.dwHeight) : 0; }
  int BitCount() const { return HasSurface() ? int(SurfaceDesc.ddpfPixelFormat.dwRGBBitCount) : 0; }

  // Fills the whole surface with a raw pixel value.
  void Fill(DWORD value);
  // One raw pixel; each access locks and unlocks the surface. Points outside do nothing (and
  // read 0), as does any access while the surface cannot be locked.
  DWORD Pixels(int x, int y);
  void SetPixels(int x, int y, DWORD value);

  // Locks the whole surface, one level deep: fails without a platform surface or while locked.
  // On success LockSurfaceDesc holds the pitch, format and pixel pointer.
  bool Lock();
  void Unlock();

  bool Blt(const RECT& dest, const RECT& source, DWORD flags, DDBLTFX& fx, TDirectDrawSurface* from);
  bool BltFast(int x, int y, const RECT& source, DWORD flags, TDirectDrawSurface* from);
  bool Restore();
  void SetPalette(TDirectDrawPalette* palette);
  void SetClipper(TDirectDrawClipper* clipper);

  // Picture drawing (DirectDrawSurfaceDrawing.cpp). Draw copies SourceArea of Source with its
  // top-left corner at (X, Y), cut at both surfaces' edges (a reversed SourceArea mirrors it);
  // DrawScaled stretches SourceArea over TargetArea; DrawTurned and DrawTurnedBlended turn and
  // scale it about a centre point (see RenderTurned). Transparent leaves out the source's
  // colour key. Nothing is drawn, and nothing reported, when a guard fails.
  void Draw(int X, int Y, const RECT& SourceArea, TDirectDrawSurface* Source, bool Transparent);
  void DrawScaled(const RECT& TargetArea, const RECT& SourceArea, TDirectDrawSurface* Source, bool Transparent);
  void DrawTurned(int X, int Y, int Width, int Height, const RECT& SourceArea, TDirectDrawSurface* Source,
                  double PivotX, double PivotY, bool Transparent, int Angle);
  void DrawTurnedBlended(int X, int Y, int Width, int Height, const RECT& SourceArea, TDirectDrawSurface* Source,
                         double PivotX, double PivotY, bool Transparent, int Angle, int Alpha);
  // The raw pixel value a colour (0x00BBGGRR) becomes on this surface, found by drawing it.
  DWORD NearestPixelValue(std::int32_t Color);
  // Sets the source colour key to one raw value.
  void SetTransparentKey(DWORD Value);

  // The canvas, made on first use and kept until the surface goes.
  TDirectDrawSurfaceCanvas& Canvas();

  TDirectDraw* DDraw() const { return owner_; }
  bool HasClipper = false;
  bool SystemMemory = false;
  DDSURFACEDESC SurfaceDesc{};
  DDSURFACEDESC LockSurfaceDesc{};
  int LockCount = 0;
  // The clipper made for scaled copies on this surface, kept once made.
  TDirectDrawClipper* StretchDrawClipper = nullptr;

 private:
  TDirectDraw* owner_;
  IDirectDrawSurface* surface_ = nullptr;
  IDirectDrawSurface4* surface4_ = nullptr;
  std::unique_ptr<TDirectDrawSurfaceCanvas> canvas_;
};
