// Writing the game's state as JSON.
#include "report/WorldJson.h"

#include "framework/Random.h"
#include "game/Main.h"

namespace {

void WritePlayer(TJsonWriter& json, const TPlayer& p) {
  json.BeginObject();
  json.Key("Heading").Integer(p.Heading);
  json.Key("X").Double(p.X);
  json.Key("Y").Double(p.Y);
  json.Key("VX").Single(p.VX);
  json.Key("VY").Single(p.VY);
  json.Key("Hull").Integer(p.Hull);
  json.Key("Landed").Bool(p.Landed);
  json.Key("Ship").BeginObject();
  json.Key("TurnStep").Integer(p.Ship.TurnStep);
  json.Key("Thrust").Single(p.Ship.Thrust);
  json.Key("Image").String(p.Ship.Image);
  json.EndObject();
  json.EndObject();
}

void WritePlanet(TJsonWriter& json, const TPlanet& p) {
  json.BeginObject();
  json.Key("X").Double(p.X);
  json.Key("Y").Double(p.Y);
  json.Key("PanelSlide").Integer(p.PanelSlide);
  json.Key("ImageName").String(p.ImageName);
  json.Key("Radius").Integer(p.Radius);
  json.Key("Name").String(p.Name);
  json.Key("Owner").String(p.Owner);
  json.Key("Population").Integer(p.Population);
  json.Key("Things").BeginArray();
  for (const TPlanetThing& t : p.Things) {
    json.BeginObject();
    json.Key("Angle").Integer(t.Angle);
    json.Key("ImageName").String(t.ImageName);
    json.Key("Glow").Integer(t.Glow);
    json.Key("GlowStep").Integer(t.GlowStep);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

void WriteStar(TJsonWriter& json, const TStar& s) {
  json.BeginObject();
  json.Key("PrevX").Double(s.PrevX);
  json.Key("PrevY").Double(s.PrevY);
  json.Key("X").Double(s.X);
  json.Key("Y").Double(s.Y);
  json.Key("Parallax").Double(s.Parallax);
  json.EndObject();
}

void WriteExplosion(TJsonWriter& json, const TExplosion& e) {
  json.BeginObject();
  json.Key("X").Double(e.X);
  json.Key("Y").Double(e.Y);
  json.Key("VX").Double(e.VX);
  json.Key("VY").Double(e.VY);
  json.Key("Alpha").Integer(e.Alpha);
  json.EndObject();
}

void WriteMessages(TJsonWriter& json, const TMessageThing& m) {
  json.BeginObject();
  json.Key("Lines").BeginArray();
  for (const std::string& line : m.Lines) json.String(line);
  json.EndArray();
  json.Key("ShowTime").Integer(m.ShowTime);
  json.Key("TextX").Integer(m.TextX);
  json.EndObject();
}

// Writes each object of a table of owned objects, or null for an empty entry.
template <typename Table, typename Write>
void WriteObjects(TJsonWriter& json, const Table& table, Write write) {
  json.BeginArray();
  for (const auto& object : table) {
    if (object) write(json, *object);
    else json.Null();
  }
  json.EndArray();
}

}  // namespace

void WriteWorldState(TJsonWriter& json) {
  json.BeginObject();
  json.Key("RandomState").Integer(RandomState);
  json.Key("CurrentPlanet").Integer(CurrentPlanet);
  json.Key("Player");
  WritePlayer(json, Player);
  json.Key("Planets");
  WriteObjects(json, Planets, WritePlanet);
  json.Key("Stars").BeginArray();
  for (int i = 0; i <= StarCount; ++i) WriteStar(json, Stars[static_cast<std::size_t>(i)]);
  json.EndArray();
  json.Key("Explosions");
  WriteObjects(json, Explosions, WriteExplosion);
  json.Key("Messages");
  if (Messages) WriteMessages(json, *Messages);
  else json.Null();
  json.EndObject();
}
