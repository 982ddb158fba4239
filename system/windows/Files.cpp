// Files by their names, on Windows: UTF-8 names go to the wide functions as UTF-16.
#include "system/Files.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "system/windows/WideText.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

TPathInfo LookAtPath(const std::string& path) {
  TPathInfo info;
  std::wstring wide;
  if (!WideName(path, wide)) {
    info.Error = errno;
    return info;
  }
  // The C library refuses a folder's name with a closing separator ("C:\games\"), but for a
  // drive's root.
  while (wide.size() > 1 && IsSeparator(wide.back()) && wide[wide.size() - 2] != L':')
    wide.pop_back();
  struct _stat64 st {};
  if (::_wstat64(wide.c_str(), &st) != 0) {
    info.Error = errno;
    info.Kind = errno == ENOENT ? pkMissing : pkUnknown;
    return info;
  }
  switch (st.st_mode & _S_IFMT) {
    case _S_IFREG:
      info.Kind = pkRegular;
      info.Size = static_cast<std::uint64_t>(st.st_size);
      break;
    case _S_IFDIR:
      info.Kind = pkFolder;
      break;
    case _S_IFCHR:
      info.Kind = pkCharacterDevice;
      break;
    case _S_IFIFO:
      info.Kind = pkFifo;
      break;
    default:
      info.Kind = pkOther;
  }
  return info;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
  std::wstring wide, wideMode;
  if (!WideName(path, wide) || !WideName(mode, wideMode)) return nullptr;
  return ::_wfopen(wide.c_str(), wideMode.c_str());
}

// Windows' C library ignores fopen's "x": the file is made exclusively with _O_EXCL.
std::FILE* CreateNewFile(const std::string& path) {
  std::wstring wide;
  if (!WideName(path, wide)) return nullptr;
  const int fd = ::_wopen(wide.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                          _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = ::_fdopen(fd, "wb");
  if (!file) {
    const int error = errno;
    ::_close(fd);
    ::_wunlink(wide.c_str());
    errno = error;
  }
  return file;
}

// Windows' rename refuses an existing target; MoveFileEx replaces it in one step, and returns
// only once the move is on the disk.
bool RenameReplacing(const std::string& from, const std::string& to) {
  std::wstring wideFrom, wideTo;
  if (!WideName(from, wideFrom) || !WideName(to, wideTo)) return false;
  if (MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  errno = ErrnoOfSystemError(GetLastError());
  return false;
}

bool RemoveFile(const std::string& path) {
  std::wstring wide;
  return WideName(path, wide) && ::_wremove(wide.c_str()) == 0;
}

bool MakeFolders(const std::string& folder, std::string& reason) {
  std::wstring wide;
  if (!WideName(folder, wide)) {
    reason = "the name is not UTF-8";
    return false;
  }
  std::error_code failed;
  std::filesystem::create_directories(std::filesystem::path(wide), failed);
  if (failed) reason = failed.message();
  return !failed;
}

std::string::size_type LastPathSeparator(const std::string& path) {
  return path.find_last_of("/\\");
}
