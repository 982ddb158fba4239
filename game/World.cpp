// The game's global state, and building a new world at start-up.
#include "framework/Extended.h"
#include "framework/Random.h"
#include "game/Main.h"

#include "TarnyxVersion.h"

std::string Version;
std::array<std::unique_ptr<TPlanet>, PlanetCount> Planets;
TPlayer Player;
std::array<TStar, 256> Stars;
std::uint8_t StarCount;
double PlacementRange;
std::uint16_t RadarScale;
std::array<std::unique_ptr<TExplosion>, 4> Explosions;
std::unique_ptr<TMessageThing> Messages;
// No frame has chosen a planet yet.
std::uint8_t CurrentPlanet = 255;

int CountPlanetsNear(int Index) {
  const TPlanet& p = *Planets[static_cast<std::size_t>(Index)];
  int count = 0;
  for (int j = 0; j < PlanetCount; ++j) {
    if (j == Index) continue;
    const TPlanet& other = *Planets[static_cast<std::size_t>(j)];
    Extended dx = Extended(p.X) - other.X;
    Extended dy = Extended(p.Y) - other.Y;
    // Strictly closer: two centres exactly MinPlanetDistance apart are fine.
    if (Sqrt(dx * dx + dy * dy) < MinPlanetDistance) ++count;
  }
  return count;
}

namespace {

// Places every planet in turn at a new random point until none of the others lies too close.
// Planets not yet placed still stand at their provisional points near the origin and count too;
// each placed planet was tested against the final places of those before it, so in the end every
// two centres are at least MinPlanetDistance apart.
void PlacePlanets() {
  for (int i = 0; i < PlanetCount; ++i) {
    do {
      Planets[static_cast<std::size_t>(i)]->Generate(PlacementRange);
    } while (CountPlanetsNear(i) != 0);
  }
}

void FillStarfield() {
  for (int i = 0; i <= StarCount; ++i) {
    TStar& star = Stars[static_cast<std::size_t>(i)];
    star.X = RandomBelow(1024);
    star.Y = RandomBelow(768);
    // The integer is negated before the division, so a draw of 0 gives +0, not -0.
    star.Parallax = static_cast<double>(Extended(-RandomBelow(2000)) / 10000);
  }
}

}  // namespace

void CreateWorld(const std::function<void()>& setCursor) {
  // The order of everything that draws from the generator fixes the world a clock reading gives.
  SeedRandom();
  PlacementRange = 40000;
  StarCount = 100;
  RadarScale = 20;
  Messages = std::make_unique<TMessageThing>();
  for (auto& explosion : Explosions) explosion = std::make_unique<TExplosion>();
  for (auto& planet : Planets) planet = std::make_unique<TPlanet>();
  PlacePlanets();

  Version = GameVersion;
  Messages->AddMessage("Welcome to Tarnyx version " + Version + ".");
  Messages->AddMessage(
      "Patches, updates and more games and programs wait for you on the maker's web site.");

  Player.X = 0;
  Player.Y = 0;
  Player.Hull = 100;
  Player.Ship.Image = "Ship2";
  Player.Ship.TurnStep = 3;
  Player.Ship.Thrust = 0.2f;

  // Where the form hides the mouse pointer over the game.
  if (setCursor) setCursor();

  FillStarfield();
}
