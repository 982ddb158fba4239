// Writing a file under a temporary name beside it and renaming it into place.
#include "system/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

namespace {

// Temporary names differ between processes by the process id and within one by a counter; a name
// left by a process that died is skipped (the file is created exclusively).
std::atomic<unsigned> NextTemp{0};

// The folder part of a path with its slash ("" for a bare name), and the name part.
std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }
std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

}  // namespace

TFileReplacement::TFileReplacement(std::string path) : Path(std::move(path)), Target(Path) {
  struct stat old;
  const bool exists = ::stat(Path.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    File = std::fopen(Path.c_str(), "wb");
    if (!File) Fail(errno);
    return;
  }
  // The replacement keeps what the old file had: its place behind any symbolic links and its
  // permissions; and a file this process may not write stays refused.
  mode_t mode = 0666;  // narrowed by the umask as the file is made
  if (exists) {
    if (::access(Path.c_str(), W_OK) != 0) {
      Fail(errno);
      return;
    }
    std::unique_ptr<char, void (*)(void*)> real(::realpath(Path.c_str(), nullptr), std::free);
    if (real) Target = real.get();
    mode = old.st_mode & 07777;
  }
  // Beside the target, so the rename stays on its file system; hidden, and short enough for any
  // name the target may have.
  const std::string prefix = FolderOf(Target) + "." + NameOf(Target).substr(0, NAME_MAX - 32) + ".";
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    Temp = prefix + std::to_string(::getpid()) + "-" + std::to_string(NextTemp++) + ".tmp";
    fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int error = errno;
    Temp.clear();
    Fail(error);
    return;
  }
  if (exists) ::fchmod(fd, mode);  // exactly the old permissions, whatever the umask
  File = ::fdopen(fd, "wb");
  if (!File) {
    const int error = errno;
    ::close(fd);
    Fail(error);
  }
}
