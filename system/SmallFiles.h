// Small files (the player's settings) read and written safely.
#pragma once

#include <cstddef>
#include <string>

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
