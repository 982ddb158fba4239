// The SDL backend: the keys it keeps for itself, a window on SDL's display-less video driver,
// and a clear failure where there is no display at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Png.h"
#include "platform/sdl/SdlBackend.h"

namespace {
constexpr int kA = 4, kReturn = 40, kF4 = 61, kF12 = 69, kPrintScreen = 70, kKpEnter = 88;

// Sets an environment variable for one test and puts the old value back.
class TEnv {
 public:
  TEnv(const char* name, const char* value) : Name(name) {
    if (const char* old = std::getenv(name)) {
      Had = true;
      Old = old;
    }
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~TEnv() {
    if (Had) {
      setenv(Name.c_str(), Old.c_str(), 1);
    } else {
      unsetenv(Name.c_str());
    }
  }

 private:
  std::string Name, Old;
  bool Had = false;
};
}  // namespace

TEST(SdlBackend, AltF4IsACloseAndItsReleaseIsKept) {
  TSdlBackend b;
  TBackendEvent e;
  ASSERT_TRUE(b.TranslateKey(kF4, true, true, false, e));
  EXPECT_EQ(e.Type, TBackendEvent::beClose);
  EXPECT_FALSE(b.TranslateKey(kF4, true, true, true, e));  // held: one close is enough
  EXPECT_FALSE(b.TranslateKey(kF4, false, true, false, e));
  // Without Alt, F4 is an ordinary key, released as one too.
  ASSERT_TRUE(b.TranslateKey(kF4, true, false, false, e));
  EXPECT_EQ(e.Type, TBackendEvent::beKeyDown);
  EXPECT_EQ(e.ScanCode, 0x3E);
  EXPECT_EQ(e.VirtualKey, 0x73);
  ASSERT_TRUE(b.TranslateKey(kF4, false, false, false, e));
  EXPECT_EQ(e.Type, TBackendEvent::beKeyUp);
  // A consumed press whose release went missing does not swallow the next press's release.
  ASSERT_TRUE(b.TranslateKey(kF4, true, true, false, e));
  ASSERT_TRUE(b.TranslateKey(kF4, true, false, false, e));
  ASSERT_TRUE(b.TranslateKey(kF4, false, false, false, e));
  EXPECT_EQ(e.Type, TBackendEvent::beKeyUp);
}

TEST(SdlBackend, AltEnterIsKeptWhateverEnter) {
  TSdlBackend b;
  TBackendEvent e;
  for (int enter : {kReturn, kKpEnter}) {
    EXPECT_FALSE(b.TranslateKey(enter, true, true, false, e));
    EXPECT_FALSE(b.TranslateKey(enter, false, false, false, e));  // Alt let go first
    ASSERT_TRUE(b.TranslateKey(enter, true, false, false, e));
    EXPECT_EQ(e.Type, TBackendEvent::beKeyDown);
    EXPECT_EQ(e.VirtualKey, 0x0D);
    ASSERT_TRUE(b.TranslateKey(enter, false, false, false, e));
  }
}

TEST(SdlBackend, OtherKeysCarryTheirCodesAndAlt) {
  TSdlBackend b;
  TBackendEvent e;
  ASSERT_TRUE(b.TranslateKey(kA, true, true, false, e));
  EXPECT_EQ(e.Type, TBackendEvent::beKeyDown);
  EXPECT_EQ(e.ScanCode, 0x1E);
  EXPECT_EQ(e.VirtualKey, 'A');
  EXPECT_TRUE(e.Alt);
  ASSERT_TRUE(b.TranslateKey(kA, true, false, true, e));  // repeats go on, as key presses do
  EXPECT_FALSE(e.Alt);
  ASSERT_TRUE(b.TranslateKey(9999, false, false, false, e));
  EXPECT_EQ(e.ScanCode, 0);
}

TEST(SdlBackend, WithoutADisplayTheWindowFailsWithAReason) {
  TEnv display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr);
  TEnv driver("SDL_VIDEODRIVER", nullptr);
  TSdlBackend b;
  std::string error;
  EXPECT_FALSE(b.CreateMainWindow("Tarnyx", 1024, 768, true, true, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(b.HasWindow());
  // Everything else stays harmless.
  TBackendEvent e;
  EXPECT_FALSE(b.PollEvent(e));
  EXPECT_FALSE(b.WaitEvent(e, 5));
  std::uint8_t keys[256];
  b.ScanCodeState(keys);
  EXPECT_EQ(keys[0xC8], 0);
  std::uint32_t palette[256] = {};
  std::vector<std::uint8_t> frame(16, 0);
  b.Present(frame.data(), 4, 4, 4, palette);
  EXPECT_EQ(b.JoystickCount(), 0);
}

TEST(SdlBackend, AWindowOnTheDummyDriverTakesFramesOfAnySize) {
  TEnv driver("SDL_VIDEODRIVER", "dummy");
  TSdlBackend b;
  std::string error;
  ASSERT_TRUE(b.CreateMainWindow("Tarnyx", 1024, 768, true, true, error)) << error;
  EXPECT_TRUE(b.HasWindow());

  std::uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = 0x00010203u * i;
  std::vector<std::uint8_t> frame(1030 * 768);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 7);
  b.Present(frame.data(), 1030, 1024, 768, palette);
  b.Present(frame.data(), 641, 640, 480, palette);  // another size makes another texture
  b.Present(frame.data(), 1024, 1024, 768, palette);
  b.Present(frame.data(), 10, 20, 4, palette);  // pitch shorter than a row: nothing
  b.Present(nullptr, 1024, 1024, 768, palette);

  TBackendEvent e;
  for (int i = 0; i < 100 && b.PollEvent(e); ++i) {
  }
  EXPECT_FALSE(b.WaitEvent(e, 2) && e.Type == TBackendEvent::beKeyDown);

  std::uint8_t keys[256], virtualKeys[256];
  b.ScanCodeState(keys);
  b.VirtualKeyState(virtualKeys);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(keys[i], 0);
    EXPECT_EQ(virtualKeys[i], 0);
  }

  std::vector<std::uint32_t> icon(32 * 32, 0xFF0000FFu);
  EXPECT_TRUE(b.SetWindowIcon(icon.data(), 32, 32));
  EXPECT_FALSE(b.SetWindowIcon(icon.data(), 0, 32));
  EXPECT_FALSE(b.SetWindowIcon(nullptr, 32, 32));

  TBackendJoystick joystick;
  EXPECT_FALSE(b.JoystickState(-1, joystick));
  EXPECT_FALSE(b.JoystickState(b.JoystickCount(), joystick));

  b.DestroyMainWindow();
  EXPECT_FALSE(b.HasWindow());
  EXPECT_TRUE(b.SetWindowIcon(icon.data(), 32, 32));  // kept for the next window
  ASSERT_TRUE(b.CreateMainWindow("Tarnyx", 640, 480, false, false, error)) << error;
  b.DestroyMainWindow();
  b.Present(frame.data(), 1024, 1024, 768, palette);  // no window: nothing
}

TEST(SdlBackend, ClocksCountAndTellTheTimeOfDay) {
  TSdlBackend b;
  std::uint32_t first = b.Milliseconds();
  EXPECT_GE(b.Milliseconds() - first, 0u);
  int h = -1, m = -1, s = -1, ms = -1;
  b.TimeOfDay(h, m, s, ms);
  EXPECT_TRUE(h >= 0 && h < 24 && m >= 0 && m < 60 && s >= 0 && s < 60 && ms >= 0 && ms < 1000);
}

TEST(SdlBackend, TheScreenshotKeysSaveTheShownFrameAndNeverReachTheGame) {
  namespace fs = std::filesystem;
  fs::path home = fs::path(::testing::TempDir()) / "tarnyx-screenshot-test";
  fs::remove_all(home);
  TEnv data("XDG_DATA_HOME", home.c_str());
  TEnv driver("SDL_VIDEODRIVER", "dummy");
  TSdlBackend b;
  std::string error, path;
  ASSERT_TRUE(b.CreateMainWindow("Tarnyx", 64, 48, true, false, error)) << error;
  TBackendEvent e;

  // Nothing shown yet: the key is still kept from the game, and nothing is written.
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(b.TranslateKey(kPrintScreen, true, false, false, e));
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("no screenshot"), std::string::npos);
  EXPECT_FALSE(b.TranslateKey(kPrintScreen, false, false, false, e));
  EXPECT_FALSE(b.SaveScreenshot(path, error));

  const int width = 64, height = 48, pitch = 70;
  std::uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = 0x00030507u * i;
  std::vector<std::uint8_t> frame(pitch * height);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 13);
  b.Present(frame.data(), pitch, width, height, palette);
  // A frame handed over and then changed: the picture is of what was shown.
  std::vector<std::uint8_t> shown = frame;
  std::fill(frame.begin(), frame.end(), 0);

  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(b.TranslateKey(kPrintScreen, true, false, false, e));
  EXPECT_FALSE(b.TranslateKey(kPrintScreen, true, false, true, e));  // held: one picture
  EXPECT_FALSE(b.TranslateKey(kPrintScreen, false, false, false, e));
  EXPECT_FALSE(b.TranslateKey(kF12, true, true, false, e));
  EXPECT_FALSE(b.TranslateKey(kF12, false, false, false, e));
  std::string printed = ::testing::internal::GetCapturedStdout();

  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(home / "tarnyx")) files.push_back(entry.path());
  ASSERT_EQ(files.size(), 2u) << printed;
  for (const fs::path& file : files) {
    EXPECT_NE(printed.find(file.string() + "\n"), std::string::npos) << printed;
    std::string name = file.filename().string();
    // tarnyx-YYYYMMDD-HHMMSS.png, or with -2 when the second picture came in the same second
    EXPECT_EQ(name.rfind("tarnyx-", 0), 0u) << name;
    EXPECT_TRUE(name.size() == 26 || (name.size() == 28 && name.substr(22, 2) == "-2")) << name;
    EXPECT_EQ(name.substr(name.size() - 4), ".png");

    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    TRgbaPicture picture;
    ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), picture, error)) << error;
    ASSERT_EQ(picture.Width, width);
    ASSERT_EQ(picture.Height, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        std::uint32_t rgb = palette[shown[y * pitch + x]];
        const auto* px = reinterpret_cast<const std::uint8_t*>(&picture.Pixels[y * width + x]);
        ASSERT_EQ(px[0], (rgb >> 16) & 0xFF);
        ASSERT_EQ(px[1], (rgb >> 8) & 0xFF);
        ASSERT_EQ(px[2], rgb & 0xFF);
      }
    }
  }

  // Other keys still reach the game.
  ASSERT_TRUE(b.TranslateKey(kA, true, false, false, e));
  EXPECT_FALSE(b.SaveScreenshot(path, error, "/nonexistent-folder"));
  EXPECT_FALSE(error.empty());
  b.DestroyMainWindow();
  fs::remove_all(home);
}
