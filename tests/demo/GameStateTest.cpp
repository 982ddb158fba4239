// The one description of the game's state: it visits every member of every record, and every value
// it visits reaches both the demo checksum and the JSON report.
#include "game/GameState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

#include "backends/headless/HeadlessBackend.h"
#include "demo/GameChecksum.h"
#include "report/StateReport.h"

namespace {

// Counts the members one record visits directly: a nested record, entry, array or list is one
// member, whatever it holds.
class TMemberCounter {
 public:
  int Members = 0;
  template <typename T>
  void Field(const char*, T&) {
    Direct();
  }
  void Count(const char*, std::uint8_t&) { Direct(); }
  template <typename Visit>
  void Record(const char*, Visit visit) {
    Nested(visit);
  }
  template <typename T, typename Visit>
  void Entry(const char*, T* object, Visit visit) {
    Nested([&] { if (object) visit(*object); });
  }
  template <typename Visit>
  void Array(const char*, std::size_t n, Visit visit) {
    Nested([&] { for (std::size_t i = 0; i < n; ++i) visit(i); });
  }
  template <typename T, typename Visit>
  void List(const char*, std::vector<T>& items, Visit visit) {
    Nested([&] { for (T& item : items) visit(item); });
  }

 private:
  void Direct() { Members += FDepth == 0; }
  template <typename Visit>
  void Nested(Visit visit) {
    Direct();
    ++FDepth;
    visit();
    --FDepth;
  }
  int FDepth = 0;
};

template <typename Record, typename Visit>
int VisitedMembers(Record& record, Visit visit) {
  TMemberCounter counter;
  visit(counter, record);
  return counter.Members;
}

TEST(GameState, VisitsEveryMemberOfEveryRecord) {
  // Each record's members bound by position: a record that gains a member no longer compiles here.
  // Visit the new member in game/GameState.h, then bind and count it here.
  TShip ship{};
  [[maybe_unused]] auto& [turnStep, thrust, image] = ship;
  EXPECT_EQ(VisitedMembers(ship, [](auto& v, TShip& s) { VisitShip(v, s); }), 3);
  TPlayer player{};
  [[maybe_unused]] auto& [heading, x, y, vx, vy, shipOfPlayer, hull, landed] = player;
  EXPECT_EQ(VisitedMembers(player, [](auto& v, TPlayer& p) { VisitPlayer(v, p); }), 8);
  TStar star{};
  [[maybe_unused]] auto& [prevX, prevY, starX, starY, parallax] = star;
  EXPECT_EQ(VisitedMembers(star, [](auto& v, TStar& s) { VisitStar(v, s); }), 5);
  TExplosion explosion;
  [[maybe_unused]] auto& [ex, ey, evx, evy, alpha] = explosion;
  EXPECT_EQ(VisitedMembers(explosion, [](auto& v, TExplosion& e) { VisitExplosion(v, e); }), 5);
  TMessageThing messages;
  [[maybe_unused]] auto& [lines, showTime, textX] = messages;
  EXPECT_EQ(VisitedMembers(messages, [](auto& v, TMessageThing& m) { VisitMessages(v, m); }), 3);
  TPlanetThing thing{};
  [[maybe_unused]] auto& [angle, thingImage, glow, glowStep] = thing;
  EXPECT_EQ(VisitedMembers(thing, [](auto& v, TPlanetThing& t) { VisitPlanetThing(v, t); }), 4);
  TPlanet planet;
  [[maybe_unused]] auto& [px, py, panelSlide, planetImage, radius, name, owner, population, things] = planet;
  EXPECT_EQ(VisitedMembers(planet, [](auto& v, TPlanet& p) { VisitPlanet(v, p); }), 9);
}

// Changes the first value found at one path of the state (say "Planets.Things.Glow", indices left
// out), by the least step its type has; or, with no target, lists the paths.
class TChanger {
 public:
  explicit TChanger(std::string target = "") : FTarget(std::move(target)) {}
  std::set<std::string> Paths;
  bool Changed = false;

  void Field(const char* name, std::uint8_t& v) { At(name, [&] { v ^= 1; }); }
  void Field(const char* name, std::uint16_t& v) { At(name, [&] { v ^= 1; }); }
  void Field(const char* name, std::uint32_t& v) { At(name, [&] { v ^= 1; }); }
  void Field(const char* name, std::int32_t& v) { At(name, [&] { v ^= 1; }); }
  void Field(const char* name, float& v) { At(name, [&] { v = std::nextafter(v, INFINITY); }); }
  void Field(const char* name, double& v) { At(name, [&] { v = std::nextafter(v, INFINITY); }); }
  void Field(const char* name, bool& v) { At(name, [&] { v = !v; }); }
  void Field(const char* name, std::string& v) { At(name, [&] { v += "x"; }); }
  void Count(const char* name, std::uint8_t& v) { At(name, [&] { --v; }); }
  template <typename Visit>
  void Record(const char* name, Visit visit) {
    Within(name, visit);
  }
  template <typename T, typename Visit>
  void Entry(const char* name, T* object, Visit visit) {
    if (object) Within(name, [&] { visit(*object); });
  }
  template <typename Visit>
  void Array(const char* name, std::size_t n, Visit visit) {
    Within(name, [&] { for (std::size_t i = 0; i < n; ++i) visit(i); });
  }
  template <typename T, typename Visit>
  void List(const char* name, std::vector<T>& items, Visit visit) {
    Within(name, [&] { for (T& item : items) visit(item); });
  }

 private:
  template <typename Change>
  void At(const char* name, Change change) {
    std::string path = Path(name);
    Paths.insert(path);
    if (!Changed && path == FTarget) {
      change();
      Changed = true;
    }
  }
  template <typename Visit>
  void Within(const char* name, Visit visit) {
    std::size_t size = FPath.size();
    FPath = Path(name);
    visit();
    FPath.resize(size);
  }
  std::string Path(const char* name) const {
    if (!name) return FPath;
    return FPath.empty() ? name : FPath + "." + name;
  }
  std::string FTarget;
  std::string FPath;
};

class GameStateChange : public testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&FBackend);
    FBackend.TimeOfDayMs = 45296789;
    // As the process starts: what the world's making does not set.
    Player = TPlayer{};
    Stars = {};
    CurrentPlanet = 255;
    CreateWorld();
    // Every kind of table entry in use: an explosion going, messages queued.
    Explosions[1]->Start(10, 20, 1, 2);
  }
  void TearDown() override { SetBackend(nullptr); }
  static std::string Report() {
    std::string text;
    TJsonWriter json(text);
    WriteGameState(json);
    return text;
  }
  THeadlessBackend FBackend;
};

TEST_F(GameStateChange, OfEveryValueReachesTheChecksumAndTheReport) {
  TChanger lister;
  VisitGameState(lister);
  // A path of every kind: sanity that the walk went everywhere.
  for (const char* path : {"RandomState", "Player.Ship.Image", "StarCount", "Stars.Parallax",
                           "Explosions.Alpha", "Messages.Lines", "Planets.Things.GlowStep"})
    EXPECT_TRUE(lister.Paths.count(path)) << path;
  const std::uint64_t checksum = GameStateChecksum(0);
  const std::string report = Report();
  for (const std::string& path : lister.Paths) {
    SetUp();
    ASSERT_EQ(GameStateChecksum(0), checksum) << "the world made again after changing the value before " << path;
    TChanger changer(path);
    VisitGameState(changer);
    ASSERT_TRUE(changer.Changed) << path;
    EXPECT_NE(GameStateChecksum(0), checksum) << path << " does not reach the checksum";
    EXPECT_NE(Report(), report) << path << " does not reach the report";
  }
}

TEST_F(GameStateChange, ReportKeepsItsLayoutAndWritesEmptyEntriesAsNull) {
  Explosions[2].reset();
  const std::string report = Report();
  EXPECT_EQ(report.rfind("{\"RandomState\":", 0), 0u);
  // The player's ship after its plain members, the planets before the stars.
  EXPECT_NE(report.find("\"Landed\":false,\"Ship\":{\"TurnStep\":"), std::string::npos);
  EXPECT_LT(report.find("\"Planets\":["), report.find("\"Stars\":["));
  EXPECT_EQ(report.find("StarCount"), std::string::npos);
  EXPECT_NE(report.find("\"Explosions\":[{"), std::string::npos);
  EXPECT_NE(report.find("},null,{"), std::string::npos);
  EXPECT_EQ(report.substr(report.size() - 2), "}}");
}

}  // namespace
