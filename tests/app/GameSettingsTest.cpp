// The settings in a running game: the command line over the file, what the player changes
// written back (and only that), a file that cannot be written said once, the joystick hint.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/GameSettings.h"
#include "settings/KeyNames.h"
#include "sound/GameSound.h"

namespace {

namespace fs = std::filesystem;

// A folder of the test's own (ctest runs the tests side by side), removed afterwards.
class GameSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    Folder = fs::temp_directory_path() /
             ("tarnyx-gamesettings-" + std::string(info->name()) + "-" +
              std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::remove_all(Folder);
    fs::create_directories(Folder);
    Path = (Folder / "settings.ini").string();
  }
  void TearDown() override { fs::remove_all(Folder); }
  void Write(const std::string& text) { std::ofstream(Path, std::ios::binary) << text; }
  std::string Read() const {
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  TGameSettings Make(const TSettingsOverlay& overlay = {}) {
    return TGameSettings(TSettingsFile::Load(Path), overlay,
                         [this](const std::string& line) { Said.push_back(line); });
  }

  fs::path Folder;
  std::string Path;
  std::vector<std::string> Said;
};

TEST_F(GameSettingsTest, ThePlayersChangeIsWrittenAndTheCommandLinesIsNot) {
  Write("# my own comment\r\nvolume = 50\r\nfuture_setting = 7\r\nmute = no\r\n");
  TSettingsOverlay overlay;
  overlay.Values.Volume = 20;
  overlay.Given[skVolume] = true;
  overlay.Values.FullScreen = false;
  overlay.Given[skFullScreen] = true;
  TGameSettings settings = Make(overlay);
  EXPECT_EQ(settings.Effective().Volume, 20);
  EXPECT_EQ(settings.Effective().Source[skVolume], ssCommandLine);
  EXPECT_FALSE(settings.Effective().FullScreen);

  // Mute pressed: only mute is written; the command line's volume and window stay out.
  TGameSound sound;
  settings.ApplyToSound(sound);
  EXPECT_EQ(sound.Volume(), 20);
  sound.SetMuted(true);
  settings.SoundChanged(sound);
  EXPECT_EQ(Read(), "# my own comment\r\nvolume = 50\r\nfuture_setting = 7\r\nmute = yes\r\n");
  // Then a volume key: the new volume is the player's and is written in its line.
  sound.StepVolume(1);
  settings.SoundChanged(sound);
  EXPECT_EQ(Read(), "# my own comment\r\nvolume = 30\r\nfuture_setting = 7\r\nmute = yes\r\n");
  EXPECT_EQ(settings.Effective().Source[skVolume], ssFile);
  EXPECT_TRUE(Said.empty());

  // The next run finds them.
  TGameSettings next = Make();
  EXPECT_EQ(next.Effective().Volume, 30);
  EXPECT_TRUE(next.Effective().Mute);
  EXPECT_TRUE(next.Effective().FullScreen);
}

TEST_F(GameSettingsTest, TheWindowIsWrittenAsThePlayerLeftIt) {
  int changes = 0;
  TGameSettings settings = Make();
  settings.OnChanged = [&changes] { ++changes; };
  settings.WindowChanged(false, 800, 600);
  EXPECT_EQ(changes, 2);
  settings.WindowChanged(false, 800, 600);  // the same again: nothing to write
  EXPECT_EQ(changes, 2);
  settings.WindowChanged(false, 100, 50);  // too small for the file: full screen only
  EXPECT_EQ(changes, 2);
  TGameSettings next = Make();
  EXPECT_FALSE(next.Effective().FullScreen);
  EXPECT_EQ(next.Effective().WindowWidth, 800);
  EXPECT_EQ(next.Effective().WindowHeight, 600);
  EXPECT_NE(Read().find("window_size = 800x600"), std::string::npos) << Read();
}

TEST_F(GameSettingsTest, ABadLineIsKeptAsACommentOnceThePlayerChangesSomething) {
  Write("volume = loud\nmute = perhaps\n");
  TGameSettings settings = Make();
  settings.SayFaults();
  settings.SayFaults();  // once only
  ASSERT_EQ(Said.size(), 2u);
  EXPECT_EQ(Said[0].rfind(Path + ":1: volume:", 0), 0u) << Said[0];
  EXPECT_EQ(Read(), "volume = loud\nmute = perhaps\n");  // untouched until a change
  TSettings values = settings.Effective();
  values.Volume = 60;
  EXPECT_TRUE(settings.PlayerChanged(skVolume, values));
  const std::string text = Read();
  EXPECT_NE(text.find("# (not understood) volume = loud"), std::string::npos) << text;
  EXPECT_NE(text.find("# (not understood) mute = perhaps"), std::string::npos) << text;
  EXPECT_NE(text.find("volume = 60"), std::string::npos) << text;
}

TEST_F(GameSettingsTest, AFolderThatCannotBeWrittenIsSaidOnceAndTheRunKeepsTheValue) {
  // A file where the folder should be: no one, root neither, can write there.
  Path = (Folder / "file" / "settings.ini").string();
  std::ofstream(Folder / "file") << "x";
  TGameSettings settings = Make();
  TSettings values = settings.Effective();
  values.Mute = true;
  EXPECT_TRUE(settings.PlayerChanged(skMute, values));
  values.Volume = 10;
  EXPECT_TRUE(settings.PlayerChanged(skVolume, values));
  ASSERT_EQ(Said.size(), 1u);
  EXPECT_NE(Said[0].find("not saved"), std::string::npos) << Said[0];
  EXPECT_NE(Said[0].find("kept for this run"), std::string::npos) << Said[0];
  EXPECT_TRUE(settings.Effective().Mute);
  EXPECT_EQ(settings.Effective().Volume, 10);
}

TEST_F(GameSettingsTest, ARefusedFileIsNeverWrittenOver) {
  const std::string binary("volume = 30\n\xff\xfe\x00\x01", 16);
  Write(binary);
  TGameSettings settings = Make();
  settings.SayFaults();
  ASSERT_EQ(Said.size(), 1u);
  EXPECT_EQ(settings.Effective().Volume, TSettings::DefaultVolume);
  TSettings values = settings.Effective();
  values.Volume = 90;
  settings.PlayerChanged(skVolume, values);
  EXPECT_EQ(settings.Effective().Volume, 90);
  EXPECT_EQ(Read(), binary);
  EXPECT_EQ(Said.size(), 2u);
}

TEST_F(GameSettingsTest, KeysOfThePanelAndTheDefaultsRestored) {
  Write("; keep me\nthrust = W\njoystick = 2\n");
  TGameSettings settings = Make();
  std::vector<std::uint8_t> space{static_cast<std::uint8_t>(KeyCodeOf("Space"))};
  EXPECT_TRUE(settings.KeysChanged(3, space));
  EXPECT_EQ(SettingValueText(settings.Effective(), skFineControl), "Space");
  EXPECT_FALSE(settings.KeysChanged(0, {0xFF}));            // no key has that code
  EXPECT_FALSE(settings.KeysChanged(0, {65, 66, 67, 68}));  // four are too many
  EXPECT_FALSE(settings.KeysChanged(4, space));             // no such action
  EXPECT_EQ(SettingValueText(settings.Effective(), skThrust), "W");

  // Another place for the text (the page's storage) instead of the file.
  std::string stored;
  settings.Writer = [&stored](const std::string& text, std::string&) {
    stored = text;
    return true;
  };
  settings.RestoreDefaults();
  const TSettings defaults;
  for (int k = 0; k < SettingKeyCount; ++k)
    EXPECT_TRUE(settings.Effective().SameValue(static_cast<TSettingKey>(k), defaults)) << k;
  EXPECT_EQ(stored.rfind("; keep me\n", 0), 0u) << stored;
  EXPECT_NE(stored.find("thrust = Up"), std::string::npos) << stored;
  EXPECT_NE(stored.find("joystick = stored"), std::string::npos) << stored;
  EXPECT_EQ(Read(), "; keep me\nthrust = W\njoystick = 2\nfine_control = Space\n");
}

TEST(JoystickHint, OnceAndOnlyForAJoystickTheGameDoesNotRead) {
  TGameSettings settings(TSettingsFile(""), {}, nullptr);
  EXPECT_FALSE(settings.JoystickHintDue(0, 1));   // none attached
  EXPECT_FALSE(settings.JoystickHintDue(2, 1));   // the one read is there
  EXPECT_FALSE(settings.JoystickHintDue(1, -1));  // the game reads none
  EXPECT_TRUE(settings.JoystickHintDue(1, 1));    // one attached, the second read
  EXPECT_FALSE(settings.JoystickHintDue(1, 1));   // said once
  const std::string hint = JoystickHintText(1, 1, "/home/p/.config/tarnyx/settings.ini");
  EXPECT_NE(hint.find("joystick = first"), std::string::npos) << hint;
  EXPECT_NE(hint.find("--joystick first"), std::string::npos) << hint;
  EXPECT_NE(hint.find("/home/p/.config/tarnyx/settings.ini"), std::string::npos) << hint;
}

}  // namespace
