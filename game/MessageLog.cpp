// The message ticker: the line on screen slides in from the right and gives way to the next.
#include "display/DXDraw.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "game/Main.h"

void TMessageThing::DrawLog(TDXDraw& DXDraw) {
  TDirectDrawSurfaceCanvas& canvas = DXDraw.Surface->Canvas();
  canvas.Brush.Style = bsClear;
  canvas.Font.Color = clWhite;
  canvas.Font.Name = "Terminal";
  canvas.Font.Size = 14;
  if (!Lines.empty()) canvas.TextOut(TextX, 748, Lines[0]);
  canvas.Release();

  if (ShowTime != 0) {
    --ShowTime;
    // TextX only ever holds multiples of 4; the guard keeps anything else from wrapping round.
    if (TextX > 0) TextX = TextX >= 4 ? static_cast<std::uint16_t>(TextX - 4) : 0;
  }
  if (ShowTime == 0 && Lines.size() > 1) {
    ShowTime = 500;
    TextX = 1024;
    for (std::size_t i = 1; i < Lines.size(); ++i) Lines[i - 1] = std::move(Lines[i]);
    Lines.pop_back();
  }
}
