// The player's folders on Windows: %LOCALAPPDATA%\Tarnyx\ for pictures, %APPDATA%\Tarnyx\ for
// settings (the roaming profile carries them to the player's other machines).
//
// DRAFT for system/windows/UserFolders.cpp on the layout with system/ (implements
// system/UserFolders.h there; compile-checked against that header, not built on this branch). The
// folders close with Windows' own separator; the interface's comment should say "a closing
// separator" rather than '/'. Paths are in the ANSI code page, as the C library's file functions
// take them.
#include "system/UserFolders.h"

#include <cstdlib>

namespace {

// A drive-rooted path (C:\ or C:/) or a network one (\\server\share); anything else would put
// the files wherever the game happened to be started.
bool Usable(const char* path) {
  if (!path) return false;
  const bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
  const bool drive = letter && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  const bool network = path[0] == '\\' && path[1] == '\\';
  return drive || network;
}

std::string TarnyxFolderIn(const char* variable, std::string& reason) {
  const char* base = std::getenv(variable);
  if (!Usable(base)) {
    reason = std::string(variable) + " names no folder";
    return "";
  }
  std::string folder = base;
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return folder + "Tarnyx\\";
}

}  // namespace

std::string GameDataFolder(std::string& reason) { return TarnyxFolderIn("LOCALAPPDATA", reason); }

std::string GameConfigFolder(std::string& reason) { return TarnyxFolderIn("APPDATA", reason); }
