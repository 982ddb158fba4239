// The player's folders on POSIX systems, from the XDG variables and HOME.
#include "system/UserFolders.h"

#include <cstdlib>

std::string GameDataFolder(std::string& reason) {
  return XdgGameFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), ".local/share",
                       "XDG_DATA_HOME", reason);
}

std::string GameConfigFolder(std::string& reason) {
  return XdgGameFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), ".config",
                       "XDG_CONFIG_HOME", reason);
}
