// Small files read safely, on POSIX systems.
#include "system/SmallFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace {

std::string Reason(int error) { return std::generic_category().message(error); }

}  // namespace

TSmallFileRead ReadSmallFile(const std::string& path, std::size_t limit, std::string& bytes,
                             std::string& error) {
  bytes.clear();
  // Not blocking: a pipe put where the file should be must not hold the game up.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    int e = errno;
    if (e == ENOENT) return sfMissing;
    error = "cannot be read: " + Reason(e);
    return sfFailed;
  }
  struct stat st {};
  TSmallFileRead result = sfFailed;
  if (::fstat(fd, &st) != 0) {
    error = "cannot be read: " + Reason(errno);
  } else if (S_ISDIR(st.st_mode)) {
    error = "is a folder, not a file";
  } else if (!S_ISREG(st.st_mode)) {
    error = "is not a regular file";
  } else {
    // Read to one byte past the limit, whatever the size said: the file may grow meanwhile.
    std::string buffer(limit + 1, '\0');
    std::size_t got = 0;
    while (got < buffer.size()) {
      ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        error = "cannot be read: " + Reason(errno);
        break;
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    if (error.empty()) {
      if (got > limit) {
        error = "is larger than " + std::to_string(limit) + " bytes";
      } else {
        buffer.resize(got);
        bytes = std::move(buffer);
        result = sfRead;
      }
    }
  }
  ::close(fd);
  return result;
}
