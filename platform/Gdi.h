// The drawing functions of the platform's graphics interface, in software: device contexts bound
// to pixel memory, fonts, brushes, pens, text, lines, bitmap copies with colour matching, and the
// system palette.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/Windows.h"
#include "platform/WinTypes.h"

using COLORREF = DWORD;  // 0x00BBGGRR

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
         (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

struct SIZE {
  LONG cx, cy;
};

struct RGBQUAD {
  BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
};

struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;  // positive: rows stored bottom row first
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

// A bitmap description with room for a full colour table (the platform declares one entry and
// lets callers allocate more; here the table always has room for 256).
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[256];
};

constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD SRCCOPY = 0x00CC0020;

struct LOGFONTA {
  LONG lfHeight;  // negative: character height in pixels; positive: cell height
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  char lfFaceName[32];
};

struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  std::uintptr_t lbHatch;
};

constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr int NULL_BRUSH = 5;
constexpr int NULL_PEN = 8;

// GetDeviceCaps indices and answers.
constexpr int BITSPIXEL = 12;
constexpr int RASTERCAPS = 38;
constexpr int SIZEPALETTE = 104;
constexpr int NUMRESERVED = 106;
constexpr int RC_PALETTE = 0x0100;

// Drawing objects. A context holds one of each kind; selecting one returns the previous.
class TGdiObject {
 public:
  enum Kind { goFont, goBrush, goPen, goBitmap };
  explicit TGdiObject(Kind kind) : ObjectKind(kind) {}
  virtual ~TGdiObject() = default;
  const Kind ObjectKind;
  bool Stock = false;  // stock objects are never deleted
};
struct TFontStrike;
using HGDIOBJ = TGdiObject*;

// What a context draws into: rows of raw pixels a pitch apart (the pitch is negative for a
// bitmap stored bottom row first; Pixels then points at the top row), with the pixel format and,
// for 8 bits and fewer, the colours that the indices stand for.
struct TPixelTarget {
  std::uint8_t* Pixels = nullptr;
  int Pitch = 0;
  int Width = 0;
  int Height = 0;
  int BitCount = 0;
  DWORD RedMask = 0, GreenMask = 0, BlueMask = 0;
  std::array<PALETTEENTRY, 256> Colors{};
};

struct TGdiFont : TGdiObject {
  TGdiFont() : TGdiObject(goFont) {}
  LOGFONTA Log{};
  const TFontStrike* Strike = nullptr;
};

struct TGdiBrush : TGdiObject {
  TGdiBrush() : TGdiObject(goBrush) {}
  UINT Style = BS_SOLID;
  COLORREF Color = 0;
};

struct TGdiPen : TGdiObject {
  TGdiPen() : TGdiObject(goPen) {}
  int Style = PS_SOLID;
  int Width = 1;
  COLORREF Color = 0;
};

struct TGdiBitmap : TGdiObject {
  TGdiBitmap() : TGdiObject(goBitmap) {}
  TPixelTarget Target;  // over Bits, top row first
  std::vector<std::uint8_t> Bits;
};

using HFONT = TGdiFont*;
using HBRUSH = TGdiBrush*;
using HPEN = TGdiPen*;
using HBITMAP = TGdiBitmap*;

// A device context: where it draws, and the drawing state.
class TDeviceContext {
 public:
  TPixelTarget Target;
  HFONT Font = nullptr;
  HBRUSH Brush = nullptr;
  HPEN Pen = nullptr;
  HBITMAP Bitmap = nullptr;  // memory contexts only
  COLORREF TextColor = RGB(0, 0, 0);
  COLORREF BkColor = RGB(255, 255, 255);
  int BkMode = OPAQUE;
  POINT Position{0, 0};
  bool Memory = false;  // made by CreateCompatibleDC
  bool Screen = false;  // the screen's context from GetDC(nullptr)

  TDeviceContext();
  // The raw pixel value that colour becomes on this context's target: the index of the nearest
  // colour for 8 bits and fewer, else the colour packed by the target's masks.
  DWORD PixelValueOf(COLORREF color);

 private:
  COLORREF lastColor_ = CLR_INVALID;
  DWORD lastValue_ = 0;
};

// The display surfaces make and drop contexts on their own pixels with these.
HDC CreateTargetDC(const TPixelTarget& target);
void DestroyTargetDC(HDC dc);

// --- objects ---
HFONT CreateFontIndirectA(const LOGFONTA* font);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HPEN CreatePen(int style, int width, COLORREF color);
HGDIOBJ GetStockObject(int index);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);

// --- state ---
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);
int GetDeviceCaps(HDC dc, int index);

// --- text and lines ---
// Writes text with the top-left corner of its first character cell at (x, y), in the text
// colour; with OPAQUE the cells are first filled with the background colour.
BOOL TextOutA(HDC dc, int x, int y, const char* text, int length);
BOOL GetTextExtentPoint32A(HDC dc, const char* text, int length, SIZE* size);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
// Draws from the current position up to, not including, (x, y) with the pen; clipped to the target.
BOOL LineTo(HDC dc, int x, int y);

// --- screen, bitmaps and copies ---
HDC GetDC(HWND window);  // nullptr: the screen
int ReleaseDC(HWND window, HDC dc);
UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, PALETTEENTRY* entries);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
// A bitmap of 1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed, whose pixel memory (stored
// rows bottom first for a positive height) is handed out through bits.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, void* section,
                         DWORD offset);
// Copies (and scales, by nearest sample) a rectangle of the source context into the destination
// context, converting colours: onto 8 bits each colour becomes the nearest colour of the target.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop);

// --- the system palette ---
// The 256 colours of the palettized screen: the 20 static colours of the desktop at 0-9 and
// 246-255 (0 black, 255 white) and the game's chosen colours in between.
const std::array<PALETTEENTRY, 256>& SystemPalette();
// The index of the colour nearest to (r, g, b) among count entries: least squared distance,
// ties to the lowest index.
int NearestColorIndex(const PALETTEENTRY* colors, int count, BYTE r, BYTE g, BYTE b);
