// Files by their names: looking at them, opening them, making them new, renaming and removing them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Every name the game handles is UTF-8, on every system: the command line, the player's folders
// and the messages all carry it so. These functions hand names to the system in its own form
// (POSIX takes the bytes as they are, Windows takes UTF-16), so that a name beyond ASCII names the
// same file everywhere; nothing of the game's outside system/ opens, looks at, renames or removes a
// file itself (the build's own tools, which run only where the game is built, may).

// What a name is on the disk, behind any symbolic links.
enum TPathKind {
  pkMissing,          // nothing there (or a folder on the way is missing)
  pkRegular,          // a regular file
  pkFolder,           // a folder
  pkCharacterDevice,  // a terminal, /dev/null, Windows' NUL or CON
  pkBlockDevice,
  pkFifo,  // a named pipe
  pkSocket,
  pkOther,   // anything else the system has
  pkUnknown  // it cannot be looked at (no permission, a name the system refuses)
};

// What LookAtPath found: the kind, the size of a regular file in bytes, and for pkUnknown the
// errno value that says why.
struct TPathInfo {
  TPathKind Kind = pkUnknown;
  std::uint64_t Size = 0;
  int Error = 0;
};

TPathInfo LookAtPath(const std::string& path);

// fopen for a UTF-8 name; the mode as fopen takes it, always with 'b' for bytes unchanged.
// nullptr, with errno set, on failure.
std::FILE* OpenFile(const std::string& path, const char* mode);

// Opens path for writing bytes as a file made now: anything already there is refused with errno
// EEXIST and left as it is. nullptr, with errno set, on any failure.
std::FILE* CreateNewFile(const std::string& path);

// Renames from to to, replacing a file already there in one step, so that to is always either the
// old file or the new one. False, with errno set, on failure.
bool RenameReplacing(const std::string& from, const std::string& to);

// Removes the file at path. False, with errno set, on failure.
bool RemoveFile(const std::string& path);

// Makes the folder and any missing folders above it. False, with the system's reason, on failure;
// a folder that is already there is success.
bool MakeFolders(const std::string& folder, std::string& reason);

// The last separator of a path ('/', or on Windows also '\\'), or npos for a bare name.
std::string::size_type LastPathSeparator(const std::string& path);
