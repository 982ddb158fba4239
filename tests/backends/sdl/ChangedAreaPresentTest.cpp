// The SDL back end presents only what changed: after every frame of random sequences and of the
// committed demos, the window holds exactly the whole frame converted through its palette, on the
// window surface route and on the renderer's texture route (SDL's software renderer).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "backends/headless/HeadlessBackend.h"
#include "backends/sdl/PresentLayout.h"
#include "backends/sdl/SdlBackend.h"
#include "demo/DemoPlayer.h"
#include "demo/DemoReader.h"
#include "framework/PlatformProc.h"
#include "game/Main.h"
#include "media/PaletteConvert.h"
#include "media/Png.h"
#include "shell/Application.h"
#include "tests/backends/sdl/TestEnv.h"

namespace {

// A route by the renderer asked for: none gives the window surface.
struct TRoute {
  const char* Name;
  const char* RenderDriver;
};
const TRoute kSurface{"Surface", nullptr}, kTexture{"Texture", "software"};
void PrintTo(const TRoute& route, std::ostream* os) { *os << route.Name; }

// A window on SDL's display-less driver, on the given route.
class TWindow {
 public:
  TWindow(const TRoute& route, int width, int height)
      : FDriver("SDL_VIDEODRIVER", "dummy"), FRenderer("SDL_RENDER_DRIVER", route.RenderDriver) {
    std::string error;
    Made = Backend.CreateMainWindow("Tarnyx", width, height, true, false, error);
    EXPECT_TRUE(Made) << error;
  }
  ~TWindow() { Backend.DestroyMainWindow(); }

  // Whether the window holds the frame converted whole (the plain loop), each frame pixel a
  // square of the largest whole multiple that fits, centred on black; or, in a window smaller than
  // the frame, shrunk by nearest neighbour into the largest 4:3 rectangle.
  testing::AssertionResult HoldsFrame(const std::uint8_t* pixels, int pitch, int width, int height,
                                      const std::uint32_t palette[256]) {
    int windowWidth = 0, windowHeight = 0;
    if (!Backend.ReadWindowPixels(FShown, windowWidth, windowHeight))
      return testing::AssertionFailure() << "the window cannot be read";
    FConverted.resize(static_cast<std::size_t>(width) * height);
    ConvertPalettedFrameReference(pixels, pitch, FConverted.data(), width * 4, width, height,
                                  palette);
    const TPresentLayout layout = ComputePresentLayout(width, height, windowWidth, windowHeight);
    int left = layout.X, top = layout.Y, targetWidth = layout.Width, targetHeight = layout.Height;
    if (targetWidth >= width && targetHeight >= height) {
      targetWidth = layout.Multiple * width;
      targetHeight = layout.Multiple * height;
      left = (windowWidth - targetWidth) / 2;
      top = (windowHeight - targetHeight) / 2;
    }
    for (int y = 0; y < windowHeight; ++y) {
      const std::uint32_t* got = FShown.data() + static_cast<std::size_t>(y) * windowWidth;
      const int fy = y - top;
      const bool rowInside = fy >= 0 && fy < targetHeight;
      const std::uint32_t* want =
          rowInside ? FConverted.data() + static_cast<std::size_t>(static_cast<long long>(fy) *
                                                                   height / targetHeight) *
                                              width
                    : nullptr;
      // At the frame's own size a row is compared at once; a difference is then looked for.
      if (rowInside && targetWidth == width && windowWidth == width &&
          std::equal(got, got + width, want,
                     [](std::uint32_t a, std::uint32_t b) { return a == (b & 0xFFFFFFu); }))
        continue;
      for (int x = 0; x < windowWidth; ++x) {
        const int fx = x - left;
        const bool inside = rowInside && fx >= 0 && fx < targetWidth;
        const std::uint32_t expected =
            inside ? want[static_cast<long long>(fx) * width / targetWidth] & 0xFFFFFFu : 0;
        if (got[x] != expected)
          return testing::AssertionFailure() << "window pixel " << x << "," << y << " is "
                                             << std::hex << got[x] << ", not " << expected;
      }
    }
    return testing::AssertionSuccess();
  }

  TSdlBackend Backend;
  bool Made = false;

 private:
  TEnv FDriver, FRenderer;
  std::vector<std::uint32_t> FShown, FConverted;
};

struct TRandomCase {
  TRoute Route;
  int FrameWidth, FrameHeight, Pitch;
  int WindowWidth = 1024, WindowHeight = 768;
};

void PrintTo(const TRandomCase& c, std::ostream* os) {
  *os << c.Route.Name << " " << c.FrameWidth << "x" << c.FrameHeight << " pitch " << c.Pitch
      << " in " << c.WindowWidth << "x" << c.WindowHeight;
}

class RandomFrames : public testing::TestWithParam<TRandomCase> {};

// Frames that change as the game's do (a few stars, a ship, a band of rows), not at all, or
// wholly, with palette changes and wholes asked for between them.
TEST_P(RandomFrames, TheWindowHoldsEveryFrameWhole) {
  const TRandomCase c = GetParam();
  TWindow window(c.Route, c.WindowWidth, c.WindowHeight);
  ASSERT_TRUE(window.Made);
  std::mt19937 random(17);
  std::uint32_t palette[256];
  for (auto& p : palette) p = random() & 0x00FFFFFFu;
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(c.Pitch) * c.FrameHeight, 0);
  auto at = [&](int x, int y) -> std::uint8_t& {
    return frame[static_cast<std::size_t>(y) * c.Pitch + x];
  };
  for (int step = 0; step < 80; ++step) {
    switch (step % 8) {
      case 0:  // nothing
        break;
      case 1:  // stars
      case 5:
        for (int k = 0; k < 40; ++k)
          at(int(random() % c.FrameWidth), int(random() % c.FrameHeight)) = std::uint8_t(random());
        break;
      case 2: {  // a ship somewhere, the frame's edges included
        const int x0 = int(random() % c.FrameWidth), y0 = int(random() % c.FrameHeight);
        for (int y = y0; y < std::min(y0 + 40, c.FrameHeight); ++y)
          for (int x = x0; x < std::min(x0 + 37, c.FrameWidth); ++x)
            at(x, y) = std::uint8_t(random());
        break;
      }
      case 3:  // a band of whole rows
        for (int y = c.FrameHeight / 3; y < c.FrameHeight / 2; ++y)
          for (int x = 0; x < c.FrameWidth; ++x) at(x, y) = std::uint8_t(x + y + step);
        break;
      case 4:  // a new palette entry, and a star
        palette[random() % 256] = random() & 0x00FFFFFFu;
        at(c.FrameWidth - 1, c.FrameHeight - 1) ^= 0x11;
        break;
      case 6:  // all of it
        for (auto& b : frame) b = std::uint8_t(random());
        break;
      case 7:  // as after an expose, with a change
        window.Backend.PresentWholeNext();
        at(0, 0) ^= 1;
        break;
    }
    window.Backend.Present(frame.data(), c.Pitch, c.FrameWidth, c.FrameHeight, palette);
    ASSERT_TRUE(window.HoldsFrame(frame.data(), c.Pitch, c.FrameWidth, c.FrameHeight, palette))
        << "step " << step;
  }

  // The screenshot is of the last frame, kept by changes as it was presented.
  namespace fs = std::filesystem;
  // A folder of this case's own: the cases may run at once, in processes of their own.
  const fs::path home = fs::path(testing::TempDir()) /
                        ("tarnyx-changed-area-" + std::string(c.Route.Name) + "-" +
                         std::to_string(c.FrameWidth) + "x" + std::to_string(c.FrameHeight) + "-" +
                         std::to_string(c.Pitch) + "-" + std::to_string(c.WindowWidth));
  fs::remove_all(home);
  TEnv data("XDG_DATA_HOME", home.c_str());
  std::string path, error;
  ASSERT_TRUE(window.Backend.SaveScreenshot(path, error)) << error;
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  TRgbaPicture picture;
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), picture, error)) << error;
  ASSERT_EQ(picture.Width, c.FrameWidth);
  ASSERT_EQ(picture.Height, c.FrameHeight);
  for (int y = 0; y < c.FrameHeight; ++y) {
    for (int x = 0; x < c.FrameWidth; ++x) {
      const std::uint32_t rgb = palette[at(x, y)];
      const auto* px = reinterpret_cast<const std::uint8_t*>(
          &picture.Pixels[static_cast<std::size_t>(y) * c.FrameWidth + x]);
      ASSERT_TRUE(px[0] == (rgb >> 16 & 0xFF) && px[1] == (rgb >> 8 & 0xFF) &&
                  px[2] == (rgb & 0xFF))
          << x << "," << y;
    }
  }
  fs::remove_all(home);
}

INSTANTIATE_TEST_SUITE_P(
    RoutesAndSizes, RandomFrames,
    testing::Values(TRandomCase{kSurface, 1024, 768, 1024}, TRandomCase{kSurface, 1024, 768, 1031},
                    TRandomCase{kSurface, 512, 384, 515}, TRandomCase{kSurface, 333, 250, 333},
                    TRandomCase{kSurface, 1024, 768, 1024, 640, 480},
                    TRandomCase{kTexture, 1024, 768, 1029}, TRandomCase{kTexture, 512, 384, 512}),
    [](const testing::TestParamInfo<TRandomCase>& info) {
      return std::string(info.param.Route.Name) + std::to_string(info.param.FrameWidth) + "x" +
             std::to_string(info.param.FrameHeight) + "Pitch" + std::to_string(info.param.Pitch) +
             "In" + std::to_string(info.param.WindowWidth) + "x" +
             std::to_string(info.param.WindowHeight);
    });

// The headless back end that hands every frame on to the window too, and checks the window.
class TMirrorBackend : public THeadlessBackend {
 public:
  explicit TMirrorBackend(TWindow& window) : FWindow(window) {}
  void Present(const std::uint8_t* pixels, int pitch, int width, int height,
               const std::uint32_t palette[256]) override {
    THeadlessBackend::Present(pixels, pitch, width, height, palette);
    FWindow.Backend.Present(pixels, pitch, width, height, palette);
    if (Failures < 3) {
      testing::AssertionResult held = FWindow.HoldsFrame(pixels, pitch, width, height, palette);
      if (!held) {
        ++Failures;
        ADD_FAILURE() << "frame " << PresentCount << ": " << held.message();
      }
    }
  }
  int Failures = 0;

 private:
  TWindow& FWindow;
};

// The committed demos, from tests/demos/demos.txt.
std::vector<std::string> Demos() {
  std::ifstream list(std::string(TARNYX_SOURCE_DIR) + "/tests/demos/demos.txt");
  std::vector<std::string> names;
  for (std::string line; std::getline(list, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string file;
    words >> file;
    names.push_back(file);
  }
  return names;
}

class DemoFrames : public testing::TestWithParam<std::tuple<TRoute, std::string>> {};

// The demo plays in the game on the headless back end, and each frame it presents goes to the
// window as well: the window must hold it, and the demo must still play to its end unchanged.
TEST_P(DemoFrames, TheWindowHoldsEveryFrameOfTheDemo) {
  const auto& [route, name] = GetParam();
  TDemoReader demo = TDemoReader::FromFile(std::string(TARNYX_SOURCE_DIR) + "/tests/demos/" + name);
  TWindow window(route, 1024, 768);
  ASSERT_TRUE(window.Made);
  TMirrorBackend backend(window);
  // A demo plays in a new process, where nothing set the ship or the stars yet.
  Player = TPlayer{};
  Stars = {};
  backend.TimeOfDayMs = demo.Header().Seed;
  backend.Joysticks.resize(2);
  SetBackend(&backend);
  UnloadLibraries();
  ResetApplication();
  RegisterAppClasses();
  Application->Initialize();
  TForm1* form = nullptr;
  Application->CreateForm(form);
  Application->BeginRun();
  Application->ProcessMessagesAndIdle();
  TDemoPlayer player(demo);
  form->OnFrameInput = [&player](TInputStates& s) { player.FrameInput(s); };
  form->OnFrameEnd = [&player] { player.FrameEnd(); };
  for (int turn = 0; !player.Done() && turn < 100000 && backend.Failures == 0; ++turn) {
    backend.Clock += 20;
    Application->ProcessMessagesAndIdle();
  }
  player.Conclude();
  Application->EndRun();
  ResetApplication();
  UnloadLibraries();
  SetBackend(nullptr);
  EXPECT_EQ(player.DesyncFrame(), 0u);
  EXPECT_EQ(player.FramesPlayed(), demo.Frames());
  EXPECT_GE(backend.PresentCount, static_cast<long>(demo.Frames()));
}

INSTANTIATE_TEST_SUITE_P(RoutesAndDemos, DemoFrames,
                         testing::Combine(testing::Values(kSurface, kTexture),
                                          testing::ValuesIn(Demos())),
                         [](const testing::TestParamInfo<std::tuple<TRoute, std::string>>& info) {
                           std::string name = std::get<1>(info.param);
                           return std::string(std::get<0>(info.param).Name) +
                                  name.substr(0, name.find('.'));
                         });

}  // namespace
