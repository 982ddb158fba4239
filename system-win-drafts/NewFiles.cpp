// Files made new and renamed into place, through Windows.
//
// DRAFT for the Windows build: the counterpart of platform/NewFiles.cpp (POSIX) behind the same
// header. Windows' C library (msvcrt) ignores fopen's "x", so an exclusive file is made with
// _O_EXCL; and its rename refuses an existing target, so MoveFileEx replaces it.
#include "platform/NewFiles.h"

#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

std::FILE* CreateNewFile(const std::string& path) {
  const int fd = ::_open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                         _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = ::_fdopen(fd, "wb");
  if (!file) {
    const int error = errno;
    ::_close(fd);
    ::_unlink(path.c_str());
    errno = error;
  }
  return file;
}

bool RenameReplacing(const std::string& from, const std::string& to) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      errno = ENOENT;
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      errno = EACCES;
      break;
    case ERROR_NOT_SAME_DEVICE:
      errno = EXDEV;
      break;
    default:
      errno = EIO;
  }
  return false;
}
