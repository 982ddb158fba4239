// The present route: chosen from what is known of the renderer, and the devices that tell
// whether a GPU renderer is worth trying.
#include "backends/sdl/PresentRoute.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>


namespace {

struct TRouteCase {
  const char* What;
  TRendererFacts Facts;
  TPresentRoute Expected;
};

void PrintTo(const TRouteCase& c, std::ostream* out) { *out << c.What; }

TRendererFacts Facts(bool made, bool askedFor, bool accelerated, const char* name,
                     const char* glRenderer, bool device = true) {
  TRendererFacts f;
  f.GraphicsDevice = device;
  f.Made = made;
  f.AskedFor = askedFor;
  f.Accelerated = accelerated;
  f.Name = name;
  f.GlRenderer = glRenderer;
  return f;
}

TRendererFacts Direct3D(const char* name, const char* adapter) {
  TRendererFacts f = Facts(true, false, true, name, "");
  f.Adapter = adapter;
  return f;
}

class PresentRouteTest : public ::testing::TestWithParam<TRouteCase> {};

TEST_P(PresentRouteTest, FollowsTheRenderer) {
  EXPECT_EQ(ChoosePresentRoute(GetParam().Facts), GetParam().Expected);
  EXPECT_FALSE(DescribePresentRoute(GetParam().Expected, GetParam().Facts).empty());
}

constexpr auto kTexture = TPresentRoute::Texture;
constexpr auto kSurface = TPresentRoute::WindowSurface;

INSTANTIATE_TEST_SUITE_P(
    Renderers, PresentRouteTest,
    ::testing::Values(
        TRouteCase{"a GPU's OpenGL",
                   Facts(true, false, true, "opengl",
                         "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49, 6.1.0)"),
                   kTexture},
        TRouteCase{"GLES on a GPU", Facts(true, false, true, "opengles2", "Mali-G52"), kTexture},
        TRouteCase{"Direct3D", Facts(true, false, true, "direct3d11", ""), kTexture},
        TRouteCase{"Direct3D 9 on a GPU", Direct3D("direct3d", "NVIDIA GeForce RTX 3060"),
                   kTexture},
        TRouteCase{"Windows' Basic Render Driver (WARP)",
                   Direct3D("direct3d11", "Microsoft Basic Render Driver"), kSurface},
        TRouteCase{"Wine's Direct3D over llvmpipe",
                   Direct3D("direct3d", "NVIDIA GeForce GTX 470 (Wine, over the OpenGL renderer "
                                        "llvmpipe (LLVM 15.0.6, 256 bits))"),
                   kSurface},
        TRouteCase{"Wine's Direct3D over a GPU",
                   Direct3D("direct3d", "AMD Radeon RX 6600 (Wine, over the OpenGL renderer AMD "
                                        "Radeon RX 6600 (radeonsi, navi23))"),
                   kTexture},
        TRouteCase{"llvmpipe",
                   Facts(true, false, true, "opengl", "llvmpipe (LLVM 15.0.6, 256 bits)"),
                   kSurface},
        TRouteCase{"softpipe", Facts(true, false, true, "opengl", "softpipe"), kSurface},
        TRouteCase{"SwiftShader", Facts(true, false, true, "opengles2", "Google SwiftShader"),
                   kSurface},
        TRouteCase{"zink on lavapipe",
                   Facts(true, false, true, "opengl", "zink (llvmpipe (LLVM 15.0.6, 256 bits))"),
                   kSurface},
        TRouteCase{"the classic software rasterizer",
                   Facts(true, false, true, "opengl", "Software Rasterizer"), kSurface},
        TRouteCase{"SDL's software renderer", Facts(true, false, false, "software", ""), kSurface},
        TRouteCase{"no renderer", Facts(false, false, false, "", ""), kSurface},
        TRouteCase{"no graphics device", Facts(false, false, false, "", "", false), kSurface},
        TRouteCase{"llvmpipe asked for by name",
                   Facts(true, true, true, "opengl", "llvmpipe (LLVM 15.0.6, 256 bits)"), kTexture},
        TRouteCase{"SDL's software renderer asked for",
                   Facts(true, true, false, "software", "", false), kTexture},
        TRouteCase{"a renderer asked for that could not be made", Facts(false, true, false, "", ""),
                   kSurface}));

TEST(GraphicsDeviceListed, LooksForRenderNodesAndVendorDevices) {
  namespace fs = std::filesystem;
  fs::path dev = fs::path(::testing::TempDir()) / "tarnyx-fake-dev";
  fs::remove_all(dev);
  fs::create_directories(dev / "dri");
  std::ofstream(dev / "null").put('\0');
#if defined(__linux__)
  EXPECT_FALSE(GraphicsDeviceListed(dev.string()));
  std::ofstream(dev / "dri" / "by-path").put('\0');
  EXPECT_FALSE(GraphicsDeviceListed(dev.string()));
  std::ofstream(dev / "dri" / "renderD128").put('\0');
  EXPECT_TRUE(GraphicsDeviceListed(dev.string()));
  fs::remove(dev / "dri" / "renderD128");
  std::ofstream(dev / "nvidia0").put('\0');
  EXPECT_TRUE(GraphicsDeviceListed(dev.string()));
  EXPECT_FALSE(GraphicsDeviceListed((dev / "missing").string()));
#else
  EXPECT_TRUE(GraphicsDeviceListed(dev.string()));
#endif
  fs::remove_all(dev);
}

}  // namespace
