// The player's folders on Windows: Pictures\Tarnyx\ for screenshots, %APPDATA%\Tarnyx\ for
// settings.
#include "system/UserFolders.h"

// clang-format off
#include "system/windows/WideText.h"  // windows.h, which the shell's headers need first
#include <knownfolders.h>
#include <shlobj.h>
// clang-format on

namespace {

// The shell's known folder, in UTF-8 with a closing separator; empty when the system names none.
std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)) && path && *path) {
    folder = Utf8Text(path);
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  }
  CoTaskMemFree(path);
  return folder;
}

}  // namespace

// Screenshots are pictures the player looks for: in the Pictures library, where Explorer shows
// them, as other games put theirs; else beside the game's other local data.
std::string GameDataFolder(std::string& reason) {
  std::string folder = KnownFolder(FOLDERID_Pictures);
  if (folder.empty()) folder = KnownFolder(FOLDERID_LocalAppData);
  if (folder.empty()) {
    reason = "Windows names neither a Pictures folder nor a local application data folder";
    return "";
  }
  return folder + "Tarnyx\\";
}

// The roaming profile carries the settings to the player's other machines.
std::string GameConfigFolder(std::string& reason) {
  const std::string folder = KnownFolder(FOLDERID_RoamingAppData);
  if (folder.empty()) {
    reason = "Windows names no application data folder (APPDATA)";
    return "";
  }
  return folder + "Tarnyx\\";
}
