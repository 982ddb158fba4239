// Which way finished frames take to the window: through the renderer's texture or straight into
// the window's own pixels, chosen from what is known of the renderer.
#pragma once

#include <string>

enum class TPresentRoute {
  // Converted into a streaming texture that the renderer scales to the window: a GPU's work,
  // with vsync and smooth scaling.
  Texture,
  // Converted straight into the window's own pixels: no texture and no 3-D drawing, so no
  // rasterizer runs on the processor; at the frame's size nothing is scaled at all.
  WindowSurface,
};

// What is known of the accelerated renderer SDL made for the window, if it made one.
struct TRendererFacts {
  bool GraphicsDevice = true;  // the system lists a graphics device (else none was tried)
  bool Made = false;           // SDL made a renderer for the window
  bool AskedFor = false;       // the player named SDL's renderer (SDL_RENDER_DRIVER)
  bool Accelerated = false;    // SDL counts it as accelerated
  std::string Name;            // SDL's name for it: "opengl", "opengles2", "software"...
  std::string GlRenderer;      // the OpenGL renderer string where it draws through OpenGL
  std::string Adapter;         // the Direct3D adapter's description where it draws through Direct3D
};

// The renderer is used where it is a GPU's or where the player asked for it by name. A software
// OpenGL (llvmpipe, softpipe, SwiftShader...), a software Direct3D (Windows' Basic Render Driver,
// Wine's Direct3D over a software OpenGL), SDL's own software renderer or no renderer at all
// gives the window surface.
TPresentRoute ChoosePresentRoute(const TRendererFacts& facts);

// Whether the system lists a graphics device that a GPU renderer could run on, below the device
// folder devices ("/dev"): a DRI node, an NVIDIA device or WSL's GPU. Where it lists none, trying
// a renderer would only start a software OpenGL (and leave its idle threads behind). True on
// systems where that cannot be told this way.
bool GraphicsDeviceListed(const std::string& devices = "/dev");

// Whether an OpenGL renderer string names a rasterizer that runs on the processor.
bool IsSoftwareGlRenderer(const std::string& glRenderer);

// One line on the choice, for the log: the route and the facts it was chosen from.
std::string DescribePresentRoute(TPresentRoute route, const TRendererFacts& facts);
