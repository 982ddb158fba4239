// Screenshots as files.
#include "media/Screenshot.h"

#include <filesystem>
#include <system_error>

#include "media/Png.h"
#include "system/LocalTime.h"

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
  if (!LocalCalendarTime(now, local) ||
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
