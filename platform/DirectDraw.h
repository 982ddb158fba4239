// The display objects of the platform, in software: display object, surfaces, palettes and
// clippers with the platform's interface names, flags, record layouts and result codes.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/Windows.h"

// ---------------------------------------------------------------------------------------------
// Result codes. Failures are returned, never thrown.
// ---------------------------------------------------------------------------------------------

constexpr HRESULT MAKE_DDHRESULT(DWORD code) { return static_cast<HRESULT>(0x88760000u | code); }

constexpr HRESULT DDERR_GENERIC = E_FAIL;
constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DDERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DDERR_INVALIDCAPS = MAKE_DDHRESULT(100);
constexpr HRESULT DDERR_INVALIDMODE = MAKE_DDHRESULT(120);
constexpr HRESULT DDERR_INVALIDOBJECT = MAKE_DDHRESULT(130);
constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MAKE_DDHRESULT(145);
constexpr HRESULT DDERR_INVALIDRECT = MAKE_DDHRESULT(150);
constexpr HRESULT DDERR_NOCLIPPERATTACHED = MAKE_DDHRESULT(205);
constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = MAKE_DDHRESULT(212);
constexpr HRESULT DDERR_NOCOLORKEY = MAKE_DDHRESULT(215);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = MAKE_DDHRESULT(225);
constexpr HRESULT DDERR_NOTFOUND = MAKE_DDHRESULT(255);
constexpr HRESULT DDERR_NOPALETTEATTACHED = MAKE_DDHRESULT(255 + 68);
constexpr HRESULT DDERR_SURFACEBUSY = MAKE_DDHRESULT(430);
constexpr HRESULT DDERR_SURFACELOST = MAKE_DDHRESULT(450);         // 0x887601C2
constexpr HRESULT DDERR_WASSTILLDRAWING = MAKE_DDHRESULT(540);
constexpr HRESULT DDERR_BLTFASTCANTCLIP = MAKE_DDHRESULT(574);     // 0x8876023E
constexpr HRESULT DDERR_NOTFLIPPABLE = MAKE_DDHRESULT(582);
constexpr HRESULT DDERR_NOTLOCKED = MAKE_DDHRESULT(584);
constexpr HRESULT DDERR_WRONGMODE = MAKE_DDHRESULT(587);
constexpr HRESULT DDERR_NOTPALETTIZED = MAKE_DDHRESULT(589);
constexpr HRESULT DDERR_DCALREADYCREATED = MAKE_DDHRESULT(620);
constexpr HRESULT DDERR_NODC = MAKE_DDHRESULT(586);

// ---------------------------------------------------------------------------------------------
// Flags
// ---------------------------------------------------------------------------------------------

// SetCooperativeLevel
constexpr DWORD DDSCL_FULLSCREEN = 0x01;
constexpr DWORD DDSCL_ALLOWREBOOT = 0x02;
constexpr DWORD DDSCL_NOWINDOWCHANGES = 0x04;
constexpr DWORD DDSCL_NORMAL = 0x08;
constexpr DWORD DDSCL_EXCLUSIVE = 0x10;
constexpr DWORD DDSCL_ALLOWMODEX = 0x40;

// Which fields of a surface description are valid
constexpr DWORD DDSD_CAPS = 0x01;
constexpr DWORD DDSD_HEIGHT = 0x02;
constexpr DWORD DDSD_WIDTH = 0x04;
constexpr DWORD DDSD_PITCH = 0x08;
constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x20;
constexpr DWORD DDSD_LPSURFACE = 0x800;
constexpr DWORD DDSD_PIXELFORMAT = 0x1000;
constexpr DWORD DDSD_CKSRCBLT = 0x10000;

// Surface capabilities
constexpr DWORD DDSCAPS_BACKBUFFER = 0x04;
constexpr DWORD DDSCAPS_COMPLEX = 0x08;
constexpr DWORD DDSCAPS_FLIP = 0x10;
constexpr DWORD DDSCAPS_FRONTBUFFER = 0x20;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr DWORD DDSCAPS_3DDEVICE = 0x2000;
constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x4000;

// Pixel format flags
constexpr DWORD DDPF_ALPHAPIXELS = 0x01;
constexpr DWORD DDPF_PALETTEINDEXED4 = 0x08;
constexpr DWORD DDPF_PALETTEINDEXED8 = 0x20;
constexpr DWORD DDPF_RGB = 0x40;
constexpr DWORD DDPF_PALETTEINDEXED1 = 0x800;
constexpr DWORD DDPF_PALETTEINDEXED2 = 0x1000;

// Blt and BltFast
constexpr DWORD DDBLT_COLORFILL = 0x400;
constexpr DWORD DDBLT_DDFX = 0x800;
constexpr DWORD DDBLT_KEYDEST = 0x2000;
constexpr DWORD DDBLT_KEYSRC = 0x8000;
constexpr DWORD DDBLT_WAIT = 0x01000000;
constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x00;
constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x01;
constexpr DWORD DDBLTFAST_DESTCOLORKEY = 0x02;
constexpr DWORD DDBLTFAST_WAIT = 0x10;
constexpr DWORD DDBLTFX_MIRRORLEFTRIGHT = 0x02;
constexpr DWORD DDBLTFX_MIRRORUPDOWN = 0x04;

// Lock, Flip, colour keys, palettes, vertical blank
constexpr DWORD DDLOCK_SURFACEMEMORYPTR = 0x00;
constexpr DWORD DDLOCK_WAIT = 0x01;
constexpr DWORD DDLOCK_READONLY = 0x10;
constexpr DWORD DDLOCK_WRITEONLY = 0x20;
constexpr DWORD DDFLIP_WAIT = 0x01;
constexpr DWORD DDCKEY_DESTBLT = 0x02;
constexpr DWORD DDCKEY_SRCBLT = 0x08;
constexpr DWORD DDPCAPS_4BIT = 0x01;
constexpr DWORD DDPCAPS_8BIT = 0x04;
constexpr DWORD DDPCAPS_INITIALIZE = 0x08;
constexpr DWORD DDPCAPS_ALLOW256 = 0x40;
constexpr DWORD DDWAITVB_BLOCKBEGIN = 0x01;
constexpr DWORD DDENUMRET_CANCEL = 0;
constexpr DWORD DDENUMRET_OK = 1;

// ---------------------------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------------------------

struct DDCOLORKEY {
  DWORD dwColorSpaceLowValue;
  DWORD dwColorSpaceHighValue;
};

struct DDSCAPS {
  DWORD dwCaps;
};

// A pixel format: 32 bytes.
struct DDPIXELFORMAT {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwFourCC;
  DWORD dwRGBBitCount;
  DWORD dwRBitMask;
  DWORD dwGBitMask;
  DWORD dwBBitMask;
  DWORD dwRGBAlphaBitMask;
};
static_assert(sizeof(DDPIXELFORMAT) == 32);

// A surface description. 108 bytes where a pointer has 4 bytes; on a 64-bit machine the pixel
// pointer is 8 bytes wide and aligned, so the record is sizeof(DDSURFACEDESC), which callers pass
// in dwSize. Field order and meaning are the platform's.
struct DDSURFACEDESC {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwHeight;
  DWORD dwWidth;
  LONG lPitch;
  DWORD dwBackBufferCount;
  DWORD dwRefreshRate;
  DWORD dwAlphaBitDepth;
  DWORD dwReserved;
  void* lpSurface;
  DDCOLORKEY ddckCKDestOverlay;
  DDCOLORKEY ddckCKDestBlt;
  DDCOLORKEY ddckCKSrcOverlay;
  DDCOLORKEY ddckCKSrcBlt;
  DDPIXELFORMAT ddpfPixelFormat;
  DDSCAPS ddsCaps;
};

// The effects record of Blt: 100 bytes. Only the fields a caller may set are named; the rest
// (raster operations, Z and alpha values, pattern surfaces) are not supported.
struct DDBLTFX {
  DWORD dwSize;
  DWORD dwDDFX;
  DWORD dwROP;
  DWORD dwDDROP;
  DWORD dwRotationAngle;
  DWORD dwZBufferOpCode;
  DWORD dwZBufferLow;
  DWORD dwZBufferHigh;
  DWORD dwZBufferBaseDest;
  DWORD dwZDestConstBitDepth;
  DWORD dwZDestConst;
  DWORD dwZSrcConstBitDepth;
  DWORD dwZSrcConst;
  DWORD dwAlphaEdgeBlendBitDepth;
  DWORD dwAlphaEdgeBlend;
  DWORD dwReserved;
  DWORD dwAlphaDestConstBitDepth;
  DWORD dwAlphaDestConst;
  DWORD dwAlphaSrcConstBitDepth;
  DWORD dwAlphaSrcConst;
  DWORD dwFillColor;
  DDCOLORKEY ddckDestColorkey;
  DDCOLORKEY ddckSrcColorkey;
};
static_assert(sizeof(DDBLTFX) == 100);

// Display driver capabilities: 380 bytes. Only the leading fields are named.
struct DDCAPS {
  DWORD dwSize;
  DWORD dwCaps;
  DWORD dwCaps2;
  DWORD dwCKeyCaps;
  DWORD dwFXCaps;
  DWORD dwFXAlphaCaps;
  DWORD dwPalCaps;
  DWORD dwSVCaps;
  DWORD dwRest[87];
};
static_assert(sizeof(DDCAPS) == 380);

// A region as a list of rectangles: a 32-byte header followed by nCount rectangles.
struct RGNDATAHEADER {
  DWORD dwSize;
  DWORD iType;
  DWORD nCount;
  DWORD nRgnSize;
  RECT rcBound;
};
static_assert(sizeof(RGNDATAHEADER) == 32);
constexpr DWORD RDH_RECTANGLES = 1;

struct RGNDATA {
  RGNDATAHEADER rdh;
  RECT Buffer[1];  // nCount rectangles follow the header
};

// ---------------------------------------------------------------------------------------------
// Interfaces. Reference counted: AddRef/Release; the object goes when the count reaches 0.
// The "4" interfaces are the same objects reached through QueryInterface.
// ---------------------------------------------------------------------------------------------

// Inline, as the system's headers make them: on Windows the program also links libraries that
// define the same identifiers with the same values (SDL's joystick code), and one copy is kept.
inline constexpr GUID IID_IDirectDraw = {0x6C14DB80, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
inline constexpr GUID IID_IDirectDraw4 = {0x9C59509A, 0x39BD, 0x11D1, {0x8C, 0x4A, 0x00, 0xC0, 0x4F, 0xD9, 0x30, 0xC5}};
inline constexpr GUID IID_IDirectDrawSurface = {0x6C14DB81, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
inline constexpr GUID IID_IDirectDrawSurface4 = {0x0B2B8630, 0xAD35, 0x11D0, {0x8E, 0xA6, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};

class IDirectDrawSurface;
class IDirectDrawPalette;
class IDirectDrawClipper;

class IUnknown {
 public:
  virtual HRESULT QueryInterface(const GUID& iid, void** object) = 0;
  virtual DWORD AddRef() = 0;
  virtual DWORD Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

using LPDDENUMMODESCALLBACK = HRESULT (*)(DDSURFACEDESC* mode, void* context);

class IDirectDraw : public IUnknown {
 public:
  virtual HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) = 0;
  virtual HRESULT CreatePalette(DWORD flags, const PALETTEENTRY* entries,
                                IDirectDrawPalette** palette, IUnknown* outer) = 0;
  virtual HRESULT CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** surface,
                                IUnknown* outer) = 0;
  virtual HRESULT EnumDisplayModes(DWORD flags, DDSURFACEDESC* filter, void* context,
                                   LPDDENUMMODESCALLBACK callback) = 0;
  virtual HRESULT FlipToGDISurface() = 0;
  virtual HRESULT GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) = 0;
  virtual HRESULT GetDisplayMode(DDSURFACEDESC* desc) = 0;
  virtual HRESULT RestoreDisplayMode() = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
  virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitCount, DWORD refreshRate = 0,
                                 DWORD flags = 0) = 0;
  virtual HRESULT WaitForVerticalBlank(DWORD flags, void* event) = 0;
};
using IDirectDraw4 = IDirectDraw;

class IDirectDrawSurface : public IUnknown {
 public:
  virtual HRESULT Blt(RECT* destRect, IDirectDrawSurface* source, RECT* sourceRect, DWORD flags,
                      DDBLTFX* fx) = 0;
  virtual HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, RECT* sourceRect,
                          DWORD trans) = 0;
  virtual HRESULT Flip(IDirectDrawSurface* target, DWORD flags) = 0;
  virtual HRESULT GetAttachedSurface(DDSCAPS* caps, IDirectDrawSurface** surface) = 0;
  virtual HRESULT GetCaps(DDSCAPS* caps) = 0;
  virtual HRESULT GetClipper(IDirectDrawClipper** clipper) = 0;
  virtual HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) = 0;
  virtual HRESULT GetDC(HDC* dc) = 0;
  virtual HRESULT GetPalette(IDirectDrawPalette** palette) = 0;
  virtual HRESULT GetPixelFormat(DDPIXELFORMAT* format) = 0;
  virtual HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) = 0;
  virtual HRESULT IsLost() = 0;
  virtual HRESULT Lock(RECT* rect, DDSURFACEDESC* desc, DWORD flags, void* event) = 0;
  virtual HRESULT ReleaseDC(HDC dc) = 0;
  virtual HRESULT Restore() = 0;
  virtual HRESULT SetClipper(IDirectDrawClipper* clipper) = 0;
  virtual HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) = 0;
  virtual HRESULT SetPalette(IDirectDrawPalette* palette) = 0;
  virtual HRESULT Unlock(void* surfaceData) = 0;
};
using IDirectDrawSurface4 = IDirectDrawSurface;

class IDirectDrawPalette : public IUnknown {
 public:
  virtual HRESULT GetCaps(DWORD* caps) = 0;
  virtual HRESULT GetEntries(DWORD flags, DWORD base, DWORD count, PALETTEENTRY* entries) = 0;
  virtual HRESULT SetEntries(DWORD flags, DWORD start, DWORD count,
                             const PALETTEENTRY* entries) = 0;
};

class IDirectDrawClipper : public IUnknown {
 public:
  virtual HRESULT GetClipList(RECT* rect, RGNDATA* list, DWORD* size) = 0;
  virtual HRESULT GetHWnd(HWND* window) = 0;
  virtual HRESULT SetClipList(RGNDATA* list, DWORD flags) = 0;
  virtual HRESULT SetHWnd(DWORD flags, HWND window) = 0;
};

// ---------------------------------------------------------------------------------------------
// Entry points of "DDraw.dll"
// ---------------------------------------------------------------------------------------------

using LPDDENUMCALLBACKA = BOOL (*)(GUID* guid, char* description, char* name, void* context);

HRESULT DirectDrawCreate(GUID* device, IDirectDraw** directDraw, IUnknown* outer);
HRESULT DirectDrawEnumerateA(LPDDENUMCALLBACKA callback, void* context);

// ---------------------------------------------------------------------------------------------
// What the machine around the software display tells it, and what tests may arrange.
// ---------------------------------------------------------------------------------------------

// The window that holds exclusive full-screen mode has lost (false) or regained (true) the
// activation. Losing it marks every video-memory surface of that display object as lost, as
// the platform does when the user switches away, so the owner's restore path runs.
void DirectDrawActivateApp(bool active);

// One display mode of the emulated screen.
struct TEmulatedDisplayMode {
  DWORD Width, Height, BitCount;
};
// The modes EnumDisplayModes reports and SetDisplayMode accepts: by default 640x480 up to
// 1600x1200, each at 8, 16, 24 and 32 bits. Tests may replace the list (an empty list restores
// the default).
void SetEmulatedDisplayModes(const std::vector<TEmulatedDisplayMode>& modes);
const std::vector<TEmulatedDisplayMode>& EmulatedDisplayModes();
// The screen's current mode: the desktop's (1024x768x8) until a display object changes it.
TEmulatedDisplayMode CurrentDisplayMode();
