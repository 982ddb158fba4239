// The scenes the frame is timed in, shared by the native benchmark and the page's: open space,
// and the busiest frame the game can make.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "game/Main.h"

namespace scenes {

// Puts the ship at a point of the world at least 3000 from every planet centre.
inline void GoToOpenSpace() {
  for (double x = 0;; x += 500) {
    bool open = true;
    for (const auto& p : Planets) open &= std::hypot(p->X - x, p->Y) >= 3000;
    if (open) {
      Player.X = x;
      Player.Y = 0;
      return;
    }
  }
}

// Turns a planet into a radius-400 planet with all 31 things: tower, twelve lights and the rest.
inline void MakeBusiestPlanet(TPlanet& p, double x, double y) {
  p.X = x;
  p.Y = y;
  p.Radius = 400;
  p.ImageName = "Planet400";
  p.Things.resize(31);
  const char* kinds[] = {"B_Castle", "B_Ship", "Pine", "Rock1", "B_Power", "Radar", "B_Res_M"};
  for (int i = 0; i < 31; ++i) {
    TPlanetThing& t = p.Things[static_cast<std::size_t>(i)];
    t.Angle = static_cast<std::uint8_t>(8 * i);
    t.ImageName = kinds[i % 7];
    t.Glow = 0;
    t.GlowStep = 1;
  }
  p.Things[0].ImageName = "ControlTower";
  const char* lights[] = {"FlashYellow", "FlashRed", "FlashGreen", "FlashBlue"};
  for (int i = 1; i <= 12; ++i) {
    p.Things[static_cast<std::size_t>(i)].ImageName = lights[(i - 1) / 3];
    p.Things[static_cast<std::size_t>(i)].Glow = 100;
  }
  p.Things[30].ImageName = "FlagBlue";
}

// Two big planets near, the ship standing on the top of the second, whose panel is fully in.
inline void SetUpBusiestWorld() {
  MakeBusiestPlanet(*Planets[0], -900, 500);
  MakeBusiestPlanet(*Planets[1], 0, 412);
  Planets[1]->PanelSlide = 475;
}

// Before each busiest frame: arriving fast enough for the stars to streak, upright, with an
// explosion running.
inline void ArriveAtBusiestPlanet() {
  Player.X = 0;
  Player.Y = 0;
  Player.VX = 0;
  Player.VY = 8;
  Player.Heading = 0;
  Player.Hull = 100;
  Explosions[0]->Start(0, 0, 0, 0);
}

}  // namespace scenes
