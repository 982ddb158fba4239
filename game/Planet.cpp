// Planets: creating one, and generating its size, place, name and things.
#include <string>

#include "framework/Extended.h"
#include "framework/Random.h"
#include "game/Main.h"

TPlanet::TPlanet() {
  Generate(ProvisionalRange);
  PanelSlide = 0;
}

namespace {

// A planet with more than this many things has a control tower (and lights, see LightRows).
constexpr int TowerCountAbove = 10;
constexpr std::string_view TowerPicture = "ControlTower";

// An offset from the base angle, closer together on the biggest planets (q = 2).
int Offset(int offset, int q) { return offset / q; }

// Spreads the entries from `first` to the end over the arc from B + 5 + lastOffset to B + 249.
void SpreadFrom(std::vector<TPlanetThing>& things, int first, std::uint8_t base, int lastOffset) {
  for (std::size_t i = static_cast<std::size_t>(first); i < things.size(); ++i)
    things[i].Angle =
        static_cast<std::uint8_t>(base + 5 + lastOffset + RandomBelow(245 - lastOffset));
}

// How many entries of a list of things stand at each angle, kept up to date while new angles are
// drawn, so that checking a candidate against every other entry takes one look.
class TAngleCount {
 public:
  explicit TAngleCount(const std::vector<TPlanetThing>& things) {
    for (const TPlanetThing& t : things) ++count_[t.Angle];
  }
  // Whether an entry other than the one at `own` stands at `angle`.
  bool TakenByAnother(std::uint8_t angle, std::uint8_t own) const {
    return count_[angle] > (angle == own ? 1 : 0);
  }
  void Move(std::uint8_t from, std::uint8_t to) {
    --count_[from];
    ++count_[to];
  }

 private:
  std::array<std::uint8_t, 256> count_{};  // a list holds at most 31 things
};

}  // namespace

void TPlanet::Generate(double Range) {
  // The order of the draws below fixes the world a seed builds: keep it.
  int k = RandomBelow(12);
  Radius = static_cast<std::uint16_t>(k == 11 ? 400 : 100 + 10 * k);
  ImageName = "Planet" + std::to_string(Radius);

  std::int32_t n = static_cast<std::int32_t>(RoundToInt64(Range));
  Extended half = Extended(Range) / 2;
  X = static_cast<double>(RandomBelow(n) - half);
  Y = static_cast<double>(RandomBelow(n) - half);

  MakeName();

  int count = RandomBelow(31) + 1;
  // Entries that survive the resize keep their old angles, pictures and glow; new ones are zero.
  Things.resize(static_cast<std::size_t>(count));
  Population = RandomBelow(3) + 1;

  // Entries not yet visited still hold what the resize left them; their angles are taken too.
  TAngleCount angles(Things);
  for (TPlanetThing& thing : Things) {
    std::uint8_t angle;
    do {
      angle = static_cast<std::uint8_t>(2 * RandomBelow(128));
    } while (angles.TakenByAnother(angle, thing.Angle));
    angles.Move(thing.Angle, angle);
    thing.Angle = angle;

    int kind = RandomBelow(19);
    thing.ImageName = ThingKinds[static_cast<std::size_t>(kind)];
    if (kind == 0) Population += 20 + RandomBelow(5);
    if (kind == 1) Population += 5 + RandomBelow(2);
    thing.GlowStep = 1;
    thing.Glow = 0;
  }

  // The owner's flag takes the last place; a population drawn for what stood there stays.
  const TFaction& faction = Factions[static_cast<std::size_t>(RandomBelow(5))];
  Things.back().ImageName = faction.Flag;
  Owner = faction.Owner;

  auto base = static_cast<std::uint8_t>(RandomBelow(256));
  int q = Radius < 200 ? 1 : 2;

  // With more than 10 things the control tower stands at the base angle and the light rows
  // follow it; everything after the last row is spread over the rest of the circle.
  if (count > TowerCountAbove) {
    TPlanetThing& tower = Things[0];
    tower.Angle = base;
    tower.ImageName = TowerPicture;
    tower.Glow = 0;
  }
  for (const TLightRow& row : LightRows) {
    if (count <= row.CountAbove) break;
    for (std::size_t e = 0; e < 3; ++e) {
      TPlanetThing& light = Things[static_cast<std::size_t>(row.FirstEntry) + e];
      light.Angle = static_cast<std::uint8_t>(base + Offset(row.Offsets[e], q));
      light.ImageName = row.Picture;
      light.Glow = row.Glow;
      light.GlowStep = e == 1 ? 255 : 1;
    }
    SpreadFrom(Things, row.FirstEntry + 3, base, Offset(row.Offsets[2], q));
  }
}

void TPlanet::MakeName() {
  Name.clear();
  Name = FirstSyllables[static_cast<std::size_t>(RandomBelow(40))];
  Name += SecondSyllables[static_cast<std::size_t>(RandomBelow(20))];
  if (RandomBelow(4) != 1) return;
  Name += ThirdSyllables[static_cast<std::size_t>(RandomBelow(10))];
  if (RandomBelow(20) != 1) return;
  Name += FourthSyllables[static_cast<std::size_t>(RandomBelow(10))];
}
