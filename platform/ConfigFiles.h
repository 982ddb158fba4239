// The player's configuration folder, and small files in it read and written safely.
#pragma once

#include <cstddef>
#include <string>

// The folder for the game's configuration, with a closing '/': $XDG_CONFIG_HOME/tarnyx/, or else
// $HOME/.config/tarnyx/. A variable that is unset, empty or not an absolute path counts as unset,
// as for the game's data folder (GameDataFolder). With neither, the result is empty and reason
// says why. Pure: the values are handed in.
std::string GameConfigFolder(const char* xdgConfigHome, const char* home, std::string& reason);

// What reading a small file came to.
enum TSmallFileRead { sfRead, sfMissing, sfFailed };

// Reads the whole file at path into bytes. sfMissing when there is nothing at path; sfFailed,
// with one reason in error, for a folder, a file that is not a regular file (a pipe is never
// read, so it cannot block), one that cannot be read, or one larger than limit bytes.
TSmallFileRead ReadSmallFile(const std::string& path, std::size_t limit, std::string& bytes,
                             std::string& error);

// Writes text as the regular file at path through a temporary file renamed over it
// (TFileReplacement), making the folder first if it is missing. False with the reason in error;
// the old file is then untouched. Something at path that is not a regular file is not written.
bool ReplaceSmallFile(const std::string& path, const std::string& text, std::string& error);
