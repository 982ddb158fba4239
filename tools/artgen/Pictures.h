// The painters of the 47 pictures, one function per picture, grouped by kind in their sources.
#pragma once

#include "Canvas.h"

namespace art {

// Each painter paints its picture on a canvas of the catalogue size (times the canvas scale).
using Painter = void (*)(Canvas&);

// Ships and the exhaust flame (ArtShips.cpp).
void PaintShip1(Canvas& c);
void PaintShip2(Canvas& c);
void PaintFlame(Canvas& c);

// The twelve worlds (ArtPlanets.cpp).
void PaintPlanet100(Canvas& c);
void PaintPlanet110(Canvas& c);
void PaintPlanet120(Canvas& c);
void PaintPlanet130(Canvas& c);
void PaintPlanet140(Canvas& c);
void PaintPlanet150(Canvas& c);
void PaintPlanet160(Canvas& c);
void PaintPlanet170(Canvas& c);
void PaintPlanet180(Canvas& c);
void PaintPlanet190(Canvas& c);
void PaintPlanet200(Canvas& c);
void PaintPlanet400(Canvas& c);

// Trees, rocks, radar, tower, lights, flags (ArtThings.cpp).
void PaintPine(Canvas& c);
void PaintFruitTree(Canvas& c);
void PaintRadar(Canvas& c);
void PaintControlTower(Canvas& c);
void PaintFlashRed(Canvas& c);
void PaintFlashGreen(Canvas& c);
void PaintFlashBlue(Canvas& c);
void PaintFlashYellow(Canvas& c);
void PaintRock1(Canvas& c);
void PaintRock2(Canvas& c);
void PaintRock3(Canvas& c);
void PaintFlagBlue(Canvas& c);
void PaintFlagGreen(Canvas& c);
void PaintFlagGray(Canvas& c);
void PaintFlagPink(Canvas& c);
void PaintFlagYellow(Canvas& c);

// Explosions (ArtEffects.cpp).
void PaintExplosion(Canvas& c);
void PaintExplosion2(Canvas& c);

// The information panel (ArtPanel.cpp).
void PaintPlanetInfo(Canvas& c);

// The buildings (ArtBuildings.cpp).
void PaintResS(Canvas& c);
void PaintResM(Canvas& c);
void PaintVitamin(Canvas& c);
void PaintMarmalade(Canvas& c);
void PaintMineral(Canvas& c);
void PaintFurniture(Canvas& c);
void PaintWeapons(Canvas& c);
void PaintWater(Canvas& c);
void PaintShipyard(Canvas& c);
void PaintRobot(Canvas& c);
void PaintSoldier(Canvas& c);
void PaintCastle(Canvas& c);
void PaintPower(Canvas& c);

}  // namespace art
