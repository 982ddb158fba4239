// The information panel of the current planet: sliding it in and out, and drawing it.
#include "game/Main.h"

namespace {

constexpr std::uint16_t PanelStep = 5;

}  // namespace

bool TPlanet::SlidePanel(bool Landed) {
  if (!Landed && PanelSlide > 0) PanelSlide -= PanelStep;
  if (Landed && PanelSlide < PanelWidth) PanelSlide += PanelStep;
  return PanelSlide != 0;
}

std::string TPlanet::PopulationText() const {
  return std::to_string(static_cast<std::int64_t>(Population) * PeoplePerUnit);
}
