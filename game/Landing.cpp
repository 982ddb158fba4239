// A near planet acting on the ship: its pull, and touching down, landing or crashing on it.
#include <array>

#include "framework/AngleTable.h"
#include "framework/Extended.h"
#include "framework/Random.h"
#include "game/Main.h"

namespace {

// Radians to angle steps, 40.58451049. It is 255/(2 pi), not 256/(2 pi), so rim angles come out a
// hair short of the true direction; the flight has always felt this way, so it stays. Written as
// a quotient of whole numbers, which rounds to the same extended value as the decimal.
constexpr Extended RadiansToSteps = Extended(4058451049) / 100000000;
constexpr int PullDivisor = 50;
// How far beyond its radius a planet's centre still counts as touching (12.1): about half the ship.
constexpr Extended ContactMargin = Extended(121) / 10;
constexpr std::int64_t HarmlessImpact = 10;
constexpr int AlignmentTolerance = 10;

// One of these is drawn on a misaligned touch-down; draws 4 to 9 say nothing.
constexpr std::array<const char*, 4> CrashTexts = {
    "What an unfortunate landing...",
    "You should try to practice your landing skills a bit...",
    "Maybe you should try to focus a bit more when you are landing!",
    "Did you do that on purpose?",
};

// The way from (Heading + 64) to the rim angle e the short way round the circle, -128..127.
// Comparing on the circle keeps the tolerance whole across the 255/0 seam at the planet's
// left-most point, where a plain difference of the two numbers would call a ship 5 steps off
// upright 251 steps off.
int AlignmentError(std::uint8_t heading, std::uint8_t e) {
  int diff = static_cast<std::uint8_t>(heading + 64) - static_cast<int>(e);
  return static_cast<std::int8_t>(static_cast<std::uint8_t>(diff));
}

}  // namespace

void TPlanet::GravityAndLanding(TPlayer& Player) {
  // The direction to the centre, measured from straight down towards the right.
  Extended dx = Extended(X) - Player.X;
  Extended dy = Extended(Y) - Player.Y;
  Extended b = Atan2(dx, dy);
  // The rim angle under the ship, in the rim's own convention (0 left, 64 top). Only the low 8
  // bits count, and they do not depend on which way the negation wraps.
  std::uint8_t e = static_cast<std::uint8_t>(0 - static_cast<std::uint64_t>(RoundToInt64(b * RadiansToSteps - 64)));
  Extended dist = Sqrt(dx * dx + dy * dy);

  // The impact is judged on the velocity the ship arrived with, before this planet's pull.
  Extended vx = Player.VX;
  Extended vy = Player.VY;
  std::int64_t impact = RoundToInt64(Sqrt(vx * vx + vy * vy) * 10);
  std::uint8_t h0 = Player.Hull;

  // The pull points along the whole-step angle e and falls off with the distance itself. At the
  // very centre there is no direction to pull in, so nothing is added there.
  if (dist != 0) {
    Extended cos = AngleCos(e);
    Extended sin = AngleSin(e);
    Player.VX = static_cast<float>(vx + cos * Radius / (dist * PullDivisor));
    Player.VY = static_cast<float>(vy + sin * Radius / (dist * PullDivisor));
  }

  if (dist > Radius + ContactMargin) return;

  // Touch-down. The ship stops where it is; it is not moved back out to the surface.
  Player.VX = 0;
  Player.VY = 0;
  if (impact > HarmlessImpact)
    Player.Hull = static_cast<std::uint8_t>(impact >= Player.Hull ? 0 : Player.Hull - impact);
  int error = AlignmentError(Player.Heading, e);
  if (error > AlignmentTolerance || error < -AlignmentTolerance) {
    int t = RandomBelow(10);
    if (t < static_cast<int>(CrashTexts.size()))
      Messages->AddMessage(CrashTexts[static_cast<std::size_t>(t)]);
    Player.Hull = 0;
  }
  if (Player.Hull == 0 && h0 != 0) {
    Explosions[0]->Start(Player.X, Player.Y, 0, 0);
    Messages->AddMessage("You crashed on " + Name + ". Press ALT+F4 to quit...");
  }
  // Stand the ship upright on the rim, nose pointing away from the centre.
  Player.Heading = static_cast<std::uint8_t>(e - 64);
  Player.Landed = true;
}
