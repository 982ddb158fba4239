// The software graphics interface: contexts on pixel memory, text from the embedded font, lines,
// bitmap copies with nearest-colour matching, and the system palette.
#include "platform/Gdi.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "media/Fonts.h"

// The palette chosen with the game's art, compiled in by the build (see platform/CMakeLists.txt):
// 0x00RRGGBB values, 256 of them, or none when the art has not chosen one yet.
extern const std::uint32_t ChosenPaletteColors[];
extern const int ChosenPaletteCount;

namespace {

// ---------------------------------------------------------------------------------------------
// The system palette
// ---------------------------------------------------------------------------------------------

// The 20 static colours of the palettized desktop: ten at the bottom, ten at the top.
constexpr std::uint32_t StaticLow[10] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                         0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0};
constexpr std::uint32_t StaticHigh[10] = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                          0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

PALETTEENTRY Entry(std::uint32_t rgb) {
  return {BYTE(rgb >> 16), BYTE(rgb >> 8), BYTE(rgb), 0};
}

std::array<PALETTEENTRY, 256> MakeSystemPalette() {
  std::array<PALETTEENTRY, 256> p{};
  if (ChosenPaletteCount == 256) {
    for (int i = 0; i < 256; ++i) p[std::size_t(i)] = Entry(ChosenPaletteColors[i]);
  } else {
    // Until the art's palette is there: a 6x6x6 colour cube and a grey ramp, on levels that
    // repeat none of the static colours (a repeat would take their place in nearest matches).
    const BYTE levels[6] = {20, 65, 110, 155, 200, 235};
    int i = 10;
    for (BYTE r : levels)
      for (BYTE g : levels)
        for (BYTE b : levels) p[std::size_t(i++)] = {r, g, b, 0};
    for (int k = 1; i < 246; ++k) p[std::size_t(i++)] = {BYTE(k * 11), BYTE(k * 11), BYTE(k * 11), 0};
  }
  for (int i = 0; i < 10; ++i) {
    p[std::size_t(i)] = Entry(StaticLow[i]);
    p[std::size_t(246 + i)] = Entry(StaticHigh[i]);
  }
  return p;
}

// ---------------------------------------------------------------------------------------------
// Pixels of a target
// ---------------------------------------------------------------------------------------------

struct TRGB {
  BYTE R, G, B;
};

int MaskShift(DWORD mask) { return mask ? std::countr_zero(mask) : 0; }
int MaskBits(DWORD mask) { return std::popcount(mask); }

BYTE Expand(DWORD value, DWORD mask) {
  int bits = MaskBits(mask);
  if (bits == 0) return 0;
  DWORD v = (value & mask) >> MaskShift(mask);
  if (bits >= 8) return BYTE(v >> (bits - 8));
  // Replicate the high bits into the low ones, so full intensity stays 255.
  DWORD out = v << (8 - bits);
  for (int filled = bits; filled < 8; filled += bits) out |= out >> bits;
  return BYTE(out);
}

DWORD Pack(BYTE c, DWORD mask) {
  int bits = MaskBits(mask);
  if (bits == 0) return 0;
  DWORD v = bits >= 8 ? DWORD(c) << (bits - 8) : DWORD(c) >> (8 - bits);
  return (v << MaskShift(mask)) & mask;
}

DWORD ReadRaw(const TPixelTarget& t, int x, int y) {
  const std::uint8_t* row = t.Pixels + std::ptrdiff_t(y) * t.Pitch;
  switch (t.BitCount) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    case 8: return row[x];
    case 16: return DWORD(row[2 * x]) | DWORD(row[2 * x + 1]) << 8;
    case 24: return DWORD(row[3 * x]) | DWORD(row[3 * x + 1]) << 8 | DWORD(row[3 * x + 2]) << 16;
    case 32: {
      DWORD v;
      std::memcpy(&v, row + 4 * x, 4);
      return v;
    }
    default: return 0;
  }
}

void WriteRaw(const TPixelTarget& t, int x, int y, DWORD v) {
  std::uint8_t* row = t.Pixels + std::ptrdiff_t(y) * t.Pitch;
  switch (t.BitCount) {
    case 1:
      if (v) row[x / 8] = std::uint8_t(row[x / 8] | (0x80 >> (x % 8)));
      else row[x / 8] = std::uint8_t(row[x / 8] & ~(0x80 >> (x % 8)));
      break;
    case 4:
      row[x / 2] = (x % 2 == 0) ? std::uint8_t((row[x / 2] & 0x0F) | ((v & 0x0F) << 4))
                                : std::uint8_t((row[x / 2] & 0xF0) | (v & 0x0F));
      break;
    case 8: row[x] = std::uint8_t(v); break;
    case 16:
      row[2 * x] = std::uint8_t(v);
      row[2 * x + 1] = std::uint8_t(v >> 8);
      break;
    case 24:
      row[3 * x] = std::uint8_t(v);
      row[3 * x + 1] = std::uint8_t(v >> 8);
      row[3 * x + 2] = std::uint8_t(v >> 16);
      break;
    case 32: std::memcpy(row + 4 * x, &v, 4); break;
    default: break;
  }
}

TRGB ColorOfRaw(const TPixelTarget& t, DWORD v) {
  if (t.BitCount <= 8) {
    const PALETTEENTRY& e = t.Colors[v & 0xFF];
    return {e.peRed, e.peGreen, e.peBlue};
  }
  return {Expand(v, t.RedMask), Expand(v, t.GreenMask), Expand(v, t.BlueMask)};
}

// Fills a run of one row with a raw value; the run must lie inside the target.
void FillRun(const TPixelTarget& t, int x, int y, int length, DWORD v) {
  if (t.BitCount == 8) {
    std::memset(t.Pixels + std::ptrdiff_t(y) * t.Pitch + x, int(v & 0xFF), std::size_t(length));
    return;
  }
  for (int i = 0; i < length; ++i) WriteRaw(t, x + i, y, v);
}

void FillClipped(const TPixelTarget& t, int x, int y, int length, DWORD v) {
  if (y < 0 || y >= t.Height || !t.Pixels) return;
  int x0 = std::max(x, 0), x1 = std::min(x + length, t.Width);
  if (x0 < x1) FillRun(t, x0, y, x1 - x0, v);
}

// ---------------------------------------------------------------------------------------------
// Contexts and objects
// ---------------------------------------------------------------------------------------------

std::vector<TDeviceContext*>& LiveContexts() {
  static std::vector<TDeviceContext*> contexts;
  return contexts;
}

template <class T>
T* Stock(T* object) {
  object->Stock = true;
  return object;
}

TGdiBrush* WhiteBrush() {
  static TGdiBrush* brush = [] {
    auto* b = Stock(new TGdiBrush());
    b->Color = RGB(255, 255, 255);
    return b;
  }();
  return brush;
}
TGdiBrush* NullBrush() {
  static TGdiBrush* brush = [] {
    auto* b = Stock(new TGdiBrush());
    b->Style = BS_NULL;
    return b;
  }();
  return brush;
}
TGdiPen* BlackPen() {
  static TGdiPen* pen = Stock(new TGdiPen());
  return pen;
}
TGdiPen* NullPen() {
  static TGdiPen* pen = [] {
    auto* p = Stock(new TGdiPen());
    p->Style = PS_NULL;
    return p;
  }();
  return pen;
}
TGdiFont* SystemFont() {
  static TGdiFont* font = [] {
    auto* f = Stock(new TGdiFont());
    f->Log.lfHeight = 16;
    f->Strike = &FontStrikeFor(16);
    return f;
  }();
  return font;
}
TGdiBitmap* EmptyBitmap() {
  static TGdiBitmap* bitmap = Stock(new TGdiBitmap());
  return bitmap;
}

bool Valid(HDC dc) {
  auto& live = LiveContexts();
  return dc && std::find(live.begin(), live.end(), dc) != live.end();
}

HDC NewContext() {
  auto* dc = new TDeviceContext();
  LiveContexts().push_back(dc);
  return dc;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The system palette and colour matching
// ---------------------------------------------------------------------------------------------

const std::array<PALETTEENTRY, 256>& SystemPalette() {
  static const std::array<PALETTEENTRY, 256> palette = MakeSystemPalette();
  return palette;
}

int NearestColorIndex(const PALETTEENTRY* colors, int count, BYTE r, BYTE g, BYTE b) {
  int best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < count; ++i) {
    int dr = colors[i].peRed - r, dg = colors[i].peGreen - g, db = colors[i].peBlue - b;
    int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
      if (d == 0) break;
    }
  }
  return best;
}

TDeviceContext::TDeviceContext() : Font(SystemFont()), Brush(WhiteBrush()), Pen(BlackPen()) {}

DWORD TDeviceContext::PixelValueOf(COLORREF color) {
  if (color == lastColor_) return lastValue_;
  DWORD v;
  if ((color >> 24) == 0x01) {
    v = color & 0xFF;  // an explicit palette index
  } else if (Target.BitCount <= 8) {
    int count = 1 << std::min(Target.BitCount, 8);
    if (Target.BitCount == 0) count = 256;
    v = DWORD(NearestColorIndex(Target.Colors.data(), count, GetRValue(color), GetGValue(color),
                                GetBValue(color)));
  } else {
    v = Pack(GetRValue(color), Target.RedMask) | Pack(GetGValue(color), Target.GreenMask) |
        Pack(GetBValue(color), Target.BlueMask);
  }
  lastColor_ = color;
  lastValue_ = v;
  return v;
}

HDC CreateTargetDC(const TPixelTarget& target) {
  HDC dc = NewContext();
  dc->Target = target;
  return dc;
}

void DestroyTargetDC(HDC dc) { DeleteDC(dc); }

// ---------------------------------------------------------------------------------------------
// Objects
// ---------------------------------------------------------------------------------------------

HFONT CreateFontIndirectA(const LOGFONTA* log) {
  if (!log) return nullptr;
  auto* f = new TGdiFont();
  f->Log = *log;
  f->Log.lfFaceName[sizeof f->Log.lfFaceName - 1] = 0;
  // Every face name ("Terminal" among them) maps to the one font compiled in.
  int height = std::abs(log->lfHeight);
  f->Strike = &FontStrikeFor(height == 0 ? 16 : height);
  return f;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto* b = new TGdiBrush();
  b->Color = color;
  return b;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* log) {
  if (!log || (log->lbStyle != BS_SOLID && log->lbStyle != BS_NULL)) return nullptr;
  auto* b = new TGdiBrush();
  b->Style = log->lbStyle;
  b->Color = log->lbColor;
  return b;
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style != PS_SOLID && style != PS_NULL) return nullptr;
  auto* p = new TGdiPen();
  p->Style = style;
  p->Width = std::max(width, 1);
  p->Color = color;
  return p;
}

HGDIOBJ GetStockObject(int index) {
  switch (index) {
    case 0: return WhiteBrush();   // WHITE_BRUSH
    case NULL_BRUSH: return NullBrush();
    case 7: return BlackPen();     // BLACK_PEN
    case NULL_PEN: return NullPen();
    case 13: return SystemFont();  // SYSTEM_FONT
    default: return nullptr;
  }
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (!Valid(dc) || !object) return nullptr;
  HGDIOBJ previous = nullptr;
  switch (object->ObjectKind) {
    case TGdiObject::goFont:
      previous = dc->Font;
      dc->Font = static_cast<HFONT>(object);
      break;
    case TGdiObject::goBrush:
      previous = dc->Brush;
      dc->Brush = static_cast<HBRUSH>(object);
      break;
    case TGdiObject::goPen:
      previous = dc->Pen;
      dc->Pen = static_cast<HPEN>(object);
      break;
    case TGdiObject::goBitmap: {
      if (!dc->Memory) return nullptr;
      previous = dc->Bitmap ? static_cast<HGDIOBJ>(dc->Bitmap) : EmptyBitmap();
      auto* bitmap = static_cast<HBITMAP>(object);
      dc->Bitmap = bitmap == EmptyBitmap() ? nullptr : bitmap;
      dc->Target = bitmap->Target;
      break;
    }
  }
  return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
  if (!object || object->Stock) return FALSE_;
  // An object still selected into a context stays: deleting it would leave the context dangling.
  for (TDeviceContext* dc : LiveContexts())
    if (dc->Font == object || dc->Brush == object || dc->Pen == object || dc->Bitmap == object)
      return FALSE_;
  delete object;
  return TRUE_;
}

// ---------------------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------------------

COLORREF SetTextColor(HDC dc, COLORREF color) {
  if (!Valid(dc)) return CLR_INVALID;
  return std::exchange(dc->TextColor, color);
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
  if (!Valid(dc)) return CLR_INVALID;
  return std::exchange(dc->BkColor, color);
}

int SetBkMode(HDC dc, int mode) {
  if (!Valid(dc) || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(dc->BkMode, mode);
}

int GetDeviceCaps(HDC dc, int index) {
  if (!Valid(dc)) return 0;
  int bits = dc->Screen ? 8 : dc->Target.BitCount;
  switch (index) {
    case BITSPIXEL: return bits;
    case RASTERCAPS: return bits <= 8 ? RC_PALETTE : 0;
    case SIZEPALETTE: return bits <= 8 ? 1 << bits : 0;
    case NUMRESERVED: return bits <= 8 ? 20 : 0;
    default: return 0;
  }
}

// ---------------------------------------------------------------------------------------------
// Text and lines
// ---------------------------------------------------------------------------------------------

BOOL TextOutA(HDC dc, int x, int y, const char* text, int length) {
  if (!Valid(dc) || (!text && length > 0) || length < 0) return FALSE_;
  const TFontStrike& strike = *dc->Font->Strike;
  const TPixelTarget& t = dc->Target;
  if (!t.Pixels) return TRUE_;
  const DWORD ink = dc->PixelValueOf(dc->TextColor);
  const bool opaque = dc->BkMode == OPAQUE;
  const DWORD paper = opaque ? dc->PixelValueOf(dc->BkColor) : 0;
  long long pen = x;
  for (int i = 0; i < length; ++i) {
    const TGlyph& g = strike.Glyphs[static_cast<unsigned char>(text[i])];
    if (pen >= t.Width) break;
    int gx = int(pen);
    if (opaque)
      for (int row = 0; row < strike.CellHeight; ++row) FillClipped(t, gx, y + row, g.Advance, paper);
    if (gx + g.Advance + 8 > 0)
      for (const TGlyphRun& run : g.Runs) FillClipped(t, gx + run.X, y + run.Y, run.Length, ink);
    pen += g.Advance;
  }
  return TRUE_;
}

BOOL GetTextExtentPoint32A(HDC dc, const char* text, int length, SIZE* size) {
  if (!Valid(dc) || !size || length < 0 || (!text && length > 0)) return FALSE_;
  const TFontStrike& strike = *dc->Font->Strike;
  long width = 0;
  for (int i = 0; i < length; ++i)
    width += strike.Glyphs[static_cast<unsigned char>(text[i])].Advance;
  size->cx = LONG(width);
  size->cy = strike.CellHeight;
  return TRUE_;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
  if (!Valid(dc)) return FALSE_;
  if (previous) *previous = dc->Position;
  dc->Position = {x, y};
  return TRUE_;
}

BOOL LineTo(HDC dc, int x1, int y1) {
  if (!Valid(dc)) return FALSE_;
  int x0 = dc->Position.x, y0 = dc->Position.y;
  dc->Position = {x1, y1};
  const TPixelTarget& t = dc->Target;
  if (dc->Pen->Style == PS_NULL || !t.Pixels) return TRUE_;
  // Coordinates are 16-bit on this device, which also bounds the work of one line.
  auto outOfRange = [](int v) { return v < -32768 || v > 32767; };
  if (outOfRange(x0) || outOfRange(y0) || outOfRange(x1) || outOfRange(y1)) return FALSE_;
  const DWORD v = dc->PixelValueOf(dc->Pen->Color);
  int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  // The end point itself is not drawn, so lines can be chained without double pixels.
  while (x0 != x1 || y0 != y1) {
    if (x0 >= 0 && x0 < t.Width && y0 >= 0 && y0 < t.Height) WriteRaw(t, x0, y0, v);
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
  return TRUE_;
}

// ---------------------------------------------------------------------------------------------
// The screen, bitmaps and copies
// ---------------------------------------------------------------------------------------------

HDC GetDC(HWND) {
  HDC dc = NewContext();
  dc->Screen = true;
  dc->Target.BitCount = 8;
  dc->Target.Colors = SystemPalette();
  return dc;
}

int ReleaseDC(HWND, HDC dc) {
  if (!Valid(dc) || !dc->Screen) return 0;
  DeleteDC(dc);
  return 1;
}

UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, PALETTEENTRY* entries) {
  if (!Valid(dc)) return 0;
  if (!entries) return 256;
  if (start >= 256) return 0;
  count = std::min(count, 256 - start);
  std::memcpy(entries, SystemPalette().data() + start, sizeof(PALETTEENTRY) * count);
  return count;
}

HDC CreateCompatibleDC(HDC) {
  HDC dc = NewContext();
  dc->Memory = true;
  return dc;
}

BOOL DeleteDC(HDC dc) {
  if (!Valid(dc)) return FALSE_;
  auto& live = LiveContexts();
  live.erase(std::find(live.begin(), live.end(), dc));
  delete dc;
  return TRUE_;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, void*, DWORD) {
  if (bits) *bits = nullptr;
  if (!info || usage != DIB_RGB_COLORS) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  int bitCount = h.biBitCount;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 ||
      h.biWidth > 16384 || std::abs(h.biHeight) > 16384)
    return nullptr;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32)
    return nullptr;
  if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32)))
    return nullptr;
  auto* b = new TGdiBitmap();
  int width = h.biWidth, height = std::abs(h.biHeight);
  int stride = ((width * bitCount + 31) / 32) * 4;
  b->Bits.assign(std::size_t(stride) * std::size_t(height), 0);
  TPixelTarget& t = b->Target;
  t.Width = width;
  t.Height = height;
  t.BitCount = bitCount;
  if (h.biHeight > 0) {  // stored bottom row first
    t.Pixels = b->Bits.data() + std::ptrdiff_t(height - 1) * stride;
    t.Pitch = -stride;
  } else {
    t.Pixels = b->Bits.data();
    t.Pitch = stride;
  }
  if (bitCount <= 8) {
    int colours = h.biClrUsed ? int(std::min<DWORD>(h.biClrUsed, 256)) : 1 << bitCount;
    for (int i = 0; i < colours; ++i) {
      const RGBQUAD& q = info->bmiColors[i];
      t.Colors[std::size_t(i)] = {q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
    }
  } else if (h.biCompression == BI_BITFIELDS) {
    DWORD masks[3];
    std::memcpy(masks, info->bmiColors, sizeof masks);
    t.RedMask = masks[0];
    t.GreenMask = masks[1];
    t.BlueMask = masks[2];
  } else if (bitCount == 16) {
    t.RedMask = 0x7C00;
    t.GreenMask = 0x03E0;
    t.BlueMask = 0x001F;
  } else {
    t.RedMask = 0xFF0000;
    t.GreenMask = 0x00FF00;
    t.BlueMask = 0x0000FF;
  }
  if (bits) *bits = b->Bits.data();
  return b;
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
  if (!Valid(dest) || !Valid(source) || rop != SRCCOPY) return FALSE_;
  if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return FALSE_;
  const TPixelTarget& d = dest->Target;
  const TPixelTarget& s = source->Target;
  if (!d.Pixels || !s.Pixels) return FALSE_;

  // Colours of a palettized source are matched once per index, not once per pixel.
  const bool indexedSource = s.BitCount <= 8;
  DWORD map[256];
  if (indexedSource)
    for (int i = 0; i < 256; ++i) {
      TRGB c = ColorOfRaw(s, DWORD(i));
      map[i] = dest->PixelValueOf(RGB(c.R, c.G, c.B));
    }

  int x0 = std::max(x, 0), x1 = int(std::min<long long>((long long)x + width, d.Width));
  int y0 = std::max(y, 0), y1 = int(std::min<long long>((long long)y + height, d.Height));
  for (int dy = y0; dy < y1; ++dy) {
    long long sy = sourceY + ((2LL * (dy - y) + 1) * sourceHeight) / (2LL * height);
    if (sy < 0 || sy >= s.Height) continue;
    for (int dx = x0; dx < x1; ++dx) {
      long long sx = sourceX + ((2LL * (dx - x) + 1) * sourceWidth) / (2LL * width);
      if (sx < 0 || sx >= s.Width) continue;
      DWORD raw = ReadRaw(s, int(sx), int(sy));
      DWORD v;
      if (indexedSource) {
        v = map[raw & 0xFF];
      } else {
        TRGB c = ColorOfRaw(s, raw);
        v = dest->PixelValueOf(RGB(c.R, c.G, c.B));
      }
      WriteRaw(d, dx, dy, v);
    }
  }
  return TRUE_;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop) {
  return StretchBlt(dest, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}
