// The sound of real flights: the committed demos played on the headless back end with the sound
// attached, and their samples analysed: silence before the engine, the engine while thrusting,
// the landing's thump and chime, the crash as the loudest, headroom, no clicks, mute and volume,
// the same bytes every time, and a game that plays exactly as without sound.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "sound/AttachSound.h"
#include "tests/demo/DemoGameFixture.h"
#include "tests/sound/SoundAnalysis.h"

namespace {

// What a flight sounded like: every frame's samples one after the other, and its events.
struct TFlight {
  TSamples Samples;
  std::vector<TSoundEvents> Events;
  std::uint32_t Desync = 0;
  std::uint32_t Frames = 0;
  std::uint64_t Checksum = 0;

  // Frame numbers (0-based) where an event happened.
  std::vector<int> Where(bool TSoundEvents::*which) const {
    std::vector<int> at;
    for (std::size_t f = 0; f < Events.size(); ++f)
      if (Events[f].*which) at.push_back(static_cast<int>(f));
    return at;
  }
  // Whether the engine was off in all of frames [first, last).
  bool EngineOffIn(int first, int last) const {
    for (int f = std::max(first, 0); f < last && f < static_cast<int>(Events.size()); ++f)
      if (Events[f].Thrust != thNone) return false;
    return true;
  }
  // Whether anything but the engine started in frames [first, last).
  bool OtherSoundsIn(int first, int last) const {
    for (int f = std::max(first, 0); f < last && f < static_cast<int>(Events.size()); ++f) {
      TSoundEvents e = Events[f];
      e.Thrust = thNone;
      if (!e.Quiet()) return true;
    }
    return false;
  }
  // Runs of frames with the engine on: [start, end).
  std::vector<std::pair<int, int>> ThrustRuns() const {
    std::vector<std::pair<int, int>> runs;
    for (int f = 0; f < static_cast<int>(Events.size()); ++f) {
      const bool on = Events[f].Thrust != thNone, was = f > 0 && Events[f - 1].Thrust != thNone;
      if (on && !was) runs.emplace_back(f, f);
      if (on) runs.back().second = f + 1;
    }
    return runs;
  }
};

std::string DemoPath(const std::string& name) { return std::string(TARNYX_SOURCE_DIR) + "/tests/demos/" + name; }

// Plays a committed demo with sound at a volume; control, if given, runs before each frame.
TFlight Fly(const std::string& name, int volume = 100, bool muted = false,
            const std::function<void(int frame, TGameSound& sound)>& control = {}) {
  TDemoReader demo = TDemoReader::FromFile(DemoPath(name));
  TDemoTestGame game(demo.Header().Seed, true);
  TDemoPlayer player(demo);
  game.Form->OnFrameInput = [&player](TInputStates& s) { player.FrameInput(s); };
  game.Form->OnFrameEnd = [&player] { player.FrameEnd(); };
  TGameSound sound(volume, muted);
  TFlight flight;
  sound.OnFrame = [&](std::span<const std::int16_t, FrameSamples> s) {
    flight.Samples.insert(flight.Samples.end(), s.begin(), s.end());
    flight.Events.push_back(sound.Events());
  };
  AttachSound(*game.Form, sound);
  for (int turn = 0; !player.Done() && turn < 100000; ++turn) {
    if (control) control(static_cast<int>(flight.Events.size()), sound);
    game.Frame();
  }
  player.Conclude();
  flight.Desync = player.DesyncFrame();
  flight.Frames = player.FramesPlayed();
  flight.Checksum = player.Checksum();
  return flight;
}

// The key frames of demos.txt (counted from 1): the first frame standing, or the crash.
std::map<std::string, int> KeyFrames() {
  std::map<std::string, int> keys;
  std::ifstream list(DemoPath("demos.txt"));
  for (std::string line; std::getline(list, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string name, scenario;
    int key = 0;
    words >> name >> scenario >> key;
    keys[name] = key;
  }
  return keys;
}

// The sounds the tests look at, played once for the whole suite.
const TFlight& Flight(const std::string& name) {
  static std::map<std::string, TFlight> flights;
  auto at = flights.find(name);
  if (at == flights.end()) at = flights.emplace(name, Fly(name)).first;
  return at->second;
}

const char* const AllDemos[] = {"landing.tnxdemo", "takeoff.tnxdemo", "crash.tnxdemo", "longflight.tnxdemo"};

// The most a sample may step from the one before when the engine starts or stops, or the sound is
// muted or unmuted, at full volume: 1/128 of full scale. The engine's own rumble steps by up to
// about 170; a sound switched on at once would step by its level (the engine's hundreds to
// thousands).
constexpr int ClickFree = 256;

}  // namespace

TEST(SoundFlight, PlayingWithSoundLeavesTheGameAsItWas) {
  for (const char* name : AllDemos) {
    const TFlight& f = Flight(name);
    EXPECT_EQ(f.Desync, 0u) << name;
    EXPECT_EQ(f.Events.size(), f.Frames) << name;
    EXPECT_EQ(f.Samples.size(), std::size_t{f.Frames} * FrameSamples) << name;
  }
}

TEST(SoundFlight, SilentBeforeTheFirstThrustButForTheTickersBlips) {
  for (const char* name : AllDemos) {
    const TFlight& f = Flight(name);
    const auto runs = f.ThrustRuns();
    ASSERT_FALSE(runs.empty()) << name;
    int silent = 0;
    for (int frame = 0; frame < runs.front().first; ++frame) {
      bool blipping = false;
      for (int back = 0; back < 12 && back <= frame; ++back) blipping |= f.Events[frame - back].Message;
      if (blipping) continue;
      ASSERT_TRUE(AllZero(Frames(f.Samples, frame, frame + 1))) << name << " frame " << frame;
      ++silent;
    }
    EXPECT_GT(silent, 20) << name;
  }
}

TEST(SoundFlight, LoudWhileThrustingAndQuietAgainAfter) {
  int checked = 0;
  for (const char* name : AllDemos) {
    const TFlight& f = Flight(name);
    for (auto [start, end] : f.ThrustRuns()) {
      if (end - start < 10 || f.OtherSoundsIn(start - 60, end + 12) || !f.EngineOffIn(end, end + 12)) continue;
      const bool gentle = f.Events[start + 5].Thrust == thGentle;
      EXPECT_GT(Rms(Frames(f.Samples, start + 2, end)), gentle ? 150 : 400) << name << " at " << start;
      EXPECT_TRUE(AllZero(Frames(f.Samples, end + 3, end + 12))) << name << " after " << end;
      ++checked;
    }
  }
  EXPECT_GE(checked, 4);
}

TEST(SoundFlight, TheEngineStartsAndStopsWithoutClicks) {
  int checked = 0;
  for (const char* name : AllDemos) {
    const TFlight& f = Flight(name);
    for (auto [start, end] : f.ThrustRuns()) {
      if (f.OtherSoundsIn(start - 60, end + 8)) continue;
      EXPECT_LE(MaxJump(Frames(f.Samples, start - 1, start + 3)), ClickFree) << name << " at " << start;
      EXPECT_LE(MaxJump(Frames(f.Samples, end - 1, end + 4)), ClickFree) << name << " at " << end;
      ++checked;
    }
  }
  EXPECT_GE(checked, 4);
}

TEST(SoundFlight, ALandingThumpsAndThePanelChimes) {
  const auto keys = KeyFrames();
  for (const char* name : {"landing.tnxdemo", "takeoff.tnxdemo"}) {
    const TFlight& f = Flight(name);
    const auto downs = f.Where(&TSoundEvents::TouchDown);
    ASSERT_FALSE(downs.empty()) << name;
    const int t = downs.front();
    EXPECT_EQ(t + 1, keys.at(name)) << name;  // the frame the demo list names
    EXPECT_TRUE(f.Events[t].PanelIn) << name;
    // The thump: low and clearly above what came before.
    const double low = ToneAmplitude(Frames(f.Samples, t, t + 4), 90);
    EXPECT_GT(low, 700) << name;
    EXPECT_GT(low, 4 * ToneAmplitude(Frames(f.Samples, t - 4, t), 90)) << name;
    // The chime: its first note at once, its second a little later; neither before the touch-down.
    EXPECT_GT(ToneAmplitude(Stretch(f.Samples, t * FrameSamples, SamplesOf(80)), 880), 300) << name;
    EXPECT_GT(ToneAmplitude(Frames(f.Samples, t + 5, t + 10), 1319), 200) << name;
    EXPECT_LT(ToneAmplitude(Frames(f.Samples, t - 10, t), 880), 60) << name;
  }
  // The take-off demo lifts off again.
  EXPECT_EQ(Flight("takeoff.tnxdemo").Where(&TSoundEvents::TakeOff).size(), 1u);
}

TEST(SoundFlight, TheCrashIsTheLoudestThingInItsFlight) {
  const TFlight& f = Flight("crash.tnxdemo");
  const auto crashes = f.Where(&TSoundEvents::Crash);
  ASSERT_EQ(crashes.size(), 1u);
  const int c = crashes.front();
  EXPECT_EQ(c + 1, KeyFrames().at("crash.tnxdemo"));
  const int crash = Peak(Frames(f.Samples, c, c + 100));
  const int rest = std::max(Peak(Frames(f.Samples, 0, c)), Peak(Frames(f.Samples, c + 250, f.Frames)));
  EXPECT_GT(crash, 1.5 * rest);
  // It dies away slowly: still there a second after.
  EXPECT_GT(Rms(Frames(f.Samples, c + 50, c + 60)), 100);
  // And it is the loudest of every flight's sounds.
  for (const char* name : AllDemos) {
    if (std::string(name) != "crash.tnxdemo") {
      EXPECT_GT(crash, Peak(Flight(name).Samples)) << name;
    }
  }
}

TEST(SoundFlight, NothingClipsAndTheLoudestStaysBelowHalfOfFullScale) {
  for (const char* name : AllDemos) {
    EXPECT_LT(Peak(Flight(name).Samples), 16384) << name;  // -6 dBFS, at full volume
    EXPECT_GT(Peak(Flight(name).Samples), 1000) << name;
  }
}

TEST(SoundFlight, TheSameFlightGivesTheSameSamples) {
  const TFlight again = Fly("crash.tnxdemo");
  EXPECT_TRUE(again.Samples == Flight("crash.tnxdemo").Samples);
  EXPECT_EQ(again.Checksum, Flight("crash.tnxdemo").Checksum);
}

TEST(SoundFlight, MutedIsExactSilenceAndTheVolumeScales) {
  const TFlight& full = Flight("crash.tnxdemo");
  const TFlight muted = Fly("crash.tnxdemo", 100, true);
  EXPECT_TRUE(AllZero(muted.Samples));
  EXPECT_EQ(muted.Checksum, full.Checksum);  // and the game is the silent game
  EXPECT_TRUE(AllZero(Fly("crash.tnxdemo", 0).Samples));
  const TFlight half = Fly("crash.tnxdemo", 50);
  ASSERT_EQ(half.Samples.size(), full.Samples.size());
  for (std::size_t i = 0; i < full.Samples.size(); ++i) ASSERT_EQ(half.Samples[i], full.Samples[i] >> 1) << i;
}

TEST(SoundFlight, MutingAndUnmutingWhileTheEngineRunsDoesNotClick) {
  const TFlight& full = Flight("landing.tnxdemo");
  // The longest run of thrust: muted from its 10th frame for 10 frames.
  std::pair<int, int> longest{0, 0};
  for (auto run : full.ThrustRuns())
    if (run.second - run.first > longest.second - longest.first) longest = run;
  ASSERT_GE(longest.second - longest.first, 30);
  const int mute = longest.first + 10, unmute = mute + 10;
  const TFlight f = Fly("landing.tnxdemo", 100, false, [&](int frame, TGameSound& sound) {
    if (frame == mute) sound.SetMuted(true);
    if (frame == unmute) sound.SetMuted(false);
  });
  EXPECT_TRUE(std::equal(full.Samples.begin(), full.Samples.begin() + mute * FrameSamples, f.Samples.begin()));
  EXPECT_GT(Rms(Frames(f.Samples, mute - 1, mute)), 100);
  EXPECT_LE(MaxJump(Frames(f.Samples, mute - 1, mute + 1)), ClickFree);
  EXPECT_TRUE(AllZero(Frames(f.Samples, mute + 1, unmute)));
  EXPECT_LE(MaxJump(Frames(f.Samples, unmute - 1, unmute + 1)), ClickFree);
  EXPECT_TRUE(std::equal(full.Samples.begin() + (unmute + 1) * FrameSamples, full.Samples.end(),
                         f.Samples.begin() + (unmute + 1) * FrameSamples));
  EXPECT_EQ(f.Checksum, full.Checksum);
}
