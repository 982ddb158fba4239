// Putting written bytes on the disk: a file's data, and a rename in its folder.
#pragma once

#include <cstdio>
#include <string>

// Flushes the stream and asks the system to put the file's data on the disk, so that a power
// loss keeps it. False when either fails.
bool SyncFileToDisk(std::FILE* file);

// Asks the system to put the folder that holds path on the disk, so that a rename into it
// survives a power loss. False when it cannot; nothing is lost by that but the guarantee.
bool SyncFolderOf(const std::string& path);
