// sheet FILE.png: every picture of the game's image list drawn on the frame with its name.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "display/DXImageList.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "backends/headless/HeadlessBackend.h"
#include "shell/Application.h"
#include "shell/PrintableText.h"
#include "tools/headless/Commands.h"
#include "media/Png.h"

namespace {

// Pictures larger than this on a side are drawn scaled down to it, so that all fit one frame.
constexpr int MaxSide = 110;
constexpr int Margin = 6, Gap = 8;

// Lays the pictures out in rows in collection order, each with its name centred below it. Small
// pictures are copied as they are, larger ones scaled; both leave their colour key out, so the
// background shows through where a picture is transparent.
void DrawSheet(TDirectDrawSurface& frame, TPictureCollection& pictures) {
  frame.Fill(frame.NearestPixelValue(0x503828));  // dark blue, unlike any picture's key
  TDirectDrawSurfaceCanvas& canvas = frame.Canvas();
  canvas.Font.Name = "Terminal";
  canvas.Font.Size = 9;
  canvas.Font.Color = clWhite;
  canvas.Brush.Style = bsClear;
  struct TLabel {
    int X, Y;
    std::string Text;
  };
  std::vector<TLabel> labels;
  // Measuring text takes the surface's device context, which blocks copies: measure first.
  const int textHeight = canvas.TextHeight("Ag");
  std::vector<int> textWidths;
  for (int i = 0; i < pictures.Count(); ++i) textWidths.push_back(canvas.TextWidth(pictures.Items(i)->Name()));
  canvas.Release();
  int x = Margin, y = Margin, rowHeight = 0;
  for (int i = 0; i < pictures.Count(); ++i) {
    TPictureCollectionItem* item = pictures.Items(i);
    const int w = item->Width(), h = item->Height();
    const double scale = std::min(1.0, double(MaxSide) / std::max({w, h, 1}));
    const int dw = int(std::lround(w * scale)), dh = int(std::lround(h * scale));
    const int tw = textWidths[std::size_t(i)];
    const int cellWidth = std::max(dw, tw), cellHeight = dh + 2 + textHeight;
    if (x + cellWidth > frame.Width() - Margin) {
      x = Margin;
      y += rowHeight + Gap;
      rowHeight = 0;
    }
    const int px = x + (cellWidth - dw) / 2;
    if (scale >= 1.0)
      item->Draw(&frame, px, y, 0);
    else
      item->DrawScaled(&frame, RECT{px, y, px + dw, y + dh}, 0);
    labels.push_back({x + (cellWidth - tw) / 2, y + dh + 2, item->Name()});
    x += cellWidth + Gap;
    rowHeight = std::max(rowHeight, cellHeight);
  }
  // Text after every copy: the canvas holds the surface's context while it draws.
  for (const TLabel& l : labels) canvas.TextOut(l.X, l.Y, l.Text);
  canvas.Release();
}

}  // namespace

int SheetCommand(const TCommandArgs& args) {
  if (args.size() != 1) throw EUsageError("expects one FILE.png");
  THeadlessBackend backend;
  SetBackend(&backend);
  struct TRestore {
    ~TRestore() {
      ResetApplication();
      SetBackend(nullptr);
    }
  } restore;
  ResetApplication();
  RegisterAppClasses();
  // The real form: its stored image list, and the display that starts when it is shown.
  TForm1* form = nullptr;
  Application->Initialize();
  Application->CreateForm(form);
  form->Show();
  if (!form->DXDraw->Initialized() || !form->DXDraw->Surface) {
    std::fputs("tarnyx-headless sheet: the display did not start\n", stderr);
    return 1;
  }
  DrawSheet(*form->DXDraw->Surface, form->DXImageList->Items());
  form->DXDraw->Flip();
  std::string error;
  if (backend.PresentCount == 0 ||
      !WritePalettizedPng(args[0], backend.Frame.data(), backend.FrameWidth, backend.FrameWidth, backend.FrameHeight,
                     backend.FramePalette, error)) {
    std::fprintf(stderr, "tarnyx-headless sheet: %s\n", error.empty() ? "no frame was presented" : PrintableText(error).c_str());
    return 1;
  }
  return 0;
}
