// Screenshots as files.
#include "platform/Screenshot.h"

#include <filesystem>
#include <system_error>

#include "platform/Png.h"

namespace {
bool Usable(const char* path) { return path && path[0] == '/'; }
}  // namespace

std::string GameDataFolder(const char* xdgDataHome, const char* home, std::string& reason) {
  auto within = [](std::string folder, const char* below) {
    if (folder.back() != '/') folder += '/';
    return folder + below;
  };
  if (Usable(xdgDataHome)) return within(xdgDataHome, "tarnyx/");
  if (Usable(home)) return within(home, ".local/share/tarnyx/");
  reason = "neither XDG_DATA_HOME nor HOME names a folder";
  return "";
}

bool SaveScreenshotFile(const std::string& folder, std::time_t now, const std::uint8_t* pixels,
                        int pitch, int width, int height, const std::uint32_t palette[256],
                        std::string& path, std::string& error) {
  if (folder.empty()) {
    error = "no folder for screenshots";
    return false;
  }
  std::error_code failed;
  std::filesystem::create_directories(folder, failed);
  if (failed) {
    error = "cannot make " + folder + ": " + failed.message();
    return false;
  }
  std::tm local{};
  char stamp[32] = "";
  if (!localtime_r(&now, &local) ||
      std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local) == 0) {
    error = "no time of day";
    return false;
  }
  std::string base = folder + (folder.back() == '/' ? "" : "/") + "tarnyx-" + stamp;
  path = base + ".png";
  std::error_code ignored;
  for (int n = 2; std::filesystem::exists(path, ignored); ++n) {
    if (n > 999) {
      error = "too many screenshots in one second";
      return false;
    }
    path = base + "-" + std::to_string(n) + ".png";
  }
  return WritePalettizedPng(path, pixels, pitch, width, height, palette, error);
}
