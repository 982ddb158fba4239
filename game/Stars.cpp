// The starfield: stars in screen coordinates drifting against the ship's motion.
#include "display/DXDraw.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "framework/Extended.h"
#include "game/Main.h"

void DoStars(TDXDraw& DXDraw) {
  TDirectDrawSurface& surface = *DXDraw.Surface;
  for (int i = 0; i <= StarCount; ++i) {
    TStar& star = Stars[static_cast<std::size_t>(i)];
    star.PrevX = star.X;
    star.PrevY = star.Y;
    star.X = static_cast<double>(Extended(star.X) + Extended(star.Parallax) * Player.VX);
    star.Y = static_cast<double>(Extended(star.Y) + Extended(star.Parallax) * Player.VY);
    // A star leaving one edge comes back just beyond the opposite one, where it is not drawn,
    // so no streak ever crosses the screen.
    if (star.X < -1) star.X = 1025;
    if (star.X > 1025) star.X = -1;
    if (star.Y < -1) star.Y = 769;
    if (star.Y > 769) star.Y = -1;
    if (star.X < 0 || star.X > 1024 || star.Y < 0 || star.Y > 768) continue;

    const Extended dx = Extended(star.X) - star.PrevX;
    const Extended dy = Extended(star.Y) - star.PrevY;
    if (Sqrt(dx * dx + dy * dy) > 1.5) {
      TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
      canvas.Pen.Color = clWhite;
      canvas.MoveTo(RoundToInt(star.PrevX), RoundToInt(star.PrevY));
      canvas.LineTo(RoundToInt(star.X), RoundToInt(star.Y));
      canvas.Release();
    } else {
      surface.SetPixels(RoundToInt(star.X), RoundToInt(star.Y), 0xFFFFFF);
    }
  }
}
