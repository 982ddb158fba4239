// The configuration folder and small files in it, on POSIX systems.
#include "platform/ConfigFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/FileReplacement.h"

namespace {

bool Usable(const char* path) { return path && path[0] == '/'; }

std::string Reason(int error) { return std::generic_category().message(error); }

}  // namespace

std::string GameConfigFolder(const char* xdgConfigHome, const char* home, std::string& reason) {
  auto within = [](std::string folder, const char* below) {
    if (folder.back() != '/') folder += '/';
    return folder + below;
  };
  if (Usable(xdgConfigHome)) return within(xdgConfigHome, "tarnyx/");
  if (Usable(home)) return within(home, ".config/tarnyx/");
  reason = "neither XDG_CONFIG_HOME nor HOME names a folder";
  return "";
}

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

bool ReplaceSmallFile(const std::string& path, const std::string& text, std::string& error) {
  // Something else put there since (a folder, a pipe) is not the player's file to write over.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    error = "is not a regular file";
    return false;
  }
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) {
    std::error_code failed;
    std::filesystem::create_directories(folder, failed);
    if (failed) {
      error = "cannot make the folder " + folder.string() + ": " + failed.message();
      return false;
    }
  }
  TFileReplacement file(path);
  if (!file.Write(text.data(), text.size()) || !file.Commit()) {
    error = file.Error();
    return false;
  }
  return true;
}
