// Screenshots as files: the player's folder for them, and a frame saved there under a fresh name.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// The folder for the game's files, with a closing '/': $XDG_DATA_HOME/tarnyx/, or else
// $HOME/.local/share/tarnyx/. A variable that is unset, empty or not an absolute path counts as
// unset (a relative one would put the files wherever the game happened to be started). With
// neither, the result is empty and reason says why. Pure: the values are handed in.
std::string GameDataFolder(const char* xdgDataHome, const char* home, std::string& reason);

// Saves width x height 8-bit pixels (rows pitch bytes apart) through their palette (0x00RRGGBB)
// as tarnyx-YYYYMMDD-HHMMSS.png, stamped with the local time now, in folder (made if missing). A
// second picture within the same second gets "-2", "-3"... before the extension. path gets the
// file written; false with the reason in error.
bool SaveScreenshotFile(const std::string& folder, std::time_t now, const std::uint8_t* pixels,
                        int pitch, int width, int height, const std::uint32_t palette[256],
                        std::string& path, std::string& error);
