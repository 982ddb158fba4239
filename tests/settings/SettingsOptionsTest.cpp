// The settings' command-line options, their overlay over the file, and the --settings report.
#include <gtest/gtest.h>

#include <vector>

#include "settings/SettingsFile.h"
#include "settings/SettingsOptions.h"
#include "system/UserFolders.h"

namespace {

// Reads every argument as a settings option; the error of the first that fails, or "".
std::string ReadAll(std::vector<const char*> args, TSettingsOverlay& overlay) {
  int argc = static_cast<int>(args.size());
  for (int i = 0; i < argc;) {
    std::string error;
    int taken = ReadSettingsOption(argc, args.data(), i, overlay, error);
    if (taken < 0) return error;
    if (taken == 0)
      return std::string("not a settings option: ") + args[static_cast<std::size_t>(i)];
    i += taken;
  }
  return "";
}

TEST(SettingsOptions, ReadTheirValuesAndTheLastWins) {
  TSettingsOverlay o;
  EXPECT_EQ(ReadAll({"--volume", "30", "--mute", "--window", "--joystick=first", "--fullscreen",
                     "--volume=40", "--settings"},
                    o),
            "");
  EXPECT_EQ(o.Values.Volume, 40);
  EXPECT_TRUE(o.Values.Mute);
  EXPECT_TRUE(o.Values.FullScreen);
  EXPECT_EQ(o.Values.Joystick.Kind, TJoystickChoice::jcFirst);
  EXPECT_TRUE(o.ShowSettings);
  EXPECT_TRUE(o.Given[skVolume] && o.Given[skMute] && o.Given[skFullScreen] && o.Given[skJoystick]);
  EXPECT_FALSE(o.Given[skWindowSize] || o.Given[skThrust]);
}

TEST(SettingsOptions, RefuseBadOrMissingValuesWithOneLine) {
  struct TCase {
    std::vector<const char*> Args;
    const char* Error;
  } cases[] = {
      {{"--volume"}, "--volume needs a value"},
      {{"--volume", "loud"}, "--volume: the volume is a number from 0 to 100, not 'loud'"},
      {{"--volume=101"}, "--volume: the volume is a number from 0 to 100, not '101'"},
      {{"--joystick", "0"},
       "--joystick: the joystick is stored, first or a number from 1 to 16, not '0'"},
      {{"--mute=yes"}, "--mute takes no value"},
      {{"--settings=x"}, "--settings takes no value"},
  };
  for (const TCase& c : cases) {
    TSettingsOverlay o;
    EXPECT_EQ(ReadAll(c.Args, o), c.Error);
    EXPECT_FALSE(o.Given[skVolume]);
  }
  TSettingsOverlay o;
  const char* other[] = {"--record", "x"};
  std::string error;
  EXPECT_EQ(ReadSettingsOption(2, other, 0, o, error), 0);  // not a settings option: left alone
  EXPECT_EQ(ReadSettingsOption(2, other, 2, o, error), 0);
}

TEST(SettingsOptions, OverlayTheFileAndTheReportSaysWhereEachValueCameFrom) {
  TSettingsFile file = TSettingsFile::Parse("volume = 20\nmute = yes\nthrust = W, Up\n",
                                            "/home/p/.config/tarnyx/settings.ini");
  TSettingsOverlay o;
  ASSERT_EQ(ReadAll({"--volume", "70", "--joystick", "3"}, o), "");
  TSettings effective = OverlaySettings(file.Settings(), o);
  EXPECT_EQ(effective.Volume, 70);
  EXPECT_TRUE(effective.Mute);
  EXPECT_EQ(file.Settings().Volume, 20);  // the file's own values are untouched: never saved
  EXPECT_EQ(SettingsReport(file, effective),
            "settings file: /home/p/.config/tarnyx/settings.ini\n"
            "volume = 70                      (command line)\n"
            "mute = yes                       (file)\n"
            "fullscreen = yes                 (default)\n"
            "window_size = 1024x768           (default)\n"
            "joystick = 3                     (command line)\n"
            "thrust = W, Up                   (file)\n"
            "turn_left = Left                 (default)\n"
            "turn_right = Right               (default)\n"
            "fine_control = Shift             (default)\n");
}

TEST(SettingsOptions, TheReportSaysWhenTheFileIsMissingOrNotUsed) {
  TSettingsFile missing("/cfg/tarnyx/settings.ini");
  EXPECT_EQ(SettingsReport(missing, missing.Settings()).substr(0, 58),
            "settings file: /cfg/tarnyx/settings.ini (not there yet)\nvo");
  TSettingsFile refused = TSettingsFile::Parse("\xFF", "/cfg/tarnyx/settings.ini");
  std::string report = SettingsReport(refused, refused.Settings());
  EXPECT_EQ(report.substr(0, report.find('\n')),
            "settings file: /cfg/tarnyx/settings.ini (not used: it is not UTF-8 text)");
  std::string reason;
  TSettingsFile none = TSettingsFile::LoadFromFolder(
      XdgGameFolder(nullptr, nullptr, ".config", "XDG_CONFIG_HOME", reason), reason);
  report = SettingsReport(none, none.Settings());
  EXPECT_EQ(report.substr(0, report.find('\n')),
            "settings file: none (neither XDG_CONFIG_HOME nor HOME names a folder)");
}

}  // namespace
