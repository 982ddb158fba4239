// The program's own keys over the headless back end: what they ask of the back end, that the game
// never sees them or their releases, and that a held key acts once.
#include "shell/AppKeys.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/ShellFixture.h"

namespace {

constexpr int kEnter = 0x1C, kKeypadEnter = 0x9C, kF4 = 0x3E, kF12 = 0x58, kPrintScreen = 0xB7,
              kA = 0x1E, kM = 0x32, kMinus = 0x0C, kEquals = 0x0D, kKeypadMinus = 0x4A, kKeypadPlus = 0x4E;
// The sound keys' virtual-key codes, as the back ends give them.
constexpr int VkMinus = 0xBD, VkPlus = 0xBB, VkSubtract = 0x6D, VkAdd = 0x6B;

class AppKeysTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    form = new TForm(Application);
    form->BorderStyle = bsNone;
    form->SetClientWidth(64);
    form->SetClientHeight(48);
    Application->MainForm = form;
    form->WindowProc = [this, previous = form->WindowProc](TMessage& m) {
      if (m.Msg >= WM_KEYDOWN && m.Msg <= WM_SYSKEYUP) seen.emplace_back(m.Msg, m.WParam);
      previous(m);
    };
    Application->BeginRun();
    Application->ProcessMessages();
  }

  // Presses (and, unless held, releases) one key and lets the loop handle it.
  void Key(int scanCode, int virtualKey, bool down, bool alt = false, bool repeat = false) {
    backend.PushKey(scanCode, virtualKey, down, alt, repeat);
    Application->ProcessMessages();
  }

  void ShowAFrame() {
    std::vector<std::uint8_t> frame(64 * 48, 5);
    std::uint32_t palette[256] = {};
    palette[5] = 0x00336699;
    backend.Present(frame.data(), 64, 64, 48, palette);
  }

  TForm* form = nullptr;
  std::vector<std::pair<UINT, WPARAM>> seen;  // the key messages the main form got
};

TEST_F(AppKeysTest, AltEnterSwitchesFullScreenOncePerPressWhicheverEnter) {
  for (int enter : {kEnter, kKeypadEnter}) {
    Key(enter, VK_RETURN, true, true);
    Key(enter, VK_RETURN, true, true, true);  // held: no second switch
    EXPECT_TRUE(backend.FullScreen);
    Key(enter, VK_RETURN, false);  // Alt let go first: the release is kept all the same
    Key(enter, VK_RETURN, true, true);
    Key(enter, VK_RETURN, false, true);
    EXPECT_FALSE(backend.FullScreen);
  }
  EXPECT_TRUE(seen.empty());
  // Enter alone is the game's.
  Key(kEnter, VK_RETURN, true);
  Key(kEnter, VK_RETURN, false);
  EXPECT_EQ(seen,
            (std::vector<std::pair<UINT, WPARAM>>{{WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}}));
  EXPECT_FALSE(backend.FullScreen);
}

TEST_F(AppKeysTest, AltF4ClosesTheMainWindowWhereTheBackEndAllowsIt) {
  backend.QuitKeyAllowed = false;
  Key(kF4, VK_F4, true, true);
  Key(kF4, VK_F4, false, true);
  EXPECT_FALSE(Application->Terminated());
  EXPECT_TRUE(seen.empty()) << "kept from the game even where it does nothing";

  // A kept press whose release went missing does not swallow the next press's release.
  Key(kF4, VK_F4, true, true);
  Key(kF4, VK_F4, true);
  Key(kF4, VK_F4, false);
  EXPECT_EQ(seen, (std::vector<std::pair<UINT, WPARAM>>{{WM_KEYDOWN, VK_F4}, {WM_KEYUP, VK_F4}}));

  backend.QuitKeyAllowed = true;
  Key(kF4, VK_F4, true, true);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(seen.size(), 2u);
}

TEST_F(AppKeysTest, ScreenshotKeysSaveTheShownFrameOncePerPress) {
  namespace fs = std::filesystem;
  fs::path folder = fs::path(::testing::TempDir()) / "tarnyx-appkeys-test";
  fs::remove_all(folder);
  backend.ScreenshotFolder = folder.string();

  // Nothing shown yet: no picture, one line saying why, the key still kept from the game.
  ::testing::internal::CaptureStderr();
  Key(kPrintScreen, VK_SNAPSHOT, true);
  Key(kPrintScreen, VK_SNAPSHOT, false);
  Key(kF12, VK_F12, true);
  Key(kF12, VK_F12, false);
  std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "tarnyx: no screenshot: no frame has been shown yet\n");
  EXPECT_TRUE(backend.Screenshots.empty());

  ShowAFrame();
  ::testing::internal::CaptureStdout();
  Key(kPrintScreen, VK_SNAPSHOT, true);
  Key(kPrintScreen, VK_SNAPSHOT, true, false, true);  // held: one picture
  Key(kPrintScreen, VK_SNAPSHOT, false);
  Key(kF12, VK_F12, true, true);  // with Alt too
  Key(kF12, VK_F12, false, true);
  std::string printed = ::testing::internal::GetCapturedStdout();
  ASSERT_EQ(backend.Screenshots.size(), 2u);
  EXPECT_EQ(printed, backend.Screenshots[0] + "\n" + backend.Screenshots[1] + "\n");
  for (const std::string& file : backend.Screenshots) EXPECT_TRUE(fs::exists(file)) << file;
  EXPECT_TRUE(seen.empty());

  // A key of the game's still reaches it.
  Key(kA, 'A', true);
  EXPECT_EQ(seen, (std::vector<std::pair<UINT, WPARAM>>{{WM_KEYDOWN, 'A'}}));
  fs::remove_all(folder);
}

TEST_F(AppKeysTest, SoundKeysGoToTheSoundOncePerPressAndNeverToTheGame) {
  std::vector<TAppKeys::TSoundKey> asked;
  Application->AppKeys().OnSoundKey = [&asked](TAppKeys::TSoundKey key) { asked.push_back(key); };
  Key(kM, 'M', true);
  Key(kM, 'M', true, false, true);  // held: once
  Key(kM, 'M', false);
  Key(kMinus, VkMinus, true);
  Key(kMinus, VkMinus, false);
  Key(kKeypadMinus, VkSubtract, true);
  Key(kKeypadMinus, VkSubtract, false);
  Key(kEquals, VkPlus, true);
  Key(kEquals, VkPlus, false);
  Key(kKeypadPlus, VkAdd, true);
  Key(kKeypadPlus, VkAdd, false);
  EXPECT_EQ(asked, (std::vector<TAppKeys::TSoundKey>{TAppKeys::skMute, TAppKeys::skVolumeDown, TAppKeys::skVolumeDown,
                                                     TAppKeys::skVolumeUp, TAppKeys::skVolumeUp}));
  EXPECT_TRUE(seen.empty());

  // With Alt held the key is not the sound's; nor in a program without sound.
  Key(kM, 'M', true, true);
  Key(kM, 'M', false, true);
  Application->AppKeys().OnSoundKey = nullptr;
  Key(kMinus, VkMinus, true);
  EXPECT_EQ(asked.size(), 5u);
  EXPECT_EQ(seen, (std::vector<std::pair<UINT, WPARAM>>{{WM_SYSKEYDOWN, WPARAM('M')},
                                                       {WM_SYSKEYUP, WPARAM('M')},
                                                       {WM_KEYDOWN, WPARAM(VkMinus)}}));
}

}  // namespace
