// Which way finished frames take to the window.
#include "backends/sdl/PresentRoute.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

bool GraphicsDeviceListed(const std::string& devices) {
#if defined(__linux__)
  namespace fs = std::filesystem;
  std::error_code failed;
  fs::path root(devices);
  if (fs::exists(root / "nvidia0", failed) || fs::exists(root / "dxg", failed)) return true;
  for (fs::directory_iterator it(root / "dri", failed), end; !failed && it != end;
       it.increment(failed)) {
    std::string name = it->path().filename().string();
    if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) return true;
  }
  return false;
#else
  (void)devices;
  return true;
#endif
}

bool IsSoftwareGlRenderer(const std::string& glRenderer) {
  std::string lower = glRenderer;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  // Mesa's llvmpipe, softpipe and swrast, Vulkan's lavapipe under zink, Google's SwiftShader,
  // and the software renderers of other systems ("Software Rasterizer", "GDI Generic",
  // "Microsoft Basic Render Driver", "Apple Software Renderer").
  for (const char* name : {"llvmpipe", "softpipe", "swrast", "lavapipe", "swiftshader", "software",
                           "gdi generic", "basic render"}) {
    if (lower.find(name) != std::string::npos) return true;
  }
  return false;
}

TPresentRoute ChoosePresentRoute(const TRendererFacts& facts) {
  if (!facts.Made) return TPresentRoute::WindowSurface;
  if (facts.AskedFor) return TPresentRoute::Texture;
  if (!facts.Accelerated || facts.Name == "software" || IsSoftwareGlRenderer(facts.GlRenderer) ||
      IsSoftwareGlRenderer(facts.Adapter))
    return TPresentRoute::WindowSurface;
  return TPresentRoute::Texture;
}

std::string DescribePresentRoute(TPresentRoute route, const TRendererFacts& facts) {
  std::string line = route == TPresentRoute::Texture ? "texture" : "window surface";
  if (!facts.GraphicsDevice && !facts.Made)
    return line + " (no graphics device: no renderer tried)";
  if (!facts.Made) return line + " (no renderer could be made)";
  line += " (renderer " + facts.Name;
  if (!facts.GlRenderer.empty()) line += ", OpenGL " + facts.GlRenderer;
  if (!facts.Adapter.empty()) line += ", Direct3D adapter " + facts.Adapter;
  if (facts.AskedFor)
    line += ", asked for by SDL_RENDER_DRIVER";
  else if (route == TPresentRoute::WindowSurface)
    line += ", not a GPU's";
  return line + ")";
}
