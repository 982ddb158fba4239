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

TEST(CommandLine, SettingsOptionsStandAloneOrBesideTheOthers) {
  struct TCase {
    std::vector<const char*> Args;
    bool Mute;
    int Volume;  // -1: not given
    TDemoOptions::TMode Mode;
  };
  for (const TCase& c : {TCase{{"--mute"}, true, -1, TDemoOptions::dmNone},
                         TCase{{"--volume", "0"}, false, 0, TDemoOptions::dmNone},
                         TCase{{"--volume", "100", "--mute"}, true, 100, TDemoOptions::dmNone},
                         TCase{{"--volume", "35", "--playdemo", "a.tnxdemo"}, false, 35, TDemoOptions::dmPlay},
                         TCase{{"--record", "b.tnxdemo", "--mute"}, true, -1, TDemoOptions::dmRecord},
                         TCase{{"--volume=40", "--window"}, false, 40, TDemoOptions::dmNone},
                         TCase{{"--volume", "70", "--volume", "20"}, false, 20, TDemoOptions::dmNone}}) {
    std::vector<const char*> argv{"tarnyx"};
    argv.insert(argv.end(), c.Args.begin(), c.Args.end());
    std::ostringstream out, err;
    TDemoOptions demo;
    TSettingsOverlay settings;
    EXPECT_EQ(HandleCommandLine(static_cast<int>(argv.size()), argv.data(), "2.0.0", out, err, &demo, &settings), -1)
        << err.str();
    EXPECT_EQ(settings.Given[skMute], c.Mute);
    EXPECT_EQ(settings.Values.Mute, c.Mute);
    EXPECT_EQ(settings.Given[skVolume], c.Volume >= 0);
    if (c.Volume >= 0) {
      EXPECT_EQ(settings.Values.Volume, c.Volume);
    }
    EXPECT_EQ(demo.Mode, c.Mode);
    EXPECT_EQ(out.str() + err.str(), "");
  }
  // The window, the joystick and the report, beside a demo's options.
  {
    std::vector<const char*> argv{"tarnyx", "--joystick", "first", "--record", "c.tnxdemo", "--fullscreen", "--settings"};
    std::ostringstream out, err;
    TDemoOptions demo;
    TSettingsOverlay settings;
    EXPECT_EQ(HandleCommandLine(static_cast<int>(argv.size()), argv.data(), "2.0.0", out, err, &demo, &settings), -1);
    EXPECT_EQ(demo.File, "c.tnxdemo");
    EXPECT_TRUE(settings.Given[skJoystick] && settings.Given[skFullScreen] && settings.ShowSettings);
    EXPECT_EQ(settings.Values.Joystick.Kind, TJoystickChoice::jcFirst);
    EXPECT_TRUE(settings.Values.FullScreen);
  }
  // A missing or bad value: one line naming the option, status 2.
  for (auto args : {std::vector<const char*>{"--volume", "150"}, {"--volume", "x"}, {"--volume", "-5"},
                    {"--volume", "50%"}, {"--volume", ""}, {"--mute", "--volume"},
                    {"--volume", "99999999999999999999"}, {"--joystick", "17"}, {"--joystick"},
                    {"--window=yes"}}) {
    std::vector<const char*> argv{"tarnyx"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::ostringstream out, err;
    TDemoOptions demo;
    TSettingsOverlay settings;
    EXPECT_EQ(HandleCommandLine(static_cast<int>(argv.size()), argv.data(), "2.0.0", out, err, &demo, &settings), 2)
        << args.back();
    std::string said = err.str();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(said.rfind("tarnyx: --", 0), 0u) << said;
    EXPECT_EQ(out.str(), "");
  }
  // The other options' rules hold beside them, and they are in the help.
  std::vector<const char*> argv{"tarnyx", "--mute", "--record"};
  std::ostringstream out, err;
  TSettingsOverlay settings;
  TDemoOptions demo;
  EXPECT_EQ(HandleCommandLine(3, argv.data(), "2.0.0", out, err, &demo, &settings), 2);
  TOutcome help = Invoke({"--help"});
  for (const char* mention : {"--mute", "--volume N", "--fullscreen", "--window", "--joystick", "--settings", "M  ",
                              "- and ="})
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
