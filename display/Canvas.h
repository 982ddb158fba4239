// TCanvas: drawing state (font, brush, pen) and text and line drawing on a device context that
// is taken only when something is drawn.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Gdi.h"

// A colour as the canvas takes it: red in the low byte, then green, then blue (white $FFFFFF).
using TColor = std::int32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clFuchsia = 0xFF00FF;

// The font of a canvas: face name, size in points, colour.
struct TFont {
  std::string Name = "MS Sans Serif";
  int Size = 8;
  TColor Color = clBlack;
};

enum TBrushStyle { bsSolid, bsClear };

// The brush of a canvas: with bsClear text is drawn without a background box.
struct TBrush {
  TBrushStyle Style = bsSolid;
  TColor Color = clWhite;
};

// The pen of a canvas: the colour of lines.
struct TPen {
  TColor Color = clBlack;
};

// A drawing surface with the ordinary drawing state. The state lives in the canvas, not in a
// device context: a context is asked for (CreateHandle) on the first drawing call and brought
// up to date with the state before each call, so that the state survives giving the context
// back. Selecting a font costs something only when its name or size really changed.
class TCanvas {
 public:
  TCanvas() = default;
  virtual ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TFont Font;
  TBrush Brush;
  TPen Pen;

  // The device context, taken now if none is held; nullptr when none can be had.
  HDC Handle();
  bool HandleAllocated() const { return dc_ != nullptr; }

  void TextOut(int x, int y, const std::string& text);
  int TextWidth(const std::string& text);
  int TextHeight(const std::string& text);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  POINT PenPos() const { return penPos_; }

 protected:
  // Takes a context for drawing (nullptr if none can be had) and gives it back.
  virtual HDC CreateHandle() = 0;
  virtual void FreeHandle(HDC dc) = 0;
  // Gives the context back, keeping the drawing state; the next drawing call takes a new one.
  void DropHandle();

 private:
  HDC Prepared();  // the context with the drawing state selected, or nullptr

  HDC dc_ = nullptr;
  HGDIOBJ oldFont_ = nullptr, oldBrush_ = nullptr, oldPen_ = nullptr;
  HFONT font_ = nullptr;
  std::string fontName_;
  int fontSize_ = 0;
  HBRUSH brush_ = nullptr;
  TBrushStyle brushStyle_ = bsSolid;
  TColor brushColor_ = 0;
  HPEN pen_ = nullptr;
  TColor penColor_ = 0;
  POINT penPos_{0, 0};
};

// A canvas colour as the graphics interface takes it.
inline COLORREF ColorToRGB(TColor c) { return static_cast<COLORREF>(c) & 0x00FFFFFFu; }
