// Files made new and renamed into place: the two steps of a recording that each system's C library
// does its own way.
#pragma once

#include <cstdio>
#include <string>

// Opens path for writing bytes as a file made now: anything already there is refused with errno
// EEXIST and left as it is. nullptr, with errno set, on any failure.
std::FILE* CreateNewFile(const std::string& path);

// Renames from to to, replacing a file already there in one step, so that to is always either the
// old file or the new one. False, with errno set, on failure.
bool RenameReplacing(const std::string& from, const std::string& to);
