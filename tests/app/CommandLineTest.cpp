// The game's command line and its embedded window icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/CommandLine.h"
#include "app/WindowIcon.h"

namespace {

struct TOutcome {
  int Status;
  std::string Out, Err;
};

TOutcome Invoke(std::initializer_list<const char*> args) {
  std::vector<const char*> argv{"tarnyx"};
  argv.insert(argv.end(), args);
  std::ostringstream out, err;
  int status = HandleCommandLine(static_cast<int>(argv.size()), argv.data(), "2.30.9", out, err);
  return {status, out.str(), err.str()};
}

}  // namespace

TEST(CommandLine, NoArgumentsStartsTheGameQuietly) {
  TOutcome r = Invoke({});
  EXPECT_EQ(r.Status, -1);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err, "");
}

TEST(CommandLine, VersionAndHelpWriteToOutAndSucceed) {
  TOutcome v = Invoke({"--version"});
  EXPECT_EQ(v.Status, 0);
  EXPECT_EQ(v.Out, "Tarnyx 0.06 Beta (8 bit edition)\nSDL 2.30.9\n");
  EXPECT_EQ(v.Err, "");
  TOutcome h = Invoke({"--help"});
  EXPECT_EQ(h.Status, 0);
  EXPECT_EQ(h.Err, "");
  for (const char* mention : {"Alt+Enter", "PrintScreen", "F12", "Alt+F4", "Up arrow", "Shift"})
    EXPECT_NE(h.Out.find(mention), std::string::npos) << mention;
}

TEST(CommandLine, AnythingElseIsOneLineOnErrAndStatusTwo) {
  for (auto args : {std::vector<const char*>{"-v"}, {"--versions"}, {""}, {"--help", "--version"},
                    {"--version", "x"}, {"game.sav"}, {"a\nb\x1b[31m"}}) {
    std::vector<const char*> argv{"tarnyx"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::ostringstream out, err;
    EXPECT_EQ(HandleCommandLine(static_cast<int>(argv.size()), argv.data(), "2.0.0", out, err), 2);
    EXPECT_EQ(out.str(), "");
    std::string e = err.str();
    ASSERT_FALSE(e.empty());
    EXPECT_EQ(e.find('\n'), e.size() - 1) << e;
    EXPECT_EQ(e.find('\x1b'), std::string::npos) << e;  // an argument's bytes are shown escaped
  }
  EXPECT_EQ(Invoke({"a\nb\x1b[31m"}).Err, "tarnyx: unknown argument 'a\\x0ab\\x1b[31m' (try tarnyx --help)\n");
}

TEST(CommandLine, DemoOptionsTakeOneFile) {
  struct TCase {
    std::vector<const char*> Args;
    TDemoOptions::TMode Mode;
  };
  for (const TCase& c : {TCase{{"--record", "flight.tnxdemo"}, TDemoOptions::dmRecord},
                         TCase{{"--playdemo", "a b.tnxdemo"}, TDemoOptions::dmPlay},
                         TCase{{"--timedemo", "-"}, TDemoOptions::dmTime}}) {
    std::vector<const char*> argv{"tarnyx"};
    argv.insert(argv.end(), c.Args.begin(), c.Args.end());
    std::ostringstream out, err;
    TDemoOptions demo;
    EXPECT_EQ(HandleCommandLine(static_cast<int>(argv.size()), argv.data(), "2.0.0", out, err, &demo), -1);
    EXPECT_EQ(demo.Mode, c.Mode);
    EXPECT_EQ(demo.File, c.Args[1]);
    EXPECT_EQ(out.str() + err.str(), "");
  }
  // Without a file, with two, with an empty one: one line, status 2, no demo.
  for (auto args : {std::vector<const char*>{"--record"}, {"--playdemo", "a", "b"}, {"--timedemo", ""},
                    {"--record", "a", "--playdemo", "b"}}) {
    std::vector<const char*> argv{"tarnyx"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::ostringstream out, err;
    TDemoOptions demo;
    EXPECT_EQ(HandleCommandLine(static_cast<int>(argv.size()), argv.data(), "2.0.0", out, err, &demo), 2);
    EXPECT_EQ(demo.Mode, TDemoOptions::dmNone);
    EXPECT_EQ(err.str(), std::string("tarnyx: ") + args[0] + " takes one FILE (try tarnyx --help)\n");
  }
  TOutcome help = Invoke({"--help"});
  for (const char* option : {"--record FILE", "--playdemo FILE", "--timedemo FILE"})
    EXPECT_NE(help.Out.find(option), std::string::npos) << option;
}

TEST(CommandLine, SoundOptionsStandAloneOrBesideTheOthers) {
  struct TCase {
    std::vector<const char*> Args;
    bool Mute;
    int Volume;
    TDemoOptions::TMode Mode;
  };
  for (const TCase& c : {TCase{{"--mute"}, true, -1, TDemoOptions::dmNone},
                         TCase{{"--volume", "0"}, false, 0, TDemoOptions::dmNone},
                         TCase{{"--volume", "100", "--mute"}, true, 100, TDemoOptions::dmNone},
                         TCase{{"--volume", "35", "--playdemo", "a.tnxdemo"}, false, 35, TDemoOptions::dmPlay},
                         TCase{{"--record", "b.tnxdemo", "--mute"}, true, -1, TDemoOptions::dmRecord},
                         TCase{{"--volume", "70", "--volume", "20"}, false, 20, TDemoOptions::dmNone}}) {
    std::vector<const char*> argv{"tarnyx"};
    argv.insert(argv.end(), c.Args.begin(), c.Args.end());
    std::ostringstream out, err;
    TDemoOptions demo;
    TSoundOptions sound;
    EXPECT_EQ(HandleCommandLine(static_cast<int>(argv.size()), argv.data(), "2.0.0", out, err, &demo, &sound), -1)
        << err.str();
    EXPECT_EQ(sound.Mute, c.Mute);
    EXPECT_EQ(sound.Volume, c.Volume);
    EXPECT_EQ(demo.Mode, c.Mode);
    EXPECT_EQ(out.str() + err.str(), "");
  }
  // A volume that is not a whole number 0..100, or none at all: one line, status 2.
  for (auto args : {std::vector<const char*>{"--volume", "150"}, {"--volume", "x"}, {"--volume", "-5"},
                    {"--volume", "50%"}, {"--volume", ""}, {"--volume", " 5"}, {"--mute", "--volume"},
                    {"--volume", "99999999999999999999"}}) {
    std::vector<const char*> argv{"tarnyx"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::ostringstream out, err;
    TDemoOptions demo;
    TSoundOptions sound;
    EXPECT_EQ(HandleCommandLine(static_cast<int>(argv.size()), argv.data(), "2.0.0", out, err, &demo, &sound), 2)
        << args.back();
    std::string said = err.str();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(said.rfind("tarnyx: --volume ", 0), 0u) << said;
    EXPECT_EQ(out.str(), "");
  }
  // The other options' rules hold beside them, and they are in the help.
  std::vector<const char*> argv{"tarnyx", "--mute", "--record"};
  std::ostringstream out, err;
  TSoundOptions sound;
  TDemoOptions demo;
  EXPECT_EQ(HandleCommandLine(3, argv.data(), "2.0.0", out, err, &demo, &sound), 2);
  TOutcome help = Invoke({"--help"});
  for (const char* mention : {"--mute", "--volume N", "M  ", "- and ="})
    EXPECT_NE(help.Out.find(mention), std::string::npos) << mention;
}

TEST(WindowIcon, TheEmbeddedIconIsTheSixtyFourPixelShip) {
  TRgbaPicture icon;
  ASSERT_TRUE(GameWindowIcon(icon));
  EXPECT_EQ(icon.Width, 64);
  EXPECT_EQ(icon.Height, 64);
  EXPECT_EQ(icon.Pixels[0] >> 24, 0u);         // transparent corner
  EXPECT_EQ(icon.Pixels[32 * 64 + 32] >> 24, 0xFFu);  // opaque ship
}
