// The game unit: the game's records and classes, its global state, and building a new world.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TDXDraw;
class TDXImageList;

// ---------------------------------------------------------------------------------------------
// The ship
// ---------------------------------------------------------------------------------------------

// The characteristics of the ship being flown: how many heading steps it turns per frame, how
// much velocity (world units per frame) one frame of thrust adds, and its picture's name.
struct TShip {
  std::uint8_t TurnStep;
  float Thrust;
  std::string Image;
};

// The player's ship in flight. Position in world units (one unit is one screen pixel, x right,
// y down); velocity in world units per frame, in single precision; heading in 256ths of a turn,
// 0 up and clockwise. Hull is a percentage, 0 meaning destroyed; Landed holds only for the frame
// in which the ship touches a planet.
struct TPlayer {
  std::uint8_t Heading;
  double X;
  double Y;
  float VX;
  float VY;
  TShip Ship;
  std::uint8_t Hull;
  bool Landed;
};

// ---------------------------------------------------------------------------------------------
// Stars, explosions and the message log
// ---------------------------------------------------------------------------------------------

// One background star, in screen pixels: where it was on the previous frame, where it is now,
// and the factor (0 down to -0.1999) by which it drifts against the ship's velocity.
struct TStar {
  double PrevX;
  double PrevY;
  double X;
  double Y;
  double Parallax;
};

// Moves every star in use against the ship's velocity by its parallax, wraps it round the screen
// edges, and draws it on the display's frame surface: a white pixel, or a white streak from its
// previous position when it moved more than 1.5 pixels.
void DoStars(TDXDraw& DXDraw);

// One explosion slot: a world position, a velocity added after each drawn frame, and the blend
// value of its first picture. The slot is active while Alpha is not 0; a new one is idle.
class TExplosion {
 public:
  double X = 0;
  double Y = 0;
  double VX = 0;
  double VY = 0;
  std::uint8_t Alpha = 0;

  // (Re)starts the explosion at a world point with a velocity, from its first frame.
  void Start(double x, double y, double vx, double vy);
  // Draws the explosion once and moves it on by one frame; only for an active slot.
  void DrawFrame(TDXDraw& DXDraw, TDXImageList& DXImageList);
};

// The message log: a queue of lines whose first element is the line on screen while the others
// wait their turn, with the frames the line on screen still has (ShowTime) and the screen x at
// which it is drawn (TextX). Never empty; lines hold at most MaxMessageLength characters.
class TMessageThing {
 public:
  std::vector<std::string> Lines;
  std::uint16_t ShowTime;
  std::uint16_t TextX;

  // A new log holds one empty line, shown for 50 frames at x = 0.
  TMessageThing();
  // Queues a line at the end, cut to its first MaxMessageLength characters. The line on screen
  // and its time are left alone.
  void AddMessage(const std::string& text);
  // Draws the line on screen and moves the queue on by one frame.
  void DrawLog(TDXDraw& DXDraw);
};

constexpr std::size_t MaxMessageLength = 102;

// ---------------------------------------------------------------------------------------------
// Planets
// ---------------------------------------------------------------------------------------------

// One thing standing on a planet's rim. Angle is its place on the rim in 256ths of a turn,
// measured from the left-most point of the rim (0) over the top (64) to the right (128). A steady
// thing has Glow 0; a flashing light carries its current opacity (1..254) in Glow and the way
// it is changing in GlowStep (1 brightens, 255 dims).
struct TPlanetThing {
  std::uint8_t Angle;
  std::string ImageName;
  std::uint8_t Glow;
  std::uint8_t GlowStep;
};

// A planet: a round body at a fixed whole-number point of the world, of radius 100..200 or 400,
// with a made-up name, an owning faction, a population (in units of 47875 people) and 1..31 things
// on its rim, the last of which is always the owner's flag. PanelSlide is how far its information
// panel has slid in (0..475). Everything but PanelSlide comes from Generate, drawn from the game's
// random generator in a fixed order.
class TPlanet {
 public:
  double X = 0;
  double Y = 0;
  std::uint16_t PanelSlide = 0;
  std::string ImageName;
  std::uint16_t Radius = 0;
  std::string Name;
  std::string Owner;
  std::int32_t Population = 0;
  std::vector<TPlanetThing> Things;

  // A new planet, generated once inside the provisional square of side ProvisionalRange.
  TPlanet();

  // Draws everything but PanelSlide afresh: size, a centre on a whole-number point of the square
  // from -Range/2 to Range/2 - 1, name, things, population and owner. Range rounded to an
  // integer must be positive. The list of things keeps what an earlier generation left in the
  // entries it still has, and a new angle may not repeat any angle in the list.
  void Generate(double Range);
  // Gives the planet a new name of two to four syllables.
  void MakeName();

  // Draws the planet and its things, placed relative to the ship; steps the lights' glow.
  void DrawPlanet(TDXDraw& DXDraw, TDXImageList& DXImageList, double ShipX, double ShipY);
  // Slides the information panel in or out by Landed, and draws it.
  void DrawInfoPanel(TDXDraw& DXDraw, TDXImageList& DXImageList, bool Landed);
  // Moves the information panel one step (5 pixels) in while Landed, out otherwise, within
  // 0..PanelWidth. Returns whether any of it is on screen now.
  bool SlidePanel(bool Landed);
  // The population as the panel shows it: the units times PeoplePerUnit, in decimal digits.
  std::string PopulationText() const;
  // Pulls the ship, and lands or crashes it on contact.
  void GravityAndLanding(TPlayer& Player);
};

// Moves a flashing light's glow on by one drawn frame: by 4 in the direction of GlowStep, turning
// to dim at 252 and to brighten at 4, so that it pulses between 1 and 254 and never reaches 0.
void StepGlow(TPlanetThing& Thing);

// The information panel: its picture's width (how far it slides) and the people per unit of
// population.
constexpr std::uint16_t PanelWidth = 475;
constexpr std::int64_t PeoplePerUnit = 47875;

// The ship is always drawn at the centre of the 1024 x 768 frame; the world moves around it.
constexpr int ScreenCentreX = 512;
constexpr int ScreenCentreY = 384;
// A planet closer than this to the ship is drawn in detail and acts on the ship.
constexpr double NearDistance = 1500;

// What world building needs to know about planets.
constexpr double ProvisionalRange = 5000;     // side of the square of a planet's first centre
constexpr double MinPlanetDistance = 2000;    // least distance between two placed centres
constexpr int PlanetCount = 100;

// The five factions: the flag that stands on their planets and their full name.
struct TFaction {
  std::string_view Flag;
  std::string_view Owner;
};
extern const std::array<TFaction, 5> Factions;

// The pictures of the things a planet can carry, by the value of their random draw. The first
// two are residential and add to the population.
extern const std::array<std::string_view, 19> ThingKinds;

// A control tower stands at a planet's base angle once it has more than 10 things; rows of three
// flashing lights follow it at increasing angles as the count grows. Each row: the count it needs
// to be exceeded, its first entry, its picture, its offsets from the base angle (halved, by
// integer division, on planets of radius 200 and more), and its lights' starting glow.
struct TLightRow {
  int CountAbove;
  int FirstEntry;
  std::string_view Picture;
  std::array<int, 3> Offsets;
  std::uint8_t Glow;
};
extern const std::array<TLightRow, 4> LightRows;

// The syllables of planet names, by the value of their draw. Only the first has a capital.
extern const std::array<std::string_view, 40> FirstSyllables;
extern const std::array<std::string_view, 20> SecondSyllables;
extern const std::array<std::string_view, 10> ThirdSyllables;
extern const std::array<std::string_view, 10> FourthSyllables;

// ---------------------------------------------------------------------------------------------
// The game's global state. The objects are created by CreateWorld and live until the process
// ends; before it runs the tables hold no objects.
// ---------------------------------------------------------------------------------------------

extern std::string Version;                                           // shown in the welcome line
extern std::array<std::unique_ptr<TPlanet>, PlanetCount> Planets;     // never move once placed
extern TPlayer Player;
extern std::array<TStar, 256> Stars;                                  // 0..StarCount in use
extern std::uint8_t StarCount;                                        // highest star index in use
extern double PlacementRange;              // side of the square, centred on the origin, of planets
extern std::uint16_t RadarScale;                                      // world units per radar pixel
extern std::array<std::unique_ptr<TExplosion>, 4> Explosions;
extern std::unique_ptr<TMessageThing> Messages;
extern std::uint8_t CurrentPlanet;           // planet shown in detail this frame; 255 for none

// Draws the radar dot of a planet: the picture "FlashYellow" with its top-left corner at the
// planet's offset from the ship divided by RadarScale, from the screen centre, rounded.
void DrawRadarDot(const TPlanet& Planet, TDXDraw& DXDraw, TDXImageList& DXImageList);

// Counts the planets other than Planets[Index] whose centre lies closer than MinPlanetDistance
// to its centre. Every table entry must hold a planet.
int CountPlanetsNear(int Index);

// Builds a new world from the clock: seeds the generator, creates and places the planets, readies
// the ship, queues the welcome lines and fills the starfield, in a fixed order, so that one clock
// reading always gives the same world. setCursor, if given, is called where the form hides its
// mouse pointer, between readying the ship and filling the starfield. This is the body of the
// main form's creation handler, and needs no form.
void CreateWorld(const std::function<void()>& setCursor = {});
