// The settings file: faults give defaults with one message each; writing back keeps every line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/KeyNames.h"
#include "settings/SettingsFile.h"
#include "system/UserFolders.h"

namespace {

namespace fs = std::filesystem;

bool AllDefaults(const TSettings& s) {
  const TSettings d;
  for (int k = 0; k < SettingKeyCount; ++k)
    if (!s.SameValue(static_cast<TSettingKey>(k), d) || s.Source[k] != ssDefault) return false;
  return true;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

// Bytes with NULs in them, all of them.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

// A file with faults only: every setting keeps its default, and each fault says so once.
struct TFaultCase {
  const char* Name;
  std::string Text;
  std::size_t Messages;
  const char* FirstMessage;  // the start of the first message
};

void PrintTo(const TFaultCase& c, std::ostream* out) { *out << c.Name; }

class SettingsFaults : public ::testing::TestWithParam<TFaultCase> {};

TEST_P(SettingsFaults, GiveTheDefaultsWithOneMessagePerFault) {
  const TFaultCase& c = GetParam();
  TSettingsFile file = TSettingsFile::Parse(c.Text, "settings.ini");
  EXPECT_TRUE(AllDefaults(file.Settings()));
  EXPECT_EQ(file.Messages().size(), c.Messages) << Joined(file.Messages());
  if (!file.Messages().empty()) {
    EXPECT_EQ(file.Messages()[0].rfind(c.FirstMessage, 0), 0u) << file.Messages()[0];
  }
  for (const std::string& m : file.Messages()) {
    EXPECT_EQ(m.find('\n'), std::string::npos) << m;
    for (char ch : m) EXPECT_GE(static_cast<unsigned char>(ch), 0x20) << m;
  }
  EXPECT_FALSE(file.Changed());  // nothing is written until the player changes something
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, SettingsFaults,
    ::testing::Values(
        TFaultCase{"empty", "", 0, ""},
        TFaultCase{"comments", "# volume = 10\n; mute = yes\n\n   \t\n[tarnyx]\n", 0, ""},
        TFaultCase{"truncated value", "mute = ye", 1, "settings.ini:1: mute: "},
        TFaultCase{"truncated line", "# fine\nvolu", 1, "settings.ini:2: not a 'name = value'"},
        TFaultCase{"no equals sign", "volume 50\n", 1, "settings.ini:1: not a 'name = value'"},
        TFaultCase{"no name", " = 50\n", 1, "settings.ini:1: not a 'name = value'"},
        TFaultCase{"unknown setting", "volum = 50\n", 1, "settings.ini:1: unknown setting 'volum'"},
        TFaultCase{"out of range",
                   "volume = 101\nwindow_size = 100x100\njoystick = 0\nvolume = -1\n"
                   "joystick = 17\nwindow_size = 99999999999x768\n",
                   6, "settings.ini:1: volume: "},
        TFaultCase{"bad values",
                   "fullscreen = maybe\nwindow_size = 1024\nthrust = Up, Nope\nturn_left = ,\n"
                   "turn_right = A, B, C, D\nfine_control =\nvolume = 5 0\n",
                   7, "settings.ini:1: fullscreen: fullscreen is yes or no"},
        TFaultCase{"a key the keyboard does not read", "thrust = Pause\n", 1,
                   "settings.ini:1: thrust: the game's keyboard does not read Pause"},
        // The last counts: a bad last line gives the default although an earlier line was good.
        TFaultCase{"duplicated keys", "volume = 50\nvolume = loud\n", 2,
                   "settings.ini:1: volume is set more than once: line 2"},
        TFaultCase{"binary",
                   Bytes("\x7F"
                         "ELF\x02\x01\x01\x00\xFF\xFE"),
                   1, "settings.ini: is not UTF-8 text"},
        TFaultCase{"overlong UTF-8", "# \xC0\xAF\n", 1, "settings.ini: is not UTF-8"},
        TFaultCase{"surrogate in UTF-8", "# \xED\xA0\x80\n", 1, "settings.ini: is not UTF-8"},
        TFaultCase{"cut UTF-8", "# \xE2\x82", 1, "settings.ini: is not UTF-8"},
        TFaultCase{"huge", std::string(64 * 1024 + 1, '#'), 1,
                   "settings.ini: is larger than 64 KiB"},
        TFaultCase{"control characters",
                   Bytes("volume = 5\0"
                         "0\nmute\x01 = yes\n"),
                   2, "settings.ini:1: volume: "},
        TFaultCase{"a very long bad value", "volume = " + std::string(5000, '9') + "\n", 1,
                   "settings.ini:1: volume: "}));

TEST(SettingsFile, ReadsOddSpacingCaseCrLfAndAByteOrderMark) {
  std::string text =
      "\xEF\xBB\xBF# mine\r\n"
      "  Volume=35  \r\n"
      "\tMUTE\t=\tOn\r\n"
      "fullscreen = no\r\n"
      "window_size = 800 X 600\r\n"
      "joystick = FIRST\r\n"
      "thrust = keypad   8 , w,UP\r\n"
      "turn_left = none\r\n"
      "fine_control = left shift\r";  // a last line with a carriage return and no line feed
  TSettingsFile file = TSettingsFile::Parse(text, "s.ini");
  EXPECT_TRUE(file.Messages().empty()) << Joined(file.Messages());
  const TSettings& s = file.Settings();
  EXPECT_EQ(s.Volume, 35);
  EXPECT_TRUE(s.Mute);
  EXPECT_FALSE(s.FullScreen);
  EXPECT_EQ(s.WindowWidth, 800);
  EXPECT_EQ(s.WindowHeight, 600);
  EXPECT_EQ(s.Joystick.Kind, TJoystickChoice::jcFirst);
  EXPECT_EQ(s.Keys[0], (std::vector<std::uint8_t>{104, 'W', 38}));
  EXPECT_TRUE(s.Keys[1].empty());
  EXPECT_EQ(s.Keys[2], TSettings::DefaultKeys()[2]);
  EXPECT_EQ(s.Keys[3], (std::vector<std::uint8_t>{0xA0}));
  EXPECT_EQ(s.Source[skVolume], ssFile);
  EXPECT_EQ(s.Source[skTurnRight], ssDefault);
  // Unchanged, the text is the file's, byte for byte.
  EXPECT_EQ(file.Text(), text);
}

TEST(SettingsFile, TheLastOfDuplicatedKeysCounts) {
  TSettingsFile file = TSettingsFile::Parse("volume = 10\nmute = yes\nvolume = 20\n", "s");
  EXPECT_EQ(file.Settings().Volume, 20);
  ASSERT_EQ(file.Messages().size(), 1u);
  EXPECT_EQ(file.Messages()[0],
            "s:1: volume is set more than once: line 3 sets volume again, and counts");
}

TEST(SettingsFile, AChangeRewritesItsLineInPlaceAndKeepsEveryOtherLine) {
  const std::string text =
      "# my settings\n"
      "\n"
      "volume = 50   \n"
      "some_future_thing = 3\n"
      "; keys\n"
      "thrust = W\n";
  TSettingsFile file = TSettingsFile::Parse(text, "s");
  ASSERT_EQ(file.Messages().size(), 1u);  // the unknown line, said once
  TSettings v = file.Settings();
  v.Volume = 60;
  EXPECT_FALSE(file.Change(skThrust, v));  // the same keys: nothing to write
  EXPECT_FALSE(file.Changed());
  EXPECT_TRUE(file.Change(skVolume, v));
  v.Keys[0] = {'W', 38};
  v.Mute = true;
  EXPECT_TRUE(file.Change(skThrust, v));
  EXPECT_TRUE(file.Change(skMute, v));
  EXPECT_EQ(file.Text(),
            "# my settings\n"
            "\n"
            "volume = 60\n"
            "some_future_thing = 3\n"
            "; keys\n"
            "thrust = W, Up\n"
            "mute = yes\n");
}

TEST(SettingsFile, BadAndRepeatedLinesBecomeCommentsOnlyWhenTheFileIsWritten) {
  const std::string text =
      "volume = loud\r\n"
      "mute = yes\r\n"
      "fullscreen no\r\n"
      "mute = no";
  TSettingsFile file = TSettingsFile::Parse(text, "s");
  EXPECT_EQ(file.Messages().size(), 3u) << Joined(file.Messages());
  EXPECT_EQ(file.Text(), text);
  TSettings v = file.Settings();
  v.Volume = 90;
  v.WindowWidth = 1280;
  v.WindowHeight = 960;
  file.Change(skVolume, v);
  file.Change(skWindowSize, v);
  // The bad volume line stays, as a comment, with the new value right below it; a missing last
  // line end is supplied before the appended line; the file's CRLF line ends are kept.
  EXPECT_EQ(file.Text(),
            "# (not understood) volume = loud\r\n"
            "volume = 90\r\n"
            "# (set again below) mute = yes\r\n"
            "# (not understood) fullscreen no\r\n"
            "mute = no\r\n"
            "window_size = 1280x960\r\n");
  TSettingsFile again = TSettingsFile::Parse(file.Text(), "s");
  EXPECT_TRUE(again.Messages().empty()) << Joined(again.Messages());
  EXPECT_EQ(again.Settings().Volume, 90);
  EXPECT_FALSE(again.Settings().Mute);
  EXPECT_EQ(again.Settings().WindowWidth, 1280);
}

TEST(SettingsFile, AByteOrderMarkAndALastLineWithoutEndSurviveAppending) {
  TSettingsFile file = TSettingsFile::Parse("\xEF\xBB\xBFvolume = 10", "s");
  TSettings v = file.Settings();
  v.FullScreen = false;
  file.Change(skFullScreen, v);
  EXPECT_EQ(file.Text(), "\xEF\xBB\xBFvolume = 10\nfullscreen = no\n");
}

// A last line of carriage returns without a line feed: a line put after it must not take one of
// them as its line end and so change the line.
TEST(SettingsFile, ALastLineEndingInCarriageReturnsKeepsThemWhenALineFollows) {
  TSettingsFile file = TSettingsFile::Parse("thrust = Space\r2\r\r\r", "s");
  ASSERT_EQ(file.Lines().size(), 1u);
  EXPECT_EQ(file.Lines()[0].Text, "thrust = Space\r2\r\r");
  EXPECT_EQ(file.Lines()[0].End, "\r");
  TSettings v = file.Settings();
  v.Keys[0] = {'W'};
  v.Mute = true;
  file.Change(skThrust, v);
  file.Change(skMute, v);
  EXPECT_EQ(file.Text(), "# (not understood) thrust = Space\r2\r\r\r\nthrust = W\r\nmute = yes\n");
  TSettingsFile again = TSettingsFile::Parse(file.Text(), "s");
  EXPECT_EQ(again.Lines()[0].Text, "# (not understood) thrust = Space\r2\r\r");
}

TEST(SettingsFile, EveryValueWrittenReadsBackTheSame) {
  TSettingsFile file("new.ini");
  TSettings v;
  v.Volume = 0;
  v.Mute = true;
  v.FullScreen = false;
  v.WindowWidth = 16384;
  v.WindowHeight = 240;
  v.Joystick = {TJoystickChoice::jcNumber, 16};
  v.Keys = {{{'A', 'B', 'C'}, {}, {0xBA, 0xDE, 0x6A}, {0xA5}}};
  for (int k = 0; k < SettingKeyCount; ++k) file.Change(static_cast<TSettingKey>(k), v);
  std::string text = file.Text();
  EXPECT_EQ(text.rfind("# Tarnyx settings.", 0), 0u);  // a new file says what it is
  TSettingsFile again = TSettingsFile::Parse(text, "new.ini");
  EXPECT_TRUE(again.Messages().empty()) << Joined(again.Messages());
  for (int k = 0; k < SettingKeyCount; ++k)
    EXPECT_TRUE(again.Settings().SameValue(static_cast<TSettingKey>(k), v))
        << SettingName(TSettingKey(k));
  EXPECT_NE(text.find("turn_left = none\n"), std::string::npos);
  EXPECT_NE(text.find("turn_right = Semicolon, Apostrophe, Keypad *\n"), std::string::npos);
}

TEST(SettingsFile, AValueTheFileCouldNotReadBackIsNotTaken) {
  TSettingsFile file("s");
  TSettings v;
  v.Volume = 101;
  EXPECT_FALSE(file.Change(skVolume, v));
  v.WindowWidth = 100;
  EXPECT_FALSE(file.Change(skWindowSize, v));
  v.Keys[0] = {'W', 0x13};  // Pause, which the keyboard does not give the game
  EXPECT_FALSE(file.Change(skThrust, v));
  v.Keys[0] = {0xFF};  // no key at all
  EXPECT_FALSE(file.Change(skThrust, v));
  EXPECT_FALSE(file.Changed());
  EXPECT_TRUE(AllDefaults(file.Settings()));
}

TEST(SettingsValues, VolumeStepsStayOnTheGridAndInRange) {
  EXPECT_EQ(VolumeStepUp(80), 90);
  EXPECT_EQ(VolumeStepUp(95), 100);
  EXPECT_EQ(VolumeStepUp(100), 100);
  EXPECT_EQ(VolumeStepUp(75), 80);
  EXPECT_EQ(VolumeStepDown(80), 70);
  EXPECT_EQ(VolumeStepDown(75), 70);
  EXPECT_EQ(VolumeStepDown(5), 0);
  EXPECT_EQ(VolumeStepDown(0), 0);
}

class SettingsFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder of each test's own: ctest runs the tests side by side.
    dir = fs::path(::testing::TempDir()) /
          (std::string("tarnyx-settings-file-") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    path = (dir / "tarnyx" / "settings.ini").string();
  }
  void TearDown() override { fs::remove_all(dir); }
  static std::string Read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Put(const std::string& p, const std::string& text) {
    fs::create_directories(fs::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << text;
  }
  fs::path dir;
  std::string path;
};

TEST_F(SettingsFileOnDisk, AMissingFileIsMadeOnlyWhenSomethingChanges) {
  std::string error;
  std::string reason;
  TSettingsFile file = TSettingsFile::LoadFromFolder(
      XdgGameFolder(dir.c_str(), "/nowhere", ".config", "XDG_CONFIG_HOME", reason), reason);
  EXPECT_EQ(file.Path(), path);
  EXPECT_EQ(file.State(), TSettingsFile::fsMissing);
  EXPECT_TRUE(file.Messages().empty());
  EXPECT_TRUE(file.Save(error));
  EXPECT_FALSE(fs::exists(path));
  TSettings v = file.Settings();
  v.Volume = 40;
  file.Change(skVolume, v);
  ASSERT_TRUE(file.Save(error)) << error;
  TSettingsFile loaded = TSettingsFile::Load(path);
  EXPECT_EQ(loaded.State(), TSettingsFile::fsRead);
  EXPECT_EQ(loaded.Settings().Volume, 40);
  EXPECT_TRUE(loaded.Messages().empty());
  EXPECT_FALSE(file.Changed());  // saved: read anew from what was written
}

TEST_F(SettingsFileOnDisk, AFileThatIsNotUsedIsNeverWrittenOver) {
  const std::string latin1 = "# caf\xE9\nvolume = 10\n";
  Put(path, latin1);
  TSettingsFile file = TSettingsFile::Load(path);
  EXPECT_EQ(file.State(), TSettingsFile::fsRefused);
  ASSERT_EQ(file.Messages().size(), 1u);
  EXPECT_EQ(file.Messages()[0].rfind(path + ": is not UTF-8 text", 0), 0u) << file.Messages()[0];
  EXPECT_TRUE(AllDefaults(file.Settings()));
  TSettings v = file.Settings();
  v.Volume = 50;
  file.Change(skVolume, v);
  EXPECT_EQ(file.Settings().Volume, 50);  // kept for the run
  std::string error;
  EXPECT_FALSE(file.Save(error));
  EXPECT_NE(error.find("not saved"), std::string::npos) << error;
  EXPECT_EQ(Read(path), latin1);

  fs::remove(path);
  fs::create_directories(path);  // a folder where the file should be
  file = TSettingsFile::Load(path);
  ASSERT_EQ(file.Messages().size(), 1u);
  EXPECT_EQ(file.Messages()[0], path + ": is a folder, not a file; every setting has its default");
  file.Change(skVolume, v);
  EXPECT_FALSE(file.Save(error));
  EXPECT_TRUE(fs::is_directory(path));

  fs::remove(path);
  Put(path, std::string(MaxSettingsFileSize + 1, ';'));
  file = TSettingsFile::Load(path);
  ASSERT_EQ(file.Messages().size(), 1u);
  EXPECT_EQ(file.State(), TSettingsFile::fsRefused);
  file.Change(skVolume, v);
  EXPECT_FALSE(file.Save(error));
  EXPECT_EQ(fs::file_size(path), MaxSettingsFileSize + 1);
}

TEST_F(SettingsFileOnDisk, AFolderThatCannotBeWrittenGivesAReason) {
  Put((dir / "tarnyx").string(), "a file where the folder should be");
  TSettingsFile file = TSettingsFile::Load(path);
  // Reading through a file is a fault of its own, said once; the run goes on with the defaults.
  EXPECT_EQ(file.Messages().size(), 1u);
  TSettingsFile fresh(path);
  TSettings v;
  v.Mute = true;
  fresh.Change(skMute, v);
  std::string error;
  EXPECT_FALSE(fresh.Save(error));
  EXPECT_EQ(error.rfind(path + ": not saved: cannot make the folder", 0), 0u) << error;
  EXPECT_TRUE(fresh.Settings().Mute);
}

TEST_F(SettingsFileOnDisk, NoConfigurationFolderGivesTheDefaultsAndSaysWhy) {
  std::string reason;
  TSettingsFile file = TSettingsFile::LoadFromFolder(
      XdgGameFolder("relative", "", ".config", "XDG_CONFIG_HOME", reason), reason);
  EXPECT_EQ(file.State(), TSettingsFile::fsRefused);
  ASSERT_EQ(file.Messages().size(), 1u);
  EXPECT_NE(file.Messages()[0].find("neither XDG_CONFIG_HOME nor HOME"), std::string::npos);
  TSettings v;
  v.Volume = 10;
  file.Change(skVolume, v);
  std::string error;
  EXPECT_FALSE(file.Save(error));
}

}  // namespace
