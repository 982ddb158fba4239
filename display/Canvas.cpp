// The canvas: drawing state kept apart from the device context.
#include "display/Canvas.h"

#include <cstring>

#include "platform/SystemTime.h"

TCanvas::~TCanvas() {
  // A derived canvas gives its context back in its own destructor; here only the objects go.
  if (font_) DeleteObject(font_);
  if (brush_) DeleteObject(brush_);
  if (pen_) DeleteObject(pen_);
}

HDC TCanvas::Handle() {
  if (!dc_) dc_ = CreateHandle();
  return dc_;
}

void TCanvas::DropHandle() {
  if (!dc_) return;
  HDC dc = dc_;
  // Put the context's own objects back, so that ours are free to change or delete.
  if (oldFont_) SelectObject(dc, oldFont_);
  if (oldBrush_) SelectObject(dc, oldBrush_);
  if (oldPen_) SelectObject(dc, oldPen_);
  oldFont_ = oldBrush_ = oldPen_ = nullptr;
  dc_ = nullptr;
  FreeHandle(dc);
}

HDC TCanvas::Prepared() {
  HDC dc = Handle();
  if (!dc) return nullptr;
  // Font: a new object only when the face or size changed.
  if (!font_ || Font.Name != fontName_ || Font.Size != fontSize_) {
    LOGFONTA log{};
    log.lfHeight = -MulDiv(Font.Size, 96, 72);
    log.lfWeight = 400;
    std::strncpy(log.lfFaceName, Font.Name.c_str(), sizeof log.lfFaceName - 1);
    HFONT made = CreateFontIndirectA(&log);
    HGDIOBJ previous = SelectObject(dc, made);
    if (!oldFont_) oldFont_ = previous;
    if (font_) DeleteObject(font_);
    font_ = made;
    fontName_ = Font.Name;
    fontSize_ = Font.Size;
  } else {
    HGDIOBJ previous = SelectObject(dc, font_);
    if (!oldFont_) oldFont_ = previous;
  }
  if (!brush_ || Brush.Style != brushStyle_ || Brush.Color != brushColor_) {
    LOGBRUSH log{Brush.Style == bsClear ? BS_NULL : BS_SOLID, ColorToRGB(Brush.Color), 0};
    HBRUSH made = CreateBrushIndirect(&log);
    HGDIOBJ previous = SelectObject(dc, made);
    if (!oldBrush_) oldBrush_ = previous;
    if (brush_) DeleteObject(brush_);
    brush_ = made;
    brushStyle_ = Brush.Style;
    brushColor_ = Brush.Color;
  } else {
    HGDIOBJ previous = SelectObject(dc, brush_);
    if (!oldBrush_) oldBrush_ = previous;
  }
  if (!pen_ || Pen.Color != penColor_) {
    HPEN made = CreatePen(PS_SOLID, 1, ColorToRGB(Pen.Color));
    HGDIOBJ previous = SelectObject(dc, made);
    if (!oldPen_) oldPen_ = previous;
    if (pen_) DeleteObject(pen_);
    pen_ = made;
    penColor_ = Pen.Color;
  } else {
    HGDIOBJ previous = SelectObject(dc, pen_);
    if (!oldPen_) oldPen_ = previous;
  }
  SetTextColor(dc, ColorToRGB(Font.Color));
  SetBkColor(dc, ColorToRGB(Brush.Color));
  SetBkMode(dc, Brush.Style == bsClear ? TRANSPARENT : OPAQUE);
  return dc;
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  if (HDC dc = Prepared()) TextOutA(dc, x, y, text.data(), int(text.size()));
}

int TCanvas::TextWidth(const std::string& text) {
  SIZE size{0, 0};
  if (HDC dc = Prepared()) GetTextExtentPoint32A(dc, text.data(), int(text.size()), &size);
  return size.cx;
}

int TCanvas::TextHeight(const std::string& text) {
  SIZE size{0, 0};
  if (HDC dc = Prepared()) GetTextExtentPoint32A(dc, text.data(), int(text.size()), &size);
  return size.cy;
}

void TCanvas::MoveTo(int x, int y) { penPos_ = {x, y}; }

void TCanvas::LineTo(int x, int y) {
  if (HDC dc = Prepared()) {
    MoveToEx(dc, penPos_.x, penPos_.y, nullptr);
    ::LineTo(dc, x, y);
  }
  penPos_ = {x, y};
}
