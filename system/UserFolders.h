// The player's folders for the game: where its pictures and its settings go.
#pragma once

#include <string>

// The folder for the game's files (screenshots), with a closing separator: on POSIX systems
// $XDG_DATA_HOME/tarnyx/, or else $HOME/.local/share/tarnyx/; on Windows Pictures\Tarnyx\ (the
// shell's Pictures folder), or else %LOCALAPPDATA%\Tarnyx\. Empty, with the reason, when the
// system names no such folder. The folder may not exist yet.
std::string GameDataFolder(std::string& reason);

// The folder for the game's settings, with a closing separator: on POSIX systems
// $XDG_CONFIG_HOME/tarnyx/, or else $HOME/.config/tarnyx/; on Windows %APPDATA%\Tarnyx\. Empty,
// with the reason, when the system names no such folder. The folder may not exist yet.
std::string GameConfigFolder(std::string& reason);

// The XDG rule, pure: xdgHome/tarnyx/, or else home/belowHome/tarnyx/. A variable that is unset,
// empty or not an absolute path counts as unset (a relative one would put the files wherever the
// game happened to be started). With neither, the result is empty and reason says why; xdgName
// names the variable in it.
std::string XdgGameFolder(const char* xdgHome, const char* home, const char* belowHome,
                          const char* xdgName, std::string& reason);
