// The checksum of the game's state.
#include "demo/GameChecksum.h"

#include "demo/DemoChecksum.h"
#include "framework/Random.h"
#include "game/Main.h"

namespace {

void AddPlayer(TDemoChecksum& sum, const TPlayer& p) {
  sum.Byte(p.Heading);
  sum.Double(p.X);
  sum.Double(p.Y);
  sum.Single(p.VX);
  sum.Single(p.VY);
  sum.Byte(p.Ship.TurnStep);
  sum.Single(p.Ship.Thrust);
  sum.String(p.Ship.Image);
  sum.Byte(p.Hull);
  sum.Bool(p.Landed);
}

void AddPlanet(TDemoChecksum& sum, const TPlanet& p) {
  sum.Double(p.X);
  sum.Double(p.Y);
  sum.U16(p.PanelSlide);
  sum.String(p.ImageName);
  sum.U16(p.Radius);
  sum.String(p.Name);
  sum.String(p.Owner);
  sum.I32(p.Population);
  sum.U32(static_cast<std::uint32_t>(p.Things.size()));
  for (const TPlanetThing& t : p.Things) {
    sum.Byte(t.Angle);
    sum.String(t.ImageName);
    sum.Byte(t.Glow);
    sum.Byte(t.GlowStep);
  }
}

// A table entry that holds no object yet counts as one byte 0, an object as 1 and its fields.
template <typename Object, typename Add>
void AddObject(TDemoChecksum& sum, const Object* object, Add add) {
  sum.Bool(object != nullptr);
  if (object) add(sum, *object);
}

}  // namespace

std::uint64_t GameStateChecksum(std::uint64_t inputDigest) {
  TDemoChecksum sum;
  sum.U32(RandomState);
  sum.Byte(CurrentPlanet);
  AddPlayer(sum, Player);
  sum.Byte(StarCount);
  for (int i = 0; i <= StarCount; ++i) {
    const TStar& s = Stars[static_cast<std::size_t>(i)];
    sum.Double(s.PrevX);
    sum.Double(s.PrevY);
    sum.Double(s.X);
    sum.Double(s.Y);
    sum.Double(s.Parallax);
  }
  for (const auto& e : Explosions) {
    AddObject(sum, e.get(), [](TDemoChecksum& s, const TExplosion& x) {
      s.Double(x.X);
      s.Double(x.Y);
      s.Double(x.VX);
      s.Double(x.VY);
      s.Byte(x.Alpha);
    });
  }
  AddObject(sum, Messages.get(), [](TDemoChecksum& s, const TMessageThing& m) {
    s.U32(static_cast<std::uint32_t>(m.Lines.size()));
    for (const std::string& line : m.Lines) s.String(line);
    s.U16(m.ShowTime);
    s.U16(m.TextX);
  });
  for (const auto& p : Planets) AddObject(sum, p.get(), AddPlanet);
  sum.U64(inputDigest);
  return sum.Value;
}
