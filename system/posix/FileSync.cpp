// Putting written bytes on the disk, through POSIX.
#include "system/FileSync.h"

#include <fcntl.h>
#include <unistd.h>

bool SyncDescriptorToDisk(int fd) { return fdatasync(fd) == 0; }

int DescriptorOf(std::FILE* file) { return fileno(file); }

bool SyncFolderOf(const std::string& path) {
  std::string::size_type slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fsync(fd) == 0;
  close(fd);
  return ok;
}
