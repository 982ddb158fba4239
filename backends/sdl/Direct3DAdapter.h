// The Direct3D adapter behind an SDL renderer on Windows: its description.
#pragma once

#include <string>

struct SDL_Renderer;

// The description of the graphics adapter that a Direct3D renderer of SDL draws with ("NVIDIA
// GeForce ...", "Microsoft Basic Render Driver" for Windows' software rasterizer; under Wine with
// the host's OpenGL renderer that really draws, "... (Wine, over the OpenGL renderer llvmpipe
// ...)"), or empty where
// the renderer is no Direct3D one or the system is not Windows. rendererName is SDL's name for
// the renderer ("direct3d", "direct3d11").
std::string Direct3DAdapterDescription(SDL_Renderer* renderer, const std::string& rendererName);
