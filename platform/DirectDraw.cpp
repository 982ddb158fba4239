// The software display objects: surfaces in ordinary memory, a flip chain whose flip presents
// through the backend, palettes, clippers, emulated display modes and surface loss.
#include "platform/DirectDraw.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/Backend.h"
#include "media/BlitKernels.h"
#include "platform/Gdi.h"
#include "media/OpaqueRuns.h"

constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = MAKE_DDHRESULT(564);
constexpr HRESULT DDERR_EXCLUSIVEMODEALREADYSET = MAKE_DDHRESULT(581);

namespace {

class TSoftDirectDraw;

// ---------------------------------------------------------------------------------------------
// Display modes
// ---------------------------------------------------------------------------------------------

std::vector<TEmulatedDisplayMode> DefaultModes() {
  std::vector<TEmulatedDisplayMode> modes;
  const DWORD sizes[][2] = {{640, 480},   {800, 600},   {1024, 768}, {1152, 864},
                            {1280, 960},  {1280, 1024}, {1600, 1200}};
  for (auto& s : sizes)
    for (DWORD bits : {8u, 16u, 24u, 32u}) modes.push_back({s[0], s[1], bits});
  return modes;
}

std::vector<TEmulatedDisplayMode>& Modes() {
  static std::vector<TEmulatedDisplayMode> modes = DefaultModes();
  return modes;
}

constexpr TEmulatedDisplayMode DesktopMode{1024, 768, 8};
TEmulatedDisplayMode currentMode = DesktopMode;

std::vector<TSoftDirectDraw*>& LiveDisplayObjects() {
  static std::vector<TSoftDirectDraw*> objects;
  return objects;
}

TSoftDirectDraw* exclusiveOwner = nullptr;

// ---------------------------------------------------------------------------------------------
// Pixel formats
// ---------------------------------------------------------------------------------------------

bool MakePixelFormat(DWORD bitCount, DDPIXELFORMAT& f) {
  f = {};
  f.dwSize = sizeof(DDPIXELFORMAT);
  f.dwRGBBitCount = bitCount;
  switch (bitCount) {
    case 1: f.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED1; return true;
    case 4: f.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED4; return true;
    case 8: f.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8; return true;
    case 16:
      f.dwFlags = DDPF_RGB;
      f.dwRBitMask = 0xF800;
      f.dwGBitMask = 0x07E0;
      f.dwBBitMask = 0x001F;
      return true;
    case 24:
    case 32:
      f.dwFlags = DDPF_RGB;
      f.dwRBitMask = 0xFF0000;
      f.dwGBitMask = 0x00FF00;
      f.dwBBitMask = 0x0000FF;
      return true;
    default: return false;
  }
}

bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

bool Inside(const RECT& r, int width, int height) {
  return r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height;
}

RECT Intersect(const RECT& a, const RECT& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

// ---------------------------------------------------------------------------------------------
// Reference counting
// ---------------------------------------------------------------------------------------------

template <class Interface>
class TCounted : public Interface {
 public:
  DWORD AddRef() override { return ++refs_; }
  DWORD Release() override {
    DWORD left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  DWORD refs_ = 1;
};

// ---------------------------------------------------------------------------------------------
// Palette
// ---------------------------------------------------------------------------------------------

class TSoftPalette : public TCounted<IDirectDrawPalette> {
 public:
  TSoftPalette(DWORD caps, const PALETTEENTRY* entries) : caps_(caps) {
    std::memcpy(Entries.data(), entries, sizeof(PALETTEENTRY) * Count());
  }
  int Count() const { return (caps_ & DDPCAPS_4BIT) ? 16 : 256; }

  HRESULT QueryInterface(const GUID&, void** object) override {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT GetCaps(DWORD* caps) override {
    if (!caps) return DDERR_INVALIDPARAMS;
    *caps = caps_;
    return DD_OK;
  }
  HRESULT GetEntries(DWORD, DWORD base, DWORD count, PALETTEENTRY* entries) override {
    if (!entries || base > DWORD(Count()) || count > DWORD(Count()) - base)
      return DDERR_INVALIDPARAMS;
    std::memcpy(entries, Entries.data() + base, sizeof(PALETTEENTRY) * count);
    return DD_OK;
  }
  HRESULT SetEntries(DWORD, DWORD start, DWORD count, const PALETTEENTRY* entries) override {
    if (!entries || start > DWORD(Count()) || count > DWORD(Count()) - start)
      return DDERR_INVALIDPARAMS;
    std::memcpy(Entries.data() + start, entries, sizeof(PALETTEENTRY) * count);
    return DD_OK;
  }

  std::array<PALETTEENTRY, 256> Entries{};

 private:
  DWORD caps_;
};

// ---------------------------------------------------------------------------------------------
// Clipper
// ---------------------------------------------------------------------------------------------

class TSoftClipper : public TCounted<IDirectDrawClipper> {
 public:
  HRESULT QueryInterface(const GUID&, void** object) override {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT GetClipList(RECT*, RGNDATA* list, DWORD* size) override {
    if (!size) return DDERR_INVALIDPARAMS;
    if (!hasList_) return DDERR_NOCLIPPERATTACHED;
    DWORD needed = sizeof(RGNDATAHEADER) + sizeof(RECT) * DWORD(Rects.size());
    if (!list) {
      *size = needed;
      return DD_OK;
    }
    if (*size < needed) return DDERR_INVALIDPARAMS;
    list->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(Rects.size()),
                 DWORD(sizeof(RECT) * Rects.size()), Bound()};
    std::memcpy(list->Buffer, Rects.data(), sizeof(RECT) * Rects.size());
    return DD_OK;
  }
  HRESULT GetHWnd(HWND* window) override {
    if (!window) return DDERR_INVALIDPARAMS;
    *window = Window;
    return DD_OK;
  }
  HRESULT SetClipList(RGNDATA* list, DWORD) override {
    if (Window) return DDERR_INVALIDPARAMS;  // a window's clipper follows the window
    if (!list) {
      hasList_ = false;
      Rects.clear();
      return DD_OK;
    }
    if (list->rdh.dwSize != sizeof(RGNDATAHEADER) || list->rdh.iType != RDH_RECTANGLES)
      return DDERR_INVALIDPARAMS;
    const RECT* rects = reinterpret_cast<const RECT*>(reinterpret_cast<const BYTE*>(list) +
                                                      sizeof(RGNDATAHEADER));
    Rects.assign(rects, rects + list->rdh.nCount);
    hasList_ = true;
    return DD_OK;
  }
  HRESULT SetHWnd(DWORD, HWND window) override {
    Window = window;
    Rects.clear();
    hasList_ = false;
    return DD_OK;
  }

  // The rectangles a blit may touch on a surface of the given size.
  void ClipRects(int width, int height, std::vector<RECT>& out) const {
    out.clear();
    RECT whole{0, 0, width, height};
    if (!hasList_) {
      out.push_back(whole);  // bound to a window that covers the screen, or to nothing yet
      return;
    }
    for (const RECT& r : Rects) {
      RECT c = Intersect(r, whole);
      if (!IsEmpty(c)) out.push_back(c);
    }
  }

  HWND Window = nullptr;
  std::vector<RECT> Rects;

 private:
  RECT Bound() const {
    if (Rects.empty()) return {0, 0, 0, 0};
    RECT b = Rects[0];
    for (const RECT& r : Rects) {
      b.left = std::min(b.left, r.left);
      b.top = std::min(b.top, r.top);
      b.right = std::max(b.right, r.right);
      b.bottom = std::max(b.bottom, r.bottom);
    }
    return b;
  }
  bool hasList_ = false;
};

// ---------------------------------------------------------------------------------------------
// Surface
// ---------------------------------------------------------------------------------------------

class TSoftSurface : public TCounted<IDirectDrawSurface> {
 public:
  TSoftSurface(TSoftDirectDraw* owner, DWORD caps, int width, int height,
               const DDPIXELFORMAT& format);
  ~TSoftSurface() override;

  HRESULT QueryInterface(const GUID& iid, void** object) override {
    if (!object) return DDERR_INVALIDPARAMS;
    if (iid == IID_IDirectDrawSurface || iid == IID_IDirectDrawSurface4) {
      AddRef();
      *object = static_cast<IDirectDrawSurface*>(this);
      return DD_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

  HRESULT Blt(RECT* destRect, IDirectDrawSurface* source, RECT* sourceRect, DWORD flags,
              DDBLTFX* fx) override;
  HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, RECT* sourceRect,
                  DWORD trans) override;
  HRESULT Flip(IDirectDrawSurface* target, DWORD flags) override;
  HRESULT GetAttachedSurface(DDSCAPS* caps, IDirectDrawSurface** surface) override {
    if (!caps || !surface) return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    if (!back_ || (caps->dwCaps & back_->caps_) != caps->dwCaps) return DDERR_NOTFOUND;
    back_->AddRef();
    *surface = back_;
    return DD_OK;
  }
  HRESULT GetCaps(DDSCAPS* caps) override {
    if (!caps) return DDERR_INVALIDPARAMS;
    caps->dwCaps = caps_;
    return DD_OK;
  }
  HRESULT GetClipper(IDirectDrawClipper** clipper) override {
    if (!clipper) return DDERR_INVALIDPARAMS;
    *clipper = clipper_;
    if (!clipper_) return DDERR_NOCLIPPERATTACHED;
    clipper_->AddRef();
    return DD_OK;
  }
  HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) override {
    if (!key) return DDERR_INVALIDPARAMS;
    if (flags == DDCKEY_SRCBLT && hasSourceKey_) *key = sourceKey_;
    else if (flags == DDCKEY_DESTBLT && hasDestKey_) *key = destKey_;
    else return DDERR_NOCOLORKEY;
    return DD_OK;
  }
  HRESULT GetDC(HDC* dc) override;
  HRESULT GetPalette(IDirectDrawPalette** palette) override {
    if (!palette) return DDERR_INVALIDPARAMS;
    *palette = palette_;
    if (!palette_) return DDERR_NOPALETTEATTACHED;
    palette_->AddRef();
    return DD_OK;
  }
  HRESULT GetPixelFormat(DDPIXELFORMAT* format) override {
    if (!format) return DDERR_INVALIDPARAMS;
    *format = format_;
    return DD_OK;
  }
  HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) override {
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    Describe(*desc);
    return DD_OK;
  }
  HRESULT IsLost() override { return lost_ ? DDERR_SURFACELOST : DD_OK; }
  HRESULT Lock(RECT* rect, DDSURFACEDESC* desc, DWORD flags, void* event) override;
  HRESULT ReleaseDC(HDC dc) override {
    if (!dc || dc != dc_) return DDERR_NODC;
    DestroyTargetDC(dc_);
    dc_ = nullptr;
    PixelsChanged();
    if (PresentsOnChange()) Present();
    return DD_OK;
  }
  HRESULT Restore() override;
  HRESULT SetClipper(IDirectDrawClipper* clipper) override {
    if (clipper) clipper->AddRef();
    if (clipper_) clipper_->Release();
    clipper_ = static_cast<TSoftClipper*>(clipper);
    return DD_OK;
  }
  HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) override {
    if (flags == DDCKEY_SRCBLT) {
      PixelsChanged();
      hasSourceKey_ = key != nullptr;
      if (key) sourceKey_ = *key;
    } else if (flags == DDCKEY_DESTBLT) {
      hasDestKey_ = key != nullptr;
      if (key) destKey_ = *key;
    } else {
      return DDERR_UNSUPPORTED;
    }
    return DD_OK;
  }
  HRESULT SetPalette(IDirectDrawPalette* palette) override {
    if (format_.dwRGBBitCount > 8) return DDERR_NOTPALETTIZED;
    if (palette) palette->AddRef();
    if (palette_) palette_->Release();
    palette_ = static_cast<TSoftPalette*>(palette);
    return DD_OK;
  }
  HRESULT Unlock(void*) override {
    if (!locked_) return DDERR_NOTLOCKED;
    locked_ = false;
    PixelsChanged();
    if (PresentsOnChange()) Present();
    return DD_OK;
  }

  // Loss, and the owner going away first.
  void MarkLost() {
    if (caps_ & DDSCAPS_VIDEOMEMORY) lost_ = true;
  }
  void Orphan() {
    owner_ = nullptr;
    lost_ = true;
  }
  DWORD Caps() const { return caps_; }
  TSoftPalette* Palette() const { return palette_; }

 private:
  friend class TSoftDirectDraw;

  void Describe(DDSURFACEDESC& d) const {
    std::memset(&d, 0, sizeof d);
    d.dwSize = sizeof(DDSURFACEDESC);
    d.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    d.dwWidth = DWORD(width_);
    d.dwHeight = DWORD(height_);
    d.lPitch = pitch_;
    d.ddpfPixelFormat = format_;
    d.ddsCaps.dwCaps = caps_;
    if (back_) {
      d.dwFlags |= DDSD_BACKBUFFERCOUNT;
      d.dwBackBufferCount = 1;
    }
    if (hasSourceKey_) {
      d.dwFlags |= DDSD_CKSRCBLT;
      d.ddckCKSrcBlt = sourceKey_;
    }
  }
  int BytesPerPixel() const { return int(format_.dwRGBBitCount) / 8; }
  std::uint8_t* Row(int y) { return pixels_.data() + std::ptrdiff_t(y) * pitch_; }
  // Is this surface busy with a lock or a device context, or lost?
  HRESULT Usable() const {
    if (lost_) return DDERR_SURFACELOST;
    if (locked_ || dc_) return DDERR_SURFACEBUSY;
    return DD_OK;
  }
  // The visible surface of the normal (windowed) level shows every change at once.
  bool PresentsOnChange() const {
    return (caps_ & DDSCAPS_PRIMARYSURFACE) && !(caps_ & DDSCAPS_FLIP);
  }
  void Present();
  // Every change of the pixels or of the source key goes through here, so that the opaque runs
  // kept for keyed copies never describe pixels that are gone.
  void PixelsChanged() {
    runs_.Clear();
    keyedCopiesSinceChange_ = 0;
  }
  const TOpaqueRuns* RunsForKeyedCopy();
  const std::array<PALETTEENTRY, 256>& Colors() const;
  HRESULT CopyRect(const RECT& d, TSoftSurface* source, const RECT& s, bool keyed);
  HRESULT StretchRect(const RECT& d, TSoftSurface* source, const RECT& s, bool keyed,
                      bool mirrorX, bool mirrorY);

  TSoftDirectDraw* owner_;
  DWORD caps_;
  int width_, height_, pitch_;
  DDPIXELFORMAT format_;
  std::vector<std::uint8_t> pixels_;
  bool lost_ = false;
  bool locked_ = false;
  HDC dc_ = nullptr;
  TSoftPalette* palette_ = nullptr;
  TSoftClipper* clipper_ = nullptr;
  bool hasSourceKey_ = false, hasDestKey_ = false;
  DDCOLORKEY sourceKey_{}, destKey_{};
  // The opaque runs under the source key, found at the second keyed copy since the last change
  // (a picture that is copied once and then changed is not worth the scan).
  TOpaqueRuns runs_;
  int keyedCopiesSinceChange_ = 0;
  TSoftSurface* back_ = nullptr;   // the back buffer, on the front buffer of a flip chain
  TSoftSurface* front_ = nullptr;  // the front buffer, on a back buffer (not counted)
};

// ---------------------------------------------------------------------------------------------
// Display object
// ---------------------------------------------------------------------------------------------

class TSoftDirectDraw : public TCounted<IDirectDraw> {
 public:
  TSoftDirectDraw() { LiveDisplayObjects().push_back(this); }
  ~TSoftDirectDraw() override {
    for (TSoftSurface* s : Surfaces) s->Orphan();
    if (modeChanged_) currentMode = DesktopMode;
    if (exclusiveOwner == this) exclusiveOwner = nullptr;
    auto& live = LiveDisplayObjects();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
  }

  HRESULT QueryInterface(const GUID& iid, void** object) override {
    if (!object) return DDERR_INVALIDPARAMS;
    if (iid == IID_IDirectDraw || iid == IID_IDirectDraw4) {
      AddRef();
      *object = static_cast<IDirectDraw*>(this);
      return DD_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

  HRESULT CreateClipper(DWORD, IDirectDrawClipper** clipper, IUnknown*) override {
    if (!clipper) return DDERR_INVALIDPARAMS;
    *clipper = new TSoftClipper();
    return DD_OK;
  }

  HRESULT CreatePalette(DWORD flags, const PALETTEENTRY* entries, IDirectDrawPalette** palette,
                        IUnknown*) override {
    if (!palette) return DDERR_INVALIDPARAMS;
    *palette = nullptr;
    if (!entries || !(flags & (DDPCAPS_8BIT | DDPCAPS_4BIT))) return DDERR_INVALIDPARAMS;
    *palette = new TSoftPalette(flags, entries);
    return DD_OK;
  }

  HRESULT CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** surface, IUnknown*) override;

  HRESULT EnumDisplayModes(DWORD, DDSURFACEDESC* filter, void* context,
                           LPDDENUMMODESCALLBACK callback) override {
    if (!callback) return DDERR_INVALIDPARAMS;
    for (const TEmulatedDisplayMode& m : Modes()) {
      if (filter) {
        if ((filter->dwFlags & DDSD_WIDTH) && filter->dwWidth != m.Width) continue;
        if ((filter->dwFlags & DDSD_HEIGHT) && filter->dwHeight != m.Height) continue;
        if ((filter->dwFlags & DDSD_PIXELFORMAT) &&
            filter->ddpfPixelFormat.dwRGBBitCount != m.BitCount)
          continue;
      }
      DDSURFACEDESC d;
      DescribeMode(m, d);
      if (callback(&d, context) == HRESULT(DDENUMRET_CANCEL)) break;
    }
    return DD_OK;
  }

  HRESULT FlipToGDISurface() override {
    if (!Exclusive()) return DDERR_NOEXCLUSIVEMODE;
    return DD_OK;  // the desktop is whatever the backend shows once we stop presenting
  }

  HRESULT GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) override {
    if (!driverCaps && !emulationCaps) return DDERR_INVALIDPARAMS;
    for (DDCAPS* c : {driverCaps, emulationCaps}) {
      if (!c) continue;
      if (c->dwSize != sizeof(DDCAPS)) return DDERR_INVALIDPARAMS;
      std::memset(c, 0, sizeof(DDCAPS));
      c->dwSize = sizeof(DDCAPS);
      c->dwCaps = 0x00000040u /*BLT*/ | 0x00000200u /*BLTSTRETCH*/ | 0x00008000u /*PALETTE*/ |
                  0x00400000u /*COLORKEY*/ | 0x04000000u /*BLTCOLORFILL*/;
      c->dwCKeyCaps = 0x00000200u;  // source colour key on blits
      c->dwFXCaps = 0x00000010u | 0x00000020u;  // mirror left-right, up-down
      c->dwPalCaps = DDPCAPS_8BIT;
    }
    return DD_OK;
  }

  HRESULT GetDisplayMode(DDSURFACEDESC* desc) override {
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    DescribeMode(currentMode, *desc);
    return DD_OK;
  }

  HRESULT RestoreDisplayMode() override {
    if (modeChanged_) SwitchMode(DesktopMode);
    modeChanged_ = false;
    return DD_OK;
  }

  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override {
    bool fullScreen = flags & DDSCL_FULLSCREEN, exclusive = flags & DDSCL_EXCLUSIVE;
    bool normal = flags & DDSCL_NORMAL;
    if (fullScreen != exclusive || (normal && exclusive) || (!normal && !exclusive))
      return DDERR_INVALIDPARAMS;
    if (exclusive) {
      if (!window) return DDERR_INVALIDPARAMS;
      if (exclusiveOwner && exclusiveOwner != this) return DDERR_EXCLUSIVEMODEALREADYSET;
      exclusiveOwner = this;
    } else if (exclusiveOwner == this) {
      exclusiveOwner = nullptr;
    }
    level_ = flags;
    window_ = window;
    Active = true;
    return DD_OK;
  }

  HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitCount, DWORD, DWORD) override {
    if (!Exclusive()) return DDERR_NOEXCLUSIVEMODE;
    for (const TEmulatedDisplayMode& m : Modes())
      if (m.Width == width && m.Height == height && m.BitCount == bitCount) {
        SwitchMode(m);
        modeChanged_ = true;
        return DD_OK;
      }
    return DDERR_INVALIDMODE;
  }

  HRESULT WaitForVerticalBlank(DWORD flags, void*) override {
    // No beam to wait for: the backend's present keeps the pace of the real screen.
    return (flags == DDWAITVB_BLOCKBEGIN || flags == 4 /*BLOCKEND*/) ? DD_OK
                                                                      : DDERR_INVALIDPARAMS;
  }

  bool Exclusive() const { return level_ & DDSCL_EXCLUSIVE; }

  void Deactivate() {
    Active = false;
    for (TSoftSurface* s : Surfaces) s->MarkLost();
  }

  std::vector<TSoftSurface*> Surfaces;  // every live surface made here (not counted)
  TSoftSurface* Primary = nullptr;      // the visible surface, while it lives
  bool Active = true;

 private:
  static void DescribeMode(const TEmulatedDisplayMode& m, DDSURFACEDESC& d) {
    std::memset(&d, 0, sizeof d);
    d.dwSize = sizeof(DDSURFACEDESC);
    d.dwFlags = DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    d.dwWidth = m.Width;
    d.dwHeight = m.Height;
    d.lPitch = LONG(m.Width * m.BitCount / 8);
    d.dwRefreshRate = 60;
    MakePixelFormat(m.BitCount, d.ddpfPixelFormat);
  }
  void SwitchMode(const TEmulatedDisplayMode& m) {
    if (m.Width == currentMode.Width && m.Height == currentMode.Height &&
        m.BitCount == currentMode.BitCount)
      return;
    currentMode = m;
    // A mode switch takes the video memory away from everything in it.
    for (TSoftSurface* s : Surfaces) s->MarkLost();
  }

  DWORD level_ = 0;
  HWND window_ = nullptr;
  bool modeChanged_ = false;
};

// ---------------------------------------------------------------------------------------------
// Surface operations
// ---------------------------------------------------------------------------------------------

TSoftSurface::TSoftSurface(TSoftDirectDraw* owner, DWORD caps, int width, int height,
                           const DDPIXELFORMAT& format)
    : owner_(owner), caps_(caps), width_(width), height_(height), format_(format) {
  pitch_ = ((width * int(format.dwRGBBitCount) + 31) / 32) * 4;
  pixels_.assign(std::size_t(pitch_) * std::size_t(height), 0);
  owner_->Surfaces.push_back(this);
}

TSoftSurface::~TSoftSurface() {
  if (dc_) DestroyTargetDC(dc_);
  if (palette_) palette_->Release();
  if (clipper_) clipper_->Release();
  if (back_) {
    back_->front_ = nullptr;
    back_->Release();
  }
  if (front_ && front_->back_ == this) front_->back_ = nullptr;
  if (owner_) {
    auto& list = owner_->Surfaces;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (owner_->Primary == this) owner_->Primary = nullptr;
  }
}

const std::array<PALETTEENTRY, 256>& TSoftSurface::Colors() const {
  // An 8-bit surface without its own palette shows the colours of the screen's palette.
  if (palette_) return palette_->Entries;
  if (front_ && front_->palette_) return front_->palette_->Entries;
  if (owner_ && owner_->Primary && owner_->Primary->palette_)
    return owner_->Primary->palette_->Entries;
  return SystemPalette();
}

void TSoftSurface::Present() {
  if (!HasBackend() || format_.dwRGBBitCount != 8) return;
  std::uint32_t palette[256];
  const auto& colors = Colors();
  for (int i = 0; i < 256; ++i)
    palette[i] = (std::uint32_t(colors[i].peRed) << 16) | (std::uint32_t(colors[i].peGreen) << 8) |
                 colors[i].peBlue;
  Backend().Present(pixels_.data(), pitch_, width_, height_, palette);
}

HRESULT TSoftSurface::Lock(RECT* rect, DDSURFACEDESC* desc, DWORD, void*) {
  if (!desc || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
  if (HRESULT hr = Usable(); FAILED(hr)) return hr;
  RECT r = rect ? *rect : RECT{0, 0, width_, height_};
  if (IsEmpty(r) || !Inside(r, width_, height_)) return DDERR_INVALIDRECT;
  Describe(*desc);
  desc->dwFlags |= DDSD_LPSURFACE;
  desc->lpSurface = Row(r.top) + std::ptrdiff_t(r.left) * int(format_.dwRGBBitCount) / 8;
  locked_ = true;
  PixelsChanged();
  return DD_OK;
}

HRESULT TSoftSurface::GetDC(HDC* dc) {
  if (!dc) return DDERR_INVALIDPARAMS;
  *dc = nullptr;
  if (dc_) return DDERR_DCALREADYCREATED;
  if (HRESULT hr = Usable(); FAILED(hr)) return hr;
  if (format_.dwRGBBitCount < 8) return DDERR_UNSUPPORTED;
  TPixelTarget t;
  t.Pixels = pixels_.data();
  t.Pitch = pitch_;
  t.Width = width_;
  t.Height = height_;
  t.BitCount = int(format_.dwRGBBitCount);
  t.RedMask = format_.dwRBitMask;
  t.GreenMask = format_.dwGBitMask;
  t.BlueMask = format_.dwBBitMask;
  if (t.BitCount == 8) t.Colors = Colors();
  dc_ = CreateTargetDC(t);
  *dc = dc_;
  PixelsChanged();
  return DD_OK;
}

HRESULT TSoftSurface::Restore() {
  if (!lost_) return DD_OK;
  if (!owner_) return DDERR_INVALIDOBJECT;
  if (owner_->Exclusive() && !owner_->Active) return DDERR_WRONGMODE;
  // Restoring a flip chain restores all of it; the contents are gone either way.
  for (TSoftSurface* s : {this, back_}) {
    if (!s) continue;
    s->lost_ = false;
    std::fill(s->pixels_.begin(), s->pixels_.end(), 0);
    s->PixelsChanged();
  }
  return DD_OK;
}

HRESULT TSoftSurface::Flip(IDirectDrawSurface* target, DWORD) {
  if (!back_ || !(caps_ & DDSCAPS_FRONTBUFFER)) return DDERR_NOTFLIPPABLE;
  if (target && target != back_) return DDERR_INVALIDPARAMS;
  if (!owner_ || !owner_->Exclusive()) return DDERR_NOEXCLUSIVEMODE;
  if (HRESULT hr = Usable(); FAILED(hr)) return hr;
  if (HRESULT hr = back_->Usable(); FAILED(hr)) return hr;
  pixels_.swap(back_->pixels_);
  PixelsChanged();
  back_->PixelsChanged();
  Present();
  return DD_OK;
}

HRESULT TSoftSurface::BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, RECT* sourceRect,
                              DWORD trans) {
  if (!source) return DDERR_INVALIDPARAMS;
  if (clipper_) return DDERR_BLTFASTCANTCLIP;
  auto* src = static_cast<TSoftSurface*>(source);
  if (src->format_.dwRGBBitCount != format_.dwRGBBitCount) return DDERR_INVALIDPIXELFORMAT;
  if (trans & DDBLTFAST_DESTCOLORKEY) return DDERR_UNSUPPORTED;
  bool keyed = trans & DDBLTFAST_SRCCOLORKEY;
  if (keyed && !src->hasSourceKey_) return DDERR_NOCOLORKEY;
  RECT s = sourceRect ? *sourceRect : RECT{0, 0, src->width_, src->height_};
  if (x > DWORD(width_) || y > DWORD(height_)) return DDERR_INVALIDRECT;
  RECT d{LONG(x), LONG(y), LONG(x) + (s.right - s.left), LONG(y) + (s.bottom - s.top)};
  if (IsEmpty(s) || !Inside(s, src->width_, src->height_) || !Inside(d, width_, height_))
    return DDERR_INVALIDRECT;
  return CopyRect(d, src, s, keyed);
}

HRESULT TSoftSurface::Blt(RECT* destRect, IDirectDrawSurface* source, RECT* sourceRect,
                          DWORD flags, DDBLTFX* fx) {
  RECT d = destRect ? *destRect : RECT{0, 0, width_, height_};
  if (IsEmpty(d)) return DDERR_INVALIDRECT;

  if (flags & DDBLT_COLORFILL) {
    if (!fx) return DDERR_INVALIDPARAMS;
    if (HRESULT hr = Usable(); FAILED(hr)) return hr;
    if (format_.dwRGBBitCount < 8) return DDERR_UNSUPPORTED;
    static thread_local std::vector<RECT> clip;
    if (clipper_) {
      clipper_->ClipRects(width_, height_, clip);
    } else {
      if (!Inside(d, width_, height_)) return DDERR_INVALIDRECT;
      clip.assign(1, d);
    }
    for (const RECT& c : clip) {
      RECT r = Intersect(d, c);
      if (IsEmpty(r)) continue;
      FillPixels(Row(r.top) + std::ptrdiff_t(r.left) * BytesPerPixel(), pitch_, r.right - r.left,
                 r.bottom - r.top, BytesPerPixel(), fx->dwFillColor);
    }
    PixelsChanged();
    if (PresentsOnChange()) Present();
    return DD_OK;
  }

  if (!source) return DDERR_INVALIDPARAMS;
  auto* src = static_cast<TSoftSurface*>(source);
  if (src->format_.dwRGBBitCount != format_.dwRGBBitCount || format_.dwRGBBitCount < 8)
    return DDERR_INVALIDPIXELFORMAT;
  if (flags & DDBLT_KEYDEST) return DDERR_UNSUPPORTED;
  bool keyed = flags & DDBLT_KEYSRC;
  if (keyed && !src->hasSourceKey_) return DDERR_NOCOLORKEY;
  RECT s = sourceRect ? *sourceRect : RECT{0, 0, src->width_, src->height_};
  if (IsEmpty(s) || !Inside(s, src->width_, src->height_)) return DDERR_INVALIDRECT;
  bool mirrorX = false, mirrorY = false;
  if ((flags & DDBLT_DDFX) && fx) {
    mirrorX = fx->dwDDFX & DDBLTFX_MIRRORLEFTRIGHT;
    mirrorY = fx->dwDDFX & DDBLTFX_MIRRORUPDOWN;
  }
  bool sameSize = d.right - d.left == s.right - s.left && d.bottom - d.top == s.bottom - s.top;
  HRESULT hr;
  if (sameSize && !mirrorX && !mirrorY && !clipper_) {
    if (!Inside(d, width_, height_)) return DDERR_INVALIDRECT;
    hr = CopyRect(d, src, s, keyed);
  } else {
    if (!clipper_ && !Inside(d, width_, height_)) return DDERR_INVALIDRECT;
    hr = StretchRect(d, src, s, keyed, mirrorX, mirrorY);
  }
  if (SUCCEEDED(hr) && PresentsOnChange()) Present();
  return hr;
}

// Narrower than this, the compare-and-select kernel copies a keyed block faster than the runs.
constexpr int MinRunCopyWidth = 48;

const TOpaqueRuns* TSoftSurface::RunsForKeyedCopy() {
  if (keyedCopiesSinceChange_ < 2 && ++keyedCopiesSinceChange_ == 2)
    runs_.Build(pixels_.data(), pitch_, width_, height_, std::uint8_t(sourceKey_.dwColorSpaceLowValue));
  return runs_.Built() ? &runs_ : nullptr;
}

HRESULT TSoftSurface::CopyRect(const RECT& d, TSoftSurface* src, const RECT& s, bool keyed) {
  if (HRESULT hr = Usable(); FAILED(hr)) return hr;
  if (src != this) {
    if (HRESULT hr = src->Usable(); FAILED(hr)) return hr;
  }
  const int bpp = BytesPerPixel(), w = d.right - d.left, h = d.bottom - d.top;
  const std::uint8_t* from = src->Row(s.top) + std::ptrdiff_t(s.left) * bpp;
  std::uint8_t* to = Row(d.top) + std::ptrdiff_t(d.left) * bpp;
  int fromPitch = src->pitch_;
  static thread_local std::vector<std::uint8_t> scratch;
  if (src == this) {
    // The two rectangles may overlap: take the source out first.
    scratch.resize(std::size_t(w) * bpp * h);
    CopyPixels(from, fromPitch, scratch.data(), w * bpp, w, h, bpp);
    from = scratch.data();
    fromPitch = w * bpp;
  }
  const TOpaqueRuns* runs =
      keyed && bpp == 1 && src != this && w >= MinRunCopyWidth ? src->RunsForKeyedCopy() : nullptr;
  if (runs)
    runs->Copy(to, pitch_, src->pixels_.data(), src->pitch_, s.left, s.top, w, h);
  else if (!keyed)
    CopyPixels(from, fromPitch, to, pitch_, w, h, bpp);
  else if (bpp == 1)
    CopyPixelsKeyed8(from, fromPitch, to, pitch_, w, h,
                     std::uint8_t(src->sourceKey_.dwColorSpaceLowValue));
  else
    CopyPixelsKeyed(from, fromPitch, to, pitch_, w, h, bpp, src->sourceKey_.dwColorSpaceLowValue);
  PixelsChanged();
  return DD_OK;
}

HRESULT TSoftSurface::StretchRect(const RECT& d, TSoftSurface* src, const RECT& s, bool keyed,
                                  bool mirrorX, bool mirrorY) {
  if (HRESULT hr = Usable(); FAILED(hr)) return hr;
  if (src != this) {
    if (HRESULT hr = src->Usable(); FAILED(hr)) return hr;
  }
  PixelsChanged();
  const int bpp = BytesPerPixel();
  const long long dw = d.right - d.left, dh = d.bottom - d.top;
  const long long sw = s.right - s.left, sh = s.bottom - s.top;
  static thread_local std::vector<RECT> clip;
  static thread_local std::vector<int> columns;
  static thread_local std::vector<std::uint8_t> copy;
  if (clipper_) clipper_->ClipRects(width_, height_, clip);
  else clip.assign(1, RECT{0, 0, width_, height_});

  // Sample at the centre of each destination pixel.
  columns.resize(std::size_t(dw));
  for (long long x = 0; x < dw; ++x) {
    long long i = mirrorX ? dw - 1 - x : x;
    columns[std::size_t(x)] = int(s.left + (2 * i + 1) * sw / (2 * dw));
  }
  const std::uint8_t* srcPixels = src->pixels_.data();
  if (src == this) {
    copy = pixels_;
    srcPixels = copy.data();
  }
  const std::uint32_t key = src->sourceKey_.dwColorSpaceLowValue;
  for (const RECT& c : clip) {
    RECT r = Intersect(d, c);
    if (IsEmpty(r)) continue;
    for (int y = r.top; y < r.bottom; ++y) {
      long long j = mirrorY ? dh - 1 - (y - d.top) : (y - d.top);
      int sy = int(s.top + (2 * j + 1) * sh / (2 * dh));
      const std::uint8_t* from = srcPixels + std::ptrdiff_t(sy) * src->pitch_;
      std::uint8_t* to = Row(y);
      for (int x = r.left; x < r.right; ++x) {
        int sx = columns[std::size_t(x - d.left)];
        if (bpp == 1) {
          std::uint8_t v = from[sx];
          if (!keyed || v != key) to[x] = v;
        } else {
          std::uint32_t v = ReadPixel(from + std::ptrdiff_t(sx) * bpp, bpp);
          if (!keyed || v != key) WritePixel(to + std::ptrdiff_t(x) * bpp, bpp, v);
        }
      }
    }
  }
  return DD_OK;
}

HRESULT TSoftDirectDraw::CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** surface,
                                       IUnknown*) {
  if (!surface) return DDERR_INVALIDPARAMS;
  *surface = nullptr;
  if (!desc || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
  if (!level_) return DDERR_NOCOOPERATIVELEVELSET;
  DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : DDSCAPS_OFFSCREENPLAIN;
  if ((caps & DDSCAPS_SYSTEMMEMORY) && (caps & DDSCAPS_VIDEOMEMORY)) return DDERR_INVALIDCAPS;

  if (caps & DDSCAPS_PRIMARYSURFACE) {
    if (Primary) return DDERR_PRIMARYSURFACEALREADYEXISTS;
    if (desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
    DDPIXELFORMAT format;
    MakePixelFormat(currentMode.BitCount, format);
    int w = int(currentMode.Width), h = int(currentMode.Height);
    bool chain = caps & DDSCAPS_FLIP;
    if (chain) {
      if (!(caps & DDSCAPS_COMPLEX) || !(desc->dwFlags & DDSD_BACKBUFFERCOUNT)) return DDERR_INVALIDCAPS;
      if (!Exclusive()) return DDERR_NOEXCLUSIVEMODE;
      if (desc->dwBackBufferCount != 1) return DDERR_UNSUPPORTED;
    }
    DWORD memory = (caps & ~DDSCAPS_SYSTEMMEMORY) | DDSCAPS_VIDEOMEMORY;
    auto* front = new TSoftSurface(this, memory | (chain ? DDSCAPS_FRONTBUFFER : 0), w, h, format);
    if (chain) {
      DWORD backCaps = (memory & ~(DDSCAPS_PRIMARYSURFACE)) | DDSCAPS_BACKBUFFER;
      front->back_ = new TSoftSurface(this, backCaps, w, h, format);
      front->back_->front_ = front;
    }
    Primary = front;
    *surface = front;
    return DD_OK;
  }

  if (!(desc->dwFlags & DDSD_WIDTH) || !(desc->dwFlags & DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
  if (desc->dwWidth == 0 || desc->dwHeight == 0 || desc->dwWidth > 16384 ||
      desc->dwHeight > 16384)
    return DDERR_INVALIDPARAMS;
  DDPIXELFORMAT format;
  DWORD bits = (desc->dwFlags & DDSD_PIXELFORMAT) ? desc->ddpfPixelFormat.dwRGBBitCount
                                                   : currentMode.BitCount;
  if (!MakePixelFormat(bits, format)) return DDERR_INVALIDPIXELFORMAT;
  if (!(caps & DDSCAPS_SYSTEMMEMORY)) caps |= DDSCAPS_VIDEOMEMORY;
  auto* s = new TSoftSurface(this, caps, int(desc->dwWidth), int(desc->dwHeight), format);
  *surface = s;
  return DD_OK;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Entry points
// ---------------------------------------------------------------------------------------------

HRESULT DirectDrawCreate(GUID* device, IDirectDraw** directDraw, IUnknown* outer) {
  if (!directDraw || outer) return DDERR_INVALIDPARAMS;
  *directDraw = nullptr;
  if (device) return DDERR_INVALIDPARAMS;  // only the default display device exists
  *directDraw = new TSoftDirectDraw();
  return DD_OK;
}

HRESULT DirectDrawEnumerateA(LPDDENUMCALLBACKA callback, void* context) {
  if (!callback) return DDERR_INVALIDPARAMS;
  char description[] = "Primary Display Driver";
  char name[] = "display";
  callback(nullptr, description, name, context);
  return DD_OK;
}

void DirectDrawActivateApp(bool active) {
  for (TSoftDirectDraw* d : LiveDisplayObjects()) {
    if (!d->Exclusive()) continue;
    if (active) d->Active = true;
    else d->Deactivate();
  }
}

void SetEmulatedDisplayModes(const std::vector<TEmulatedDisplayMode>& modes) {
  Modes() = modes.empty() ? DefaultModes() : modes;
}

const std::vector<TEmulatedDisplayMode>& EmulatedDisplayModes() { return Modes(); }

TEmulatedDisplayMode CurrentDisplayMode() { return currentMode; }
