// The game's state, member by member: the one description that the demo checksum and the reports
// of the state walk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Random.h"
#include "game/Main.h"

// VisitGameState walks everything a frame carries over to the next, in a fixed order: the
// generator's state, CurrentPlanet, the player record with its ship, the stars in use, the four
// explosions, the message queue with its timing, and every planet with its panel, things and
// glows. What is set once at the start and never changes (Version, PlacementRange, RadarScale) is
// not part of it. The order is the demo checksum's: demo files hold checksums taken in it, so it
// never changes; a new member is visited where it stands in its record.
//
// A visitor V answers:
//   v.Field(name, value)          a plain value: an unsigned or signed integer of 8, 16 or 32 bits,
//                                 a float, a double, a bool or a string
//   v.Count(name, count)          an 8-bit count that says how many items of the next Array are in
//                                 use (their highest index)
//   v.Record(name, visit)         a record within a record; visit() visits its members
//   v.Entry(name, object, visit)  an entry of a table that may hold no object yet (object is then
//                                 null); visit(*object) visits its members
//   v.Array(name, n, visit)       n items whose number is not itself part of the state (a fixed
//                                 table, or the items a Count counted); visit(i) visits item i
//   v.List(name, items, visit)    a std::vector that carries its own length; visit(item) visits one
// Items of an Array or a List are visited with a null name; an item that is a record is a Record.

template <typename V>
void VisitShip(V& v, TShip& ship) {
  v.Field("TurnStep", ship.TurnStep);
  v.Field("Thrust", ship.Thrust);
  v.Field("Image", ship.Image);
}

template <typename V>
void VisitPlayer(V& v, TPlayer& player) {
  v.Field("Heading", player.Heading);
  v.Field("X", player.X);
  v.Field("Y", player.Y);
  v.Field("VX", player.VX);
  v.Field("VY", player.VY);
  v.Record("Ship", [&] { VisitShip(v, player.Ship); });
  v.Field("Hull", player.Hull);
  v.Field("Landed", player.Landed);
}

template <typename V>
void VisitStar(V& v, TStar& star) {
  v.Field("PrevX", star.PrevX);
  v.Field("PrevY", star.PrevY);
  v.Field("X", star.X);
  v.Field("Y", star.Y);
  v.Field("Parallax", star.Parallax);
}

template <typename V>
void VisitExplosion(V& v, TExplosion& explosion) {
  v.Field("X", explosion.X);
  v.Field("Y", explosion.Y);
  v.Field("VX", explosion.VX);
  v.Field("VY", explosion.VY);
  v.Field("Alpha", explosion.Alpha);
}

template <typename V>
void VisitMessages(V& v, TMessageThing& messages) {
  v.List("Lines", messages.Lines, [&](std::string& line) { v.Field(nullptr, line); });
  v.Field("ShowTime", messages.ShowTime);
  v.Field("TextX", messages.TextX);
}

template <typename V>
void VisitPlanetThing(V& v, TPlanetThing& thing) {
  v.Field("Angle", thing.Angle);
  v.Field("ImageName", thing.ImageName);
  v.Field("Glow", thing.Glow);
  v.Field("GlowStep", thing.GlowStep);
}

template <typename V>
void VisitPlanet(V& v, TPlanet& planet) {
  v.Field("X", planet.X);
  v.Field("Y", planet.Y);
  v.Field("PanelSlide", planet.PanelSlide);
  v.Field("ImageName", planet.ImageName);
  v.Field("Radius", planet.Radius);
  v.Field("Name", planet.Name);
  v.Field("Owner", planet.Owner);
  v.Field("Population", planet.Population);
  v.List("Things", planet.Things,
         [&](TPlanetThing& thing) { v.Record(nullptr, [&] { VisitPlanetThing(v, thing); }); });
}

template <typename V>
void VisitGameState(V& v) {
  v.Field("RandomState", RandomState);
  v.Field("CurrentPlanet", CurrentPlanet);
  v.Record("Player", [&] { VisitPlayer(v, Player); });
  v.Count("StarCount", StarCount);
  v.Array("Stars", std::size_t{StarCount} + 1,
          [&](std::size_t i) { v.Record(nullptr, [&] { VisitStar(v, Stars[i]); }); });
  v.Array("Explosions", Explosions.size(), [&](std::size_t i) {
    v.Entry(nullptr, Explosions[i].get(), [&](TExplosion& e) { VisitExplosion(v, e); });
  });
  v.Entry("Messages", Messages.get(), [&](TMessageThing& m) { VisitMessages(v, m); });
  v.Array("Planets", Planets.size(), [&](std::size_t i) {
    v.Entry(nullptr, Planets[i].get(), [&](TPlanet& p) { VisitPlanet(v, p); });
  });
}
