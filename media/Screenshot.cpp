// Screenshots as files.
#include "media/Screenshot.h"

#include "media/Png.h"
#include "system/Files.h"
#include "system/LocalTime.h"

bool SaveScreenshotFile(const std::string& folder, std::time_t now, const std::uint8_t* pixels,
                        int pitch, int width, int height, const std::uint32_t palette[256],
                        std::string& path, std::string& error) {
  if (folder.empty()) {
    error = "no folder for screenshots";
    return false;
  }
  std::string reason;
  if (!MakeFolders(folder, reason)) {
    error = "cannot make " + folder + ": " + reason;
    return false;
  }
  std::tm local{};
  char stamp[32] = "";
  if (!LocalCalendarTime(now, local) ||
      std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local) == 0) {
    error = "no time of day";
    return false;
  }
  const bool closed = LastPathSeparator(folder) == folder.size() - 1;
  std::string base = folder + (closed ? "" : "/") + "tarnyx-" + stamp;
  path = base + ".png";
  for (int n = 2; LookAtPath(path).Kind != pkMissing && LookAtPath(path).Kind != pkUnknown; ++n) {
    if (n > 999) {
      error = "too many screenshots in one second";
      return false;
    }
    path = base + "-" + std::to_string(n) + ".png";
  }
  return WritePalettizedPng(path, pixels, pitch, width, height, palette, error);
}
