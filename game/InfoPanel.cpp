// The information panel of the current planet: sliding it in and out, and drawing it.
#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "game/Main.h"

namespace {

constexpr std::uint16_t PanelStep = 5;
constexpr int PanelTop = 585;

// Where the values go, from the panel's left edge, and the framed square of the miniature.
struct TTextSpot {
  int X, Y;
};
constexpr TTextSpot OwnerSpot{163, 655};
constexpr TTextSpot NameSpot{287, 598};
constexpr TTextSpot PopulationSpot{270, 689};
constexpr RECT MiniatureFrame{15, 600, 145, 730};

}  // namespace

bool TPlanet::SlidePanel(bool Landed) {
  if (!Landed && PanelSlide > 0) PanelSlide -= PanelStep;
  if (Landed && PanelSlide < PanelWidth) PanelSlide += PanelStep;
  return PanelSlide != 0;
}

std::string TPlanet::PopulationText() const {
  return std::to_string(static_cast<std::int64_t>(Population) * PeoplePerUnit);
}

void TPlanet::DrawInfoPanel(TDXDraw& DXDraw, TDXImageList& DXImageList, bool Landed) {
  if (!SlidePanel(Landed)) return;
  TDirectDrawSurface* surface = DXDraw.Surface;
  int left = PanelSlide - PanelWidth;
  DXImageList.Items().ImageByName("PlanetInfo")->Draw(surface, left, PanelTop, 0);

  // The artwork carries the labels; only the values are written, in the font the frame set.
  TDirectDrawSurfaceCanvas& canvas = surface->Canvas();
  canvas.TextOut(left + OwnerSpot.X, OwnerSpot.Y, Owner);
  canvas.TextOut(left + NameSpot.X, NameSpot.Y, Name);
  canvas.TextOut(left + PopulationSpot.X, PopulationSpot.Y, PopulationText());
  canvas.Release();

  // A bigger planet gets a bigger miniature, always centred in the same frame.
  int m = 40 - Radius / 10;
  RECT area{left + MiniatureFrame.left + m, MiniatureFrame.top + m,
            left + MiniatureFrame.right - m, MiniatureFrame.bottom - m};
  DXImageList.Items().ImageByName(ImageName)->DrawScaled(surface, area, 0);
}
