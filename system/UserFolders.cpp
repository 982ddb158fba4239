// The XDG rule for the player's folders.
#include "system/UserFolders.h"

namespace {
bool Usable(const char* path) { return path && path[0] == '/'; }

std::string Within(std::string folder, const std::string& below) {
  if (folder.back() != '/') folder += '/';
  return folder + below;
}
}  // namespace

std::string XdgGameFolder(const char* xdgHome, const char* home, const char* belowHome,
                          const char* xdgName, std::string& reason) {
  if (Usable(xdgHome)) return Within(xdgHome, "tarnyx/");
  if (Usable(home)) return Within(home, std::string(belowHome) + "/tarnyx/");
  reason = std::string("neither ") + xdgName + " nor HOME names a folder";
  return "";
}
