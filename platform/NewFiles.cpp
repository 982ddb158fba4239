// Files made new and renamed into place, through the C library on POSIX systems.
#include "platform/NewFiles.h"

#include <cstdio>

// "x" (exclusive creation) is the C library's own here, and rename replaces its target atomically.
std::FILE* CreateNewFile(const std::string& path) { return std::fopen(path.c_str(), "wbx"); }

bool RenameReplacing(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}
