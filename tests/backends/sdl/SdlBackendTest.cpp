// The SDL backend: the keys it reports, a window on SDL's display-less video driver, screenshots,
// and a clear failure where there is no display at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "backends/sdl/SdlBackend.h"
#include "backends/sdl/SdlInputMap.h"
#include "media/Png.h"
#include "tests/backends/sdl/TestEnv.h"

namespace {
constexpr int kF4 = 61, kPrintScreen = 70, kKpEnter = 88;

}  // namespace

TEST(SdlBackend, EveryKeyIsReportedWithItsCodesAltAndRepeat) {
  // The program's own keys too: what they do is decided above the back end.
  TBackendEvent e = KeyEventFromSdl(kF4, true, true, false);
  EXPECT_EQ(e.Type, TBackendEvent::beKeyDown);
  EXPECT_EQ(e.ScanCode, 0x3E);
  EXPECT_EQ(e.VirtualKey, 0x73);
  EXPECT_TRUE(e.Alt);
  EXPECT_FALSE(e.Repeat);
  e = KeyEventFromSdl(kPrintScreen, true, false, true);
  EXPECT_EQ(e.ScanCode, 0xB7);
  EXPECT_EQ(e.VirtualKey, 0x2C);
  EXPECT_TRUE(e.Repeat);
  e = KeyEventFromSdl(kKpEnter, false, false, true);  // a release is never a repeat
  EXPECT_EQ(e.Type, TBackendEvent::beKeyUp);
  EXPECT_EQ(e.ScanCode, 0x9C);
  EXPECT_FALSE(e.Repeat);
  EXPECT_EQ(KeyEventFromSdl(9999, false, false, false).ScanCode, 0);
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

// The player's window: asked for full screen, the game opens the window the player chose, and
// each switch of Alt+Enter is told with the window's size, so that it can be kept.
TEST(SdlBackend, ThePlayersWindowIsOpenedAndEverySwitchIsTold) {
  TEnv driver("SDL_VIDEODRIVER", "dummy");
  TSdlBackend b;
  std::vector<std::string> told;
  b.OnPlayerWindow = [&told](bool fullScreen, int width, int height) {
    told.push_back((fullScreen ? "full " : "window ") + std::to_string(width) + "x" +
                   std::to_string(height));
  };
  b.SetPlayerWindow(false, 800, 600);
  std::string error;
  ASSERT_TRUE(b.CreateMainWindow("Tarnyx", 1024, 768, true, true, error)) << error;
  EXPECT_FALSE(b.IsFullScreen());
  b.ToggleFullScreen();
  EXPECT_TRUE(b.IsFullScreen());
  b.ToggleFullScreen();
  EXPECT_FALSE(b.IsFullScreen());
  EXPECT_EQ(told, (std::vector<std::string>{"full 800x600", "window 800x600"}));
  b.DestroyMainWindow();

  // Without the player's choice the program's request stands, as it always did.
  TSdlBackend plain;
  ASSERT_TRUE(plain.CreateMainWindow("Tarnyx", 1024, 768, true, true, error)) << error;
  EXPECT_TRUE(plain.IsFullScreen());
}

TEST(SdlBackend, ClocksCountAndTellTheTimeOfDay) {
  TSdlBackend b;
  std::uint32_t first = b.Milliseconds();
  EXPECT_GE(b.Milliseconds() - first, 0u);
  int h = -1, m = -1, s = -1, ms = -1;
  b.TimeOfDay(h, m, s, ms);
  EXPECT_TRUE(h >= 0 && h < 24 && m >= 0 && m < 60 && s >= 0 && s < 60 && ms >= 0 && ms < 1000);
}

TEST(SdlBackend, AScreenshotIsOfTheShownFrameInThePlayersFolder) {
  namespace fs = std::filesystem;
  fs::path home = fs::path(::testing::TempDir()) / "tarnyx-screenshot-test";
  fs::remove_all(home);
  TEnv data("XDG_DATA_HOME", home.c_str());
  TEnv driver("SDL_VIDEODRIVER", "dummy");
  TSdlBackend b;
  std::string error, path;
  ASSERT_TRUE(b.CreateMainWindow("Tarnyx", 64, 48, true, false, error)) << error;
  EXPECT_FALSE(b.SaveScreenshot(path, error)) << "nothing shown yet";
  EXPECT_EQ(error, "no frame has been shown yet");

  const int width = 64, height = 48, pitch = 70;
  std::uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = 0x00030507u * i;
  std::vector<std::uint8_t> frame(pitch * height);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 13);
  b.Present(frame.data(), pitch, width, height, palette);
  // A frame handed over and then changed: the picture is of what was shown.
  std::vector<std::uint8_t> shown = frame;
  std::fill(frame.begin(), frame.end(), 0);

  ASSERT_TRUE(b.SaveScreenshot(path, error)) << error;
  EXPECT_EQ(fs::path(path).parent_path(), home / "tarnyx");
  std::ifstream in(path, std::ios::binary);
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

  // No usable folder: said, nothing written anywhere.
  TEnv relative("XDG_DATA_HOME", "relative"), noHome("HOME", "");
  EXPECT_FALSE(b.SaveScreenshot(path, error));
  EXPECT_NE(error.find("HOME"), std::string::npos) << error;
  b.DestroyMainWindow();
  fs::remove_all(home);
}
