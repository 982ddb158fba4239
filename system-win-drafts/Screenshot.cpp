// Screenshots as files, on Windows: the player's folder under %LOCALAPPDATA% and a local time
// stamp.
//
// DRAFT for the Windows build: the counterpart of platform/Screenshot.cpp (POSIX) behind the same
// header, to be split with it into the user-folder and time-of-day services. GameDataFolder's
// parameters are the POSIX variables; on Windows it reads LOCALAPPDATA itself, so the interface
// should become one without them (the POSIX side reading XDG_DATA_HOME and HOME in its own file).
#include "platform/Screenshot.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/Png.h"

namespace {

// A drive-rooted path (C:\ or C:/) or a network one (\\server\share); anything else would put
// the files wherever the game happened to be started.
bool Usable(const char* path) {
  if (!path) return false;
  const bool drive = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                     path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  const bool network = path[0] == '\\' && path[1] == '\\';
  return drive || network;
}

bool EndsInSeparator(const std::string& folder) {
  return folder.back() == '/' || folder.back() == '\\';
}

}  // namespace

std::string GameDataFolder(const char* /*xdgDataHome*/, const char* /*home*/, std::string& reason) {
  const char* local = std::getenv("LOCALAPPDATA");
  if (Usable(local)) {
    std::string folder = local;
    if (!EndsInSeparator(folder)) folder += '\\';
    return folder + "Tarnyx\\";
  }
  reason = "LOCALAPPDATA names no folder";
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
  // localtime_s is the C library's thread-safe local time here; it returns an error number.
  if (localtime_s(&local, &now) != 0 ||
      std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local) == 0) {
    error = "no time of day";
    return false;
  }
  std::string base = folder + (EndsInSeparator(folder) ? "" : "\\") + "tarnyx-" + stamp;
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
