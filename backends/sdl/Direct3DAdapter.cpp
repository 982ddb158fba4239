// The Direct3D adapter behind an SDL renderer, asked of the device SDL made.
#include "backends/sdl/Direct3DAdapter.h"

#include <SDL.h>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h: the Direct3D headers need its types.
#include <SDL_system.h>
#include <d3d11.h>
#include <d3d9.h>
#include <dxgi.h>

namespace {

std::string Narrow(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return "";
  std::string out(static_cast<std::size_t>(size - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}

std::string D3D9Adapter(SDL_Renderer* renderer) {
  IDirect3DDevice9* device = SDL_RenderGetD3D9Device(renderer);
  if (!device) return "";
  std::string description;
  IDirect3D9* d3d = nullptr;
  D3DDEVICE_CREATION_PARAMETERS creation{};
  if (SUCCEEDED(device->GetDirect3D(&d3d)) && SUCCEEDED(device->GetCreationParameters(&creation))) {
    D3DADAPTER_IDENTIFIER9 id{};
    if (SUCCEEDED(d3d->GetAdapterIdentifier(creation.AdapterOrdinal, 0, &id)))
      description = id.Description;
  }
  if (d3d) d3d->Release();
  device->Release();  // SDL_RenderGetD3D9Device added a reference
  return description;
}

std::string D3D11Adapter(SDL_Renderer* renderer) {
  ID3D11Device* device = SDL_RenderGetD3D11Device(renderer);
  if (!device) return "";
  std::string description;
  IDXGIDevice* dxgi = nullptr;
  IDXGIAdapter* adapter = nullptr;
  DXGI_ADAPTER_DESC desc{};
  if (SUCCEEDED(device->QueryInterface(__uuidof(IDXGIDevice), reinterpret_cast<void**>(&dxgi))) &&
      SUCCEEDED(dxgi->GetAdapter(&adapter)) && SUCCEEDED(adapter->GetDesc(&desc)))
    description = Narrow(desc.Description);
  if (adapter) adapter->Release();
  if (dxgi) dxgi->Release();
  device->Release();  // SDL_RenderGetD3D11Device added a reference
  return description;
}

// Wine runs Direct3D over the host's OpenGL and names a made-up card for it ("NVIDIA GeForce GTX
// 470" over Mesa's llvmpipe): the host's OpenGL renderer string, from a hidden window's context,
// says what really draws. Empty where this is no Wine or no OpenGL context can be made.
std::string WineHostOpenGl() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return "";
  SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) return "";
  std::string name;
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (context) {
    using TGetString = const unsigned char*(APIENTRY*)(unsigned);
    auto getString = reinterpret_cast<TGetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned GlRenderer = 0x1F01;
    const unsigned char* text = getString ? getString(GlRenderer) : nullptr;
    if (text) name = reinterpret_cast<const char*>(text);
    SDL_GL_DeleteContext(context);
  }
  SDL_DestroyWindow(window);
  return name;
}

}  // namespace

std::string Direct3DAdapterDescription(SDL_Renderer* renderer, const std::string& rendererName) {
  if (!renderer) return "";
  std::string description;
  if (rendererName == "direct3d") description = D3D9Adapter(renderer);
  if (rendererName == "direct3d11") description = D3D11Adapter(renderer);
  if (description.empty()) return "";
  if (const std::string host = WineHostOpenGl(); !host.empty())
    description += " (Wine, over the OpenGL renderer " + host + ")";
  return description;
}

#else

std::string Direct3DAdapterDescription(SDL_Renderer*, const std::string&) { return ""; }

#endif
