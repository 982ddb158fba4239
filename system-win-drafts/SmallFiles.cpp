// Small files read and written safely, on Windows.
//
// DRAFT for system/windows/SmallFiles.cpp on the layout with system/ (implements
// system/SmallFiles.h there; compile-checked against that header, not built on this branch). As
// the POSIX one, but what is at the path is looked at before it is opened: a device (CON, NUL, a
// serial port) could block a read, and Windows refuses to open a folder as a file.
#include "system/SmallFiles.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "system/FileReplacement.h"

namespace {

std::string Reason(int error) { return std::generic_category().message(error); }

}  // namespace

TSmallFileRead ReadSmallFile(const std::string& path, std::size_t limit, std::string& bytes,
                             std::string& error) {
  bytes.clear();
  struct _stat64 st {};
  if (::_stat64(path.c_str(), &st) != 0) {
    const int e = errno;
    if (e == ENOENT) return sfMissing;
    error = "cannot be read: " + Reason(e);
    return sfFailed;
  }
  if ((st.st_mode & _S_IFMT) == _S_IFDIR) {
    error = "is a folder, not a file";
    return sfFailed;
  }
  if ((st.st_mode & _S_IFMT) != _S_IFREG) {
    error = "is not a regular file";
    return sfFailed;
  }
  const int fd = ::_open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) {
    const int e = errno;
    if (e == ENOENT) return sfMissing;  // gone since
    error = "cannot be read: " + Reason(e);
    return sfFailed;
  }
  TSmallFileRead result = sfFailed;
  // Read to one byte past the limit, whatever the size said: the file may grow meanwhile.
  std::string buffer(limit + 1, '\0');
  std::size_t got = 0;
  while (got < buffer.size()) {
    const std::size_t want = buffer.size() - got;
    const int n =
        ::_read(fd, buffer.data() + got, want > 1u << 30 ? 1u << 30 : static_cast<unsigned>(want));
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
  ::_close(fd);
  return result;
}

bool ReplaceSmallFile(const std::string& path, const std::string& text, std::string& error) {
  // Something else put there since (a folder, a device) is not the player's file to write over.
  struct _stat64 st {};
  if (::_stat64(path.c_str(), &st) == 0 && (st.st_mode & _S_IFMT) != _S_IFREG) {
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
